// Connection configuration: section db of cfg.ini in the program's folder, the connection
// strings of the three providers, the remote connection broker, the server client alias in the
// registry, and the start-up connection loop.
//
// Provider index: 0 the server, 1 the embedded (Jet) database, 2 the server through the broker.
// A cfg.ini without a db section starts on the embedded default database, which is created
// with its schema when missing, so a fresh program folder runs with no set-up.
// mssqlPw, jetfile, jetPw and ConnStr are stored scrambled (qxLib::ScrambleText) and come back
// byte for byte, blanks and quotes included.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

class TIniFile;

class TDBConfiger : public TObject {
public:
  // Reads every key of section db of cfg.ini beside ProgramPath (the executable by default).
  explicit TDBConfiger(const AnsiString& ProgramPath = AnsiString());
  ~TDBConfiger() override;

  AnsiString Server, Database, User, Password;  // Password unscrambled
  Integer Port = 5432;                          // the server's own port when cfg.ini holds none
  bool SmartConnect = false;                    // never stored
  AnsiString JetFile, JetUser, JetPassword;
  AnsiString ZorUrl, ZorUser;
  Integer ProviderIdx = 0;
  bool DefaultCon = true;

  // Writes the settings and the connection string built from them (provider 0 also writes or,
  // with SmartConnect, removes the client alias). Raises EIniFileException when the file
  // can't be written.
  void Save();
  // Provider 1 with DefaultCon: the default database beside the program (created when
  // missing; raises when it can't be made); provider 2: the broker's answer; else ConnStr.
  WideString GetConnectionString();
  // Asks the broker; empty when it is unreachable (after the box "无法获得ZOR连接信息,请检查
  // 网络是否畅通.") or its answer is not exactly five lines.
  WideString FetchZorConnection();
  // Writes "DBMSSOCN,<server>[,<port>]" under the server's name, or removes that value;
  // silently does nothing when the registry key can't be opened.
  static void WriteServerAlias(const AnsiString& Server, const AnsiString& PortText, bool Remove);

  // The default database file: the program's path with the extension ".mdb".
  AnsiString DefaultDatabaseFile() const;
  const AnsiString& GetIniFileName() const { return FIniName; }

  // The broker's GET; replaceable so the exchange can be checked without a network.
  std::function<AnsiString(const AnsiString& Url)> HttpGet;

  static WideString SqlServerString(const AnsiString& User, const AnsiString& Password, const AnsiString& Database,
                                    const AnsiString& Server);
  static WideString JetString(const AnsiString& Password, const AnsiString& File);
  static WideString JetDefaultString(const AnsiString& File);
  static WideString ZorString(const AnsiString& Server, const AnsiString& User, const AnsiString& Password,
                              const AnsiString& Database);

private:
  AnsiString FProgramPath;
  AnsiString FIniName;
  std::unique_ptr<TIniFile> FIni;
};

// The connection dialog as the loop sees it; the window layer supplies the real one.
class IDBConfigDialog {
public:
  virtual ~IDBConfigDialog() = default;
  virtual WideString GetConnectionString() = 0;
  // Shows the dialog modally; true when it ended with OK (the settings are then saved).
  virtual bool Execute() = 0;
};

namespace DBConfig {

inline constexpr const char* DefaultDatabasePassword = "moorvane";
inline constexpr const char* AliasKey = "\\SOFTWARE\\Microsoft\\MSSQLServer\\Client\\ConnectTo";

// Makes the dialog the loop shows after a failed attempt, for the program in ProgramPath (whose
// folder holds cfg.ini). The default has no window and ends the loop as a cancelled dialog
// would; the window layer installs the real one.
using TDialogFactory = std::unique_ptr<IDBConfigDialog>(const AnsiString& ProgramPath);
TService<std::function<TDialogFactory>>& DialogFactoryService();

}  // namespace DBConfig

// Tries the configured connection, showing the dialog after each failure until it connects or
// the dialog is cancelled; true when the global connection is open. ProgramPath (the
// executable by default) places cfg.ini for the default dialog.
bool ConnectOrConfigure(const AnsiString& ProgramPath = AnsiString());
