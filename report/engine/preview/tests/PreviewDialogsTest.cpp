// The preview window and its dialogs: the print dialog's results, the zoom box, the buttons the
// preview options show, the page settings in centimetres and the find dialog's remembered text.
#include "platform/rtl/Exceptions.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/dialogs/FileDialogForm.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/sys/WinSpool.h"
#include "platform/testsupport/TempFolder.h"
#include "report/engine/controls/frxComboBox.h"
#include "report/engine/print/frxPrinter.h"
#include "report/engine/preview/frxPreview.h"
#include "report/engine/preview/frxPreviewDialogs.h"
#include "report/engine/preview/frxPreviewForm.h"
#include "report/engine/preview/frxPrintDialog.h"
#include "report/engine/preview/tests/PreviewTestUtil.h"

namespace {

// A printer without a device that counts the pages it is given.
class TCountingPrinter : public TfrxVirtualPrinter {
public:
  using TfrxVirtualPrinter::TfrxVirtualPrinter;
  void BeginPage() override { ++Pages; }
  int Pages = 0;
};

class PreviewDialogsTest : public PreviewFixture {
protected:
  void SetUp() override
  {
    PreviewFixture::SetUp();
    auto list = std::make_unique<TfrxPrinters>([] { return std::vector<AnsiString>(); });
    auto first = std::make_unique<TCountingPrinter>("甲打印机", "lp0");
    auto second = std::make_unique<TCountingPrinter>("乙打印机", "lp1");
    First = first.get();
    Second = second.get();
    list->Add(std::move(first));
    list->Add(std::move(second));
    list->SetPrinterIndex(1);
    list->HasPhysicalPrinters = true;
    Printers = std::make_unique<frxPrinter::TScopedPrinters>(std::move(list));
  }
  void TearDown() override
  {
    Form.reset();
    Printers.reset();
    PreviewFixture::TearDown();
  }
  void OpenForm(std::vector<AnsiString> Texts = std::vector<AnsiString>(30, "行"))
  {
    BuildReport(Texts, 10);
    ASSERT_TRUE(Report->PrepareReport());
    Form = std::make_unique<TfrxPreviewForm>(nullptr);
    Report->SetPreview(Form->GetPreview());
    Report->PreviewForm = Form.get();
    Report->GetPreviewOptions()->Maximized = false;
    Form->Init();
    Form->Show();
  }
  // The file dialog a dialog opened over itself.
  static TFileDialogForm* FileDialog()
  {
    for (int i = 0; i < Forms::Screen->GetCustomFormCount(); ++i)
      if (auto* f = dynamic_cast<TFileDialogForm*>(Forms::Screen->GetCustomForms(i))) return f;
    return nullptr;
  }
  static TfrxPrintDialog* PrintDialogOf(TCustomForm* F) { return dynamic_cast<TfrxPrintDialog*>(F); }

  std::unique_ptr<frxPrinter::TScopedPrinters> Printers;
  TCountingPrinter *First = nullptr, *Second = nullptr;
  std::unique_ptr<TfrxPreviewForm> Form;
};

TEST_F(PreviewDialogsTest, CancellingThePrintDialogPutsTheFormerPrinterBack)
{
  TfrxPrintSettings settings;
  OnModal([](TCustomForm* F) {
    TfrxPrintDialog* d = PrintDialogOf(F);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->PrintersCB->GetItemIndex(), 1);
    d->PrintersCB->SetItemIndex(2);
    d->PrinterChosen();
    EXPECT_EQ(frxPrinter::GetPrinters()->GetPrinterIndex(), 2);
    EXPECT_EQ(d->TypeL1->GetCaption(), "乙打印机");
    d->CancelB->Click();
  });
  EXPECT_FALSE(frxPrintDialogForm::Execute(Report.get(), settings));
  EXPECT_EQ(frxPrinter::GetPrinters()->GetPrinterIndex(), 1);
}

TEST_F(PreviewDialogsTest, PrintToFileTakesTheExtensionPrnAndItsCancelCancelsPrinting)
{
  TTempFolder folder;
  TfrxPrintSettings settings;
  auto tickFileAndConfirm = [](TCustomForm* F) {
    TfrxPrintDialog* d = PrintDialogOf(F);
    ASSERT_NE(d, nullptr);
    d->FileCB->SetChecked(true);
    d->OkB->Click();
  };
  OnModal(tickFileAndConfirm);
  OnModal([&](TCustomForm*) {
    TFileDialogForm* files = FileDialog();
    ASSERT_NE(files, nullptr);
    files->GetNameEdit()->SetText(folder.Path("合同.txt"));
    files->Confirm();
  });
  EXPECT_TRUE(frxPrintDialogForm::Execute(Report.get(), settings));
  EXPECT_EQ(First->FileName, folder.Path("合同.prn"));

  OnModal(tickFileAndConfirm);
  OnModal([](TCustomForm*) {
    TFileDialogForm* files = FileDialog();
    ASSERT_NE(files, nullptr);
    files->SetModalResult(mrCancel);
  });
  EXPECT_FALSE(frxPrintDialogForm::Execute(Report.get(), settings));
  EXPECT_TRUE(First->FileName.empty());
}

