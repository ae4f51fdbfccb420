// The application's windows on the headless desktop: the login, the main window's menus, window
// list and re-login, the navigation desktop, the exception box and the error report.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "core/Company.h"
#include "core/Http.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/PasswordHash.h"
#include "core/forms/CompanyInfo.h"
#include "core/forms/Feedback.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/comctrls/ListView.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/sys/Version.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/testsupport/LoopbackHttpServer.h"
#include "ui/Bugger.h"
#include "ui/Desktop.h"
#include "ui/DesktopTree.h"
#include "ui/Login.h"
#include "ui/Main.h"
#include "ui/Pub.h"

namespace {

class UiWindows : public CoreFormsFixture {
protected:
  void SetUp() override
  {
    CoreFormsFixture::SetUp();
    MainWindow::ProgramDir = Dir.c_str();
    qxProj::ProductName = "澜岳合同管理系统";
    qxProj::ProductVersion = "单机版 1.21.111231";
  }
  void TearDown() override
  {
    Main = nullptr;
    delete Pub::PubFrm;
    MainWindow::ProgramDir.clear();
    CoreFormsFixture::TearDown();
  }
  void AddOperator(const char* Id, const char* Password, const char* Rights)
  {
    Exec("insert into operator(LoginId, [Password], Name, Rights) values (:I, :P, :N, :R)",
         {Database::MakeParam("I", Id), Database::MakeParam("P", PasswordHash::Make(Password)),
          Database::MakeParam("N", Id), Database::MakeParam("R", Rights)});
  }
  // The data module and the main window, as the road makes them.
  void MakeWindows()
  {
    TPubFrm* pub = nullptr;
    Forms::Application->CreateForm(pub);
    Forms::Application->CreateForm(Main);
  }
  // Logs in through the dialog.
  bool LoginAs(const char* Id, const char* Password)
  {
    OnModal([=](TCustomForm* F) {
      auto* d = dynamic_cast<TLoginFrm*>(F);
      d->edtLoginId1->SetText(Id);
      d->edtPassword1->SetText(Password);
      d->OkBtn1->Click();
    });
    return Main->LoginAndOpenDesktop();
  }
  TmainFrm* Main = nullptr;
};

}  // namespace

// ---- Login -----------------------------------------------------------------------------------

TEST_F(UiWindows, LoginProposesTheLastIdAndListsEveryOperatorButSa)
{
  AddOperator("clerk", "1", ",1,");
  AddOperator("王五", "2", ",1,");
  {
    TLoginFrm first(nullptr, Dir.c_str());
    EXPECT_EQ(first.edtLoginId1->GetText(), "sa");  // no Login section yet
    EXPECT_EQ(first.edtLoginId1->GetItems()->GetText(), "clerk\r\n王五\r\n");
  }
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TLoginFrm*>(F);
    d->edtLoginId1->SetText("王五");
    d->edtPassword1->SetText("2");
    // Enter in the password box confirms.
    Word key = VK_RETURN;
    d->edtPassword1KeyDown(d->edtPassword1, key, TShiftState{});
  });
  {
    TLoginFrm dialog(nullptr, Dir.c_str());
    EXPECT_EQ(dialog.ShowModal(), mrOk);
  }
  EXPECT_EQ(qxProj::CurrentOperator->LoginId, "王五");
  EXPECT_EQ(Login::ReadLastLoginId(Dir.c_str()), "王五");
  TLoginFrm next(nullptr, Dir.c_str());
  EXPECT_EQ(next.edtLoginId1->GetText(), "王五");
}

