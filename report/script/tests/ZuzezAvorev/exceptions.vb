' Try/Catch ends an exception, Try/Finally runs its part and lets it go on.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim caught = False, steps = ""
Try
  RaiseException("boom")
  Check(False, "not reached")
Catch
  caught = True
End Try
Check(caught, "catch")
Try
  Try
    steps = steps & "a"
    StrToInt("x")
  Finally
    steps = steps & "f"
  End Try
Catch
  steps = steps & "e"
End Try
Check(steps = "afe", "finally then catch")
