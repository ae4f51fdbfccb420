// The base of report and dialog pages.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "report/engine/model/frxClass.h"

class TfrxPage : public TfrxComponent {
  PELTO_DECLARE_CLASS(TfrxPage, TfrxComponent)
public:
  explicit TfrxPage(TComponent* AOwner) : TfrxComponent(AOwner) {}

  PELTO_PUBLISHED(p);
};

class TfrxBand;

PELTO_ENUM(TPrinterOrientation, poPortrait, poLandscape)
PELTO_ENUM(TfrxDuplexMode, dmNone, dmVertical, dmHorizontal)

// One kind of printed page: paper, margins, columns and the bands printed on it. Paper sizes
// and margins are millimetres; Width and Height follow the paper in pixels (3.77953 per mm).
// The background picture and frame come with the printable objects, the data set with the
// report data sets.
class TfrxReportPage : public TfrxPage {
  PELTO_DECLARE_CLASS(TfrxReportPage, TfrxPage)
public:
  explicit TfrxReportPage(TComponent* AOwner);
  ~TfrxReportPage() override;

  AnsiString GetClassCaption() override;
  AnsiString DefaultBaseName() const override { return "Page"; }

  TPrinterOrientation GetOrientation() const { return FOrientation; }
  // Swaps the paper and turns the margins when the orientation changes.
  void SetOrientation(TPrinterOrientation Value);
  Extended GetPaperWidth() const { return FPaperWidth; }
  Extended GetPaperHeight() const { return FPaperHeight; }
  // Either makes the paper custom (PaperSize 256).
  virtual void SetPaperWidth(Extended Value);
  virtual void SetPaperHeight(Extended Value);
  Integer GetPaperSize() const { return FPaperSize; }
  // A number below 256 takes its size from the paper table (unknown numbers keep the size).
  virtual void SetPaperSize(Integer Value);
  // Margins 10 mm and the current printer's paper and orientation.
  virtual void SetDefaults();
  // Pages laid out in character cells; bands on them snap to the cells.
  virtual bool IsDotMatrix() const { return false; }

  Integer GetColumns() const { return FColumns; }
  // Splits the printable width into equal columns and lists their positions.
  void SetColumns(Integer Value);
  Extended GetColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(Extended Value) { FColumnWidth = Value; }
  TStringList* GetColumnPositions() const { return FColumnPositions.get(); }
  void SetColumnPositions(TStringList* Value);
  TStringList* GetHGuides() const { return FHGuides.get(); }
  void SetHGuides(TStringList* Value);
  TStringList* GetVGuides() const { return FVGuides.get(); }
  void SetVGuides(TStringList* Value);
  void ClearGuides();

  // Width to the printable width while the children align, the bands sized to it, then the
  // page back to the full paper size.
  void AlignChildren() override;
  // The first child band of exactly or derived from BandClass; nullptr when none.
  TfrxBand* FindBand(TClass BandClass) const;

  Extended LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  bool MirrorMargins = false;
  Integer Bin = 7, BinOtherPages = 7;
  TColor Color = clNone;
  AnsiString DataSetName;
  TfrxDuplexMode Duplex = dmNone;
  bool LargeDesignHeight = false;
  AnsiString OutlineText;
  bool PrintIfEmpty = true;
  bool PrintOnPreviousPage = false;
  bool TitleBeforeHeader = true;
  AnsiString OnAfterPrint, OnBeforePrint, OnManualBuild;
  // The subreport object printing this page (not owned; it clears the link when freed).
  class TfrxSubreport* Subreport = nullptr;

  PELTO_PUBLISHED(p);

protected:
  // Stores both sizes as they are (the paper number stays) and recomputes the pixel size.
  void SetPaperDimensions(Extended PaperWidth, Extended PaperHeight);

private:
  void UpdateDimensions();

  TPrinterOrientation FOrientation = poPortrait;
  Extended FPaperWidth = 0, FPaperHeight = 0;
  Integer FPaperSize = 0;
  Integer FColumns = 0;
  Extended FColumnWidth = 0;
  std::unique_ptr<TStringList> FColumnPositions, FHGuides, FVGuides;
};

namespace frxPage {
// Pixels per millimetre.
constexpr Extended fr01cm = 3.77953;
// One character cell of a dot-matrix page, in pixels.
constexpr Extended fr1CharX = 9.6;
constexpr Extended fr1CharY = 17;
}  // namespace frxPage