TEST_F(UiWindows, RefusedLoginsKeepTheDialogOpenWithoutAMessage)
{
  AddOperator("clerk", "secret", ",1,");
  struct Attempt {
    const char* Id;
    const char* Password;
  } refused[] = {{"clerk", "wrong"}, {"nobody", "secret"}, {"nobody", ""}, {"", ""}};
  TLoginFrm dialog(nullptr, Dir.c_str());
  dialog.Show();
  for (const Attempt& a : refused) {
    dialog.edtLoginId1->SetText(a.Id);
    dialog.edtPassword1->SetText(a.Password);
    dialog.SetModalResult(mrOk);
    EXPECT_FALSE(dialog.CloseQuery()) << a.Id << "/" << a.Password;
    EXPECT_EQ(dialog.edtPassword1->GetSelLength(), int(AnsiString(a.Password).size()));
  }
  EXPECT_TRUE(qxProj::CurrentOperator->LoginId.empty());
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(Login::ReadLastLoginId(Dir.c_str()).empty());
  // "sa" is not listed but can be typed.
  dialog.edtLoginId1->SetText("sa");
  dialog.edtPassword1->SetText("");
  EXPECT_TRUE(dialog.CloseQuery());
  EXPECT_EQ(qxProj::CurrentOperator->LoginId, "sa");
  // Cancel needs no password.
  dialog.SetModalResult(mrCancel);
  EXPECT_TRUE(dialog.CloseQuery());
}

// ---- Main window -----------------------------------------------------------------------------

TEST_F(UiWindows, MainWindowShowsTheProductTheDatabaseAndTheOperator)
{
  MakeWindows();
  EXPECT_EQ(Main->GetCaption(), "澜岳合同管理系统 - 单机版 1.21.111231");
  EXPECT_EQ(Main->GetFormStyle(), fsMDIForm);
  EXPECT_EQ(Main->GetPanelText(0), File);
  EXPECT_EQ(Forms::Application->GetMainForm(), Main);
  ASSERT_TRUE(LoginAs("sa", ""));
  EXPECT_EQ(Main->GetPanelText(1), "sa");
  // Panel 0 takes the width the other three leave, also after a resize.
  TStatusPanels* panels = Main->StatusBar1->GetPanels();
  ASSERT_EQ(panels->GetCount(), 4);
  for (int width : {900, 500}) {
    Main->SetWidth(width);
    ASSERT_EQ(Main->StatusBar1->GetWidth(), Main->GetClientWidth());
    EXPECT_EQ(panels->GetItems(0)->GetWidth(), Main->GetClientWidth() - 320) << width;
  }
  ASSERT_NE(MainWindow::DesktopFrm, nullptr);
  EXPECT_EQ(MainWindow::DesktopFrm->GetOwner(), Main);
  // The entries whose dialogs are not there yet wait, disabled; the tools menu ends with its
  // separator while table link is empty.
  for (TMenuItem* waiting :
       {Main->N1, Main->N38, Main->N4, Main->N39, Main->N35, Main->miUpgrade1, Main->N19, Main->N2})
    EXPECT_FALSE(waiting->GetEnabled()) << waiting->GetCaption();
  EXPECT_EQ(Main->mnuTools1->GetCount(), 5);
  EXPECT_EQ(Main->mnuTools1->GetItem(4)->GetCaption(), "-");
  Exec("insert into link(GroupId, Title, Note) values (0, '计算器', '算账')");
  Main->RebuildToolsMenu();
  Main->RebuildToolsMenu();
  ASSERT_EQ(Main->mnuTools1->GetCount(), 6);
  EXPECT_EQ(Main->mnuTools1->GetItem(5)->GetCaption(), "计算器");
  EXPECT_EQ(Main->mnuTools1->GetItem(5)->GetHint(), "算账");
}

