// The preview window a report opens when the host gave it no preview control of its own: a
// tool bar of the preview's commands (which ones show follows the report's preview options),
// the zoom box, page navigation, a status bar and the preview filling the rest.
#pragma once

#include <map>
#include <vector>

#include "platform/forms/forms/Form.h"
#include "report/engine/model/frxCustomPreview.h"

class TCustomImageList;
class TEdit;
class TfrxComboBox;
class TfrxPreview;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TSpeedButton;
class TStatusBar;
class TToolBar;
class TToolButton;

class TfrxPreviewForm : public TForm, public IfrxPreviewWindow {
  PELTO_DECLARE_CLASS(TfrxPreviewForm, TForm)
public:
  explicit TfrxPreviewForm(TComponent* AOwner);
  ~TfrxPreviewForm() override;

  TfrxPreview* GetPreview() const { return FPreview; }
  // Applies the report's preview options (window state, outline, zoom, buttons, captions, the
  // export menu, the caption), then initialises the preview.
  void Init();
  // The second status panel; lets pending messages run.
  void SetStatusText(const AnsiString& Text) override;
  void ClosePreview() override { Close(); }
  // Commands refused while a preparation runs are disabled (and released).
  void UpdateControls();
  // The zoom box shows the preview's zoom in per cent.
  void UpdateZoom();
  // The close button's caption ("取消" while a preparation runs).
  void SetCloseCaption(const AnsiString& Text);

  // The zoom box's choice or typed text; a text that is no number raises EConvertError and
  // leaves the zoom as it was.
  void ZoomCBClick();
  // The typed page number; one that is no whole number raises EConvertError.
  void PageEntered();
  // The print button: the print dialog, or the message that no printer is installed.
  void PrintClick();

  // The tool bar's button of that name ("PrintB", "ZoomCB"...); nullptr when unknown.
  TControl* Button(const AnsiString& Name) const;
  TfrxComboBox* GetZoomCB() const { return FZoomCB; }
  TEdit* GetPageE() const { return FPageE; }
  TStatusBar* GetStatusBar() const { return FStatusBar; }
  TPopupMenu* GetExportPopup() const { return FExportPopup; }
  TSpeedButton* GetCancelB() const { return FCancelB; }
  TToolBar* GetToolBar() const { return FToolBar; }

protected:
  bool CloseQuery() override;
  void DoClose(TCloseAction& Action) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void Resize() override;
  void DoShow() override;

private:
  TToolButton* AddButton(const AnsiString& Name, int Image, const AnsiString& Caption, bool Separator = false);
  void AddSeparator(const AnsiString& Name, int Width);
  // The zoom box, page box and close button over their separators.
  void PlaceEmbedded();
  void FillExportMenu();
  void OnPageChanged(TObject* Sender, Integer PageNo);
  void CancelClick();

  TToolBar* FToolBar = nullptr;
  TCustomImageList* FImages = nullptr;
  TfrxPreview* FPreview = nullptr;
  TStatusBar* FStatusBar = nullptr;
  TfrxComboBox* FZoomCB = nullptr;
  TEdit* FPageE = nullptr;
  TSpeedButton* FCancelB = nullptr;
  TPopupMenu* FExportPopup = nullptr;
  TPopupMenu* FDesignerPopup = nullptr;
  std::map<AnsiString, TControl*> FButtons;
  std::vector<std::pair<TControl*, AnsiString>> FEmbedded;  // control, its separator's name
};
