// TWriter: writes components and their published and defined properties as a binary
// component stream (see Filer.h for the layout).
//
// What is written for a published property (only when its stored rule says so):
// - integer, char, enumeration, set: when it differs from the declared default (always when
//   none is declared); integers in the narrowest of vaInt8, vaInt16, vaInt32, vaInt64; a char
//   as a one-character string; Booleans as vaFalse/vaTrue, other enumerations as identifiers;
//   sets as vaSet with the element names, ended by an empty name;
// - float: when not 0 (vaExtended; vaSingle, vaCurrency, vaDate for those types);
// - strings: when not empty (vaString up to 255 bytes, vaLString above; vaWString);
// - variant: when not Empty;
// - class: a component (not a sub-component) by reference (vaIdent with its name, or owner
//   name, a full stop and its name when it is not owned by the root), nothing when none; a
//   collection, even an empty one, as vaCollection with one list of properties per item; a
//   string list as the defined property "Strings" (a list of strings, when not empty); any
//   other persistent object flattened: its properties under "Property.Name";
// - event properties are never written (they hold no name to store).
// Errors: a name longer than 255 bytes, or a value the stream cannot hold, raises EWriteError;
// the stream's own write errors pass through.
#pragma once

#include "platform/classes/Filer.h"

class TCollection;
class TStrings;

class TWriter : public TFiler {
public:
  explicit TWriter(TStream* Stream, int BufSize = 4096);
  ~TWriter() override = default;

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData, bool HasData) override;

  // The signature and Root with its children; Root becomes the filer's root.
  void WriteRootComponent(TComponent* Root);
  void WriteSignature();
  // One component (header, properties, children) through its WriteState.
  void WriteComponent(TComponent* Component);
  // What TComponent::WriteState writes: header, properties, end marker, children, end marker.
  void WriteData(TComponent* Instance);
  // The published properties of Instance, then its defined properties. No end marker.
  void WriteProperties(TPersistent* Instance);
  // Only the defined properties of Instance (its DefineProperties against this writer), for
  // callers that store the published ones in another form.
  void WriteDefinedProperties(TPersistent* Instance);
  // Items of Value, each its list of properties; the vaCollection tag first.
  void WriteCollection(TCollection* Value);

  void WriteListBegin();
  void WriteListEnd();
  void WriteBoolean(bool Value);
  void WriteChar(char Value);
  void WriteWideChar(WideChar Value);
  void WriteInteger(Int64 Value);
  void WriteFloat(Extended Value);
  void WriteSingle(float Value);
  void WriteCurrency(Currency Value);
  void WriteDate(TDateTime Value);
  void WriteString(const AnsiString& Value);
  void WriteWideString(const WideString& Value);
  // "False", "True", "nil" and "Null" become their own tags.
  void WriteIdent(const AnsiString& Ident);
  // Variants: Empty as vaNil, Null as vaNull, numbers, texts, Booleans, dates, currency and
  // one-dimensional arrays (as vaList). Other types, and Null inside an array (its tag would
  // end the list), raise EWriteError "Stream write error".
  void WriteVariant(const Variant& Value);
  // A short string without tag: a length byte and the bytes.
  void WriteStr(const AnsiString& Value);
  void WriteValue(TValueType Value);
  void Write(const void* Buffer, Int64 Count);
  Int64 GetPosition() const;

  // The name a component reference is written with, relative to the lookup root.
  AnsiString GetComponentRefName(TComponent* Component) const;

protected:
  void WritePrefix(TFilerFlags Flags, int ChildPos);
  void WritePropName(const AnsiString& PropName);
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
  void WriteStrings(TStrings* Value);
  void WriteVariantProp(TPersistent* Instance, const TPropInfo* Prop);

private:
  AnsiString FPropPath;  // prefix of nested property names ("Font.")
};