TEST_F(UiWindows, CompanyCommandNeedsRight10000)
{
  AddOperator("clerk", "", ",1,13,15,");
  AddOperator("boss", "", ",10000,");
  MakeWindows();
  ASSERT_TRUE(LoginAs("clerk", ""));
  // Aborted silently after the rights box: no dialog.
  EXPECT_THROW(Main->miCompany1Click(Main->miCompany1), EAbort);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find("(10000)"), AnsiString::npos);
  for (const char* id : {"boss", "sa"}) {
    ASSERT_TRUE(LoginAs(id, ""));
    bool shown = false;
    OnModal([&](TCustomForm* F) {
      shown = dynamic_cast<TCompanyInfoFrm*>(F) != nullptr;
      F->SetModalResult(mrCancel);
    });
    Main->miCompany1Click(Main->miCompany1);
    EXPECT_TRUE(shown) << id;
  }
  EXPECT_EQ(StepsLeft(), 0u);
}

TEST_F(UiWindows, WindowListNamesEveryChildOnceWithItsCaption)
{
  MakeWindows();
  Main->Show();
  ASSERT_TRUE(LoginAs("sa", ""));
  auto* other = new TForm(Forms::Application);
  other->SetFormStyle(fsMDIChild);
  other->SetCaption("合同编辑");
  other->Show();
  auto children = [this] {
    std::vector<AnsiString> out;
    for (int i = 0; i < Main->W1->GetCount(); ++i) {
      TMenuItem* item = Main->W1->GetItem(i);
      if (dynamic_cast<TCustomForm*>(item->GetOwner()) && item->GetOwner() != Main)
        out.push_back(item->GetCaption() + (item->GetChecked() ? "*" : ""));
    }
    return out;
  };
  Main->W1->Click();
  Main->W1->Click();
  std::vector<AnsiString> listed = children();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(std::set<AnsiString>(listed.begin(), listed.end()),
            (std::set<AnsiString>{"合同编辑*", MainWindow::DesktopFrm->GetCaption()}));
  other->SetCaption("合同编辑 - HT001");
  Main->W1->Click();
  EXPECT_EQ(children().size(), 2u);
  EXPECT_NE(std::find(children().begin(), children().end(), "合同编辑 - HT001*"), children().end());
  delete other;
  Main->W1->Click();
  EXPECT_EQ(children().size(), 1u);
  EXPECT_TRUE(Main->miStatusBar1->GetChecked());
}

TEST_F(UiWindows, ReloginChangesTheOperatorAndQueriesTheDesktopAgain)
{
  AddOperator("clerk", "", ",1,");
  std::vector<AnsiString> queried;
  TScopedService<Desktop::TListFrameHandler> frames(
      Desktop::ListFrames(), std::make_unique<Desktop::TListFrameHandler>([&](TDesktopFrm&, const TDesktopNode& N) {
        queried.push_back(N.Text + "/" + qxProj::CurrentOperator->LoginId);
      }));
  MakeWindows();
  ASSERT_TRUE(LoginAs("sa", ""));
  TDesktopFrm* desktop = MainWindow::DesktopFrm;
  EXPECT_EQ(desktop->GetCaption(), "合同提醒");
  ASSERT_TRUE(LoginAs("clerk", ""));
  EXPECT_EQ(MainWindow::DesktopFrm, desktop);  // kept, not made again
  EXPECT_EQ(Main->GetPanelText(1), "clerk");
  EXPECT_EQ(queried, (std::vector<AnsiString>{"合同提醒/sa", "合同提醒/clerk"}));
  // A cancelled login changes nothing.
  OnModal([](TCustomForm* F) { F->SetModalResult(mrCancel); });
  EXPECT_FALSE(Main->LoginAndOpenDesktop());
  EXPECT_EQ(Main->GetPanelText(1), "clerk");
  EXPECT_EQ(queried.size(), 2u);
}

TEST_F(UiWindows, ClosingTheMainWindowAsksForFeedbackRunsTheBackupAndDisconnects)
{
  qxProj::KeyValues->SetFeedbackPrompt(true);
  int backups = 0;
  TScopedFunction<void()> backup(MainWindow::PlannedBackup(), [&] { ++backups; });
  MakeWindows();
  Main->Show();
  bool feedback = false;
  OnModal([&](TCustomForm* F) {
    feedback = dynamic_cast<TFeedbackFrm*>(F) != nullptr;
    F->SetModalResult(mrCancel);
  });
  Main->Close();
  EXPECT_TRUE(feedback);
  EXPECT_EQ(backups, 1);
  EXPECT_FALSE(Main->GetVisible());
  EXPECT_FALSE(Database::GlobalDB->GetConnected());
}

