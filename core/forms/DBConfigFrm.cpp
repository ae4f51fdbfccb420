#include "core/forms/DBConfigFrm.h"

#include "core/forms/FormParts.h"
#include "core/qxLib.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/GroupBox.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"

const char* const TDBConfigFrm::ProviderTexts[3] = {
    "PostgreSQL 数据库服务器",
    "内嵌数据库文件 (单机版)",
    "经ZOR代理连接的 PostgreSQL 服务器",
};
const char* const TDBConfigFrm::PageNames[3] = {"mssql", "jet4", "qxzor"};

namespace {

class TDBConfigDialog : public IDBConfigDialog {
public:
  explicit TDBConfigDialog(const AnsiString& ProgramPath) : FForm(std::make_unique<TDBConfigFrm>(nullptr, ProgramPath))
  {}
  WideString GetConnectionString() override { return FForm->GetConnectionString(); }
  bool Execute() override { return FForm->ShowModal() == mrOk; }

private:
  std::unique_ptr<TDBConfigFrm> FForm;
};

}  // namespace

std::unique_ptr<IDBConfigDialog> TDBConfigFrm::MakeDialog(const AnsiString& ProgramPath)
{
  return std::make_unique<TDBConfigDialog>(ProgramPath);
}

TDBConfigFrm::TDBConfigFrm(TComponent* AOwner, const AnsiString& ProgramPath)
    : TForm(AOwner), FConfig(std::make_unique<TDBConfiger>(ProgramPath))
{
  SetName("DBConfigFrm");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetKeyPreview(true);
  SetClientSize(420, 400);
  GetFont()->SetName("宋体");
  GetFont()->SetHeight(-12);

  FormParts::Label(this, "注意，程序无法正常连接到指定的数据库。", 16, 14);
  FormParts::Label(this, "1.单机版用户，请检查数据库文件是否存在或者已被破坏；", 28, 38);
  FormParts::Label(this, "2.网络版用户，请检查网络是否畅通以及数据库服务器是否启动。", 28, 58);
  FormParts::Label(this, "另外，请检查以下连接参数是否正确：", 16, 82);
  FormParts::Label(this, "提供者", 16, 112);
  ComboBox1 = new TComboBox(this);
  ComboBox1->SetName("ComboBox1");
  ComboBox1->SetStyle(csDropDownList);
  FormParts::Place(ComboBox1, this, 72, 108, 332, 20);
  for (const char* t : ProviderTexts) ComboBox1->GetItems()->Add(t);
  ComboBox1->OnSelect = [this](TObject* S) { ComboBox1Select(S); };

  auto* group = new TGroupBox(this);
  group->SetName("GroupBox1");
  group->SetCaption("参数");
  FormParts::Place(group, this, 16, 140, 388, 206);
  auto edit = [&](int Page, const char* Caption, const char* Name, int Y, int W = 220) {
    if (TControl* l = FormParts::Label(group, Caption, 16, Y + 4)) FPages[Page].push_back(l);
    auto* e = new TEdit(this);
    e->SetName(Name);
    FormParts::Place(e, group, 96, Y, W, 21);
    FPages[Page].push_back(e);
    return e;
  };
  mssqlServerEdit1 = edit(0, "服务器", "mssqlServerEdit1", 24);
  mssqlDbEdit1 = edit(0, "数据库名", "mssqlDbEdit1", 52);
  mssqlUserEdit1 = edit(0, "登陆名", "mssqlUserEdit1", 80);
  mssqlPwEdit1 = edit(0, "密 码", "mssqlPwEdit1", 108);
  mssqlPwEdit1->SetPasswordChar('*');
  mssqlPortEdit1 = edit(0, "端口", "mssqlPortEdit1", 136, 80);
  mssqlPortEdit1->SetText("5432");
  CheckBox1 = new TCheckBox(this);
  CheckBox1->SetName("CheckBox1");
  CheckBox1->SetCaption("采用智能连接");
  FormParts::Place(CheckBox1, group, 96, 168, 160, 20);
  FPages[0].push_back(CheckBox1);

  jetfileEdit1 = edit(1, "数据库文件:", "jetfileEdit1", 24, 250);
  jetFileButton1 = new TButton(this);
  jetFileButton1->SetName("jetFileButton1");
  jetFileButton1->SetCaption("...");
  FormParts::Place(jetFileButton1, group, 350, 24, 24, 21);
  FPages[1].push_back(jetFileButton1);
  jetFileButton1->OnClick = [this](TObject*) {
    TOpenDialog open(this);
    open.SetFilter("数据库文件 (*.mdb)|*.mdb|所有文件 (*.*)|*");
    open.SetFileName(jetfileEdit1->GetText());
    if (open.Execute()) jetfileEdit1->SetText(open.GetFileName());
  };
  jetUserEdit1 = edit(1, "用户名:", "jetUserEdit1", 52);
  jetPwEdit1 = edit(1, "密码:", "jetPwEdit1", 80);
  jetPwEdit1->SetPasswordChar('*');
  jetDefaultCheckBox1 = new TCheckBox(this);
  jetDefaultCheckBox1->SetName("jetDefaultCheckBox1");
  jetDefaultCheckBox1->SetCaption("使用默认连接");
  FormParts::Place(jetDefaultCheckBox1, group, 96, 112, 160, 20);
  FPages[1].push_back(jetDefaultCheckBox1);
  jetDefaultCheckBox1->OnClick = [this](TObject* S) { jetDefaultCheckBox1Click(S); };

  edtZorUrl1 = edit(2, "ZOR地址", "edtZorUrl1", 24, 270);
  edtZorUser1 = edit(2, "ZOR用户", "edtZorUser1", 52);

  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetCaption("确定(&Y)");
  FormParts::Place(Button1, this, 246, 360, 75, 25);
  Button1->OnClick = [this](TObject* S) { Button1Click(S); };
  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetCaption("取消");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  FormParts::Place(Button2, this, 329, 360, 75, 25);

  // Fill the controls from the settings.
  TDBConfiger& c = *FConfig;
  mssqlServerEdit1->SetText(c.Server);
  mssqlDbEdit1->SetText(c.Database);
  mssqlUserEdit1->SetText(c.User);
  mssqlPwEdit1->SetText(c.Password);
  mssqlPortEdit1->SetText(SysUtils::IntToStr(c.Port));
  jetfileEdit1->SetText(c.JetFile);
  jetUserEdit1->SetText(c.JetUser);
  jetPwEdit1->SetText(c.JetPassword);
  edtZorUrl1->SetText(c.ZorUrl);
  edtZorUser1->SetText(c.ZorUser);
  jetDefaultCheckBox1->SetChecked(c.DefaultCon);
  jetDefaultCheckBox1Click(jetDefaultCheckBox1);
  int index = c.ProviderIdx >= 0 && c.ProviderIdx < 3 ? c.ProviderIdx : 0;
  ComboBox1->SetItemIndex(index);
  ShowPage(index);
}

