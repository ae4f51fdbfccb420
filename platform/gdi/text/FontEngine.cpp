#include "platform/gdi/text/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_SYNTHESIS_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc/GdiInternal.h"
#include "platform/gdi/dc/Raster.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

// FreeType faces are shared by every instance; all FreeType work runs under this lock.
std::recursive_mutex& FtLock()
{
  static auto* m = new std::recursive_mutex;
  return *m;
}

struct TFaceCache {
  FT_Library Lib = nullptr;
  FcConfig* Config = nullptr;
  std::map<std::string, FT_Face> Faces;  // "file#index"
  struct TEntry {
    std::shared_ptr<TFontInstance> Font;
    std::uint64_t LastUse = 0;
  };
  std::map<std::string, TEntry> Instances;
  std::uint64_t Clock = 0;
};

// Realised fonts no font object holds any more are dropped, oldest first, past this many.
constexpr std::size_t kKeptInstances = 256;

void Trim(TFaceCache& c)
{
  if (c.Instances.size() <= kKeptInstances) return;
  std::vector<std::pair<std::uint64_t, std::string>> idle;
  for (const auto& [key, e] : c.Instances)
    if (e.Font.use_count() == 1) idle.emplace_back(e.LastUse, key);
  std::sort(idle.begin(), idle.end());
  std::size_t excess = c.Instances.size() - kKeptInstances * 3 / 4;
  for (std::size_t i = 0; i < idle.size() && i < excess; ++i) c.Instances.erase(idle[i].second);
}

TFaceCache& Cache()
{
  static TFaceCache* c = [] {
    auto* cc = new TFaceCache;
    FT_Init_FreeType(&cc->Lib);
    // A configuration of our own over the font folders: the system's configuration is not
    // needed (the classic faces are mapped above) and parts of it leak when parsed.
    cc->Config = FcConfigCreate();
    static const char kConfig[] =
        "<?xml version=\"1.0\"?><fontconfig>"
        "<dir>/usr/share/fonts</dir><dir>/usr/local/share/fonts</dir>"
        "<dir prefix=\"xdg\">fonts</dir><dir>~/.fonts</dir>"
        "<cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>"
        "</fontconfig>";
    FcConfigParseAndLoadFromMemory(cc->Config, reinterpret_cast<const FcChar8*>(kConfig), FcFalse);
    FcConfigBuildFonts(cc->Config);
    return cc;
  }();
  return *c;
}

FT_Face OpenFace(const std::string& file, int index)
{
  TFaceCache& c = Cache();
  std::string key = file + "#" + std::to_string(index);
  auto it = c.Faces.find(key);
  if (it != c.Faces.end()) return it->second;
  FT_Face f = nullptr;
  if (FT_New_Face(c.Lib, file.c_str(), index, &f) != 0) f = nullptr;
  c.Faces[key] = f;
  return f;
}

constexpr const char* kChineseFamily = "WenQuanYi Zen Hei";

// The classic Windows faces and the installed families that stand in for them.
std::string MapFamily(const LOGFONTA& lf)
{
  std::string face = lf.lfFaceName;
  static const std::pair<const char*, const char*> kAliases[] = {
      {"宋体", kChineseFamily},
      {"新宋体", kChineseFamily},
      {"SimSun", kChineseFamily},
      {"NSimSun", kChineseFamily},
      {"黑体", kChineseFamily},
      {"SimHei", kChineseFamily},
      {"楷体_GB2312", kChineseFamily},
      {"仿宋_GB2312", kChineseFamily},
      {"楷体", kChineseFamily},
      {"仿宋", kChineseFamily},
      {"微软雅黑", kChineseFamily},
      {"Microsoft YaHei", kChineseFamily},
      {"System", kChineseFamily},
      {"Arial", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"Tahoma", "Liberation Sans"},
      {"Verdana", "Liberation Sans"},
      {"MS Shell Dlg", "Liberation Sans"},
      {"MS Shell Dlg 2", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},
      {"Fixedsys", "Liberation Mono"},
      {"Lucida Console", "Liberation Mono"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"MS Serif", "Liberation Serif"},
  };
  for (const auto& a : kAliases)
    if (face.size() == std::strlen(a.first) && std::equal(face.begin(), face.end(), a.first, [](char x, char y) {
          return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
        }))
      return a.second;
  if (!face.empty()) return System::AnsiToUtf8(face);
  if (lf.lfCharSet == GB2312_CHARSET || lf.lfCharSet == DEFAULT_CHARSET) return kChineseFamily;
  BYTE family = lf.lfPitchAndFamily & 0xF0;
  if (family == FF_ROMAN) return "Liberation Serif";
  if (family == FF_MODERN || (lf.lfPitchAndFamily & 3) == FIXED_PITCH) return "Liberation Mono";
  return "Liberation Sans";
}

