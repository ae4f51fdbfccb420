// The system library from the JavaScript-like language.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var i = 5;
Check(IntToStr(42) == "42", "IntToStr");
Check(StrToInt("-17") == -17, "StrToInt");
Check(Round(2.5) == 2, "Round to even");
Check(Chr(65) == "A", "Chr");
Check(Ord("a") == 97, "Ord");
Inc(i);
Check(i == 6, "Inc");
Check(Format("%d", [12345678901]) == "12345678901", "64-bit Format");
