#include "report/script/xml/fs_xml.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/SaveSeam.h"

namespace {

const char* const SInvalidFileFormat = "Invalid file format";
const char* const SListIndexError = "List index out of bounds (%d)";

[[noreturn]] void IndexError(Integer Index) { throw EListError(SysUtils::Format(SListIndexError, {Index})); }

// Reads tags from a stream through a 4096-byte buffer; on destruction the stream is left just
// behind the last character consumed.
class TfsXMLReader : public TObject {
public:
  explicit TfsXMLReader(TStream* Stream) : FStream(Stream), FPosition(Stream->GetPosition()), FSize(Stream->GetSize())
  {}
  ~TfsXMLReader() override
  {
    try {
      FStream->SetPosition(FPosition - (FBufEnd - FBufPos));
    } catch (...) {}
  }

  void ReadHeader()
  {
    AnsiString Name, Attrs;
    ReadTag(Name, Attrs);
    if (Name.compare(0, 4, "?xml") != 0) throw Exception(SInvalidFileFormat);
  }

  // Reads the document element and everything under it into Root.
  void ReadRootItem(TfsXMLItem* Root)
  {
    std::vector<TfsXMLItem*> Open;
    if (ReadElement(Root, Open) != Kind::Open) return;
    while (!Open.empty()) {
      TfsXMLItem* Parent = Open.back();
      TfsXMLItem* Child = Parent->Add();
      Kind K = ReadElement(Child, Open);
      if (K == Kind::Closing) {
        delete Child;
        Open.pop_back();
        if (!FLastTag.empty() && SysUtils::CompareText(FLastTag, "/" + Parent->GetName()) != 0)
          throw Exception(SInvalidFileFormat);
      }
    }
  }

private:
  enum class Kind { Closing, Empty, Open };

  Kind ReadElement(TfsXMLItem* Item, std::vector<TfsXMLItem*>& Open)
  {
    AnsiString Name, Attrs;
    ReadTag(Name, Attrs);
    FLastTag = Name;
    if (Name.empty() || Name[0] == '/') {
      Item->SetName(Name);
      Item->SetText(Attrs);
      return Kind::Closing;
    }
    Kind K = Kind::Open;
    if (Name.back() == '/') {
      Name.pop_back();
      K = Kind::Empty;
    } else if (!Attrs.empty() && Attrs.back() == '/') {
      Attrs.pop_back();
      K = Kind::Empty;
    }
    Item->SetName(Name);
    Item->SetText(Attrs);
    if (K == Kind::Open) Open.push_back(Item);
    return K;
  }

  // -1 at the end of the stream.
  int NextChar()
  {
    if (FBufPos == FBufEnd) {
      if (FPosition >= FSize) return -1;
      Int64 Want = std::min<Int64>(sizeof(FBuffer), FSize - FPosition);
      Int64 Got = FStream->Read(FBuffer, Want);
      if (Got <= 0) return -1;
      FPosition += Got;
      FBufPos = 0;
      FBufEnd = static_cast<int>(Got);
    }
    return static_cast<unsigned char>(FBuffer[FBufPos++]);
  }

  bool Fill()
  {
    if (FBufPos < FBufEnd) return true;
    return NextChar() >= 0 && (--FBufPos, true);
  }

  void ReadTag(AnsiString& Name, AnsiString& Attrs)
  {
    Name.clear();
    Attrs.clear();
    AnsiString Tag;
    for (;;) {
      // Skip to the next "<"; text between tags is dropped.
      for (;;) {
        if (!Fill()) return;  // end outside a tag: an empty tag
        const char* B = FBuffer + FBufPos;
        const void* Lt = std::memchr(B, '<', FBufEnd - FBufPos);
        if (Lt) {
          FBufPos = static_cast<int>(static_cast<const char*>(Lt) - FBuffer) + 1;
          break;
        }
        FBufPos = FBufEnd;
      }
      Tag.clear();
      bool Comment = false;
      // The tag up to ">", taken a buffer run at a time.
      for (;;) {
        if (!Fill()) throw Exception(SInvalidFileFormat);
        int I = FBufPos;
        while (I < FBufEnd && FBuffer[I] != '>' && FBuffer[I] != '<') ++I;
        Tag.append(FBuffer + FBufPos, I - FBufPos);
        FBufPos = I;
        if (Tag.size() >= 3 && Tag.compare(0, 3, "!--") == 0) {
          Comment = true;
          break;
        }
        if (I == FBufEnd) continue;
        ++FBufPos;
        if (FBuffer[I] == '<') throw Exception(SInvalidFileFormat);
        break;
      }
      if (!Comment) break;
      // A comment: after two consecutive dashes the next ">" ends it.
      int Dashes = 0;
      bool DashesSeen = false;
      for (std::size_t K = 3; K < Tag.size(); ++K) {
        if (Tag[K] == '-') {
          if (++Dashes >= 2) DashesSeen = true;
        } else {
          Dashes = 0;
        }
      }
      for (;;) {
        int C = NextChar();
        if (C < 0) throw Exception(SInvalidFileFormat);
        if (C == '-') {
          if (++Dashes >= 2) DashesSeen = true;
        } else {
          Dashes = 0;
          if (C == '>' && DashesSeen) break;
        }
      }
    }
    if (!Tag.empty() && Tag.back() == ' ') Tag.pop_back();
    std::size_t Blank = Tag.find(' ');
    if (Blank == AnsiString::npos) {
      Name = std::move(Tag);
    } else {
      Name = Tag.substr(0, Blank);
      Attrs = Tag.substr(Blank + 1);
    }
  }

