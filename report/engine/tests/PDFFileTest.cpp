#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "report/engine/pdf/frxPDFFile.h"

namespace {

TDateTime FixedNow() { return SysUtils::EncodeDate(2026, 3, 5) + SysUtils::EncodeTime(14, 7, 9, 0); }

// A font that writes a dictionary and a descriptor, as a real font does.
class TTestFont : public TfrxPDFElement {
public:
  explicit TTestFont(TfrxPDFFile* file) : FFile(file) {}
  void SaveToStream(TStream* Stream) override
  {
    TfrxPDFElement::SaveToStream(Stream);
    Integer n = FFile->GetFontsBase() + FNumber;
    FFile->AddXref(Stream, n);
    WriteLine(Stream, std::to_string(n) + " 0 obj");
    WriteLine(Stream, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    WriteLine(Stream, "endobj");
    FFile->AddXref(Stream, n + 2);
    WriteLine(Stream, std::to_string(n + 2) + " 0 obj");
    WriteLine(Stream, "<< /Type /FontDescriptor >>");
    WriteLine(Stream, "endobj");
  }

private:
  TfrxPDFFile* FFile;
};

class PDFFile : public testing::Test {
protected:
  SysUtils::TScopedClock FClock{FixedNow};

  static AnsiString Save(TfrxPDFFile& pdf)
  {
    TStringStream s;
    pdf.SaveToStream(&s);
    return s.GetDataString();
  }

  // Runs `qpdf --check` on the document; true when it finds nothing wrong.
  static bool QpdfAccepts(const AnsiString& bytes)
  {
    auto path = std::filesystem::temp_directory_path() /
                ("pdf-check-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(reinterpret_cast<uintptr_t>(&bytes)) + ".pdf");
    {
      TFileStream f(path.string(), fmCreate);
      f.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    }
    int rc = std::system(("qpdf --check '" + path.string() + "' > /dev/null 2>&1").c_str());
    std::filesystem::remove(path);
    return rc == 0;
  }
};

}  // namespace

TEST_F(PDFFile, WritesTheExactDocument)
{
  TfrxPDFFile pdf;
  pdf.SetCompressed(false);
  pdf.SetTitle("Sales (north)");
  pdf.SetCreator("Application");
  pdf.AppendFont(std::make_unique<TTestFont>(&pdf));
  // A4 at 96 dpi, margins of 10 mm.
  TfrxPDFPage* page = pdf.AddPage(793.7, 1122.5, 10, 10);
  EXPECT_DOUBLE_EQ(page->GetMarginLeft(), 5.0);
  page->GetContent()->WriteBuffer("0 0 m\r\n", 7);
  AnsiString out = Save(pdf);

  std::vector<size_t> offsets;
  AnsiString expected;
  auto obj = [&](const AnsiString& text) {
    offsets.push_back(expected.size());
    expected += text;
  };
  expected = "%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\n";
  obj("1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n"
      "/PageLayout /SinglePage\r\n>>\r\nendobj\r\n");
  obj("2 0 obj\r\n<<\r\n/Producer (LanyueReport http://report.lanyue.example)\r\n"
      "/Author (LanyueReport)\r\n/Subject (LanyueReport PDF export)\r\n/Creator (Application)\r\n"
      "/Title (Sales \\(north\\))\r\n/CreationDate (D:20260305140709)\r\n"
      "/ModDate (D:20260305140709)\r\n>>\r\nendobj\r\n");
  obj("3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [10 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n");
  obj("5 0 obj\r\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>\r\nendobj\r\n");
  obj("7 0 obj\r\n<< /Type /FontDescriptor >>\r\nendobj\r\n");
  obj("10 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 595.2750 841.8750 ]\r\n"
      "/Resources <<\r\n/Font <<\r\n/F0 5 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n"
      "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 11 0 R\r\n>>\r\nendobj\r\n");
  obj("11 0 obj\r\n<<\r\n/Filter [ ]\r\n/Length 7\r\n>>\r\nstream\r\n0 0 m\r\nendstream\r\n"
      "endobj\r\n");
  size_t startxref = expected.size();
  auto entry = [&](size_t i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%010zu 00000 n\r\n", offsets[i]);
    return AnsiString(buf);
  };
  const AnsiString free = "0000000000 65535 f\r\n";
  expected += "xref\r\n0 12\r\n" + free + entry(0) + entry(1) + entry(2) + free + entry(3) + free + entry(4) + free +
              free + entry(5) + entry(6);
  expected += "trailer\r\n<<\r\n/Size 12\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n" +
              std::to_string(startxref) + "\r\n%%EOF\r\n";
  EXPECT_EQ(out, expected);
  EXPECT_EQ(pdf.GetStartXref(), static_cast<Int64>(startxref));
  EXPECT_TRUE(QpdfAccepts(out));
  // The check itself tells a damaged document apart.
  AnsiString damaged = out;
  damaged.replace(damaged.find("/Length 7"), 9, "/Length 9");
  EXPECT_FALSE(QpdfAccepts(damaged));
}

TEST_F(PDFFile, DeflatesContentThatZlibInflatesBack)
{
  TfrxPDFFile pdf;
  TfrxPDFPage* page = pdf.AddPage(100, 100, 0, 0);
  AnsiString ops;
  for (int i = 0; i < 200; ++i) ops += "0 0 1 rg\r\n10 10 50 50 re\r\nf\r\n";
  page->GetContent()->WriteBuffer(ops.data(), static_cast<Int64>(ops.size()));
  AnsiString out = Save(pdf);

  size_t head = out.find("6 0 obj\r\n<<\r\n/Filter [/FlateDecode ]\r\n/Length ");
  ASSERT_NE(head, AnsiString::npos);
  size_t lengthAt = out.find("/Length ", head) + 8;
  size_t length = std::stoul(out.substr(lengthAt));
  size_t data = out.find("stream\r\n", lengthAt) + 8;
  EXPECT_EQ(out.substr(data + length, 20), "\r\nendstream\r\nendobj\r");
  AnsiString inflated(ops.size() + 1, '\0');
  uLongf size = inflated.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                       reinterpret_cast<const Bytef*>(out.data() + data), length),
            Z_OK);
  inflated.resize(size);
  EXPECT_EQ(inflated, ops);
  EXPECT_TRUE(QpdfAccepts(out));
}

