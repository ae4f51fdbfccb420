#include "ui/AppWindows.h"

#include "platform/forms/app/Application.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/menus/Menus.h"
#include "ui/Desktop.h"
#include "ui/Main.h"
#include "ui/Pub.h"

void TAppWindows::CreateForms()
{
  Forms::Application->CreateForm(FPub);
  Forms::Application->CreateForm(FMain);
}

bool TAppWindows::LoginAndOpenDesktop() { return FMain->LoginAndOpenDesktop(); }

void TAppWindows::ShowMainForm()
{
  // Maximized once shown: a window made with the maximized style would keep its stored size.
  FMain->Show();
  FMain->SetWindowState(wsMaximized);
}

namespace {
// A menu command run by the road: its exceptions go where a click's would.
template <class F>
void AsCommand(F Command)
{
  try {
    Command();
  } catch (...) {
    Forms::Application->HandleException(nullptr);
  }
}
}  // namespace

void TAppWindows::CompanyCommand()
{
  AsCommand([this] { FMain->miCompany1->Click(); });
}

void TAppWindows::TipCommand()
{
  AsCommand([this] { FMain->miTip1->Click(); });
}

void TAppWindows::FreeDesktop()
{
  delete MainWindow::DesktopFrm;
  MainWindow::DesktopFrm = nullptr;
}

void TAppWindows::CloseMainForm() { FMain->Close(); }

void TAppWindows::RunMessageLoop() { Forms::Application->Run(); }
