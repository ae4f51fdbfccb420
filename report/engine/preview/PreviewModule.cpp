#include "report/engine/preview/PreviewModule.h"

#include <memory>

#include "platform/forms/app/Screen.h"
#include "platform/rtl/Service.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/preview/frxCursors.h"
#include "report/engine/preview/frxPreview.h"
#include "report/engine/preview/frxPreviewForm.h"
#include "report/engine/preview/frxPrintDialog.h"
#include "report/engine/preview/frxProgress.h"
#include "report/engine/preview/frxrcPreview.h"

namespace PreviewModule {

namespace {

class TPreviewWindows : public IfrxReportWindows {
public:
  void ShowPreviewForm(TfrxReport* Report) override
  {
    bool modal = Report->GetPreviewOptions()->Modal;
    auto form = std::make_unique<TfrxPreviewForm>(nullptr);
    Report->SetPreview(form->GetPreview());
    Report->PreviewForm = form.get();
    form->Init();
    if (modal) {
      form->ShowModal();
      return;
    }
    // A modeless window frees itself when closed.
    form.release()->Show();
  }
  std::unique_ptr<IfrxProgressWindow> NewProgress() override { return std::make_unique<TfrxProgress>(nullptr); }
};

bool AskPassword(AnsiString& Password)
{
  TfrxPasswordForm form(nullptr);
  if (form.ShowModal() != mrOk) return false;
  Password = form.GetPasswordE()->GetText();
  return true;
}

bool Initialized = false;
std::unique_ptr<IfrxReportWindows> PreviousWindows;
std::unique_ptr<std::function<frxOptions::TPasswordFunc>> PreviousPassword;
std::unique_ptr<frxPrintDialog::TScopedPrintDialog> PrintDialog;

}  // namespace

void Initialize()
{
  if (Initialized) return;
  ReportEngineModule::Initialize();
  StdCtrls::Initialize();
  frxrcPreview::Initialize();
  PreviousWindows = frxCustomPreview::ReportWindows().Install(std::make_unique<TPreviewWindows>());
  PreviousPassword =
      frxOptions::PasswordService().Install(std::make_unique<std::function<frxOptions::TPasswordFunc>>(AskPassword));
  PrintDialog = std::make_unique<frxPrintDialog::TScopedPrintDialog>(frxPrintDialogForm::Execute);
  // The hand and magnifier cursors of the page surface; the screen frees them.
  if (Forms::Screen) {
    Forms::Screen->SetCursors(frxCursors::crHand, frxCursors::MakeHandCursor());
    Forms::Screen->SetCursors(frxCursors::crZoom, frxCursors::MakeZoomCursor());
  }
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  PrintDialog.reset();
  frxOptions::PasswordService().Install(std::move(PreviousPassword));
  frxCustomPreview::ReportWindows().Install(std::move(PreviousWindows));
  Initialized = false;
}

}  // namespace PreviewModule
