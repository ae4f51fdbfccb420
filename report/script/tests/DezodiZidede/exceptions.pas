// try/except ends an exception, try/finally runs its part and lets it go on.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var Caught, Cleaned: Boolean;
    Steps: String;
begin
  Caught := False;
  try
    RaiseException('boom');
    Check(False, 'not reached');
  except
    Caught := True;
  end;
  Check(Caught, 'except');
  Steps := '';
  Cleaned := False;
  try
    try
      Steps := Steps + 'a';
      StrToInt('x');
      Steps := Steps + 'b';
    finally
      Cleaned := True;
      Steps := Steps + 'f';
    end;
  except
    Steps := Steps + 'e';
  end;
  Check(Cleaned and (Steps = 'afe'), 'finally then except');
end.
