// The application object with forms: the first form made becomes the main form and Run ends
// when it closes; the screen lists forms and data modules, follows the active form and finds
// them by name for stored references; the hint shows after its pause with what CM_HINTSHOW made
// of it and goes with a click; idle time tells OnHint the hint under the mouse and updates the
// actions of the visible forms.
#include <fstream>
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
#include "platform/forms/forms/HintWindow.h"
#include "platform/forms/tests/AppTestUtil.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Icons.h"
#include "platform/win/caret/Cursors.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using Forms::Application;
using Forms::Screen;

namespace {

// A hint window that records what it was asked to show.
class TRecordingHintWindow : public THintWindow {
  PELTO_CLASS(TRecordingHintWindow, THintWindow)
public:
  explicit TRecordingHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  void ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData) override
  {
    Shown().push_back({Rect, AHint, AData});
    THintWindow::ActivateHintData(Rect, AHint, AData);
  }
  struct Entry {
    RECT Rect;
    AnsiString Text;
    void* Data;
  };
  static std::vector<Entry>& Shown()
  {
    static std::vector<Entry> shown;
    return shown;
  }
};

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
  void SetUp() override
  {
    AppTest::SetUp();
    TRecordingHintWindow::Shown().clear();
    Application->SetHintWindowClass(TRecordingHintWindow::StaticClass());
  }
  // A visible form at (100, 100) with a hinted control at (20, 20) sized 80 x 30.
  THintedControl* HintedForm(const char* Hint)
  {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBounds(100, 100, 300, 200);
    auto* control = new THintedControl(form);
    control->SetParent(form);
    control->SetBounds(20, 20, 80, 30);
    control->SetHint(Hint);
    control->SetShowHint(true);
    form->Show();
    Application->ProcessMessages();
    return control;
  }
  // Moves the mouse over a point of Control's client area and lets the messages run.
  void MoveOver(TControl* Control, int X, int Y)
  {
    POINT p = Control->ClientToScreen(POINT{X, Y});
    InputQueue::MouseMove(p.x, p.y);
    Application->ProcessMessages();
  }
  void Wait(DWORD Ms)
  {
    Headless::AdvanceTime(Ms);
    Application->ProcessMessages();
  }
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

TEST_F(AppFormsTest, ActiveControlChangeFollowsFocusAcrossFormsAndFreedControls)
{
  TForm* a = nullptr;
  TForm* b = nullptr;
  Application->CreateForm(a);
  Application->CreateForm(b);
  auto focusable = [](TForm* form, int top) {
    auto* c = new THintedControl(form);
    c->SetParent(form);
    c->SetBounds(10, top, 50, 20);
    c->SetTabStop(true);
    return c;
  };
  THintedControl* a1 = focusable(a, 10);
  THintedControl* a2 = focusable(a, 40);
  THintedControl* b1 = focusable(b, 10);
  a->Show();
  Application->ProcessMessages();

  std::vector<TWinControl*> seen;
  Screen->OnActiveControlChange = [&](TObject*) { seen.push_back(Screen->GetActiveControl()); };
  struct Step {
    std::function<void()> Do;
    TWinControl* Expected;  // the active control the event reported
  };
  const Step steps[] = {
      {[&] { a1->SetFocus(); }, a1},
      {[&] { a2->SetFocus(); }, a2},
      {[&] {
         b->Show();
         b1->SetFocus();
       },
       b1},
      {[&] { a->SetFocus(); }, a2},
      {[&] { delete a2; }, nullptr},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    seen.clear();
    steps[i].Do();
    Application->ProcessMessages();
    ASSERT_FALSE(seen.empty()) << "step " << i;
    EXPECT_EQ(seen.back(), steps[i].Expected) << "step " << i;
    EXPECT_EQ(Screen->GetActiveControl(), steps[i].Expected) << "step " << i;
  }
  seen.clear();
  a1->SetFocus();
  a1->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(seen.size(), 1u) << "focusing the focused control again reports nothing";
  Screen->OnActiveControlChange = nullptr;
}

