// The gallery of the standard controls on the desktop back end: a main menu, a list of pages on
// the left and one page per group of controls on the right (buttons, edits, lists, panels and
// graphics, tree view, grid). A new group is one more entry in kPages.
//
// It reports what happens on standard output, one line each, so that a script can drive it (the
// Xvfb test does): "ready", "place <name> x y w h" for the controls a script clicks (screen
// coordinates), "click <name>", "text <name> <CP936 hex>", "select <name> <index>", "menu
// <caption>", "popup", "answer <modal result>", "page <index>", "opening" and "opened <CP936
// hex of the file name>" around the open dialog (it starts in the folder given as the second
// argument). F12 saves a screenshot taken
// through the back end to the path given as the first argument and ends the program.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/commctrl/CommCtrl.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/buttons/BitBtn.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/RadioGroup.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/grids/DrawGrid.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/panels/Bevel.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/ScrollBar.h"
#include "platform/stdctrls/panels/ScrollBox.h"
#include "platform/stdctrls/panels/Shape.h"
#include "platform/stdctrls/panels/Splitter.h"
#include "platform/stdctrls/toolbars/ToolBar.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/menu/Menus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

std::string gShotPath;
AnsiString gFilesDir;  // where the open dialog starts (the second argument)

void Say(const std::string& Line)
{
  std::printf("%s\n", Line.c_str());
  std::fflush(stdout);
}

std::string Hex(const AnsiString& S)
{
  std::string out;
  char buf[4];
  for (unsigned char c : S) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    out += buf;
  }
  return out;
}

// Reports where a control is on the screen, for the script's clicks.
void SayPlace(TControl* C)
{
  POINT p = C->ClientToScreen(POINT{0, 0});
  Say("place " + std::string(C->GetName().c_str()) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " " +
      std::to_string(C->GetWidth()) + " " + std::to_string(C->GetHeight()));
}

template <class T>
T* Make(TWinControl* Parent, const char* Name, int X, int Y, int W, int H, const char* Caption = nullptr)
{
  auto* c = new T(Parent->GetOwner() ? Parent->GetOwner() : Parent);
  c->SetName(Name);
  c->SetParent(Parent);
  c->SetBounds(X, Y, W, H);
  if (Caption) c->SetCaption(Caption);
  return c;
}

void ReportClicks(TControl* C)
{
  C->OnClick = [C](TObject*) { Say("click " + std::string(C->GetName().c_str())); };
}

// A 16x16 picture in one colour with a dark frame, for glyphs and images.
void MakeSquare(TBitmap* Bitmap, TColor Color)
{
  Bitmap->SetSize(16, 16);
  TCanvas* c = Bitmap->GetCanvas();
  c->GetBrush()->SetColor(Color);
  c->GetPen()->SetColor(clNavy);
  c->Rectangle(0, 0, 16, 16);
}

// ---- The pages ---------------------------------------------------------------------------------

