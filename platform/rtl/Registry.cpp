#include "platform/rtl/Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

namespace Registry {

namespace {

// ---- Keys and values in memory --------------------------------------------------------------

using TKeyPath = std::vector<AnsiString>;  // the root's name first

struct TPathLess {
  bool operator()(const TKeyPath& a, const TKeyPath& b) const
  {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      int c = SysUtils::AnsiCompareText(a[i], b[i]);
      if (c != 0) return c < 0;
    }
    return a.size() < b.size();
  }
};

struct TValue {
  AnsiString Name;
  TRegDataType Type = rdUnknown;
  AnsiString Data;  // string bytes without NUL; an integer as 4 bytes little-endian
};

struct TKey {
  TKeyPath Path;  // the names as created
  std::vector<TValue> Values;
  unsigned long long Order = 0;  // creation order, for listing subkeys
};

using TKeyMap = std::map<TKeyPath, TKey, TPathLess>;

const struct {
  HKEY Key;
  const char* Name;
} RootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},     {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},   {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

const char* RootName(HKEY key)
{
  for (const auto& root : RootNames)
    if (root.Key == key) return root.Name;
  return nullptr;
}

bool IsRootName(const AnsiString& name)
{
  for (const auto& root : RootNames)
    if (name == root.Name) return true;
  return false;
}

bool IsParentOf(const TKeyPath& parent, const TKeyPath& child)
{
  if (child.size() <= parent.size()) return false;
  for (size_t i = 0; i < parent.size(); ++i)
    if (!SysUtils::AnsiSameText(parent[i], child[i])) return false;
  return true;
}

// ---- The text form of the store ---------------------------------------------------------------
//
//   [HKEY_CURRENT_USER\Software\Lanyue Reports]
//   "Name"=sz:"text"          strings (expand: for expandable ones)
//   "Count"=dword:42          integers, signed decimal
//   "Scale"=bin:000000000000E83F
//
// Names and strings are written as UTF-8 between quotes, with '%', the quote and control
// characters as %XX; text that would not survive the trip through UTF-8 is written as '#'
// followed by the hexadecimal of its CP936 bytes. Keys are written the same way, part by part.

const char Hex[] = "0123456789ABCDEF";

AnsiString ToHex(const AnsiString& bytes)
{
  AnsiString out;
  for (unsigned char b : bytes) {
    out += Hex[b >> 4];
    out += Hex[b & 15];
  }
  return out;
}

int HexDigit(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool FromHex(const AnsiString& hex, AnsiString& bytes)
{
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes += static_cast<char>(hi * 16 + lo);
  }
  return true;
}

// Specials are further bytes to escape besides '%' and the control characters.
AnsiString EncodeText(const AnsiString& text, const char* specials)
{
  std::string utf8 = System::AnsiToUtf8(text);
  if (System::Utf8ToAnsi(utf8) != text) return "#" + ToHex(text);
  AnsiString out;
  for (unsigned char b : utf8) {
    if (b < 0x20 || b == 0x7F || b == '%' || (out.empty() && b == '#') || std::strchr(specials, b)) {
      out += '%';
      out += Hex[b >> 4];
      out += Hex[b & 15];
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

bool DecodeText(const AnsiString& token, AnsiString& text)
{
  if (!token.empty() && token[0] == '#') return FromHex(token.substr(1), text);
  std::string utf8;
  for (size_t i = 0; i < token.size(); ++i) {
    if (token[i] == '%') {
      if (i + 2 >= token.size()) return false;
      int hi = HexDigit(token[i + 1]), lo = HexDigit(token[i + 2]);
      if (hi < 0 || lo < 0) return false;
      utf8 += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      utf8 += token[i];
    }
  }
  text = System::Utf8ToAnsi(utf8);
  return true;
}

// A name or string: "..." or #hex.
AnsiString QuoteToken(const AnsiString& text)
{
  AnsiString encoded = EncodeText(text, "\"");
  // The text form escapes a leading '#', so a leading '#' marks the hexadecimal form.
  return !encoded.empty() && encoded[0] == '#' ? encoded : "\"" + encoded + "\"";
}

// Reads a token written by QuoteToken from line at pos; pos ends after it.
bool ReadToken(const AnsiString& line, size_t& pos, AnsiString& text)
{
  if (pos >= line.size()) return false;
  if (line[pos] == '"') {
    size_t close = line.find('"', pos + 1);
    if (close == AnsiString::npos) return false;
    AnsiString token = line.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    return DecodeText(token, text);
  }
  if (line[pos] == '#') {
    size_t end = pos + 1;
    while (end < line.size() && HexDigit(line[end]) >= 0) ++end;
    AnsiString token = line.substr(pos, end - pos);
    pos = end;
    return DecodeText(token, text);
  }
  return false;
}

AnsiString Serialize(const TKeyMap& keys)
{
  AnsiString out = "; pelto registry\n";
  // In creation order, so that a reload lists subkeys as they were created.
  std::vector<const TKey*> ordered;
  for (const auto& entry : keys) ordered.push_back(&entry.second);
  std::sort(ordered.begin(), ordered.end(), [](const TKey* a, const TKey* b) { return a->Order < b->Order; });
  for (const TKey* keyPtr : ordered) {
    const TKey& key = *keyPtr;
    out += "\n[";
    for (size_t i = 0; i < key.Path.size(); ++i) {
      if (i > 0) out += '\\';
      out += EncodeText(key.Path[i], "\\]");
    }
    out += "]\n";
    for (const TValue& value : key.Values) {
      out += QuoteToken(value.Name) + "=";
      switch (value.Type) {
        case rdString: out += "sz:" + QuoteToken(value.Data); break;
        case rdExpandString: out += "expand:" + QuoteToken(value.Data); break;
        case rdInteger: {
          Integer v = 0;
          std::memcpy(&v, value.Data.data(), sizeof v);
          out += "dword:" + std::to_string(v);
          break;
        }
        case rdBinary: out += "bin:" + ToHex(value.Data); break;
        default: out += "unk:" + ToHex(value.Data); break;
      }
      out += "\n";
    }
  }
  return out;
}

void AddKey(TKeyMap& keys, const TKeyPath& path, unsigned long long& order)
{
  for (size_t n = 1; n <= path.size(); ++n) {
    TKeyPath prefix(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n));
    if (keys.find(prefix) == keys.end()) keys.emplace(prefix, TKey{prefix, {}, order++});
  }
}

// Lines that don't parse are skipped: a damaged line costs that value, not the store.
TKeyMap Parse(const AnsiString& text, unsigned long long& order)
{
  TKeyMap keys;
  TKey* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == AnsiString::npos) end = text.size();
    AnsiString line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      current = nullptr;
      if (line.back() != ']') continue;
      AnsiString inner = line.substr(1, line.size() - 2);
      TKeyPath path;
      bool ok = true;
      size_t p = 0;
      while (ok) {
        size_t q = inner.find('\\', p);  // encoded parts hold no raw '\'
        AnsiString part;
        ok = DecodeText(inner.substr(p, q == AnsiString::npos ? AnsiString::npos : q - p), part) && !part.empty();
        path.push_back(part);
        if (q == AnsiString::npos) break;
        p = q + 1;
      }
      if (!ok || !IsRootName(path[0])) continue;
      AddKey(keys, path, order);
      current = &keys.find(path)->second;
      continue;
    }
    if (!current) continue;
    TValue value;
    size_t pos = 0;
    if (!ReadToken(line, pos, value.Name) || pos >= line.size() || line[pos] != '=') continue;
    AnsiString rest = line.substr(pos + 1);
    size_t colon = rest.find(':');
    if (colon == AnsiString::npos) continue;
    AnsiString type = rest.substr(0, colon);
    AnsiString data = rest.substr(colon + 1);
    size_t dpos = 0;
    bool ok = false;
    if (type == "sz" || type == "expand") {
      value.Type = type == "sz" ? rdString : rdExpandString;
      ok = ReadToken(data, dpos, value.Data);
    } else if (type == "dword") {
      char* endp = nullptr;
      long long v = std::strtoll(data.c_str(), &endp, 10);
      ok = !data.empty() && *endp == '\0' && v >= INT32_MIN && v <= UINT32_MAX;
      Integer i = static_cast<Integer>(static_cast<std::uint32_t>(v));
      value.Type = rdInteger;
      value.Data.assign(reinterpret_cast<const char*>(&i), sizeof i);
    } else if (type == "bin" || type == "unk") {
      value.Type = type == "bin" ? rdBinary : rdUnknown;
      ok = FromHex(data, value.Data);
    }
    if (ok) current->Values.push_back(std::move(value));
  }
  return keys;
}

