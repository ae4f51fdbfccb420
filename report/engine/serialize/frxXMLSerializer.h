// Report objects to XML elements and back, driven by their published properties: the ".fr3"
// report file and the attribute texts of variables, styles and prepared pages.
//
// An element is named after its object's class; its attributes are Name, then every stored
// published property in declaration order (ancestors first), then PropData (the defined
// properties as hexadecimal component-stream bytes). Nested persistent objects are flattened
// ("Font.Name"), string lists become one "<Path>.Text" attribute.
//
// Reading never stops for one bad attribute: its message goes to Errors (sorted, each text
// once). Unknown classes add "<xrCantFindClass> <class>" and skip their subtree; unknown
// properties and unresolved references are ignored silently. Elements nested deeper than 256
// levels (no report is) are skipped with "Invalid file format", so that a hostile file cannot
// exhaust the stack of the tree's recursive walks.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TComponent;
class TPersistent;
class TReader;
class TStream;
class TStringList;
class TfrxComponent;
class TfrxXMLItem;
struct TPropInfo;

// A reference to be set once every object of the load exists.
struct TfrxFixupItem {
  TObject* Obj = nullptr;
  const TPropInfo* Prop = nullptr;
  AnsiString Value;
};

class TfrxXMLSerializer : public TObject {
public:
  // Stream (not owned) is read from or written to by the root operations; it may be nullptr
  // when the caller passes XML items.
  explicit TfrxXMLSerializer(TStream* Stream);
  ~TfrxXMLSerializer() override;
  TfrxXMLSerializer(const TfrxXMLSerializer&) = delete;
  TfrxXMLSerializer& operator=(const TfrxXMLSerializer&) = delete;

  // Failures met while reading; owned by the serializer.
  TStringList* GetErrors() const { return FErrors.get(); }
  // The object against which references are resolved; the root operations set it when empty.
  TfrxComponent* GetOwner() const { return FOwner; }
  void SetOwner(TfrxComponent* Value) { FOwner = Value; }
  // Writes ordinals equal to their default and empty strings as well.
  bool GetWriteDefaults() const { return FWriteDefaults; }
  void SetWriteDefaults(bool Value) { FWriteDefaults = Value; }

  // Writes Obj (with SaveChildren its subtree) into Item, or, with Item nullptr, as an
  // indented document saved to the stream.
  void WriteRootComponent(TfrxComponent* Obj, bool SaveChildren, TfrxXMLItem* Item);
  // Reads the element tree Item (nullptr: a document loaded from the stream) into Obj; child
  // elements become new child objects. Raises only for XML syntax errors.
  void ReadRootComponent(TfrxComponent* Obj, TfrxXMLItem* Item);

  // The attribute text of Obj, each attribute preceded by a blank.
  AnsiString WriteProperties(TPersistent* Obj, const AnsiString& Prefix = AnsiString());
  // Applies an attribute text to Obj; references wait for FixupReferences.
  void ReadProperties(const AnsiString& Text, TPersistent* Obj);
  // The class name followed by the attribute text (without Name).
  AnsiString WriteComponentStr(TfrxComponent* Obj);
  // Writes "<" + WriteComponentStr + "/>" to the stream, without a header (the clipboard form).
  void WriteComponent(TfrxComponent* Obj);
  // Reads the next element of the stream into a new object under Parent (ReadComponentStr);
  // nullptr at the end of the data.
  TfrxComponent* ReadComponent(TfrxComponent* Parent);
  // Text is a class name, a blank and an attribute text: creates that object under Parent,
  // applies the text and resolves references. nullptr for an empty text; raises EClassNotFound
  // for an unregistered class (the caller owns nothing: the object belongs to Parent).
  TfrxComponent* ReadComponentStr(TfrxComponent* Parent, const AnsiString& Text);
  // Applies an attribute text to an existing object and resolves its references at once.
  void ReadPersistentStr(TfrxComponent* Owner, TPersistent* Obj, const AnsiString& Text);

  void AddFixup(TObject* Obj, const TPropInfo* Prop, const AnsiString& Value);
  void FixupReferences();

private:
  void WriteItem(TfrxComponent* Obj, bool SaveChildren, TfrxXMLItem* Item);
  void ReadItem(TfrxComponent* Obj, TfrxXMLItem* Item, std::vector<TfrxComponent*>& Loaded, int Depth);
  void SetProperty(const AnsiString& Name, const AnsiString& Value, TObject* Obj);
  void ReadPropData(const AnsiString& Hex, TPersistent* Obj);
  AnsiString WritePropData(TPersistent* Obj);

  TStream* FStream;
  TfrxComponent* FOwner = nullptr;
  bool FWriteDefaults = false;
  std::unique_ptr<TStringList> FErrors;
  std::vector<TfrxFixupItem> FFixups;
  // Readers of PropData attributes, kept until their references are resolved.
  struct TPropDataReader;
  std::vector<std::unique_ptr<TPropDataReader>> FReaders;
};
