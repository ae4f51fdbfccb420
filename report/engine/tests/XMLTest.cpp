#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"
#include "report/engine/xml/frxXML.h"

namespace {

const AnsiString kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

void Load(TfrxXMLDocument& doc, const AnsiString& text)
{
  TStringStream s(text);
  doc.LoadFromStream(&s);
}

AnsiString Save(TfrxXMLDocument& doc)
{
  TStringStream s;
  doc.SaveToStream(&s);
  return s.GetDataString();
}

}  // namespace

TEST(XMLDocument, MalformedOrTruncatedFilesRaise)
{
  const char* cases[] = {
      "",                             // nothing at all
      "<root/>",                      // no header
      "<?xml?><a x=\"1\" <b/>",       // "<" inside a tag
      "<?xml?><a x=\"1\"",            // ends inside a tag
      "<?xml?><a><b></a>",            // closing tag of another element
      "<?xml?><a><b/>",               // cut off after a complete tag
      "<?xml?><a><b><c/></b>",        // cut off one level up
      "<?xml?>",                      // header only
      "<?xml?><a><!-- open comment",  // ends inside a comment
      "<?xml?></a>",                  // a closing tag in place of the root
  };
  for (const char* text : cases) {
    TfrxXMLDocument doc;
    try {
      Load(doc, text);
      ADD_FAILURE() << "loaded: " << text;
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Invalid file format") << text;
    }
  }
}

TEST(XMLDocument, EscapingRoundTrips)
{
  EXPECT_EQ(frxXML::EscapeText("a\"b&c<d>e\nf\rg"), "a&#34;b&#38;c&#60;d&#62;e&#10;f&#13;g");
  EXPECT_EQ(frxXML::EscapeText("合同\x95\\"), "合同\x95\\");  // 8-bit text passes unchanged

  struct {
    const char* in;
    const char* out;
  } unescape[] = {
      {"&#60;&#62;", "<>"},
      {"&#38;#60;", "&#60;"},          // a decoded ampersand does not start a new reference
      {"&amp;&#x41;", "&amp;&#x41;"},  // named and hexadecimal references stay
      {"x&#65", "x&#65"},              // no ";" follows
      {"&#1", "&#1"},                  // too short
      {"&#300;", "&#300;"},            // no such 8-bit character
  };
  for (auto& c : unescape) EXPECT_EQ(frxXML::UnescapeText(c.in), c.out) << c.in;
  EXPECT_THROW(frxXML::UnescapeText("&#6x;"), EConvertError);

  TfrxXMLDocument doc;
  doc.GetRoot()->SetName("r");
  const AnsiString value = "say \"hi\" & <bye>\r\n合同";
  doc.GetRoot()->SetProp("v", value);
  AnsiString file = Save(doc);
  EXPECT_EQ(file, kHeader + "<r v=\"say &#34;hi&#34; &#38; &#60;bye&#62;&#13;&#10;合同\"/>");
  TfrxXMLDocument back;
  Load(back, file);
  EXPECT_EQ(back.GetRoot()->GetProp("V"), value);
}

TEST(XMLDocument, AttributesOnDoubleByteText)
{
  // Names that differ only in a trail byte that looks like "A" / "a": folding the trail byte
  // would find the wrong one.
  const AnsiString upper =
                       "\x81"
                       "A",
                   lower =
                       "\x81"
                       "a";
  TfrxXMLItem item;
  item.SetText(upper + "=\"1\" " + lower + "=\"2\" \x95\\=\"3\"");
  EXPECT_EQ(item.GetProp(lower), "2");
  EXPECT_EQ(item.GetProp(upper), "1");
  EXPECT_EQ(item.GetProp("\x95\\"), "3");

  item.SetText("Name=\"x\" left=\"10\"");
  EXPECT_EQ(item.GetProp("LEFT"), "10");
  EXPECT_EQ(item.GetProp("name"), "x");
  EXPECT_EQ(item.GetProp("top"), "");
  item.SetProp("LEFT", "20");  // in place, in the caller's spelling
  EXPECT_EQ(item.GetText(), "Name=\"x\" LEFT=\"20\"");
  item.SetProp("Name", "合同");
  EXPECT_EQ(item.GetText(), "Name=\"合同\" LEFT=\"20\"");
  item.SetProp("Top", "a\"b");
  EXPECT_EQ(item.GetText(), "Name=\"合同\" LEFT=\"20\" Top=\"a&#34;b\"");
  TfrxXMLItem empty;
  empty.SetProp("a", "1");
  EXPECT_EQ(empty.GetText(), "a=\"1\"");
}

