// The grid's columns: each binds a dataset field by name (lazily), has a title with the sort
// marker and its position among the sort-marked columns, value lists, and a filter cell's
// settings. The collection tells the grid model of every change.
//
// Most look settings follow the explicit-value rule: a column, title or footer reads the grid's
// default until the value is set on it, and stores only what is set and differs from it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gridkit/edits/EditButtonsEh.h"
#include "gridkit/filter/STFilterEh.h"
#include "gridkit/model/ColumnDefValuesEh.h"
#include "gridkit/model/ColumnFootersEh.h"
#include "platform/classes/Collection.h"
#include "platform/classes/TextAlignment.h"
#include "platform/forms/controls/ControlEnums.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/StringList.h"

class TColumnEh;
class TDBGridEhModel;
class TDataSet;
class TMRUListEh;
class TSpecRowEh;
class TCustomImageList;
class TChangeLink;
class Variant;
class TField;

PELTO_ENUM(TSortMarkerEh, smNoneEh, smDownEh, smUpEh)
PELTO_ENUM(TColumnKindEh, ckText, ckPickList, ckLookup, ckKeyPickList, ckImages, ckCheckboxes)
// Which button the in-place editor shows; cbsAuto decides by the field and the lists.
PELTO_ENUM(TColumnButtonStyleEh, cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown)
// The class library's check-box states (held here until the standard controls bring them).
PELTO_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// One cell's look and content as painting and export see it; the column's OnGetCellParams may
// change it. Font is borrowed from whoever fills the parameters.
struct TColCellParamsEh {
  Integer Row = -1, Col = -1;
  AnsiString Text;
  TFont* Font = nullptr;
  TColor Background = clWindow;
  TAlignment Alignment = taLeftJustify;
  Integer ImageIndex = -1;
  TCheckBoxState CheckState = cbUnchecked;
};
using TGetColCellParamsEventEh = std::function<void(TObject* Sender, bool EditMode, TColCellParamsEh& Params)>;

using TColUpdateDataEventEh =
    std::function<void(TObject* Sender, AnsiString& Text, Variant& Value, bool& UseText, bool& Handled)>;

class TColumnTitleEh : public TPersistent {
  PELTO_DECLARE_CLASS(TColumnTitleEh, TPersistent)
public:
  explicit TColumnTitleEh(TColumnEh* Column);
  ~TColumnTitleEh() override;
  void Assign(TPersistent* Source) override;

  // The field's display name, else the column's field name, until one is set.
  AnsiString GetCaption() const;
  virtual void SetCaption(const AnsiString& Value);
  bool CaptionStored() const;
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  // ---- look (the grid's title defaults until set here) ---------------------------------------
  TAlignment GetAlignment() const;
  void SetAlignment(TAlignment Value);
  TColor GetColor() const;
  void SetColor(TColor Value);
  bool GetEndEllipsis() const;
  void SetEndEllipsis(bool Value);
  TTextOrientationEh GetOrientation() const;
  void SetOrientation(TTextOrientationEh Value);
  bool GetToolTips() const;
  void SetToolTips(bool Value);
  // The grid's TitleFont (outside a grid the column's font) until changed here.
  TFont* GetFont();
  void SetFont(TFont* Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  // The width the title reserves for the sort marker (and its number when several are marked).
  Integer SortMarkerAreaWidth();
  TSortMarkerEh GetSortMarker() const { return FSortMarker; }
  void SetSortMarker(TSortMarkerEh Value);
  Integer GetSortIndex() const { return FSortIndex; }
  // Exchanges the sort position with the column holding Value; no other change is possible.
  void SetSortIndex(Integer Value);
  bool GetTitleButton() const;
  void SetTitleButton(bool Value);
  // The title-click cycle: none, down, up, then down again (or none with KeepOthers).
  void ToggleSortMarker(bool KeepOthers);
  virtual void ResetToDefaults();
  TColumnEh* GetColumn() const { return FColumn; }

  PELTO_PUBLISHED(p);

private:
  friend class TColumnEh;
  friend class TDBGridEhModel;
  bool TitleButtonStored() const;
  bool AlignmentStored() const;
  bool ColorStored() const;
  bool EndEllipsisStored() const;
  bool OrientationStored() const;
  bool ToolTipsStored() const;
  bool FontStored() const;
  // The grid's title defaults, nullptr outside a grid.
  TColumnTitleDefValuesEh* Defaults() const;
  TFont* DefaultFont() const;
  void FontChanged();
  TColumnEh* FColumn;
  AnsiString FCaption;
  AnsiString FHint;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clBtnFace;
  bool FEndEllipsis = false, FToolTips = false;
  TTextOrientationEh FOrientation = tohHorizontal;
  Integer FImageIndex = -1;
  std::unique_ptr<TFont> FFont;
  TSortMarkerEh FSortMarker = smNoneEh;
  Integer FSortIndex = 0;
  bool FTitleButton = false;
};

// Flags of the properties set on the column itself (the rest read the grid's defaults).
enum TColumnEhValue {
  cvColor,
  cvWidth,
  cvFont,
  cvAlignment,
  cvReadOnly,
  cvTitleColor,
  cvTitleCaption,
  cvTitleAlignment,
  cvTitleFont,
  cvTitleButton,
  cvTitleEndEllipsis,
  cvTitleToolTips,
  cvTitleOrientation,
  cvImeMode,
  cvImeName,
  cvWordWrap,
  cvLookupDisplayFields,
  cvCheckboxes,
  cvAlwaysShowEditButton,
  cvEndEllipsis,
  cvAutoDropDown,
  cvDblClickNextVal,
  cvToolTips,
  cvDropDownSizing,
  cvDropDownShowTitles,
  cvLayout,
  cvHighlightRequired
};

class TColumnEh : public TCollectionItem {
  PELTO_DECLARE_CLASS(TColumnEh, TCollectionItem)
public:
  explicit TColumnEh(TCollection* Collection);
  ~TColumnEh() override;
  void Assign(TPersistent* Source) override;
  AnsiString GetDisplayName() override;

