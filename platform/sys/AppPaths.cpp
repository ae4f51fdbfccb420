#include "platform/sys/AppPaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

namespace AppPaths {

AnsiString ExeName()
{
  std::vector<char> buf(4096);
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return AnsiString();
  return System::Utf8ToAnsi(std::string(buf.data(), static_cast<size_t>(n)));
}

AnsiString ExeDir() { return SysUtils::ExcludeTrailingPathDelimiter(SysUtils::ExtractFilePath(ExeName())); }

AnsiString TempDir()
{
  const char* env = std::getenv("TMPDIR");
  AnsiString dir;
  if (env && *env) {
    dir = System::Utf8ToAnsi(env);
    if (!SysUtils::DirectoryExists(dir)) dir.clear();
  }
  if (dir.empty()) dir = "/tmp";
  return SysUtils::IncludeTrailingPathDelimiter(dir);
}

AnsiString CreateTempFile(const AnsiString& Prefix, const AnsiString& Dir, const AnsiString& Ext)
{
  AnsiString dir = Dir.empty() ? TempDir() : SysUtils::IncludeTrailingPathDelimiter(Dir);
  // mkstemps wants the X's in UTF-8 bytes; the unique part is ASCII, so converting back is exact.
  std::string templ = System::AnsiToUtf8(dir + Prefix) + "XXXXXX" + System::AnsiToUtf8(Ext);
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  int fd = mkstemps(buf.data(), static_cast<int>(System::AnsiToUtf8(Ext).size()));
  if (fd < 0) throw EInOutError("Cannot create temporary file in " + dir + ": " + std::strerror(errno));
  close(fd);
  return System::Utf8ToAnsi(buf.data());
}

}  // namespace AppPaths