  TStream* FStream;
  Int64 FPosition;
  Int64 FSize;
  char FBuffer[4096];
  int FBufPos = 0;
  int FBufEnd = 0;
  AnsiString FLastTag;
};

// Writes lines to a stream in pieces of about 4096 characters.
class TfsXMLWriter : public TObject {
public:
  TfsXMLWriter(TStream* Stream, bool Indent) : FStream(Stream), FIndent(Indent) {}

  void WriteHeader() { WriteLine("<?xml version=\"1.0\"?>"); }

  void WriteRootItem(const TfsXMLItem* Root)
  {
    // An explicit stack so that a deep tree cannot exhaust the call stack.
    struct Frame {
      const TfsXMLItem* Item;
      Integer Next;
      int Depth;
    };
    std::vector<Frame> Stack;
    WriteOpen(Root, 0);
    if (Root->GetCount() > 0) Stack.push_back({Root, 0, 0});
    while (!Stack.empty()) {
      Frame& F = Stack.back();
      if (F.Next < F.Item->GetCount()) {
        const TfsXMLItem* Child = F.Item->GetItems(F.Next++);
        int Depth = F.Depth + 1;
        WriteOpen(Child, Depth);
        if (Child->GetCount() > 0) Stack.push_back({Child, 0, Depth});
      } else {
        WriteLine(Indent(F.Depth) + "</" + F.Item->GetName() + ">");
        Stack.pop_back();
      }
    }
  }

  void Flush()
  {
    if (!FPending.empty()) FStream->WriteBuffer(FPending.data(), static_cast<Int64>(FPending.size()));
    FPending.clear();
  }

private:
  AnsiString Indent(int Depth) const { return FIndent ? AnsiString(2 * Depth, ' ') : AnsiString(); }

  void WriteOpen(const TfsXMLItem* Item, int Depth)
  {
    AnsiString S = Indent(Depth) + "<" + Item->GetName();
    const AnsiString& Attrs = Item->GetText();
    if (!Attrs.empty()) {
      if (Attrs[0] != ' ') S += ' ';
      S += Attrs;
    }
    S += Item->GetCount() > 0 ? ">" : "/>";
    WriteLine(S);
  }

  void WriteLine(const AnsiString& S)
  {
    FPending += S;
    if (FIndent) FPending += "\r\n";
    if (FPending.size() > 4096) Flush();
  }

  TStream* FStream;
  bool FIndent;
  AnsiString FPending;
};

}  // namespace

// --- TfsXMLItem ---

TfsXMLItem::~TfsXMLItem()
{
  Clear();
  if (FParent) FParent->Detach(this);
}

void TfsXMLItem::Detach(TfsXMLItem* Item)
{
  if (!FItems) return;
  auto It = std::find(FItems->begin(), FItems->end(), Item);
  if (It != FItems->end()) FItems->erase(It);
}

void TfsXMLItem::Clear()
{
  if (!FItems) return;
  // Iterative, so that a deep tree cannot exhaust the call stack.
  std::vector<TfsXMLItem*> Work(FItems->begin(), FItems->end());
  FItems.reset();
  while (!Work.empty()) {
    TfsXMLItem* Item = Work.back();
    Work.pop_back();
    if (Item->FItems) {
      Work.insert(Work.end(), Item->FItems->begin(), Item->FItems->end());
      Item->FItems.reset();
    }
    Item->FParent = nullptr;
    delete Item;
  }
}

TfsXMLItem* TfsXMLItem::GetItems(Integer Index) const
{
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  return (*FItems)[Index];
}

TfsXMLItem* TfsXMLItem::Add()
{
  auto* Item = new TfsXMLItem;
  AddItem(Item);
  return Item;
}

void TfsXMLItem::AddItem(TfsXMLItem* Item)
{
  if (!FItems) FItems = std::make_unique<std::vector<TfsXMLItem*>>();
  FItems->push_back(Item);
  if (Item->FParent) Item->FParent->Detach(Item);
  Item->FParent = this;
}

void TfsXMLItem::InsertItem(Integer Index, TfsXMLItem* Item)
{
  AddItem(Item);
  Integer Last = GetCount() - 1;
  if (Index < 0 || Index > Last) IndexError(Index);
  std::rotate(FItems->begin() + Index, FItems->begin() + Last, FItems->end());
}

