// Report variables with their categories, options, and style sets with their files.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"

namespace {

AnsiString Names(const TfrxVariables& v)
{
  AnsiString r;
  for (int i = 0; i < v.GetCount(); ++i) r += (i ? "|" : "") + v.GetItems(i)->Name;
  return r;
}

void Fill(TfrxVariables& v)
{
  v.Clear();
  for (const char* n : {" Company", "u_Company", "u_Tel", " Other", "x"}) v.Add()->Name = n;
}

}  // namespace

TEST(Variables, CategoriesAndTheirBlocks)
{
  TfrxVariables v;
  Fill(v);
  TStringList l;
  v.GetCategoriesList(&l);
  EXPECT_EQ(l.GetCommaText(), "Company,Other");
  v.GetVariablesList("company", &l);
  EXPECT_EQ(l.GetCommaText(), "u_Company,u_Tel");
  v.GetVariablesList("", &l);
  EXPECT_EQ(l.GetCount(), 0);
  v.GetVariablesList("None", &l);
  EXPECT_EQ(l.GetCount(), 0);

  v.AddVariable("Other", "y", Variant(1));
  v.AddVariable("Company", "u_Fax", Variant(2));
  v.AddVariable("None", "z", Variant(3));
  EXPECT_EQ(Names(v), " Company|u_Company|u_Tel|u_Fax| Other|x|y");
  v.DeleteCategory("Company");
  EXPECT_EQ(Names(v), " Other|x|y");
  v.DeleteVariable("X");
  v.DeleteVariable("nothing");
  EXPECT_EQ(Names(v), " Other|y");

  EXPECT_TRUE(v.GetVariable("unknown").IsNull());
  v.SetVariable("New", Variant(AnsiString("v")));
  EXPECT_EQ(Names(v), " Other|y|New");
  v.SetVariable("NEW", Variant(5));
  EXPECT_EQ(v.GetCount(), 3);
  EXPECT_EQ(Variants::VarToStr(v.GetVariable("new")), "5");
}

TEST(Variables, FileRoundTripAndForeignRoot)
{
  TfrxVariables v;
  Fill(v);
  v.SetVariable("u_Tel", Variant(AnsiString("\"010\" & <8>")));
  TStringStream s;
  v.SaveToStream(&s);
  AnsiString text = s.GetDataString();
  EXPECT_NE(text.find("<variables>"), AnsiString::npos) << text;
  EXPECT_NE(text.find("<item Name=\"u_Tel\" Value=\"&#34;010&#34; &#38; &#60;8&#62;\"/>"), AnsiString::npos) << text;
  TfrxVariables back;
  TStringStream in(text);
  back.LoadFromStream(&in);
  EXPECT_EQ(Names(back), Names(v));
  EXPECT_EQ(Variants::VarToStr(back.GetVariable("u_tel")), "\"010\" & <8>");

  TStringStream other("<?xml version=\"1.0\"?><style><item Name=\"a\"/></style>");
  back.LoadFromStream(&other);
  EXPECT_EQ(back.GetCount(), 0);
}

TEST(Options, PasswordCodingAndClearing)
{
  EXPECT_EQ(frxOptions::EncodePassword("AB\x05"), "78\xFB");
  EXPECT_EQ(frxOptions::DecodePassword("78\xFB"), "AB\x05");
  TfrxReportOptions o;
  EXPECT_TRUE(o.CheckPassword());
  o.Password = "pw";
  EXPECT_FALSE(o.CheckPassword());  // nobody to ask: cancelled
  AnsiString typed = "PW";
  TScopedFunction<frxOptions::TPasswordFunc> ask(frxOptions::PasswordService(), [&typed](AnsiString& p) {
    p = typed;
    return true;
  });
  EXPECT_FALSE(o.CheckPassword());  // case matters
  typed = "pw";
  EXPECT_TRUE(o.CheckPassword());

  TfrxEngineOptions e;
  e.MaxMemSize = 50;
  e.DoublePass = true;
  e.Clear();
  EXPECT_EQ(e.MaxMemSize, 50);
  EXPECT_FALSE(e.DoublePass);
  TfrxPreviewOptions p;
  p.Zoom = 2;
  p.OutlineWidth = 10;
  p.Clear();
  EXPECT_EQ(p.Zoom, 2);
  EXPECT_EQ(p.OutlineWidth, 120);
  // Assign copies only from its own class.
  TfrxPrintOptions po;
  po.Copies = 4;
  po.Assign(&p);
  EXPECT_EQ(po.Copies, 4);
}

