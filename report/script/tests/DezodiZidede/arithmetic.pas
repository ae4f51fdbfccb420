// Integer and float arithmetic, operator precedence and the bit operators.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

const Ten = 10;
var i, j: Integer;
    f: Extended;
begin
  i := 7 div 2;
  Check(i = 3, 'div');
  Check(7 mod 3 = 1, 'mod');
  Check(2 + 3 * 4 = 14, 'precedence');
  Check((2 + 3) * 4 = 20, 'parentheses');
  Check(-5 + 2 = -3, 'unary minus');
  f := 7 / 2;
  Check(f = 3.5, 'division');
  Check($FF = 255, 'hex');
  Check(1 shl 4 = 16, 'shl');
  Check(256 shr 4 = 16, 'shr');
  Check((6 and 3) = 2, 'and');
  Check((6 or 3) = 7, 'or');
  Check((6 xor 3) = 5, 'xor');
  Check(1.5e3 = 1500, 'exponent');
  j := Ten * Ten;
  Check(j = 100, 'constant');
  Check((i < j) and not (i > j) and (i <> j) and (i <= 3) and (j >= 100), 'comparisons');
  Check(i in [1, 3..5], 'set');
end.
