// The system version the platform answers.
#include <gtest/gtest.h>

#include "platform/sys/Version.h"

TEST(VersionTest, AnswersWindowsXpNamingTheRealSystem)
{
  OSVERSIONINFO info;
  ASSERT_TRUE(SysVersion::GetVersionEx(info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 2600u);
  EXPECT_NE(info.szCSDVersion.find("Linux"), AnsiString::npos) << info.szCSDVersion;
  EXPECT_LE(info.szCSDVersion.size(), 127u);
}
