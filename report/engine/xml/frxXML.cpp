#include "report/engine/xml/frxXML.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"

namespace {

const char* const kInvalidFormat = "Invalid file format";
const size_t kBufferSize = 4096;
const char* const kSwapMarker = "ld=\"0\"";
const size_t kSwapMarkerLength = 6;

[[noreturn]] void RaiseFormat() { throw Exception(kInvalidFormat); }

bool EndsWith(const AnsiString& s, char c) { return !s.empty() && s.back() == c; }

// Position of attribute Name's run in Text (the first byte of the name), or npos. Both are
// upper-cased character by character, so a trail byte that looks like a letter is not folded.
size_t FindAttribute(const AnsiString& Text, const AnsiString& Name)
{
  AnsiString haystack = SysUtils::AnsiUpperCase(" " + Text);
  AnsiString needle = " " + SysUtils::AnsiUpperCase(Name) + "=\"";
  size_t from = 0;
  while (true) {
    size_t at = haystack.find(needle, from);
    if (at == AnsiString::npos) return at;
    // The blank must start a character of its own: it is never a trail byte, but a lead byte
    // just before it would make it one.
    if (at == 0 || System::StrByteType(haystack.data(), at) == System::mbSingleByte)
      return at;  // haystack has one extra leading blank: the name starts at `at` in Text
    from = at + 1;
  }
}

// The marker ld="0" that the writer appends after the last attribute: only at the very end
// and not inside another attribute's name (Bold="0" holds the same six bytes).
bool StripSwapMarker(AnsiString& Text)
{
  if (Text.size() < kSwapMarkerLength) return false;
  size_t at = Text.size() - kSwapMarkerLength;
  if (SysUtils::LowerCase(Text.substr(at)) != kSwapMarker) return false;
  if (at > 0 && Text[at - 1] != ' ' && Text[at - 1] != '"') return false;
  Text.erase(at);
  return true;
}

}  // namespace

// ---- Text helpers ---------------------------------------------------------------------------

namespace frxXML {

// Both build their result in one pass: a long text with many line breaks (a memo of a few
// hundred kilobytes) costs linear time, not a shift of the whole tail per reference.
AnsiString EscapeText(const AnsiString& Text)
{
  AnsiString result;
  result.reserve(Text.size());
  for (char ch : Text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == 10 || c == 13 || c == 34 || c == 38 || c == 60 || c == 62)
      result += "&#" + std::to_string(c) + ";";
    else
      result += ch;
  }
  return result;
}

AnsiString UnescapeText(const AnsiString& Text)
{
  AnsiString result;
  result.reserve(Text.size());
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '&' && i + 3 < Text.size() && Text[i + 1] == '#') {
      size_t semi = Text.find(';', i + 2);
      // "&#x..." is a hexadecimal reference, which is not decoded.
      if (semi != AnsiString::npos && Text[i + 2] != 'x' && Text[i + 2] != 'X') {
        Integer code = SysUtils::StrToInt(Text.substr(i + 2, semi - i - 2));
        if (code >= 0 && code <= 255) {
          result += static_cast<char>(code);
          i = semi + 1;
          continue;
        }
      }
    }
    result += Text[i++];
  }
  return result;
}

AnsiString ValueToText(const Variant& Value)
{
  const Variant& v = Value.Deref();
  switch (v.VarType()) {
    case varSmallint:
    case varInteger:
    case varByte:
    case varShortInt:
    case varWord:
    case varLongWord:
    case varInt64: return SysUtils::IntToStr(v.AsInt64());
    case varSingle:
    case varDouble:
    case varCurrency: return SysUtils::FloatToStr(v.AsDouble());
    case varDate: return SysUtils::DateToStr(v.AsDateTime());
    case varString:
    case varOleStr: return EscapeText(v.AsString());
    case varBoolean: return v.AsBoolean() ? "1" : "0";
    default: return AnsiString();
  }
}

}  // namespace frxXML

// ---- TfrxXMLItem ----------------------------------------------------------------------------

