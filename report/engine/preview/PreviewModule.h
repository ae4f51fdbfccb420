// Start-up of the report's windows: the engine and the controls beneath them, the windows'
// texts, then the report's preview and progress windows, the print dialog and the password
// window put in their seams. Idempotent; Finalize takes them out again.
#pragma once

namespace PreviewModule {
void Initialize();
void Finalize();
}  // namespace PreviewModule
