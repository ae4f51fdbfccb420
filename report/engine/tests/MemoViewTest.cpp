// Text objects: bracketed expressions with any delimiters and over Chinese text, display
// formats, hidden zeros, data fields, highlight, suppressed repeats, stretching, splitting and
// flowing on, drawing on a bitmap, the report file, and a page of text objects as a PNG.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"
#include "report/script/interp/fs_iitems.h"

namespace {

class MemoView : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    frxExpression::Initialize();
    Report = std::make_unique<TfrxReport>(nullptr);
    Page = new TfrxReportPage(Report.get());
    Page->SetName("Page1");
    TfrxVariables* v = Report->GetVariables();
    v->SetVariable("x", Variant(3.14159));
    v->SetVariable("b", Variant(true));
    v->SetVariable("f", Variant(false));
    v->SetVariable("n", Variant::Null());
    v->SetVariable("z", Variant(0));
    v->SetVariable("s0", Variant("'0'"));
    v->SetVariable("Five", Variant(5));
    v->SetVariable("d", Variant(SysUtils::EncodeDate(2026, 3, 5)));
  }
  void Prepare() { ASSERT_TRUE(Report->PrepareScript()) << Report->GetErrors()->GetText(); }
  TfrxMemoView* Memo(const AnsiString& Text, Extended L = 0, Extended T = 0, Extended W = 200, Extended H = 20)
  {
    auto* m = new TfrxMemoView(Page);
    m->CreateUniqueName();
    m->SetBounds(L, T, W, H);
    m->SetText(Text);
    return m;
  }
  // One print of the object: what FetchData makes of its text; the template is kept.
  static AnsiString Printed(TfrxCustomMemoView* m)
  {
    m->SaveBounds();
    m->FetchData();
    AnsiString text = m->GetText();
    m->RestoreBounds();
    return text;
  }

  std::unique_ptr<TfrxReport> Report;
  TfrxReportPage* Page = nullptr;
};

}  // namespace

TEST_F(MemoView, ExpandsBracketedExpressionsWithFormats)
{
  Prepare();
  struct Case {
    const char* Delimiters;
    const char* Text;
    const char* Printed;
  } cases[] = {
      {"[,]", "a[1+1]b", "a2b"},
      {"<,>", "a<1+1>b", "a2b"},
      {"<,>", "[1+1]<2*2>", "[1+1]4"},                     // square brackets are then plain text
      {"{{,}}", "{{Five}} and {{<Five>*2}}", "5 and 10"},  // delimiters of several characters
      {"[,]", "共[<Five>]份", "共5份"},
      {"[,]", "[x #n%2.2f]", "3.14"},
      {"[,]", "[x #n%2,2f]", "3,14"},    // the comma becomes the decimal separator
      {"[,]", "[x #n#0.000]", "3.142"},  // a picture
      {"[,]", "[b #BYes,No]", "Yes"},
      {"[,]", "[f #BYes,No]", "No"},
      {"[,]", "[n #BYes,No]", ""},
      {"[,]", "[d #dyyyy年mm月dd日]", "2026年03月05日"},
      {"[,]", "['abc' #n%2.2f]", "abc"},                // a format that does not fit: plain text
      {"[,]", "['a]b' + 'c']", "a]bc"},                 // a quoted closing bracket does not close
      {"[,]", "['[1+1]']", "[1+1]"},                    // an inserted value is not expanded again
      {"[,]", "a[1+1", "a[1+1"},                        // unclosed: kept as it is
      {"[,]", "癧[1+1]", "癧2"},                        // 癧 ends in the byte of "["
      {"[,]", "[TotalPages#] 页", "[TotalPages#] 页"},  // left for the prepared pages
      {"[,]", "line1\r\n[Five]", "line1\r\n5"},
  };
  for (const Case& c : cases) {
    TfrxMemoView* m = Memo(c.Text);
    m->ExpressionDelimiters = c.Delimiters;
    EXPECT_EQ(Printed(m), c.Printed) << c.Text;
    EXPECT_EQ(m->GetText(), c.Text) << "template kept";
  }
  TfrxMemoView* off = Memo("[1+1]");
  off->AllowExpressions = false;
  EXPECT_EQ(Printed(off), "[1+1]");
}

