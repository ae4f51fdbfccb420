// Start-up and shut-down of the system-services module: the locale (written into the run-time
// library's format globals) and the built-in automation classes. Both are idempotent; the
// program calls Initialize once the lower modules are up.
#pragma once

namespace SysModule {

void Initialize();
void Finalize();

}  // namespace SysModule
