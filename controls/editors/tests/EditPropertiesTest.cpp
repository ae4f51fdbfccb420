// Editor properties, alignment, default-values provider and editor style, without windows.
#include <gtest/gtest.h>

#include <memory>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/tests/EditTestEditors.h"

namespace {

struct TPropsProvider : TcxCustomEditDefaultValuesProvider {
  TPropsProvider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
  bool ReadOnly = false;
  TAlignment Alignment = taLeftJustify;
  bool Modify = true;
  bool DefaultReadOnly() override { return ReadOnly; }
  TAlignment DefaultAlignment() override { return Alignment; }
  bool CanModify() override { return Modify; }
};

// Counts OnPropertiesChanged of a properties object.
struct TPropsChangeCounter {
  int Count = 0;
  explicit TPropsChangeCounter(TcxCustomEditProperties& P)
  {
    P.OnPropertiesChanged = [this](TObject*) { ++Count; };
  }
};

// The texts of the family come from the module's string table.
struct EditPropertiesTest : ::testing::Test {
  void SetUp() override { EditorsModule::Initialize(); }
  void TearDown() override { EditorsModule::Finalize(); }
};

}  // namespace

TEST_F(EditPropertiesTest, NewObjectHasTheDocumentedDefaults)
{
  TcxCustomEditProperties p(nullptr);
  EXPECT_EQ(p.GetClickKey(), 16397);
  EXPECT_EQ(p.GetClearKey(), 0);
  EXPECT_TRUE(p.GetAutoSelect());
  EXPECT_FALSE(p.GetReadOnly());
  EXPECT_FALSE(p.IsReadOnlyStored());
  EXPECT_TRUE(p.GetMouseWheelInplace());
  EXPECT_TRUE(p.GetUseLeftAlignmentOnEditing());
  EXPECT_EQ(p.GetAlignment()->GetHorz(), taLeftJustify);
  EXPECT_FALSE(p.GetAlignment()->IsHorzAssigned());
  EXPECT_EQ(p.GetSupportedOperations(), 0u);
  p.GetButtons()->Add();
  EXPECT_EQ(p.GetSupportedOperations(), 1u << esoHotTrack);
  AnsiString text;
  p.GetValidateErrorText(0, text);
  EXPECT_EQ(text, "Invalid input value. Use escape key to abandon changes");
}

TEST(EditProperties, AssignReportsOnceAndCopiesReadOnlyOnlyWhenAssigned)
{
  TcxCustomEditProperties source(nullptr), target(nullptr);
  source.SetAutoSelect(false);
  source.SetClearKey(46);
  source.GetButtons()->Add();
  source.GetButtons()->Add();
  source.GetAlignment()->SetHorz(taCenter);
  target.SetReadOnly(true);
  TPropsChangeCounter changes(target);
  target.Assign(&source);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_FALSE(target.GetAutoSelect());
  EXPECT_EQ(target.GetClearKey(), 46);
  EXPECT_EQ(target.GetButtons()->GetCount(), 2);
  EXPECT_EQ(target.GetAlignment()->GetHorz(), taCenter);
  // The source never assigned ReadOnly: the target's own assignment is dropped.
  EXPECT_FALSE(target.IsReadOnlyStored());
  EXPECT_FALSE(target.GetReadOnly());
}

TEST(EditProperties, ChangesAreHeldBackByUpdatesAndTheLock)
{
  TcxCustomEditProperties p(nullptr);
  TPropsChangeCounter changes(p);
  p.EndUpdate(true);  // no matching BeginUpdate
  EXPECT_EQ(p.GetUpdateCount(), 0);
  EXPECT_EQ(changes.Count, 0);
  p.BeginUpdate();
  p.BeginUpdate();
  p.SetReadOnly(true);
  p.SetAutoSelect(false);
  p.EndUpdate(true);
  EXPECT_EQ(changes.Count, 0);
  p.EndUpdate(true);
  EXPECT_EQ(changes.Count, 1);
  p.BeginUpdate();
  p.SetAutoSelect(true);
  p.EndUpdate(false);
  EXPECT_EQ(changes.Count, 1);
  p.LockUpdate(true);
  p.SetReadOnly(false);
  p.LockUpdate(false);
  EXPECT_EQ(changes.Count, 1);
}

TEST(EditProperties, ReadOnlyIsStoredOnceSetAndReportsOnlyRealChanges)
{
  TcxCustomEditProperties p(nullptr);
  TPropsChangeCounter changes(p);
  p.SetReadOnly(false);
  EXPECT_TRUE(p.IsReadOnlyStored());
  EXPECT_EQ(changes.Count, 1);
  p.SetReadOnly(false);
  EXPECT_EQ(changes.Count, 1);
  p.RestoreDefaults();
  EXPECT_FALSE(p.IsReadOnlyStored());
}

