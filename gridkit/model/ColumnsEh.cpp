#include "gridkit/model/ColumnsEh.h"

#include <algorithm>

#include "gridkit/edits/MRUListEh.h"
#include "gridkit/filter/STFilterEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/model/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/MathUtils.h"
#include "gridkit/model/GridHostEh.h"

// ---- TColumnTitleEh ---------------------------------------------------------------------------

TColumnTitleEh::TColumnTitleEh(TColumnEh* Column) : FColumn(Column), FFont(std::make_unique<TFont>())
{
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TColumnTitleEh::~TColumnTitleEh() = default;

TColumnTitleDefValuesEh* TColumnTitleEh::Defaults() const
{
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  return grid ? grid->GetColumnDefValues()->GetTitle() : nullptr;
}

TFont* TColumnTitleEh::DefaultFont() const
{
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  if (grid) return grid->GetTitleFont();
  // The column's own font object, read without syncing (it may still be under construction).
  return FColumn->FFont.get();
}

void TColumnTitleEh::FontChanged()
{
  FColumn->SetExplicit(cvTitleFont);
  FColumn->Notify(true);
}

TFont* TColumnTitleEh::GetFont()
{
  if (!FColumn->IsExplicit(cvTitleFont))
    if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  return FFont.get();
}

void TColumnTitleEh::SetFont(TFont* Value) { FFont->Assign(Value); }

bool TColumnTitleEh::FontStored() const { return FColumn->IsExplicit(cvTitleFont); }

TAlignment TColumnTitleEh::GetAlignment() const
{
  if (FColumn->IsExplicit(cvTitleAlignment)) return FAlignment;
  TColumnTitleDefValuesEh* d = Defaults();
  return d ? d->GetAlignment() : taLeftJustify;
}

void TColumnTitleEh::SetAlignment(TAlignment Value) { FColumn->WriteNotifying(cvTitleAlignment, FAlignment, Value); }

bool TColumnTitleEh::AlignmentStored() const
{
  TColumnTitleDefValuesEh* d = Defaults();
  return FColumn->IsExplicit(cvTitleAlignment) && FAlignment != (d ? d->GetAlignment() : taLeftJustify);
}

TColor TColumnTitleEh::GetColor() const
{
  if (FColumn->IsExplicit(cvTitleColor)) return FColor;
  TColumnTitleDefValuesEh* d = Defaults();
  return d ? d->GetColor() : clBtnFace;
}

void TColumnTitleEh::SetColor(TColor Value) { FColumn->WriteNotifying(cvTitleColor, FColor, Value); }

bool TColumnTitleEh::ColorStored() const
{
  TColumnTitleDefValuesEh* d = Defaults();
  return FColumn->IsExplicit(cvTitleColor) && FColor != (d ? d->GetColor() : clBtnFace);
}

bool TColumnTitleEh::GetEndEllipsis() const
{
  if (FColumn->IsExplicit(cvTitleEndEllipsis)) return FEndEllipsis;
  TColumnTitleDefValuesEh* d = Defaults();
  return d && d->GetEndEllipsis();
}

void TColumnTitleEh::SetEndEllipsis(bool Value) { FColumn->WriteNotifying(cvTitleEndEllipsis, FEndEllipsis, Value); }

bool TColumnTitleEh::EndEllipsisStored() const
{
  TColumnTitleDefValuesEh* d = Defaults();
  return FColumn->IsExplicit(cvTitleEndEllipsis) && FEndEllipsis != (d && d->GetEndEllipsis());
}

TTextOrientationEh TColumnTitleEh::GetOrientation() const
{
  if (FColumn->IsExplicit(cvTitleOrientation)) return FOrientation;
  TColumnTitleDefValuesEh* d = Defaults();
  return d ? d->GetOrientation() : tohHorizontal;
}

void TColumnTitleEh::SetOrientation(TTextOrientationEh Value)
{
  FColumn->WriteNotifying(cvTitleOrientation, FOrientation, Value);
}

bool TColumnTitleEh::OrientationStored() const
{
  TColumnTitleDefValuesEh* d = Defaults();
  return FColumn->IsExplicit(cvTitleOrientation) && FOrientation != (d ? d->GetOrientation() : tohHorizontal);
}

bool TColumnTitleEh::GetToolTips() const
{
  if (FColumn->IsExplicit(cvTitleToolTips)) return FToolTips;
  TColumnTitleDefValuesEh* d = Defaults();
  return d && d->GetToolTips();
}

void TColumnTitleEh::SetToolTips(bool Value) { FColumn->WriteQuiet(cvTitleToolTips, FToolTips, Value); }

bool TColumnTitleEh::ToolTipsStored() const
{
  TColumnTitleDefValuesEh* d = Defaults();
  return FColumn->IsExplicit(cvTitleToolTips) && FToolTips != (d && d->GetToolTips());
}

void TColumnTitleEh::SetImageIndex(Integer Value)
{
  FImageIndex = Value;
  if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) grid->LayoutChanged();
}

Integer TColumnTitleEh::SortMarkerAreaWidth()
{
  if (FSortIndex == 0) return 0;
  Integer w = 16;
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  if (grid && grid->GetSortMarkedColumns().size() >= 2)
    w += grid->TextWidth(std::to_string(FSortIndex), nullptr, nullptr, DBGridEh::SortIndexFont());
  Integer room = FColumn->GetWidth() - 4;
  if (room >= w) return w;
  if (room >= w - 14) return w - 14;
  return 0;
}

AnsiString TColumnTitleEh::GetCaption() const
{
  if (FColumn->IsExplicit(cvTitleCaption)) return FCaption;
  if (TField* f = FColumn->GetField()) return f->GetDisplayName();
  return FColumn->GetFieldName();
}

