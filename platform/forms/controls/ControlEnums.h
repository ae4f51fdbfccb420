// The enumerations, sets and event types of the control classes, each with its type information
// (stored forms, the object inspector and the script binding name them).
#pragma once

#include "platform/classes/Component.h"
#include "platform/forms/controls/ControlTypes.h"
#include "platform/gdi/WinTypes.h"

class TDragObject;

PELTO_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
PELTO_SET(TAlignSet, TAlign)
PELTO_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
PELTO_SET(TAnchors, TAnchorKind)

PELTO_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
           csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
           csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csParentBackground)
PELTO_SET(TControlStyle, TControlStyleItem)
PELTO_ENUM(TControlStateItem, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
           csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking)
PELTO_SET(TControlState, TControlStateItem)

PELTO_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
PELTO_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
PELTO_SET(TShiftState, TShiftStateItem)

PELTO_ENUM(TDragMode, dmManual, dmAutomatic)
PELTO_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
PELTO_ENUM(TDragKind, dkDrag, dkDock)
PELTO_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// Controls take bsNone or bsSingle of it.
PELTO_TYPE_ALIAS(TBorderStyle, TFormBorderStyle)
PELTO_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
           imSHanguel, imHanguel)
PELTO_TYPE_ALIAS(TImeName, AnsiString)

PELTO_EVENT_TYPE(TMouseEvent, void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y))
PELTO_EVENT_TYPE(TMouseMoveEvent, void(TObject* Sender, TShiftState Shift, int X, int Y))
PELTO_EVENT_TYPE(TKeyEvent, void(TObject* Sender, Word& Key, TShiftState Shift))
PELTO_EVENT_TYPE(TKeyPressEvent, void(TObject* Sender, char& Key))
PELTO_EVENT_TYPE(TDragOverEvent, void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept))
PELTO_EVENT_TYPE(TDragDropEvent, void(TObject* Sender, TObject* Source, int X, int Y))
PELTO_EVENT_TYPE(TStartDragEvent, void(TObject* Sender, TDragObject*& DragObject))
PELTO_EVENT_TYPE(TEndDragEvent, void(TObject* Sender, TObject* Target, int X, int Y))
PELTO_EVENT_TYPE(TCanResizeEvent, void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize))
PELTO_EVENT_TYPE(TConstrainedResizeEvent,
                 void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight))
PELTO_EVENT_TYPE(TMouseWheelEvent,
                 void(TObject* Sender, TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled))
PELTO_EVENT_TYPE(TMouseWheelUpDownEvent, void(TObject* Sender, TShiftState Shift, POINT MousePos, bool& Handled))
PELTO_EVENT_TYPE(TContextPopupEvent, void(TObject* Sender, POINT MousePos, bool& Handled))

// The shift state of a mouse message's key flags, or of a key message's key data (Alt from
// bit 29) together with the keyboard state.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
