// Start-up of the exports: the report library and the system services beneath them (the
// automation classes the Excel export drives), then the exports' texts. Idempotent.
#pragma once

namespace ExportModule {
void Initialize();
}  // namespace ExportModule
