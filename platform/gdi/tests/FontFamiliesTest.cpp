#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/text/Fonts.h"

namespace {

struct TListed {
  std::map<std::string, std::set<int>> Charsets;  // face -> charsets listed
  std::map<std::string, DWORD> Types;
  std::map<std::string, BYTE> Pitch;
  std::string Script;  // of the last entry
  int Calls = 0;
  int StopAfter = -1;
};

int Collect(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM data)
{
  auto* l = reinterpret_cast<TListed*>(data);
  const auto* e = reinterpret_cast<const ENUMLOGFONTEXA*>(lf);
  l->Charsets[lf->lfFaceName].insert(lf->lfCharSet);
  l->Types[lf->lfFaceName] = type;
  l->Pitch[lf->lfFaceName] = tm->tmPitchAndFamily;
  EXPECT_EQ(tm->tmCharSet, lf->lfCharSet);
  EXPECT_GT(tm->tmHeight, 0);
  l->Script = e->elfScript;
  ++l->Calls;
  return l->StopAfter == l->Calls ? 0 : 1;
}

TListed List(const char* face, BYTE charset)
{
  LOGFONTA lf;
  lf.lfCharSet = charset;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
  TListed l;
  Windows::EnumFontFamiliesEx(nullptr, &lf, Collect, reinterpret_cast<LPARAM>(&l));
  return l;
}

}  // namespace

TEST(GdiFontFamilies, ListsTheClassicFacesWithTheirCharsets)
{
  TListed all = List("", DEFAULT_CHARSET);
  struct {
    const char* Face;
    int Charset;
    bool Fixed;
  } const cases[] = {
      {"宋体", GB2312_CHARSET, false},          {"宋体", ANSI_CHARSET, false},
      {"Arial", ANSI_CHARSET, false},           {"Tahoma", ANSI_CHARSET, false},
      {"MS Sans Serif", ANSI_CHARSET, false},   {"Courier New", ANSI_CHARSET, true},
      {"Times New Roman", ANSI_CHARSET, false}, {"Liberation Sans", ANSI_CHARSET, false},
      {"文泉驿正黑", GB2312_CHARSET, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Face);
    ASSERT_TRUE(all.Charsets.count(c.Face));
    EXPECT_TRUE(all.Charsets[c.Face].count(c.Charset));
    EXPECT_EQ(all.Types[c.Face], TRUETYPE_FONTTYPE);
    EXPECT_EQ((all.Pitch[c.Face] & TMPF_FIXED_PITCH) == 0, c.Fixed);
  }
  // Latin-only faces are not offered for Chinese text.
  EXPECT_FALSE(all.Charsets["Arial"].count(GB2312_CHARSET));
}

TEST(GdiFontFamilies, FiltersByFaceAndCharsetAndStops)
{
  TListed gb = List("", GB2312_CHARSET);
  EXPECT_TRUE(gb.Charsets.count("宋体"));
  EXPECT_FALSE(gb.Charsets.count("Arial"));
  for (const auto& [face, sets] : gb.Charsets) EXPECT_EQ(sets, std::set<int>{GB2312_CHARSET}) << face;
  EXPECT_EQ(gb.Script, "CHINESE_GB2312");

  TListed one = List("courier new", DEFAULT_CHARSET);
  ASSERT_EQ(one.Charsets.size(), 1u);
  EXPECT_TRUE(one.Charsets.count("Courier New"));

  EXPECT_TRUE(List("No Such Face", DEFAULT_CHARSET).Charsets.empty());

  TListed stopped;
  stopped.StopAfter = 2;
  LOGFONTA lf;
  lf.lfCharSet = DEFAULT_CHARSET;
  EXPECT_EQ(Windows::EnumFontFamiliesEx(nullptr, &lf, Collect, reinterpret_cast<LPARAM>(&stopped)), 0);
  EXPECT_EQ(stopped.Calls, 2);
  EXPECT_EQ(Windows::EnumFontFamiliesEx(nullptr, nullptr, Collect, 0), 0);
}

TEST(GdiFontFamilies, AListedFaceSelectsItsOwnFont)
{
  // A name from the listing, given back in a logical font, realises that family.
  TListed mono = List("Liberation Mono", ANSI_CHARSET);
  ASSERT_EQ(mono.Charsets.size(), 1u);
  LOGFONTA lf;
  lf.lfHeight = -20;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "Liberation Mono");
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, Windows::CreateFontIndirect(lf));
  int w[2] = {};
  ASSERT_TRUE(Windows::GetCharWidth32(dc, 'i', 'i', &w[0]));
  ASSERT_TRUE(Windows::GetCharWidth32(dc, 'W', 'W', &w[1]));
  EXPECT_EQ(w[0], w[1]);
  Windows::DeleteObject(Windows::SelectObject(dc, old));
  Windows::DeleteDC(dc);
}
