// Labels and panels on a headless form: a label's automatic size and mnemonic, a panel's client
// area inside its frame.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/win/input/InputQueue.h"

namespace {

class PanelsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    Form->GetFont()->SetName("宋体");
    Form->GetFont()->SetSize(9);
  }
  TLabel* MakeLabel(const char* Caption, int Left = 100, int Top = 10)
  {
    auto* l = new TLabel(Owner.get());
    l->SetParent(Form);
    l->SetLeft(Left);
    l->SetTop(Top);
    l->SetCaption(Caption);
    return l;
  }
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(PanelsTest, ALabelSizesItselfToItsText)
{
  TLabel* two = MakeLabel("合同");
  TLabel* four = MakeLabel("合同管理");
  int line = two->GetHeight();
  ASSERT_GT(line, 8);
  EXPECT_EQ(four->GetWidth(), 2 * two->GetWidth());
  EXPECT_EQ(four->GetHeight(), line);
  EXPECT_EQ(four->GetLeft(), 100);

  // An empty caption still holds one line; "&&" shows a single "&".
  TLabel* empty = MakeLabel("");
  EXPECT_EQ(empty->GetHeight(), line);
  EXPECT_GT(empty->GetWidth(), 0);
  TLabel* amp = MakeLabel("A&&B");
  TLabel* plain = MakeLabel("A&B");
  plain->SetShowAccelChar(false);
  EXPECT_EQ(amp->GetWidth(), plain->GetWidth());

  // A right-aligned label keeps its right edge.
  TLabel* right = MakeLabel("合同", 100);
  right->SetAlignment(taRightJustify);
  right->SetCaption("合同管理");
  EXPECT_EQ(right->GetLeft() + right->GetWidth(), 100 + two->GetWidth());

  // A word-wrapped label keeps its width and grows downwards.
  TLabel* wrapped = MakeLabel("");
  wrapped->SetAutoSize(false);
  wrapped->SetWidth(two->GetWidth() + 2);
  wrapped->SetCaption("合同管理系统");
  wrapped->SetWordWrap(true);
  wrapped->SetAutoSize(true);
  EXPECT_EQ(wrapped->GetWidth(), two->GetWidth());
  EXPECT_EQ(wrapped->GetHeight(), 3 * line);

  // Without AutoSize the bounds stay as set.
  TLabel* fixed = MakeLabel("");
  fixed->SetAutoSize(false);
  fixed->SetBounds(5, 5, 30, 40);
  fixed->SetCaption("很长很长的合同名称");
  EXPECT_EQ(fixed->GetBoundsRect().right, 35);
  EXPECT_EQ(fixed->GetBoundsRect().bottom, 45);
}

TEST_F(PanelsTest, ALabelsMnemonicFocusesItsControl)
{
  auto* first = new TEdit(Owner.get());
  first->SetParent(Form);
  auto* target = new TEdit(Owner.get());
  target->SetParent(Form);
  target->SetTop(40);
  TLabel* label = MakeLabel("合同名称(&N):");
  label->SetFocusControl(target);
  Form->Show();
  first->SetFocus();
  auto altKey = [&](int key) {
    InputQueue::KeyDown(VK_MENU);
    InputQueue::KeyDown(key);
    InputQueue::KeyUp(key);
    InputQueue::KeyUp(VK_MENU);
    Pump();
  };
  struct Case {
    const char* What;
    bool ShowAccelChar;
    bool Enabled;
    int Key;
    bool Focuses;
  };
  const Case cases[] = {
      {"its letter", true, true, 'N', true},
      {"another letter", true, true, 'M', false},
      {"ampersands shown as text", false, true, 'N', false},
      {"a disabled label", true, false, 'N', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    first->SetFocus();
    label->SetShowAccelChar(c.ShowAccelChar);
    label->SetEnabled(c.Enabled);
    altKey(c.Key);
    EXPECT_EQ(target->Focused(), c.Focuses);
  }
  // The label forgets a control that is freed.
  delete target;
  EXPECT_EQ(label->GetFocusControl(), nullptr);
  label->SetShowAccelChar(true);
  label->SetEnabled(true);
  altKey('N');
  EXPECT_TRUE(first->Focused());
}

TEST_F(PanelsTest, APanelsChildrenFillTheAreaInsideItsFrame)
{
  struct Case {
    TBevelCut Outer, Inner;
    int BevelWidth, BorderWidth;
    int Inset;
  };
  const Case cases[] = {
      {bvRaised, bvNone, 1, 0, 1},    {bvNone, bvNone, 1, 0, 0},  {bvRaised, bvLowered, 1, 0, 2},
      {bvRaised, bvLowered, 3, 2, 8}, {bvSpace, bvNone, 2, 0, 2}, {bvNone, bvNone, 5, 4, 4},
  };
  auto* panel = new TPanel(Owner.get());
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 200, 100);
  auto* child = new TPanel(Owner.get());
  child->SetParent(panel);
  child->SetAlign(alClient);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Outer << "/" << c.Inner << " bevel " << c.BevelWidth << " border "
                                    << c.BorderWidth);
    panel->SetBevelOuter(c.Outer);
    panel->SetBevelInner(c.Inner);
    panel->SetBevelWidth(c.BevelWidth);
    panel->SetBorderWidth(c.BorderWidth);
    RECT r = child->GetBoundsRect();
    EXPECT_EQ(r.left, c.Inset);
    EXPECT_EQ(r.top, c.Inset);
    EXPECT_EQ(r.right, 200 - c.Inset);
    EXPECT_EQ(r.bottom, 100 - c.Inset);
  }
  // A bevel is at least one pixel wide; a border never negative.
  panel->SetBevelWidth(0);
  panel->SetBorderWidth(-3);
  EXPECT_EQ(panel->GetBevelWidth(), 1);
  EXPECT_EQ(panel->GetBorderWidth(), 0);
}
