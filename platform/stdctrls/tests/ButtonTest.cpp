// Push buttons, check boxes, radio buttons and radio groups on a headless form, driven by the
// mouse and the keyboard.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/BitBtn.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/RadioGroup.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

namespace {

class ButtonsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
  }
  template <class T>
  T* Make(TWinControl* Parent, int Left, int Top, const char* Caption = "")
  {
    auto* c = new T(Owner.get());
    c->SetParent(Parent);
    c->SetLeft(Left);
    c->SetTop(Top);
    c->SetCaption(Caption);
    return c;
  }
  void ClickOn(TControl* C)
  {
    Headless::AdvanceTime(1000);  // a click of its own, never a double click
    POINT p = C->ClientToScreen(POINT{C->GetWidth() / 2, C->GetHeight() / 2});
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  void Key(int VKey, bool Alt = false)
  {
    if (Alt) InputQueue::KeyDown(VK_MENU);
    InputQueue::KeyDown(VKey);
    InputQueue::KeyUp(VKey);
    if (Alt) InputQueue::KeyUp(VK_MENU);
    Pump();
  }
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(ButtonsTest, DefaultAndCancelButtonsAnswerEnterAndEscape)
{
  auto* edit = Make<TEdit>(Form, 10, 10);
  auto* ok = Make<TButton>(Form, 10, 50, "确定(&O)");
  auto* cancel = Make<TButton>(Form, 100, 50, "取消");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  std::vector<std::string> clicks;
  ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
  Form->Show();
  struct Case {
    const char* What;
    TWinControl* Focus;
    int Key;
    bool Alt;
    TModalResult Result;
    const char* Clicked;
  } cases[] = {
      {"Enter in an edit: the default button", edit, VK_RETURN, false, mrOk, "ok"},
      {"Escape in an edit: the cancel button", edit, VK_ESCAPE, false, mrCancel, "cancel"},
      {"Enter on the cancel button: the focused button", cancel, VK_RETURN, false, mrCancel, "cancel"},
      {"Escape on the default button", ok, VK_ESCAPE, false, mrCancel, "cancel"},
      {"Alt with the caption's letter", edit, 'O', true, mrOk, "ok"},
  };
  for (const Case& c : cases) {
    clicks.clear();
    Form->SetModalResult(mrNone);
    c.Focus->SetFocus();
    Key(c.Key, c.Alt);
    EXPECT_EQ(Form->GetModalResult(), c.Result) << c.What;
    EXPECT_EQ(clicks, std::vector<std::string>{c.Clicked}) << c.What;
  }
  // The default frame follows the focused button and goes back to the default one.
  cancel->SetFocus();
  EXPECT_TRUE(cancel->IsActive());
  EXPECT_FALSE(ok->IsActive());
  edit->SetFocus();
  EXPECT_TRUE(ok->IsActive());
  EXPECT_FALSE(cancel->IsActive());
}

TEST_F(ButtonsTest, AClickGivesTheModalFormItsResult)
{
  auto* ok = Make<TButton>(Form, 10, 50, "确定");
  ok->SetModalResult(mrOk);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  ClickOn(ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Form->GetModalResult(), mrOk);
  EXPECT_TRUE(ok->Focused());
  // A disabled button takes no click.
  Form->SetModalResult(mrNone);
  ok->SetEnabled(false);
  ClickOn(ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Form->GetModalResult(), mrNone);
}

TEST_F(ButtonsTest, CheckBoxStatesCycleByClickAndSpace)
{
  auto* box = Make<TCheckBox>(Form, 10, 10, "已审核");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  struct Step {
    bool AllowGrayed;
    bool ByKey;
    TCheckBoxState After;
  } steps[] = {
      {false, false, cbChecked}, {false, false, cbUnchecked}, {true, false, cbGrayed},
      {true, true, cbChecked},   {true, true, cbUnchecked},
  };
  int n = 0;
  for (const Step& s : steps) {
    box->SetAllowGrayed(s.AllowGrayed);
    if (s.ByKey)
      Key(VK_SPACE);
    else
      ClickOn(box);
    EXPECT_EQ(box->GetState(), s.After) << n;
    EXPECT_EQ(clicks, ++n);
  }
  // State set by code fires OnClick too; the same state fires nothing.
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(clicks, n + 1);
  EXPECT_TRUE(box->GetChecked());
}

TEST_F(ButtonsTest, OneRadioButtonCheckedPerParent)
{
  auto* a = Make<TRadioButton>(Form, 10, 10, "甲");
  auto* b = Make<TRadioButton>(Form, 10, 30, "乙");
  auto* group = Make<TGroupBox>(Form, 150, 10, "其他");
  auto* c = Make<TRadioButton>(group, 10, 20, "丙");
  Form->Show();
  a->SetChecked(true);
  c->SetChecked(true);
  ClickOn(b);
  EXPECT_FALSE(a->GetChecked());
  EXPECT_TRUE(b->GetChecked());
  EXPECT_TRUE(c->GetChecked());  // another parent: untouched
  // The checked one is the Tab stop of its group.
  EXPECT_TRUE(b->GetTabStop());
  EXPECT_FALSE(a->GetTabStop());
}

TEST_F(ButtonsTest, RadioGroupItemsColumnsAndIndex)
{
  auto* group = Make<TRadioGroup>(Form, 10, 10, "付款方式");
  group->SetBounds(10, 10, 300, 120);
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  group->GetItems()->SetText("现金\r\n支票\r\n汇款\r\n承兑汇票\r\n其他");
  group->SetColumns(2);
  Form->Show();
  ASSERT_EQ(group->GetItemIndex(), -1);
  // Two columns filled top to bottom: three in the first, two in the second.
  EXPECT_EQ(group->Buttons(0)->GetLeft(), group->Buttons(2)->GetLeft());
  EXPECT_GT(group->Buttons(3)->GetLeft(), group->Buttons(0)->GetLeft());
  EXPECT_EQ(group->Buttons(3)->GetTop(), group->Buttons(0)->GetTop());
  EXPECT_EQ(group->Buttons(1)->GetCaption(), "支票");

  ClickOn(group->Buttons(3));
  EXPECT_EQ(group->GetItemIndex(), 3);
  EXPECT_EQ(clicks, 1);
  group->SetItemIndex(1);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(group->Buttons(1)->GetChecked());
  EXPECT_FALSE(group->Buttons(3)->GetChecked());
  // Out of range is brought into range.
  group->SetItemIndex(99);
  EXPECT_EQ(group->GetItemIndex(), 4);
  group->SetItemIndex(-5);
  EXPECT_EQ(group->GetItemIndex(), -1);
  // New lines keep the index while it is a line, without a click.
  group->SetItemIndex(2);
  clicks = 0;
  group->GetItems()->Add("代付");
  EXPECT_EQ(group->GetItemIndex(), 2);
  EXPECT_TRUE(group->Buttons(2)->GetChecked());
  group->GetItems()->SetText("现金\r\n支票");
  EXPECT_EQ(group->GetItemIndex(), -1);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonsTest, SpeedButtonGroupsHoldOneDown)
{
  TSpeedButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = new TSpeedButton(Owner.get());
    b[i]->SetParent(Form);
    b[i]->SetBounds(10 + i * 30, 10, 25, 25);
    b[i]->SetGroupIndex(1);
  }
  auto* plain = new TSpeedButton(Owner.get());
  plain->SetParent(Form);
  plain->SetBounds(120, 10, 25, 25);
  int clicks = 0;
  plain->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  auto downs = [&] { return std::vector<bool>{b[0]->GetDown(), b[1]->GetDown(), b[2]->GetDown()}; };
  ClickOn(b[0]);
  EXPECT_EQ(downs(), (std::vector<bool>{true, false, false}));
  ClickOn(b[1]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, true, false}));
  ClickOn(b[1]);  // without AllowAllUp the held one stays down
  EXPECT_EQ(downs(), (std::vector<bool>{false, true, false}));
  b[0]->SetAllowAllUp(true);  // the whole group takes it
  ClickOn(b[1]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, false}));
  b[2]->SetDown(true);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));

  // An ungrouped button clicks and springs back; released off the button it does not click.
  ClickOn(plain);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(plain->GetDown());
  EXPECT_EQ(plain->GetState(), bsUp);
  POINT in = plain->ClientToScreen(POINT{5, 5}), out = plain->ClientToScreen(POINT{60, 60});
  Headless::AdvanceTime(1000);
  InputQueue::MouseMove(in.x, in.y);
  InputQueue::MouseDown(InputQueue::Button::Left, in.x, in.y);
  Pump();
  EXPECT_EQ(plain->GetState(), bsDown);
  InputQueue::MouseMove(out.x, out.y);
  InputQueue::MouseUp(InputQueue::Button::Left, out.x, out.y);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(plain->GetState(), bsUp);
}

