#include "platform/forms/app/Clipboard.h"

#include <utility>
#include <cstring>
#include <memory>

#include "platform/forms/app/UtilWindow.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::unique_ptr<TClipboard>& Instance()
{
  static std::unique_ptr<TClipboard> instance;
  return instance;
}

std::uint32_t ReadLE32(const std::string& s, std::size_t at)
{
  if (at + 4 > s.size()) return 0;
  return std::uint32_t(std::uint8_t(s[at])) | std::uint32_t(std::uint8_t(s[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(s[at + 2])) << 16 | std::uint32_t(std::uint8_t(s[at + 3])) << 24;
}

void PutLE32(std::string& s, std::size_t at, std::uint32_t v)
{
  for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A CF_DIB block is a BMP file without its file header: put one back in front so the bitmap
// reader takes it. The pixels start after the info header, the colour masks and the palette.
std::string DibToBmpFile(const std::string& dib)
{
  std::uint32_t headerSize = ReadLE32(dib, 0);
  std::uint32_t bitCount = dib.size() >= 16 ? std::uint8_t(dib[14]) | std::uint8_t(dib[15]) << 8 : 0;
  std::uint32_t compression = ReadLE32(dib, 16);
  std::uint32_t used = headerSize >= 36 ? ReadLE32(dib, 32) : 0;
  std::uint32_t colours = used ? used : (bitCount <= 8 ? 1u << bitCount : 0);
  std::uint32_t masks = (compression == 3 && headerSize == 40) ? 12 : 0;
  std::string file(kFileHeaderSize, '\0');
  file[0] = 'B';
  file[1] = 'M';
  PutLE32(file, 2, std::uint32_t(kFileHeaderSize + dib.size()));
  PutLE32(file, 10, std::uint32_t(kFileHeaderSize + headerSize + masks + colours * 4));
  return file + dib;
}

std::string StreamBytes(TMemoryStream& stream)
{
  return std::string(static_cast<const char*>(stream.GetMemory()), std::size_t(stream.GetSize()));
}

}  // namespace

// ---- Open, close, formats ------------------------------------------------------------------------

TClipboard::~TClipboard()
{
  if (FOpenRefCount > 0) {
    FOpenRefCount = 1;
    Close();
  }
}

void TClipboard::Open()
{
  if (FOpenRefCount == 0) {
    FClipboardWindow = UtilWindow::AllocateHWnd(nullptr);
    if (!Windows::OpenClipboard(FClipboardWindow)) {
      UtilWindow::DeallocateHWnd(std::exchange(FClipboardWindow, nullptr));
      throw EClipboardError("Cannot open clipboard");
    }
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close()
{
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount > 0) return;
  Windows::CloseClipboard();
  UtilWindow::DeallocateHWnd(std::exchange(FClipboardWindow, nullptr));
}

namespace {
// Holds the clipboard open for a scope.
struct TOpenGuard {
  explicit TOpenGuard(TClipboard& AClipboard) : Clip(AClipboard) { Clip.Open(); }
  ~TOpenGuard() { Clip.Close(); }
  TClipboard& Clip;
};
}  // namespace

void TClipboard::Clear()
{
  TOpenGuard open(*this);
  Windows::EmptyClipboard();
  FEmptied = true;
}

void TClipboard::Adding()
{
  if (FOpenRefCount != 0 && !FEmptied) {
    Windows::EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format)
{
  if (Windows::IsClipboardFormatAvailable(Format)) return true;
  return Format == CF_BITMAP && Windows::IsClipboardFormatAvailable(CF_DIB);
}

int TClipboard::GetFormatCount() { return Windows::CountClipboardFormats(); }

UINT TClipboard::GetFormats(int Index)
{
  TOpenGuard open(*this);
  UINT format = 0;
  for (int i = 0; (format = Windows::EnumClipboardFormats(format)) != 0; ++i)
    if (i == Index) return format;
  throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
}

HANDLE TClipboard::GetAsHandle(UINT Format)
{
  TOpenGuard open(*this);
  return Windows::GetClipboardData(Format);
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value)
{
  TOpenGuard open(*this);
  Adding();
  if (!Windows::SetClipboardData(Format, Value)) {
    Windows::GlobalFree(Value);
    throw EClipboardError("Cannot set clipboard data");
  }
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, std::size_t Size)
{
  HGLOBAL block = Windows::GlobalAlloc(GMEM_MOVEABLE, Size);
  void* data = Windows::GlobalLock(block);
  if (!data) {
    Windows::GlobalFree(block);
    throw EOutOfMemory("Out of memory");
  }
  if (Size) std::memcpy(data, Buffer, Size);
  Windows::GlobalUnlock(block);
  SetAsHandle(Format, block);
}

bool TClipboard::ReadBlock(UINT Format, std::string& Out)
{
  TOpenGuard open(*this);
  HANDLE block = Windows::GetClipboardData(Format);
  const void* data = block ? Windows::GlobalLock(block) : nullptr;
  if (!data) return false;  // a block that cannot be locked counts as absent
  Out.assign(static_cast<const char*>(data), Windows::GlobalSize(block));
  Windows::GlobalUnlock(block);
  return true;
}

// ---- Text ------------------------------------------------------------------------------------------

AnsiString TClipboard::GetAsText()
{
  std::string block;
  if (!ReadBlock(CF_TEXT, block)) return AnsiString();
  return AnsiString(block.c_str());  // up to the terminating zero
}

void TClipboard::SetAsText(const AnsiString& Value) { SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1); }

int TClipboard::GetTextBuf(char* Buffer, int BufSize)
{
  if (!Buffer || BufSize <= 0) return 0;
  AnsiString text = GetAsText();
  int n = std::min<int>(int(text.size()), BufSize - 1);
  std::memcpy(Buffer, text.data(), std::size_t(n));
  Buffer[n] = '\0';
  return n;
}

void TClipboard::SetTextBuf(const char* Buffer) { SetAsText(Buffer ? AnsiString(Buffer) : AnsiString()); }

// ---- Pictures --------------------------------------------------------------------------------------

void TClipboard::Assign(TPersistent* Source)
{
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture->GetGraphic()) AssignGraphic(picture->GetGraphic());
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignGraphic(graphic);
    return;
  }
  TPersistent::Assign(Source);
}

void TClipboard::AssignGraphic(TGraphic* Source)
{
  TMemoryStream stream;
  TBitmap* bitmap = dynamic_cast<TBitmap*>(Source);
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) bitmap = jpeg->GetBitmap();
  TOpenGuard open(*this);
  if (bitmap) {
    bitmap->SaveToStream(&stream);
    std::string file = StreamBytes(stream);
    if (file.size() <= kFileHeaderSize) throw EClipboardError("Cannot copy an empty picture");
    SetBuffer(CF_DIB, file.data() + kFileHeaderSize, file.size() - kFileHeaderSize);
  } else if (dynamic_cast<TMetafile*>(Source)) {
    Source->SaveToStream(&stream);
    std::string bytes = StreamBytes(stream);
    SetBuffer(CF_METAFILEPICT, bytes.data(), bytes.size());
  } else {
    // Class name, a zero, then the graphic's own file.
    std::string block = Source->ClassName();
    block.push_back('\0');
    Source->SaveToStream(&stream);
    block += StreamBytes(stream);
    SetBuffer(Clipbrd::CF_PICTURE(), block.data(), block.size());
  }
}

