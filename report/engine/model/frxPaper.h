// The paper table of the printing layer (paper numbers of the platform with their sizes) and
// the seam through which pages ask the current printer for its default paper.
#pragma once

#include <functional>

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Service.h"

namespace frxPrinter {

// Width and height in millimetres of paper number PaperSize; false, with the outputs left
// untouched, when the number is not in the table (256, the custom size, never is).
bool GetPaperDimensions(Integer PaperSize, Extended& Width, Extended& Height);

// The current printer's default paper, as a new page takes it.
struct TDefaultPaper {
  Integer Paper = 9;
  Extended Width = 210;
  Extended Height = 297;
  bool Landscape = false;
};
TDefaultPaper DefaultPaper();
// Answers the virtual printer's A4 portrait until the printer list installs its own answer.
TService<std::function<TDefaultPaper()>>& DefaultPaperService();

}  // namespace frxPrinter
