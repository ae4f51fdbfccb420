// Published properties as the report files, the object inspector and the script binding see
// them, and the class registry with construction from a class reference.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/tests/StreamFixtures.h"

namespace {

std::vector<AnsiString> Names(const std::vector<const TPropInfo*>& props)
{
  std::vector<AnsiString> out;
  for (const TPropInfo* p : props) out.push_back(p->Name);
  return out;
}

// A descendant that publishes one more property and redeclares an ancestor's with a new
// default: the redeclared one keeps its place.
class TFixtureDerived : public TFixtureItem {
  PELTO_CLASS(TFixtureDerived, TFixtureItem)
public:
  explicit TFixtureDerived(TCollection* Collection) : TFixtureItem(Collection) {}
  Integer Extra = 0;
  PELTO_PUBLISHED(p)
  {
    p.Property("Extra", &TFixtureDerived::Extra, &TFixtureDerived::Extra).Default(0);
    p.Property("Width", &TFixtureDerived::Width, &TFixtureDerived::Width).Default(100);
  }
};

TEST(TypInfoTest, PropertiesComeInDeclarationOrderAncestorsFirst)
{
  TClass node = TFixtureNode::StaticClass();
  std::vector<AnsiString> names = Names(node->Properties());
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "Name");
  EXPECT_EQ(names[1], "Tag");
  EXPECT_EQ(names[2], "Caption");
  EXPECT_EQ(names.back(), "OnChange");

  TClass derived = TFixtureDerived::StaticClass();
  EXPECT_EQ(Names(derived->Properties()), (std::vector<AnsiString>{"Caption", "Width", "Extra"}));
  EXPECT_EQ(derived->FindProperty("width")->Default, 100);
  EXPECT_EQ(TFixtureItem::StaticClass()->FindProperty("Width")->Default, 64);

  EXPECT_EQ(Names(TypInfo::GetPropList(node, {tkSet, tkEnumeration}, true)),
            (std::vector<AnsiString>{"Shape", "Shapes", "Visible"}));
}

