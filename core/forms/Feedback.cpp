#include "core/forms/Feedback.h"

#include "core/Company.h"
#include "core/Http.h"
#include "core/KeyValue.h"
#include "core/forms/FormParts.h"
#include "core/qxLib.h"
#include "core/qxProj.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/edits/Memo.h"

TFeedbackFrm::TFeedbackFrm(TComponent* AOwner) : TADlgFrm(AOwner)
{
  SetName("FeedbackFrm");
  SetCaption("用户反馈表");
  SetClientSize(677, 564);
  SetPosition(poScreenCenter);
  OkBtn1->SetCaption("提交(&S)");
  int y = 12;
  for (const char* line :
       {"您安装使用澜岳软件，希望本软件能满足您的要求，并给您的工作带来一份轻松愉快。", "感谢",
        "为进一步改进和提高本公司产品的质量和售后服务工作，我们殷切期望您对本公司产品的使用情况提出宝贵意见和建议。",
        "我们在今后的工作中会充分参考您所给予的宝贵资料，不断地改进我们的产品和服务质量。",
        "如果您对我们的产品感到满意，请向您的朋友推荐。", "再次表达我们的谢意！"}) {
    FormParts::Label(this, line, 12, y);
    y += 18;
  }
  y += 6;
  for (const char* line :
       {"请参考以下几个主题发表您的看法或意见：", "1.您希望添加哪些新功能",
        "2.现有功能哪些是做得不够好，需要改进或是无用的，可以删除", "3.与您曾经用过的软件相比较，哪些是值得借鉴的",
        "4.您希望本公司将来研制哪一类软件", "5.本类软件，您的心理价位是多少", "6.您的需求及其他值得反馈的内容"}) {
    FormParts::Label(this, line, 12, y);
    y += 18;
  }
  MmNote1 = new TMemo(this);
  MmNote1->SetName("MmNote1");
  MmNote1->SetScrollBars(ssVertical);
  FormParts::Place(MmNote1, this, 12, y + 4, 653, 130);
  y += 142;
  FormParts::Label(this, "请留下您的联系方式(不是必须)", 12, y);
  y += 22;
  const char* labels[] = {"用户名称：", "通信地址：", "邮政编码：", "联系人：", "联系电话：", "E-mail："};
  const char* names[] = {"edtCompany1", "edtAddress1", "edtZip1", "edtLinkman1", "edtLinkTel1", "edtEmail1"};
  TEdit** edits[] = {&edtCompany1, &edtAddress1, &edtZip1, &edtLinkman1, &edtLinkTel1, &edtEmail1};
  for (int i = 0; i < 6; ++i) {
    int x = i % 2 == 0 ? 12 : 344;
    int row = y + (i / 2) * 28;
    FormParts::Label(this, labels[i], x, row + 4);
    auto* e = new TEdit(this);
    e->SetName(names[i]);
    FormParts::Place(e, this, x + 76, row, 240, 21);
    *edits[i] = e;
  }
  CheckBox1 = new TCheckBox(this);
  CheckBox1->SetName("CheckBox1");
  CheckBox1->SetCaption("退出系统时请显示此反馈表单");
  FormParts::Place(CheckBox1, this, 12, GetClientHeight() - 34, 220, 20);

  TKeyValue2 Store;
  CheckBox1->SetChecked(Store.GetFeedbackPrompt());
  CheckBox1->OnClick = [this](TObject* S) { StorePrompt(S); };
  MmNote1->SetText("");
  edtEmail1->SetText("");
  edtCompany1->SetText(qxProj::Company->CompanyName);
  edtAddress1->SetText(qxProj::Company->Address);
  edtZip1->SetText(qxProj::Company->Zip);
  edtLinkman1->SetText(qxProj::Company->Manager);
  edtLinkTel1->SetText(qxProj::Company->Tel);
}

AnsiString TFeedbackFrm::FeedbackText() const
{
  const AnsiString rule(45, '-');
  AnsiString t;
  t += "      Company: " + edtCompany1->GetText() + "\r\n";
  t += "      Address: " + edtAddress1->GetText() + "\r\n";
  t += "          Zip: " + edtZip1->GetText() + "\r\n";
  t += "      Linkman: " + edtLinkman1->GetText() + "\r\n";
  t += "      LinkTel: " + edtLinkTel1->GetText() + "\r\n";
  t += "        Email: " + edtEmail1->GetText() + "\r\n";
  t += "         Note: \r\n";
  t += rule + "\r\n";
  t += MmNote1->GetText() + "\r\n";
  t += rule + "\r\n";
  return t;
}

bool TFeedbackFrm::CloseQuery()
{
  FormParts::THourglass wait;
  bool result = TADlgFrm::CloseQuery();
  if (!result || GetModalResult() != mrOk) return result;
  THttper poster;
  poster.Fields()->Add("Data=");
  poster.Fields()->SetValues("Data", FeedbackText());
  WideString reply;
  result = poster.Post(reply);
  if (result)
    qxLib::ShowInfo(":) 反馈成功！谢谢您的支持！");
  else if (!reply.empty())
    qxLib::ShowInfo(System::WideToAnsi(reply));
  else
    qxLib::ShowInfo(AnsiString("对不起,发送失败,请检查网络后重试,如果仍不成功请与我们QQ联系") + Http::SupportQQ + ".");
  return result;
}

void TFeedbackFrm::StorePrompt(TObject*)
{
  TKeyValue2 Store;
  Store.SetFeedbackPrompt(CheckBox1->GetChecked());
}

PELTO_DEFINE_CLASS(TFeedbackFrm)