TEST(XMLDocument, IndentationAndEmptyElements)
{
  TfrxXMLDocument doc;
  TfrxXMLItem* root = doc.GetRoot();
  root->SetName("report");
  TfrxXMLItem* page = root->Add();
  page->SetName("page");
  page->SetProp("n", "1");
  root->Add()->SetName("empty");

  EXPECT_EQ(Save(doc), kHeader + "<report><page n=\"1\"/><empty/></report>");
  doc.SetIndented(true);
  EXPECT_EQ(Save(doc), kHeader + "\r\n<report>\r\n  <page n=\"1\"/>\r\n  <empty/>\r\n</report>\r\n");

  // Start and end tags with nothing between (and comments, text, line breaks) load as empty
  // elements and are written back self-closing.
  TfrxXMLDocument back;
  Load(back, kHeader +
                 "\r\n<report>text<!-- a <comment> -- here -->\n"
                 "  <page n=\"1\"></page>\n  <empty />\n<!---->\n</REPORT>trailing");
  ASSERT_EQ(back.GetRoot()->GetCount(), 2);
  EXPECT_EQ(back.GetRoot()->GetItem(0)->GetCount(), 0);
  EXPECT_EQ(back.GetRoot()->GetItem(1)->GetName(), "empty");
  EXPECT_EQ(Save(back), kHeader + "<report><page n=\"1\"/><empty/></report>");
}

TEST(XMLDocument, TreeOperations)
{
  TfrxXMLItem a, b;
  TfrxXMLItem* x = a.Add();
  x->SetName("Band");
  a.FindOrAddItem("Memo");
  EXPECT_EQ(a.Find("band"), 0);
  EXPECT_EQ(a.FindOrAddItem("MEMO"), a.GetItem(1));
  EXPECT_EQ(a.GetCount(), 2);
  b.AddItem(x);  // moves it
  EXPECT_EQ(a.GetCount(), 1);
  EXPECT_EQ(x->GetParent(), &b);
  b.InsertItem(0, a.GetItem(0));
  EXPECT_EQ(b.GetItem(0)->GetName(), "Memo");
  EXPECT_EQ(b.IndexOf(x), 1);
  delete b.GetItem(0);  // freeing a child takes it out of the list
  EXPECT_EQ(b.GetCount(), 1);
  EXPECT_EQ(b.IndexOf(x), 0);
}

TEST(XMLDocument, ValueToText)
{
  EXPECT_EQ(frxXML::ValueToText(Variant(42)), "42");
  EXPECT_EQ(frxXML::ValueToText(Variant(static_cast<long long>(1) << 40)), "1099511627776");
  EXPECT_EQ(frxXML::ValueToText(Variant(1.5)), "1.5");
  EXPECT_EQ(frxXML::ValueToText(Variant(true)), "1");
  EXPECT_EQ(frxXML::ValueToText(Variant(AnsiString("a<b"))), "a&#60;b");
  EXPECT_EQ(frxXML::ValueToText(Variant()), "");
}

TEST(XMLDocument, PartialLoadLeavesMarkedSubtreesInTheStream)
{
  AnsiString file = kHeader +
                    "<r><page ld=\"0\" n=\"1\"><m a=\"1\"/><m a=\"2\"/></page>"
                    "<page n=\"2\"ld=\"0\"><m a=\"3\"/></page><f Bold=\"0\"><m/></f></r>";
  TfrxXMLDocument doc;
  doc.LoadFromStream(new TStringStream(file), true);
  TfrxXMLItem* r = doc.GetRoot();
  ASSERT_EQ(r->GetCount(), 3);
  TfrxXMLItem* p1 = r->GetItem(0);
  TfrxXMLItem* p2 = r->GetItem(1);
  // Only a marker at the end of the attributes is one: Bold="0" is an attribute.
  TfrxXMLItem* f = r->GetItem(2);
  EXPECT_FALSE(f->GetSwappable());
  EXPECT_EQ(f->GetCount(), 1);
  EXPECT_EQ(f->GetText(), "Bold=\"0\"");
  // The first marker is not at the end: it stays an attribute text.
  EXPECT_FALSE(p1->GetSwappable());
  EXPECT_EQ(p1->GetCount(), 2);
  EXPECT_TRUE(p2->GetSwappable());
  EXPECT_FALSE(p2->GetInMemory());
  EXPECT_EQ(p2->GetCount(), 0);
  EXPECT_EQ(p2->GetText(), "n=\"2\"");

  // Saving writes the parked children and the marker again.
  AnsiString saved = Save(doc);
  EXPECT_EQ(saved, kHeader +
                       "<r><page ld=\"0\" n=\"1\"><m a=\"1\"/><m a=\"2\"/></page>"
                       "<page n=\"2\"ld=\"0\"><m a=\"3\"/></page><f Bold=\"0\"><m/></f></r>");
  EXPECT_FALSE(p2->GetInMemory());

  p2->SetProp("n", "two");  // the in-memory attributes win over the re-read start tag
  doc.SwapIn(p2);
  EXPECT_TRUE(p2->GetInMemory());
  ASSERT_EQ(p2->GetCount(), 1);
  EXPECT_EQ(p2->GetItem(0)->GetProp("a"), "3");
  EXPECT_EQ(p2->GetProp("n"), "two");
}

