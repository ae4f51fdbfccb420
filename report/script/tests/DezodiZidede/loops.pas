// for, while, repeat, break, continue and case.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var i, n: Integer;
    s: String;
begin
  n := 0;
  for i := 1 to 10 do n := n + i;
  Check(n = 55, 'for to');
  s := '';
  for i := 3 downto 1 do s := s + IntToStr(i);
  Check(s = '321', 'for downto');
  n := 0;
  while n < 100 do
  begin
    n := n + 7;
    if n > 50 then break;
  end;
  Check(n = 56, 'while with break');
  n := 0;
  i := 0;
  repeat
    i := i + 1;
    if i mod 2 = 0 then continue;
    n := n + i;
  until i >= 9;
  Check(n = 25, 'repeat with continue');
  for i := 1 to 4 do
    case i of
      1: s := 'one';
      2, 3: s := s + '+';
    else
      s := s + 'end'
    end;
  Check(s = 'one++end', 'case');
end.
