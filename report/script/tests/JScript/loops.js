// for, while, do-while, break, continue and switch.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var i, n = 0, s = "";
for (i = 1; i <= 10; i++) n += i;
Check(n == 55, "for");
n = 0;
while (n < 100) {
  n = n + 7;
  if (n > 50) break;
}
Check(n == 56, "while with break");
n = 0;
i = 0;
do {
  i++;
  if (i % 2 == 0) continue;
  n += i;
} while (i < 9);
Check(n == 25, "do while with continue");
for (i = 1; i <= 4; i++)
  switch (i) {
    case 1: s = "one";
    case 2, 3: s = s + "+";
    default: s = s + "end";
  }
Check(s == "one++end", "switch");
