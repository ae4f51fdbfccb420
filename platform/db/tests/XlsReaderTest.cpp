// The workbook reader on workbooks built byte by byte (XlsBuilder.h): damaged and encrypted files
// first, then CONTINUE seams in the shared strings, the cell records, dates and the BIFF5 forms.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/db/tests/XlsBuilder.h"
#include "platform/db/xls/CompoundFile.h"
#include "platform/db/xls/NumberFormats.h"
#include "platform/db/xls/XlsError.h"
#include "platform/db/xls/XlsReader.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"

using namespace XlsBuilder;

namespace {

TXlsWorkbook Read(const std::string& file) { return XlsReader::ReadBytes(file.data(), file.size()); }

TBook OneSheet(const std::string& cells, const std::string& globals = StandardGlobals())
{
  TBook book;
  book.Globals = globals;
  book.Sheets.push_back({u"Sheet1", 0, cells});
  return book;
}

const TXlsCell* At(const TXlsSheet& sheet, unsigned row, unsigned col)
{
  const TXlsCell* found = nullptr;
  for (const TXlsCell& c : sheet.Cells)
    if (c.Row == row && c.Col == col) found = &c;
  return found;
}

// The reason a read fails for, or -1 when it does not.
int FailureOf(const std::string& file)
{
  try {
    Read(file);
  } catch (const EXlsError& e) {
    return e.Reason();
  }
  return -1;
}

}  // namespace

TEST(XlsReader, RefusesWhatIsNoSoundWorkbook)
{
  const std::string good = File(OneSheet(Number(0, 0, 1)));
  ASSERT_EQ(FailureOf(good), -1);
  std::string badSheetOffset = good;
  {
    // The BOUNDSHEET's offset (after BOF, the standard globals and its own header) made huge.
    TBook b = OneSheet(Number(0, 0, 1));
    const std::string stream = b.Stream();
    const std::size_t at = stream.find(std::string("\x85\x00", 2));
    std::string broken = stream;
    broken.replace(at + 4, 4, U32(0x7FFFFFF0));
    badSheetOffset = Compound({{u"Workbook", broken}});
  }
  TBook noEof = OneSheet(Number(0, 0, 1));
  std::string cut = noEof.Stream();
  cut.resize(cut.size() - 4);  // the sheet's EOF is missing

  std::string twiceFile;
  TBook twice = OneSheet(Number(0, 0, 1));
  twice.Sheets.push_back(twice.Sheets[0]);
  {
    // Both BOUNDSHEETs point at the first sheet.
    std::string stream = twice.Stream();
    const std::size_t first = stream.find(std::string("\x85\x00", 2));
    const std::size_t second = stream.find(std::string("\x85\x00", 2), first + 1);
    stream.replace(second + 4, 4, stream.substr(first + 4, 4));
    twiceFile = Compound({{u"Workbook", stream}});
  }
  struct Case {
    const char* what;
    std::string file;
    int reason;
  };
  const std::string rubbish = "Id,Name\n1,x\n" + std::string(600, 'x');
  const Case cases[] = {
      {"empty", "", EXlsError::xeNotWorkbook},
      {"text", rubbish, EXlsError::xeNotWorkbook},
      {"header only", good.substr(0, 512), EXlsError::xeDamaged},
      {"cut short", good.substr(0, good.size() - 700), EXlsError::xeDamaged},
      {"no workbook stream", Compound({{u"Other", OneSheet("").Stream()}}), EXlsError::xeNotWorkbook},
      {"directory loop", File(OneSheet(""), {9, true}), EXlsError::xeDamaged},
      {"directory chain loop", File(OneSheet(""), {9, false, true}), EXlsError::xeDamaged},
      {"mini chain loop", File(OneSheet(std::string(300, '\0')), {9, false, false, true}), EXlsError::xeDamaged},
      {"record past the end",
       Compound({{u"Workbook", OneSheet("").Stream() + Record(0x0203, "").substr(0, 2) + std::string("\xFF\x7F", 2)}}),
       -1},  // fewer than four bytes left: the end
      {"record body past the end",
       Compound({{u"Workbook", OneSheet(Number(0, 0, 1)).Stream().substr(0, 60) + U16(0x0203) + U16(200)}}),
       EXlsError::xeDamaged},
      {"sheet offset past the end", badSheetOffset, EXlsError::xeDamaged},
      {"sheet without end", Compound({{u"Workbook", cut}}), EXlsError::xeDamaged},
      {"shared string index past the table", File(OneSheet(LabelSst(0, 0, 5), StandardGlobals() + Sst({{u"a"}}))),
       EXlsError::xeDamaged},
      {"string longer than its record",
       File(OneSheet("", StandardGlobals() + Record(0x00FC, U32(1) + U32(1) + U16(50) + U8(0) + "abc"))),
       EXlsError::xeDamaged},
      {"MULRK whose columns do not add up",
       File(OneSheet(Record(0x00BD, U16(0) + U16(0) + U16(0) + U32(RkInt(1)) + U16(7)))), EXlsError::xeDamaged},
      {"short NUMBER", File(OneSheet(Record(0x0203, U16(0) + U16(0)))), EXlsError::xeDamaged},
      {"cell past the last column", File(OneSheet(Number(0, 256, 1))), EXlsError::xeDamaged},
      {"two sheets on the same records", twiceFile, EXlsError::xeDamaged},
      {"encrypted", File(OneSheet("", Record(0x002F, U16(1) + std::string(52, '\x5A')) + StandardGlobals())),
       EXlsError::xeEncrypted},
      {"BIFF4", Compound({{u"Workbook", Record(0x0409, U16(0) + U16(0x10) + U16(0))}}), EXlsError::xeNotWorkbook},
  };
  for (const Case& c : cases) EXPECT_EQ(FailureOf(c.file), c.reason) << c.what;
}