TEST_F(MemoView, HideZerosValueVariableAndBadExpressions)
{
  Prepare();
  TfrxMemoView* m = Memo("");
  m->HideZeros = true;
  struct Case {
    const char* Text;
    const char* Printed;
  } cases[] = {{"[z]", ""}, {"[s0]", "0"}, {"[<z> + 1]", "1"}, {"a[z]b", "ab"}, {"[n]", ""}};
  for (const Case& c : cases) {
    m->SetText(c.Text);
    EXPECT_EQ(Printed(m), c.Printed) << c.Text;
  }
  m->SetText("[2 * 21]");
  Printed(m);
  EXPECT_EQ(m->Value.AsInteger(), 42);
  EXPECT_EQ(Report->GetValueVariable()->GetValue().AsInteger(), 42);

  m->SetText("[1 +]");
  Report->CurObject = m->GetName();
  EXPECT_THROW(m->FetchData(), Exception);
  ASSERT_EQ(Report->GetErrors()->GetCount(), 1);
  EXPECT_EQ(Report->GetErrors()->GetStrings(0).substr(0, m->GetName().size() + 2), m->GetName() + ": ");
}

TEST_F(MemoView, DataFieldsUseTheDisplayFormat)
{
  TfrxUserDataSet ds(nullptr);
  ds.SetUserName("Orders");
  ds.GetFields()->SetText("Amount");
  Variant amount = Variant(1234.5);
  ds.OnGetValue = [&](const AnsiString&, Variant& V) { V = amount; };
  Report->GetDataSets()->Add(&ds);
  Prepare();
  TfrxMemoView* m = Memo("template");
  m->SetDataSet(&ds);
  m->DataField = "Amount";
  EXPECT_EQ(Printed(m), "1234.5");  // the data set's display text
  m->GetDisplayFormat()->Kind = fkNumeric;
  m->GetDisplayFormat()->FormatStr = "%2.2f";
  EXPECT_EQ(Printed(m), "1234.50");
  m->GetDisplayFormat()->FormatStr = "#,##0.00";
  m->GetDisplayFormat()->DecimalSeparator = ",";
  EXPECT_EQ(Printed(m), "1,234,50");
  EXPECT_EQ(SysUtils::DecimalSeparator, '.');  // restored
  amount = Variant(0);
  m->HideZeros = true;
  EXPECT_EQ(Printed(m), "");
  amount = Variant::Null();
  EXPECT_EQ(Printed(m), "");
  // At design time a bound object shows its binding.
  m->SetIsDesigning(true);
  TPixelCanvas c(220, 40);
  m->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(m->GetText(), "[Orders.\"Amount\"]");
  Report->GetDataSets()->Clear();
  m->SetDataSet(nullptr);
}

TEST_F(MemoView, HighlightSuppressRepeatedRotationAndStyle)
{
  Report->GetVariables()->SetVariable("v", Variant("'A'"));
  Prepare();
  TfrxMemoView* m = Memo("[v]");
  m->SuppressRepeated = true;
  m->GetHighlight()->Condition = "<v> = 'B'";
  std::vector<AnsiString> printed;
  std::vector<bool> lit;
  for (const char* v : {"'A'", "'A'", "'B'"}) {
    Report->GetVariables()->SetVariable("v", Variant(v));
    printed.push_back(Printed(m));
    lit.push_back(m->GetHighlight()->Active);
  }
  EXPECT_EQ(printed, (std::vector<AnsiString>{"A", "", "B"}));
  EXPECT_EQ(lit, (std::vector<bool>{false, false, true}));
  // A condition that comes out Null is not met.
  m->GetHighlight()->Condition = "<n>";
  Printed(m);
  EXPECT_FALSE(m->GetHighlight()->Active);

  struct Case {
    Integer Set, Stored;
  } rotations[] = {{450, 90}, {90, 90}, {360, 0}, {-90, 270}, {725, 5}};
  for (const Case& c : rotations) {
    m->SetRotation(c.Set);
    EXPECT_EQ(m->GetRotation(), c.Stored) << c.Set;
  }

  TfrxStyleItem* style = Report->GetStyles()->Add();
  style->SetName("Title");
  style->Color = kBlue;
  style->GetFont()->SetSize(16);
  m->SetStyle("Title");
  EXPECT_EQ(m->Color, static_cast<TColor>(kBlue));
  EXPECT_EQ(m->GetFont()->GetSize(), 16);
  EXPECT_FALSE(m->GetParentFont());
  m->SetStyle("NoSuchStyle");  // nothing to take
  EXPECT_EQ(m->Color, static_cast<TColor>(kBlue));
}

