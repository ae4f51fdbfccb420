// The types of the docking protocol that TControl and TWinControl name: the dock drag object and
// the dock manager (declared in their own units), and the docking events.
#pragma once

#include "platform/forms/controls/ControlEnums.h"

class TControl;
class TWinControl;
class TDragDockObject;
class TDockTree;

// Which way a dock zone splits its children: doHorizontal stacks them top to bottom (split by
// horizontal lines), doVertical sets them side by side.
PELTO_ENUM(TDockOrientation, doNoOrient, doHorizontal, doVertical)

PELTO_EVENT_TYPE(TStartDockEvent, void(TObject* Sender, TDragDockObject*& DragObject))
PELTO_EVENT_TYPE(TDockOverEvent,
                 void(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept))
PELTO_EVENT_TYPE(TDockDropEvent, void(TObject* Sender, TDragDockObject* Source, int X, int Y))
PELTO_EVENT_TYPE(TUnDockEvent, void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow))
PELTO_EVENT_TYPE(TGetSiteInfoEvent,
                 void(TObject* Sender, TControl* DockClient, RECT& InfluenceRect, POINT MousePos, bool& CanDock))
