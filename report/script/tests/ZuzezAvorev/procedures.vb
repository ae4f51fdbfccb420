' Subs and functions: ByRef parameters, results, recursion.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Sub Swap(ByRef a, ByRef b)
  Dim t = a
  a = b
  b = t
End Sub

Function Fact(n) As Integer
  If n <= 1 Then Return 1
  Return n * Fact(n - 1)
End Function

Dim x = 1, y = 2
Swap(x, y)
Check((x = 2) And (y = 1), "ByRef parameters")
Check(Fact(10) = 3628800, "recursion")
