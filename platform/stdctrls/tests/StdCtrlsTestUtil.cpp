#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"

void AppFormsFixture::SetUp()
{
  FormsTest::SetUp();
  Forms::FinalizeApplication();
  Forms::InitializeApplication();
  Menus::Initialize();
}

void AppFormsFixture::TearDown()
{
  Dialogs::Finalize();
  FormsTest::TearDown();
  Forms::FinalizeApplication();
}

void SaveScreenPng(RECT From, const char* Name, TPixelCanvas& Into)
{
  CaptureScreenRect(From, Into);
  WritePng(Into, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
}

bool SavePopupMenuPng(TPopupMenu* Menu, TForm* Form, int X, int Y, const char* Name, TPixelCanvas& Into)
{
  RECT formRect;
  Windows::GetWindowRect(Form->GetHandle(), &formRect);
  bool taken = false;
  // The first item lights up with its hint: the menu is on the screen.
  Forms::Application->OnHint = [&](TObject*) {
    if (taken || Forms::Application->GetHint().empty()) return;
    taken = true;
    // The menu paints its lit item when its loop next runs; the picture wants it now.
    Windows::UpdateWindow(Windows::WindowFromPoint(POINT{formRect.left + X + 10, formRect.top + Y + 10}));
    SaveScreenPng(formRect, Name, Into);
  };
  InputQueue::KeyDown(VK_DOWN);
  InputQueue::KeyDown(VK_ESCAPE);
  Menu->Popup(formRect.left + X, formRect.top + Y);
  Controls::ProcessMessages();
  Forms::Application->OnHint = nullptr;
  return taken;
}

void ClickClient(TControl* C, POINT Client, int Clicks)
{
  POINT p = C->ClientToScreen(Client);
  Headless::AdvanceTime(1000);
  InputQueue::MouseMove(p.x, p.y);
  for (int i = 0; i < Clicks; ++i) {
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  }
}
