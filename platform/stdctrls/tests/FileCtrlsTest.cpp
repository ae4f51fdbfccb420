// The drive box and the folder list on a headless form: the drives, the path down to a folder
// and its sub-folders, opening folders (a name CP936 cannot hold refused), the label shortened
// to fit while the folder stays whole, the drive box moving its list, and a picture.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dialogs/FileCtrls.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/TempFolder.h"

namespace {

class FileCtrlsTest : public AppFormsFixture {
protected:
  void SetUp() override
  {
    AppFormsFixture::SetUp();
    StdCtrls::Initialize();
    // The home folder is a drive: pin it to the temporary folder.
    if (const char* h = ::getenv("HOME")) FOldHome = h;
    ::setenv("HOME", Dir.Dir().c_str(), 1);
    for (const char* d : {"合同", "合同/2009", "合同/2010", "合同/2009/一月", "说明"})
      ::mkdir(Dir.Path(System::AnsiToUtf8(d)).c_str(), 0755);
    ::mkdir(Dir.Path(System::AnsiToUtf8("合同/") + "x\xF0\x9F\x98\x80").c_str(), 0755);  // "😀": no CP936
  }
  void TearDown() override
  {
    ::setenv("HOME", FOldHome.c_str(), 1);
    AppFormsFixture::TearDown();
  }
  AnsiString Home() const { return Dir.Dir(); }
  TTempFolder Dir{"filectrls"};

private:
  std::string FOldHome;
};

std::vector<AnsiString> Lines(TDirectoryListBox* L)
{
  std::vector<AnsiString> out;
  for (int i = 0; i < L->GetCount(); ++i) out.push_back(L->GetItems()->GetStrings(i));
  return out;
}

}  // namespace

TEST_F(FileCtrlsTest, DrivesAreTheRootTheHomeAndMountedVolumes)
{
  std::vector<TDriveInfo> drives = FileCtrls::Drives();
  ASSERT_GE(drives.size(), 2u);
  EXPECT_EQ(drives[0].Path, "/");
  EXPECT_EQ(drives[1].Path, Home());
  std::vector<TDriveInfo> some{{"/", ""}, {"/home/u", ""}, {"/media/u/移动盘", ""}};
  struct Case {
    const char* Path;
    const char* Drive;
  } cases[] = {{"/home/u/合同", "/home/u"},
               {"/home/u", "/home/u"},
               {"/home/ux", "/"},
               {"/media/u/移动盘/a", "/media/u/移动盘"},
               {"/etc", "/"},
               {"", "/"}};
  for (const Case& c : cases) EXPECT_EQ(FileCtrls::DriveOf(c.Path, some), c.Drive) << c.Path;
}

TEST_F(FileCtrlsTest, ALongFolderIsShortenedFromTheFront)
{
  TCanvas canvas;
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  canvas.SetHandle(dc);
  AnsiString path = "/home/user/合同管理/备份文件/2009年/十二月";
  EXPECT_EQ(FileCtrls::MinimizeName(path, &canvas, 10000), path);
  int part = canvas.TextWidth("/.../2009年/十二月");
  EXPECT_EQ(FileCtrls::MinimizeName(path, &canvas, part), "/.../2009年/十二月");
  EXPECT_EQ(FileCtrls::MinimizeName(path, &canvas, 5), "/.../十二月") << "the last part is always kept";
  canvas.SetHandle(nullptr);
  Windows::DeleteDC(dc);
}

TEST_F(FileCtrlsTest, TheFolderListShowsThePathThenTheSubFoldersAndOpensThem)
{
  TForm* form = MakeForm(300, 300);
  auto* list = new TDirectoryListBox(Owner.get());
  list->SetParent(form);
  auto* label = new TLabel(Owner.get());
  label->SetParent(form);
  label->SetBounds(10, 250, 120, 16);
  label->SetAutoSize(false);
  list->SetDirLabel(label);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  form->Show();

  EXPECT_THROW(list->SetDirectory(Home() + "/没有"), EInOutError);
  EXPECT_EQ(changes, 0);
  list->SetDirectory(Home() + "/合同/");
  EXPECT_EQ(list->GetDirectory(), Home() + "/合同");
  EXPECT_EQ(list->GetDrive(), Home());
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{Home(), "合同", "2009", "2010", "x?"}));
  EXPECT_EQ(list->GetItemIndex(), 1) << "the folder shown is the selected line";
  EXPECT_EQ(list->GetItemPath(2), Home() + "/合同/2009");

  list->SetItemIndex(2);
  list->OpenCurrent();
  EXPECT_EQ(list->GetDirectory(), Home() + "/合同/2009");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{Home(), "合同", "2009", "一月"}));
  // The label shows the folder shortened; the folder itself stays whole.
  EXPECT_NE(label->GetCaption(), list->GetDirectory());
  AnsiString shown = label->GetCaption();
  EXPECT_EQ(shown.substr(0, 4), "/...");
  EXPECT_EQ(shown.substr(shown.size() - 10), "/合同/2009");

  list->SetItemIndex(0);
  list->OpenCurrent();
  EXPECT_EQ(list->GetDirectory(), Home());
  list->SetDirectory(Home() + "/合同");
  TMessageBoxAnswerer answers;
  list->SetItemIndex(4);
  list->OpenCurrent();
  EXPECT_EQ(list->GetDirectory(), Home() + "/合同") << "a name CP936 cannot hold is not opened";
  ASSERT_EQ(answers.Boxes().size(), 1u);
  EXPECT_NE(answers.Boxes()[0].Text.find("无法显示的字符"), AnsiString::npos);
  EXPECT_EQ(changes, 4);
}

TEST_F(FileCtrlsTest, TheDriveBoxMovesItsFolderListAndAPictureOfBoth)
{
  TForm* form = MakeForm(330, 260);
  form->SetCaption("选择目录");
  auto* prompt = new TLabel(Owner.get());
  prompt->SetParent(form);
  prompt->SetBounds(10, 8, 200, 16);
  prompt->SetCaption("请选择备份目录");
  auto* drives = new TDriveComboBox(Owner.get());
  drives->SetParent(form);
  drives->SetBounds(10, 28, 300, 21);
  auto* list = new TDirectoryListBox(Owner.get());
  list->SetParent(form);
  list->SetBounds(10, 56, 300, 150);
  auto* chosen = new TLabel(Owner.get());
  chosen->SetParent(form);
  chosen->SetAutoSize(false);
  chosen->SetBounds(10, 214, 300, 16);
  list->SetDirLabel(chosen);
  drives->SetDirList(list);
  EXPECT_EQ(list->GetDrive(), drives->GetDrive()) << "bound to the drive box, the list is on its drive";

  drives->SetDrive(Home() + "/合同/2009");
  EXPECT_EQ(drives->GetDrive(), Home());
  EXPECT_EQ(list->GetDirectory(), Home());
  list->SetDirectory(Home() + "/合同/2009");
  drives->SetDrive("/etc");
  EXPECT_EQ(list->GetDirectory(), "/");
  drives->SetDrive(Home());
  list->SetDirectory(Home() + "/合同");
  form->Show();
  Pump();
  SaveFormPicture(form, "stdctrls_filectrls.png");
  delete list;
  EXPECT_EQ(drives->GetDirList(), nullptr) << "a freed list is forgotten";
}
