#include "report/engine/text/frxGraphicUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr Extended MeasureDpi = 600;
constexpr Extended ScreenDpi = 96;
constexpr Extended K = MeasureDpi / ScreenDpi;

int Round(Extended v) { return static_cast<int>(std::lround(v)); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(const AnsiString& s, size_t pos, const char* what)
{
  size_t n = std::strlen(what);
  if (pos + n > s.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (Lower(s[pos + i]) != what[i]) return false;
  return true;
}

size_t CharLen(const AnsiString& s, size_t i) { return i + 1 < s.size() && System::IsLeadByte(s[i]) ? 2 : 1; }

// The standard colour identifiers the colour tag accepts after "cl".
bool ColorByName(const AnsiString& name, TColor& out)
{
  static const struct {
    const char* Name;
    TColor Color;
  } table[] = {{"black", 0x000000},  {"maroon", 0x000080},  {"green", 0x008000}, {"olive", 0x008080},
               {"navy", 0x800000},   {"purple", 0x800080},  {"teal", 0x808000},  {"gray", 0x808080},
               {"silver", 0xC0C0C0}, {"red", 0x0000FF},     {"lime", 0x00FF00},  {"yellow", 0x00FFFF},
               {"blue", 0xFF0000},   {"fuchsia", 0xFF00FF}, {"aqua", 0xFFFF00},  {"white", 0xFFFFFF},
               {"ltgray", 0xC0C0C0}, {"dkgray", 0x808080}};
  AnsiString n;
  for (char c : name) n += Lower(c);
  for (auto& e : table)
    if (n == e.Name) {
      out = e.Color;
      return true;
    }
  return false;
}

int HexDigit(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Gives |Units| (sign kept) one each to characters of Dx[From..To) picked by halving.
void SpreadByHalving(std::vector<int>& Dx, const std::vector<size_t>& Slots, size_t From, size_t To, int Units)
{
  if (Units == 0 || From >= To) return;
  int sign = Units < 0 ? -1 : 1;
  int n = std::abs(Units);
  if (n == 1) {
    Dx[Slots[(From + To - 1) / 2]] += sign;
    return;
  }
  size_t mid = (From + To) / 2;
  SpreadByHalving(Dx, Slots, From, mid, sign * (n / 2));
  SpreadByHalving(Dx, Slots, mid, To, sign * (n - n / 2));
}

// Russian letters by their place in the alphabet (А = 0 .. Я = 32); -1 for any other character.
int RussianLetter(const AnsiString& s, size_t i)
{
  if (i + 1 >= s.size() || static_cast<unsigned char>(s[i]) != 0xA7) return -1;
  int t = static_cast<unsigned char>(s[i + 1]);
  if (t >= 0xA1 && t <= 0xC1) return t - 0xA1;
  if (t >= 0xD1 && t <= 0xF1) return t - 0xD1;
  return -1;
}

bool IsVowel(int l)
{
  return l == 0 || l == 5 || l == 6 || l == 9 || l == 15 || l == 20 || l == 28 || l == 30 || l == 31 || l == 32;
}
bool IsConsonant(int l) { return l >= 0 && !IsVowel(l); }
constexpr int SoftSign = 29, HardSign = 27, ShortI = 10;

// Byte offsets (within s) after which the word starting at From may be hyphenated, ascending.
std::vector<size_t> BreakPoints(const AnsiString& s, size_t From)
{
  std::vector<size_t> ends;  // byte end of each character of the word
  std::vector<int> letters;
  for (size_t i = From; i < s.size();) {
    char c = s[i];
    if (c == ' ' || c == '.' || c == ',' || c == '-' || c == ';') break;
    size_t len = CharLen(s, i);
    letters.push_back(RussianLetter(s, i));
    i += len;
    ends.push_back(i);
  }
  std::vector<size_t> out;
  size_t n = letters.size();
  if (n <= 3) return out;
  auto hasVowel = [&](size_t a, size_t b) {
    for (size_t k = a; k < b; ++k)
      if (IsVowel(letters[k])) return true;
    return false;
  };
  for (size_t p = 0; p + 1 < n; ++p) {
    int cur = letters[p], next = letters[p + 1];
    bool ok = false;
    if (IsConsonant(cur))
      ok = !IsVowel(next) && next != SoftSign && next != HardSign;
    else if (IsVowel(cur))
      ok = next != ShortI && !(p + 3 < n && IsConsonant(next) && next == letters[p + 2] && IsVowel(letters[p + 3]));
    // Both parts longer than one character, each with a vowel.
    if (ok && p >= 1 && n - p - 1 >= 2 && hasVowel(0, p + 1) && hasVowel(p + 1, n)) out.push_back(ends[p]);
  }
  return out;
}

}  // namespace

// ---- tags ------------------------------------------------------------------------------------

void TfrxHTMLTagsList::SetDefaults(TColor Color, Integer Size, Integer StyleBits)
{
  FDefColor = Color;
  FDefSize = Size;
  FDefStyle = StyleBits;
  Reset();
}

void TfrxHTMLTagsList::Reset()
{
  FColor = FDefColor;
  FSize = FDefSize;
  FStyle = FDefStyle;
  FLowered = 0;
}

size_t TfrxHTMLTagsList::ApplyTag(const AnsiString& s, size_t p)
{
  static const struct {
    const char* Text;
    int Bit;
    bool On;
  } styles[] = {{"<b>", 1, true},   {"<i>", 2, true},   {"<u>", 4, true},      {"</b>", 1, false},
                {"</i>", 2, false}, {"</u>", 4, false}, {"<strike>", 8, true}, {"</strike>", 8, false}};
  for (auto& t : styles)
    if (StartsWithNoCase(s, p, t.Text)) {
      FStyle = t.On ? (FStyle | t.Bit) : (FStyle & ~t.Bit);
      return std::strlen(t.Text);
    }
  if (StartsWithNoCase(s, p, "<sub>") || StartsWithNoCase(s, p, "<sup>")) {
    FSize = Round(FDefSize / 1.5);
    FLowered = Lower(s[p + 3]) == 'b' ? 1 : 0;
    return 5;
  }
  if (StartsWithNoCase(s, p, "</sub>") || StartsWithNoCase(s, p, "</sup>")) {
    FSize = FDefSize;
    FLowered = 0;
    return 6;
  }
  if (StartsWithNoCase(s, p, "</font>")) {
    FColor = FDefColor;
    return 7;
  }
  if (StartsWithNoCase(s, p, "<font color")) {
    size_t eq = s.find('=', p), close = s.find('>', p);
    if (eq == AnsiString::npos || close == AnsiString::npos || eq > close) return 0;
    size_t v = eq + 1;
    while (v < close && s[v] == ' ') ++v;
    AnsiString value = s.substr(v, close - v);
    TColor c;
    if (value.size() == 9 && value[0] == '"' && value[1] == '#' && value[8] == '"') {
      int rgb[6];
      for (int i = 0; i < 6; ++i)
        if ((rgb[i] = HexDigit(value[2 + i])) < 0) return 0;
      c = (rgb[0] * 16 + rgb[1]) | (rgb[2] * 16 + rgb[3]) << 8 | (rgb[4] * 16 + rgb[5]) << 16;
    } else if (!ColorByName(value, c)) {
      return 0;
    }
    FColor = c;
    return close - p + 1;
  }
  return 0;
}

AnsiString TfrxHTMLTagsList::ExpandLine(const AnsiString& Line, TfrxHTMLTags& Tags)
{
  AnsiString out;
  Tags.clear();
  TfrxHTMLTag prev{0, FDefSize, 0, FDefStyle, FDefColor};
  for (size_t i = 0; i < Line.size();) {
    if (AllowTags && Line[i] == '<') {
      if (size_t n = ApplyTag(Line, i)) {
        i += n;
        continue;
      }
    }
    size_t len = CharLen(Line, i);
    TfrxHTMLTag t;
    t.CharPos = static_cast<Integer>(i);
    t.PointSize = FSize;
    t.Lowered = FLowered;
    t.StyleBits = FStyle;
    t.TextColor = FColor;
    t.Reduced = FSize != FDefSize;
    t.SameAsPrevious = t.PointSize == prev.PointSize && t.StyleBits == prev.StyleBits &&
                       t.TextColor == prev.TextColor && t.Lowered == prev.Lowered;
    prev = t;
    for (size_t k = 0; k < len; ++k) {
      out += Line[i + k];
      Tags.push_back(t);
      Tags.back().CharPos = static_cast<Integer>(i + k);
    }
    i += len;
  }
  return out;
}

// ---- layout ----------------------------------------------------------------------------------

TfrxDrawText::TfrxDrawText()
{
  FDC = Windows::CreateCompatibleDC(nullptr);
  FBitmap = Windows::CreateCompatibleBitmap(nullptr, 1, 1);
  Windows::SelectObject(FDC, FBitmap);
  FFontName = "Arial";
  SelectMeasureFont(FFontSize, 0);
}

TfrxDrawText::~TfrxDrawText()
{
  Windows::DeleteDC(FDC);
  Windows::DeleteObject(FBitmap);
  if (FMeasureFont) Windows::DeleteObject(FMeasureFont);
}

void TfrxDrawText::Lock()
{
  if (FLocked) throw EInvalidOperation("Text layout is in use");
  FLocked = true;
}

void TfrxDrawText::Unlock() { FLocked = false; }

HFONT TfrxDrawText::MakeFont(Integer Height, Integer StyleBits, Integer Rotation) const
{
  LOGFONTA lf;
  lf.lfHeight = Height;
  lf.lfWeight = StyleBits & 1 ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = StyleBits & 2 ? 1 : 0;
  lf.lfUnderline = StyleBits & 4 ? 1 : 0;
  lf.lfStrikeOut = StyleBits & 8 ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(FCharset);
  lf.lfEscapement = lf.lfOrientation = Rotation * 10;
  std::strncpy(lf.lfFaceName, FFontName.c_str(), LF_FACESIZE - 1);
  return Windows::CreateFontIndirect(lf);
}

void TfrxDrawText::SelectMeasureFont(Integer Size, Integer StyleBits)
{
  HFONT f = MakeFont(-Round(Size * MeasureDpi / 72), StyleBits, 0);
  Windows::SelectObject(FDC, f);
  if (FMeasureFont) Windows::DeleteObject(FMeasureFont);
  FMeasureFont = f;
}

void TfrxDrawText::SetFont(const TFont* Font)
{
  FFontSize = Font->GetSize();
  FFontName = Font->GetName();
  FCharset = Font->GetCharset();
  FDefColor = Font->GetColor();
  auto st = Font->GetStyle();
  FDefStyle = (st.Contains(fsBold) ? 1 : 0) | (st.Contains(fsItalic) ? 2 : 0) | (st.Contains(fsUnderline) ? 4 : 0) |
              (st.Contains(fsStrikeOut) ? 8 : 0);
  SelectMeasureFont(FFontSize, FDefStyle);
}

void TfrxDrawText::SetOptions(bool WordWrap, bool HTMLTags, Integer Rotation, bool WordBreak, bool RTLReading)
{
  FWordWrap = WordWrap;
  FHTMLTags = HTMLTags;
  FRotation = ((Rotation % 360) + 360) % 360;
  FWordBreak = WordBreak;
  FRTLReading = RTLReading;
}

void TfrxDrawText::SetGaps(Extended ParagraphGap, Extended CharSpacing, Extended LineSpacing)
{
  FParagraphGap = ParagraphGap;
  FCharSpacing = CharSpacing;
  FLineSpacing = LineSpacing;
}

void TfrxDrawText::SetDimensions(Extended ScaleX, Extended ScaleY, const RECT& LayoutRect, const RECT& DeviceRect)
{
  FScaleX = ScaleX;
  FScaleY = ScaleY;
  FLayoutRect = LayoutRect;
  FDeviceRect = DeviceRect;
}

void TfrxDrawText::MeasureLine(const AnsiString& Text, const TfrxHTMLTags& Tags, std::vector<int>& Widths)
{
  Widths.assign(Text.size(), 0);
  // Runs of one style are measured together, so kerning-free advances add up like the device's.
  for (size_t start = 0; start < Text.size();) {
    size_t end = start + 1;
    while (end < Text.size() && Tags[end].StyleBits == Tags[start].StyleBits) ++end;
    SelectMeasureFont(FFontSize, Tags[start].StyleBits);
    std::vector<int> dx(end - start);
    SIZE sz;
    Windows::GetTextExtentExPoint(FDC, Text.data() + start, static_cast<int>(end - start), 0, nullptr, dx.data(), &sz);
    int before = 0;
    for (size_t i = start; i < end;) {
      size_t len = CharLen(Text, i);
      if (i + len > end) len = end - i;
      int after = dx[i + len - 1 - start];
      int w = after - before + Round(FCharSpacing * K);
      if (Tags[i].Reduced) w = Round(w / 1.5);
      Widths[i + len - 1] = w;
      before = after;
      i += len;
    }
    start = end;
  }
  SelectMeasureFont(FFontSize, FDefStyle);
}

void TfrxDrawText::SetText(TStrings* Lines)
{
  FLines.clear();
  FText.clear();
  FTags.AllowTags = FHTMLTags;
  FTags.SetDefaults(FDefColor, FFontSize, FDefStyle);
  bool sideways = (FRotation >= 90 && FRotation < 180) || (FRotation >= 270);
  Extended W = sideways ? FLayoutRect.bottom - FLayoutRect.top : FLayoutRect.right - FLayoutRect.left;
  int fullWidth = Round(W * K), firstWidth = Round((W - FParagraphGap) * K);

  Integer count = std::max<Integer>(Lines->GetCount(), 1);
  for (Integer n = 0; n < count; ++n) {
    AnsiString src = n < Lines->GetCount() ? (*Lines)[n] : AnsiString();
    size_t lineStart = FText.size();
    FText += src;
    if (n + 1 < count) FText += "\r\n";
    TLine whole;
    whole.Text = FTags.ExpandLine(src, whole.Tags);
    MeasureLine(whole.Text, whole.Tags, whole.Widths);
    int hyphenWidth = 0;
    auto emit = [&](size_t from, size_t to, bool hyphen = false) {
      TLine l;
      l.Text = whole.Text.substr(from, to - from);
      l.Tags.assign(whole.Tags.begin() + from, whole.Tags.begin() + to);
      l.Widths.assign(whole.Widths.begin() + from, whole.Widths.begin() + to);
      if (hyphen) {
        l.Hyphen = true;
        l.Text += '-';
        l.Tags.push_back(whole.Tags[to - 1]);
        l.Widths.push_back(hyphenWidth);
      }
      l.InputPos = lineStart + (from < whole.Tags.size() ? whole.Tags[from].CharPos : src.size());
      FLines.push_back(std::move(l));
    };
    if (FWordBreak) {
      SIZE sz{};
      Windows::GetTextExtentPoint32(FDC, "-", 1, &sz);
      hyphenWidth = sz.cx + Round(FCharSpacing * K);
    }
    // The end of the last syllable of the word at WordStart that fits before Limit with its hyphen.
    auto hyphenate = [&](size_t lineStart, size_t wordStart, long limit) -> size_t {
      size_t best = 0;
      for (size_t end : BreakPoints(whole.Text, wordStart)) {
        long w = hyphenWidth;
        for (size_t k = lineStart; k < end; ++k) w += whole.Widths[k];
        if (w > limit) break;
        best = end;
      }
      return best;
    };
    size_t first = FLines.size();
    long total = 0;
    for (int w : whole.Widths) total += w;
    size_t chars = 0;
    for (size_t i = 0; i < whole.Text.size(); i += CharLen(whole.Text, i)) ++chars;
    if (!FWordWrap || chars <= 1 || total < firstWidth) {
      emit(0, whole.Text.size());
    } else {
      size_t start = 0;
      int limit = firstWidth;
      const AnsiString& s = whole.Text;
      while (start < s.size()) {
        long cur = 0;
        size_t i = start, blank = AnsiString::npos;
        while (i < s.size()) {
          size_t len = CharLen(s, i);
          if (cur + whole.Widths[i + len - 1] > limit) break;
          if (s[i] == ' ') blank = i;
          cur += whole.Widths[i + len - 1];
          i += len;
        }
        if (i >= s.size()) {
          emit(start, s.size());
          break;
        }
        size_t cut = 0;
        if (s[i] != ' ' && FWordBreak)
          cut = hyphenate(start, blank != AnsiString::npos && blank > start ? blank + 1 : start, limit);
        if (cut) {
          emit(start, cut, true);
          start = cut;
        } else if (s[i] == ' ') {  // the blank that overflows ends the line itself
          emit(start, i);
          start = i + 1;
        } else if (blank != AnsiString::npos && blank > start) {
          emit(start, blank);
          start = blank + 1;
        } else if (i == start) {  // one character wider than the line
          emit(start, start + CharLen(s, start));
          start += CharLen(s, start);
        } else {
          emit(start, i);
          start = i;
        }
        limit = fullWidth;
      }
    }
    FLines[first].Flags |= 1;
    FLines.back().Flags |= 2;
    TagLines(src, whole.Tags, first);
  }
}

void TfrxDrawText::TagLines(const AnsiString& Source, const TfrxHTMLTags& SourceTags, size_t First)
{
  // Each line owns the input from its first character up to the next line's first character;
  // the first line also owns the tags before it and the last those after it. Visible bytes in
  // that span past the line's own characters are the blanks dropped at the break.
  std::vector<bool> visible(Source.size(), false);
  for (const TfrxHTMLTag& t : SourceTags) visible[static_cast<size_t>(t.CharPos)] = true;
  auto startOf = [&](size_t k) -> size_t {
    if (k == First || FLines[k].Tags.empty()) return 0;
    return static_cast<size_t>(FLines[k].Tags.front().CharPos);
  };
  for (size_t k = First; k < FLines.size(); ++k) {
    TLine& l = FLines[k];
    size_t from = startOf(k);
    size_t to = k + 1 < FLines.size() ? startOf(k + 1) : Source.size();
    size_t own = l.Tags.size() - (l.Hyphen ? 1 : 0);
    size_t lastVisible = own ? static_cast<size_t>(l.Tags[own - 1].CharPos) : 0;
    l.Tagged.clear();
    for (size_t i = from; i < to; ++i) {
      if (own && i > lastVisible && visible[i]) continue;
      if (l.Hyphen && i == lastVisible + 1) l.Tagged += '-';
      l.Tagged += Source[i];
    }
    if (l.Hyphen && lastVisible + 1 >= to) l.Tagged += '-';
  }
}

// ---- measures --------------------------------------------------------------------------------

Extended TfrxDrawText::LineHeight() const { return Round(FFontSize * MeasureDpi / 72) / K + FLineSpacing; }

Extended TfrxDrawText::CalcHeight() const { return FLines.empty() ? 0 : FLines.size() * LineHeight(); }

Extended TfrxDrawText::CalcWidth() const
{
  Extended best = 0;
  for (auto& l : FLines) {
    Extended w = 0;
    for (int x : l.Widths) w += x;
    if (l.Flags & 1) w += FParagraphGap * K;
    best = std::max(best, w / K);
  }
  return best;
}

Extended TfrxDrawText::UnusedSpace() const
{
  Extended h = FLayoutRect.bottom - FLayoutRect.top + 1, l = LineHeight();
  long n = static_cast<long>(h / l);
  if (n == 0) return 0;
  Extended rest = h - n * l;
  return rest == 0 ? 0.0001 : rest;
}

AnsiString TfrxDrawText::GetRemainingText()
{
  Extended h = FLayoutRect.bottom - FLayoutRect.top + 1;
  size_t n = std::min(static_cast<size_t>(std::max<Extended>(0, h / LineHeight())), FLines.size());
  if (n >= FLines.size()) return AnsiString();
  const TLine& l = FLines[n];
  AnsiString rest = FText.substr(std::min(l.InputPos, FText.size()));
  if (FHTMLTags && !l.Tags.empty()) {
    const TfrxHTMLTag& t = l.Tags.front();
    char color[32];
    std::snprintf(color, sizeof color, "<font color=\"#%02X%02X%02X\">", t.TextColor & 0xFF, (t.TextColor >> 8) & 0xFF,
                  (t.TextColor >> 16) & 0xFF);
    AnsiString lead = color;
    if (t.StyleBits & 4) lead += "<u>";
    if (t.StyleBits & 2) lead += "<i>";
    if (t.StyleBits & 1) lead += "<b>";
    // Strike-out and a lowered or raised run would be lost on the rest without these.
    if (t.StyleBits & 8) lead += "<strike>";
    if (t.Lowered)
      lead += "<sub>";
    else if (t.Reduced)
      lead += "<sup>";
    rest = lead + rest;
  }
  FLines.resize(n);
  return rest;
}

AnsiString TfrxDrawText::GetText() const
{
  AnsiString s;
  for (auto& l : FLines) s += l.Tagged + "\r\n";
  return s;
}

AnsiString TfrxDrawText::RemoveTags(const AnsiString& Text)
{
  TfrxHTMLTagsList list;
  TfrxHTMLTags tags;
  AnsiString out;
  size_t start = 0;
  while (true) {
    size_t eol = Text.find("\r\n", start);
    out += list.ExpandLine(Text.substr(start, eol == AnsiString::npos ? AnsiString::npos : eol - start), tags);
    if (eol == AnsiString::npos) break;
    out += "\r\n";
    start = eol + 2;
  }
  return out;
}

bool TfrxDrawText::IsPrinter(HDC Canvas) { return Windows::GetDeviceCaps(Canvas, TECHNOLOGY) == DT_RASPRINTER; }

// ---- drawing ---------------------------------------------------------------------------------

int TfrxDrawText::DeviceFontHeight(HDC Canvas, Integer Size) const
{
  if (IsPrinter(Canvas)) return -Round(Windows::GetDeviceCaps(Canvas, LOGPIXELSY) * Size / 72.0);
  return -Round(Size * FScaleY * ScreenDpi / 72);
}

void TfrxDrawText::DrawLine(HDC Canvas, const TLine& Line, int X, int Y, int AvailWidth, int Type, int)
{
  const AnsiString& s = Line.Text;
  if (s.empty()) return;
  Extended rad = FRotation * std::numbers::pi / 180, c = std::cos(rad), sn = std::sin(rad);
  // The ideal width at the device's resolution.
  long measured = 0;
  for (int w : Line.Widths) measured += w;
  bool printer = IsPrinter(Canvas);
  int ideal = printer ? Round(measured / (MeasureDpi / Windows::GetDeviceCaps(Canvas, LOGPIXELSX)))
                      : Round(measured / K * FScaleX);

  // The device's own advances, per byte (a character's on its last byte).
  std::vector<int> dx(s.size(), 0);
  std::vector<size_t> slots;  // the byte carrying each character's advance
  int real = 0;
  for (size_t start = 0; start < s.size();) {
    size_t end = start + 1;
    while (end < s.size() && Line.Tags[end].StyleBits == Line.Tags[start].StyleBits &&
           Line.Tags[end].PointSize == Line.Tags[start].PointSize)
      ++end;
    HFONT f = MakeFont(DeviceFontHeight(Canvas, Line.Tags[start].PointSize), Line.Tags[start].StyleBits, 0);
    HGDIOBJ old = Windows::SelectObject(Canvas, f);
    std::vector<int> ext(end - start);
    SIZE sz;
    Windows::GetTextExtentExPoint(Canvas, s.data() + start, static_cast<int>(end - start), 0, nullptr, ext.data(), &sz);
    Windows::SelectObject(Canvas, old);
    Windows::DeleteObject(f);
    int before = 0;
    for (size_t i = start; i < end;) {
      size_t len = std::min(CharLen(s, i), end - i);
      size_t last = i + len - 1;
      dx[last] = ext[last - start] - before + Round(FCharSpacing * FScaleX);
      real += dx[last];
      slots.push_back(last);
      before = ext[last - start];
      i += len;
    }
    start = end;
  }

  if (Type == 3) {
    std::vector<size_t> blanks;
    for (size_t i : slots)
      if (s[i] == ' ' || static_cast<unsigned char>(s[i]) == 160) blanks.push_back(i);
    if (blanks.empty()) {
      Type = 0;
    } else {
      int extra = std::abs(AvailWidth) - real;
      int q = extra / static_cast<int>(blanks.size()), r = extra % static_cast<int>(blanks.size());
      for (size_t k = 0; k < blanks.size(); ++k) dx[blanks[k]] += q + (static_cast<int>(k) < r ? 1 : 0);
    }
  }
  if (Type != 3) {
    int d = ideal - real, n = static_cast<int>(slots.size());
    if (std::abs(d) < n) {
      SpreadByHalving(dx, slots, 0, slots.size(), d);
    } else {
      for (size_t i : slots) dx[i] += d / n;
      SpreadByHalving(dx, slots, 0, slots.size(), d % n);
    }
    Extended shift = Type == 1 ? AvailWidth - ideal + 1 : Type == 2 ? (AvailWidth - ideal) / 2.0 : 0;
    X += Round(c * shift);
    Y -= Round(sn * shift);
  }

  // Runs of one look, each in its own font, stepping along the baseline.
  Extended x = X, y = Y;
  UINT flags = ETO_CLIPPED | (FRTLReading ? ETO_RTLREADING : 0);
  for (size_t start = 0; start < s.size();) {
    const TfrxHTMLTag& t = Line.Tags[start];
    size_t end = start + 1;
    while (end < s.size() && Line.Tags[end].StyleBits == t.StyleBits && Line.Tags[end].PointSize == t.PointSize &&
           Line.Tags[end].TextColor == t.TextColor && Line.Tags[end].Lowered == t.Lowered)
      ++end;
    HFONT f = MakeFont(DeviceFontHeight(Canvas, t.PointSize), t.StyleBits, FRotation);
    HGDIOBJ old = Windows::SelectObject(Canvas, f);
    Windows::SetTextColor(Canvas, static_cast<COLORREF>(t.TextColor));
    Extended low = Round(t.Lowered * t.PointSize * FScaleY);
    Windows::ExtTextOut(Canvas, Round(x + sn * low), Round(y + c * low), flags, &FDeviceRect, s.data() + start,
                        static_cast<int>(end - start), dx.data() + start);
    Windows::SelectObject(Canvas, old);
    Windows::DeleteObject(f);
    int runWidth = 0;
    for (size_t i = start; i < end; ++i) runWidth += dx[i];
    x += c * runWidth;
    y -= sn * runWidth;
    start = end;
  }
}

void TfrxDrawText::DrawText(HDC Canvas, TfrxHAlign HAlign, TfrxVAlign VAlign)
{
  if (FLines.empty()) return;
  int oldMode = Windows::SetBkMode(Canvas, TRANSPARENT);
  int fontSize = FLines.front().Tags.empty() ? FFontSize : FLines.front().Tags.front().PointSize;
  Extended lh = std::abs(DeviceFontHeight(Canvas, fontSize)) + FLineSpacing * FScaleY;
  Extended H = lh * FLines.size();
  Extended rad = FRotation * std::numbers::pi / 180, c = std::cos(rad), sn = std::sin(rad);
  Extended ac = std::abs(c), as = std::abs(sn);
  const RECT& r = FDeviceRect;
  Extended x0, y0, lineWidth, freeSpace;
  Extended wt = ac > 1e-9 ? std::round((r.right - r.left - as * H) / ac) : 0;
  switch (FRotation) {
    case 0:
      x0 = r.left;
      y0 = r.top;
      lineWidth = r.right - r.left;
      freeSpace = r.bottom - r.top - H;
      break;
    case 90:
      x0 = r.left;
      y0 = r.bottom;
      lineWidth = r.bottom - r.top;
      freeSpace = r.right - r.left - H;
      break;
    case 180:
      x0 = r.right;
      y0 = r.bottom;
      lineWidth = r.right - r.left;
      freeSpace = r.bottom - r.top - H;
      break;
    case 270:
      x0 = r.right;
      y0 = r.top;
      lineWidth = r.bottom - r.top;
      freeSpace = r.right - r.left - H;
      break;
    default:
      lineWidth = wt;
      if (FRotation < 90) {
        x0 = r.left;
        y0 = r.top + std::round(as * wt);
        freeSpace = r.bottom - y0 - std::round(ac * H);
      } else if (FRotation < 180) {
        x0 = r.left + std::round(ac * wt);
        y0 = r.bottom;
        freeSpace = r.bottom - r.top - std::round(ac * H + as * wt);
      } else if (FRotation < 270) {
        x0 = r.right;
        y0 = r.bottom - std::round(as * wt);
        freeSpace = y0 - r.top - std::round(ac * H);
      } else {
        x0 = r.left + std::round(as * H);
        y0 = r.top;
        freeSpace = r.bottom - r.top - std::round(as * wt + ac * H);
      }
  }
  Extended move = VAlign == vaBottom ? freeSpace : VAlign == vaCenter ? freeSpace / 2 : 0;
  if (FRotation % 90 == 0) {
    x0 += sn * move;  // along the rotated "down"
    y0 += c * move;
  } else {
    y0 += (FRotation > 90 && FRotation < 270) ? -move : move;
  }

  for (size_t k = 0; k < FLines.size(); ++k) {
    const TLine& l = FLines[k];
    Extended down = std::round(k * lh);  // spreads the rounding of the step over the block
    int type = HAlign == haRight ? 1 : HAlign == haCenter ? 2 : HAlign == haBlock ? 3 : 0;
    if (type == 3 && (l.Flags & 2)) type = FRTLReading ? 1 : 0;
    Extended indent = (l.Flags & 1) && (type == 0 || type == 3) ? FParagraphGap * FScaleX : 0;
    Extended x = x0 + sn * down + c * indent, y = y0 + c * down - sn * indent;
    DrawLine(Canvas, l, Round(x), Round(y), Round(lineWidth - indent), type, fontSize);
  }
  Windows::SetBkMode(Canvas, oldMode);
}

namespace frxGraphicUtils {

namespace {
std::unique_ptr<TfrxDrawText> Shared;
}

TfrxDrawText* frxDrawText() { return Shared.get(); }
void Initialize()
{
  if (!Shared) Shared = std::make_unique<TfrxDrawText>();
}
void Finalize() { Shared.reset(); }

}  // namespace frxGraphicUtils
