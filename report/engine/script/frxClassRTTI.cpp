#include "report/engine/script/frxClassRTTI.h"

#include <cmath>

#include "platform/rtl/Lists.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxExpression.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/data/frxDBSet.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxBarcode.h"
#include "report/engine/objects/frxDMPClass.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/run/frxEngine.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

namespace frxClassRTTI {

namespace {

bool Registered = false;
// The stamp every registered item carries, so that Finalize removes exactly these.
const char kOwner = 0;

Variant Arg(Variant& Params, int Index) { return Variants::VarArrayGet(Params, {Index}); }
Variant Ref(TObject* Obj) { return frxExpression::ObjectToVariant(Obj); }
template <class T>
T* Obj(const Variant& V)
{
  return dynamic_cast<T*>(frxExpression::VariantToObject(V));
}

void AddTypes(TfsScript* S)
{
  S->AddConst("fr01cm", "Extended", Variant(3.7795));
  S->AddConst("fr1cm", "Extended", Variant(37.7953));
  S->AddConst("fr01in", "Extended", Variant(9.6));
  S->AddConst("fr1in", "Extended", Variant(96));
  S->AddConst("fr1CharX", "Extended", Variant(9.6));
  S->AddConst("fr1CharY", "Extended", Variant(17));
  S->AddConst("clTransparent", "Integer", Variant(536870911));
  S->AddConst("crHand", "Integer", Variant(50));
  S->AddConst("crZoom", "Integer", Variant(51));
  S->AddConst("crFormat", "Integer", Variant(52));
  S->AddEnum("TfrxStretchMode", "smDontStretch, smActualHeight, smMaxHeight");
  S->AddEnum("TfrxShiftMode", "smDontShift, smAlways, smWhenOverlapped");
  S->AddEnum("TfrxDuplexMode", "dmNone, dmVertical, dmHorizontal");
  S->AddEnum("TfrxAlign", "baNone, baLeft, baRight, baCenter, baWidth, baBottom");
  S->AddEnum("TfrxFrameStyle", "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble");
  S->AddEnumSet("TfrxFrameTypes", "ftLeft, ftRight, ftTop, ftBottom");
  S->AddEnum("TfrxHAlign", "haLeft, haRight, haCenter, haBlock");
  S->AddEnum("TfrxVAlign", "vaTop, vaBottom, vaCenter");
  S->AddEnumSet("TfrxRestrictions", "rfDontModify, rfDontSize, rfDontMove, rfDontDelete");
  // The model's own value lists, so that script values equal the stored ones.
  S->AddEnum("TfrxShapeKind",
             "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2");
  S->AddEnumSet(
      "TfrxPreviewButtons",
      "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator");
  S->AddEnum("TfrxZoomMode", "zmDefault, zmWholePage, zmPageWidth, zmManyPages");
  S->AddEnum("TfrxPrintPages", "ppAll, ppOdd, ppEven");
  S->AddEnum("TfrxRangeBegin", "rbFirst, rbCurrent");
  S->AddEnum("TfrxRangeEnd", "reLast, reCurrent, reCount");
  S->AddEnum("TfrxFieldType", "fftNumeric, fftString, fftBoolean");
  S->AddEnum("TfrxFormatKind", "fkText, fkNumeric, fkDateTime, fkBoolean");
}

void AddDataSet(TfsScript* S)
{
  TfsClassVariable* C = S->AddClass(TfrxDataSet::StaticClass(), "TComponent", fsIsInstance<TfrxDataSet>);
  auto ds = [](TObject* I) { return static_cast<TfrxDataSet*>(I); };
  C->AddMethod("procedure Open", [ds](TObject* I, const void*, const AnsiString&, Variant&) {
    ds(I)->Open();
    return Variant(0);
  });
  C->AddMethod("procedure Close", [ds](TObject* I, const void*, const AnsiString&, Variant&) {
    ds(I)->Close();
    return Variant(0);
  });
  C->AddMethod("procedure First", [ds](TObject* I, const void*, const AnsiString&, Variant&) {
    ds(I)->First();
    return Variant(0);
  });
  C->AddMethod("procedure Next", [ds](TObject* I, const void*, const AnsiString&, Variant&) {
    ds(I)->Next();
    return Variant(0);
  });
  C->AddMethod("procedure Prior", [ds](TObject* I, const void*, const AnsiString&, Variant&) {
    ds(I)->Prior();
    return Variant(0);
  });
  C->AddMethod("function Eof: Boolean",
               [ds](TObject* I, const void*, const AnsiString&, Variant&) { return Variant(ds(I)->Eof()); });
  C->AddMethod("function FieldsCount: Integer",
               [ds](TObject* I, const void*, const AnsiString&, Variant&) { return Variant(ds(I)->FieldsCount()); });
  C->AddMethod("function HasField(const fName: String): Boolean",
               [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return Variant(ds(I)->HasField(Variants::VarToStr(Arg(P, 0))));
               });
  C->AddMethod("function IsBlobField(const fName: String): Boolean",
               [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return Variant(ds(I)->IsBlobField(Variants::VarToStr(Arg(P, 0))));
               });
  C->AddProperty("RecNo", "Integer",
                 [ds](TObject* I, const void*, const AnsiString&) { return Variant(ds(I)->RecNo); });
  C->AddIndexProperty(
      "DisplayText", "String", "String",
      [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
        return Variant(ds(I)->GetDisplayText(Variants::VarToStr(Arg(P, 0))));
      },
      true);
  C->AddIndexProperty(
      "DisplayWidth", "String", "Integer",
      [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
        return Variant(ds(I)->GetDisplayWidth(Variants::VarToStr(Arg(P, 0))));
      },
      true);
  C->AddIndexProperty(
      "FieldType", "String", "TfrxFieldType",
      [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
        return Variant(static_cast<Integer>(ds(I)->GetFieldType(Variants::VarToStr(Arg(P, 0)))));
      },
      true);
  C->AddIndexProperty(
      "Value", "String", "Variant",
      [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
        return ds(I)->GetValue(Variants::VarToStr(Arg(P, 0)));
      },
      true);
  C->AddMethod("procedure GetFieldList(List: TStrings)", [ds](TObject* I, const void*, const AnsiString&, Variant& P) {
    if (auto* list = Obj<TStrings>(Arg(P, 0))) ds(I)->GetFieldList(list);
    return Variant(0);
  });
  S->AddClass(TfrxUserDataSet::StaticClass(), "TfrxDataSet", fsIsInstance<TfrxUserDataSet>);
  S->AddClass(TfrxCustomDBDataSet::StaticClass(), "TfrxDataSet", fsIsInstance<TfrxCustomDBDataSet>);
}

void AddModel(TfsScript* S)
{
  auto comp = [](TObject* I) { return static_cast<TfrxComponent*>(I); };
  TfsClassVariable* C = S->AddClass(TfrxComponent::StaticClass(), "TComponent", fsIsInstance<TfrxComponent>);
  C->AddMethod("procedure Clear", [comp](TObject* I, const void*, const AnsiString&, Variant&) {
    comp(I)->Clear();
    return Variant(0);
  });
  C->AddMethod("function FindObject(s: String): TfrxComponent",
               [comp](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return Ref(comp(I)->FindObject(Variants::VarToStr(Arg(P, 0))));
               });
  C->AddMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)", [comp](TObject* I, const void*,
                                                                                     const AnsiString&, Variant& P) {
    comp(I)->SetBounds(Arg(P, 0).AsDouble(), Arg(P, 1).AsDouble(), Arg(P, 2).AsDouble(), Arg(P, 3).AsDouble());
    return Variant(0);
  });
  C->AddProperty(
      "Parent", "TfrxComponent",
      [comp](TObject* I, const void*, const AnsiString&) { return Ref(comp(I)->GetParent()); },
      [comp](TObject* I, const void*, const AnsiString&, const Variant& V) {
        comp(I)->SetParent(Obj<TfrxComponent>(V));
      });
  C->AddProperty("Objects", "TList",
                 [comp](TObject* I, const void*, const AnsiString&) { return Ref(comp(I)->GetObjectsList()); });
  C->AddProperty("AllObjects", "TList",
                 [comp](TObject* I, const void*, const AnsiString&) { return Ref(comp(I)->GetAllObjectsList()); });
  C->AddProperty("Page", "TfrxPage",
                 [comp](TObject* I, const void*, const AnsiString&) { return Ref(comp(I)->GetPage()); });
  C->AddProperty("AbsLeft", "Extended", [comp](TObject* I, const void*, const AnsiString&) {
    return Variant(static_cast<double>(comp(I)->GetAbsLeft()));
  });
  C->AddProperty("AbsTop", "Extended", [comp](TObject* I, const void*, const AnsiString&) {
    return Variant(static_cast<double>(comp(I)->GetAbsTop()));
  });

  C->AddMethod("procedure LoadFromStream(Stream: TStream)",
               [comp](TObject* I, const void*, const AnsiString&, Variant& P) {
                 if (auto* stream = Obj<TStream>(Arg(P, 0))) comp(I)->LoadFromStream(stream);
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
               [comp](TObject* I, const void*, const AnsiString&, Variant& P) {
                 Variant children = Arg(P, 1);
                 if (auto* stream = Obj<TStream>(Arg(P, 0)))
                   comp(I)->SaveToStream(stream, children.IsNull() || children.IsEmpty() || children.AsBoolean(),
                                         false);
                 return Variant(0);
               });
  S->AddClass(TfrxReportComponent::StaticClass(), "TfrxComponent", fsIsInstance<TfrxReportComponent>);
  S->AddClass(TfrxDialogComponent::StaticClass(), "TfrxReportComponent", fsIsInstance<TfrxDialogComponent>);
  S->AddClass(TfrxFrame::StaticClass(), "TPersistent", fsIsInstance<TfrxFrame>);
  S->AddClass(TfrxView::StaticClass(), "TfrxReportComponent", fsIsInstance<TfrxView>);
  S->AddClass(TfrxShapeView::StaticClass(), "TfrxView", fsIsInstance<TfrxShapeView>);
  C = S->AddClass(TfrxStretcheable::StaticClass(), "TfrxView", fsIsInstance<TfrxStretcheable>);
  C->AddMethod("function CalcHeight: Extended", [](TObject* I, const void*, const AnsiString&, Variant&) {
    return Variant(static_cast<double>(static_cast<TfrxStretcheable*>(I)->CalcHeight()));
  });
  auto memo = [](TObject* I) { return static_cast<TfrxCustomMemoView*>(I); };
  S->AddClass(TfrxHighlight::StaticClass(), "TPersistent", fsIsInstance<TfrxHighlight>);
  S->AddClass(TfrxFormat::StaticClass(), "TPersistent", fsIsInstance<TfrxFormat>);
  C = S->AddClass(TfrxCustomMemoView::StaticClass(), "TfrxStretcheable", fsIsInstance<TfrxCustomMemoView>);
  C->AddMethod("function CalcWidth: Extended", [memo](TObject* I, const void*, const AnsiString&, Variant&) {
    return Variant(static_cast<double>(memo(I)->CalcWidth()));
  });
  C->AddProperty(
      "Text", "String", [memo](TObject* I, const void*, const AnsiString&) { return Variant(memo(I)->GetText()); },
      [memo](TObject* I, const void*, const AnsiString&, const Variant& V) {
        memo(I)->SetText(Variants::VarToStr(V));
      });
  C->AddProperty(
      "Lines", "TStrings", [memo](TObject* I, const void*, const AnsiString&) { return Ref(memo(I)->GetMemo()); },
      [memo](TObject* I, const void*, const AnsiString&, const Variant& V) {
        if (auto* list = Obj<TStringList>(V)) memo(I)->SetMemo(list);
      });
  C->AddProperty("Value", "Variant", [memo](TObject* I, const void*, const AnsiString&) { return memo(I)->Value; });
  for (TClass cls : {TfrxMemoView::StaticClass(), TfrxSysMemoView::StaticClass(), TfrxDMPMemoView::StaticClass()})
    S->AddClass(cls, "TfrxCustomMemoView");
  S->AddClass(TfrxCustomLineView::StaticClass(), "TfrxStretcheable", fsIsInstance<TfrxCustomLineView>);
  S->AddClass(TfrxLineView::StaticClass(), "TfrxCustomLineView", fsIsInstance<TfrxLineView>);
  S->AddClass(TfrxDMPLineView::StaticClass(), "TfrxCustomLineView", fsIsInstance<TfrxDMPLineView>);
  C = S->AddClass(TfrxPictureView::StaticClass(), "TfrxView", fsIsInstance<TfrxPictureView>);
  C->AddMethod("procedure LoadFromFile(filename: String)", [](TObject* I, const void*, const AnsiString&, Variant& P) {
    static_cast<TfrxPictureView*>(I)->LoadFromFile(Variants::VarToStr(Arg(P, 0)));
    return Variant(0);
  });
  S->AddClass(TfrxSubreport::StaticClass(), "TfrxView", fsIsInstance<TfrxSubreport>);
  // The barcode object's type and class (the view itself registers in the designer).
  S->AddEnum("TfrxBarcodeType",
             "bcCode_2_5_interleaved, bcCode_2_5_industrial,bcCode_2_5_matrix, bcCode39, bcCode39Extended, "
             "bcCode128A, bcCode128B,bcCode128C, bcCode93, bcCode93Extended, bcCodeMSI, bcCodePostNet,bcCodeCodabar, "
             "bcCodeEAN8, bcCodeEAN13, bcCodeUPC_A, bcCodeUPC_E0,bcCodeUPC_E1, bcCodeUPC_Supp2, bcCodeUPC_Supp5, "
             "bcCodeEAN128A,bcCodeEAN128B, bcCodeEAN128C");
  S->AddClass(TfrxBarCodeView::StaticClass(), "TfrxView", fsIsInstance<TfrxBarCodeView>);

  C = S->AddClass(TfrxBand::StaticClass(), "TfrxReportComponent", fsIsInstance<TfrxBand>);
  C->AddProperty("Overflow", "Boolean", [](TObject* I, const void*, const AnsiString&) {
    auto* band = static_cast<TfrxBand*>(I);
    auto* engine = dynamic_cast<TfrxEngine*>(band->GetReport() ? band->GetReport()->GetEngine() : nullptr);
    return Variant(engine && engine->IsOverflow(band));
  });
  for (TClass cls : {TfrxDataBand::StaticClass(), TfrxHeader::StaticClass(), TfrxFooter::StaticClass(),
                     TfrxPageHeader::StaticClass(), TfrxPageFooter::StaticClass(), TfrxColumnHeader::StaticClass(),
                     TfrxColumnFooter::StaticClass(), TfrxGroupHeader::StaticClass(), TfrxGroupFooter::StaticClass(),
                     TfrxReportTitle::StaticClass(), TfrxReportSummary::StaticClass(), TfrxChild::StaticClass(),
                     TfrxOverlay::StaticClass()})
    S->AddClass(cls, "TfrxBand");
  for (TClass cls : {TfrxMasterData::StaticClass(), TfrxDetailData::StaticClass(), TfrxSubdetailData::StaticClass(),
                     TfrxDataBand4::StaticClass(), TfrxDataBand5::StaticClass(), TfrxDataBand6::StaticClass()})
    S->AddClass(cls, "TfrxDataBand");
  S->AddClass(TfrxPage::StaticClass(), "TfrxComponent", fsIsInstance<TfrxPage>);
  S->AddClass(TfrxReportPage::StaticClass(), "TfrxPage", fsIsInstance<TfrxReportPage>);
  S->AddClass(TfrxDMPPage::StaticClass(), "TfrxReportPage", fsIsInstance<TfrxDMPPage>);
  S->AddClass(TfrxEngineOptions::StaticClass(), "TPersistent", fsIsInstance<TfrxEngineOptions>);
  S->AddClass(TfrxPrintOptions::StaticClass(), "TPersistent", fsIsInstance<TfrxPrintOptions>);
  S->AddClass(TfrxPreviewOptions::StaticClass(), "TPersistent", fsIsInstance<TfrxPreviewOptions>);
  S->AddClass(TfrxReportOptions::StaticClass(), "TPersistent", fsIsInstance<TfrxReportOptions>);
  S->AddClass(TfrxVariable::StaticClass(), "TCollectionItem", fsIsInstance<TfrxVariable>);
  C = S->AddClass(TfrxVariables::StaticClass(), "TCollection", fsIsInstance<TfrxVariables>);
  C->AddDefaultProperty("Variables", "String", "Variant",
                        [](TObject* I, const void*, const AnsiString& Name, Variant& P) -> Variant {
                          auto* vars = static_cast<TfrxVariables*>(I);
                          AnsiString key = Variants::VarToStr(Arg(P, 0));
                          if (Name.size() >= 4 && Name.substr(Name.size() - 4) == ".SET") {
                            vars->SetVariable(key, Arg(P, 1));
                            return Variant(0);
                          }
                          return vars->GetVariable(key);
                        });

  auto report = [](TObject* I) { return static_cast<TfrxReport*>(I); };
  C = S->AddClass(TfrxReport::StaticClass(), "TfrxComponent", fsIsInstance<TfrxReport>);
  C->AddMethod("function Calc(const Expr: String): Variant",
               [report](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return report(I)->Calc(Variants::VarToStr(Arg(P, 0)));
               });
  C->AddMethod("function GetDataset(const Alias: String): TfrxDataset",
               [report](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return Ref(report(I)->GetDataset(Variants::VarToStr(Arg(P, 0))));
               });
  C->AddProperty("Variables", "TfrxVariables",
                 [report](TObject* I, const void*, const AnsiString&) { return Ref(report(I)->GetVariables()); });
  // A missing file answers False rather than raising.
  C->AddMethod("function LoadFromFile(const FileName: String): Boolean",
               [report](TObject* I, const void*, const AnsiString&, Variant& P) {
                 return Variant(report(I)->LoadFromFile(Variants::VarToStr(Arg(P, 0)), false));
               });
  C->AddMethod("procedure SaveToFile(const FileName: String)",
               [report](TObject* I, const void*, const AnsiString&, Variant& P) {
                 report(I)->SaveToFile(Variants::VarToStr(Arg(P, 0)));
                 return Variant(0);
               });

  auto engine = [](TObject* I) { return static_cast<TfrxCustomEngine*>(I); };
  C = S->AddClass(TfrxCustomEngine::StaticClass(), "TPersistent", fsIsInstance<TfrxCustomEngine>);
  C->AddMethod("procedure AddAnchor(const Text: String)",
               [engine](TObject* I, const void*, const AnsiString&, Variant& P) {
                 if (engine(I)->PreviewPages) engine(I)->PreviewPages->AddAnchor(Variants::VarToStr(Arg(P, 0)));
                 return Variant(0);
               });
  C->AddMethod("procedure NewPage", [engine](TObject* I, const void*, const AnsiString&, Variant&) {
    engine(I)->NewPage();
    return Variant(0);
  });
  C->AddMethod("procedure NewColumn", [engine](TObject* I, const void*, const AnsiString&, Variant&) {
    engine(I)->NewColumn();
    return Variant(0);
  });
  C->AddMethod("procedure ShowBand(Band: TfrxBand)", [engine](TObject* I, const void*, const AnsiString&, Variant& P) {
    engine(I)->ShowBand(Obj<TfrxBand>(Arg(P, 0)));
    return Variant(0);
  });
  C->AddMethod("procedure StopReport", [engine](TObject* I, const void*, const AnsiString&, Variant&) {
    engine(I)->StopReport();
    return Variant(0);
  });
  C->AddMethod("function FreeSpace: Extended", [engine](TObject* I, const void*, const AnsiString&, Variant&) {
    return Variant(static_cast<double>(engine(I)->FreeSpace()));
  });
  C->AddMethod("function GetAnchorPage(const Text: String): Integer",
               [engine](TObject* I, const void*, const AnsiString&, Variant& P) {
                 TfrxCustomPreviewPages* pages = engine(I)->PreviewPages;
                 return Variant(pages ? pages->GetAnchorPage(Variants::VarToStr(Arg(P, 0))) : 1);
               });
  S->AddClass(TfrxEngine::StaticClass(), "TfrxCustomEngine", fsIsInstance<TfrxEngine>);

  auto outline = [](TObject* I) { return static_cast<TfrxCustomOutline*>(I); };
  C = S->AddClass(TfrxCustomOutline::StaticClass(), "TPersistent", fsIsInstance<TfrxCustomOutline>);
  C->AddMethod("procedure AddItem(const Text: String)",
               [outline](TObject* I, const void*, const AnsiString&, Variant& P) {
                 TfrxCustomEngine* e = outline(I)->GetEngine();
                 outline(I)->AddItem(Variants::VarToStr(Arg(P, 0)), e ? static_cast<Integer>(std::lround(e->CurY)) : 0);
                 return Variant(0);
               });
  C->AddMethod("procedure LevelRoot", [outline](TObject* I, const void*, const AnsiString&, Variant&) {
    outline(I)->LevelRoot();
    return Variant(0);
  });
  C->AddMethod("procedure LevelUp", [outline](TObject* I, const void*, const AnsiString&, Variant&) {
    outline(I)->LevelUp();
    return Variant(0);
  });
  S->AddClass(TfrxOutline::StaticClass(), "TfrxCustomOutline", fsIsInstance<TfrxOutline>);
}

