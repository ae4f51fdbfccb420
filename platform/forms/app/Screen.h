// TScreen: the desktop as the program sees it: the cursors by number and the current one, the
// program's forms and data modules, the active form and control, the screen's size, work area,
// monitors and pixel density (96 dpi), the installed font families and the hint font.
//
// Cursors: the standard ones (crArrow ... crSizeAll) are there from the start; the program adds
// its own under positive numbers. The screen owns the handles given to it and destroys one when
// another takes its number. An unknown number answers the default cursor (the arrow).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/forms/controls/ControlTypes.h"
#include "platform/win/WinUser.h"

class TCustomForm;
class TDataModule;
class TFont;
class TMonitor;
class TStrings;
class TStringList;
class TWinControl;

class TScreen : public TComponent {
  PELTO_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // ---- Cursors ----
  HCURSOR GetCursors(TCursor Index) const;
  // Null removes the program's cursor of that number; for crDefault, null puts the arrow back.
  void SetCursors(TCursor Index, HCURSOR Handle);
  // The cursor the whole program shows (crDefault: each control's own). Setting crDefault asks
  // the window under the mouse for its cursor again.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  // ---- Geometry ----
  int GetPixelsPerInch() const { return 96; }
  int GetWidth() const;
  int GetHeight() const;
  RECT GetDesktopRect() const;
  RECT GetWorkAreaRect() const;
  int GetWorkAreaLeft() const { return GetWorkAreaRect().left; }
  int GetWorkAreaTop() const { return GetWorkAreaRect().top; }
  int GetWorkAreaWidth() const;
  int GetWorkAreaHeight() const;
  int GetMonitorCount() const;
  // Owned by the screen; raises EListError for a bad index.
  TMonitor* GetMonitors(int Index) const;
  // The monitor that holds the point / most of the rectangle / the window, else the primary.
  TMonitor* MonitorFromPoint(const POINT& Point) const;
  TMonitor* MonitorFromRect(const RECT& Rect) const;
  TMonitor* MonitorFromWindow(HWND Handle) const;

  // ---- Fonts ----
  // The installed families, sorted, each once; read on first use and kept. Owned by the screen.
  TStrings* GetFonts();
  // The font of hint windows ("宋体", 9 points); owned by the screen.
  TFont* GetHintFont() const { return FHintFont.get(); }

private:
  void ReadMonitors() const;
  void DeleteCursor(TCursor Index);

  std::map<TCursor, HCURSOR> FCursors;
  HCURSOR FDefaultCursor = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FHintFont;
  mutable std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

namespace Forms {
// The program's screen object; exists between InitializeApplication and FinalizeApplication.
extern TScreen* Screen;
}  // namespace Forms
