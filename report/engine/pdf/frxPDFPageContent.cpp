#include "report/engine/pdf/frxPDFPageContent.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/forms/graphics/Colors.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/pdf/frxPDFFont.h"

namespace frxPDFPageContent {

namespace {

constexpr TColor kNoColor = static_cast<TColor>(0x1FFFFFFF);

bool IsNoColor(TColor c) { return c == kNoColor || c == clNone; }

AnsiString Fmt(double v, std::chars_format f, int precision)
{
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, f, precision);
  return AnsiString(buf, r.ptr);
}

bool HasDoubleByte(const AnsiString& s)
{
  for (char c : s)
    if (System::IsLeadByte(c)) return true;
  return false;
}

class TContent {
public:
  explicit TContent(TfrxPDFPage* Page) : FPage(Page), FStream(Page->GetContent()) {}
  void Line(const AnsiString& s) { TfrxPDFElement::WriteLine(FStream, s); }
  void Put(const AnsiString& s) { TfrxPDFElement::Write(FStream, s); }
  void Bytes(const std::vector<std::uint8_t>& b)
  {
    if (!b.empty()) FStream->WriteBuffer(b.data(), static_cast<Int64>(b.size()));
  }
  AnsiString X(Extended v) const { return Num(v * 0.75 + FPage->GetMarginLeft()); }
  AnsiString Y(Extended v) const { return Num(FPage->GetHeight() - (v * 0.75 + FPage->GetMarginTop())); }
  AnsiString Point(Extended x, Extended y) const { return X(x) + " " + Y(y); }
  TfrxPDFPage* Page() const { return FPage; }

private:
  TfrxPDFPage* FPage;
  TStream* FStream;
};

Extended LineHeightOf(TfrxCustomMemoView* Memo)
{
  TfrxDrawText* text = frxGraphicUtils::frxDrawText();
  text->Lock();
  TScopeExit unlock([text] { text->Unlock(); });
  text->SetFont(Memo->GetFont());
  text->SetGaps(0, 0, Memo->LineSpacing);
  return text->LineHeight();
}

void MemoPath(TContent& C, TfrxCustomMemoView* Memo)
{
  TfrxHighlight* hl = Memo->GetHighlight();
  if (hl->Active && hl->GetFont()) {
    Memo->SetFont(hl->GetFont());
    Memo->Color = hl->Color;
  }
  Extended l = Memo->GetAbsLeft(), t = Memo->GetAbsTop(), w = Memo->GetWidth(), h = Memo->GetHeight();
  if (!IsNoColor(Memo->Color)) {
    C.Line(ColorToPDF(Memo->Color, false));
    C.Put(C.X(l) + " " + C.Y(t + h) + " ");
    C.Line(Num(w * 0.75) + " " + Num(h * 0.75) + " re");
    C.Line("f");
  }
  TfrxFrame* frame = Memo->GetFrame();
  if (!frame->Typ.Empty() && !IsNoColor(frame->Color)) {
    C.Line(ColorToPDF(frame->Color, true));
    C.Line(Num(frame->Width * 0.75) + " w");
    auto side = [&](Extended x1, Extended y1, Extended x2, Extended y2) {
      C.Line(C.Point(x1, y1) + " m");
      C.Line(C.Point(x2, y2) + " l");
      C.Line("S");
    };
    if (frame->Typ.Contains(ftTop)) side(l, t, l + w, t);
    if (frame->Typ.Contains(ftLeft)) side(l, t, l, t + h);
    if (frame->Typ.Contains(ftBottom)) side(l, t + h, l + w, t + h);
    if (frame->Typ.Contains(ftRight)) side(l + w, t, l + w, t + h);
  }

  TStringList lines;
  frxMemoView::GetWrappedText(Memo, true, &lines);
  if (lines.GetCount() == 0) return;
  TFont* font = Memo->GetFont();
  TfrxPDFFile* file = C.Page()->GetPDFFile();
  AnsiString size = SysUtils::IntToStr(font->GetSize());
  // The font of the first line that shows (single-byte text when none does) opens the text.
  TfrxPDFFont* current = nullptr;
  auto select = [&](const AnsiString& line) {
    TfrxPDFFont* f = HasDoubleByte(line) ? AddCIDFont(file, font, line) : AddFont(file, font);
    if (f != current) C.Line("/F" + SysUtils::IntToStr(f->GetNumber() - 1) + " " + size + " Tf");
    current = f;
    return f;
  };
  AnsiString first;
  for (Integer i = 0; i < lines.GetCount() && first.empty(); ++i)
    if (!SysUtils::Trim(EscapeText(lines[i])).empty()) first = lines[i];
  select(first);
  C.Line(ColorToPDF(font->GetColor(), false));
  Extended lineHeight = LineHeightOf(Memo);
  file->GetToolkit()->SetLineHeight(lineHeight);
  bool underline = font->GetStyle().Contains(fsUnderline);
  for (Integer i = 0; i < lines.GetCount(); ++i) {
    const AnsiString& line = lines[i];
    AnsiString s = EscapeText(line);
    if (SysUtils::Trim(s).empty()) continue;
    TfrxPDFFont* f = select(line);
    Extended width = TextWidth(font, line);
    Extended x = TextLeft(width, Memo->HAlign, w - 2 * Memo->GapX, l + Memo->GapX);
    Extended y = TextTop(Memo->VAlign, lines.GetCount(), i, h - 2 * Memo->GapY, t + Memo->GapY - 1, lineHeight);
    C.Line("BT");
    C.Line(C.Point(x, y) + " Td");
    if (f->IsCID()) {
      // The line as it is drawn: the characters 1 gone and no line end.
      AnsiString raw;
      for (char ch : line)
        if (ch != 1) raw += ch;
      if (raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\r\n") == 0) raw.erase(raw.size() - 2);
      C.Line(f->EncodeText(raw) + " Tj");
    } else {
      C.Line("(" + s + ") Tj");
    }
    C.Line("ET");
    if (underline) {
      Extended pt = font->GetSize();
      C.Line(ColorToPDF(font->GetColor(), true));
      C.Line(Num(pt * 0.08) + " w");
      AnsiString yy = Num(std::stod(C.Y(y)) - pt * 0.12);
      C.Line(C.X(x) + " " + yy + " m");
      C.Line(Num(std::stod(C.X(x)) + width * 0.75) + " " + yy + " l");
      C.Line("S");
    }
  }
}

void LinePath(TContent& C, TfrxView* View)
{
  TfrxFrame* frame = View->GetFrame();
  Extended l = View->GetAbsLeft(), t = View->GetAbsTop();
  C.Line(ColorToPDF(frame->Color, true));
  C.Line(Num(frame->Width * 0.75) + " w");
  C.Line(C.Point(l, t) + " m");
  C.Line(C.Point(l + View->GetWidth(), t + View->GetHeight()) + " l");
  C.Line("S");
}

void RectanglePath(TContent& C, TfrxView* View)
{
  TfrxFrame* frame = View->GetFrame();
  Extended l = View->GetAbsLeft(), t = View->GetAbsTop(), w = View->GetWidth(), h = View->GetHeight();
  C.Line(ColorToPDF(frame->Color, true));
  C.Line(Num(frame->Width * 0.75) + " w");
  C.Line(ColorToPDF(View->Color, false));
  C.Put(C.X(l) + " " + C.Y(t + h) + " ");
  C.Line(Num(w * 0.75) + " " + Num(h * 0.75) + " re");
  C.Line("B");
}

void ImagePath(TContent& C, TfrxView* View)
{
  Extended l = View->GetAbsLeft(), t = View->GetAbsTop(), w = View->GetWidth(), h = View->GetHeight();
  TfrxExportBitmap bitmap(static_cast<int>(std::nearbyint(w)) + 1, static_cast<int>(std::nearbyint(h)) + 1);
  View->Draw(bitmap.GetDC(), 1, 1, -l, -t);
  C.Line("q");
  C.Line(Num(w * 0.75) + " 0 0 " + Num(h * 0.75) + " " + C.X(l) + " " + C.Y(t + h) + " cm");
  C.Line("BI");
  C.Line("/W " + SysUtils::IntToStr(bitmap.GetWidth()));
  C.Line("/H " + SysUtils::IntToStr(bitmap.GetHeight()));
  C.Line("/CS /RGB");
  C.Line("/BPC 8");
  C.Line("/I true");
  C.Line("/F [/DCT]");
  // One blank ends "ID": a line break would be read as the image's first byte.
  C.Put("ID ");
  C.Bytes(bitmap.SaveJpeg(100));
  C.Line("");
  C.Line("EI");
  C.Line("Q");
}

}  // namespace

AnsiString Num(Extended Value)
{
  double v = static_cast<double>(Value);
  if (std::abs(v) < 0.00005) v = 0;  // no "-0.0000"
  return Fmt(v, std::chars_format::fixed, 4);
}

AnsiString EscapeText(const AnsiString& Text)
{
  AnsiString s;
  for (char c : Text)
    if (c != 1) s += c;
  if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0) s.erase(s.size() - 2);
  AnsiString out;
  for (char c : s) {
    if (c == '\\' || c == '(' || c == ')') out += '\\';
    out += c;
  }
  return out;
}

