// The desktop back end over SDL2: one borderless native window per visible top-level window
// (the window layer draws frames and captions itself), input with input-method text, the
// desktop's clipboard, and the screen's real size.
#pragma once

#include <string>

#include "platform/win/WinUser.h"

namespace SdlBackend {

// Initialises SDL's video and installs the back end; false (with the reason) when there is no
// display. Call it on the user-interface thread before making windows: windows made before
// are not shown by it, and what was queued is dropped.
bool Start(std::string* error);
// Puts the headless back end back and closes SDL.
void Stop();
// The screen as the native windows show it now, read back from their surfaces: a 32-bit
// bitmap the caller owns (DeleteObject). Null when the back end is not running.
HBITMAP Screenshot();
// The screenshot, also written to PngPath as a PNG file (the demos' pictures for people to look
// at). Null when the back end is not running or the file cannot be written.
HBITMAP ScreenshotToPng(const std::string& PngPath);
// Only the file: true when the screenshot was written to PngPath.
bool SaveScreenshot(const std::string& PngPath);

}  // namespace SdlBackend