TDBConfigFrm::~TDBConfigFrm() = default;

WideString TDBConfigFrm::GetConnectionString() { return FConfig->GetConnectionString(); }

void TDBConfigFrm::ShowPage(int Index)
{
  FPage = Index;
  for (int p = 0; p < 3; ++p)
    for (TControl* c : FPages[p]) c->SetVisible(p == Index);
}

void TDBConfigFrm::ComboBox1Select(TObject*)
{
  int i = ComboBox1->GetItemIndex();
  if (i >= 0 && i < 3) ShowPage(i);
}

void TDBConfigFrm::jetDefaultCheckBox1Click(TObject*)
{
  bool useDefault = jetDefaultCheckBox1->GetChecked();
  for (TEdit* e : {jetfileEdit1, jetUserEdit1, jetPwEdit1}) {
    e->SetEnabled(!useDefault);
    e->SetColor(useDefault ? clBtnFace : clWindow);
  }
  jetFileButton1->SetEnabled(!useDefault);
}

void TDBConfigFrm::Button1Click(TObject*)
{
  Integer port;
  if (!SysUtils::TryStrToInt(SysUtils::Trim(mssqlPortEdit1->GetText()), port) || port < 0 || port > 65535) {
    // Nothing is saved: the operator corrects the port here rather than retrying the old one.
    qxLib::ShowInfo("端口必须是0到65535之间的数字,请重新输入.");
    ShowPage(0);
    ComboBox1->SetItemIndex(0);
    if (GetVisible() && mssqlPortEdit1->CanFocus()) mssqlPortEdit1->SetFocus();
    return;
  }
  TDBConfiger& c = *FConfig;
  c.Server = mssqlServerEdit1->GetText();
  c.Database = mssqlDbEdit1->GetText();
  c.User = mssqlUserEdit1->GetText();
  c.Password = mssqlPwEdit1->GetText();
  c.Port = port;
  c.SmartConnect = CheckBox1->GetChecked();
  c.JetFile = jetfileEdit1->GetText();
  c.JetUser = jetUserEdit1->GetText();
  c.JetPassword = jetPwEdit1->GetText();
  c.ZorUrl = edtZorUrl1->GetText();
  c.ZorUser = edtZorUser1->GetText();
  c.ProviderIdx = ComboBox1->GetItemIndex() < 0 ? 0 : ComboBox1->GetItemIndex();
  c.DefaultCon = jetDefaultCheckBox1->GetChecked();
  try {
    c.Save();
  } catch (const Exception& E) {
    qxLib::ShowInfo(E.Message());
    return;
  }
  SetModalResult(mrOk);
}

void TDBConfigFrm::KeyDown(Word& Key, TShiftState Shift)
{
  TForm::KeyDown(Key, Shift);
  // Enter moves on; it never confirms the dialog.
  if (Key == VK_RETURN) {
    Key = 0;
    Perform(WM_NEXTDLGCTL, 0, 0);
  }
}

PELTO_DEFINE_CLASS(TDBConfigFrm)
