// The bracket of the export and import walks that keeps the grid's view position (the
// dataset's controls are held disabled by TControlsGuard); put back also when the walk raises.
#pragma once

#include <exception>

#include "gridkit/impexp/ImpExpGridEh.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"

namespace DBGridEhImpExp {

// Holds the grid's view position saved.
class TViewSaved {
public:
  // Active false: nothing saved, nothing restored.
  explicit TViewSaved(IDBGridEhImpExpGrid* Grid, bool Active = true) : FGrid(Grid), FActive(Active)
  {
    if (FActive) FGrid->SaveViewPosition();
  }
  // The walk leaves the view where it ends (after appending records).
  void Dismiss() { FActive = false; }
  // Puts the view back now, and again at the end.
  void Restore() { FGrid->RestoreViewPosition(); }
  ~TViewSaved() noexcept(false)
  {
    if (!FActive) return;
    // After an error the record may be gone; that error is the one to report.
    if (std::uncaught_exceptions() > FUncaught) {
      try {
        FGrid->RestoreViewPosition();
      } catch (const Exception&) {}
    } else
      FGrid->RestoreViewPosition();
  }
  TViewSaved(const TViewSaved&) = delete;
  TViewSaved& operator=(const TViewSaved&) = delete;

private:
  IDBGridEhImpExpGrid* FGrid;
  bool FActive;
  int FUncaught = std::uncaught_exceptions();
};

}  // namespace DBGridEhImpExp