TEST(TypInfoTest, PropertyTypesKeepTheirKindsAndNames)
{
  struct Case {
    const char* Prop;
    TTypeKind Kind;
    const char* TypeName;
  };
  const Case cases[] = {
      {"Count", tkInteger, "Integer"},
      {"Color", tkInteger, "TFixtureColor"},
      {"Big", tkInt64, "Int64"},
      {"Letter", tkWChar, "WideChar"},
      {"Visible", tkEnumeration, "Boolean"},
      {"Shape", tkEnumeration, "TFixtureShape"},
      {"Shapes", tkSet, "TFixtureShapes"},
      {"Ratio", tkFloat, "Double"},
      {"When", tkFloat, "TDateTime"},
      {"Amount", tkFloat, "Currency"},
      {"Caption", tkLString, "AnsiString"},
      {"WideCaption", tkWString, "WideString"},
      {"Extra", tkVariant, "Variant"},
      {"Font", tkClass, "TFixtureFont"},
      {"Lines", tkClass, "TStringList"},
      {"Link", tkClass, "TFixtureNode"},
      {"OnChange", tkMethod, "TNotifyEvent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Prop);
    const TPropInfo* p = TypInfo::GetPropInfo(TFixtureNode::StaticClass(), c.Prop);
    EXPECT_EQ(p->PropType->Kind, c.Kind);
    EXPECT_EQ(p->PropType->Name, c.TypeName);
  }
  const TTypeInfo* shapes = TypInfo::GetPropInfo(TFixtureNode::StaticClass(), "Shapes")->PropType;
  EXPECT_EQ(shapes->CompType->EnumNames, (std::vector<AnsiString>{"fsRect", "fsRound", "fsEllipse"}));
  EXPECT_EQ(TypInfo::GetPropInfo(TFixtureNode::StaticClass(), "Link")->PropType->ClassType,
            TFixtureNode::StaticClass());
  // One record per type: the inspector matches editors by the record itself.
  EXPECT_EQ(TypInfo::TypeInfo<Integer>(), TypInfo::GetPropInfo(TFixtureNode::StaticClass(), "Count")->PropType);
  EXPECT_NE(TypInfo::TypeInfo<Integer>(), TypeInfo_TFixtureColor());
}

TEST(TypInfoTest, ValuesAreReadAndWrittenByName)
{
  TFixtureNode node(nullptr);
  TypInfo::SetOrdProp(&node, "Count", 42);
  TypInfo::SetEnumProp(&node, "shape", "FSROUND");
  TypInfo::SetSetProp(&node, TypInfo::GetPropInfo(&node, "Shapes"), "[fsRect, fsEllipse]");
  TypInfo::SetStrProp(&node, "Caption", "合同");
  TypInfo::SetFloatProp(&node, "Amount", 12.3456);
  TypInfo::SetOrdProp(&node, "Visible", 0);

  EXPECT_EQ(node.Count, 42);
  EXPECT_EQ(node.Shape, fsRound);
  EXPECT_EQ(node.Shapes, (TFixtureShapes{fsRect, fsEllipse}));
  EXPECT_EQ(node.Caption, "合同");
  EXPECT_EQ(node.Amount.Raw, 123456);
  EXPECT_FALSE(node.Visible);
  EXPECT_EQ(TypInfo::GetEnumProp(&node, "Visible"), "False");
  EXPECT_EQ(TypInfo::GetSetProp(&node, TypInfo::GetPropInfo(&node, "Shapes"), true), "[fsRect,fsEllipse]");
  EXPECT_EQ(TypInfo::GetObjectProp(&node, "Font"), &node.Font);
  // Object properties also read as ordinals holding the reference, as the inspector reads them.
  EXPECT_EQ(TypInfo::GetOrdProp(&node, "Font"), reinterpret_cast<std::intptr_t>(&node.Font));
  TypInfo::SetVariantProp(&node, TypInfo::GetPropInfo(&node, "Extra"), Variant("v"));
  EXPECT_EQ(TypInfo::GetVariantProp(&node, TypInfo::GetPropInfo(&node, "Extra")).AsString(), "v");

  int calls = 0;
  TypInfo::SetMethodProp(&node, TypInfo::GetPropInfo(&node, "OnChange"), TNotifyEvent([&](TObject*) { ++calls; }));
  node.OnChange(&node);
  EXPECT_EQ(calls, 1);
  TypInfo::SetMethodProp(&node, TypInfo::GetPropInfo(&node, "OnChange"), std::any());
  EXPECT_FALSE(node.OnChange);
}

TEST(TypInfoTest, BadAccessRaises)
{
  TFixtureNode node(nullptr);
  TFixtureFont font;
  EXPECT_THROW(TypInfo::GetOrdProp(&node, "Missing"), EPropertyError);
  EXPECT_THROW(TypInfo::GetFloatProp(&node, "Caption"), EPropertyError);
  EXPECT_THROW(TypInfo::SetEnumProp(&node, "Shape", "fsSquare"), EPropertyError);
  EXPECT_THROW(TypInfo::SetSetProp(&node, TypInfo::GetPropInfo(&node, "Shapes"), "fsRect,nope"), EPropertyError);
  EXPECT_THROW(TypInfo::SetObjectProp(&node, "Lines", nullptr), EPropReadOnly);
  EXPECT_THROW(TypInfo::SetObjectProp(&node, "Link", &font), EInvalidCast);
  try {
    TypInfo::GetStrProp(&node, "Nope");
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Nope does not exist");
  }
}

TEST(TypInfoTest, StoredRulesAndDefaults)
{
  TFixtureNode node(nullptr);
  const TPropInfo* name = TypInfo::GetPropInfo(&node, "Name");
  const TPropInfo* count = TypInfo::GetPropInfo(&node, "Count");
  EXPECT_FALSE(TypInfo::IsStoredProp(&node, name));
  EXPECT_TRUE(TypInfo::IsDefaultPropValue(&node, count));
  node.Count = 1;
  EXPECT_FALSE(TypInfo::IsDefaultPropValue(&node, count));
}

TEST(ClassRegistryTest, FindsRegisteredClassesAndCreatesThemWithTheirOwner)
{
  StreamFixtures::Register();
  StreamFixtures::Register();  // idempotent
  EXPECT_EQ(Classes::GetClass("tfixturenode"), TFixtureNode::StaticClass());
  EXPECT_EQ(Classes::GetClass("TNope"), nullptr);
  try {
    Classes::FindClass("TNope");
    ADD_FAILURE();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNope not found");
  }

  // Another class under a taken name is refused.
  Classes::RegisterClassAlias(TFixtureFont::StaticClass(), "TOldFont");
  EXPECT_EQ(Classes::FindClass("TOldFont"), TFixtureFont::StaticClass());
  EXPECT_THROW(Classes::RegisterClassAlias(TFixtureItem::StaticClass(), "TOldFont"), EFilerError);

  TComponent owner(nullptr);
  TObject* created = Classes::FindClass("TFixtureNode")->Create(&owner);
  ASSERT_TRUE(dynamic_cast<TFixtureNode*>(created));
  EXPECT_EQ(created->ClassType(), TFixtureNode::StaticClass());
  EXPECT_STREQ(created->ClassName(), "TFixtureNode");
  EXPECT_EQ(owner.GetComponent(0), created);  // owned: freed with the owner

  EXPECT_TRUE(TFixtureNode::StaticClass()->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(TFixtureNode::StaticClass()));
  EXPECT_FALSE(TCollection::StaticClass()->CanCreate());  // needs its item class
  EXPECT_THROW(TCollection::StaticClass()->Create(), EInvalidOperation);
}

}  // namespace
