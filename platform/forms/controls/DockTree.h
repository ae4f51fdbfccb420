// TDockTree: the dock manager of a dock site. It keeps the docked controls in a tree of zones:
// a zone either holds one control (a leaf) or splits its rectangle among its child zones, top to
// bottom (doHorizontal) or side by side (doVertical). Each shown leaf has a grabber strip along
// its top with the control's caption and a close button; children of a zone are parted by
// splitters the mouse can drag. Controls that are hidden take no room.
//
// The layout is saved to and loaded from a stream: a version, the site's client size, then the
// zones in pre-order, each as its level (0 for the top zone), its orientation (one byte), its
// limit (where it ends along its parent's axis; for the top zone the extent across its own axis)
// and its control's name (empty for a zone that splits), all integers 32-bit little-endian and
// the name as a length and bytes; a level of -1 ends the list. Controls are named by their
// global component names ("Form" or "Form.Control"). Loading docks here the named controls that
// exist (one docked elsewhere comes when its host lets it go); names that find nothing are
// skipped, and controls docked here but not named keep a place after the others. A stream that
// does not parse, or names nothing that exists, leaves the layout as it was.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/controls/DockTypes.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/AnsiStrings.h"

class TStream;
struct TMessage;

class TDockZone {
public:
  TDockOrientation Orientation = doNoOrient;  // how the children split the zone
  int Size = 0;                               // extent along the parent's axis
  TControl* ChildControl = nullptr;           // the leaf's control (borrowed)
  TDockZone* Parent = nullptr;
  std::vector<std::unique_ptr<TDockZone>> Children;
  RECT Bounds{};  // site client coordinates, from the last layout

  bool IsLeaf() const { return Children.empty(); }
  // A leaf whose control is visible, or a zone with such a leaf below it.
  bool Shown() const;
};

// The parts of a site's client area the mouse can be over.
enum TDockHitPart { dhNone, dhGrabber, dhClose, dhSplitter, dhClient };

class TDockTree {
public:
  static constexpr int GrabberSize = 16;  // height of a leaf's grabber strip
  static constexpr int SplitterSize = 4;  // gap between neighbouring zones
  static constexpr int CloseButtonSize = 12;
  static constexpr int StreamVersion = 0x00040000;

  explicit TDockTree(TWinControl* ADockSite);
  virtual ~TDockTree();
  TDockTree(const TDockTree&) = delete;
  TDockTree& operator=(const TDockTree&) = delete;

  TWinControl* GetDockSite() const { return FDockSite; }
  TDockZone* GetTopZone() const { return FTopZone.get(); }
  // The leaf of Control; null when it is not in the tree.
  TDockZone* FindControlZone(TControl* Control) const;
  // Whether a lone control shows a grabber (a floating host's caption stands in for it).
  bool GetShowSingleGrabber() const { return FShowSingleGrabber; }
  void SetShowSingleGrabber(bool Value) { FShowSingleGrabber = Value; }

  // Puts Control beside DropCtl's zone on side InsertAt (alTop, alBottom, alLeft, alRight); any
  // other side, or no DropCtl zone, appends it after the others. A control already in the tree
  // moves.
  virtual void InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl);
  // Takes Control's zone out; its neighbours share the room. Not an error when it has none.
  virtual void RemoveControl(TControl* Control);
  // Lays the zones out over the site's client area and places the controls.
  virtual void ResetBounds(bool Force);
  // Grabbers, captions, close buttons and splitters (the site's WM_PAINT).
  virtual void PaintSite(HDC DC);
  // Where Client would go when dropped at MousePos (site client coordinates): the side of the
  // zone under the mouse, the zone's control (null: the whole site) and the rectangle in screen
  // coordinates.
  void PositionDockRect(TControl* Client, POINT MousePos, TControl*& DropCtl, TAlign& DropAlign, RECT& DockRect);
  // The rectangle of Control's zone (grabber included), site client coordinates.
  bool GetControlBounds(TControl* Control, RECT& Bounds) const;
  // What is at a client point of the site, and whose it is.
  TDockHitPart HitTest(POINT MousePos, TControl*& Control) const;
  // The site's mouse messages: answers whether the manager took the message.
  virtual bool MouseMessage(TMessage& Message);
  // Hold the layout while several controls come and go.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void SaveToStream(TStream* Stream);
  // Raises nothing for a damaged stream: the layout stays as it was.
  void LoadFromStream(TStream* Stream);

  // The name a layout stores for Control, and the control such a name finds (null: none).
  static AnsiString ControlStreamName(TControl* Control);
  static TControl* FindStreamControl(const AnsiString& Name);

protected:
  // The grabber strip and the close button of a shown leaf.
  bool HasGrabber(const TDockZone* Zone) const;
  RECT GrabberRect(const TDockZone* Zone) const;
  RECT CloseButtonRect(const TDockZone* Zone) const;
  // The close button was clicked: forms close, other controls hide.
  virtual void CloseControl(TControl* Control);

private:
  void LayoutZone(TDockZone* Zone, RECT R);
  void PaintZone(HDC DC, const TDockZone* Zone);
  void CollapseZone(TDockZone* Zone);
  int CountLeaves(const TDockZone* Zone) const;
  // The splitter of Zone between child Index and the next shown one, if the point is on it.
  bool FindSplitter(TDockZone* Zone, POINT P, TDockZone*& Owner, int& Index) const;

  TWinControl* FDockSite;
  std::unique_ptr<TDockZone> FTopZone;
  bool FShowSingleGrabber = true;
  int FUpdateCount = 0;
  // Mouse state: a splitter being dragged or a close button held down.
  TDockZone* FSizingZone = nullptr;
  int FSizingIndex = -1;
  POINT FSizingPos{};
  TControl* FClosePressed = nullptr;
};