bool TColumnTitleEh::CaptionStored() const
{
  if (!FColumn->IsExplicit(cvTitleCaption)) return false;
  TField* f = FColumn->GetField();
  return FCaption != (f ? f->GetDisplayName() : FColumn->GetFieldName());
}

void TColumnTitleEh::SetCaption(const AnsiString& Value)
{
  if (FColumn->IsAutoCreated()) {
    // A default column's caption is the field's label.
    TDBGridEhModel* grid = FColumn->GetOwnerGrid();
    if (grid && grid->GetDataLink() && grid->GetDataLink()->GetActive())
      if (TField* f = FColumn->GetField()) f->SetDisplayLabel(Value);
    return;
  }
  if (FColumn->IsExplicit(cvTitleCaption) && FCaption == Value) return;
  FCaption = Value;
  FColumn->SetExplicit(cvTitleCaption);
  FColumn->Notify();
}

bool TColumnTitleEh::GetTitleButton() const
{
  if (FColumn->IsExplicit(cvTitleButton)) return FTitleButton;
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  return grid && grid->GetColumnDefValues()->GetTitle()->GetTitleButton();
}

bool TColumnTitleEh::TitleButtonStored() const
{
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  bool def = grid && grid->GetColumnDefValues()->GetTitle()->GetTitleButton();
  return FColumn->IsExplicit(cvTitleButton) && FTitleButton != def;
}

void TColumnTitleEh::SetTitleButton(bool Value)
{
  if (FColumn->IsExplicit(cvTitleButton) && FTitleButton == Value) return;
  FTitleButton = Value;
  FColumn->SetExplicit(cvTitleButton);
  FColumn->Notify();
}

namespace {
TDBGridColumnsEh* GridColumns(TColumnEh* Column) { return dynamic_cast<TDBGridColumnsEh*>(Column->GetCollection()); }
}  // namespace

void TColumnTitleEh::SetSortMarker(TSortMarkerEh Value)
{
  if (Value == FSortMarker) return;
  FSortMarker = Value;
  TDBGridColumnsEh* columns = GridColumns(FColumn);
  if (columns && columns->GetUpdateCount() > 0) return;
  TDBGridEhModel* grid = FColumn->GetOwnerGrid();
  if (grid) {
    TColumnsEhList& marked = grid->GetSortMarkedColumns();
    if (grid->OptionsEh.Contains(dghMultiSortMarking)) {
      if (Value != smNoneEh && FSortIndex == 0) {
        Integer n = 0;
        for (int i = 0; i < columns->GetCount(); ++i)
          if (TColumnEh* c = columns->GetColumnByIndex(i); c && c->GetTitle()->FSortIndex != 0) ++n;
        FSortIndex = n + 1;
        marked.push_back(FColumn);
      } else if (Value == smNoneEh && FSortIndex != 0) {
        for (int i = 0; i < columns->GetCount(); ++i) {
          TColumnEh* c = columns->GetColumnByIndex(i);
          if (c && c->GetTitle()->FSortIndex > FSortIndex) --c->GetTitle()->FSortIndex;
        }
        std::erase(marked, FColumn);
        FSortIndex = 0;
      }
    } else if (Value != smNoneEh) {
      for (int i = 0; i < columns->GetCount(); ++i) {
        TColumnEh* c = columns->GetColumnByIndex(i);
        if (c && c->GetTitle() != this && c->GetTitle()->FSortMarker != smNoneEh)
          c->GetTitle()->SetSortMarker(smNoneEh);
      }
      FSortIndex = 1;
      marked.assign(1, FColumn);
    } else {
      FSortIndex = 0;
      marked.clear();
    }
  }
  FColumn->Notify();
}

void TColumnTitleEh::SetSortIndex(Integer Value)
{
  if (Value < 0) Value = 0;
  if (Value == FSortIndex) return;
  TDBGridColumnsEh* columns = GridColumns(FColumn);
  if (columns && columns->GetUpdateCount() > 0) {
    FSortIndex = Value;
    return;
  }
  if (FSortMarker == smNoneEh || !columns || Value == 0) return;
  for (int i = 0; i < columns->GetCount(); ++i) {
    TColumnEh* c = columns->GetColumnByIndex(i);
    if (!c) continue;
    TColumnTitleEh* other = c->GetTitle();
    if (other == this || other->FSortIndex != Value) continue;
    std::swap(other->FSortIndex, FSortIndex);
    if (TDBGridEhModel* grid = FColumn->GetOwnerGrid()) {
      TColumnsEhList& marked = grid->GetSortMarkedColumns();
      auto a = std::find(marked.begin(), marked.end(), FColumn);
      auto b = std::find(marked.begin(), marked.end(), other->FColumn);
      if (a != marked.end() && b != marked.end()) std::iter_swap(a, b);
    }
    FColumn->Notify();
    return;
  }
}

void TColumnTitleEh::ToggleSortMarker(bool KeepOthers)
{
  if (!KeepOthers)
    if (TDBGridColumnsEh* columns = GridColumns(FColumn))
      for (int i = 0; i < columns->GetCount(); ++i) {
        TColumnEh* c = columns->GetColumnByIndex(i);
        if (c && c->GetTitle() != this && c->GetTitle()->FSortMarker != smNoneEh)
          c->GetTitle()->SetSortMarker(smNoneEh);
      }
  switch (FSortMarker) {
    case smNoneEh: SetSortMarker(smDownEh); break;
    case smDownEh: SetSortMarker(smUpEh); break;
    case smUpEh: SetSortMarker(KeepOthers ? smNoneEh : smDownEh); break;
  }
}

