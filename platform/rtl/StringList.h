// String lists: the abstract TStrings (the base of every list of lines, including the item
// lists of controls) and TStringList, a list of AnsiStrings each with an associated object.
//
// Indexes are 0-based; a bad index raises EStringListError "List index out of bounds (%d)".
// The objects are not owned: deleting a line or clearing the list never deletes its object.
// Text, files and streams are CP936 bytes as they are; no conversion happens.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TStream;

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TStrings : public TObject {
public:
  TStrings() = default;
  ~TStrings() override = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  virtual Integer Add(const AnsiString& S);
  virtual Integer AddObject(const AnsiString& S, TObject* AObject);
  void Append(const AnsiString& S) { Add(S); }
  // Adds every line of Strings with its object.
  virtual void AddStrings(TStrings* Strings);
  // Replaces the lines and objects by those of Source and takes over its Delimiter,
  // QuoteChar and NameValueSeparator.
  virtual void Assign(TStrings* Source);
  virtual void Clear() = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Insert(Integer Index, const AnsiString& S) = 0;
  virtual void InsertObject(Integer Index, const AnsiString& S, TObject* AObject);
  virtual void Exchange(Integer Index1, Integer Index2);
  // Moves the line at CurIndex (with its object) so that it ends up at NewIndex.
  virtual void Move(Integer CurIndex, Integer NewIndex);
  // Same count and same lines in order (byte comparison); objects are not compared.
  bool Equals(TStrings* Strings) const;

  // -1 when missing. TStrings compares with AnsiCompareText; TStringList follows CaseSensitive.
  virtual Integer IndexOf(const AnsiString& S) const;
  // The first line whose name (the part before NameValueSeparator) equals Name; -1 if none.
  Integer IndexOfName(const AnsiString& Name) const;
  Integer IndexOfObject(TObject* AObject) const;

  // Lines are counted and read through the virtuals; controls override them.
  virtual Integer GetCount() const = 0;
  AnsiString GetStrings(Integer Index) const { return Get(Index); }
  void SetStrings(Integer Index, const AnsiString& S) { Put(Index, S); }
  TObject* GetObjects(Integer Index) const { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
  AnsiString operator[](Integer Index) const { return Get(Index); }

  // The name part of line Index ("" when the line holds no separator).
  AnsiString GetNames(Integer Index) const;
  // The value of the first line named Name; "" when there is none (not an error).
  AnsiString GetValues(const AnsiString& Name) const;
  // Sets the value of the first line named Name, adding the line if missing; setting ""
  // removes the line.
  void SetValues(const AnsiString& Name, const AnsiString& Value);
  AnsiString GetValueFromIndex(Integer Index) const;
  // Setting "" removes the line, as SetValues does.
  void SetValueFromIndex(Integer Index, const AnsiString& Value);

  // Every line followed by "\r\n". Setting splits on CR LF, LF or CR; a last line without a
  // break counts, a trailing break adds no empty line.
  virtual AnsiString GetText() const;
  virtual void SetText(const AnsiString& Value);
  // DelimitedText with ',' and '"'.
  AnsiString GetCommaText() const;
  void SetCommaText(const AnsiString& Value);
  // Items joined by Delimiter; an item that holds a blank or control character, the delimiter
  // or the quote is written quoted with its quotes doubled (a list of one empty line gives
  // two quotes, so it reads back as one line). Reading: quoted items
  // run to the closing quote; otherwise blanks (and control characters) and the delimiter end
  // an item; blanks between items are skipped.
  AnsiString GetDelimitedText() const;
  void SetDelimitedText(const AnsiString& Value);

  char GetDelimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char GetQuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  char GetNameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }

  virtual Integer GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(Integer NewCapacity) {}

  // Nested; SetUpdateState(true) runs on the first BeginUpdate, (false) on the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  Integer GetUpdateCount() const { return FUpdateCount; }

  // Raises EFOpenError when the file can't be opened.
  virtual void LoadFromFile(const AnsiString& FileName);
  // Reads the rest of Stream from its position and sets Text from it.
  virtual void LoadFromStream(TStream* Stream);
  // Saves through platform/rtl/SaveSeam.h: EFCreateError when the file can't be written (it
  // is then unchanged).
  virtual void SaveToFile(const AnsiString& FileName) const;
  virtual void SaveToStream(TStream* Stream) const;

protected:
  // Raises EStringListError with Msg formatted with Data ("%d").
  [[noreturn]] void Error(const char* Msg, Integer Data) const;
  virtual AnsiString Get(Integer Index) const = 0;
  virtual void Put(Integer Index, const AnsiString& S);
  virtual TObject* GetObject(Integer Index) const { return nullptr; }
  virtual void PutObject(Integer Index, TObject* AObject) {}
  virtual void SetUpdateState(bool Updating) {}
  // Compares two lines for IndexOf and the name look-ups.
  virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;

private:
  AnsiString JoinDelimited(char Delimiter, char QuoteChar) const;
  void SplitDelimited(const AnsiString& Value, char Delimiter, char QuoteChar);

  Integer FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
};

class TStringList;
// Answers <0, 0 or >0 for the lines at Index1 and Index2.
using TStringListSortCompare = std::function<int(TStringList* List, Integer Index1, Integer Index2)>;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  TStringList() = default;
  ~TStringList() override;

  // On a sorted list the line goes to its sorted place; a duplicate is then ignored (answers
  // the existing index), accepted, or raises EStringListError "String list does not allow
  // duplicates", as Duplicates says.
  Integer Add(const AnsiString& S) override;
  Integer AddObject(const AnsiString& S, TObject* AObject) override;
  void Clear() override;
  void Delete(Integer Index) override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Insert(Integer Index, const AnsiString& S) override;
  void InsertObject(Integer Index, const AnsiString& S, TObject* AObject) override;
  void Exchange(Integer Index1, Integer Index2) override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Move(Integer CurIndex, Integer NewIndex) override;
  Integer IndexOf(const AnsiString& S) const override;
  // Binary search on a sorted list: true when S is there; Index is its first position, or
  // where it would go. Only meaningful while Sorted.
  virtual bool Find(const AnsiString& S, Integer& Index) const;
  virtual void Sort();
  // Sorts with Compare (a stable sort). Does nothing on a sorted list: it is in order already.
  virtual void CustomSort(const TStringListSortCompare& Compare);

  Integer GetCount() const override { return static_cast<Integer>(FList.size()); }
  Integer GetCapacity() const override { return static_cast<Integer>(FList.capacity()); }
  void SetCapacity(Integer NewCapacity) override;

  bool GetSorted() const { return FSorted; }
  // Setting true sorts the list.
  void SetSorted(bool Value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  // Changing it re-sorts a sorted list.
  void SetCaseSensitive(bool Value);

  // Called with the list as sender before and after every change (not while updating).
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  AnsiString Get(Integer Index) const override;
  // Raises EStringListError "Operation not allowed on sorted list" on a sorted list.
  void Put(Integer Index, const AnsiString& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(Integer Index, const AnsiString& S, TObject* AObject);

private:
  struct TStringItem {
    AnsiString FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index) const;

  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
