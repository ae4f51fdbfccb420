// The grid's RTF export: the exact document of a one-cell table, escaping of control characters
// and double-byte text, shared font and colour tables, the merged cells of multi-level titles,
// and a document over Chinese data read back by an independent RTF reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gridkit/impexp/DBGridEhExportRTF.h"
#include "gridkit/tests/GridTestDb.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Streams.h"

namespace {

class ExportRTF : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 文本 (名称 TEXT(40), 数量 INTEGER)");
    Db.Exec("insert into 文本 values ('Hello', 3)");
    Q = Db.Query("select * from 文本");
    Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
  }
  AnsiString Rtf(bool All = true)
  {
    TStringStream s;
    DBGridEhImpExp::ExportGridToStream<TDBGridEhExportAsRTF>(Grid.get(), &s, All);
    return s.GetDataString();
  }
  // The table rows of a document, from "\trowd" to the row's end.
  static std::vector<AnsiString> Rows(const AnsiString& Doc)
  {
    std::vector<AnsiString> rows;
    for (std::size_t at = Doc.find("\\trowd"); at != AnsiString::npos;) {
      std::size_t next = Doc.find("\\trowd", at + 1);
      rows.push_back(Doc.substr(at, next == AnsiString::npos ? AnsiString::npos : next - at));
      at = next;
    }
    return rows;
  }
  // The sides of cell N of Row that carry a border, as letters "ltbr".
  static AnsiString Borders(const AnsiString& Row, int N)
  {
    std::size_t from = 0;
    for (int i = 0; i < N; ++i) from = Row.find("\\cellx", from) + 1;
    std::size_t to = Row.find("\\clshdng", from);
    AnsiString part = Row.substr(from, to - from), sides;
    for (const char* s : {"l", "t", "b", "r"})
      if (part.find(AnsiString("\\clbrdr") + s) != AnsiString::npos) sides += s;
    return sides;
  }
  static AnsiString Rgb(TColor C)
  {
    COLORREF v = Graphics::ColorToRGB(C);
    return "\\red" + std::to_string(v & 0xFF) + "\\green" + std::to_string((v >> 8) & 0xFF) + "\\blue" +
           std::to_string((v >> 16) & 0xFF) + ";";
  }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  std::unique_ptr<TImpExpGridStandIn> Grid;
};

TEST_F(ExportRTF, OneCellTableIsExactWithTheCodePageDeclared)
{
  TColumnEh* c = Grid->Add("名称");
  c->SetWidth(75);
  c->GetFont()->SetName("Arial");
  c->GetFont()->SetSize(10);
  c->GetFont()->SetColor(clBlack);
  c->SetColor(clWhite);
  Grid->Titles = false;
  AnsiString b = "\\brdrs\\brdrcf0\r\n";
  EXPECT_EQ(Rtf(), "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl" + Rgb(clBlack) + Rgb(clWhite) + Rgb(clBtnFace) +
                       "}\r\n{\\fonttbl\\f0\\fnil\\fcharset134 Arial;}\r\n"
                       "\\trowd\\trgaph40\r\n\\clbrdrl" +
                       b + "\\clbrdrt" + b + "\\clbrdrb" + b + "\\clbrdrr" + b +
                       "\\clshdng10000\\clcfpat1\\cellx1125\r\n{\\trrh0\r\n"
                       "\\pard\\intbl{\\ql\\sb24\\sa24\\fs20\\f0\\cf0\\cb1 Hello\\cell}\r\n"
                       "\\pard\\intbl\\row}\r\n}");
  // A flat grid spaces 12 twips; nothing selected writes the tables alone.
  Grid->Model.Flat = true;
  EXPECT_NE(Rtf().find("\\sb12\\sa12"), AnsiString::npos);
  EXPECT_EQ(Rtf(false), "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl" + Rgb(clBlack) + Rgb(clWhite) + Rgb(clBtnFace) +
                            "}\r\n{\\fonttbl}\r\n");
}

TEST_F(ExportRTF, ControlCharactersAndDoubleByteTextAreEscaped)
{
  struct {
    AnsiString In, Out;
  } cases[] = {
      {"C:\\temp{1}", "C:\\\\temp\\{1\\}"},
      {"合同", "\\'ba\\'cf\\'cd\\'ac"},
      // A trail byte that looks like a backslash or a brace stays with its lead byte.
      {AnsiString("\x81\x5c\x81\x7b", 4), "\\'81\\'5c\\'81\\'7b"},
      {"a\xa1", "a\\'a1"},
  };
  for (auto& c : cases) EXPECT_EQ(DBGridEhImpExp::RtfText(c.In), c.Out) << c.Out;
}

