// The EDIT window procedure.
//
// Sections: the font measurer; the window's state (format rectangle, scrolling, caret);
// layout and scrolling; painting; notifications and the change path; clipboard; keys and
// characters; the mouse; the message switch.
//
// Call flow of a change: a message -> EditModel call -> Changed() -> scroll the caret into
// view, scroll bars, caret, EN_UPDATE, repaint, EN_CHANGE (and EN_MAXTEXT when the limit cut).
#include "platform/commctrl/edit/Edit.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/edit/EditModel.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Carets.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/input/Focus.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Windows.h"

namespace Edit {
namespace {

using namespace Windows;

constexpr UINT_PTR kScrollTimer = 1;

// ---- The font measurer ------------------------------------------------------------------------

// Widths of the window's font, measured once per character on a memory DC.
class FontMeasurer : public EditMeasurer {
public:
  FontMeasurer() : FDC(CreateCompatibleDC(nullptr)) { SetFont(nullptr); }
  ~FontMeasurer() override { DeleteDC(FDC); }
  FontMeasurer(const FontMeasurer&) = delete;
  FontMeasurer& operator=(const FontMeasurer&) = delete;

  void SetFont(HFONT font)
  {
    SelectObject(FDC, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetrics(FDC, &tm);
    FHeight = std::max(int(tm.tmHeight), 1);
    FAve = std::max(int(tm.tmAveCharWidth), 1);
    std::fill(std::begin(FSingle), std::end(FSingle), -1);
    FDouble.clear();
  }
  int CharWidth(unsigned ch) override
  {
    if (ch < 256) {
      int& w = FSingle[ch];
      if (w < 0) w = Measure(ch);
      return w;
    }
    auto it = FDouble.find(ch);
    if (it != FDouble.end()) return it->second;
    return FDouble[ch] = Measure(ch);
  }
  int TabWidth() override { return 8 * FAve; }
  int Height() const { return FHeight; }
  int Average() const { return FAve; }

private:
  int Measure(unsigned ch)
  {
    char s[2];
    int n = 0;
    if (ch > 0xFF) s[n++] = char(ch >> 8);
    s[n++] = char(ch & 0xFF);
    SIZE sz{};
    GetTextExtentPoint32(FDC, s, n, &sz);
    return int(sz.cx);
  }

  HDC FDC;
  int FHeight = 16, FAve = 7;
  int FSingle[256];
  std::unordered_map<unsigned, int> FDouble;
};

// ---- The window's state -----------------------------------------------------------------------

struct EditWindow {
  explicit EditWindow(HWND w, DWORD style) : wnd(w), model((style & ES_MULTILINE) != 0) {}

  HWND wnd;
  EditModel model;
  FontMeasurer measurer;
  HFONT font = nullptr;  // borrowed: WM_SETFONT's
  int leftMargin = 0, rightMargin = 0;
  RECT rect{};           // the formatting rectangle
  bool rectSet = false;  // set by EM_SETRECT(NP); otherwise it follows the client area
  int topLine = 0;       // first visible line (multi-line)
  int xOffset = 0;       // pixels scrolled to the left
  bool focused = false, tracking = false, timerOn = false;
  SCROLLINFO lastV, lastH;  // what the bars were last given

