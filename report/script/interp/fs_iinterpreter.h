// The process-wide global script: the root scope of every script, holding the base types and
// constants and the functions the libraries register.
#pragma once

class TfsScript;

namespace fs_iinterpreter {

// Created and filled on the first call; owned by this unit. After Finalize it creates nothing
// and answers null, so libraries finalised later can still ask safely.
TfsScript* GetGlobalScript();
// Creates the global script and the system library (idempotent after Finalize too).
void Initialize();
// Frees the system library and the global script.
void Finalize();

}  // namespace fs_iinterpreter
