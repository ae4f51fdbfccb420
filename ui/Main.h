// TmainFrm: the program's MDI main window: the main menu, the status bar (the database, the
// logged-in operator), the window list of the MDI children, the tools and documents menus built
// from tables link and doc, and the login road that makes the navigation desktop.
//
// Entries whose dialogs are not part of the program yet stay disabled: "部门设置",
// "操作员及权限", "选项", "初始化数据...", "自动备份与恢复", "数据库升级...", "配置...",
// "文档管理..." and the run-time tools and documents items.
#pragma once

#include <functional>

#include "core/forms/a.h"
#include "platform/rtl/Service.h"

class TMainMenu;
class TMenuItem;
class TStatusBar;
class TDesktopFrm;

class TmainFrm : public TaFrm {
  PELTO_CLASS(TmainFrm, TaFrm)
public:
  explicit TmainFrm(TComponent* AOwner);

  TMainMenu* MainMenu1 = nullptr;
  // Four panels: the database, the operator, two spare ones of fixed width.
  TStatusBar* StatusBar1 = nullptr;
  // The top-level menus and the items other code looks at.
  TMenuItem *mnuFile1 = nullptr, *mnuTools1 = nullptr, *mnuDocs1 = nullptr, *W1 = nullptr, *mnuHelp1 = nullptr;
  TMenuItem *miCompany1 = nullptr, *N1 = nullptr, *N38 = nullptr, *N4 = nullptr, *N39 = nullptr, *N35 = nullptr,
            *miUpgrade1 = nullptr, *N40 = nullptr, *N9 = nullptr, *N41 = nullptr;
  TMenuItem *N16 = nullptr, *N17 = nullptr, *N19 = nullptr, *N2 = nullptr;
  TMenuItem *miTitleBar1 = nullptr, *miNavBar1 = nullptr, *miStatusBar1 = nullptr;
  TMenuItem *N11 = nullptr, *miTip1 = nullptr, *N22 = nullptr, *N26 = nullptr, *N30 = nullptr;

  // Shows the login dialog; on OK shows the operator in panel 1 and makes the desktop or
  // re-runs its selected node. False (nothing changed) when cancelled.
  bool LoginAndOpenDesktop();
  void RebuildToolsMenu();
  void RebuildDocsMenu();

  void miCompany1Click(TObject* Sender);
  void miTip1Click(TObject* Sender);
  void N9Click(TObject* Sender);
  void N26Click(TObject* Sender);
  void N30Click(TObject* Sender);
  void N16Click(TObject* Sender);
  void N17Click(TObject* Sender);
  void W1Click(TObject* Sender);
  void WindowItemClick(TObject* Sender);
  void miStatusBar1Click(TObject* Sender);
  void StatusBar1Resize(TObject* Sender);

  // The text of status panel Index.
  AnsiString GetPanelText(int Index) const;

protected:
  void SetPanelText(int Index, const AnsiString& Text);
  void DoShow() override;
  void DoClose(TCloseAction& Action) override;

private:
  TMenuItem* AddItem(TMenuItem* Parent, const char* Name, const char* Caption, TNotifyEvent Click = {});
  TMenuItem* AddSeparator(TMenuItem* Parent);
  // Drops the items of Menu after index Keep and appends one disabled item per row of Sql.
  void RebuildRowItems(TMenuItem* Menu, int Keep, const char16_t* Sql);
};

namespace MainWindow {
// The desktop, owned by the main window; null until the first successful login.
extern TDesktopFrm* DesktopFrm;
// The planned backup the main window runs when it closes (nothing until backups exist).
TService<std::function<void()>>& PlannedBackup();
// The folder whose cfg.ini the login dialog uses (the program's folder when empty).
extern AnsiString ProgramDir;
}  // namespace MainWindow