  // The grid model of the collection, or nullptr outside a grid.
  TDBGridEhModel* GetOwnerGrid() const;
  // The bound field, looked up by name on first need (the dataset open or with persistent fields).
  TField* GetField();
  virtual void BindField(TField* Value);
  const AnsiString& GetFieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value);
  virtual bool IsAutoCreated() const { return !Persistent; }
  TColumnKindEh GetColumnKind();

  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetReadOnly();
  void SetReadOnly(bool Value);
  bool GetCheckboxes();
  void SetCheckboxes(bool Value);
  bool GetDblClickNextVal() const;
  void SetDblClickNextVal(bool Value);
  TStrings* GetKeyList() const { return FKeyList.get(); }
  void SetKeyList(TStrings* Value) { FKeyList->Assign(Value); }
  TStrings* GetPickList() const { return FPickList.get(); }
  void SetPickList(TStrings* Value) { FPickList->Assign(Value); }
  Integer GetNotInKeyListIndex() const { return FNotInKeyListIndex; }
  void SetNotInKeyListIndex(Integer Value) { FNotInKeyListIndex = Value; }
  const AnsiString& GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const AnsiString& Value);
  Integer GetTag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  // ---- width -------------------------------------------------------------------------------
  // NaturalWidth until set here; a value equal to it leaves the width inheriting.
  Integer GetWidth();
  virtual void SetWidth(Integer Value);
  bool WidthStored() { return IsExplicit(cvWidth) && FWidth != NaturalWidth(); }
  // 64 outside a grid; from the field's DisplayWidth measured in the grid's font; else the grid's
  // DefaultColWidth.
  Integer NaturalWidth();
  Integer ClampWidth(Integer TryWidth) const;
  Integer GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  Integer GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  bool GetAutoFitColWidth() const { return FAutoFitColWidth; }
  void SetAutoFitColWidth(bool Value);
  Integer DesignWidth = 0;  // the width asked for before the grid's auto-fit stretches it

  // ---- look (the grid's defaults until set here) ---------------------------------------------
  // The grid's Color; clWindow outside a grid.
  TColor GetColor() const;
  void SetColor(TColor Value);
  // The grid's Font until changed here; any change of it marks it set.
  TFont* GetFont();
  void SetFont(TFont* Value);
  // The field's alignment (numbers right-justified); taLeftJustify without field.
  TAlignment GetAlignment();
  virtual void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const;
  void SetLayout(TTextLayout Value);
  bool GetEndEllipsis() const;
  void SetEndEllipsis(bool Value);
  bool GetToolTips() const;
  void SetToolTips(bool Value);
  // True for text and memo fields in a grid.
  bool GetWordWrap();
  virtual void SetWordWrap(bool Value);
  bool GetAlwaysShowEditButton() const;
  void SetAlwaysShowEditButton(bool Value);
  bool GetAutoDropDown() const;
  void SetAutoDropDown(bool Value);
  bool GetDropDownSizing() const;
  void SetDropDownSizing(bool Value);
  bool GetDropDownShowTitles() const;
  void SetDropDownShowTitles(bool Value);
  bool GetHighlightRequired() const;
  virtual void SetHighlightRequired(bool Value);
  // The grid's input-method settings until set here.
  TImeMode GetImeMode() const;
  virtual void SetImeMode(TImeMode Value);
  AnsiString GetImeName() const;
  virtual void SetImeName(const AnsiString& Value);

  // ---- editing and images ------------------------------------------------------------------
  TColumnButtonStyleEh GetButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TColumnButtonStyleEh Value);
  // The extra buttons of the in-place editor; any change of them is a change of the column.
  TEditButtonsEh* GetEditButtons() const { return FEditButtons.get(); }
  void SetEditButtons(TEditButtonsEh* Value) { FEditButtons->Assign(Value); }
  Integer GetDropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(Integer Value) { FDropDownRows = Value; }
  Integer GetDropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(Integer Value);
  const AnsiString& GetEditMask() const { return FEditMask; }
  void SetEditMask(const AnsiString& Value);
  bool GetHideDuplicates() const { return FHideDuplicates; }
  virtual void SetHideDuplicates(bool Value);
  bool GetShowImageAndText() const { return FShowImageAndText; }
  void SetShowImageAndText(bool Value);
  // Borrowed; a change of the list repaints the grid.
  TCustomImageList* GetImageList() const;
  void SetImageList(TCustomImageList* Value);
  // Borrowed; shown for the column's cells.
  TPopupMenuBase* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenuBase* Value) { FPopupMenu = Value; }

  TColumnTitleEh* GetTitle() const { return FTitle.get(); }
  void SetTitle(TColumnTitleEh* Value) { FTitle->Assign(Value); }
  TSTColumnFilterEh* GetSTFilter() const { return FSTFilter.get(); }
  void SetSTFilter(TSTColumnFilterEh* Value);
  // Stored with the form only when set here and different from the default.
  bool ReadOnlyStored() { return IsExplicit(cvReadOnly) && FReadOnly != DefaultReadOnly(); }
  bool CheckboxesStored() { return IsExplicit(cvCheckboxes) && FCheckboxes != DefaultCheckboxes(); }
  // ---- values ------------------------------------------------------------------------------
  // The current record's cell text: through the key and pick lists, else the formatted field.
  AnsiString CellDisplayText();
  TCheckBoxState ReadCheckState();
  void WriteCheckState(TCheckBoxState State);
  Integer CellImageIndex();
  // Whether the cell may be edited; with StartEdit the link goes into edit state. A blob field
  // takes only typed text (memo text or an OnSetText handler) unless AcceptsBinary: the
  // binary paste carries its bytes whole.
  bool CanEditValue(bool StartEdit, bool AcceptsBinary = false);
  // Writes Text (parsed by the field) or Value through OnUpdateData; raises the field's
  // conversion error for a text it cannot take.
  void WriteValue(const AnsiString& Text, const Variant& Value, bool UseText);
  // The next (Step 1) or previous value: check state, list entry or number + Step.
  void StepValue(double Step);
  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  TMRUListEh* GetMRUList() const { return FMRUList.get(); }
  TColumnFooterEh* GetFooter() const { return FFooter.get(); }
  void SetFooter(TColumnFooterEh* Value) { FFooter->Assign(Value); }
  TColumnFootersEh* GetFooters() const { return FFooters.get(); }
  void SetFooters(TColumnFootersEh* Value) { FFooters->Assign(Value); }
  // Item I of Footers when there is one, else Footer.
  TColumnFooterEh* FooterForRow(Integer I) const;
  void SyncFooterSums();
  TSpecRowEh* GetDropDownSpecRow() const { return FDropDownSpecRow.get(); }
  TColUpdateDataEventEh OnUpdateData;
  TGetColCellParamsEventEh OnGetCellParams;
  virtual void FireGetCellParams(bool EditMode, TColCellParamsEh& Params)
  {
    if (OnGetCellParams) OnGetCellParams(this, EditMode, Params);
  }

  bool IsExplicit(TColumnEhValue V) const { return (FExplicit >> V) & 1u; }
  virtual void ResetToDefaults();
  // Marks a change of this column (or of all) for the grid.
  void Notify(bool AllItems = false) { Changed(AllItems); }

  bool Persistent = true;  // False for a column the grid made from the dataset's fields

  PELTO_PUBLISHED(p);

