// Feeds arbitrary bytes to the picture classes: the first byte picks the class and whether the
// rest is read as a file or as a component stream's "Data" block. Each read answers a picture
// (which is then saved and drawn) or raises one of the picture errors.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/rtl/Streams.h"

namespace {

// Opens the protected Data form to the fuzzer.
template <class G>
class TOpen : public G {
public:
  void Read(TStream* s) { this->ReadData(s); }
};

template <class G>
void Run(bool AsData, const uint8_t* data, size_t size)
{
  TMemoryStream in;
  if (size) in.WriteBuffer(data, Int64(size));
  in.SetPosition(0);
  TOpen<G> g;
  try {
    if (AsData)
      g.Read(&in);
    else
      g.LoadFromStream(&in);
  } catch (const EInvalidGraphic&) {
    return;
  } catch (const EInvalidImage&) {
    return;
  } catch (const EReadError&) {
    return;
  }
  TMemoryStream out;
  g.SaveToStream(&out);
  TBitmap target;
  target.SetSize(16, 16);
  target.GetCanvas()->StretchDraw(RECT{0, 0, 16, 16}, &g);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0) return 0;
  bool asData = data[0] & 4;
  switch (data[0] & 3) {
    case 0: Run<TBitmap>(asData, data + 1, size - 1); break;
    case 1: Run<TIcon>(asData, data + 1, size - 1); break;
    case 2: Run<TJPEGImage>(asData, data + 1, size - 1); break;
    default: Run<TMetafile>(asData, data + 1, size - 1); break;
  }
  return 0;
}
