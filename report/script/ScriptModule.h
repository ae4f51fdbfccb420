// Start-up and shut-down of the script interpreter's units, in their fixed order. Idempotent:
// the program and each test fixture may call Initialize; Finalize undoes it.
#pragma once

namespace ScriptModule {

void Initialize();
void Finalize();

}  // namespace ScriptModule
