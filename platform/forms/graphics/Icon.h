// TIcon: a picture from an icon file (.ico), drawn through its mask, saved as the same file.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms/graphics/Graphic.h"

class TIcon : public TGraphic {
  PELTO_CLASS(TIcon, TGraphic)
public:
  // Icons are drawn transparent.
  TIcon();
  ~TIcon() override;

  // From another icon: a copy of its file; nullptr empties the icon.
  void Assign(TPersistent* Source) override;

  bool GetEmpty() const override { return FHandle == nullptr; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // Raise EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // The icon handle of the image nearest 32 x 32 pixels; owned by the icon.
  HICON GetHandle() const { return FHandle; }

  // An icon file from the stream's position; its directory says where it ends. Raises
  // EInvalidGraphic "Icon image is not valid" for data that is not one.
  void LoadFromStream(TStream* Stream) override;
  // The file as it was loaded.
  void SaveToStream(TStream* Stream) override;

protected:
  void Draw(TCanvas* ACanvas, const RECT& Rect) override;
  // To a bitmap: the icon drawn over white at its size.
  void AssignTo(TPersistent* Dest) override;

private:
  void FreeHandle();

  std::vector<std::uint8_t> FData;
  HICON FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
};
