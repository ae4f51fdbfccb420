// The program's modules in start-up order: each Initialize runs once, lowest layer first, and
// the finalizations run in the reverse order.
#pragma once

namespace AppModules {
void Initialize();
// Finalizes what Initialize started, last first.
void Finalize();
}  // namespace AppModules
