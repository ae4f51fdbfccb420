// The check box on a headless desktop: the value mapping, toggling by key, mouse, dialog
// character and in place, the caption's sources, storing, and the mark as drawn.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/editors/tests/EditorWindowTest.h"
#include "controls/editors/checkbox/cxCheckBox.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/Streams.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/WinUser.h"
#include "platform/win/window/Windows.h"

namespace {

struct CheckBoxTest : cxEditorWindowTest {
  TcxCheckBox* MakeBox(int Top = 10, const char* Name = nullptr)
  {
    auto* c = new TcxCheckBox(Form);
    if (Name) c->SetName(Name);
    c->SetParent(Form);
    c->SetBounds(10, Top, 150, 21);
    Pump();
    return c;
  }
  // Counts Click and OnChange.
  struct TCheckEvents {
    int Click = 0, Change = 0;
  };
  void Listen(TcxCheckBox* C, TCheckEvents& Ev)
  {
    C->OnClick = [&Ev](TObject*) { ++Ev.Click; };
    C->GetProperties()->OnChange = [&Ev](TObject*) { ++Ev.Change; };
  }
  std::string Stored(TComponent* C)
  {
    TMemoryStream stream;
    Classes::WriteComponent(&stream, C);
    return std::string(static_cast<const char*>(stream.GetMemory()), size_t(stream.GetSize()));
  }
};

}  // namespace

TEST_F(CheckBoxTest, EditValuesMapToStatesThroughTheThreeValues)
{
  auto* c = MakeBox();
  EXPECT_EQ(c->GetState(), cbsUnchecked);
  EXPECT_EQ(c->GetWidth(), 150);
  struct {
    Variant Value;
    TcxCheckBoxState State;
  } const cases[] = {
      {Variant(true), cbsChecked},           {Variant(AnsiString("True")), cbsChecked},
      {Variant(false), cbsUnchecked},        {Variant(AnsiString("False")), cbsUnchecked},
      {Variant::Null(), cbsGrayed},          {Variant(5), cbsGrayed},
      {Variant(AnsiString("x")), cbsGrayed},
  };
  for (const auto& k : cases) {
    c->SetEditValue(k.Value);
    EXPECT_EQ(c->GetState(), k.State) << Variants::VarToStr(k.Value);
  }
  // Numeric values: 1 checked, 0 unchecked, anything else grayed.
  TcxCheckBoxProperties* p = c->Properties();
  p->SetValueChecked(Variant(1));
  p->SetValueUnchecked(Variant(0));
  c->SetEditValue(Variant(1));
  EXPECT_EQ(c->GetState(), cbsChecked);
  c->SetChecked(false);
  EXPECT_EQ(c->GetEditValue().AsInteger(), 0);
  c->SetState(cbsGrayed);
  EXPECT_TRUE(c->GetEditValue().IsNull());
  EXPECT_EQ(AnsiString(System::WideToAnsi(p->GetDisplayText(Variant(1)))), "True");
  EXPECT_EQ(AnsiString(System::WideToAnsi(p->GetDisplayText(Variant(0)))), "False");
  EXPECT_TRUE(p->GetDisplayText(Variant(7)).empty());
}

TEST_F(CheckBoxTest, ValueSettersRefuseNullAndValuesAlreadyInUse)
{
  TcxCheckBoxProperties p(nullptr);
  p.SetValueChecked(p.GetValueUnchecked());
  EXPECT_TRUE(p.GetValueChecked().AsBoolean());
  p.SetValueChecked(Variant::Null());
  EXPECT_TRUE(p.GetValueChecked().AsBoolean());
  p.SetValueUnchecked(Variant(AnsiString("True")));  // equals True as text
  EXPECT_FALSE(p.GetValueUnchecked().AsBoolean());
  p.SetValueGrayed(Variant(2));
  EXPECT_EQ(p.GetValueGrayed().AsInteger(), 2);
  p.SetValueGrayed(Variant::Null());
  EXPECT_TRUE(p.GetValueGrayed().IsNull());
  Variant valid(true), other(3);
  EXPECT_TRUE(p.IsEditValueValid(valid, false));
  EXPECT_FALSE(p.IsEditValueValid(other, false));
}