// ---- The store of one file ----------------------------------------------------------------------

struct TFileStamp {
  bool Exists = false;
  dev_t Dev = 0;
  ino_t Ino = 0;
  off_t Size = 0;
  long long MTimeNs = 0;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const AnsiString& file)
{
  TFileStamp stamp;
  struct stat st {};
  if (::stat(System::AnsiToUtf8(file).c_str(), &st) == 0) {
    stamp.Exists = true;
    stamp.Dev = st.st_dev;
    stamp.Ino = st.st_ino;
    stamp.Size = st.st_size;
    stamp.MTimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  }
  return stamp;
}

class TStore {
public:
  explicit TStore(const AnsiString& file) : FFile(file) {}

  template <typename F>
  auto Read(F f)
  {
    std::lock_guard<std::mutex> guard(FLock);
    Refresh();
    return f(static_cast<const TKeyMap&>(FKeys));
  }

  // f changes a copy and answers whether it changed anything; the copy replaces the keys once
  // it is in the file. Answers false when the file can't be written (nothing changed).
  template <typename F>
  bool Modify(F f)
  {
    std::lock_guard<std::mutex> guard(FLock);
    TFileLock fileLock(FFile);  // other processes write between our read and our write never
    Refresh();
    TKeyMap copy = FKeys;
    unsigned long long order = FOrder;
    if (!f(copy, order)) return true;
    try {
      SaveSeam::SaveFile(FFile, Serialize(copy));
    } catch (const EFCreateError&) {
      return false;
    }
    FKeys = std::move(copy);
    FOrder = order;
    FStamp = StampOf(FFile);
    return true;
  }

private:
  // Holds an exclusive lock on "<file>.lock" while it lives (best effort: no lock file, no lock).
  struct TFileLock {
    int Fd = -1;
    explicit TFileLock(const AnsiString& file)
    {
      AnsiString dir = SysUtils::ExtractFileDir(file);
      if (!dir.empty()) SysUtils::ForceDirectories(dir);
      Fd = ::open(System::AnsiToUtf8(file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (Fd >= 0) ::flock(Fd, LOCK_EX);
    }
    ~TFileLock()
    {
      if (Fd >= 0) ::close(Fd);
    }
  };

  void Refresh()
  {
    TFileStamp stamp = StampOf(FFile);
    if (stamp == FStamp && FLoaded) return;
    AnsiString text;
    FOrder = 0;
    FKeys = SysUtils::LoadFileBytes(FFile, text) ? Parse(text, FOrder) : TKeyMap();
    FStamp = stamp;
    FLoaded = true;
  }

  AnsiString FFile;
  std::mutex FLock;
  TKeyMap FKeys;
  unsigned long long FOrder = 0;
  TFileStamp FStamp;
  bool FLoaded = false;
};

std::mutex& StoresLock()
{
  static std::mutex lock;
  return lock;
}

AnsiString& OverrideFile()
{
  static AnsiString file;
  return file;
}

TStore& CurrentStore()
{
  static std::map<AnsiString, std::unique_ptr<TStore>> stores;
  AnsiString file = GetStoreFile();
  std::lock_guard<std::mutex> guard(StoresLock());
  auto& store = stores[file];
  if (!store) store = std::make_unique<TStore>(file);
  return *store;
}

}  // namespace

void SetStoreFile(const AnsiString& Path)
{
  std::lock_guard<std::mutex> guard(StoresLock());
  OverrideFile() = Path;
}

AnsiString GetStoreFile()
{
  {
    std::lock_guard<std::mutex> guard(StoresLock());
    if (!OverrideFile().empty()) return OverrideFile();
  }
  if (const char* env = std::getenv("PELTO_REGISTRY_FILE"); env && *env) return System::Utf8ToAnsi(env);
  AnsiString base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = System::Utf8ToAnsi(xdg);
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = System::Utf8ToAnsi(home) + "/.config";
  else
    base = ".config";
  return base + "/pelto/registry";
}

}  // namespace Registry

