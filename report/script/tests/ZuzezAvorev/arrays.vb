' Arrays of one and two dimensions.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim a[5], m[3, 3], i, j, n
For i = 0 To 4
  a[i] = i * i
Next
Check(a[3] = 9, "one dimension")
For i = 0 To 2
  For j = 0 To 2
    m[i, j] = i * 3 + j
  Next
Next
Check(m[2, 1] = 7, "two dimensions")
n = 0
For i = 0 To 4
  n = n + a[i] : a[i] = 0
Next
Check(n = 30, "sum")
