// The exports on the desktop back end: a window with one button per export (PDF, Excel, RTF,
// JPEG) over a sample contract list of a few pages; each button runs its filter with its settings
// dialog and the save dialog. It reports on standard output, one flushed line each, so that a
// script can drive it (the Xvfb test does): "ready" with the buttons' screen rectangles, "dialog"
// with the class and rectangle of each modal form that comes up, "exported" with the file written
// or "cancelled". F12 saves a screenshot to the path given as the first argument and ends it.
//
//   export_demo [screenshot.png]     the window
//   export_demo --jpeg FILE          decodes a JPEG file and prints "jpeg WIDTH HEIGHT"
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/window/Windows.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/export/ExportModule.h"
#include "report/engine/export/demo/ContractSample.h"
#include "report/engine/export/frxExportImage.h"
#include "report/engine/export/frxExportPDF.h"
#include "report/engine/export/frxExportRTF.h"
#include "report/engine/export/frxExportXLS.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"

namespace {

std::string gShotPath;

using Demo::Say;

std::string Rect(HWND wnd)
{
  RECT r;
  Windows::GetWindowRect(wnd, &r);
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
         std::to_string(r.bottom - r.top);
}

// ---- The sample report ----------------------------------------------------------------------

const char* const kClients[] = {"甲公司", "乙公司", "丙公司", "丁公司", "Northwind Ltd.", "戊公司"};
constexpr int kRows = 90;

// A contract list of 90 rows (three A4 pages).
std::unique_ptr<TfrxReport> SampleReport()
{
  return std::move(ContractSample::Build("合同清单", kRows, [](int N) { return AnsiString(kClients[N % 6]); }).Report);
}

// ---- The window -----------------------------------------------------------------------------

struct TKind {
  const char* Name;
  const char* Caption;
  std::unique_ptr<TfrxCustomExportFilter> (*Make)();
  AnsiString (*Written)(TfrxCustomExportFilter*);
};

const TKind kKinds[] = {
    {"pdf", "导出 PDF",
     []() -> std::unique_ptr<TfrxCustomExportFilter> { return std::make_unique<TfrxPDFExport>(nullptr); },
     [](TfrxCustomExportFilter* F) { return static_cast<TfrxPDFExport*>(F)->FileName; }},
    {"xls", "导出 Excel",
     []() -> std::unique_ptr<TfrxCustomExportFilter> { return std::make_unique<TfrxXLSExport>(nullptr); },
     [](TfrxCustomExportFilter* F) { return static_cast<TfrxXLSExport*>(F)->FileName; }},
    {"rtf", "导出 RTF",
     []() -> std::unique_ptr<TfrxCustomExportFilter> { return std::make_unique<TfrxRTFExport>(nullptr); },
     [](TfrxCustomExportFilter* F) { return static_cast<TfrxRTFExport*>(F)->FileName; }},
    // The first page's file: "name.1.jpg".
    {"jpeg", "导出 JPEG",
     []() -> std::unique_ptr<TfrxCustomExportFilter> { return std::make_unique<TfrxJPEGExport>(nullptr); },
     [](TfrxCustomExportFilter* F) {
       auto* j = static_cast<TfrxJPEGExport*>(F);
       AnsiString name = j->FileName;
       size_t dot = name.rfind('.');
       size_t slash = name.rfind('/');
       if (dot != AnsiString::npos && (slash == AnsiString::npos || dot > slash)) name.resize(dot);
       return name + ".1.jpg";
     }},
};

std::unique_ptr<TfrxReport> gReport;

void RunExport(const TKind& Kind)
{
  std::unique_ptr<TfrxCustomExportFilter> filter = Kind.Make();
  try {
    if (gReport->GetPreviewPages()->Export(filter.get()))
      Say(std::string("exported ") + Kind.Name + " " + System::AnsiToUtf8(Kind.Written(filter.get())));
    else
      Say(std::string("cancelled ") + Kind.Name);
  } catch (const Exception& e) {
    Say(std::string("failed ") + Kind.Name + " " + System::AnsiToUtf8(e.Message()));
  }
}

void TakeShot() { Demo::TakeShot(gShotPath); }

int DecodeJpeg(const char* File)
{
  std::ifstream in(File, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    HBITMAP bmp = JpegFile::LoadJpeg(bytes);
    BITMAP info{};
    Windows::GetObject(bmp, &info);
    std::printf("jpeg %d %d\n", int(info.bmWidth), int(info.bmHeight));
    Windows::DeleteObject(bmp);
    return 0;
  } catch (const Exception& e) {
    std::printf("not a jpeg: %s\n", System::AnsiToUtf8(e.Message()).c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 3 && std::string(argv[1]) == "--jpeg") return DecodeJpeg(argv[2]);
  gShotPath = argc > 1 ? argv[1] : "export_demo.png";
  if (!Demo::StartDesktop()) return 2;
  Forms::InitializeApplication();
  StdCtrls::Initialize();
  ExportModule::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  app->SetTitle("澜岳合同管理系统");

  gReport = SampleReport();
  if (!gReport->PrepareReport()) {
    std::fprintf(stderr, "%s\n", System::AnsiToUtf8(gReport->GetErrors()->GetText()).c_str());
    return 3;
  }

  TForm* main = nullptr;
  app->CreateForm(main);
  main->SetCaption("导出示例");
  main->SetBounds(60, 60, 420, 160);
  auto* info = new TLabel(main);
  info->SetParent(main);
  info->SetBounds(12, 12, 390, 18);
  info->SetCaption("合同清单 (" + std::to_string(gReport->GetPreviewPages()->GetCount()) + " 页): 选择导出格式");
  std::string ready = "ready";
  for (int i = 0; i < 4; ++i) {
    const TKind& kind = kKinds[i];
    auto* b = new TButton(main);
    b->SetName(AnsiString(kind.Name) + "B");
    b->SetParent(main);
    b->SetCaption(kind.Caption);
    b->SetBounds(12 + i * 98, 48, 92, 28);
    b->OnClick = [&kind](TObject*) { RunExport(kind); };
  }
  main->Show();
  for (int i = 0; i < 4; ++i)
    ready += std::string(" ") + kKinds[i].Name + " " +
             Rect(static_cast<TButton*>(main->FindComponent(AnsiString(kKinds[i].Name) + "B"))->GetHandle());
  // Each modal form as it becomes active: the export dialogs and the save dialog.
  Forms::Screen->OnActiveFormChange = [](TObject*) {
    TCustomForm* f = Forms::Screen->GetActiveCustomForm();
    if (f && f->GetFormState().Contains(fsModal) && f->HandleAllocated())
      Say(std::string("dialog ") + f->ClassName() + " " + Rect(f->GetHandle()));
  };
  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F12) {
      handled = true;
      TakeShot();
      Forms::Application->Terminate();
    }
  };
  Say(ready);
  app->Run();
  gReport.reset();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
