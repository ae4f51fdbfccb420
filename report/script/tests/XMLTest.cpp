#include <gtest/gtest.h>

#include <filesystem>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "report/script/xml/fs_xml.h"

namespace {

// Loads Text into Doc; answers the raised message, or "" on success.
AnsiString Load(TfsXMLDocument& Doc, const AnsiString& Text)
{
  TStringStream S(Text);
  try {
    Doc.LoadFromStream(&S);
  } catch (const Exception& E) {
    return E.Message();
  }
  return "";
}

// The tree as "name[attrs](children)" for compact comparisons.
AnsiString Shape(const TfsXMLItem* I)
{
  AnsiString S = I->GetName();
  if (!I->GetText().empty()) S += "[" + I->GetText() + "]";
  if (I->GetCount() > 0) {
    S += "(";
    for (Integer K = 0; K < I->GetCount(); ++K) S += (K ? "," : "") + Shape(I->GetItems(K));
    S += ")";
  }
  return S;
}

TEST(ScriptXML, MalformedDocumentsRaiseInvalidFileFormat)
{
  for (const char* Bad : {"<a/>", "<?xml?><a <b>", "<?xml?><a x=\"1", "<?xml?><a></b>"}) {
    TfsXMLDocument Doc;
    EXPECT_EQ(Load(Doc, Bad), "Invalid file format") << Bad;
  }
  // Items read before the fault stay.
  TfsXMLDocument Doc;
  Load(Doc, "<?xml?><a><b/><c></d>");
  EXPECT_EQ(Shape(Doc.GetRoot()), "a(b,c)");
}

TEST(ScriptXML, ReadsElementsAttributesAndComments)
{
  struct Case {
    const char* Text;
    const char* Shape;
  } Cases[] = {
      {"<?xml version=\"1.0\"?><a>hello</a>", "a"},
      {"<?xml?><a />", "a"},
      {"<?xml?><a x=\"1\"/>", "a[x=\"1\"]"},
      {"<?xml?><a><b><c/>", "a(b(c))"},  // ends before its closing tags
      {"<?xml?><a><b></B></A>", "a(b)"},
      {"<?xml?><!-- x -- y --><a><!-- > --><b/></a>", "a(b)"},
      {"<?xml?><a><!-- x -- y -> z --><c/></a>", "a(c)"},  // ends at the first > after two dashes
  };
  for (const Case& C : Cases) {
    TfsXMLDocument Doc;
    EXPECT_EQ(Load(Doc, C.Text), "") << C.Text;
    EXPECT_EQ(Shape(Doc.GetRoot()), C.Shape) << C.Text;
  }
}

TEST(ScriptXML, ReadingLeavesTheStreamBehindTheDocument)
{
  TStringStream S("<?xml?><a><b/></a><next/>");
  TfsXMLDocument Doc;
  Doc.LoadFromStream(&S);
  EXPECT_EQ(S.GetPosition(), 18);
}

TEST(ScriptXML, DeepDocumentsLoadSaveAndFree)
{
  AnsiString Text = "<?xml?>";
  for (int I = 0; I < 200000; ++I) Text += "<a>";
  TfsXMLDocument Doc;
  EXPECT_EQ(Load(Doc, Text), "");
  TStringStream Out;
  Doc.SaveToStream(&Out);
  EXPECT_EQ(Out.GetDataString().size(), 21u + 199999u * 7 + 4);  // the innermost is "<a/>"
}

TEST(ScriptXML, PropDecodesReferencesAndNeedsTheBlankPrefixedKey)
{
  TfsXMLItem I;
  I.SetText("text=\"a&#62;b\" err=\"err2\"");
  EXPECT_EQ(I.Prop("TEXT"), "a>b");
  EXPECT_EQ(I.Prop("err"), "err2");
  EXPECT_EQ(I.Prop("t"), "");
  EXPECT_EQ(I.Prop("missing"), "");
  I.SetText("v=\"&#x;\"");
  EXPECT_THROW(I.Prop("v"), EConvertError);
}

TEST(ScriptXML, EscapingKeepsAmpersandTextIntact)
{
  EXPECT_EQ(fs_xml::EscapeXMLText("a<b&c\"\r\n>"), "a&#60;b&#38;c&#34;&#13;&#10;&#62;");
  // A literal holding what looks like a reference keeps its letters through a round trip.
  for (const char* S : {"a<b&c", "&#65;", "&#38;#65;", "合同&amp;", "&#"}) {
    TfsXMLItem I;
    I.SetText("text=\"" + fs_xml::EscapeXMLText(S) + "\"");
    EXPECT_EQ(I.Prop("text"), S);
  }
  EXPECT_EQ(fs_xml::UnescapeXMLText("&#65;&#38;#66;x&#"), "A&#66;x&#");
}

TEST(ScriptXML, ChildListOperations)
{
  TfsXMLItem A, B;
  EXPECT_EQ(A.GetCount(), 0);
  TfsXMLItem* Types = A.FindItem("types");
  EXPECT_EQ(A.Find("TYPES"), 0);
  EXPECT_EQ(A.FindItem("Types"), Types);
  TfsXMLItem* X = B.Add();
  X->SetName("x");
  A.InsertItem(0, X);
  EXPECT_EQ(B.GetCount(), 0);
  EXPECT_EQ(A.GetItems(0), X);
  EXPECT_EQ(X->GetParent(), &A);
  A.AddItem(X);  // to its own parent: moves to the end
  EXPECT_EQ(Shape(&A), "(types,x)");
  EXPECT_EQ(X->Root(), &A);
  EXPECT_THROW(A.GetItems(2), EListError);
  delete X;  // leaves its parent's list
  EXPECT_EQ(A.GetCount(), 1);

  TfsXMLItem C;
  C.CopyFrom(&A);
  EXPECT_EQ(Shape(&C), "(types)");
  A.Clear();
  EXPECT_EQ(A.GetCount(), 0);
}

TEST(ScriptXML, SaveIndentedAndFileRoundTrip)
{
  TfsXMLDocument Doc;
  Doc.GetRoot()->SetName("a");
  Doc.GetRoot()->SetText("x=\"1\"");
  Doc.GetRoot()->Add()->SetName("b");
  Doc.SetIndentOutput(true);
  TStringStream Out;
  Doc.SaveToStream(&Out);
  EXPECT_EQ(Out.GetDataString(), "<?xml version=\"1.0\"?>\r\n<a x=\"1\">\r\n  <b/>\r\n</a>\r\n");

  auto Path = std::filesystem::temp_directory_path() / "fs_xml_roundtrip.xml";
  Doc.SaveToFile(Path.string());
  TfsXMLDocument Back;
  Back.LoadFromFile(Path.string());
  EXPECT_EQ(Shape(Back.GetRoot()), "a[x=\"1\"](b)");
  std::filesystem::remove(Path);
  EXPECT_THROW(Back.LoadFromFile(Path.string()), EFOpenError);
}

}  // namespace
