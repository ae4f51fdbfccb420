#include "report/engine/model/frxReport.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxCustomPreview.h"
#include "platform/forms/app/Timer.h"
// The picture view's header needs the picture class complete.
#include "platform/forms/graphics/Picture.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/text/frxGraphicUtils.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iitems.h"
#include "report/script/interp/fs_iscript.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/model/frxVariables.h"
#include "platform/rtl/Guards.h"

namespace {

bool SameName(const AnsiString& a, const AnsiString& b)
{
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

TfrxReport* ReportOfItem(const TfrxDataSetItem* Item)
{
  auto* list = dynamic_cast<TfrxReportDataSets*>(Item->GetCollection());
  return list ? list->GetReport() : nullptr;
}

}  // namespace

void TfrxDataSetItem::Assign(TPersistent* Source)
{
  if (auto* s = dynamic_cast<TfrxDataSetItem*>(Source)) {
    SetDataSet(s->FDataSet);
    FDataSetName = s->FDataSetName;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TfrxDataSetItem::SetDataSet(TfrxDataSet* Value)
{
  FDataSet = Value;
  FDataSetName = Value ? Value->GetUserName() : AnsiString();
  // The report forgets the item when the data set goes.
  if (TfrxReport* r = ReportOfItem(this); r && Value) Value->FreeNotification(r);
}

AnsiString TfrxDataSetItem::GetDataSetName() const { return FDataSet ? FDataSet->GetUserName() : FDataSetName; }

void TfrxDataSetItem::SetDataSetName(const AnsiString& Value)
{
  FDataSetName = Value;
  TfrxDataSet* found = frxClass::FindDataSetByName(nullptr, Value, ReportOfItem(this));
  if (found) {
    FDataSet = found;
    if (TfrxReport* r = ReportOfItem(this)) found->FreeNotification(r);
  }
}

TfrxDataSetItem* TfrxReportDataSets::Add(TfrxDataSet* DataSet)
{
  TfrxDataSetItem* item = Add();
  item->SetDataSet(DataSet);
  return item;
}

TfrxDataSetItem* TfrxReportDataSets::Find(TfrxDataSet* DataSet) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetItems(i)->GetDataSet() == DataSet) return GetItems(i);
  return nullptr;
}

TfrxDataSetItem* TfrxReportDataSets::FindByName(const AnsiString& Name) const
{
  for (int i = 0; i < GetCount(); ++i) {
    TfrxDataSet* d = GetItems(i)->GetDataSet();
    if (d && SameName(d->GetUserName(), Name)) return GetItems(i);
  }
  return nullptr;
}

void TfrxReportDataSets::Initialize()
{
  for (int i = 0; i < GetCount(); ++i)
    if (TfrxDataSet* d = GetItems(i)->GetDataSet()) {
      d->ReportRef = FReport;
      d->Initialize();
    }
}

void TfrxReportDataSets::Finalize()
{
  for (int i = 0; i < GetCount(); ++i)
    if (TfrxDataSet* d = GetItems(i)->GetDataSet()) d->Finalize();
}

void TfrxReport::Notification(TComponent* AComponent, TOperation Operation)
{
  TfrxComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !FDataSets) return;
  for (int i = FDataSets->GetCount() - 1; i >= 0; --i)
    if (FDataSets->GetItems(i)->GetDataSet() == AComponent) FDataSets->Delete(i);
}