TEST_F(PDFFile, PageTreeResourcesAndTitles)
{
  TfrxPDFFile pdf;
  for (int i = 0; i < 3; ++i) pdf.AddPage(200, 300, 0, 0);
  AnsiString out = Save(pdf);
  EXPECT_NE(out.find("/Kids [5 0 R 7 0 R 9 0 R ]\r\n/Count 3\r\n"), AnsiString::npos);
  EXPECT_NE(out.find("/Size 11\r\n"), AnsiString::npos);  // empty contents too
  EXPECT_TRUE(QpdfAccepts(out));

  // Every page lists every font of the document.
  TfrxPDFFile two;
  two.AppendFont(std::make_unique<TTestFont>(&two));
  two.AppendFont(std::make_unique<TTestFont>(&two));
  two.AddPage(100, 100, 0, 0);
  two.AddPage(100, 100, 0, 0);
  two.SetEmbeddedFonts(false);
  AnsiString fonts = Save(two);
  size_t first = fonts.find("/Font <<\r\n/F0 5 0 R\r\n/F5 10 0 R\r\n>>");
  ASSERT_NE(first, AnsiString::npos);
  EXPECT_NE(fonts.find("/Font <<\r\n/F0 5 0 R\r\n/F5 10 0 R\r\n>>", first + 1), AnsiString::npos);
  EXPECT_NE(fonts.find("/Kids [15 0 R 17 0 R ]"), AnsiString::npos);
  EXPECT_TRUE(QpdfAccepts(fonts));

  // A double-byte title is UTF-16 with the language escape, every byte in octal.
  TfrxPDFFile cn;
  cn.SetTitle("合同");
  EXPECT_NE(Save(cn).find("/Title (\\376\\377\\000\\033\\172\\150\\000\\033\\124\\010\\124\\014)"), AnsiString::npos);

  // The locale's decimal separator does not reach the document and comes back afterwards.
  char saved = SysUtils::DecimalSeparator;
  SysUtils::DecimalSeparator = ',';
  TfrxPDFFile comma;
  comma.AddPage(101, 100, 0, 0);
  EXPECT_NE(Save(comma).find("/MediaBox [0 0 75.7500 75.0000 ]"), AnsiString::npos);
  EXPECT_EQ(SysUtils::DecimalSeparator, ',');
  SysUtils::DecimalSeparator = saved;
}