  DWORD Style() const { return DWORD(GetWindowLongPtr(wnd, GWL_STYLE)); }
  bool Multi() const { return model.MultiLine(); }
  bool ReadOnly() const { return Style() & ES_READONLY; }
  int LineHeight() const { return measurer.Height(); }
  int RectWidth() const { return std::max(int(rect.right - rect.left), 1); }
  int VisibleLines() const { return Multi() ? std::max(int(rect.bottom - rect.top) / LineHeight(), 1) : 1; }
};

std::unordered_map<HWND, std::unique_ptr<EditWindow>>& Edits()
{
  static std::unordered_map<HWND, std::unique_ptr<EditWindow>> all;
  return all;
}

EditWindow* Of(HWND wnd)
{
  auto it = Edits().find(wnd);
  return it == Edits().end() ? nullptr : it->second.get();
}

// ---- Layout and scrolling -----------------------------------------------------------------------

bool Wraps(const EditWindow& e) { return e.Multi() && !(e.Style() & (WS_HSCROLL | ES_AUTOHSCROLL)); }

void ApplyStyle(EditWindow& e)
{
  DWORD s = e.Style();
  e.model.SetAlign((s & ES_RIGHT)    ? EditModel::Align::Right
                   : (s & ES_CENTER) ? EditModel::Align::Center
                                     : EditModel::Align::Left);
  e.model.SetCase((s & ES_UPPERCASE)   ? EditModel::Case::Upper
                  : (s & ES_LOWERCASE) ? EditModel::Case::Lower
                                       : EditModel::Case::Normal);
  e.model.SetNumberOnly(s & ES_NUMBER);
  // ES_PASSWORD set or cleared later (SetWindowLong) starts or ends the stars.
  bool password = (s & ES_PASSWORD) && !e.Multi();
  if (password && !e.model.PasswordChar()) e.model.SetPasswordChar('*');
  if (!password && e.model.PasswordChar()) e.model.SetPasswordChar(0);
}

void DefaultRect(EditWindow& e)
{
  RECT c;
  GetClientRect(e.wnd, &c);
  e.rect = c;
  e.rect.left += e.leftMargin;
  e.rect.right = std::max(e.rect.left, c.right - e.rightMargin);
  if (!e.Multi()) e.rect.bottom = std::min(c.bottom, e.rect.top + e.LineHeight());
}

void Relayout(EditWindow& e)
{
  if (!e.rectSet) DefaultRect(e);
  e.model.SetWrapWidth(Wraps(e) ? e.RectWidth() : 0);
}

int MaxTop(const EditWindow& e) { return std::max(e.model.LineCount() - e.VisibleLines(), 0); }

// The caret's point in client coordinates.
POINT PosFromChar(const EditWindow& e, int pos)
{
  int line = e.model.LineFromChar(pos);
  int x = e.rect.left + e.model.LineLeft(line, e.RectWidth()) + e.model.XInLine(line, pos) - e.xOffset;
  int y = e.rect.top + (line - e.topLine) * e.LineHeight();
  return {x, y};
}

int CharFromPoint(const EditWindow& e, int x, int y)
{
  int line = 0;
  if (e.Multi()) {
    int dy = y - int(e.rect.top);
    int rel = dy < 0 ? (dy - e.LineHeight() + 1) / e.LineHeight() : dy / e.LineHeight();
    line = std::clamp(e.topLine + rel, 0, e.model.LineCount() - 1);
  }
  int xc = x - int(e.rect.left) + e.xOffset - e.model.LineLeft(line, e.RectWidth());
  return e.model.CharAtX(line, xc);
}

// Sends an EN_ code to the parent. Answers false when the parent destroyed the edit meanwhile:
// the caller must not touch `e` then.
bool Notify(EditWindow& e, WORD code)
{
  HWND wnd = e.wnd, parent = GetParent(wnd);
  if (!parent || !(e.Style() & WS_CHILD)) return true;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), code), reinterpret_cast<LPARAM>(wnd));
  return Of(wnd) == &e;
}

void UpdateScrollBars(EditWindow& e)
{
  DWORD s = e.Style();
  if (s & WS_VSCROLL) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = e.model.LineCount() - 1;
    si.nPage = UINT(e.VisibleLines());
    si.nPos = e.topLine;
    if (si.nMax != e.lastV.nMax || si.nPage != e.lastV.nPage || si.nPos != e.lastV.nPos) {
      SetScrollInfo(e.wnd, SB_VERT, &si, TRUE);
      e.lastV = si;
    }
  }
  if (s & WS_HSCROLL) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(e.model.MaxLineWidth(), e.RectWidth()) - 1 + e.measurer.Average();
    si.nPage = UINT(e.RectWidth());
    si.nPos = e.xOffset;
    if (si.nMax != e.lastH.nMax || si.nPage != e.lastH.nPage || si.nPos != e.lastH.nPos) {
      SetScrollInfo(e.wnd, SB_HORZ, &si, TRUE);
      e.lastH = si;
    }
  }
}

void PlaceCaret(EditWindow& e)
{
  if (!e.focused) return;
  POINT p = PosFromChar(e, e.model.Caret());
  SetCaretPos(p.x, p.y);
  // Tell the back end where typing happens, so that an input method opens its window there.
  HWND top = GetAncestor(e.wnd, GA_ROOT);
  RECT tr;
  POINT sp = p;
  if (top && ClientToScreen(e.wnd, &sp) && GetWindowRect(top, &tr)) {
    RECT r{sp.x - tr.left, sp.y - tr.top, sp.x - tr.left + 1, sp.y - tr.top + e.LineHeight()};
    Backend::Current().TextInputAt(top, r);
  }
}