TEST_F(MemoView, StyleSetAppliesToTheObjectsThatNameIt)
{
  const TColor green = RGB(0, 255, 0);
  TfrxStyles* styles = Report->GetStyles();
  TfrxStyleItem* title = styles->Add();
  title->SetName("Title");
  TfrxMemoView* a = Memo("a");
  a->SetStyle("Title");
  TfrxMemoView* b = Memo("b");
  b->SetStyle("title");  // names match ignoring case
  TfrxMemoView* plain = Memo("c");
  plain->Color = kRed;
  TfrxMemoView* missing = Memo("d");
  missing->SetStyle("Gone");
  missing->Color = kRed;

  title->Color = kBlue;
  title->GetFont()->SetSize(16);
  title->GetFrame()->Typ = TfrxFrameTypes() << ftTop << ftBottom;
  title->GetFrame()->Width = 2;
  EXPECT_EQ(a->Color, clNone);  // a changed style waits for Apply
  styles->Apply();
  for (TfrxMemoView* m : {a, b}) {
    EXPECT_EQ(m->Color, static_cast<TColor>(kBlue));
    EXPECT_EQ(m->GetFont()->GetSize(), 16);
    EXPECT_FALSE(m->GetParentFont());
    EXPECT_EQ(m->GetFrame()->Typ, TfrxFrameTypes() << ftTop << ftBottom);
    EXPECT_EQ(m->GetFrame()->Width, 2);
  }
  for (TfrxMemoView* m : {plain, missing}) {
    EXPECT_EQ(m->Color, static_cast<TColor>(kRed));
    EXPECT_TRUE(m->GetParentFont());
    EXPECT_TRUE(m->GetFrame()->Typ.Empty());
  }

  // A free set touches no report; a style file loaded into the report's set is applied.
  TfrxStyles free;
  TfrxStyleItem* other = free.Add();
  other->SetName("Title");
  other->Color = green;
  other->GetFrame()->Typ = TfrxFrameTypes() << ftLeft;
  free.Apply();
  EXPECT_EQ(a->Color, static_cast<TColor>(kBlue));
  TMemoryStream file;
  free.SaveToStream(&file);
  file.SetPosition(0);
  styles->LoadFromStream(&file);
  for (TfrxMemoView* m : {a, b}) {
    EXPECT_EQ(m->Color, green);
    EXPECT_EQ(m->GetFrame()->Typ, TfrxFrameTypes() << ftLeft);
    EXPECT_EQ(m->GetFont()->GetSize(), 10);
  }
}

TEST_F(MemoView, BoundsAreKeptThroughTheBaseClass)
{
  TfrxMemoView* m = Memo("[Five]", 1, 2, 30, 40);
  TfrxReportComponent* base = m;
  base->SaveBounds();
  m->SetBounds(5, 6, 70, 80);
  m->SetText("changed");
  base->RestoreBounds();
  EXPECT_EQ(m->GetLeft(), 1);
  EXPECT_EQ(m->GetHeight(), 40);
  EXPECT_EQ(m->GetText(), "[Five]");  // the text object's own part came back too
}

TEST_F(MemoView, SplitTaggedTextKeepsItsLookOnBothSides)
{
  Prepare();
  const Extended line = 83 / 6.25 + 2;
  TfrxMemoView* m = Memo("<b>aaa</b> <font color=\"#FF0000\">bbb</font>\r\nccc", 0, 0, 400, std::floor(line) + 2);
  m->AllowHTMLTags = true;
  m->BeginParts();
  m->FitPart();
  EXPECT_EQ(m->GetText(), "<b>aaa</b> <font color=\"#FF0000\">bbb</font>");
  EXPECT_EQ(m->PartText, "<font color=\"#000000\">ccc");
  // Drawn, the part that stayed still shows its red word.
  TPixelCanvas c(420, 40);
  m->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_GT(c.Count({0, 0, 420, 40}, kRed), 3);
}

