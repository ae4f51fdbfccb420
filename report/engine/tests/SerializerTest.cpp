// The report file format: what is written for each kind of property, reading it back, and the
// failures a load gathers instead of raising.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxrcClass.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "report/engine/tests/ReportFixtures.h"

namespace {

class SerializerTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    frxrcClass::Initialize();
    frxClass::Initialize();
    Classes::RegisterClasses({TTestMemoView::StaticClass(), TTestAbstractView::StaticClass()});
  }

  static AnsiString Save(TfrxComponent* c, bool defaults = false)
  {
    TMemoryStream s;
    c->SaveToStream(&s, true, defaults);
    return AnsiString(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  }
  static void Load(TfrxComponent* c, const AnsiString& text)
  {
    TMemoryStream s;
    s.Write(text.data(), static_cast<Int64>(text.size()));
    s.SetPosition(0);
    c->LoadFromStream(&s);
  }
  static AnsiString Errors(TfrxReport& r)
  {
    AnsiString t = r.GetErrors()->GetText();
    return t;
  }
};

}  // namespace

TEST_F(SerializerTest, OnlyStoredNonDefaultPropertiesAreWrittenInDeclarationOrder)
{
  TTestMemoView m(nullptr);
  m.SetName("Memo1");
  m.SetBounds(10, 20.5, 100, 18);
  m.GetMemo()->SetText("a\r\nb & c\r\n");
  TfrxXMLSerializer w(nullptr);
  EXPECT_EQ(w.WriteProperties(&m),
            " Left=\"10\" Top=\"20.5\" Width=\"100\" Height=\"18\" Ratio=\"0\""
            " Memo.Text=\"a&#13;&#10;b &#38; c\"");
  // Own font, non-default enumeration, Boolean, integer, set and string.
  m.GetFont()->SetName("宋体");
  m.GetFont()->SetStyle(TFontStyles{fsBold});
  m.Align = taRightJ;
  m.WordWrap = false;
  m.Count = -3;
  m.Marks = TfrxRestrictions{rfDontSize, rfDontMove};
  m.Caption = "\"q\"";
  EXPECT_EQ(w.WriteProperties(&m),
            " Left=\"10\" Top=\"20.5\" Width=\"100\" Height=\"18\" Font.Charset=\"1\""
            " Font.Color=\"0\" Font.Height=\"-13\" Font.Name=\"宋体\" Font.Style=\"1\""
            " ParentFont=\"False\" Align=\"taRightJ\" WordWrap=\"False\" Count=\"-3\" Ratio=\"0\""
            " Caption=\"&#34;q&#34;\" Marks=\"6\" Memo.Text=\"a&#13;&#10;b &#38; c\"");
  // With the defaults written, ordinals at their default and empty strings appear too.
  TTestMemoView d(nullptr);
  TfrxXMLSerializer wd(nullptr);
  wd.SetWriteDefaults(true);
  EXPECT_EQ(wd.WriteProperties(&d),
            " Tag=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" ParentFont=\"True\""
            " Align=\"taLeftJ\" WordWrap=\"True\" Count=\"0\" Ratio=\"0\" Caption=\"\" Marks=\"0\""
            " Memo.Text=\"\"");
}

