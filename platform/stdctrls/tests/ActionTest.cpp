// Actions: their changes reaching a control, the buttons and a menu item, running from them,
// the list's handlers first, then the focused control and its form, group checking, short
// cuts, and OnUpdate in the application's idle time.
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/stdctrls/buttons/BitBtn.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/toolbars/ToolBar.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
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

TEST_F(ActionTest, ButtonsAndCheckBoxesShowTheirActionAndRunIt)
{
  auto* images = new TImageList(form);
  TBitmap red;
  red.SetSize(16, 16);
  red.GetCanvas()->GetBrush()->SetColor(clRed);
  red.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
  images->Add(&red, nullptr);
  list->SetImages(images);
  action->SetImageIndex(0);
  action->SetHint("保存合同");
  action->SetGroupIndex(3);

  auto* button = new TButton(form);
  auto* bit = new TBitBtn(form);
  auto* speed = new TSpeedButton(form);
  speed->SetGroupIndex(3);
  speed->SetAllowAllUp(true);
  auto* check = new TCheckBox(form);
  auto* radio = new TRadioButton(form);
  TControl* clients[] = {button, bit, speed, check, radio};
  for (TControl* c : clients) {
    c->SetParent(form);
    c->SetAction(action);
  }
  form->Show();
  auto checkedOf = [](TControl* c) {
    if (auto* s = dynamic_cast<TSpeedButton*>(c)) return s->GetDown();
    if (auto* b = dynamic_cast<TCheckBox*>(c)) return b->GetChecked();
    if (auto* r = dynamic_cast<TRadioButton*>(c)) return r->GetChecked();
    return false;
  };
  struct Step {
    const char* Caption;
    bool Enabled, Checked;
  };
  const Step steps[] = {{"保存(&S)", true, false}, {"另存为", false, true}, {"保存", true, false}};
  for (const Step& s : steps) {
    action->SetCaption(s.Caption);
    action->SetEnabled(s.Enabled);
    action->SetChecked(s.Checked);
    for (TControl* c : clients) {
      SCOPED_TRACE(testing::Message() << c->ClassName() << " at " << s.Caption);
      EXPECT_EQ(c->GetCaption(), s.Caption);
      EXPECT_EQ(c->GetEnabled(), s.Enabled);
      EXPECT_EQ(c->GetHint(), "保存合同");
      if (c != button && c != bit) EXPECT_EQ(checkedOf(c), s.Checked);
    }
  }
  // The glyph buttons show the action's image.
  for (TBitmap* glyph : {bit->GetGlyph(), speed->GetGlyph()}) {
    ASSERT_FALSE(glyph->GetEmpty());
    EXPECT_EQ(glyph->GetCanvas()->GetPixels(8, 8), clRed);
  }
  // Without a handler of its own, a click runs the action; with one, the handler runs.
  button->Click();
  check->Click();
  EXPECT_EQ(runs, 2);
  int own = 0;
  button->OnClick = [&](TObject*) { ++own; };
  button->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(runs, 2);
}

