// Dialogs library: the message dialog answered with its default button, the common dialogs'
// published properties, and the dialog that cannot be made.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var O: TOpenDialog; C: TColorDialog; D: TCommonDialog; Failed: Boolean;
begin
  Check(mbYes + mbNo = 3, 'button sets');
  Check(mtConfirmation = 3, 'dialog types');
  Check(MessageDlg('继续？', mtConfirmation, mbYes + mbNo, 0) = mrYes, 'MessageDlg');
  ShowMessage('完成');
  O := TOpenDialog.Create(nil);
  O.Filter := '合同文件 (*.ht)|*.ht';
  O.FileName := '合同.ht';
  Check(O.FileName = '合同.ht', 'file name');
  O.Free;
  C := TColorDialog.Create(nil);
  C.Color := clRed;
  Check(C.Color = clRed, 'colour');
  C.Free;
  Failed := False;
  try
    D := TCommonDialog.Create(nil);
  except
    Failed := True;
  end;
  Check(Failed, 'TCommonDialog itself cannot be made');
end.
