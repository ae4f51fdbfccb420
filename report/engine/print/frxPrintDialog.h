// The seam through which printing asks the user for its settings. The print window fills it;
// without one, printing takes the report's print options as they are.
#pragma once

#include <functional>

#include "platform/rtl/System.h"

class TfrxReport;

struct TfrxPrintSettings {
  Integer Copies = 1;
  bool Collate = true;
  AnsiString PageNumbers;  // empty: all pages
  Integer PrintPages = 0;  // 0 all, 1 odd, 2 even
  bool Reverse = false;
};

namespace frxPrintDialog {

// Shows the dialog on Settings (filled from the print options); False when it was cancelled.
using TPrintDialogProc = std::function<bool(TfrxReport* Report, TfrxPrintSettings& Settings)>;

// The installed dialog; empty when none is.
const TPrintDialogProc& Current();

// Installs Proc for its lifetime, then puts the previous one back.
class TScopedPrintDialog {
public:
  explicit TScopedPrintDialog(TPrintDialogProc Proc);
  ~TScopedPrintDialog();
  TScopedPrintDialog(const TScopedPrintDialog&) = delete;
  TScopedPrintDialog& operator=(const TScopedPrintDialog&) = delete;

private:
  TPrintDialogProc FPrevious;
};

}  // namespace frxPrintDialog
