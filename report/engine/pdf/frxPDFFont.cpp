#include "report/engine/pdf/frxPDFFont.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "report/engine/zlib/frxGZip.h"

namespace {

AnsiString Str(Int64 v) { return SysUtils::IntToStr(v); }

AnsiString Hex4(unsigned v)
{
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFFu);
  return buf;
}

LOGFONTA LogFontOf(const TFont* Font, const AnsiString& FaceName, int Height)
{
  LOGFONTA lf{};
  lf.lfHeight = Height;
  lf.lfWeight = Font->GetStyle().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font->GetStyle().Contains(fsItalic) ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(Font->GetCharset());
  std::strncpy(lf.lfFaceName, FaceName.c_str(), LF_FACESIZE - 1);
  return lf;
}

// A memory DC with a font selected, at 1,000 pixels to the em (750 points at 96 dpi).
class TFontDC {
public:
  explicit TFontDC(const LOGFONTA& lf)
  {
    FDC = Windows::CreateCompatibleDC(nullptr);
    FFont = Windows::CreateFontIndirect(lf);
    FOld = Windows::SelectObject(FDC, FFont);
  }
  ~TFontDC()
  {
    Windows::SelectObject(FDC, FOld);
    Windows::DeleteObject(FFont);
    Windows::DeleteDC(FDC);
  }
  TFontDC(const TFontDC&) = delete;
  TFontDC& operator=(const TFontDC&) = delete;
  HDC DC() const { return FDC; }

  OUTLINETEXTMETRICA Outline() const
  {
    OUTLINETEXTMETRICA otm{};
    UINT size = Windows::GetOutlineTextMetrics(FDC, 0, nullptr);
    if (size == 0) return otm;
    std::vector<char> buf(size);
    auto* p = reinterpret_cast<OUTLINETEXTMETRICA*>(buf.data());
    if (Windows::GetOutlineTextMetrics(FDC, size, p)) otm = *p;
    return otm;
  }
  std::string Program() const
  {
    DWORD size = Windows::GetFontData(FDC, 0, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) return std::string();
    std::string data(size, '\0');
    if (Windows::GetFontData(FDC, 0, 0, data.data(), size) == GDI_ERROR) return std::string();
    return data;
  }
  AnsiString Face() const
  {
    char name[LF_FACESIZE * 2] = {};
    Windows::GetTextFace(FDC, sizeof name, name);
    return name;
  }

private:
  HDC FDC;
  HFONT FFont;
  HGDIOBJ FOld;
};

std::string Compress(const std::string& Data)
{
  TMemoryStream src, dst;
  if (!Data.empty()) src.WriteBuffer(Data.data(), static_cast<Int64>(Data.size()));
  frxGZip::CompressStream(&src, &dst, zcMax);
  return std::string(static_cast<const char*>(dst.GetMemory()), static_cast<size_t>(dst.GetSize()));
}

// The PDF name of a font: spaces as "#20", then ",Bold", ",Italic" or ",BoldItalic".
AnsiString StyledName(const AnsiString& Name, bool Bold, bool Italic)
{
  AnsiString out;
  for (char c : Name) out += c == ' ' ? AnsiString("#20") : AnsiString(1, c);
  if (Bold || Italic) out += AnsiString(",") + (Bold ? "Bold" : "") + (Italic ? "Italic" : "");
  return out;
}

}  // namespace

// ---- Faces -------------------------------------------------------------------------------------

