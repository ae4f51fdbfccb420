// The run-time text table of the report library. Initialize registers it in frxRes once, before
// the designer's, inspector's and exports' tables; calling it again does nothing until Finalize.
#pragma once

namespace frxrcClass {

void Initialize();
// Lets the next Initialize register the table again (after frxRes::Finalize).
void Finalize();

}  // namespace frxrcClass
