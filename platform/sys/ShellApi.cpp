#include "platform/sys/ShellApi.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringUtils.h"
#include "platform/sys/Processes.h"

namespace ShellApi {
namespace {

std::mutex OpenerLock;
AnsiString Opener = "xdg-open";

// "scheme:" with a scheme of letters, digits, '+', '-', '.' of at least two characters, so
// that a Windows drive "c:" is not taken for one.
bool IsAddress(const AnsiString& s)
{
  size_t colon = s.find(':');
  if (colon == AnsiString::npos || colon < 2) return false;
  for (size_t i = 0; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.')) return false;
  }
  return true;
}

AnsiString Resolve(const AnsiString& name, const AnsiString& dir)
{
  if (name.empty() || name[0] == '/' || dir.empty()) return name;
  return SysUtils::IncludeTrailingPathDelimiter(dir) + name;
}

bool InPath(const AnsiString& program)
{
  if (program.find('/') != AnsiString::npos) return SysUtils::FileExists(program);
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string p = path;
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find(':', start);
    if (end == std::string::npos) end = p.size();
    std::string dir = p.substr(start, end - start);
    if (!dir.empty() && SysUtils::FileExists(System::Utf8ToAnsi(dir) + "/" + program)) return true;
    start = end + 1;
  }
  return false;
}

// Splits a command line at blanks; double quotes group and are removed.
std::vector<AnsiString> SplitParams(const AnsiString& s)
{
  std::vector<AnsiString> out;
  AnsiString cur;
  bool quoted = false, any = false;
  for (char c : s) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
      continue;
    }
    if ((c == ' ' || c == '\t') && !quoted) {
      if (any) out.push_back(cur);
      cur.clear();
      any = false;
      continue;
    }
    cur += c;
    any = true;
  }
  if (any) out.push_back(cur);
  return out;
}

const char* const Calculators[] = {"gnome-calculator", "kcalc", "galculator", "xcalc", nullptr};
const char* const TextEditors[] = {"gnome-text-editor", "gedit",      "mousepad", "kate", "pluma", "xed",
                                   "leafpad",           "featherpad", "xedit",    nullptr};

// Starts the first of Programs found in PATH.
int StartFirstOf(const char* const* Programs)
{
  for (; *Programs; ++Programs) {
    if (!InPath(*Programs)) continue;
    try {
      Processes::StartProgram(*Programs, {});
      return SE_OK;
    } catch (const EOSError&) {}
  }
  return SE_ERR_FNF;
}

}  // namespace

AnsiString HelpPage(const AnsiString& Address)
{
  static const AnsiString Prefix = "mk:@MSITStore:";
  if (Address.compare(0, Prefix.size(), Prefix) != 0) return Address;
  size_t sep = Address.find("::", Prefix.size());
  if (sep == AnsiString::npos) return Address;
  AnsiString file = Address.substr(Prefix.size(), sep - Prefix.size());
  AnsiString topic = Address.substr(sep + 2);
  while (!topic.empty() && (topic[0] == '/' || topic[0] == '\\')) topic.erase(0, 1);
  return SysUtils::IncludeTrailingPathDelimiter(SysUtils::ExtractFilePath(file)) + "help/" + topic;
}

int WinExec(const AnsiString& CmdLine, int ShowCmd)
{
  // The program is the first word (or a quoted name); the rest goes over as it stands.
  AnsiString line = SysUtils::Trim(CmdLine);
  if (line.empty()) return SE_ERR_FNF;
  size_t end = line[0] == '"' ? line.find('"', 1) : line.find(' ');
  AnsiString program =
      line[0] == '"' ? line.substr(1, end == AnsiString::npos ? AnsiString::npos : end - 1) : line.substr(0, end);
  AnsiString params = end == AnsiString::npos ? AnsiString() : SysUtils::Trim(line.substr(end + 1));
  return ShellExecute("open", program, params, AnsiString(), ShowCmd);
}

void SetOpener(const AnsiString& Program)
{
  std::lock_guard<std::mutex> g(OpenerLock);
  Opener = Program.empty() ? AnsiString("xdg-open") : Program;
}

AnsiString GetOpener()
{
  std::lock_guard<std::mutex> g(OpenerLock);
  return Opener;
}

bool ShellOpen(const AnsiString& Target, const AnsiString& WorkDir)
{
  if (Target.empty()) return false;
  AnsiString target = Target;
  if (!IsAddress(target)) {
    target = Resolve(target, WorkDir);
    if (!SysUtils::FileExists(target) && !SysUtils::DirectoryExists(target)) return false;
  }
  try {
    Processes::StartProgram(GetOpener(), {target},
                            WorkDir.empty() || !SysUtils::DirectoryExists(WorkDir) ? AnsiString() : WorkDir);
    return true;
  } catch (const EOSError&) {
    return false;
  }
}

int ShellExecute(const AnsiString& Operation, const AnsiString& File, const AnsiString& Parameters,
                 const AnsiString& Directory, int ShowCmd)
{
  AnsiString op = SysUtils::LowerCase(Operation);
  if (!op.empty() && op != "open") return SE_ERR_NOASSOC;
  AnsiString exe = SysUtils::LowerCase(SysUtils::ExtractFileName(File));
  std::vector<AnsiString> params = SplitParams(Parameters);
  if (exe == "hh.exe" || exe == "notepad.exe") {
    if (params.empty()) return exe == "notepad.exe" ? StartFirstOf(TextEditors) : SE_ERR_FNF;
    // A help address may hold blanks (the program's folder): it is the whole parameter text.
    AnsiString doc = exe == "hh.exe" && SysUtils::Trim(Parameters).rfind("mk:", 0) == 0
                         ? HelpPage(SysUtils::Trim(Parameters))
                         : params[0];
    return ShellOpen(doc, Directory) ? SE_OK : SE_ERR_FNF;
  }
  if (exe == "calc.exe") return StartFirstOf(Calculators);
  if (IsAddress(File)) return ShellOpen(File, Directory) ? SE_OK : SE_ERR_FNF;
  AnsiString path = Resolve(File, Directory);
  bool isProgram = SysUtils::LowerCase(SysUtils::ExtractFileExt(path)) == ".exe" ||
                   (SysUtils::FileExists(path) && access(System::AnsiToUtf8(path).c_str(), X_OK) == 0 &&
                    !SysUtils::DirectoryExists(path));
  if (isProgram) {
    if (!SysUtils::FileExists(path)) return SE_ERR_FNF;
    try {
      Processes::StartProgram(path, params, Directory);
      return SE_OK;
    } catch (const EOSError&) {
      return SE_ERR_FNF;
    }
  }
  return ShellOpen(path, Directory) ? SE_OK : SE_ERR_FNF;
}

}  // namespace ShellApi