// Scrolls to `top` / `x`; answers whether anything moved. Sends EN_VSCROLL / EN_HSCROLL.
bool ScrollTo(EditWindow& e, int top, int x, bool notify = true)
{
  top = e.Multi() ? std::clamp(top, 0, MaxTop(e)) : 0;
  x = std::max(x, 0);
  bool v = top != e.topLine, h = x != e.xOffset;
  if (!v && !h) return false;
  if (notify && v && !Notify(e, EN_VSCROLL)) return false;
  if (notify && h && !Notify(e, EN_HSCROLL)) return false;
  e.topLine = top;
  e.xOffset = x;
  InvalidateRect(e.wnd, nullptr, TRUE);
  UpdateScrollBars(e);
  PlaceCaret(e);
  return true;
}

void ScrollCaret(EditWindow& e)
{
  int pos = e.model.Caret();
  int line = e.model.LineFromChar(pos);
  int top = e.topLine;
  if (e.Multi()) {
    if (line < top) top = line;
    if (line >= top + e.VisibleLines()) top = line - e.VisibleLines() + 1;
  }
  int x = e.xOffset;
  if (!Wraps(e)) {
    int cx = e.model.LineLeft(line, e.RectWidth()) + e.model.XInLine(line, pos);
    int w = e.RectWidth();
    if (cx < x) x = std::max(cx - w / 4, 0);
    if (cx >= x + w) x = cx - w + w / 4;
    // Text that fits needs no scrolling.
    if (e.model.LineAt(line).width <= w && !e.Multi()) x = 0;
  } else
    x = 0;
  ScrollTo(e, top, x, false);
}

// After the caret or selection moved.
void Moved(EditWindow& e)
{
  ScrollCaret(e);
  PlaceCaret(e);
  InvalidateRect(e.wnd, nullptr, TRUE);
}

// After the text may have changed.
void Changed(EditWindow& e, const EditModel::Result& r)
{
  if (r.changed) {
    e.topLine = std::min(e.topLine, MaxTop(e));
    ScrollCaret(e);
    UpdateScrollBars(e);
    PlaceCaret(e);
    if (!Notify(e, EN_UPDATE)) return;
    InvalidateRect(e.wnd, nullptr, TRUE);
    if (!Notify(e, EN_CHANGE)) return;
  } else
    Moved(e);
  if (r.truncated) Notify(e, EN_MAXTEXT);
}

// ---- Painting -------------------------------------------------------------------------------------