void TClipboard::AssignTo(TPersistent* Dest)
{
  auto* picture = dynamic_cast<TPicture*>(Dest);
  bool bitmap = dynamic_cast<TBitmap*>(Dest), metafile = dynamic_cast<TMetafile*>(Dest);
  if (!picture && !bitmap && !metafile) {
    TPersistent::AssignTo(Dest);
    return;
  }
  // Reads a graphic from the bytes and hands it to the destination (whose own Assign converts).
  auto deliver = [Dest](TGraphic& Read, const std::string& Bytes) {
    TStringStream stream(Bytes);
    Read.LoadFromStream(&stream);
    Dest->Assign(&Read);
  };
  TOpenGuard open(*this);
  std::string block;
  if ((picture || bitmap) && ReadBlock(CF_DIB, block)) {
    TBitmap read;
    deliver(read, DibToBmpFile(block));
    return;
  }
  if ((picture || metafile) && ReadBlock(CF_METAFILEPICT, block)) {
    TMetafile read;
    deliver(read, block);
    return;
  }
  if (picture && ReadBlock(Clipbrd::CF_PICTURE(), block)) {
    std::size_t zero = block.find('\0');
    TGraphicClass cls = zero == std::string::npos ? nullptr : Graphics::FindGraphicClassByName(block.substr(0, zero));
    if (!cls || !cls->CanCreate()) throw EClipboardError("Unsupported clipboard format");
    std::unique_ptr<TGraphic> graphic(static_cast<TGraphic*>(cls->Create()));
    deliver(*graphic, block.substr(zero + 1));
    return;
  }
  throw EClipboardError("Unsupported clipboard format");
}

// ---- The program's clipboard -----------------------------------------------------------------------

namespace Clipbrd {

UINT CF_PICTURE() { return Windows::RegisterClipboardFormat("Pelto Picture"); }

TClipboard* Clipboard()
{
  if (!Instance()) Instance() = std::make_unique<TClipboard>();
  return Instance().get();
}

void Finalize() { Instance().reset(); }

}  // namespace Clipbrd
