// The report library's small XML tree: elements with attributes and child elements, no text
// content, no entities but decimal character references. Report files, prepared reports, report
// variables, the designer's clipboard and undo snapshots pass through it.
//
// Text is 8-bit CP936 and passes unconverted, although the header names UTF-8.
//
// Lazy loading: an element marked Swappable can have its subtree parked in a temporary file
// (SwapOut) or, after a partial load, left in the loaded stream, and read back on demand
// (SwapIn). Saving writes parked subtrees back in place.
//
// Errors: every syntax failure raises Exception "Invalid file format": a first tag that is not
// the "?xml" header, "<" inside a tag, data ending inside a tag or before an open element is
// closed, a closing tag that does not match its element. UnescapeText raises EConvertError for
// a character reference whose code is no number. Stream errors pass through.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TStream;
class Variant;

namespace frxXML {

// Line feed, carriage return, double quote, ampersand, less-than and greater-than become
// "&#10;", "&#13;", "&#34;", "&#38;", "&#60;", "&#62;"; every other byte passes unchanged.
AnsiString EscapeText(const AnsiString& Text);
// Decodes decimal references "&#NN;" only. Named and hexadecimal references stay as they are,
// and so does "&#" with no ";" after it or with a code above 255. Raises EConvertError for a
// code that is no number.
AnsiString UnescapeText(const AnsiString& Text);
// Attribute text of a value: integers as digits, floats with the locale's decimal separator,
// dates in the short date format, texts escaped, Booleans "1"/"0"; anything else empty.
AnsiString ValueToText(const Variant& Value);

}  // namespace frxXML

class TfrxXMLDocument;

// One element. A parent owns its children: freeing an item frees its subtree and takes it out
// of its parent's list.
class TfrxXMLItem : public TObject {
public:
  TfrxXMLItem() = default;
  ~TfrxXMLItem() override;
  TfrxXMLItem(const TfrxXMLItem&) = delete;
  TfrxXMLItem& operator=(const TfrxXMLItem&) = delete;

  // Frees every child; a Swappable item is then no longer InMemory.
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  // The child at Index (0-based); owned by this item.
  TfrxXMLItem* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Position of Item among the children, or -1.
  int IndexOf(const TfrxXMLItem* Item) const;
  // A new child appended at the end; owned by this item.
  TfrxXMLItem* Add();
  // Appends Item, taking it out of its former parent's list first; this item owns it.
  void AddItem(TfrxXMLItem* Item);
  // Like AddItem, then moves the item to Index.
  void InsertItem(int Index, TfrxXMLItem* Item);
  // Index of the first child named Name ignoring case, or -1.
  int Find(const AnsiString& Name) const;
  // The first child named Name, or a new one appended.
  TfrxXMLItem* FindOrAddItem(const AnsiString& Name);

  // The unescaped value of attribute Name (any case); empty when it is missing.
  AnsiString GetProp(const AnsiString& Name) const;
  // Replaces the attribute's value in place, or appends the attribute after a blank.
  void SetProp(const AnsiString& Name, const AnsiString& Value);

  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value) { FName = Value; }
  // The raw attribute text: name="value" runs separated by blanks, values escaped.
  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value) { FText = Value; }
  TfrxXMLItem* GetParent() const { return FParent; }
  bool GetInMemory() const { return FInMemory; }
  void SetInMemory(bool Value) { FInMemory = Value; }
  bool GetSwappable() const { return FSwappable; }
  void SetSwappable(bool Value) { FSwappable = Value; }
  // Where the element's start tag can be re-read in the stream that holds it.
  Int64 GetOffset() const { return FOffset; }
  void SetOffset(Int64 Value) { FOffset = Value; }

private:
  friend class TfrxXMLDocument;
  friend class TfrxXMLReader;
  friend class TfrxXMLWriter;

  // Takes the children out of the list without freeing them.
  std::vector<TfrxXMLItem*> DetachChildren();

  AnsiString FName;
  AnsiString FText;
  std::vector<TfrxXMLItem*> FItems;  // owned
  TfrxXMLItem* FParent = nullptr;
  Int64 FOffset = 0;
  bool FInMemory = true;
  bool FSwappable = false;
  bool FInTempFile = false;  // the parked subtree is in the temporary file, not the loaded stream
};

// Reads tags and elements from a stream through a 4,096-byte buffer, from the stream's
// position on. Destroying the reader leaves the stream just after the bytes it consumed.
class TfrxXMLReader : public TObject {
public:
  explicit TfrxXMLReader(TStream* Stream);
  ~TfrxXMLReader() override;
  TfrxXMLReader(const TfrxXMLReader&) = delete;
  TfrxXMLReader& operator=(const TfrxXMLReader&) = delete;