TEST_F(MemoView, HeightsWidthsAndSplitting)
{
  Prepare();
  const Extended line = 83 / 6.25 + 2;  // Arial 10 at the layout's resolution, plus LineSpacing
  TfrxMemoView* m = Memo("one\r\ntwo\r\nthree", 0, 0, 200, 20);
  struct Case {
    Integer FrameWidth;
    bool Framed;
    Extended Expected;
  } heights[] = {{1, false, std::round(3 * line + 2)}, {3, true, std::round(3 * line + 2 + 1 + 1.5)}};
  for (const Case& c : heights) {
    m->GetFrame()->Width = c.FrameWidth;
    m->GetFrame()->Typ = c.Framed ? TfrxFrameTypes() << ftTop << ftBottom : TfrxFrameTypes();
    Extended h = m->CalcHeight();
    EXPECT_EQ(h, std::floor(h));
    EXPECT_EQ(h, c.Expected);
  }
  m->GetFrame()->Typ = TfrxFrameTypes();
  Extended w = m->CalcWidth();
  EXPECT_EQ(w, std::floor(w));
  EXPECT_GT(w, 4);
  EXPECT_LT(w, 60);

  // Splitting: what fits two lines stays, the rest waits in PartText.
  m->SetHeight(std::floor(2 * line) + 2);
  m->BeginParts();
  Extended unused = m->FitPart();
  EXPECT_EQ(m->GetText(), "one\r\ntwo");
  EXPECT_EQ(m->PartText, "three");
  EXPECT_GT(unused, 0);
  EXPECT_LT(unused, line);
  // Not even one line fits: nothing is placed and the whole height is unused.
  m->SetText("one\r\ntwo");
  m->SetHeight(8);
  m->BeginParts();
  EXPECT_EQ(m->FitPart(), 8);
  EXPECT_EQ(m->PartText, "one\r\ntwo");
  EXPECT_EQ(m->GetText(), "");
}

TEST_F(MemoView, WrappedTextForTheExports)
{
  TfrxMemoView* m = Memo("<b>aaa bbb</b> ccc\r\n合同", 0, 0, 30, 20);
  m->AllowHTMLTags = true;
  TStringList lines;
  frxMemoView::GetWrappedText(m, true, &lines);
  EXPECT_EQ(lines.GetText(), "aaa\r\nbbb\r\nccc\r\n合同\r\n");
  frxMemoView::GetWrappedText(m, false, &lines);
  EXPECT_EQ(lines.GetText(), "aaa bbb ccc\r\n合同\r\n");
}

TEST_F(MemoView, FlowToGetsExactlyTheRestUnevaluated)
{
  Prepare();
  const Extended line = 83 / 6.25 + 2;
  TfrxMemoView* first = Memo("first [Five]\r\nsecond\r\n['[kept]']\r\nfourth", 0, 0, 200, std::floor(2 * line) + 2);
  TfrxMemoView* second = Memo("", 0, 100, 200, 100);
  first->SetFlowTo(second);
  first->FetchData();
  EXPECT_EQ(first->GetText(), "first 5\r\nsecond");
  EXPECT_EQ(second->GetText(), "[kept]\r\nfourth");
  EXPECT_FALSE(second->AllowExpressions);
  second->FetchData();
  EXPECT_EQ(second->GetText(), "[kept]\r\nfourth");
  // Freeing the target unlinks it.
  delete second;
  EXPECT_EQ(first->GetFlowTo(), nullptr);
  first->SetFlowTo(first);
  EXPECT_EQ(first->GetFlowTo(), nullptr);
}

