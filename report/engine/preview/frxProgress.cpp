#include "report/engine/preview/frxProgress.h"

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Font.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/comctrls/ProgressBar.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/win/WinUser.h"
#include "report/engine/model/frxRes.h"

// ==== TfrxProgress =============================================================================

TfrxProgress::TfrxProgress(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxProgress");
  SetBorderStyle(bsNone);
  SetPosition(poScreenCenter);
  SetClientSize(271, 101);
  FPanel = new TPanel(this);
  FPanel->SetName("Panel");
  FPanel->SetParent(this);
  FPanel->SetAlign(alClient);
  FPanel->SetBevelOuter(bvRaised);
  FPanel->SetCaption("");
  FMessage = new TLabel(this);
  FMessage->SetName("LMessage");
  FMessage->SetParent(FPanel);
  FMessage->SetAutoSize(false);
  FMessage->SetAlignment(taCenter);
  FMessage->GetFont()->SetName("Tahoma");
  FMessage->SetBounds(16, 11, 237, 20);
  FBar = new TProgressBar(this);
  FBar->SetName("Bar");
  FBar->SetParent(FPanel);
  FBar->SetBounds(16, 37, 237, 17);
  FBar->SetMax(100);
  FBar->SetPosition(0);
  FCancelB = new TButton(this);
  FCancelB->SetName("CancelB");
  FCancelB->SetParent(FPanel);
  FCancelB->SetBounds(100, 64, 75, 25);
  FCancelB->SetCaption("Cancel");
  FCancelB->SetCancel(true);
  FCancelB->OnClick = [this](TObject*) {
    FCancelled = true;
    Hide();
  };
  frxRes::frxResources()->ApplyFormTexts(this);
  if (Forms::Screen) FDisabledForm = Forms::Screen->GetActiveCustomForm();
  if (FDisabledForm == this) FDisabledForm = nullptr;
  if (FDisabledForm) FDisabledForm->SetEnabled(false);
}

TfrxProgress::~TfrxProgress()
{
  if (FDisabledForm) FDisabledForm->SetEnabled(true);
}

void TfrxProgress::Execute(Integer MaxValue, const AnsiString& Message, bool ShowBar, bool ShowCancel)
{
  FCancelled = false;
  FCancelB->SetVisible(ShowCancel);
  FBar->SetVisible(ShowBar);
  FMessage->SetTop(ShowBar ? 15 : 35);
  FBar->SetPosition(0);
  FBar->SetMax(MaxValue);
  SetMessageText(Message);
  Show();
  if (Forms::Application) Forms::Application->ProcessMessages();
}

void TfrxProgress::SetMessageText(const AnsiString& Text)
{
  FMessage->SetCaption(Text);
  FMessage->Repaint();
}

void TfrxProgress::SetBarValue(Integer Value)
{
  FBar->SetPosition(Value);
  BringToFront();
  if (Forms::Application) Forms::Application->ProcessMessages();
}

Integer TfrxProgress::GetBarValue() const { return FBar->GetPosition(); }

void TfrxProgress::DoHide()
{
  TForm::DoHide();
  if (FDisabledForm) FDisabledForm->SetEnabled(true);
  FDisabledForm = nullptr;
}

void TfrxProgress::Dispatch(TMessage& Message)
{
  TForm::Dispatch(Message);
  // Dragged by its body.
  if (Message.Msg == WM_NCHITTEST && Message.Result == HTCLIENT) Message.Result = HTCAPTION;
}

// ==== TfrxPasswordForm =========================================================================

TfrxPasswordForm::TfrxPasswordForm(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxPasswordForm");
  SetBorderStyle(bsDialog);
  SetPosition(poDesktopCenter);
  SetClientSize(249, 99);
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  FPasswordL = new TLabel(this);
  FPasswordL->SetName("PasswordL");
  FPasswordL->SetParent(this);
  FPasswordL->SetAutoSize(false);
  FPasswordL->SetBounds(4, 8, 241, 13);
  FPasswordE = new TEdit(this);
  FPasswordE->SetName("PasswordE");
  FPasswordE->SetParent(this);
  FPasswordE->SetBounds(4, 28, 241, 21);
  FPasswordE->SetPasswordChar('*');
  FOkB = new TButton(this);
  FOkB->SetName("OkB");
  FOkB->SetParent(this);
  FOkB->SetBounds(88, 68, 75, 25);
  FOkB->SetDefault(true);
  FOkB->SetModalResult(mrOk);
  FCancelB = new TButton(this);
  FCancelB->SetName("CancelB");
  FCancelB->SetParent(this);
  FCancelB->SetBounds(168, 68, 75, 25);
  FCancelB->SetCancel(true);
  FCancelB->SetModalResult(mrCancel);
  frxRes::frxResources()->ApplyFormTexts(this);
  SetActiveControl(FPasswordE);
}

PELTO_DEFINE_CLASS(TfrxProgress)

PELTO_DEFINE_CLASS(TfrxPasswordForm)
