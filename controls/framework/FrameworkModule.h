// Start-up and shut-down of the control framework's units, in their fixed order. Idempotent:
// the program and each test fixture may call Initialize; Finalize undoes it.
#pragma once

namespace FrameworkModule {

void Initialize();
void Finalize();

}  // namespace FrameworkModule