void TColumnTitleEh::ResetToDefaults()
{
  bool fontWasSet = FColumn->IsExplicit(cvTitleFont);
  for (TColumnEhValue v : {cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont, cvTitleButton,
                           cvTitleEndEllipsis, cvTitleToolTips, cvTitleOrientation})
    FColumn->SetExplicit(v, false);
  FCaption.clear();
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  if (fontWasSet) FColumn->Notify(true);
}

void TColumnTitleEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnTitleEh*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src->FColumn->IsExplicit(cvTitleAlignment)) SetAlignment(src->FAlignment);
  if (src->FColumn->IsExplicit(cvTitleColor)) SetColor(src->FColor);
  if (src->FColumn->IsExplicit(cvTitleCaption)) SetCaption(src->FCaption);
  if (src->FColumn->IsExplicit(cvTitleFont)) SetFont(src->FFont.get());
  FHint = src->FHint;
  SetImageIndex(src->FImageIndex);
  SetOrientation(src->GetOrientation());
  SetSortIndex(src->FSortIndex);
  SetSortMarker(src->FSortMarker);
  SetTitleButton(src->GetTitleButton());
  SetEndEllipsis(src->GetEndEllipsis());
  SetToolTips(src->GetToolTips());
}

// ---- TColumnEh --------------------------------------------------------------------------------

TColumnEh::TColumnEh(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()), FKeyList(std::make_unique<TStringList>()),
      FPickList(std::make_unique<TStringList>()), FTitle(std::make_unique<TColumnTitleEh>(this)),
      FSTFilter(std::make_unique<TSTColumnFilterEh>(this)), FMRUList(std::make_unique<TMRUListEh>(this)),
      FDropDownSpecRow(std::make_unique<TSpecRowEh>(this)), FFooter(std::make_unique<TColumnFooterEh>(this)),
      FFooters(std::make_unique<TColumnFootersEh>(this))
{
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FEditButtons = std::make_unique<TEditButtonsEh>(this, TVisibleEditButtonEh::StaticClass());
  FEditButtons->OnChangeInternal = [this](TObject*) { Notify(); };
  FImagesLink = std::make_unique<TChangeLink>();
  FImagesLink->OnChange = [this](TObject*) {
    if (TDBGridEhModel* grid = GetOwnerGrid()) grid->Invalidate();
  };
  DesignWidth = GetWidth();
}

TColumnEh::~TColumnEh()
{
  FImagesLink.reset();
  if (TDBGridEhModel* grid = GetOwnerGrid()) std::erase(grid->GetSortMarkedColumns(), this);
}

TDBGridEhModel* TColumnEh::GetOwnerGrid() const
{
  auto* columns = dynamic_cast<TDBGridColumnsEh*>(GetCollection());
  return columns ? columns->GetGrid() : nullptr;
}

AnsiString TColumnEh::GetDisplayName() { return FFieldName.empty() ? TCollectionItem::GetDisplayName() : FFieldName; }

TField* TColumnEh::GetField()
{
  if (FField || FFieldName.empty()) return FField;
  TDBGridEhModel* grid = GetOwnerGrid();
  TDataSet* ds = grid ? grid->GetDataSet() : nullptr;
  if (ds && (ds->GetActive() || !ds->GetDefaultFields())) {
    if (TField* f = ds->FindField(FFieldName)) {
      FField = f;
      FFieldName = f->GetFieldName();  // the field's own spelling
      SyncFooterSums();
    }
  }
  return FField;
}

void TColumnEh::BindField(TField* Value)
{
  if (Value == FField) return;
  FField = Value;
  if (Value) FFieldName = Value->GetFieldName();
  if (IsAutoCreated()) {
    if (!Value) FFieldName.clear();
    ResetToDefaults();
  }
  SyncFooterSums();
  Notify();
}

TColumnFooterEh* TColumnEh::FooterForRow(Integer I) const
{
  return I >= 0 && I < FFooters->GetCount() ? FFooters->GetItem(I) : FFooter.get();
}

void TColumnEh::SyncFooterSums()
{
  if (!FFooter) return;  // still being constructed
  FFooter->SyncSum();
  for (int i = 0; i < FFooters->GetCount(); ++i) FFooters->GetItem(i)->SyncSum();
}

void TColumnEh::SetFieldName(const AnsiString& Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TDataSet* ds = grid ? grid->GetDataSet() : nullptr;
  TField* field = ds && !grid->Loading && !Value.empty() ? ds->FindField(Value) : nullptr;
  FFieldName = Value;
  FField = nullptr;
  BindField(field);
  DesignWidth = GetWidth();
  Notify();
}

TColumnKindEh TColumnEh::GetColumnKind()
{
  if (GetCheckboxes()) return ckCheckboxes;
  TField* f = GetField();
  if (f && f->GetFieldKind() == fkLookup) return ckLookup;
  if (FPickList->GetCount() > 0 && FKeyList->GetCount() == 0) return ckPickList;
  if (GetImageList() && !FShowImageAndText) return ckImages;
  if (FKeyList->GetCount() > 0 && FPickList->GetCount() > 0) return ckKeyPickList;
  return ckText;
}

void TColumnEh::SetVisible(bool Value)
{
  if (Value == FVisible) return;
  FVisible = Value;
  Notify(true);
}

bool TColumnEh::GetReadOnly() { return IsExplicit(cvReadOnly) ? FReadOnly : DefaultReadOnly(); }