private:
  friend class TColumnTitleEh;
  friend class TColumnFooterEh;
  bool DefaultReadOnly();
  bool DefaultCheckboxes();
  bool DefaultWordWrap();
  TColor DefaultColor() const;
  TAlignment DefaultAlignment();
  TTextLayout DefaultLayout() const;
  bool DefaultEndEllipsis() const;
  bool DefaultToolTips() const;
  bool DefaultAlwaysShowEditButton() const;
  bool DefaultAutoDropDown() const;
  bool DefaultDropDownSizing() const;
  bool DefaultDropDownShowTitles() const;
  bool DefaultHighlightRequired() const;
  TImeMode DefaultImeMode() const;
  AnsiString DefaultImeName() const;
  // Set here and different from the default (what is stored with the form).
  bool Differs(TColumnEhValue V);
  TColumnDefValuesEh* Defaults() const;
  TFont* DefaultFont() const;
  void FontChanged();
  // The three ways a defaultable value is written.
  template <class T>
  void WriteNotifying(TColumnEhValue V, T& Field, const T& Value)
  {
    if (IsExplicit(V) && Field == Value) return;
    Field = Value;
    SetExplicit(V);
    Notify();
  }
  template <class T>
  void WriteQuiet(TColumnEhValue V, T& Field, const T& Value)
  {
    if (IsExplicit(V) && Field == Value) return;
    Field = Value;
    SetExplicit(V);
  }
  template <class T>
  void WriteDefaultAware(TColumnEhValue V, T& Field, const T& Value, const T& Default)
  {
    if (IsExplicit(V) || Value != Default) {
      Field = Value;
      SetExplicit(V);
    }
    Notify();
  }
  void SetExplicit(TColumnEhValue V, bool On = true)
  {
    if (On)
      FExplicit |= 1u << V;
    else
      FExplicit &= ~(1u << V);
  }

  std::uint32_t FExplicit = 0;
  TColumnButtonStyleEh FButtonStyle = cbsAuto;
  std::unique_ptr<TEditButtonsEh> FEditButtons;
  Integer FDropDownRows = 7, FDropDownWidth = 0;
  AnsiString FEditMask;
  bool FHideDuplicates = false, FShowImageAndText = false;
  std::unique_ptr<TChangeLink> FImagesLink;
  TPopupMenuBase* FPopupMenu = nullptr;
  TColor FColor = clWindow;
  std::unique_ptr<TFont> FFont;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  TImeMode FImeMode = imDontCare;
  AnsiString FImeName;
  bool FEndEllipsis = false, FToolTips = false, FWordWrap = false, FAlwaysShowEditButton = false, FAutoDropDown = false,
       FDropDownSizing = false, FDropDownShowTitles = false, FHighlightRequired = false;
  TField* FField = nullptr;
  AnsiString FFieldName;
  bool FVisible = true;
  bool FReadOnly = false;
  bool FCheckboxes = false;
  bool FDblClickNextVal = false;
  std::unique_ptr<TStringList> FKeyList;
  std::unique_ptr<TStringList> FPickList;
  Integer FNotInKeyListIndex = -1;
  AnsiString FDisplayFormat;
  Integer FTag = 0;
  std::unique_ptr<TColumnTitleEh> FTitle;
  std::unique_ptr<TSTColumnFilterEh> FSTFilter;
  std::unique_ptr<TMRUListEh> FMRUList;
  std::unique_ptr<TSpecRowEh> FDropDownSpecRow;
  double FIncrement = 1;
  Integer FWidth = 0;
  Integer FMinWidth = 0, FMaxWidth = 0;
  bool FAutoFitColWidth = true;
  std::unique_ptr<TColumnFooterEh> FFooter;
  std::unique_ptr<TColumnFootersEh> FFooters;
};

