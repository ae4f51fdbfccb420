// The texts of the preview's windows: the form blocks of the preview window, its find and page
// settings dialogs, the print dialog and the password window.
#pragma once

namespace frxrcPreview {
void Initialize();
}  // namespace frxrcPreview
