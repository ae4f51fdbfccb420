#include "platform/rtl/StringList.h"

#include <algorithm>
#include <numeric>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Guards.h"

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted list";
const char* const SDuplicateString = "String list does not allow duplicates";

// 0-based offset of the first byte c outside double-byte characters; npos when missing.
size_t FindSeparator(const AnsiString& s, char c)
{
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == c) return i;
    if (System::IsLeadByte(s[i])) ++i;
  }
  return AnsiString::npos;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// ---- TStrings ---------------------------------------------------------------------------------

void TStrings::Error(const char* Msg, Integer Data) const
{
  AnsiString text = Msg;
  size_t at = text.find("%d");
  if (at != AnsiString::npos) text.replace(at, 2, std::to_string(Data));
  throw EStringListError(text);
}

Integer TStrings::Add(const AnsiString& S)
{
  Integer index = GetCount();
  Insert(index, S);
  return index;
}

Integer TStrings::AddObject(const AnsiString& S, TObject* AObject)
{
  Integer index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::InsertObject(Integer Index, const AnsiString& S, TObject* AObject)
{
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::AddStrings(TStrings* Strings)
{
  TUpdateGuard lock(*this);
  for (Integer i = 0; i < Strings->GetCount(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::Assign(TStrings* Source)
{
  if (Source == this) return;
  TUpdateGuard lock(*this);
  Clear();
  FDelimiter = Source->FDelimiter;
  FQuoteChar = Source->FQuoteChar;
  FNameValueSeparator = Source->FNameValueSeparator;
  AddStrings(Source);
}

void TStrings::Put(Integer Index, const AnsiString& S)
{
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::Exchange(Integer Index1, Integer Index2)
{
  TUpdateGuard lock(*this);
  AnsiString s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TStrings::Move(Integer CurIndex, Integer NewIndex)
{
  if (CurIndex == NewIndex) return;
  TUpdateGuard lock(*this);
  AnsiString s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
}

bool TStrings::Equals(TStrings* Strings) const
{
  Integer n = GetCount();
  if (n != Strings->GetCount()) return false;
  for (Integer i = 0; i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
  return SysUtils::AnsiCompareText(S1, S2);
}

Integer TStrings::IndexOf(const AnsiString& S) const
{
  for (Integer i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const AnsiString& Name) const
{
  for (Integer i = 0; i < GetCount(); ++i) {
    AnsiString s = Get(i);
    size_t p = FindSeparator(s, FNameValueSeparator);
    if (p != AnsiString::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const
{
  for (Integer i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

AnsiString TStrings::GetNames(Integer Index) const
{
  AnsiString s = Get(Index);
  size_t p = FindSeparator(s, FNameValueSeparator);
  return p == AnsiString::npos ? AnsiString() : s.substr(0, p);
}

AnsiString TStrings::GetValues(const AnsiString& Name) const
{
  Integer i = IndexOfName(Name);
  return i < 0 ? AnsiString() : GetValueFromIndex(i);
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value)
{
  Integer i = IndexOfName(Name);
  if (!Value.empty()) {
    if (i < 0) i = Add(AnsiString());
    Put(i, Name + FNameValueSeparator + Value);
  } else if (i >= 0) {
    Delete(i);
  }
}

// A line without a separator has no value (rather than the line less its first byte).
AnsiString TStrings::GetValueFromIndex(Integer Index) const
{
  AnsiString s = Get(Index);
  size_t p = FindSeparator(s, FNameValueSeparator);
  return p == AnsiString::npos ? AnsiString() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const AnsiString& Value)
{
  if (!Value.empty()) {
    if (Index < 0) Index = Add(AnsiString());
    Put(Index, GetNames(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

AnsiString TStrings::GetText() const
{
  AnsiString result;
  for (Integer i = 0; i < GetCount(); ++i) {
    result += Get(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetText(const AnsiString& Value)
{
  TUpdateGuard lock(*this);
  Clear();
  size_t start = 0;
  const size_t n = Value.size();
  while (start < n) {
    size_t end = start;
    while (end < n && Value[end] != '\r' && Value[end] != '\n') ++end;
    Add(Value.substr(start, end - start));
    if (end < n && Value[end++] == '\r' && end < n && Value[end] == '\n') ++end;
    start = end;
  }
}

AnsiString TStrings::GetCommaText() const { return JoinDelimited(',', '"'); }

void TStrings::SetCommaText(const AnsiString& Value) { SplitDelimited(Value, ',', '"'); }

AnsiString TStrings::GetDelimitedText() const { return JoinDelimited(FDelimiter, FQuoteChar); }

void TStrings::SetDelimitedText(const AnsiString& Value) { SplitDelimited(Value, FDelimiter, FQuoteChar); }

AnsiString TStrings::JoinDelimited(char Delimiter, char QuoteChar) const
{
  const Integer n = GetCount();
  if (n == 1 && Get(0).empty()) return AnsiString(2, QuoteChar);
  AnsiString result;
  for (Integer i = 0; i < n; ++i) {
    AnsiString s = Get(i);
    bool quote = false;
    for (size_t k = 0; k < s.size() && !quote; ++k) {
      if (System::IsLeadByte(s[k]) && k + 1 < s.size()) {
        ++k;
        continue;
      }
      quote = IsBlank(s[k]) || s[k] == QuoteChar || s[k] == Delimiter;
    }
    if (quote) {
      AnsiString q(1, QuoteChar);
      for (size_t k = 0; k < s.size(); ++k) {
        if (System::IsLeadByte(s[k]) && k + 1 < s.size()) {
          q += s[k];
          q += s[++k];
          continue;
        }
        if (s[k] == QuoteChar) q += QuoteChar;
        q += s[k];
      }
      q += QuoteChar;
      s = q;
    }
    if (i > 0) result += Delimiter;
    result += s;
  }
  return result;
}

void TStrings::SplitDelimited(const AnsiString& Value, char Delimiter, char QuoteChar)
{
  TUpdateGuard lock(*this);
  Clear();
  const size_t n = Value.size();
  size_t p = 0;
  auto skipBlanks = [&] {
    while (p < n && IsBlank(Value[p])) ++p;
  };
  skipBlanks();
  while (p < n) {
    AnsiString s;
    if (Value[p] == QuoteChar) {
      ++p;
      while (p < n) {
        if (System::IsLeadByte(Value[p]) && p + 1 < n) {
          s += Value[p];
          s += Value[p + 1];
          p += 2;
        } else if (Value[p] == QuoteChar) {
          if (p + 1 < n && Value[p + 1] == QuoteChar) {
            s += QuoteChar;
            p += 2;
          } else {
            ++p;
            break;
          }
        } else {
          s += Value[p++];
        }
      }
    } else {
      size_t start = p;
      while (p < n && !IsBlank(Value[p]) && Value[p] != Delimiter)
        p += (System::IsLeadByte(Value[p]) && p + 1 < n) ? 2 : 1;
      s = Value.substr(start, p - start);
    }
    Add(s);
    skipBlanks();
    if (p < n && Value[p] == Delimiter) {
      if (p + 1 == n) Add(AnsiString());  // a trailing delimiter ends with an empty item
      ++p;
      skipBlanks();
    }
  }
}

void TStrings::BeginUpdate()
{
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate()
{
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromFile(const AnsiString& FileName)
{
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TStrings::LoadFromStream(TStream* Stream)
{
  Int64 size = Stream->GetSize() - Stream->GetPosition();
  AnsiString text;
  if (size > 0) {
    text.resize(static_cast<size_t>(size));
    text.resize(static_cast<size_t>(Stream->Read(text.data(), size)));
  }
  SetText(text);
}

void TStrings::SaveToFile(const AnsiString& FileName) const
{
  SaveSeam::SaveStream(FileName, [this](TStream* file) { SaveToStream(file); });
}

void TStrings::SaveToStream(TStream* Stream) const
{
  AnsiString text = GetText();
  Stream->WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

// ---- TStringList ------------------------------------------------------------------------------

TStringList::~TStringList()
{
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(Integer Index) const
{
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

void TStringList::Changed()
{
  if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing()
{
  if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
  // Called before the count rises and after it falls back to 0, so the events fire.
  if (Updating)
    Changing();
  else
    Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const
{
  return FCaseSensitive ? SysUtils::AnsiCompareStr(S1, S2) : SysUtils::AnsiCompareText(S1, S2);
}

Integer TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const AnsiString& S, TObject* AObject)
{
  Integer index = GetCount();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) Error(SDuplicateString, 0);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::InsertItem(Integer Index, const AnsiString& S, TObject* AObject)
{
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Insert(Integer Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const AnsiString& S, TObject* AObject)
{
  if (FSorted) Error(SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Clear()
{
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

void TStringList::Delete(Integer Index)
{
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2)
{
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

// Checked before anything is removed, so a refused move loses no line.
void TStringList::Move(Integer CurIndex, Integer NewIndex)
{
  if (FSorted) Error(SSortedListError, 0);
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem item = std::move(FList[CurIndex]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

AnsiString TStringList::Get(Integer Index) const
{
  CheckIndex(Index);
  return FList[Index].FString;
}

void TStringList::Put(Integer Index, const AnsiString& S)
{
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(Integer Index) const
{
  CheckIndex(Index);
  return FList[Index].FObject;
}

void TStringList::PutObject(Integer Index, TObject* AObject)
{
  CheckIndex(Index);
  Changing();
  FList[Index].FObject = AObject;
  Changed();
}

Integer TStringList::IndexOf(const AnsiString& S) const
{
  if (!FSorted) return TStrings::IndexOf(S);
  Integer index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, Integer& Index) const
{
  Integer lo = 0, hi = GetCount();
  while (lo < hi) {
    Integer mid = lo + (hi - lo) / 2;
    if (CompareStrings(FList[mid].FString, S) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  Index = lo;
  return lo < GetCount() && CompareStrings(FList[lo].FString, S) == 0;
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
  if (FSorted || FList.size() < 2) return;
  Changing();
  // Compare takes indexes, so order a permutation while the items stay where they are.
  std::vector<Integer> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](Integer a, Integer b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (Integer i : order) sorted.push_back(std::move(FList[i]));
  FList = std::move(sorted);
  Changed();
}

void TStringList::Sort()
{
  CustomSort([](TStringList* list, Integer a, Integer b) {
    return list->CompareStrings(list->FList[a].FString, list->FList[b].FString);
  });
}

void TStringList::SetSorted(bool Value)
{
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void TStringList::SetCapacity(Integer NewCapacity)
{
  if (NewCapacity > GetCount()) FList.reserve(static_cast<size_t>(NewCapacity));
}
