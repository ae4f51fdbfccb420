// TFeedbackFrm ("用户反馈表"): the user's feedback with his contact details, posted over HTTP when
// the form is confirmed; a failed post keeps the form open with its contents.
#pragma once

#include "core/forms/aDlg.h"

class TCheckBox;
class TEdit;
class TMemo;

class TFeedbackFrm : public TADlgFrm {
  PELTO_DECLARE_CLASS(TFeedbackFrm, TADlgFrm)
public:
  explicit TFeedbackFrm(TComponent* AOwner);

  TMemo* MmNote1 = nullptr;
  TEdit *edtCompany1 = nullptr, *edtAddress1 = nullptr, *edtZip1 = nullptr, *edtLinkman1 = nullptr,
        *edtLinkTel1 = nullptr, *edtEmail1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;

  // The text posted as the field "Data".
  AnsiString FeedbackText() const;
  bool CloseQuery() override;
  void StorePrompt(TObject* Sender);
};
