// The report preview on the desktop back end: a window whose dockable tool bar opens the
// preview of a contract list of a few dozen pages, prepared while the preview is open (pages
// appear as they come). The preview zooms, pages, finds text, jumps through the outline, changes
// page settings, prints through the print dialog (the PDF printer is the report's printer) and
// exports through its export menu.
//
// It reports on standard output, one flushed line each, so that a script can drive it (the Xvfb
// test does): "ready" with the bar's grip, "progress ..." while the report is prepared, "place
// <name> x y w h" (screen coordinates) for the preview's buttons and boxes once it is prepared,
// "view zoom <per cent> page <n>" when either changes, "found page <n> x y w h" with the screen
// rectangle of a found text, "dialog <class> x y w h" for each modal form, "printed" and
// "exported <file>", "bar <name> ..." when the tool bar moves. F11 saves two screenshots beside
// the first argument, "found.png" as the screen is and "plain.png" with the found text not
// marked, and says "shots"; F12 saves a screenshot to the path given as the first argument and
// ends the program.
//
//   preview_demo [screenshot.png]                  the window
//   preview_demo --inverted FOUND PLAIN x y w h    compares two screenshots: "inverted <pixels
//                                                  inverted> of <in the rectangle> ink <pixels
//                                                  the plain picture drew dark there> ring
//                                                  <pixels unchanged> of <around the rectangle>"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/forms/Form.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
#include "platform/sys/WinSpool.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/window/Windows.h"
#include "report/engine/controls/frxDock.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/export/ExportModule.h"
#include "report/engine/export/demo/ContractSample.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxDataSets.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/preview/PreviewModule.h"
#include "report/engine/preview/frxPreview.h"
#include "report/engine/preview/frxPreviewForm.h"
#include "report/engine/preview/frxPrintDialog.h"

namespace {

using Demo::Say;

std::string gShotPath;

std::string ScreenRect(const RECT& R)
{
  return std::to_string(R.left) + " " + std::to_string(R.top) + " " + std::to_string(R.right - R.left) + " " +
         std::to_string(R.bottom - R.top);
}

std::string Place(TControl* C)
{
  POINT p = C->ClientToScreen(POINT{0, 0});
  return ScreenRect(RECT{p.x, p.y, p.x + C->GetWidth(), p.y + C->GetHeight()});
}

// ---- The sample report ----------------------------------------------------------------------

const char* const kDemoClients[] = {"甲公司", "乙公司", "丙公司", "丁公司", "Northwind Ltd.", "戊公司"};
constexpr int kDemoRows = 1200;
constexpr int kRowsPerClient = 20;

// The contract list grouped by client, each group an outline entry with its total.
std::unique_ptr<TfrxReport> SampleReport()
{
  using namespace ContractSample;
  TSample sample =
      Build("合同清单预览", kDemoRows, [](int N) { return AnsiString(kDemoClients[(N - 1) / kRowsPerClient % 6]); });
  TfrxReport* report = sample.Report.get();
  TfrxPreviewOptions* preview = report->GetPreviewOptions();
  preview->Modal = false;
  preview->OutlineVisible = true;
  preview->AllowEdit = true;
  report->GetPrintOptions()->Printer = WinSpool::PdfPrinterName;
  auto* group = AddBand<TfrxGroupHeader>(sample.Page, "ClientGroup", 90, 24);
  group->Condition = "<合同.\"客户\">";
  group->SetOutlineText("<合同.\"客户\">");
  AddMemo(group, "客户: [合同.\"客户\"]", 0, 300)->GetFont()->SetStyle(TFontStyles{fsBold});
  auto* total = AddBand<TfrxGroupFooter>(sample.Page, "ClientTotal", 150, 24);
  AddMemo(total, "小计 [SUM(<合同.\"金额\">)]", 250, 250)->HAlign = haRight;
  return std::move(sample.Report);
}

// ---- The window -----------------------------------------------------------------------------

std::unique_ptr<TfrxReport> gReport;

class TDemoForm : public TForm {
public:
  explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
  {
    SetName("DemoForm");
    SetCaption("报表预览示例");
    SetBounds(40, 0, 360, 200);
    GetFont()->SetName("宋体");
    GetFont()->SetSize(9);
    TopDock = new TfrxDock(this);
    TopDock->SetName("TopDock");
    TopDock->SetParent(this);
    TopDock->SetAlign(alTop);
    TopDock->AdjustBounds();
    Bar = new TfrxToolBar(this);
    Bar->SetName("ReportBar");
    Bar->SetCaption("报表");
    Bar->SetParent(TopDock);
    int x = 100;
    for (const char* text : {"预览", "打印"}) {
      auto* b = new TSpeedButton(this);
      b->SetName(text == std::string("预览") ? "PreviewButton" : "PrintButton");
      b->SetParent(Bar);
      b->SetFlat(true);
      b->SetBounds(x, 1, 40, 22);
      b->SetCaption(text);
      x += 40;
    }
    static_cast<TSpeedButton*>(FindComponent("PreviewButton"))->OnClick = [](TObject*) { gReport->ShowReport(); };
    static_cast<TSpeedButton*>(FindComponent("PrintButton"))->OnClick = [](TObject*) {
      if (gReport->GetPreviewPages()->GetCount() == 0) gReport->PrepareReport();
      static_cast<TfrxPreviewPages*>(gReport->GetPreviewPages())->Print();
      Say("printed");
    };
    Bar->AddToDock(TopDock);
    auto* info = new TLabel(this);
    info->SetParent(this);
    info->SetBounds(12, 60, 330, 18);
    info->SetCaption("按\"预览\"打开合同清单; 拖动工具栏的把手可移动或拖出工具栏.");
  }