void DrawSpan(EditWindow& e, HDC dc, int line, int from, int to, int x0, int y, const std::vector<int>& xs,
              bool selected)
{
  if (from >= to) return;
  const auto& l = e.model.LineAt(line);
  int a = xs[size_t(from - l.start)], b = xs[size_t(to - l.start)];
  if (selected) {
    RECT r{x0 + a, y, x0 + b, y + e.LineHeight()};
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  // Each byte's advance as the model measured it (a trail byte adds nothing), tabs drawn blank.
  std::string text = e.model.Visible(from, to);
  std::vector<int> dx(text.size(), 0);
  if (e.model.PasswordChar()) {
    for (size_t i = 0, p = size_t(from); i < text.size(); ++i) {
      size_t q = size_t(e.model.NextChar(int(p)));
      dx[i] = xs[q - size_t(l.start)] - xs[p - size_t(l.start)];
      p = q;
    }
  } else {
    for (int p = from; p < to;) {
      int q = p + ((static_cast<unsigned char>(text[size_t(p - from)]) >= 0x81 &&
                    static_cast<unsigned char>(text[size_t(p - from)]) <= 0xFE && p + 1 < to)
                       ? 2
                       : 1);
      dx[size_t(p - from)] = xs[size_t(q - l.start)] - xs[size_t(p - l.start)];
      if (text[size_t(p - from)] == '\t') text[size_t(p - from)] = ' ';
      p = q;
    }
  }
  COLORREF old = 0;
  if (selected) old = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  ExtTextOut(dc, x0 + a, y, 0, nullptr, text.data(), int(text.size()), dx.data());
  if (selected) SetTextColor(dc, old);
}

void Paint(EditWindow& e)
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(e.wnd, &ps);
  if (!dc) return;
  bool enabled = IsWindowEnabled(e.wnd);
  HBRUSH back = CommCtrl::ControlColor(e.wnd, dc, (e.ReadOnly() || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  RECT client;
  GetClientRect(e.wnd, &client);
  FillRect(dc, &client, back);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ oldFont = SelectObject(dc, e.font ? HGDIOBJ(e.font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, e.rect.left, e.rect.top, e.rect.right, e.rect.bottom);
  bool showSel = e.model.HasSelection() && (e.focused || (e.Style() & ES_NOHIDESEL));
  int ss = showSel ? e.model.SelStart() : 0, se = showSel ? e.model.SelEnd() : 0;
  int last = std::min(e.model.LineCount() - 1, e.topLine + e.VisibleLines());
  std::vector<int> xs;
  for (int line = e.topLine; line <= last; ++line) {
    const auto& l = e.model.LineAt(line);
    int y = int(e.rect.top) + (line - e.topLine) * e.LineHeight();
    if (y >= ps.rcPaint.bottom || y >= e.rect.bottom) break;
    if (y + e.LineHeight() <= ps.rcPaint.top) continue;
    // x of every byte offset of the line (trail bytes repeat their lead's).
    xs.assign(size_t(l.end - l.start) + 1, 0);
    int x = 0;
    for (int p = l.start; p < l.end;) {
      int q = e.model.NextChar(p);
      if (q > l.end || q <= p) q = p + 1;
      int w = e.model.WidthAt(p, x);
      for (int k = p + 1; k < q; ++k) xs[size_t(k - l.start)] = x;
      x += w;
      xs[size_t(q - l.start)] = x;
      p = q;
    }
    int x0 = int(e.rect.left) + e.model.LineLeft(line, e.RectWidth()) - e.xOffset;
    int a = std::clamp(ss, l.start, l.end), b = std::clamp(se, l.start, l.end);
    DrawSpan(e, dc, line, l.start, a, x0, y, xs, false);
    DrawSpan(e, dc, line, a, b, x0, y, xs, true);
    DrawSpan(e, dc, line, b, l.end, x0, y, xs, false);
  }
  RestoreDC(dc, saved);
  SelectObject(dc, oldFont);
  EndPaint(e.wnd, &ps);
}

// ---- Clipboard ------------------------------------------------------------------------------------

void Copy(EditWindow& e)
{
  // A password is never copied.
  if (e.model.PasswordChar() || !e.model.HasSelection()) return;
  Clipboard::SetText(e.model.SelectedText());
}

void ClearSel(EditWindow& e)
{
  if (e.ReadOnly()) return;
  Changed(e, e.model.Clear());
}

void Cut(EditWindow& e)
{
  if (e.model.PasswordChar() || e.ReadOnly()) return;
  Copy(e);
  ClearSel(e);
}

void Paste(EditWindow& e)
{
  if (e.ReadOnly()) return;
  // CP936 text; text offered only as UTF-16 is converted by the clipboard.
  AnsiString text = Clipboard::GetText();
  if (text.empty()) return;
  Changed(e, e.model.ReplaceSel(text));
}

void Undo(EditWindow& e)
{
  bool changed = e.model.Undo();
  Changed(e, {changed, false});
}

// ---- Keys and characters ------------------------------------------------------------------------

void Char(EditWindow& e, unsigned char c)
{
  if (!e.model.PendingLead()) {
    switch (c) {
      case 0x03: Copy(e); return;
      case 0x16: Paste(e); return;
      case 0x18: Cut(e); return;
      case 0x1A: Undo(e); return;
      case 0x01:
        e.model.SelectAll();
        Moved(e);
        return;
      case 0x1B: return;
      case VK_BACK:
        if (e.ReadOnly()) {
          MessageBeep(0);
          return;
        }
        Changed(e, e.model.DeleteBack());
        return;
      case '\r':
      case '\n':
        if (!e.Multi()) {
          MessageBeep(0);
          return;
        }
        break;
      case '\t':
        if (!e.Multi()) return;
        break;
      default:
        if (c < 0x20) return;
    }
  }
  if (e.ReadOnly()) {
    e.model.DropPendingLead();
    MessageBeep(0);
    return;
  }
  bool refused = false;
  EditModel::Result r = e.model.TypeByte(c, &refused);
  if (refused) {
    MessageBeep(0);
    return;
  }
  if (e.model.PendingLead()) return;  // the trail byte comes next
  if (r.truncated && !r.changed) MessageBeep(0);
  Changed(e, r);
}

void KeyDown(EditWindow& e, int vk)
{
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  EditModel& m = e.model;
  int caret = m.Caret(), target = -1;
  auto lineMove = [&](int lines) {
    int line = m.LineFromChar(caret);
    int x = m.LineLeft(line, e.RectWidth()) + m.XInLine(line, caret);
    int to = std::clamp(line + lines, 0, m.LineCount() - 1);
    return m.CharAtX(to, x - m.LineLeft(to, e.RectWidth()));
  };
  switch (vk) {
    case VK_LEFT:
      target = (m.HasSelection() && !shift && !ctrl) ? m.SelStart() : ctrl ? m.PrevWord(caret) : m.PrevChar(caret);
      break;
    case VK_RIGHT:
      target = (m.HasSelection() && !shift && !ctrl) ? m.SelEnd() : ctrl ? m.NextWord(caret) : m.NextChar(caret);
      break;
    case VK_UP: target = e.Multi() ? lineMove(-1) : m.PrevChar(caret); break;
    case VK_DOWN: target = e.Multi() ? lineMove(1) : m.NextChar(caret); break;
    case VK_HOME: target = ctrl ? 0 : m.LineAt(m.LineFromChar(caret)).start; break;
    case VK_END: target = ctrl ? m.Length() : m.LineAt(m.LineFromChar(caret)).end; break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!e.Multi()) return;
      int page = vk == VK_PRIOR ? -e.VisibleLines() : e.VisibleLines();
      target = lineMove(page);
      HWND wnd = e.wnd;
      ScrollTo(e, e.topLine + page, e.xOffset);
      if (Of(wnd) != &e) return;
      break;
    }
    case VK_DELETE:
      if (shift)
        Cut(e);
      else if (e.ReadOnly())
        MessageBeep(0);
      else
        Changed(e, m.DeleteForward());
      return;
    case VK_INSERT:
      if (ctrl)
        Copy(e);
      else if (shift)
        Paste(e);
      return;
    default: return;
  }
  m.MoveCaret(target, shift);
  Moved(e);
}

// ---- The mouse -----------------------------------------------------------------------------------------

void DragTo(EditWindow& e, int x, int y)
{
  // Outside the formatting rectangle the text scrolls towards the pointer.
  int top = e.topLine, xo = e.xOffset;
  if (e.Multi() && y < e.rect.top) top -= 1;
  if (e.Multi() && y >= e.rect.bottom) top += 1;
  if (!Wraps(e) && x < e.rect.left) xo -= e.measurer.Average();
  if (!Wraps(e) && x >= e.rect.right) xo += e.measurer.Average();
  HWND wnd = e.wnd;
  ScrollTo(e, top, xo);
  if (Of(wnd) != &e) return;
  e.model.MoveCaret(CharFromPoint(e, x, y), true);
  PlaceCaret(e);
  InvalidateRect(e.wnd, nullptr, TRUE);
  bool outside = x < e.rect.left || x >= e.rect.right || y < e.rect.top || y >= e.rect.bottom;
  if (outside && !e.timerOn) e.timerOn = SetTimer(e.wnd, kScrollTimer, 50, nullptr) != 0;
  if (!outside && e.timerOn) {
    KillTimer(e.wnd, kScrollTimer);
    e.timerOn = false;
  }
}

void EndDrag(EditWindow& e)
{
  e.tracking = false;
  if (e.timerOn) KillTimer(e.wnd, kScrollTimer);
  e.timerOn = false;
}

// ---- Scroll messages ----------------------------------------------------------------------------

// The thumb's position: the 32-bit track position of the bar being dragged, never the 16 bits
// of the message, so that texts of more than 65,535 lines scroll to the right place.
int ThumbPos(EditWindow& e, int bar, WPARAM wParam, LPARAM lParam)
{
  SCROLLINFO si;
  si.fMask = SIF_TRACKPOS;
  HWND ctl = reinterpret_cast<HWND>(lParam);
  if (ctl && GetScrollInfo(ctl, SB_CTL, &si)) return si.nTrackPos;
  if (!ctl && GetScrollInfo(e.wnd, bar, &si)) return si.nTrackPos;
  return HIWORD(wParam);
}

void VScroll(EditWindow& e, WPARAM wParam, LPARAM lParam)
{
  if (!e.Multi()) return;
  int top = e.topLine, page = e.VisibleLines();
  switch (LOWORD(wParam)) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = MaxTop(e); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = ThumbPos(e, SB_VERT, wParam, lParam); break;
    default: return;
  }
  ScrollTo(e, top, e.xOffset);
}

