// A script of the given language under the global script, with its text set and not compiled.
#pragma once

#include <memory>

#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"

inline std::unique_ptr<TfsScript> MakeScript(const AnsiString& Lang, const AnsiString& Text)
{
  auto S = std::make_unique<TfsScript>(nullptr);
  S->ParentScript = fs_iinterpreter::GetGlobalScript();
  S->SetSyntaxType(Lang);
  S->GetLines()->SetText(Text);
  return S;
}
