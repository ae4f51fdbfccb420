// The company, password, tips and feedback dialogs driven on the headless desktop, the feedback
// posted to a loopback server.
#include <gtest/gtest.h>

#include <set>

#include "core/Company.h"
#include "core/Http.h"
#include "core/KeyValue.h"
#include "core/Operator.h"
#include "core/forms/CompanyInfo.h"
#include "core/forms/DBConfigFrm.h"
#include "core/qxLib.h"
#include "platform/rtl/IniFiles.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "core/forms/Feedback.h"
#include "core/forms/Tips.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/testsupport/LoopbackHttpServer.h"

namespace {

class Dialogs : public CoreFormsFixture {
protected:
  AnsiString StoredCompanyName()
  {
    TCompany c;
    c.Load();
    return c.CompanyName;
  }
  void Login(const char* Id)
  {
    qxProj::CurrentOperator->Load(Id);
    ASSERT_EQ(qxProj::CurrentOperator->LoginId, Id);
  }
};

void FillPasswords(TCustomForm* F, const char* Current, const char* New1, const char* New2)
{
  auto* d = dynamic_cast<TPasswordChangerFrm*>(F);
  ASSERT_NE(d, nullptr);
  d->edtPassword1->SetText(Current);
  d->edtNewPassword1->SetText(New1);
  d->edtNewPassword2->SetText(New2);
  d->OkBtn1->Click();
}

}  // namespace

TEST_F(Dialogs, PasswordChangesOnlyWithTheCurrentPasswordAndTwoEqualNewOnes)
{
  Login("sa");
  AnsiString seen;
  // Different new passwords: the dialog stays with both boxes emptied.
  OnModal([&](TCustomForm* F) {
    seen = dynamic_cast<TPasswordChangerFrm*>(F)->GetUserId();
    FillPasswords(F, "", "甲乙", "甲丙");
  });
  OnModal([&](TCustomForm* F) {
    auto* d = dynamic_cast<TPasswordChangerFrm*>(F);
    EXPECT_EQ(d->edtNewPassword1->GetText(), "");
    EXPECT_EQ(d->edtNewPassword2->GetText(), "");
    FillPasswords(F, "wrong", "甲乙", "甲乙");  // a wrong current password: shown again
  });
  OnModal([](TCustomForm* F) { FillPasswords(F, "", "甲乙", "甲乙"); });
  qxProj::CurrentOperator->ChangePassword();
  EXPECT_EQ(seen, "sa");
  EXPECT_EQ(StepsLeft(), 0u);
  EXPECT_EQ(Boxes, (std::vector<AnsiString>{"\r\n两次输入的新密码不一样,请确认并重新输入.\t",
                                            "\r\n当前密码验证失败,请确认并重新输入.\t",
                                            "\r\n密码更改成功! 下次登陆时请使用新密码.\t"}));
  TOperator check;
  check.Load("sa");
  EXPECT_TRUE(check.CheckPassword("甲乙"));
  EXPECT_FALSE(check.CheckPassword(""));
}

TEST_F(Dialogs, PasswordStaysWhenNoRowChangedOrTheDialogIsCancelled)
{
  Login("sa");
  AnsiString before = qxProj::CurrentOperator->Password;
  // The row is gone behind the operator's back: no success is claimed.
  Exec("delete from operator where LoginId='sa'");
  OnModal([](TCustomForm* F) { FillPasswords(F, "", "新", "新"); });
  OnModal([](TCustomForm* F) { F->SetModalResult(mrCancel); });
  qxProj::CurrentOperator->ChangePassword();
  EXPECT_EQ(Boxes, (std::vector<AnsiString>{"\r\n密码更改失败,密码未改变.\t"}));
  EXPECT_EQ(qxProj::CurrentOperator->Password, before);
  Boxes.clear();
  OnModal([](TCustomForm* F) { F->SetModalResult(mrCancel); });
  qxProj::CurrentOperator->ChangePassword();
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(StepsLeft(), 0u);
}

TEST_F(Dialogs, CompanyDialogSavesWhatWasTyped)
{
  TCompany& company = *qxProj::Company;
  company.Load();
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TCompanyInfoFrm*>(F);
    EXPECT_TRUE(d->OkBtn1->GetEnabled());
    d->SetCompanyName("杭州澜岳科技有限公司");
    d->SetLawman("张三");
    d->SetProfile(System::AnsiToWide("第一行\r\n第二行"));
    d->OkBtn1->Click();
  });
  company.Edit(false);
  EXPECT_EQ(StoredCompanyName(), "杭州澜岳科技有限公司");
  TCompany stored;
  stored.Load();
  EXPECT_EQ(stored.Manager, "张三");
  EXPECT_EQ(System::WideToAnsi(stored.Profile), "第一行\r\n第二行");
  EXPECT_TRUE(stored.IsFilled());
}

