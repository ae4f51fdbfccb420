// Arbitrary bytes into the prepared-report (.fp3) loader: a file is either refused with the
// library's own exceptions or loaded, and then every page it holds is rebuilt and drawn.
#include <cstdint>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/prepared/frxPreviewPages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  ReportEngineModule::Initialize();
  MessageSeam::TScopedMessageBox box([](const AnsiString&, const AnsiString&, unsigned) { return IDOK; });
  TfrxReport report(nullptr);
  TfrxPreviewPages pages(&report);
  try {
    TStringStream in(AnsiString(reinterpret_cast<const char*>(data), size));
    pages.LoadFromStream(&in, false);
  } catch (const Exception&) {
    return 0;
  }
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  HBITMAP bmp = Windows::CreateBitmap(200, 280, 1, 32, nullptr);
  HGDIOBJ old = Windows::SelectObject(dc, bmp);
  // At most a few pages, drawn small: the point is what a page element can make the rebuild do.
  for (Integer i = 0; i < pages.GetCount() && i < 8; ++i) {
    try {
      pages.DrawPage(i, dc, 0.25, 0.25, 0, 0);
    } catch (const Exception&) {
      // an unknown class or a bad value in a page element
    }
  }
  Windows::SelectObject(dc, old);
  Windows::DeleteObject(bmp);
  Windows::DeleteDC(dc);
  return 0;
}
