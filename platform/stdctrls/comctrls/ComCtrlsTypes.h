// The enumerations and event types the common-control wrappers share, with their type
// information.
#pragma once

#include "platform/stdctrls/StdCtrlsTypes.h"

class TTreeNode;
class TListItem;

// ---- Tree view
PELTO_EVENT_TYPE(TTVChangedEvent, void(TObject* Sender, TTreeNode* Node))
PELTO_EVENT_TYPE(TTVChangingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowChange))
PELTO_EVENT_TYPE(TTVExpandingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion))
PELTO_EVENT_TYPE(TTVCollapsingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse))
PELTO_EVENT_TYPE(TTVExpandedEvent, void(TObject* Sender, TTreeNode* Node))
PELTO_EVENT_TYPE(TTVEditingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowEdit))
PELTO_EVENT_TYPE(TTVEditedEvent, void(TObject* Sender, TTreeNode* Node, AnsiString& S))
PELTO_EVENT_TYPE(TTVCompareEvent, void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare))
// A sort order for CustomSort: lParam1 and lParam2 are the two TTreeNode*, lParamSort the
// caller's value; negative, zero or positive as for strcmp.
using TTVCompare = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// ---- List view
PELTO_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
PELTO_EVENT_TYPE(TLVSelectItemEvent, void(TObject* Sender, TListItem* Item, bool Selected))

// ---- Status bar
PELTO_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

// ---- Up-down and progress bar
PELTO_ENUM(TUDAlignButton, udLeft, udRight)
PELTO_ENUM(TUDOrientation, udHorizontal, udVertical)
PELTO_ENUM(TUDBtnType, btNext, btPrev)
PELTO_EVENT_TYPE(TUDClickEvent, void(TObject* Sender, TUDBtnType Button))
PELTO_EVENT_TYPE(TUDChangingEvent, void(TObject* Sender, bool& AllowChange))
PELTO_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)

// ---- Date and time
PELTO_ENUM(TDateTimeKind, dtkDate, dtkTime)
PELTO_ENUM(TDTDateFormat, dfShort, dfLong)
PELTO_ENUM(TDTDateMode, dmComboBox, dmUpDown)

// ---- Tabs
PELTO_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)
PELTO_EVENT_TYPE(TTabChangingEvent, void(TObject* Sender, bool& AllowChange))