// ---- Desktop ---------------------------------------------------------------------------------

TEST_F(UiWindows, DesktopTreeHangsDepartmentsUnderTheirParentsAndSkipsBlankKinds)
{
  TStringList kinds, progress;
  kinds.SetText("采购\r\n  \r\n销售\r\n");
  progress.SetText("\r\n执行中\r\n");
  std::vector<TDepartmentRow> depts = {
      {"总部", "01", 0},   {"财务部", "0101", 1},   {"会计科", "010101", 2},
      {"分公司", "02", 0}, {"失散部门", "0301", 9},  // its parent row is missing
  };
  std::vector<TDesktopNode> n = DesktopTree::Build(depts, &kinds, &progress);
  auto text = [&](int i) { return i < 0 ? AnsiString("-") : n[size_t(i)].Text; };
  std::vector<AnsiString> lines;
  for (const TDesktopNode& node : n) lines.push_back(node.Text + " <" + text(node.Parent) + ">");
  EXPECT_EQ(lines,
            (std::vector<AnsiString>{"我的桌面 <->", "合同管理 <我的桌面>", "所在部门 <我的桌面>", "总部 <所在部门>",
                                     "财务部 <总部>", "会计科 <财务部>", "分公司 <所在部门>", "失散部门 <所在部门>",
                                     "采购 <合同管理>", "销售 <合同管理>", "执行中 <合同管理>", "合同提醒 <我的桌面>",
                                     "应收账款 <我的桌面>", "应付账款 <我的桌面>", "往来单位 <我的桌面>",
                                     "客户 <往来单位>", "供应商 <往来单位>", "退出系统 <我的桌面>"}));
  EXPECT_EQ(n[5].Data.Code, "010101");
  EXPECT_EQ(n[5].ImageIndex, 13);
  EXPECT_EQ(n[10].ImageIndex, 26);
  EXPECT_EQ(n[0].ImageIndex, 21);
  EXPECT_EQ(n.back().ImageIndex, 11);
  EXPECT_EQ(DesktopTree::RemindersIndex(n), 11);
}

