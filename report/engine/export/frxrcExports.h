// The Chinese texts of the export filters, registered once at start-up in the report library's
// text registry: filter captions, progress messages, the image export's file filter, and one
// block of form texts per export dialog (applied by the dialogs when they are created).
#pragma once

namespace frxrcExports {
// Registers the texts; a second call does nothing.
void Initialize();
}  // namespace frxrcExports