TEST_F(CheckBoxTest, ToggleNeverReachesGrayedWithoutAllowGrayed)
{
  auto* c = MakeBox();
  struct {
    bool AllowGrayed;
    TcxCheckBoxState From, To;
  } const cases[] = {
      {false, cbsUnchecked, cbsChecked}, {false, cbsChecked, cbsUnchecked}, {false, cbsGrayed, cbsChecked},
      {true, cbsUnchecked, cbsGrayed},   {true, cbsGrayed, cbsChecked},     {true, cbsChecked, cbsUnchecked},
  };
  for (const auto& k : cases) {
    c->Properties()->SetAllowGrayed(k.AllowGrayed);
    c->SetState(k.From);
    c->Toggle();
    EXPECT_EQ(c->GetState(), k.To) << k.AllowGrayed << " " << int(k.From);
  }
}

TEST_F(CheckBoxTest, SpaceHeldShowsThePressedMarkAndReleasingTogglesOnce)
{
  auto* c = MakeBox();
  TCheckEvents ev;
  Listen(c, ev);
  c->SetFocus();
  Pump();
  InputQueue::KeyDown(VK_SPACE);
  Pump();
  EXPECT_EQ(c->GetCheckViewInfo()->Check.MarkState, cmsPressed);
  EXPECT_EQ(c->GetState(), cbsUnchecked);
  InputQueue::KeyDown(VK_SPACE);  // auto-repeat
  Pump();
  InputQueue::KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(c->GetState(), cbsChecked);
  EXPECT_NE(c->GetCheckViewInfo()->Check.MarkState, cmsPressed);
  EXPECT_EQ(ev.Click, 1);
  EXPECT_EQ(ev.Change, 1);
}

TEST_F(CheckBoxTest, AClickTogglesOnceAndAReleaseOutsideDoesNot)
{
  auto* c = MakeBox();
  TCheckEvents ev;
  Listen(c, ev);
  Click(c, 8, 10);
  EXPECT_EQ(c->GetState(), cbsChecked);
  EXPECT_EQ(ev.Click, 1);
  EXPECT_EQ(ev.Change, 1);
  Press(c, 8, 10);
  EXPECT_EQ(c->GetCheckViewInfo()->Check.MarkState, cmsPressed);
  MoveTo(c, 8, 60);
  Release(c, 8, 60);
  EXPECT_EQ(c->GetState(), cbsChecked);
  EXPECT_EQ(ev.Click, 1);
}

TEST_F(CheckBoxTest, ReadOnlyRefusesEveryToggle)
{
  auto* c = MakeBox();
  c->Properties()->SetReadOnly(true);
  Click(c, 8, 10);
  c->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_EQ(c->GetState(), cbsUnchecked);
  c->SetChecked(true);  // the program may still set it
  EXPECT_EQ(c->GetState(), cbsChecked);
}

TEST_F(CheckBoxTest, CaptionComesFromTheNameUntilCaptionIsSet)
{
  auto* c = MakeBox(10, "cbFirst");
  EXPECT_EQ(c->GetCaptionText(true), "cbFirst");
  EXPECT_EQ(c->GetCheckViewInfo()->Check.Caption, "cbFirst");
  c->SetName("cbRenamed");
  EXPECT_EQ(c->GetCheckViewInfo()->Check.Caption, "cbRenamed");
  c->Properties()->SetCaption("已审核");
  c->SetName("cbAgain");
  Pump();
  EXPECT_EQ(c->GetCaptionText(true), "已审核");
  EXPECT_EQ(c->GetCheckViewInfo()->Check.Caption, "已审核");
}

TEST_F(CheckBoxTest, ActionGivesCaptionAndCheckedWithoutClicking)
{
  auto* action = new TAction(Form);
  action->SetCaption("同意");
  action->SetChecked(true);
  int executed = 0;
  action->OnExecute = [&executed](TObject*) { ++executed; };
  auto* c = MakeBox(10, "cbAction");
  c->SetAction(action);
  Pump();
  EXPECT_EQ(c->GetCaptionText(true), "同意");
  EXPECT_TRUE(c->GetChecked());
  EXPECT_EQ(executed, 0);
  ASSERT_NE(c->GetCheckActionLink(), nullptr);
  EXPECT_TRUE(c->GetCheckActionLink()->IsCheckedLinked());
  EXPECT_TRUE(c->GetCheckActionLink()->IsCaptionLinked());
  action->SetChecked(false);
  EXPECT_FALSE(c->GetChecked());
  // A user's click runs the action.
  Click(c, 8, 10);
  EXPECT_EQ(executed, 1);
  // Without the action the name is the caption again.
  delete action;
  Pump();
  EXPECT_EQ(c->GetCaptionText(true), "cbAction");
  EXPECT_EQ(c->GetCheckViewInfo()->Check.Caption, "cbAction");
}