TEST_F(UiWindows, DesktopStartsOnRemindersWithItsIconsAndExitCanBeCancelled)
{
  Exec("insert into departments(Code, Name) values ('01', '总部')");
  Exec("insert into departments(Code, Name) values ('0101', '财务部')");
  Exec("insert into departments(Code, Name) values ('010101', '会计科')");
  MakeWindows();
  Main->Show();
  ASSERT_TRUE(LoginAs("sa", ""));
  TDesktopFrm* d = MainWindow::DesktopFrm;
  EXPECT_EQ(d->GetCaption(), "合同提醒");
  EXPECT_EQ(d->TreeView1->GetSelected()->GetText(), "合同提醒");
  EXPECT_EQ(d->Label1->GetCaption(), "\\\\我的桌面 7个项目");
  TListItems* icons = d->ListView1->GetItems();
  ASSERT_EQ(icons->GetCount(), 7);
  EXPECT_EQ(icons->GetItem(6)->GetCaption(), "退出系统");
  EXPECT_EQ(icons->GetItem(6)->GetImageIndex(), 11);
  EXPECT_EQ(icons->GetItem(0)->GetData(), d->TreeNode(1)->GetData());
  // The three-level department sits under its parent's node.
  TTreeNode* deepest = d->TreeNode(5);
  EXPECT_EQ(deepest->GetText(), "会计科");
  EXPECT_EQ(deepest->GetParent()->GetText(), "财务部");
  // "退出系统", Cancel: nothing changes, the caption included.
  Box.reset();
  Box.emplace([this](const AnsiString& Text, const AnsiString&, unsigned) {
    Boxes.push_back(Text);
    return IDCANCEL;
  });
  int exitNode = int(d->Nodes().size()) - 1;
  EXPECT_THROW(d->TreeView1Change(exitNode), EAbort);
  EXPECT_EQ(d->GetCaption(), "合同提醒");
  d->SelectNode(exitNode);  // through the tree: the abort stays silent
  EXPECT_EQ(d->GetCaption(), "合同提醒");
  EXPECT_TRUE(Main->GetVisible());
  EXPECT_EQ(Boxes.back(), "\n\r您确定要退出系统吗?\t");
  // A double click on the icon of a tree entry selects that entry.
  RECT cell = icons->GetItem(0)->DisplayRect();
  POINT at = d->ListView1->ClientToScreen(POINT{(cell.left + cell.right) / 2, cell.top + 16});
  Headless::AdvanceTime(1000);
  InputQueue::MouseMove(at.x, at.y);
  for (int i = 0; i < 2; ++i) {
    InputQueue::MouseDown(InputQueue::Button::Left, at.x, at.y);
    InputQueue::MouseUp(InputQueue::Button::Left, at.x, at.y);
  }
  Forms::Application->ProcessMessages();
  EXPECT_EQ(d->ListView1->GetItemIndex(), 0);
  EXPECT_EQ(d->GetCaption(), "合同管理");
  // Message 40961 without a contract frame does nothing.
  EXPECT_EQ(d->Perform(Desktop::WM_OPTIONSCHANGED, 0, 0), 0);
}

// ---- Exceptions ------------------------------------------------------------------------------

TEST_F(UiWindows, ErrorReportNamesTheSystemAndPadsItsLabels)
{
  struct Case {
    unsigned Platform, Major, Minor;
    const char* Name;
  } names[] = {
      {VER_PLATFORM_WIN32s, 3, 10, "Windows 3.1"},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, "Windows 98"},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 3, "Windows 9x Series"},
      {VER_PLATFORM_WIN32_WINDOWS, 5, 0, "Unknown Win32 flatform"},
      {VER_PLATFORM_WIN32_NT, 3, 51, "Windows NT 3.51"},
      {VER_PLATFORM_WIN32_NT, 5, 1, "Windows XP"},
      {VER_PLATFORM_WIN32_NT, 5, 2, "Windows Server 2003"},
      {VER_PLATFORM_WIN32_NT, 6, 1, "Windows .Net Server"},
      {VER_PLATFORM_WIN32_NT, 7, 0, "Unknown WinNT flatform"},
      {9, 5, 1, ""},
  };
  for (const Case& c : names) EXPECT_EQ(Bugger::OsName(c.Platform, c.Major, c.Minor), c.Name);
  OSVERSIONINFO xp;
  xp.dwPlatformId = VER_PLATFORM_WIN32_NT;
  xp.dwMajorVersion = 5;
  xp.dwMinorVersion = 1;
  xp.dwBuildNumber = 2600;
  xp.szCSDVersion = "Debian";
  EXPECT_EQ(Bugger::OsText(&xp), "Windows XP Version 5.1 Build 2600.Debian");
  EXPECT_EQ(Bugger::OsText(nullptr), "Unknown");

  Exec("update Company set CompanyName='澜岳科技'");
  qxProj::Company->Load();
  TStringList lines;
  lines.SetText(Bugger::ReportText("除数为零", "EZeroDivide"));
  ASSERT_EQ(lines.GetCount(), 26);
  EXPECT_EQ(lines.GetStrings(0), "运行期异常：");
  EXPECT_EQ(lines.GetStrings(2), "ProductName：      澜岳合同管理系统");
  EXPECT_EQ(lines.GetStrings(3), "ProductVersion：   单机版 1.21.111231 ");
  EXPECT_EQ(lines.GetStrings(4).rfind("OS：               Windows XP Version 5.1 Build 2600.", 0), 0u);
  EXPECT_EQ(lines.GetStrings(5), "CompanyName：      澜岳科技");
  EXPECT_EQ(lines.GetStrings(8), "ExceptionClass：   EZeroDivide");
  EXPECT_EQ(lines.GetStrings(9), "ExceptionDescribe：除数为零");
  EXPECT_EQ(lines.GetStrings(10).substr(0, 19), "ExceptionTime：    ");
  EXPECT_EQ(lines.GetStrings(10).size(), 19u + 19u);  // yyyy-mm-dd hh:nn:ss
  EXPECT_EQ(lines.GetStrings(25), "MSN：");
}