  Int64 GetPosition() const { return FPosition; }
  void SetPosition(Int64 Pos);
  // Reads the first tag, which must be the "?xml" header.
  void ReadHeader();
  // The next tag's name and attribute text, comments and text between tags skipped; an empty
  // name at the end of the data.
  void ReadTag(AnsiString& Name, AnsiString& Text);
  // Reads one element with its subtree into Item; answers true when a closing tag or the end
  // of the data came instead of an element. Without LoadAll, an element marked ld="0" keeps
  // no children and is left Swappable and not InMemory, to be read back from its Offset.
  bool ReadItem(TfrxXMLItem* Item, bool LoadAll);

private:
  // 0: a closing tag or the end; 1: an element without children; 2: an element whose
  // children follow.
  int ReadStart(TfrxXMLItem* Item);
  void FinishItem(TfrxXMLItem* Item, Int64 StartPos, bool LoadAll);
  bool NextByte(char& c);

  TStream* FStream;
  Int64 FSize;
  Int64 FPosition;
  std::vector<char> FBuffer;
  size_t FBufferCount = 0;
  size_t FBufferPos = 0;
  AnsiString FLastTag;  // the name of the last tag read, shared by the whole element
};

// Writes the header and elements through a pending text of about 4,096 bytes. Parked subtrees
// are read back from SwapStream (or TempStream for items parked in the temporary file) while
// they are written and parked again afterwards.
class TfrxXMLWriter : public TObject {
public:
  explicit TfrxXMLWriter(TStream* Stream) : FStream(Stream) {}

  void WriteHeader();
  // Writes Item and its subtree, then flushes.
  void WriteRootItem(TfrxXMLItem* Item);
  // With Indented, Text and CR LF; without, Text alone.
  void WriteLine(const AnsiString& Text);
  void Flush();

  bool GetIndented() const { return FIndented; }
  void SetIndented(bool Value) { FIndented = Value; }
  void SetSwapStream(TStream* Value) { FSwapStream = Value; }
  void SetTempStream(TStream* Value) { FTempStream = Value; }

private:
  // Writes the start tag (and, for an element without children, the whole element).
  void WriteStart(TfrxXMLItem* Item, int Indent);

  TStream* FStream;
  TStream* FSwapStream = nullptr;
  TStream* FTempStream = nullptr;
  AnsiString FPending;
  bool FIndented = false;
};

namespace frxXML {

// An indented document whose root Save fills, written to Stream.
void SaveDocument(TStream* Stream, const std::function<void(TfrxXMLItem*)>& Save);
// Reads a document from Stream and hands its root to Load when the root is named RootName
// (case ignored); another root is ignored. Raises what reading the document raises.
void LoadDocument(TStream* Stream, const AnsiString& RootName, const std::function<void(TfrxXMLItem*)>& Load);

}  // namespace frxXML

class TfrxXMLDocument : public TObject {
public:
  TfrxXMLDocument();
  // Deletes the temporary file and frees Root and any stream the document owns.
  ~TfrxXMLDocument() override;
  TfrxXMLDocument(const TfrxXMLDocument&) = delete;
  TfrxXMLDocument& operator=(const TfrxXMLDocument&) = delete;

  // Empties Root, deletes the temporary file and frees the stream of a partial load.
  void Clear();
  // Reads the document from the stream's position. With AllowPartialLoading the document owns
  // Stream from this call on (also when loading fails) and leaves the subtrees of elements
  // marked ld="0" in it, to be read by SwapIn; without it the caller keeps the stream.
  void LoadFromStream(TStream* Stream, bool AllowPartialLoading = false);
  void SaveToStream(TStream* Stream);
  // Reads a parked subtree back; the item keeps its in-memory attribute text. Nothing happens
  // for an item that is in memory or not Swappable.
  void SwapIn(TfrxXMLItem* Item);
  // Parks a Swappable item's subtree at the end of the temporary file (created on first use in
  // TempDir, or the system's temporary folder) and empties the item.
  void SwapOut(TfrxXMLItem* Item);

  TfrxXMLItem* GetRoot() const { return FRoot.get(); }
  bool GetIndented() const { return FIndented; }
  void SetIndented(bool Value) { FIndented = Value; }
  const AnsiString& GetTempDir() const { return FTempDir; }
  void SetTempDir(const AnsiString& Value) { FTempDir = Value; }
  // The stream of a partial load, or else the temporary file; nullptr when neither exists.
  TStream* GetSwapStream() const;
  // Empty until the temporary file has been created.
  const AnsiString& GetTempFileName() const { return FTempFileName; }

private:
  void CreateTempFile();
  void DeleteTempFile();
  TStream* StreamOf(const TfrxXMLItem* Item) const;

  std::unique_ptr<TfrxXMLItem> FRoot;
  std::unique_ptr<TStream> FSwapStream;  // the stream of a partial load
  std::unique_ptr<TStream> FTempStream;  // the temporary file
  AnsiString FTempFileName;
  AnsiString FTempDir;
  bool FIndented = false;
};

namespace frxXML {

// An indented document whose root Save fills, written to Stream.
void SaveDocument(TStream* Stream, const std::function<void(TfrxXMLItem*)>& Save);
// Reads a document from Stream and hands its root to Load when the root is named RootName
// (case ignored); another root is ignored. Raises what reading the document raises.
void LoadDocument(TStream* Stream, const AnsiString& RootName, const std::function<void(TfrxXMLItem*)>& Load);

}  // namespace frxXML
