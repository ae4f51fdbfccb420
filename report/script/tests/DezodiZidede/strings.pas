// Strings with Chinese text: concatenation, byte lengths, copying, searching, indexing.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var s, t: String;
begin
  s := '合同';
  t := s + '管理';
  Check(t = '合同管理', 'concatenation');
  Check(Length(s) = 4, 'byte length');
  Check(Copy(t, 5, 4) = '管理', 'copy');
  Check(Pos('管理', t) = 5, 'pos');
  Check(UpperCase('abc') = 'ABC', 'upper case');
  Check('it''s' = 'it' + #39 + 's', 'quotes');
  Check('&#65;' <> 'A', 'reference-like text stays');
  s := 'abc';
  Check(s[2] = 'b', 'index');
  Delete(s, 1, 1);
  Check(s = 'bc', 'delete');
  Insert('a', s, 1);
  Check(s = 'abc', 'insert');
  Check(Format('%s-%d', ['合同', 12]) = '合同-12', 'format');
  Check(Trim('  x ') = 'x', 'trim');
end.
