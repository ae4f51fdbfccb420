// The common dialogs run as modal forms on the headless desktop, driven by queued keys or
// through their forms, and pictures of each dialog written as PNG into the build folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <fstream>

#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/dialogs/ColorDialog.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/dialogs/FileDialogForm.h"
#include "platform/stdctrls/dialogs/FontDialog.h"
#include "platform/stdctrls/dialogs/PrintDialogs.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/win/backend/Headless.h"
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
      form.SetBounds(form.GetLeft(), form.GetTop(), 100, 100);
      EXPECT_EQ(form.GetFileList()->GetWidth(), listW) << "never smaller than it starts";
    } else {
      EXPECT_NE(form.GetReadOnlyBox(), nullptr);
    }
  }
}

TEST_F(CommonDialogTest, TheFontDialogChecksTheChoiceAndWritesItBackOnlyWhenConfirmed)
{
  ASSERT_GT(Forms::Screen->GetFonts()->GetCount(), 0);
  AnsiString face = Forms::Screen->GetFonts()->GetStrings(0);
  TFont start;
  start.SetName(face);
  start.SetSize(10);
  struct Case {
    const char* What;
    TFontDialogOptions Options;
    const char* Face;  // "" keeps the installed one
    const char* Size;
    int Style;  // line of the style list
    bool Confirmed;
    const char* Message;
  } cases[] = {
      {"plain", {fdEffects}, "", "12", 3, true, ""},
      {"no face", {}, " ", "12", 0, false, "没有该名称的字体"},
      {"a face not installed", {fdForceFontExist}, "没有的字体", "12", 0, false, "没有该名称的字体"},
      {"any face without ForceFontExist", {}, "没有的字体", "12", 0, true, ""},
      {"size not a number", {}, "", "十二", 0, false, "大小必须是数字"},
      {"size beyond the limits", {fdLimitSize}, "", "20", 0, false, "大小必须介于 8 和 12 磅之间"},
      {"size within the limits", {fdLimitSize}, "", "12", 0, true, ""},
  };
  for (const Case& c : cases) {
    TMessageBoxAnswerer answers;
    TFontDialogForm form(nullptr, &start, c.Options, 8, 12);
    if (*c.Face) form.GetFaceEdit()->SetText(c.Face);
    form.GetSizeEdit()->SetText(c.Size);
    form.GetStyleList()->SetItemIndex(c.Style);
    EXPECT_EQ(form.Confirm(), c.Confirmed) << c.What;
    EXPECT_EQ(form.GetModalResult(), c.Confirmed ? mrOk : mrNone) << c.What;
    if (*c.Message) {
      ASSERT_EQ(answers.Boxes().size(), 1u) << c.What;
      EXPECT_NE(answers.Boxes()[0].Text.find(c.Message), AnsiString::npos) << answers.Boxes()[0].Text;
    } else {
      EXPECT_TRUE(answers.Boxes().empty()) << c.What;
    }
  }
  // Effects and style reach the font; through Execute, Escape changes nothing.
  TFontDialogForm form(nullptr, &start, {fdEffects}, 0, 0);
  form.GetStyleList()->SetItemIndex(3);
  form.GetStrikeOut()->SetChecked(true);
  form.GetColorBox()->SetItemIndex(9);
  form.GetSizeEdit()->SetText("14");
  TFont chosen;
  form.Store(&chosen);
  EXPECT_EQ(chosen.GetStyle(), (TFontStyles{fsBold, fsItalic, fsStrikeOut}));
  EXPECT_EQ(chosen.GetColor(), clRed);
  EXPECT_EQ(chosen.GetSize(), 14);
  EXPECT_EQ(chosen.GetName(), face);

  TFontDialog dlg(nullptr);
  dlg.SetFont(&start);
  QueueKeys({{"新字体"}, kEscape});
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(dlg.GetFont()->GetName(), face);
  QueueKeys({{"新字体"}, kEnter});
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.GetFont()->GetName(), "新字体") << "typing replaces the selected face";
}

TEST_F(CommonDialogTest, TheColorDialogPicksBasicAndCustomColoursAndKeepsTheCustomOnes)
{
  TColorDialogForm form(nullptr, clBlack, {}, {});
  form.Show();
  Pump();
  // A click on a basic colour's cell picks it.
  RECT cell = form.CellRect(8);
  POINT p = form.ClientToScreen(POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_EQ(form.GetColor(), TColorDialogForm::BasicColors()[8]);
  EXPECT_EQ(form.GetColor(), clRed);
  // Defining a colour by its parts and adding it to the custom ones.
  form.OpenFull();
  EXPECT_TRUE(form.IsFull());
  form.GetRedEdit()->SetText("300");
  EXPECT_EQ(form.GetColor(), TColor(0x0000FF)) << "a part beyond 255 counts as 255";
  form.GetRedEdit()->SetText("18");
  form.AddCustom();
  EXPECT_EQ(form.GetCustom()[0], TColor(0x000012));
  form.Hide();

  TColorDialogForm closed(nullptr, clBlack, {}, {cdPreventFullOpen});
  closed.OpenFull();
  EXPECT_FALSE(closed.IsFull());

  TColorDialog dlg(nullptr);
  dlg.SetColor(clBlue);
  dlg.GetCustomColors()->Add("ColorA=0000FF");
  dlg.GetCustomColors()->Add("ColorB=不是数字");
  QueueKeys({kEscape});
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(dlg.GetColor(), clBlue);
  QueueKeys({kEnter});
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.GetColor(), clBlue);
  EXPECT_EQ(dlg.GetCustomColors()->GetValues("ColorA"), "0000FF");
  EXPECT_EQ(dlg.GetCustomColors()->GetValues("ColorB"), "FFFFFF") << "an unreadable line is white";
  EXPECT_EQ(dlg.GetCustomColors()->GetValues("ColorP"), "FFFFFF");
}

