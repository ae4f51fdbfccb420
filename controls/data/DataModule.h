// Start-up and shut-down of the data controller's units, in their fixed order, after the
// object model they stand on. Idempotent: the program and each test fixture may call
// Initialize; Finalize undoes it (then Initialize works again).
#pragma once

namespace DataModule {

void Initialize();
void Finalize();

}  // namespace DataModule
