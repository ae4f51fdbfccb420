// The report model as report scripts and expressions see it: constants, enumerations, the
// report classes with the members their published properties don't give, and the date and
// total functions. Registered once in the global script; Finalize removes exactly that.
// Objects travel as the interpreter's checked handles, never as raw addresses.
#pragma once

namespace frxClassRTTI {

void Initialize();
void Finalize();

}  // namespace frxClassRTTI
