// TReader: reads a binary component stream (see Filer.h) back into components and their
// published and defined properties, creating child components through the class registry and
// fixing up references between components at the end.
//
// Errors (the stream's position is then undefined; what was read so far stays in place):
// - a stream that does not start with "TPF0": EReadError "Invalid stream format";
// - a property path the object does not have: EReadError "Property %s does not exist";
// - a value of the wrong kind for its property, an unknown identifier or set element:
//   EReadError "Invalid property value";
// - a read-only property: EReadError "Property %s is read-only";
// - an unregistered class: EClassNotFound "Class %s not found";
// - an event named in the stream that OnFindMethod does not supply: EMethodNotFound
//   "Method '%s' not found";
// - a stream that ends early: EReadError "Stream read error"; lengths beyond the stream's end
//   and nesting deeper than 256 levels: EReadError "Invalid stream format".
// A component created while reading is deleted again when reading it fails; a root created by
// ReadRootComponent likewise.
#pragma once

#include <any>
#include <vector>

#include "platform/classes/Filer.h"

class TCollection;
class TStrings;

class TReader : public TFiler {
public:
  explicit TReader(TStream* Stream, int BufSize = 4096);
  ~TReader() override = default;

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

  // Reads a whole stream: the signature, the root's header, properties and children, then
  // fixes up references and calls Loaded on every component read. With Root nullptr the root
  // is created from its class name (registered) without owner, and the caller owns it;
  // otherwise Root takes the stream's properties and the name stored for it.
  TComponent* ReadRootComponent(TComponent* Root);
  void ReadSignature();
  // Reads one child component below the current parent and creates it with the current owner.
  TComponent* ReadComponent(TComponent* Component);
  // What TComponent::ReadState reads: properties up to their end marker, then the children.
  void ReadData(TComponent* Instance);
  // One property entry (its path and value) into Instance.
  void ReadProperty(TPersistent* Instance);
  // The items of Collection, after its vaCollection tag was read: the collection is cleared
  // first when the stream holds items.
  void ReadCollection(TCollection* Collection);

  // Resolves the component references read so far (against the root, then the global
  // components); unresolved names leave their properties as they were.
  void FixupReferences();

  TValueType NextValue();
  TValueType ReadValue();
  // The next value is the end marker (vaNull); it stays unread.
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  void CheckValue(TValueType Value);
  bool ReadBoolean();
  char ReadChar();
  WideChar ReadWideChar();
  Integer ReadInteger();
  Int64 ReadInt64();
  Extended ReadFloat();
  float ReadSingle();
  Currency ReadCurrency();
  TDateTime ReadDate();
  // 8-bit and wide strings of any string tag (wide ones converted to CP936).
  AnsiString ReadString();
  WideString ReadWideString();
  // vaIdent, and vaFalse, vaTrue, vaNil, vaNull as "False", "True", "nil", "Null".
  AnsiString ReadIdent();
  Variant ReadVariant();
  // A short string without tag.
  AnsiString ReadStr();
  void Read(void* Buffer, Int64 Count);
  Int64 GetPosition() const;

  TComponent* GetOwner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* GetParent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }

  // Lets the caller supply a class for a name the registry does not hold.
  std::function<void(TReader* Reader, const AnsiString& ClassName, TClass& ComponentClass)> OnFindComponentClass;
  // Supplies the handler for an event named in the stream: Method gets the event's
  // std::function; leaving Error set raises EMethodNotFound.
  std::function<void(TReader* Reader, const AnsiString& MethodName, std::any& Method, bool& Error)> OnFindMethod;

protected:
  void ReadPrefix(TFilerFlags& Flags, int& ChildPos);
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  void ReadVariantProp(TPersistent* Instance, const TPropInfo* Prop);
  void ReadStrings(TStrings* Strings);
  TClass FindComponentClass(const AnsiString& ClassName);
  TComponent* FindReference(const AnsiString& Name) const;
  // Checks that Count more bytes can be in the stream before they are allocated.
  void CheckAvailable(Int64 Count);
  [[noreturn]] void PropertyError(const AnsiString& Name);
  [[noreturn]] void PropValueError();
  [[noreturn]] void FormatError();

private:
  struct TFixup {
    TPersistent* Instance;
    const TPropInfo* Prop;
    AnsiString Name;
  };
  Variant ReadVariantValue(TValueType Tag, int Depth);

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  // The defined property being looked for, and whether a definition took it.
  bool Claim(const AnsiString& Name, bool CanRead);
  void Claimed();
  AnsiString FPropName;
  bool FPropHandled = false;
  std::vector<TFixup> FFixups;
  std::vector<TComponent*> FLoaded;  // components read, in order, for Loaded
  int FDepth = 0;                    // nesting of components and lists
};

namespace Classes {
// Writes Component (with its children) to Stream as a whole component stream.
void WriteComponent(TStream* Stream, TComponent* Component);
// Reads a whole component stream into Instance (nullptr: a new root of the stored class that
// the caller owns) and answers it.
TComponent* ReadComponent(TStream* Stream, TComponent* Instance);
}  // namespace Classes