struct TMatch {
  std::string File;
  int Index = 0;
  int Weight = FC_WEIGHT_REGULAR;
  int Slant = FC_SLANT_ROMAN;
};

TMatch MatchFont(const std::string& family, int lfWeight, bool italic, bool chinese)
{
  TFaceCache& c = Cache();
  TMatch m;
  FcPattern* p = FcPatternCreate();
  FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(p, FC_WEIGHT, lfWeight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
  if (chinese) FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcConfigSubstitute(c.Config, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult res;
  FcPattern* best = FcFontMatch(c.Config, p, &res);
  if (best) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(best, FC_FILE, 0, &file) == FcResultMatch) m.File = reinterpret_cast<char*>(file);
    FcPatternGetInteger(best, FC_INDEX, 0, &m.Index);
    FcPatternGetInteger(best, FC_WEIGHT, 0, &m.Weight);
    FcPatternGetInteger(best, FC_SLANT, 0, &m.Slant);
    FcPatternDestroy(best);
  }
  FcPatternDestroy(p);
  return m;
}

int Round(double v) { return int(std::lround(v)); }

std::string KeyOf(const LOGFONTA& lf, double scaleY)
{
  std::string k(reinterpret_cast<const char*>(&lf), offsetof(LOGFONTA, lfFaceName));
  k += lf.lfFaceName;
  k += "@" + std::to_string(scaleY);
  return k;
}

}  // namespace

struct TFontInstance::TImpl {
  FT_Face Face = nullptr, Fallback = nullptr;
  FT_Size Size = nullptr, FallbackSize = nullptr;
  bool SynthBold = false, SynthItalic = false, Mono = false, Unhinted = false;
  std::string RequestedFace;  // CP936, as the caller named it
  std::string FaceFile, FallbackFile;
  int FaceIndex = 0, FallbackIndex = 0;
  std::unordered_map<char32_t, TGlyph> Glyphs;
  const TGlyph* Latin[256] = {};  // shortcut into Glyphs (its nodes never move)

  ~TImpl()
  {
    std::lock_guard<std::recursive_mutex> g(FtLock());
    if (Size) FT_Done_Size(Size);
    if (FallbackSize) FT_Done_Size(FallbackSize);
  }

