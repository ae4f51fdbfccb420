#include "platform/sys/AdoAutomation.h"

#include <cctype>
#include <cstring>
#include <map>
#include <memory>

#include "platform/db/JetProvider.h"
#include "platform/db/Provider.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"

namespace AdoAutomation {
namespace {

// Quotes a connection-string value when it holds a separator or a quote.
AnsiString Quoted(const AnsiString& v)
{
  if (v.find_first_of(";\"'=") == AnsiString::npos && (v.empty() || (v.front() != ' ' && v.back() != ' '))) return v;
  if (v.find('"') == AnsiString::npos) return "\"" + v + "\"";
  return "'" + v + "'";
}

const char* ModeText(int mode)
{
  switch (mode) {
    case 1: return "Read";
    case 2: return "Write";
    case 3: return "ReadWrite";
    case 4: return "Share Deny Read";
    case 8: return "Share Deny Write";
    case 12: return "Share Exclusive";
    case 16: return "Share Deny None";
    default: return nullptr;
  }
}

// Jet's "ALTER DATABASE PASSWORD new old": each password is Null (none), a [bracketed] text or
// a bare word; the old one may be left out. False for any other statement.
bool ParsePasswordStatement(const AnsiString& sql, AnsiString& newPassword, AnsiString& oldPassword)
{
  size_t i = 0;
  auto skip = [&] {
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
  };
  for (const char* word : {"alter", "database", "password"}) {
    skip();
    size_t len = std::strlen(word);
    if (SysUtils::LowerCase(sql.substr(i, len)) != word ||
        (i + len < sql.size() && !std::isspace(static_cast<unsigned char>(sql[i + len]))))
      return false;
    i += len;
  }
  AnsiString* out[] = {&newPassword, &oldPassword};
  for (int k = 0; k < 2; ++k) {
    skip();
    out[k]->clear();
    if (i >= sql.size()) {
      if (k == 0) return false;
      break;
    }
    if (sql[i] == '[') {
      size_t close = sql.find(']', i + 1);
      if (close == AnsiString::npos) return false;
      *out[k] = sql.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      size_t end = i;
      while (end < sql.size() && !std::isspace(static_cast<unsigned char>(sql[end])) && sql[end] != ';') ++end;
      AnsiString word = sql.substr(i, end - i);
      if (SysUtils::LowerCase(word) != "null") *out[k] = word;
      i = end;
    }
  }
  skip();
  if (i < sql.size() && sql[i] == ';') ++i;
  skip();
  return i == sql.size();
}

class TAdoConnection;

// One entry of the connection's Properties collection.
class TAdoProperty : public TDispatchObject {
public:
  TAdoProperty(TAdoConnection* owner, const AnsiString& name);
  ~TAdoProperty() override;
  Variant Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args) override;

private:
  TAdoConnection* FOwner;
  AnsiString FName;
};

class TAdoConnection : public TDispatchObject {
public:
  std::map<AnsiString, std::pair<AnsiString, Variant>> Properties;  // lower-case key -> name, value

