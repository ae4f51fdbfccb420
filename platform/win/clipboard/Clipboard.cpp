#include "platform/win/clipboard/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace Clipboard {
namespace {

struct Board {
  bool open = false;
  HWND opener = nullptr, owner = nullptr;
  std::map<UINT, HGLOBAL> data;   // in the order formats are numbered
  std::vector<UINT> order;        // in the order they were set
  std::vector<AnsiString> names;  // registered formats, id 0xC000 + index
  // Text made on request from the other text form; freed when the contents change.
  std::map<UINT, HGLOBAL> synthesized;
};

Board& B()
{
  static Board b;
  return b;
}

void FreeAll(std::map<UINT, HGLOBAL>& m)
{
  for (auto& [f, h] : m) Windows::GlobalFree(h);
  m.clear();
}

HGLOBAL BlockOf(const void* p, size_t n)
{
  HGLOBAL h = Windows::GlobalAlloc(GHND, n);
  if (void* d = Windows::GlobalLock(h)) {
    std::memcpy(d, p, n);
    Windows::GlobalUnlock(h);
  }
  return h;
}

// The text of a CF_TEXT block, up to its terminating zero.
AnsiString AnsiOf(HGLOBAL h)
{
  const char* p = static_cast<const char*>(Windows::GlobalLock(h));
  if (!p) return {};
  size_t n = Windows::GlobalSize(h);
  AnsiString s(p, strnlen(p, n));
  Windows::GlobalUnlock(h);
  return s;
}

WideString WideOf(HGLOBAL h)
{
  auto* p = static_cast<const char16_t*>(Windows::GlobalLock(h));
  if (!p) return {};
  size_t n = Windows::GlobalSize(h) / 2, len = 0;
  while (len < n && p[len]) ++len;
  WideString s(p, len);
  Windows::GlobalUnlock(h);
  return s;
}

HGLOBAL AnsiBlock(const AnsiString& s) { return BlockOf(s.c_str(), s.size() + 1); }
HGLOBAL WideBlock(const WideString& s) { return BlockOf(s.c_str(), (s.size() + 1) * 2); }

bool IsText(UINT f) { return f == CF_TEXT || f == CF_UNICODETEXT || f == CF_OEMTEXT; }

// The text now on the board, as UTF-16, for the desktop's clipboard.
bool BoardText(WideString& out)
{
  auto& b = B();
  if (auto it = b.data.find(CF_UNICODETEXT); it != b.data.end()) {
    out = WideOf(it->second);
    return true;
  }
  for (UINT f : {CF_TEXT, CF_OEMTEXT}) {
    if (auto it = b.data.find(f); it != b.data.end()) {
      out = System::AnsiToWide(AnsiOf(it->second));
      return true;
    }
  }
  return false;
}

// Takes the desktop's text when this program does not own the clipboard.
void PullDesktop()
{
  auto& b = B();
  if (b.owner) return;
  std::string utf8;
  if (!Backend::Current().GetDesktopClipboardText(utf8)) return;
  // Other Linux programs end lines with LF alone; programs here read CR LF.
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) text += '\r';
    text += utf8[i];
  }
  utf8.swap(text);
  FreeAll(b.data);
  FreeAll(b.synthesized);
  b.order.clear();
  b.data[CF_UNICODETEXT] = WideBlock(System::Utf8ToWide(utf8));
  b.order.push_back(CF_UNICODETEXT);
}

}  // namespace

AnsiString GetText()
{
  if (!Windows::OpenClipboard(nullptr)) return {};
  AnsiString s;
  if (HANDLE h = Windows::GetClipboardData(CF_TEXT)) s = AnsiOf(h);
  Windows::CloseClipboard();
  return s;
}

bool SetText(const AnsiString& cp936)
{
  if (!Windows::OpenClipboard(nullptr)) return false;
  Windows::EmptyClipboard();
  HGLOBAL h = AnsiBlock(cp936);
  if (!Windows::SetClipboardData(CF_TEXT, h)) Windows::GlobalFree(h);
  Windows::CloseClipboard();
  return true;
}