TEST_F(ButtonsTest, BitBtnKindsGiveCaptionsAndAnswers)
{
  struct Case {
    TBitBtnKind Kind;
    const char* Caption;
    TModalResult Result;
    bool Default, Cancel;
  } cases[] = {
      {bkOK, "OK", mrOk, true, false},           {bkCancel, "Cancel", mrCancel, false, true},
      {bkYes, "&Yes", mrYes, true, false},       {bkNo, "&No", mrNo, false, true},
      {bkAbort, "Abort", mrAbort, false, false}, {bkAll, "&All", mrAll, false, false},
  };
  Form->Show();
  for (const Case& c : cases) {
    auto* btn = Make<TBitBtn>(Form, 10, 10);
    btn->SetKind(c.Kind);
    EXPECT_EQ(btn->GetCaption(), c.Caption);
    EXPECT_EQ(btn->GetModalResult(), c.Result);
    EXPECT_EQ(btn->GetDefault(), c.Default);
    EXPECT_EQ(btn->GetCancel(), c.Cancel);
    Form->SetModalResult(mrNone);
    ClickOn(btn);
    EXPECT_EQ(Form->GetModalResult(), c.Result) << c.Caption;
    delete btn;
  }
  // Close closes the form.
  auto* close = Make<TBitBtn>(Form, 10, 10);
  close->SetKind(bkClose);
  ClickOn(close);
  Pump();
  EXPECT_FALSE(Form->GetVisible());
}