TEST_F(PreviewDialogsTest, TheCurrentPageChoicePrintsThePageShown)
{
  OpenForm();
  Form->GetPreview()->SetPageNo(2);
  OnModal([](TCustomForm* F) {
    TfrxPrintDialog* d = PrintDialogOf(F);
    ASSERT_NE(d, nullptr);
    d->CurPageRB->SetChecked(true);
    d->OkB->Click();
  });
  Form->PrintClick();
  EXPECT_EQ(First->Pages, 1);
  EXPECT_EQ(static_cast<TfrxPreviewPages*>(Report->GetPreviewPages())->CurPreviewPage, 1);

  // The dialog's other results as the print seam reads them.
  TfrxPrintSettings settings;
  settings.Copies = 3;
  settings.PrintPages = 2;
  OnModal([](TCustomForm* F) {
    TfrxPrintDialog* d = PrintDialogOf(F);
    EXPECT_EQ(d->CopiesE->GetText(), "3");
    EXPECT_EQ(d->PrintPagesCB->GetItemIndex(), 2);
    d->PageNumbersRB->SetChecked(true);
    d->PageNumbersE->SetText("1,3");
    d->ReverseCB->SetChecked(true);
    d->CollateCB->SetChecked(false);
    d->OkB->Click();
  });
  ASSERT_TRUE(frxPrintDialogForm::Execute(Report.get(), settings));
  EXPECT_EQ(settings.Copies, 3);
  EXPECT_EQ(settings.PageNumbers, "1,3");
  EXPECT_EQ(settings.PrintPages, 2);
  EXPECT_TRUE(settings.Reverse);
  EXPECT_FALSE(settings.Collate);
}

TEST_F(PreviewDialogsTest, TheZoomBoxReadsPerCentAndRefusesOtherText)
{
  OpenForm();
  TfrxComboBox* zoom = Form->GetZoomCB();
  zoom->SetItemIndex(-1);
  zoom->SetText("125 %");
  Form->ZoomCBClick();
  EXPECT_DOUBLE_EQ(Form->GetPreview()->GetZoom(), 1.25);
  EXPECT_EQ(zoom->GetText(), "125%");

  zoom->SetText("大约");
  EXPECT_THROW(Form->ZoomCBClick(), EConvertError);
  EXPECT_DOUBLE_EQ(Form->GetPreview()->GetZoom(), 1.25);

  zoom->SetItemIndex(7);
  Form->ZoomCBClick();
  EXPECT_EQ(Form->GetPreview()->GetZoomMode(), zmWholePage);

  Form->GetPageE()->SetText("3");
  Form->PageEntered();
  EXPECT_EQ(Form->GetPreview()->GetPageNo(), 3);
  Form->GetPageE()->SetText("三");
  EXPECT_THROW(Form->PageEntered(), EConvertError);
  EXPECT_EQ(Form->GetPreview()->GetPageNo(), 3);
}

TEST_F(PreviewDialogsTest, TheButtonsFollowThePreviewOptions)
{
  TfrxPreviewButtons buttons = TfrxPreviewOptions::AllButtons();
  buttons.Exclude(pbZoom);
  Report->GetPreviewOptions()->Buttons = buttons;
  OpenForm();
  for (const char* name : {"ZoomWholePageB", "ZoomPageWidthB", "Zoom100B", "Zoom50B", "ZoomCB", "Sep2"})
    EXPECT_FALSE(Form->Button(name)->GetVisible()) << name;
  for (const char* name : {"PrintB", "FindB", "NextB", "PageE", "CancelB"})
    EXPECT_TRUE(Form->Button(name)->GetVisible()) << name;
  EXPECT_EQ(Form->GetCancelB()->GetCaption(), "关闭(&X)");
  EXPECT_EQ(Form->GetCaption(), "预览");
}

TEST_F(PreviewDialogsTest, TheBoxesStandOverTheirPlacesInTheToolBar)
{
  OpenForm();
  const struct {
    const char* Control;
    const char* Place;
    int Width;
  } kEmbedded[] = {{"ZoomCB", "Sep3", 70}, {"PageE", "Sep4", 44}, {"CancelB", "Sep5", 90}};
  for (const auto& e : kEmbedded) {
    RECT place = Form->Button(e.Place)->GetBoundsRect(), box = Form->Button(e.Control)->GetBoundsRect();
    EXPECT_EQ(place.right - place.left, e.Width) << e.Place;
    EXPECT_EQ(box.left, place.left + 2) << e.Control;
    EXPECT_EQ(box.right, place.right - 2) << e.Control;
    EXPECT_GT(box.left, Form->Button("PrintB")->GetLeft()) << e.Control;
  }
}