namespace frxPDFFont {

struct TFace::THb {
  hb_blob_t* Blob = nullptr;
  hb_face_t* Face = nullptr;
  hb_font_t* Font = nullptr;
  ~THb()
  {
    hb_font_destroy(Font);
    hb_face_destroy(Face);
    hb_blob_destroy(Blob);
  }
};

TFace::TFace() = default;
TFace::~TFace() = default;

unsigned TFace::Glyph(char32_t Ch) const
{
  hb_codepoint_t g = 0;
  return Hb && hb_font_get_nominal_glyph(Hb->Font, Ch, &g) ? g : 0;
}

int TFace::Width(unsigned Glyph) const
{
  if (!Hb) return 0;
  hb_position_t adv = hb_font_get_glyph_h_advance(Hb->Font, Glyph);
  return static_cast<int>(std::lround(adv * 1000.0 / UnitsPerEm));
}

bool TFace::Covers(const AnsiString& Text) const
{
  WideString w = System::AnsiToWide(Text);
  for (char16_t c : w)
    if (c >= 32 && (c < 0xD800 || c > 0xDFFF) && Glyph(c) == 0) return false;
  return true;
}

std::string TFace::Subset(const std::set<unsigned>& Glyphs) const
{
  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (!input) throw EInvalidOperation("Cannot subset the font " + Name);
  hb_set_t* set = hb_subset_input_glyph_set(input);
  hb_set_add(set, 0);
  for (unsigned g : Glyphs) hb_set_add(set, g);
  // The page text names glyphs by their numbers in the whole face.
  hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
  hb_face_t* cut = hb_subset_or_fail(Hb->Face, input);
  hb_subset_input_destroy(input);
  if (!cut) throw EInvalidOperation("Cannot subset the font " + Name);
  hb_blob_t* blob = hb_face_reference_blob(cut);
  unsigned len = 0;
  const char* data = hb_blob_get_data(blob, &len);
  std::string out(data, len);
  hb_blob_destroy(blob);
  hb_face_destroy(cut);
  return out;
}

namespace {

std::shared_ptr<TFace> LoadFace(const TFont* Font, const AnsiString& FaceName)
{
  TFontDC dc(LogFontOf(Font, FaceName, -1000));
  auto face = std::make_shared<TFace>();
  face->Name = dc.Face();
  face->Bold = Font->GetStyle().Contains(fsBold);
  face->Italic = Font->GetStyle().Contains(fsItalic);
  face->Data = dc.Program();
  OUTLINETEXTMETRICA otm = dc.Outline();
  face->Ascent = otm.otmAscent;
  face->Descent = otm.otmDescent;
  face->CapHeight = static_cast<int>(otm.otmsCapEmHeight);
  face->Weight = otm.otmTextMetrics.tmWeight;
  face->ItalicAngle = otm.otmItalicAngle / 10;
  face->BBox = otm.otmrcFontBox;
  face->Hb = std::make_unique<TFace::THb>();
  face->Hb->Blob = hb_blob_create_or_fail(face->Data.data(), static_cast<unsigned>(face->Data.size()),
                                          HB_MEMORY_MODE_READONLY, nullptr, nullptr);
  if (!face->Hb->Blob) face->Hb->Blob = hb_blob_get_empty();
  face->Hb->Face = hb_face_create(face->Hb->Blob, 0);
  face->UnitsPerEm = std::max(1u, hb_face_get_upem(face->Hb->Face));
  face->Hb->Font = hb_font_create(face->Hb->Face);
  hb_font_set_scale(face->Hb->Font, static_cast<int>(face->UnitsPerEm), static_cast<int>(face->UnitsPerEm));
  char ps[128] = {};
  unsigned len = sizeof ps;
  hb_ot_name_get_utf8(face->Hb->Face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &len, ps);
  for (const char* c = ps; *c; ++c)
    if (*c > 32 && *c < 127 && !std::strchr("()<>[]{}/%#", *c)) face->PostScriptName += *c;
  if (face->PostScriptName.empty())
    for (char c : face->Name)
      if (c != ' ') face->PostScriptName += c;
  return face;
}

}  // namespace

std::shared_ptr<TFace> FaceFor(const TFont* Font, const AnsiString& Text)
{
  // Faces are large (a Chinese face is several megabytes): one load per face and style.
  static std::map<std::string, std::shared_ptr<TFace>> cache;
  auto get = [&](const AnsiString& FaceName) {
    std::string key = FaceName + "|" + Str(Font->GetStyle().Mask());
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    return cache[key] = LoadFace(Font, FaceName);
  };
  std::shared_ptr<TFace> own = get(Font->GetName());
  if (own->Covers(Text)) return own;
  // The drawing layer draws what a face lacks with its Chinese face, which "宋体" names.
  return get("宋体");
}

AnsiString NameEscape(const AnsiString& Text)
{
  AnsiString out;
  for (char c : Text) {
    auto u = static_cast<unsigned char>(c);
    if (u > 127) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "#%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace frxPDFFont

// ---- TfrxPDFFont -------------------------------------------------------------------------------

TfrxPDFFont::TfrxPDFFont(TfrxPDFFile* PDFFile, const TFont* Font) : FPDFFile(PDFFile), FFont(std::make_unique<TFont>())
{
  FFont->Assign(const_cast<TFont*>(Font));
}

TfrxPDFFont::TfrxPDFFont(TfrxPDFFile* PDFFile, const TFont* Font, std::shared_ptr<frxPDFFont::TFace> Face)
    : TfrxPDFFont(PDFFile, Font)
{
  FFace = std::move(Face);
}

TfrxPDFFont::~TfrxPDFFont() = default;

AnsiString TfrxPDFFont::EncodeText(const AnsiString& Text)
{
  AnsiString out = "<";
  WideString w = System::AnsiToWide(Text);
  for (size_t i = 0; i < w.size(); ++i) {
    char32_t ch = w[i];
    std::u16string units(1, w[i]);
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < w.size()) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      units += w[++i];
    }
    unsigned g = FFace->Glyph(ch);
    FUsed.emplace(g, units);
    out += Hex4(g);
  }
  return out + ">";
}

void TfrxPDFFont::SaveToStream(TStream* Stream)
{
  TfrxPDFElement::SaveToStream(Stream);
  if (FFace)
    SaveCID(Stream);
  else
    SaveTrueType(Stream);
}

void TfrxPDFFont::SaveProgram(TStream* Stream, Integer Number, const std::string& Program)
{
  std::string packed = Compress(Program);
  FPDFFile->AddXref(Stream, Number);
  WriteLine(Stream, Str(Number) + " 0 obj");
  WriteLine(Stream, "<< /Length " + Str(static_cast<Int64>(packed.size())) + " /Filter /FlateDecode /Length1 " +
                        Str(static_cast<Int64>(Program.size())) + " >>");
  WriteLine(Stream, "stream");
  Write(Stream, packed);
  WriteLine(Stream, "");
  WriteLine(Stream, "endstream");
  WriteLine(Stream, "endobj");
}

void TfrxPDFFont::SaveTrueType(TStream* Stream)
{
  bool bold = FFont->GetStyle().Contains(fsBold), italic = FFont->GetStyle().Contains(fsItalic);
  TFontDC dc(LogFontOf(FFont.get(), FFont->GetName(), -1000));
  OUTLINETEXTMETRICA otm = dc.Outline();
  const TEXTMETRICA& tm = otm.otmTextMetrics;
  Integer charset = tm.tmCharSet;
  AnsiString name = StyledName(FFont->GetName(), bold, italic);
  if (charset == CHINESEBIG5_CHARSET) {
    name = frxPDFFont::NameEscape(name);
  } else if (FPDFFile->GetToolkit()->PrepareString(name) != name) {
    // A name that is no plain ASCII ("宋体") would become a UTF-16 string, which names no font:
    // the face's own PostScript name does.
    name = StyledName(frxPDFFont::FaceFor(FFont.get(), AnsiString())->PostScriptName, bold, italic);
  }
  auto stemV = static_cast<Integer>(std::nearbyint(std::pow(tm.tmWeight / 65.0, 2))) + 50;
  const RECT& box = otm.otmrcFontBox;
  AnsiString bbox =
      "/FontBBox [" + Str(box.left) + " " + Str(box.bottom) + " " + Str(box.right) + " " + Str(box.top) + " ]";
  Integer n = FPDFFile->GetFontsBase() + GetNumber();
  bool embed = FPDFFile->GetEmbeddedFonts();

  FPDFFile->AddXref(Stream, n);
  WriteLine(Stream, Str(n) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /Font");
  WriteLine(Stream, "/Name /F" + Str(GetNumber() - 1));
  WriteLine(Stream, "/BaseFont /" + frxPDFFont::NameEscape(name));
  WriteLine(Stream, charset == CHINESEBIG5_CHARSET ? "/Subtype /Type0" : "/Subtype /TrueType");
  switch (charset) {
    case 0:
    case 2: WriteLine(Stream, "/Encoding /WinAnsiEncoding"); break;
    case 161:
    case 162:
    case 163:
    case 177:
    case 178:
      WriteLine(Stream, "/Encoding <</Type/Encoding /BaseEncoding /WinAnsiEncoding");
      Write(Stream, "/Differences [128 /Euro 142 /Zcaron 158 /zcaron]");
      WriteLine(Stream, ">>");
      break;
    case 204:
      WriteLine(Stream, "/Encoding <</Type/Encoding /BaseEncoding /WinAnsiEncoding");
      for (const char* part :
           {"/Differences [129 /afii10052",
            "/quotesinglbase/afii10100/quotedblbase/ellipsis/dagger/daggerdbl/Euro/perthousand/afii10058/"
            "guilsinglleft/afii10059/afii10061/afii10060/afii10145/afii10099/quoteleft",
            "/quoteright/quotedblleft/quotedblright/bullet/endash/emdash/space/trademark/afii10106/guilsinglright/"
            "afii10107/afii10109/afii10108/afii10193/space/afii10062",
            "/afii10110/afii10057/currency/afii10050/brokenbar/section/afii10023/copyright/afii10053/guillemotleft/"
            "logicalnot/hyphen/registered/afii10056/degree/plusminus",
            "/afii10055/afii10103/afii10098/mu/paragraph/periodcentered/afii10071/afii61352/afii10101/guillemotright/"
            "afii10105/afii10054/afii10102/afii10104/afii10017/afii10018",
            "/afii10019/afii10020/afii10021/afii10022/afii10024/afii10025/afii10026/afii10027/afii10028/afii10029/"
            "afii10030/afii10031/afii10032/afii10033/afii10034/afii10035",
            "/afii10036/afii10037/afii10038/afii10039/afii10040/afii10041/afii10042/afii10043/afii10044/afii10045/"
            "afii10046/afii10047/afii10048/afii10049/afii10065/afii10066",
            "/afii10067/afii10068/afii10069/afii10070/afii10072/afii10073/afii10074/afii10075/afii10076/afii10077/"
            "afii10078/afii10079/afii10080/afii10081/afii10082/afii10083"})
        Write(Stream, part);
      WriteLine(Stream,
                "/afii10084/afii10085/afii10086/afii10087/afii10088/afii10089/afii10090/afii10091/afii10092/"
                "afii10093/afii10094/afii10095/afii10096/afii10097/space]");
      WriteLine(Stream, ">>");
      break;
    case 238:
      WriteLine(Stream, "/Encoding <</Type/Encoding /BaseEncoding /WinAnsiEncoding");
      for (const char* part :
           {"/Differences [128 /Euro 140 /Sacute /Tcaron /Zcaron /Zacute",
            " 156 /sacute /tcaron /zcaron /zacute 161 /caron /breve /Lslash",
            " 165 /Aogonek 170 /Scedilla 175 /Zdotaccent 178 /ogonek /lslash",
            " 185 /aogonek /scedilla 188 /Lcaron /hungarumlaut /lcaron /zdotaccent /Racute",
            " 195 /Abreve 197 /Lacute /Cacute 200 /Ccaron 202 /Eogonek 204 /Ecaron 207 /Dcaron /Dslash",
            " 209 /Nacute /Ncaron /Oacute 213 /Ohungarumlaut 216 /Rcaron /Uring 219 /Uhungarumlaut",
            " 222 /Tcedilla 224 /racute 227 /abreve 229 /lacute /cacute /ccedilla /ccaron",
            " 234 /eogonek 236 /ecaron 239 /dcaron /dmacron /nacute /ncaron 245 /ohungarumlaut",
            " 248 /rcaron /uring 251 /uhungarumlaut 254 /tcedilla /dotaccent]"})
        Write(Stream, part);
      WriteLine(Stream, "");
      WriteLine(Stream, ">>");
      break;
    default: break;
  }

  if (charset == CHINESEBIG5_CHARSET) {
    WriteLine(Stream, "/DescendantFonts [" + Str(n + 1) + " 0 R]");
    WriteLine(Stream, "/Encoding /ETenms-B5-H");
    WriteLine(Stream, ">>");
    WriteLine(Stream, "endobj");
    FPDFFile->AddXref(Stream, n + 1);
    for (const AnsiString& line :
         {Str(n + 1) + " 0 obj", AnsiString("<<"), AnsiString("/Type /Font"), AnsiString("/Subtype"),
          AnsiString("/CIDFontType2"), "/BaseFont /" + frxPDFFont::NameEscape(name), AnsiString("/WinCharSet 136"),
          "/FontDescriptor " + Str(n + 2) + " 0 R", AnsiString("/CIDSystemInfo"), AnsiString("<<"),
          AnsiString("/Registry(Adobe)"), AnsiString("/Ordering(CNS1)"), AnsiString("/Supplement 0"), AnsiString(">>"),
          AnsiString("/DW 1000"), AnsiString("/W [1 95 500]"), AnsiString(">>"), AnsiString("endobj")})
      WriteLine(Stream, line);
    FPDFFile->AddXref(Stream, n + 2);
    WriteLine(Stream, Str(n + 2) + " 0 obj");
    WriteLine(Stream, "<<");
    WriteLine(Stream, "/Type /FontDescriptor");
    if (embed) WriteLine(Stream, "/FontFile2 " + Str(n + 4) + " 0 R");
    WriteLine(Stream, "/FontName /" + frxPDFFont::NameEscape(name));
    WriteLine(Stream, "/Flags 7");
    WriteLine(Stream, bbox);
    WriteLine(Stream, "/Style << /Panose <010502020300000000000000> >>");
    WriteLine(Stream, "/Ascent " + Str(otm.otmAscent));
    WriteLine(Stream, "/Descent " + Str(otm.otmDescent));
    WriteLine(Stream, "/CapHeight " + Str(tm.tmHeight));
    WriteLine(Stream, "/StemV " + Str(stemV));
    WriteLine(Stream, "/ItalicAngle " + Str(otm.otmItalicAngle));
    WriteLine(Stream, ">>");
    WriteLine(Stream, "endobj");
  } else {
    // Only single-byte text comes here: the codes stop at 255.
    Integer first = tm.tmFirstChar, last = std::min<Integer>(tm.tmLastChar, 255);
    if (last < first) last = first;
    std::vector<ABC> abc(static_cast<size_t>(last - first + 1));
    Windows::GetCharABCWidths(dc.DC(), static_cast<UINT>(first), static_cast<UINT>(last), abc.data());
    WriteLine(Stream, "/FontDescriptor " + Str(n + 2) + " 0 R");
    WriteLine(Stream, "/FirstChar " + Str(first));
    WriteLine(Stream, "/LastChar " + Str(last));
    Write(Stream, "/Widths [");
    for (const ABC& w : abc) Write(Stream, Str(w.abcA + static_cast<Int64>(w.abcB) + w.abcC) + " ");
    WriteLine(Stream, "]");
    WriteLine(Stream, ">>");
    WriteLine(Stream, "endobj");
    FPDFFile->AddXref(Stream, n + 2);
    WriteLine(Stream, Str(n + 2) + " 0 obj");
    WriteLine(Stream, "<<");
    WriteLine(Stream, "/Type /FontDescriptor");
    if (embed) WriteLine(Stream, "/FontFile2 " + Str(n + 4) + " 0 R");
    WriteLine(Stream, bbox);
    WriteLine(Stream, "/FontName /" + name);
    WriteLine(Stream, "/Flags 32");
    WriteLine(Stream, "/StemV " + Str(stemV));
    WriteLine(Stream, "/CapHeight " + Str(tm.tmHeight));
    WriteLine(Stream, "/Ascent " + Str(otm.otmAscent));
    WriteLine(Stream, "/Descent " + Str(otm.otmDescent));
    WriteLine(Stream, "/ItalicAngle " + Str(otm.otmItalicAngle));
    WriteLine(Stream, ">>");
    WriteLine(Stream, "endobj");
  }
  if (embed) SaveProgram(Stream, n + 4, dc.Program());
}

void TfrxPDFFont::SaveCID(TStream* Stream)
{
  const frxPDFFont::TFace& face = *FFace;
  std::set<unsigned> glyphs;
  for (const auto& used : FUsed) glyphs.insert(used.first);
  // A subset's name starts with six capitals telling it from other subsets of the face.
  unsigned long hash = 5381;
  for (unsigned g : glyphs) hash = hash * 33 + g;
  AnsiString tag;
  for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
  AnsiString name = tag + "+" + frxPDFFont::NameEscape(StyledName(face.PostScriptName, face.Bold, face.Italic));
  Integer n = FPDFFile->GetFontsBase() + GetNumber();
  bool compressed = FPDFFile->GetCompressed();

  FPDFFile->AddXref(Stream, n);
  WriteLine(Stream, Str(n) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /Font");
  WriteLine(Stream, "/Name /F" + Str(GetNumber() - 1));
  WriteLine(Stream, "/BaseFont /" + name);
  WriteLine(Stream, "/Subtype /Type0");
  WriteLine(Stream, "/Encoding /Identity-H");
  WriteLine(Stream, "/DescendantFonts [" + Str(n + 1) + " 0 R]");
  WriteLine(Stream, "/ToUnicode " + Str(n + 3) + " 0 R");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  FPDFFile->AddXref(Stream, n + 1);
  WriteLine(Stream, Str(n + 1) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /Font");
  WriteLine(Stream, "/Subtype /CIDFontType2");
  WriteLine(Stream, "/BaseFont /" + name);
  WriteLine(Stream, "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>");
  WriteLine(Stream, "/FontDescriptor " + Str(n + 2) + " 0 R");
  WriteLine(Stream, "/CIDToGIDMap /Identity");
  WriteLine(Stream, "/DW 1000");
  Write(Stream, "/W [");
  for (unsigned g : glyphs) Write(Stream, Str(g) + " [" + Str(face.Width(g)) + "] ");
  WriteLine(Stream, "]");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  auto stemV = static_cast<Integer>(std::nearbyint(std::pow(face.Weight / 65.0, 2))) + 50;
  FPDFFile->AddXref(Stream, n + 2);
  WriteLine(Stream, Str(n + 2) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /FontDescriptor");
  WriteLine(Stream, "/FontName /" + name);
  WriteLine(Stream, "/FontFile2 " + Str(n + 4) + " 0 R");
  WriteLine(Stream, "/Flags 4");
  WriteLine(Stream, "/FontBBox [" + Str(face.BBox.left) + " " + Str(face.BBox.bottom) + " " + Str(face.BBox.right) +
                        " " + Str(face.BBox.top) + " ]");
  WriteLine(Stream, "/Ascent " + Str(face.Ascent));
  WriteLine(Stream, "/Descent " + Str(face.Descent));
  WriteLine(Stream, "/CapHeight " + Str(face.CapHeight));
  WriteLine(Stream, "/StemV " + Str(stemV));
  WriteLine(Stream, "/ItalicAngle " + Str(face.ItalicAngle));
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  // ToUnicode: what each glyph stands for, so the text can be searched and copied.
  AnsiString cmap =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  std::vector<std::pair<unsigned, std::u16string>> entries(FUsed.begin(), FUsed.end());
  for (size_t i = 0; i < entries.size(); i += 100) {
    size_t count = std::min<size_t>(100, entries.size() - i);
    cmap += Str(static_cast<Int64>(count)) + " beginbfchar\n";
    for (size_t k = i; k < i + count; ++k) {
      cmap += "<" + Hex4(entries[k].first) + "> <";
      for (char16_t u : entries[k].second) cmap += Hex4(u);
      cmap += ">\n";
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  std::string body = compressed ? Compress(cmap) : std::string(cmap);
  FPDFFile->AddXref(Stream, n + 3);
  WriteLine(Stream, Str(n + 3) + " 0 obj");
  WriteLine(Stream, AnsiString("<< /Length ") + Str(static_cast<Int64>(body.size())) +
                        (compressed ? " /Filter /FlateDecode" : "") + " >>");
  WriteLine(Stream, "stream");
  Write(Stream, body);
  WriteLine(Stream, "");
  WriteLine(Stream, "endstream");
  WriteLine(Stream, "endobj");

  SaveProgram(Stream, n + 4, face.Subset(glyphs));
}
