// Forms library: constants, a form with controls made by the script, published properties, and
// the form's events with a var argument that keeps it open.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var F: TForm; B: TButton; E: TEdit; L: TListBox; Shown, Queried, Closed, Act: Integer;

procedure FormShow(Sender: TObject);
begin
  Shown := Shown + 1;
  Check(Sender = F, 'the form is the sender');
end;

procedure FormCloseQuery(Sender: TObject; var CanClose: Boolean);
begin
  Queried := Queried + 1;
  CanClose := Queried > 1;
end;

procedure FormClose(Sender: TObject; var Action: TCloseAction);
begin
  Closed := Closed + 1;
  Act := Action;
  Action := caHide;
end;

begin
  Check(mrYesToAll = 10, 'modal results');
  Check(VK_F12 = 123, 'virtual keys');
  Check(crHourGlass = -11, 'cursors');
  Check(akRight = 4, 'anchors');
  Check(bsDialog = 3, 'border styles');
  F := TForm.Create(Application);
  F.Caption := '测试';
  F.OnShow := 'FormShow';
  F.OnCloseQuery := 'FormCloseQuery';
  F.OnClose := 'FormClose';
  B := TButton.Create(F);
  B.Parent := F;
  B.Caption := '确定';
  B.SetBounds(10, 10, 75, 25);
  Check(B.Parent = F, 'parent');
  Check(B.Owner = F, 'owner');
  Check(B.Width = 75, 'bounds');
  E := TEdit.Create(F);
  E.Parent := F;
  E.Text := '文本';
  Check(E.Text = '文本', 'edit text');
  L := TListBox.Create(F);
  L.Parent := F;
  L.Items.Add('甲');
  L.Items.Add('乙');
  L.ItemIndex := 1;
  Check(L.ItemIndex = 1, 'list box index');
  F.Show;
  Check(Shown = 1, 'OnShow');
  F.Close;
  Check(F.Visible, 'CanClose False keeps the form open');
  F.Close;
  Check((Closed = 1) and not F.Visible, 'closed');
  Check(Act = caHide, 'the close action handed in');
  Check(Application.ExeName <> '', 'ExeName');
  F.Free;
end.