TEST(XlsReader, SharedStringsSplitAnywhereByContinueRecords)
{
  std::vector<TSstString> strings = {
      {u"合同管理"},
      {u"A plain 8-bit text that is long enough to cross several seams"},
      {u"8-bit text written as UTF-16 all the same", true},
      {u"", false},
      {u"富文本 with runs", false, 3},
      {u"ルビ付き text", false, 0, 21},
      {u"both runs and phonetic: 甲乙丙丁", false, 2, 9},
      {std::u16string(300, u'x') + u"尾"},
  };
  std::string cells;
  for (std::size_t i = 0; i < strings.size(); ++i)
    cells += LabelSst(static_cast<unsigned>(i), 0, static_cast<std::uint32_t>(i));
  for (bool flip : {false, true}) {
    for (std::size_t max = 3; max <= 48; ++max) {
      const TXlsWorkbook book = Read(File(OneSheet(cells, StandardGlobals() + Sst(strings, max, flip))));
      ASSERT_EQ(book.Sheets.size(), 1u);
      for (std::size_t i = 0; i < strings.size(); ++i) {
        const TXlsCell* c = At(book.Sheets[0], static_cast<unsigned>(i), 0);
        if (strings[i].Text.empty()) {
          EXPECT_EQ(c, nullptr);  // an empty text is no value
          continue;
        }
        ASSERT_NE(c, nullptr) << max;
        EXPECT_TRUE(book.Strings[c->Str] == strings[i].Text)
            << "string " << i << ", records of " << max << ", flip " << flip;
      }
    }
  }
}

