// The report's prepare operation: data-set check, script set-up, the engine's run and the
// reload that undoes what the script changed in the template.
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Timer.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxCustomPreview.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/run/frxEngine.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/interp/fs_istatements.h"

namespace {

void MakeRunObjects(TfrxReport* Report)
{
  if (!Report->GetPreviewPages()) Report->SetPreviewPages(std::make_unique<TfrxPreviewPages>(Report));
  if (!Report->GetEngine()) Report->SetEngine(std::make_unique<TfrxEngine>(Report));
}

void LetMessagesRun()
{
  if (Forms::Application) Forms::Application->ProcessMessages();
}

}  // namespace

bool TfrxReport::PrepareReport(bool ClearLastReport)
{
  MakeRunObjects(this);
  if (ClearLastReport) FPreviewPages->Clear();
  FErrors->Clear();
  FTerminated = false;
  bool result = false;

  for (int i = 0; i < FDataSets->GetCount(); ++i)
    if (!FDataSets->GetItems(i)->GetDataSet())
      FErrors->Add(SysUtils::Format(frxRes::Get("clDSNotExist"), {FDataSets->GetItems(i)->GetDataSetName()}));

  if (FErrors->GetCount() == 0) {
    TMemoryStream saved;
    bool restore = FEngineOptions->RestoreAfterRun;
    if (restore) SaveToStream(&saved, true, false);
    try {
      if (OnBeginDoc) OnBeginDoc(this);
      if (PrepareScript()) {
        if (FScript->GetStatements() && FScript->GetStatements()->GetCount() > 0) FScript->Execute();
        result = FEngine->Run();
        if (!result && PreviewForm) PreviewForm->ClosePreview();
      }
    } catch (const Exception& e) {
      FErrors->Add(e.Message());
    }
    if (restore) {
      AnsiString errors = FErrors->GetText();
      Reloading = true;
      struct TReloading {
        bool& Flag;
        ~TReloading() { Flag = false; }
      } reloading{Reloading};
      saved.SetPosition(0);
      LoadFromStream(&saved);
      FErrors->SetText(errors);
    }
  }
  if (FErrors->GetCount() > 0) {
    result = false;
    if (!FEngineOptions->SilentMode) frxUtils::ShowErrorBox(frxRes::Get("clErrors") + "\r\n" + FErrors->GetText());
  }
  return result;
}

// ---- Progress ---------------------------------------------------------------------------------

void TfrxReport::ProgressStart(Integer ProgressType)
{
  if (OnProgressStart) OnProgressStart(this, ProgressType, 0);
  if (ProgressType == 0 && !OldStyleProgress) {
    if (FPreview) FPreview->ProgressStarted();
  } else if (ShowProgress) {
    FProgress.reset();
    FProgress = frxCustomPreview::ReportWindows().Current().NewProgress();
    if (FProgress) FProgress->Execute(0, AnsiString(), false, true);
  }
  LetMessagesRun();
}

void TfrxReport::Progress(Integer ProgressType, Integer Value)
{
  if (OnProgress) OnProgress(this, ProgressType, Value);
  if (ProgressType == 0 && !OldStyleProgress) {
    if (FPreview) FPreview->ProgressChanged(Value - 1);
  } else if (ShowProgress && FProgress) {
    const char* key = ProgressType == 1               ? "prExporting"
                      : ProgressType == 2             ? "prPrinting"
                      : FEngine && FEngine->FinalPass ? "prRunning"
                                                      : "prRunningFirst";
    FProgress->SetMessageText(SysUtils::Format(frxRes::Get(key), {Value}));
    if (FProgress->GetCancelled()) SetTerminated(true);
  }
  LetMessagesRun();
}

void TfrxReport::ProgressStop(Integer ProgressType)
{
  if (OnProgressStop) OnProgressStop(this, ProgressType, 0);
  if (OldStyleProgress || ProgressType != 0) {
    if (ShowProgress) FProgress.reset();
  } else if (FPreview) {
    FPreview->ProgressStopped();
  }
  LetMessagesRun();
}

void TfrxReport::SetProgressMessage(const AnsiString& Text)
{
  ProgressMessage = Text;
  bool running = FEngine && FEngine->Running;
  if (!OldStyleProgress || !running) {
    if (PreviewForm) PreviewForm->SetStatusText(Text);
  } else if (ShowProgress && FProgress) {
    FProgress->SetMessageText(Text);
  }
}

// ---- Showing ----------------------------------------------------------------------------------

void TfrxReport::SetPreview(TfrxCustomPreview* Value)
{
  if (FPreview && FPreview != Value) FPreview->Detach();
  if (!Value) PreviewForm = nullptr;
  FPreview = Value;
  if (!Value) return;
  MakeRunObjects(this);
  Value->Report = this;
  Value->PreviewPages = FPreviewPages.get();
  Value->InitPreview();
}

void TfrxReport::ShowPreparedReport()
{
  PreviewForm = nullptr;
  if (FPreview)
    SetPreview(FPreview);
  else
    frxCustomPreview::ReportWindows().Current().ShowPreviewForm(this);
}

void TfrxReport::ShowReport(bool ClearLastReport)
{
  MakeRunObjects(this);
  if (ClearLastReport) FPreviewPages->Clear();
  if (OldStyleProgress) {
    if (PrepareReport(false)) ShowPreparedReport();
    return;
  }
  if (!FTimer) {
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(50);
    FTimer->SetOnTimer([this](TObject*) {
      FTimer->SetEnabled(false);
      PrepareReport(false);
    });
  }
  FTimer->SetEnabled(true);
  ShowPreparedReport();
}