  // Loads the glyph of cp into the slot of the face that has it; answers that face.
  FT_Face Load(char32_t cp, const FT_Matrix* m, bool render, bool& fallback, unsigned& index)
  {
    FT_Face f = Face;
    FT_UInt gi = FT_Get_Char_Index(Face, cp);
    fallback = false;
    if (gi == 0 && Fallback) {
      FT_UInt g2 = FT_Get_Char_Index(Fallback, cp);
      if (g2) {
        f = Fallback;
        gi = g2;
        fallback = true;
      }
    }
    index = gi;
    FT_Activate_Size(fallback ? FallbackSize : Size);
    FT_Set_Transform(f, const_cast<FT_Matrix*>(m), nullptr);
    FT_Int32 flags = FT_LOAD_DEFAULT | (Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (m || Unhinted) flags |= FT_LOAD_NO_BITMAP;
    if (Unhinted) flags |= FT_LOAD_NO_HINTING;
    if (FT_Load_Glyph(f, gi, flags) != 0) {
      FT_Set_Transform(f, nullptr, nullptr);
      return nullptr;
    }
    FT_GlyphSlot s = f->glyph;
    if (s->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (SynthBold) FT_Outline_Embolden(&s->outline, 64);
      if (SynthItalic) FT_GlyphSlot_Oblique(s);
    }
    if (render && s->format != FT_GLYPH_FORMAT_BITMAP)
      FT_Render_Glyph(s, Mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL);
    FT_Set_Transform(f, nullptr, nullptr);
    return f;
  }

  static void CopyBitmap(FT_GlyphSlot s, TGlyph& g)
  {
    const FT_Bitmap& b = s->bitmap;
    g.Left = s->bitmap_left;
    g.Top = s->bitmap_top;
    // A glyph the rasteriser refused (one far too large, say) draws nothing.
    if (s->format != FT_GLYPH_FORMAT_BITMAP || !b.buffer) {
      g.Width = g.Height = 0;
      g.Alpha.clear();
      return;
    }
    g.Width = int(b.width);
    g.Height = int(b.rows);
    g.Alpha.assign(std::size_t(g.Width) * std::size_t(g.Height), 0);
    for (int y = 0; y < g.Height; ++y) {
      const unsigned char* row = b.buffer + std::ptrdiff_t(y) * b.pitch;
      for (int x = 0; x < g.Width; ++x) {
        std::uint8_t a;
        if (b.pixel_mode == FT_PIXEL_MODE_MONO)
          a = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
        else if (b.pixel_mode == FT_PIXEL_MODE_GRAY)
          a = row[x];
        else
          a = 0;
        g.Alpha[std::size_t(y) * std::size_t(g.Width) + std::size_t(x)] = a;
      }
    }
  }
};

TFontInstance::~TFontInstance() = default;

std::shared_ptr<TFontInstance> TFontInstance::Get(const LOGFONTA& lfIn, double scaleY, bool outline)
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  TFaceCache& c = Cache();
  LOGFONTA lf = lfIn;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  std::string key = KeyOf(lf, scaleY) + (outline ? "/o" : "");
  auto it = c.Instances.find(key);
  if (it != c.Instances.end()) {
    it->second.LastUse = ++c.Clock;
    return it->second.Font;
  }

  std::shared_ptr<TFontInstance> inst(new TFontInstance);
  inst->FLog = lf;
  inst->FImpl = std::make_unique<TImpl>();
  TImpl& im = *inst->FImpl;
  im.RequestedFace = lf.lfFaceName;
  bool chinese = lf.lfCharSet == GB2312_CHARSET;
  std::string family = MapFamily(lf);
  TMatch m = MatchFont(family, lf.lfWeight, lf.lfItalic != 0, chinese);
  im.Face = m.File.empty() ? nullptr : OpenFace(m.File, m.Index);
  TMatch fb = MatchFont(kChineseFamily, lf.lfWeight, lf.lfItalic != 0, true);
  if (!im.Face) {
    im.Face = OpenFace(fb.File, fb.Index);
    m = fb;
  }
  if (!im.Face) return nullptr;
  FT_Face fbFace = fb.File.empty() ? nullptr : OpenFace(fb.File, fb.Index);
  if (fbFace != im.Face) im.Fallback = fbFace;
  im.FaceFile = m.File;
  im.FaceIndex = m.Index;
  im.FallbackFile = fb.File;
  im.FallbackIndex = fb.Index;
  im.SynthBold = lf.lfWeight >= 600 && m.Weight < FC_WEIGHT_DEMIBOLD;
  im.SynthItalic = lf.lfItalic && m.Slant == FC_SLANT_ROMAN;
  im.Mono = lf.lfQuality == NONANTIALIASED_QUALITY;
  im.Unhinted = outline;

