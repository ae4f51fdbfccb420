// Dialogs library: the message dialog and the common dialogs' properties.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

Check(mbYesToAll == 512, "button sets");
Check(MessageDlg("继续？", mtInformation, mbOK, 0) == mrOk, "MessageDlg");
var d = new TPrintDialog(nil);
d.Copies = 2;
Check(d.Copies == 2, "copies");
d.Free();
