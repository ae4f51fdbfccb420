// Start-up of the standard controls: registers their classes for stored forms and scripts,
// after the modules they stand on. Idempotent.
#pragma once

namespace StdCtrls {
void Initialize();
}  // namespace StdCtrls