  FT_Face f = im.Face;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(f, FT_SFNT_POST));
  double upem = f->units_per_EM ? f->units_per_EM : 1000;
  double winAsc = os2 ? os2->usWinAscent : (hhea ? hhea->Ascender : upem * 0.9);
  double winDesc = os2 ? os2->usWinDescent : (hhea ? -hhea->Descender : upem * 0.2);
  if (winAsc + winDesc <= 0) {
    winAsc = upem * 0.9;
    winDesc = upem * 0.2;
  }
  double sy = std::fabs(scaleY) > 0 ? std::fabs(scaleY) : 1;
  double em;
  if (lf.lfHeight < 0)
    em = -lf.lfHeight * sy;
  else if (lf.lfHeight > 0)
    em = lf.lfHeight * sy * upem / (winAsc + winDesc);
  else
    em = 12;
  em = std::max(1.0, std::min(em, 4000.0));
  inst->FEm = em;
  double scale = em / upem;
  double avgUnits = (os2 && os2->xAvgCharWidth > 0) ? os2->xAvgCharWidth : upem / 2;
  double emX = em;
  if (lf.lfWidth > 0) emX = em * (lf.lfWidth * sy) / (avgUnits * scale);
  FT_New_Size(f, &im.Size);
  FT_Activate_Size(im.Size);
  FT_Set_Char_Size(f, FT_F26Dot6(std::lround(emX * 64)), FT_F26Dot6(std::lround(em * 64)), 72, 72);
  if (im.Fallback) {
    FT_New_Size(im.Fallback, &im.FallbackSize);
    FT_Activate_Size(im.FallbackSize);
    FT_Set_Char_Size(im.Fallback, FT_F26Dot6(std::lround(emX * 64)), FT_F26Dot6(std::lround(em * 64)), 72, 72);
  }
  inst->FAngle = lf.lfEscapement / 10.0 * M_PI / 180.0;

  TEXTMETRICA& tm = inst->FMetrics;
  tm.tmAscent = Round(winAsc * scale);
  tm.tmDescent = Round(winDesc * scale);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - Round(em));
  if (hhea) {
    double lineUnits = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
    tm.tmExternalLeading = std::max(0, Round((lineUnits - (winAsc + winDesc)) * scale));
  }
  tm.tmWeight = lf.lfWeight ? lf.lfWeight : (m.Weight >= FC_WEIGHT_BOLD ? FW_BOLD : FW_NORMAL);
  tm.tmItalic = lf.lfItalic ? 1 : 0;
  tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  tm.tmFirstChar = 0x1E;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  bool fixed = FT_IS_FIXED_WIDTH(f) || family == "Liberation Mono";
  BYTE fam = FF_SWISS;
  if (family == "Liberation Serif")
    fam = FF_ROMAN;
  else if (fixed)
    fam = FF_MODERN;
  else if (family == kChineseFamily)
    fam = FF_DONTCARE;
  // The low bit set means variable pitch (the classic inverted meaning).
  tm.tmPitchAndFamily = BYTE(fam | TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH));
  bool cjkFace = FT_Get_Char_Index(f, 0x4E2D) != 0;
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? (cjkFace ? GB2312_CHARSET : ANSI_CHARSET) : lf.lfCharSet;
  tm.tmMaxCharWidth = hhea ? Round(hhea->advance_Width_Max * scale * emX / em) : Round(em);
  // A CJK face's average width counts full-width glyphs; GDI answers the Latin one.
  int ave = Round(avgUnits * scale * emX / em);
  if (ave > Round(em * 0.6)) ave = inst->Advance(U'x');
  tm.tmAveCharWidth = ave;
  if (im.SynthBold) tm.tmMaxCharWidth += 1, tm.tmAveCharWidth += 1;

  if (post) {
    inst->FUnderlinePos = std::max(1, Round(-post->underlinePosition * scale));
    inst->FUnderlineSize = std::max(1, Round(post->underlineThickness * scale));
  }
  if (os2) {
    inst->FStrikePos = std::max(1, Round(os2->yStrikeoutPosition * scale));
    inst->FStrikeSize = std::max(1, Round(os2->yStrikeoutSize * scale));
  }
  Trim(c);
  c.Instances[key] = TFaceCache::TEntry{inst, ++c.Clock};
  return inst;
}

