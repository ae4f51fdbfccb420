// The report library's controls on the desktop back end: a window with docks on three edges
// holding tool bars (one with the font picker and a zoom box), the edit with a button, a scroll
// window as its work area and a dock site with a tool window. Tool bars move along their docks
// by their grips, tear off into floating windows and dock again when dragged over a dock.
//
// It reports on standard output, one line each, so that a script can drive it (the Xvfb test
// does): "place <name> x y w h" (screen coordinates) for what a script grabs, "ready", and
// "bar <name> dock <dock> <left> <top>" or "bar <name> float <x> <y>" each time a bar's place
// changes. F12 saves a screenshot through the back end to the path given as the first argument
// and ends the program; the registry (the recently used fonts) is kept beside that picture.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/forms/app/Application.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/Registry.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/win/backend/DemoSupport.h"
#include "platform/win/backend/SdlBackend.h"
#include "report/engine/controls/frxComboBox.h"
#include "report/engine/controls/frxDock.h"
#include "report/engine/controls/frxFontComboBox.h"
#include "report/engine/controls/frxScrollWin.h"

namespace {

std::string gShotPath;

using Demo::Say;

void SayPlace(TControl* C)
{
  POINT p = C->ClientToScreen(POINT{0, 0});
  Say("place " + std::string(C->GetName().c_str()) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " " +
      std::to_string(C->GetWidth()) + " " + std::to_string(C->GetHeight()));
}

// A work area that draws a ruled sheet, so that scrolling shows.
class TDemoSheet : public TfrxScrollWin {
public:
  using TfrxScrollWin::TfrxScrollWin;

protected:
  void Paint() override
  {
    TfrxScrollWin::Paint();
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    RECT page{20 - GetHorzPosition(), 20 - GetVertPosition(), 20 - GetHorzPosition() + 400,
              20 - GetVertPosition() + 560};
    c->FillRect(page);
    c->GetFont()->SetName("宋体");
    c->GetFont()->SetSize(12);
    c->TextOut(page.left + 20, page.top + 20, "合同报表预览");
  }
  void HorzScrolled() override { Invalidate(); }
  void VertScrolled() override { Invalidate(); }
};

class TDemoForm : public TForm {
public:
  explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
  {
    SetName("DemoForm");
    SetCaption("报表控件与工具栏");
    SetBounds(60, 60, 720, 480);
    GetFont()->SetName("宋体");
    GetFont()->SetSize(9);
    TopDock = MakeDock("TopDock", alTop);
    BottomDock = MakeDock("BottomDock", alBottom);
    LeftDock = MakeDock("LeftDock", alLeft);

    Standard = MakeBar("Standard", "标准", {"新", "开", "存", "印"}, TopDock);
    Format = MakeBar("Format", "格式", {"粗", "斜", "下"}, TopDock);
    Fonts = new TfrxFontComboBox(this);
    Fonts->SetName("FontBox");
    Fonts->SetParent(Format);
    Fonts->SetBounds(200, 2, 130, 21);
    Fonts->SetAlign(alLeft);  // after the buttons, in the order of Left
    Zoom = new TfrxComboBox(this);
    Zoom->SetName("ZoomBox");
    Zoom->SetParent(Format);
    Zoom->SetBounds(400, 2, 70, 21);
    Zoom->SetAlign(alLeft);
    for (const char* z : {"50%", "100%", "150%", "页宽", "整页"}) Zoom->GetItems()->Add(z);
    Zoom->SetItemIndex(1);
    Format->AdjustBounds();
    TopDock->AdjustBounds();
    Align = MakeBar("AlignBar", "对齐", {"左", "中", "右"}, LeftDock);

    Site = new TfrxDockSite(this);
    Site->SetName("Site");
    Site->SetParent(this);
    Site->SetAlign(alRight);

    auto* files = new TfrxComboEdit(this);
    files->SetName("FileEdit");
    files->SetParent(this);
    files->SetBounds(40, 60, 200, 21);
    files->SetText("合同清单.fr3");
    files->GetButton()->SetCaption("...");

    Sheet = new TDemoSheet(this);
    Sheet->SetName("Sheet");
    Sheet->SetParent(this);
    Sheet->SetAlign(alClient);
    Sheet->SetColor(clGray);
    Sheet->SetVertRange(600);
    Sheet->SetVertPage(300);
    Sheet->SetHorzRange(440);
    Sheet->SetHorzPage(400);
  }

