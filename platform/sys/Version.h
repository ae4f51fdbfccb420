// The system version as the program asks for it: the platform answers Windows NT 5.1, build
// 2600, with a service-pack text that names the real system and its kernel
// ("Debian GNU/Linux 12 (bookworm); Linux 6.1.0-18-amd64").
#pragma once

#include "platform/rtl/System.h"

constexpr unsigned VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
  unsigned dwMajorVersion = 0;
  unsigned dwMinorVersion = 0;
  unsigned dwBuildNumber = 0;
  unsigned dwPlatformId = 0;
  AnsiString szCSDVersion;  // at most 127 bytes
};

namespace SysVersion {
// Fills Info; false when the version can't be read (never here, but callers must allow it).
bool GetVersionEx(OSVERSIONINFO& Info);
// The service-pack text: the system's PRETTY_NAME from os-release and the kernel's name and
// release, joined by "; " (either part left out when it can't be read).
AnsiString SystemDescription();
}  // namespace SysVersion
