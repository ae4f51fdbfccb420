// The report component: the root of a report's tree. Its pages are its children; it owns (as
// platform owner) every object of the report, so names are unique within it. It keeps the data
// sets, variables and styles the report uses and its four option objects, and loads and saves
// itself as a ".fr3" file.
//
// Loading gathers the failures of a load in Errors (sorted, each text once) instead of raising,
// and shows them in one error box afterwards unless the engine options are silent. Preparing,
// showing, printing and designing come with the engine and the windows.
//
// Expressions: Calc evaluates one (a bare name through GetVariableValue, anything else compiled
// once by the expression cache in the context of the report's own script); PrepareScript sets
// that script up before a run; the Do*Event routines call the script procedures named in the
// objects' event properties.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxOptions.h"

class IfrxPreviewWindow;
class IfrxProgressWindow;
class TCustomIniFile;
class TfrxCustomEngine;
class TfrxCustomPreview;
class TfrxCustomPreviewPages;
class TTimer;
class TfrxPage;
class TfrxDataSet;
class TfrxDrawText;
class TfrxExpressionCache;
class TfrxReportDataSets;
class TfrxStyles;
class TfrxVariables;
class TfrxView;
class TfsCustomVariable;
class TfsScript;

class TfrxReport : public TfrxComponent {
  PELTO_DECLARE_CLASS(TfrxReport, TfrxComponent)
public:
  explicit TfrxReport(TComponent* AOwner);
  ~TfrxReport() override;

  AnsiString GetClassCaption() override;
  // Frees the pages, empties data sets, variables and styles, resets the options as each
  // option object's Clear says, and the script to its three lines.
  void Clear() override;

  // Errors emptied; engine and preview options (less what the file carries), IniFile,
  // OldStyleProgress and ShowProgress kept across the load; the password decoded and checked:
  // a wrong or cancelled one clears the report.
  void LoadFromStream(TStream* Stream) override;
  // Writes the password in its coded form; the one in memory stays plain.
  void SaveToStream(TStream* Stream, bool SaveChildren = true, bool SaveDefaultValues = false) override;
  // Clears the report, then loads FileName when it exists; answers whether it existed. A
  // missing file with ExceptionIfNotFound raises EFOpenError.
  bool LoadFromFile(const AnsiString& FileName, bool ExceptionIfNotFound = false);
  // Creates (or overwrites) the file, with children and without default values.
  void SaveToFile(const AnsiString& FileName);
  const AnsiString& GetFileName() const { return FFileName; }

  // Failures met while loading, preparing and evaluating: sorted, duplicates ignored. Owned by
  // the report.
  TStringList* GetErrors() const { return FErrors.get(); }
  // The serializer reading the report right now (none outside a load); collections read
  // inside the load join its errors and references.
  TfrxXMLSerializer* GetLoadingSerializer() const { return FLoadingSerializer; }
  void SetLoadingSerializer(TfrxXMLSerializer* Value) { FLoadingSerializer = Value; }
  // "Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#".
  TStringList* GetSystemVariables() const { return FSystemVariables.get(); }

  // Owned by the report; the setters copy.
  TfrxReportDataSets* GetDataSets() const { return FDataSets.get(); }
  TfrxVariables* GetVariables() const { return FVariables.get(); }
  TfrxStyles* GetStyles() const { return FStyles.get(); }
  TfrxEngineOptions* GetEngineOptions() const { return FEngineOptions.get(); }
  void SetEngineOptions(TfrxEngineOptions* Value);
  TfrxPreviewOptions* GetPreviewOptions() const { return FPreviewOptions.get(); }
  void SetPreviewOptions(TfrxPreviewOptions* Value);
  TfrxPrintOptions* GetPrintOptions() const { return FPrintOptions.get(); }
  void SetPrintOptions(TfrxPrintOptions* Value);
  TfrxReportOptions* GetReportOptions() const { return FReportOptions.get(); }
  void SetReportOptions(TfrxReportOptions* Value);
  TStringList* GetScriptText() const { return FScriptText.get(); }
  void SetScriptText(TStringList* Value);

  // ---- Data sets
  // The data set of the first DataSets item whose user name is Alias (ASCII case ignored);
  // nullptr when none.
  TfrxDataSet* GetDataset(const AnsiString& Alias) const;
  // Text of the form DataSet."Field": DataSet resolved with GetDataset and the field name
  // without its quotes; both empty for any other text.
  void ParseDataField(const AnsiString& Text, TfrxDataSet*& DataSet, AnsiString& Field) const;

