#include "platform/rtl/MessageSeam.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

TEST(MessageSeamTest, AnInstalledHandlerGetsTheMessageAndAnswers)
{
  AnsiString seenText, seenCaption;
  unsigned seenFlags = 0;
  MessageSeam::TScopedMessageBox box([&](const AnsiString& text, const AnsiString& caption, unsigned flags) {
    seenText = text;
    seenCaption = caption;
    seenFlags = flags;
    return IDNO;
  });
  EXPECT_EQ(MessageSeam::Show("无法获得ZOR连接信息", "提示", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(seenText, "无法获得ZOR连接信息");
  EXPECT_EQ(seenCaption, "提示");
  EXPECT_EQ(seenFlags, MB_YESNO | MB_ICONQUESTION);

  {
    MessageSeam::TScopedMessageBox raising(
        [](const AnsiString&, const AnsiString&, unsigned) -> int { throw EAbort(""); });
    EXPECT_THROW(MessageSeam::Show("x", "y", MB_OK), EAbort);
  }
  // The scope put the first box back.
  EXPECT_EQ(MessageSeam::Show("z", "", MB_OK), IDNO);
  EXPECT_EQ(seenText, "z");
}

TEST(MessageSeamTest, WithoutAHandlerTheDefaultButtonAnswers)
{
  MessageSeam::TScopedMessageBox standard(std::unique_ptr<MessageSeam::TMessageBoxService>{});  // the default
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageSeam::Show("文本", "标题", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), reinterpret_cast<const char*>(u8"标题: 文本\n"));
  struct Case {
    unsigned flags;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_YESNO | MB_ICONWARNING, IDYES},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first
      {MB_RETRYCANCEL, IDRETRY},
      {MB_YESNOALL | MB_DEFBUTTON3, IDALL},
      {6, IDOK},  // no such box: OK
  };
  for (const Case& t : cases) EXPECT_EQ(MessageSeam::DefaultAnswer(t.flags), t.answer) << t.flags;
}

}  // namespace