TEST_F(PreviewDialogsTest, WithoutPrintersThePrintButtonSaysSo)
{
  Printers.reset();
  Printers = std::make_unique<frxPrinter::TScopedPrinters>(
      std::make_unique<TfrxPrinters>([] { return std::vector<AnsiString>(); }));
  OpenForm();
  TMessageBoxAnswerer answerer;
  Form->PrintClick();
  ASSERT_EQ(answerer.Texts().size(), 1u);
  EXPECT_EQ(answerer.Texts()[0], "在你的系统没有安装打印机");
}

TEST_F(PreviewDialogsTest, PageSettingsShowCentimetresAndTurnACustomSheet)
{
  frxPrinter::GetPrinters()->SetPrinterIndex(0);  // the virtual printer: the paper table
  TfrxReportPage page(nullptr);
  page.SetPaperSize(256);
  page.SetPaperWidth(100);
  page.SetPaperHeight(150);
  page.LeftMargin = 12.5;
  TfrxPageSettingsForm form(nullptr);
  form.Page = &page;
  form.LoadPage();
  EXPECT_EQ(form.GetSizeCB()->GetItemIndex(), 0);
  EXPECT_EQ(form.GetWidthE()->GetText(), "10");
  EXPECT_EQ(form.GetHeightE()->GetText(), "15");
  EXPECT_EQ(form.GetMarginE(0)->GetText(), "1.25");
  struct TStep {
    bool Landscape;
    const char *Width, *Height;
  } steps[] = {{true, "15", "10"}, {false, "10", "15"}};
  for (const auto& s : steps) {
    // Checking a button runs its click.
    (s.Landscape ? form.GetLandscapeRB() : form.GetPortraitRB())->SetChecked(true);
    EXPECT_EQ(form.GetWidthE()->GetText(), s.Width);
    EXPECT_EQ(form.GetHeightE()->GetText(), s.Height);
  }

  // Typing a size makes the paper custom.
  form.GetSizeCB()->SetItemIndex(5);
  form.GetWidthE()->SetText("20");
  EXPECT_EQ(form.GetSizeCB()->GetItemIndex(), 0);

  form.GetMarginE(1)->SetText("x");
  EXPECT_THROW(form.StorePage(), EConvertError);
  EXPECT_DOUBLE_EQ(page.TopMargin, 0) << "nothing stored from a bad box";
  form.GetMarginE(1)->SetText("2");
  form.StorePage();
  EXPECT_DOUBLE_EQ(page.TopMargin, 20);
  EXPECT_EQ(page.GetOrientation(), poPortrait);
}

TEST_F(PreviewDialogsTest, PageSettingsListThePapersOfAPrinterNotYetUsed)
{
  Printers.reset();
  Printers = std::make_unique<frxPrinter::TScopedPrinters>(std::make_unique<TfrxPrinters>(
      [] { return std::vector<AnsiString>{WinSpool::PdfPrinterName}; }, WinSpool::PdfPrinterName));
  TfrxReportPage page(nullptr);
  page.SetPaperSize(9);
  TfrxPageSettingsForm form(nullptr);
  form.Page = &page;
  form.LoadPage();
  ASSERT_GT(form.GetSizeCB()->GetItems()->GetCount(), 1);
  EXPECT_EQ(form.GetSizeCB()->GetItemIndex(), frxPrinter::GetPrinters()->GetCurrentPrinter()->PaperIndex(9));
  EXPECT_EQ(form.GetWidthE()->GetText(), "21");
  EXPECT_EQ(form.GetHeightE()->GetText(), "29.70");
}

TEST_F(PreviewDialogsTest, TheFindDialogOffersTheLastConfirmedText)
{
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TfrxSearchDialog*>(F);
    ASSERT_NE(d, nullptr);
    d->GetTextE()->SetText("合同");
    d->GetOkB()->Click();
  });
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TfrxSearchDialog*>(F);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetTextE()->GetText(), "合同");
    EXPECT_FALSE(d->GetReplacePanel()->GetVisible());
    d->GetTextE()->SetText("不要");
    F->SetModalResult(mrCancel);
  });
  TfrxSearchDialog first(nullptr);
  EXPECT_EQ(first.ShowModal(), mrOk);
  TfrxSearchDialog second(nullptr);
  EXPECT_EQ(second.ShowModal(), mrCancel);
  EXPECT_EQ(TfrxSearchDialog::LastText(), "合同");
}

}  // namespace