  // ---- Expressions and script
  // The value of Expression: a name GetVariableValue knows, else the expression compiled in
  // the scope of Script (nullptr: the report's own script). A text that does not compile is
  // recorded in Errors, prefixed with CurObject and ": " when CurObject is set, and raised as
  // Exception with the same text. Errors of the running expression pass on unrecorded.
  Variant Calc(const AnsiString& Expression, TfsScript* Script = nullptr);
  // The bare-name lookup (data field, system variable, OnGetValue, report variable, item of the
  // report's own script); Value is Null when not found. Not finding a name is not an error.
  bool GetVariableValue(const AnsiString& Name, Variant& Value);
  // Empties the expression cache, re-registers the report's objects, "Report", "Engine",
  // "Value" and the report functions in the script, and compiles ScriptText in
  // ScriptLanguage. A compile error is added to Errors ("脚本发生错误在 <pos>: <message>") and
  // answered with False.
  bool PrepareScript();
  // The report's own script (parent: the global script) and its expression cache; owned by
  // the report.
  TfsScript* GetScript() const { return FScript.get(); }
  TfrxExpressionCache* GetExpressionCache() const { return FExpressionCache.get(); }
  // The script variable "Value" PrepareScript made; nullptr before the first PrepareScript.
  TfsCustomVariable* GetValueVariable() const { return FValueVariable; }
  // The report's own text layout; owned by the report.
  TfrxDrawText* GetDrawText() const { return FDrawText.get(); }
  // The engine running the report (nullptr until one is set); owned by the report. The engine
  // unit supplies it; until then system variables and totals have no values.
  TfrxCustomEngine* GetEngine() const { return FEngine.get(); }
  void SetEngine(std::unique_ptr<TfrxCustomEngine> Value);
  // The prepared pages the engine fills (nullptr until the first PrepareReport or a set);
  // owned by the report. Setting them links them with the engine.
  TfrxCustomPreviewPages* GetPreviewPages() const { return FPreviewPages.get(); }
  void SetPreviewPages(std::unique_ptr<TfrxCustomPreviewPages> Value);

  // ---- Running
  // Clears the prepared pages when asked, checks the data sets, prepares the script, runs its
  // main block and the engine. Failures go to Errors (shown together unless SilentMode);
  // answers whether pages were prepared. With RestoreAfterRun the template is reloaded
  // afterwards, so a run never leaves the script's changes in it. Makes the standard engine
  // and prepared pages when none were set.
  bool PrepareReport(bool ClearLastReport = true);
  // Makes the print option's printer the current one when it is installed.
  void SelectPrinter();
  // Progress of running (0), exporting (1) and printing (2), told to the host, then to the
  // preview control (a running preparation without OldStyleProgress) or the progress window
  // (with ShowProgress). A cancelled progress window stops the run.
  void ProgressStart(Integer ProgressType);
  void Progress(Integer ProgressType, Integer Value);
  void ProgressStop(Integer ProgressType);
  // The status text of the preview window (the URL under the mouse, progress texts), or the
  // progress window's message while an old-style preparation runs. ProgressMessage holds it.
  void SetProgressMessage(const AnsiString& Text);
  AnsiString ProgressMessage;

  // ---- Showing
  // Clears the last result when asked; then either shows the preview at once and prepares 50
  // ms later inside it (pages appear as they come), or, with OldStyleProgress, prepares first
  // and shows the result only when that succeeded.
  void ShowReport(bool ClearLastReport = true);
  // Shows the prepared pages in the host's preview control when one is set, else in a preview
  // window of the report's own.
  void ShowPreparedReport();
  // The preview control showing the pages (borrowed; nullptr when none). Setting it unlinks the
  // old one and links and initialises the new one; a control that is freed unlinks itself.
  TfrxCustomPreview* GetPreview() const { return FPreview; }
  void SetPreview(TfrxCustomPreview* Value);
  // The preview window the report opened (borrowed; it forgets itself when freed).
  IfrxPreviewWindow* PreviewForm = nullptr;
  // The deferred preparation of ShowReport (tests run it at once).
  TTimer* GetPrepareTimer() const { return FTimer.get(); }