TfrxReport::TfrxReport(TComponent* AOwner)
    : TfrxComponent(AOwner), FErrors(std::make_unique<TStringList>()),
      FSystemVariables(std::make_unique<TStringList>()), FDataSets(std::make_unique<TfrxReportDataSets>(this)),
      FVariables(std::make_unique<TfrxVariables>()), FStyles(std::make_unique<TfrxStyles>(this)),
      FEngineOptions(std::make_unique<TfrxEngineOptions>()), FPreviewOptions(std::make_unique<TfrxPreviewOptions>()),
      FPrintOptions(std::make_unique<TfrxPrintOptions>()), FReportOptions(std::make_unique<TfrxReportOptions>()),
      FScriptText(std::make_unique<TStringList>()), FScript(std::make_unique<TfsScript>(nullptr)),
      FExpressionCache(std::make_unique<TfrxExpressionCache>()), FDrawText(std::make_unique<TfrxDrawText>())
{
  FScript->ParentScript = fs_iinterpreter::GetGlobalScript();
  FErrors->SetSorted(true);
  FErrors->SetDuplicates(dupIgnore);
  Clear();
}

TfrxReport::~TfrxReport()
{
  if (FPreview) FPreview->Detach();
  FPreview = nullptr;
  TfrxComponent::Clear();
}

AnsiString TfrxReport::GetClassCaption() { return frxRes::Get("obReport"); }

void TfrxReport::Clear()
{
  TfrxComponent::Clear();
  FDataSets->Clear();
  FVariables->Clear();
  FStyles->Clear();
  FEngineOptions->Clear();
  FPreviewOptions->Clear();
  FPrintOptions->Clear();
  FReportOptions->Clear();
  DataSetName.clear();
  DotMatrixReport = false;
  ScriptLanguage = "DezodiZidede";
  FScriptText->SetText("begin\r\n\r\nend.");
  FSystemVariables->Clear();
  for (const char* v : {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#"})
    FSystemVariables->Add(v);
}

void TfrxReport::SetEngineOptions(TfrxEngineOptions* Value) { FEngineOptions->Assign(Value); }
void TfrxReport::SetPreviewOptions(TfrxPreviewOptions* Value) { FPreviewOptions->Assign(Value); }
void TfrxReport::SetPrintOptions(TfrxPrintOptions* Value) { FPrintOptions->Assign(Value); }
void TfrxReport::SetReportOptions(TfrxReportOptions* Value) { FReportOptions->Assign(Value); }
void TfrxReport::SetScriptText(TStringList* Value) { FScriptText->Assign(Value); }

void TfrxReport::DefineProperties(TFiler* Filer)
{
  TfrxComponent::DefineProperties(Filer);
  auto define = [&](const char* name, TCollection* c) {
    Filer->DefineProperty(
        name, [this, c](TReader* r) { frxUtils::ReadCollection(c, r, this); },
        [this, c](TWriter* w) { frxUtils::WriteCollection(c, w, this); }, true);
  };
  define("Datasets", FDataSets.get());
  define("Variables", FVariables.get());
  define("Style", FStyles.get());
}

void TfrxReport::SaveToStream(TStream* Stream, bool SaveChildren, bool SaveDefaultValues)
{
  AnsiString plain = FReportOptions->Password;
  FReportOptions->Password = frxOptions::EncodePassword(plain);
  TScopeExit undo([&] { FReportOptions->Password = plain; });
  TfrxComponent::SaveToStream(Stream, SaveChildren, SaveDefaultValues);
}

void TfrxReport::LoadFromStream(TStream* Stream)
{
  FErrors->Clear();
  TfrxEngineOptions engine;
  engine.Assign(FEngineOptions.get());
  TfrxPreviewOptions preview;
  preview.Assign(FPreviewOptions.get());
  AnsiString iniFile = IniFile;
  bool oldStyle = OldStyleProgress, showProgress = ShowProgress;
  auto restore = [&] {
    // The file carries ConvertNulls, DoublePass and the outline settings; the host keeps the rest.
    bool convertNulls = FEngineOptions->ConvertNulls, doublePass = FEngineOptions->DoublePass;
    FEngineOptions->Assign(&engine);
    FEngineOptions->ConvertNulls = convertNulls;
    FEngineOptions->DoublePass = doublePass;
    bool outlineVisible = FPreviewOptions->OutlineVisible;
    Integer outlineWidth = FPreviewOptions->OutlineWidth;
    FPreviewOptions->Assign(&preview);
    FPreviewOptions->OutlineVisible = outlineVisible;
    FPreviewOptions->OutlineWidth = outlineWidth;
    IniFile = iniFile;
    OldStyleProgress = oldStyle;
    ShowProgress = showProgress;
    FReportOptions->Password = frxOptions::DecodePassword(FReportOptions->Password);
  };
  {
    TScopeExit undo([&] { restore(); });
    TfrxComponent::LoadFromStream(Stream);
  }
  if (Reloading || FReportOptions->CheckPassword()) {
    if (FErrors->GetCount() > 0 && !FEngineOptions->SilentMode)
      frxUtils::ShowErrorBox(frxRes::Get("clErrors") + "\r\n" + FErrors->GetText());
  } else {
    Clear();
  }
}

bool TfrxReport::LoadFromFile(const AnsiString& FileName, bool ExceptionIfNotFound)
{
  Clear();
  FFileName.clear();
  bool exists = SysUtils::FileExists(FileName);
  if (exists || ExceptionIfNotFound) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
    FFileName = FileName;
  }
  return exists;
}

void TfrxReport::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* f) { SaveToStream(f, true, false); });
}

