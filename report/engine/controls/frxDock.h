// Dockable tool bars: docks along a window's edges (TfrxDock) hold tool bars (TfrxToolBar) in
// rows; a bar's grip (TfrxDragBox) moves it within its dock or tears it off into a small
// floating window (TfrxFloatWindow), which docks again when dragged over a dock. Button groups
// inside a bar are TfrxTBPanel. Tool windows dock into a TfrxDockSite, a panel on the docking
// support of the control framework, resized by a bar beside it.
//
// Call flow of a grip drag: TfrxDragBox mouse -> TfrxToolBar::MouseMove -> MoveTo (the
// arrangement of frxDockLayout) -> moved and TfrxDock::AdjustBounds, refused, or torn off ->
// FloatAtCursor -> TfrxFloatWindow follows the mouse -> TryDock over a dock -> DockTo and the
// grip drag goes on.
//
// frxDock's six operations save and restore bars, dock sites and windows through a settings
// store (sections "ToolBar." + bar name, "Dock." + site name, "Form." + window class name).
#pragma once

#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/stdctrls/panels/Panel.h"
#include "report/engine/controls/frxDockLayout.h"

class TCustomIniFile;
class TSpeedButton;
class TfrxToolBar;

PELTO_ENUM(TfrxOrientation, toAny, toVertOnly, toHorzOnly)

class TfrxDock : public TCustomPanel {
  PELTO_DECLARE_CLASS(TfrxDock, TCustomPanel)
public:
  explicit TfrxDock(TComponent* AOwner);

  int GetRowSize() const { return FRowSize; }
  void SetRowSize(int Value) { FRowSize = Value; }
  // The side the dock stands on, from its alignment (top unless aligned to another edge).
  frxDockLayout::TSide GetSide() const;
  bool IsVertical() const;
  // Removes empty rows and sizes the dock to its rows (1 pixel when empty).
  void AdjustBounds();

  PELTO_PUBLISHED(p);

protected:
  void Loaded() override;
  void Paint() override;

private:
  int FRowSize = 26;
};

// The grip at the start of a tool bar; its mouse goes to the bar in the bar's coordinates.
class TfrxDragBox : public TGraphicControl {
  PELTO_DECLARE_CLASS(TfrxDragBox, TGraphicControl)
public:
  explicit TfrxDragBox(TComponent* AOwner);

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// A group of tool buttons in a bar: aligned left in a top or bottom dock, top in a side dock.
class TfrxTBPanel : public TCustomPanel {
  PELTO_DECLARE_CLASS(TfrxTBPanel, TCustomPanel)
public:
  explicit TfrxTBPanel(TComponent* AOwner);
  void SetParent(TWinControl* AParent) override;

protected:
  void Paint() override;
};

// The border-less window of a floating bar: a grey frame and title band with the bar's caption
// and a close button; the bar sits at (3, 18).
class TfrxFloatWindow : public TCustomForm {
  PELTO_DECLARE_CLASS(TfrxFloatWindow, TCustomForm)
public:
  explicit TfrxFloatWindow(TComponent* AOwner);
  ~TfrxFloatWindow() override;

  TSpeedButton* CloseBtn = nullptr;  // owned by this window
  TfrxToolBar* GetToolBar() const { return FToolBar; }
  // Follows the mouse from the screen point Start while the left button is down (a bar just
  // torn off).
  void BeginMove(POINT Start);

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoClose(TCloseAction& Action) override;

private:
  friend class TfrxToolBar;
  TfrxToolBar* FToolBar = nullptr;  // the bar it carries (borrowed)
  bool FMoving = false;
  POINT FLastPoint{};
};

class TfrxToolBar : public TCustomPanel {
  PELTO_DECLARE_CLASS(TfrxToolBar, TCustomPanel)
public:
  explicit TfrxToolBar(TComponent* AOwner);
  ~TfrxToolBar() override;

