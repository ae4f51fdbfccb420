// TImage: shows its Picture: at its top-left, centred (Center), stretched to the control
// (Stretch), or scaled keeping its proportions (Proportional: only ever down unless Stretch).
// With AutoSize the control takes the picture's size.
#pragma once

#include <memory>

#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/graphics/Picture.h"

class TImage : public TGraphicControl {
  PELTO_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  // Owned; SetPicture copies Value. A change repaints.
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool Value);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool Value);
  // Whether the picture's transparent colour lets what is behind show.
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Where the picture is drawn, in client coordinates.
  RECT DestRect();

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(false);
    p.Property("Center", &ThisClass::GetCenter, &ThisClass::SetCenter).Default(false);
    p.Property("Picture", &ThisClass::GetPicture, &ThisClass::SetPicture);
    p.Property("Proportional", &ThisClass::GetProportional, &ThisClass::SetProportional).Default(false);
    p.Property("Stretch", &ThisClass::GetStretch, &ThisClass::SetStretch).Default(false);
    p.Property("Transparent", &ThisClass::GetTransparent, &ThisClass::SetTransparent).Default(false);
  }

protected:
  void Paint() override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void PictureChanged();

private:
  std::unique_ptr<TPicture> FPicture;
  bool FCenter = false, FStretch = false, FProportional = false, FTransparent = false;
};
