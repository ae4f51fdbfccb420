// Component trees through the binary stream: every property kind, collections, sets, string
// lists, a defined binary property, references between components, and the reader's errors.
#include <gtest/gtest.h>

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/classes/tests/StreamBytes.h"
#include "platform/classes/tests/StreamFixtures.h"

namespace {

class ComponentStreamTest : public ::testing::Test {
protected:
  void SetUp() override { StreamFixtures::Register(); }

  static std::string Write(TComponent* root)
  {
    TMemoryStream stream;
    Classes::WriteComponent(&stream, root);
    return StreamText(stream);
  }

  static std::unique_ptr<TFixtureNode> Read(const std::string& bytes)
  {
    TMemoryStream stream;
    LoadStream(stream, bytes);
    TComponent* root = Classes::ReadComponent(&stream, nullptr);
    auto* node = dynamic_cast<TFixtureNode*>(root);
    if (!node) delete root;
    return std::unique_ptr<TFixtureNode>(node);
  }
};

TEST_F(ComponentStreamTest, SmallTreeHasTheClassicLayout)
{
  TFixtureNode root(nullptr);
  root.SetName("R");
  root.Count = 5;
  root.Font.Name.clear();  // differs from "Arial" only by being empty: still written
  auto* child = new TFixtureNode(&root);
  child->SetName("C");
  child->Visible = false;
  child->Font.Name.clear();

  StreamBytes expected;
  expected.Text("TPF0").Str("TFixtureNode").Str("R");
  expected.Str("Count").Raw({2, 5});
  expected.Str("Items").Raw({14, 0});  // collections are written even when empty
  expected.Raw({0});
  expected.Str("TFixtureNode").Str("C");
  expected.Str("Visible").Raw({8});
  expected.Str("Items").Raw({14, 0});
  expected.Raw({0, 0});
  expected.Raw({0});
  EXPECT_EQ(Write(&root), expected.Data());
}

TEST_F(ComponentStreamTest, TreeReadsBackEqual)
{
  TFixtureNode root(nullptr);
  root.SetName("Root");
  root.Caption = std::string(300, 'x');  // a long string
  root.WideCaption = u"合同管理";
  root.Count = -70000;
  root.Big = 0x123456789LL;
  root.Ratio = 0.1;
  root.Amount = Currency::FromRaw(-12345678);
  root.When = TDateTime(40000.25);
  root.Shape = fsEllipse;
  root.Shapes = {fsRect, fsEllipse};
  root.Color = 0x00FF00;
  root.Letter = u'合';
  root.Extra = Variants::VarArrayOf({Variant(1), Variant("two"), Variant(3.5), Variant(true)});
  root.Font.Name = "宋体";
  root.Font.Size = 12;
  root.Lines.Add("first");
  root.Lines.Add("");
  root.Lines.Add("第三");
  root.Blob = {0, 1, 2, 255};
  auto* item = static_cast<TFixtureItem*>(root.Items.Add());
  item->Caption = "Amount";
  item->Width = 120;
  static_cast<TFixtureItem*>(root.Items.Add())->Caption = "Code";
  static_cast<TFixtureItem*>(root.Columns.Add())->Width = 7;  // read back inside "Columns"
  auto* a = new TFixtureNode(&root);
  a->SetName("A");
  auto* b = new TFixtureNode(a);
  b->SetName("B");
  a->SetLink(b);  // forward: B is read after A
  b->SetLink(a);

  std::unique_ptr<TFixtureNode> read = Read(Write(&root));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->GetName(), "Root");
  EXPECT_EQ(read->Caption, root.Caption);
  EXPECT_EQ(read->WideCaption, root.WideCaption);
  EXPECT_EQ(read->Count, -70000);
  EXPECT_EQ(read->Big, 0x123456789LL);
  EXPECT_DOUBLE_EQ(read->Ratio, 0.1);
  EXPECT_EQ(read->Amount.Raw, -12345678);
  EXPECT_DOUBLE_EQ(read->When.Value, 40000.25);
  EXPECT_EQ(read->Shape, fsEllipse);
  EXPECT_EQ(read->Shapes, root.Shapes);
  EXPECT_EQ(read->Color, 0x00FF00);
  EXPECT_TRUE(read->Visible);
  EXPECT_EQ(read->Letter, u'合');
  ASSERT_TRUE(read->Extra.IsArray());
  EXPECT_EQ(Variants::VarArrayHighBound(read->Extra, 1), 3);
  EXPECT_EQ(Variants::VarArrayGet(read->Extra, {1}).AsString(), "two");
  EXPECT_TRUE(Variants::VarArrayGet(read->Extra, {3}).AsBoolean());
  EXPECT_EQ(read->Font.Name, "宋体");
  EXPECT_EQ(read->Font.Size, 12);
  EXPECT_EQ(read->Lines.GetText(), root.Lines.GetText());
  EXPECT_EQ(read->Blob, root.Blob);
  ASSERT_EQ(read->Items.GetCount(), 2);
  EXPECT_EQ(static_cast<TFixtureItem*>(read->Items.GetItem(0))->Caption, "Amount");
  EXPECT_EQ(static_cast<TFixtureItem*>(read->Items.GetItem(0))->Width, 120);
  EXPECT_EQ(static_cast<TFixtureItem*>(read->Items.GetItem(1))->Width, 64);
  ASSERT_EQ(read->Columns.GetCount(), 1);
  EXPECT_EQ(static_cast<TFixtureItem*>(read->Columns.GetItem(0))->Width, 7);

