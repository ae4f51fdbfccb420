#include <gtest/gtest.h>

#include "platform/stdctrls/menus/ShortCuts.h"
#include "platform/win/WinUser.h"

using namespace Menus;

TEST(ShortCutText, TextThatNamesNoKeyIsNone)
{
  for (const char* text : {"", "Ctrl+", "Ctrl", "Ctrl+Ctrl", "Foo", "Ctrl+F25", "Ctrl+保存", "+", "Shift+Num"})
    EXPECT_EQ(TextToShortCut(text), scNone) << text;
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCutToText(scCtrl | 0xFF), "") << "a key without a name has no text";
}

TEST(ShortCutText, KeysAndMarksRoundTrip)
{
  struct Case {
    TShortCut Key;
    const char* Text;
  } cases[] = {
      {scCtrl | 'S', "Ctrl+S"},
      {scShift | scCtrl | scAlt | VK_F12, "Shift+Ctrl+Alt+F12"},
      {scAlt | VK_DELETE, "Alt+Del"},
      {VK_INSERT, "Ins"},
      {scCtrl | VK_PRIOR, "Ctrl+PgUp"},
      {scShift | VK_RETURN, "Shift+Enter"},
      {VK_F1 + 23, "F24"},
      {scCtrl | (VK_NUMPAD0 + 5), "Ctrl+Num 5"},
      {scCtrl | VK_ADD, "Ctrl+Num +"},
      {scCtrl | '0', "Ctrl+0"},
      {scCtrl | 0xBF, "Ctrl+/"},
      {VK_BACK, "BkSp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Key), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Key) << c.Text;
  }
  // Case, blanks around and the order of the marks do not matter.
  EXPECT_EQ(TextToShortCut("  ctrl+shift+s "), scShift | scCtrl | 'S');
  EXPECT_EQ(TextToShortCut("ALT+f4"), scAlt | VK_F4);
}

TEST(ShortCutText, KeyAndShiftStateConvertBothWays)
{
  EXPECT_EQ(ShortCut('N', TShiftState{ssCtrl, ssLeft}), scCtrl | 'N') << "mouse buttons do not count";
  EXPECT_EQ(ShortCut(0x1FF, TShiftState{}), scNone);
  Word key;
  TShiftState shift;
  ShortCutToKey(scShift | scAlt | VK_F5, key, shift);
  EXPECT_EQ(key, VK_F5);
  EXPECT_TRUE(shift.Contains(ssShift) && shift.Contains(ssAlt) && !shift.Contains(ssCtrl));
}

TEST(ShortCutText, StripHotkeyKeepsDoubledAmpersandsAndChineseWhole)
{
  EXPECT_EQ(StripHotkey("保存(&S)"), "保存(S)");
  EXPECT_EQ(StripHotkey("A&&B&"), "A&B");
  EXPECT_EQ(StripHotkey("&文件"), "文件");
  // A lead byte takes the next byte with it, as the text's byte-type rules say.
  EXPECT_EQ(StripHotkey("\xb1&x"), "\xb1&x");
}
