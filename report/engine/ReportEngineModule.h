// Start-up and shut-down of the report library's units, in their fixed order: the class
// library below, the run-time texts, the report classes, the design-time registries.
// Idempotent: the program and each test fixture may call Initialize; Finalize undoes it (then
// Initialize works again).
#pragma once

namespace ReportEngineModule {

void Initialize();
void Finalize();

}  // namespace ReportEngineModule
