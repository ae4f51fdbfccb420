' For, While, Do, Select Case and the block and line forms of If.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim i, n, s
n = 0
For i = 1 To 10
  n = n + i
Next
Check(n = 55, "for")
n = 0
For i = 10 To 1 Step -3
  n = n + 1
Next
Check(n = 4, "for with step")
n = 0
While n < 100
  n = n + 7
  If n > 50 Then Break
Wend
Check(n = 56, "while with break")
i = 0
Do
  i = i + 1
Loop Until i >= 9
Check(i = 9, "do until")
s = ""
For i = 1 To 4
  Select Case i
  Case 1:
    s = "one"
  Case 2, 3:
    s = s & "+"
  Case Else:
    s = s & "end"
  End Select
Next
Check(s = "one++end", "select case")
If n > 100 Then
  s = "big"
ElseIf n > 50 Then
  s = "medium"
Else
  s = "small"
End If
Check(s = "medium", "block if")
If n > 100 Then s = "big" Else s = "small"
Check(s = "small", "line if with else")
If n > 50 Then s = "a" : i = 1 Else s = "b" : i = 2
Check(s = "a", "line if: first statement")
Check(i = 1, "line if: second statement")
If n > 100 Then s = "x" Else If n > 50 Then s = "y" Else s = "z"
Check(s = "y", "else if on one line")
If n > 100 Then
  If n > 0 Then s = "inner"
Else
  s = "outer"
End If
Check(s = "outer", "an else on its own line belongs to the block")