TEST(EditProperties, ReadOnlyAlignmentAndModifyFollowTheProviderUntilAssigned)
{
  struct Case {
    bool ProviderReadOnly;
    bool ProviderModify;
    int Assigned;  // -1: ReadOnly not assigned, else its value
    bool ReadOnly;
    bool CanModify;
  };
  const Case cases[] = {
      {true, true, -1, true, false},     // the provider says read-only
      {false, false, -1, false, false},  // the provider's CanModify decides
      {true, true, 0, false, true},      // assigned False wins over the provider
      {false, true, 1, true, false},     // assigned True wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ProviderReadOnly << c.ProviderModify << c.Assigned);
    TPropsProvider provider;
    provider.ReadOnly = c.ProviderReadOnly;
    provider.Modify = c.ProviderModify;
    TcxCustomEditProperties p(nullptr);
    p.SetDefaultValuesProvider(&provider);
    if (c.Assigned >= 0) p.SetReadOnly(c.Assigned == 1);
    EXPECT_EQ(p.GetReadOnly(), c.ReadOnly);
    EXPECT_EQ(p.CanModify(), c.CanModify);
  }
  TPropsProvider provider;
  provider.Alignment = taRightJustify;
  TcxCustomEditProperties p(nullptr);
  p.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(p.GetAlignment()->GetHorz(), taRightJustify);
  EXPECT_FALSE(p.GetAlignment()->IsHorzAssigned());
  p.GetAlignment()->SetHorz(taLeftJustify);  // equal to the unit default, still assigned
  EXPECT_EQ(p.GetAlignment()->GetHorz(), taLeftJustify);
  EXPECT_TRUE(p.GetAlignment()->IsHorzAssigned());
}

TEST(EditProperties, ADestroyedProviderLeavesNoReferenceBehind)
{
  TcxCustomEditProperties p(nullptr);
  {
    TPropsProvider provider;
    provider.ReadOnly = true;
    p.SetDefaultValuesProvider(&provider);
    EXPECT_TRUE(p.GetReadOnly());
  }
  EXPECT_EQ(p.GetDefaultValuesProvider(), nullptr);
  EXPECT_FALSE(p.GetReadOnly());
}

TEST_F(EditPropertiesTest, ValidationKeepsTheTextUnlessTheHandlerGivesANewOne)
{
  struct Case {
    const char* HandlerText;  // null: the handler leaves the display value
    const char* Expected;
  };
  const Case cases[] = {{nullptr, "shown"}, {"fixed", "fixed"}};
  for (const Case& c : cases) {
    std::unique_ptr<TcxTestButtonEdit> edit(new TcxTestButtonEdit(nullptr));
    TcxCustomEditProperties* p = edit->GetProperties();
    edit->SetDisplayValue(Variant(AnsiString("shown")));
    p->OnValidate = [&](TObject*, Variant& Display, AnsiString&, bool& Error) {
      Error = true;
      if (c.HandlerText) Display = Variant(AnsiString(c.HandlerText));
    };
    Variant display(AnsiString("typed"));
    AnsiString errorText;
    bool error = false;
    p->ValidateDisplayValue(display, errorText, error, edit.get());
    EXPECT_TRUE(error);
    EXPECT_EQ(Variants::VarToStr(display), c.Expected);
    EXPECT_EQ(errorText, "Invalid input value. Use escape key to abandon changes");
  }
}

TEST(EditButtons, DefaultIsExclusiveAndANegativeWidthStays)
{
  TcxCustomEditProperties p(nullptr);
  TcxEditButton* a = p.GetButtons()->Add();
  TcxEditButton* b = p.GetButtons()->Add();
  EXPECT_FALSE(a->GetDefault());  // not designing
  a->SetDefault(true);
  b->SetDefault(true);
  EXPECT_FALSE(a->GetDefault());
  EXPECT_TRUE(b->GetDefault());
  b->SetVisible(false);
  EXPECT_EQ(p.GetButtons()->VisibleCount(), 1);
  a->SetWidth(-5);
  a->SetWidth(20);
  EXPECT_EQ(a->GetWidth(), -5);
}

TEST(EditStyle, FreshStyleAndOwnValues)
{
  TcxEditStyle style(nullptr);
  EXPECT_EQ(style.GetButtonStyle(), btsDefault);
  EXPECT_EQ(style.GetButtonTransparency(), ebtNone);
  EXPECT_EQ(style.GetPopupBorderStyle(), epbsDefault);
  EXPECT_EQ(style.GetEditAssignedValues() & 0x700u, 0u);
  EXPECT_EQ(style.GetStyleValueCount(), 11);
  AnsiString name;
  const char* names[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(style.GetStyleValueName(8 + i, name));
    EXPECT_EQ(name, names[i]);
  }
  EXPECT_FALSE(style.GetStyleValueName(11, name));
  int changes = 0;
  style.OnChanged = [&](TObject*) { ++changes; };
  style.SetButtonStyle(btsDefault);
  EXPECT_EQ(style.GetEditAssignedValues() & 0x700u, 0x100u);
  EXPECT_EQ(changes, 1);
  style.SetButtonStyle(btsDefault);
  EXPECT_EQ(changes, 1);
}

TEST(EditStyle, ValuesComeThroughControllerChains)
{
  TcxEditStyleController outer(nullptr), inner(nullptr);
  inner.GetEditStyle()->SetStyleController(&outer);
  outer.GetEditStyle()->SetButtonTransparency(ebtHideInactive);
  outer.GetEditStyle()->SetPopupBorderStyle(epbsFlat);
  inner.GetEditStyle()->SetPopupBorderStyle(epbsFrame3D);
  TcxEditStyle style(nullptr);
  style.SetStyleController(&inner);
  EXPECT_EQ(style.GetButtonTransparency(), ebtHideInactive);
  EXPECT_TRUE(style.IsValueAssigned(svButtonTransparency));
  EXPECT_EQ(style.GetPopupBorderStyle(), epbsFrame3D);
  EXPECT_FALSE(style.IsValueAssigned(svButtonStyle));
  style.SetButtonTransparency(ebtAlways);
  EXPECT_EQ(style.GetButtonTransparency(), ebtAlways);
  // A reference style answers its own values and defaults only.
  TcxEditStyle reference(nullptr, true);
  reference.SetStyleController(&inner);
  EXPECT_EQ(reference.GetButtonTransparency(), ebtNone);
}