bool TColumnEh::DefaultReadOnly()
{
  TDBGridEhModel* grid = GetOwnerGrid();
  TField* f = GetField();
  return (grid && grid->ReadOnly) || (f && f->GetReadOnly());
}

void TColumnEh::SetReadOnly(bool Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (IsAutoCreated() && grid && grid->GetDataLink() && grid->GetDataLink()->GetActive() && GetField()) {
    GetField()->SetReadOnly(Value);
    return;
  }
  if (IsExplicit(cvReadOnly) && FReadOnly == Value) return;
  FReadOnly = Value;
  SetExplicit(cvReadOnly);
  Notify();
}

bool TColumnEh::GetCheckboxes() { return IsExplicit(cvCheckboxes) ? FCheckboxes : DefaultCheckboxes(); }

bool TColumnEh::DefaultCheckboxes()
{
  TField* f = GetField();
  return f && f->GetDataType() == ftBoolean;
}

void TColumnEh::SetCheckboxes(bool Value)
{
  if (IsExplicit(cvCheckboxes) && FCheckboxes == Value) return;
  FCheckboxes = Value;
  SetExplicit(cvCheckboxes);
  Notify();
}

bool TColumnEh::GetDblClickNextVal() const
{
  if (IsExplicit(cvDblClickNextVal)) return FDblClickNextVal;
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid && grid->GetColumnDefValues()->GetDblClickNextVal();
}

void TColumnEh::SetDblClickNextVal(bool Value)
{
  if (!IsExplicit(cvDblClickNextVal) || Value != FDblClickNextVal) {
    FDblClickNextVal = Value;
    SetExplicit(cvDblClickNextVal);
  }
}

void TColumnEh::SetDisplayFormat(const AnsiString& Value)
{
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Notify();
}

// ---- look -------------------------------------------------------------------------------------

TColumnDefValuesEh* TColumnEh::Defaults() const
{
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid ? grid->GetColumnDefValues() : nullptr;
}

TFont* TColumnEh::DefaultFont() const
{
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid ? grid->GetFont() : nullptr;
}

void TColumnEh::FontChanged()
{
  SetExplicit(cvFont);
  Notify(true);
}

TFont* TColumnEh::GetFont()
{
  if (!IsExplicit(cvFont))
    if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  return FFont.get();
}

void TColumnEh::SetFont(TFont* Value) { FFont->Assign(Value); }

TColor TColumnEh::DefaultColor() const
{
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid ? grid->Color : clWindow;
}

TColor TColumnEh::GetColor() const { return IsExplicit(cvColor) ? FColor : DefaultColor(); }

void TColumnEh::SetColor(TColor Value) { WriteNotifying(cvColor, FColor, Value); }

TAlignment TColumnEh::DefaultAlignment() { return DBGridEh::FieldAlignment(GetField()); }

TAlignment TColumnEh::GetAlignment() { return IsExplicit(cvAlignment) ? FAlignment : DefaultAlignment(); }

void TColumnEh::SetAlignment(TAlignment Value)
{
  // A default column follows its field: its alignment is not the user's layout.
  if (IsAutoCreated() && GetOwnerGrid()) {
    TGridDataLinkEh* link = GetOwnerGrid()->GetDataLink();
    if (!link || !link->GetActive() || !GetField()) return;
  }
  WriteNotifying(cvAlignment, FAlignment, Value);
}

TTextLayout TColumnEh::DefaultLayout() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetLayout() : tlTop;
}

TTextLayout TColumnEh::GetLayout() const { return IsExplicit(cvLayout) ? FLayout : DefaultLayout(); }

void TColumnEh::SetLayout(TTextLayout Value) { WriteNotifying(cvLayout, FLayout, Value); }

bool TColumnEh::DefaultEndEllipsis() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetEndEllipsis() : false;
}

bool TColumnEh::GetEndEllipsis() const { return IsExplicit(cvEndEllipsis) ? FEndEllipsis : DefaultEndEllipsis(); }

void TColumnEh::SetEndEllipsis(bool Value) { WriteNotifying(cvEndEllipsis, FEndEllipsis, Value); }

bool TColumnEh::DefaultToolTips() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetToolTips() : false;
}

bool TColumnEh::GetToolTips() const { return IsExplicit(cvToolTips) ? FToolTips : DefaultToolTips(); }

void TColumnEh::SetToolTips(bool Value) { WriteQuiet(cvToolTips, FToolTips, Value); }

bool TColumnEh::DefaultWordWrap()
{
  TField* f = GetOwnerGrid() ? GetField() : nullptr;
  if (!f) return false;
  TFieldType t = f->GetDataType();
  return t == ftString || t == ftMemo || t == ftFmtMemo || t == ftWideString;
}

bool TColumnEh::GetWordWrap() { return IsExplicit(cvWordWrap) ? FWordWrap : DefaultWordWrap(); }

void TColumnEh::SetWordWrap(bool Value)
{
  // Loaded values are the user's even when they equal today's default.
  TDBGridEhModel* grid = GetOwnerGrid();
  if (grid && grid->Loading) SetExplicit(cvWordWrap);
  WriteDefaultAware(cvWordWrap, FWordWrap, Value, DefaultWordWrap());
}

bool TColumnEh::DefaultAlwaysShowEditButton() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetAlwaysShowEditButton() : false;
}

bool TColumnEh::GetAlwaysShowEditButton() const
{
  return IsExplicit(cvAlwaysShowEditButton) ? FAlwaysShowEditButton : DefaultAlwaysShowEditButton();
}

void TColumnEh::SetAlwaysShowEditButton(bool Value)
{
  WriteNotifying(cvAlwaysShowEditButton, FAlwaysShowEditButton, Value);
}

