#include <gtest/gtest.h>

#include "platform/commctrl/CommCtrl.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/window/Windows.h"

TEST(CommCtrl, InitializeRegistersTheClassesOnceAndAgainAfterAReset)
{
  Headless::Start();
  CommCtrl::Initialize();
  CommCtrl::Initialize();
  WNDCLASSEXA wc;
  EXPECT_TRUE(Windows::GetClassInfoEx(nullptr, "EDIT", &wc));
  Headless::Start();
  EXPECT_FALSE(Windows::GetClassInfoEx(nullptr, "Edit", &wc));
  CommCtrl::Initialize();
  EXPECT_TRUE(Windows::GetClassInfoEx(nullptr, "Edit", &wc));
}
