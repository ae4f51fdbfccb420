#include "report/script/tools/fs_itools.h"

#include <memory>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/parser/fs_iconst.h"

namespace fs_itools {

namespace {

using TLanguage = std::pair<AnsiString, AnsiString>;  // name, grammar text
std::unique_ptr<std::vector<TLanguage>> Languages;

const TLanguage* FindLanguage(const AnsiString& Name)
{
  if (!Languages) return nullptr;
  for (const TLanguage& L : *Languages)
    if (SysUtils::AnsiCompareText(L.first, Name) == 0) return &L;
  return nullptr;
}

}  // namespace

void Initialize()
{
  if (!Languages) Languages = std::make_unique<std::vector<TLanguage>>();
}

void Finalize() { Languages.reset(); }

void RegisterLanguage(const AnsiString& Name, const AnsiString& GrammarText)
{
  Initialize();
  if (!FindLanguage(Name)) Languages->emplace_back(Name, GrammarText);
}

AnsiString GetLanguageDefinition(const AnsiString& Name)
{
  const TLanguage* L = FindLanguage(Name);
  if (!L) throw Exception(SysUtils::Format(fs_iconst::SLangNotFound, {Name}));
  return L->second;
}

void GetLanguageList(TStrings* List)
{
  List->Clear();
  if (!Languages) return;
  for (const TLanguage& L : *Languages) List->Add(L.first);
}

}  // namespace fs_itools
