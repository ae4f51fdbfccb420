#include "platform/gdi/text/DrawText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/text/TextCore.h"
#include "platform/rtl/AnsiStrings.h"

namespace Windows {

using namespace GdiInternal;

namespace {

struct TItem {
  TTextChar C;
  bool Underline = false;
};
using TLine = std::vector<TItem>;

bool IsWide(char32_t c)
{
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x3000 && c <= 0x303F);
}

class TLayout {
public:
  TLayout(TFontInstance& font, int tabWidth) : FFont(font), FTab(tabWidth) {}

  int Advance(const TItem& it, int x)
  {
    if (it.C.Cp == U'\t' && FTab > 0) return (x / FTab + 1) * FTab - x;
    return FFont.Advance(it.C.Cp);
  }
  int Width(const TLine& l)
  {
    int x = 0;
    for (const TItem& it : l) x += Advance(it, x);
    return x;
  }
  // Fits the line into `w` with "..." per the ellipsis flag.
  TLine Ellipsize(const TLine& line, int w, UINT fmt)
  {
    TLine dots;
    for (int i = 0; i < 3; ++i) dots.push_back(TItem{TTextChar{U'.', 1}, false});
    int dw = Width(dots);
    auto endEllipsis = [&](const TLine& l, bool atWord) {
      TLine out;
      int x = 0;
      std::size_t keep = 0, lastSpace = 0;
      for (std::size_t i = 0; i < l.size(); ++i) {
        int a = Advance(l[i], x);
        if (x + a + dw > w) break;
        x += a;
        keep = i + 1;
        if (l[i].C.Cp == U' ') lastSpace = i;
      }
      if (atWord && lastSpace > 0 && keep < l.size()) keep = lastSpace;
      out.assign(l.begin(), l.begin() + std::ptrdiff_t(keep));
      out.insert(out.end(), dots.begin(), dots.end());
      return out;
    };
    if (fmt & DT_PATH_ELLIPSIS) {
      std::size_t sep = line.size();
      for (std::size_t i = line.size(); i-- > 0;)
        if (line[i].C.Cp == U'\\' || line[i].C.Cp == U'/') {
          sep = i;
          break;
        }
      if (sep < line.size()) {
        TLine tail(line.begin() + std::ptrdiff_t(sep), line.end());
        int tw = Width(tail);
        if (tw + dw <= w) {
          TLine head;
          int x = 0;
          for (std::size_t i = 0; i < sep; ++i) {
            int a = FFont.Advance(line[i].C.Cp);
            if (x + a + dw + tw > w) break;
            x += a;
            head.push_back(line[i]);
          }
          head.insert(head.end(), dots.begin(), dots.end());
          head.insert(head.end(), tail.begin(), tail.end());
          return head;
        }
        TLine t2 = dots;
        t2.insert(t2.end(), tail.begin(), tail.end());
        return Width(t2) <= w ? t2 : endEllipsis(tail, false);
      }
    }
    return endEllipsis(line, (fmt & DT_WORD_ELLIPSIS) != 0);
  }

private:
  TFontInstance& FFont;
  int FTab;
};

int DrawTextCore(HDC hdc, const std::vector<TTextChar>& chars, RECT* rect, UINT fmt, DRAWTEXTPARAMS* params,
                 std::vector<TTextChar>* shown)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !rect) return 0;
  TRowWindow rows = DrawRows(dc);
  std::shared_ptr<TFontInstance> fontPtr = FontOf(dc);
  if (fmt & DT_INTERNAL) {
    // Measured and drawn in the system font whatever font is selected.
    TFontObj* sys = GdiInternal::Font(static_cast<HFONT>(Stock(SYSTEM_FONT)));
    if (sys) fontPtr = TFontInstance::Get(sys->Log, std::fabs(MappingOf(dc).Sy), dc->Surface == TSurfaceKind::Vector);
  }
  if (!fontPtr) return 0;
  TFontInstance& font = *fontPtr;
  TEXTMETRICA tm = font.Metrics();
  TMapping m = MappingOf(dc);
  int tabChars = 8;
  if (fmt & DT_TABSTOP) {
    tabChars = int((fmt >> 8) & 0xFF);
    fmt &= ~UINT(0xFF00);
  } else if (params && params->iTabLength > 0) {
    tabChars = params->iTabLength;
  }
  if (tabChars <= 0) tabChars = 8;
  int tabW = (fmt & DT_EXPANDTABS) ? tabChars * std::max(1, int(tm.tmAveCharWidth)) : 0;
  int lineH = tm.tmHeight + ((fmt & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  bool single = (fmt & DT_SINGLELINE) != 0;
  bool ellipsis = (fmt & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0;

  RECT dev = RectToDevice(dc, *rect);
  int lm = params ? int(std::lround(params->iLeftMargin * std::fabs(m.Sx))) : 0;
  int rm = params ? int(std::lround(params->iRightMargin * std::fabs(m.Sx))) : 0;
  dev.left += lm;
  dev.right -= rm;
  int W = std::max<LONG>(0, dev.right - dev.left);

  // Prefixes: "&x" underlines x, "&&" is "&".
  std::vector<TItem> items;
  items.reserve(chars.size());
  bool prefixes = !(fmt & DT_NOPREFIX);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (prefixes && chars[i].Cp == U'&') {
      if (i + 1 < chars.size()) {
        ++i;
        bool under = chars[i].Cp != U'&' && !(fmt & DT_HIDEPREFIX);
        TTextChar c = chars[i];
        c.Units += chars[i - 1].Units;
        items.push_back(TItem{c, under});
      }
      continue;
    }
    items.push_back(TItem{chars[i], false});
  }

  TLayout lay(font, tabW);
  std::vector<TLine> lines;
  TLine cur;
  bool wrap = (fmt & DT_WORDBREAK) && !single;
  bool cjkBreak = !(fmt & DT_NOFULLWIDTHCHARBREAK);
  int curW = 0;
  std::ptrdiff_t lastBreak = -1;  // items of `cur` before this index may end a line
  auto pushLine = [&](TLine&& l) { lines.push_back(std::move(l)); };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TItem& it = items[i];
    char32_t c = it.C.Cp;
    if (c == U'\r' || c == U'\n') {
      if (single) continue;
      pushLine(std::move(cur));
      cur.clear();
      curW = 0;
      lastBreak = -1;
      if (c == U'\r' && i + 1 < items.size() && items[i + 1].C.Cp == U'\n') ++i;
      continue;
    }
    if (wrap && c != U' ' && !cur.empty()) {
      if (cjkBreak && IsWide(c)) lastBreak = std::ptrdiff_t(cur.size());
      if (curW + lay.Advance(it, curW) > W) {
        if (lastBreak > 0) {
          TLine head(cur.begin(), cur.begin() + lastBreak);
          TLine rest(cur.begin() + lastBreak, cur.end());
          while (!head.empty() && head.back().C.Cp == U' ') head.pop_back();
          std::size_t skip = 0;
          while (skip < rest.size() && rest[skip].C.Cp == U' ') ++skip;
          rest.erase(rest.begin(), rest.begin() + std::ptrdiff_t(skip));
          pushLine(std::move(head));
          cur = std::move(rest);
          lastBreak = -1;
          // The remaining part of a word may itself be too long.
          curW = lay.Width(cur);
          if (!cur.empty() && !ellipsis && curW + lay.Advance(it, curW) > W) {
            pushLine(std::move(cur));
            cur.clear();
            curW = 0;
          }
        } else if (!ellipsis) {
          pushLine(std::move(cur));
          cur.clear();
          curW = 0;
          lastBreak = -1;
        }
      }
    }
    curW += lay.Advance(it, curW);
    cur.push_back(it);
    if (c == U' ' || c == U'\t')
      lastBreak = std::ptrdiff_t(cur.size());
    else if (cjkBreak && IsWide(c))
      lastBreak = std::ptrdiff_t(cur.size());
  }
  pushLine(std::move(cur));

  bool modified = false;
  if (ellipsis)
    for (TLine& l : lines)
      if (lay.Width(l) > W) {
        l = lay.Ellipsize(l, W, fmt);
        modified = true;
      }
  if (shown && modified && single) {
    shown->clear();
    for (const TItem& it : lines[0]) shown->push_back(it.C);
  }

  int maxW = 0;
  for (const TLine& l : lines) maxW = std::max(maxW, lay.Width(l));
  int n = int(lines.size());
  int totalH = n * lineH;
  if (params) {
    UINT units = 0;
    for (const TTextChar& c : chars) units += UINT(c.Units);
    params->uiLengthDrawn = units;
  }

  int top = dev.top;
  if (single) {
    if (fmt & DT_VCENTER)
      top = dev.top + (int(dev.bottom - dev.top) - lineH) / 2;
    else if (fmt & DT_BOTTOM)
      top = dev.bottom - lineH;
  }
  int result = (single && (fmt & (DT_VCENTER | DT_BOTTOM))) ? (top - dev.top) + totalH : totalH;

  if (fmt & DT_CALCRECT) {
    POINT a{dev.left - lm, dev.top}, b{dev.left + maxW + rm, dev.top + totalH};
    // Back to logical units, keeping the rectangle's left and top.
    POINT pts[2] = {a, b};
    DPtoLP(hdc, pts, 2);
    rect->right = rect->left + std::abs(pts[1].x - pts[0].x);
    rect->bottom = rect->top + std::abs(pts[1].y - pts[0].y);
    return ToLogicalY(dc, result);
  }

  RECT clipRect{dev.left, dev.top, dev.right, dev.bottom};
  const RECT* clip = (fmt & DT_NOCLIP) ? nullptr : &clipRect;
  std::uint32_t color = ToPixel(dc->State.TextColor), bk = ToPixel(dc->State.BkColor);
  for (int li = 0; li < n; ++li) {
    int y = top + li * lineH;
    if ((fmt & DT_EDITCONTROL) && li > 0 && y + lineH > dev.bottom) break;
    if (clip && y >= dev.bottom) break;
    const TLine& l = lines[std::size_t(li)];
    int w = lay.Width(l);
    int x = dev.left;
    if (fmt & DT_CENTER)
      x = dev.left + (W - w) / 2;
    else if (fmt & DT_RIGHT)
      x = dev.right - w;
    std::vector<TTextChar> cs;
    std::vector<int> adv;
    int pos = 0;
    for (const TItem& it : l) {
      int a = lay.Advance(it, pos);
      pos += a;
      if (it.C.Cp == U'\t' && tabW > 0) {
        if (!adv.empty())
          adv.back() += a;
        else {
          cs.push_back(TTextChar{U' ', 0});
          adv.push_back(a);
        }
        continue;
      }
      cs.push_back(it.C);
      adv.push_back(a);
    }
    if (dc->State.BkMode == OPAQUE && w > 0) {
      TRegionData box = TRegionData::FromRect(x, y, x + w, y + lineH);
      if (clip)
        box =
            TRegionData::Combine(box, TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom), RGN_AND);
      PaintShapeColor(dc, box, bk, R2_COPYPEN);
    }
    if (!(fmt & DT_PREFIXONLY)) DrawGlyphRun(dc, font, x, y + tm.tmAscent, cs, adv, color, clip);
    int ux = x, upos = 0;
    for (const TItem& it : l) {
      int a = lay.Advance(it, upos);
      if (it.Underline) {
        int uy = y + tm.tmAscent + font.UnderlinePos();
        TRegionData u = TRegionData::FromRect(ux, uy, ux + a, uy + font.UnderlineSize());
        if (clip)
          u = TRegionData::Combine(u, TRegionData::FromRect(clip->left, clip->top, clip->right, clip->bottom), RGN_AND);
        PaintShapeColor(dc, u, color, R2_COPYPEN);
      }
      ux += a;
      upos += a;
    }
  }
  return ToLogicalY(dc, result);
}

}  // namespace

