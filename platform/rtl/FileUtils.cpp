#include "platform/rtl/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

namespace SysUtils {

namespace {

const char* const Delimiters = "/\\";

std::string OsName(const AnsiString& name) { return System::AnsiToUtf8(name); }

bool StatOf(const AnsiString& name, struct stat& st) { return ::stat(OsName(name).c_str(), &st) == 0; }

}  // namespace

AnsiString ExtractFilePath(const AnsiString& FileName)
{
  return FileName.substr(0, static_cast<size_t>(LastDelimiter(Delimiters, FileName)));
}

AnsiString ExtractFileDir(const AnsiString& FileName)
{
  int i = LastDelimiter(Delimiters, FileName);
  if (i > 1 && !IsDelimiter(Delimiters, FileName, i - 1)) --i;
  return FileName.substr(0, static_cast<size_t>(i));
}

AnsiString ExtractFileName(const AnsiString& FileName)
{
  return FileName.substr(static_cast<size_t>(LastDelimiter(Delimiters, FileName)));
}

AnsiString ExtractFileExt(const AnsiString& FileName)
{
  int i = LastDelimiter(".\\/", FileName);
  if (i > 0 && FileName[i - 1] == '.') return FileName.substr(static_cast<size_t>(i - 1));
  return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension)
{
  int i = LastDelimiter(".\\/", FileName);
  if (i == 0 || FileName[i - 1] != '.') i = static_cast<int>(FileName.size()) + 1;
  return FileName.substr(0, static_cast<size_t>(i - 1)) + Extension;
}

bool IsPathDelimiter(const AnsiString& S, int Index) { return IsDelimiter(Delimiters, S, Index); }

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S)
{
  if (IsPathDelimiter(S, static_cast<int>(S.size()))) return S;
  return S + PathDelim;
}

AnsiString IncludeTrailingBackslash(const AnsiString& S) { return IncludeTrailingPathDelimiter(S); }

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S)
{
  if (S.size() > 1 && IsPathDelimiter(S, static_cast<int>(S.size()))) return S.substr(0, S.size() - 1);
  return S;
}

AnsiString ExcludeTrailingBackslash(const AnsiString& S) { return ExcludeTrailingPathDelimiter(S); }

AnsiString ExpandFileName(const AnsiString& FileName)
{
  if (FileName.empty()) return AnsiString();
  AnsiString full = FileName[0] == '/' ? FileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  // '/' is never a trail byte, so splitting on it is double-byte safe.
  std::vector<AnsiString> parts;
  size_t start = 1;
  while (start <= full.size()) {
    size_t end = full.find('/', start);
    if (end == AnsiString::npos) end = full.size();
    AnsiString part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  AnsiString result;
  for (const AnsiString& part : parts) result += "/" + part;
  const bool trailing = full.back() == '/' || full.ends_with("/.") || full.ends_with("/..");
  if (result.empty() || trailing) result += "/";
  return result;
}

bool FileExists(const AnsiString& FileName)
{
  struct stat st {};
  return !FileName.empty() && StatOf(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& Directory)
{
  struct stat st {};
  return !Directory.empty() && StatOf(Directory, st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const AnsiString& Dir)
{
  if (Dir.empty()) throw EInOutError("Unable to create directory");
  AnsiString dir = ExcludeTrailingPathDelimiter(Dir);
  if (DirectoryExists(dir)) return true;
  AnsiString parent = ExtractFileDir(dir);
  // Stop at the root or at a name without a folder part.
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

bool CreateDir(const AnsiString& Dir) { return !Dir.empty() && ::mkdir(OsName(Dir).c_str(), 0777) == 0; }

bool RemoveDir(const AnsiString& Dir) { return !Dir.empty() && ::rmdir(OsName(Dir).c_str()) == 0; }

bool DeleteFile(const AnsiString& FileName)
{
  struct stat st {};
  if (FileName.empty() || ::lstat(OsName(FileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(OsName(FileName).c_str()) == 0;
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName)
{
  struct stat st {};
  if (OldName.empty() || NewName.empty() || ::lstat(OsName(NewName).c_str(), &st) == 0) return false;
  return ::rename(OsName(OldName).c_str(), OsName(NewName).c_str()) == 0;
}

bool LoadFileBytes(const AnsiString& FileName, AnsiString& Data)
{
  int fd = ::open(OsName(FileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  AnsiString result;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    result.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  Data = std::move(result);
  return true;
}

AnsiString GetCurrentDir()
{
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return AnsiString();
    buffer.resize(buffer.size() * 2);
  }
  return System::Utf8ToAnsi(buffer.data());
}

bool SetCurrentDir(const AnsiString& Dir) { return !Dir.empty() && ::chdir(OsName(Dir).c_str()) == 0; }

}  // namespace SysUtils
