// The XML tree through the classes library.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var doc: TfsXMLDocument;
    item, child: TfsXMLItem;
    m: TMemoryStream;
begin
  doc := TfsXMLDocument.Create;
  m := TMemoryStream.Create;
  try
    doc.Root.Name := 'contracts';
    item := doc.Root.Add;
    item.Name := 'contract';
    item.Text := 'no="7"';
    Check(doc.Root.Count = 1, 'Add');
    Check(doc.Root[0].Prop('no') = '7', 'Prop');
    Check(doc.Root.Find('contract') = 0, 'Find');
    child := TfsXMLItem.Create;
    child.Name := 'party';
    item.AddItem(child);
    Check(child.Parent = item, 'Parent');
    Check(child.Root = doc.Root, 'Root');
    doc.SaveToStream(m);
    Check(m.Size > 0, 'SaveToStream');
  finally
    m.Free;
    doc.Free;
  end;
end.