const TFontInstance::TGlyph& TFontInstance::Glyph(char32_t cp)
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  if (cp < 256 && FImpl->Latin[cp]) return *FImpl->Latin[cp];
  auto it = FImpl->Glyphs.find(cp);
  if (it != FImpl->Glyphs.end()) return it->second;
  TGlyph gl;
  bool fb = false;
  unsigned idx = 0;
  if (FT_Face f = FImpl->Load(cp, nullptr, true, fb, idx)) {
    FT_GlyphSlot s = f->glyph;
    FT_Pos adv = FImpl->Unhinted ? FT_Pos((s->linearHoriAdvance + 512) >> 10) : s->advance.x;
    gl.Advance = int((adv + 32) >> 6) + (FImpl->SynthBold ? 1 : 0);
    TImpl::CopyBitmap(s, gl);
  }
  gl.Index = idx;
  gl.Fallback = fb;
  const TGlyph& stored = FImpl->Glyphs.emplace(cp, std::move(gl)).first->second;
  if (cp < 256) FImpl->Latin[cp] = &stored;
  return stored;
}

int TFontInstance::Advance(char32_t cp) { return Glyph(cp).Advance; }

TFontInstance::TGlyph TFontInstance::RotatedGlyph(char32_t cp)
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  TGlyph gl;
  gl.Advance = Advance(cp);
  FT_Matrix m;
  double c = std::cos(FAngle), s = std::sin(FAngle);
  m.xx = FT_Fixed(std::lround(c * 65536));
  m.xy = FT_Fixed(std::lround(-s * 65536));
  m.yx = FT_Fixed(std::lround(s * 65536));
  m.yy = FT_Fixed(std::lround(c * 65536));
  bool fb = false;
  unsigned idx = 0;
  if (FT_Face f = FImpl->Load(cp, &m, true, fb, idx)) TImpl::CopyBitmap(f->glyph, gl);
  gl.Index = idx;
  gl.Fallback = fb;
  return gl;
}

ABC TFontInstance::AbcWidths(char32_t cp)
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  const TGlyph& gl = Glyph(cp);
  ABC abc;
  if (gl.Width == 0) {
    abc.abcA = 0;
    abc.abcB = 0;
    abc.abcC = gl.Advance;
    return abc;
  }
  abc.abcA = gl.Left;
  abc.abcB = UINT(gl.Width);
  abc.abcC = gl.Advance - gl.Left - gl.Width;
  return abc;
}

std::string TFontInstance::FaceNameAnsi() const
{
  if (!FImpl->RequestedFace.empty()) return FImpl->RequestedFace;
  return System::Utf8ToAnsi(FImpl->Face->family_name ? FImpl->Face->family_name : "");
}

bool TFontInstance::SyntheticBold() const { return FImpl->SynthBold; }
bool TFontInstance::SyntheticItalic() const { return FImpl->SynthItalic; }

bool TFontInstance::FaceSource(bool fallback, std::string& file, int& index) const
{
  if (fallback && !FImpl->Fallback) return false;
  file = fallback ? FImpl->FallbackFile : FImpl->FaceFile;
  index = fallback ? FImpl->FallbackIndex : FImpl->FaceIndex;
  return true;
}

namespace {

std::uint32_t Be32(const std::uint8_t* p)
{
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x)
{
  v[at] = std::uint8_t(x >> 24);
  v[at + 1] = std::uint8_t(x >> 16);
  v[at + 2] = std::uint8_t(x >> 8);
  v[at + 3] = std::uint8_t(x);
}
void Put16(std::vector<std::uint8_t>& v, std::size_t at, unsigned x)
{
  v[at] = std::uint8_t(x >> 8);
  v[at + 1] = std::uint8_t(x);
}
std::uint32_t CheckSum(const std::uint8_t* p, std::size_t n)
{
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n; i += 4) {
    std::uint8_t b[4] = {0, 0, 0, 0};
    for (std::size_t k = 0; k < 4 && i + k < n; ++k) b[k] = p[i + k];
    sum += Be32(b);
  }
  return sum;
}

