// The page loop of the prepared pages: which pages reach a filter, in which order the calls come,
// the page background first, margins, the stop flag, a refused BeginExport and a failing page.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "report/engine/export/tests/ExportFixture.h"

namespace {

class TRecordingFilter : public TfrxCustomExportFilter {
public:
  explicit TRecordingFilter(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}
  Integer ShowSettingsDialog() override { return DialogResult; }
  bool BeginExport() override
  {
    Log += "begin;";
    return Begin;
  }
  void BeginPage(TfrxReportPage* Page, Integer Index) override
  {
    Log += "page" + std::to_string(Index) + ";";
    if (StopAt == Index) Report->SetTerminated(true);
  }
  void ExportObject(TfrxComponent* Obj) override
  {
    if (Obj->GetName() == "_pagebackground") {
      auto* v = static_cast<TfrxView*>(Obj);
      Log += "bg@" + std::to_string(static_cast<int>(v->GetAbsLeft())) + ";";
    } else if (auto* m = dynamic_cast<TfrxCustomMemoView*>(Obj)) {
      Log += std::string(m->GetText()) + "@" + std::to_string(static_cast<int>(m->GetAbsLeft())) + ";";
      if (FailOn == m->GetText()) throw Exception("cannot write " + FailOn);
    }
  }
  void EndPage(TfrxReportPage* Page, Integer Index) override { Log += "end" + std::to_string(Index) + ";"; }
  void EndExport() override { Log += "done"; }

  Integer DialogResult = 1;
  bool Begin = true;
  Integer StopAt = -1;
  AnsiString FailOn;
  std::string Log;
};

class ExportLoopTest : public ExportFixture {
protected:
  // Three pages of one text each ("p1", "p2", "p3"), left margin 10 mm and right margin 20 mm,
  // mirrored.
  void ThreePages()
  {
    for (int i = 1; i <= 3; ++i) {
      auto* page = NewPage();
      page->RightMargin = 20;
      page->MirrorMargins = true;
      Memo(Band<TfrxReportTitle>(page, "T" + SysUtils::IntToStr(i), 0), "p" + SysUtils::IntToStr(i), 10, 100);
    }
    ASSERT_TRUE(Prepare());
    ASSERT_EQ(Pages()->GetCount(), 3);
  }
};

TEST_F(ExportLoopTest, PagesReachTheFilterInOrderWithTheBackgroundFirst)
{
  ThreePages();
  struct TCase {
    const char* Name;
    AnsiString PageNumbers;
    bool CurPage;
    std::string Log;
  } cases[] = {
      // Odd pages at the left margin (37.8 pixels), even ones at the right (75.6).
      {"all", "", false, "begin;page0;bg@37;p1@47;end0;page1;bg@75;p2@85;end1;page2;bg@37;p3@47;end2;done"},
      {"list", "3,1", false, "begin;page0;bg@37;p1@47;end0;page2;bg@37;p3@47;end2;done"},
      {"current page without a preview", "3", true, "begin;page0;bg@37;p1@47;end0;done"},
  };
  for (const TCase& c : cases) {
    TRecordingFilter f(nullptr);
    f.ShowDialog = false;
    f.PageNumbers = c.PageNumbers;
    f.CurPage = c.CurPage;
    EXPECT_TRUE(Pages()->Export(&f)) << c.Name;
    EXPECT_EQ(f.Log, c.Log) << c.Name;
  }
  // The pages are back at their places after the export.
  EXPECT_EQ(Pages()->GetPage(1)->GetLeft(), 0);
}

TEST_F(ExportLoopTest, ACancelledDialogARefusedBeginAndTheStopFlag)
{
  ThreePages();
  TRecordingFilter cancelled(nullptr);
  cancelled.DialogResult = 2;
  EXPECT_FALSE(Pages()->Export(&cancelled));
  EXPECT_EQ(cancelled.Log, "");

  TRecordingFilter refused(nullptr);
  refused.ShowDialog = false;
  refused.Begin = false;
  Pages()->Export(&refused);
  EXPECT_EQ(refused.Log, "begin;");  // no pages and no EndExport

  TRecordingFilter stopped(nullptr);
  stopped.ShowDialog = false;
  stopped.StopAt = 0;
  int started = 0, stoppedProgress = 0;
  Report->OnProgressStart = [&](TfrxReport*, Integer Kind, Integer) { started += Kind == 1; };
  Report->OnProgressStop = [&](TfrxReport*, Integer Kind, Integer) { stoppedProgress += Kind == 1; };
  Pages()->Export(&stopped);
  Report->SetTerminated(false);
  EXPECT_EQ(stopped.Log, "begin;page0;bg@37;p1@47;end0;done");
  EXPECT_EQ(started, 1);
  EXPECT_EQ(stoppedProgress, 1);
}

TEST_F(ExportLoopTest, AFailingPageStillEndsTheExportAndTheErrorReachesTheCaller)
{
  ThreePages();
  TRecordingFilter f(nullptr);
  f.ShowDialog = false;
  f.FailOn = "p2";
  EXPECT_THROW(Pages()->Export(&f), Exception);
  EXPECT_EQ(f.Log, "begin;page0;bg@37;p1@47;end0;page1;bg@75;p2@85;done");
  EXPECT_EQ(Pages()->GetPage(1)->GetLeft(), 0);
}

}  // namespace