TEST_F(Dialogs, ReadOnlyCompanyDialogCannotBeConfirmed)
{
  qxProj::Company->Load();
  OnModal([](TCustomForm* F) {
    auto* d = dynamic_cast<TCompanyInfoFrm*>(F);
    EXPECT_FALSE(d->OkBtn1->GetEnabled());
    d->SetCompanyName("不该保存");
    d->CancelBtn1->Click();
  });
  qxProj::Company->Edit(true);
  EXPECT_EQ(StoredCompanyName(), "");
  EXPECT_EQ(qxProj::Company->CompanyName, "");
}

TEST_F(Dialogs, FailedCompanySaveReloadsTheRecordAndShowsTheDialogAgain)
{
  Exec("update Company set CompanyName='旧名称公司'");
  Exec("create trigger NoRename before update on Company begin select raise(abort, 'read only'); end");
  qxProj::Company->Load();
  AnsiString typedAgain;
  OnModal([](TCustomForm* F) {
    dynamic_cast<TCompanyInfoFrm*>(F)->SetCompanyName("新名称公司");
    F->SetModalResult(mrOk);
  });
  OnModal([&](TCustomForm* F) {
    typedAgain = dynamic_cast<TCompanyInfoFrm*>(F)->GetCompanyName();
    F->SetModalResult(mrCancel);
  });
  qxProj::Company->Edit(false);
  EXPECT_EQ(typedAgain, "新名称公司");                    // the dialog keeps what was typed
  EXPECT_EQ(qxProj::Company->CompanyName, "旧名称公司");  // the object what is stored
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find("read only"), AnsiString::npos) << Boxes[0];
}

TEST_F(Dialogs, TipsAreDrawnFromTheListAndAnEmptyListShowsNone)
{
  int next = 0;
  TScopedFunction<int(int)> draw(Tips::RandomIndex(), [&](int Count) { return next++ % Count; });
  {
    TTipsFrm tips(nullptr);
    for (const char* t : {"一", "二", "三", "四", "五", "六", "七"}) tips.AddTip(t);
    std::set<AnsiString> seen;
    for (int i = 0; i < 7; ++i) {
      (i % 2 ? tips.Button2 : tips.Button1)->Click();
      seen.insert(tips.Memo1->GetText());
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen.count("\r\n\r\n七"), 1u);
  }
  {
    TTipsFrm empty(nullptr);
    empty.Button1->Click();  // nothing to draw from: no fault
    OnModal([](TCustomForm* F) {
      auto* t = dynamic_cast<TTipsFrm*>(F);
      EXPECT_FALSE(t->Button1->GetEnabled());
      EXPECT_FALSE(t->Button2->GetEnabled());
      EXPECT_EQ(t->Memo1->GetText(), "");
      t->CloseBtn1->Click();
    });
    EXPECT_EQ(empty.ShowModal(), mrCancel);
  }
  // The check box keeps the switch.
  TTipsFrm tips(nullptr);
  tips.CheckBox1->SetChecked(true);
  EXPECT_TRUE(TKeyValue2().GetDailyTipPrompt());
  tips.CheckBox1->SetChecked(false);
  EXPECT_FALSE(TKeyValue2().GetDailyTipPrompt());
}

TEST_F(Dialogs, FeedbackIsPostedAndAFailedPostKeepsTheForm)
{
  std::string answer = "OK";
  TLoopbackHttpServer server([&](const std::string& Path, const std::string&) {
    TLoopbackHttpServer::TReply r;
    if (Path != "/back.asp") r.Status = "404 Not Found";
    if (answer == "drop")
      r.Drop = true;
    else
      r.Body = answer;
    return r;
  });
  Http::SetFeedbackHost(server.HostAndPort());
  Exec("update Company set CompanyName='澜岳', Tel='0571'");
  qxProj::Company->Load();
  {
    TFeedbackFrm form(nullptr);
    // An empty note still sends every labelled line.
    EXPECT_EQ(form.FeedbackText(),
              "      Company: 澜岳\r\n      Address: \r\n          Zip: \r\n      Linkman: \r\n"
              "      LinkTel: 0571\r\n        Email: \r\n         Note: \r\n" +
                  AnsiString(45, '-') + "\r\n\r\n" + AnsiString(45, '-') + "\r\n");
    form.MmNote1->SetText("希望增加导出功能");
    form.SetModalResult(mrOk);
    // "OK" in capitals is a failure: the server's answer is shown and the form stays.
    EXPECT_FALSE(form.CloseQuery());
    answer = "drop";
    EXPECT_FALSE(form.CloseQuery());
    answer = "ok";
    EXPECT_TRUE(form.CloseQuery());
    form.SetModalResult(mrCancel);
    int before = server.RequestCount();
    EXPECT_TRUE(form.CloseQuery());  // Cancel sends nothing
    EXPECT_EQ(server.RequestCount(), before);
  }
  ASSERT_EQ(Boxes.size(), 3u);
  EXPECT_EQ(Boxes[0], "\r\nOK\t");
  EXPECT_EQ(Boxes[1].rfind("\r\n对不起,发送失败", 0), 0u);
  EXPECT_EQ(Boxes[2], "\r\n:) 反馈成功！谢谢您的支持！\t");
  // The edited note went out as the one field Data, UTF-8 and URL-encoded.
  EXPECT_EQ(server.LastBody().rfind("Data=", 0), 0u);
  EXPECT_NE(server.LastBody().find("%E5%B8%8C%E6%9C%9B"), std::string::npos);  // 希望
  Http::SetFeedbackHost("");
}