// A standalone sfnt built from the tables of one face of a collection.
std::vector<std::uint8_t> BuildStandalone(FT_Face f)
{
  struct TTable {
    std::uint32_t Tag;
    std::vector<std::uint8_t> Data;
  };
  std::vector<TTable> tables;
  FT_ULong count = 0;
  FT_Sfnt_Table_Info(f, 0, nullptr, &count);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_ULong tag = 0, len = 0;
    if (FT_Sfnt_Table_Info(f, i, &tag, &len) != 0) continue;
    TTable t{std::uint32_t(tag), std::vector<std::uint8_t>(len)};
    FT_ULong got = len;
    if (len && FT_Load_Sfnt_Table(f, tag, 0, t.Data.data(), &got) != 0) continue;
    tables.push_back(std::move(t));
  }
  std::sort(tables.begin(), tables.end(), [](const TTable& a, const TTable& b) { return a.Tag < b.Tag; });
  unsigned n = unsigned(tables.size());
  unsigned entrySelector = 0;
  while ((2u << entrySelector) <= n) ++entrySelector;
  unsigned searchRange = (1u << entrySelector) * 16;
  std::size_t headerSize = 12 + 16 * std::size_t(n);
  std::size_t total = headerSize;
  for (const TTable& t : tables) total += (t.Data.size() + 3) & ~std::size_t(3);
  std::vector<std::uint8_t> out(total, 0);
  bool cff = std::any_of(tables.begin(), tables.end(), [](const TTable& t) { return t.Tag == 0x43464620; });
  Put32(out, 0, cff ? 0x4F54544F : 0x00010000);
  Put16(out, 4, n);
  Put16(out, 6, searchRange);
  Put16(out, 8, entrySelector);
  Put16(out, 10, n * 16 - searchRange);
  std::size_t offset = headerSize, headOffset = 0;
  for (unsigned i = 0; i < n; ++i) {
    TTable& t = tables[i];
    if (t.Tag == 0x68656164 && t.Data.size() >= 12) {  // 'head': adjustment recomputed below
      t.Data[8] = t.Data[9] = t.Data[10] = t.Data[11] = 0;
      headOffset = offset;
    }
    std::size_t e = 12 + 16 * std::size_t(i);
    Put32(out, e, t.Tag);
    Put32(out, e + 4, CheckSum(t.Data.data(), t.Data.size()));
    Put32(out, e + 8, std::uint32_t(offset));
    Put32(out, e + 12, std::uint32_t(t.Data.size()));
    std::copy(t.Data.begin(), t.Data.end(), out.begin() + std::ptrdiff_t(offset));
    offset += (t.Data.size() + 3) & ~std::size_t(3);
  }
  if (headOffset) Put32(out, headOffset + 8, 0xB1B0AFBAu - CheckSum(out.data(), out.size()));
  return out;
}

}  // namespace

std::vector<std::uint8_t> TFontInstance::FontData(std::uint32_t tag) const
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  FT_Face f = FImpl->Face;
  if (!FT_IS_SFNT(f)) return {};
  if (tag == 0 && f->num_faces > 1) return BuildStandalone(f);
  FT_ULong len = 0;
  if (FT_Load_Sfnt_Table(f, tag, 0, nullptr, &len) != 0 || len == 0) return {};
  std::vector<std::uint8_t> out(len);
  if (FT_Load_Sfnt_Table(f, tag, 0, out.data(), &len) != 0) return {};
  return out;
}

