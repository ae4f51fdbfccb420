// The alias types of the control classes, each with its own type information so that stored
// forms, the object inspector and the script binding see "TCursor" rather than a bare integer:
// TCursor with the standard cursor numbers, TCaption, and TModalResult with the dialog answers.
#pragma once

#include "platform/classes/ClassDecl.h"

PELTO_TYPE_ALIAS(TCursor, Integer)
PELTO_TYPE_ALIAS(TCaption, AnsiString)
PELTO_TYPE_ALIAS(TModalResult, Integer)

// Standard cursors; the program adds its own under positive numbers (Screen's Cursors[]).
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

// Dialog answers: a form's ModalResult ends its modal loop when not mrNone.
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                       mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;
