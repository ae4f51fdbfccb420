// Forms library: a form with controls, published properties and the form's events.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var f, m, shown = 0, queried = 0, closed = 0;
function FormShow(sender) { shown++; }
function FormCloseQuery(sender, &canClose) { queried++; canClose = queried > 1; }
function FormClose(sender, &action) { closed++; action = caHide; }

Check(VK_RETURN == 13, "virtual keys");
Check(mrNo == 7, "modal results");
Check(crSizeAll == -22, "cursors");
f = new TForm(Application);
f.Caption = "测试";
f.OnShow = "FormShow";
f.OnCloseQuery = "FormCloseQuery";
f.OnClose = "FormClose";
m = new TMemo(f);
m.Parent = f;
m.Lines.Add("第一行");
Check(m.Lines.Count == 1, "memo lines");
f.Show();
Check(shown == 1, "OnShow");
f.Close();
Check(f.Visible, "CanClose false keeps the form open");
f.Close();
Check(closed == 1, "OnClose");
Check(!f.Visible, "closed");
f.Free();
