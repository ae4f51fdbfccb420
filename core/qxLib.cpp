#include "core/qxLib.h"

#include "platform/rtl/MessageSeam.h"

namespace qxLib {

void ShowInfo(const AnsiString& Text) { MessageSeam::Show(Text, "提示", MB_OK | MB_ICONINFORMATION); }

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
