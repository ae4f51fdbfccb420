' Strings with Chinese text: concatenation, byte lengths, escapes.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim s = "合同", t
t = s & "管理"
Check(t = "合同管理", "concatenation")
Check(Length(s) = 4, "byte length")
Check(Copy(t, 5, 4) = "管理", "copy")
Check(Pos("管理", t) = 5, "pos")
Check("a" & 1 = "a1", "number to text")
Check("\x41" = "A", "hex escape")
s = "abc"
Check(s[2] = "b", "index")
Check(Format("%s-%d", ["合同", 12]) = "合同-12", "format")
