// The grid's scroll-bar settings: whether a bar is shown (always, never, when needed), whether
// the grid scrolls while the thumb is dragged, and an optional external scroll bar that replaces
// the grid's own: its scroll notifications are forwarded to the grid by taking over its window
// procedure.
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/gdi/WinTypes.h"
#include "platform/win/WinUser.h"

class IDBGridEhHost;
struct SCROLLINFO;

PELTO_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
PELTO_ENUM(TScrollBarVisibleModeEh, sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh)

// What the settings need of an external scroll-bar control.
class IExtScrollBarEh {
public:
  virtual ~IExtScrollBarEh() = default;
  virtual HWND GetHandle() = 0;
  virtual AnsiString GetName() = 0;
  virtual bool GetVisible() = 0;
  virtual void SetVisible(bool Value) = 0;
};

constexpr UINT CN_HSCROLL = 0xBD14, CN_VSCROLL = 0xBD15;

class TDBGridEhScrollBar : public TPersistent {
  PELTO_DECLARE_CLASS(TDBGridEhScrollBar, TPersistent)
public:
  TDBGridEhScrollBar(IDBGridEhHost* Grid, TScrollBarKind Kind);
  // Gives an attached bar its own window procedure back.
  ~TDBGridEhScrollBar() override;
  void Assign(TPersistent* Source) override;

  TScrollBarKind GetKind() const { return FKind; }
  bool GetVisible() const { return FVisibleMode != sbNeverShowEh; }
  // True gives sbAutoShowEh, False sbNeverShowEh.
  void SetVisible(bool Value);
  TScrollBarVisibleModeEh GetVisibleMode() const { return FVisibleMode; }
  void SetVisibleMode(TScrollBarVisibleModeEh Value);
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  IExtScrollBarEh* GetExtScrollBar() const { return FExtScrollBar; }
  // Raises Exception "Possible <name> already attached to the other control." for a bar whose
  // window procedure another control has taken over; nothing changes then.
  void SetExtScrollBar(IExtScrollBarEh* Bar);
  bool ShowsScrollBar();
  bool GetScrollInfo(SCROLLINFO& Info);

private:
  static LRESULT ForwardProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Release(IExtScrollBarEh* Bar);

  IDBGridEhHost* FGrid;
  IExtScrollBarEh* FExtScrollBar = nullptr;
  TScrollBarKind FKind;
  bool FTracking = false;
  TScrollBarVisibleModeEh FVisibleMode = sbAutoShowEh;
};

class TVertDBGridEhScrollBar : public TDBGridEhScrollBar {
  PELTO_DECLARE_CLASS(TVertDBGridEhScrollBar, TDBGridEhScrollBar)
public:
  explicit TVertDBGridEhScrollBar(IDBGridEhHost* Grid) : TDBGridEhScrollBar(Grid, sbVertical) {}
};
