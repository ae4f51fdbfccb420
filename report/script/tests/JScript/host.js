// Host objects, events and an automation object.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var clicks = 0, lastX = 0, sender;

function Clicked(s) { clicks++; sender = s; }
function Pressed(s, button, shift, x, y) { lastX = x * button; }
function KeyHandler(s, &key, shift) { key = key * 2; }
function CharHandler(s, &key) { key = "B"; }

Button.Width = 64;
Check(Button.Width == 64, "integer property");
Button.Enabled = false;
Check(Button.Enabled == false, "boolean property");
Button.Ratio = 0.25;
Check(Button.Ratio == 0.25, "float property");
Button.Caption = "js";
Check(Button.Caption == "js", "string property");
Button.Align = haCenter;
Check(Button.Align == 1, "enum property");
var b = new THostButton(nil);
Button.Buddy = b;
b.Caption = "buddy";
Check(THostButton(Button.Buddy).Caption == "buddy", "class property and cast");
var buddy = Button.Buddy;
Check(buddy.Caption == "buddy", "late-bound member of a Variant");
Button.Buddy = nil;
b.Free();

Button.OnClick = "Clicked";
Button.Click();
Check((clicks == 1) && (sender == Button), "notify event");
Button.OnMouseDown = "Pressed";
Button.MouseDown(3, 0, 7, 0);
Check(lastX == 21, "mouse event");
Button.OnKeyDown = "KeyHandler";
var key = 21;
Button.KeyDown(key, 0);
Check(key == 42, "key event and var parameter");
Button.OnKeyPress = "CharHandler";
Check(Button.KeyPress("a") == "B", "key-press event");

with (Button) { Width = 11; Caption = "with"; }
Check((Button.Width == 11) && (Button.Caption == "with"), "with");

var sl = new TStringList;
sl.Add("one");
sl.Add("two");
Check(sl.Count == 2, "late-bound string list");
Check(sl.Strings[1] == "two", "late-bound indexed property");
var i = 0;
sl.Sorted = true;
Check(sl.Find("three", i) == false, "Find");
Check(i == 1, "late-bound var parameter");
var m = new TMemoryStream;
m.Write("abc", 3);
m.Position = 0;
var s = "";
Check(m.Read(s, 5) == 3, "stream Read");
Check(s == "abc", "stream Read text");
sl.Sorted = false;
Check(sl[0] == "one", "default property of a Variant object");
sl[0] = "zero";
Check(sl.Strings[0] == "zero", "default property written");
sl[0] = "one";
with (sl) { Add("three"); }
Check(sl.Count == 3, "with a Variant object");
m.Free();
sl.Free();

Auto.Visible = true;
Check(Auto.Visible == true, "automation property");
Check(Auto.Add(20, 22) == 42, "automation method");