TEST_F(ExportRTF, StylesAlignmentAndTablesOfTitlesDataAndFooters)
{
  Db.Exec("insert into 文本 values ('甲', 4)");
  Q->Close();
  Q->Open();
  TColumnEh* name = Grid->Add("名称");
  TColumnEh* count = Grid->Add("数量");
  count->GetFont()->SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  count->GetFooter()->SetValueType(fvtSum);
  count->GetFooter()->SetColor(clYellow);
  name->GetTitle()->SetColor(clRed);
  Grid->FooterRows = 1;
  AnsiString doc = Rtf();
  std::vector<AnsiString> rows = Rows(doc);
  ASSERT_EQ(rows.size(), 4u);
  // Every cell is in one font: one font table entry. Numbers are right-justified.
  EXPECT_EQ(doc.substr(doc.find("{\\fonttbl"), doc.find("}\r\n", doc.find("{\\fonttbl")) - doc.find("{\\fonttbl")),
            "{\\fonttbl\\f0\\fnil\\fcharset134 " + DBGridEhImpExp::RtfText(name->GetFont()->GetName()) + ";");
  EXPECT_NE(rows[1].find("{\\qr\\sb24\\sa24\\fs16\\b\\i\\strike\\ul\\f0"), AnsiString::npos);
  EXPECT_NE(rows[1].find(" 3\\cell}"), AnsiString::npos);
  EXPECT_NE(rows[3].find(" 7\\cell}"), AnsiString::npos);
  // Title colour red and footer colour yellow each join the colour table once.
  EXPECT_NE(doc.find(Rgb(clRed)), AnsiString::npos);
  EXPECT_NE(rows[0].find("\\clcfpat3\\cellx"), AnsiString::npos);
  EXPECT_NE(rows[3].find("\\clcfpat4\\cellx"), AnsiString::npos);
  EXPECT_EQ(Rgb(clRed) + Rgb(clYellow), doc.substr(doc.find(Rgb(clRed)), (Rgb(clRed) + Rgb(clYellow)).size()));
  // The right edges add up column by column (64 pixels at 120 dpi: 768 twips each).
  Grid->PixelsPerInch = 120;
  name->SetWidth(64);
  count->SetWidth(64);
  rows = Rows(Rtf());
  EXPECT_NE(rows[0].find("\\cellx768\r\n"), AnsiString::npos);
  EXPECT_NE(rows[0].find("\\cellx1536\r\n"), AnsiString::npos);
}

TEST_F(ExportRTF, ACaptionSpanningTwoLevelsIsOneMergedCell)
{
  TColumnEh* x = Grid->Add("名称");
  TColumnEh* y = Grid->Add("数量");
  TColumnEh* b = Grid->Add("名称");
  // A|x, A|y and B: B's leaf reaches the whole title height.
  TTitleNodeInfoEh a{"A", 20, nullptr}, lx{"x", 20, &a}, ly{"y", 20, &a}, lb{"B", 40, nullptr};
  Grid->Leaves = {{x, &lx}, {y, &ly}, {b, &lb}};
  Grid->Model.UseMultiTitle = true;
  auto levels = TDBGridEhExportAsRTF::TitleLevels({&lx, &ly, &lb});
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[1], (std::vector<const TTitleNodeInfoEh*>{&a, &a, &lb}));

  std::vector<AnsiString> rows = Rows(Rtf());
  ASSERT_EQ(rows.size(), 3u);
  // Upper row: A over two columns, B over two rows; the covered cells are empty and unspaced.
  EXPECT_EQ(Borders(rows[0], 0), "ltb");
  EXPECT_EQ(Borders(rows[0], 1), "tbr");
  EXPECT_EQ(Borders(rows[0], 2), "ltr");
  EXPECT_EQ(Borders(rows[1], 0), "ltbr");
  EXPECT_EQ(Borders(rows[1], 2), "lbr");
  // 10 pixels of margin at 96 dpi: 5 / 96 * 1440 - 20 = 55 twips.
  EXPECT_NE(rows[0].find("{\\qc\\sb55\\sa55"), AnsiString::npos);
  EXPECT_NE(rows[0].find(" A\\cell}"), AnsiString::npos);
  EXPECT_NE(rows[0].find(" B\\cell}"), AnsiString::npos);
  EXPECT_NE(rows[1].find(" x\\cell}"), AnsiString::npos);
  EXPECT_NE(rows[1].find("{\\qc\\fs"), AnsiString::npos) << "the cell under B";
  EXPECT_EQ(rows[1].find(" B\\cell}"), AnsiString::npos);
}

// LibreOffice reads the document back; this says whether the Chinese cells survive a reader
// that is not ours. Skipped when soffice is not installed.
TEST_F(ExportRTF, LibreOfficeReadsTheChineseCellsBack)
{
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "soffice is not installed";
  Db.Exec("insert into 文本 values ('合同管理\\{表}', 5)");
  Db.Exec("insert into 文本 values ('付款计划', 6)");
  Q = Db.Query("select * from 文本");
  Grid = std::make_unique<TImpExpGridStandIn>(Q.get());
  Grid->Add("名称");
  Grid->Add("数量");
  std::string dir = testing::TempDir() + "rtf_lo_" + std::to_string(::getpid());
  std::string file = dir + "/grid.rtf";
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
  TDBGridEhExportAsRTF e;
  e.Grid = Grid.get();
  e.OutputToFile(file, true);
  std::string cmd = "cd '" + dir + "' && HOME='" + dir + "' soffice -env:UserInstallation=file://" + dir +
                    "/profile --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" + dir + "' '" + file +
                    "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream in(dir + "/grid.txt");
  std::stringstream text;
  text << in.rdbuf();
  AnsiString back = System::Utf8ToAnsi(text.str());
  for (const char* cell : {"名称", "数量", "Hello", "合同管理\\{表}", "付款计划", "6"})
    EXPECT_NE(back.find(cell), AnsiString::npos) << "LibreOffice lost the cell " << System::AnsiToUtf8(cell);
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