TEST_F(CommonDialogTest, TheColourSpectrumPicksHueAndSaturationAndTheBarLuminosity)
{
  // The conversion on the 0..240 scale, both ways.
  struct Hls {
    int H, L, S;
    TColor Rgb;
  };
  const Hls table[] = {
      {0, 120, 240, TColor(0x0000FF)},  {80, 120, 240, TColor(0x00FF00)}, {160, 120, 240, TColor(0xFF0000)},
      {40, 120, 240, TColor(0x00FFFF)}, {160, 0, 0, TColor(0x000000)},    {160, 240, 0, TColor(0xFFFFFF)},
      {160, 120, 0, TColor(0x808080)},  {0, 60, 240, TColor(0x000080)},
  };
  for (const Hls& c : table) {
    EXPECT_EQ(TColorDialogForm::HLSToColor(c.H, c.L, c.S), c.Rgb) << c.H << "," << c.L << "," << c.S;
    int h, l, s;
    TColorDialogForm::ColorToHLS(c.Rgb, h, l, s);
    EXPECT_EQ(TColorDialogForm::HLSToColor(h, l, s), c.Rgb) << "round trip of " << std::hex << c.Rgb;
  }

  TColorDialogForm form(nullptr, clBlack, {}, {cdFullOpen});
  form.Show();
  Pump();
  auto click = [&](int X, int Y) {
    POINT p = form.ClientToScreen(POINT{X, Y});
    Headless::AdvanceTime(1000);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  };
  const RECT sr = TColorDialogForm::SpectrumRect(), lr = TColorDialogForm::LuminosityRect();
  struct Click {
    const char* What;
    int X, Y;
    TColor Expected;
  };
  const Click clicks[] = {
      {"top left: red at full saturation (black takes the middle luminosity)", sr.left, sr.top, TColor(0x0000FF)},
      {"the bar's top: white", lr.left + 2, lr.top, TColor(0xFFFFFF)},
      {"the bar's bottom: black", lr.left + 2, lr.bottom - 1, TColor(0x000000)},
      {"a third across the top: green", sr.left + (sr.right - sr.left - 1) / 3, sr.top, TColor(0x00FF00)},
      {"the bar's middle: green again", lr.left + 2, (lr.top + lr.bottom - 1) / 2, TColor(0x00FF00)},
      {"the bottom: grey, no saturation", sr.left + 40, sr.bottom - 1, TColor(0x808080)},
  };
  for (const Click& c : clicks) {
    click(c.X, c.Y);
    TColor got = form.GetColor();
    // A pixel's step of the spectrum may shift a channel by a few levels.
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(int((got >> shift) & 0xFF), int((c.Expected >> shift) & 0xFF), 8) << c.What;
  }
  EXPECT_EQ(form.GetRedEdit()->GetText(), SysUtils::IntToStr(int(form.GetColor() & 0xFF))) << "the boxes follow";
  SaveFormPicture(&form, "stdctrls_colordialog_spectrum.png");
  form.Hide();
}