TEST_F(MemoView, DrawsBackgroundTextHighlightAndUnderlines)
{
  Prepare();
  TPixelCanvas c(240, 120);
  TfrxMemoView* m = Memo("合同 Text", 10, 10, 200, 40);
  m->Color = kBlue;
  m->GetFont()->SetColor(RGB(255, 255, 0));
  m->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
  m->GetFrame()->Width = 2;
  m->Underlines = true;
  m->GetFrame()->Color = RGB(0, 160, 0);
  m->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(m->TextRect.left, 10 + 2 + 1);  // gap 2, then (2 - 1) / 2 rounded
  EXPECT_EQ(m->TextRect.top, 10 + 1 + 1);
  EXPECT_EQ(m->TextRect.right, 210 - 2 - 1 + 1);
  EXPECT_EQ(c.At(200, 45), kBlue);
  EXPECT_GT(c.Count({12, 12, 100, 28}, RGB(255, 255, 0)), 10);  // the text, in its colour
  int underline = static_cast<int>(std::lround(10 + 83 / 6.25 + 2));
  EXPECT_EQ(c.At(150, underline), RGB(0, 160, 0));

  // An active highlight brings its own font and colour, for this drawing only.
  TPixelCanvas h(240, 120);
  m->Underlines = false;
  m->GetHighlight()->Active = true;
  m->GetHighlight()->Color = kRed;
  m->Draw(h.DC, 1, 1, 0, 0);
  EXPECT_EQ(h.At(200, 45), kRed);
  EXPECT_EQ(m->Color, static_cast<TColor>(kBlue));
  EXPECT_GT(h.Count({12, 12, 100, 28}, RGB(255, 0, 0)), 10);

  // Automatic width at run time keeps the right edge for right-aligned text.
  TfrxMemoView* a = Memo("abc", 50, 60, 150, 20);
  a->AutoWidth = true;
  a->HAlign = haRight;
  TPixelCanvas w(240, 120);
  a->Draw(w.DC, 1, 1, 0, 0);
  EXPECT_NEAR(a->GetWidth(), a->CalcWidth(), 0.5);
  EXPECT_DOUBLE_EQ(a->GetLeft() + a->GetWidth(), 200);
}

TEST_F(MemoView, TotalPagesTagStrAndURL)
{
  Prepare();
  TfrxMemoView* m = Memo("第[TOTALPAGES]页 / [totalpages#]");
  m->TotalPages = 7;
  EXPECT_EQ(m->GetPrintedText(), "第7页 / [totalpages#]");
  TPixelCanvas c(220, 40);
  m->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(m->GetText(), "第[TOTALPAGES]页 / 7");

  m->TagStr = "id=[1+2]";
  m->URL = "http://host/?n=[<Five>]&q=癧";
  m->SetText("");
  m->SaveBounds();
  m->FetchData();
  EXPECT_EQ(m->TagStr, "id=3");
  EXPECT_EQ(m->URL, "http://host/?n=5&q=癧");
  m->RestoreBounds();
  EXPECT_EQ(m->TagStr, "id=[1+2]");
  EXPECT_EQ(m->URL, "http://host/?n=[<Five>]&q=癧");
}

