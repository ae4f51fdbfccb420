// The registry: a tree of keys under the classic root keys, each key holding typed values,
// kept in one text file under the user's configuration folder.
//
// The store file is, in this order of precedence: the path given to Registry::SetStoreFile,
// the environment variable PELTO_REGISTRY_FILE, $XDG_CONFIG_HOME/pelto/registry, and
// ~/.config/pelto/registry. Every change is written to the file at once (a temporary file and a
// rename), and every access first re-reads the file if it changed, so TRegistry objects in this
// process and in others see each other's writes.
//
// Key paths: "\A\B" is absolute (from the root key); "A\B" is relative to the open key (or to
// the root key when none is open). Key and value names compare without regard to ASCII case.
// With no key open, values are those of the root key itself.
//
// What raises ERegistryException: reading a value of another type ("Invalid data type for
// 'Name'"); reading a missing value other than a string ("Failed to get data for 'Name'";
// ReadString answers "" for a missing value, and ValueExists is the way to test); writing
// through a key opened read-only, into a key that no longer exists, or when the file can't be
// written ("Failed to set data for 'Name'"); CreateKey failing ("Failed to create key Name").
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/System.h"

class TStrings;

using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

// Access rights; a key opened without KEY_SET_VALUE can't be written.
constexpr LongWord KEY_QUERY_VALUE = 0x0001;
constexpr LongWord KEY_SET_VALUE = 0x0002;
constexpr LongWord KEY_CREATE_SUB_KEY = 0x0004;
constexpr LongWord KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr LongWord KEY_NOTIFY = 0x0010;
constexpr LongWord KEY_CREATE_LINK = 0x0020;
constexpr LongWord KEY_READ = 0x20019;
constexpr LongWord KEY_WRITE = 0x20006;
constexpr LongWord KEY_EXECUTE = KEY_READ;
constexpr LongWord KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  Integer DataSize = 0;
};

namespace Registry {
// Uses Path as the store file from now on; "" returns to the environment and the default.
void SetStoreFile(const AnsiString& Path);
// The store file in use.
AnsiString GetStoreFile();
}  // namespace Registry

class TRegistry : public TObject {
public:
  TRegistry() = default;
  explicit TRegistry(LongWord AAccess) : FAccess(AAccess) {}
  ~TRegistry() override = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY GetRootKey() const { return FRootKey; }
  // Closes the open key. An unknown root raises ERegistryException.
  void SetRootKey(HKEY Value);
  LongWord GetAccess() const { return FAccess; }
  void SetAccess(LongWord Value) { FAccess = Value; }
  // Non-zero while a key is open.
  HKEY GetCurrentKey() const { return FKeyOpen ? FRootKey : 0; }
  // The open key's path from the root without a leading '\' ("" when none is open).
  AnsiString GetCurrentPath() const;

  // Opens Key, creating it (with its parents) when CanCreate; false when it is missing and
  // CanCreate is false or Access lacks KEY_CREATE_SUB_KEY. The empty path opens the root key.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  // Opens an existing key for reading only.
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  // Creates Key and its parents without opening it; true when it exists afterwards.
  bool CreateKey(const AnsiString& Key);
  // Deletes Key with all its subkeys and values; false when it is missing.
  bool DeleteKey(const AnsiString& Key);
  bool KeyExists(const AnsiString& Key);
  bool HasSubKeys();
  // The names of the open key's subkeys and values, in the order they were created.
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  bool ValueExists(const AnsiString& Name);
  // False when the value is missing.
  bool DeleteValue(const AnsiString& Name);
  // rdUnknown when the value is missing.
  TRegDataType GetDataType(const AnsiString& ValueName);
  // In bytes (a string counts its terminating NUL); -1 when the value is missing.
  Integer GetDataSize(const AnsiString& ValueName);
  // False when the value is missing.
  bool GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value);

  // Strings are stored byte for byte (CP936).
  AnsiString ReadString(const AnsiString& Name);
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
  Integer ReadInteger(const AnsiString& Name);
  void WriteInteger(const AnsiString& Name, Integer Value);
  // Stored as an integer, 1 or 0.
  bool ReadBool(const AnsiString& Name);
  void WriteBool(const AnsiString& Name, bool Value);
  // Floats and dates are stored as the 8 bytes of the double.
  double ReadFloat(const AnsiString& Name);
  void WriteFloat(const AnsiString& Name, double Value);
  TDateTime ReadDateTime(const AnsiString& Name);
  void WriteDateTime(const AnsiString& Name, TDateTime Value);
  TDateTime ReadDate(const AnsiString& Name) { return ReadDateTime(Name); }
  void WriteDate(const AnsiString& Name, TDateTime Value) { WriteDateTime(Name, Value); }
  TDateTime ReadTime(const AnsiString& Name) { return ReadDateTime(Name); }
  void WriteTime(const AnsiString& Name, TDateTime Value) { WriteDateTime(Name, Value); }
  // Copies the binary value into Buffer and answers its size; a value larger than BufSize
  // or not binary raises "Invalid data type for 'Name'".
  Integer ReadBinaryData(const AnsiString& Name, void* Buffer, Integer BufSize);
  void WriteBinaryData(const AnsiString& Name, const void* Buffer, Integer BufSize);

private:
  void PutData(const AnsiString& Name, TRegDataType Type, const AnsiString& Data);
  // Raises "Failed to get data for" when missing, "Invalid data type for" when of another type.
  AnsiString GetTypedData(const AnsiString& Name, TRegDataType Type);

  HKEY FRootKey = HKEY_CURRENT_USER;
  LongWord FAccess = KEY_ALL_ACCESS;
  bool FKeyOpen = false;
  bool FReadOnly = false;
  AnsiString FCurrentPath;
};

// The ini-file interface over a registry key: FileName names the key (as "\Software\Lanyue
// Reports", under HKEY_CURRENT_USER), its subkeys are the sections and their values the keys.
// A value read as text or as a number converts from whichever type is stored; numbers are
// written as integers unless a string is stored under that name already.
class TRegistryIniFile : public TCustomIniFile {
public:
  explicit TRegistryIniFile(const AnsiString& FileName, LongWord AAccess = KEY_ALL_ACCESS);
  ~TRegistryIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default) override;
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  bool SectionExists(const AnsiString& Section) override;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override {}

  TRegistry* GetRegIniFile() const { return FRegistry.get(); }

private:
  // Opens the section's key in FRegistry; false when it is missing and Create is false.
  bool OpenSection(const AnsiString& Section, bool Create);

  std::unique_ptr<TRegistry> FRegistry;
  AnsiString FBasePath;  // absolute, with its leading '\'
};
