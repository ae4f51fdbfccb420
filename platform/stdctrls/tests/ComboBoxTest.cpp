// Combo boxes on a headless form: the events in the classic order by keys, and the
// completion from the lines, switched on and off.
#include <gtest/gtest.h>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

class ComboBoxesTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    Combo = new TComboBox(Owner.get());
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 200, 21);
    for (const char* s : {"合同", "合作协议", "客户", "Contract", "Client"}) Combo->GetItems()->Add(s);
    auto log = [this](const char* what) { return [this, what](TObject*) { Events.push_back(what); }; };
    Combo->OnChange = log("change");
    Combo->OnSelect = log("select");
    Combo->OnClick = log("click");
    Combo->OnDropDown = log("dropdown");
    Combo->OnCloseUp = log("closeup");
    Form->Show();
  }
  void Key(int VKey)
  {
    InputQueue::KeyDown(VKey);
    InputQueue::KeyUp(VKey);
    Pump();
  }
  void Type(const AnsiString& Text)
  {
    InputQueue::Text(Text);
    Pump();
  }
  TForm* Form = nullptr;
  TComboBox* Combo = nullptr;
  std::vector<std::string> Events;
};

using EventList = std::vector<std::string>;

}  // namespace

TEST_F(ComboBoxesTest, KeysMoveTheSelectionAndTypingChanges)
{
  Combo->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  EXPECT_EQ(Combo->GetText(), "合同");
  Key(VK_DOWN);
  EXPECT_EQ(Combo->GetText(), "合作协议");
  EXPECT_EQ(Events, (EventList{"click", "select", "click", "select"}));
  // Without OnSelect a choice fires OnChange.
  Combo->OnSelect = nullptr;
  Events.clear();
  Key(VK_UP);
  EXPECT_EQ(Events, (EventList{"click", "change"}));
  // Alt+Down (F4) opens; Enter closes keeping the line.
  Events.clear();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Events, (EventList{"dropdown", "click", "change", "closeup"}));
  EXPECT_EQ(Combo->GetItemIndex(), 1);
}

TEST_F(ComboBoxesTest, CompletionOnAndOff)
{
  struct Case {
    bool AutoComplete;
    const char* Typed;
    const char* Text;
    int Index;
    int SelLength;
  } cases[] = {
      {true, "合", "合同", 0, 2},        // completes from the first line it begins
      {true, "合作", "合作协议", 1, 4},  // moves on as the typing narrows
      {true, "co", "contract", 3, 6},    // the typed letters stay as typed
      {true, "合x", "合x", 0, 0},        // nothing begins so: the typing stands, the line stays
      {false, "合", "合", -1, 0},        // switched off: only what was typed
      {false, "cl", "cl", -1, 0},
  };
  for (const Case& c : cases) {
    Combo->SetAutoComplete(c.AutoComplete);
    Combo->SetItemIndex(-1);
    Combo->SetText("");
    Combo->SetFocus();
    Events.clear();
    Type(c.Typed);
    EXPECT_EQ(Combo->GetText(), c.Text) << c.Typed;
    EXPECT_EQ(Combo->GetItemIndex(), c.Index) << c.Typed;
    EXPECT_EQ(Combo->GetSelLength(), c.SelLength) << c.Typed;
    EXPECT_FALSE(Events.empty()) << c.Typed;
  }
}

TEST_F(ComboBoxesTest, LinesLiveBeforeAndAcrossWindows)
{
  auto* combo = new TComboBox(Owner.get());
  combo->GetItems()->Add("乙");
  combo->GetItems()->Add("甲");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->GetText(), "甲");
  combo->SetParent(Form);
  combo->GetHandle();
  EXPECT_EQ(combo->GetItems()->GetCommaText(), "乙,甲");
  EXPECT_EQ(combo->GetItemIndex(), 1);
  combo->SetStyle(csDropDownList);
  combo->SetSorted(true);
  EXPECT_EQ(combo->GetItems()->GetCommaText(), "甲,乙");
  EXPECT_EQ(combo->GetText(), "甲");
}

TEST_F(ComboBoxesTest, ALineClickedInTheDroppedListIsChosen)
{
  // Opened by a click on the button and a line clicked, as the desktop delivers them.
  auto click = [&](HWND Wnd, POINT P) {
    Windows::ClientToScreen(Wnd, &P);
    Headless::AdvanceTime(1000);
    InputQueue::MouseMove(P.x, P.y);
    InputQueue::MouseDown(InputQueue::Button::Left, P.x, P.y);
    InputQueue::MouseUp(InputQueue::Button::Left, P.x, P.y);
    Pump();
  };
  struct Case {
    int DropDownCount;
    int Line;
    int Rows;  // the lines the dropped list shows
  };
  const Case cases[] = {{8, 2, 5}, {3, 1, 3}, {1, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "DropDownCount " << c.DropDownCount);
    Combo->SetDropDownCount(c.DropDownCount);
    Combo->SetItemIndex(-1);
    Events.clear();
    click(Combo->GetHandle(), POINT{Combo->GetWidth() - 6, Combo->GetHeight() / 2});
    ASSERT_TRUE(Combo->GetDroppedDown());
    HWND list = ComboBox::ListOf(Combo->GetHandle());
    RECT client;
    Windows::GetClientRect(list, &client);
    EXPECT_EQ(client.bottom, c.Rows * Combo->GetItemHeight());
    RECT item;
    Windows::SendMessage(list, LB_GETITEMRECT, WPARAM(c.Line), reinterpret_cast<LPARAM>(&item));
    click(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), c.Line);
    EXPECT_EQ(Combo->GetText(), Combo->GetItems()->GetStrings(c.Line));
    EXPECT_EQ(Events, (EventList{"dropdown", "closeup", "click", "select"}));
  }
}
