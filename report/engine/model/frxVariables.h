// Report variables: named values, possibly expressions, grouped into categories in one flat
// list. An entry whose name begins with a blank is a category header; the entries after it, up
// to the next header, belong to that category. Names compare ignoring ASCII case.
#pragma once

#include "platform/classes/Collection.h"
#include "platform/rtl/Variants.h"

class TStream;
class TStrings;
class TfrxXMLItem;

class TfrxVariable : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxVariable, TCollectionItem)
public:
  explicit TfrxVariable(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  AnsiString Name;
  Variant Value = Variant::Null();

  PELTO_PUBLISHED(p);
};

class TfrxVariables : public TCollection {
  PELTO_DECLARE_CLASS(TfrxVariables, TCollection)
public:
  TfrxVariables();

  TfrxVariable* Add() { return static_cast<TfrxVariable*>(TCollection::Add()); }
  TfrxVariable* GetItems(int Index) const { return static_cast<TfrxVariable*>(GetItem(Index)); }
  // Index of the first entry named Name, -1 when none.
  int IndexOf(const AnsiString& Name) const;
  // Null for a name not in the list; writing an unknown name appends it.
  Variant GetVariable(const AnsiString& Name) const;
  void SetVariable(const AnsiString& Name, const Variant& Value);

  // Category names (without their blank), in order; List is emptied first with ClearList.
  void GetCategoriesList(TStrings* List, bool ClearList = true) const;
  // The names of Category's block (with "" those before the first header); an empty name ends
  // a block. Nothing for an unknown category.
  void GetVariablesList(const AnsiString& Category, TStrings* List) const;
  // Deletes the header and its block; nothing for an unknown category.
  void DeleteCategory(const AnsiString& Name);
  void DeleteVariable(const AnsiString& Name);
  // Inserts Name = Value at the end of Category's block; nothing for an unknown category.
  void AddVariable(const AnsiString& Category, const AnsiString& Name, const Variant& Value);

  // The variables file: root "variables" with one "item" per entry. Loading a document with
  // another root leaves the list empty; XML syntax errors raise.
  void SaveToXMLItem(TfrxXMLItem* Item);
  void LoadFromXMLItem(TfrxXMLItem* Item);
  void SaveToStream(TStream* Stream);
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);
  void LoadFromFile(const AnsiString& FileName);

private:
  // Index of the header of Category, -1 when none.
  int CategoryIndex(const AnsiString& Category) const;
  // Index after the last entry of the block that starts after Header.
  int BlockEnd(int Header) const;
};
