#include "platform/sys/Processes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

extern char** environ;

namespace Processes {
namespace {

pid_t Spawn(const AnsiString& Program, const std::vector<AnsiString>& Args, const AnsiString& WorkDir)
{
  if (Program.empty()) throw EOSError("Cannot start program: no program name");
  // posix_spawn runs the child even when the folder change fails; check the folder first.
  if (!WorkDir.empty() && !SysUtils::DirectoryExists(WorkDir))
    throw EOSError("Cannot start " + Program + ": the folder " + WorkDir + " does not exist");
  std::vector<std::string> utf8;
  utf8.reserve(Args.size() + 1);
  utf8.push_back(System::AnsiToUtf8(Program));
  for (const auto& a : Args) utf8.push_back(System::AnsiToUtf8(a));
  std::vector<char*> argv;
  for (auto& s : utf8) argv.push_back(s.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::string dir = System::AnsiToUtf8(WorkDir);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, utf8[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw EOSError("Cannot start " + Program + ": " + std::strerror(rc));
  return pid;
}

int WaitFor(pid_t pid)
{
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

pid_t StartProgram(const AnsiString& Program, const std::vector<AnsiString>& Args, const AnsiString& WorkDir)
{
  pid_t pid = Spawn(Program, Args, WorkDir);
  // Reap the child when it ends, so that no zombie stays behind.
  std::thread([pid] { WaitFor(pid); }).detach();
  return pid;
}

int RunProgram(const AnsiString& Program, const std::vector<AnsiString>& Args, const AnsiString& WorkDir)
{
  return WaitFor(Spawn(Program, Args, WorkDir));
}

}  // namespace Processes
