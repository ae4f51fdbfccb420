// The recently used fonts: the block at the top of the list and its registry slots.
#include <gtest/gtest.h>

#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/testsupport/TempFolder.h"
#include "report/engine/controls/frxFontComboBox.h"
#include "report/engine/controls/tests/ReportControlsTestUtil.h"

namespace {

const char* const kMruTestKey = "\\Software\\LanyueReport\\MRUFont";

// Installed fonts, alphabetical, flags 4.
void Install(TStringList& Items, std::initializer_list<const char*> Names)
{
  for (const char* n : Names) Items.AddObject(n, reinterpret_cast<TObject*>(std::intptr_t(TRUETYPE_FONTTYPE)));
}
void Slots(std::initializer_list<const char*> Names)
{
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kMruTestKey, true));
  int n = 0;
  for (const char* name : Names) {
    reg.WriteString(AnsiString("Font") + char('0' + n), name);
    reg.WriteInteger(AnsiString("FontType") + char('0' + n), *name ? TRUETYPE_FONTTYPE : 0);
    ++n;
  }
}
std::vector<std::string> StoredSlots()
{
  TRegistry reg;
  EXPECT_TRUE(reg.OpenKey(kMruTestKey, false));
  std::vector<std::string> out;
  for (int n = 0; n < 5; ++n) {
    AnsiString name = reg.ReadString(AnsiString("Font") + char('0' + n));
    int type = reg.ReadInteger(AnsiString("FontType") + char('0' + n));
    out.push_back(name + "/" + std::to_string(type));
  }
  return out;
}
std::vector<std::string> Head(TStrings& Items, int N)
{
  std::vector<std::string> out;
  for (int i = 0; i < N && i < Items.GetCount(); ++i) out.push_back(Items[i]);
  return out;
}

// A registry of its own for each test.
class FontMruTest : public ::testing::Test {
protected:
  void SetUp() override { Registry::SetStoreFile(Folder.Path("registry").c_str()); }
  void TearDown() override { Registry::SetStoreFile(""); }
  TTempFolder Folder{"frx-mru"};
};

class FontComboWindowTest : public ReportControlsTest {};

using FontNames = std::vector<std::string>;

}  // namespace

TEST_F(FontMruTest, ReadingPutsInstalledSlotsOnTopAndEmptiesTheOthers)
{
  TStringList items;
  Install(items, {"Arial", "Courier New", "Tahoma", "宋体"});
  Slots({"Tahoma", "已卸载的字体", "宋体", "", ""});
  int last = frxFontMRU::Read(&items, kMruTestKey);
  EXPECT_EQ(last, 1);
  EXPECT_EQ(Head(items, 3), (FontNames{"Tahoma", "宋体", "Arial"}));
  EXPECT_EQ(items.GetCount(), 6);
  EXPECT_EQ(frxFontMRU::FontTypeOf(&items, 0), TRUETYPE_FONTTYPE);
  // The font that is no longer installed is written back empty; the others stay.
  EXPECT_EQ(StoredSlots(), (FontNames{"Tahoma/4", "/0", "宋体/4", "/0", "/0"}));

  // A key that does not exist yet is made, with five empty slots.
  TStringList fresh;
  Install(fresh, {"Arial"});
  EXPECT_EQ(frxFontMRU::Read(&fresh, "\\Software\\LanyueReport\\Other"), -1);
  EXPECT_EQ(fresh.GetCount(), 1);
}

TEST_F(FontMruTest, ChoosingFontsKeepsTheBlockAtFive)
{
  TStringList items;
  Install(items, {"A1", "B2", "C3", "D4", "E5", "F6", "G7"});
  int last = -1;
  for (const char* n : {"A1", "B2", "C3", "D4", "E5"}) last = frxFontMRU::Remember(&items, last, n);
  EXPECT_EQ(last, 4);
  EXPECT_EQ(Head(items, 5), (FontNames{"E5", "D4", "C3", "B2", "A1"}));

  // A sixth pushes the oldest out: slot 4 then holds the one that was fourth.
  last = frxFontMRU::Remember(&items, last, "F6");
  EXPECT_EQ(last, 4);
  EXPECT_EQ(Head(items, 6), (FontNames{"F6", "E5", "D4", "C3", "B2", "A1"}));
  EXPECT_EQ(items.GetCount(), 12);
  frxFontMRU::Write(&items, last, kMruTestKey);
  EXPECT_EQ(StoredSlots(), (FontNames{"F6/4", "E5/4", "D4/4", "C3/4", "B2/4"}));

  // Choosing, below the block, a font that is third in it: the first entry of that name is the
  // block's, which moves to the top; the block does not grow.
  last = frxFontMRU::Remember(&items, last, "D4");
  EXPECT_EQ(last, 4);
  EXPECT_EQ(Head(items, 5), (FontNames{"D4", "F6", "E5", "C3", "B2"}));
  EXPECT_EQ(items.GetCount(), 12);

  // A name that is no entry changes nothing.
  EXPECT_EQ(frxFontMRU::Remember(&items, last, "Z9"), 4);
  EXPECT_EQ(items.GetCount(), 12);
}

TEST_F(FontComboWindowTest, TheFontComboRebuildsWithTheBlockAndStoresAChoice)
{
  Slots({"Courier New", "已卸载的字体", "", "", ""});
  TForm* form = MakeForm(300, 200);
  auto* combo = new TfrxFontComboBox(Owner.get());
  combo->SetParent(form);
  combo->SetBounds(10, 10, 150, 21);
  int clicks = 0;
  combo->OnClick = [&clicks](TObject*) { ++clicks; };
  form->Show();

  TStrings* items = combo->GetItems();
  ASSERT_GT(items->GetCount(), 4);
  EXPECT_EQ(combo->GetMRUIndex(), 0);
  EXPECT_EQ((*items)[0], "Courier New");
  EXPECT_GE(items->IndexOf("宋体"), 1);
  EXPECT_EQ(clicks, 0);  // filling the list raised no click
  EXPECT_EQ(StoredSlots(), (FontNames{"Courier New/4", "/0", "/0", "/0", "/0"}));

  // Rebuilding reads the block again from scratch: it does not grow.
  combo->Reset();
  EXPECT_EQ(combo->GetMRUIndex(), 0);
  EXPECT_EQ(items->IndexOf("Courier New"), 0);
  EXPECT_NE((*items)[1], "Courier New");

  combo->RememberFont("宋体");
  EXPECT_EQ(combo->GetMRUIndex(), 1);
  EXPECT_EQ(combo->GetText(), "宋体");
  EXPECT_EQ(StoredSlots(), (FontNames{"宋体/4", "Courier New/4", "/0", "/0", "/0"}));
  // An empty key name means the default one.
  combo->SetMRURegKey("");
  EXPECT_EQ(combo->GetMRURegKey(), kMruTestKey);
}