TEST_F(AppFormsTest, TheDragCursorsArePicturesOfTheirOwn)
{
  struct Case {
    TCursor Cursor;
    POINT Sheet;     // a point on the (front) sheet's white
    POINT BackEdge;  // the edge of the third sheet, black only for several sheets
    bool Several;
  };
  const Case cases[] = {{crDrag, {12, 21}, {18, 31}, false}, {crMultiDrag, {12, 21}, {18, 31}, true}};
  for (const Case& c : cases) {
    HCURSOR h = Screen->GetCursors(c.Cursor);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Windows::StandardCursorId(h), 0) << "drawn, not the arrow";
    HDC dc = Windows::CreateCompatibleDC(nullptr);
    HBITMAP bmp = Windows::CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ old = Windows::SelectObject(dc, bmp);
    RECT all{0, 0, 32, 32};
    HBRUSH grey = Windows::CreateSolidBrush(RGB(128, 128, 128));
    Windows::FillRect(dc, &all, grey);
    Windows::DrawIconEx(dc, 0, 0, h, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(Windows::GetPixel(dc, 0, 0), RGB(0, 0, 0)) << "the arrow's tip";
    EXPECT_EQ(Windows::GetPixel(dc, 2, 5), RGB(255, 255, 255)) << "inside the arrow";
    EXPECT_EQ(Windows::GetPixel(dc, 30, 2), RGB(128, 128, 128)) << "clear beside it";
    EXPECT_EQ(Windows::GetPixel(dc, c.Sheet.x, c.Sheet.y), RGB(255, 255, 255)) << "the sheet";
    EXPECT_EQ(Windows::GetPixel(dc, c.BackEdge.x, c.BackEdge.y) == RGB(0, 0, 0), c.Several);
    Windows::SelectObject(dc, old);
    Windows::DeleteObject(bmp);
    Windows::DeleteObject(grey);
    Windows::DeleteDC(dc);
  }
}

