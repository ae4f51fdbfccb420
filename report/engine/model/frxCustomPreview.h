// What the report reaches of its windows without depending on them: the base of a preview
// control (the report links itself to one and tells it how a preparation goes), and the seam
// through which the report opens its own preview window and progress window. The preview
// library installs the windows; until it does, ShowPreparedReport opens nothing and no progress
// window shows.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/controls/CustomControl.h"
#include "platform/rtl/Service.h"

class TfrxCustomPreviewPages;
class TfrxReport;

class TfrxCustomPreview : public TCustomControl {
  PELTO_DECLARE_CLASS(TfrxCustomPreview, TCustomControl)
public:
  explicit TfrxCustomPreview(TComponent* AOwner) : TCustomControl(AOwner) {}
  // Unlinks itself from its report.
  ~TfrxCustomPreview() override;

  // Set by the report that links the control; borrowed.
  TfrxReport* Report = nullptr;
  TfrxCustomPreviewPages* PreviewPages = nullptr;

  // After a report was linked or prepared.
  virtual void InitPreview() = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  // A preparation started, made page Count (0-based) or ended.
  virtual void ProgressStarted() = 0;
  virtual void ProgressChanged(Integer Count) = 0;
  virtual void ProgressStopped() = 0;
  // The report goes away: forget it and its pages.
  virtual void Detach()
  {
    Report = nullptr;
    PreviewPages = nullptr;
  }
};

// The report's own preview window, as the report sees it.
class IfrxPreviewWindow {
public:
  virtual ~IfrxPreviewWindow() = default;
  // The second status panel (progress texts, the link under the mouse).
  virtual void SetStatusText(const AnsiString& Text) = 0;
  // Closes the window (a failed run).
  virtual void ClosePreview() = 0;
};

// The small progress window of preparing, printing and exporting.
class IfrxProgressWindow {
public:
  virtual ~IfrxProgressWindow() = default;
  virtual void Execute(Integer MaxValue, const AnsiString& Message, bool ShowBar, bool ShowCancel) = 0;
  virtual void SetMessageText(const AnsiString& Text) = 0;
  virtual bool GetCancelled() const = 0;
};

class IfrxReportWindows {
public:
  virtual ~IfrxReportWindows() = default;
  // Opens a preview window on Report's prepared pages: it links its preview control with
  // SetPreview, applies the preview options and shows itself, modally (returning once it is
  // closed and freed) or not (freeing itself when closed).
  virtual void ShowPreviewForm(TfrxReport* Report) = 0;
  // A progress window, not yet shown; nullptr when there are no windows.
  virtual std::unique_ptr<IfrxProgressWindow> NewProgress() = 0;
};

// The designer, as the preview reaches it. Until the designer is linked nothing is designed.
class IfrxDesignerLink {
public:
  virtual ~IfrxDesignerLink() = default;
  virtual bool IsLinked() const = 0;
  // Opens the designer on Report and returns once it is closed.
  virtual void ShowDesigner(TfrxReport* Report) = 0;
  // Edits the one page of Report (a copy of a prepared page); answers whether it changed.
  virtual bool DesignPreviewPage(TfrxReport* Report) = 0;
};

namespace frxCustomPreview {
// The report's windows; the default opens none.
TService<IfrxReportWindows>& ReportWindows();
// The linked designer; the default is none.
TService<IfrxDesignerLink>& DesignerLink();
}  // namespace frxCustomPreview
