// The RTF export: the control words of rows, merged cells, sections and fonts; the text escaping
// decoded back for random code page 936 texts; the sample converted by LibreOffice; a failed
// write through the save seam.
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "platform/rtl/tests/SaveFaultTable.h"
#include "report/engine/export/frxExportRTF.h"
#include "report/engine/export/tests/ExportFixture.h"

namespace {

using ExportTests::RunTool;
using ExportTests::U8;

class RTFExportTest : public ExportFixture {
protected:
  std::string Export(const std::string& Name, bool PageBreaks = true)
  {
    TfrxRTFExport rtf(nullptr);
    rtf.ShowDialog = false;
    rtf.ExportPageBreaks = PageBreaks;
    rtf.FileName = File(Name);
    EXPECT_TRUE(Pages()->Export(&rtf));
    return SaveFaultTable::ReadBytes(rtf.FileName.c_str());
  }
  // Page 1: a bold italic memo three rows tall beside three one-row memos and an empty one;
  // page 2 landscape.
  void BuildRows()
  {
    auto* p1 = NewPage();
    auto* band = Band<TfrxReportTitle>(p1, "T", 0, 80);
    TfrxMemoView* tall = Memo(band, "{a} \\b", 0, 150, 0, 60);
    tall->GetFont()->SetStyle(TFontStyles{fsBold, fsItalic});
    tall->GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftTop};
    for (int i = 0; i < 3; ++i) Memo(band, "r" + SysUtils::IntToStr(i), 200, 100, 20 * i, 20);
    Memo(band, "", 400, 50, 0, 20);
    auto* p2 = NewPage();
    p2->SetOrientation(poLandscape);
    Memo(Band<TfrxReportTitle>(p2, "T2", 0), "第二页", 0, 200);
  }
};

TEST_F(RTFExportTest, ControlWordsOfRowsSectionsAndCells)
{
  BuildRows();
  ASSERT_TRUE(Prepare());
  std::string rtf = Export("rows.rtf");
  Keep(File("rows.rtf"), "export-rows.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg936\r\n", 0), 0u);
  EXPECT_NE(rtf.find("{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5}"), std::string::npos);  // 宋体
  // The tall memo: \clvmgf in its first row, then two rows of \clvmrg with a font size only
  // (each row's definition is written twice).
  EXPECT_NE(rtf.find("\\clvmgf"), std::string::npos);
  std::regex merged(
      R"(\\clvmrg\\clbrdrt\\brdrs\\brdrw20\\brdrcf\d+\\clbrdrl\\brdrs\\brdrw20\\brdrcf\d+\\cltxlrtb\\cellx\d+)");
  EXPECT_EQ(std::distance(std::sregex_iterator(rtf.begin(), rtf.end(), merged), std::sregex_iterator()), 4);
  EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '\0'), 0);
  EXPECT_NE(rtf.find("{\\fs17\\cell}"), std::string::npos);  // 20 pixels = 284 twips; 284 div 16
  EXPECT_NE(rtf.find("\\i\\b\\cf"), std::string::npos);
  EXPECT_NE(rtf.find(" \\{a\\} \\\\b\\cell}"), std::string::npos);
  // The empty memo's font size comes from its row.
  EXPECT_TRUE(std::regex_search(rtf, std::regex(R"(\\f0\\fs17\\cf\d+ \\cell\})")));
  // Sections: A4 portrait, then the break and the landscape page.
  EXPECT_NE(rtf.find("\\pgwsxn11926\\pghsxn16867\\marglsxn567\\margrsxn567\\margtsxn567\\margbsxn567\r\n"),
            std::string::npos);
  size_t sect = rtf.find("\\pard\\sect\r\n");
  ASSERT_NE(sect, std::string::npos);
  EXPECT_EQ(rtf.compare(sect + 12, 16, "\\pgwsxn16867\\pgh"), 0);
  EXPECT_NE(rtf.find("\\lndscpsxn\r\n", sect), std::string::npos);
  size_t start = 0;
  while (start < rtf.size()) {
    size_t end = rtf.find("\r\n", start);
    if (end == std::string::npos) end = rtf.size();
    if (rtf.compare(start, 10, "{\\fonttbl") == 0 || rtf.compare(start, 10, "{\\colortbl") == 0)
      EXPECT_LE(end - start, 254u);
    start = end + 2;
  }

  std::string flat = Export("flat.rtf", false);
  EXPECT_EQ(flat.find("\\pard\\sect"), std::string::npos);
  EXPECT_EQ(flat.find("\\lndscpsxn"), std::string::npos);
}