AnsiString ColorToPDF(TColor Color, bool Stroke)
{
  COLORREF c = IsNoColor(Color) ? 0xFFFFFF : Graphics::ColorToRGB(Color) & 0xFFFFFF;
  auto part = [](unsigned v) { return Fmt(v / 255.0, std::chars_format::general, 2); };
  return part(c & 0xFF) + " " + part((c >> 8) & 0xFF) + " " + part((c >> 16) & 0xFF) + (Stroke ? " RG" : " rg");
}

Extended TextWidth(const TFont* Font, const AnsiString& Text)
{
  constexpr int kMeasureDpi = 600;
  LOGFONTA lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(Font->GetSize() * kMeasureDpi / 72.0));
  lf.lfWeight = Font->GetStyle().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font->GetStyle().Contains(fsItalic) ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(Font->GetCharset());
  std::strncpy(lf.lfFaceName, Font->GetName().c_str(), LF_FACESIZE - 1);
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HFONT f = Windows::CreateFontIndirect(lf);
  HGDIOBJ old = Windows::SelectObject(dc, f);
  SIZE size{};
  Windows::GetTextExtentPoint32(dc, Text.data(), static_cast<int>(Text.size()), &size);
  Windows::SelectObject(dc, old);
  Windows::DeleteObject(f);
  Windows::DeleteDC(dc);
  return size.cx / (kMeasureDpi / 96.0);
}

