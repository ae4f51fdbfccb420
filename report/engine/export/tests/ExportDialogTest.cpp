// The exports' settings dialogs on the headless desktop: their texts, the settings going in and
// coming back after OK, Cancel leaving a filter as it was, the save dialog's filter and default
// extension, an export run through a dialog, and a picture of each dialog.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/dialogs/FileDialogForm.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/testsupport/ModalSteps.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"
#include "report/engine/export/frxExportDialogs.h"
#include "report/engine/export/frxExportImage.h"
#include "report/engine/export/frxExportPDF.h"
#include "report/engine/export/frxExportRTF.h"
#include "report/engine/export/frxExportXLS.h"
#include "report/engine/export/tests/ExportFixture.h"

namespace {

class ExportDialogTest : public ExportFixture {
protected:
  void SetUp() override
  {
    Headless::Start(1024, 768);
    Forms::FinalizeApplication();
    Controls::Initialize();
    Forms::InitializeApplication();
    StdCtrls::Initialize();
    ExportFixture::SetUp();
  }
  void TearDown() override
  {
    EXPECT_EQ(FModalSteps.Left(), 0u) << "modal steps left";
    FModalSteps.Clear();
    ExportFixture::TearDown();
    Dialogs::Finalize();
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }

  // Each step runs once on the next modal form to come up (the innermost), in order.
  void OnModal(std::function<void(TCustomForm*)> Step) { FModalSteps.Add(std::move(Step)); }
  // Answers the save dialog with Name typed into its name box, or cancels it.
  void AnswerSaveDialog(const AnsiString& Name) { AnswerSaveDialog(std::optional<AnsiString>(Name)); }
  void CancelSaveDialog() { AnswerSaveDialog(std::nullopt); }
  void AnswerSaveDialog(std::optional<AnsiString> Name)
  {
    OnModal([Name](TCustomForm* F) {
      auto* files = dynamic_cast<TFileDialogForm*>(F);
      ASSERT_NE(files, nullptr) << F->ClassName();
      if (!Name) {
        F->SetModalResult(mrCancel);
        return;
      }
      files->GetNameEdit()->SetText(*Name);
      files->Confirm();
    });
  }

private:
  TModalSteps FModalSteps;
};

// What a test needs of one dialog: its filter, and how to read its settings as one text.
struct TDialogCase {
  const char* Name;
  std::function<std::unique_ptr<TfrxCustomExportFilter>()> Make;
  std::function<std::string(TfrxCustomExportFilter*)> Settings;  // "name=value;..." of its flags
  std::function<AnsiString&(TfrxCustomExportFilter*)> FileName;
  const char *Caption, *Filter, *DefaultExt, *Typed, *Written;
  // The check boxes the test toggles, by component name, and the settings afterwards.
  std::vector<const char*> Toggle;
  std::string Toggled;
};

std::string Flag(const char* Name, bool Value) { return std::string(Name) + "=" + (Value ? "1" : "0") + ";"; }

const std::vector<TDialogCase>& DialogCases()
{
  static const std::vector<TDialogCase> cases = {
      {"xls",
       [] { return std::make_unique<TfrxXLSExport>(nullptr); },
       [](TfrxCustomExportFilter* F) {
         auto* x = static_cast<TfrxXLSExport*>(F);
         return Flag("styles", x->ExportStyles) + Flag("pictures", x->ExportPictures) + Flag("merge", x->MergeCells) +
                Flag("wysiwyg", x->Wysiwyg) + Flag("open", x->OpenExcelAfterExport);
       },
       [](TfrxCustomExportFilter* F) -> AnsiString& { return static_cast<TfrxXLSExport*>(F)->FileName; },
       "导出到 Excel",
       "Excel 文件 (*.xlsx)|*.xlsx",
       ".xlsx",
       "表格",
       "表格.xlsx",
       {"StylesCB", "MergeCB", "OpenExcelCB"},
       "styles=0;pictures=1;merge=0;wysiwyg=1;open=1;"},
      {"jpeg",
       [] {
         auto f = std::make_unique<TfrxJPEGExport>(nullptr);
         f->JPEGQuality = 75;
         return f;
       },
       [](TfrxCustomExportFilter* F) {
         auto* j = static_cast<TfrxJPEGExport*>(F);
         return Flag("crop", j->CropImages) + Flag("mono", j->Monochrome) +
                "quality=" + std::to_string(j->JPEGQuality) + ";";
       },
       [](TfrxCustomExportFilter* F) -> AnsiString& { return static_cast<TfrxJPEGExport*>(F)->FileName; },
       "导出设置",
       "Jpeg 图 (*.jpg)|*.jpg",
       ".jpg",
       "图",
       "图.jpg",
       {"CropPage", "Mono"},
       "crop=0;mono=1;quality=40;"},
      {"rtf",
       [] { return std::make_unique<TfrxRTFExport>(nullptr); },
       [](TfrxCustomExportFilter* F) {
         auto* r = static_cast<TfrxRTFExport*>(F);
         return Flag("pictures", r->ExportPictures) + Flag("breaks", r->ExportPageBreaks) +
                Flag("wysiwyg", r->Wysiwyg) + Flag("open", r->OpenAfterExport);
       },
       [](TfrxCustomExportFilter* F) -> AnsiString& { return static_cast<TfrxRTFExport*>(F)->FileName; },
       "导出为RTF",
       "RTF 文件 (*.rtf)|*.rtf",
       ".rtf",
       "文档",
       "文档.rtf",
       {"PageBreaksCB", "WCB"},
       "pictures=1;breaks=0;wysiwyg=0;open=0;"},
      {"pdf",
       [] { return std::make_unique<TfrxPDFExport>(nullptr); },
       [](TfrxCustomExportFilter* F) {
         auto* p = static_cast<TfrxPDFExport*>(F);
         return Flag("compressed", p->Compressed) + Flag("embedded", p->EmbeddedFonts) +
                Flag("open", p->OpenAfterExport);
       },
       [](TfrxCustomExportFilter* F) -> AnsiString& { return static_cast<TfrxPDFExport*>(F)->FileName; },
       "导出为PDF文件",
       "Adobe PDF 文件 (*.pdf)|*.pdf",
       ".pdf",
       "合同",
       "合同.pdf",
       {"CompressedCB", "EmbeddedCB"},
       "compressed=0;embedded=1;open=0;"},
  };
  return cases;
}

TCheckBox* CheckBoxOf(TCustomForm* F, const char* Name)
{
  auto* c = dynamic_cast<TCheckBox*>(F->FindComponent(Name));
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

}  // namespace

TEST_F(ExportDialogTest, SettingsGoInAndComeBackAfterOkWithTheChosenFile)
{
  for (const TDialogCase& c : DialogCases()) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TfrxCustomExportFilter> filter = c.Make();
    std::string before = c.Settings(filter.get());
    OnModal([&](TCustomForm* F) {
      auto* d = dynamic_cast<TfrxExportDialogBase*>(F);
      ASSERT_NE(d, nullptr);
      // The registered texts are on the controls.
      EXPECT_EQ(d->GetCaption(), c.Caption);
      EXPECT_EQ(d->AllRB->GetCaption(), "全部");
      EXPECT_TRUE(d->AllRB->GetChecked());
      EXPECT_EQ(d->SaveDialog1->GetFilter(), c.Filter);
      EXPECT_EQ(d->SaveDialog1->GetDefaultExt(), c.DefaultExt);
      // The filter's settings are in the boxes: every toggled box shows the opposite afterwards.
      for (const char* name : c.Toggle) {
        TCheckBox* box = CheckBoxOf(F, name);
        box->SetChecked(!box->GetChecked());
      }
      if (auto* img = dynamic_cast<TfrxIMGExportDialog*>(F)) {
        EXPECT_EQ(img->Quality->GetText(), "75");
        EXPECT_TRUE(img->Quality->GetEnabled());
        img->Quality->SetText(" 40 ");
      }
      d->PageNumbersRB->SetChecked(true);
      d->PageNumbersE->SetText("1,3-4");
      EXPECT_EQ(d->GetOkButton()->GetCaption(), "确定");
      EXPECT_EQ(d->GetCancelButton()->GetCaption(), "取消");
      d->GetOkButton()->Click();
    });
    AnsiString typed = Dir.string() + "/" + c.Typed;
    AnswerSaveDialog(typed);
    EXPECT_EQ(filter->ShowSettingsDialog(), mrOk);
    EXPECT_EQ(c.Settings(filter.get()), c.Toggled) << "before: " << before;
    EXPECT_EQ(filter->PageNumbers, "1,3-4");
    EXPECT_FALSE(filter->CurPage);
    EXPECT_EQ(c.FileName(filter.get()), Dir.string() + "/" + c.Written);
  }
}