std::unique_ptr<TCustomIniFile> TfrxReport::GetIniFile() const
{
  static const AnsiString registryPrefix = "\\SOFTWARE\\";
  if (SysUtils::UpperCase(IniFile.substr(0, registryPrefix.size())) == registryPrefix)
    return std::make_unique<TRegistryIniFile>(IniFile);
  return std::make_unique<TIniFile>(IniFile);
}

// ---- Data sets

TfrxDataSet* TfrxReport::GetDataset(const AnsiString& Alias) const
{
  TfrxDataSetItem* item = FDataSets->FindByName(Alias);
  return item ? item->GetDataSet() : nullptr;
}

void TfrxReport::ParseDataField(const AnsiString& Text, TfrxDataSet*& DataSet, AnsiString& Field) const
{
  DataSet = nullptr;
  Field.clear();
  size_t p = Text.find(".\"");
  if (p == AnsiString::npos) return;
  DataSet = GetDataset(Text.substr(0, p));
  if (!DataSet) return;
  Field = Text.substr(p + 2);
  if (!Field.empty() && Field.back() == '"') Field.pop_back();
}

// ---- Expressions and script

void TfrxReport::SetEngine(std::unique_ptr<TfrxCustomEngine> Value)
{
  FEngine = std::move(Value);
  if (FEngine && FPreviewPages) {
    FEngine->PreviewPages = FPreviewPages.get();
    FPreviewPages->Engine = FEngine.get();
  }
}

void TfrxReport::SetPreviewPages(std::unique_ptr<TfrxCustomPreviewPages> Value)
{
  if (FEngine && FEngine->PreviewPages == FPreviewPages.get()) FEngine->PreviewPages = nullptr;
  FPreviewPages = std::move(Value);
  if (FEngine && FPreviewPages) {
    FEngine->PreviewPages = FPreviewPages.get();
    FPreviewPages->Engine = FEngine.get();
  }
}

void TfrxReport::SetTerminated(bool Value)
{
  FTerminated = Value;
  if (Value && FScript) FScript->Terminate();
}

bool TfrxReport::GetVariableValue(const AnsiString& Name, Variant& Value)
{
  return frxExpression::GetVariableValue(this, Name, Value);
}

Variant TfrxReport::Calc(const AnsiString& Expression, TfsScript* Script)
{
  Variant value;
  if (GetVariableValue(Expression, value)) return value;
  AnsiString error;
  FExpressionCache->Calc(Expression, error, value, Script ? Script : FScript.get());
  if (!error.empty()) {
    if (!CurObject.empty()) error = CurObject + ": " + error;
    FErrors->Add(error);
    throw Exception(error);
  }
  return value;
}