TfrxXMLItem::~TfrxXMLItem()
{
  Clear();
  if (FParent) {
    auto& siblings = FParent->FItems;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) siblings.erase(it);
  }
}

std::vector<TfrxXMLItem*> TfrxXMLItem::DetachChildren()
{
  std::vector<TfrxXMLItem*> children;
  children.swap(FItems);
  for (TfrxXMLItem* child : children) child->FParent = nullptr;
  return children;
}

void TfrxXMLItem::Clear()
{
  // Without recursion, so a deeply nested tree cannot exhaust the stack.
  std::vector<TfrxXMLItem*> work = DetachChildren();
  while (!work.empty()) {
    TfrxXMLItem* item = work.back();
    work.pop_back();
    for (TfrxXMLItem* child : item->DetachChildren()) work.push_back(child);
    delete item;
  }
  if (FSwappable) FInMemory = false;
}

int TfrxXMLItem::IndexOf(const TfrxXMLItem* Item) const
{
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TfrxXMLItem* TfrxXMLItem::Add()
{
  auto item = std::make_unique<TfrxXMLItem>();
  AddItem(item.get());
  return item.release();
}

void TfrxXMLItem::AddItem(TfrxXMLItem* Item)
{
  if (Item->FParent) {
    auto& siblings = Item->FParent->FItems;
    auto it = std::find(siblings.begin(), siblings.end(), Item);
    if (it != siblings.end()) siblings.erase(it);
  }
  FItems.push_back(Item);
  Item->FParent = this;
}

void TfrxXMLItem::InsertItem(int Index, TfrxXMLItem* Item)
{
  AddItem(Item);
  FItems.pop_back();
  size_t at = std::min(static_cast<size_t>(std::max(Index, 0)), FItems.size());
  FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(at), Item);
}

int TfrxXMLItem::Find(const AnsiString& Name) const
{
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SysUtils::AnsiCompareText(FItems[i]->FName, Name) == 0) return static_cast<int>(i);
  return -1;
}

TfrxXMLItem* TfrxXMLItem::FindOrAddItem(const AnsiString& Name)
{
  int i = Find(Name);
  if (i >= 0) return FItems[static_cast<size_t>(i)];
  TfrxXMLItem* item = Add();
  item->FName = Name;
  return item;
}

AnsiString TfrxXMLItem::GetProp(const AnsiString& Name) const
{
  size_t at = FindAttribute(FText, Name);
  if (at == AnsiString::npos) return AnsiString();
  size_t start = at + Name.size() + 2;
  size_t end = FText.find('"', start);
  if (end == AnsiString::npos) end = FText.size();
  return frxXML::UnescapeText(FText.substr(start, end - start));
}

void TfrxXMLItem::SetProp(const AnsiString& Name, const AnsiString& Value)
{
  size_t at = FindAttribute(FText, Name);
  if (at != AnsiString::npos) {
    size_t end = FText.find('"', at + Name.size() + 2);
    end = end == AnsiString::npos ? FText.size() : end + 1;
    FText.erase(at, end - at);
  } else {
    at = FText.size();
  }
  AnsiString run = Name + "=\"" + frxXML::EscapeText(Value) + "\"";
  if (at > 0 && FText[at - 1] != ' ') run = " " + run;
  FText.insert(at, run);
}

// ---- TfrxXMLReader --------------------------------------------------------------------------

TfrxXMLReader::TfrxXMLReader(TStream* Stream)
    : FStream(Stream), FSize(Stream->GetSize()), FPosition(Stream->GetPosition())
{
  FBuffer.resize(kBufferSize);
}

TfrxXMLReader::~TfrxXMLReader()
{
  try {
    FStream->SetPosition(FPosition);
  } catch (const Exception&) {
    // A stream that cannot seek keeps its own position.
  }
}

void TfrxXMLReader::SetPosition(Int64 Pos)
{
  FPosition = Pos;
  FBufferCount = 0;
  FBufferPos = 0;
}

