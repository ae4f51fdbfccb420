// The small borderless window that shows how preparing, printing or exporting goes, with a
// cancel button; and the report password window.
#pragma once

#include "platform/forms/forms/Form.h"
#include "report/engine/model/frxCustomPreview.h"

class TButton;
class TEdit;
class TLabel;
class TPanel;
class TProgressBar;

class TfrxProgress : public TForm, public IfrxProgressWindow {
  PELTO_DECLARE_CLASS(TfrxProgress, TForm)
public:
  // Disables the application's active form until the window hides.
  explicit TfrxProgress(TComponent* AOwner);
  ~TfrxProgress() override;

  void Execute(Integer MaxValue, const AnsiString& Message, bool ShowBar, bool ShowCancel) override;
  void SetMessageText(const AnsiString& Text) override;
  bool GetCancelled() const override { return FCancelled; }
  void SetCancelled(bool Value) { FCancelled = Value; }
  // Sets the bar, brings the window to the front and lets pending messages run.
  void SetBarValue(Integer Value);
  Integer GetBarValue() const;
  void Tick() { SetBarValue(GetBarValue() + 1); }
  void Reset() { SetBarValue(0); }

  TLabel* GetMessageLabel() const { return FMessage; }
  TProgressBar* GetBar() const { return FBar; }
  TButton* GetCancelB() const { return FCancelB; }

protected:
  void DoHide() override;
  void Dispatch(TMessage& Message) override;

private:
  TPanel* FPanel;
  TLabel* FMessage;
  TProgressBar* FBar;
  TButton* FCancelB;
  TCustomForm* FDisabledForm = nullptr;
  bool FCancelled = false;
};

class TfrxPasswordForm : public TForm {
  PELTO_DECLARE_CLASS(TfrxPasswordForm, TForm)
public:
  explicit TfrxPasswordForm(TComponent* AOwner);
  TEdit* GetPasswordE() const { return FPasswordE; }
  TButton* GetOkB() const { return FOkB; }

private:
  TLabel* FPasswordL;
  TEdit* FPasswordE;
  TButton *FOkB, *FCancelB;
};