  ASSERT_EQ(read->GetComponentCount(), 1);
  auto* ra = dynamic_cast<TFixtureNode*>(read->GetComponent(0));
  ASSERT_TRUE(ra);
  ASSERT_EQ(ra->GetComponentCount(), 1);
  auto* rb = dynamic_cast<TFixtureNode*>(ra->GetComponent(0));
  ASSERT_TRUE(rb);
  EXPECT_EQ(rb->GetName(), "B");
  EXPECT_EQ(ra->GetLink(), rb);
  EXPECT_EQ(rb->GetLink(), ra);
  // Loaded runs once per component, after the whole tree was read, root first.
  EXPECT_EQ(read->LoadedLog, (std::vector<AnsiString>{"Root", "A", "B"}));
  EXPECT_FALSE(ra->GetComponentState().Contains(csLoading));
}

// The report files keep published properties as text and only the defined ones as stream
// bytes: written alone, and read back entry by entry until the end.
TEST_F(ComponentStreamTest, DefinedPropertiesAloneRoundTrip)
{
  TFixtureNode node(nullptr);
  node.Count = 3;
  node.Blob = {7, 8};
  TMemoryStream stream;
  TWriter writer(&stream);
  writer.WriteDefinedProperties(&node);
  StreamBytes expected;
  expected.Str("Blob").Raw({10}).Int32(2).Raw({7, 8});
  EXPECT_EQ(StreamText(stream), expected.Data());

  TFixtureNode read(nullptr);
  stream.SetPosition(0);
  TReader reader(&stream);
  while (reader.GetPosition() < stream.GetSize()) reader.ReadProperty(&read);
  EXPECT_EQ(read.Blob, node.Blob);
  EXPECT_EQ(read.Count, 0);
}

TEST_F(ComponentStreamTest, NullInsideAVariantArrayIsRefused)
{
  TFixtureNode root(nullptr);
  root.Extra = Variant::Null();  // on its own Null is a value like any other
  EXPECT_TRUE(Read(Write(&root))->Extra.IsNull());
  root.Extra = Variants::VarArrayOf({Variant(1), Variant::Null(), Variant(2)});
  EXPECT_THROW(Write(&root), EWriteError);
}

TEST_F(ComponentStreamTest, ReadingIntoAnExistingRootKeepsItsUnstoredValues)
{
  TFixtureNode source(nullptr);
  source.Count = 9;
  std::string bytes = Write(&source);

  TFixtureNode target(nullptr);
  target.Caption = "kept";
  TMemoryStream stream;
  LoadStream(stream, bytes);
  EXPECT_EQ(Classes::ReadComponent(&stream, &target), &target);
  EXPECT_EQ(target.Count, 9);
  EXPECT_EQ(target.Caption, "kept");
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
}

