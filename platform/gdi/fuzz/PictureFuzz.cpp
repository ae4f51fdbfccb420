// Feeds arbitrary bytes to every picture reader: each answers a picture or raises EInvalidImage,
// and a picture it answers can be written again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Icons.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::vector<std::uint8_t> bytes(data, data + size);
  using TLoader = HBITMAP (*)(const std::vector<std::uint8_t>&);
  for (TLoader load : {TLoader(&BmpFile::LoadBmp), TLoader(&JpegFile::LoadJpeg), TLoader(&PngFile::LoadPng)}) {
    try {
      HBITMAP b = load(bytes);
      BmpFile::SaveBmp(b);
      Windows::DeleteObject(b);
    } catch (const EInvalidImage&) {}
  }
  try {
    Windows::DestroyIcon(IcoFile::LoadIco(bytes));
  } catch (const EInvalidImage&) {}
  return 0;
}
