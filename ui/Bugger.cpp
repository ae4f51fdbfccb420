#include "ui/Bugger.h"

#include "core/Company.h"
#include "core/Http.h"
#include "core/forms/FormParts.h"
#include "core/qxLib.h"
#include "core/qxProj.h"
#include "platform/forms/app/Screen.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/sys/Version.h"

namespace Bugger {
namespace {

// Label padded with blanks to 19 bytes (the full-width colon counts two).
AnsiString Line(const char* Label, const AnsiString& Value)
{
  AnsiString l = Label;
  if (l.size() < 19) l.append(19 - l.size(), ' ');
  return l + Value;
}

AnsiString ActiveNames(bool Control)
{
  if (!Forms::Screen) return AnsiString();
  if (!Control) {
    TCustomForm* f = Forms::Screen->GetActiveCustomForm();
    return f ? f->GetName() : AnsiString();
  }
  TWinControl* c = Forms::Screen->GetActiveControl();
  return c ? c->GetName() : AnsiString();
}

}  // namespace

AnsiString OsName(unsigned PlatformId, unsigned Major, unsigned Minor)
{
  switch (PlatformId) {
    case VER_PLATFORM_WIN32s: return "Windows 3.1";
    case VER_PLATFORM_WIN32_WINDOWS:
      if (Major != 4) return "Unknown Win32 flatform";
      return Minor == 0 ? "Windows 95" : Minor == 10 ? "Windows 98" : Minor == 90 ? "Windows ME" : "Windows 9x Series";
    case VER_PLATFORM_WIN32_NT:
      switch (Major) {
        case 3: return Minor == 51 ? "Windows NT 3.51" : "Unknown WinNT 3 flatform";
        case 4: return Minor == 0 ? "Windows NT 4.0" : "Unknown WinNT 4 flatform";
        case 5: return Minor == 0 ? "Windows 2000" : Minor == 1 ? "Windows XP" : "Windows Server 2003";
        case 6: return Minor == 0 ? "Windows LongHorn" : "Windows .Net Server";
        default: return "Unknown WinNT flatform";
      }
    default: return AnsiString();
  }
}

AnsiString OsText(const OSVERSIONINFO* Info)
{
  if (!Info) return "Unknown";
  return SysUtils::Format(
      "%s Version %d.%d Build %d.%s",
      {OsName(Info->dwPlatformId, Info->dwMajorVersion, Info->dwMinorVersion), int(Info->dwMajorVersion),
       int(Info->dwMinorVersion), int(Info->dwBuildNumber), Info->szCSDVersion});
}

AnsiString ReportText(const AnsiString& Message, const AnsiString& ClassName)
{
  OSVERSIONINFO info;
  bool known = SysVersion::GetVersionEx(info);
  const char* rule = "=========================================";
  const char* dash = "-----------------------------------------";
  AnsiString lines[] = {
      "运行期异常：",
      rule,
      Line("ProductName：", qxProj::ProductName),
      Line("ProductVersion：", qxProj::ProductVersion + " "),
      Line("OS：", OsText(known ? &info : nullptr)),
      Line("CompanyName：", qxProj::Company ? qxProj::Company->CompanyName : AnsiString()),
      Line("ActiveForm：", ActiveNames(false)),
      Line("ActiveControl：", ActiveNames(true)),
      Line("ExceptionClass：", ClassName),
      Line("ExceptionDescribe：", Message),
      Line("ExceptionTime：", SysUtils::FormatDateTime(SysUtils::LongDateFormat, SysUtils::Now())),
      rule,
      "",
      "请您选择描述以下问题：",
      dash,
      "1.出现以异常时,您曾做过哪些操作?",
      "2.您认为是什么原因导致此异常的发生?",
      "3.此异常是否经常发生,是否有规律性?",
      "4.以及其他您需要描述的问题：",
      "",
      "请留下联系方式,以便我们能及时与您联系并请教：",
      dash,
      "电话：",
      "电子邮件：",
      "QQ：",
      "MSN：",
  };
  AnsiString text;
  for (const AnsiString& l : lines) text += l + "\r\n";
  return text;
}

bool PostBugReport(const AnsiString& Text, WideString& Reply)
{
  THttper poster;
  poster.Fields()->Add("Data=");
  poster.Fields()->SetValues("Data", Text);
  return poster.Post(Reply);
}

}  // namespace Bugger

TBuggerFrm::TBuggerFrm(TComponent* AOwner, const AnsiString& Message, const AnsiString& ClassName) : TADlgFrm(AOwner)
{
  SetName("BuggerFrm");
  SetCaption("错误与缺陷报告");
  SetClientSize(560, 470);
  FormParts::Label(this, "欢迎", 16, 12);
  FormParts::Label(this, "使用在线报告工具！", 52, 12);
  FormParts::Label(this, "请将以下信息反馈给我们，以便能帮助我们解决此问题：", 16, 34);
  Memo1 = new TMemo(this);
  Memo1->SetName("Memo1");
  Memo1->SetScrollBars(ssVertical);
  FormParts::Place(Memo1, this, 16, 56, 528, 330);
  FormParts::Label(this, "谢谢您的支持！我们将做得更好！", 16, 392);
  FormParts::Label(this, "请务必确定您已连上互联网.", 16, GetClientHeight() - 30);
  Memo1->SetText(Bugger::ReportText(Message, ClassName));
}

bool TBuggerFrm::CloseQuery()
{
  FormParts::THourglass wait;
  bool result = TADlgFrm::CloseQuery();
  if (!result || GetModalResult() != mrOk) return result;
  WideString reply;
  if (Bugger::PostBugReport(Memo1->GetText(), reply)) {
    qxLib::ShowInfo("报告成功！我们会尽快处理并与您联系，谢谢！");
    return true;
  }
  if (!reply.empty())
    qxLib::ShowInfo(System::WideToAnsi(reply));
  else
    qxLib::ShowInfo(AnsiString("对不起,发送失败,请检查网络后重试,如果仍不成功请与我们QQ联系") + Http::SupportQQ);
  return false;
}
