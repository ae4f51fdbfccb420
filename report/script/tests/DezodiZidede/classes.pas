// The classes library: lists, string lists, streams.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var sl: TStringList;
    l: TList;
    m: TMemoryStream;
    s: String;
    i: Integer;
begin
  sl := TStringList.Create;
  l := TList.Create;
  m := TMemoryStream.Create;
  try
    Check(sl.Count = 0, 'empty list');
    Check(sl.Add('b=2') = 0, 'first Add');
    sl.Insert(0, 'a=1');
    Check(sl.Values['b'] = '2', 'Values');
    sl.Values['c'] := '3';
    Check(sl[2] = 'c=3', 'Values appends');
    Check(sl.Names[1] = 'b', 'Names');
    sl.Sorted := True;
    Check(not sl.Find('bb', i) and (i = 2), 'Find var parameter');
    Check(sl.IndexOf('c=3') = 2, 'IndexOf');
    sl.Sorted := False;
    sl.Strings[0] := 'x';
    Check(sl.CommaText = 'x,b=2,c=3', 'CommaText');

    Check(l.Add(sl) = 0, 'TList.Add');
    Check(l.Add(m) = 1, 'TList.Add second');
    Check(l.Items[1] = m, 'TList.Items');
    Check(TStringList(l[0]).Count = 3, 'cast of a list item');

    s := 'hello world';
    Check(m.Write(s, 5) = 5, 'Write');
    Check(m.Size = 5, 'Size');
    m.Position := 1;
    Check((m.Read(s, 10) = 4) and (s = 'ello'), 'Read past the end');
    m.Seek(0, soFromBeginning);
    sl.LoadFromStream(m);
    Check((sl.Count = 1) and (sl[0] = 'hello'), 'LoadFromStream');
  finally
    m.Free;
    l.Free;
    sl.Free;
  end;
end.
