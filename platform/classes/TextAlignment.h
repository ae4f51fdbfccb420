// Where text sits in its box, as the class library names it: the horizontal alignment shared by
// every control family, and the vertical layout of a cell's text.
#pragma once

#include "platform/classes/ClassDecl.h"

PELTO_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
PELTO_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