  // Calls the script procedure ProcName with Sender when RunAlways is set or the engine runs;
  // nothing for an empty name. Errors of the procedure pass on.
  void DoNotifyEvent(TObject* Sender, const AnsiString& ProcName, bool RunAlways = false);
  // The same with the elements of the Variant array Params, whose elements take the
  // parameters' values back afterwards.
  void DoParamEvent(const AnsiString& ProcName, Variant& Params, bool RunAlways = false);
  // The host's OnBeforePrint / OnAfterPrint, then the object's script procedure.
  void DoBeforePrint(TfrxReportComponent* Obj);
  void DoAfterPrint(TfrxReportComponent* Obj);
  // The view's OnPreviewClick procedure (also outside a run) with View, Button, Shift and
  // Modified, Modified taking the procedure's fourth parameter back; then the host's
  // OnClickObject. Button: 0 left, 1 right, 2 middle; Shift: the shift-state bits.
  void DoPreviewClick(TfrxView* View, Integer Button, Integer Shift, bool& Modified);

  // Host events.
  std::function<void(const AnsiString& VarName, Variant& Value)> OnGetValue;
  std::function<void(TfrxReportComponent*Sender)> OnBeforePrint, OnAfterPrint;
  std::function<void(TfrxView* Sender, Integer Button, Integer Shift, bool& Modified)> OnClickObject;
  std::function<void(TfrxView* Sender)> OnMouseOverObject;
  std::function<void(TfrxReport*Sender, Integer ProgressType, Integer Progress)> OnProgressStart, OnProgress,
      OnProgressStop;
  // Before the script and the engine run; before a print job's pages are chosen.
  std::function<void(TfrxReport*Sender)> OnBeginDoc, OnPrintReport;
  // Builds a page in place of its data bands when set.
  std::function<void(TfrxPage* Page)> OnManualBuild;

  AnsiString DataSetName;
  // Name of the object being printed; the engine sets it so data errors say where they arose.
  AnsiString CurObject;
  bool DotMatrixReport = false;
  AnsiString IniFile = "\\Software\\Lanyue Reports";
  // The settings store IniFile names, new and owned by the caller: a registry key under the
  // current user when it begins with "\\Software\\", otherwise an ini file of that name.
  std::unique_ptr<TCustomIniFile> GetIniFile() const;
  bool OldStyleProgress = false;
  AnsiString ScriptLanguage = "DezodiZidede";
  bool ShowProgress = true;
  AnsiString OnStartReport, OnStopReport;
  bool Reloading = false;
  // The stop flag of a run; the engine, the preview and the script's StopReport set it.
  bool GetTerminated() const { return FTerminated; }
  // True also stops the script running now.
  void SetTerminated(bool Value);

  PELTO_PUBLISHED(p);

protected:
  // A data set listed in DataSets that is freed takes its item with it.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // "Datasets", "Variables" and "Style", always stored.
  void DefineProperties(TFiler* Filer) override;

private:
  std::unique_ptr<TStringList> FErrors;
  std::unique_ptr<TStringList> FSystemVariables;
  std::unique_ptr<TfrxReportDataSets> FDataSets;
  std::unique_ptr<TfrxVariables> FVariables;
  std::unique_ptr<TfrxStyles> FStyles;
  std::unique_ptr<TfrxEngineOptions> FEngineOptions;
  std::unique_ptr<TfrxPreviewOptions> FPreviewOptions;
  std::unique_ptr<TfrxPrintOptions> FPrintOptions;
  std::unique_ptr<TfrxReportOptions> FReportOptions;
  std::unique_ptr<TStringList> FScriptText;
  std::unique_ptr<TfsScript> FScript;
  std::unique_ptr<TfrxExpressionCache> FExpressionCache;
  std::unique_ptr<TfrxDrawText> FDrawText;
  std::unique_ptr<TfrxCustomEngine> FEngine;
  std::unique_ptr<TfrxCustomPreviewPages> FPreviewPages;
  TfsCustomVariable* FValueVariable = nullptr;
  TfrxXMLSerializer* FLoadingSerializer = nullptr;
  TfrxCustomPreview* FPreview = nullptr;
  std::unique_ptr<IfrxProgressWindow> FProgress;
  std::unique_ptr<TTimer> FTimer;
  AnsiString FFileName;
  bool FTerminated = false;
};
