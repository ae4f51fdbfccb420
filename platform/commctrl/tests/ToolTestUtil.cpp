#include "platform/commctrl/tests/ToolTestUtil.h"

#include <cstring>
#include <cstdint>

#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {
ToolTest* gTool = nullptr;
WNDPROC gSpyProc = nullptr;

// Logs WM_COMMAND beside the spy's WM_NOTIFY texts, in one order.
LRESULT CommandProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_COMMAND && gTool) {
    gTool->Spy.Seen.push_back("command " + std::to_string(LOWORD(wParam)));
    return 0;
  }
  return CallWindowProc(gSpyProc, wnd, msg, wParam, lParam);
}

std::string Describe(const NMHDR* h)
{
  switch (h->code) {
    case TBN_DROPDOWN: return "dropdown " + std::to_string(reinterpret_cast<const NMTOOLBAR*>(h)->iItem);
    case NM_CLICK: return "click " + std::to_string(std::intptr_t(reinterpret_cast<const NMMOUSE*>(h)->dwItemSpec));
    case TTN_GETDISPINFO: return "tip " + std::to_string(h->idFrom);
    case TTN_SHOW: return "show " + std::to_string(h->idFrom);
    case TTN_POP: return "pop " + std::to_string(h->idFrom);
    default: return {};
  }
}
}  // namespace

void ToolTest::SetUp()
{
  CtlTest::SetUp();
  InitCommonControls();
  gTool = this;
  Spy.Install(Parent, Describe);
  gSpyProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(Parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandProc)));
  Spy.Answer = [this](const NMHDR* h) -> LRESULT {
    if (h->code == TBN_DROPDOWN && DropAnswer) return DropAnswer(*reinterpret_cast<const NMTOOLBAR*>(h));
    if (h->code == TTN_GETDISPINFO && TipAnswer) {
      auto* di = const_cast<NMTTDISPINFO*>(reinterpret_cast<const NMTTDISPINFO*>(h));
      std::string text = TipAnswer(int(h->idFrom));
      std::strncpy(di->szText, text.c_str(), sizeof(di->szText) - 1);
    }
    return 0;
  };
}

void ToolTest::TearDown()
{
  gTool = nullptr;
  CtlTest::TearDown();
}

TBBUTTON ToolTest::Button(int command, BYTE style, int image, const char* text, BYTE state)
{
  TBBUTTON b;
  b.iBitmap = image;
  b.idCommand = command;
  b.fsState = state;
  b.fsStyle = style;
  b.iString = text ? reinterpret_cast<INT_PTR>(text) : -1;
  return b;
}

HWND ToolTest::Bar(DWORD style, const std::vector<TBBUTTON>& buttons, DWORD exStyle, HIMAGELIST images)
{
  HWND bar = Make(TOOLBARCLASSNAME, "", style, 0, 0, 300, 30, 60);
  SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, LPARAM(exStyle));
  if (images) SendMessage(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  SendMessage(bar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessage(bar, TB_AUTOSIZE, 0, 0);
  Pump();
  Spy.Seen.clear();
  return bar;
}

RECT ToolTest::ItemRectOf(HWND bar, int command)
{
  RECT r{};
  SendMessage(bar, TB_GETRECT, WPARAM(command), reinterpret_cast<LPARAM>(&r));
  return r;
}

void ToolTest::ClickButton(HWND bar, int command, bool arrow)
{
  RECT r = ItemRectOf(bar, command);
  TBBUTTONINFO bi;
  bi.dwMask = TBIF_STYLE;
  SendMessage(bar, TB_GETBUTTONINFO, WPARAM(command), reinterpret_cast<LPARAM>(&bi));
  bool split = (SendMessage(bar, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS) &&
               (bi.fsStyle & TBSTYLE_DROPDOWN) && !(bi.fsStyle & BTNS_WHOLEDROPDOWN);
  int x = arrow ? r.right - 5 : (r.left + r.right - (split ? 14 : 0)) / 2;
  Click(bar, x, (r.top + r.bottom) / 2);
}

void ToolTest::MoveOver(HWND bar, int command)
{
  RECT r = ItemRectOf(bar, command);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  InputQueue::MouseMove(p.x, p.y);
  Pump();
}

void ToolTest::Expect(const std::vector<std::string>& want, const char* what)
{
  std::vector<std::string> seen = std::move(Spy.Seen);
  Spy.Seen.clear();
  EXPECT_EQ(seen, want) << what;
}

std::string ToolTest::TipText(HWND tip) { return GetWindowText(tip); }

HIMAGELIST ToolTest::Glyphs(std::initializer_list<COLORREF> colours)
{
  const COLORREF magenta = RGB(255, 0, 255);
  int n = int(colours.size());
  std::vector<std::uint32_t> px(std::size_t(n) * 16 * 16);
  int k = 0;
  for (COLORREF c : colours) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        COLORREF p = x >= 3 && x < 13 && y >= 3 && y < 13 ? c : magenta;
        px[std::size_t(y) * std::size_t(n) * 16 + std::size_t(k * 16 + x)] =
            (GetRValue(p) << 16) | (GetGValue(p) << 8) | GetBValue(p);
      }
    ++k;
  }
  HBITMAP strip = CreateBitmap(n * 16, 16, 1, 32, px.data());
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, n, 4);
  ImageList_AddMasked(list, strip, magenta);
  DeleteObject(strip);
  return list;
}

COLORREF ToolTest::Px(HWND wnd, int x, int y) { return Headless::ClientPixel(wnd, x, y); }

int ToolTest::Count(HWND wnd, RECT r, COLORREF c)
{
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += Px(wnd, x, y) == c;
  return n;
}
