// TPicture: a holder of one graphic of any registered class, loaded and saved by file extension
// and stored in the component stream as the defined property "Data": the graphic's class name as
// a short string (a length byte, then the name), then the graphic's own data form.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Persistent.h"
#include "platform/forms/graphics/Graphic.h"

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
  PELTO_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;

  // From a picture or a graphic: a copy of the graphic; nullptr clears the picture.
  void Assign(TPersistent* Source) override;

  // Owned by the picture; null when it holds none.
  TGraphic* GetGraphic() const { return FGraphic.get(); }
  // A copy of Value (a new object of its class); nullptr clears the picture.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap / an icon; a graphic of another class is dropped for an empty one
  // first. Owned by the picture.
  TBitmap* GetBitmap();
  TIcon* GetIcon();
  // The graphic's size; 0 without one.
  int GetWidth() const;
  int GetHeight() const;

  // The graphic class comes from the extension (the registry of the graphics unit); raises
  // EInvalidGraphic "Unknown picture file extension (.xyz)" for an extension no class reads, and
  // what the class raises for its file. The picture is unchanged when loading fails.
  void LoadFromFile(const AnsiString& FileName);
  // The graphic in its own format, whatever the extension; nothing without a graphic.
  void SaveToFile(const AnsiString& FileName);

  // Told after every change of the graphic or of its contents.
  std::function<void(TObject* Sender)> OnChange;

protected:
  void AssignTo(TPersistent* Dest) override;
  // "Data" when the picture holds a graphic that is not empty.
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed();

private:
  void Adopt(std::unique_ptr<TGraphic> Value);
  // Raises EInvalidGraphic for a class name no registered class has; the picture is then empty.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  std::unique_ptr<TGraphic> FGraphic;
};
