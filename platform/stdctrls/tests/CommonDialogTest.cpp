// The common dialogs run as modal forms on the headless desktop, driven by queued keys, and
// pictures of each dialog written as PNG into the build folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/dialogs/FileDialogForm.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/win/input/InputQueue.h"

namespace {

class CommonDialogTest : public AppFormsFixture {
protected:
  void SetUp() override
  {
    AppFormsFixture::SetUp();
    StdCtrls::Initialize();
    FSavedDir = SysUtils::GetCurrentDir();
    for (const char* n : {"合同.ht", "b.ht", "说明.txt"}) std::ofstream(Dir.Path(System::AnsiToUtf8(n))) << "x";
    std::ofstream(Dir.Path("x\xF0\x9F\x98\x80.ht")) << "x";  // "😀": no CP936 for it
  }
  void TearDown() override
  {
    SysUtils::SetCurrentDir(FSavedDir);
    AppFormsFixture::TearDown();
  }
  AnsiString Folder() const { return Dir.Dir() + "/"; }
  TTempFolder Dir{"commdlg"};

private:
  AnsiString FSavedDir;
};

// Keys for a modal run: a text typed, or a virtual key.
struct TKey {
  const char* Text = nullptr;
  int Vk = 0;
};
void QueueKeys(const std::vector<TKey>& Keys)
{
  for (const TKey& k : Keys) {
    if (k.Text)
      InputQueue::Text(k.Text);
    else
      InputQueue::KeyDown(k.Vk);
  }
}
const TKey kEnter{nullptr, VK_RETURN}, kEscape{nullptr, VK_ESCAPE};

}  // namespace

TEST_F(CommonDialogTest, OpenAndSaveDialogsRunByKeysAndWriteBackOnlyWhenConfirmed)
{
  struct Case {
    const char* What;
    bool Save;
    TOpenOptions Options;
    const char* DefaultExt;
    std::vector<TKey> Keys;
    std::vector<int> Answers;
    bool Result;
    std::vector<AnsiString> Files;  // relative to the folder
    int Boxes;                      // messages and prompts shown
  } cases[] = {
      {"filter and default extension", false, {ofFileMustExist}, "ht", {{"合同"}, kEnter}, {}, true, {"合同.ht"}, 0},
      {"must exist", false, {ofFileMustExist}, "", {{"没有.ht"}, kEnter, kEscape}, {}, false, {}, 1},
      {"overwrite answered No", true, {ofOverwritePrompt}, ".ht", {{"b"}, kEnter, kEscape}, {IDNO}, false, {}, 1},
      {"overwrite answered Yes", true, {ofOverwritePrompt}, ".ht", {{"b"}, kEnter}, {IDYES}, true, {"b.ht"}, 1},
      {"a name CP936 cannot hold", false, {}, "", {{"x?.ht"}, kEnter, kEscape}, {}, false, {}, 1},
      {"multi-select",
       false,
       {ofAllowMultiSelect, ofFileMustExist},
       "",
       {{"\"b.ht\" \"合同.ht\""}, kEnter},
       {},
       true,
       {"b.ht", "合同.ht"},
       0},
      {"a folder typed, then a file in it",
       true,
       {},
       "ht",
       {{".."}, kEnter, {"新"}, kEnter},
       {},
       true,
       {"../新.ht"},
       0},
  };
  for (const Case& c : cases) {
    TMessageBoxAnswerer answers(c.Answers);
    std::unique_ptr<TOpenDialog> dlg(c.Save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
    dlg->SetFilter("合同文件 (*.ht)|*.ht|所有文件|*.*");
    dlg->SetFilterIndex(1);
    dlg->SetDefaultExt(c.DefaultExt);
    dlg->SetOptions(c.Options + TOpenOptions{ofNoChangeDir});
    dlg->SetInitialDir(Folder());
    dlg->SetFileName("旧.ht");
    QueueKeys(c.Keys);
    EXPECT_EQ(dlg->Execute(), c.Result) << c.What;
    std::vector<AnsiString> files;
    for (int i = 0; i < dlg->GetFiles()->GetCount(); ++i) files.push_back(dlg->GetFiles()->GetStrings(i));
    std::vector<AnsiString> want;
    for (const AnsiString& f : c.Files) want.push_back(SysUtils::ExpandFileName(Folder() + f));
    EXPECT_EQ(files, want) << c.What;
    EXPECT_EQ(dlg->GetFileName(), c.Result ? want[0] : AnsiString("旧.ht")) << c.What;
    EXPECT_EQ(int(answers.Boxes().size()), c.Boxes) << c.What;
    for (const auto& box : answers.Boxes()) EXPECT_EQ(box.Caption, c.Save ? "另存为" : "打开") << c.What;
  }
}

TEST_F(CommonDialogTest, WithoutNoChangeDirTheChosenFoldersBecomesCurrent)
{
  TOpenDialog dlg(nullptr);
  dlg.SetInitialDir(Folder());
  QueueKeys({{"b.ht"}, kEnter});
  ASSERT_TRUE(dlg.Execute());
  EXPECT_EQ(SysUtils::IncludeTrailingPathDelimiter(SysUtils::GetCurrentDir()), Folder());
  EXPECT_THROW(dlg.Execute(), Exception) << "nothing queued: the headless desktop says so";
}

TEST_F(CommonDialogTest, PicturesOfTheOpenAndSaveDialogs)
{
  for (bool save : {false, true}) {
    TFileDialogModel model(save);
    model.Options = save ? TOpenOptions{ofEnableSizing} : TOpenOptions{ofAllowMultiSelect};
    ASSERT_TRUE(model.SetFolder(Folder()));
    model.SetFilter("合同文件 (*.ht)|*.ht|所有文件 (*.*)|*.*");
    model.SetFilterIndex(save ? 1 : 2);
    TFileDialogForm form(nullptr, model, save ? "另存为" : "打开", save);
    form.GetNameEdit()->SetText("合同.ht");
    form.GetFileList()->SetSelected(1, true);
    form.Show();
    Pump();
    SaveFormPicture(&form, save ? "stdctrls_savedialog.png" : "stdctrls_opendialog.png");
    EXPECT_EQ(form.GetFileList()->GetCount(), save ? 4 : 5);
    if (save) {
      // Sizing: the list and the buttons follow the form.
      int listW = form.GetFileList()->GetWidth();
      form.SetBounds(form.GetLeft(), form.GetTop(), form.GetWidth() + 100, form.GetHeight() + 60);
      EXPECT_EQ(form.GetFileList()->GetWidth(), listW + 100);
      EXPECT_EQ(form.GetOkButton()->GetLeft() + form.GetOkButton()->GetWidth() + 8, form.GetClientWidth());
    } else {
      EXPECT_NE(form.GetReadOnlyBox(), nullptr);
    }
  }
}
