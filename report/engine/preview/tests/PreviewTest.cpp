// The preview control over a prepared report: page numbers, zoom, outline positions, the text
// search over the drawn pages and its mark on screen, commands refused while preparing, and the
// page surface's scrolling.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/win/WinUser.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include "report/engine/preview/frxPreview.h"
#include "report/engine/preview/tests/PreviewTestUtil.h"

namespace {

class PreviewTest : public PreviewFixture {
protected:
  // Thirty rows, ten on a page: "行1" ... "行30", with Extra texts put at given rows (0-based).
  void Prepare(std::vector<std::pair<size_t, AnsiString>> Extra = {}, bool Outline = false)
  {
    std::vector<AnsiString> texts;
    for (int i = 1; i <= 30; ++i) texts.push_back("行" + std::to_string(i));
    for (auto& [row, text] : Extra) texts[row] = text;
    BuildReport(texts, 10, Outline);
    ASSERT_TRUE(Report->PrepareReport()) << Report->GetErrors()->GetText();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 900, 700);
    Preview = new TfrxPreview(Form.get());
    Preview->SetParent(Form.get());
    Preview->SetAlign(alClient);
    Form->Show();
    Report->SetPreview(Preview);
  }
  void TearDown() override
  {
    Form.reset();
    PreviewFixture::TearDown();
  }
  void Pump()
  {
    for (int i = 0; i < 5; ++i) Forms::Application->ProcessMessages();
  }

  std::unique_ptr<TForm> Form;
  TfrxPreview* Preview = nullptr;
};

TEST_F(PreviewTest, PageNoIsClampedToThePages)
{
  Prepare();
  ASSERT_EQ(Preview->GetPageCount(), 3);
  std::vector<Integer> changes;
  Preview->OnPageChanged = [&](TObject*, Integer N) { changes.push_back(N); };
  struct TCase {
    Integer Set, Expected;
  } cases[] = {{0, 1}, {2, 2}, {99, 3}, {-4, 1}, {3, 3}};
  for (const auto& c : cases) {
    Preview->SetPageNo(c.Set);
    EXPECT_EQ(Preview->GetPageNo(), c.Expected) << c.Set;
    // The page's top stands 10 pixels below the visible top.
    RECT r = Preview->GetWorkspace()->GetPageList().GetPageBounds(c.Expected - 1,
                                                                  Preview->GetWorkspace()->GetClientWidth(), 1);
    EXPECT_EQ(
        Preview->GetWorkspace()->GetVertPosition(),
        std::min<int>(r.top - 10, Preview->GetWorkspace()->GetVertRange() - Preview->GetWorkspace()->GetVertPage()));
  }
  EXPECT_EQ(changes, (std::vector<Integer>{1, 2, 3, 1, 3}));

  Preview->Clear();
  Preview->SetPageNo(2);
  EXPECT_EQ(Preview->GetPageNo(), 0);
}

