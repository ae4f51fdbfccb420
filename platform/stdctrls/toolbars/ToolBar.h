// TToolBar: a row (or rows) of TToolButtons over the tool bar window of platform/commctrl. Each
// button control is one button of the window, in the order the buttons were put on the bar;
// the window lays them out (ButtonWidth x ButtonHeight at least, wider for a shown caption,
// wrapped into rows when Wrapable) and each control is moved over its button's rectangle.
//
// Images give the buttons' images, DisabledImages those of disabled buttons (else the image
// greyed) and HotImages those under the pointer of a Flat bar. ShowCaptions shows the captions
// below the images. With AutoSize the bar's height follows its rows.
//
// Clicks come back from the window as commands: a check button's Down follows the window (a
// grouped button of an AllowAllUp group clicked while down goes up), then the button's Click
// runs. A drop-down's arrow drops the button's menu.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/WinControl.h"

class TToolButton;

class TToolBar : public TWinControl {
  PELTO_CLASS(TToolBar, TWinControl)
public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;

  int GetButtonCount() const { return int(FButtons.size()); }
  // Raises EListError for an index out of range.
  TToolButton* GetButton(int Index) const;

  // Borrowed; forgotten when freed.
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* GetHotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  int GetButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int GetButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  bool GetShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  bool GetWrapable() const { return FWrapable; }
  void SetWrapable(bool Value);
  void SetAutoSize(bool Value) override;
  // The rows the buttons take (1 without a window).
  int GetRowCount();

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(false);
    p.Property("ButtonHeight", &ThisClass::GetButtonHeight, &ThisClass::SetButtonHeight).Default(22);
    p.Property("ButtonWidth", &ThisClass::GetButtonWidth, &ThisClass::SetButtonWidth).Default(23);
    p.Property("DisabledImages", &ThisClass::GetDisabledImages, &ThisClass::SetDisabledImages);
    p.Property("Flat", &ThisClass::GetFlat, &ThisClass::SetFlat).Default(false);
    p.Property("HotImages", &ThisClass::GetHotImages, &ThisClass::SetHotImages);
    p.Property("Images", &ThisClass::GetImages, &ThisClass::SetImages);
    p.Property("ShowCaptions", &ThisClass::GetShowCaptions, &ThisClass::SetShowCaptions).Default(false);
    p.Property("Wrapable", &ThisClass::GetWrapable, &ThisClass::SetWrapable).Default(true);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TToolButton;
  void InsertButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  // Puts the button into the window anew (StateOnly: its state only), then moves the controls.
  void UpdateButton(TToolButton* Button, bool StateOnly);
  void UpdateButtonRects();
  // The grouped check buttons around a grouped one, up to a separator or another kind of
  // button; the button alone otherwise.
  std::vector<TToolButton*> GroupOf(TToolButton* Button) const;
  // Lets the other buttons of a down grouped button's group up.
  void ReleaseGroup(TToolButton* Down);
  TToolButton* ButtonOfCommand(int Command) const;
  // The window's form of a button; Text holds its caption while the structure is in use.
  struct TBBUTTON NativeOf(TToolButton* Button, AnsiString& Text) const;
  void SetImageList(TCustomImageList*& Slot, TChangeLink& Link, TCustomImageList* Value);
  void ImageListChange(TObject* Sender);
  void SendImageLists();
  void CNCommand(TMessage& Message);
  void CNNotify(TMessage& Message);

  std::vector<TToolButton*> FButtons;  // borrowed: each is a child control that leaves when freed
  TCustomImageList *FImages = nullptr, *FDisabledImages = nullptr, *FHotImages = nullptr;
  std::unique_ptr<TChangeLink> FImageLink, FDisabledImageLink, FHotImageLink;
  int FButtonWidth = 23, FButtonHeight = 22;
  bool FShowCaptions = false, FFlat = false, FWrapable = true;
  int FNextCommand = 1;
  bool FMovingButtons = false;  // the bar itself is placing the controls
};

namespace ToolBars {
// Registers TToolBar and TToolButton for stored forms. Idempotent.
void Initialize();
}  // namespace ToolBars
