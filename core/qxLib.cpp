#include "core/qxLib.h"

#include "platform/rtl/FormatText.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/sys/AppPaths.h"

namespace qxLib {

void ShowInfo(const AnsiString& Text) { Dialogs::MessageDlg("\r\n" + Text + "\t", mtInformation, {mbOK}, 0); }

bool ConfirmDelete(const AnsiString& Subject)
{
  AnsiString Msg = SysUtils::Format("\r您确定要删除 %s 吗?\t\t", {Subject.empty() ? AnsiString("当前记录") : Subject});
  return Dialogs::MessageDlg(Msg, mtWarning, {mbOK, mbCancel}, 0) == mrOk;
}

AnsiString GetTempDir() { return AppPaths::TempDir(); }

AnsiString* NewStringPtr(const AnsiString& Text) { return new AnsiString(Text); }

AnsiString ScrambleText(const AnsiString& Text)
{
  static const char Key[] = "tellowinds";
  AnsiString Result = Text;
  for (std::size_t i = 0; i < Result.size(); ++i) {
    std::size_t p = i + 1;                                      // 1-based position
    unsigned char k = static_cast<unsigned char>(Key[p % 10]);  // key position (p mod 10) + 1, 1-based
    Result[i] = static_cast<char>(static_cast<unsigned char>(Result[i]) ^ (k % 10));
  }
  return Result;
}

}  // namespace qxLib