int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format)
{
  return DrawTextCore(dc, DecodeAnsi(text, count), rect, format & ~DT_MODIFYSTRING, nullptr, nullptr);
}

int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format)
{
  return DrawTextCore(dc, DecodeWide(text, count), rect, format & ~DT_MODIFYSTRING, nullptr, nullptr);
}

int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
  std::vector<TTextChar> shown;
  bool modify = (format & DT_MODIFYSTRING) && text;
  if (modify && count < 0) count = int(std::strlen(text));
  int r = DrawTextCore(dc, DecodeAnsi(text, count), rect, format, params, modify ? &shown : nullptr);
  if (modify && !shown.empty()) {
    // Re-encode what was shown; it is never longer than the text plus the three dots.
    AnsiString out;
    for (const TTextChar& c : shown) {
      if (c.Cp < 0x80)
        out += char(c.Cp);
      else
        out += System::WideToAnsi(WideString(1, char16_t(c.Cp)));
    }
    std::size_t room = std::size_t(count) + 4;
    std::size_t n = std::min(out.size(), room - 1);
    std::memcpy(text, out.data(), n);
    text[n] = 0;
  }
  return r;
}

int DrawTextExW(HDC dc, char16_t* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
  std::vector<TTextChar> shown;
  bool modify = (format & DT_MODIFYSTRING) && text;
  if (modify && count < 0) {
    count = 0;
    while (text[count]) ++count;
  }
  int r = DrawTextCore(dc, DecodeWide(text, count), rect, format, params, modify ? &shown : nullptr);
  if (modify && !shown.empty()) {
    std::size_t n = 0, room = std::size_t(count) + 4;
    for (const TTextChar& c : shown) {
      if (n + 1 >= room) break;
      text[n++] = char16_t(c.Cp);
    }
    text[n] = 0;
  }
  return r;
}

}  // namespace Windows
