// TGraphic: the base of pictures that can be drawn on a canvas, loaded from and saved to
// streams and files, and stored as the "Data" property of the component stream.
#pragma once

#include <functional>

#include "platform/classes/Persistent.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/Exceptions.h"

class TCanvas;
class TStream;

// Data that is not a picture of the expected format, an unknown file extension.
PELTO_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
// An operation the graphic cannot do (resizing an icon).
PELTO_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphic : public TPersistent {
  PELTO_CLASS(TGraphic, TPersistent)
public:
  TGraphic() = default;

  virtual bool GetEmpty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  // Drawn with its background colour left out (bitmaps) or its mask applied (icons).
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool GetModified() const { return FModified; }
  // Setting it tells OnChange.
  void SetModified(bool Value);

  // Reads the graphic from the stream's position; raises EInvalidGraphic (or the picture
  // codec's EInvalidImage) for data it cannot read, and leaves the graphic as it was then.
  virtual void LoadFromStream(TStream* Stream) = 0;
  // Writes the graphic in its file format; an empty graphic writes nothing.
  virtual void SaveToStream(TStream* Stream) = 0;
  // Raise the file stream's EFOpenError / EFCreateError for files that cannot be opened.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);

  // Told after every change of the picture.
  std::function<void(TObject* Sender)> OnChange;

protected:
  friend class TCanvas;
  friend class TPicture;

  // Draws the picture stretched into Rect.
  virtual void Draw(TCanvas* ACanvas, const RECT& Rect) = 0;
  virtual void Changed();
  // The form inside a component stream's "Data" block; Stream holds exactly the block when
  // reading. Here the file format itself.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
  // The "Data" form of graphics whose block holds a 32-bit length before the file's bytes.
  // ReadSizedData loads the bytes; a length of zero or less empties the graphic through Clear.
  void ReadSizedData(TStream* Stream);
  void WriteSizedData(TStream* Stream);
  // Empties the graphic and reports the change.
  virtual void Clear() {}
  // "Data" when the graphic is not empty, so a graphic published by itself streams.
  void DefineProperties(TFiler* Filer) override;

private:
  bool FTransparent = false;
  bool FModified = false;
};

using TGraphicClass = TClass;
