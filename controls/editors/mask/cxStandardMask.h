// TcxStandardMask: the classic edit mask, one mask character per position of the edited text.
//
//   L l  letter (required / optional)        A a  letter or digit     C c  any character
//   0 9  digit                               #    digit, '+' or '-' (optional)
//   >  following places upper case   <  lower case   <>  unchanged
//   \  the next character is a literal       /  :  the locale's date / time separator (as it
//   stands when the mask is set)             anything else: a literal of itself
//   A leading '!' is stored only. The mask may end in ";0" / ";1" (do not / do keep literals in
//   the stored value) optionally followed by ";" and the blank character (default '_').
//
// Letters are ASCII only; bytes of 128 and above are never letters. A mask works on bytes.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/System.h"

enum TcxStandardMaskCase { smcUpper = 0, smcLower = 1, smcUnchanged = 2 };

// One position of the text.
class TcxStandardMaskCustomItem {
public:
  virtual ~TcxStandardMaskCustomItem() = default;
  // Whether Ch may stand here; a place may change Ch's case by its case rule.
  virtual bool Check(char& Ch) const = 0;
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
public:
  explicit TcxStandardMaskLiteralItem(char ALiteral) : FLiteral(ALiteral) {}
  bool Check(char& Ch) const override { return Ch == FLiteral; }
  char GetLiteral() const { return FLiteral; }

private:
  char FLiteral;
};

// A place for one character of a class.
class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
public:
  TcxStandardMaskManyItem(TcxStandardMaskCase ACaseRule, bool AOptional) : FCaseRule(ACaseRule), FOptional(AOptional) {}
  // Decides on Ch as received, then applies the case rule to it.
  bool Check(char& Ch) const final;
  TcxStandardMaskCase GetCaseRule() const { return FCaseRule; }
  bool GetOptional() const { return FOptional; }

protected:
  virtual bool Accepts(char Ch) const = 0;

private:
  TcxStandardMaskCase FCaseRule;
  bool FOptional;
};

class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Accepts(char Ch) const override;
};

class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Accepts(char Ch) const override;
};

class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Accepts(char) const override { return true; }
};

class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

protected:
  bool Accepts(char Ch) const override;
};

// Always optional.
class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
public:
  explicit TcxStandardMaskNumericSymbolItem(TcxStandardMaskCase ACaseRule) : TcxStandardMaskManyItem(ACaseRule, true) {}

protected:
  bool Accepts(char Ch) const override;
};

class TcxStandardMask {
public:
  TcxStandardMask();
  ~TcxStandardMask();

  // Clears, then parses Mask. Never raises: every mask text is some mask.
  void SetMask(const AnsiString& Mask);
  const AnsiString& GetMask() const { return FMask; }
  // Back to an empty mask with the defaults.
  void Clear();

  bool GetLeading() const { return FLeading; }            // the mask began with '!'
  bool GetSaveLiterals() const { return FSaveLiterals; }  // literals belong to the value
  char GetBlank() const { return FBlank; }

  int ItemCount() const { return static_cast<int>(FItems.size()); }
  const TcxStandardMaskCustomItem* Items(int Index) const { return FItems[Index].get(); }

  // A blank for each place; each literal when literals are saved.
  AnsiString EmptyText() const;
  // The literals and the blank character in every place.
  AnsiString Template() const;
  // Puts Text's characters into the template, each in the first free position that takes it
  // (a blank or a space fills a place with the blank); characters that fit nowhere are dropped.
  // With AdjustCase the places' case rules apply.
  void Fill(AnsiString& Text, bool AdjustCase) const;
  // The stored value of a displayed text: blank places become spaces; literals only when saved.
  void ToValue(AnsiString& Text) const;
  // One character per position, each taken by its position (case rules applied to Text), or a
  // blank or space in an optional place.
  bool IsValid(AnsiString& Text) const;

private:
  void Parse(const AnsiString& AMask);

  AnsiString FMask;
  bool FLeading = false;
  bool FSaveLiterals = true;
  char FBlank = '_';
  std::vector<std::unique_ptr<TcxStandardMaskCustomItem>> FItems;
};