// ---- TRegistry ----------------------------------------------------------------------------------

using Registry::TKey;
using Registry::TKeyMap;
using Registry::TKeyPath;
using Registry::TValue;

namespace {

// Splits a key path on '\' outside double-byte characters; empty parts are dropped.
TKeyPath SplitKey(const AnsiString& key)
{
  TKeyPath parts;
  AnsiString part;
  for (size_t i = 0; i < key.size(); ++i) {
    if (System::IsLeadByte(key[i]) && i + 1 < key.size()) {
      part += key[i];
      part += key[++i];
    } else if (key[i] == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += key[i];
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

AnsiString JoinKey(const TKeyPath& parts, size_t from)
{
  AnsiString out;
  for (size_t i = from; i < parts.size(); ++i) {
    if (i > from) out += '\\';
    out += parts[i];
  }
  return out;
}

const TKey* FindKey(const TKeyMap& keys, const TKeyPath& path)
{
  auto it = keys.find(path);
  return it == keys.end() ? nullptr : &it->second;
}

const TValue* FindValue(const TKey* key, const AnsiString& name)
{
  if (!key) return nullptr;
  for (const TValue& value : key->Values)
    if (SysUtils::AnsiSameText(value.Name, name)) return &value;
  return nullptr;
}

[[noreturn]] void RaiseFmt(const char* before, const AnsiString& name, const char* after)
{
  throw ERegistryException(before + name + after);
}

}  // namespace

// Path of Key: relative to the open key, or absolute with a leading '\'. The root's name first.
static TKeyPath ResolveKey(HKEY root, bool keyOpen, const AnsiString& currentPath, const AnsiString& key)
{
  TKeyPath path{Registry::RootName(root)};
  if (!(key.size() > 0 && key[0] == '\\') && keyOpen)
    for (AnsiString& part : SplitKey(currentPath)) path.push_back(std::move(part));
  for (AnsiString& part : SplitKey(key)) path.push_back(std::move(part));
  return path;
}

void TRegistry::SetRootKey(HKEY Value)
{
  if (!Registry::RootName(Value)) throw ERegistryException("Invalid root key");
  CloseKey();
  FRootKey = Value;
}

AnsiString TRegistry::GetCurrentPath() const { return FKeyOpen ? FCurrentPath : AnsiString(); }

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, Key);
  Registry::TStore& store = Registry::CurrentStore();
  bool exists = path.size() == 1 || store.Read([&](const TKeyMap& keys) { return FindKey(keys, path) != nullptr; });
  if (!exists) {
    if (!CanCreate || !(FAccess & KEY_CREATE_SUB_KEY)) return false;
    bool ok = store.Modify([&](TKeyMap& keys, unsigned long long& order) {
      Registry::AddKey(keys, path, order);
      return true;
    });
    if (!ok) return false;
  }
  FKeyOpen = true;
  FReadOnly = false;
  FCurrentPath = JoinKey(path, 1);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key)
{
  bool opened = OpenKey(Key, false);
  if (opened) FReadOnly = true;
  return opened;
}

void TRegistry::CloseKey()
{
  FKeyOpen = false;
  FReadOnly = false;
  FCurrentPath.clear();
}

bool TRegistry::CreateKey(const AnsiString& Key)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, Key);
  bool ok =
      (FAccess & KEY_CREATE_SUB_KEY) && Registry::CurrentStore().Modify([&](TKeyMap& keys, unsigned long long& order) {
        if (FindKey(keys, path)) return false;
        Registry::AddKey(keys, path, order);
        return true;
      });
  if (!ok) RaiseFmt("Failed to create key ", Key, "");
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, Key);
  if (path.size() == 1) return false;  // a root key stays
  bool found = false;
  bool ok = Registry::CurrentStore().Modify([&](TKeyMap& keys, unsigned long long&) {
    for (auto it = keys.begin(); it != keys.end();) {
      bool same = !keys.key_comp()(it->first, path) && !keys.key_comp()(path, it->first);
      if (same) found = true;
      if (same || Registry::IsParentOf(path, it->first))
        it = keys.erase(it);
      else
        ++it;
    }
    return found;
  });
  return ok && found;
}

