#include "platform/forms/graphics/GraphicFormats.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/rtl/StringUtils.h"

namespace Graphics {

namespace {

struct TFileFormat {
  AnsiString Extension;  // lower case, no dot
  AnsiString Description;
  TGraphicClass Class;
};

std::mutex& Lock()
{
  static std::mutex m;
  return m;
}

std::vector<TFileFormat>& Formats()
{
  static std::vector<TFileFormat> formats;
  return formats;
}

}  // namespace

void Initialize()
{
  RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  RegisterFileFormat("ico", "Icons", TIcon::StaticClass());
  RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::StaticClass());
  RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
  RegisterFileFormat("emf", "Enhanced Metafiles", TMetafile::StaticClass());
}

void Finalize()
{
  std::lock_guard<std::mutex> g(Lock());
  Formats().clear();
}

void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description, TGraphicClass AClass)
{
  std::lock_guard<std::mutex> g(Lock());
  AnsiString ext = SysUtils::LowerCase(Extension);
  auto& formats = Formats();
  for (TFileFormat& f : formats)
    if (f.Extension == ext) {
      f.Description = Description;
      f.Class = AClass;
      return;
    }
  formats.push_back(TFileFormat{ext, Description, AClass});
}

void UnregisterGraphicClass(TGraphicClass AClass)
{
  std::lock_guard<std::mutex> g(Lock());
  auto& formats = Formats();
  formats.erase(std::remove_if(formats.begin(), formats.end(), [&](const TFileFormat& f) { return f.Class == AClass; }),
                formats.end());
}

TGraphicClass FindGraphicClassByExtension(const AnsiString& Extension)
{
  std::lock_guard<std::mutex> g(Lock());
  AnsiString ext = SysUtils::LowerCase(Extension);
  for (const TFileFormat& f : Formats())
    if (f.Extension == ext) return f.Class;
  return nullptr;
}

TGraphicClass FindGraphicClassByName(const AnsiString& ClassName)
{
  std::lock_guard<std::mutex> g(Lock());
  AnsiString name = SysUtils::LowerCase(ClassName);
  for (const TFileFormat& f : Formats())
    if (SysUtils::LowerCase(f.Class->ClassName()) == name) return f.Class;
  return nullptr;
}

AnsiString GraphicFilter(TGraphicClass AClass)
{
  std::lock_guard<std::mutex> g(Lock());
  AnsiString all, each;
  for (const TFileFormat& f : Formats()) {
    if (!f.Class->InheritsFrom(AClass)) continue;
    AnsiString mask = "*." + f.Extension;
    if (!all.empty()) all += ";";
    all += mask;
    each += "|" + f.Description + " (" + mask + ")|" + mask;
  }
  if (all.empty()) return AnsiString();
  return "All (" + all + ")|" + all + each;
}

}  // namespace Graphics
