// The report component: the root of a report's tree. Its pages are its children; it owns (as
// platform owner) every object of the report, so names are unique within it. It keeps the data
// sets, variables and styles the report uses and its four option objects, and loads and saves
// itself as a ".fr3" file.
//
// Loading gathers the failures of a load in Errors (sorted, each text once) instead of raising,
// and shows them in one error box afterwards unless the engine options are silent. Preparing,
// showing, printing and designing come with the engine and the windows.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxOptions.h"

class TfrxReportDataSets;
class TfrxStyles;
class TfrxVariables;

class TfrxReport : public TfrxComponent {
  PELTO_CLASS(TfrxReport, TfrxComponent)
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

  // Failures met while loading: sorted, duplicates ignored. Owned by the report.
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

  AnsiString DataSetName;
  // Name of the object being printed; the engine sets it so data errors say where they arose.
  AnsiString CurObject;
  bool DotMatrixReport = false;
  AnsiString IniFile = "\\Software\\Lanyue Reports";
  bool OldStyleProgress = false;
  AnsiString ScriptLanguage = "DezodiZidede";
  bool ShowProgress = true;
  AnsiString OnStartReport, OnStopReport;
  bool Reloading = false;
  // The stop flag of a run; the engine, the preview and the script's StopReport set it.
  bool GetTerminated() const { return FTerminated; }
  void SetTerminated(bool Value) { FTerminated = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("DataSetName", &ThisClass::DataSetName, &ThisClass::DataSetName);
    p.Property("DotMatrixReport", &ThisClass::DotMatrixReport, &ThisClass::DotMatrixReport).Default(false);
    p.Property("EngineOptions", &ThisClass::GetEngineOptions, &ThisClass::SetEngineOptions);
    p.Property("PreviewOptions", &ThisClass::GetPreviewOptions, &ThisClass::SetPreviewOptions);
    p.Property("PrintOptions", &ThisClass::GetPrintOptions, &ThisClass::SetPrintOptions);
    p.Property("ReportOptions", &ThisClass::GetReportOptions, &ThisClass::SetReportOptions);
    p.Property("IniFile", &ThisClass::IniFile, &ThisClass::IniFile);
    p.Property("OldStyleProgress", &ThisClass::OldStyleProgress, &ThisClass::OldStyleProgress).Default(false);
    p.Property("ScriptLanguage", &ThisClass::ScriptLanguage, &ThisClass::ScriptLanguage);
    p.Property("ScriptText", &ThisClass::GetScriptText, &ThisClass::SetScriptText);
    p.Property("ShowProgress", &ThisClass::ShowProgress, &ThisClass::ShowProgress).Default(true);
    p.Property("OnStartReport", &ThisClass::OnStartReport, &ThisClass::OnStartReport);
    p.Property("OnStopReport", &ThisClass::OnStopReport, &ThisClass::OnStopReport);
  }

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
  TfrxXMLSerializer* FLoadingSerializer = nullptr;
  AnsiString FFileName;
  bool FTerminated = false;
};