bool TRegistry::KeyExists(const AnsiString& Key)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, Key);
  if (path.size() == 1) return true;
  return Registry::CurrentStore().Read([&](const TKeyMap& keys) { return FindKey(keys, path) != nullptr; });
}

bool TRegistry::HasSubKeys()
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  return Registry::CurrentStore().Read([&](const TKeyMap& keys) {
    for (const auto& entry : keys)
      if (entry.first.size() == path.size() + 1 && Registry::IsParentOf(path, entry.first)) return true;
    return false;
  });
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  std::vector<const TKey*> children;
  std::vector<AnsiString> names = Registry::CurrentStore().Read([&](const TKeyMap& keys) {
    for (const auto& entry : keys)
      if (entry.first.size() == path.size() + 1 && Registry::IsParentOf(path, entry.first))
        children.push_back(&entry.second);
    std::sort(children.begin(), children.end(), [](const TKey* a, const TKey* b) { return a->Order < b->Order; });
    std::vector<AnsiString> result;
    for (const TKey* child : children) result.push_back(child->Path.back());
    return result;
  });
  Strings->BeginUpdate();
  Strings->Clear();
  for (const AnsiString& name : names) Strings->Add(name);
  Strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* Strings)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  std::vector<AnsiString> names = Registry::CurrentStore().Read([&](const TKeyMap& keys) {
    std::vector<AnsiString> result;
    if (const TKey* key = FindKey(keys, path))
      for (const TValue& value : key->Values) result.push_back(value.Name);
    return result;
  });
  Strings->BeginUpdate();
  Strings->Clear();
  for (const AnsiString& name : names) Strings->Add(name);
  Strings->EndUpdate();
}

