// Integer and float arithmetic, operator precedence and the bit operators.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var i = 7 div 2, f;
Check(i == 3, "div");
Check(7 % 3 == 1, "mod");
Check(2 + 3 * 4 == 14, "precedence");
Check((2 + 3) * 4 == 20, "parentheses");
Check(-5 + 2 == -3, "unary minus");
f = 7 / 2;
Check(f == 3.5, "division");
Check(0xFF == 255, "hex");
Check(1 << 4 == 16, "shl");
Check((6 && 3) == 2, "and");
Check((6 || 3) == 7, "or");
Check((6 ^ 3) == 5, "xor");
i += 2;
i *= 3;
Check(i == 15, "compound assignment");
undeclared = 5;
Check(undeclared * 2 == 10, "undeclared names become variables");
