// Every writer of a user file saves through the save seam: under a failed write, a full disk,
// a failed flush or rename the previous file stays whole and the error reaches the caller; a
// process killed in the middle of saving a large report leaves the old file or the new one.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/tests/SaveFaultTable.h"
#include "platform/sys/ExcelWorkbook.h"
#include "platform/sys/WinSpool.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxStyles.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/script/xml/fs_xml.h"

namespace fs = std::filesystem;
using SaveFaultTable::Listing;
using SaveFaultTable::ReadBytes;
using SaveFaultTable::WriteBytes;
using SaveSeam::TSaveStep;

namespace {

class Saves : public testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    FDir = fs::temp_directory_path() / ("saves-" + std::to_string(::getpid()));
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }
  AnsiString Name(const char* file) const { return (FDir / file).string(); }

  // A report of `memos` text objects of `textBytes` each; Word tells two versions apart.
  static std::unique_ptr<TfrxReport> LargeReport(int memos, size_t textBytes, const AnsiString& Word)
  {
    auto report = std::make_unique<TfrxReport>(nullptr);
    auto* page = new TfrxReportPage(report.get());
    page->SetName("Page1");
    AnsiString text;
    while (text.size() < textBytes) text += Word + " 合同编号 " + std::to_string(text.size()) + "\r\n";
    for (int i = 0; i < memos; ++i) {
      auto* m = new TfrxMemoView(page);
      m->SetName("Memo" + std::to_string(i + 1));
      m->SetBounds(10, 20.0 * i, 300, 18);
      m->SetText(text);
    }
    report->GetVariables()->SetVariable("u_Company", Variant(AnsiString("'澜岳'")));
    return report;
  }
  static std::string ReportBytes(TfrxReport& report)
  {
    TStringStream s;
    report.SaveToStream(&s, true, false);
    return s.GetDataString();
  }

  fs::path FDir;
};

bool LooksLikePdf(const std::string& bytes)
{
  return bytes.rfind("%PDF-", 0) == 0 &&
         bytes.find("%%EOF", bytes.size() > 64 ? bytes.size() - 64 : 0) != std::string::npos;
}

// A zip archive ends with its end-of-central-directory record (no comment is written).
bool LooksLikeXlsx(const std::string& bytes)
{
  return bytes.rfind("PK\x03\x04", 0) == 0 && bytes.size() > 22 &&
         bytes.compare(bytes.size() - 22, 4, "PK\x05\x06") == 0;
}