bool TColumnEh::DefaultAutoDropDown() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetAutoDropDown() : false;
}

bool TColumnEh::GetAutoDropDown() const { return IsExplicit(cvAutoDropDown) ? FAutoDropDown : DefaultAutoDropDown(); }

void TColumnEh::SetAutoDropDown(bool Value) { WriteQuiet(cvAutoDropDown, FAutoDropDown, Value); }

bool TColumnEh::DefaultDropDownSizing() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetDropDownSizing() : false;
}

bool TColumnEh::GetDropDownSizing() const
{
  return IsExplicit(cvDropDownSizing) ? FDropDownSizing : DefaultDropDownSizing();
}

void TColumnEh::SetDropDownSizing(bool Value) { WriteQuiet(cvDropDownSizing, FDropDownSizing, Value); }

bool TColumnEh::DefaultDropDownShowTitles() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetDropDownShowTitles() : false;
}

bool TColumnEh::GetDropDownShowTitles() const
{
  return IsExplicit(cvDropDownShowTitles) ? FDropDownShowTitles : DefaultDropDownShowTitles();
}

void TColumnEh::SetDropDownShowTitles(bool Value) { WriteQuiet(cvDropDownShowTitles, FDropDownShowTitles, Value); }

bool TColumnEh::DefaultHighlightRequired() const
{
  TColumnDefValuesEh* d = Defaults();
  return d ? d->GetHighlightRequired() : false;
}

bool TColumnEh::GetHighlightRequired() const
{
  return IsExplicit(cvHighlightRequired) ? FHighlightRequired : DefaultHighlightRequired();
}

void TColumnEh::SetHighlightRequired(bool Value) { WriteNotifying(cvHighlightRequired, FHighlightRequired, Value); }

TImeMode TColumnEh::DefaultImeMode() const
{
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid ? grid->ImeMode : FImeMode;
}

TImeMode TColumnEh::GetImeMode() const { return IsExplicit(cvImeMode) ? FImeMode : DefaultImeMode(); }

void TColumnEh::SetImeMode(TImeMode Value) { WriteDefaultAware(cvImeMode, FImeMode, Value, DefaultImeMode()); }

AnsiString TColumnEh::DefaultImeName() const
{
  TDBGridEhModel* grid = GetOwnerGrid();
  return grid ? grid->ImeName : FImeName;
}

AnsiString TColumnEh::GetImeName() const { return IsExplicit(cvImeName) ? FImeName : DefaultImeName(); }

void TColumnEh::SetImeName(const AnsiString& Value) { WriteDefaultAware(cvImeName, FImeName, Value, DefaultImeName()); }

bool TColumnEh::Differs(TColumnEhValue V)
{
  if (!IsExplicit(V)) return false;
  switch (V) {
    case cvColor: return FColor != DefaultColor();
    case cvAlignment: return FAlignment != DefaultAlignment();
    case cvLayout: return FLayout != DefaultLayout();
    case cvEndEllipsis: return FEndEllipsis != DefaultEndEllipsis();
    case cvToolTips: return FToolTips != DefaultToolTips();
    case cvWordWrap: return FWordWrap != DefaultWordWrap();
    case cvAlwaysShowEditButton: return FAlwaysShowEditButton != DefaultAlwaysShowEditButton();
    case cvAutoDropDown: return FAutoDropDown != DefaultAutoDropDown();
    case cvDropDownSizing: return FDropDownSizing != DefaultDropDownSizing();
    case cvDropDownShowTitles: return FDropDownShowTitles != DefaultDropDownShowTitles();
    case cvHighlightRequired: return FHighlightRequired != DefaultHighlightRequired();
    case cvImeMode: return FImeMode != DefaultImeMode();
    case cvImeName: return FImeName != DefaultImeName();
    default: return true;
  }
}

// ---- editing and images -----------------------------------------------------------------------

void TColumnEh::SetButtonStyle(TColumnButtonStyleEh Value)
{
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  Notify();
}

void TColumnEh::SetDropDownWidth(Integer Value)
{
  if (Value == FDropDownWidth) return;
  FDropDownWidth = Value;
  Notify();
}

void TColumnEh::SetEditMask(const AnsiString& Value)
{
  if (Value == FEditMask) return;
  FEditMask = Value;
  Notify();
}

void TColumnEh::SetHideDuplicates(bool Value)
{
  if (Value == FHideDuplicates) return;
  FHideDuplicates = Value;
  Notify();
}

void TColumnEh::SetShowImageAndText(bool Value)
{
  if (Value == FShowImageAndText) return;
  FShowImageAndText = Value;
  Notify();
}

// The link forgets a list that is destroyed, so the column never holds a dangling one.
TCustomImageList* TColumnEh::GetImageList() const { return FImagesLink->GetSender(); }

void TColumnEh::SetImageList(TCustomImageList* Value)
{
  if (TCustomImageList* old = GetImageList()) old->UnRegisterChanges(FImagesLink.get());
  if (Value) Value->RegisterChanges(FImagesLink.get());
  if (TDBGridEhModel* grid = GetOwnerGrid()) grid->Invalidate();
}

// ---- width ------------------------------------------------------------------------------------

Integer TColumnEh::NaturalWidth()
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (!grid) return 64;
  TField* f = GetField();
  if (!f) return grid->DefaultColWidth;
  Integer overhang = 0;
  Integer zero = grid->TextWidth("0", &overhang);
  return (zero - overhang) * f->GetDisplayWidth() + overhang + 4;
}

Integer TColumnEh::GetWidth() { return IsExplicit(cvWidth) ? FWidth : NaturalWidth(); }

