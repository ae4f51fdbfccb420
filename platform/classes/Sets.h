// Set<E>: a set of the elements of an enumeration E (values 0..63), held as a bit mask.
// Bit n stands for the element with ordinal n, as the stored forms of sets expect.
#pragma once

#include <cstdint>
#include <initializer_list>

template <class E>
class Set {
public:
  constexpr Set() = default;
  constexpr Set(std::initializer_list<E> elements)
  {
    for (E e : elements) FMask |= Bit(e);
  }
  static constexpr Set FromMask(std::uint64_t mask)
  {
    Set s;
    s.FMask = mask;
    return s;
  }
  constexpr std::uint64_t Mask() const { return FMask; }

  constexpr bool Contains(E e) const { return (FMask & Bit(e)) != 0; }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr Set& Include(E e)
  {
    FMask |= Bit(e);
    return *this;
  }
  constexpr Set& Exclude(E e)
  {
    FMask &= ~Bit(e);
    return *this;
  }
  constexpr Set& operator<<(E e) { return Include(e); }
  constexpr Set& operator>>(E e) { return Exclude(e); }

  friend constexpr Set operator+(Set a, Set b) { return FromMask(a.FMask | b.FMask); }
  friend constexpr Set operator-(Set a, Set b) { return FromMask(a.FMask & ~b.FMask); }
  friend constexpr Set operator*(Set a, Set b) { return FromMask(a.FMask & b.FMask); }
  friend constexpr bool operator==(Set a, Set b) { return a.FMask == b.FMask; }

private:
  static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << static_cast<unsigned>(e); }
  std::uint64_t FMask = 0;
};