TEST(XlsReader, ReadsEveryKindOfCell)
{
  const std::string cells =
      Number(0, 0, 12345.5) + Rk(0, 1, RkInt(-7)) + Rk(0, 2, RkInt(1234, true)) + Rk(0, 3, RkDouble(0.5)) +
      Record(0x00BD, U16(1) + U16(2) + U16(0) + U32(RkInt(10)) + U16(0) + U32(RkInt(20)) + U16(1) + U32(RkInt(40000)) +
                         U16(4)) +
      Record(0x0201, U16(1) + U16(0) + U16(0)) +                    // BLANK
      Record(0x00BE, U16(1) + U16(5) + U16(0) + U16(0) + U16(6)) +  // MULBLANK
      BoolErr(2, 0, 1, false) + BoolErr(2, 1, 0x07, true) + Label(2, 2, u"标签") + Label(2, 3, u"") +
      Cell(0x00D6, 2, 4, 0, Str(u"rich") + U16(1) + U32(0)) +                  // RSTRING
      Formula(3, 0, NumberResult(2.25)) +                                      // number
      Formula(3, 1, OtherResult(0)) + Record(0x04BC, std::string(10, '\0')) +  // text, after a SHRFMLA
      Record(0x0207, U16(5) + U8(0) + "ab") + Record(0x003C, U8(1) + CharBytes(u"丙丁戊", true)) +
      Formula(3, 2, OtherResult(1, 1)) + Formula(3, 3, OtherResult(2, 0x2A)) + Formula(3, 4, OtherResult(3)) +
      Formula(3, 5, OtherResult(0)) + Number(3, 6, 9) +  // a text result whose STRING never comes
      Number(4, 0, 1) + Number(4, 0, 2);                 // the same place twice
  const TXlsWorkbook book = Read(File(OneSheet(cells)));
  const TXlsSheet& s = book.Sheets[0];
  struct Case {
    unsigned row, col;
    TXlsCellKind kind;
    double value;
    const char16_t* text;
  };
  const Case cases[] = {
      {0, 0, TXlsCellKind::Number, 12345.5, nullptr}, {0, 1, TXlsCellKind::Number, -7, nullptr},
      {0, 2, TXlsCellKind::Number, 12.34, nullptr},   {0, 3, TXlsCellKind::Number, 0.5, nullptr},
      {1, 2, TXlsCellKind::Number, 10, nullptr},      {1, 3, TXlsCellKind::Number, 20, nullptr},
      {1, 4, TXlsCellKind::Date, 40000, nullptr},     {2, 0, TXlsCellKind::Boolean, 1, nullptr},
      {2, 1, TXlsCellKind::Error, 7, nullptr},        {2, 2, TXlsCellKind::Text, 0, u"标签"},
      {2, 4, TXlsCellKind::Text, 0, u"rich"},         {3, 0, TXlsCellKind::Number, 2.25, nullptr},
      {3, 1, TXlsCellKind::Text, 0, u"ab丙丁戊"},     {3, 2, TXlsCellKind::Boolean, 1, nullptr},
      {3, 3, TXlsCellKind::Error, 0x2A, nullptr},     {3, 6, TXlsCellKind::Number, 9, nullptr},
  };
  for (const Case& c : cases) {
    const TXlsCell* cell = At(s, c.row, c.col);
    ASSERT_NE(cell, nullptr) << c.row << "," << c.col;
    EXPECT_EQ(cell->Kind, c.kind) << c.row << "," << c.col;
    if (c.text)
      EXPECT_TRUE(book.Strings[cell->Str] == c.text) << c.row << "," << c.col;
    else
      EXPECT_DOUBLE_EQ(cell->Value, c.value) << c.row << "," << c.col;
  }
  for (auto [row, col] : {std::pair{1u, 0u}, {1u, 5u}, {1u, 6u}, {2u, 3u}, {3u, 4u}, {3u, 5u}})
    EXPECT_EQ(At(s, row, col), nullptr) << row << "," << col;
  EXPECT_EQ(At(s, 4, 0)->Value, 2);  // the later one stands
}

TEST(XlsReader, TellsDatesByTheirFormatInBothDateSystems)
{
  // XF 1: built-in date; XF 2: "yyyy-mm-dd hh:mm"; XF 3: "[h]:mm"; XF 0: General.
  const std::string cells = Number(0, 0, 39877, 1) + Number(0, 1, 39877.75, 2) + Number(0, 2, 1.5, 3) +
                            Number(0, 3, 39877, 0) + Number(0, 4, 15, 1) + Number(0, 5, 0.25, 2) + Number(0, 6, 61, 1) +
                            Rk(0, 7, RkInt(39877), 1) + Number(0, 8, 5, 99);  // XF 99 does not exist: General
  const double d2009 = SysUtils::EncodeDate(2009, 3, 5).Value;
  struct Case {
    bool date1904;
    unsigned col;
    TXlsCellKind kind;
    double value;
  };
  const Case cases[] = {
      {false, 0, TXlsCellKind::Date, d2009},
      {false, 1, TXlsCellKind::Date, d2009 + 0.75},
      {false, 2, TXlsCellKind::Date, 1.5},  // elapsed time: the number of days as it is
      {false, 3, TXlsCellKind::Number, 39877},
      {false, 4, TXlsCellKind::Date, SysUtils::EncodeDate(1900, 1, 15).Value},  // before the day that never was
      {false, 5, TXlsCellKind::Date, 0.25},
      {false, 6, TXlsCellKind::Date, SysUtils::EncodeDate(1900, 3, 1).Value},
      {false, 7, TXlsCellKind::Date, d2009},
      {false, 8, TXlsCellKind::Number, 5},
      {true, 0, TXlsCellKind::Date, SysUtils::EncodeDate(2013, 3, 6).Value},
      {true, 2, TXlsCellKind::Date, 1.5},
      {true, 4, TXlsCellKind::Date, SysUtils::EncodeDate(1904, 1, 16).Value},
  };
  for (bool date1904 : {false, true}) {
    const TXlsWorkbook book = Read(File(OneSheet(cells, StandardGlobals(date1904))));
    EXPECT_EQ(book.Date1904, date1904);
    for (const Case& c : cases) {
      if (c.date1904 != date1904) continue;
      const TXlsCell* cell = At(book.Sheets[0], 0, c.col);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->Kind, c.kind) << c.col << (date1904 ? " 1904" : " 1900");
      EXPECT_DOUBLE_EQ(cell->Value, c.value) << c.col << (date1904 ? " 1904" : " 1900");
    }
  }
}

