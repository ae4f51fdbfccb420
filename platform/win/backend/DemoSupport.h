// What the demonstration programs share with the desktop tests that drive them: lines said on
// standard output (the tests wait on these), screen points of a control's client points as
// xdotool takes them, the screenshot step and the start of the SDL2 desktop.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win/backend/SdlBackend.h"

namespace Demo {

inline void Say(const std::string& Line)
{
  std::printf("%s\n", Line.c_str());
  std::fflush(stdout);
}

// "x y": the screen point of a client point of a control (anything with ClientToScreen).
template <class TCtl>
std::string At(TCtl* C, int X, int Y)
{
  POINT p = C->ClientToScreen(POINT{X, Y});
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

// Writes the screen to Path and says "shot" or "shot failed".
inline bool TakeShot(const std::string& Path)
{
  bool ok = SdlBackend::SaveScreenshot(Path);
  Say(ok ? "shot" : "shot failed");
  return ok;
}

// Starts the SDL2 desktop; when there is no display, says why on standard error.
inline bool StartDesktop()
{
  std::string err;
  if (SdlBackend::Start(&err)) return true;
  std::fprintf(stderr, "no display: %s\n", err.c_str());
  return false;
}

}  // namespace Demo
