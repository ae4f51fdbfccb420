#include "report/engine/export/frxExportRTF.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/sys/ShellApi.h"
#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/export/frxExportDialogs.h"
#include "report/engine/export/frxExportMatrix.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/objects/frxMemoView.h"

namespace {

const char* const kHomePage = "http://report.lanyue.example";

int RoundEven(Extended v) { return static_cast<int>(std::nearbyint(v)); }

AnsiString Str(Int64 v) { return SysUtils::IntToStr(v); }

AnsiString Two(Word v)
{
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02u", static_cast<unsigned>(v));
  return buf;
}

// Least significant byte first, two upper-case hexadecimal digits each.
AnsiString LittleEndian(std::uint32_t v, int Bytes)
{
  AnsiString out;
  char buf[4];
  for (int i = 0; i < Bytes; ++i, v >>= 8) {
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    out += buf;
  }
  return out;
}

// A text and CR LF; an empty text writes nothing.
void Line(TStream* S, const AnsiString& Text)
{
  if (Text.empty()) return;
  AnsiString t = Text + "\r\n";
  S->WriteBuffer(t.data(), static_cast<Int64>(t.size()));
}

void Put(TStream* S, const AnsiString& Text)
{
  if (!Text.empty()) S->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

bool HasDoubleByte(const AnsiString& s)
{
  for (char c : s)
    if (System::IsLeadByte(c)) return true;
  return false;
}

// Writes a table line by line: items join a buffer, which goes out before it would pass 254.
void WriteTable(TStream* S, const AnsiString& Start, const std::vector<AnsiString>& Items)
{
  AnsiString buf = Start;
  for (const AnsiString& item : Items) {
    if (buf.size() + item.size() > 254) {
      Line(S, buf);
      buf = item;
    } else {
      buf += item;
    }
  }
  Line(S, buf + "}");
}

}  // namespace

namespace frxExportRTF {

AnsiString EscapeText(const AnsiString& Text)
{
  AnsiString out;
  char hex[8];
  for (size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    auto u = static_cast<unsigned char>(c);
    if (System::IsLeadByte(c) && i + 1 < Text.size()) {
      std::snprintf(hex, sizeof hex, "\\'%02x", u);
      out += hex;
      std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(Text[++i]));
      out += hex;
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
      out += "\\line\r\n";
    } else if (u > 127) {
      std::snprintf(hex, sizeof hex, "\\'%02x", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace frxExportRTF

TfrxRTFExport::TfrxRTFExport(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}

TfrxRTFExport::~TfrxRTFExport() = default;

Integer TfrxRTFExport::ShowSettingsDialog()
{
  auto dialog = std::make_unique<TfrxRTFExportDialog>(nullptr);
  dialog->PicturesCB->SetChecked(ExportPictures);
  dialog->PageBreaksCB->SetChecked(ExportPageBreaks);
  dialog->WCB->SetChecked(Wysiwyg);
  dialog->OpenCB->SetChecked(OpenAfterExport);
  Integer result = dialog->ShowModal();
  if (result != mrOk) return result;
  dialog->StorePageRange(this);
  ExportPictures = dialog->PicturesCB->GetChecked();
  ExportPageBreaks = dialog->PageBreaksCB->GetChecked();
  Wysiwyg = dialog->WCB->GetChecked();
  OpenAfterExport = dialog->OpenCB->GetChecked();
  return dialog->AskFileName(FileName) ? result : static_cast<Integer>(mrCancel);
}

AnsiString TfrxRTFExport::GetFilterCaption() const { return frxRes::Get("RTFexport"); }

bool TfrxRTFExport::BeginExport()
{
  if (FileName.empty()) return false;
  FFirstPage = true;
  FPageCount = 0;
  FMatrix = std::make_unique<TfrxIEMatrix>();
  FMatrix->ShowProgress = ShowProgress;
  FMatrix->Inaccuracy = Wysiwyg ? 0.5 : 10;
  FMatrix->RotatedAsImage = true;
  FMatrix->FillArea = true;
  FMatrix->CropFillArea = true;
  FMatrix->DeleteHTMLTags = true;
  FFonts.Clear();
  FColors.Clear();
  return true;
}

void TfrxRTFExport::BeginPage(TfrxReportPage* Page, Integer Index)
{
  ++FPageCount;
  FFirstPage = false;
}

void TfrxRTFExport::ExportObject(TfrxComponent* Obj)
{
  if (FMatrix) FMatrix->AddExported(Obj, ExportPictures);
}

void TfrxRTFExport::EndPage(TfrxReportPage* Page, Integer Index)
{
  if (FMatrix) FMatrix->AddPage(Page);
}

Integer TfrxRTFExport::ColorNumber(TColor Color)
{
  // System colours (the default font's clWindowText) by their values.
  auto v = static_cast<std::uint32_t>(Color);
  if ((v & 0xFF000000u) == 0xFF000000u) v = Graphics::ColorToRGB(Color);
  AnsiString entry =
      "\\red" + Str(v & 0xFF) + "\\green" + Str((v >> 8) & 0xFF) + "\\blue" + Str((v >> 16) & 0xFF) + ";";
  Integer i = FColors.IndexOf(entry);
  if (i < 0) i = FColors.Add(entry);
  return i + 1;
}

Integer TfrxRTFExport::FontNumber(const AnsiString& Name)
{
  Integer i = FFonts.IndexOf(Name);
  if (i < 0) i = FFonts.Add(Name);
  return i;
}

AnsiString TfrxRTFExport::TextCell(TfrxIEMObject* Obj, Integer RowHeight)
{
  TfrxIEMStyle* st = Obj->Style;
  TFont* font = st->Font.get();
  AnsiString text;
  for (char c : Obj->Memo->GetText())
    if (c != 1) text += c;
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.erase(text.size() - 2);
  AnsiString codes = "\\f" + Str(FontNumber(font->GetName())) + "\\fs" +
                     Str(Obj->Memo->GetText().empty() ? std::min<Integer>(RowHeight / 16, 20) : 2 * font->GetSize());
  if (font->GetStyle().Contains(fsItalic)) codes += "\\i";
  if (font->GetStyle().Contains(fsBold)) codes += "\\b";
  if (font->GetStyle().Contains(fsUnderline)) codes += "\\ul";
  codes += "\\cf" + Str(ColorNumber(font->GetColor()));
  AnsiString para;
  if (!SysUtils::Trim(text).empty())
    para = "\\sb" + Str(RoundEven(st->GapY * 14.2)) + "\\li" + Str(RoundEven(st->GapX / 2 * 14.9)) + "\\sl" +
           Str(RoundEven((font->GetSize() + st->LineSpacing) * 14.2)) + "\\slmult0";
  const char* align = st->HAlign == haRight ? "\\qr" : st->HAlign == haCenter ? "\\qc" : "\\ql";
  return AnsiString(align) + "{" + codes + para + " " + frxExportRTF::EscapeText(text) + "\\cell}";
}

AnsiString TfrxRTFExport::PictureCell(TfrxIEMObject* Obj)
{
  std::vector<std::uint8_t> bmp = Obj->Image->SaveBmp();
  std::uint32_t size = bmp.size() >= 6 ? bmp[2] | (bmp[3] << 8) | (bmp[4] << 16) | (std::uint32_t(bmp[5]) << 24) : 0;
  std::uint32_t n = size / 2 + 7;
  auto h = static_cast<std::uint32_t>(Obj->Image->GetHeight()), w = static_cast<std::uint32_t>(Obj->Image->GetWidth());
  AnsiString out = "{\\sb0\\li0\\sl0\\slmult0 {\\pict\\wmetafile8\\picw" +
                   Str(RoundEven(RoundEven(Obj->Width) * 25.3)) + "\\pich" +
                   Str(RoundEven(RoundEven(Obj->Height) * 25.3)) + "\\picbmp\\picbpp4\r\n";
  out += "010009000003" + LittleEndian(n + 36, 4) + "0000" + LittleEndian(n, 4) +
         "0000050000000b0200000000050000000c02" + LittleEndian(h, 2) + LittleEndian(w, 2) +
         "05000000090200000000050000000102ffffff000400000007010300" + LittleEndian(n, 4) + "430f2000cc000000" +
         LittleEndian(h, 2) + LittleEndian(w, 2) + "00000000" + LittleEndian(h, 2) + LittleEndian(w, 2) +
         "00000000\r\n";
  char hex[4];
  size_t count = 0;
  for (size_t i = 14; i < bmp.size(); ++i) {
    std::snprintf(hex, sizeof hex, "%02X", bmp[i]);
    out += hex;
    if (++count % 64 == 0) out += "\r\n";
  }
  if (count % 64 != 0) out += "\r\n";
  return out + "030000000000}\\cell}\r\n";
}

void TfrxRTFExport::WriteDocument(TStream* S)
{
  TfrxIEMatrix& m = *FMatrix;
  // Every object once: its colours and font into the tables.
  for (Integer y = 0; y < m.GetHeight(); ++y)
    for (Integer x = 0; x < m.GetWidth(); ++x) {
      TfrxIEMObject* o = m.GetObject(x, y);
      if (!o || o->Counter == -1) continue;
      o->Counter = -1;
      ColorNumber(o->Style->Color);
      ColorNumber(o->Style->FrameColor);
      if (o->IsText) {
        ColorNumber(o->Style->Font->GetColor());
        FontNumber(o->Style->Font->GetName());
      }
    }

  // The code page, so that readers decode the \'hh pairs as Chinese.
  Line(S, "{\\rtf1\\ansi\\ansicpg936");
  std::vector<AnsiString> items;
  for (Integer i = 0; i < FFonts.GetCount(); ++i)
    items.push_back("{\\f" + Str(i) + (HasDoubleByte(FFonts[i]) ? "\\fcharset134" : "") + " " +
                    frxExportRTF::EscapeText(FFonts[i]) + "}");
  WriteTable(S, "{\\fonttbl", items);
  items.clear();
  for (Integer i = 0; i < FColors.GetCount(); ++i) items.push_back(FColors[i]);
  WriteTable(S, "{\\colortbl;", items);
  TDateTime now = SysUtils::Now();
  Word yy, mo, dd, hh, nn, ss, ms;
  SysUtils::DecodeDate(now, yy, mo, dd);
  SysUtils::DecodeTime(now, hh, nn, ss, ms);
  AnsiString title = Report ? Report->GetReportOptions()->Name : AnsiString();
  Line(S, "{\\info{\\title " + frxExportRTF::EscapeText(title) + "}{\\author LanyueReport 3.0 " + kHomePage +
              "}{\\creatim\\yr" + Str(yy) + "\\mo" + Two(mo) + "\\dy" + Two(dd) + "\\hr" + Two(hh) + "\\min" + Two(nn) +
              "}}");

  auto section = [&](Integer k) {
    TfrxIEMPage p = m.GetPage(k);
    Line(S, "\\pgwsxn" + Str(RoundEven(p.Width * 15.02)) + "\\pghsxn" + Str(RoundEven(p.Height * 15.02)) +
                "\\marglsxn" + Str(RoundEven(p.LeftMargin * 56.7)) + "\\margrsxn" +
                Str(RoundEven(p.RightMargin * 56.7)) + "\\margtsxn" + Str(RoundEven(p.TopMargin * 56.7)) +
                "\\margbsxn" + Str(RoundEven(p.BottomMargin * 56.7)));
    if (p.Orientation == poLandscape) Line(S, "\\lndscpsxn");
  };
  auto borders = [&](TfrxIEMStyle* st) {
    AnsiString out;
    const std::pair<TfrxFrameType, const char*> sides[] = {
        {ftTop, "\\clbrdrt"}, {ftLeft, "\\clbrdrl"}, {ftBottom, "\\clbrdrb"}, {ftRight, "\\clbrdrr"}};
    for (const auto& [side, code] : sides) {
      if (!st->FrameTyp.Contains(side)) continue;
      out += AnsiString(code) + "\\brdrs\\brdrw" + Str(RoundEven(st->FrameWidth * 20)) + "\\brdrcf" +
             Str(ColorNumber(st->FrameColor));
      if (st->FrameStyle == fsDouble)
        out += "\\brdrdashdd";
      else if (st->FrameStyle != fsSolid)
        out += "\\brdrdashsm";
    }
    return out;
  };

  section(0);
  Integer k = 0;
  for (Integer y = 0; y <= m.GetHeight() - 2; ++y) {
    if (ExportPageBreaks && k < m.PagesCount() && m.GetYPos(y) >= m.GetPage(k).PageEnd) {
      Line(S, "\\pard\\sect");
      ++k;
      if (k < m.PagesCount()) section(k);
      continue;
    }
    Integer h = RoundEven((m.GetYPos(y + 1) - m.GetYPos(y)) * 14.2);
    AnsiString def = "\\trrh" + Str(h) + "\\trgaph15", contents;
    Extended x0 = m.GetWidth() > 1 ? std::nearbyint(m.GetXPos(1)) : 0;
    for (Integer x = 1; x <= m.GetWidth() - 2; ++x) {
      Integer index = m.GetCell(x, y);
      if (index < 0) continue;
      TfrxIEMObject* o = m.GetObjectById(index);
      Integer px, py, dx, dy;
      m.GetObjectPos(index, px, py, dx, dy);
      AnsiString cellx = "\\cellx" + Str(RoundEven((o->Left + o->Width - x0) * 14.9));
      if (o->Counter == -1) {
        if (dy > 1) def += "\\clvmgf";
        if (static_cast<std::int64_t>(o->Style->Color) % 0x1000000 != 0xFFFFFF)
          def += "\\clcbpat" + Str(ColorNumber(o->Style->Color));
        def += o->Style->VAlign == vaBottom   ? "\\clvertalb"
               : o->Style->VAlign == vaCenter ? "\\clvertalc"
                                              : "\\clvertalt";
        def += borders(o->Style) + "\\cltxlrtb" + cellx;
        if (o->IsText)
          contents += TextCell(o, h);
        else if (ExportPictures && o->Image)
          contents += PictureCell(o);
        o->Counter = y + 1;
      } else if (dy > 1 && o->Counter != y + 1) {
        def += "\\clvmrg" + borders(o->Style) + "\\cltxlrtb" + cellx;
        contents += "{\\fs" + Str(std::min<Integer>(h / 16, 20)) + "\\cell}";
        o->Counter = y + 1;
      }
    }
    if (!contents.empty()) {
      Line(S, "\\trowd" + def + "\\pard\\intbl");
      Put(S, contents);
      Line(S, "\\pard\\intbl{\\trowd" + def + "\\row}");
    }
  }
  Line(S, "}");
}

void TfrxRTFExport::EndExport()
{
  std::unique_ptr<TfrxIEMatrix> matrix = std::move(FMatrix);
  if (!matrix) return;
  matrix->Prepare();
  FMatrix = std::move(matrix);
  struct TFree {
    std::unique_ptr<TfrxIEMatrix>& M;
    ~TFree() { M.reset(); }
  } free{FMatrix};
  SaveSeam::SaveStream(FileName, [this](TStream* Stream) { WriteDocument(Stream); });
  if (OpenAfterExport) ShellApi::ShellOpen(FileName);
}

PELTO_DEFINE_CLASS(TfrxRTFExport)
PELTO_PUBLISH(TfrxRTFExport, p)
{
  p.Property("ExportPageBreaks", &ThisClass::ExportPageBreaks, &ThisClass::ExportPageBreaks).Default(true);
  p.Property("ExportPictures", &ThisClass::ExportPictures, &ThisClass::ExportPictures).Default(true);
  p.Property("FileName", &ThisClass::FileName, &ThisClass::FileName);
  p.Property("OpenAfterExport", &ThisClass::OpenAfterExport, &ThisClass::OpenAfterExport).Default(false);
  p.Property("ShowProgress", &ThisClass::ShowProgress, &ThisClass::ShowProgress).Default(true);
}
