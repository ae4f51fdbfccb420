// Arrays of one and two dimensions.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var a[5], m[3, 3], i, j, n = 0;
for (i = 0; i < 5; i++) a[i] = i * i;
Check(a[3] == 9, "one dimension");
for (i = 0; i < 3; i++)
  for (j = 0; j < 3; j++)
    m[i, j] = i * 3 + j;
Check(m[2, 1] == 7, "two dimensions");
for (i = 0; i < 5; i++) n += a[i];
Check(n == 30, "sum");