TEST_F(ActionTest, AnImageListFreedUnderItsUsersIsForgotten)
{
  // Each user holds the list in a slot; freeing the list must not call into it (the sanitizers
  // see a call into a half-destroyed list).
  auto* bar = new TMainMenu(form);
  auto* toolbar = new TToolBar(form);
  toolbar->SetParent(form);
  auto* button = new TToolButton(toolbar);
  button->SetParent(toolbar);
  button->SetImageIndex(0);
  form->SetMenu(bar);
  auto* barItem = new TMenuItem(form);
  barItem->SetCaption("文件");
  barItem->SetImageIndex(0);
  bar->GetItems()->Add(barItem);
  item->SetImageIndex(0);
  auto* bit = new TBitBtn(form);
  bit->SetParent(form);
  bit->SetAction(action);
  form->Show();

  auto* images = new TImageList(form);
  TBitmap blue;
  blue.SetSize(16, 16);
  blue.GetCanvas()->GetBrush()->SetColor(clBlue);
  blue.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
  images->Add(&blue, nullptr);
  list->SetImages(images);
  action->SetImageIndex(0);
  menu->SetImages(images);
  bar->SetImages(images);
  toolbar->SetImages(images);
  toolbar->SetDisabledImages(images);
  toolbar->SetHotImages(images);
  std::vector<TCustomImageList*> listChanges;
  list->OnChange = [&](TObject*) { listChanges.push_back(list->GetImages()); };
  form->Repaint();

  delete images;
  EXPECT_EQ(list->GetImages(), nullptr);
  EXPECT_EQ(listChanges, (std::vector<TCustomImageList*>{nullptr})) << "one change, told after the list is gone";
  EXPECT_EQ(menu->GetImages(), nullptr);
  EXPECT_EQ(bar->GetImages(), nullptr);
  EXPECT_EQ(toolbar->GetImages(), nullptr);
  EXPECT_EQ(toolbar->GetDisabledImages(), nullptr);
  EXPECT_EQ(toolbar->GetHotImages(), nullptr);
  // They go on without it: the glyph the button took stays, the rest draw without images.
  action->SetCaption("另存为");
  form->Repaint();
  EXPECT_EQ(bit->GetGlyph()->GetCanvas()->GetPixels(8, 8), clBlue);
}

namespace {
// An action that acts on edit boxes, as the standard edit actions do.
class TEditTargetAction : public TAction {
public:
  using TAction::TAction;
  bool HandlesTarget(TObject* Target) override { return dynamic_cast<TCustomEdit*>(Target) != nullptr; }
  void ExecuteTarget(TObject* Target) override { Log.push_back("edit runs"); }
  void UpdateTarget(TObject* Target) override { Log.push_back("edit updates"); }
  std::vector<std::string> Log;
};

// A form that logs the actions offered to it and takes those named "Form".
class TActionForm : public TForm {
public:
  using TForm::TForm;
  bool ExecuteAction(TBasicAction* Action) override
  {
    Log->push_back("form offered");
    return Action->GetName() == "FormAction";
  }
  bool UpdateAction(TBasicAction* Action) override
  {
    Log->push_back("form asked");
    return Action->GetName() == "FormAction";
  }
  std::vector<std::string>* Log = nullptr;
};
}  // namespace

TEST_F(ActionTest, TheFocusedControlAndItsFormTakeAnActionBeforeItsOwnHandler)
{
  auto* target = new TActionForm(form);
  target->SetBounds(0, 0, 300, 200);
  auto* edit = new TEdit(form);
  edit->SetParent(target);
  auto* button = new TButton(form);
  button->SetParent(target);
  button->SetTop(40);
  auto* editAction = new TEditTargetAction(form);
  editAction->SetActionList(list);
  auto* formAction = new TAction(form);
  formAction->SetName("FormAction");
  formAction->SetActionList(list);
  std::vector<std::string>& log = editAction->Log;
  target->Log = &log;
  editAction->OnExecute = [&](TObject*) { log.push_back("own handler"); };
  formAction->OnExecute = [&](TObject*) { log.push_back("own handler"); };
  target->Show();

  struct Case {
    const char* What;
    TWinControl* Focus;
    TAction* Action;
    std::vector<std::string> Expected;
  };
  const Case cases[] = {
      // Executing asks for an update first, then offers the action the same way.
      {"the focused edit takes it", edit, editAction, {"edit updates", "edit runs"}},
      {"a button does not: its form is asked, then the action runs",
       button,
       editAction,
       {"form asked", "form offered", "own handler"}},
      {"the form takes its own", button, formAction, {"form asked", "form offered"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    c.Focus->SetFocus();
    log.clear();
    c.Action->Execute();
    EXPECT_EQ(log, c.Expected);
  }
  // The list's handler still comes first.
  list->OnExecute = [&](TBasicAction*, bool& Handled) {
    log.push_back("list");
    Handled = true;
  };
  edit->SetFocus();
  log.clear();
  editAction->Execute();
  EXPECT_EQ(log, (std::vector<std::string>{"edit updates", "list"}));
}
