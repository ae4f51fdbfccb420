#include "platform/gdi/text/Fonts.h"

#include <cstring>

#include "platform/gdi/dc/Raster.h"
#include "platform/gdi/text/FontEngine.h"
#include "platform/gdi/text/TextCore.h"

namespace Windows {

using namespace GdiInternal;

namespace {

// The character of a GetCharWidth code.
char32_t CodeToChar(UINT code, bool wide)
{
  if (wide) return code;
  if (code < 0x80) return code;
  char buf[2];
  int n = 1;
  if (code > 0xFF) {
    buf[0] = char(code >> 8);
    buf[1] = char(code & 0xFF);
    n = 2;
  } else {
    buf[0] = char(code);
  }
  std::vector<TTextChar> c = DecodeAnsi(buf, n);
  return c.size() == 1 ? c[0].Cp : char32_t(0xFFFD);
}

BOOL CharWidths(HDC hdc, UINT first, UINT last, int* widths, bool wide)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !widths || last < first || last - first > 0x10000) return FALSE;
  auto font = FontOf(dc);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = ToLogicalX(dc, font->Advance(CodeToChar(c, wide)));
  return TRUE;
}

BOOL AbcWidths(HDC hdc, UINT first, UINT last, ABC* out, bool wide)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !out || last < first || last - first > 0x10000) return FALSE;
  auto font = FontOf(dc);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) {
    ABC a = font->AbcWidths(CodeToChar(c, wide));
    out[c - first] = ABC{ToLogicalX(dc, a.abcA), UINT(ToLogicalX(dc, a.abcB)), ToLogicalX(dc, a.abcC)};
  }
  return TRUE;
}

const char* ScriptName(BYTE cs)
{
  switch (cs) {
    case ANSI_CHARSET: return "Western";
    case SYMBOL_CHARSET: return "Symbol";
    case SHIFTJIS_CHARSET: return "Japanese";
    case HANGEUL_CHARSET: return "Hangul";
    case GB2312_CHARSET: return "CHINESE_GB2312";
    case CHINESEBIG5_CHARSET: return "CHINESE_BIG5";
    case GREEK_CHARSET: return "Greek";
    case TURKISH_CHARSET: return "Turkish";
    case VIETNAMESE_CHARSET: return "Vietnamese";
    case HEBREW_CHARSET: return "Hebrew";
    case ARABIC_CHARSET: return "Arabic";
    case BALTIC_CHARSET: return "Baltic";
    case RUSSIAN_CHARSET: return "Cyrillic";
    case EASTEUROPE_CHARSET: return "Central European";
    default: return "";
  }
}

void CopyName(char* to, std::size_t size, const std::string& from)
{
  std::size_t n = std::min(from.size(), size - 1);
  std::memcpy(to, from.data(), n);
  to[n] = 0;
}

}  // namespace

int EnumFontFamiliesEx(HDC, const LOGFONTA* lf, FONTENUMPROCA proc, LPARAM data, DWORD)
{
  if (!lf || !proc) return 0;
  std::string wanted(lf->lfFaceName, strnlen(lf->lfFaceName, LF_FACESIZE));
  auto fold = [](std::string s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      unsigned char b = (unsigned char)s[i];
      if (b >= 0x81 && b <= 0xFE && i + 1 < s.size())
        ++i;
      else if (b >= 'A' && b <= 'Z')
        s[i] = char(b + 32);
    }
    return s;
  };
  int result = 0;
  for (const TFamilyInfo& fam : InstalledFamilies()) {
    if (!wanted.empty() && fold(wanted) != fold(fam.Name)) continue;
    for (BYTE cs : fam.Charsets) {
      if (lf->lfCharSet != DEFAULT_CHARSET && lf->lfCharSet != cs) continue;
      ENUMLOGFONTEXA e;
      LOGFONTA& l = e.elfLogFont;
      l.lfHeight = 16;
      l.lfWeight = FW_NORMAL;
      l.lfCharSet = cs;
      l.lfOutPrecision = OUT_TT_PRECIS;
      l.lfPitchAndFamily = fam.FixedPitch ? FIXED_PITCH : VARIABLE_PITCH;
      CopyName(l.lfFaceName, LF_FACESIZE, fam.Name);
      CopyName(e.elfFullName, sizeof e.elfFullName, fam.Name);
      CopyName(e.elfStyle, sizeof e.elfStyle, "Regular");
      CopyName(e.elfScript, sizeof e.elfScript, ScriptName(cs));
      TEXTMETRICA tm;
      if (auto font = TFontInstance::Get(l, 1.0)) tm = font->Metrics();
      tm.tmCharSet = cs;
      // The pitch bit is set for variable pitch, as the classic metrics have it.
      tm.tmPitchAndFamily = BYTE(TMPF_TRUETYPE | TMPF_VECTOR | (fam.FixedPitch ? 0 : TMPF_FIXED_PITCH));
      result = proc(&e.elfLogFont, &tm, TRUETYPE_FONTTYPE, data);
      if (result == 0) return 0;
    }
  }
  return result;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRICA* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc || !out) return FALSE;
  auto font = FontOf(dc);
  if (!font) return FALSE;
  TEXTMETRICA tm = font->Metrics();
  TMapping m = MappingOf(dc);
  if (!m.Identity()) {
    for (LONG* v : {&tm.tmHeight, &tm.tmAscent, &tm.tmDescent, &tm.tmInternalLeading, &tm.tmExternalLeading})
      *v = ToLogicalY(dc, *v);
    tm.tmAveCharWidth = ToLogicalX(dc, tm.tmAveCharWidth);
    tm.tmMaxCharWidth = ToLogicalX(dc, tm.tmMaxCharWidth);
  }
  *out = tm;
  return TRUE;
}

