// Named text styles: a style (colour, font and frame), a named style set (one belongs to each report) and a style sheet (a list of free sets). Style
// names compare ignoring ASCII case.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/forms/graphics/Font.h"
#include "report/engine/objects/frxView.h"

class TStream;
class TStrings;
class TfrxComponent;
class TfrxXMLItem;

class TfrxStyleItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxStyleItem, TCollectionItem)
public:
  explicit TfrxStyleItem(TCollection* Collection);
  ~TfrxStyleItem() override;
  void Assign(TPersistent* Source) override;

  const AnsiString& GetName() const { return FName; }
  // Raises Exception "Duplicate name" when another style of the set has the name.
  void SetName(const AnsiString& Value);
  // "Style" and the smallest number no style of the set uses.
  void CreateUniqueName();
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  // No lines initially; the setter copies.
  TfrxFrame* GetFrame() const { return FFrame.get(); }
  void SetFrame(TfrxFrame* Value) { FFrame->Assign(Value); }

  TColor Color = clNone;

  PELTO_PUBLISHED(p);

private:
  AnsiString FName;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TfrxFrame> FFrame;
};

class TfrxStyles : public TCollection {
  PELTO_DECLARE_CLASS(TfrxStyles, TCollection)
public:
  // Report: the report the set belongs to (nullptr for a free set).
  explicit TfrxStyles(TfrxComponent* Report = nullptr);

  TfrxStyleItem* Add() { return static_cast<TfrxStyleItem*>(TCollection::Add()); }
  TfrxStyleItem* GetItems(int Index) const { return static_cast<TfrxStyleItem*>(GetItem(Index)); }
  TfrxStyleItem* Find(const AnsiString& Name) const;
  void GetList(TStrings* List) const;
  // Makes every text object of the report take its named style again (colour, font, frame);
  // objects naming no style or a style the set lacks keep their look. Nothing for a free set.
  void Apply();
  TfrxComponent* GetReport() const { return FReport; }

  // The style file: root "style" (with the set's Name), one "item" per style. Loading another
  // root leaves the set empty; XML syntax errors raise.
  void SaveToXMLItem(TfrxXMLItem* Item);
  void LoadFromXMLItem(TfrxXMLItem* Item);
  void SaveToStream(TStream* Stream);
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);
  void LoadFromFile(const AnsiString& FileName);

  AnsiString Name;

private:
  TfrxComponent* FReport;
};

class TfrxStyleSheet : public TObject {
public:
  TfrxStyles* Add();
  void Clear() { FItems.clear(); }
  void Delete(int Index);
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TfrxStyles* GetItems(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
  TfrxStyles* Find(const AnsiString& Name) const;
  void GetList(TStrings* List) const;
  // Root "stylesheet", one "style" per set; another root leaves the sheet empty.
  void LoadFromStream(TStream* Stream);

private:
  std::vector<std::unique_ptr<TfrxStyles>> FItems;
};
