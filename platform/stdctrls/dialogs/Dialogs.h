// Message dialogs and input boxes: MessageDlg / MessageDlgPos (a type, a set of buttons, the
// modal result of the button pressed), ShowMessage, MessageBox, InputBox and InputQuery. The
// captions and button texts come from the table of dialogs/MessageBox.
//
// MessageDlg, ShowMessage and MessageBox go through the message seam of platform/rtl, so
// that tests answer them there; Initialize installs the desktop box as the seam's handler.
// Button sets the seam's flags cannot name (mbYesToAll, mbNoToAll, mbHelp, mixed sets) show
// the desktop box directly.
#pragma once

#include "platform/classes/ClassDecl.h"
#include "platform/forms/controls/ControlTypes.h"

PELTO_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
PELTO_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
PELTO_SET(TMsgDlgButtons, TMsgDlgBtn)

namespace Dialogs {

// The caption of a dialog type ("警告", "错误", "信息", "确认"; mtCustom: the application's title).
AnsiString DialogCaption(TMsgDlgType DlgType);
// Answers the modal result of the button pressed (mrOk ... mrYesToAll); Escape answers mrCancel
// when the set has Cancel (a box of one button: that button's), as the seam's boxes do.
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// The same with the box's top-left corner at X, Y on the screen (-1, -1: centred).
int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
void ShowMessage(const AnsiString& Msg);
// The MB_ flags' box; answers IDOK ... IDALL.
int MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);
// The text entered, or Default when cancelled.
AnsiString InputBox(const AnsiString& Caption, const AnsiString& Prompt, const AnsiString& Default);
// True when confirmed, with the text written back into Value; Value is untouched otherwise.
bool InputQuery(const AnsiString& Caption, const AnsiString& Prompt, AnsiString& Value);

// Installs the desktop box as the message seam's handler (the previous one is put back by
// Finalize). Idempotent.
void Initialize();
void Finalize();

}  // namespace Dialogs
