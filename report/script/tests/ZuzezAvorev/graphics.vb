' Graphics library: colour names, bitmaps and their canvases, fonts, metafiles.
Sub Check(Ok, What)
  If Not Ok Then RaiseException("failed: " & What)
End Sub

Dim b, m, mc, f, failed = False
Check(clRed = 255, "clRed")
Check(clCream = 15793151, "clCream")
Check(fsBold + fsItalic = 3, "font styles")
b = new TBitmap
b.Width = 30
b.Height = 20
Check(b.Height = 20, "size through TGraphic")
b.Canvas.Pen.Color = clRed
b.Canvas.Brush.Color = clRed
b.Canvas.Rectangle(0, 0, 30, 20)
Check(b.Canvas.Pixels(5, 5) = clRed, "rectangle and Pixels")
b.Canvas.Pixels(1, 1) = clBlue
Check(b.Canvas.Pixels(1, 1) = clBlue, "Pixels written")
f = new TFont
f.Style = fsItalic
Check(f.Style = 2, "a font style set")
f.Free
m = new TMetafile
m.Width = 10
m.Height = 10
mc = new TMetafileCanvas(m, 0)
mc.Pen.Color = clGreen
mc.Brush.Color = clGreen
mc.Rectangle(0, 0, 10, 10)
mc.Free
b.Canvas.StretchDraw(0, 0, 30, 20, m)
Check(b.Canvas.Pixels(15, 10) = clGreen, "metafile played back")
m.Free
Try
  m = new TGraphic
Catch
  failed = True
End Try
Check(failed, "TGraphic itself cannot be made")
b.Free
