#include "core/qxProj.h"

#include <cctype>

#include "core/Company.h"
#include "core/Database.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/PickLists.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Variants.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/ShellApi.h"

namespace qxProj {

TCompany* Company = nullptr;
TKeyValue2* KeyValues = nullptr;
TPickListSet* PickLists = nullptr;
TOperator* CurrentOperator = nullptr;
AnsiString ProductName, ProductVersion, ProductCode;
Integer Decimals = 0;
bool UniqueHtCode = false;

void Initialize()
{
  if (Company) return;
  Database::Initialize();
  SysUtils::DateSeparator = '-';
  SysUtils::ShortDateFormat = "yyyy-mm-dd";
  SysUtils::TimeSeparator = ':';
  SysUtils::LongDateFormat = "yyyy-mm-dd hh:nn:ss";
  Variants::NullStrictConvert = false;
  Company = new TCompany();
  KeyValues = new TKeyValue2();
  PickLists = new TPickListSet();
  CurrentOperator = new TOperator();
}

void Finalize()
{
  delete Company;
  Company = nullptr;
  delete KeyValues;
  KeyValues = nullptr;
  delete PickLists;
  PickLists = nullptr;
  delete CurrentOperator;
  CurrentOperator = nullptr;
  ProductName.clear();
  ProductVersion.clear();
  ProductCode.clear();
  Database::Finalize();
}

}  // namespace qxProj

AnsiString TProject::GetProgramDir() { return AppPaths::ExeDir(); }

void TProject::ShowReadme()
{
  ShellApi::ShellOpen(SysUtils::Format("%s/%s", {GetProgramDir(), AnsiString("readme.txt")}));
}

void TProject::ShowWhatsNew()
{
  ShellApi::ShellOpen(SysUtils::Format("%s/%s", {GetProgramDir(), AnsiString("whatsnew.txt")}));
}

void TProject::OpenWebSite() { ShellApi::ShellOpen(qxProj::WebSite); }

void TProject::MailTo(const AnsiString& Address, const AnsiString& Subject)
{
  // The subject travels inside a URL: percent-encode its UTF-8 bytes.
  std::string Utf8 = System::AnsiToUtf8(Subject);
  std::string Encoded;
  static const char Hex[] = "0123456789ABCDEF";
  for (unsigned char C : Utf8) {
    if (std::isalnum(C) || C == '-' || C == '_' || C == '.' || C == '~')
      Encoded += static_cast<char>(C);
    else {
      Encoded += '%';
      Encoded += Hex[C >> 4];
      Encoded += Hex[C & 15];
    }
  }
  ShellApi::ShellOpen("mailto:" + Address + "?subject=" + Encoded);
}

void TProject::MailSupport() { MailTo(qxProj::SupportMail, SysUtils::Format("%s 技术支持", {qxProj::ProductName})); }
