// The report's prepare operation: data-set check, script set-up, the engine's run and the
// reload that undoes what the script changed in the template.
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/run/frxEngine.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/interp/fs_istatements.h"

bool TfrxReport::PrepareReport(bool ClearLastReport)
{
  if (!FPreviewPages) SetPreviewPages(std::make_unique<TfrxPreviewPages>(this));
  if (!FEngine) SetEngine(std::make_unique<TfrxEngine>(this));
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