TEST_F(CommonDialogTest, ThePrintDialogChecksCopiesAndPagesAndTheSetUpTakesPaperAndOrientation)
{
  TPrintChoice start;
  start.MinPage = 1;
  start.MaxPage = 10;
  struct Case {
    const char* What;
    bool Pages;
    const char *From, *To, *Copies;
    bool Confirmed;
    const char* Message;
  } cases[] = {
      {"all pages", false, "0", "0", "2", true, ""},
      {"no copies", false, "0", "0", "0", false, "份数必须是 1 到 9999"},
      {"a range", true, "2", "5", "1", true, ""},
      {"from after to", true, "5", "2", "1", false, "请输入 5 到 10"},
      {"beyond the last page", true, "2", "11", "1", false, "请输入 2 到 10"},
      {"before the first page", true, "0", "3", "1", false, "请输入 1 到 10"},
  };
  for (const Case& c : cases) {
    TMessageBoxAnswerer answers;
    TPrintDialogForm form(nullptr, start, {poPageNums});
    form.GetPagesButton()->SetChecked(c.Pages);
    form.GetFromEdit()->SetText(c.From);
    form.GetToEdit()->SetText(c.To);
    form.GetCopiesEdit()->SetText(c.Copies);
    EXPECT_EQ(form.Confirm(), c.Confirmed) << c.What;
    if (c.Confirmed) {
      EXPECT_EQ(form.GetChoice().Range, c.Pages ? prPageNums : prAllPages) << c.What;
      EXPECT_EQ(form.GetChoice().Printer.empty(), false) << "the PDF printer is always there";
    }
    ASSERT_EQ(answers.Boxes().size(), *c.Message ? 1u : 0u) << c.What;
    if (*c.Message) EXPECT_NE(answers.Boxes()[0].Text.find(c.Message), AnsiString::npos) << answers.Boxes()[0].Text;
  }

  TPrintDialog dlg(nullptr);
  dlg.SetCopies(3);
  QueueKeys({kEscape});
  EXPECT_FALSE(dlg.Execute());
  EXPECT_TRUE(dlg.GetPrinter().empty());
  QueueKeys({kEnter});
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.GetCopies(), 3);
  EXPECT_EQ(dlg.GetPrinter(), WinSpool::GetDefaultPrinter());

  WinSpool::DEVMODE settings;
  settings.dmPaperSize = WinSpool::DMPAPER_A5;
  TPrinterSetupForm setup(nullptr, WinSpool::PdfPrinterName, settings);
  EXPECT_EQ(setup.GetSettings().dmPaperSize, WinSpool::DMPAPER_A5) << "the paper it starts with is chosen";
  setup.GetLandscapeButton()->SetChecked(true);
  setup.GetPaperBox()->SetItemIndex(0);
  WinSpool::DEVMODE chosen = setup.GetSettings();
  EXPECT_EQ(chosen.dmOrientation, WinSpool::DMORIENT_LANDSCAPE);
  EXPECT_NE(chosen.dmPaperSize, WinSpool::DMPAPER_A5);
  EXPECT_EQ(setup.GetPrinter(), WinSpool::PdfPrinterName);
}

TEST_F(CommonDialogTest, PicturesOfTheFontColourAndPrintDialogs)
{
  TFont font;
  font.SetName("宋体");
  font.SetSize(12);
  font.SetColor(clMaroon);
  TFontDialogForm fonts(nullptr, &font, {fdEffects, fdApplyButton}, 0, 0);
  std::array<TColor, 16> custom;
  custom.fill(clWhite);
  custom[0] = TColor(0x00C08040);
  TColorDialogForm colours(nullptr, clRed, custom, {cdFullOpen});
  TPrintChoice choice;
  choice.MaxPage = 12;
  choice.Copies = 2;
  TPrintDialogForm print(nullptr, choice, {poPageNums, poPrintToFile});
  TPrinterSetupForm setup(nullptr, WinSpool::PdfPrinterName, WinSpool::DEVMODE{});
  struct Shot {
    TForm* Form;
    const char* File;
  } shots[] = {{&fonts, "stdctrls_fontdialog.png"},
               {&colours, "stdctrls_colordialog.png"},
               {&print, "stdctrls_printdialog.png"},
               {&setup, "stdctrls_printersetupdialog.png"}};
  for (const Shot& s : shots) {
    s.Form->Show();
    Pump();
    SaveFormPicture(s.Form, s.File);
    EXPECT_GT(s.Form->GetClientWidth(), 200) << s.File;
    s.Form->Hide();
  }
}

TEST_F(CommonDialogTest, TheFileListFillsTheNameBoxAndADoubleClickEntersAFolder)
{
  TFileDialogModel model(false);
  model.Options = TOpenOptions{ofAllowMultiSelect};
  ASSERT_TRUE(model.SetFolder(Folder()));
  model.SetFilter("所有文件|*.*");
  TFileDialogForm form(nullptr, model, "打开", false);
  form.Show();
  Pump();
  TListBox* list = form.GetFileList();
  auto click = [&](int Line, int Key = 0) {
    RECT r = list->ItemRect(Line);
    POINT p = list->ClientToScreen(POINT{r.left + 30, (r.top + r.bottom) / 2});
    Headless::AdvanceTime(1000);
    if (Key) InputQueue::KeyDown(Key);
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    if (Key) InputQueue::KeyUp(Key);
    Pump();
  };
  // "..", "b.ht", "x?.ht", "合同.ht", "说明.txt"
  click(1);
  EXPECT_EQ(form.GetNameEdit()->GetText(), "b.ht");
  click(3, VK_CONTROL);
  EXPECT_EQ(form.GetNameEdit()->GetText(), "\"b.ht\" \"合同.ht\"") << "several files: each in quotes";
  click(0);
  RECT r = list->ItemRect(0);
  POINT p = list->ClientToScreen(POINT{r.left + 30, (r.top + r.bottom) / 2});
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_EQ(model.GetFolder(), SysUtils::ExtractFilePath(SysUtils::ExcludeTrailingPathDelimiter(Folder())));
  EXPECT_NE(form.GetFolderBox()->GetItems()->GetCount(), 0);
}