TEST_F(AppFormsTest, IdleTellsOnHintTheLongHintUnderTheMouse)
{
  THintedControl* control = HintedForm("合同|合同的详细说明");
  TControl* form = control->GetParent();
  form->SetHint("窗体");
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

TEST_F(AppFormsTest, HintShowsAfterThePauseWithWhatHintShowMadeOfIt)
{
  THintedControl* control = HintedForm("合同|合同的详细说明");
  std::vector<AnsiString> hints;
  Application->OnHint = [&](TObject*) { hints.push_back(Application->GetHint()); };
  control->OnHintShow = [](THintInfo& Info, LRESULT&) { Info.HintStr = Info.HintStr + " (已改)"; };

  MoveOver(control, 10, 10);
  Wait(Application->GetHintPause() - 20);
  EXPECT_TRUE(TRecordingHintWindow::Shown().empty()) << "not before the pause";
  Wait(40);
  ASSERT_EQ(TRecordingHintWindow::Shown().size(), 1u);
  auto& shown = TRecordingHintWindow::Shown()[0];
  EXPECT_EQ(shown.Text, "合同 (已改)") << "the short part, as CM_HINTSHOW changed it";
  POINT cursor = control->ClientToScreen(POINT{10, 10});
  EXPECT_EQ(shown.Rect.left, cursor.x);
  EXPECT_GT(shown.Rect.top, cursor.y) << "below the cursor";
  EXPECT_NE(dynamic_cast<TRecordingHintWindow*>(Application->GetHintWindow()), nullptr);

  // Idle time passes the long part to OnHint.
  Application->OnIdle = [](TObject*, bool& Done) { Done = false; };
  Application->HandleMessage();
  ASSERT_FALSE(hints.empty());
  EXPECT_EQ(hints.back(), "合同的详细说明");
}

TEST_F(AppFormsTest, HintShowMayChooseTheHintWindowClass)
{
  Application->SetHintWindowClass(nullptr);
  THintedControl* control = HintedForm("合同");
  control->OnHintShow = [](THintInfo& Info, LRESULT&) { Info.HintWindowClass = TRecordingHintWindow::StaticClass(); };
  MoveOver(control, 10, 10);
  Wait(Application->GetHintPause() + 20);
  ASSERT_EQ(TRecordingHintWindow::Shown().size(), 1u);
  EXPECT_NE(dynamic_cast<TRecordingHintWindow*>(Application->GetHintWindow()), nullptr);
}

TEST_F(AppFormsTest, HintPauseAndRefusalComeFromTheControl)
{
  THintedControl* control = HintedForm("提示");
  control->Pause = 0;
  MoveOver(control, 5, 5);
  Wait(10);
  EXPECT_EQ(TRecordingHintWindow::Shown().size(), 1u) << "a pause of 0 shows at once";

  Application->CancelHint();
  TRecordingHintWindow::Shown().clear();
  control->OnHintShow = [](THintInfo&, LRESULT& Result) { Result = 1; };
  MoveOver(control, 6, 6);
  Wait(20);
  EXPECT_TRUE(TRecordingHintWindow::Shown().empty()) << "a non-zero answer refuses the hint";

  control->OnHintShow = nullptr;
  Application->SetShowHint(false);
  MoveOver(control, 7, 7);
  Wait(Application->GetHintPause() + 10);
  EXPECT_TRUE(TRecordingHintWindow::Shown().empty()) << "ShowHint off shows none";
}

TEST_F(AppFormsTest, OnShowHintMayRefuseOrChange)
{
  THintedControl* control = HintedForm("原文");
  control->Pause = 0;
  Application->OnShowHint = [](AnsiString& HintStr, bool& CanShow, THintInfo&) { HintStr = "换了"; };
  MoveOver(control, 5, 5);
  Wait(10);
  ASSERT_EQ(TRecordingHintWindow::Shown().size(), 1u);
  EXPECT_EQ(TRecordingHintWindow::Shown()[0].Text, "换了");
}

TEST_F(AppFormsTest, HintWindowShowsUnderTheMouseAndGoesWithAClickOrItsTime)
{
  Application->SetHintWindowClass(nullptr);
  THintedControl* control = HintedForm("合同编号|按合同编号查找");
  control->Pause = 0;
  control->OnHintShow = [](THintInfo& Info, LRESULT&) { Info.HintStr = "合同编号 (Ctrl+F)"; };
  MoveOver(control, 30, 15);
  Wait(10);
  THintWindow* window = Application->GetHintWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->HandleAllocated());
  EXPECT_TRUE(Windows::IsWindowVisible(window->GetHandle()));
  EXPECT_EQ(window->GetCaption(), "合同编号 (Ctrl+F)");
  RECT r;
  Windows::GetWindowRect(window->GetHandle(), &r);
  POINT cursor = control->ClientToScreen(POINT{30, 15});
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_GT(r.top, cursor.y);
  EXPECT_EQ(Headless::ScreenPixel(r.right - 3, r.top + 2), Graphics::ColorToRGB(clInfoBk));

  HBITMAP shot = Headless::CaptureScreen();
  auto png = PngFile::SavePng(shot);
  Windows::DeleteObject(shot);
  std::ofstream(std::string(PELTO_TEST_OUTPUT) + "/hint.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

  InputQueue::MouseDown(InputQueue::Button::Left, cursor.x, cursor.y);
  InputQueue::MouseUp(InputQueue::Button::Left, cursor.x, cursor.y);
  Application->ProcessMessages();
  EXPECT_FALSE(Windows::IsWindowVisible(window->GetHandle())) << "a click takes the hint down";

  // Shown again (the mouse moved inside the control), then gone after the hide pause.
  MoveOver(control, 40, 15);
  Wait(10);
  ASSERT_TRUE(Windows::IsWindowVisible(window->GetHandle()));
  Wait(Application->GetHintHidePause() + 10);
  EXPECT_FALSE(Windows::IsWindowVisible(window->GetHandle()));
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

TEST_F(AppFormsTest, ModalLoopNobodyCanEndFailsInsteadOfHanging)
{
  TForm* dialog = nullptr;
  Application->CreateForm(dialog);
  EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
  EXPECT_FALSE(dialog->GetVisible());
  EXPECT_EQ(Application->GetModalLevel(), 0);
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
