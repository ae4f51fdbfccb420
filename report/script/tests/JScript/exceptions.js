// try/except ends an exception, try/finally runs its part and lets it go on.
function Check(ok, what) { if (!ok) RaiseException("failed: " + what); }

var caught = false, steps = "";
try {
  RaiseException("boom");
  Check(false, "not reached");
} except {
  caught = true;
}
Check(caught, "except");
try {
  try {
    steps = steps + "a";
    StrToInt("x");
  } finally {
    steps = steps + "f";
  }
} except {
  steps = steps + "e";
}
Check(steps == "afe", "finally then except");