Integer TColumnEh::ClampWidth(Integer TryWidth) const
{
  if (FMaxWidth > 0 && TryWidth > FMaxWidth) return FMaxWidth;
  if (FMinWidth > 0 && TryWidth < FMinWidth) return FMinWidth;
  return TryWidth;
}

void TColumnEh::SetWidth(Integer Value)
{
  TDBGridEhModel* grid = GetOwnerGrid();
  if (IsAutoCreated() && grid && grid->GetHost() && grid->GetHost()->GetGridHandle() && GetField()) {
    // The width survives a rebuild of default columns as the field's display width.
    Integer overhang = 0, ave = 0;
    Integer zero = grid->TextWidth("0", &overhang, &ave);
    if (zero > 0) GetField()->SetDisplayWidth((Value + ave / 2 - overhang - 3) / zero);
  }
  if (Value != -1 && (IsExplicit(cvWidth) || Value != NaturalWidth())) {
    FWidth = ClampWidth(Value);
    SetExplicit(cvWidth);
  }
  Notify();
}

void TColumnEh::SetMinWidth(Integer Value)
{
  FMinWidth = Value;
  if (Value > 0 && GetWidth() < Value) SetWidth(Value);
}

void TColumnEh::SetMaxWidth(Integer Value)
{
  FMaxWidth = Value;
  if (Value > 0 && GetWidth() > Value) SetWidth(Value);
}

void TColumnEh::SetAutoFitColWidth(bool Value)
{
  FAutoFitColWidth = Value;
  TDBGridEhModel* grid = GetOwnerGrid();
  if (grid && grid->AutoFitColWidths && !grid->Loading && !grid->Designing) SetWidth(DesignWidth);
  Notify();
}

void TColumnEh::SetSTFilter(TSTColumnFilterEh* Value) { FSTFilter->Assign(Value); }

void TColumnEh::ResetToDefaults()
{
  FTitle->ResetToDefaults();
  bool fontWasSet = IsExplicit(cvFont);
  FExplicit = 0;
  if (TFont* def = DefaultFont()) DBGridEh::SyncDefaultFont(FFont.get(), def);
  FPickList->Clear();
  FKeyList->Clear();
  FButtonStyle = cbsAuto;
  Notify(fontWasSet);
}

void TColumnEh::Assign(TPersistent* Source)
{
  auto* src = dynamic_cast<TColumnEh*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* c = GetCollection();
  if (c) c->BeginUpdate();
  struct End {
    TCollection* C;
    ~End()
    {
      if (C) C->EndUpdate();
    }
  } end{c};
  ResetToDefaults();
  SetFieldName(src->FFieldName);
  if (src->IsExplicit(cvColor)) SetColor(src->FColor);
  if (src->IsExplicit(cvWidth)) SetWidth(src->FWidth);
  if (src->IsExplicit(cvFont)) SetFont(src->FFont.get());
  if (src->IsExplicit(cvImeMode)) SetImeMode(src->FImeMode);
  if (src->IsExplicit(cvImeName)) SetImeName(src->FImeName);
  if (src->IsExplicit(cvAlignment)) SetAlignment(src->FAlignment);
  if (src->IsExplicit(cvReadOnly)) SetReadOnly(src->FReadOnly);
  FTitle->Assign(src->FTitle.get());
  FDropDownRows = src->FDropDownRows;
  SetButtonStyle(src->FButtonStyle);
  FPickList->Assign(src->FPickList.get());
  FPopupMenu = src->FPopupMenu;
  DesignWidth = src->DesignWidth;
  SetDropDownWidth(src->FDropDownWidth);
  FKeyList->Assign(src->FKeyList.get());
  if (src->IsExplicit(cvCheckboxes)) SetCheckboxes(src->FCheckboxes);
  FTag = src->FTag;
  SetVisible(src->FVisible);
  FNotInKeyListIndex = src->FNotInKeyListIndex;
  SetDblClickNextVal(src->GetDblClickNextVal());
  SetDisplayFormat(src->FDisplayFormat);
  SetEndEllipsis(src->GetEndEllipsis());
  SetAutoDropDown(src->GetAutoDropDown());
  SetAlwaysShowEditButton(src->GetAlwaysShowEditButton());
  SetWordWrap(src->GetWordWrap());
  SetToolTips(src->GetToolTips());
  SetDropDownSizing(src->GetDropDownSizing());
  SetDropDownShowTitles(src->GetDropDownShowTitles());
  SetImageList(src->GetImageList());
  OnGetCellParams = src->OnGetCellParams;
  OnUpdateData = src->OnUpdateData;
  FEditButtons->Assign(src->FEditButtons.get());
  SetEditMask(src->FEditMask);
  SetShowImageAndText(src->FShowImageAndText);
  FFooter->Assign(src->FFooter.get());
  FFooters->Assign(src->FFooters.get());
}

// ---- TDBGridColumnsEh -------------------------------------------------------------------------

TDBGridColumnsEh::TDBGridColumnsEh(TDBGridEhModel* Grid, TClass ItemClass) : TCollection(ItemClass), FGrid(Grid) {}

TColumnEh* TDBGridColumnsEh::AddAutoCreated()
{
  TColumnEh* c = Add();
  c->Persistent = false;
  return c;
}

bool TDBGridColumnsEh::IsCustomized() const
{
  TColumnEh* first = GetCount() > 0 ? GetColumnByIndex(0) : nullptr;
  return first && first->Persistent;
}

TPersistent* TDBGridColumnsEh::GetOwner() { return FGrid; }