TEST_F(MemoView, TheReportFileKeepsTextObjects)
{
  TfrxMemoView* m = Memo("合同编号\r\n[Five]");
  m->SetName("Memo1");
  m->HAlign = haCenter;
  m->GapX = 3;
  m->GetDisplayFormat()->Kind = fkNumeric;
  m->GetDisplayFormat()->FormatStr = "%2.2f";
  m->GetHighlight()->Condition = "Value > 0";
  m->GetHighlight()->Color = kRed;
  m->SetRotation(90);
  auto* sys = new TfrxSysMemoView(Page);
  sys->SetName("SysMemo1");
  sys->SetText("[Page#]");
  TfrxMemoView* next = Memo("");
  next->SetName("Memo2");
  m->SetFlowTo(next);

  TMemoryStream s;
  Report->SaveToStream(&s);
  AnsiString xml(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  EXPECT_NE(xml.find("GapX=\"3\""), AnsiString::npos);
  EXPECT_EQ(xml.find("GapY="), AnsiString::npos);  // defaults are not written
  EXPECT_EQ(xml.find("LineSpacing="), AnsiString::npos);
  EXPECT_EQ(xml.find("Highlight.", xml.find("SysMemo1")), AnsiString::npos);  // no condition, no highlight

  TfrxReport copy(nullptr);
  s.SetPosition(0);
  copy.LoadFromStream(&s);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0) << copy.GetErrors()->GetText();
  auto* m2 = dynamic_cast<TfrxMemoView*>(copy.FindObject("Memo1"));
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(m2->GetText(), "合同编号\r\n[Five]");
  EXPECT_EQ(m2->HAlign, haCenter);
  EXPECT_EQ(m2->GapX, 3);
  EXPECT_EQ(m2->GapY, 1);
  EXPECT_EQ(m2->GetDisplayFormat()->Kind, fkNumeric);
  EXPECT_EQ(m2->GetDisplayFormat()->FormatStr, "%2.2f");
  EXPECT_EQ(m2->GetHighlight()->Condition, "Value > 0");
  EXPECT_EQ(m2->GetHighlight()->Color, static_cast<TColor>(kRed));
  EXPECT_EQ(m2->GetRotation(), 90);
  EXPECT_EQ(m2->GetFlowTo(), copy.FindObject("Memo2"));
  ASSERT_NE(dynamic_cast<TfrxSysMemoView*>(copy.FindObject("SysMemo1")), nullptr);
  EXPECT_EQ(m2->GetClassCaption(), "文本对象");
  EXPECT_EQ(copy.FindObject("SysMemo1")->GetClassCaption(), "系统文本");

  // Prepared pages store the text and what differs from a fresh object.
  TfrxMemoView reference(nullptr);
  AnsiString diff = m->WriteDiff(&reference);
  EXPECT_NE(diff.find(" GapX=\"3\""), AnsiString::npos);
  EXPECT_NE(diff.find(" HAlign=\"2\""), AnsiString::npos);
  EXPECT_NE(diff.find(" Rotation=\"90\""), AnsiString::npos);
  EXPECT_NE(diff.find(" x=\""), AnsiString::npos);
  EXPECT_EQ(diff.find("GapY"), AnsiString::npos);
}

TEST_F(MemoView, PageOfTextObjectsAsPNG)
{
  Report->GetVariables()->SetVariable("Amount", Variant(1234.5));
  Prepare();
  TPixelCanvas c(420, 300);
  struct Item {
    const char* Text;
    TfrxHAlign H;
    TfrxVAlign V;
    Integer Rotation;
    bool Tags;
  } items[] = {
      {"合同金额: [Amount #n%2.2f] 元", haLeft, vaTop, 0, false},
      {"<b>粗体</b> <i>italic</i> <font color=\"#FF0000\">红色</font>", haCenter, vaCenter, 0, true},
      {"右对齐 right aligned", haRight, vaBottom, 0, false},
      {"两端对齐的一段较长的文本, justified text that wraps over several lines in the box.", haBlock, vaTop, 0, false},
      {"旋转 90", haLeft, vaTop, 90, false},
  };
  for (int i = 0; i < 5; ++i) {
    bool rotated = items[i].Rotation != 0;
    TfrxMemoView* m =
        Memo(items[i].Text, rotated ? 340 : 10, rotated ? 10 : 10 + i * 55, rotated ? 40 : 300, rotated ? 200 : 48);
    m->HAlign = items[i].H;
    m->VAlign = items[i].V;
    m->SetRotation(items[i].Rotation);
    m->AllowHTMLTags = items[i].Tags;
    m->GetFont()->SetName("宋体");
    m->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
    m->Color = i % 2 ? RGB(230, 240, 255) : clNone;
    m->Underlines = i == 3;
    m->FetchData();
    m->Draw(c.DC, 1, 1, 0, 0);
  }
  auto png = PngFile::SavePng(c.Bmp);
  ASSERT_FALSE(png.empty());
  auto path = std::filesystem::path(PELTO_TEST_OUTPUT) / "report-text-objects-page.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
  EXPECT_GT(c.Count({10, 65, 310, 113}, kRed), 3);  // the red word of the tagged text
  EXPECT_NE(c.Ink({10, 10, 310, 58}).right, 0);
}
