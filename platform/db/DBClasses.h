// Registers the dataset layer's component classes (field kinds, TDataSource, the ADO
// components) with the class registry, so component streams and scripts can create them by
// name. Initialize is idempotent; Finalize takes the registrations back.
#pragma once

namespace DBClasses {
void Initialize();
void Finalize();
}  // namespace DBClasses