TEST_F(ExportDialogTest, CancelLeavesTheFilterAsItWas)
{
  for (const TDialogCase& c : DialogCases()) {
    SCOPED_TRACE(c.Name);
    // The dialog cancelled after changes; then OK with the current page but the save dialog
    // cancelled, which answers Cancel and keeps the file name.
    for (bool saveCancelled : {false, true}) {
      std::unique_ptr<TfrxCustomExportFilter> filter = c.Make();
      filter->PageNumbers = "2";
      c.FileName(filter.get()) = "旧的";
      std::string before = c.Settings(filter.get());
      OnModal([&](TCustomForm* F) {
        auto* d = static_cast<TfrxExportDialogBase*>(F);
        d->CurPageRB->SetChecked(true);
        if (!saveCancelled) {
          for (const char* name : c.Toggle) CheckBoxOf(F, name)->SetChecked(!CheckBoxOf(F, name)->GetChecked());
          F->SetModalResult(mrCancel);
        } else {
          F->SetModalResult(mrOk);
        }
      });
      if (saveCancelled) CancelSaveDialog();
      EXPECT_EQ(filter->ShowSettingsDialog(), mrCancel);
      EXPECT_EQ(c.FileName(filter.get()), "旧的");
      if (!saveCancelled) {
        EXPECT_EQ(c.Settings(filter.get()), before);
        EXPECT_EQ(filter->PageNumbers, "2");
        EXPECT_FALSE(filter->CurPage);
      } else {
        EXPECT_TRUE(filter->CurPage);
        EXPECT_EQ(filter->PageNumbers, "");
      }
    }
  }
}