bool TRegistry::GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  return Registry::CurrentStore().Read([&](const TKeyMap& keys) {
    const TValue* value = FindValue(FindKey(keys, path), ValueName);
    if (!value) return false;
    Value.RegData = value->Type;
    Value.DataSize = static_cast<Integer>(value->Data.size());
    if (value->Type == rdString || value->Type == rdExpandString) ++Value.DataSize;
    return true;
  });
}

bool TRegistry::ValueExists(const AnsiString& Name)
{
  TRegDataInfo info;
  return GetDataInfo(Name, info);
}

TRegDataType TRegistry::GetDataType(const AnsiString& ValueName)
{
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.RegData : rdUnknown;
}

Integer TRegistry::GetDataSize(const AnsiString& ValueName)
{
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

bool TRegistry::DeleteValue(const AnsiString& Name)
{
  if (FReadOnly || !(FAccess & KEY_SET_VALUE)) return false;
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  bool found = false;
  bool ok = Registry::CurrentStore().Modify([&](TKeyMap& keys, unsigned long long&) {
    auto it = keys.find(path);
    if (it == keys.end()) return false;
    auto& values = it->second.Values;
    for (auto v = values.begin(); v != values.end(); ++v) {
      if (SysUtils::AnsiSameText(v->Name, Name)) {
        values.erase(v);
        found = true;
        return true;
      }
    }
    return false;
  });
  return ok && found;
}

void TRegistry::PutData(const AnsiString& Name, TRegDataType Type, const AnsiString& Data)
{
  if (FReadOnly || !(FAccess & KEY_SET_VALUE)) RaiseFmt("Failed to set data for '", Name, "'");
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  bool keyMissing = false;
  bool ok = Registry::CurrentStore().Modify([&](TKeyMap& keys, unsigned long long& order) {
    auto it = keys.find(path);
    if (it == keys.end()) {
      if (path.size() != 1) {
        keyMissing = true;
        return false;
      }
      Registry::AddKey(keys, path, order);  // a root key always exists
      it = keys.find(path);
    }
    for (TValue& value : it->second.Values) {
      if (SysUtils::AnsiSameText(value.Name, Name)) {
        value.Type = Type;
        value.Data = Data;
        return true;
      }
    }
    it->second.Values.push_back(TValue{Name, Type, Data});
    return true;
  });
  if (!ok || keyMissing) RaiseFmt("Failed to set data for '", Name, "'");
}

AnsiString TRegistry::GetTypedData(const AnsiString& Name, TRegDataType Type)
{
  TKeyPath path = ResolveKey(FRootKey, FKeyOpen, FCurrentPath, AnsiString());
  TValue found;
  bool exists = Registry::CurrentStore().Read([&](const TKeyMap& keys) {
    const TValue* value = FindValue(FindKey(keys, path), Name);
    if (value) found = *value;
    return value != nullptr;
  });
  if (!exists) RaiseFmt("Failed to get data for '", Name, "'");
  bool typeOk = found.Type == Type || (Type == rdString && found.Type == rdExpandString) ||
                (Type == rdBinary && found.Type == rdUnknown);
  if (!typeOk) RaiseFmt("Invalid data type for '", Name, "'");
  return found.Data;
}

AnsiString TRegistry::ReadString(const AnsiString& Name)
{
  if (!ValueExists(Name)) return AnsiString();
  return GetTypedData(Name, rdString);
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) { PutData(Name, rdString, Value); }

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value)
{
  PutData(Name, rdExpandString, Value);
}

