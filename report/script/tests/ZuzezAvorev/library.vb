' The system library from the line-oriented language.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim i
Check(IntToStr(42) = "42", "IntToStr")
Check(StrToInt("-17") = -17, "StrToInt")
Check(Round(2.5) = 2, "Round to even")
Check(Chr(65) = "A", "Chr")
Check(Ord("a") = 97, "Ord")
i = 5
Inc(i)
Check(i = 6, "Inc")
Check(Format("%d", [12345678901]) = "12345678901", "64-bit Format")