  bool GetCanFloat() const { return FCanFloat; }
  void SetCanFloat(bool Value) { FCanFloat = Value; }
  TfrxOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TfrxOrientation Value) { FOrientation = Value; }
  // 1 in a top or bottom dock, 3 in a left or right dock, 0 floating.
  int GetDockOrientation() const;
  bool IsFloating() const { return FFloating; }
  TfrxDock* GetDock() const;
  TfrxDragBox* GetDragBox() const { return FDragBox; }
  // Null while docked.
  TfrxFloatWindow* GetFloatWindow() const { return FFloatWindow; }
  // The float window's visibility while floating, else the bar's.
  bool GetIsVisible() const;
  void SetIsVisible(bool Value);

  // Puts the bar into Dock at (Left, Top) and arranges the dock it left and Dock.
  void DockTo(TfrxDock* Dock, int Left, int Top);
  // Docks it in a new row after the dock's last one.
  void AddToDock(TfrxDock* Dock);
  // Floats it in its own window at the screen point (Left, Top); an existing window moves.
  void Float(int Left, int Top);
  // Floats it under the mouse cursor, the window following the mouse.
  void FloatAtCursor();
  // Lays the children out in a row (or column) after the grip and sizes the bar to them.
  void AdjustBounds();
  // Moves a docked bar to (X, Y) of its dock: false when the move is refused. A bar torn off
  // floats at the cursor (and that is success). A floating bar always succeeds.
  bool MoveTo(int X, int Y);
  // Docks the floating bar into the first dock of Form holding the client point Point that its
  // Orientation allows; false when none does.
  bool TryDock(TWinControl* Form, POINT Point);

  PELTO_PUBLISHED(p);

protected:
  void Paint() override;
  void AdjustClientRect(RECT& Rect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  friend class TfrxDragBox;
  friend class TfrxFloatWindow;
  void ArrangeControls();
  void BeginGripDrag(POINT Screen);

  TfrxDragBox* FDragBox = nullptr;          // owned by this bar
  TfrxFloatWindow* FFloatWindow = nullptr;  // owned by this bar's form; cleared when it goes
  TfrxOrientation FOrientation = toAny;
  bool FCanFloat = true;
  bool FFloating = false;
  bool FDragging = false;
  POINT FLastPoint{};  // screen point where the grip drag last settled
};

// A panel tool windows dock into; a 3-pixel sizing bar beside it changes its width.
class TfrxDockSite : public TCustomPanel {
  PELTO_DECLARE_CLASS(TfrxDockSite, TCustomPanel)
public:
  explicit TfrxDockSite(TComponent* AOwner);
  void SetParent(TWinControl* AParent) override;
  // The sizing bar (owned by the site); hidden while nothing is docked.
  TControl* GetSizer() const { return FSizer; }
  // Changes the width by a drag of the sizing bar of Delta pixels (to the right positive).
  void SizeBy(int Delta);

protected:
  void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DockDrop(TDragDockObject* Source, int X, int Y) override;
  bool DoUnDock(TWinControl* NewTarget, TControl* Client) override;

private:
  void PlaceSizer();
  TControl* FSizer = nullptr;  // owned by the site
  int FDockWidth = 0;          // the width of the window being dragged over
};

namespace frxDock {
// Section "ToolBar." + name: Float, Visible, Left, Top, Width, Height, and Dock while docked.
// A floating bar stores its window's screen position.
void SaveToolbarPosition(TCustomIniFile* Settings, TfrxToolBar* ToolBar);
// Missing values keep what the bar has; a "Dock" its form does not have leaves it in its dock.
void RestoreToolbarPosition(TCustomIniFile* Settings, TfrxToolBar* ToolBar);
// Section "Dock." + name: "Data", the site's layout as upper-case hexadecimal text.
void SaveDockSitePosition(TCustomIniFile* Settings, TfrxDockSite* Site);
// An empty or missing "Data" leaves the site as it is.
void RestoreDockSitePosition(TCustomIniFile* Settings, TfrxDockSite* Site);
// Section "Form." + class name: bounds, Maximized, Visible, and the dock site hosting it.
void SaveFormPosition(TCustomIniFile* Settings, TCustomForm* Form);
void RestoreFormPosition(TCustomIniFile* Settings, TCustomForm* Form);
}  // namespace frxDock
