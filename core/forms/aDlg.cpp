#include "core/forms/aDlg.h"

#include "core/forms/FormParts.h"
#include "platform/stdctrls/buttons/Button.h"

namespace {

TButton* DialogButton(TaFrm* Form, const char* Name, const char* Caption, int Right, TModalResult Result)
{
  auto* b = new TButton(Form);
  b->SetName(Name);
  b->SetCaption(Caption);
  b->SetModalResult(Result);
  FormParts::Place(b, Form, Form->GetClientWidth() - Right, Form->GetClientHeight() - 36, 75, 25);
  b->SetAnchors(TAnchors{akRight, akBottom});
  return b;
}

}  // namespace

TADlgFrm::TADlgFrm(TComponent* AOwner) : TaFrm(AOwner)
{
  SetBorderStyle(bsDialog);
  SetPosition(poOwnerFormCenter);
  SetClientSize(469, 270);
  BgBevel1 = FormParts::BottomLine(this, "BgBevel1", 48);
  OkBtn1 = DialogButton(this, "OkBtn1", "确定(&O)", 252, mrOk);
  OkBtn1->SetDefault(true);
  OkBtn1->OnClick = [this](TObject* S) { OkBtn1Click(S); };
  CancelBtn1 = DialogButton(this, "CancelBtn1", "取消", 170, mrCancel);
  CancelBtn1->SetCancel(true);
  CancelBtn1->OnClick = [this](TObject* S) { CancelBtn1Click(S); };
  HelpBtn1 = DialogButton(this, "HelpBtn1", "帮助", 88, mrNone);
  HelpBtn1->OnClick = [this](TObject* S) { HelpBtn1Click(S); };
}

void TADlgFrm::OkBtn1Click(TObject*) { SetModalResult(mrOk); }
void TADlgFrm::CancelBtn1Click(TObject*) { SetModalResult(mrCancel); }
void TADlgFrm::HelpBtn1Click(TObject*) { ShowHelp(AnsiString()); }

TAInfoDlgFrm::TAInfoDlgFrm(TComponent* AOwner) : TaFrm(AOwner)
{
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetClientSize(469, 265);
  BgBevel1 = FormParts::BottomLine(this, "BgBevel1", 48);
  CloseBtn1 = DialogButton(this, "CloseBtn1", "关闭", 170, mrCancel);
  CloseBtn1->SetCancel(true);
  CloseBtn1->OnClick = [this](TObject* S) { CloseBtn1Click(S); };
  HelpBtn1 = DialogButton(this, "HelpBtn1", "帮助", 88, mrNone);
  HelpBtn1->OnClick = [this](TObject* S) { HelpBtn1Click(S); };
}

void TAInfoDlgFrm::CloseBtn1Click(TObject*) { Close(); }
void TAInfoDlgFrm::HelpBtn1Click(TObject*) { ShowHelp(AnsiString()); }

PELTO_DEFINE_CLASS(TADlgFrm)

PELTO_DEFINE_CLASS(TAInfoDlgFrm)
