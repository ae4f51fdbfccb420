// Graphics library: colour names, drawing enumerations, bitmaps and their canvases, fonts,
// metafiles recorded through a metafile canvas.
procedure Check(Ok: Boolean; What: String);
begin
  if not Ok then RaiseException('failed: ' + What);
end;

var B: TBitmap; G: TGraphic; M: TMetafile; MC: TMetafileCanvas; F: TFont; Failed: Boolean;
begin
  Check(clRed = 255, 'clRed');
  Check(clBtnFace = -16777201, 'clBtnFace');
  Check(clMoneyGreen = 12639424, 'clMoneyGreen');
  Check(fsBold + fsItalic = 3, 'font styles');
  Check(psDashDot = 3, 'pen styles');
  Check(bsDiagCross = 7, 'brush styles');
  B := TBitmap.Create;
  B.Width := 30;
  B.Height := 20;
  Check((B.Width = 30) and (B.Height = 20), 'size through TGraphic');
  B.Canvas.Pen.Color := clRed;
  B.Canvas.Brush.Color := clRed;
  B.Canvas.Rectangle(0, 0, 30, 20);
  Check(B.Canvas.Pixels[5, 5] = clRed, 'rectangle and Pixels');
  B.Canvas.Pixels[1, 1] := clBlue;
  Check(B.Canvas.Pixels[1, 1] = clBlue, 'Pixels written');
  Check(B.Canvas.TextWidth('合同') > B.Canvas.TextWidth('合'), 'TextWidth');
  Check(B.Canvas.TextHeight('合同') > 0, 'TextHeight');
  F := TFont.Create;
  F.Style := fsUnderline;
  Check(F.Style = 4, 'a font style set');
  F.Free;
  G := TBitmap.Create;
  Check(G.ClassName = 'TBitmap', 'TBitmap.Create makes a bitmap');
  G.Free;
  M := TMetafile.Create;
  M.Width := 10;
  M.Height := 10;
  MC := TMetafileCanvas.Create(M, 0);
  MC.Pen.Color := clGreen;
  MC.Brush.Color := clGreen;
  MC.Rectangle(0, 0, 10, 10);
  MC.Free;
  B.Canvas.StretchDraw(0, 0, 30, 20, M);
  Check(B.Canvas.Pixels[15, 10] = clGreen, 'metafile played back');
  M.Free;
  Failed := False;
  try
    G := TGraphic.Create;
  except
    Failed := True;
  end;
  Check(Failed, 'TGraphic itself cannot be made');
  B.Free;
end.
