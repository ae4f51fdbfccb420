// Drives an EDIT window with keys, CP936 bytes, selections, replacements, undo and clipboard
// messages, and checks after every step: the text is valid CP936, the selection ends lie on
// character boundaries, and undo gives back the text from before the step it undoes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/fuzz/FuzzParent.h"
#include "platform/commctrl/fuzz/FuzzReader.h"
#include "platform/commctrl/edit/Edit.h"
#include "platform/commctrl/edit/EditModel.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

// Character boundaries of valid text; aborts on a lone lead byte or a NUL.
std::string CheckText(const std::string& t, std::vector<bool>& boundary)
{
  boundary.assign(t.size() + 1, false);
  for (size_t i = 0; i < t.size();) {
    boundary[i] = true;
    unsigned char c = static_cast<unsigned char>(t[i]);
    if (c == 0) std::abort();
    if (IsLead(c)) {
      if (i + 1 >= t.size() || !IsTrail(static_cast<unsigned char>(t[i + 1]))) std::abort();
      i += 2;
    } else
      ++i;
  }
  boundary[t.size()] = true;
  return t;
}

LRESULT ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(wnd, msg, wParam, lParam); }

HWND Parent()
{
  static HWND parent = MakeFuzzParent("EditFuzzParent", ParentProc);
  return parent;
}

const int kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_DELETE, VK_INSERT};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
  HWND parent = Parent();
  FuzzReader in{data, size};
  std::uint8_t mode = in.Byte();
  DWORD style = WS_CHILD | WS_VISIBLE | ((mode & 1) ? ES_MULTILINE | WS_VSCROLL : ES_AUTOHSCROLL);
  if (mode & 2) style |= ES_PASSWORD;
  if (mode & 4) style |= ES_UPPERCASE;
  if (mode & 8) style |= WS_HSCROLL;
  HWND e = CreateWindowEx(WS_EX_CLIENTEDGE, "EDIT", "", style, 5, 5, 120 + (mode >> 4) * 8, 60, parent,
                          reinterpret_cast<HMENU>(1), nullptr, nullptr);
  const EditModel* model = Edit::ModelOf(e);
  SetFocus(e);
  BYTE* keys = Focus::KeyState();
  std::string unitStart;   // the text the current undo step started from
  bool unitKnown = false;  // false after a message that made several steps (WM_IME_CHAR)
  std::vector<bool> boundary;
  while (!in.Empty()) {
    std::string before = model->Text();
    std::uint64_t serial = model->UndoSerial();
    bool couldUndo = model->CanUndo();
    bool undid = false;
    bool severalChars = false;  // a WM_IME_CHAR may type two characters: one can join the open step
    switch (in.Byte() % 14) {
      case 0: SendMessage(e, WM_CHAR, in.Byte(), 0); break;
      case 1: {
        WPARAM lead = in.Byte(), trail = in.Byte();
        SendMessage(e, WM_IME_CHAR, (lead << 8) | trail, 0);
        severalChars = true;
        break;
      }
      case 2: SendMessage(e, WM_KEYDOWN, WPARAM(kKeys[in.Byte() % std::size(kKeys)]), 0); break;
      case 3: {
        int a = in.Int(), b = in.Int();
        SendMessage(e, EM_SETSEL, WPARAM(a), LPARAM(b));
        break;
      }
      case 4: {
        std::string s = in.Bytes(8);
        SendMessage(e, EM_REPLACESEL, in.Byte() & 1, LPARAM(s.c_str()));
        break;
      }
      case 5:
        SendMessage(e, EM_UNDO, 0, 0);
        undid = couldUndo;
        break;
      case 6: {
        static const UINT clip[] = {WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR};
        SendMessage(e, clip[in.Byte() % 4], 0, 0);
        break;
      }
      case 7: Clipboard::SetText(in.Bytes(8)); break;
      case 8: {
        // UTF-16 only, possibly with unpaired surrogates.
        std::string raw = in.Bytes(8);
        raw.resize(raw.size() & ~size_t(1));
        if (OpenClipboard(nullptr)) {
          EmptyClipboard();
          HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, raw.size() + 2);
          std::memcpy(GlobalLock(h), raw.data(), raw.size());
          GlobalUnlock(h);
          if (!SetClipboardData(CF_UNICODETEXT, h)) GlobalFree(h);
          CloseClipboard();
        }
        break;
      }
      case 9: SendMessage(e, EM_LIMITTEXT, in.Byte() % 12, 0); break;
      case 10: {
        std::string s = in.Bytes(12);
        SetWindowText(e, s.c_str());
        break;
      }
      case 11: SendMessage(e, WM_CHAR, VK_BACK, 0); break;
      case 12: keys[VK_SHIFT] = keys[VK_SHIFT] ? 0 : 0x80; break;
      case 13: {
        int x = in.Byte() % 200, y = in.Byte() % 70;
        SendMessage(e, (in.Byte() & 1) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        break;
      }
    }
    std::string text = GetWindowText(e);
    if (text != model->Text()) std::abort();
    CheckText(text, boundary);
    DWORD s = 0, t = 0;
    SendMessage(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    if (s > t || t > text.size() || !boundary[s] || !boundary[t]) std::abort();
    if (undid && unitKnown && text != unitStart) std::abort();
    if (model->UndoSerial() != serial) {
      unitStart = before;
      unitKnown = model->UndoSerial() == serial + 1 && !severalChars;
    }
  }
  keys[VK_SHIFT] = 0;
  DestroyWindow(e);
  return 0;
}
