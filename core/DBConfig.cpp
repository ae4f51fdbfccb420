#include "core/DBConfig.h"

#include "core/Database.h"
#include "core/Schema.h"
#include "core/qxLib.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/HttpClient.h"

namespace {

const char Section[] = "db";

AnsiString Fill(const AnsiString& Template, std::initializer_list<AnsiString> Values)
{
  // Values go in as they are: a '%' inside a password must not be read as a format.
  AnsiString Out;
  auto It = Values.begin();
  for (std::size_t i = 0; i < Template.size(); ++i) {
    if (Template[i] == '%' && i + 1 < Template.size() && Template[i + 1] == 's' && It != Values.end()) {
      Out += *It++;
      ++i;
    } else {
      Out += Template[i];
    }
  }
  return Out;
}

// The query part of an address carries UTF-8 bytes, percent-encoded.
AnsiString PercentEncode(const AnsiString& Text)
{
  static const char Hex[] = "0123456789ABCDEF";
  AnsiString Out;
  for (unsigned char C : System::AnsiToUtf8(Text)) {
    bool Plain = (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '-' || C == '_' ||
                 C == '.' || C == '~';
    if (Plain) {
      Out += static_cast<char>(C);
    } else {
      Out += '%';
      Out += Hex[C >> 4];
      Out += Hex[C & 15];
    }
  }
  return Out;
}

// Lines of a reply; a final line break ends the last line rather than starting a new one.
std::vector<AnsiString> SplitLines(const AnsiString& Body)
{
  std::vector<AnsiString> Lines;
  if (Body.empty()) return Lines;
  std::size_t Start = 0;
  while (Start <= Body.size()) {
    std::size_t End = Body.find('\n', Start);
    AnsiString Line = Body.substr(Start, End == AnsiString::npos ? AnsiString::npos : End - Start);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    Lines.push_back(Line);
    if (End == AnsiString::npos) break;
    Start = End + 1;
    if (Start == Body.size()) break;
  }
  return Lines;
}

class THeadlessConfigDialog : public IDBConfigDialog {
public:
  explicit THeadlessConfigDialog(const AnsiString& ProgramPath) : FConfig(ProgramPath) {}
  WideString GetConnectionString() override { return FConfig.GetConnectionString(); }
  bool Execute() override { return false; }

private:
  TDBConfiger FConfig;
};

}  // namespace

TDBConfiger::TDBConfiger(const AnsiString& ProgramPath)
    : FProgramPath(ProgramPath.empty() ? AppPaths::ExeName() : ProgramPath)
{
  HttpGet = [](const AnsiString& Url) {
    THttpClient Client;
    return Client.Get(Url);
  };
  FIniName = SysUtils::ExtractFilePath(FProgramPath) + "cfg.ini";
  FIni = std::make_unique<TIniFile>(FIniName);
  // A folder never configured starts on the embedded default database.
  ProviderIdx = FIni->ReadInteger(Section, "providerIdx", FIni->SectionExists(Section) ? 0 : 1);
  DefaultCon = FIni->ReadBool(Section, "defaultCon", true);
  Server = FIni->ReadString(Section, "mssqlServer", "");
  Port = FIni->ReadInteger(Section, "mssqlPort", 5432);
  Database = FIni->ReadString(Section, "mssqlDb", "");
  User = FIni->ReadString(Section, "mssqlUser", "");
  Password = qxLib::ScrambleText(FIni->ReadString(Section, "mssqlPw", ""));
  JetFile = qxLib::ScrambleText(FIni->ReadString(Section, "jetfile", ""));
  JetUser = FIni->ReadString(Section, "jetUser", "");
  JetPassword = qxLib::ScrambleText(FIni->ReadString(Section, "jetPw", ""));
  ZorUrl = FIni->ReadString(Section, "zorUrl", "");
  ZorUser = FIni->ReadString(Section, "zorUser", "");
}

TDBConfiger::~TDBConfiger() = default;

WideString TDBConfiger::SqlServerString(const AnsiString& User, const AnsiString& Password, const AnsiString& Database,
                                        const AnsiString& Server)
{
  return System::AnsiToWide(
      Fill("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%s;Password=%s;Initial Catalog=%s;"
           "Data Source=%s;Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;Workstation ID=PELTO;"
           "Use Encryption for Data=False;Tag with column collation when possible=False",
           {User, Password, Database, Server}));
}

WideString TDBConfiger::JetString(const AnsiString& Password, const AnsiString& File)
{
  return System::AnsiToWide(
      Fill("Provider=Microsoft.Jet.OLEDB.4.0;Mode = ReadWrite;Jet OLEDB:Database Password=%s;"
           "Data Source=%s;Persist Security Info=True",
           {Password, File}));
}

WideString TDBConfiger::JetDefaultString(const AnsiString& File)
{
  return System::AnsiToWide(
      Fill(AnsiString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s;Jet OLEDB:Database Password=") +
               DBConfig::DefaultDatabasePassword + ";Persist Security Info=True",
           {File}));
}

WideString TDBConfiger::ZorString(const AnsiString& Server, const AnsiString& User, const AnsiString& Password,
                                  const AnsiString& Database)
{
  return System::AnsiToWide(
      Fill("Provider=SQLOLEDB.1;Data Source=%s;User ID=%s;Password=%s;Initial Catalog=%s;"
           "Persist Security Info=True",
           {Server, User, Password, Database}));
}

AnsiString TDBConfiger::DefaultDatabaseFile() const { return SysUtils::ChangeFileExt(FProgramPath, ".mdb"); }

void TDBConfiger::Save()
{
  // All keys reach the file in one atomic write: a failed save leaves the old settings whole.
  TMemIniFile Ini(FIniName);
  Ini.WriteString(Section, "mssqlServer", Server);
  Ini.WriteInteger(Section, "mssqlPort", Port);
  Ini.WriteString(Section, "mssqlDb", Database);
  Ini.WriteString(Section, "mssqlUser", User);
  Ini.WriteString(Section, "mssqlPw", qxLib::ScrambleText(Password));
  Ini.WriteString(Section, "jetfile", qxLib::ScrambleText(JetFile));
  Ini.WriteString(Section, "jetUser", JetUser);
  Ini.WriteString(Section, "jetPw", qxLib::ScrambleText(JetPassword));
  Ini.WriteString(Section, "zorUrl", ZorUrl);
  Ini.WriteString(Section, "zorUser", ZorUser);
  Ini.WriteInteger(Section, "providerIdx", ProviderIdx);
  Ini.WriteBool(Section, "defaultCon", DefaultCon);
  WideString Conn;
  if (ProviderIdx == 0) {
    Conn = SqlServerString(User, Password, Database, Server);
    WriteServerAlias(Server, SysUtils::IntToStr(Port), SmartConnect);
  } else if (ProviderIdx == 1) {
    Conn = JetString(JetPassword, JetFile);
  }
  Ini.WriteString(Section, "ConnStr", qxLib::ScrambleText(System::WideToAnsi(Conn)));
  Ini.UpdateFile();
}

WideString TDBConfiger::GetConnectionString()
{
  if (ProviderIdx == 1 && DefaultCon) {
    AnsiString File = DefaultDatabaseFile();
    Schema::EnsureJetDatabase(File, DBConfig::DefaultDatabasePassword);
    return JetDefaultString(File);
  }
  if (ProviderIdx == 2) return FetchZorConnection();
  return System::AnsiToWide(qxLib::ScrambleText(FIni->ReadString(Section, "ConnStr", "")));
}

WideString TDBConfiger::FetchZorConnection()
{
  AnsiString Body;
  try {
    Body = HttpGet(ZorUrl + "?user=" + PercentEncode(ZorUser));
  } catch (const std::exception&) {
    qxLib::ShowInfo("无法获得ZOR连接信息,请检查网络是否畅通.");
    return WideString();
  }
  std::vector<AnsiString> Lines = SplitLines(Body);
  if (Lines.size() != 5) return WideString();
  WriteServerAlias(Lines[0], Lines[1], false);
  return ZorString(Lines[0], Lines[2], Lines[3], Lines[4]);
}

void TDBConfiger::WriteServerAlias(const AnsiString& Server, const AnsiString& PortText, bool Remove)
{
  AnsiString Alias = PortText.empty() ? Server : Server + "," + PortText;
  try {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!Reg.OpenKey(DBConfig::AliasKey, true)) return;
    if (Remove)
      Reg.DeleteValue(Server);
    else
      Reg.WriteString(Server, "DBMSSOCN," + Alias);
  } catch (const ERegistryException&) {
    // No rights on the key: the alias is simply not written.
  }
}

namespace DBConfig {

TService<std::function<TDialogFactory>>& DialogFactoryService()
{
  static TService<std::function<TDialogFactory>> slot(
      std::make_unique<std::function<TDialogFactory>>([](const AnsiString& ProgramPath) {
        return std::unique_ptr<IDBConfigDialog>(std::make_unique<THeadlessConfigDialog>(ProgramPath));
      }));
  return slot;
}

}  // namespace DBConfig

bool ConnectOrConfigure(const AnsiString& ProgramPath)
{
  std::unique_ptr<IDBConfigDialog> Dialog = DBConfig::DialogFactoryService().Current()(ProgramPath);
  for (;;) {
    bool Connected = false;
    try {
      Connected = Database::GlobalDB->Open(Dialog->GetConnectionString());
    } catch (const EAbort&) {
      throw;
    } catch (const std::exception& E) {
      // The default database could not be made, or the settings could not be read.
      qxLib::ShowInfo(SysUtils::Format("连接时失败,提示如下:\r\n%s", {AnsiString(E.what())}));
    }
    if (Connected || !Dialog->Execute()) break;
  }
  return Database::GlobalDB->GetConnected();
}
