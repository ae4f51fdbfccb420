// Host objects: published properties of every kind, methods with var parameters, events
// raised by the host, and an automation object.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var Clicks, LastX, LastButton: Integer;
    Sender: TObject;
    Key: Integer;
    b: THostButton;

procedure Clicked(S: TObject);
begin
  Clicks := Clicks + 1;
  Sender := S;
end;

procedure Pressed(S: TObject; Button, Shift, X, Y: Integer);
begin
  LastButton := Button;
  LastX := X + Y;
end;

procedure KeyHandler(S: TObject; var Key: Integer; Shift: Integer);
begin
  Key := Key + Shift;
end;

procedure CharHandler(S: TObject; var Key: String);
begin
  if Key = 'a' then Key := 'z';
end;

begin
  Button.Width := 120;
  Check(Button.Width = 120, 'integer property');
  Button.Enabled := True;
  Check(Button.Enabled = True, 'boolean property');
  Button.Ratio := 1.5;
  Check(Button.Ratio = 1.5, 'float property');
  Button.Caption := 'OK';
  Check(Button.Caption = 'OK', 'string property');
  Button.Accel := 'q';
  Check(Button.Accel = 'q', 'char property');
  Button.Align := haRight;
  Check(Button.Align = haRight, 'enum property');
  Button.Styles := hsLeft + hsRight;
  Check(Button.Styles = 5, 'set property');
  Button.Data := 'anything';
  Check(Button.Data = 'anything', 'variant property');
  b := THostButton.Create(nil);
  try
    Button.Buddy := b;
    Check(Button.Buddy = b, 'class property');
    b.Caption := 'buddy';
    Check(THostButton(Button.Buddy).Caption = 'buddy', 'cast');
    Button.Buddy := nil;
  finally
    b.Free;
  end;
  Check(Button.ClassName = 'THostButton', 'ClassName');
  with Button do
  begin
    Width := 9;
    Caption := 'with';
  end;
  Check((Button.Width = 9) and (Button.Caption = 'with'), 'with');

  Button.OnClick := 'Clicked';
  Button.Click;
  Button.Click;
  Check((Clicks = 2) and (Sender = Button), 'notify event');
  Button.OnClick := @Clicked;
  Button.Click;
  Check(Clicks = 3, 'handler replaced');
  Button.OnClick := nil;
  Button.Click;
  Check(Clicks = 3, 'handler cleared');

  Button.OnMouseDown := 'Pressed';
  Button.MouseDown(2, 0, 10, 5);
  Check((LastButton = 2) and (LastX = 15), 'mouse event');

  Button.OnKeyDown := 'KeyHandler';
  Key := 40;
  Button.KeyDown(Key, 2);
  Check(Key = 42, 'key event writes back, method var parameter');

  Button.OnKeyPress := 'CharHandler';
  Check(Button.KeyPress('a') = 'z', 'key-press event');

  Auto.Visible := True;
  Check(Auto.Visible, 'automation property');
  Check(Auto.Add(2, 3) = 5, 'automation method');
  Check(Auto.Self.Add(1, 1) = 2, 'automation chain');
end.
