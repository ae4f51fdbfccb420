// An engine and prepared pages that only hold the run state expressions read, and remember the
// totals asked of them.
#pragma once

#include "platform/rtl/FormatText.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPlugins.h"

class TFakePreviewPages : public TfrxCustomPreviewPages {
public:
  using TfrxCustomPreviewPages::TfrxCustomPreviewPages;
  Integer GetCount() override { return 0; }
  TfrxReportPage* GetPage(Integer) override { return nullptr; }
  void Clear() override {}
  void Initialize() override {}
  void AddPage(TfrxReportPage*) override {}
  void AddObject(TfrxComponent*) override {}
  void AddSourcePage(TfrxReportPage*) override {}
  void AddToSourcePage(TfrxComponent*) override {}
  void MarkPosition() override {}
  void ResetToMark() override {}
  Integer CutObjects(Integer) override { return 0; }
  void PasteObjects(Extended, Extended) override {}
  bool BandExists(TfrxBand*) override { return false; }
  Integer GetCurPosition() override { return 0; }
  Extended GetLastY() override { return 0; }
  void AddAnchor(const AnsiString&) override {}
  Integer GetAnchorPage(const AnsiString&) override { return 1; }
  void Finish() override {}
  void LoadFromStream(TStream*, bool) override {}
  void SaveToStream(TStream*) override {}
  bool Export(TfrxCustomExportFilter*) override { return false; }
};

class TFakeEngine : public TfrxCustomEngine {
public:
  explicit TFakeEngine(TfrxReport* AReport) : TfrxCustomEngine(AReport), Pages(AReport) { PreviewPages = &Pages; }
  void EndPage() override {}
  void NewColumn() override {}
  void NewPage() override {}
  void ShowBand(TfrxBand*) override {}
  void ShowBandByClass(TClass) override {}
  Extended GetFooterHeight() override { return 0; }
  Extended FreeSpace() override { return 0; }
  Variant GetAggregateValue(const AnsiString& Name, const AnsiString& Expression, TfrxBand* Band,
                            Integer Flags) override
  {
    LastAggregate =
        Name + "|" + Expression + "|" + (Band ? Band->GetName() : AnsiString("-")) + "|" + SysUtils::IntToStr(Flags);
    return Variant(42);
  }
  bool Run() override { return true; }

  TFakePreviewPages Pages;
  AnsiString LastAggregate;
};
