#include "ui/Main.h"

#include "core/Company.h"
#include "core/Database.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/Startup.h"
#include "core/forms/About.h"
#include "core/forms/Feedback.h"
#include "core/forms/Tips.h"
#include "core/qxProj.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/forms/app/Application.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FormatText.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/menus/ShortCuts.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/sys/ShellApi.h"
#include "ui/Desktop.h"
#include "ui/Login.h"

namespace MainWindow {

TDesktopFrm* DesktopFrm = nullptr;
AnsiString ProgramDir;

TService<std::function<void()>>& PlannedBackup()
{
  static TService<std::function<void()>> Slot(std::make_unique<std::function<void()>>([] {}));
  return Slot;
}

}  // namespace MainWindow

namespace {

const char* const TipTexts[] = {
    "在所有录入和编辑界面中,敲回车可将焦点移到下一个框内",
    "在所有录入和编辑界面中,“Ctrl+回车”相当于按“确定”按纽",
    "在所有模式窗体中,按ESC键相当于按“取消”按纽退出该窗体",
    "双击列表中的某记录可自动弹出相应的编辑界面或其详情界面",
    "所有打印都是可以自定义的，请点开“打印设计”来操作",
    "数据都可以选择特定列来导出到文本文件、Excel、网页和CSV文件格式",
    "在所有窗体上按F1键可打开相应的帮助",
};

}  // namespace

TMenuItem* TmainFrm::AddItem(TMenuItem* Parent, const char* Name, const char* Caption, TNotifyEvent Click)
{
  auto* item = new TMenuItem(this);
  if (Name) item->SetName(Name);
  item->SetCaption(Caption);
  item->OnClick = std::move(Click);
  Parent->Add(item);
  return item;
}

TMenuItem* TmainFrm::AddSeparator(TMenuItem* Parent) { return AddItem(Parent, nullptr, "-"); }

