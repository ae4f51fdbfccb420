// Procedures and functions: var parameters, results, recursion and exit.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

procedure Swap(var a, b: Integer);
var t: Integer;
begin
  t := a;
  a := b;
  b := t;
end;

function Fact(n: Integer): Integer;
begin
  if n <= 1 then
    Result := 1
  else
    Result := n * Fact(n - 1);
end;

function FirstOver(Limit: Integer): Integer;
var i: Integer;
begin
  Result := -1;
  for i := 1 to 100 do
    if i * i > Limit then
    begin
      Result := i;
      exit;
    end;
end;

var x, y: Integer;
begin
  x := 1;
  y := 2;
  Swap(x, y);
  Check((x = 2) and (y = 1), 'var parameters');
  Check(Fact(10) = 3628800, 'recursion');
  Check(FirstOver(50) = 8, 'exit');
end.
