// Start-up and shut-down of the pop-up hooks (cxCustomPopupWindow.h), kept apart so the module's
// start-up need not see the container classes.
#pragma once

namespace cxContainer {
// Installs the three pop-up hooks for this thread. Idempotent.
void Initialize();
// Removes them and forgets the shown pop-ups.
void Finalize();
}  // namespace cxContainer