  // One line when the bar's place changed since the last call.
  void ReportBar()
  {
    std::string line = "bar ReportBar";
    if (Bar->IsFloating() && Bar->GetFloatWindow()) {
      TfrxFloatWindow* w = Bar->GetFloatWindow();
      line += " float " + std::to_string(w->GetLeft()) + " " + std::to_string(w->GetTop());
    } else if (TfrxDock* dock = Bar->GetDock())
      line += " dock " + std::string(dock->GetName().c_str()) + " " + std::to_string(Bar->GetLeft()) + " " +
              std::to_string(Bar->GetTop());
    if (line == FLastBar) return;
    FLastBar = line;
    Say(line);
  }

  TfrxDock* TopDock;
  TfrxToolBar* Bar;

private:
  std::string FLastBar;
};

TDemoForm* gForm = nullptr;

TfrxPreviewForm* PreviewForm() { return gReport ? dynamic_cast<TfrxPreviewForm*>(gReport->PreviewForm) : nullptr; }

// What the preview shows: places once prepared, zoom and page, what a search found.
struct TWatch {
  std::string View, Found;
  bool Placed = false;
};
TWatch gWatch;

// The found text's inverted rectangle on the screen, as the workspace paints it.
bool FoundRect(TfrxPreview* Preview, Integer& Page, RECT& Out)
{
  const TfrxFindState& find = frxPreview::FindState();
  if (!find.Found) return false;
  TfrxPreviewWorkspace* ws = Preview->GetWorkspace();
  Extended zoom = Preview->GetZoom();
  Page = ws->SearchPage;
  RECT sheet = ws->GetPageList().GetPageBounds(Page, ws->GetClientWidth(), zoom);
  sheet.left -= ws->GetHorzPosition();
  sheet.top -= ws->GetVertPosition();
  RECT r{LONG(sheet.left + std::lround(find.Rect.left * zoom) - 1), LONG(sheet.top + std::lround(find.Rect.top * zoom)),
         LONG(sheet.left + std::lround(find.Rect.right * zoom) + 1),
         LONG(sheet.top + std::lround(find.Rect.bottom * zoom))};
  POINT p = ws->ClientToScreen(POINT{r.left, r.top});
  Out = RECT{p.x, p.y, p.x + (r.right - r.left), p.y + (r.bottom - r.top)};
  return true;
}

void WatchPreview()
{
  gForm->ReportBar();
  TfrxPreviewForm* form = PreviewForm();
  if (!form || !form->GetVisible()) return;
  TfrxPreview* preview = form->GetPreview();
  if (preview->IsRunning()) return;
  if (!gWatch.Placed && preview->GetPageCount() > 0) {
    gWatch.Placed = true;
    for (const char* name : {"PrintB", "ExportB", "FindB", "ZoomCB", "PageE", "PageSettingsB", "ZoomToolB", "HandToolB",
                             "FirstB", "PriorB", "NextB", "LastB", "ZoomWholePageB", "Zoom100B"})
      if (TControl* c = form->Button(name)) Say(std::string("place ") + name + " " + Place(c));
    Say("place Workspace " + Place(preview->GetWorkspace()));
    Say("place Outline " + Place(preview->GetOutlineTree()));
    // Printing and exporting say when they are done.
    if (auto* print = dynamic_cast<TToolButton*>(form->Button("PrintB"))) {
      TNotifyEvent click = print->OnClick;
      print->OnClick = [click](TObject* Sender) {
        click(Sender);
        Say("printed");
      };
    }
    TMenuItem* items = form->GetExportPopup()->GetItems();
    for (int i = 0; i < items->GetCount(); ++i) {
      TMenuItem* item = items->GetItem(i);
      TNotifyEvent click = item->OnClick;
      item->OnClick = [click, item](TObject* Sender) {
        click(Sender);
        Say("exported " + System::AnsiToUtf8(item->GetCaption()));
      };
    }
    Say("prepared " + std::to_string(preview->GetPageCount()));
  }
  if (!gWatch.Placed) return;
  std::string view = "view zoom " + std::to_string(std::lround(preview->GetZoom() * 100)) + " page " +
                     std::to_string(preview->GetPageNo());
  if (view != gWatch.View) {
    gWatch.View = view;
    Say(view);
  }
  Integer page = 0;
  RECT r;
  std::string found = FoundRect(preview, page, r) ? "found page " + std::to_string(page + 1) + " " + ScreenRect(r) +
                                                        " record " + std::to_string(frxPreview::FindState().Record)
                                                  : std::string();
  if (found != gWatch.Found) {
    gWatch.Found = found;
    if (!found.empty()) Say(found);
  }
}

std::string Beside(const char* Name) { return gShotPath.substr(0, gShotPath.find_last_of('/') + 1) + Name; }

// The screen as it is, then with the found text not marked, then marked again.
void FoundShots()
{
  TfrxPreviewForm* form = PreviewForm();
  TfrxFindState& find = frxPreview::FindState();
  if (!form || !find.Found) {
    Say("shots none");
    return;
  }
  TfrxPreviewWorkspace* ws = form->GetPreview()->GetWorkspace();
  ws->Repaint();
  bool ok = SdlBackend::SaveScreenshot(Beside("found.png"));
  find.Found = false;
  ws->Repaint();
  ok = SdlBackend::SaveScreenshot(Beside("plain.png")) && ok;
  find.Found = true;
  ws->Repaint();
  Say(ok ? "shots" : "shots failed");
}

// ---- Comparing two screenshots ---------------------------------------------------------------

struct TPixels {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Bits;
  std::uint32_t At(int X, int Y) const { return Bits[size_t(Y) * size_t(Width) + size_t(X)] & 0xFFFFFF; }
};

bool LoadPixels(const char* File, TPixels& Out)
{
  std::ifstream in(File, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  HBITMAP bmp = nullptr;
  try {
    bmp = PngFile::LoadPng(bytes);
  } catch (const Exception&) {
    return false;
  }
  BITMAP info{};
  Windows::GetObject(bmp, &info);
  Out.Width = info.bmWidth;
  Out.Height = info.bmHeight;
  Out.Bits.resize(size_t(Out.Width) * size_t(Out.Height));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = Out.Width;
  bi.bmiHeader.biHeight = -Out.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  int lines = Windows::GetDIBits(dc, bmp, 0, UINT(Out.Height), Out.Bits.data(), &bi, DIB_RGB_COLORS);
  Windows::DeleteDC(dc);
  Windows::DeleteObject(bmp);
  return lines == Out.Height;
}

bool Near(std::uint32_t A, std::uint32_t B)
{
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((A >> shift) & 0xFF) - int((B >> shift) & 0xFF)) > 8) return false;
  return true;
}