Integer TfsXMLItem::Find(const AnsiString& Name) const
{
  for (Integer I = 0; I < GetCount(); ++I)
    if (SysUtils::AnsiCompareText((*FItems)[I]->FName, Name) == 0) return I;
  return -1;
}

TfsXMLItem* TfsXMLItem::FindItem(const AnsiString& Name)
{
  Integer I = Find(Name);
  if (I >= 0) return (*FItems)[I];
  TfsXMLItem* Item = Add();
  Item->FName = Name;
  return Item;
}

TfsXMLItem* TfsXMLItem::Root()
{
  TfsXMLItem* R = this;
  while (R->FParent) R = R->FParent;
  return R;
}

AnsiString TfsXMLItem::Prop(const AnsiString& Name) const
{
  // Finds " NAME=\"" in " " + Text, ignoring ASCII case. The key is ASCII and starts after a
  // blank, so it can never match inside a double-byte character.
  const std::size_t KeyLen = Name.size() + 3;
  const std::size_t TLen = FText.size() + 1;
  auto TAt = [&](std::size_t I) { return I == 0 ? ' ' : FText[I - 1]; };
  auto KAt = [&](std::size_t I) {
    return I == 0 ? ' ' : I <= Name.size() ? Name[I - 1] : I == Name.size() + 1 ? '=' : '"';
  };
  auto Up = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; };
  for (std::size_t P = 0; P + KeyLen <= TLen; ++P) {
    if (TAt(P) != ' ') continue;
    std::size_t K = 1;
    while (K < KeyLen && Up(TAt(P + K)) == Up(KAt(K))) ++K;
    if (K < KeyLen) continue;
    std::size_t Start = P + KeyLen - 1;  // index in FText, which lacks the leading blank
    std::size_t End = FText.find('"', Start);
    if (End == AnsiString::npos) return AnsiString();
    return fs_xml::UnescapeXMLText(FText.substr(Start, End - Start));
  }
  return AnsiString();
}

void TfsXMLItem::CopyFrom(const TfsXMLItem* Source)
{
  Clear();
  if (!Source) return;
  FName = Source->FName;
  FText = Source->FText;
  FData = Source->FData;
  std::vector<std::pair<const TfsXMLItem*, TfsXMLItem*>> Work{{Source, this}};
  while (!Work.empty()) {
    auto [From, To] = Work.back();
    Work.pop_back();
    for (Integer I = 0; I < From->GetCount(); ++I) {
      const TfsXMLItem* S = (*From->FItems)[I];
      TfsXMLItem* D = To->Add();
      D->FName = S->FName;
      D->FText = S->FText;
      D->FData = S->FData;
      if (S->GetCount() > 0) Work.push_back({S, D});
    }
  }
}

// --- TfsXMLDocument ---

TfsXMLDocument::TfsXMLDocument() : FRoot(std::make_unique<TfsXMLItem>()) {}

TfsXMLDocument::~TfsXMLDocument() = default;

void TfsXMLDocument::LoadFromStream(TStream* Stream)
{
  FRoot->Clear();
  TfsXMLReader Reader(Stream);
  Reader.ReadHeader();
  Reader.ReadRootItem(FRoot.get());
}

void TfsXMLDocument::SaveToStream(TStream* Stream) const
{
  TfsXMLWriter Writer(Stream, FIndentOutput);
  Writer.WriteHeader();
  Writer.WriteRootItem(FRoot.get());
  Writer.Flush();
}

void TfsXMLDocument::LoadFromFile(const AnsiString& FileName)
{
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TfsXMLDocument::SaveToFile(const AnsiString& FileName) const
{
  SaveSeam::SaveStream(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

// --- text routines ---

namespace fs_xml {

AnsiString EscapeXMLText(const AnsiString& S)
{
  AnsiString R;
  R.reserve(S.size());
  for (char C : S) {
    switch (C) {
      case '\n': R += "&#10;"; break;
      case '\r': R += "&#13;"; break;
      case '"': R += "&#34;"; break;
      case '&': R += "&#38;"; break;
      case '<': R += "&#60;"; break;
      case '>': R += "&#62;"; break;
      default: R += C;
    }
  }
  return R;
}

AnsiString UnescapeXMLText(const AnsiString& S)
{
  // Trail bytes of double-byte characters are never "&", "#" or ";", so a byte scan is safe.
  std::size_t I = S.find("&#");
  if (I == AnsiString::npos) return S;
  AnsiString R;
  R.reserve(S.size());
  std::size_t From = 0;
  while (I != AnsiString::npos) {
    std::size_t Semi = I + 3 <= S.size() ? S.find(';', I + 3) : AnsiString::npos;
    if (Semi == AnsiString::npos) break;
    R.append(S, From, I - From);
    Integer Code = SysUtils::StrToInt(S.substr(I + 2, Semi - I - 2));
    R += static_cast<char>(Code & 0xFF);
    From = Semi + 1;
    I = S.find("&#", From);
  }
  R.append(S, From, AnsiString::npos);
  return R;
}

}  // namespace fs_xml