TmainFrm::TmainFrm(TComponent* AOwner) : TaFrm(AOwner, fsMDIForm)
{
  SetName("mainFrm");
  SetBounds(0, 0, 800, 600);
  auto on = [this](void (TmainFrm::*Handler)(TObject*)) {
    return TNotifyEvent([this, Handler](TObject* S) { (this->*Handler)(S); });
  };
  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  TMenuItem* root = MainMenu1->GetItems();

  mnuFile1 = AddItem(root, "mnuFile1", "文件(&F)");
  miCompany1 = AddItem(mnuFile1, "miCompany1", "公司信息", on(&TmainFrm::miCompany1Click));
  N1 = AddItem(mnuFile1, "N1", "部门设置");
  N38 = AddItem(mnuFile1, "N38", "操作员及权限");
  N4 = AddItem(mnuFile1, "N4", "选项");
  AddSeparator(mnuFile1);
  N39 = AddItem(mnuFile1, "N39", "初始化数据...");
  N35 = AddItem(mnuFile1, "N35", "自动备份与恢复");
  miUpgrade1 = AddItem(mnuFile1, "miUpgrade1", "数据库升级...");
  AddSeparator(mnuFile1);
  N40 = AddItem(mnuFile1, "N40", "重新登陆", [this](TObject*) { LoginAndOpenDesktop(); });
  N9 = AddItem(mnuFile1, "N9", "更改我的登陆密码", on(&TmainFrm::N9Click));
  AddSeparator(mnuFile1);
  N41 = AddItem(mnuFile1, "N41", "退出系统", [this](TObject*) { Close(); });
  // Their dialogs are not part of the program yet.
  for (TMenuItem* waiting : {N1, N38, N4, N39, N35, miUpgrade1}) waiting->SetEnabled(false);

  mnuTools1 = AddItem(root, "mnuTools1", "工具(&T)");
  N16 = AddItem(mnuTools1, "N16", "记事本", on(&TmainFrm::N16Click));
  N17 = AddItem(mnuTools1, "N17", "计算器", on(&TmainFrm::N17Click));
  AddSeparator(mnuTools1);
  N19 = AddItem(mnuTools1, "N19", "配置...");
  N19->SetEnabled(false);
  AddSeparator(mnuTools1);

  mnuDocs1 = AddItem(root, "mnuDocs1", "文档(&D)");
  N2 = AddItem(mnuDocs1, "N2", "文档管理...");
  N2->SetEnabled(false);
  AddSeparator(mnuDocs1);

  W1 = AddItem(root, "W1", "窗口(&W)", on(&TmainFrm::W1Click));
  miTitleBar1 = AddItem(W1, "miTitleBar1", "标题栏");
  miTitleBar1->SetChecked(true);
  miNavBar1 = AddItem(W1, "miNavBar1", "导航栏");
  miNavBar1->SetChecked(true);
  miStatusBar1 = AddItem(W1, "miStatusBar1", "状态栏", on(&TmainFrm::miStatusBar1Click));
  miStatusBar1->SetChecked(true);
  AddSeparator(W1);
  AddItem(W1, "N52", "重叠", [this](TObject*) { Cascade(); });
  AddItem(W1, "N53", "水平平铺", [this](TObject*) {
    SetTileMode(tbHorizontal);
    Tile();
  });
  AddItem(W1, "N54", "垂直平铺", [this](TObject*) {
    SetTileMode(tbVertical);
    Tile();
  });
  AddSeparator(W1);
  auto eachChild = [this](auto Action) {
    return TNotifyEvent([this, Action](TObject*) {
      for (int i = GetMDIChildCount() - 1; i >= 0; --i) Action(GetMDIChildren(i));
    });
  };
  AddItem(W1, "N57", "全部最小化", eachChild([](TCustomForm* F) { F->SetWindowState(wsMinimized); }));
  AddItem(W1, "N58", "全部最大化", eachChild([](TCustomForm* F) { F->SetWindowState(wsMaximized); }));
  AddItem(W1, "N56", "全部还原", eachChild([](TCustomForm* F) { F->SetWindowState(wsNormal); }));
  AddSeparator(W1);
  AddItem(W1, "N60", "全部关闭", eachChild([](TCustomForm* F) { F->Close(); }));
  AddSeparator(W1);

  mnuHelp1 = AddItem(root, "mnuHelp1", "帮助(&H)");
  N11 = AddItem(mnuHelp1, "N11", "帮助文件", [this](TObject*) { ShowHelp(AnsiString()); });
  N11->SetShortCut(Menus::ShortCut(VK_F1, TShiftState{ssCtrl}));
  miTip1 = AddItem(mnuHelp1, "miTip1", "每日一贴", on(&TmainFrm::miTip1Click));
  N22 = AddItem(mnuHelp1, "N22", "常见问题", [this](TObject*) { ShowHelp("faq"); });
  AddSeparator(mnuHelp1);
  AddItem(mnuHelp1, "N24", "自述文件", [](TObject*) { TProject::ShowReadme(); });
  AddItem(mnuHelp1, "N25", "最新功能", [](TObject*) { TProject::ShowWhatsNew(); });
  AddSeparator(mnuHelp1);
  N26 = AddItem(mnuHelp1, "N26", "在线反馈", on(&TmainFrm::N26Click));
  AddItem(mnuHelp1, "N27", "浏览官方网站", [](TObject*) { TProject::OpenWebSite(); });
  AddItem(mnuHelp1, "N28", "发送电子邮件给作者", [](TObject*) { TProject::MailSupport(); });
  AddSeparator(mnuHelp1);
  N30 = AddItem(mnuHelp1, "N30", "关于...", on(&TmainFrm::N30Click));
  // Menus merged from MDI children go between "文件(&F)" and these.
  for (TMenuItem* m : {mnuTools1, mnuDocs1, W1, mnuHelp1}) m->SetGroupIndex(2);
  SetMenu(MainMenu1);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  static const int PanelWidths[4] = {200, 120, 100, 100};
  for (int w : PanelWidths) StatusBar1->GetPanels()->Add()->SetWidth(w);
  StatusBar1->OnResize = [this](TObject* S) { StatusBar1Resize(S); };
  StatusBar1->SetParent(this);

  SetPanelText(0, System::WideToAnsi(Database::GlobalDB->GetDataSource()));
  SetCaption(SysUtils::Format("%s - %s", {qxProj::ProductName, qxProj::ProductVersion}));
  RebuildToolsMenu();
  RebuildDocsMenu();
}

void TmainFrm::SetPanelText(int Index, const AnsiString& Text)
{
  StatusBar1->GetPanels()->GetItems(Index)->SetText(Text);
}

AnsiString TmainFrm::GetPanelText(int Index) const { return StatusBar1->GetPanels()->GetItems(Index)->GetText(); }

void TmainFrm::DoShow()
{
  TaFrm::DoShow();
  Forms::Application->SetTitle(qxProj::ProductName);
  SetCaption(SysUtils::Format("%s - %s", {qxProj::ProductName, qxProj::ProductVersion}));
}

void TmainFrm::DoClose(TCloseAction& Action)
{
  TaFrm::DoClose(Action);
  Hide();
  if (qxProj::KeyValues->GetFeedbackPrompt()) {
    std::unique_ptr<TFeedbackFrm> Feedback = std::make_unique<TFeedbackFrm>(Forms::Application);
    Feedback->ShowModal();
  }
  MainWindow::PlannedBackup().Current()();
  Database::GlobalDB->SetConnected(false);
}

