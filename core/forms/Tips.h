// TTipsFrm ("每日一贴"): a tip drawn at random from the tips the caller adds, and the switch that
// shows it after each login. With no tips it shows none and disables its two buttons.
#pragma once

#include <functional>
#include <vector>

#include "core/forms/aDlg.h"
#include "platform/rtl/Service.h"

class TCheckBox;
class TMemo;

class TTipsFrm : public TAInfoDlgFrm {
  PELTO_DECLARE_CLASS(TTipsFrm, TAInfoDlgFrm)
public:
  explicit TTipsFrm(TComponent* AOwner);

  TMemo* Memo1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TButton *Button1 = nullptr, *Button2 = nullptr;

  void AddTip(const AnsiString& Tip);
  int GetTipCount() const { return int(FTips.size()); }
  // "\r\n\r\n" and a tip drawn uniformly from the list.
  void ShowRandomTip(TObject* Sender);
  void StorePrompt(TObject* Sender);

protected:
  void DoShow() override;

private:
  std::vector<AnsiString> FTips;
};

namespace Tips {
// Draws an index in [0, Count); replaceable so that a test can pin the draw.
TService<std::function<int(int Count)>>& RandomIndex();
}  // namespace Tips
