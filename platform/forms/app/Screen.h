// TScreen: the desktop as the program sees it: the cursors by number and the current one, the
// program's forms and data modules, the active form and control, the screen's size, work area,
// monitors and pixel density (96 dpi), the installed font families and the hint font.
//
// Forms: every form adds itself when it is made and takes itself out when it goes; the list runs
// from the most recently active form. Data modules likewise. Forms and data modules are found by
// name through the global-component lookup of platform/classes (Forms::InitializeApplication
// registers it).
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
class TFont;
class TForm;
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

  // ---- Forms and data modules (borrowed; their owners free them) ----
  // Every form; the TForm ones also in Forms[] (told apart when asked: a form adds itself before
  // it is whole).
  int GetCustomFormCount() const { return int(FCustomForms.size()); }
  TCustomForm* GetCustomForms(int Index) const;
  int GetFormCount() const;
  TForm* GetForms(int Index) const;
  int GetDataModuleCount() const { return int(FDataModules.size()); }
  TComponent* GetDataModules(int Index) const;
  // For the form and data-module classes: a form is made / going. Adding twice keeps one entry.
  void AddForm(TCustomForm* AForm);
  void RemoveForm(TCustomForm* AForm);
  void AddDataModule(TComponent* ADataModule);
  void RemoveDataModule(TComponent* ADataModule);
  // The form of that name, else the data module of that name (ASCII case ignored); null when
  // none.
  TComponent* FindGlobalComponent(const AnsiString& Name) const;

  // ---- Active form and control ----
  // For the form classes: a form became the active one; it moves to the front of the lists.
  void FormActivated(TCustomForm* AForm);
  TCustomForm* GetActiveCustomForm() const { return FActiveCustomForm; }
  // The active form when it is a TForm, else null.
  TForm* GetActiveForm() const;
  // The active form's active control; null when none.
  TWinControl* GetActiveControl() const;
  TNotifyEvent OnActiveFormChange;
  // Fires after the active control changed: focus moved within the active form, another form
  // became active, or the active control went.
  TNotifyEvent OnActiveControlChange;
  // For the form classes: the active form's active control may have changed.
  void ActiveControlChanged();

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
  // The input methods by name, and the one the desktop uses by default. The desktop's input
  // method serves every window and cannot be chosen by name here: the list is empty and the
  // default name empty (a control's ImeName of "" means "the desktop's").
  TStrings* GetImes();
  AnsiString GetDefaultIme() const { return AnsiString(); }
  // The font of hint windows ("宋体", 9 points); owned by the screen.
  TFont* GetHintFont() const { return FHintFont.get(); }

private:
  void ReadMonitors() const;
  void DeleteCursor(TCursor Index);

  std::vector<TCustomForm*> FCustomForms;  // borrowed, the most recently active first
  std::vector<TComponent*> FDataModules;   // borrowed
  TCustomForm* FActiveCustomForm = nullptr;
  // Compared only, never used: the active control last reported.
  const void* FLastActiveControl = nullptr;
  std::map<TCursor, HCURSOR> FCursors;
  HCURSOR FDefaultCursor = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TStringList> FImes;
  std::unique_ptr<TFont> FHintFont;
  mutable std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

namespace Forms {
// The program's screen object; exists between InitializeApplication and FinalizeApplication.
extern TScreen* Screen;
}  // namespace Forms
