#include "platform/db/Provider.h"

#include "platform/db/JetProvider.h"
#include "platform/db/PgProvider.h"
#include "platform/rtl/StringUtils.h"

TConnectionString::TConnectionString(const AnsiString& Text)
{
  std::size_t i = 0, n = Text.size();
  while (i < n) {
    std::size_t eq = Text.find('=', i);
    std::size_t semi = Text.find(';', i);
    if (eq == AnsiString::npos || (semi != AnsiString::npos && semi < eq)) {
      AnsiString key = SysUtils::Trim(Text.substr(i, semi == AnsiString::npos ? AnsiString::npos : semi - i));
      if (!key.empty()) FItems.emplace_back(key, AnsiString());
      i = semi == AnsiString::npos ? n : semi + 1;
      continue;
    }
    AnsiString key = SysUtils::Trim(Text.substr(i, eq - i));
    std::size_t j = eq + 1;
    while (j < n && Text[j] == ' ') ++j;
    AnsiString value;
    if (j < n && (Text[j] == '"' || Text[j] == '\'')) {
      char q = Text[j];
      std::size_t e = Text.find(q, j + 1);
      if (e == AnsiString::npos) e = n;
      value = Text.substr(j + 1, e - j - 1);
      j = Text.find(';', e);
      i = j == AnsiString::npos ? n : j + 1;
    } else {
      std::size_t e = Text.find(';', j);
      value = SysUtils::Trim(Text.substr(j, e == AnsiString::npos ? AnsiString::npos : e - j));
      i = e == AnsiString::npos ? n : e + 1;
    }
    if (!key.empty()) FItems.emplace_back(key, value);
  }
}

AnsiString TConnectionString::Get(const AnsiString& Key) const
{
  for (const auto& [k, v] : FItems)
    if (SysUtils::SameText(k, Key)) return v;
  return AnsiString();
}

bool TConnectionString::Has(const AnsiString& Key) const
{
  for (const auto& [k, v] : FItems)
    if (SysUtils::SameText(k, Key)) return true;
  return false;
}

TProviderResult TDBProvider::ExecuteForDataSet(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds)
{
  return Execute(Sql, Params, TimeoutSeconds);
}

TProviderResult TDBProvider::ExecuteInsert(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds,
                                           const AnsiString&, const std::vector<AnsiString>&)
{
  return Execute(Sql, Params, TimeoutSeconds);
}

std::vector<AnsiString> TDBProvider::GetTableNames(bool)
{
  throw EOleException("Operation is not supported for this type of object.");
}

namespace DBProviders {

namespace {
std::map<AnsiString, TProviderFactory>* Registry = nullptr;
}

void Initialize()
{
  if (Registry) return;
  Registry = new std::map<AnsiString, TProviderFactory>();
  RegisterProvider(JetProvider::ProviderName, [] { return JetProvider::Create(); });
  RegisterProvider(PgProvider::ProviderName, [] { return PgProvider::Create(); });
}

void Finalize()
{
  delete Registry;
  Registry = nullptr;
}

void RegisterProvider(const AnsiString& Name, TProviderFactory Factory)
{
  Initialize();
  (*Registry)[Name] = std::move(Factory);
}

std::unique_ptr<TDBProvider> CreateProvider(const AnsiString& Name)
{
  Initialize();
  auto it = Registry->find(Name);
  if (it == Registry->end()) throw EOleException("Provider cannot be found. It may not be properly installed.");
  return it->second();
}

}  // namespace DBProviders
