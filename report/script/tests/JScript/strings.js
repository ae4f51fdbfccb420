// Strings with Chinese text: concatenation, byte lengths, escapes, indexing.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var s = "合同", t;
t = s + "管理";
Check(t == "合同管理", "concatenation");
Check(Length(s) == 4, "byte length");
Check(Copy(t, 5, 4) == "管理", "copy");
Check(Pos("管理", t) == 5, "pos");
Check("\x41\n" == "A" + Chr(10), "escapes");
s = "abc";
Check(s[2] == "b", "index");
Check(Format("%s-%d", ["合同", 12]) == "合同-12", "format");