bool TfrxXMLReader::NextByte(char& c)
{
  if (FPosition >= FSize) return false;
  if (FBufferPos >= FBufferCount) {
    FStream->SetPosition(FPosition);
    Int64 want = std::min<Int64>(static_cast<Int64>(kBufferSize), FSize - FPosition);
    Int64 got = FStream->Read(FBuffer.data(), want);
    if (got <= 0) {
      FSize = FPosition;  // the stream is shorter than it said
      return false;
    }
    FBufferCount = static_cast<size_t>(got);
    FBufferPos = 0;
  }
  c = FBuffer[FBufferPos++];
  ++FPosition;
  return true;
}

void TfrxXMLReader::ReadHeader()
{
  AnsiString name, text;
  ReadTag(name, text);
  if (name.compare(0, 4, "?xml") != 0) RaiseFormat();
}

void TfrxXMLReader::ReadTag(AnsiString& Name, AnsiString& Text)
{
  AnsiString collected;
  bool inTag = false, comment = false;
  int dashes = 0;
  char c;
  while (true) {
    if (!NextByte(c)) {
      if (inTag) RaiseFormat();
      Name.clear();
      Text.clear();
      return;
    }
    if (!inTag) {
      if (c == '<') inTag = true;
      continue;
    }
    if (comment) {
      if (c == '>' && dashes >= 2) {
        comment = false;
        inTag = false;
        collected.clear();
      }
      dashes = c == '-' ? dashes + 1 : 0;
      continue;
    }
    if (c == '>') break;
    if (c == '<') RaiseFormat();
    collected += c;
    if (collected.size() == 3 && collected == "!--") {
      comment = true;
      dashes = 0;
    }
  }
  if (EndsWith(collected, ' ')) collected.pop_back();
  size_t blank = collected.find(' ');
  if (blank == AnsiString::npos) {
    Name = collected;
    Text.clear();
  } else {
    Name = collected.substr(0, blank);
    Text = collected.substr(blank + 1);
  }
}

int TfrxXMLReader::ReadStart(TfrxXMLItem* Item)
{
  ReadTag(Item->FName, Item->FText);
  FLastTag = Item->FName;
  if (Item->FName.empty() || Item->FName[0] == '/') return 0;
  if (EndsWith(Item->FName, '/')) {
    Item->FName.pop_back();
    return 1;
  }
  if (EndsWith(Item->FText, '/')) {
    Item->FText.pop_back();
    return 1;
  }
  return 2;
}

void TfrxXMLReader::FinishItem(TfrxXMLItem* Item, Int64 StartPos, bool LoadAll)
{
  if (StripSwapMarker(Item->FText) && !LoadAll) {
    Item->Clear();
    Item->FOffset = StartPos;
    Item->FSwappable = true;
    Item->FInMemory = false;
    Item->FInTempFile = false;
  }
}

bool TfrxXMLReader::ReadItem(TfrxXMLItem* Item, bool LoadAll)
{
  // Iterative, with a stack of open elements, so that deep nesting cannot exhaust the stack.
  struct TOpen {
    TfrxXMLItem* Item;
    Int64 StartPos;
  };
  Int64 start = FPosition;
  int kind = ReadStart(Item);
  if (kind == 0) return true;
  if (kind == 1) {
    FinishItem(Item, start, LoadAll);
    return false;
  }
  std::vector<TOpen> open{{Item, start}};
  while (!open.empty()) {
    TOpen& top = open.back();
    Int64 childStart = FPosition;
    auto child = std::make_unique<TfrxXMLItem>();
    kind = ReadStart(child.get());
    if (kind == 0) {
      // A document that ends before its elements are closed is damaged, not complete.
      if (FLastTag.empty()) RaiseFormat();
      if (SysUtils::AnsiCompareText(FLastTag, "/" + top.Item->FName) != 0) RaiseFormat();
      FinishItem(top.Item, top.StartPos, LoadAll);
      open.pop_back();
      continue;
    }
    TfrxXMLItem* added = child.release();
    top.Item->AddItem(added);
    if (kind == 1)
      FinishItem(added, childStart, LoadAll);
    else
      open.push_back({added, childStart});
  }
  return false;
}

