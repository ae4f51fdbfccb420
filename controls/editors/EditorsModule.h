// Start-up and shut-down of the editors' units, in their fixed order. Idempotent: the program
// and each test fixture may call Initialize; Finalize undoes it (then Initialize works again).
#pragma once

namespace EditorsModule {

void Initialize();
void Finalize();

}  // namespace EditorsModule
