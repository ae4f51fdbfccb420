// The spin editor on a headless desktop: steps by keys, buttons and wheel inside bounds and
// value types, conversion errors, the characters it takes, CanEdit, UseCtrlIncrement, the
// repeat of a held button against the message clock, and the button layouts.
#include <gtest/gtest.h>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/spinedit/cxSpinEdit.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/editors/tests/EditorWindowTest.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/WinUser.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

namespace {

struct SpinEditTest : cxEditorWindowTest {
  void SetUp() override
  {
    cxEditorWindowTest::SetUp();
    SysUtils::ResetFormatSettings();
  }
  TcxSpinEdit* MakeSpin(TcxSpinEditValueType AType = vtFloat)
  {
    auto* e = new TcxSpinEdit(Form);
    e->SetParent(Form);
    e->SetBounds(10, 10, 120, 21);
    e->GetActiveProperties()->SetValueType(AType);
    Pump();
    e->SetFocus();
    Pump();
    return e;
  }
  AnsiString Text(TcxSpinEdit* E) { return E->GetInnerTextEditControl()->GetText(); }
  POINT ButtonCentre(TcxSpinEdit* E, int Index)
  {
    const RECT b = E->GetEditViewInfo()->Button(Index)->VisibleBounds;
    return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  }
};

struct TSpinKeyCase {
  TcxSpinEditValueType Type;
  double Increment, Min, Max;
  Variant Start;
  int Key;
  const char* Shown;  // the text after the key
};

TEST_F(SpinEditTest, KeysStepInsideTheBoundsAndTheValueType)
{
  const TSpinKeyCase cases[] = {
      {vtInt, 0.5, 0, 0, Variant(3), VK_UP, "3"},  // rounds to 0: nothing moves
      {vtInt, 1.5, 0, 0, Variant(3), VK_UP, "5"},
      {vtInt, 2.5, 0, 0, Variant(3), VK_DOWN, "1"},
      {vtFloat, 1, 0, 10, Variant(9.5), VK_UP, "10"},
      {vtFloat, 1, 0, 10, Variant(10.0), VK_UP, "10"},
      {vtFloat, 1, 0, 10, Variant(7), VK_PRIOR, "10"},  // the fast step is clamped too
      {vtFloat, 1, 0, 0, Variant(0), VK_NEXT, "-10"},   // no range: no bounds
      {vtInt, 1, 0, 0, Variant(Int64(9007199254740993LL)), VK_UP, "9007199254740994"},
      {vtInt, 1, 0, 0, Variant(Int64(9223372036854775807LL)), VK_UP, "9223372036854775807"},
  };
  for (const TSpinKeyCase& c : cases) {
    TcxSpinEdit* e = MakeSpin(c.Type);
    TcxSpinEditProperties* p = e->GetActiveProperties();
    p->SetIncrement(c.Increment);
    e->SetValue(c.Start);
    p->SetMinValue(c.Min);
    p->SetMaxValue(c.Max);
    Pump();
    Key(c.Key);
    EXPECT_EQ(Text(e), c.Shown) << c.Start.AsString() << " key " << c.Key;
    delete e;
  }
}

TEST_F(SpinEditTest, AValueOutsideTheRangeStepsOnlyTowardsIt)
{
  const struct {
    double Start;
    int Code;
    bool Changes;
    const char* Shown;
  } cases[] = {
      {12, 1, false, "12"},
      {12, 0, true, "10"},
      {-3, 0, false, "-3"},
      {-3, 1, true, "0"},
  };
  for (const auto& c : cases) {
    TcxSpinEdit* e = MakeSpin();
    e->SetValue(Variant(c.Start));  // set while the range was wider
    e->GetActiveProperties()->SetMaxValue(10);
    Pump();
    EXPECT_EQ(e->DoStep(c.Code), c.Changes) << c.Start << " code " << c.Code;
    EXPECT_EQ(Text(e), c.Shown);
    delete e;
  }
}

TEST_F(SpinEditTest, ConversionErrorsNameTheirCause)
{
  TcxSpinEdit* e = MakeSpin();
  const struct {
    const char* Text;
    const char* Error;  // "" for none
  } cases[] = {
      {"1e400", "Value out of bounds"},
      {"abc", "Invalid numeric value"},
      {"12.5", ""},
  };
  for (const auto& c : cases) {
    AnsiString error;
    Variant v;
    EXPECT_EQ(e->ConvertDisplayValue(Variant(AnsiString(c.Text)), false, error, v), *c.Error == 0) << c.Text;
    EXPECT_EQ(error, c.Error);
    if (*c.Error) {
      try {
        e->ConvertDisplayValue(Variant(AnsiString(c.Text)), true, error, v);
        ADD_FAILURE() << c.Text;
      } catch (const Exception& x) {
        EXPECT_EQ(x.Message(), c.Error);
      }
    }
  }
  // Typed text outside the value type fails validation with the same message.
  Type("1e400");
  EXPECT_TRUE(e->IsTyped());
  EXPECT_THROW(e->ValidateEdit(true), Exception);
  // Empty text is Null, and the value of the focused editor then 0.
  Variant v;
  AnsiString error;
  EXPECT_TRUE(e->ConvertDisplayValue(Variant(AnsiString()), false, error, v));
  EXPECT_TRUE(v.IsNull());
}

TEST_F(SpinEditTest, TypedCharactersFollowTheValueType)
{
  TcxSpinEdit* f = MakeSpin(vtFloat);
  Type("1,5");
  EXPECT_EQ(Text(f), "1.5");  // ',' and '.' both make the locale's separator
  Type(".");
  EXPECT_EQ(Text(f), "1.5.");
  delete f;
  TcxSpinEdit* i = MakeSpin(vtInt);
  i->GetActiveProperties()->SetBeepOnError(true);
  const int beeps = Headless::Beeps();
  Type("1.2x");
  EXPECT_EQ(Text(i), "12");
  EXPECT_EQ(Headless::Beeps(), beeps + 2);
}

TEST_F(SpinEditTest, WithoutCanEditOnlyStepsChangeTheText)
{
  TcxSpinEdit* e = MakeSpin(vtInt);
  TcxSpinEditProperties* p = e->GetActiveProperties();
  p->SetCanEdit(false);
  p->SetBeepOnError(true);
  const int beeps = Headless::Beeps();
  Type("5");
  Key(VK_BACK);
  EXPECT_EQ(Text(e), "0");
  EXPECT_EQ(Headless::Beeps(), beeps + 2);
  Clipbrd::Clipboard()->SetAsText("77");
  KeyWith('V', VK_CONTROL);
  EXPECT_EQ(Text(e), "0");
  Key(VK_UP);
  EXPECT_EQ(Text(e), "1");
  Windows::SendMessage(e->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  Pump();
  EXPECT_EQ(Text(e), "2");
}

TEST_F(SpinEditTest, UseCtrlIncrementStepsOnlyWithCtrl)
{
  TcxSpinEdit* e = MakeSpin(vtInt);
  e->GetActiveProperties()->SetUseCtrlIncrement(true);
  Key(VK_UP);
  EXPECT_EQ(Text(e), "0");
  KeyWith(VK_UP, VK_CONTROL);
  EXPECT_EQ(Text(e), "1");
}

TEST_F(SpinEditTest, AHeldButtonRepeatsAfter400ThenEvery100Ms)
{
  TcxSpinEdit* e = MakeSpin(vtInt);
  const POINT up = ButtonCentre(e, 1);
  Press(e, up.x, up.y);
  EXPECT_EQ(Text(e), "1");  // at the press
  EXPECT_TRUE(e->IsRepeating());
  Wait(399);
  EXPECT_EQ(Text(e), "1");
  Wait(1);
  EXPECT_EQ(Text(e), "2");
  Wait(100);
  EXPECT_EQ(Text(e), "3");
  for (int i = 0; i < 3; ++i) Wait(100);  // a window timer fires once however late it is
  EXPECT_EQ(Text(e), "6");
  // Off the button the steps pause, back on it they go on.
  MoveTo(e, 2, 2);
  for (int i = 0; i < 3; ++i) Wait(100);
  EXPECT_EQ(Text(e), "6");
  MoveTo(e, up.x, up.y);
  Wait(100);
  EXPECT_EQ(Text(e), "7");
  Release(e, up.x, up.y);
  EXPECT_FALSE(e->IsRepeating());
  for (int i = 0; i < 5; ++i) Wait(100);
  EXPECT_EQ(Text(e), "7");
  // The down button steps the other way; a read-only editor never repeats.
  const POINT down = ButtonCentre(e, 0);
  e->GetActiveProperties()->SetReadOnly(true);
  Press(e, down.x, down.y);
  EXPECT_FALSE(e->IsRepeating());
  Release(e, down.x, down.y);
}

TEST_F(SpinEditTest, FastButtonsComeAndGoAndFollowThePosition)
{
  TcxSpinEdit* e = MakeSpin(vtInt);
  TcxSpinEditProperties* p = e->GetActiveProperties();
  EXPECT_EQ(p->GetButtons()->GetCount(), 2);
  p->GetSpinButtons()->SetShowFastButtons(true);
  EXPECT_EQ(p->GetButtons()->GetCount(), 4);
  Pump();
  TcxCustomEditViewInfo* vi = e->GetEditViewInfo();
  ASSERT_EQ(vi->ButtonCount(), 4);
  // Vertical: text, fast down, up over down, fast up.
  EXPECT_LT(vi->Button(2)->Bounds.right, vi->Button(1)->Bounds.left + 1);
  EXPECT_EQ(vi->Button(1)->Bounds.left, vi->Button(0)->Bounds.left);
  EXPECT_LE(vi->Button(1)->Bounds.bottom, vi->Button(0)->Bounds.top);
  EXPECT_LE(vi->Button(1)->Bounds.right, vi->Button(3)->Bounds.left);
  // Left and right: fast down and down stand left of the text.
  p->GetSpinButtons()->SetPosition(sbpHorzLeftRight);
  Pump();
  vi = e->GetEditViewInfo();
  EXPECT_LE(vi->Button(2)->Bounds.right, vi->Button(0)->Bounds.left);
  EXPECT_LE(vi->Button(0)->Bounds.right, vi->ClientRect.left);
  EXPECT_GE(vi->Button(1)->Bounds.left, vi->ClientRect.right);
  const POINT fastDown = ButtonCentre(e, 2);
  Press(e, fastDown.x, fastDown.y);
  Release(e, fastDown.x, fastDown.y);
  EXPECT_EQ(Text(e), "-10");
  p->GetSpinButtons()->SetShowFastButtons(false);
  EXPECT_EQ(p->GetButtons()->GetCount(), 2);
}

TEST_F(SpinEditTest, ImmediatePostValidatesAndPostsEveryStep)
{
  TcxSpinEdit* e = MakeSpin(vtInt);
  e->GetActiveProperties()->SetImmediatePost(true);
  int changed = 0;
  e->GetActiveProperties()->OnEditValueChanged = [&changed](TObject*) { ++changed; };
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(e->GetEditValue().AsInt64(), 2);
  EXPECT_EQ(changed, 2);
}

}  // namespace