TEST(XMLDocument, SwapsTenThousandItemsOutAndBack)
{
  TfrxXMLDocument doc;
  TfrxXMLItem* root = doc.GetRoot();
  root->SetName("pages");
  const int n = 10000;
  for (int i = 0; i < n; ++i) {
    TfrxXMLItem* page = root->Add();
    page->SetName("page");
    page->SetSwappable(true);
    page->SetProp("n", std::to_string(i));
    TfrxXMLItem* memo = page->Add();
    memo->SetName("m");
    memo->SetProp("text", "第" + std::to_string(i) + "页 <&>");
  }
  AnsiString whole = Save(doc);

  for (int i = 0; i < n; ++i) doc.SwapOut(root->GetItem(i));
  AnsiString tempName = doc.GetTempFileName();
  ASSERT_FALSE(tempName.empty());
  EXPECT_TRUE(std::filesystem::exists(tempName));
  for (int i = 0; i < n; ++i) {
    EXPECT_FALSE(root->GetItem(i)->GetInMemory());
    EXPECT_EQ(root->GetItem(i)->GetCount(), 0);
  }
  EXPECT_EQ(Save(doc), whole);  // parked subtrees are written in place

  for (int i = n - 1; i >= 0; --i) doc.SwapIn(root->GetItem(i));
  for (int i = 0; i < n; i += 997) {
    TfrxXMLItem* page = root->GetItem(i);
    ASSERT_EQ(page->GetCount(), 1);
    EXPECT_EQ(page->GetProp("n"), std::to_string(i));
    EXPECT_EQ(page->GetItem(0)->GetProp("text"), "第" + std::to_string(i) + "页 <&>");
  }
  EXPECT_EQ(Save(doc), whole);

  // A page parked twice reads back its latest content.
  TfrxXMLItem* first = root->GetItem(0);
  first->GetItem(0)->SetProp("text", "changed");
  doc.SwapOut(first);
  doc.SwapIn(first);
  EXPECT_EQ(first->GetItem(0)->GetProp("text"), "changed");

  doc.Clear();
  EXPECT_FALSE(std::filesystem::exists(tempName));
}

TEST(XMLDocument, SwapOutAfterPartialLoadKeepsOtherPagesReadable)
{
  AnsiString file = kHeader + "<r><p ld=\"0\"><m a=\"1\"/></p><p ld=\"0\"><m a=\"2\"/></p></r>";
  TfrxXMLDocument doc;
  doc.LoadFromStream(new TStringStream(file), true);
  TfrxXMLItem* p0 = doc.GetRoot()->GetItem(0);
  TfrxXMLItem* p1 = doc.GetRoot()->GetItem(1);
  doc.SwapIn(p0);
  p0->GetItem(0)->SetProp("a", "changed");
  doc.SwapOut(p0);  // into the temporary file, not the loaded stream
  doc.SwapIn(p1);
  ASSERT_EQ(p1->GetCount(), 1);
  EXPECT_EQ(p1->GetItem(0)->GetProp("a"), "2");
  doc.SwapIn(p0);
  EXPECT_EQ(p0->GetItem(0)->GetProp("a"), "changed");
}

TEST(XMLDocument, DeepNestingDoesNotExhaustTheStack)
{
  const int depth = 200000;
  AnsiString text = kHeader;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  TfrxXMLDocument doc;
  Load(doc, text);
  EXPECT_EQ(Save(doc).size(), kHeader.size() + (depth - 1) * 7 + 4);
}

TEST(XMLDocument, NamelessRootRoundTrips)
{
  TfrxXMLDocument doc;
  AnsiString saved = Save(doc);
  EXPECT_EQ(saved, kHeader + "</>");
  TfrxXMLDocument back;
  Load(back, saved);
  EXPECT_EQ(back.GetRoot()->GetName(), "");
  EXPECT_EQ(back.GetRoot()->GetCount(), 0);
}

TEST(XMLDocument, ElementWithATextEndingInASlashKeepsItsChildren)
{
  // A damaged file: the attributes end in "/" before the swap marker, and the element has a
  // child. Written back, it must still read as an element with that child.
  TfrxXMLDocument doc;
  Load(doc, kHeader + "<report><page a=\"1\"/ ld=\"0\"><m/></page></report>");
  ASSERT_EQ(doc.GetRoot()->GetItem(0)->GetCount(), 1);
  AnsiString saved = Save(doc);
  TfrxXMLDocument back;
  Load(back, saved);
  ASSERT_EQ(back.GetRoot()->GetCount(), 1);
  EXPECT_EQ(back.GetRoot()->GetItem(0)->GetCount(), 1);
  EXPECT_EQ(Save(back), saved);
}
