' Integer and float arithmetic, operator precedence and the bit operators.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim i As Integer, f As Decimal
i = 7 \ 2
Check(i = 3, "integer division")
Check(7 Mod 3 = 1, "mod")
Check(2 + 3 * 4 = 14, "precedence")
Check((2 + 3) * 4 = 20, "parentheses")
Check(-5 + 2 = -3, "unary minus")
f = 7 / 2
Check(f = 3.5, "division")
Check(0xFF = 255, "hex")
Check((6 And 3) = 2, "and")
Check((6 Or 3) = 7, "or")
Check((6 Xor 3) = 5, "xor")
i += 2
i *= 3
Check(i = 15, "compound assignment")
Check(1 + _
      2 = 3, "continued line")
rem a comment line
/\ a block comment /\
Check((i < 20) And Not (i > 20) And (i <> 20) And (i <= 15) And (i >= 15), "comparisons")