TEST(Styles, NamesAreUniqueInTheirSet)
{
  TfrxStyles set;
  TfrxStyleItem* a = set.Add();
  a->SetName("Style1");
  a->SetName("style1");  // the match is the style itself
  EXPECT_EQ(a->GetName(), "style1");
  TfrxStyleItem* b = set.Add();
  EXPECT_THROW(b->SetName("STYLE1"), Exception);
  EXPECT_EQ(b->GetName(), "");
  b->CreateUniqueName();
  EXPECT_EQ(b->GetName(), "Style2");
  EXPECT_EQ(set.Find("STYLE2"), b);
  TStringList l;
  set.GetList(&l);
  EXPECT_EQ(l.GetCommaText(), "style1,Style2");
}

// Report files are read into fonts that start here, and leave out the pitch at its default; a
// new platform font starts as another face, size and colour.
TEST(Styles, ReportFontsStartArialTenPoints)
{
  TfrxStyles set;
  TfrxHighlight highlight;
  TfrxPage page(nullptr);
  struct Case {
    const TFont* Font;
    TColor Color;
  } cases[] = {{set.Add()->GetFont(), clBlack}, {highlight.GetFont(), clRed}, {page.GetFont(), clBlack}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.Font->GetName(), "Arial");
    EXPECT_EQ(c.Font->GetHeight(), -13);
    EXPECT_EQ(c.Font->GetSize(), 10);
    EXPECT_EQ(c.Font->GetColor(), c.Color);
    EXPECT_EQ(c.Font->GetCharset(), 1);
    EXPECT_EQ(c.Font->GetStyle(), TFontStyles());
    EXPECT_EQ(c.Font->GetPitch(), fpDefault);
  }
}

TEST(Styles, SetsAndSheetsThroughTheirFiles)
{
  TfrxStyles set;
  set.Name = "Blue";
  TfrxStyleItem* s = set.Add();
  s->SetName("Title");
  s->Color = 0xFF0000;
  s->GetFont()->SetStyle(TFontStyles{fsBold});
  TStringStream out;
  set.SaveToStream(&out);
  AnsiString text = out.GetDataString();
  EXPECT_NE(text.find("<style Name=\"Blue\">"), AnsiString::npos) << text;
  EXPECT_NE(text.find("<item Name=\"Title\" Color=\"16711680\" Font.Charset=\"1\""), AnsiString::npos) << text;

  TfrxStyles back;
  TStringStream in(text);
  back.LoadFromStream(&in);
  EXPECT_EQ(back.Name, "Blue");
  ASSERT_EQ(back.GetCount(), 1);
  EXPECT_EQ(back.GetItems(0)->Color, 0xFF0000);
  EXPECT_TRUE(back.GetItems(0)->GetFont()->GetStyle().Contains(fsBold));

  AnsiString sheetText =
      "<?xml version=\"1.0\"?>\r\n<stylesheet>" + text.substr(text.find("<style")) + "<other/></stylesheet>";
  TStringStream sheetIn(sheetText);
  back.LoadFromStream(&sheetIn);  // a sheet is not a set
  EXPECT_EQ(back.GetCount(), 0);
  TfrxStyleSheet sheet;
  TStringStream sheetIn2(sheetText);
  sheet.LoadFromStream(&sheetIn2);
  ASSERT_EQ(sheet.GetCount(), 1);
  EXPECT_EQ(sheet.Find("BLUE"), sheet.GetItems(0));
  EXPECT_EQ(sheet.GetItems(0)->Find("title")->Color, 0xFF0000);
  sheet.Delete(0);
  EXPECT_EQ(sheet.GetCount(), 0);
}