TEST_F(ExportDialogTest, ImageQualityKeepsItsValueForTextThatIsNoQuality)
{
  for (const char* typed : {"abc", "101", "-1", ""}) {
    SCOPED_TRACE(typed);
    TfrxJPEGExport filter(nullptr);
    filter.JPEGQuality = 60;
    OnModal([&](TCustomForm* F) {
      static_cast<TfrxIMGExportDialog*>(F)->Quality->SetText(typed);
      F->SetModalResult(mrOk);
    });
    CancelSaveDialog();
    filter.ShowSettingsDialog();
    EXPECT_EQ(filter.JPEGQuality, 60);
  }
}

TEST_F(ExportDialogTest, AnExportWithShowDialogRunsThroughItsDialog)
{
  BuildSample();
  ASSERT_TRUE(Prepare());
  TfrxPDFExport filter(nullptr);
  ASSERT_TRUE(filter.ShowDialog);
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TfrxPDFExportDialog*>(F);
    ASSERT_NE(d, nullptr);
    d->CurPageRB->SetChecked(true);  // no preview: the first page
    d->OkB->Click();
  });
  AnswerSaveDialog(Dir.string() + "/经对话框");
  EXPECT_TRUE(Pages()->Export(&filter));
  AnsiString written = Dir.string() + "/经对话框.pdf";
  ASSERT_EQ(filter.FileName, written);
  ExportTests::TToolResult info = ExportTests::RunTool("pdfinfo '" + System::AnsiToUtf8(written) + "'");
  EXPECT_EQ(info.Status, 0);
  size_t pages = info.Out.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << info.Out;
  EXPECT_EQ(std::atoi(info.Out.c_str() + pages + 6), 1) << info.Out;

  // A cancelled dialog exports nothing.
  OnModal([](TCustomForm* F) { F->SetModalResult(mrCancel); });
  TfrxRTFExport rtf(nullptr);
  EXPECT_FALSE(Pages()->Export(&rtf));
  EXPECT_TRUE(rtf.FileName.empty());
}

TEST_F(ExportDialogTest, PicturesOfTheFourDialogs)
{
  for (const TDialogCase& c : DialogCases()) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TfrxCustomExportFilter> filter = c.Make();
    OnModal([&](TCustomForm* F) {
      Windows::UpdateWindow(F->GetHandle());
      RECT r;
      Windows::GetWindowRect(F->GetHandle(), &r);
      // Every control lies inside the form's client area.
      for (int i = 0; i < F->GetComponentCount(); ++i)
        if (auto* ctl = dynamic_cast<TControl*>(F->GetComponent(i))) {
          TWinControl* parent = ctl->GetParent();
          ASSERT_NE(parent, nullptr) << ctl->GetName();
          EXPECT_LE(ctl->GetLeft() + ctl->GetWidth(), parent->GetClientWidth()) << ctl->GetName();
          EXPECT_LE(ctl->GetTop() + ctl->GetHeight(), parent->GetClientHeight()) << ctl->GetName();
        }
      TPixelCanvas shot(r.right - r.left, r.bottom - r.top);
      ::CaptureScreenRect(r, shot);
      ::WritePng(shot, std::string(PELTO_TEST_OUTPUT) + "/export-dialog-" + c.Name + ".png");
      F->SetModalResult(mrCancel);
    });
    EXPECT_EQ(filter->ShowSettingsDialog(), mrCancel);
  }
}
