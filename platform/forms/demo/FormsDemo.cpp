// The forms on the desktop back end: an MDI main form with two child forms, a modal dialog with
// three edit boxes and OK / Cancel buttons (F2), a borderless form resized by its edges (F3), and
// a new caption for the main form (F4). It reports what happens on standard output, one line each, so that a script can drive
// it (the Xvfb test does) and wait on each step. F12 saves a screenshot taken through the back
// end to the path given as the first argument and ends the program.
#include <cstdio>
#include <string>

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/window/Windows.h"

namespace {

std::string gShotPath;

void Say(const std::string& line)
{
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Hex(const AnsiString& s)
{
  std::string out;
  char buf[4];
  for (unsigned char c : s) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    out += buf;
  }
  return out;
}

std::string Rect(HWND wnd)
{
  RECT r;
  Windows::GetWindowRect(wnd, &r);
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
         std::to_string(r.bottom - r.top);
}

// An edit box: the system EDIT class under a control of its own.
class TDemoEdit : public TWinControl {
public:
  explicit TDemoEdit(TComponent* AOwner) : TWinControl(AOwner)
  {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    OnEnter = [this](TObject*) { Say("focus " + GetName()); };
  }

protected:
  void CreateParams(TCreateParams& Params) override
  {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "EDIT");
    Params.Style |= ES_AUTOHSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

// A push button: the system BUTTON class; Enter clicks the default one, Escape the cancel one.
class TDemoButton : public TWinControl {
public:
  explicit TDemoButton(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }
  bool Default = false, Cancel = false;
  TModalResult ModalResult = mrNone;
  void Click() override
  {
    TWinControl::Click();
    if (TCustomForm* form = GetParentForm(); form && ModalResult != mrNone) form->SetModalResult(ModalResult);
  }

protected:
  void CreateParams(TCreateParams& Params) override
  {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "BUTTON");
    Params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  }
  void Dispatch(TMessage& Message) override
  {
    if (Message.Msg == CM_DIALOGKEY &&
        ((Message.WParam == VK_RETURN && Default) || (Message.WParam == VK_ESCAPE && Cancel))) {
      Click();
      Message.Result = 1;
      return;
    }
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
      Click();
      return;
    }
    TWinControl::Dispatch(Message);
  }
};

TForm* gMain = nullptr;

void Place(TControl* c, TWinControl* parent, int x, int y, int w, int h)
{
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
}

TForm* MakeChild(const char* name, const char* caption)
{
  auto* f = new TForm(Forms::Application);
  f->SetName(name);
  f->SetCaption(caption);
  f->SetBounds(0, 0, 320, 200);
  auto* edit = new TDemoEdit(f);
  edit->SetName(AnsiString(name) + "Edit");
  Place(edit, f, 10, 10, 200, 22);
  f->SetFormStyle(fsMDIChild);
  return f;
}

void RunDialog()
{
  TForm dialog(nullptr);
  dialog.SetCaption("合同信息");
  dialog.SetBorderStyle(bsDialog);
  dialog.SetPosition(poMainFormCenter);
  dialog.SetClientSize(360, 170);
  dialog.GetFont()->SetName("宋体");
  dialog.GetFont()->SetSize(9);
  TDemoEdit* edits[3];
  for (int i = 0; i < 3; ++i) {
    edits[i] = new TDemoEdit(&dialog);
    edits[i]->SetName("Edit" + std::to_string(i + 1));
    Place(edits[i], &dialog, 12, 12 + i * 30, 336, 22);
  }
  auto* ok = new TDemoButton(&dialog);
  ok->SetCaption("确定(&O)");
  ok->Default = true;
  ok->ModalResult = mrOk;
  Place(ok, &dialog, 190, 132, 75, 25);
  ok->SetAnchors(TAnchors{akRight, akBottom});
  auto* cancel = new TDemoButton(&dialog);
  cancel->SetCaption("取消");
  cancel->Cancel = true;
  cancel->ModalResult = mrCancel;
  Place(cancel, &dialog, 273, 132, 75, 25);
  cancel->SetAnchors(TAnchors{akRight, akBottom});
  dialog.SetActiveControl(edits[0]);
  dialog.OnShow = [&](TObject*) { Say("dialog " + Rect(dialog.GetHandle())); };
  int result = dialog.ShowModal();
  Say("closed " + std::to_string(result) + " " + Hex(edits[2]->GetText()));
}

// Resized by its edges: corners 10 pixels square, edges 5 pixels wide.
class TBorderlessForm : public TForm {
public:
  explicit TBorderlessForm(TComponent* AOwner) : TForm(AOwner)
  {
    SetBorderStyle(bsNone);
    SetColor(clInfoBk);
    OnResize = [this](TObject*) {
      if (HandleAllocated()) Say("resized " + Rect(GetHandle()));
    };
  }

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_NCHITTEST && GetBorderStyle() == bsNone) {
      POINT p = ScreenToClient(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      int w = GetWidth(), h = GetHeight();
      LRESULT hit = p.x < 10 && p.y < 10           ? HTTOPLEFT
                    : p.x > w - 10 && p.y < 10     ? HTTOPRIGHT
                    : p.x > w - 10 && p.y > h - 10 ? HTBOTTOMRIGHT
                    : p.x < 10 && p.y > h - 10     ? HTBOTTOMLEFT
                    : p.x <= 4                     ? HTLEFT
                    : p.y <= 4                     ? HTTOP
                    : p.x > w - 5                  ? HTRIGHT
                    : p.y > h - 5                  ? HTBOTTOM
                                                   : 0;
      if (hit) {
        Message.Result = hit;
        return;
      }
    }
    TForm::WndProc(Message);
  }
};

void ShowBorderless()
{
  auto* f = new TBorderlessForm(Forms::Application);
  f->SetBounds(520, 140, 220, 120);
  f->Show();
  Say("borderless " + Rect(f->GetHandle()));
}

void TakeShot() { Say(SdlBackend::SaveScreenshot(gShotPath) ? "shot" : "shot failed"); }

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "forms_demo.png";
  std::string err;
  if (!SdlBackend::Start(&err)) {
    std::fprintf(stderr, "no display: %s\n", err.c_str());
    return 2;
  }
  Forms::InitializeApplication();
  TApplication* app = Forms::Application;
  app->Initialize();
  app->SetTitle("澜岳合同管理系统");
  app->CreateForm(gMain);
  gMain->SetCaption("澜岳合同管理系统");
  gMain->SetBounds(40, 40, 700, 480);
  gMain->SetFormStyle(fsMDIForm);
  gMain->Show();
  MakeChild("Hetong", "合同管理");
  TForm* last = MakeChild("Client", "客户管理");
  gMain->Cascade();
  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN) return;
    switch (msg.wParam) {
      case VK_F2:
        handled = true;
        RunDialog();
        break;
      case VK_F3:
        handled = true;
        ShowBorderless();
        break;
      case VK_F4:
        // A new caption: the desktop's title of the native window follows.
        handled = true;
        gMain->SetCaption("澜岳合同管理系统 saved");
        Say("caption");
        break;
      case VK_F12:
        handled = true;
        TakeShot();
        Forms::Application->Terminate();
        break;
      default: break;
    }
  };
  Say("ready main " + Rect(gMain->GetHandle()) + " child " + Rect(last->GetHandle()));
  app->Run();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