// Decodes what EscapeText writes: \'hh, \\, \{, \} and \line CR LF.
std::string Unescape(const std::string& s)
{
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (s.compare(i, 7, "\\line\r\n") == 0) {
      out += "\r\n";
      i += 6;
    } else if (s[i + 1] == '\'') {
      out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += s[++i];
    }
  }
  return out;
}

TEST(RTFEscapeTest, RandomChineseTextsDecodeBackToTheirBytes)
{
  std::mt19937 rng(936);
  // Single bytes that RTF treats specially, and double-byte characters whose trail byte looks
  // like them (\ is 0x5C, { 0x7B, } 0x7D).
  const std::vector<std::string> pieces = {"\\",       "{",        "}",        "a",  " ",  "\r\n", "\x80",
                                           "\xC9\x5C", "\xB0\x7B", "\xD2\x7D", "合", "同", "(",    "1"};
  for (int n = 0; n < 500; ++n) {
    std::string text;
    int len = static_cast<int>(rng() % 12);
    for (int i = 0; i < len; ++i) text += pieces[rng() % pieces.size()];
    AnsiString escaped = frxExportRTF::EscapeText(text);
    EXPECT_EQ(Unescape(escaped), text) << escaped;
    // Outside \'hh pairs no byte is above 127, and no trail byte was escaped as a character.
    for (unsigned char c : escaped) EXPECT_LT(c, 128);
    EXPECT_EQ(escaped.find("\\'c9\\\\"), AnsiString::npos);
  }
  EXPECT_EQ(frxExportRTF::EscapeText("\xC9\x5C{"), "\\'c9\\'5c\\{");
}

TEST_F(RTFExportTest, LibreOfficeReadsTheSample)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  Export("sample.rtf");
  Keep(File("sample.rtf"), "export-sample.rtf");
  // One conversion for the test's files: LibreOffice starts slowly.
  auto conv = RunTool("cd '" + Dir.string() + "' && HOME='" + Dir.string() +
                      "' soffice --headless --convert-to pdf --outdir out sample.rtf >/dev/null 2>&1; echo $?");
  ASSERT_EQ(conv.Out, "0\n") << "soffice --headless --convert-to pdf";
  auto text = RunTool("pdftotext -enc UTF-8 '" + (Dir / "out" / "sample.pdf").string() + "' -");
  ASSERT_EQ(text.Status, 0) << "pdftotext";
  for (const char* want : {"合同管理报表", "甲公司", "Contract {north} \\ (total)", "金额合计", "行 row 8", "第二页"})
    EXPECT_NE(text.Out.find(U8(want)), std::string::npos) << U8(want) << " missing from:\n" << text.Out;
  Keep((Dir / "out" / "sample.pdf").string(), "export-sample-rtf.pdf");
}

TEST_F(RTFExportTest, AFailedWriteKeepsThePreviousFile)
{
  BuildRows();
  ASSERT_TRUE(Prepare());
  RunSaveFaults<TfrxRTFExport>(U8("报表.rtf"), U8("报表.rtf"), "{\\rtf1 old}", [](const std::string& b) {
    return b.rfind("{\\rtf1", 0) == 0 && b.size() > 100 && b.back() == '\n';
  });
}

}  // namespace