TEST(XlsReader, ClassifiesNumberFormats)
{
  struct Case {
    const char16_t* format;
    NumberFormats::TFormatKind kind;
  };
  const Case cases[] = {
      {u"General", NumberFormats::fkNumber},
      {u"#,##0.00;[Red]-#,##0.00", NumberFormats::fkNumber},
      {u"0.00E+00", NumberFormats::fkNumber},
      {u"\"days\" 0", NumberFormats::fkNumber},
      {u"0\\d", NumberFormats::fkNumber},
      {u"_(* #,##0_);_(* (#,##0)", NumberFormats::fkNumber},
      {u"[$-804]0.00", NumberFormats::fkNumber},
      {u"yyyy-mm-dd", NumberFormats::fkDate},
      {u"[$-804]yyyy\"年\"m\"月\"d\"日\"", NumberFormats::fkDate},
      {u"h:mm AM/PM", NumberFormats::fkDate},
      {u"[DBNum1]上午/下午h\"时\"mm\"分\"", NumberFormats::fkDate},
      {u"[hh]:mm:ss", NumberFormats::fkElapsed},
      {u"[m]:ss", NumberFormats::fkElapsed},
      {u"[Red][h]:mm", NumberFormats::fkElapsed},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberFormats::Classify(c.format), c.kind) << System::WideToAnsi(c.format);
}

TEST(XlsReader, ListsWorksheetsWithTheirVisibility)
{
  TBook book = OneSheet(Number(0, 0, 1));
  book.Sheets.push_back({u"隐藏", 1, Number(0, 0, 2)});
  book.Sheets.push_back({u"图表", 0, "", 2});  // a chart sheet holds no table
  book.Sheets.push_back({u"Very", 2, Label(0, 0, u"x")});
  for (unsigned shift : {9u, 12u}) {
    const TXlsWorkbook wb = Read(Compound({{u"WORKBOOK", book.Stream() + std::string(5000, '\0')}}, {shift}));
    ASSERT_EQ(wb.Sheets.size(), 3u);
    EXPECT_TRUE(wb.Sheets[0].Name == u"Sheet1");
    EXPECT_TRUE(wb.Sheets[1].Name == u"隐藏");
    EXPECT_EQ(wb.Sheets[1].Visibility, TXlsVisibility::Hidden);
    EXPECT_EQ(wb.Sheets[2].Visibility, TXlsVisibility::VeryHidden);
    EXPECT_EQ(At(wb.Sheets[1], 0, 0)->Value, 2);
  }
}

TEST(XlsReader, ReadsBiff5TextInTheWorkbooksCodePage)
{
  auto biff5 = [](unsigned codePage, const std::string& bytes) {
    TBook book;
    book.Biff = 5;
    book.Globals = (codePage ? Record(0x0042, U16(codePage)) : std::string()) +
                   Record(0x041E, U16(164) + U8(10) + "yyyy-mm-dd") +
                   Record(0x00E0, U16(0) + U16(0) + std::string(12, '\0')) +
                   Record(0x00E0, U16(0) + U16(164) + std::string(12, '\0'));
    book.Sheets.push_back({u"Sheet1", 0,
                           Cell(0x0204, 0, 0, 0, U16(bytes.size()) + bytes) + Number(0, 1, 39877, 1) +
                               Formula(0, 2, OtherResult(0)) + Record(0x0207, U16(bytes.size()) + bytes)});
    return Read(File(book));
  };
  struct Case {
    unsigned codePage;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {936, "\xBA\xCF\xCD\xAC ok", u"合同 ok"},
      {1252, "caf\xE9 \x80", u"café €"},
      {0, "na\xEFve", u"naïve"},  // no CODEPAGE record: 1252
      {1251, "\xC4\xEE\xE3", u"Дог"},
  };
  for (const Case& c : cases) {
    const TXlsWorkbook wb = biff5(c.codePage, c.bytes);
    EXPECT_EQ(wb.Biff, 5);
    const TXlsCell* label = At(wb.Sheets[0], 0, 0);
    const TXlsCell* result = At(wb.Sheets[0], 0, 2);
    ASSERT_TRUE(label && result);
    EXPECT_TRUE(wb.Strings[label->Str] == c.text) << c.codePage;
    EXPECT_TRUE(wb.Strings[result->Str] == c.text) << c.codePage;
    EXPECT_EQ(At(wb.Sheets[0], 0, 1)->Kind, TXlsCellKind::Date);
  }
}
