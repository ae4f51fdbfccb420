// The system library: conversions, mathematics, dates and the other functions.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var i: Integer;
    y, m, d: Word;
begin
  Check(IntToStr(42) = '42', 'IntToStr');
  Check(StrToInt('-17') = -17, 'StrToInt');
  Check(Round(2.5) = 2, 'Round to even');
  Check(Trunc(-2.7) = -2, 'Trunc');
  Check(Abs(-3) = 3, 'Abs');
  Check(Sqrt(16) = 4, 'Sqrt');
  Check(Chr(65) = 'A', 'Chr');
  Check(Ord('a') = 97, 'Ord');
  Check(ValidInt('12') and not ValidInt('1x'), 'ValidInt');
  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
  Check((y = 2024) and (m = 2) and (d = 29), 'dates');
  Check(DaysInMonth(2023, 2) = 28, 'DaysInMonth');
  i := 5;
  Inc(i);
  Inc(i, 10);
  Dec(i);
  Check(i = 15, 'Inc and Dec');
  Check(FormatFloat('0.00', 3.14159) = '3.14', 'FormatFloat');
  Check(Format('%d', [12345678901]) = '12345678901', '64-bit Format');
end.