TEST_F(SerializerTest, ReportTreeRoundTripsToTheSameBytes)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  page->GetFont()->SetName("Tahoma");
  auto* m1 = new TTestMemoView(page);
  m1->SetName("Memo1");
  m1->SetBounds(1.25, 2, 3, 4);
  m1->GetMemo()->SetText("第一行\r\n[Total]\r\n");
  m1->Secret = "key";
  auto* m2 = new TTestMemoView(m1);
  m2->SetName("Memo2");
  m2->Link = m1;
  m2->Align = taCenterJ;
  auto* page2 = new TfrxReportPage(&report);
  page2->SetName("Page2");
  page2->SetVisible(false);

  AnsiString first = Save(&report);
  EXPECT_EQ(first.substr(0, 40), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
  EXPECT_NE(first.find("\r\n  <TfrxReportPage Name=\"Page1\" Font.Charset=\"1\""), AnsiString::npos) << first;
  EXPECT_NE(first.find("\r\n      <TTestMemoView Name=\"Memo2\""), AnsiString::npos) << first;
  EXPECT_NE(first.find(" Link=\"Memo1\""), AnsiString::npos);
  EXPECT_NE(first.find(" PropData=\"06536563726574"), AnsiString::npos) << first;

  TfrxReport copy(nullptr);
  Load(&copy, first);
  EXPECT_EQ(copy.GetErrors()->GetCount(), 0) << Errors(copy);
  auto* c1 = dynamic_cast<TTestMemoView*>(copy.FindObject("Memo1"));
  auto* c2 = dynamic_cast<TTestMemoView*>(copy.FindObject("Memo2"));
  ASSERT_TRUE(c1 && c2);
  EXPECT_EQ(c1->GetParent()->GetName(), "Page1");
  EXPECT_EQ(c2->GetParent(), c1);
  EXPECT_EQ(c2->Link, c1);
  EXPECT_EQ(c1->Secret, "key");
  EXPECT_EQ(c1->GetLeft(), 1.25);
  EXPECT_EQ(c1->GetMemo()->GetText(), "第一行\r\n[Total]\r\n");
  EXPECT_EQ(c1->GetFont()->GetName(), "Tahoma");  // taken from the page again
  EXPECT_FALSE(c1->GetIsLoading());
  EXPECT_FALSE(copy.FindObject("Page2")->GetVisible());
  EXPECT_EQ(Save(&copy), first);
}

TEST_F(SerializerTest, TextEndingInAnEmptyLineKeepsIt)
{
  // The text is written without its final line break, so a last line that is empty needs that
  // break kept; the lines, and the bytes of a second save, stay as they were.
  for (const char* text : {"a\r\n\r\n", "\r\n", "a\r\nb\r\n", ""}) {
    TfrxReport report(nullptr);
    auto* page = new TfrxReportPage(&report);
    page->SetName("Page1");
    auto* m = new TTestMemoView(page);
    m->SetName("Memo1");
    m->GetMemo()->SetText(text);
    AnsiString first = Save(&report);
    TfrxReport copy(nullptr);
    Load(&copy, first);
    auto* c = dynamic_cast<TTestMemoView*>(copy.FindObject("Memo1"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->GetMemo()->GetCount(), m->GetMemo()->GetCount()) << text;
    EXPECT_EQ(c->GetMemo()->GetText(), m->GetMemo()->GetText());
    EXPECT_EQ(Save(&copy), first);
  }
}

// A page's own font is written in full and nothing else tells it apart from the parent's, so
// a font read back at the initial look must stay the page's own.
TEST_F(SerializerTest, OwnFontAtTheInitialLookStaysOwn)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  page->GetFont()->SetName("Tahoma");
  page->GetFont()->SetName("Arial");
  AnsiString first = Save(&report);
  EXPECT_NE(first.find(" Font.Height=\"-13\" Font.Name=\"Arial\""), AnsiString::npos) << first;

  TfrxReport copy(nullptr);
  Load(&copy, first);
  EXPECT_FALSE(copy.FindObject("Page1")->GetParentFont());
  EXPECT_EQ(Save(&copy), first);
}