void HScroll(EditWindow& e, WPARAM wParam, LPARAM lParam)
{
  int x = e.xOffset, w = e.RectWidth(), step = e.measurer.Average();
  int most = std::max(e.model.MaxLineWidth() + step - w, 0);
  switch (LOWORD(wParam)) {
    case SB_LINELEFT: x -= step; break;
    case SB_LINERIGHT: x += step; break;
    case SB_PAGELEFT: x -= w; break;
    case SB_PAGERIGHT: x += w; break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = most; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: x = ThumbPos(e, SB_HORZ, wParam, lParam); break;
    default: return;
  }
  ScrollTo(e, e.topLine, std::min(x, most));
}

// ---- Creation and fonts ------------------------------------------------------------------------

void SetFont(EditWindow& e, HFONT font, bool redraw)
{
  e.font = font;
  e.measurer.SetFont(font);
  e.model.SetMeasurer(&e.measurer);
  Relayout(e);
  if (e.focused) {
    CreateCaret(e.wnd, nullptr, 0, e.LineHeight());
    ShowCaret(e.wnd);
  }
  ScrollCaret(e);
  UpdateScrollBars(e);
  PlaceCaret(e);
  if (redraw) InvalidateRect(e.wnd, nullptr, TRUE);
}

LRESULT Create(HWND wnd, const CREATESTRUCTA* cs)
{
  auto owned = std::make_unique<EditWindow>(wnd, DWORD(cs->style));
  EditWindow& e = *owned;
  Edits()[wnd] = std::move(owned);
  ApplyStyle(e);
  SetFont(e, nullptr, false);
  e.model.SetText(cs->lpszName ? cs->lpszName : "");
  return TRUE;
}

}  // namespace

