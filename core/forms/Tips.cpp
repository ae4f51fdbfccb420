#include "core/forms/Tips.h"

#include <random>

#include "core/KeyValue.h"
#include "core/forms/FormParts.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/edits/Memo.h"

namespace Tips {

TService<std::function<int(int Count)>>& RandomIndex()
{
  static TService<std::function<int(int)>> Slot(std::make_unique<std::function<int(int)>>([](int Count) {
    static std::mt19937 Engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, Count - 1)(Engine);
  }));
  return Slot;
}

}  // namespace Tips

TTipsFrm::TTipsFrm(TComponent* AOwner) : TAInfoDlgFrm(AOwner)
{
  SetName("TipsFrm");
  SetCaption("每日一贴");
  SetClientHeight(297);
  FormParts::Label(this, "您知道吗？", 80, 20);
  Memo1 = new TMemo(this);
  Memo1->SetName("Memo1");
  Memo1->SetReadOnly(true);
  Memo1->SetScrollBars(ssVertical);
  FormParts::Place(Memo1, this, 80, 44, 370, 180);
  CheckBox1 = new TCheckBox(this);
  CheckBox1->SetName("CheckBox1");
  CheckBox1->SetCaption("启动时显示每日一贴");
  FormParts::Place(CheckBox1, this, 12, GetClientHeight() - 34, 150, 20);
  CheckBox1->SetAnchors(TAnchors{akLeft, akBottom});
  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetCaption("前一贴");
  FormParts::Place(Button1, this, GetClientWidth() - 334, GetClientHeight() - 36, 75, 25);
  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetCaption("后一贴");
  FormParts::Place(Button2, this, GetClientWidth() - 252, GetClientHeight() - 36, 75, 25);
  for (TButton* b : {Button1, Button2}) {
    b->SetAnchors(TAnchors{akRight, akBottom});
    b->OnClick = [this](TObject* S) { ShowRandomTip(S); };
  }
  TKeyValue2 Store;
  CheckBox1->SetChecked(Store.GetDailyTipPrompt());
  CheckBox1->OnClick = [this](TObject* S) { StorePrompt(S); };
}

void TTipsFrm::AddTip(const AnsiString& Tip) { FTips.push_back(Tip); }

void TTipsFrm::ShowRandomTip(TObject*)
{
  if (FTips.empty()) return;
  int i = Tips::RandomIndex().Current()(int(FTips.size()));
  Memo1->SetText("\r\n\r\n" + FTips[size_t(i)]);
}

void TTipsFrm::StorePrompt(TObject*)
{
  TKeyValue2 Store;
  Store.SetDailyTipPrompt(CheckBox1->GetChecked());
}

void TTipsFrm::DoShow()
{
  // Nothing to draw from: no tip, and nothing to press.
  Button1->SetEnabled(!FTips.empty());
  Button2->SetEnabled(!FTips.empty());
  if (FTips.empty()) Memo1->SetText("");
  TAInfoDlgFrm::DoShow();
}

PELTO_DEFINE_CLASS(TTipsFrm)