bool TFontInstance::FillOutline(OUTLINETEXTMETRICA& o) const
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  FT_Face f = FImpl->Face;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(f, FT_SFNT_POST));
  auto* head = static_cast<TT_Header*>(FT_Get_Sfnt_Table(f, FT_SFNT_HEAD));
  if (!os2 || !hhea || !head) return false;
  double scale = FEm / (f->units_per_EM ? f->units_per_EM : 1000);
  o.otmTextMetrics = FMetrics;
  for (int i = 0; i < 10; ++i) o.otmPanoseNumber.bytes[i] = os2->panose[i];
  o.otmfsSelection = os2->fsSelection;
  if (FLog.lfItalic) o.otmfsSelection |= 1;
  if (FLog.lfUnderline) o.otmfsSelection |= 2;
  if (FLog.lfStrikeOut) o.otmfsSelection |= 16;
  if (FLog.lfWeight >= 600) o.otmfsSelection |= 32;
  o.otmfsType = os2->fsType;
  o.otmsCharSlopeRise = 1;
  o.otmsCharSlopeRun = 0;
  o.otmItalicAngle = post ? int(std::lround(post->italicAngle / 65536.0 * 10)) : 0;
  if (FImpl->SynthItalic && o.otmItalicAngle == 0) o.otmItalicAngle = -120;
  o.otmEMSquare = f->units_per_EM;
  o.otmAscent = Round(os2->sTypoAscender * scale);
  o.otmDescent = Round(os2->sTypoDescender * scale);
  o.otmLineGap = UINT(std::max(0, Round(os2->sTypoLineGap * scale)));
  o.otmsCapEmHeight =
      UINT(Round((os2->version >= 2 && os2->sCapHeight ? os2->sCapHeight : os2->sTypoAscender) * scale));
  o.otmsXHeight = UINT(Round((os2->version >= 2 && os2->sxHeight ? os2->sxHeight : os2->sTypoAscender / 2) * scale));
  o.otmrcFontBox =
      RECT{Round(head->xMin * scale), Round(head->yMax * scale), Round(head->xMax * scale), Round(head->yMin * scale)};
  o.otmMacAscent = Round(hhea->Ascender * scale);
  o.otmMacDescent = Round(hhea->Descender * scale);
  o.otmMacLineGap = UINT(std::max(0, Round(hhea->Line_Gap * scale)));
  o.otmusMinimumPPEM = 0;
  o.otmptSubscriptSize = POINT{Round(os2->ySubscriptXSize * scale), Round(os2->ySubscriptYSize * scale)};
  o.otmptSubscriptOffset = POINT{Round(os2->ySubscriptXOffset * scale), Round(os2->ySubscriptYOffset * scale)};
  o.otmptSuperscriptSize = POINT{Round(os2->ySuperscriptXSize * scale), Round(os2->ySuperscriptYSize * scale)};
  o.otmptSuperscriptOffset = POINT{Round(os2->ySuperscriptXOffset * scale), Round(os2->ySuperscriptYOffset * scale)};
  o.otmsStrikeoutSize = UINT(FStrikeSize);
  o.otmsStrikeoutPosition = FStrikePos;
  o.otmsUnderscoreSize = FUnderlineSize;
  o.otmsUnderscorePosition = -FUnderlinePos;
  return true;
}

namespace GdiInternal {
std::shared_ptr<TFontInstance> FontOf(TDCObj* dc)
{
  TFontObj* f = Font(dc->State.Font);
  if (!f) f = Font(static_cast<HFONT>(Stock(SYSTEM_FONT)));
  TMapping m = MappingOf(dc);
  double sy = std::fabs(m.Sy);
  bool outline = dc->Surface == TSurfaceKind::Vector;
  if (f->Realized && f->RealizedScale == sy && f->RealizedOutline == outline) return f->Realized;
  f->Realized = TFontInstance::Get(f->Log, sy, outline);
  f->RealizedScale = sy;
  f->RealizedOutline = outline;
  return f->Realized;
}
}  // namespace GdiInternal

namespace {

// The character sets a family is listed under, by a language its coverage includes.
const std::pair<BYTE, const char*> kCharsetLangs[] = {
    {ANSI_CHARSET, "en"},           {SHIFTJIS_CHARSET, "ja"}, {HANGEUL_CHARSET, "ko"}, {GB2312_CHARSET, "zh-cn"},
    {CHINESEBIG5_CHARSET, "zh-tw"}, {GREEK_CHARSET, "el"},    {TURKISH_CHARSET, "tr"}, {VIETNAMESE_CHARSET, "vi"},
    {HEBREW_CHARSET, "he"},         {ARABIC_CHARSET, "ar"},   {BALTIC_CHARSET, "lt"},  {RUSSIAN_CHARSET, "ru"},
    {EASTEUROPE_CHARSET, "pl"},
};

// ASCII letters folded to lower case; double-byte characters kept whole (their trail bytes
// may look like letters).
std::string FoldName(const std::string& s)
{
  std::string r = s;
  for (std::size_t i = 0; i < r.size(); ++i) {
    unsigned char b = (unsigned char)r[i];
    if (b >= 0x81 && b <= 0xFE && i + 1 < r.size())
      ++i;
    else if (b >= 'A' && b <= 'Z')
      r[i] = char(b + 32);
  }
  return r;
}

}  // namespace