// ---- TfrxXMLWriter --------------------------------------------------------------------------

void TfrxXMLWriter::WriteLine(const AnsiString& Text)
{
  FPending += Text;
  if (FIndented) FPending += "\r\n";
  if (FPending.size() > kBufferSize) Flush();
}

void TfrxXMLWriter::Flush()
{
  if (!FPending.empty()) FStream->WriteBuffer(FPending.data(), static_cast<Int64>(FPending.size()));
  FPending.clear();
}

void TfrxXMLWriter::WriteHeader() { WriteLine("<?xml version=\"1.0\" encoding=\"utf-8\"?>"); }

void TfrxXMLWriter::WriteStart(TfrxXMLItem* Item, int Indent)
{
  if (Item->FSwappable && !Item->FInMemory) {
    TStream* source = Item->FInTempFile ? FTempStream : FSwapStream;
    if (source) {
      AnsiString text = Item->FText;
      TfrxXMLReader reader(source);
      reader.SetPosition(Item->FOffset);
      reader.ReadItem(Item, true);
      Item->FText = text;
      Item->FInMemory = true;
    }
  }
  AnsiString attrs = Item->FText;
  if (!attrs.empty() && attrs[0] != ' ') attrs = " " + attrs;
  if (Item->FSwappable) attrs += attrs.empty() ? AnsiString(" ") + kSwapMarker : AnsiString(kSwapMarker);
  if (!Item->FItems.empty()) {
    // The reader drops one blank before ">" and takes a text that then ends in "/" for an
    // empty element. A damaged file can leave such a text on an element with children (one
    // that ended in "/ ld=\"0\""); two blanks keep the children inside it.
    size_t last = attrs.find_last_not_of(' ');
    if (last != AnsiString::npos && attrs[last] == '/') attrs.replace(last + 1, AnsiString::npos, "  ");
  }
  AnsiString indent(static_cast<size_t>(FIndented ? Indent : 0), ' ');
  WriteLine(indent + "<" + Item->FName + attrs + (Item->FItems.empty() ? "/>" : ">"));
}

void TfrxXMLWriter::WriteRootItem(TfrxXMLItem* Item)
{
  struct TOpen {
    TfrxXMLItem* Item;
    int Indent;
    size_t Next;
    bool Reloaded;
  };
  auto begin = [this](TfrxXMLItem* item, int indent, std::vector<TOpen>& open) {
    bool reload = item->FSwappable && !item->FInMemory && (item->FInTempFile ? FTempStream : FSwapStream) != nullptr;
    WriteStart(item, indent);
    if (!item->FItems.empty())
      open.push_back({item, indent, 0, reload});
    else if (reload)
      item->Clear();
  };
  std::vector<TOpen> open;
  begin(Item, 0, open);
  while (!open.empty()) {
    TOpen& top = open.back();
    if (top.Next < top.Item->FItems.size()) {
      TfrxXMLItem* child = top.Item->FItems[top.Next++];
      begin(child, top.Indent + 2, open);  // may reallocate `open`: `top` is not used after
      continue;
    }
    AnsiString indent(static_cast<size_t>(FIndented ? top.Indent : 0), ' ');
    WriteLine(indent + "</" + top.Item->FName + ">");
    if (top.Reloaded) top.Item->Clear();  // parked again
    open.pop_back();
  }
  Flush();
}

// ---- TfrxXMLDocument ------------------------------------------------------------------------

TfrxXMLDocument::TfrxXMLDocument() : FRoot(std::make_unique<TfrxXMLItem>()) {}

TfrxXMLDocument::~TfrxXMLDocument() { DeleteTempFile(); }

TStream* TfrxXMLDocument::GetSwapStream() const { return FSwapStream ? FSwapStream.get() : FTempStream.get(); }

TStream* TfrxXMLDocument::StreamOf(const TfrxXMLItem* Item) const
{
  return Item->FInTempFile ? FTempStream.get() : FSwapStream.get();
}

void TfrxXMLDocument::Clear()
{
  FRoot->Clear();
  DeleteTempFile();
  FSwapStream.reset();
}