  void DockTool()
  {
    auto* tool = new TForm(this);
    tool->SetName("Inspector");
    tool->SetCaption("对象检查器");
    tool->SetBounds(600, 200, 160, 260);
    tool->SetDragKind(dkDock);
    tool->Show();
    tool->ManualDock(Site);
  }

  // One line per bar whose place changed since the last call.
  void ReportBars()
  {
    for (TfrxToolBar* bar : {Standard, Format, Align}) {
      std::string line = "bar " + std::string(bar->GetName().c_str());
      if (bar->IsFloating() && bar->GetFloatWindow()) {
        TfrxFloatWindow* w = bar->GetFloatWindow();
        line += " float " + std::to_string(w->GetLeft()) + " " + std::to_string(w->GetTop());
      } else if (TfrxDock* dock = bar->GetDock())
        line += " dock " + std::string(dock->GetName().c_str()) + " " + std::to_string(bar->GetLeft()) + " " +
                std::to_string(bar->GetTop());
      std::string& last = Last[bar->GetName().c_str()];
      if (line != last) {
        last = line;
        Say(line);
      }
    }
  }

  void SayPlaces()
  {
    for (TControl* c : std::vector<TControl*>{TopDock, LeftDock, Standard, Format, Align, Fonts, Zoom}) SayPlace(c);
  }

  TfrxDock *TopDock, *BottomDock, *LeftDock;
  TfrxToolBar *Standard, *Format, *Align;
  TfrxFontComboBox* Fonts;
  TfrxComboBox* Zoom;
  TfrxDockSite* Site;
  TDemoSheet* Sheet;
  std::map<std::string, std::string> Last;

private:
  TfrxDock* MakeDock(const char* Name, TAlign Where)
  {
    auto* dock = new TfrxDock(this);
    dock->SetName(Name);
    dock->SetParent(this);
    dock->SetAlign(Where);
    dock->AdjustBounds();
    return dock;
  }
  TfrxToolBar* MakeBar(const char* Name, const char* Caption, std::vector<const char*> Buttons, TfrxDock* Dock)
  {
    auto* bar = new TfrxToolBar(this);
    bar->SetName(Name);
    bar->SetCaption(Caption);
    bar->SetParent(Dock);
    int x = 100;
    for (const char* text : Buttons) {
      auto* b = new TSpeedButton(this);
      b->SetParent(bar);
      b->SetFlat(true);
      b->SetBounds(x, 1, 23, 22);
      b->SetCaption(text);
      x += 23;
    }
    bar->AddToDock(Dock);
    return bar;
  }
};

void TakeShot() { Demo::TakeShot(gShotPath); }

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "report_controls_demo.png";
  if (argc > 1) {
    std::string dir = gShotPath.substr(0, gShotPath.find_last_of('/') + 1);
    Registry::SetStoreFile((dir + "registry").c_str());
  }
  if (!Demo::StartDesktop()) return 2;
  Forms::InitializeApplication();
  StdCtrls::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  app->SetTitle("澜岳合同管理系统");
  TDemoForm* form = nullptr;
  app->CreateForm(form);
  form->Show();
  form->DockTool();
  app->ProcessMessages();
  form->SayPlaces();
  form->ReportBars();
  app->OnIdle = [form](TObject*, bool&) { form->ReportBars(); };
  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F12) return;
    handled = true;
    TakeShot();
    Forms::Application->Terminate();
  };
  Say("ready");
  app->Run();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