// Panel 0 takes what the other three leave.
void TmainFrm::StatusBar1Resize(TObject*)
{
  TStatusPanels* panels = StatusBar1->GetPanels();
  int rest = StatusBar1->GetWidth();
  for (int i = 1; i < panels->GetCount(); ++i) rest -= panels->GetItems(i)->GetWidth();
  panels->GetItems(0)->SetWidth(std::max(0, rest));
}

bool TmainFrm::LoginAndOpenDesktop()
{
  int Result;
  {
    std::unique_ptr<TLoginFrm> Dialog = std::make_unique<TLoginFrm>(nullptr, MainWindow::ProgramDir);
    Result = Dialog->ShowModal();
  }
  if (Result != mrOk) return false;
  SetPanelText(1, qxProj::CurrentOperator->LoginId);
  if (MainWindow::DesktopFrm)
    MainWindow::DesktopFrm->Refresh();
  else
    MainWindow::DesktopFrm = new TDesktopFrm(this);
  return true;
}

void TmainFrm::RebuildRowItems(TMenuItem* Menu, int Keep, const char16_t* Sql)
{
  while (Menu->GetCount() > Keep + 1) Menu->Delete(Menu->GetCount() - 1);
  TRecordSet& Set = *Database::ScratchSet;
  Set.OpenSql(Sql);
  TADODataSet* D = Set.GetDataSet();
  for (D->First(); !D->GetEof(); D->Next()) {
    auto* item = new TMenuItem(this);
    item->SetCaption(D->FieldByName("Title")->GetAsString());
    item->SetTag(D->FieldByName("Id")->GetAsInteger());
    item->SetHint(D->FieldByName("Note")->GetAsString());
    // Running and opening them comes with the tools and documents dialogs.
    item->SetEnabled(false);
    Menu->Add(item);
  }
  D->Close();
}

void TmainFrm::RebuildToolsMenu()
{
  RebuildRowItems(mnuTools1, 4, u"select Id,GroupId,Title,lpFile,lpParameters,Note from link order by Id");
}

void TmainFrm::RebuildDocsMenu() { RebuildRowItems(mnuDocs1, 1, u"select * from doc order by Id"); }

void TmainFrm::miCompany1Click(TObject*)
{
  qxProj::CurrentOperator->CheckRight(10000, true);
  qxProj::Company->Edit(false);
}

void TmainFrm::miTip1Click(TObject*)
{
  std::unique_ptr<TTipsFrm> Tips = std::make_unique<TTipsFrm>(this);
  for (const char* tip : TipTexts) Tips->AddTip(tip);
  Tips->Button1->Click();
  Tips->ShowModal();
}

void TmainFrm::N9Click(TObject*) { qxProj::CurrentOperator->ChangePassword(); }

void TmainFrm::N26Click(TObject*)
{
  std::unique_ptr<TFeedbackFrm> Feedback = std::make_unique<TFeedbackFrm>(this);
  Feedback->ShowModal();
}

void TmainFrm::N30Click(TObject*)
{
  std::unique_ptr<TaboutFrm> About = std::make_unique<TaboutFrm>(this);
  About->ShowModal();
}

void TmainFrm::N16Click(TObject*) { ShellApi::WinExec("NotePad.exe", ShellApi::SW_SHOWNORMAL); }

void TmainFrm::N17Click(TObject*) { ShellApi::WinExec("calc.exe", ShellApi::SW_SHOWNORMAL); }

void TmainFrm::W1Click(TObject*)
{
  TCustomForm* active = GetActiveMDIChild();
  for (int i = GetMDIChildCount() - 1; i >= 0; --i) {
    TCustomForm* child = GetMDIChildren(i);
    TMenuItem* found = nullptr;
    for (int j = 0; j < W1->GetCount() && !found; ++j)
      if (W1->GetItem(j)->GetOwner() == child) found = W1->GetItem(j);
    if (found) {
      found->SetCaption(child->GetCaption());
      continue;
    }
    auto* item = new TMenuItem(child);
    item->SetCaption(child->GetCaption());
    item->SetChecked(child == active);
    item->OnClick = [this](TObject* S) { WindowItemClick(S); };
    W1->Add(item);
  }
  for (int j = 0; j < W1->GetCount(); ++j) {
    TMenuItem* item = W1->GetItem(j);
    auto* owner = dynamic_cast<TCustomForm*>(item->GetOwner());
    if (owner && owner != this) item->SetChecked(owner == active);
  }
  miStatusBar1->SetChecked(StatusBar1->GetVisible());
}

void TmainFrm::WindowItemClick(TObject* Sender)
{
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  if (auto* form = dynamic_cast<TCustomForm*>(item->GetOwner())) form->BringToFront();
}

void TmainFrm::miStatusBar1Click(TObject*) { StatusBar1->SetVisible(!miStatusBar1->GetChecked()); }