void TfrxXMLDocument::LoadFromStream(TStream* Stream, bool AllowPartialLoading)
{
  // Reloading from the stream the document already owns keeps it owned.
  bool own = FSwapStream && FSwapStream.get() == Stream;
  std::unique_ptr<TStream> owned =
      own ? std::move(FSwapStream) : std::unique_ptr<TStream>(AllowPartialLoading ? Stream : nullptr);
  DeleteTempFile();
  FSwapStream.reset();
  FRoot->Clear();
  FRoot->FOffset = 0;
  FSwapStream = std::move(owned);
  TfrxXMLReader reader(Stream);
  reader.ReadHeader();
  if (reader.ReadItem(FRoot.get(), !AllowPartialLoading)) {
    // "</>" is how a nameless empty root is written; anything else in place of the root
    // element (the end of the data, a closing tag) is a damaged file.
    if (FRoot->FName != "/" || !FRoot->FText.empty()) RaiseFormat();
    FRoot->FName.clear();
  }
}

void TfrxXMLDocument::SaveToStream(TStream* Stream)
{
  TfrxXMLWriter writer(Stream);
  writer.SetIndented(FIndented);
  writer.SetSwapStream(FSwapStream.get());
  writer.SetTempStream(FTempStream.get());
  writer.WriteHeader();
  writer.WriteRootItem(FRoot.get());
}

void TfrxXMLDocument::SwapIn(TfrxXMLItem* Item)
{
  TStream* source = StreamOf(Item);
  if (!source || !Item->FSwappable || Item->FInMemory) return;
  AnsiString text = Item->FText;
  TfrxXMLReader reader(source);
  reader.SetPosition(Item->FOffset);
  reader.ReadItem(Item, true);
  Item->FText = text;
  Item->FInMemory = true;
}

void TfrxXMLDocument::SwapOut(TfrxXMLItem* Item)
{
  if (!Item->FInMemory || !Item->FSwappable) return;
  if (!FTempStream) CreateTempFile();
  // Always the temporary file: the stream of a partial load may be read-only and still holds
  // the subtrees of other parked items.
  Int64 offset = FTempStream->Seek(0, soEnd);
  TfrxXMLWriter writer(FTempStream.get());
  writer.SetSwapStream(FSwapStream.get());
  writer.SetTempStream(FTempStream.get());
  writer.WriteRootItem(Item);
  Item->FOffset = offset;
  Item->FInTempFile = true;
  Item->Clear();
}

void TfrxXMLDocument::CreateTempFile()
{
  namespace fs = std::filesystem;
  std::string dir = System::AnsiToUtf8(FTempDir.substr(0, 64));
  if (dir.empty()) {
    std::error_code ec;
    dir = fs::temp_directory_path(ec).string();
    if (ec) dir = "/tmp";
  }
  std::string pattern = (fs::path(dir) / "frXXXXXX").string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) throw EFCreateError("Cannot create file \"" + System::Utf8ToAnsi(pattern) + "\".");
  close(fd);
  FTempFileName = System::Utf8ToAnsi(pattern);
  FTempStream = std::make_unique<TFileStream>(FTempFileName, fmOpenReadWrite);
}

void TfrxXMLDocument::DeleteTempFile()
{
  if (!FTempStream && FTempFileName.empty()) return;
  FTempStream.reset();
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(System::AnsiToUtf8(FTempFileName)), ec);
  FTempFileName.clear();
}

namespace frxXML {

void SaveDocument(TStream* Stream, const std::function<void(TfrxXMLItem*)>& Save)
{
  TfrxXMLDocument doc;
  doc.SetIndented(true);
  Save(doc.GetRoot());
  doc.SaveToStream(Stream);
}

void LoadDocument(TStream* Stream, const AnsiString& RootName, const std::function<void(TfrxXMLItem*)>& Load)
{
  TfrxXMLDocument doc;
  doc.LoadFromStream(Stream);
  if (SysUtils::SameText(doc.GetRoot()->GetName(), RootName)) Load(doc.GetRoot());
}

}  // namespace frxXML
