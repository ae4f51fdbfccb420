// The application object with forms: the first form made becomes the main form and Run ends
// when it closes; the screen lists forms and data modules, follows the active form and finds
// them by name for stored references; idle time tells OnHint the hint under the mouse and
// updates the actions of the visible forms.
#include <functional>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/tests/AppTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using Forms::Application;
using Forms::Screen;

namespace {

// A control whose CM_HINTSHOW and CM_HINTSHOWPAUSE handling a test chooses.
class THintedControl : public TCustomControl {
public:
  explicit THintedControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  std::function<void(THintInfo&, LRESULT&)> OnHintShow;
  int Pause = -1;  // replaces the pause when >= 0

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == CM_HINTSHOWPAUSE && Pause >= 0) {
      *reinterpret_cast<int*>(Message.LParam) = Pause;
      return;
    }
    if (Message.Msg == CM_HINTSHOW && OnHintShow) {
      OnHintShow(*reinterpret_cast<THintInfo*>(Message.LParam), Message.Result);
      return;
    }
    TCustomControl::WndProc(Message);
  }
};

class AppFormsTest : public AppTest {
protected:
  void SetUp() override { AppTest::SetUp(); }
};

// A component that stands in for a data module.
class TStandInModule : public TComponent {
public:
  explicit TStandInModule(TComponent* AOwner) : TComponent(AOwner) {}
};

}  // namespace

TEST_F(AppFormsTest, FirstFormBecomesMainFormAndClosingItEndsRun)
{
  TForm* main = nullptr;
  TForm* second = nullptr;
  Application->CreateForm(main);
  Application->CreateForm(second);
  EXPECT_EQ(Application->GetMainForm(), main);
  EXPECT_TRUE(main->HandleAllocated()) << "the main form's window is made at once";
  EXPECT_FALSE(second->HandleAllocated());
  EXPECT_EQ(main->GetOwner(), Application);

  TComponent* third = Application->CreateForm(TForm::StaticClass());
  EXPECT_NE(dynamic_cast<TForm*>(third), nullptr);
  EXPECT_THROW(Application->CreateForm(TypInfo::ObjectClass()), EInvalidOperation);

  TTimer closer(nullptr);
  closer.SetInterval(100);
  closer.SetOnTimer([&](TObject*) {
    EXPECT_TRUE(main->GetVisible()) << "Run shows the main form";
    main->Close();
  });
  Application->Run();
  EXPECT_TRUE(Application->GetTerminated());

  delete main;
  EXPECT_EQ(Application->GetMainForm(), nullptr) << "a freed main form is forgotten";
}

TEST_F(AppFormsTest, RunWithoutMainFormReturnsAtOnce)
{
  int idle = 0;
  Application->OnIdle = [&](TObject*, bool&) { ++idle; };
  Application->Run();
  EXPECT_EQ(idle, 0);
  EXPECT_FALSE(Application->GetTerminated());
}

TEST_F(AppFormsTest, ScreenListsFormsFollowsTheActiveOneAndFindsByName)
{
  TForm* a = nullptr;
  TForm* b = nullptr;
  Application->CreateForm(a);
  Application->CreateForm(b);
  a->SetName("mainFrm");
  b->SetName("PubFrm");
  TStandInModule module(nullptr);
  module.SetName("DataModule1");
  Screen->AddDataModule(&module);
  Screen->AddDataModule(&module);
  EXPECT_EQ(Screen->GetFormCount(), 2);
  EXPECT_EQ(Screen->GetCustomFormCount(), 2);
  EXPECT_EQ(Screen->GetDataModuleCount(), 1);

  struct Lookup {
    const char* Name;
    TComponent* Expected;
  };
  const Lookup lookups[] = {
      {"mainFrm", a}, {"MAINFRM", a}, {"PubFrm", b}, {"datamodule1", &module}, {"nothing", nullptr}, {"", nullptr},
  };
  for (const Lookup& l : lookups) EXPECT_EQ(Classes::FindGlobalComponent(l.Name), l.Expected) << l.Name;

  int changes = 0;
  Screen->OnActiveFormChange = [&](TObject*) { ++changes; };
  a->Show();
  b->Show();
  Application->ProcessMessages();
  EXPECT_EQ(Screen->GetActiveForm(), b);
  EXPECT_EQ(Screen->GetForms(0), b) << "the active form comes first";
  a->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(Screen->GetActiveCustomForm(), a);
  EXPECT_EQ(Screen->GetForms(0), a);
  EXPECT_GE(changes, 2);

  delete b;
  EXPECT_EQ(Screen->GetFormCount(), 1);
  EXPECT_EQ(Classes::FindGlobalComponent("PubFrm"), nullptr);
  Screen->RemoveDataModule(&module);
  EXPECT_EQ(Classes::FindGlobalComponent("DataModule1"), nullptr);
  Screen->OnActiveFormChange = nullptr;
}

TEST_F(AppFormsTest, IdleTellsOnHintTheLongHintUnderTheMouse)
{
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(100, 100, 300, 200);
  auto* control = new THintedControl(form);
  control->SetParent(form);
  control->SetBounds(20, 20, 80, 30);
  control->SetHint("合同|合同的详细说明");
  form->SetHint("窗体");
  form->Show();
  Application->ProcessMessages();
  std::vector<AnsiString> hints;
  Application->OnHint = [&](TObject*) { hints.push_back(Application->GetHint()); };
  Application->OnIdle = [](TObject*, bool& Done) { Done = false; };
  struct Case {
    POINT At;  // screen
    const char* Hint;
  };
  const Case cases[] = {
      {control->ClientToScreen(POINT{10, 10}), "合同的详细说明"},
      {form->ClientToScreen(POINT{200, 120}), "窗体"},
      {{700, 500}, ""},
  };
  for (const Case& c : cases) {
    InputQueue::MouseMove(c.At.x, c.At.y);
    Application->ProcessMessages();
    Application->HandleMessage();
    EXPECT_EQ(Application->GetHint(), c.Hint);
  }
  EXPECT_EQ(hints.size(), 3u) << "each change told once";
}

TEST_F(AppFormsTest, IdleUpdatesTheActionsOfVisibleForms)
{
  TForm* form = nullptr;
  Application->CreateForm(form);
  auto* control = new THintedControl(form);
  control->SetParent(form);
  TBasicAction action(nullptr);
  int updates = 0;
  action.OnUpdate = [&](TObject*) { ++updates; };
  action.OnExecute = [](TObject*) {};
  control->SetAction(&action);
  Application->OnIdle = [](TObject*, bool& Done) { Done = true; };
  Application->HandleMessage();
  EXPECT_EQ(updates, 0) << "a hidden form's actions are left alone";
  form->Show();
  Application->ProcessMessages();
  Application->HandleMessage();
  EXPECT_GE(updates, 1);
  control->SetAction(nullptr);
}

TEST_F(AppFormsTest, ModalLevelCountsNestedLoops)
{
  int begun = 0, ended = 0;
  Application->OnModalBegin = [&](TObject*) { ++begun; };
  Application->OnModalEnd = [&](TObject*) { ++ended; };
  TForm* main = nullptr;
  TForm* dialog = nullptr;
  Application->CreateForm(main);
  Application->CreateForm(dialog);
  main->Show();
  TTimer answer(nullptr);
  answer.SetInterval(50);
  int level = -1;
  answer.SetOnTimer([&](TObject*) {
    level = Application->GetModalLevel();
    dialog->SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(Application->GetModalLevel(), 0);
  EXPECT_EQ(begun, 1);
  EXPECT_EQ(ended, 1);
}
