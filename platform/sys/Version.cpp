#include "platform/sys/Version.h"

#include <sys/utsname.h>

#include <fstream>
#include <string>

#include "platform/rtl/AnsiStrings.h"

namespace SysVersion {
namespace {

std::string PrettyName()
{
  for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
      std::string v = line.substr(12);
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      return v;
    }
  }
  return {};
}

}  // namespace

AnsiString SystemDescription()
{
  std::string text = PrettyName();
  utsname u{};
  if (uname(&u) == 0) {
    if (!text.empty()) text += "; ";
    text += std::string(u.sysname) + " " + u.release;
  }
  AnsiString out = System::Utf8ToAnsi(text);
  if (out.size() > 127) {
    // Never end on half a double-byte character.
    out.resize(127);
    if (System::ByteType(out, 127) == System::mbLeadByte) out.resize(126);
  }
  return out;
}

bool GetVersionEx(OSVERSIONINFO& Info)
{
  Info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  Info.dwMajorVersion = 5;
  Info.dwMinorVersion = 1;
  Info.dwBuildNumber = 2600;
  Info.szCSDVersion = SystemDescription();
  return true;
}

}  // namespace SysVersion