TEST_F(Dialogs, FeedbackCheckBoxKeepsTheClosingSwitch)
{
  qxProj::KeyValues->SetFeedbackPrompt(true);
  TFeedbackFrm form(nullptr);
  EXPECT_TRUE(form.CheckBox1->GetChecked());
  form.CheckBox1->SetChecked(false);
  EXPECT_FALSE(TKeyValue2().GetFeedbackPrompt());
}

TEST_F(Dialogs, ConnectionDialogSavesEachProvidersSettings)
{
  AnsiString program = (Dir + "/pelto").c_str();
  auto ini = [&](const char* Key) { return TIniFile((Dir + "/cfg.ini").c_str()).ReadString("db", Key, "(none)"); };
  {
    TDBConfigFrm d(nullptr, program);
    // A folder never configured: the embedded database's page, the server's own port.
    EXPECT_EQ(d.GetPageIndex(), 1);
    EXPECT_EQ(d.mssqlPortEdit1->GetText(), "5432");
    EXPECT_TRUE(d.jetDefaultCheckBox1->GetChecked());
    EXPECT_FALSE(d.jetfileEdit1->GetEnabled());
    d.ComboBox1->SetItemIndex(0);
    d.ComboBox1Select(nullptr);
    EXPECT_EQ(d.GetPageIndex(), 0);
    d.mssqlServerEdit1->SetText("db.example");
    d.mssqlDbEdit1->SetText("pelto");
    d.mssqlUserEdit1->SetText("王五");
    d.mssqlPwEdit1->SetText("p w;\"d");
    d.mssqlPortEdit1->SetText("6543");
    d.Button1Click(nullptr);
    EXPECT_EQ(d.GetModalResult(), mrOk);
  }
  EXPECT_EQ(ini("providerIdx"), "0");
  EXPECT_EQ(ini("mssqlServer"), "db.example");
  EXPECT_EQ(ini("mssqlPort"), "6543");
  EXPECT_EQ(ini("mssqlUser"), "王五");
  EXPECT_EQ(qxLib::ScrambleText(ini("mssqlPw")), "p w;\"d");  // stored scrambled
  EXPECT_NE(ini("mssqlPw"), "p w;\"d");
  {
    TDBConfigFrm d(nullptr, program);
    EXPECT_EQ(d.GetPageIndex(), 0);
    EXPECT_EQ(d.mssqlPwEdit1->GetText(), "p w;\"d");
    d.ComboBox1->SetItemIndex(1);
    d.jetDefaultCheckBox1->SetChecked(false);
    EXPECT_TRUE(d.jetfileEdit1->GetEnabled());
    d.jetfileEdit1->SetText("/数据/合同.mdb");
    d.jetPwEdit1->SetText("秘密");
    d.Button1Click(nullptr);
  }
  EXPECT_EQ(ini("providerIdx"), "1");
  EXPECT_EQ(ini("defaultCon"), "0");
  EXPECT_EQ(qxLib::ScrambleText(ini("jetfile")), "/数据/合同.mdb");
  EXPECT_EQ(qxLib::ScrambleText(ini("jetPw")), "秘密");
  EXPECT_NE(System::AnsiToWide(qxLib::ScrambleText(ini("ConnStr"))).find(u"Data Source=/"), std::u16string::npos);
  {
    TDBConfigFrm d(nullptr, program);
    d.ComboBox1->SetItemIndex(2);
    d.edtZorUrl1->SetText("http://zor.example/get");
    d.edtZorUser1->SetText("zor");
    d.Button1Click(nullptr);
  }
  EXPECT_EQ(ini("providerIdx"), "2");
  EXPECT_EQ(ini("zorUrl"), "http://zor.example/get");
  EXPECT_EQ(ini("ConnStr"), "");
}

TEST_F(Dialogs, APortThatIsNoNumberKeepsTheConnectionDialogOpenWithNothingSaved)
{
  AnsiString program = (Dir + "/pelto").c_str();
  for (const char* port : {"12a", "", "70000", "-1"}) {
    TDBConfigFrm d(nullptr, program);
    d.ComboBox1->SetItemIndex(0);
    d.mssqlServerEdit1->SetText("db.example");
    d.mssqlPortEdit1->SetText(port);
    d.Button1Click(nullptr);
    EXPECT_EQ(d.GetModalResult(), mrNone) << port;
    EXPECT_EQ(d.GetPageIndex(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(Dir + "/cfg.ini"));
  EXPECT_EQ(Boxes.size(), 4u);
  EXPECT_EQ(Boxes[0], "\r\n端口必须是0到65535之间的数字,请重新输入.\t");
}
