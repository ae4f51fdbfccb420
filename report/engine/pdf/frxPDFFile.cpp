#include "report/engine/pdf/frxPDFFile.h"

#include <cstdio>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "report/engine/zlib/frxGZip.h"
#include "platform/rtl/Guards.h"

namespace {

// Where the library's home page is; written after the producer's name.
const char* const kHomePage = "http://report.lanyue.example";

AnsiString Octal(unsigned char b)
{
  char buf[5];
  std::snprintf(buf, sizeof buf, "\\%03o", b);
  return buf;
}

AnsiString Str(Int64 v) { return SysUtils::IntToStr(v); }

AnsiString Two(Word v) { return SysUtils::Format("%.2d", {static_cast<Integer>(v)}); }

}  // namespace

// ---- TfrxPDFElement -------------------------------------------------------------------------

void TfrxPDFElement::SaveToStream(TStream* Stream) { FOffset = Stream->GetPosition(); }

void TfrxPDFElement::WriteLine(TStream* Stream, const AnsiString& Text) { Write(Stream, Text + "\r\n"); }

void TfrxPDFElement::Write(TStream* Stream, const AnsiString& Text)
{
  if (!Text.empty()) Stream->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

// ---- TfrxPDFToolkit -------------------------------------------------------------------------

TfrxPDFToolkit::TfrxPDFToolkit()
{
  // The system's locale is Chinese (PRC).
  SetLangCode("zh");
}

void TfrxPDFToolkit::SetLangCode(const AnsiString& Value)
{
  FLangCode = Value;
  FUnicodePrefix = AnsiString("\xFE\xFF\x00\x1B", 4) + Value + AnsiString("\x00\x1B", 2);
}

AnsiString TfrxPDFToolkit::PrepareString(const AnsiString& Text) const
{
  bool unicode = false;
  for (char c : Text) {
    auto u = static_cast<unsigned char>(c);
    if (System::IsLeadByte(c) || u > 122 || u < 32) {
      unicode = true;
      break;
    }
  }
  if (!unicode) return Text;
  AnsiString result;
  for (char c : FUnicodePrefix) result += Octal(static_cast<unsigned char>(c));
  for (WideChar w : System::AnsiToWide(Text)) {
    result += Octal(static_cast<unsigned char>(w >> 8));
    result += Octal(static_cast<unsigned char>(w & 0xFF));
  }
  return result;
}

// ---- TfrxPDFPage ----------------------------------------------------------------------------

TfrxPDFPage::TfrxPDFPage(TfrxPDFFile* PDFFile) : FPDFFile(PDFFile), FContent(std::make_unique<TMemoryStream>()) {}

TfrxPDFPage::~TfrxPDFPage() = default;

void TfrxPDFPage::SaveToStream(TStream* Stream)
{
  TfrxPDFElement::SaveToStream(Stream);
  // Numbers in PDF always take a point, whatever the locale says.
  TValueGuard point(SysUtils::DecimalSeparator, '.');
  Integer n = 2 * FNumber + FPDFFile->GetPagesBase() - 1;

  FPDFFile->AddXref(Stream, n);
  WriteLine(Stream, Str(n) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /Page");
  WriteLine(Stream, "/Parent 3 0 R");
  WriteLine(Stream, SysUtils::Format("/MediaBox [0 0 %.4f %.4f ]", {FWidth, FHeight}));
  WriteLine(Stream, "/Resources <<");
  WriteLine(Stream, "/Font <<");
  for (int i = 0; i < FPDFFile->GetFontCount(); ++i) {
    Integer number = FPDFFile->GetFont(i)->GetNumber();
    WriteLine(Stream, "/F" + Str(number - 1) + " " + Str(FPDFFile->GetFontsBase() + number) + " 0 R");
  }
  WriteLine(Stream, ">>");
  WriteLine(Stream, "/XObject <<");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "/ProcSet [/PDF /Text /ImageC ]");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "/Contents " + Str(n + 1) + " 0 R");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  FPDFFile->AddXref(Stream, n + 1);
  WriteLine(Stream, Str(n + 1) + " 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, AnsiString("/Filter [") + (FPDFFile->GetCompressed() ? "/FlateDecode" : "") + " ]");
  if (FPDFFile->GetCompressed()) {
    TMemoryStream packed;
    frxGZip::CompressStream(FContent.get(), &packed, zcMax);
    WriteLine(Stream, "/Length " + Str(packed.GetSize()));
    WriteLine(Stream, ">>");
    WriteLine(Stream, "stream");
    packed.SaveToStream(Stream);
    WriteLine(Stream, "");
  } else {
    Int64 size = FContent->GetSize();
    WriteLine(Stream, "/Length " + Str(size));
    WriteLine(Stream, ">>");
    WriteLine(Stream, "stream");
    FContent->SaveToStream(Stream);
    // "endstream" needs a line of its own; the break is not part of the data.
    const char* data = static_cast<const char*>(FContent->GetMemory());
    if (size == 0 || data[size - 1] != '\n') WriteLine(Stream, "");
  }
  WriteLine(Stream, "endstream");
  WriteLine(Stream, "endobj");
}

// ---- TfrxPDFFile ----------------------------------------------------------------------------

TfrxPDFFile::TfrxPDFFile() : FToolkit(std::make_unique<TfrxPDFToolkit>()) {}

TfrxPDFFile::~TfrxPDFFile() = default;

void TfrxPDFFile::Clear()
{
  FPages.clear();
  FFonts.clear();
  FXref.clear();
}

TfrxPDFPage* TfrxPDFFile::AddPage(double WidthPx, double HeightPx, double LeftMarginMm, double TopMarginMm)
{
  auto page = std::make_unique<TfrxPDFPage>(this);
  page->SetWidth(WidthPx * 0.75);
  page->SetHeight(HeightPx * 0.75);
  page->SetMarginLeft(LeftMarginMm * 0.5);
  page->SetMarginTop(TopMarginMm * 0.5);
  FPages.push_back(std::move(page));
  FPages.back()->SetNumber(static_cast<Integer>(FPages.size()));
  return FPages.back().get();
}

int TfrxPDFFile::AppendFont(std::unique_ptr<TfrxPDFElement> Font)
{
  int index = static_cast<int>(FFonts.size());
  Font->SetNumber(index * 5 + 1);
  FFonts.push_back(std::move(Font));
  return index;
}

void TfrxPDFFile::AddXref(TStream* Stream, Integer Number)
{
  FXref[Number] = SysUtils::Format("%.10d", {static_cast<Int64>(Stream->GetPosition())});
}

AnsiString TfrxPDFFile::InfoString(const AnsiString& Text) const
{
  AnsiString prepared = FToolkit->PrepareString(Text);
  if (prepared != Text) return prepared;
  AnsiString escaped;
  for (char c : Text) {
    if (c == '\\' || c == '(' || c == ')') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

void TfrxPDFFile::SaveToStream(TStream* Stream)
{
  TfrxPDFElement::SaveToStream(Stream);
  FXref.clear();
  WriteLine(Stream, "%PDF-1.3");
  WriteLine(Stream, "%\xE2\xE3\xCF\xD3");

  AddXref(Stream, 1);
  for (const char* line : {"1 0 obj", "<<", "/Type /Catalog", "/Pages 3 0 R", "/PageMode /UseNone",
                           "/PageLayout /SinglePage", ">>", "endobj"})
    WriteLine(Stream, line);

  Word year, month, day, hour, minute, second, msec;
  TDateTime now = SysUtils::Now();
  SysUtils::DecodeDate(now, year, month, day);
  SysUtils::DecodeTime(now, hour, minute, second, msec);
  AnsiString date = SysUtils::Format("%.4d", {static_cast<Integer>(year)}) + Two(month) + Two(day) + Two(hour) +
                    Two(minute) + Two(second);
  AddXref(Stream, 2);
  WriteLine(Stream, "2 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, AnsiString("/Producer (LanyueReport ") + kHomePage + ")");
  WriteLine(Stream, "/Author (LanyueReport)");
  WriteLine(Stream, "/Subject (LanyueReport PDF export)");
  WriteLine(Stream, "/Creator (" + InfoString(FCreator) + ")");
  WriteLine(Stream, "/Title (" + InfoString(FTitle) + ")");
  WriteLine(Stream, "/CreationDate (D:" + date + ")");
  WriteLine(Stream, "/ModDate (D:" + date + ")");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  FFontsBase = FFirstFreeNumber;
  FPagesBase = FFirstFreeNumber + 5 * static_cast<Integer>(FFonts.size());
  AddXref(Stream, 3);
  WriteLine(Stream, "3 0 obj");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Type /Pages");
  Write(Stream, "/Kids [");
  for (const auto& page : FPages) Write(Stream, Str(2 * page->GetNumber() + FPagesBase - 1) + " 0 R ");
  WriteLine(Stream, "]");
  WriteLine(Stream, "/Count " + Str(static_cast<Int64>(FPages.size())));
  WriteLine(Stream, ">>");
  WriteLine(Stream, "endobj");

  for (const auto& font : FFonts) font->SaveToStream(Stream);
  for (const auto& page : FPages) page->SaveToStream(Stream);

  FStartXref = Stream->GetPosition();
  Integer highest = FXref.empty() ? 0 : FXref.rbegin()->first;
  WriteLine(Stream, "xref");
  WriteLine(Stream, "0 " + Str(highest + 1));
  WriteLine(Stream, "0000000000 65535 f");
  for (Integer i = 1; i <= highest; ++i) {
    auto it = FXref.find(i);
    WriteLine(Stream, it != FXref.end() ? it->second + " 00000 n" : AnsiString("0000000000 65535 f"));
  }
  WriteLine(Stream, "trailer");
  WriteLine(Stream, "<<");
  WriteLine(Stream, "/Size " + Str(highest + 1));
  WriteLine(Stream, "/Root 1 0 R");
  WriteLine(Stream, "/Info 2 0 R");
  WriteLine(Stream, ">>");
  WriteLine(Stream, "startxref");
  WriteLine(Stream, Str(FStartXref));
  WriteLine(Stream, "%%EOF");
}