class TDBGridColumnEh : public TColumnEh {
  PELTO_DECLARE_CLASS(TDBGridColumnEh, TColumnEh)
public:
  explicit TDBGridColumnEh(TCollection* Collection) : TColumnEh(Collection) {}
};

// The grid's Columns.
class TDBGridColumnsEh : public TCollection {
  PELTO_DECLARE_CLASS(TDBGridColumnsEh, TCollection)
public:
  TDBGridColumnsEh(TDBGridEhModel* Grid, TClass ItemClass);
  TColumnEh* Add() { return static_cast<TColumnEh*>(TCollection::Add()); }
  // A column made from a dataset field (not part of the user's layout).
  TColumnEh* AddAutoCreated();
  // Raises EListError for an index outside 0..Count-1. nullptr for a column still being
  // constructed (the collection reports the addition from inside its constructor).
  TColumnEh* GetColumnByIndex(int Index) const { return dynamic_cast<TColumnEh*>(GetItem(Index)); }
  // The first column is the user's: the layout is kept rather than rebuilt from the fields.
  bool IsCustomized() const;
  TDBGridEhModel* GetGrid() const { return FGrid; }
  TPersistent* GetOwner() override;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDBGridEhModel* FGrid;
};

using TColumnsEhList = std::vector<TColumnEh*>;

namespace DBGridEh {
// The field's display text, or its value in DisplayFormat (numbers, dates); "" for Null.
AnsiString FormatFieldForDisplay(TField* Field, const AnsiString& DisplayFormat);
// ValueList split at ";" (trimmed pieces): one equals Value ignoring case.
bool ValueListContains(const AnsiString& ValueList, const AnsiString& Value);
bool LookupValueFound(TField* Field);
// The class library's alignment of a field's values: numbers right-justified, else left.
TAlignment FieldAlignment(TField* Field);
// Brings Own in line with Default without telling Own's change handler.
void SyncDefaultFont(TFont* Own, TFont* Default);
}  // namespace DBGridEh
