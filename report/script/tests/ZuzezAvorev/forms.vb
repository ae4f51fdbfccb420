' Forms library: a form with controls, published properties and the form's events.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim f, b, cb, shown = 0, queried = 0, closed = 0

Sub FormShow(Sender)
  shown = shown + 1
End Sub

Sub FormCloseQuery(Sender, ByRef CanClose)
  queried = queried + 1
  CanClose = queried > 1
End Sub

Sub FormClose(Sender, ByRef Action)
  closed = closed + 1
  Action = caHide
End Sub

Check(VK_ESCAPE = 27, "virtual keys")
Check(mrCancel = 2, "modal results")
Check(caFree = 2, "close actions")
f = new TForm(Application)
f.Caption = "测试"
f.OnShow = "FormShow"
f.OnCloseQuery = "FormCloseQuery"
f.OnClose = "FormClose"
b = new TButton(f)
b.Parent = f
b.Caption = "确定"
Check(b.Caption = "确定", "caption")
cb = new TComboBox(f)
cb.Parent = f
cb.Items.Add("一")
cb.Items.Add("二")
cb.ItemIndex = 1
Check(cb.ItemIndex = 1, "combo box index")
f.Show
Check(shown = 1, "OnShow")
f.Close
Check(f.Visible, "CanClose False keeps the form open")
f.Close
Check(closed = 1, "OnClose")
Check(Not f.Visible, "closed")
f.Free
