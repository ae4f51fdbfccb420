// The small XML tree of the script interpreter: language grammars, the intermediate form the
// parser writes, and the catalogue of script functions live in it.
//
// It is not a general XML processor: an element has a name, a raw attribute text and child
// elements; text between elements is dropped, and the only escapes are numeric character
// references ("&#60;").
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TStream;

class TfsXMLItem : public TObject {
public:
  TfsXMLItem() = default;
  // Frees the children and leaves the parent's child list.
  ~TfsXMLItem() override;
  TfsXMLItem(const TfsXMLItem&) = delete;
  TfsXMLItem& operator=(const TfsXMLItem&) = delete;

  // Frees every child; afterwards the item has no child list at all.
  void Clear();
  // 0 when there is no child list.
  Integer GetCount() const { return FItems ? static_cast<Integer>(FItems->size()) : 0; }
  // The item keeps ownership. A bad index raises EListError.
  TfsXMLItem* GetItems(Integer Index) const;
  // Creates a child at the end; owned by this item.
  TfsXMLItem* Add();
  // Appends Item (which passes into this item's ownership) and takes it out of its former
  // parent; adding an item to its own parent moves it to the end.
  void AddItem(TfsXMLItem* Item);
  // As AddItem, then moves the item to Index; a bad index raises EListError.
  void InsertItem(Integer Index, TfsXMLItem* Item);
  // Index of the first child named Name (case-insensitive); -1 when none.
  Integer Find(const AnsiString& Name) const;
  // The first child named Name; when there is none, a new child of that name is added.
  TfsXMLItem* FindItem(const AnsiString& Name);
  // The topmost ancestor (this item when it has no parent).
  TfsXMLItem* Root();
  // The decoded value of attribute Name; empty when absent (not an error). A character
  // reference that is not a number raises EConvertError.
  AnsiString Prop(const AnsiString& Name) const;
  // Replaces this item's content by a deep copy of Source (nothing when Source is null).
  void CopyFrom(const TfsXMLItem* Source);

  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value) { FName = Value; }
  // The raw attribute text, values still escaped: whoever sets it escapes its values.
  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value) { FText = Value; }
  Integer GetData() const { return FData; }
  void SetData(Integer Value) { FData = Value; }
  TfsXMLItem* GetParent() const { return FParent; }

private:
  void Detach(TfsXMLItem* Item);

  Integer FData = 0;
  std::unique_ptr<std::vector<TfsXMLItem*>> FItems;  // owned children; null until the first add
  AnsiString FName;
  TfsXMLItem* FParent = nullptr;
  AnsiString FText;
};

class TfsXMLDocument : public TObject {
public:
  TfsXMLDocument();
  ~TfsXMLDocument() override;
  TfsXMLDocument(const TfsXMLDocument&) = delete;
  TfsXMLDocument& operator=(const TfsXMLDocument&) = delete;

  // Owned by the document; after loading it carries the document element itself.
  TfsXMLItem* GetRoot() const { return FRoot.get(); }
  bool GetIndentOutput() const { return FIndentOutput; }
  void SetIndentOutput(bool Value) { FIndentOutput = Value; }

  // Reads from the stream's position. A malformed document raises Exception "Invalid file
  // format"; the items read before the fault stay in the tree. Stream errors pass through.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  // File errors of the stream classes pass through.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName) const;

private:
  bool FIndentOutput = false;
  std::unique_ptr<TfsXMLItem> FRoot;
};

namespace fs_xml {

// Replaces line feed, carriage return, double quote, "<", ">" and "&" by "&#<code>;". The
// ampersand is escaped too, so that text that looks like a reference keeps its letters.
AnsiString EscapeXMLText(const AnsiString& S);
// Decodes every "&#<number>;" left to right; decoded characters are not looked at again. An
// ampersand and number sign without a later semicolon stay as they are. A reference that is
// not a number raises EConvertError.
AnsiString UnescapeXMLText(const AnsiString& S);

}  // namespace fs_xml