// ---- The message switch -----------------------------------------------------------------------------

void Register()
{
  WNDCLASSEXA probe;
  if (GetClassInfoEx(nullptr, "EDIT", &probe)) return;
  WNDCLASSEXA wc;
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = WndProc;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = "EDIT";
  RegisterClassEx(&wc);
}

const EditModel* ModelOf(HWND wnd)
{
  EditWindow* e = Of(wnd);
  return e ? &e->model : nullptr;
}

LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_NCCREATE) {
    Create(wnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    return DefWindowProc(wnd, msg, wParam, lParam);
  }
  EditWindow* ep = Of(wnd);
  if (!ep) return DefWindowProc(wnd, msg, wParam, lParam);
  EditWindow& e = *ep;
  EditModel& m = e.model;
  switch (msg) {
    case WM_NCDESTROY: {
      std::unique_ptr<EditWindow> gone = std::move(Edits()[wnd]);
      Edits().erase(wnd);
      return DefWindowProc(wnd, msg, wParam, lParam);
    }
    case WM_SIZE:
      Relayout(e);
      e.topLine = std::min(e.topLine, MaxTop(e));
      ScrollCaret(e);
      UpdateScrollBars(e);
      PlaceCaret(e);
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case WM_STYLECHANGED:
      ApplyStyle(e);
      Relayout(e);
      InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills the background in the control's colour
    case WM_PAINT: Paint(e); return 0;
    case WM_ENABLE: InvalidateRect(wnd, nullptr, TRUE); return 0;
    case WM_SETFONT: SetFont(e, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(e.font);
    case WM_SETTEXT: {
      bool changed = m.SetText(lParam ? reinterpret_cast<const char*>(lParam) : "");
      e.topLine = 0;
      e.xOffset = 0;
      Changed(e, {changed, false});
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      // Never cut a double-byte character in two: a cut that would stops before it.
      std::string s = m.Prefix(int(std::min<WPARAM>(wParam - 1, 0x7FFFFFFF)));
      std::copy(s.begin(), s.end(), reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[s.size()] = 0;
      return LRESULT(s.size());
    }
    case WM_GETTEXTLENGTH: return m.Length();
    case WM_SETFOCUS:
      e.focused = true;
      CreateCaret(wnd, nullptr, 0, e.LineHeight());
      PlaceCaret(e);
      ShowCaret(wnd);
      InvalidateRect(wnd, nullptr, TRUE);
      Notify(e, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      e.focused = false;
      m.DropPendingLead();
      DestroyCaret();
      InvalidateRect(wnd, nullptr, TRUE);
      Notify(e, EN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (e.Multi()) {
        code |= DLGC_WANTALLKEYS;
        // Without ES_WANTRETURN, Enter is left to the dialog's default button.
        auto* m2 = reinterpret_cast<const MSG*>(lParam);
        if (m2 && m2->message == WM_KEYDOWN && m2->wParam == WPARAM(VK_RETURN) && !(e.Style() & ES_WANTRETURN))
          code &= ~DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_CHAR: Char(e, static_cast<unsigned char>(wParam & 0xFF)); return 0;
    case WM_KEYDOWN: KeyDown(e, int(wParam)); return 0;
    case WM_CUT: Cut(e); return 0;
    case WM_COPY: Copy(e); return 0;
    case WM_PASTE: Paste(e); return 0;
    case WM_CLEAR: ClearSel(e); return 0;
    case WM_UNDO:
    case EM_UNDO: {
      bool could = m.CanUndo();
      Undo(e);
      return could;
    }
    case WM_LBUTTONDOWN: {
      if (GetFocus() != wnd) SetFocus(wnd);
      int pos = CharFromPoint(e, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      m.MoveCaret(pos, (wParam & MK_SHIFT) != 0);
      e.tracking = true;
      SetCapture(wnd);
      Moved(e);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      int s, t;
      m.WordAt(CharFromPoint(e, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), &s, &t);
      m.SetSel(s, t);
      Moved(e);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (e.tracking && GetCapture() == wnd) DragTo(e, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kScrollTimer && e.tracking) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(wnd, &p);
        DragTo(e, p.x, p.y);
      }
      return 0;
    case WM_LBUTTONUP:
      if (e.tracking) {
        EndDrag(e);
        if (GetCapture() == wnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED: EndDrag(e); return 0;
    case WM_MOUSEWHEEL: {
      if (!e.Multi()) return 0;
      UINT lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      ScrollTo(e, e.topLine - GET_WHEEL_DELTA_WPARAM(wParam) * int(lines) / WHEEL_DELTA, e.xOffset);
      return 0;
    }
    case WM_VSCROLL: VScroll(e, wParam, lParam); return 0;
    case WM_HSCROLL: HScroll(e, wParam, lParam); return 0;

    // ---- EM_ ------------------------------------------------------------------------------------
    case EM_GETSEL: {
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(m.SelStart());
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(m.SelEnd());
      return MAKELPARAM(std::min(m.SelStart(), 0xFFFF), std::min(m.SelEnd(), 0xFFFF));
    }
    case EM_SETSEL:
      m.SetSel(int(std::int32_t(wParam)), int(std::int32_t(lParam)));
      Moved(e);
      return 0;
    case EM_REPLACESEL:
      Changed(e, m.ReplaceSel(lParam ? reinterpret_cast<const char*>(lParam) : "", wParam != 0));
      return 0;
    case EM_LIMITTEXT: m.SetLimit(int(std::min<WPARAM>(wParam, 0x7FFFFFFE))); return 0;
    case EM_GETLIMITTEXT: return m.Limit();
    case EM_GETMODIFY: return m.Modified();
    case EM_SETMODIFY: m.SetModified(wParam != 0); return 0;
    case EM_CANUNDO: return m.CanUndo();
    case EM_EMPTYUNDOBUFFER: m.EmptyUndo(); return 0;
    case EM_SETREADONLY:
      SetWindowLongPtr(wnd, GWL_STYLE, LONG_PTR(wParam ? (e.Style() | ES_READONLY) : (e.Style() & ~ES_READONLY)));
      InvalidateRect(wnd, nullptr, TRUE);
      return TRUE;
    case EM_SETPASSWORDCHAR:
      if (e.Multi()) return 0;
      m.SetPasswordChar(char(wParam & 0xFF));
      SetWindowLongPtr(wnd, GWL_STYLE, LONG_PTR(wParam ? (e.Style() | ES_PASSWORD) : (e.Style() & ~ES_PASSWORD)));
      Moved(e);
      return 0;
    case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(m.PasswordChar());
    case EM_SETMARGINS: {
      int l = LOWORD(lParam), r = HIWORD(lParam);
      if (wParam == EC_USEFONTINFO) l = r = e.measurer.Average() / 2;
      if (wParam & EC_LEFTMARGIN || wParam == EC_USEFONTINFO) e.leftMargin = l;
      if (wParam & EC_RIGHTMARGIN || wParam == EC_USEFONTINFO) e.rightMargin = r;
      if (!e.rectSet) Relayout(e);
      Moved(e);
      return 0;
    }
    case EM_GETMARGINS: return MAKELPARAM(e.leftMargin, e.rightMargin);
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = e.rect;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: {
      if (lParam) {
        e.rect = *reinterpret_cast<const RECT*>(lParam);
        e.rectSet = true;
      } else
        e.rectSet = false;
      Relayout(e);
      e.topLine = std::min(e.topLine, MaxTop(e));
      UpdateScrollBars(e);
      PlaceCaret(e);
      if (msg == EM_SETRECT) InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    }
    case EM_SCROLLCARET:
      ScrollCaret(e);
      PlaceCaret(e);
      return TRUE;
    case EM_LINESCROLL: {
      if (!e.Multi()) return FALSE;
      ScrollTo(e, e.topLine + int(std::int32_t(lParam)), e.xOffset + int(std::int32_t(wParam)) * e.measurer.Average());
      return TRUE;
    }
    case EM_SCROLL: {
      if (!e.Multi()) return FALSE;
      int before = e.topLine;
      WORD code = LOWORD(wParam);
      if (code > SB_PAGEDOWN) return FALSE;
      VScroll(e, code, 0);
      return LRESULT(WORD(e.topLine - before)) | (LRESULT(TRUE) << 16);
    }
    case EM_GETTHUMB: {
      SCROLLINFO si;
      si.fMask = SIF_POS;
      return GetScrollInfo(wnd, SB_VERT, &si) ? si.nPos : 0;
    }
    case EM_GETLINECOUNT: return e.Multi() ? m.LineCount() : 1;
    case EM_GETFIRSTVISIBLELINE: return e.Multi() ? e.topLine : m.CharAtX(0, e.xOffset);
    case EM_LINEFROMCHAR: {
      int pos = int(std::int32_t(wParam));
      if (pos < 0) pos = m.SelStart();
      return e.Multi() ? m.LineFromChar(std::min(pos, m.Length())) : 0;
    }
    case EM_LINEINDEX: {
      int line = int(std::int32_t(wParam));
      if (line < 0) line = m.LineFromChar(m.Caret());
      if (!e.Multi()) return line == 0 ? 0 : -1;
      return line < m.LineCount() ? m.LineAt(line).start : -1;
    }
    case EM_LINELENGTH: {
      int pos = int(std::int32_t(wParam));
      if (pos < 0) {
        // The unselected characters of the lines the selection touches.
        int a = m.LineFromChar(m.SelStart()), b = m.LineFromChar(m.SelEnd());
        return (m.SelStart() - m.LineAt(a).start) + (m.LineAt(b).end - std::min(m.SelEnd(), m.LineAt(b).end));
      }
      const auto& l = m.LineAt(e.Multi() ? m.LineFromChar(std::min(pos, m.Length())) : 0);
      return l.end - l.start;
    }
    case EM_GETLINE: {
      // The buffer's first WORD holds its size; the line is not zero-terminated.
      int line = e.Multi() ? int(wParam) : 0;
      if (!lParam || line < 0 || line >= m.LineCount()) return 0;
      auto* buf = reinterpret_cast<char*>(lParam);
      int size = int(*reinterpret_cast<const WORD*>(buf));
      const auto& l = m.LineAt(line);
      std::string s = m.Text().substr(size_t(l.start), size_t(l.end - l.start));
      // Whole characters only: stop before one that would not fit.
      size_t keep = 0;
      while (keep < s.size()) {
        size_t step =
            (static_cast<unsigned char>(s[keep]) >= 0x81 && static_cast<unsigned char>(s[keep]) <= 0xFE) ? 2 : 1;
        if (keep + step > size_t(std::max(size, 0))) break;
        keep += step;
      }
      s.resize(keep);
      std::copy(s.begin(), s.end(), buf);
      return LRESULT(s.size());
    }
    case EM_POSFROMCHAR: {
      int pos = int(std::int32_t(wParam));
      if (pos < 0 || pos > m.Length()) return -1;
      POINT p = PosFromChar(e, pos);
      return MAKELPARAM(p.x, p.y);
    }
    case EM_CHARFROMPOS: {
      int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      int pos = CharFromPoint(e, x, y);
      return MAKELPARAM(std::min(pos, 0xFFFF), std::min(e.Multi() ? m.LineFromChar(pos) : 0, 0xFFFF));
    }
    default: return DefWindowProc(wnd, msg, wParam, lParam);
  }
}

}  // namespace Edit