void Reset()
{
  auto& b = B();
  FreeAll(b.data);
  FreeAll(b.synthesized);
  b = Board{};
}

}  // namespace Clipboard

namespace Windows {

using Clipboard::B;

BOOL OpenClipboard(HWND owner)
{
  auto& b = B();
  if (b.open) return FALSE;
  if (owner && !WindowData::Get(owner)) return FALSE;
  b.open = true;
  b.opener = owner;
  Clipboard::PullDesktop();
  return TRUE;
}

BOOL CloseClipboard()
{
  auto& b = B();
  if (!b.open) return FALSE;
  b.open = false;
  b.opener = nullptr;
  WideString text;
  if (b.owner != nullptr || !b.data.empty()) {
    if (Clipboard::BoardText(text)) Backend::Current().SetDesktopClipboardText(System::WideToUtf8(text));
  }
  return TRUE;
}

BOOL EmptyClipboard()
{
  auto& b = B();
  if (!b.open) return FALSE;
  Clipboard::FreeAll(b.data);
  Clipboard::FreeAll(b.synthesized);
  b.order.clear();
  // A clipboard emptied without a window still belongs to this program.
  b.owner = b.opener ? b.opener : GetDesktopWindow();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
  auto& b = B();
  if (!b.open || format == 0 || !data || GlobalSize(data) == 0) return nullptr;
  if (auto it = b.data.find(format); it != b.data.end()) {
    if (it->second != data) GlobalFree(it->second);
  } else {
    b.order.push_back(format);
  }
  b.data[format] = data;
  Clipboard::FreeAll(b.synthesized);
  if (!b.owner) b.owner = b.opener ? b.opener : GetDesktopWindow();
  return data;
}

HANDLE GetClipboardData(UINT format)
{
  auto& b = B();
  if (!b.open) return nullptr;
  if (auto it = b.data.find(format); it != b.data.end()) return it->second;
  if (auto it = b.synthesized.find(format); it != b.synthesized.end()) return it->second;
  if (!Clipboard::IsText(format)) return nullptr;
  WideString text;
  if (!Clipboard::BoardText(text)) return nullptr;
  HGLOBAL h = format == CF_UNICODETEXT ? Clipboard::WideBlock(text) : Clipboard::AnsiBlock(System::WideToAnsi(text));
  b.synthesized[format] = h;
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
  auto& b = B();
  if (!b.open) Clipboard::PullDesktop();
  if (b.data.count(format)) return TRUE;
  if (!Clipboard::IsText(format)) return FALSE;
  return std::any_of(b.data.begin(), b.data.end(), [](auto& kv) { return Clipboard::IsText(kv.first); });
}

UINT RegisterClipboardFormat(const char* name)
{
  if (!name || !*name) return 0;
  auto up = [](AnsiString s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
  };
  auto& names = B().names;
  for (size_t i = 0; i < names.size(); ++i) {
    if (up(names[i]) == up(name)) return UINT(0xC000 + i);
  }
  names.push_back(name);
  return UINT(0xC000 + names.size() - 1);
}

int GetClipboardFormatName(UINT format, char* buffer, int maxCount)
{
  auto& names = B().names;
  if (format < 0xC000 || format - 0xC000 >= names.size() || !buffer || maxCount <= 0) return 0;
  const AnsiString& n = names[format - 0xC000];
  int len = std::min<int>(int(n.size()), maxCount - 1);
  std::memcpy(buffer, n.data(), size_t(len));
  buffer[len] = 0;
  return len;
}

UINT EnumClipboardFormats(UINT format)
{
  auto& b = B();
  if (!b.open) return 0;
  auto& o = b.order;
  if (format == 0) return o.empty() ? 0 : o.front();
  auto it = std::find(o.begin(), o.end(), format);
  if (it == o.end() || it + 1 == o.end()) return 0;
  return *(it + 1);
}

int CountClipboardFormats() { return int(B().data.size()); }
HWND GetClipboardOwner()
{
  HWND o = B().owner;
  return o == GetDesktopWindow() ? nullptr : o;
}
HWND GetOpenClipboardWindow() { return B().open ? B().opener : nullptr; }

}  // namespace Windows