TEST_F(PreviewTest, ZoomNeverGoesBelowAQuarterAndTheZoomToolStepsByAQuarter)
{
  Prepare();
  Preview->SetZoom(0.1);
  EXPECT_DOUBLE_EQ(Preview->GetZoom(), 0.25);
  Preview->SetTool(1);
  Pump();
  HWND ws = Preview->GetWorkspace()->GetHandle();
  auto click = [&](UINT Down, UINT Up) {
    Windows::SendMessage(ws, Down, 0, MAKELPARAM(300, 100));
    Windows::SendMessage(ws, Up, 0, MAKELPARAM(300, 100));
  };
  click(WM_RBUTTONDOWN, WM_RBUTTONUP);
  EXPECT_DOUBLE_EQ(Preview->GetZoom(), 0.25);
  click(WM_LBUTTONDOWN, WM_LBUTTONUP);
  click(WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_DOUBLE_EQ(Preview->GetZoom(), 0.75);

  // The many-pages mode lays two pages in a row; a set zoom leaves it.
  Preview->SetZoomMode(zmManyPages);
  EXPECT_EQ(Preview->GetWorkspace()->GetPageList().GetItem(1).Column, 1);
  Preview->SetZoom(1);
  EXPECT_EQ(Preview->GetZoomMode(), zmDefault);
  EXPECT_EQ(Preview->GetWorkspace()->GetPageList().GetItem(1).Column, 0);
}

TEST_F(PreviewTest, OutlineNodesKeepPageAndTopApartAndShowTheirPosition)
{
  Prepare({}, true);
  TTreeView* tree = Preview->GetOutlineTree();
  ASSERT_EQ(tree->GetItems()->GetCount(), 30);
  TTreeNode* node = tree->GetItems()->GetItem(24);  // "行25", page 3
  EXPECT_EQ(node->GetText(), "行25");
  const frxPreview::TOutlinePosition* at = Preview->OutlinePosition(node);
  ASSERT_NE(at, nullptr);
  EXPECT_EQ(at->PageIndex, 2);
  EXPECT_GT(at->Top, 300);

  Preview->SetZoom(1.5);
  Preview->ShowPosition(at->PageIndex + 1, at->Top);
  RECT sheet = Preview->GetWorkspace()->GetPageList().GetPageBounds(2, Preview->GetWorkspace()->GetClientWidth(), 1.5);
  EXPECT_EQ(Preview->GetWorkspace()->GetVertPosition(), sheet.top + std::lround((at->Top + 10 * 3.77953) * 1.5) - 10);
  EXPECT_EQ(Preview->GetPageNo(), 3);

  // A top far down a long page and a page number past 2^20 are kept as they are.
  EXPECT_EQ(sizeof(at->Top), sizeof(Integer));
}

TEST_F(PreviewTest, FindRecordsEachPageOnceAndContinuesWithF3)
{
  // Page 1 has the word once, page 3 twice.
  Prepare({{4, "合同甲 第一"}, {22, "甲方 合同甲"}, {26, "合同甲 附件"}});
  TfrxFindState& find = frxPreview::FindState();
  Preview->SetPageNo(3);
  Preview->Find("合同甲", false, false);
  ASSERT_TRUE(find.Found);
  EXPECT_EQ(Preview->GetWorkspace()->SearchPage, 2);
  RECT first = find.Rect;
  Integer firstRecord = find.Record;
  EXPECT_EQ(Preview->GetWorkspace()->GetDrawingsMade(), 1);

  Word f3 = VK_F3;
  Preview->HandleKey(f3, TShiftState());
  ASSERT_TRUE(find.Found);
  EXPECT_EQ(Preview->GetWorkspace()->SearchPage, 2);
  EXPECT_GT(find.Record, firstRecord);
  EXPECT_GT(find.Rect.top, first.bottom);
  EXPECT_EQ(Preview->GetWorkspace()->GetDrawingsMade(), 1) << "the same page is not drawn again";

  Preview->FindNext();
  EXPECT_FALSE(find.Found) << "no later page has it";

  // From the top: page 1's occurrence.
  Preview->Find("合同甲", false, true);
  ASSERT_TRUE(find.Found);
  EXPECT_EQ(Preview->GetWorkspace()->SearchPage, 0);

  // Case: ASCII compared as is only when asked.
  Preview->Find("行1", true, true);
  EXPECT_TRUE(find.Found);
  Preview->Find("XYZ", false, true);
  EXPECT_FALSE(find.Found);
}

TEST_F(PreviewTest, TheFoundTextIsInvertedOnTheSheet)
{
  Prepare({{14, "合同乙"}});
  Preview->SetZoom(1);
  Preview->SetPageNo(2);
  Preview->Find("合同乙", false, true);
  TfrxFindState& find = frxPreview::FindState();
  ASSERT_TRUE(find.Found);
  Pump();
  Form->Repaint();
  TfrxPreviewWorkspace* ws = Preview->GetWorkspace();
  RECT sheet = ws->GetPageList().GetPageBounds(1, ws->GetClientWidth(), 1);
  int left = sheet.left - ws->GetHorzPosition(), top = sheet.top - ws->GetVertPosition();
  // Inside the found rectangle the white sheet turned black; just right of it the sheet is white.
  int inverted = 0, total = 0;
  for (int x = find.Rect.left; x < find.Rect.right; x += 2)
    for (int y = find.Rect.top; y < find.Rect.bottom; y += 2) {
      ++total;
      if (PixelOf(ws, left + x, top + y) == RGB(0, 0, 0)) ++inverted;
    }
  EXPECT_GT(inverted, total / 2);
  EXPECT_EQ(PixelOf(ws, left + find.Rect.right + 4, top + (find.Rect.top + find.Rect.bottom) / 2), RGB(255, 255, 255));
  // Grey around the sheet.
  EXPECT_EQ(PixelOf(ws, left - 5, top + 20), RGB(0x80, 0x80, 0x80));
  SaveFormPicture(Form.get(), "preview_find.png");
}

TEST_F(PreviewTest, TheWorkspacePaintsOffScreenAsTheOptionsSayWithTheSamePicture)
{
  Report->GetPreviewOptions()->DoubleBuffered = false;
  Prepare({{3, "合同甲"}});
  TfrxPreviewWorkspace* ws = Preview->GetWorkspace();
  EXPECT_FALSE(ws->GetDoubleBuffered());
  auto picture = [&] {
    Pump();
    Form->Repaint();
    std::vector<COLORREF> pixels;
    for (int y = 0; y < ws->GetClientHeight(); y += 7)
      for (int x = 0; x < ws->GetClientWidth(); x += 5) pixels.push_back(PixelOf(ws, x, y));
    return pixels;
  };
  std::vector<COLORREF> direct = picture();
  Report->GetPreviewOptions()->DoubleBuffered = true;
  Preview->InitPreview();
  EXPECT_TRUE(ws->GetDoubleBuffered());
  // Scrolled by a part of a page, so that the copy is of a partly repainted window too.
  ws->SetVertPosition(ws->GetVertPosition() + 37);
  ws->SetVertPosition(ws->GetVertPosition() - 37);
  std::vector<COLORREF> buffered = picture();
  ASSERT_EQ(buffered.size(), direct.size());
  EXPECT_TRUE(buffered == direct);
  EXPECT_NE(std::count(direct.begin(), direct.end(), RGB(0, 0, 0)), 0) << "the sheet drew some text";
}

TEST_F(PreviewTest, KeysAndWheelScrollThePageSurface)
{
  Prepare();
  TfrxPreviewWorkspace* ws = Preview->GetWorkspace();
  Preview->SetPageNo(1);
  int start = ws->GetVertPosition();
  struct TCase {
    Word Key;
    int Delta;
  } cases[] = {{VK_NEXT, 300}, {VK_DOWN, 8}, {VK_UP, -8}, {VK_PRIOR, -300}};
  for (const auto& c : cases) {
    int before = ws->GetVertPosition();
    Word key = c.Key;
    Preview->HandleKey(key, TShiftState());
    EXPECT_EQ(ws->GetVertPosition() - before, c.Delta) << c.Key;
  }
  EXPECT_EQ(ws->GetVertPosition(), start);
  Preview->MouseWheelScroll(-240);
  EXPECT_EQ(ws->GetVertPosition(), start + 40);
  Word end = VK_END;
  Preview->HandleKey(end, TShiftState());
  EXPECT_EQ(Preview->GetPageNo(), 3);
  // Scrolling makes the page at the new top current.
  ws->SetVertPosition(0);
  EXPECT_EQ(Preview->GetPageNo(), 1);
}

TEST_F(PreviewTest, PagesAppearWhilePreparingAndCommandsWaitForTheEnd)
{
  std::vector<AnsiString> texts(30, "行");
  BuildReport(texts, 10);
  Form = std::make_unique<TForm>(nullptr);
  Form->SetBounds(0, 0, 900, 700);
  Preview = new TfrxPreview(Form.get());
  Preview->SetParent(Form.get());
  Preview->SetAlign(alClient);
  Form->Show();
  Report->SetPreview(Preview);
  TTempFolder folder;
  std::string file = folder.Path("run.fp3");
  std::vector<Integer> laidOut;
  Report->OnProgress = [&](TfrxReport*, Integer Type, Integer) {
    if (Type != 0) return;
    EXPECT_TRUE(Preview->IsRunning());
    laidOut.push_back(Preview->GetWorkspace()->GetPageList().GetCount());
    Preview->SaveToFile(file);
  };
  Report->ShowReport();
  ASSERT_NE(Report->GetPrepareTimer(), nullptr);
  EXPECT_TRUE(Report->GetPrepareTimer()->GetEnabled());
  Report->GetPrepareTimer()->GetOnTimer()(Report->GetPrepareTimer());
  EXPECT_FALSE(Report->GetPrepareTimer()->GetEnabled());
  EXPECT_FALSE(Preview->IsRunning());
  EXPECT_EQ(Preview->GetPageCount(), 3);
  // The host hears of each page just before the preview lays it out.
  EXPECT_EQ(laidOut, (std::vector<Integer>{0, 1, 2}));
  EXPECT_FALSE(std::filesystem::exists(file)) << "saving waits for the end of the run";
  Preview->SaveToFile(file);
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(PreviewTest, CancelStopsTheRun)
{
  std::vector<AnsiString> texts(60, "行");
  BuildReport(texts, 10);
  Form = std::make_unique<TForm>(nullptr);
  Preview = new TfrxPreview(Form.get());
  Preview->SetParent(Form.get());
  Report->SetPreview(Preview);
  Report->OnProgress = [&](TfrxReport*, Integer Type, Integer Value) {
    if (Type == 0 && Value == 2) Preview->Cancel();
  };
  Report->PrepareReport();
  EXPECT_LT(Preview->GetPageCount(), 6);
  EXPECT_GE(Preview->GetPageCount(), 2);
}

TEST_F(PreviewTest, AddAndDeletePagesKeepTheLayoutInStep)
{
  Prepare();
  Preview->SetPageNo(3);
  Preview->AddPage();
  EXPECT_EQ(Preview->GetPageCount(), 4);
  EXPECT_EQ(Preview->GetWorkspace()->GetPageList().GetCount(), 4);
  Preview->SetPageNo(4);
  Preview->DeletePage();
  EXPECT_EQ(Preview->GetPageCount(), 3);
  EXPECT_EQ(Preview->GetPageNo(), 3);
  EXPECT_EQ(Preview->GetWorkspace()->GetPageList().GetCount(), 3);
}

TEST_F(PreviewTest, SavedPagesLoadBackIntoThePreview)
{
  Prepare({{0, "第一份"}});
  TTempFolder folder;
  std::string file = folder.Path("pages.fp3");
  Preview->SaveToFile(file);
  Preview->Clear();
  EXPECT_EQ(Preview->GetPageCount(), 0);
  Preview->LoadFromFile(file);
  EXPECT_EQ(Preview->GetPageCount(), 3);
  EXPECT_EQ(Preview->GetPageNo(), 1);
  EXPECT_EQ(Preview->GetWorkspace()->GetPageList().GetCount(), 3);
  // A missing file is no error and leaves the pages.
  Preview->LoadFromFile(folder.Path("none.fp3"));
  EXPECT_FALSE(Preview->IsLocked());
}

TEST_F(PreviewTest, ThePreviewUnlinksWhenEitherSideGoes)
{
  Prepare();
  Form.reset();
  EXPECT_EQ(Report->GetPreview(), nullptr);

  Report = std::make_unique<TfrxReport>(nullptr);
  Report->GetEngineOptions()->SilentMode = true;
  Prepare();
  Report.reset();
  EXPECT_EQ(Preview->Report, nullptr);
  EXPECT_EQ(Preview->GetPageCount(), 0);
  Form->Repaint();
}

}  // namespace