void TDBGridColumnsEh::Update(TCollectionItem* Item)
{
  if (!FGrid || FGrid->Loading) return;
  auto* column = dynamic_cast<TColumnEh*>(Item);
  IDBGridEhHost* host = FGrid->GetHost();
  if (column && host) {
    Integer r = column->GetIndex() + host->GetColumnOffset();
    Integer shown = host->GetGridColWidth(r);
    if (!FGrid->AutoFitColWidths || FGrid->Designing) {
      if (shown == column->GetWidth()) {
        if (FGrid->UseMultiTitle) FGrid->LayoutChanged();
      } else {
        host->SetGridColWidth(r, column->GetVisible() ? column->GetWidth() : (FGrid->ColLines ? -1 : 0));
      }
    } else if (shown != -1 && shown != 0) {
      // The requested width scales by how far the new width differs from the width shown; the
      // next column takes up the difference so that the design widths keep their sum.
      Integer old = column->DesignWidth;
      column->DesignWidth = Math::MulDiv(column->DesignWidth, column->GetWidth(), shown);
      if (column->GetIndex() < GetCount() - 1)
        if (TColumnEh* next = GetColumnByIndex(column->GetIndex() + 1))
          next->DesignWidth = std::max(0, next->DesignWidth + old - column->DesignWidth);
      FGrid->LayoutChanged();
    }
  }
  FGrid->ColumnsChanged(column);
}

// ---- helpers ----------------------------------------------------------------------------------

namespace DBGridEh {

TAlignment FieldAlignment(TField* Field)
{
  if (!Field) return taLeftJustify;
  switch (Field->GetDataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return taRightJustify;
    default: return taLeftJustify;
  }
}

void SyncDefaultFont(TFont* Own, TFont* Default)
{
  if (Own == Default) return;
  if (Own->GetName() == Default->GetName() && Own->GetHeight() == Default->GetHeight() &&
      Own->GetStyle() == Default->GetStyle() && Own->GetColor() == Default->GetColor() &&
      Own->GetCharset() == Default->GetCharset() && Own->GetPitch() == Default->GetPitch())
    return;
  auto handler = std::move(Own->OnChange);
  Own->OnChange = nullptr;
  Own->Assign(Default);
  Own->OnChange = std::move(handler);
}

}  // namespace DBGridEh

PELTO_DEFINE_CLASS(TColumnTitleEh)
PELTO_PUBLISH(TColumnTitleEh, p)
{
  p.Property("Alignment", &TColumnTitleEh::GetAlignment, &TColumnTitleEh::SetAlignment)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleEh*>(o)->AlignmentStored(); });
  p.Property("Caption", &TColumnTitleEh::GetCaption, &TColumnTitleEh::SetCaption).StoredWhen([](const TObject* o) {
    return static_cast<const TColumnTitleEh*>(o)->CaptionStored();
  });
  p.Property("Color", TypeInfo_TColor(), &TColumnTitleEh::GetColor, &TColumnTitleEh::SetColor)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleEh*>(o)->ColorStored(); });
  p.Property("EndEllipsis", &TColumnTitleEh::GetEndEllipsis, &TColumnTitleEh::SetEndEllipsis)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleEh*>(o)->EndEllipsisStored(); });
  p.Property("Font", &TColumnTitleEh::GetFont, &TColumnTitleEh::SetFont).StoredWhen([](const TObject* o) {
    return static_cast<const TColumnTitleEh*>(o)->FontStored();
  });
  p.Property("Hint", &TColumnTitleEh::GetHint, &TColumnTitleEh::SetHint);
  p.Property("ImageIndex", &TColumnTitleEh::GetImageIndex, &TColumnTitleEh::SetImageIndex).Default(-1);
  p.Property("Orientation", &TColumnTitleEh::GetOrientation, &TColumnTitleEh::SetOrientation)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitleEh*>(o)->OrientationStored(); });
  p.Property("SortIndex", &TColumnTitleEh::GetSortIndex, &TColumnTitleEh::SetSortIndex).Default(0);
  p.Property("SortMarker", &TColumnTitleEh::GetSortMarker, &TColumnTitleEh::SetSortMarker).Default(smNoneEh);
  p.Property("TitleButton", &TColumnTitleEh::GetTitleButton, &TColumnTitleEh::SetTitleButton)
      .StoredWhen([](const TObject* o) {
        auto* t = static_cast<const TColumnTitleEh*>(o);
        return t->TitleButtonStored();
      });
  p.Property("ToolTips", &TColumnTitleEh::GetToolTips, &TColumnTitleEh::SetToolTips).StoredWhen([](const TObject* o) {
    return static_cast<const TColumnTitleEh*>(o)->ToolTipsStored();
  });
}