TEST_F(CheckBoxTest, DialogCharacterOfTheCaptionFocusesAndToggles)
{
  auto* c = MakeBox();
  c->Properties()->SetCaption("&Ready");
  MakeBox(40)->SetFocus();
  Pump();
  Form->Perform(CM_DIALOGCHAR, 'r', 0);
  Pump();
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(c->GetState(), cbsChecked);
}

TEST_F(CheckBoxTest, StoresOnlyWhatDiffersFromTheDefaults)
{
  Classes::RegisterClass(TcxCheckBox::StaticClass());
  auto* c = MakeBox(10, "cbStore");
  std::string plain = Stored(c);
  for (const char* name : {"DisplayUnchecked", "DisplayGrayed", "DisplayChecked", "ValueChecked", "State", "Checked"})
    EXPECT_EQ(plain.find(name), std::string::npos) << name;
  c->Properties()->SetDisplayUnchecked(System::AnsiToWide("否"));
  c->Properties()->SetDisplayGrayed(System::AnsiToWide("未知"));
  c->Properties()->SetDisplayChecked(System::AnsiToWide("True"));  // the default text again
  c->SetState(cbsChecked);
  const std::string bytes = Stored(c);
  EXPECT_NE(bytes.find("DisplayUnchecked"), std::string::npos);
  EXPECT_NE(bytes.find("DisplayGrayed"), std::string::npos);
  EXPECT_EQ(bytes.find("DisplayChecked"), std::string::npos);
  EXPECT_NE(bytes.find("State"), std::string::npos);
  EXPECT_EQ(bytes.find("Checked\x08"), std::string::npos);
}

TEST_F(CheckBoxTest, NullShowsGrayedAsNullStyleSays)
{
  auto* c = MakeBox();
  c->Properties()->SetCaption("");
  c->SetEditValue(Variant::Null());
  Pump();
  // The mark's inside: ink of a check mark for the checked looks, none when drawn unchecked.
  auto markInk = [&](TcxCheckBoxNullValueShowingStyle Style) {
    c->Properties()->SetNullStyle(Style);
    c->Repaint();
    Pump();
    const RECT r = c->GetCheckViewInfo()->Check.CheckRect;
    POINT a = c->ClientToScreen(POINT{r.left + 3, r.top + 3});
    TPixelCanvas pic(r.right - r.left - 6, r.bottom - r.top - 6);
    CaptureScreenRect(RECT{a.x, a.y, a.x + pic.W, a.y + pic.H}, pic);
    return pic.Count(RECT{0, 0, pic.W, pic.H}, kBlack, 100) +
           pic.Count(RECT{0, 0, pic.W, pic.H}, RGB(128, 128, 128), 40);
  };
  EXPECT_EQ(c->GetState(), cbsGrayed);
  EXPECT_GT(markInk(nssGrayedChecked), 3);
  EXPECT_EQ(markInk(nssUnchecked), 0);
  c->SetChecked(true);
  EXPECT_GT(markInk(nssUnchecked), 3);
}

TEST_F(CheckBoxTest, InPlaceASpaceOrAClickTogglesTheCell)
{
  TcxCheckBoxProperties props(nullptr);
  auto* host = new TcxTestInplaceHost(Form);
  host->SetParent(Form);
  host->SetBounds(10, 10, 300, 40);
  host->Columns = {&props};
  host->Values = {Variant(false)};
  Pump();
  host->SetFocus();
  Pump();
  InputQueue::Text(" ");
  Pump();
  auto* c = dynamic_cast<TcxCheckBox*>(host->GetActiveEdit());
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->IsInplace());
  EXPECT_EQ(c->GetState(), cbsChecked);
  EXPECT_EQ(c->GetCheckViewInfo()->Check.Alignment, taCenter);
  // A click on the mark of the active cell toggles it back.
  const RECT r = c->GetCheckViewInfo()->Check.CheckRect;
  Click(c, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(c->GetState(), cbsUnchecked);
}
