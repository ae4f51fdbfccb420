#include "report/script/tests/UiScriptTestUtil.h"

#include <string>

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/window/Windows.h"
#include "report/script/ScriptModule.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

void UiScriptTest::SetUp()
{
  Headless::Start(1024, 768);
  Forms::FinalizeApplication();
  Controls::Initialize();
  Forms::InitializeApplication();
  Forms::Application->SetTitle("澜岳合同管理系统");
  ScriptModule::Initialize();
}

void UiScriptTest::TearDown()
{
  // The scripts go first: their handlers must not run while the forms are freed.
  Scripts.clear();
  Forms::FinalizeApplication();
  InputQueue::Reset();
  Headless::Start(1024, 768);
}

TfsScript* UiScriptTest::Compile(const AnsiString& Lang, const AnsiString& Text)
{
  auto S = std::make_unique<TfsScript>(nullptr);
  S->ParentScript = fs_iinterpreter::GetGlobalScript();
  S->SetSyntaxType(Lang);
  S->GetLines()->SetText(Text);
  bool Ok = S->Compile();
  EXPECT_TRUE(Ok) << Lang << ": " << System::AnsiToUtf8(S->LastError) << " at " << S->LastErrorPos;
  Scripts.push_back(std::move(S));
  return Scripts.back().get();
}

AnsiString UiScriptTest::RunError(const AnsiString& Lang, const AnsiString& Text)
{
  TfsScript* S = Compile(Lang, Text);
  try {
    S->Execute();
  } catch (const Exception& E) {
    return E.Message();
  }
  return "";
}

Variant UiScriptTest::ValueOf(TfsScript* S, const AnsiString& Name)
{
  TfsCustomVariable* V = S->FindItem(Name);
  if (!V) throw Exception("no variable " + Name);
  return V->GetValue();
}

TObject* UiScriptTest::ObjectOf(TfsScript* S, const AnsiString& Name)
{
  return fs_ihandles::ObjectOf(ValueOf(S, Name));
}

void UiScriptTest::Pump() { Controls::ProcessMessages(); }

void UiScriptTest::QueueClick(TControl* C, POINT Client)
{
  POINT P = C->ClientToScreen(Client);
  Headless::AdvanceTime(1000);  // no double click with an earlier one
  InputQueue::MouseMove(P.x, P.y);
  InputQueue::MouseDown(InputQueue::Button::Left, P.x, P.y);
  InputQueue::MouseUp(InputQueue::Button::Left, P.x, P.y);
}

void UiScriptTest::SaveWindowPng(TWinControl* C, const char* Name)
{
  RECT R;
  Windows::GetWindowRect(C->GetHandle(), &R);
  TPixelCanvas Into(R.right - R.left, R.bottom - R.top);
  CaptureScreenRect(R, Into);
  WritePng(Into, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
}

void UiScriptTest::SaveBitmapPng(TBitmap* Bitmap, const char* Name)
{
  TPixelCanvas Into(Bitmap->GetWidth(), Bitmap->GetHeight());
  Windows::BitBlt(Into.DC, 0, 0, Bitmap->GetWidth(), Bitmap->GetHeight(), Bitmap->GetCanvas()->GetHandle(), 0, 0,
                  SRCCOPY);
  WritePng(Into, std::string(PELTO_TEST_OUTPUT) + "/" + Name);
}
