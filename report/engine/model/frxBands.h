// Bands: the strips of a report page that the engine prints as units, in eighteen kinds.
//
// On a dot-matrix page a band's Left snaps to character columns (9.6 pixels), its Top and Height
// to character rows (17 pixels).
#pragma once

#include "report/engine/model/frxClass.h"

class TfrxChild;

class TfrxBand : public TfrxReportComponent {
  PELTO_DECLARE_CLASS(TfrxBand, TfrxReportComponent)
public:
  explicit TfrxBand(TComponent* AOwner);
  ~TfrxBand() override;

  // Index 0..17 in the kind table of the last kind the band is or derives from; 0 for none.
  Integer GetBandKind() const;
  AnsiString GetClassCaption() override;
  // The class name less "Tfrx" and "Band" ("TfrxMasterData" -> "MasterData").
  AnsiString DefaultBaseName() const override;
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetHeight(Extended Value) override;

  bool GetAllowSplit() const { return FAllowSplit; }
  void SetAllowSplit(bool Value) { FAllowSplit = Value; }
  // The band printed right after this one (not owned; cleared when it is freed).
  TfrxChild* GetChild() const { return FChild; }
  void SetChild(TfrxChild* Value);
  bool GetKeepChild() const { return FKeepChild; }
  void SetKeepChild(bool Value) { FKeepChild = Value; }
  const AnsiString& GetOutlineText() const { return FOutlineText; }
  void SetOutlineText(const AnsiString& Value) { FOutlineText = Value; }
  bool GetStartNewPage() const { return FStartNewPage; }
  void SetStartNewPage(bool Value) { FStartNewPage = Value; }
  bool GetStretched() const { return FStretched; }
  void SetStretched(bool Value) { FStretched = Value; }
  bool GetPrintChildIfInvisible() const { return FPrintChildIfInvisible; }
  void SetPrintChildIfInvisible(bool Value) { FPrintChildIfInvisible = Value; }
  bool GetVertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }

  AnsiString OnAfterCalcHeight;

  // Engine state.
  Integer LineN = 0;
  Integer LineThrough = 0;
  Integer InitialObjectCount = -1;

  PELTO_PUBLISHED(p);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool FAllowSplit = false;
  TfrxChild* FChild = nullptr;
  bool FKeepChild = false;
  AnsiString FOutlineText;
  bool FStartNewPage = false;
  bool FStretched = false;
  bool FPrintChildIfInvisible = false;
  bool FVertical = false;
};

class TfrxReportTitle : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxReportTitle, TfrxBand)
public:
  explicit TfrxReportTitle(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

class TfrxReportSummary : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxReportSummary, TfrxBand)
public:
  explicit TfrxReportSummary(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

class TfrxPageHeader : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxPageHeader, TfrxBand)
public:
  explicit TfrxPageHeader(TComponent* AOwner) : TfrxBand(AOwner) {}
  bool PrintOnFirstPage = true;
  PELTO_PUBLISHED(p);
};

class TfrxPageFooter : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxPageFooter, TfrxBand)
public:
  explicit TfrxPageFooter(TComponent* AOwner) : TfrxBand(AOwner) {}
  bool PrintOnFirstPage = true;
  bool PrintOnLastPage = true;
  PELTO_PUBLISHED(p);
};

class TfrxHeader : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxHeader, TfrxBand)
public:
  explicit TfrxHeader(TComponent* AOwner) : TfrxBand(AOwner) {}
  bool ReprintOnNewPage = false;
  PELTO_PUBLISHED(p);
};

class TfrxFooter : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxFooter, TfrxBand)
public:
  explicit TfrxFooter(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

class TfrxDataBand : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxDataBand, TfrxBand)
public:
  explicit TfrxDataBand(TComponent* AOwner) : TfrxBand(AOwner) {}
  AnsiString GetClassCaption() override;

  Integer GetColumns() const { return FColumns; }
  void SetColumns(Integer Value) { FColumns = Value; }
  Extended GetColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(Extended Value) { FColumnWidth = Value; }
  Extended GetColumnGap() const { return FColumnGap; }
  void SetColumnGap(Extended Value) { FColumnGap = Value; }
  const AnsiString& GetDataSetName() const { return FDataSetName; }
  void SetDataSetName(const AnsiString& Value) { FDataSetName = Value; }
  Integer GetRowCount() const { return FRowCount; }
  void SetRowCount(Integer Value) { FRowCount = Value; }
  // Moves the band to data column Value (beyond Columns: back to 1); column 1 resets
  // ColumnMaxY.
  void SetCurColumn(Integer Value);
  Integer GetCurColumn() const { return FCurColumn; }

  bool FooterAfterEach = false, KeepFooter = false, KeepHeader = false, KeepTogether = false,
       PrintIfDetailEmpty = false;
  AnsiString OnMasterDetail;
  Extended ColumnMaxY = 0;

  PELTO_PUBLISHED(p);

private:
  Integer FColumns = 0;
  Extended FColumnWidth = 0;
  Extended FColumnGap = 0;
  AnsiString FDataSetName;
  Integer FRowCount = 0;
  Integer FCurColumn = 1;
};

#define FRX_DATA_KIND(Name)                                     \
  class Name : public TfrxDataBand {                            \
    PELTO_DECLARE_CLASS(Name, TfrxDataBand)                     \
  public:                                                       \
    explicit Name(TComponent* AOwner) : TfrxDataBand(AOwner) {} \
  };
FRX_DATA_KIND(TfrxMasterData)
FRX_DATA_KIND(TfrxDetailData)
FRX_DATA_KIND(TfrxSubdetailData)
FRX_DATA_KIND(TfrxDataBand4)
FRX_DATA_KIND(TfrxDataBand5)
FRX_DATA_KIND(TfrxDataBand6)
#undef FRX_DATA_KIND

class TfrxGroupHeader : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxGroupHeader, TfrxBand)
public:
  explicit TfrxGroupHeader(TComponent* AOwner) : TfrxBand(AOwner) {}
  AnsiString Condition;
  bool KeepTogether = false;
  bool ReprintOnNewPage = false;
  PELTO_PUBLISHED(p);
};

class TfrxGroupFooter : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxGroupFooter, TfrxBand)
public:
  explicit TfrxGroupFooter(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

class TfrxChild : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxChild, TfrxBand)
public:
  explicit TfrxChild(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

class TfrxColumnHeader : public TfrxBand {
  PELTO_DECLARE_CLASS(TfrxColumnHeader, TfrxBand)
public:
  explicit TfrxColumnHeader(TComponent* AOwner) : TfrxBand(AOwner) {}
  PELTO_PUBLISHED(p);
};

#define FRX_PLAIN_BAND(Name)                                \
  class Name : public TfrxBand {                            \
    PELTO_DECLARE_CLASS(Name, TfrxBand)                     \
  public:                                                   \
    explicit Name(TComponent* AOwner) : TfrxBand(AOwner) {} \
  };
FRX_PLAIN_BAND(TfrxColumnFooter)
FRX_PLAIN_BAND(TfrxOverlay)
// A band the engine makes for its own use; no kind of its own.
FRX_PLAIN_BAND(TfrxNullBand)
#undef FRX_PLAIN_BAND

namespace frxBands {

// The band classes by kind number.
TClass BandKindClass(Integer Kind);
// Registers the band classes by name; idempotent.
void Initialize();

}  // namespace frxBands