TEST_F(SerializerTest, HandWrittenFileLoadsEveryProperty)
{
  TfrxReport report(nullptr);
  Load(&report,
       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
       "<TfrxReport>\r\n"
       "  <TfrxReportPage Name=\"Page1\">\r\n"
       "    <TTestMemoView Name=\"Memo1\" Left=\"10,5\" Top=\"20\" Width=\"80\" Height=\"18\""
       " Font.Name=\"Courier New\" Font.Style=\"3\" ParentFont=\"False\" Align=\"2\""
       " WordWrap=\"False\" Marks=\"9\" Caption=\"&#60;b&#62;\" Memo.Text=\"x&#13;&#10;y\"/>\r\n"
       "    <TTestMemoView Name=\"Memo2\" left=\"1\" link=\"Memo1\" Ratio=\" 2.5 \"/>\r\n"
       "  </TfrxReportPage>\r\n"
       "</TfrxReport>\r\n");
  EXPECT_EQ(report.GetErrors()->GetCount(), 0) << Errors(report);
  auto* m = dynamic_cast<TTestMemoView*>(report.FindObject("Memo1"));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->GetLeft(), 10.5);
  EXPECT_EQ(m->GetHeight(), 18);
  EXPECT_EQ(m->GetFont()->GetName(), "Courier New");
  EXPECT_TRUE(m->GetFont()->GetStyle().Contains(fsItalic));
  EXPECT_FALSE(m->GetParentFont());
  EXPECT_EQ(m->Align, taRightJ);
  EXPECT_FALSE(m->WordWrap);
  EXPECT_EQ(m->Marks, (TfrxRestrictions{rfDontModify, rfDontDelete}));
  EXPECT_EQ(m->Caption, "<b>");
  EXPECT_EQ(m->GetMemo()->GetCount(), 2);
  auto* m2 = dynamic_cast<TTestMemoView*>(report.FindObject("Memo2"));
  ASSERT_TRUE(m2);
  EXPECT_EQ(m2->Link, m);
  EXPECT_EQ(m2->Ratio, 2.5);
}

TEST_F(SerializerTest, LoadFailuresGoToTheErrorsAndTheRestLoads)
{
  TfrxReport report(nullptr);
  report.SetName("Report1");
  Load(&report,
       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
       "<TfrxReport>\r\n"
       "  <TfrxReportPage Name=\"Page1\">\r\n"
       "    <TfrxNoSuchView Name=\"X\"><TTestMemoView Name=\"Hidden\"/></TfrxNoSuchView>\r\n"
       "    <TfrxNoSuchView Name=\"Y\"/>\r\n"
       "    <TTestAbstractView Name=\"Z\"/>\r\n"
       "    <TStringList Name=\"S\"/>\r\n"
       "    <TTestMemoView Name=\"Memo1\" Count=\"abc\" Align=\"taNowhere\" NoSuch=\"1\""
       " Font.NoSuch=\"2\" Link=\"Nobody\" Top=\"x\" Left=\"5\" PropData=\"0653656372\"/>\r\n"
       "    <TTestMemoView Name=\"Memo1\"/>\r\n"
       "  </TfrxReportPage>\r\n"
       "</TfrxReport>\r\n");
  EXPECT_EQ(report.GetName(), "Report1");
  auto* m = dynamic_cast<TTestMemoView*>(report.FindObject("Memo1"));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Count, 0);
  EXPECT_EQ(m->GetLeft(), 5);
  EXPECT_EQ(m->Link, nullptr);
  EXPECT_EQ(report.FindObject("Hidden"), nullptr);
  TStringList* e = report.GetErrors();
  // Each unknown class once, however often it occurs.
  EXPECT_GE(e->IndexOf("未找到类 TfrxNoSuchView"), 0) << Errors(report);
  EXPECT_GE(e->IndexOf("未找到类 TStringList"), 0) << Errors(report);
  EXPECT_GE(e->IndexOf("'abc' is not a valid integer value"), 0) << Errors(report);
  EXPECT_GE(e->IndexOf("'x' is not a valid floating point value"), 0) << Errors(report);
  EXPECT_GE(e->IndexOf("Invalid property value"), 0) << Errors(report);
  // The cut PropData block, the abstract class and the duplicate name say what went wrong.
  EXPECT_GE(e->IndexOf("Stream read error"), 0) << Errors(report);
  EXPECT_EQ(e->GetCount(), 8) << Errors(report);
}