Extended TextLeft(Extended TextWidth, TfrxHAlign HAlign, Extended AreaWidth, Extended AreaLeft)
{
  switch (HAlign) {
    case haCenter: return AreaLeft + AreaWidth / 2 - TextWidth / 2;
    case haRight: return AreaLeft + AreaWidth - TextWidth;
    default: return AreaLeft;
  }
}

Extended TextTop(TfrxVAlign VAlign, Integer LineCount, Integer LineIndex, Extended AreaHeight, Extended AreaTop,
                 Extended LineHeight)
{
  if (LineIndex > LineCount) LineIndex = 0;
  switch (VAlign) {
    case vaBottom: return AreaTop + AreaHeight - (LineCount - LineIndex - 1) * LineHeight;
    case vaCenter: return AreaTop + AreaHeight / 2 - LineCount * LineHeight / 2 + (LineIndex + 1) * LineHeight;
    default: return AreaTop + (LineIndex + 1) * LineHeight;
  }
}

TfrxPDFFont* AddFont(TfrxPDFFile* File, const TFont* Font)
{
  for (int i = 0; i < File->GetFontCount(); ++i) {
    auto* f = static_cast<TfrxPDFFont*>(File->GetFont(i));
    const TFont* g = f->GetFont();
    if (!f->IsCID() && g->GetName() == Font->GetName() && g->GetStyle() == Font->GetStyle() &&
        g->GetCharset() == Font->GetCharset())
      return f;
  }
  auto font = std::make_unique<TfrxPDFFont>(File, Font);
  TfrxPDFFont* out = font.get();
  File->AppendFont(std::move(font));
  return out;
}

TfrxPDFFont* AddCIDFont(TfrxPDFFile* File, const TFont* Font, const AnsiString& Text)
{
  std::shared_ptr<frxPDFFont::TFace> face = frxPDFFont::FaceFor(Font, Text);
  for (int i = 0; i < File->GetFontCount(); ++i) {
    auto* f = static_cast<TfrxPDFFont*>(File->GetFont(i));
    if (f->IsCID() && f->GetFace() == face.get()) return f;
  }
  auto font = std::make_unique<TfrxPDFFont>(File, Font, face);
  TfrxPDFFont* out = font.get();
  File->AppendFont(std::move(font));
  return out;
}

void AddObject(TfrxPDFPage* Page, TfrxView* View)
{
  TContent c(Page);
  if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(View);
      memo && memo->GetRotation() == 0 && (memo->BrushStyle == bsSolid || memo->BrushStyle == bsClear)) {
    MemoPath(c, memo);
  } else if (dynamic_cast<TfrxCustomLineView*>(View)) {
    LinePath(c, View);
  } else if (auto* shape = dynamic_cast<TfrxShapeView*>(View); shape && shape->Shape == skRectangle) {
    RectanglePath(c, View);
  } else {
    ImagePath(c, View);
  }
}

}  // namespace frxPDFPageContent
