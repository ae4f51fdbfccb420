#include "core/forms/About.h"

#include "core/Company.h"
#include "core/Database.h"
#include "core/Http.h"
#include "core/forms/FormParts.h"
#include "core/qxProj.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/sys/ShellApi.h"

TaboutFrm::TaboutFrm(TComponent* AOwner) : TaFrm(AOwner)
{
  SetName("aboutFrm");
  SetCaption("关于...");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetAutoScroll(false);
  SetClientSize(444, 281);
  ProductName = qxProj::ProductName;
  Version = qxProj::ProductVersion;
  ProductCode = qxProj::ProductCode;
  ExePath = TProject::GetProgramDir();
  DataSource = System::WideToAnsi(Database::GlobalDB->GetDataSource());

  struct Row {
    const char* Caption;
    const AnsiString* Text;
    TControl** Label;
    const char* Name;
  } rows[] = {
      {"产品名称:", &ProductName, &LblProductName1, "LblProductName1"},
      {"产品版本:", &Version, &LblVersion1, "LblVersion1"},
      {"产品代码:", &ProductCode, &LblProductCode1, "LblProductCode1"},
  };
  int y = 20;
  for (const Row& r : rows) {
    FormParts::Label(this, r.Caption, 128, y);
    *r.Label = FormParts::Label(this, *r.Text, 200, y, r.Name);
    y += 22;
  }
  static const AnsiString Web = qxProj::WebSite, Support = qxProj::SupportMail, Sales = Http::SalesMail;
  FormParts::Label(this, "官方网站:", 128, y);
  Label7 = FormParts::Label(this, Web, 200, y, "Label7");
  FormParts::Label(this, "技术支持:", 128, y += 22);
  Label10 = FormParts::Label(this, Support, 200, y, "Label10");
  FormParts::Label(this, "购买咨询:", 128, y += 22);
  Label12 = FormParts::Label(this, Sales, 200, y, "Label12");
  FormParts::Label(this, "安装路径:", 128, y += 22);
  lblExePath1 = FormParts::Label(this, ExePath, 200, y, "lblExePath1");
  FormParts::Label(this, "数据地址:", 128, y += 22);
  lblDatabase1 = FormParts::Label(this, DataSource, 200, y, "lblDatabase1");
  FormParts::Label(this, "本软件受著作权法保护，未经许可不得复制、传播。", 20, y += 34);
  FormParts::Label(this, "版权所有 (C) 澜岳软件", 20, y += 18);

  // Long paths are cut at the box's edge rather than scrolling it.
  for (TControl* path : {lblExePath1, lblDatabase1}) {
    path->SetAutoSize(false);
    path->SetBounds(path->GetLeft(), path->GetTop(), GetClientWidth() - path->GetLeft() - 12, path->GetHeight());
    path->SetHint(path == lblExePath1 ? ExePath : DataSource);
    path->SetShowHint(true);
  }

  OkBtn1 = new TButton(this);
  OkBtn1->SetName("OkBtn1");
  OkBtn1->SetCaption("确定");
  OkBtn1->SetModalResult(mrOk);
  OkBtn1->SetDefault(true);
  OkBtn1->SetCancel(true);
  FormParts::Place(OkBtn1, this, 352, 244, 75, 25);
  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetCaption("用户信息");
  Button1->OnClick = [this](TObject* S) { Button1Click(S); };
  FormParts::Place(Button1, this, 268, 244, 75, 25);
  for (auto [label, handler] :
       {std::pair{Label7, &TaboutFrm::Label7Click}, std::pair{Label10, &TaboutFrm::Label10Click},
        std::pair{Label12, &TaboutFrm::Label12Click}, std::pair{lblExePath1, &TaboutFrm::lblExePath1Click}}) {
    if (!label) continue;
    label->SetCursor(crHandPoint);
    label->OnClick = [this, handler](TObject* S) { (this->*handler)(S); };
  }
}

void TaboutFrm::Button1Click(TObject*) { qxProj::Company->Edit(true); }
void TaboutFrm::lblExePath1Click(TObject*) { ShellApi::ShellOpen(ExePath); }
void TaboutFrm::Label7Click(TObject*) { ShellApi::ShellOpen(qxProj::WebSite); }
void TaboutFrm::Label10Click(TObject*) { TProject::MailTo(qxProj::SupportMail, "关于技术问题"); }
void TaboutFrm::Label12Click(TObject*) { TProject::MailTo(Http::SalesMail, "关于销售"); }

PELTO_DEFINE_CLASS(TaboutFrm)
