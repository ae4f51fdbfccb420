// Static arrays with bounds, two dimensions, and Variant arrays.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var a: array[1..5] of Integer;
    m: array[0..2, 0..2] of Integer;
    v: Variant;
    i, j, n: Integer;
begin
  for i := 1 to 5 do a[i] := i * i;
  Check(a[3] = 9, 'one dimension');
  for i := 0 to 2 do
    for j := 0 to 2 do
      m[i, j] := i * 3 + j;
  Check(m[2, 1] = 7, 'two dimensions');
  v := VarArrayCreate([0, 2], 12);
  v[0] := '合同';
  v[2] := 3;
  Check(v[0] + IntToStr(v[2]) = '合同3', 'variant array');
  n := 0;
  for i := 1 to 5 do n := n + a[i];
  Check(n = 55, 'sum');
end.