int CompareInverted(char** Args)
{
  TPixels found, plain;
  if (!LoadPixels(Args[0], found) || !LoadPixels(Args[1], plain) || found.Width != plain.Width ||
      found.Height != plain.Height) {
    std::printf("unreadable pictures\n");
    return 1;
  }
  int x = std::atoi(Args[2]), y = std::atoi(Args[3]), w = std::atoi(Args[4]), h = std::atoi(Args[5]);
  long inverted = 0, inside = 0, ink = 0, same = 0, ring = 0;
  for (int py = y - 3; py < y + h + 3; ++py)
    for (int px = x - 3; px < x + w + 3; ++px) {
      if (px < 0 || py < 0 || px >= found.Width || py >= found.Height) continue;
      std::uint32_t f = found.At(px, py), p = plain.At(px, py);
      if (px >= x && px < x + w && py >= y && py < y + h) {
        ++inside;
        if (Near(f, ~p & 0xFFFFFF)) ++inverted;
        if (((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 128) ++ink;
      } else {
        ++ring;
        if (Near(f, p)) ++same;
      }
    }
  std::printf("inverted %ld of %ld ink %ld ring %ld of %ld\n", inverted, inside, ink, same, ring);
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 8 && std::string(argv[1]) == "--inverted") return CompareInverted(argv + 2);
  gShotPath = argc > 1 ? argv[1] : "preview_demo.png";
  if (!Demo::StartDesktop()) return 2;
  Forms::InitializeApplication();
  StdCtrls::Initialize();
  PreviewModule::Initialize();
  ExportModule::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  app->SetTitle("澜岳合同管理系统");

  gReport = SampleReport();
  gReport->OnProgressStart = [](TfrxReport*, Integer, Integer) { Say("progress start"); };
  gReport->OnProgress = [](TfrxReport*, Integer Kind, Integer Progress) {
    if (Kind == 0) Say("progress page " + std::to_string(Progress));
  };
  gReport->OnProgressStop = [](TfrxReport*, Integer Kind, Integer) {
    if (Kind == 0) Say("progress stop " + std::to_string(gReport->GetPreviewPages()->GetCount()));
  };

  app->CreateForm(gForm);
  gForm->Show();
  app->ProcessMessages();
  Say("place TopDock " + Place(gForm->TopDock));
  Say("place ReportBar " + Place(gForm->Bar));
  Say("place PreviewButton " + Place(static_cast<TControl*>(gForm->FindComponent("PreviewButton"))));
  gForm->ReportBar();

  // Each modal form as it becomes active: the find, page settings, print, export and file dialogs.
  Forms::Screen->OnActiveFormChange = [](TObject*) {
    TCustomForm* f = Forms::Screen->GetActiveCustomForm();
    if (f && f->GetFormState().Contains(fsModal) && f->HandleAllocated()) {
      RECT r;
      Windows::GetWindowRect(f->GetHandle(), &r);
      Say(std::string("dialog ") + f->ClassName() + " " + ScreenRect(r));
      if (auto* print = dynamic_cast<TfrxPrintDialog*>(f)) {
        Say("place PrintersCB " + Place(print->PrintersCB) + " " + System::AnsiToUtf8(print->PrintersCB->GetText()));
        Say("place FileCB " + Place(print->FileCB));
        Say("place OkB " + Place(print->OkB));
      }
    }
  };
  app->OnIdle = [](TObject*, bool&) { WatchPreview(); };
  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN) return;
    if (msg.wParam == VK_F11) {
      handled = true;
      FoundShots();
    } else if (msg.wParam == VK_F12) {
      handled = true;
      Demo::TakeShot(gShotPath);
      Forms::Application->Terminate();
    }
  };
  Say("ready");
  app->Run();
  if (TfrxPreviewForm* form = PreviewForm()) delete form;
  gReport.reset();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
