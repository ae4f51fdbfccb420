' Host objects, events and an automation object.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim Clicks = 0, LastY = 0, Snd

Sub Clicked(S)
  Clicks = Clicks + 1
  Snd = S
End Sub

Sub Pressed(S, Btn, Shift, X, Y)
  LastY = Y
End Sub

Sub KeyHandler(S, ByRef Key, Shift)
  Key = 13
End Sub

Button.Width = 7
Check(Button.Width = 7, "integer property")
Button.Caption = "vb"
Check(Button.Caption = "vb", "string property")
Button.Enabled = True
Check(Button.Enabled, "boolean property")
Button.Ratio = 2.5
Check(Button.Ratio = 2.5, "float property")

Button.OnClick = "Clicked"
Button.Click
Check(Clicks = 1, "notify event")
Button.OnMouseDown = "Pressed"
Button.MouseDown(1, 0, 0, 9)
Check(LastY = 9, "mouse event")
Button.OnKeyDown = "KeyHandler"
Dim K = 1
Button.KeyDown(K, 0)
Check(K = 13, "key event and var parameter")

Dim sl = new TStringList
sl.Add("b")
sl.Add("a")
sl.Sort
Check(sl.Strings(0) = "a", "string list")
Dim L = new TList
L.Add(sl)
Check(L.Count = 1, "list")
L.Free
sl.Free

Auto.Visible = True
Check(Auto.Add(1, 2) = 3, "automation method")
