#include "controls/framework/tests/ControlTestUtil.h"

#include "controls/framework/FrameworkModule.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/backend/Headless.h"

void cxWindowTest::SetUp()
{
  Headless::Start(1024, 768);
  Controls::Initialize();
  Forms::InitializeApplication();
  FrameworkModule::Initialize();
  Owner = std::make_unique<TComponent>(nullptr);
  Form = new TForm(Owner.get());
  Form->SetBounds(100, 100, 500, 400);
  Form->Show();
  Pump();
}

void cxWindowTest::TearDown()
{
  Owner.reset();
  FrameworkModule::Finalize();
  Forms::FinalizeApplication();
  Headless::Start(1024, 768);
}

void cxWindowTest::Pump() { Controls::ProcessMessages(); }

void cxWindowTest::Wait(unsigned Ms)
{
  Headless::AdvanceTime(Ms);
  Pump();
}

void cxWindowTest::MoveTo(TControl* C, int X, int Y, bool Handle)
{
  POINT p = Screen(C, X, Y);
  InputQueue::MouseMove(p.x, p.y);
  if (Handle) Pump();
}

void cxWindowTest::Press(TControl* C, int X, int Y, InputQueue::Button B, bool Handle)
{
  POINT p = Screen(C, X, Y);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(B, p.x, p.y);
  if (Handle) Pump();
}

void cxWindowTest::Release(TControl* C, int X, int Y, InputQueue::Button B, bool Handle)
{
  POINT p = Screen(C, X, Y);
  InputQueue::MouseUp(B, p.x, p.y);
  if (Handle) Pump();
}

void cxWindowTest::Click(TControl* C, int X, int Y)
{
  Press(C, X, Y, InputQueue::Button::Left, false);
  Release(C, X, Y);
}

void cxWindowTest::Key(int VKey)
{
  InputQueue::KeyDown(VKey);
  InputQueue::KeyUp(VKey);
  Pump();
}

void cxWindowTest::KeyWith(int VKey, std::initializer_list<int> Modifiers)
{
  for (int m : Modifiers) InputQueue::KeyDown(m);
  InputQueue::KeyDown(VKey);
  InputQueue::KeyUp(VKey);
  for (int m : Modifiers) InputQueue::KeyUp(m);
  Pump();
}

void cxWindowTest::Type(const char* Text)
{
  InputQueue::Text(Text);
  Pump();
}