PELTO_DEFINE_CLASS(TColumnEh)
PELTO_PUBLISH(TColumnEh, p)
{
  // Stored when set here and different from the default.
  auto explicitly = [](TColumnEhValue v) {
    return [v](const TObject* o) { return const_cast<TColumnEh*>(static_cast<const TColumnEh*>(o))->Differs(v); };
  };
  p.Property("Alignment", &TColumnEh::GetAlignment, &TColumnEh::SetAlignment).StoredWhen(explicitly(cvAlignment));
  p.Property("AlwaysShowEditButton", &TColumnEh::GetAlwaysShowEditButton, &TColumnEh::SetAlwaysShowEditButton)
      .StoredWhen(explicitly(cvAlwaysShowEditButton));
  p.Property("AutoDropDown", &TColumnEh::GetAutoDropDown, &TColumnEh::SetAutoDropDown)
      .StoredWhen(explicitly(cvAutoDropDown));
  p.Property("ButtonStyle", &TColumnEh::GetButtonStyle, &TColumnEh::SetButtonStyle).Default(cbsAuto);
  p.Property("DropDownRows", &TColumnEh::GetDropDownRows, &TColumnEh::SetDropDownRows).Default(7);
  p.Property("DropDownWidth", &TColumnEh::GetDropDownWidth, &TColumnEh::SetDropDownWidth).Default(0);
  p.Property("EditButtons", &TColumnEh::GetEditButtons, &TColumnEh::SetEditButtons);
  p.Property("EditMask", &TColumnEh::GetEditMask, &TColumnEh::SetEditMask);
  p.Property("HideDuplicates", &TColumnEh::GetHideDuplicates, &TColumnEh::SetHideDuplicates).Default(false);
  p.Property("ShowImageAndText", &TColumnEh::GetShowImageAndText, &TColumnEh::SetShowImageAndText).Default(false);
  p.Property("Checkboxes", &TColumnEh::GetCheckboxes, &TColumnEh::SetCheckboxes).StoredWhen([](const TObject* o) {
    return const_cast<TColumnEh*>(static_cast<const TColumnEh*>(o))->CheckboxesStored();
  });
  p.Property("Color", TypeInfo_TColor(), &TColumnEh::GetColor, &TColumnEh::SetColor).StoredWhen(explicitly(cvColor));
  p.Property("DropDownShowTitles", &TColumnEh::GetDropDownShowTitles, &TColumnEh::SetDropDownShowTitles)
      .StoredWhen(explicitly(cvDropDownShowTitles));
  p.Property("DropDownSizing", &TColumnEh::GetDropDownSizing, &TColumnEh::SetDropDownSizing)
      .StoredWhen(explicitly(cvDropDownSizing));
  p.Property("EndEllipsis", &TColumnEh::GetEndEllipsis, &TColumnEh::SetEndEllipsis)
      .StoredWhen(explicitly(cvEndEllipsis));
  p.Property("Font", &TColumnEh::GetFont, &TColumnEh::SetFont).StoredWhen([](const TObject* o) {
    return static_cast<const TColumnEh*>(o)->IsExplicit(cvFont);
  });
  p.Property("HighlightRequired", &TColumnEh::GetHighlightRequired, &TColumnEh::SetHighlightRequired)
      .StoredWhen(explicitly(cvHighlightRequired));
  p.Property("ImeMode", &TColumnEh::GetImeMode, &TColumnEh::SetImeMode).StoredWhen(explicitly(cvImeMode));
  p.Property("ImeName", TypeInfo_TImeName(), &TColumnEh::GetImeName, &TColumnEh::SetImeName)
      .StoredWhen(explicitly(cvImeName));
  p.Property("Layout", &TColumnEh::GetLayout, &TColumnEh::SetLayout).StoredWhen(explicitly(cvLayout));
  p.Property("ToolTips", &TColumnEh::GetToolTips, &TColumnEh::SetToolTips).StoredWhen(explicitly(cvToolTips));
  p.Property("WordWrap", &TColumnEh::GetWordWrap, &TColumnEh::SetWordWrap).StoredWhen(explicitly(cvWordWrap));
  p.Property("DblClickNextVal", &TColumnEh::GetDblClickNextVal, &TColumnEh::SetDblClickNextVal)
      .StoredWhen([](const TObject* o) { return static_cast<const TColumnEh*>(o)->IsExplicit(cvDblClickNextVal); });
  p.Property("DisplayFormat", &TColumnEh::GetDisplayFormat, &TColumnEh::SetDisplayFormat);
  p.Property("FieldName", &TColumnEh::GetFieldName, &TColumnEh::SetFieldName);
  p.Property("Footer", &TColumnEh::GetFooter, &TColumnEh::SetFooter);
  p.Property("Footers", &TColumnEh::GetFooters, &TColumnEh::SetFooters);
  p.Property("KeyList", &TColumnEh::GetKeyList, &TColumnEh::SetKeyList);
  p.Property("NotInKeyListIndex", &TColumnEh::GetNotInKeyListIndex, &TColumnEh::SetNotInKeyListIndex).Default(-1);
  p.Property("PickList", &TColumnEh::GetPickList, &TColumnEh::SetPickList);
  p.Property("ReadOnly", &TColumnEh::GetReadOnly, &TColumnEh::SetReadOnly).StoredWhen([](const TObject* o) {
    return const_cast<TColumnEh*>(static_cast<const TColumnEh*>(o))->ReadOnlyStored();
  });
  p.Property("STFilter", &TColumnEh::GetSTFilter, &TColumnEh::SetSTFilter);
  p.Property("Tag", &TColumnEh::GetTag, &TColumnEh::SetTag).Default(0);
  p.Property("Title", &TColumnEh::GetTitle, &TColumnEh::SetTitle);
  p.Property("Visible", &TColumnEh::GetVisible, &TColumnEh::SetVisible).Default(true);
  p.Property("Width", &TColumnEh::GetWidth, &TColumnEh::SetWidth).StoredWhen([](const TObject* o) {
    return const_cast<TColumnEh*>(static_cast<const TColumnEh*>(o))->WidthStored();
  });
  p.Property("MinWidth", &TColumnEh::GetMinWidth, &TColumnEh::SetMinWidth).Default(0);
  p.Property("MaxWidth", &TColumnEh::GetMaxWidth, &TColumnEh::SetMaxWidth).Default(0);
  p.Property("AutoFitColWidth", &TColumnEh::GetAutoFitColWidth, &TColumnEh::SetAutoFitColWidth).Default(true);
}

PELTO_DEFINE_CLASS(TDBGridColumnEh)

PELTO_DEFINE_CLASS(TDBGridColumnsEh)
