// The desktop's icon panel: large icons with their captions in rows, one per top-level entry of
// the navigation tree. A click selects an icon; a double click fires OnDblClick.
#pragma once

#include <vector>

#include "platform/forms/controls/CustomControl.h"

class TCustomImageList;

class TDesktopIcons : public TCustomControl {
  PELTO_CLASS(TDesktopIcons, TCustomControl)
public:
  struct TItem {
    AnsiString Caption;
    int ImageIndex = -1;
    void* Data = nullptr;  // borrowed: the tree node's data
  };

  explicit TDesktopIcons(TComponent* AOwner);

  void SetImages(TCustomImageList* Value);  // borrowed; forgotten when it is freed
  void Clear();
  void Add(const AnsiString& Caption, int ImageIndex, void* Data);
  int GetCount() const { return int(FItems.size()); }
  const TItem& GetItem(int Index) const { return FItems[size_t(Index)]; }
  int GetItemIndex() const { return FSelected; }
  void SetItemIndex(int Value);
  // The icon at client point (X, Y); -1 when none.
  int ItemAt(int X, int Y) const;
  // Where icon Index stands (its image and caption cell).
  RECT ItemRect(int Index) const;

  static constexpr int CellWidth = 96, CellHeight = 80, Margin = 5;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::vector<TItem> FItems;
  TCustomImageList* FImages = nullptr;
  int FSelected = -1;
};
