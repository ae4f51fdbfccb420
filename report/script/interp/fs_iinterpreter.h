// The process-wide global script: the root scope of every script, holding the base types and
// constants and the functions the libraries register.
#pragma once

class TfsScript;

namespace fs_iinterpreter {

// Created and filled on the first call; owned by this unit. After Finalize it creates nothing
// and answers null, so libraries finalised later can still ask safely.
TfsScript* GetGlobalScript();
// Creates the event list, the global script, the system and the classes library (idempotent
// after Finalize too).
void Initialize();
// Frees every event adapter, the libraries' items and the global script, and drops every
// object handle.
void Finalize();

}  // namespace fs_iinterpreter