namespace GdiInternal {

std::vector<TFamilyInfo> InstalledFamilies()
{
  std::lock_guard<std::recursive_mutex> g(FtLock());
  TFaceCache& c = Cache();
  std::vector<TFamilyInfo> out;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_SPACING, FC_LANG, nullptr);
  FcFontSet* set = FcFontList(c.Config, pat, os);
  std::vector<std::pair<std::string, TFamilyInfo>> found;
  if (set) {
    for (int i = 0; i < set->nfont; ++i) {
      FcPattern* f = set->fonts[i];
      FcChar8* first = nullptr;
      if (FcPatternGetString(f, FC_FAMILY, 0, &first) != FcResultMatch) continue;
      // A Chinese system names a family by its zh-cn name where it has one.
      std::string name = reinterpret_cast<char*>(first);
      FcChar8* fam = nullptr;
      for (int k = 0; FcPatternGetString(f, FC_FAMILY, k, &fam) == FcResultMatch; ++k) {
        FcChar8* lang = nullptr;
        if (FcPatternGetString(f, FC_FAMILYLANG, k, &lang) == FcResultMatch &&
            std::strcmp(reinterpret_cast<char*>(lang), "zh-cn") == 0)
          name = reinterpret_cast<char*>(fam);
      }
      TFamilyInfo info;
      info.Name = System::Utf8ToAnsi(name);
      // A name CP936 cannot hold could not be asked for again.
      if (info.Name.empty() || info.Name.find('?') != std::string::npos || info.Name.size() >= LF_FACESIZE) continue;
      int spacing = FC_PROPORTIONAL;
      if (FcPatternGetInteger(f, FC_SPACING, 0, &spacing) == FcResultMatch) info.FixedPitch = spacing >= FC_MONO;
      FcLangSet* langs = nullptr;
      if (FcPatternGetLangSet(f, FC_LANG, 0, &langs) == FcResultMatch && langs)
        for (const auto& [cs, lang] : kCharsetLangs)
          if (FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(lang)) == FcLangEqual)
            info.Charsets.push_back(cs);
      // Fonts without a language of their own (symbol fonts) are listed as such.
      if (info.Charsets.empty()) info.Charsets.push_back(SYMBOL_CHARSET);
      found.emplace_back(reinterpret_cast<char*>(first), std::move(info));
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);

  // One entry per name; the styles of a family merge their character sets.
  auto add = [&out](TFamilyInfo info) {
    for (TFamilyInfo& e : out)
      if (FoldName(e.Name) == FoldName(info.Name)) {
        for (BYTE cs : info.Charsets)
          if (std::find(e.Charsets.begin(), e.Charsets.end(), cs) == e.Charsets.end()) e.Charsets.push_back(cs);
        e.FixedPitch = e.FixedPitch && info.FixedPitch;
        return;
      }
    out.push_back(std::move(info));
  };
  for (auto& [utf8, info] : found) add(info);
  static const std::pair<const char*, const char*> kListedAliases[] = {
      {"宋体", kChineseFamily},           {"Arial", "Liberation Sans"},
      {"Tahoma", "Liberation Sans"},      {"MS Sans Serif", "Liberation Sans"},
      {"Courier New", "Liberation Mono"}, {"Times New Roman", "Liberation Serif"},
  };
  for (const auto& [alias, family] : kListedAliases) {
    TFamilyInfo merged;
    bool any = false;
    for (const auto& [utf8, info] : found)
      if (utf8 == family) {
        if (!any) merged = info;
        any = true;
        for (BYTE cs : info.Charsets)
          if (std::find(merged.Charsets.begin(), merged.Charsets.end(), cs) == merged.Charsets.end())
            merged.Charsets.push_back(cs);
      }
    if (!any) continue;
    merged.Name = alias;
    add(std::move(merged));
  }
  for (TFamilyInfo& e : out) std::sort(e.Charsets.begin(), e.Charsets.end());
  std::sort(out.begin(), out.end(),
            [](const TFamilyInfo& a, const TFamilyInfo& b) { return FoldName(a.Name) < FoldName(b.Name); });
  return out;
}

}  // namespace GdiInternal