UINT GetOutlineTextMetrics(HDC hdc, UINT cb, OUTLINETEXTMETRICA* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  auto font = FontOf(dc);
  if (!font) return 0;
  OUTLINETEXTMETRICA o;
  if (!font->FillOutline(o)) return 0;
  GetTextMetrics(hdc, &o.otmTextMetrics);
  std::string family = font->FaceNameAnsi();
  std::string face = family, style = font->Log().lfWeight >= 600 ? (font->Log().lfItalic ? "Bold Italic" : "Bold")
                                                                 : (font->Log().lfItalic ? "Italic" : "Regular");
  std::string full = family + " " + style;
  std::size_t need = sizeof(OUTLINETEXTMETRICA) + family.size() + face.size() + style.size() + full.size() + 4;
  if (!out) return UINT(need);
  if (cb < sizeof(OUTLINETEXTMETRICA)) return 0;
  o.otmSize = UINT(std::min<std::size_t>(need, cb));
  std::size_t at = sizeof(OUTLINETEXTMETRICA);
  auto put = [&](const std::string& s, std::uintptr_t& field) {
    if (at + s.size() + 1 > cb) {
      field = 0;
      return;
    }
    std::memcpy(reinterpret_cast<char*>(out) + at, s.c_str(), s.size() + 1);
    field = at;
    at += s.size() + 1;
  };
  put(family, o.otmpFamilyName);
  put(face, o.otmpFaceName);
  put(style, o.otmpStyleName);
  put(full, o.otmpFullName);
  std::memcpy(static_cast<void*>(out), &o, sizeof(OUTLINETEXTMETRICA));
  return o.otmSize;
}

BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths) { return CharWidths(dc, first, last, widths, false); }
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths) { return CharWidths(dc, first, last, widths, true); }
BOOL GetCharABCWidths(HDC dc, UINT first, UINT last, ABC* out) { return AbcWidths(dc, first, last, out, false); }
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* out) { return AbcWidths(dc, first, last, out, true); }

DWORD GetFontData(HDC hdc, DWORD table, DWORD offset, void* buffer, DWORD size)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return GDI_ERROR;
  auto font = FontOf(dc);
  if (!font) return GDI_ERROR;
  // The tag arrives with its first letter in the low byte; sfnt tags are big-endian.
  std::uint32_t tag = ((table & 0xFF) << 24) | ((table & 0xFF00) << 8) | ((table >> 8) & 0xFF00) | (table >> 24);
  std::vector<std::uint8_t> data = font->FontData(tag);
  if (data.empty() || offset > data.size()) return GDI_ERROR;
  DWORD avail = DWORD(data.size() - offset);
  if (!buffer) return avail;
  DWORD n = std::min(avail, size);
  std::memcpy(buffer, data.data() + offset, n);
  return n;
}

int GetTextFace(HDC hdc, int count, char* out)
{
  TDCObj* dc = GdiInternal::DC(hdc);
  if (!dc) return 0;
  auto font = FontOf(dc);
  if (!font) return 0;
  std::string name = font->FaceNameAnsi();
  if (!out) return int(name.size()) + 1;
  if (count <= 0) return 0;
  std::size_t n = std::min<std::size_t>(name.size(), std::size_t(count - 1));
  std::memcpy(out, name.data(), n);
  out[n] = 0;
  return int(n);
}

}  // namespace Windows