Integer TRegistry::ReadInteger(const AnsiString& Name)
{
  AnsiString data = GetTypedData(Name, rdInteger);
  Integer value = 0;
  std::memcpy(&value, data.data(), std::min(data.size(), sizeof value));
  return value;
}

void TRegistry::WriteInteger(const AnsiString& Name, Integer Value)
{
  PutData(Name, rdInteger, AnsiString(reinterpret_cast<const char*>(&Value), sizeof Value));
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

double TRegistry::ReadFloat(const AnsiString& Name)
{
  AnsiString data = GetTypedData(Name, rdBinary);
  double value = 0;
  if (data.size() != sizeof value) RaiseFmt("Invalid data type for '", Name, "'");
  std::memcpy(&value, data.data(), sizeof value);
  return value;
}

void TRegistry::WriteFloat(const AnsiString& Name, double Value)
{
  PutData(Name, rdBinary, AnsiString(reinterpret_cast<const char*>(&Value), sizeof Value));
}

TDateTime TRegistry::ReadDateTime(const AnsiString& Name) { return TDateTime(ReadFloat(Name)); }

void TRegistry::WriteDateTime(const AnsiString& Name, TDateTime Value) { WriteFloat(Name, Value.Value); }

Integer TRegistry::ReadBinaryData(const AnsiString& Name, void* Buffer, Integer BufSize)
{
  AnsiString data = GetTypedData(Name, rdBinary);
  if (static_cast<Integer>(data.size()) > BufSize) RaiseFmt("Invalid data type for '", Name, "'");
  if (!data.empty()) std::memcpy(Buffer, data.data(), data.size());
  return static_cast<Integer>(data.size());
}

void TRegistry::WriteBinaryData(const AnsiString& Name, const void* Buffer, Integer BufSize)
{
  PutData(Name, rdBinary, AnsiString(static_cast<const char*>(Buffer), static_cast<size_t>(std::max(BufSize, 0))));
}

// ---- TRegistryIniFile ---------------------------------------------------------------------------

TRegistryIniFile::TRegistryIniFile(const AnsiString& FileName, LongWord AAccess)
    : TCustomIniFile(FileName), FRegistry(std::make_unique<TRegistry>(AAccess))
{
  FBasePath = "\\" + JoinKey(SplitKey(FileName), 0);
  FRegistry->OpenKey(FBasePath, (AAccess & KEY_CREATE_SUB_KEY) != 0);
}

TRegistryIniFile::~TRegistryIniFile() = default;

bool TRegistryIniFile::OpenSection(const AnsiString& Section, bool Create)
{
  return FRegistry->OpenKey(FBasePath + "\\" + Section, Create);
}

AnsiString TRegistryIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
  if (!OpenSection(Section, false) || !FRegistry->ValueExists(Ident)) return Default;
  switch (FRegistry->GetDataType(Ident)) {
    case rdString:
    case rdExpandString: return FRegistry->ReadString(Ident);
    case rdInteger: return SysUtils::IntToStr(FRegistry->ReadInteger(Ident));
    default: return Default;
  }
}

void TRegistryIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
  if (!OpenSection(Section, true)) RaiseFmt("Failed to set data for '", Ident, "'");
  FRegistry->WriteString(Ident, Value);
}

Integer TRegistryIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default)
{
  if (!OpenSection(Section, false) || !FRegistry->ValueExists(Ident)) return Default;
  switch (FRegistry->GetDataType(Ident)) {
    case rdInteger: return FRegistry->ReadInteger(Ident);
    case rdString:
    case rdExpandString: return SysUtils::StrToIntDef(FRegistry->ReadString(Ident), Default);
    default: return Default;
  }
}

void TRegistryIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value)
{
  if (!OpenSection(Section, true)) RaiseFmt("Failed to set data for '", Ident, "'");
  if (FRegistry->GetDataType(Ident) == rdString)
    FRegistry->WriteString(Ident, SysUtils::IntToStr(Value));
  else
    FRegistry->WriteInteger(Ident, Value);
}

void TRegistryIniFile::ReadSection(const AnsiString& Section, TStrings* Strings)
{
  if (OpenSection(Section, false))
    FRegistry->GetValueNames(Strings);
  else
    Strings->Clear();
}

void TRegistryIniFile::ReadSections(TStrings* Strings)
{
  if (FRegistry->OpenKey(FBasePath, false))
    FRegistry->GetKeyNames(Strings);
  else
    Strings->Clear();
}

void TRegistryIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
  TStringList names;
  ReadSection(Section, &names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (Integer i = 0; i < names.GetCount(); ++i) {
    AnsiString name = names.GetStrings(i);
    Strings->Add(name + "=" + ReadString(Section, name, AnsiString()));
  }
  Strings->EndUpdate();
}

bool TRegistryIniFile::SectionExists(const AnsiString& Section)
{
  return FRegistry->KeyExists(FBasePath + "\\" + Section);
}

bool TRegistryIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
  return OpenSection(Section, false) && FRegistry->ValueExists(Ident);
}

void TRegistryIniFile::EraseSection(const AnsiString& Section) { FRegistry->DeleteKey(FBasePath + "\\" + Section); }

void TRegistryIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
  if (OpenSection(Section, false)) FRegistry->DeleteValue(Ident);
}