TEST_F(ComponentStreamTest, EventsAreResolvedThroughOnFindMethod)
{
  StreamBytes bytes;
  bytes.Text("TPF0").Str("TFixtureNode").Str("").Str("OnChange").Raw({7}).Str("DoChange").Raw({0, 0});

  int calls = 0;
  TFixtureNode node(nullptr);
  TMemoryStream stream;
  LoadStream(stream, bytes.Data());
  TReader reader(&stream);
  reader.OnFindMethod = [&](TReader*, const AnsiString& name, std::any& method, bool& error) {
    if (name != "DoChange") return;
    method = TNotifyEvent([&](TObject*) { ++calls; });
    error = false;
  };
  reader.ReadRootComponent(&node);
  ASSERT_TRUE(node.OnChange);
  node.OnChange(&node);
  EXPECT_EQ(calls, 1);

  // Without a handler the name cannot be found.
  LoadStream(stream, bytes.Data());
  TFixtureNode other(nullptr);
  EXPECT_THROW(Classes::ReadComponent(&stream, &other), EMethodNotFound);
}

TEST_F(ComponentStreamTest, FailedReadsCleanUpAndRaise)
{
  auto child = [](const std::string& cls, const std::string& name) {
    StreamBytes b;
    b.Str(cls).Str(name).Raw({0, 0});
    return b.Data();
  };
  auto tree = [](const std::string& children) {
    StreamBytes b;
    b.Text("TPF0").Str("TFixtureNode").Str("Root").Raw({0}).Text(children).Raw({0});
    return b.Data();
  };
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += StreamBytes().Str("TFixtureNode").Str("").Raw({0}).Data();
  deep += std::string(301, '\0');

  struct Case {
    const char* What;
    std::string Bytes;
    const char* Message;
  };
  const Case cases[] = {
      {"unregistered child class", tree(child("TNope", "X")), "Class TNope not found"},
      {"child class that is no component", tree(child("TFixtureFont", "X")), "Class TFixtureFont not found"},
      {"duplicate child names", tree(child("TFixtureNode", "X") + child("TFixtureNode", "x")),
       "A component named x already exists"},
      {"invalid child name", tree(child("TFixtureNode", "1X")), "'1X' is not a valid component name"},
      {"children nested too deep", tree(deep), "Invalid stream format"},
      {"currency beyond its range",
       StreamBytes()
           .Text("TPF0")
           .Str("TFixtureNode")
           .Str("")
           .Str("Amount")
           .Raw({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x80, 0x40})
           .Raw({0, 0})
           .Data(),
       "Invalid property value"},
      {"unregistered root class", StreamBytes().Text("TPF0").Str("TNope").Str("").Raw({0, 0}).Data(),
       "Class TNope not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    try {
      Read(c.Bytes);
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST_F(ComponentStreamTest, ReferencesResolveAcrossOwnersAndStayEmptyWhenUnknown)
{
  TComponent other(nullptr);
  other.SetName("DataModule1");
  auto* target = new TFixtureNode(&other);
  target->SetName("Target");
  Classes::RegisterFindGlobalComponentProc(
      "test", [&](const AnsiString& name) -> TComponent* { return name == "DataModule1" ? &other : nullptr; });

  TFixtureNode root(nullptr);
  root.SetLink(target);
  std::string bytes = Write(&root);
  EXPECT_NE(bytes.find("DataModule1.Target"), std::string::npos);

  std::unique_ptr<TFixtureNode> read = Read(bytes);
  EXPECT_EQ(read->GetLink(), target);
  // When the target goes, the reference is dropped through the free notification.
  delete target;
  EXPECT_EQ(read->GetLink(), nullptr);

  Classes::UnregisterFindGlobalComponentProc("test");
  read = Read(bytes);
  EXPECT_EQ(read->GetLink(), nullptr);
}

}  // namespace
