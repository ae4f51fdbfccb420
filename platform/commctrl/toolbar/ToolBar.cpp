// The tool bar's window. Sections: state and notifications; layout and the tool tips' tools;
// painting (frames, images, texts, arrows); the mouse (press, drop-down, hot tracking); the
// TB_ messages.
#include "platform/commctrl/toolbar/ToolBar.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/common/ControlUtil.h"
#include "platform/commctrl/toolbar/ToolBarModel.h"
#include "platform/commctrl/tooltips/ToolTips.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

using namespace Windows;

namespace {

// ---- State and notifications ----------------------------------------------------------------

// The divider along the top, and the gap between an image and its text.
constexpr int DividerHeight = 2, TextGap = 2;

struct BarState {
  ToolBarModel Model;
  HFONT Font = nullptr;
  HIMAGELIST Images = nullptr, Disabled = nullptr, HotImages = nullptr;  // borrowed
  SIZE ButtonSize{24, 22}, BitmapSize{16, 15};
  DWORD ExStyle = 0;
  int Indent = 0;
  int MaxTextRows = 1;
  HWND NotifyTo = nullptr;
  HWND Tips = nullptr;
  bool OwnTips = false;
  std::vector<int> TipIds;          // the commands that have a tool in Tips
  std::vector<AnsiString> Strings;  // TB_ADDSTRING's texts
  int Hot = -1;                     // the button under the pointer (flat bars)
  int Pressed = -1;                 // the button the left button holds (with the capture)
  int Dropped = -1;                 // the button whose arrow is down while TBN_DROPDOWN runs
  bool Tracking = false;            // WM_MOUSELEAVE asked for
};

BarState* StateOf(HWND wnd) { return ControlUtil::StateOf<BarState>(wnd); }
DWORD Style(HWND wnd) { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }
bool Flat(HWND wnd) { return Style(wnd) & TBSTYLE_FLAT; }

LRESULT Notify(HWND wnd, BarState* s, NMHDR* hdr, UINT code)
{
  hdr->hwndFrom = wnd;
  hdr->idFrom = UINT_PTR(GetDlgCtrlID(wnd));
  hdr->code = code;
  if (!s->NotifyTo || !IsWindow(s->NotifyTo)) return 0;
  return SendMessage(s->NotifyTo, WM_NOTIFY, WPARAM(hdr->idFrom), reinterpret_cast<LPARAM>(hdr));
}

TBBUTTON ToTbButton(const ToolBarModel::Button& b)
{
  TBBUTTON t;
  t.iBitmap = b.Image;
  t.idCommand = b.Command;
  t.fsState = b.State;
  t.fsStyle = b.Style;
  t.dwData = b.Data;
  // The bar's own copy of the text, valid until the button's text changes.
  t.iString = b.Text.empty() ? -1 : reinterpret_cast<INT_PTR>(b.Text.c_str());
  return t;
}

ToolBarModel::Button FromTbButton(const BarState* s, const TBBUTTON& t)
{
  ToolBarModel::Button b;
  b.Image = t.iBitmap;
  b.Command = t.idCommand;
  b.State = t.fsState;
  b.Style = t.fsStyle;
  b.Data = t.dwData;
  if (t.iString >= 0 && t.iString < 0x10000) {
    if (std::size_t(t.iString) < s->Strings.size()) b.Text = s->Strings[std::size_t(t.iString)];
  } else if (t.iString >= 0x10000) {
    b.Text = reinterpret_cast<const char*>(t.iString);
  }
  return b;
}

// Whether the bar shows a button's text on the button.
bool ShowsText(HWND wnd, const BarState* s, const ToolBarModel::Button& b)
{
  if (s->MaxTextRows <= 0 || b.Text.empty() || (b.Style & TBSTYLE_SEP)) return false;
  if ((Style(wnd) & TBSTYLE_LIST) && (s->ExStyle & TBSTYLE_EX_MIXEDBUTTONS)) return b.Style & BTNS_SHOWTEXT;
  return true;
}

UINT TextFlags(const ToolBarModel::Button& b)
{
  return DT_SINGLELINE | ((b.Style & TBSTYLE_NOPREFIX) ? DT_NOPREFIX : 0);
}

// ---- Layout and the tool tips' tools -------------------------------------------------------

ToolBarModel::Metrics MetricsOf(HWND wnd, const BarState* s, int width)
{
  DWORD style = Style(wnd);
  ToolBarModel::Metrics m;
  m.ButtonSize = s->ButtonSize;
  m.BitmapSize = s->BitmapSize;
  m.List = style & TBSTYLE_LIST;
  m.Wrapable = style & TBSTYLE_WRAPABLE;
  m.SplitArrows = s->ExStyle & TBSTYLE_EX_DRAWDDARROWS;
  m.Indent = s->Indent;
  m.Top = (style & CCS_NODIVIDER) ? 0 : DividerHeight;
  m.Width = width;
  return m;
}

// Gives every shown button a tool of the bar's tool tips (by command id) and drops the others.
void SyncTips(HWND wnd, BarState* s)
{
  if (!s->Tips || !IsWindow(s->Tips)) return;
  std::vector<int> now;
  for (int i = 0; i < s->Model.Count(); ++i) {
    const ToolBarModel::Button* b = s->Model.At(i);
    if ((b->Style & TBSTYLE_SEP) || (b->State & TBSTATE_HIDDEN)) continue;
    TOOLINFO ti;
    ti.hwnd = wnd;
    ti.uId = UINT_PTR(b->Command);
    ti.rect = b->Rect;
    ti.lpszText = LPSTR_TEXTCALLBACK;
    SendMessage(s->Tips, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    now.push_back(b->Command);
  }
  for (int id : s->TipIds)
    if (std::find(now.begin(), now.end(), id) == now.end()) {
      TOOLINFO ti;
      ti.hwnd = wnd;
      ti.uId = UINT_PTR(id);
      SendMessage(s->Tips, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    }
  s->TipIds = std::move(now);
}

// Measures the texts and lays the buttons out for a client area `width` wide (-1: the
// window's).
void Relayout(HWND wnd, BarState* s, int width = -1)
{
  if (width < 0) {
    RECT c;
    GetClientRect(wnd, &c);
    width = c.right;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ControlUtil::FontOr(s->Font));
  for (int i = 0; i < s->Model.Count(); ++i) {
    ToolBarModel::Button* b = s->Model.At(i);
    b->TextSize = {0, 0};
    if (!ShowsText(wnd, s, *b)) continue;
    RECT r{0, 0, 0, 0};
    DrawText(dc, b->Text.c_str(), int(b->Text.size()), &r, TextFlags(*b) | DT_CALCRECT);
    b->TextSize = {r.right - r.left, r.bottom - r.top};
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  s->Model.Layout(MetricsOf(wnd, s, width));
  SyncTips(wnd, s);
  InvalidateRect(wnd, nullptr, FALSE);
}

// TB_AUTOSIZE: the bar's height fits its rows; its width and place follow the parent.
void AutoSize(HWND wnd, BarState* s)
{
  DWORD style = Style(wnd);
  HWND parent = GetParent(wnd);
  if ((style & CCS_NORESIZE) || !parent) {
    Relayout(wnd, s);
    return;
  }
  RECT pc, wr;
  GetClientRect(parent, &pc);
  GetWindowRect(wnd, &wr);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
  bool align = !(style & CCS_NOPARENTALIGN);
  int width = align ? pc.right : wr.right - wr.left;
  Relayout(wnd, s, width);
  int h = s->Model.Rows() ? s->Model.Extent().cy : MetricsOf(wnd, s, width).Top + s->Model.ButtonSize().cy;
  int x = align ? 0 : wr.left, y = wr.top;
  if (align) y = (style & CCS_BOTTOM) == CCS_BOTTOM ? pc.bottom - h : 0;
  SetWindowPos(wnd, nullptr, x, y, width, h, SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout(wnd, s);
}

// ---- Painting ---------------------------------------------------------------------------------

// A half-tone of the highlight and the face: the look of a checked button.
void FillDither(HDC dc, const RECT& r)
{
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bits = CreateCompatibleBitmap(nullptr, 8, 8);
  HGDIOBJ old = SelectObject(mem, bits);
  COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) SetPixelV(mem, x, y, (x + y) % 2 ? face : hi);
  SelectObject(mem, old);
  DeleteDC(mem);
  HBRUSH b = CreatePatternBrush(bits);
  FillRect(dc, &r, b);
  DeleteObject(b);
  DeleteObject(bits);
}

// A disabled image without a disabled list: its dark pixels in the highlight, one pixel down
// and right, under the same pixels in the shadow colour.
void DrawEmbossed(HDC dc, HIMAGELIST list, int index, int x, int y)
{
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(list, &cx, &cy) || cx <= 0 || cy <= 0) return;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bits = CreateCompatibleBitmap(nullptr, cx, cy);
  HGDIOBJ old = SelectObject(mem, bits);
  const COLORREF white = RGB(255, 255, 255), face = GetSysColor(COLOR_BTNFACE);
  RECT all{0, 0, cx, cy};
  CommonControls::FillSolid(mem, all, white);
  ImageList_Draw(list, index, mem, 0, 0, ILD_TRANSPARENT);
  std::vector<POINT> dark;
  for (int py = 0; py < cy; ++py)
    for (int px = 0; px < cx; ++px) {
      COLORREF c = GetPixel(mem, px, py);
      if (c != white && c != face) dark.push_back({px, py});
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bits);
  COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  for (POINT p : dark) SetPixelV(dc, x + p.x + 1, y + p.y + 1, hi);
  for (POINT p : dark) SetPixelV(dc, x + p.x, y + p.y, shadow);
}

// The small arrow of a drop-down, 5 pixels wide and 3 high, centred on (cx, cy).
void DrawArrow(HDC dc, int cx, int cy, bool enabled)
{
  auto draw = [&](int dx, COLORREF c) {
    for (int i = 0; i < 3; ++i)
      CommonControls::FillSolid(dc, {cx - 2 + i + dx, cy - 1 + i + dx, cx + 3 - i + dx, cy + i + dx}, c);
  };
  if (!enabled) draw(1, GetSysColor(COLOR_BTNHIGHLIGHT));
  draw(0, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
}

void DrawImage(HWND wnd, BarState* s, HDC dc, const ToolBarModel::Button& b, bool hot, int x, int y)
{
  // An indeterminate button's image is greyed as a disabled one's.
  bool enabled = (b.State & TBSTATE_ENABLED) && !(b.State & TBSTATE_INDETERMINATE);
  auto has = [&](HIMAGELIST l) { return l && b.Image >= 0 && b.Image < ImageList_GetImageCount(l); };
  if (!enabled) {
    if (has(s->Disabled))
      ImageList_Draw(s->Disabled, b.Image, dc, x, y, ILD_TRANSPARENT);
    else if (has(s->Images))
      DrawEmbossed(dc, s->Images, b.Image, x, y);
    return;
  }
  HIMAGELIST list = hot && Flat(wnd) && has(s->HotImages) ? s->HotImages : s->Images;
  if (has(list)) ImageList_Draw(list, b.Image, dc, x, y, ILD_TRANSPARENT);
}

void DrawButtonText(HDC dc, const ToolBarModel::Button& b, RECT r, UINT align)
{
  UINT f = TextFlags(b) | align;
  if (!(b.State & TBSTATE_ENABLED)) {
    RECT lit = r;
    OffsetRect(&lit, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, b.Text.c_str(), int(b.Text.size()), &lit, f);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawText(dc, b.Text.c_str(), int(b.Text.size()), &r, f);
}

void DrawSeparator(HWND wnd, HDC dc, const ToolBarModel::Button& b)
{
  // Only flat bars draw their separators, as an etched line; placeholders (wide separators
  // that hold another control) stay empty.
  if (!Flat(wnd) || b.Image > ToolBarModel::SeparatorWidth) return;
  int x = (b.Rect.left + b.Rect.right) / 2 - 1;
  CommonControls::FillSolid(dc, {x, b.Rect.top + 1, x + 1, b.Rect.bottom - 1}, GetSysColor(COLOR_BTNSHADOW));
  CommonControls::FillSolid(dc, {x + 1, b.Rect.top + 1, x + 2, b.Rect.bottom - 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
}

void DrawButton(HWND wnd, BarState* s, HDC dc, int i)
{
  const ToolBarModel::Button& b = *s->Model.At(i);
  if (b.Style & TBSTYLE_SEP) {
    DrawSeparator(wnd, dc, b);
    return;
  }
  bool flat = Flat(wnd), enabled = b.State & TBSTATE_ENABLED;
  bool checked = b.State & TBSTATE_CHECKED, pressed = b.State & TBSTATE_PRESSED;
  bool hot = flat && enabled && i == s->Hot;
  bool arrowDown = i == s->Dropped;
  RECT r = b.Rect, arrow = s->Model.ArrowRect(i);
  bool split = !IsRectEmpty(&arrow);
  if (split) r.right = arrow.left;

  // The frame: raised (flat bars: only while hot), sunken when pressed or checked; a checked
  // button that is not hot shows the half-tone.
  bool down = pressed || checked;
  if (checked && !pressed && !hot) {
    RECT in = r;
    InflateRect(&in, -1, -1);
    FillDither(dc, in);
  }
  if (flat) {
    RECT e = r;
    if (down)
      DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
    else if (hot || arrowDown)
      DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT);
    RECT a = arrow;
    if (split && arrowDown)
      DrawEdge(dc, &a, BDR_SUNKENOUTER, BF_RECT);
    else if (split && (hot || pressed))
      DrawEdge(dc, &a, BDR_RAISEDINNER, BF_RECT);
  } else {
    RECT e = r;
    DrawEdge(dc, &e, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    RECT a = arrow;
    if (split) DrawEdge(dc, &a, arrowDown ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  }

  // The content, one pixel down and right while the button is down.
  RECT in = r;
  if (down) OffsetRect(&in, 1, 1);
  bool whole = (b.Style & TBSTYLE_DROPDOWN) && (b.Style & BTNS_WHOLEDROPDOWN);
  if (whole) in.right -= ToolBarModel::ArrowWidth;
  bool image = b.Image != I_IMAGENONE;
  bool text = b.TextSize.cx > 0;
  const SIZE bmp = s->BitmapSize;
  if (Style(wnd) & TBSTYLE_LIST) {
    int x = in.left + 4;
    if (image) {
      DrawImage(wnd, s, dc, b, hot, x, in.top + (in.bottom - in.top - bmp.cy) / 2);
      x += bmp.cx + 2 * TextGap;
    }
    if (text) DrawButtonText(dc, b, {x, in.top, in.right, in.bottom}, DT_LEFT | DT_VCENTER);
  } else {
    // The image at the top with the text below it, both centred; alone, the image is centred.
    int content = (image ? bmp.cy : 0) + (text ? b.TextSize.cy + TextGap : 0);
    bool anyText = s->Model.ButtonSize().cy > s->ButtonSize.cy && s->MaxTextRows > 0;
    int y = anyText ? in.top + 3 : in.top + (in.bottom - in.top - content) / 2;
    if (image) {
      DrawImage(wnd, s, dc, b, hot, in.left + (in.right - in.left - bmp.cx) / 2, y);
      y += bmp.cy + TextGap;
    }
    if (text) DrawButtonText(dc, b, {in.left, y, in.right, in.bottom}, DT_CENTER | DT_TOP);
  }
  if (whole) DrawArrow(dc, in.right + ToolBarModel::ArrowWidth / 2 - 1, (in.top + in.bottom) / 2, enabled);
  if (split)
    DrawArrow(dc, (arrow.left + arrow.right) / 2 + (arrowDown ? 1 : 0),
              (arrow.top + arrow.bottom) / 2 + (arrowDown ? 1 : 0), enabled);
}

void Paint(HWND wnd, BarState* s, HDC dc)
{
  TSavedDC keep(dc);
  RECT c;
  GetClientRect(wnd, &c);
  FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
  if (!(Style(wnd) & CCS_NODIVIDER)) {
    CommonControls::FillSolid(dc, {0, 0, c.right, 1}, GetSysColor(COLOR_BTNSHADOW));
    CommonControls::FillSolid(dc, {0, 1, c.right, 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  SelectObject(dc, ControlUtil::FontOr(s->Font));
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < s->Model.Count(); ++i) {
    const ToolBarModel::Button* b = s->Model.At(i);
    if (!(b->State & TBSTATE_HIDDEN) && !IsRectEmpty(&b->Rect)) DrawButton(wnd, s, dc, i);
  }
}

// ---- The mouse ---------------------------------------------------------------------------------

void InvalidateButton(HWND wnd, BarState* s, int i)
{
  if (const ToolBarModel::Button* b = s->Model.At(i)) InvalidateRect(wnd, &b->Rect, FALSE);
}

// Makes button `i` the hot one (-1: none), unless the parent refuses.
void SetHot(HWND wnd, BarState* s, int i, DWORD why)
{
  if (i == s->Hot) return;
  const ToolBarModel::Button* old = s->Model.At(s->Hot);
  const ToolBarModel::Button* now = s->Model.At(i);
  NMTBHOTITEM nm;
  nm.idOld = old ? old->Command : 0;
  nm.idNew = now ? now->Command : 0;
  nm.dwFlags = why | (old ? 0 : HICF_ENTERING) | (now ? 0 : HICF_LEAVING);
  if (Notify(wnd, s, &nm.hdr, TBN_HOTITEMCHANGE)) return;
  InvalidateButton(wnd, s, s->Hot);
  s->Hot = i;
  InvalidateButton(wnd, s, s->Hot);
}

// Whether a point is on the part of button `i` that presses it (not on a separate arrow).
bool OnButtonPart(BarState* s, int i, POINT pt)
{
  const ToolBarModel::Button* b = s->Model.At(i);
  if (!b || !PtInRect(&b->Rect, pt)) return false;
  RECT a = s->Model.ArrowRect(i);
  return IsRectEmpty(&a) || !PtInRect(&a, pt);
}

// A drop-down pressed: TBN_DROPDOWN with the button held down while the parent answers.
// Answers whether the press goes on as a push button's.
bool DropDown(HWND wnd, BarState* s, int i, bool onArrow)
{
  ToolBarModel::Button* b = s->Model.At(i);
  if (onArrow)
    s->Dropped = i;
  else
    b->State |= TBSTATE_PRESSED;
  InvalidateButton(wnd, s, i);
  UpdateWindow(wnd);
  NMTOOLBAR nm;
  nm.iItem = b->Command;
  nm.tbButton = ToTbButton(*b);
  nm.rcButton = b->Rect;
  int command = b->Command;
  LRESULT answer = Notify(wnd, s, &nm.hdr, TBN_DROPDOWN);
  // The parent's menu may have changed or destroyed the bar meanwhile.
  if (!IsWindow(wnd) || StateOf(wnd) != s) return false;
  s->Dropped = -1;
  b = s->Model.At(i);
  if (!b || b->Command != command) return false;
  b->State &= BYTE(~TBSTATE_PRESSED);
  InvalidateButton(wnd, s, i);
  return !onArrow && answer == TBDDRET_TREATPRESSED;
}

void ButtonDown(HWND wnd, BarState* s, POINT pt)
{
  int i = s->Model.ItemAt(pt);
  ToolBarModel::Button* b = s->Model.At(i);
  if (!b || (b->Style & TBSTYLE_SEP) || !(b->State & TBSTATE_ENABLED)) return;
  if (b->Style & TBSTYLE_DROPDOWN) {
    bool onArrow = s->Model.HasSplitArrow(i) && !OnButtonPart(s, i, pt);
    bool whole = !s->Model.HasSplitArrow(i);
    if ((onArrow || whole) && !DropDown(wnd, s, i, onArrow)) return;
    b = s->Model.At(i);
    if (!b) return;
  }
  s->Pressed = i;
  b->State |= TBSTATE_PRESSED;
  SetCapture(wnd);
  InvalidateButton(wnd, s, i);
}

// The press of button `i` ends without a click (capture lost).
void CancelPress(HWND wnd, BarState* s)
{
  int i = std::exchange(s->Pressed, -1);
  if (ToolBarModel::Button* b = s->Model.At(i)) {
    b->State &= BYTE(~TBSTATE_PRESSED);
    InvalidateButton(wnd, s, i);
  }
}

void ButtonUp(HWND wnd, BarState* s, POINT pt)
{
  int i = std::exchange(s->Pressed, -1);
  if (GetCapture() == wnd) ReleaseCapture();
  ToolBarModel::Button* b = s->Model.At(i);
  int command = -1;
  if (b) {
    b->State &= BYTE(~TBSTATE_PRESSED);
    InvalidateButton(wnd, s, i);
    if (OnButtonPart(s, i, pt) && (b->State & TBSTATE_ENABLED)) {
      s->Model.Click(i);
      // A check group's other buttons may have come up.
      InvalidateRect(wnd, nullptr, FALSE);
      command = b->Command;
      if (s->NotifyTo)
        SendMessage(s->NotifyTo, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(wnd));
      if (!IsWindow(wnd) || StateOf(wnd) != s) return;
    }
  }
  const ToolBarModel::Button* under = s->Model.At(s->Model.ItemAt(pt));
  NMMOUSE nm;
  nm.dwItemSpec = under ? DWORD_PTR(under->Command) : DWORD_PTR(-1);
  nm.dwItemData = under ? under->Data : 0;
  nm.pt = pt;
  Notify(wnd, s, &nm.hdr, NM_CLICK);
}

void MouseMove(HWND wnd, BarState* s, POINT pt)
{
  if (!s->Tracking) {
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, wnd, 0};
    s->Tracking = TrackMouseEvent(&tme);
  }
  if (ToolBarModel::Button* b = s->Model.At(s->Pressed)) {
    // A held button shows pressed only while the pointer is over it.
    bool over = OnButtonPart(s, s->Pressed, pt);
    if (over != bool(b->State & TBSTATE_PRESSED)) {
      b->State ^= TBSTATE_PRESSED;
      InvalidateButton(wnd, s, s->Pressed);
    }
    return;
  }
  if (!Flat(wnd)) return;
  int i = s->Model.ItemAt(pt);
  const ToolBarModel::Button* b = s->Model.At(i);
  SetHot(wnd, s, b && !(b->Style & TBSTYLE_SEP) && (b->State & TBSTATE_ENABLED) ? i : -1, HICF_MOUSE);
}

// ---- Messages ----------------------------------------------------------------------------------

// Keeps the hot and pressed buttons pointing at the same buttons after button `at` went.
void Deleted(BarState* s, int at)
{
  for (int* i : {&s->Hot, &s->Pressed, &s->Dropped}) {
    if (*i == at)
      *i = -1;
    else if (*i > at)
      --*i;
  }
}

int IndexOfCommand(BarState* s, WPARAM command) { return s->Model.IndexOf(int(command)); }

// TB_ENABLEBUTTON and its kin: sets or clears a state flag of a button found by command.
LRESULT SetFlag(HWND wnd, BarState* s, WPARAM command, BYTE flag, bool on)
{
  int i = IndexOfCommand(s, command);
  ToolBarModel::Button* b = s->Model.At(i);
  if (!b) return FALSE;
  BYTE before = b->State;
  if (on)
    b->State |= flag;
  else
    b->State &= BYTE(~flag);
  if (flag == TBSTATE_ENABLED && !on && s->Hot == i) s->Hot = -1;
  if ((before ^ b->State) & (TBSTATE_HIDDEN | TBSTATE_WRAP))
    Relayout(wnd, s);
  else
    InvalidateButton(wnd, s, i);
  return TRUE;
}

LRESULT GetInfo(BarState* s, WPARAM wParam, TBBUTTONINFO* bi)
{
  if (!bi || bi->cbSize != sizeof(TBBUTTONINFO)) return -1;
  int i = (bi->dwMask & TBIF_BYINDEX) ? int(wParam) : IndexOfCommand(s, wParam);
  const ToolBarModel::Button* b = s->Model.At(i);
  if (!b) return -1;
  if (bi->dwMask & TBIF_COMMAND) bi->idCommand = b->Command;
  if (bi->dwMask & TBIF_IMAGE) bi->iImage = b->Image;
  if (bi->dwMask & TBIF_STATE) bi->fsState = b->State;
  if (bi->dwMask & TBIF_STYLE) bi->fsStyle = b->Style;
  if (bi->dwMask & TBIF_LPARAM) bi->lParam = b->Data;
  if (bi->dwMask & TBIF_SIZE) bi->cx = WORD(b->Rect.right - b->Rect.left);
  if ((bi->dwMask & TBIF_TEXT) && bi->pszText && bi->cchText > 0) {
    std::size_t n = std::min(b->Text.size(), std::size_t(bi->cchText - 1));
    std::memcpy(bi->pszText, b->Text.data(), n);
    bi->pszText[n] = 0;
  }
  return i;
}

LRESULT SetInfo(HWND wnd, BarState* s, WPARAM wParam, const TBBUTTONINFO* bi)
{
  if (!bi || bi->cbSize != sizeof(TBBUTTONINFO)) return FALSE;
  int i = (bi->dwMask & TBIF_BYINDEX) ? int(wParam) : IndexOfCommand(s, wParam);
  ToolBarModel::Button* b = s->Model.At(i);
  if (!b) return FALSE;
  if (bi->dwMask & TBIF_COMMAND) b->Command = bi->idCommand;
  if (bi->dwMask & TBIF_IMAGE) b->Image = bi->iImage;
  if (bi->dwMask & TBIF_STATE) b->State = bi->fsState;
  if (bi->dwMask & TBIF_STYLE) b->Style = bi->fsStyle;
  if (bi->dwMask & TBIF_LPARAM) b->Data = bi->lParam;
  if (bi->dwMask & TBIF_SIZE) b->Width = bi->cx;
  if (bi->dwMask & TBIF_TEXT) b->Text = bi->pszText ? bi->pszText : "";
  Relayout(wnd, s);
  return TRUE;
}

// TB_ADDSTRING: texts one after another, each ending with a zero, the list with another.
LRESULT AddStrings(BarState* s, WPARAM hinst, LPARAM lParam)
{
  if (hinst || !lParam) return -1;  // texts from resources are not supported
  auto first = LRESULT(s->Strings.size());
  for (const char* p = reinterpret_cast<const char*>(lParam); *p; p += std::strlen(p) + 1) s->Strings.emplace_back(p);
  return first;
}

// A TTN_GETDISPINFO of the bar's tips goes to the parent; a button whose text the bar does not
// show gives it when the parent has none.
LRESULT FromTips(HWND wnd, BarState* s, WPARAM wParam, NMHDR* hdr)
{
  LRESULT r = s->NotifyTo ? SendMessage(s->NotifyTo, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(hdr)) : 0;
  if (hdr->code != TTN_GETDISPINFO || !IsWindow(wnd) || StateOf(wnd) != s) return r;
  auto* di = reinterpret_cast<NMTTDISPINFO*>(hdr);
  bool given =
      (di->lpszText && di->lpszText != LPSTR_TEXTCALLBACK && std::uintptr_t(di->lpszText) > 0xFFFF && *di->lpszText) ||
      di->szText[0];
  const ToolBarModel::Button* b = s->Model.At(s->Model.IndexOf(int(hdr->idFrom)));
  if (!given && b && !ShowsText(wnd, s, *b)) {
    std::size_t n = std::min(b->Text.size(), sizeof(di->szText) - 1);
    std::memcpy(di->szText, b->Text.data(), n);
    di->szText[n] = 0;
    di->lpszText = di->szText;
  }
  return r;
}

}  // namespace

namespace ToolBar {

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE) {
    auto* s = ControlUtil::AttachState(wnd, std::make_unique<BarState>());
    s->NotifyTo = GetParent(wnd);
    if (Style(wnd) & TBSTYLE_TOOLTIPS) {
      s->Tips = ToolTips::CreateOwned(wnd);
      s->OwnTips = s->Tips != nullptr;
    }
    Relayout(wnd, s);
    return 0;
  }
  BarState* s = StateOf(wnd);
  if (!s) return DefWindowProc(wnd, msg, wParam, lParam);
  ToolBarModel& m = s->Model;
  if (s->Tips) ToolTips::Relay(s->Tips, wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: ToolTips::DestroyOwned(s->Tips, s->OwnTips); return 0;
    case WM_NCDESTROY: {
      auto gone = ControlUtil::DetachState<BarState>(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      ControlUtil::SetFontFrom(wnd, s->Font, wParam, lParam);
      Relayout(wnd, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->Font);
    case WM_SIZE:
    case WM_STYLECHANGED: Relayout(wnd, s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: CommonControls::Paint(wnd, wParam, [&](HDC dc) { Paint(wnd, s, dc); }); return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      return hdr && s->Tips && hdr->hwndFrom == s->Tips ? FromTips(wnd, s, wParam, hdr) : 0;
    }
    case WM_MOUSEMOVE: MouseMove(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSELEAVE:
      s->Tracking = false;
      if (s->Pressed < 0) SetHot(wnd, s, -1, HICF_MOUSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ButtonDown(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: ButtonUp(wnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != wnd) CancelPress(wnd, s);
      return 0;

    case TB_BUTTONSTRUCTSIZE: return 0;
    case TB_ADDBUTTONS:
    case TB_INSERTBUTTON: {
      auto* buttons = reinterpret_cast<const TBBUTTON*>(lParam);
      if (!buttons) return FALSE;
      int count = msg == TB_ADDBUTTONS ? int(wParam) : 1;
      int at = msg == TB_ADDBUTTONS ? m.Count() : int(wParam);
      for (int k = 0; k < count; ++k) {
        int put = m.Insert(at < 0 ? -1 : at + k, FromTbButton(s, buttons[k]));
        for (int* i : {&s->Hot, &s->Pressed, &s->Dropped})
          if (*i >= put) ++*i;
      }
      Relayout(wnd, s);
      return TRUE;
    }
    case TB_DELETEBUTTON:
      if (!m.Delete(int(wParam))) return FALSE;
      Deleted(s, int(wParam));
      if (s->Pressed < 0 && GetCapture() == wnd) ReleaseCapture();
      Relayout(wnd, s);
      return TRUE;
    case TB_MOVEBUTTON:
      if (!m.Move(int(wParam), int(lParam))) return FALSE;
      s->Hot = s->Pressed = -1;
      Relayout(wnd, s);
      return TRUE;
    case TB_BUTTONCOUNT: return m.Count();
    case TB_COMMANDTOINDEX: return IndexOfCommand(s, wParam);
    case TB_GETBUTTON: {
      const ToolBarModel::Button* b = m.At(int(wParam));
      if (!b || !lParam) return FALSE;
      *reinterpret_cast<TBBUTTON*>(lParam) = ToTbButton(*b);
      return TRUE;
    }
    case TB_ENABLEBUTTON: return SetFlag(wnd, s, wParam, TBSTATE_ENABLED, LOWORD(lParam));
    case TB_PRESSBUTTON: return SetFlag(wnd, s, wParam, TBSTATE_PRESSED, LOWORD(lParam));
    case TB_HIDEBUTTON: return SetFlag(wnd, s, wParam, TBSTATE_HIDDEN, LOWORD(lParam));
    case TB_INDETERMINATE: return SetFlag(wnd, s, wParam, TBSTATE_INDETERMINATE, LOWORD(lParam));
    case TB_MARKBUTTON: return SetFlag(wnd, s, wParam, TBSTATE_MARKED, LOWORD(lParam));
    case TB_CHECKBUTTON:
      if (!m.Check(IndexOfCommand(s, wParam), LOWORD(lParam))) return FALSE;
      InvalidateRect(wnd, nullptr, FALSE);
      return TRUE;
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN:
    case TB_ISBUTTONINDETERMINATE:
    case TB_ISBUTTONHIGHLIGHTED: {
      static const BYTE flags[] = {TBSTATE_ENABLED, TBSTATE_CHECKED,       TBSTATE_PRESSED,
                                   TBSTATE_HIDDEN,  TBSTATE_INDETERMINATE, TBSTATE_MARKED};
      const ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      return b && (b->State & flags[msg - TB_ISBUTTONENABLED]);
    }
    case TB_SETSTATE: {
      ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      if (!b) return FALSE;
      b->State = BYTE(LOWORD(lParam));
      Relayout(wnd, s);
      return TRUE;
    }
    case TB_GETSTATE: {
      const ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      return b ? LRESULT(b->State) : -1;
    }
    case TB_ADDSTRING: return AddStrings(s, wParam, lParam);
    case TB_GETBUTTONTEXT: {
      // The caller sizes the buffer from the answer with a null buffer first.
      const ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      if (!b) return -1;
      if (lParam) std::memcpy(reinterpret_cast<char*>(lParam), b->Text.c_str(), b->Text.size() + 1);
      return LRESULT(b->Text.size());
    }
    case TB_GETITEMRECT:
    case TB_GETRECT: {
      int i = msg == TB_GETRECT ? IndexOfCommand(s, wParam) : int(wParam);
      const ToolBarModel::Button* b = m.At(i);
      if (!b || !lParam || (b->State & TBSTATE_HIDDEN)) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = b->Rect;
      return TRUE;
    }
    case TB_SETBUTTONSIZE:
    case TB_SETBITMAPSIZE: {
      SIZE sz{short(LOWORD(lParam)), short(HIWORD(lParam))};
      if (sz.cx <= 0 || sz.cy <= 0) return FALSE;
      (msg == TB_SETBUTTONSIZE ? s->ButtonSize : s->BitmapSize) = sz;
      Relayout(wnd, s);
      return TRUE;
    }
    case TB_GETBUTTONSIZE: return MAKELPARAM(m.ButtonSize().cx, m.ButtonSize().cy);
    case TB_AUTOSIZE: AutoSize(wnd, s); return 0;
    case TB_GETROWS: return m.Rows();
    case TB_GETMAXSIZE:
      if (!lParam) return FALSE;
      *reinterpret_cast<SIZE*>(lParam) = m.Extent();
      return TRUE;
    case TB_SETCMDID: {
      ToolBarModel::Button* b = m.At(int(wParam));
      if (!b) return FALSE;
      b->Command = int(lParam);
      SyncTips(wnd, s);
      return TRUE;
    }
    case TB_CHANGEBITMAP: {
      ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      if (!b) return FALSE;
      b->Image = int(lParam);
      InvalidateButton(wnd, s, IndexOfCommand(s, wParam));
      return TRUE;
    }
    case TB_GETBITMAP: {
      const ToolBarModel::Button* b = m.At(IndexOfCommand(s, wParam));
      return b ? b->Image : -1;
    }
    case TB_SETINDENT:
      s->Indent = int(wParam);
      Relayout(wnd, s);
      return TRUE;
    case TB_SETIMAGELIST:
    case TB_SETHOTIMAGELIST:
    case TB_SETDISABLEDIMAGELIST: {
      HIMAGELIST& slot = msg == TB_SETIMAGELIST ? s->Images : msg == TB_SETHOTIMAGELIST ? s->HotImages : s->Disabled;
      HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
      int cx, cy;
      // The buttons' images take the size of the normal list's.
      if (msg == TB_SETIMAGELIST && ImageList_GetIconSize(s->Images, &cx, &cy)) s->BitmapSize = {cx, cy};
      Relayout(wnd, s);
      return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(s->Images);
    case TB_GETHOTIMAGELIST: return reinterpret_cast<LRESULT>(s->HotImages);
    case TB_GETDISABLEDIMAGELIST: return reinterpret_cast<LRESULT>(s->Disabled);
    case TB_SETSTYLE: SetWindowLongPtr(wnd, GWL_STYLE, LONG_PTR(lParam)); return 0;
    case TB_GETSTYLE: return LRESULT(Style(wnd));
    case TB_SETEXTENDEDSTYLE: {
      DWORD old = std::exchange(s->ExStyle, DWORD(lParam));
      Relayout(wnd, s);
      return old;
    }
    case TB_GETEXTENDEDSTYLE: return s->ExStyle;
    case TB_SETMAXTEXTROWS:
      s->MaxTextRows = int(wParam);
      Relayout(wnd, s);
      return TRUE;
    case TB_GETTEXTROWS: return s->MaxTextRows;
    case TB_GETBUTTONINFO: return GetInfo(s, wParam, reinterpret_cast<TBBUTTONINFO*>(lParam));
    case TB_SETBUTTONINFO: return SetInfo(wnd, s, wParam, reinterpret_cast<const TBBUTTONINFO*>(lParam));
    case TB_HITTEST: {
      // A button's index; on a separator -1 less its index; off every item -1 less the count.
      if (!lParam) return -1;
      int i = m.ItemAt(*reinterpret_cast<const POINT*>(lParam));
      if (i < 0) return -1 - m.Count();
      return m.IsSeparator(i) ? -1 - i : i;
    }
    case TB_GETHOTITEM: return s->Hot;
    case TB_SETHOTITEM: {
      int old = s->Hot;
      const ToolBarModel::Button* b = m.At(int(wParam));
      SetHot(wnd, s, b && !(b->Style & TBSTYLE_SEP) ? int(wParam) : -1, HICF_OTHER);
      return old;
    }
    case TB_GETTOOLTIPS: return reinterpret_cast<LRESULT>(s->Tips);
    case TB_SETTOOLTIPS:
      s->Tips = reinterpret_cast<HWND>(wParam);
      s->OwnTips = false;
      s->TipIds.clear();
      SyncTips(wnd, s);
      return 0;
    case TB_SETPARENT: return reinterpret_cast<LRESULT>(std::exchange(s->NotifyTo, reinterpret_cast<HWND>(wParam)));
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

void Register() { CommonControls::RegisterControlClass(TOOLBARCLASSNAME, WndProc); }

}  // namespace ToolBar
