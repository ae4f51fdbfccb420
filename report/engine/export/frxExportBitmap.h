// A white 32-bit bitmap selected into its own memory DC, for the exports that draw views into
// pictures (the matrix's pictures, the PDF's images, the image export's pages).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

class TfrxExportBitmap {
public:
  // Sizes below 1 become 1.
  TfrxExportBitmap(int Width, int Height);
  ~TfrxExportBitmap();
  TfrxExportBitmap(const TfrxExportBitmap&) = delete;
  TfrxExportBitmap& operator=(const TfrxExportBitmap&) = delete;

  HDC GetDC() const { return FDC; }
  HBITMAP GetHandle() const { return FBitmap; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }

  // Keeps the rectangle (Left, Top, Width, Height) of the picture, moved to its top-left corner.
  void Crop(int Left, int Top, int Width, int Height);
  // Every pixel black or white by its brightness, as a one-bit picture shows it.
  void MakeMonochrome();

  std::vector<std::uint8_t> SaveBmp() const;
  std::vector<std::uint8_t> SaveJpeg(int Quality) const;
  std::vector<std::uint8_t> SavePng() const;

private:
  void Create(int Width, int Height);
  void Free();

  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  int FWidth = 0, FHeight = 0;
};
