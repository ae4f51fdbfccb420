// The tool tips window ("tooltips_class32"): a pop-up that never takes the activation and shows
// a short text near the pointer while it rests on a tool, a rectangle of a window (or a whole
// window, TTF_IDISHWND).
//
// It learns of the pointer from the messages relayed to it (TTM_RELAYEVENT) or, for tools added
// with TTF_SUBCLASS, from the tool's window itself. The tip shows after the initial delay, hides
// after the auto-pop delay, on a button press, or when the pointer leaves the tool (it checks
// on a timer as well, so a tool whose window relays no WM_MOUSELEAVE still loses its tip); the
// next tool's tip comes after the shorter re-show delay. A text of LPSTR_TEXTCALLBACK is asked of
// the tool's window with TTN_GETDISPINFO each time the tip shows; TTN_SHOW and TTN_POP go there
// too. With a maximum width (TTM_SETMAXTIPWIDTH) the text is word-wrapped to it; without, it is
// one line. Without TTS_ALWAYSTIP tips show only while the tool's top-level window is active.
#pragma once

#include <cstddef>

#include "platform/commctrl/init/InitCommonControls.h"

constexpr const char* TOOLTIPS_CLASS = "tooltips_class32";

constexpr DWORD TTS_ALWAYSTIP = 0x1, TTS_NOPREFIX = 0x2, TTS_NOANIMATE = 0x10, TTS_NOFADE = 0x20, TTS_BALLOON = 0x40;
constexpr UINT TTF_IDISHWND = 0x1, TTF_CENTERTIP = 0x2, TTF_RTLREADING = 0x4, TTF_SUBCLASS = 0x10, TTF_TRACK = 0x20,
               TTF_ABSOLUTE = 0x80, TTF_TRANSPARENT = 0x100, TTF_DI_SETITEM = 0x8000;
constexpr WPARAM TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;
constexpr UINT TTM_ACTIVATE = WM_USER + 1, TTM_SETDELAYTIME = WM_USER + 3, TTM_ADDTOOL = WM_USER + 4,
               TTM_DELTOOL = WM_USER + 5, TTM_NEWTOOLRECT = WM_USER + 6, TTM_RELAYEVENT = WM_USER + 7,
               TTM_GETTOOLINFO = WM_USER + 8, TTM_SETTOOLINFO = WM_USER + 9, TTM_HITTEST = WM_USER + 10,
               TTM_GETTEXT = WM_USER + 11, TTM_UPDATETIPTEXT = WM_USER + 12, TTM_GETTOOLCOUNT = WM_USER + 13,
               TTM_ENUMTOOLS = WM_USER + 14, TTM_GETCURRENTTOOL = WM_USER + 15, TTM_SETTIPBKCOLOR = WM_USER + 19,
               TTM_SETTIPTEXTCOLOR = WM_USER + 20, TTM_GETDELAYTIME = WM_USER + 21, TTM_GETTIPBKCOLOR = WM_USER + 22,
               TTM_GETTIPTEXTCOLOR = WM_USER + 23, TTM_SETMAXTIPWIDTH = WM_USER + 24, TTM_GETMAXTIPWIDTH = WM_USER + 25,
               TTM_SETMARGIN = WM_USER + 26, TTM_GETMARGIN = WM_USER + 27, TTM_POP = WM_USER + 28,
               TTM_UPDATE = WM_USER + 29;
constexpr UINT TTN_FIRST = UINT(-520), TTN_GETDISPINFO = TTN_FIRST - 0, TTN_SHOW = TTN_FIRST - 1,
               TTN_POP = TTN_FIRST - 2, TTN_NEEDTEXT = TTN_GETDISPINFO;

// A tool: a rectangle of `hwnd` with the id `uId`, or with TTF_IDISHWND the whole window `uId`
// (then `hwnd` is its parent, which gets the notifications). TTM_GETTOOLINFO, TTM_ENUMTOOLS and
// TTM_GETCURRENTTOOL copy the text into `lpszText` when it is not null, at most 80 bytes with the
// terminating zero; TTM_GETTEXT as many as its wParam says (80 when 0).
struct TOOLINFO {
  UINT cbSize = sizeof(TOOLINFO);
  UINT uFlags = 0;
  HWND hwnd = nullptr;
  UINT_PTR uId = 0;
  RECT rect{0, 0, 0, 0};
  HINSTANCE hinst = nullptr;
  char* lpszText = nullptr;
  LPARAM lParam = 0;
  void* lpReserved = nullptr;
};
// The size of the first form of the structure, which the tool tips take as well.
constexpr UINT TTTOOLINFO_V1_SIZE = UINT(offsetof(TOOLINFO, lParam));

struct TTHITTESTINFO {
  HWND hwnd = nullptr;
  POINT pt{0, 0};
  TOOLINFO ti;
};

// TTN_GETDISPINFO: the tool's window answers in lpszText (a text that must outlive the call) or
// in szText; TTF_DI_SETITEM in uFlags keeps the answer as the tool's text.
struct NMTTDISPINFO {
  NMHDR hdr;
  char* lpszText = nullptr;
  char szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};
using TOOLTIPTEXT = NMTTDISPINFO;

namespace ToolTips {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// For the controls that own a tool tip: relays a message their window got (mouse messages only,
// others are ignored) to `tip`; nothing when `tip` is null.
void Relay(HWND tip, HWND from, UINT msg, WPARAM wParam, LPARAM lParam);
// The tips a control makes for itself (TBSTYLE_TOOLTIPS, TCS_TOOLTIPS): always tipping, owned by
// the control; null when they cannot be made.
HWND CreateOwned(HWND control);
// On the control's WM_DESTROY: destroys `tips` when the control made them, and forgets them.
void DestroyOwned(HWND& tips, bool own);
}  // namespace ToolTips
