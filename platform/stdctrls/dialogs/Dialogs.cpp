#include "platform/stdctrls/dialogs/Dialogs.h"

#include <memory>

#include "platform/forms/app/Application.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/stdctrls/dialogs/MessageBox.h"

namespace Dialogs {

namespace {
bool gInstalled = false;
std::unique_ptr<MessageSeam::TMessageBoxService> gPrevious;  // the service Initialize replaced

// The seam's boxes on the desktop.
class TDesktopMessageBox : public MessageSeam::TMessageBoxService {
public:
  int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) override
  {
    return MsgBox::ShowFlags(Text, Caption, Flags);
  }
};

unsigned IconFlags(TMsgDlgType DlgType)
{
  switch (DlgType) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return 0;
  }
}

TBoxIcon Icon(TMsgDlgType DlgType)
{
  switch (DlgType) {
    case mtWarning: return TBoxIcon::Warning;
    case mtError: return TBoxIcon::Error;
    case mtInformation: return TBoxIcon::Information;
    case mtConfirmation: return TBoxIcon::Question;
    default: return TBoxIcon::None;
  }
}

// The seam's flags for the sets it can name; 0xFFFF for the others.
unsigned SeamButtons(TMsgDlgButtons B)
{
  using S = TMsgDlgButtons;
  struct {
    S Set;
    unsigned Flags;
  } const kSets[] = {{S{mbOK}, MB_OK},
                     {S{mbOK, mbCancel}, MB_OKCANCEL},
                     {S{mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE},
                     {S{mbYes, mbNo, mbCancel}, MB_YESNOCANCEL},
                     {S{mbYes, mbNo}, MB_YESNO},
                     {S{mbRetry, mbCancel}, MB_RETRYCANCEL},
                     {S{mbYes, mbNo, mbAll}, MB_YESNOALL}};
  for (const auto& s : kSets)
    if (s.Set == B) return s.Flags;
  return 0xFFFF;
}
}  // namespace

AnsiString DialogCaption(TMsgDlgType DlgType)
{
  switch (DlgType) {
    case mtWarning: return "警告";
    case mtError: return "错误";
    case mtInformation: return "信息";
    case mtConfirmation: return "确认";
    default: return Forms::Application ? Forms::Application->GetTitle() : AnsiString();
  }
}

int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y)
{
  (void)HelpCtx;
  if (Buttons.Empty()) Buttons = TMsgDlgButtons{mbOK};
  unsigned flags = SeamButtons(Buttons);
  // The IDs of the seam and the modal results share their numbers (IDOK = mrOk ... IDALL = mrAll).
  if (flags != 0xFFFF && X < 0 && Y < 0)
    return MessageSeam::Show(Msg, DialogCaption(DlgType), flags | IconFlags(DlgType));
  static constexpr struct {
    TMsgDlgBtn Btn;
    int Result;
  } kOrder[] = {{mbYes, mrYes},           {mbNo, mrNo},       {mbOK, mrOk},
                {mbCancel, mrCancel},     {mbAbort, mrAbort}, {mbRetry, mrRetry},
                {mbIgnore, mrIgnore},     {mbAll, mrAll},     {mbNoToAll, mrNoToAll},
                {mbYesToAll, mrYesToAll}, {mbHelp, 11}};
  std::vector<TBoxButton> buttons;
  for (const auto& o : kOrder)
    if (Buttons.Contains(o.Btn)) buttons.push_back({o.Result, MsgBox::ButtonText(o.Result)});
  int cancel = Buttons.Contains(mbCancel) ? mrCancel : 0;
  TMessageBoxWindow box(Msg, DialogCaption(DlgType), Icon(DlgType), std::move(buttons), 0, cancel);
  return box.Run(X, Y);
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessage(const AnsiString& Msg)
{
  MessageSeam::Show(Msg, Forms::Application ? Forms::Application->GetTitle() : AnsiString(), MB_OK);
}

int MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  return MessageSeam::Show(Text, Caption, Flags);
}

bool InputQuery(const AnsiString& Caption, const AnsiString& Prompt, AnsiString& Value)
{
  TMessageBoxWindow box(Prompt, Caption, TBoxIcon::None,
                        {{mrOk, MsgBox::ButtonText(mrOk)}, {mrCancel, MsgBox::ButtonText(mrCancel)}}, 0, mrCancel);
  box.AddInput(Value);
  if (box.Run() != mrOk) return false;
  Value = box.InputText();
  return true;
}

AnsiString InputBox(const AnsiString& Caption, const AnsiString& Prompt, const AnsiString& Default)
{
  AnsiString value = Default;
  InputQuery(Caption, Prompt, value);
  return value;
}

void Initialize()
{
  if (gInstalled) return;
  gInstalled = true;
  gPrevious = MessageSeam::Install(std::make_unique<TDesktopMessageBox>());
}

void Finalize()
{
  if (!gInstalled) return;
  gInstalled = false;
  MessageSeam::Install(std::move(gPrevious));
}

}  // namespace Dialogs
