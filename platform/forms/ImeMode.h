// The input-method settings a control asks for when it takes the focus.
#pragma once

#include "platform/classes/ClassDecl.h"
#include "platform/rtl/AnsiStrings.h"

PELTO_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
           imSHanguel, imHanguel)
PELTO_TYPE_ALIAS(TImeName, AnsiString)
