' Dialogs library: the message dialog and the common dialogs' properties.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim d
Check(mbCancel = 8, "button sets")
Check(MessageDlg("确定？", mtWarning, mbOK + mbCancel, 0) = mrOk, "MessageDlg")
d = new TFontDialog(nil)
d.Font.Size = 14
Check(d.Font.Size = 14, "the dialog's font")
d.Free
