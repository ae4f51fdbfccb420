// Short-cut text from anywhere (stored forms, scripts): any bytes name a key or nothing, and a
// key that has a text reads back as the same key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/stdctrls/menus/ShortCuts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
  AnsiString text(reinterpret_cast<const char*>(Data), Size);
  TShortCut sc = Menus::TextToShortCut(text);
  if (sc != scNone && Menus::TextToShortCut(Menus::ShortCutToText(sc)) != sc) std::abort();
  if (Size >= 2) {
    TShortCut raw = TShortCut(Data[0] | (Data[1] << 8));
    AnsiString shown = Menus::ShortCutToText(raw);
    if (!shown.empty() && Menus::TextToShortCut(shown) != (raw & (0xFF | scShift | scCtrl | scAlt))) std::abort();
  }
  if (Menus::StripHotkey(text).size() > text.size()) std::abort();
  return 0;
}
