// Actions: their changes reaching a control and a menu item, running from both, the list's
// handlers first, group checking, short cuts, and OnUpdate in the application's idle time.
#include "platform/forms/app/Application.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/window/Windows.h"

namespace {
// A control that shows its action as the standard controls do.
class TActionControl : public TLogControl {
public:
  using TLogControl::TLogControl;

protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override
  {
    ActnList::ApplyToControl(this, dynamic_cast<TBasicAction*>(Sender), CheckDefaults);
  }
};

class ActionTest : public AppFormsFixture {
protected:
  void SetUp() override
  {
    AppFormsFixture::SetUp();
    form = MakeForm();
    list = new TActionList(form);
    action = new TAction(form);
    action->SetActionList(list);
    action->SetCaption("保存(&S)");
    action->OnExecute = [this](TObject*) { ++runs; };
    control = new TActionControl(form, "Button");
    control->SetParent(form);
    control->SetAction(action);
    menu = new TPopupMenu(form);
    item = new TMenuItem(form);
    menu->GetItems()->Add(item);
    item->SetAction(action);
  }
  TForm* form = nullptr;
  TActionList* list = nullptr;
  TAction* action = nullptr;
  TActionControl* control = nullptr;
  TPopupMenu* menu = nullptr;
  TMenuItem* item = nullptr;
  int runs = 0;
};
}  // namespace

TEST_F(ActionTest, AChangeReachesItsControlAndMenuItem)
{
  EXPECT_EQ(control->GetCaption(), "保存(&S)");
  EXPECT_EQ(item->GetCaption(), "保存(&S)");
  action->SetCaption("另存为");
  action->SetHint("保存到另一个文件");
  action->SetEnabled(false);
  action->SetShortCut(scCtrl | 'S');
  action->SetChecked(true);
  EXPECT_EQ(control->GetCaption(), "另存为");
  EXPECT_EQ(control->GetHint(), "保存到另一个文件");
  EXPECT_FALSE(control->GetEnabled());
  EXPECT_EQ(item->GetCaption(), "另存为");
  EXPECT_FALSE(item->GetEnabled());
  EXPECT_TRUE(item->GetChecked());
  EXPECT_EQ(item->GetShortCut(), scCtrl | 'S');
  char text[64] = {};
  Windows::GetMenuString(menu->GetHandle(), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "另存为\tCtrl+S");
  EXPECT_EQ(Windows::GetMenuState(menu->GetHandle(), 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED),
            MF_GRAYED | MF_CHECKED);
  action->SetVisible(false);
  EXPECT_FALSE(control->GetVisible());
  EXPECT_EQ(Windows::GetMenuItemCount(menu->GetHandle()), 0);

  // Freed, the action leaves its clients with what they showed.
  delete action;
  EXPECT_EQ(item->GetAction(), nullptr);
  EXPECT_EQ(control->GetAction(), nullptr);
  EXPECT_EQ(list->GetActionCount(), 0);
  EXPECT_EQ(item->GetCaption(), "另存为");
}

TEST_F(ActionTest, ClientsRunTheActionTheListFirstAndADisabledOneNotAtAll)
{
  item->Click();
  control->Click();
  EXPECT_EQ(runs, 2);
  bool handled = true;
  std::vector<TBasicAction*> seen;
  list->OnExecute = [&](TBasicAction* A, bool& Handled) {
    seen.push_back(A);
    Handled = handled;
  };
  item->Click();
  EXPECT_EQ(runs, 2) << "the list handled it";
  handled = false;
  item->Click();
  EXPECT_EQ(runs, 3);
  EXPECT_EQ(seen.size(), 2u);
  // The update just before running turns it off.
  action->OnUpdate = [this](TObject*) { action->SetEnabled(false); };
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(runs, 3);

  // Actions of a group: one checked in the list.
  auto* other = new TAction(form);
  other->SetActionList(list);
  action->SetGroupIndex(1);
  other->SetGroupIndex(1);
  action->SetChecked(true);
  other->SetChecked(true);
  EXPECT_FALSE(action->GetChecked());
  EXPECT_FALSE(item->GetChecked()) << "the unchecked action's item follows";

  // A short cut runs the list's enabled action.
  other->SetShortCut(scCtrl | 'P');
  int printed = 0;
  other->OnExecute = [&](TObject*) { ++printed; };
  EXPECT_TRUE(list->IsShortCut(scCtrl | 'P'));
  EXPECT_FALSE(list->IsShortCut(scCtrl | 'Q'));
  EXPECT_EQ(printed, 1);
  EXPECT_THROW(list->GetAction(2), EListError);
}

TEST_F(ActionTest, OnUpdateRunsInIdleTimeAndWhenTheMenuOpensOrItsKeyComes)
{
  int updates = 0;
  bool canSave = false;
  action->OnUpdate = [&](TObject*) {
    ++updates;
    action->SetEnabled(canSave);
  };
  form->Show();
  Pump();
  // Nothing waits: the application does its idle work.
  Forms::Application->HandleMessage();
  EXPECT_GE(updates, 1);
  EXPECT_FALSE(control->GetEnabled());
  EXPECT_FALSE(item->GetEnabled());

  // Opening the menu asks its items' actions.
  canSave = true;
  int before = updates;
  InputQueue::KeyDown(VK_ESCAPE);
  menu->Popup(100, 100);
  EXPECT_GT(updates, before);
  EXPECT_TRUE(item->GetEnabled());

  // A key asks first, and runs the action only when it is enabled then.
  action->SetShortCut(scCtrl | 'S');
  canSave = false;
  EXPECT_FALSE(list->IsShortCut(scCtrl | 'S'));
  canSave = true;
  EXPECT_TRUE(list->IsShortCut(scCtrl | 'S'));
  EXPECT_EQ(runs, 1);
}
