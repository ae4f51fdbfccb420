// Functions: reference parameters, results, recursion.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

function Swap(&a, &b) {
  var t = a;
  a = b;
  b = t;
}

function Fact(n) {
  if (n <= 1) return 1;
  return n * Fact(n - 1);
}

var x = 1, y = 2;
Swap(x, y);
Check((x == 2) && (y == 1), "reference parameters");
Check(Fact(10) == 3628800, "recursion");