void ButtonsPage(TWinControl* Page)
{
  auto* plain = Make<TButton>(Page, "Button1", 16, 16, 90, 25, "确定(&O)");
  ReportClicks(plain);
  auto* ask = Make<TButton>(Page, "AskButton", 116, 16, 90, 25, "询问(&A)...");
  ask->OnClick = [](TObject*) {
    Say("asking");
    int answer = Dialogs::MessageDlg("要保存对合同的修改吗?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0);
    Say("answer " + std::to_string(answer));
  };
  Make<TButton>(Page, "Disabled", 216, 16, 90, 25, "不可用")->SetEnabled(false);
  auto* open = Make<TButton>(Page, "OpenButton", 16, 266, 90, 25, "打开(&P)...");
  open->OnClick = [](TObject*) {
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("打开合同");
    dialog.SetInitialDir(gFilesDir);
    dialog.SetFilter("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
    dialog.SetOptions(TOpenOptions{ofFileMustExist});
    dialog.OnShow = [](TObject*) { Say("opening"); };
    if (dialog.Execute())
      Say("opened " + Hex(SysUtils::ExtractFileName(dialog.GetFileName())));
    else
      Say("open cancelled");
  };

  TBitmap glyph;
  MakeSquare(&glyph, clLime);
  auto* bit = Make<TBitBtn>(Page, "BitBtn1", 16, 52, 90, 27, "保存");
  bit->SetGlyph(&glyph);
  ReportClicks(bit);
  auto* kind = Make<TBitBtn>(Page, "BitBtn2", 116, 52, 90, 27);
  kind->SetKind(bkCancel);
  for (int i = 0; i < 3; ++i) {
    auto* s = Make<TSpeedButton>(Page, ("Speed" + std::to_string(i + 1)).c_str(), 216 + i * 28, 52, 25, 25);
    s->SetGlyph(&glyph);
    s->SetGroupIndex(1);
    s->SetFlat(i == 2);
    if (i == 0) s->SetDown(true);
  }

  auto* check = Make<TCheckBox>(Page, "Check1", 16, 92, 130, 17, "已签订(&S)");
  ReportClicks(check);
  auto* grey = Make<TCheckBox>(Page, "Check2", 16, 114, 130, 17, "部分付款");
  grey->SetAllowGrayed(true);
  grey->SetState(cbGrayed);
  auto* group = Make<TGroupBox>(Page, "Group1", 160, 88, 170, 90, "合同类型");
  Make<TRadioButton>(group, "Radio1", 10, 20, 140, 17, "采购合同")->SetChecked(true);
  Make<TRadioButton>(group, "Radio2", 10, 42, 140, 17, "销售合同");
  Make<TRadioButton>(group, "Radio3", 10, 64, 140, 17, "服务合同");
  auto* radios = Make<TRadioGroup>(Page, "RadioGroup1", 16, 188, 314, 70, "付款方式");
  radios->SetColumns(3);
  radios->GetItems()->SetText("现金\r\n支票\r\n汇款\r\n承兑汇票\r\n其他");
  radios->SetItemIndex(1);
  SayPlace(plain);
  SayPlace(ask);
  SayPlace(check);
  SayPlace(open);
}

void EditsPage(TWinControl* Page)
{
  auto* label = Make<TLabel>(Page, "EditLabel", 16, 20, 0, 0, "合同名称(&N):");
  auto* edit = Make<TEdit>(Page, "Edit1", 110, 16, 220, 21);
  edit->OnChange = [edit](TObject*) { Say("text Edit1 " + Hex(edit->GetText())); };
  label->SetFocusControl(edit);
  Make<TLabel>(Page, "MaskLabel", 16, 52, 0, 0, "签订日期:");
  auto* mask = Make<TMaskEdit>(Page, "MaskEdit1", 110, 48, 120, 21);
  mask->SetEditMask("!9999-99-99;1;_");
  Make<TLabel>(Page, "PasswordLabel", 16, 84, 0, 0, "口令:");
  auto* password = Make<TEdit>(Page, "Password", 110, 80, 120, 21);
  password->SetPasswordChar('*');
  password->SetText("secret");
  auto* memo = Make<TMemo>(Page, "Memo1", 16, 116, 314, 120);
  memo->GetLines()->SetText("合同备注:\r\n第一行\r\n第二行");
  memo->SetScrollBars(ssVertical);
  memo->OnChange = [memo](TObject*) { Say("text Memo1 " + Hex(memo->GetText())); };
  SayPlace(edit);
  SayPlace(memo);
}

void ListsPage(TWinControl* Page)
{
  auto* combo = Make<TComboBox>(Page, "Combo1", 16, 16, 200, 21);
  for (const char* s : {"合同", "合作协议", "客户", "供应商", "付款计划"}) combo->GetItems()->Add(s);
  combo->OnChange = [combo](TObject*) { Say("select Combo1 " + std::to_string(combo->GetItemIndex())); };
  combo->OnSelect = combo->OnChange;
  // The list opens below the field: where its third line will be.
  combo->OnDropDown = [combo](TObject*) {
    int h = int(Windows::SendMessage(ComboBox::ListOf(combo->GetHandle()), LB_GETITEMHEIGHT, 0, 0));
    POINT p = combo->ClientToScreen(POINT{combo->GetWidth() / 2, combo->GetHeight() + 1 + 2 * h + h / 2});
    Say("dropped " + std::to_string(p.x) + " " + std::to_string(p.y));
  };
  auto* fixed = Make<TComboBox>(Page, "Combo2", 226, 16, 104, 21);
  fixed->SetStyle(csDropDownList);
  for (const char* s : {"人民币", "美元", "欧元"}) fixed->GetItems()->Add(s);
  fixed->SetItemIndex(0);
  auto* list = Make<TListBox>(Page, "List1", 16, 50, 150, 180);
  for (int i = 1; i <= 20; ++i) list->GetItems()->Add(AnsiString("合同 ") + std::to_string(i).c_str());
  list->SetItemIndex(2);
  auto* multi = Make<TListBox>(Page, "List2", 180, 50, 150, 180);
  multi->SetMultiSelect(true);
  for (const char* s : {"甲方", "乙方", "丙方", "担保方"}) multi->GetItems()->Add(s);
  multi->SetSelected(0, true);
  multi->SetSelected(2, true);
  SayPlace(combo);
}

void PanelsPage(TWinControl* Page)
{
  auto* top = Make<TPanel>(Page, "TopPanel", 0, 0, 0, 34, "凸起的面板");
  top->SetAlign(alTop);
  auto* label = Make<TLabel>(top, "TopLabel", 8, 10, 0, 0, "标签");
  label->SetTransparent(true);
  auto* left = Make<TPanel>(Page, "LeftPanel", 0, 0, 110, 0, "左侧");
  left->SetAlign(alLeft);
  left->SetBevelOuter(bvLowered);
  auto* splitter = Make<TSplitter>(Page, "Splitter1", 111, 0, 4, 0);
  splitter->SetBeveled(true);
  auto* box = Make<TScrollBox>(Page, "ScrollBox1", 0, 0, 0, 0);
  box->SetAlign(alClient);
  Make<TBevel>(box, "Bevel1", 8, 8, 200, 4)->SetShape(bsTopLine);
  int x = 8;
  for (int s = stRectangle; s <= stCircle; ++s) {
    auto* shape = Make<TShape>(box, ("Shape" + std::to_string(s)).c_str(), x, 20, 34, 26);
    shape->SetShape(TShapeType(s));
    shape->GetBrush()->SetColor(s % 2 ? clAqua : clYellow);
    x += 38;
  }
  TBitmap picture;
  picture.SetSize(48, 24);
  picture.GetCanvas()->GetBrush()->SetColor(clRed);
  picture.GetCanvas()->FillRect(RECT{0, 0, 24, 24});
  picture.GetCanvas()->GetBrush()->SetColor(clBlue);
  picture.GetCanvas()->FillRect(RECT{24, 0, 48, 24});
  auto* image = Make<TImage>(box, "Image1", 8, 56, 96, 60);
  image->GetPicture()->Assign(&picture);
  image->SetStretch(true);
  image->SetProportional(true);
  auto* frame = Make<TBevel>(box, "Bevel2", 112, 56, 96, 60);
  frame->SetShape(bsFrame);
  auto* wrapped = Make<TLabel>(box, "BoxLabel", 118, 62, 84, 48, "滚动框中的自动换行标签");
  wrapped->SetAutoSize(false);
  wrapped->SetBounds(118, 62, 84, 48);
  wrapped->SetWordWrap(true);
  auto* bar = Make<TScrollBar>(box, "ScrollBar1", 8, 126, 200, 17);
  bar->SetPageSize(10);
  bar->SetPosition(40);
  Make<TLabel>(box, "FarLabel", 8, 300, 0, 0, "滚到下面才看得见");
}

void TreePage(TWinControl* Page)
{
  auto* tree = Make<TTreeView>(Page, "Tree1", 16, 16, 314, 240);
  TTreeNodes* nodes = tree->GetItems();
  TTreeNode* contracts = nodes->Add(nullptr, "合同管理");
  nodes->AddChild(contracts, "采购合同");
  nodes->AddChild(contracts, "销售合同");
  TTreeNode* clients = nodes->Add(nullptr, "客户管理");
  nodes->AddChild(clients, "客户资料");
  contracts->SetExpanded(true);
}

// A string grid that reports its edited cells and sized columns.
class TGalleryGrid : public TStringGrid {
public:
  using TStringGrid::TStringGrid;

protected:
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override
  {
    TStringGrid::SetEditText(ACol, ARow, Value);
    Say("cell " + std::to_string(ACol) + " " + std::to_string(ARow) + " " + Hex(Value));
  }
  void ColWidthsChanged() override
  {
    TStringGrid::ColWidthsChanged();
    for (int c = 0; c < GetColCount(); ++c)
      if (GetColWidths(c) != GetDefaultColWidth())
        Say("colwidth " + std::to_string(c) + " " + std::to_string(GetColWidths(c)));
  }
};

void GridPage(TWinControl* Page)
{
  auto* grid = Make<TGalleryGrid>(Page, "Grid1", 16, 16, 314, 240);
  grid->SetColCount(5);
  grid->SetRowCount(30);
  grid->SetDefaultRowHeight(20);
  grid->SetDefaultColWidth(70);
  grid->SetColWidths(0, 28);
  grid->SetOptions(grid->GetOptions() + TGridOptions{goEditing, goColSizing, goTabs});
  const char* titles[] = {"", "编号", "合同名称", "金额", "签订日期"};
  for (int c = 1; c < 5; ++c) grid->SetCells(c, 0, titles[c]);
  for (int r = 1; r < 30; ++r) {
    grid->SetCells(0, r, std::to_string(r));
    grid->SetCells(1, r, "HT-" + std::to_string(1000 + r));
  }
  grid->OnMouseDown = [grid](TObject*, TMouseButton, TShiftState, int, int) {
    if (grid->GetGridState() == gsColSizing) Say("sizing Grid1");
  };
  SayPlace(grid);
  // Where a script types (the middle of cell 2,1) and where it sizes column 2 (its title's edge).
  RECT cell = grid->CellRect(2, 1);
  POINT mid = grid->ClientToScreen(POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
  Say("cell-at Grid1 " + std::to_string(mid.x) + " " + std::to_string(mid.y));
  RECT title = grid->CellRect(2, 0);
  POINT edge = grid->ClientToScreen(POINT{title.right, (title.top + title.bottom) / 2});
  Say("edge Grid1 " + std::to_string(edge.x) + " " + std::to_string(edge.y));
}

void ToolBarPage(TWinControl* Page)
{
  auto* images = new TImageList(Page);
  for (TColor c : {clLime, clAqua, clYellow, clFuchsia}) {
    TBitmap b;
    MakeSquare(&b, c);
    images->Add(&b, nullptr);
  }
  auto* bar = Make<TToolBar>(Page, "ToolBar1", 0, 0, 0, 0);
  bar->SetAlign(alTop);
  bar->SetImages(images);
  bar->SetShowCaptions(true);
  bar->SetButtonWidth(64);
  bar->SetButtonHeight(38);
  auto* menu = new TPopupMenu(Page);
  menu->OnPopup = [](TObject*) { Say("dropdown"); };
  for (const char* caption : {"采购合同", "销售合同", "服务合同"}) {
    auto* item = new TMenuItem(Page);
    item->SetCaption(caption);
    item->OnClick = [item](TObject*) { Say("menu " + Hex(item->GetCaption())); };
    menu->GetItems()->Add(item);
  }
  // Added right to left: a new button goes before the ones there.
  auto button = [&](const char* Name, const char* Caption, TToolButtonStyle Style, int Image) {
    auto* b = new TToolButton(Page);
    b->SetName(Name);
    b->SetCaption(Caption);
    b->SetStyle(Style);
    b->SetImageIndex(Image);
    b->SetLeft(1000);
    b->SetParent(bar);
    return b;
  };
  auto* add = button("DropButton", "新建", tbsDropDown, 0);
  add->SetDropdownMenu(menu);
  add->OnClick = [](TObject*) { Say("click DropButton"); };
  button("Sep1", "", tbsSeparator, -1);
  for (const char* name : {"ViewList", "ViewDetail"}) {
    auto* b = button(name, name[4] == 'L' ? "列表" : "详细", tbsCheck, name[4] == 'L' ? 1 : 2);
    b->SetGrouped(true);
    b->OnClick = [b](TObject*) { Say("click " + std::string(b->GetName().c_str())); };
  }
  button("Disabled1", "删除", tbsButton, 3)->SetEnabled(false);
  SayPlace(add);
}

// A dock site and a tool window floating beside the gallery, to be dragged in by its caption.
void DockPage(TWinControl* Page)
{
  auto* site = Make<TPanel>(Page, "DockSite1", 16, 16, 300, 220, "");
  site->SetDockSite(true);
  site->SetBevelOuter(bvLowered);
  site->OnDockDrop = [](TObject*, TDragDockObject* Source, int, int) {
    Say("docked " + std::string(Source->GetControl()->GetName().c_str()));
  };
  auto* tool = new TPanel(Page);
  tool->SetName("ToolWindow1");
  tool->SetCaption("工具窗口");
  tool->SetBounds(0, 0, 160, 110);
  tool->SetDragKind(dkDock);
  tool->SetDragMode(dmAutomatic);
  // Right of the gallery's window, where it covers nothing a script clicks.
  TCustomForm* form = Page->GetParentForm();
  RECT fr = form ? form->GetBoundsRect() : RECT{0, 0, 600, 100};
  tool->ManualFloat(RECT{fr.right + 20, fr.top + 60, fr.right + 180, fr.top + 170});
  SayPlace(site);
  // Where a script grabs the floating window: its caption, left of the close button.
  if (TWinControl* host = tool->GetHostDockSite()) {
    RECT r = host->GetBoundsRect();
    Say("caption ToolWindow1 " + std::to_string(r.left + 30) + " " + std::to_string(r.top + 8));
  }
}

struct TPage {
  const char* Caption;
  void (*Build)(TWinControl* Page);
};

const TPage kPages[] = {
    {"按钮", ButtonsPage}, {"编辑框", EditsPage}, {"列表", ListsPage},     {"面板与图形", PanelsPage},
    {"树", TreePage},      {"表格", GridPage},    {"工具栏", ToolBarPage}, {"停靠", DockPage},
};

// ---- The main form -----------------------------------------------------------------------------

class TGalleryForm : public TForm {
public:
  explicit TGalleryForm(TComponent* AOwner) : TForm(AOwner)
  {
    SetCaption("标准控件");
    SetBounds(40, 40, 560, 400);
    GetFont()->SetName("宋体");
    GetFont()->SetSize(9);
    BuildMenus();
    auto* pages = Make<TListBox>(this, "Pages", 0, 0, 100, 0);
    pages->SetAlign(alLeft);
    auto* host = Make<TPanel>(this, "Host", 0, 0, 0, 0, "");
    host->SetAlign(alClient);
    host->SetBevelOuter(bvNone);
    for (const TPage& p : kPages) {
      pages->GetItems()->Add(p.Caption);
      auto* page = Make<TPanel>(host, ("Page" + std::to_string(FPages.size())).c_str(), 0, 0, 0, 0, "");
      page->SetAlign(alClient);
      page->SetBevelOuter(bvNone);
      page->SetVisible(false);
      FPages.push_back(page);
    }
    pages->OnClick = [this, pages](TObject*) { ShowPage(pages->GetItemIndex()); };
    FPageList = pages;
  }

  // Builds every page (their controls report their places), then shows the first.
  void BuildPages()
  {
    for (size_t i = 0; i < FPages.size(); ++i) {
      FPages[i]->SetVisible(true);
      kPages[i].Build(FPages[i]);
      FPages[i]->SetVisible(false);
    }
    FPageList->SetItemIndex(0);
    ShowPage(0);
    SayPlace(FPageList);
    RECT file;
    Windows::GetMenuItemRect(GetHandle(), FMainMenu->GetHandle(), 0, &file);
    Say("place FileMenu " + std::to_string(file.left) + " " + std::to_string(file.top) + " " +
        std::to_string(file.right - file.left) + " " + std::to_string(file.bottom - file.top));
  }

  void ShowPage(int Index)
  {
    if (Index < 0 || Index >= int(FPages.size())) return;
    for (size_t i = 0; i < FPages.size(); ++i) FPages[i]->SetVisible(int(i) == Index);
    Say("page " + std::to_string(Index));
  }

private:
  void BuildMenus()
  {
    auto* menu = new TMainMenu(this);
    auto item = [this](TMenuItem* Parent, const char* Caption, TShortCut Key = 0) {
      auto* i = new TMenuItem(this);
      i->SetCaption(Caption);
      i->SetShortCut(Key);
      i->OnClick = [i](TObject*) { Say("menu " + Hex(i->GetCaption())); };
      Parent->Add(i);
      return i;
    };
    TMenuItem* file = item(menu->GetItems(), "文件(&F)");
    item(file, "新建(&N)", scCtrl | 'N');
    item(file, "保存(&S)", scCtrl | 'S');
    item(file, "-");
    TMenuItem* quit = item(file, "退出(&X)");
    quit->OnClick = [](TObject*) { Say("menu quit"); };
    TMenuItem* edit = item(menu->GetItems(), "编辑(&E)");
    item(edit, "复制(&C)", scCtrl | 'C')->SetChecked(true);
    item(edit, "粘贴(&P)", scCtrl | 'V')->SetEnabled(false);
    SetMenu(menu);

    auto* popup = new TPopupMenu(this);
    popup->OnPopup = [](TObject*) { Say("popup"); };
    item(popup->GetItems(), "刷新(&R)");
    item(popup->GetItems(), "属性(&P)");
    FPopup = popup;
    FMainMenu = menu;
  }

public:
  // The page list carries the pop-up menu.
  void AttachPopup() { FPageList->SetPopupMenu(FPopup); }

private:
  TMainMenu* FMainMenu = nullptr;
  TPopupMenu* FPopup = nullptr;
  TListBox* FPageList = nullptr;
  std::vector<TPanel*> FPages;
};

void TakeShot() { Say(SdlBackend::SaveScreenshot(gShotPath) ? "shot" : "shot failed"); }

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "stdctrls_gallery.png";
  gFilesDir = argc > 2 ? System::Utf8ToAnsi(argv[2]) : AnsiString(".");
  std::string err;
  if (!SdlBackend::Start(&err)) {
    std::fprintf(stderr, "no display: %s\n", err.c_str());
    return 2;
  }
  Forms::InitializeApplication();
  StdCtrls::Initialize();
  Menus::Initialize();
  Dialogs::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  app->SetTitle("澜岳合同管理系统");
  TGalleryForm* form = nullptr;
  app->CreateForm(form);
  form->Show();
  form->AttachPopup();
  form->BuildPages();
  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F12) return;
    handled = true;
    TakeShot();
    Forms::Application->Terminate();
  };
  Say("ready");
  app->Run();
  Dialogs::Finalize();
  Menus::Finalize();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