TEST_F(SerializerTest, ComponentStringsUseShortNamesAndResolveAtOnce)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  auto* target = new TTestMemoView(page);
  target->SetName("Target");
  TfrxXMLSerializer s(nullptr);
  TfrxComponent* c = s.ReadComponentStr(
      page, "TTestMemoView l=\"1.5\" t=\"2\" w=\"30\" h=\"40\" x=\"one&#13;&#10;two\" Link=\"Target\"");
  auto* m = dynamic_cast<TTestMemoView*>(c);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->GetParent(), page);
  EXPECT_EQ(m->GetLeft(), 1.5);
  EXPECT_EQ(m->GetTop(), 2);
  EXPECT_EQ(m->GetWidth(), 30);
  EXPECT_EQ(m->GetHeight(), 40);
  EXPECT_EQ(m->GetMemo()->GetCount(), 2);
  EXPECT_EQ(m->Link, target);
  EXPECT_EQ(s.ReadComponentStr(page, "  "), nullptr);
  EXPECT_THROW(s.ReadComponentStr(page, "TNoSuch l=\"1\""), EClassNotFound);
  EXPECT_EQ(s.WriteComponentStr(m).substr(0, 32), "TTestMemoView Left=\"1.5\" Top=\"2\"");
}

TEST_F(SerializerTest, FloatsWrittenUnderACommaLocaleReadBack)
{
  char old = SysUtils::DecimalSeparator;
  SysUtils::DecimalSeparator = ',';
  TTestMemoView m(nullptr);
  m.SetLeft(12.75);
  TfrxXMLSerializer w(nullptr);
  AnsiString text = w.WriteProperties(&m);
  SysUtils::DecimalSeparator = old;
  EXPECT_NE(text.find("Left=\"12,75\""), AnsiString::npos);
  TTestMemoView back(nullptr);
  TfrxXMLSerializer r(nullptr);
  r.ReadProperties(text, &back);
  EXPECT_EQ(back.GetLeft(), 12.75);
}

TEST_F(SerializerTest, AssignCopiesThroughTheFileFormat)
{
  TTestMemoView a(nullptr), b(nullptr);
  a.SetName("A");
  a.SetBounds(1, 2, 3, 4);
  a.Caption = "c";
  new TTestMemoView(&a);
  b.SetName("B");
  b.Assign(&a);
  EXPECT_EQ(b.GetName(), "B");
  EXPECT_EQ(b.Caption, "c");
  EXPECT_EQ(b.GetWidth(), 3);
  EXPECT_TRUE(b.GetObjects().empty());
  b.AssignWithChildren(&a);
  EXPECT_EQ(b.GetObjects().size(), 1u);
}

TEST_F(SerializerTest, ClipboardFormWritesAndReadsElementsOneByOne)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  auto* a = new TTestMemoView(page);
  a->SetName("A");
  a->SetBounds(1, 2, 3, 4);
  a->Caption = "x\"y";
  auto* b = new TTestMemoView(page);
  b->SetName("B");
  b->Link = a;
  TMemoryStream s;
  TfrxXMLSerializer w(&s);
  w.WriteComponent(a);
  w.WriteComponent(b);
  AnsiString text(static_cast<const char*>(s.GetMemory()), static_cast<size_t>(s.GetSize()));
  EXPECT_EQ(text.substr(0, 15), "<TTestMemoView ");
  s.SetPosition(0);
  TfrxXMLSerializer r(&s);
  auto* ca = dynamic_cast<TTestMemoView*>(r.ReadComponent(page));
  auto* cb = dynamic_cast<TTestMemoView*>(r.ReadComponent(page));
  ASSERT_TRUE(ca && cb);
  EXPECT_EQ(ca->Caption, "x\"y");
  EXPECT_EQ(ca->GetWidth(), 3);
  EXPECT_EQ(cb->Link, a);  // by name within the page's report
  EXPECT_EQ(r.ReadComponent(page), nullptr);
}

TEST_F(SerializerTest, NestingBeyondAnyReportIsCutWithAnError)
{
  AnsiString text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport>";
  for (int i = 0; i < 100000; ++i) text += "<TTestMemoView>";
  for (int i = 0; i < 100000; ++i) text += "</TTestMemoView>";
  text += "</TfrxReport>";
  TfrxReport report(nullptr);
  report.GetEngineOptions()->SilentMode = true;
  Load(&report, text);
  EXPECT_EQ(report.GetAllObjects().size(), 256u);
  EXPECT_GE(report.GetErrors()->IndexOf("Invalid file format"), 0);
}
