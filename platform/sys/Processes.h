// Starting programs. A program is started directly with an argument vector, never through a
// shell, so no argument is ever interpreted. Paths and arguments are CP936; they reach the
// system as UTF-8.
#pragma once

#include <sys/types.h>

#include <vector>

#include "platform/rtl/System.h"

namespace Processes {

// Starts Program (a path, or a name looked up in PATH) with Args (not counting the program
// itself) in WorkDir (the current folder when empty) and does not wait for it; the child is
// reaped in the background. Answers its process id. Raises EOSError when it cannot be started
// (not found, not executable, a missing working folder).
pid_t StartProgram(const AnsiString& Program, const std::vector<AnsiString>& Args,
                   const AnsiString& WorkDir = AnsiString());

// Starts the program as StartProgram does and waits for it; answers its exit code (128 + the
// signal number when a signal ended it). Raises EOSError when it cannot be started.
int RunProgram(const AnsiString& Program, const std::vector<AnsiString>& Args,
               const AnsiString& WorkDir = AnsiString());

}  // namespace Processes