  Variant Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args) override
  {
    AnsiString n = SysUtils::LowerCase(name);
    bool put = (kind & dkPropertyPut) != 0;
    std::vector<Variant> idx = args;
    Variant value;
    if (put && !idx.empty()) {
      value = idx.back();
      idx.pop_back();
    }
    if (n == "provider" || n == "connectionstring") {
      AnsiString& field = n == "provider" ? FProvider : FConnectionString;
      if (!put) return Variant(field);
      if (FProviderObject) throw EOleException("Operation is not allowed when the object is open.");
      field = value.AsString();
      return Variant();
    }
    if (n == "mode" || n == "connectiontimeout" || n == "commandtimeout") {
      int& field = n == "mode" ? FMode : n == "connectiontimeout" ? FConnectionTimeout : FCommandTimeout;
      if (!put) return Variant(field);
      field = value.AsInteger();
      return Variant();
    }
    if (n == "properties") {
      if (idx.empty()) throw EOleException("Properties needs a name");
      AnsiString pname = idx[0].AsString();
      if (put) {
        Properties[SysUtils::LowerCase(pname)] = {pname, value};
        return Variant();
      }
      return Variant(static_cast<IDispatch*>(new TAdoProperty(this, pname)));
    }
    if (n == "state") return Variant(FProviderObject ? 1 : 0);
    if (n == "open") {
      if (FProviderObject) throw EOleException("Operation is not allowed when the object is open.");
      if (!idx.empty() && !idx[0].IsEmpty() && !IsMissing(idx[0])) FConnectionString = idx[0].AsString();
      Open();
      return Variant();
    }
    if (n == "execute") {
      if (!FProviderObject) throw EOleException("Operation is not allowed when the object is closed.");
      if (idx.empty()) throw EOleException("Execute needs a command text");
      AnsiString newPassword, oldPassword;
      if (FProviderName == JetProvider::ProviderName &&
          ParsePasswordStatement(idx[0].AsString(), newPassword, oldPassword)) {
        // The Jet provider changes a file's password through its own operation.
        JetProvider::ChangeDatabasePassword(FDataSource, oldPassword, newPassword);
        if (args.size() > 1) args[1].SetReferenced(Variant(0));
        return Variant();
      }
      TProviderResult r = FProviderObject->Execute(idx[0].AsWideString(), nullptr, FCommandTimeout);
      if (args.size() > 1) args[1].SetReferenced(Variant(static_cast<Integer>(r.RowsAffected)));
      return Variant();
    }
    if (n == "close") {
      if (!FProviderObject) throw EOleException("Operation is not allowed when the object is closed.");
      Close();
      return Variant();
    }
    if (n == "begintrans") return Variant(Provider().BeginTrans());
    if (n == "committrans") {
      Provider().CommitTrans();
      return Variant();
    }
    if (n == "rollbacktrans") {
      Provider().RollbackTrans();
      return Variant();
    }
    Variants::RaiseUnknownName(name);
  }

protected:
  ~TAdoConnection() override { Close(); }

private:
  static bool IsMissing(const Variant& v)
  {
    const Variant& d = v.Deref();
    return (d.VarType() & varTypeMask) == varError && d.AsError() == VAR_PARAMNOTFOUND;
  }
  TDBProvider& Provider()
  {
    if (!FProviderObject) throw EOleException("Operation is not allowed when the object is closed.");
    return *FProviderObject;
  }
  void Open()
  {
    // The provider, mode and properties set on the object join the connection string, which
    // wins where it names them itself.
    TConnectionString given(FConnectionString);
    AnsiString text = FConnectionString;
    auto add = [&text, &given](const AnsiString& key, const AnsiString& value) {
      if (given.Has(key)) return;
      if (!text.empty() && text.back() != ';') text += ';';
      text += key + "=" + Quoted(value);
    };
    if (!FProvider.empty()) add("Provider", FProvider);
    if (const char* mode = ModeText(FMode)) add("Mode", mode);
    for (const auto& [key, entry] : Properties) add(entry.first, entry.second.AsString());
    TConnectionString params(text);
    AnsiString provider = params.Get("Provider");
    if (provider.empty()) provider = "MSDASQL";
    std::unique_ptr<TDBProvider> p = DBProviders::CreateProvider(provider);
    p->Open(params, FConnectionTimeout);
    FProviderObject = std::move(p);
    FProviderName = provider;
    FDataSource = params.Get("Data Source");
  }
  void Close()
  {
    if (!FProviderObject) return;
    try {
      FProviderObject->Close();
    } catch (...) {
      // Closing never fails the caller; the provider is dropped either way.
    }
    FProviderObject.reset();
  }

  AnsiString FProvider, FConnectionString;
  AnsiString FProviderName, FDataSource;  // of the open connection
  int FMode = 0;
  int FConnectionTimeout = 15;
  int FCommandTimeout = 30;
  std::unique_ptr<TDBProvider> FProviderObject;
};

TAdoProperty::TAdoProperty(TAdoConnection* owner, const AnsiString& name) : FOwner(owner), FName(name)
{
  FOwner->AddRef();
}

TAdoProperty::~TAdoProperty() { FOwner->Release(); }

Variant TAdoProperty::Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args)
{
  AnsiString n = SysUtils::LowerCase(name);
  if (n == "value") {
    if (kind & dkPropertyPut) {
      FOwner->Properties[SysUtils::LowerCase(FName)] = {FName, args.empty() ? Variant() : args.back()};
      return Variant();
    }
    auto it = FOwner->Properties.find(SysUtils::LowerCase(FName));
    return it == FOwner->Properties.end() ? Variant() : it->second.second;
  }
  if (n == "name") return Variant(FName);
  Variants::RaiseUnknownName(name);
}

}  // namespace

IDispatch* CreateAdoConnection() { return new TAdoConnection(); }

}  // namespace AdoAutomation