TEST_F(Saves, EveryWriterKeepsThePreviousFileWhenTheSaveFails)
{
  std::unique_ptr<TfrxReport> report = LargeReport(400, 4000, "new");  // a few MB: many writes
  TfrxVariables variables;
  variables.SetVariable("u_Tel", Variant(AnsiString("\"010\" & <8>")));
  TfrxStyles styles;
  styles.Name = "Blue";
  styles.Add()->SetName("Title");
  TfsXMLDocument xml;
  xml.GetRoot()->SetName("config");
  xml.GetRoot()->Add()->SetName("item");
  TBitmap bitmap;
  bitmap.SetSize(40, 30);
  TExcelWorkbook book;
  book.Sheets[0]->Cell(1, 1).Value = Variant(AnsiString("合同"));
  HDC rec = Windows::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
  Windows::Rectangle(rec, 1, 1, 50, 40);
  HENHMETAFILE picture = Windows::CloseEnhMetaFile(rec);
  ASSERT_NE(picture, nullptr);
  std::vector<BYTE> pictureBytes(Windows::GetEnhMetaFileBits(picture, 0, nullptr));
  Windows::GetEnhMetaFileBits(picture, UINT(pictureBytes.size()), pictureBytes.data());

  auto streamed = [](auto&& save) {
    TStringStream s;
    save(&s);
    return std::string(s.GetDataString());
  };
  struct Case {
    const char* File;
    std::function<void(const AnsiString&)> Save;
    std::string Expected;                             // what the writer puts into a plain stream
    std::function<bool(const std::string&)> Accepts;  // for files that hold the time they were made
  } cases[] = {
      {"report.fr3", [&](const AnsiString& f) { report->SaveToFile(f); }, ReportBytes(*report)},
      {"vars.fd3", [&](const AnsiString& f) { variables.SaveToFile(f); },
       streamed([&](TStream* s) { variables.SaveToStream(s); })},
      {"styles.fs3", [&](const AnsiString& f) { styles.SaveToFile(f); },
       streamed([&](TStream* s) { styles.SaveToStream(s); })},
      {"config.xml", [&](const AnsiString& f) { xml.SaveToFile(f); },
       streamed([&](TStream* s) { xml.SaveToStream(s); })},
      {"picture.bmp", [&](const AnsiString& f) { bitmap.SaveToFile(f); },
       streamed([&](TStream* s) { bitmap.SaveToStream(s); })},
      // The drawing layer answers null rather than raising, as its callers expect.
      {"picture.emf",
       [&](const AnsiString& f) {
         HENHMETAFILE copy = Windows::CopyEnhMetaFile(picture, f.c_str());
         if (!copy) throw EFCreateError("CopyEnhMetaFile could not write " + f);
         Windows::DeleteEnhMetaFile(copy);
       },
       std::string(pictureBytes.begin(), pictureBytes.end())},
      {"book.xlsx", [&](const AnsiString& f) { book.SaveAs(f); }, "", LooksLikeXlsx},
      {"printed.pdf",
       [&](const AnsiString& f) {
         WinSpool::TPrintJob job(WinSpool::PdfPrinterName, "合同", f);
         WinSpool::DEVMODE paper;
         HDC dc = job.BeginPage(paper);
         Windows::Rectangle(dc, 600, 600, 3000, 1200);
         job.EndDoc();
       },
       "", LooksLikePdf},
      {"raw.prn",
       [&](const AnsiString& f) {
         WinSpool::TRawPrintJob job(WinSpool::PdfPrinterName, "raw", f);
         job.Write("\x1B@printer bytes");
         job.EndDoc();
       },
       "\x1B@printer bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    const AnsiString file = Name(c.File);
    SaveFaultTable::TSaveCheck check{
        FDir / c.File, "the previous version\r\n", [&] { c.Save(file); }, c.Expected, file, true, c.Accepts};
    int writes = SaveFaultTable::Run(check);
    if (std::string(c.File) == "report.fr3") {
      EXPECT_GT(writes, 3);  // the middle and last writes are faults of their own
    }
  }
  Windows::DeleteEnhMetaFile(picture);
}

// ---- A killed save ---------------------------------------------------------------------------

// The child saves the report and stops itself at the given step (once Fraction of the data has
// gone to the file, for writes); the parent kills it there and looks at the file. No timing is
// involved: the child is stopped when the parent kills it.
TEST_F(Saves, AKilledSaveLeavesTheOldReportOrTheNewOneWhole)
{
  std::unique_ptr<TfrxReport> oldReport = LargeReport(60, 80000, "old");
  std::unique_ptr<TfrxReport> newReport = LargeReport(60, 80000, "new");
  const std::string oldBytes = ReportBytes(*oldReport), newBytes = ReportBytes(*newReport);
  ASSERT_GT(newBytes.size(), 4u << 20);
  const AnsiString file = Name("large.fr3");

  struct Stop {
    const char* Name;
    TSaveStep Step;
    double Fraction;
    bool NewExpected;
  } stops[] = {
      {"first write", TSaveStep::Write, 0, false},    {"half the data", TSaveStep::Write, 0.5, false},
      {"near the end", TSaveStep::Write, 0.9, false}, {"flush", TSaveStep::Sync, 0, false},
      {"rename", TSaveStep::Rename, 0, false},        {"after the rename", TSaveStep::SyncFolder, 0, true},
  };
  for (const Stop& stop : stops) {
    SCOPED_TRACE(stop.Name);
    WriteBytes(file.c_str(), oldBytes);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int rc = 0;
      try {
        SaveSeam::TScopedSaveFaults faults;
        bool stopped = false;
        const Int64 at = static_cast<Int64>(stop.Fraction * static_cast<double>(newBytes.size()));
        faults.SetOnStep([&](TSaveStep step, Int64 written) {
          if (stopped || step != stop.Step || written < at) return;
          stopped = true;
          ::raise(SIGSTOP);
        });
        newReport->SaveToFile(file);
        rc = stopped ? 0 : 3;
      } catch (...) {
        rc = 2;
      }
      ::_exit(rc);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
    ASSERT_TRUE(WIFSTOPPED(status)) << "the child ended before the stop, status " << status;
    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));

    std::string onDisk = ReadBytes(file.c_str());
    EXPECT_TRUE(onDisk == (stop.NewExpected ? newBytes : oldBytes))
        << "the file holds " << onDisk.size() << " bytes, neither version whole";
    // Only the killed save's temporary file can be left beside it; it goes before the next.
    std::set<std::string> left = Listing(FDir);
    left.erase("large.fr3");
    EXPECT_LE(left.size(), 1u);
    for (const std::string& stray : left) {
      EXPECT_EQ(stray.rfind(".large.fr3.", 0), 0u) << stray;
      fs::remove(FDir / stray);
    }
  }
  // And a save nobody kills writes the new report whole.
  newReport->SaveToFile(file);
  EXPECT_TRUE(ReadBytes(file.c_str()) == newBytes);
}

}  // namespace