void AddFunctions(TfsScript* S)
{
  auto datePart = [](const char* Format) {
    return [Format](TObject*, const void*, const AnsiString&, Variant& P) {
      TDateTime d(Arg(P, 0).AsDouble());
      return Variant(SysUtils::StrToInt(SysUtils::FormatDateTime(Format, d)));
    };
  };
  S->AddMethod("function DayOf(Date: TDateTime): Integer", datePart("d"), "ctDate");
  S->AddMethod("function MonthOf(Date: TDateTime): Integer", datePart("m"), "ctDate");
  S->AddMethod("function YearOf(Date: TDateTime): Integer", datePart("yyyy"), "ctDate");
}

}  // namespace

void Initialize()
{
  if (Registered) return;
  frxExpression::Initialize();
  TfsScript* S = fs_iinterpreter::GetGlobalScript();
  struct TStamp {
    TfsScript* Script;
    ~TStamp() { Script->Registrar = nullptr; }
  } stamp{S};
  S->Registrar = &kOwner;
  AddTypes(S);
  AddDataSet(S);
  AddModel(S);
  AddFunctions(S);
  Registered = true;
}

void Finalize()
{
  if (!Registered) return;
  fs_iinterpreter::GetGlobalScript()->RemoveItems(&kOwner);
  Registered = false;
}

}  // namespace frxClassRTTI
