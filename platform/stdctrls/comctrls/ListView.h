// TCustomListView / TListView: items shown as large icons with their captions centred below,
// in rows that wrap at the control's width and scroll up and down. One item at a time is
// selected (its caption on the highlight colour); a click selects, a click on the empty area
// selects nothing, the arrow keys, Home and End move the selection.
//
// The control paints itself (there is no list-view window class below it): only the icon view
// exists; setting another ViewStyle raises EInvalidOperation.
//
// OnSelectItem tells of each change of selection, the item losing it first (Selected false),
// whether the user or the program made it.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TCustomListView;
class TListItems;

class TListItem : public TObject {
public:
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

  TListItems* GetOwner() const { return FOwner; }
  TCustomListView* GetListView() const;
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The caller's pointer; the item never frees it.
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  int GetIndex() const;
  bool GetSelected() const;
  void SetSelected(bool Value);
  // The item's cell in client coordinates (scrolling applied).
  RECT DisplayRect() const;
  // Scrolls the item into view.
  void MakeVisible();
  // Deletes the item; it is freed.
  void Delete();

private:
  friend class TListItems;
  friend class TCustomListView;
  explicit TListItem(TListItems* AOwner) : FOwner(AOwner) {}
  TListItems* FOwner;
  AnsiString FCaption;
  int FImageIndex = -1;
  void* FData = nullptr;
};

class TListItems : public TObject {
public:
  explicit TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}
  ~TListItems() override;
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;

  TCustomListView* GetOwner() const { return FOwner; }
  int GetCount() const { return int(FItems.size()); }
  // Raises EListError for a bad index.
  TListItem* GetItem(int Index) const;
  TListItem* operator[](int Index) const { return GetItem(Index); }
  // A new item at the end / at Index (clamped); owned here.
  TListItem* Add();
  TListItem* Insert(int Index);
  // Raises EListError for a bad index.
  void Delete(int Index);
  void Clear();
  int IndexOf(const TListItem* Value) const;
  // Changes between the two are laid out and painted once, at the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();

private:
  friend class TListItem;
  friend class TCustomListView;
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  int FUpdateCount = 0;
};

class TCustomListView : public TCustomControl {
  PELTO_CLASS(TCustomListView, TCustomControl)
public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  // Owned by the control.
  TListItems* GetItems() const { return FItems.get(); }
  // Borrowed; forgotten when the list is freed.
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TViewStyle GetViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // The margin inside the border that no item covers.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);

  // The selected item; null when none. Setting it tells OnSelectItem.
  TListItem* GetSelected() const { return FSelected; }
  void SetSelected(TListItem* Value);
  // The selected item's index; -1 when none.
  int GetItemIndex() const;
  void SetItemIndex(int Value);
  // The item whose icon or caption holds the client point; null elsewhere.
  TListItem* GetItemAt(int X, int Y);
  // Items per row at the present width.
  int GetColumnCount();
  // The size of an item's cell.
  SIZE GetCellSize();
  // The first visible line of cells, in pixels from the top of the contents.
  int GetScrollTop() const { return FScrollTop; }
  void ScrollTo(int Top);

  TLVSelectItemEvent OnSelectItem;

  PELTO_PUBLISHED(p)
  {
    p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle).Default(bsSingle);
    p.Property("BorderWidth", &ThisClass::GetBorderWidth, &ThisClass::SetBorderWidth).Default(0);
    p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
    p.Property("LargeImages", &ThisClass::GetLargeImages, &ThisClass::SetLargeImages);
    p.Property("ViewStyle", &ThisClass::GetViewStyle, &ThisClass::SetViewStyle).Default(vsIcon);
    p.Property("OnSelectItem", TypeInfo_TLVSelectItemEvent(), &ThisClass::OnSelectItem, &ThisClass::OnSelectItem);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void SelectItem(TListItem* Item, bool Selected);

private:
  friend class TListItem;
  friend class TListItems;
  // After items or sizes changed: the scroll range, the scroll position kept in range, a repaint.
  void ItemsChanged();
  // The cell of item Index in client coordinates.
  RECT CellRect(int Index);
  // The parts of a cell: the icon and the caption (its text's own rectangle, wrapped to the
  // cell; Full: every line, else at most two).
  RECT IconRect(const RECT& Cell);
  RECT CaptionRect(const RECT& Cell, const AnsiString& Caption, bool Full);
  int ContentHeight();
  void UpdateScrollBar();
  void WMVScroll(TMessage& Message);

  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void ImageListChange();

  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FLargeImages = nullptr;
  TListItem* FSelected = nullptr;
  TViewStyle FViewStyle = vsIcon;
  TBorderStyle FBorderStyle = bsSingle;
  int FBorderWidth = 0;
  int FScrollTop = 0;
  bool FHideSelection = true;
};

class TListView : public TCustomListView {
  PELTO_CLASS(TListView, TCustomListView)
public:
  using TCustomListView::TCustomListView;
};
