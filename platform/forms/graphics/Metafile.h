// TMetafile: a recorded drawing kept in the enhanced-metafile file form (.emf), played into the
// rectangle it is drawn in; TMetafileCanvas: a canvas that records into a metafile.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Graphic.h"

class TMetafile : public TGraphic {
  PELTO_CLASS(TMetafile, TGraphic)
public:
  TMetafile() = default;
  ~TMetafile() override;

  // From another metafile: a copy of its recording and size; nullptr empties the metafile.
  void Assign(TPersistent* Source) override;

  bool GetEmpty() const override { return FHandle == nullptr; }
  // Pixels at 96 dpi. Loading sets them from the header's frame measured on its reference
  // device; setting them changes the size the picture is shown at (and the frame of the next
  // recording), not the records.
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // The same size in 0.01 mm.
  int GetMMWidth() const { return FMMWidth; }
  int GetMMHeight() const { return FMMHeight; }
  void SetMMWidth(int Value);
  void SetMMHeight(int Value);
  // Always the enhanced form; there is no other here.
  bool GetEnhanced() const { return true; }
  // Owned by the metafile; null when empty.
  HENHMETAFILE GetHandle() const { return FHandle; }
  // Takes ownership of Value (null empties) and sizes the picture from its header.
  void SetHandle(HENHMETAFILE Value);

  // An enhanced metafile from the stream's position; its header says where it ends. Raises
  // EInvalidGraphic "Metafile is not valid" for data that is not a whole, well-formed one, and
  // leaves the metafile as it was.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;
  // A 32-bit length, then the file.
  void ReadData(TStream* Stream) override { ReadSizedData(Stream); }
  void WriteData(TStream* Stream) override { WriteSizedData(Stream); }
  void Clear() override;

private:
  friend class TMetafileCanvas;
  void Adopt(HENHMETAFILE Value);
  void FreeHandle();

  HENHMETAFILE FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
  int FMMWidth = 0, FMMHeight = 0;
};

// Drawing on it records into AMetafile (which must outlive the canvas); the recording replaces
// the metafile's picture when the canvas is freed. The frame is the metafile's size when it has
// one, else the bounds of the drawing. ReferenceDevice null measures on the screen.
class TMetafileCanvas : public TCanvas {
  PELTO_CLASS(TMetafileCanvas, TCanvas)
public:
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  ~TMetafileCanvas() override;

private:
  TMetafile* FMetafile;
};

namespace Metafile {
// Pixels at 96 dpi for a size in 0.01 mm, and back.
int MMToPixels(int Value);
int PixelsToMM(int Value);
}  // namespace Metafile