TEST_F(UiWindows, UnhandledExceptionOffersAReportAndARepeatInsideItIsShownPlainly)
{
  std::string answer = "ok";
  TLoopbackHttpServer server([&](const std::string&, const std::string&) {
    TLoopbackHttpServer::TReply r;
    r.Body = answer;
    return r;
  });
  Http::SetFeedbackHost(server.HostAndPort());
  MakeWindows();
  Box.reset();
  std::vector<AnsiString> texts;
  std::vector<unsigned> flags;
  Box.emplace([&](const AnsiString& Text, const AnsiString&, unsigned Flags) {
    texts.push_back(Text);
    flags.push_back(Flags);
    if ((Flags & MB_TYPEMASK) != MB_YESNO) return IDOK;
    // While the offer is up the fault repeats: a plain box, no second offer.
    if (texts.size() == 1) {
      try {
        throw Exception("重绘失败");
      } catch (...) {
        Forms::Application->HandleException(nullptr);
      }
    }
    return IDYES;
  });
  AnsiString posted;
  OnModal([&](TCustomForm* F) {
    auto* report = dynamic_cast<TBuggerFrm*>(F);
    ASSERT_NE(report, nullptr);
    report->Memo1->SetText(report->Memo1->GetText() + "电话：12345");
    answer = "server busy";
    report->OkBtn1->Click();  // refused: stays open
  });
  OnModal([&](TCustomForm* F) {
    answer = "ok";
    dynamic_cast<TBuggerFrm*>(F)->OkBtn1->Click();
  });
  try {
    throw EConvertError("'abc' is not a valid integer value");
  } catch (...) {
    Forms::Application->HandleException(nullptr);
  }
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], Pub::ExceptionBoxText("'abc' is not a valid integer value"));
  EXPECT_EQ(flags[0] & (MB_TYPEMASK | MB_ICONMASK), MB_YESNO | MB_ICONERROR);
  EXPECT_EQ(texts[1], "重绘失败");
  EXPECT_EQ(flags[1] & MB_TYPEMASK, MB_OK);
  EXPECT_EQ(texts[2], "\r\nserver busy\t");
  EXPECT_EQ(texts[3], "\r\n报告成功！我们会尽快处理并与您联系，谢谢！\t");
  // The edited report went out.
  EXPECT_NE(server.LastBody().find("12345"), std::string::npos);
  EXPECT_EQ(StepsLeft(), 0u);
  // Answering No posts nothing; a silent abort shows nothing.
  int requests = server.RequestCount();
  texts.clear();
  Box.reset();
  Box.emplace([&](const AnsiString& Text, const AnsiString&, unsigned) {
    texts.push_back(Text);
    return IDNO;
  });
  for (bool abort : {false, true}) {
    try {
      if (abort) throw EAbort("");
      throw Exception("再次失败");
    } catch (...) {
      Forms::Application->HandleException(nullptr);
    }
  }
  EXPECT_EQ(texts.size(), 1u);
  EXPECT_EQ(server.RequestCount(), requests);
  Http::SetFeedbackHost("");
}