bool TfrxReport::PrepareScript()
{
  frxExpression::Initialize();
  FExpressionCache->Clear();
  if (FEngine) FEngine->NotifyList.clear();
  FScript->ClearItems(this);
  FValueVariable = nullptr;
  // Everything added during the set-up carries this report's stamp, so the next set-up
  // removes exactly that.
  struct TStamp {
    TfsScript* S;
    ~TStamp() { S->Registrar = nullptr; }
  } stamp{FScript.get()};
  FScript->Registrar = this;

  // Objects are reachable by name as references; the class binding gives them their members.
  auto addObject = [&](const AnsiString& Name, TObject* Obj) {
    if (Name.empty() || !Obj) return;
    auto* v = new TfsVariable(Name, ikVariant, "Variant");
    v->Value = frxExpression::ObjectToVariant(Obj);
    v->IsReadOnly = true;
    FScript->RegisterItem(Name, v);
  };
  for (TfrxComponent* c : GetAllObjects()) {
    c->SetIsDesigning(false);
    c->ResetBeforeRun();
    if (auto* picture = dynamic_cast<TfrxPictureView*>(c)) picture->PictureChanged = false;
    if (c != this) addObject(c->GetName(), c);
  }
  addObject("Report", this);
  addObject("Engine", FEngine.get());
  if (FEngine && FEngine->PreviewPages) addObject("Outline", FEngine->PreviewPages->GetOutline());
  FScript->AddVariable("Value", "Variant", Variant::Null());
  FValueVariable = FScript->FindLocalItem("Value");
  frxExpression::AddReportFunctions(this, FScript.get());

  FScript->SetLines(FScriptText.get());
  FScript->SetSyntaxType(ScriptLanguage);
  if (!FScript->Compile()) {
    FErrors->Add(SysUtils::Format(frxRes::Get("clScrError"), {FScript->LastErrorPos, FScript->LastError}));
    return false;
  }
  return true;
}

void TfrxReport::DoNotifyEvent(TObject* Sender, const AnsiString& ProcName, bool RunAlways)
{
  if (ProcName.empty() || !(RunAlways || (FEngine && FEngine->Running))) return;
  FScript->CallFunction(ProcName, Variants::VarArrayOf({frxExpression::ObjectToVariant(Sender)}));
}

void TfrxReport::DoParamEvent(const AnsiString& ProcName, Variant& Params, bool RunAlways)
{
  if (ProcName.empty() || !(RunAlways || (FEngine && FEngine->Running))) return;
  FScript->CallFunctionVarParams(ProcName, Params);
}

void TfrxReport::DoBeforePrint(TfrxReportComponent* Obj)
{
  if (OnBeforePrint) OnBeforePrint(Obj);
  DoNotifyEvent(Obj, Obj->OnBeforePrint);
}

void TfrxReport::DoAfterPrint(TfrxReportComponent* Obj)
{
  if (OnAfterPrint) OnAfterPrint(Obj);
  DoNotifyEvent(Obj, Obj->OnAfterPrint);
}

void TfrxReport::DoPreviewClick(TfrxView* View, Integer Button, Integer Shift, bool& Modified)
{
  Variant params =
      Variants::VarArrayOf({frxExpression::ObjectToVariant(View), Variant(Button), Variant(Shift), Variant(Modified)});
  DoParamEvent(View->OnPreviewClick, params, true);
  Modified = Variants::VarArrayGet(params, {3}).AsBoolean();
  if (OnClickObject) OnClickObject(View, Button, Shift, Modified);
}

PELTO_DEFINE_CLASS(TfrxReport)
PELTO_PUBLISH(TfrxReport, p)
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

PELTO_DEFINE_CLASS(TfrxDataSetItem)
PELTO_PUBLISH(TfrxDataSetItem, p)
{
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
}

PELTO_DEFINE_CLASS(TfrxReportDataSets)
