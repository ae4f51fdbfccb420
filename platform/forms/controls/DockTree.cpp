// TDockTree
//   zones ........ finding, inserting, removing and collapsing zones
//   layout ....... ResetBounds → LayoutZone (sizes shared in proportion, hidden zones skipped)
//   painting ..... PaintSite → PaintZone (grabbers, captions, close buttons)
//   mouse ........ HitTest, MouseMessage (grabber drags, close clicks, splitter drags)
//   stream ....... SaveToStream, LoadFromStream (parse, check, then rebuild)
#include "platform/forms/controls/DockTree.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/rtl/Streams.h"

namespace {

int Extent(const RECT& R, bool AlongY) { return AlongY ? R.bottom - R.top : R.right - R.left; }

bool Inside(const RECT& R, POINT P) { return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom; }

// Visits the leaves under Zone in order.
void ForEachLeaf(TDockZone* Zone, const std::function<void(TDockZone*)>& Visit)
{
  if (!Zone) return;
  if (Zone->IsLeaf()) {
    Visit(Zone);
    return;
  }
  for (auto& child : Zone->Children) ForEachLeaf(child.get(), Visit);
}

}  // namespace

bool TDockZone::Shown() const
{
  if (IsLeaf()) return ChildControl && ChildControl->GetVisible();
  return std::any_of(Children.begin(), Children.end(), [](const auto& c) { return c->Shown(); });
}

TDockTree::TDockTree(TWinControl* ADockSite) : FDockSite(ADockSite) {}

TDockTree::~TDockTree() = default;

// ---- Zones ------------------------------------------------------------------------------------------

TDockZone* TDockTree::FindControlZone(TControl* Control) const
{
  TDockZone* found = nullptr;
  if (Control)
    ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
      if (z->ChildControl == Control) found = z;
    });
  return found;
}

int TDockTree::CountLeaves(const TDockZone* Zone) const
{
  int n = 0;
  ForEachLeaf(const_cast<TDockZone*>(Zone),
              [&](TDockZone* z) { n += z->ChildControl && z->ChildControl->GetVisible(); });
  return n;
}

void TDockTree::InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl)
{
  if (!Control) return;
  if (DropCtl == Control && FindControlZone(Control)) return;  // dropped onto its own place
  BeginUpdate();
  RemoveControl(Control);
  auto leaf = std::make_unique<TDockZone>();
  leaf->ChildControl = Control;
  RECT client = FDockSite->GetClientRect();
  TDockZone* target = FindControlZone(DropCtl);
  bool sided = target && (InsertAt == alTop || InsertAt == alBottom || InsertAt == alLeft || InsertAt == alRight);
  if (!FTopZone) {
    FTopZone = std::move(leaf);
  } else if (!sided) {
    // The default place: after the others, stacked in a site taller than wide.
    TDockOrientation orient = FTopZone->IsLeaf()
                                  ? (Extent(client, true) >= Extent(client, false) ? doHorizontal : doVertical)
                                  : FTopZone->Orientation;
    bool alongY = orient == doHorizontal;
    if (FTopZone->IsLeaf() || FTopZone->Orientation == doNoOrient) {
      auto top = std::make_unique<TDockZone>();
      top->Orientation = orient;
      std::unique_ptr<TDockZone> old = std::move(FTopZone);
      old->Size = std::max(1, Extent(old->Bounds, alongY));
      if (old->IsLeaf() || old->Orientation == doNoOrient) old->Parent = top.get();
      if (!old->IsLeaf() && old->Orientation == doNoOrient) {
        for (auto& c : old->Children) {
          c->Parent = top.get();
          top->Children.push_back(std::move(c));
        }
      } else {
        top->Children.push_back(std::move(old));
      }
      FTopZone = std::move(top);
    }
    // An equal share of the room.
    Int64 total = 0;
    for (auto& c : FTopZone->Children) total += std::max(1, c->Size);
    leaf->Size = int(std::max<Int64>(1, total / Int64(std::max<size_t>(1, FTopZone->Children.size()))));
    leaf->Parent = FTopZone.get();
    FTopZone->Children.push_back(std::move(leaf));
  } else {
    TDockOrientation orient = (InsertAt == alTop || InsertAt == alBottom) ? doHorizontal : doVertical;
    bool alongY = orient == doHorizontal;
    bool before = InsertAt == alTop || InsertAt == alLeft;
    int room = std::max(2, Extent(target->Bounds, alongY));
    TDockZone* parent = target->Parent;
    if (parent && parent->Orientation == orient) {
      auto it = std::find_if(parent->Children.begin(), parent->Children.end(),
                             [&](const auto& c) { return c.get() == target; });
      int half = std::max(1, (target->Size > 0 ? target->Size : room) / 2);
      target->Size = std::max(1, (target->Size > 0 ? target->Size : room) - half);
      leaf->Size = half;
      leaf->Parent = parent;
      parent->Children.insert(before ? it : it + 1, std::move(leaf));
    } else {
      // The target's place gets a new zone splitting it between the two.
      auto split = std::make_unique<TDockZone>();
      TDockZone* holder = split.get();
      split->Orientation = orient;
      split->Bounds = target->Bounds;
      std::unique_ptr<TDockZone> old;
      if (parent) {
        auto it = std::find_if(parent->Children.begin(), parent->Children.end(),
                               [&](const auto& c) { return c.get() == target; });
        split->Size = target->Size;
        split->Parent = parent;
        old = std::move(*it);
        *it = std::move(split);
      } else {
        old = std::move(FTopZone);
        FTopZone = std::move(split);
      }
      old->Size = room - room / 2;
      leaf->Size = room / 2;
      old->Parent = holder;
      leaf->Parent = holder;
      if (before) {
        holder->Children.push_back(std::move(leaf));
        holder->Children.push_back(std::move(old));
      } else {
        holder->Children.push_back(std::move(old));
        holder->Children.push_back(std::move(leaf));
      }
    }
  }
  EndUpdate();
}

void TDockTree::RemoveControl(TControl* Control)
{
  TDockZone* zone = FindControlZone(Control);
  if (!zone) return;
  if (FClosePressed == Control) FClosePressed = nullptr;
  FSizingZone = nullptr;
  TDockZone* parent = zone->Parent;
  if (!parent) {
    FTopZone.reset();
  } else {
    auto& kids = parent->Children;
    kids.erase(std::find_if(kids.begin(), kids.end(), [&](const auto& c) { return c.get() == zone; }));
    CollapseZone(parent);
  }
  ResetBounds(false);
}

// A zone left with one child gives its place to that child; an empty one goes.
void TDockTree::CollapseZone(TDockZone* Zone)
{
  while (Zone && !Zone->IsLeaf() && Zone->Children.size() <= 1) {
    TDockZone* parent = Zone->Parent;
    std::unique_ptr<TDockZone> only = Zone->Children.empty() ? nullptr : std::move(Zone->Children.front());
    if (only) {
      only->Size = Zone->Size;
      only->Parent = parent;
    }
    if (!parent) {
      FTopZone = std::move(only);
      return;
    }
    auto& kids = parent->Children;
    auto it = std::find_if(kids.begin(), kids.end(), [&](const auto& c) { return c.get() == Zone; });
    if (only && !only->IsLeaf() && only->Orientation == parent->Orientation) {
      // Same direction as the parent: the grandchildren join the parent's row.
      int total = 0;
      for (auto& c : only->Children) total += std::max(1, c->Size);
      std::vector<std::unique_ptr<TDockZone>> moved;
      for (auto& c : only->Children) {
        c->Size = std::max(1, int(Int64(c->Size) * std::max(1, only->Size) / std::max(1, total)));
        c->Parent = parent;
        moved.push_back(std::move(c));
      }
      it = kids.erase(it);
      kids.insert(it, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    } else if (only) {
      *it = std::move(only);
    } else {
      kids.erase(it);
    }
    Zone = parent;
  }
}

// ---- Layout -----------------------------------------------------------------------------------------

void TDockTree::EndUpdate()
{
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) ResetBounds(true);
}

void TDockTree::ResetBounds(bool Force)
{
  if (FUpdateCount > 0 || !FTopZone) return;
  RECT r = FDockSite->GetClientRect();
  LayoutZone(FTopZone.get(), r);
  FDockSite->Invalidate();
}

bool TDockTree::HasGrabber(const TDockZone* Zone) const
{
  if (!Zone->IsLeaf() || !Zone->Shown()) return false;
  return FShowSingleGrabber || CountLeaves(FTopZone.get()) > 1;
}

RECT TDockTree::GrabberRect(const TDockZone* Zone) const
{
  RECT b = Zone->Bounds;
  return RECT{b.left, b.top, b.right, std::min(b.bottom, b.top + GrabberSize)};
}

RECT TDockTree::CloseButtonRect(const TDockZone* Zone) const
{
  RECT g = GrabberRect(Zone);
  int top = g.top + (GrabberSize - CloseButtonSize) / 2;
  return RECT{g.right - 2 - CloseButtonSize, top, g.right - 2, top + CloseButtonSize};
}

void TDockTree::LayoutZone(TDockZone* Zone, RECT R)
{
  Zone->Bounds = R;
  if (Zone->IsLeaf()) {
    TControl* c = Zone->ChildControl;
    if (!c || !c->GetVisible()) return;
    RECT inner = R;
    if (HasGrabber(Zone)) inner.top = std::min(inner.bottom, inner.top + GrabberSize);
    c->SetBounds(inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top);
    return;
  }
  bool alongY = Zone->Orientation != doVertical;
  std::vector<TDockZone*> shown;
  for (auto& c : Zone->Children)
    if (c->Shown()) shown.push_back(c.get());
  if (shown.empty()) return;
  bool allShown = shown.size() == Zone->Children.size();
  int room = std::max(0, Extent(R, alongY) - SplitterSize * int(shown.size() - 1));
  Int64 total = 0;
  for (TDockZone* c : shown) total += std::max(1, c->Size);
  int pos = alongY ? R.top : R.left;
  int used = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    TDockZone* c = shown[i];
    int size = i + 1 == shown.size() ? room - used : int(Int64(std::max(1, c->Size)) * room / total);
    used += size;
    RECT cr = alongY ? RECT{R.left, pos, R.right, pos + size} : RECT{pos, R.top, pos + size, R.bottom};
    // Sizes follow the layout only while no neighbour is hidden, so that a hidden one comes
    // back in its old place.
    if (allShown) c->Size = std::max(1, size);
    LayoutZone(c, cr);
    pos += size + SplitterSize;
  }
}

// ---- Painting ---------------------------------------------------------------------------------------

void TDockTree::PaintSite(HDC DC)
{
  if (FTopZone) PaintZone(DC, FTopZone.get());
}

void TDockTree::PaintZone(HDC DC, const TDockZone* Zone)
{
  for (auto& c : Zone->Children)
    if (c->Shown()) PaintZone(DC, c.get());
  if (!HasGrabber(Zone)) return;
  RECT g = GrabberRect(Zone);
  Windows::FillRect(DC, &g, Windows::GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = g;
  Windows::DrawEdge(DC, &edge, BDR_RAISEDINNER, BF_RECT);
  RECT close = CloseButtonRect(Zone);
  UINT state = DFCS_CAPTIONCLOSE | (FClosePressed == Zone->ChildControl ? DFCS_PUSHED : 0);
  Windows::DrawFrameControl(DC, &close, DFC_CAPTION, state);
  AnsiString caption = Zone->ChildControl->GetCaption();
  if (caption.empty()) return;
  HGDIOBJ oldFont = Windows::SelectObject(DC, FDockSite->GetFont()->GetHandle());
  Windows::SetBkMode(DC, TRANSPARENT);
  Windows::SetTextColor(DC, Windows::GetSysColor(COLOR_BTNTEXT));
  RECT text{g.left + 4, g.top, close.left - 2, g.bottom};
  Windows::DrawText(DC, caption.c_str(), int(caption.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  Windows::SelectObject(DC, oldFont);
}

// ---- Mouse ------------------------------------------------------------------------------------------

bool TDockTree::FindSplitter(TDockZone* Zone, POINT P, TDockZone*& Owner, int& Index) const
{
  if (!Zone || Zone->IsLeaf() || !Zone->Shown()) return false;
  bool alongY = Zone->Orientation != doVertical;
  TDockZone* prev = nullptr;
  for (size_t i = 0; i < Zone->Children.size(); ++i) {
    TDockZone* c = Zone->Children[i].get();
    if (!c->Shown()) continue;
    if (prev) {
      RECT gap = alongY ? RECT{Zone->Bounds.left, prev->Bounds.bottom, Zone->Bounds.right, c->Bounds.top}
                        : RECT{prev->Bounds.right, Zone->Bounds.top, c->Bounds.left, Zone->Bounds.bottom};
      if (Inside(gap, P)) {
        Owner = Zone;
        // The index of the zone before the splitter.
        Index = int(
            std::find_if(Zone->Children.begin(), Zone->Children.end(), [&](const auto& z) { return z.get() == prev; }) -
            Zone->Children.begin());
        return true;
      }
    }
    if (FindSplitter(c, P, Owner, Index)) return true;
    prev = c;
  }
  return false;
}

TDockHitPart TDockTree::HitTest(POINT MousePos, TControl*& Control) const
{
  Control = nullptr;
  TDockZone* owner = nullptr;
  int index = -1;
  if (FindSplitter(FTopZone.get(), MousePos, owner, index)) return dhSplitter;
  TDockHitPart part = dhNone;
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (part != dhNone || !z->Shown() || !Inside(z->Bounds, MousePos)) return;
    Control = z->ChildControl;
    if (!HasGrabber(z))
      part = dhClient;
    else if (Inside(CloseButtonRect(z), MousePos))
      part = dhClose;
    else
      part = Inside(GrabberRect(z), MousePos) ? dhGrabber : dhClient;
  });
  return part;
}

void TDockTree::CloseControl(TControl* Control)
{
  if (auto* form = dynamic_cast<TCustomForm*>(Control))
    form->Close();
  else
    Control->Hide();
}

bool TDockTree::MouseMessage(TMessage& Message)
{
  POINT p{Message.XPos(), Message.YPos()};
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TControl* control = nullptr;
      TDockZone* owner = nullptr;
      int index = -1;
      if (FindSplitter(FTopZone.get(), p, owner, index)) {
        FSizingZone = owner;
        FSizingIndex = index;
        FSizingPos = p;
        Controls::SetCaptureControl(FDockSite);
        return true;
      }
      switch (HitTest(p, control)) {
        case dhClose:
          FClosePressed = control;
          Controls::SetCaptureControl(FDockSite);
          FDockSite->Invalidate();
          return true;
        case dhGrabber:
          // A drag from the grabber undocks the control (a click alone leaves it).
          DragManager::BeginDock(control, false, -1);
          return true;
        default: return false;
      }
    }
    case WM_MOUSEMOVE: {
      if (!FSizingZone) return FClosePressed != nullptr;
      bool alongY = FSizingZone->Orientation != doVertical;
      int delta = alongY ? p.y - FSizingPos.y : p.x - FSizingPos.x;
      auto& kids = FSizingZone->Children;
      TDockZone* a = kids[size_t(FSizingIndex)].get();
      TDockZone* b = nullptr;
      for (size_t i = size_t(FSizingIndex) + 1; i < kids.size() && !b; ++i)
        if (kids[i]->Shown()) b = kids[i].get();
      if (!b) return true;
      constexpr int minSize = GrabberSize + 8;
      delta = std::clamp(delta, minSize - a->Size, b->Size - minSize);
      if (delta == 0) return true;
      a->Size += delta;
      b->Size -= delta;
      if (alongY)
        FSizingPos.y += delta;
      else
        FSizingPos.x += delta;
      LayoutZone(FSizingZone, FSizingZone->Bounds);
      FDockSite->Invalidate();
      return true;
    }
    case WM_LBUTTONUP: {
      if (FSizingZone) {
        FSizingZone = nullptr;
        Controls::SetCaptureControl(nullptr);
        return true;
      }
      if (!FClosePressed) return false;
      TControl* pressed = FClosePressed;
      FClosePressed = nullptr;
      Controls::SetCaptureControl(nullptr);
      FDockSite->Invalidate();
      TControl* control = nullptr;
      if (HitTest(p, control) == dhClose && control == pressed) CloseControl(pressed);
      return true;
    }
    default: return false;
  }
}

bool TDockTree::GetControlBounds(TControl* Control, RECT& Bounds) const
{
  TDockZone* z = FindControlZone(Control);
  if (!z) return false;
  Bounds = z->Bounds;
  return true;
}

void TDockTree::PositionDockRect(TControl* Client, POINT MousePos, TControl*& DropCtl, TAlign& DropAlign,
                                 RECT& DockRect)
{
  DropCtl = nullptr;
  DropAlign = alNone;
  RECT r = FDockSite->GetClientRect();
  TDockZone* under = nullptr;
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (!under && z->Shown() && Inside(z->Bounds, MousePos)) under = z;
  });
  if (under && under->ChildControl == Client) {
    DropCtl = Client;  // over its own place: it stays
    r = under->Bounds;
  } else if (under) {
    RECT b = under->Bounds;
    int w = std::max(1, int(b.right - b.left)), h = std::max(1, int(b.bottom - b.top));
    // The nearest edge, measured against the zone's size, picks the side.
    double left = double(MousePos.x - b.left) / w, right = double(b.right - MousePos.x) / w;
    double top = double(MousePos.y - b.top) / h, bottom = double(b.bottom - MousePos.y) / h;
    double best = std::min({left, right, top, bottom});
    DropCtl = under->ChildControl;
    r = b;
    if (best == top) {
      DropAlign = alTop;
      r.bottom = b.top + h / 2;
    } else if (best == bottom) {
      DropAlign = alBottom;
      r.top = b.top + h / 2;
    } else if (best == left) {
      DropAlign = alLeft;
      r.right = b.left + w / 2;
    } else {
      DropAlign = alRight;
      r.left = b.left + w / 2;
    }
  } else if (FTopZone && FTopZone->Shown()) {
    // Beside the others, where the default place would put it.
    bool alongY = FTopZone->IsLeaf() ? Extent(r, true) >= Extent(r, false) : FTopZone->Orientation != doVertical;
    if (alongY)
      r.top += (r.bottom - r.top) / 2;
    else
      r.left += (r.right - r.left) / 2;
  }
  POINT tl = FDockSite->ClientToScreen(POINT{r.left, r.top});
  DockRect = RECT{tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
}

// ---- Stream -----------------------------------------------------------------------------------------

AnsiString TDockTree::ControlStreamName(TControl* Control)
{
  if (!Control || Control->GetName().empty()) return AnsiString();
  if (Classes::FindGlobalComponent(Control->GetName()) == Control) return Control->GetName();
  // Below a global component: its path of names from there.
  AnsiString path = Control->GetName();
  for (TComponent* o = Control->GetOwner(); o; o = o->GetOwner()) {
    if (o->GetName().empty()) return AnsiString();
    path = o->GetName() + "." + path;
    if (Classes::FindGlobalComponent(o->GetName()) == o) return path;
  }
  return AnsiString();
}

TControl* TDockTree::FindStreamControl(const AnsiString& Name)
{
  if (Name.empty()) return nullptr;
  size_t start = 0, dot = Name.find('.');
  TComponent* c = Classes::FindGlobalComponent(Name.substr(0, dot));
  while (c && dot != AnsiString::npos) {
    start = dot + 1;
    dot = Name.find('.', start);
    c = c->FindComponent(Name.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start));
  }
  return dynamic_cast<TControl*>(c);
}

namespace {

void WriteInt(TStream* S, std::int32_t V)
{
  Byte b[4] = {Byte(V), Byte(V >> 8), Byte(V >> 16), Byte(V >> 24)};
  S->WriteBuffer(b, 4);
}

// One zone as the stream holds it.
struct TStreamZone {
  int Level = 0;
  TDockOrientation Orientation = doNoOrient;
  int Limit = 0;
  AnsiString Name;
};

// A bounded reader: answers false for anything short or out of range.
class TLayoutReader {
public:
  explicit TLayoutReader(TStream* S) : FStream(S) {}
  bool Int(std::int32_t& V)
  {
    Byte b[4];
    if (FStream->Read(b, 4) != 4) return false;
    V = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                     std::uint32_t(b[3]) << 24);
    return true;
  }
  bool Byte1(Byte& V) { return FStream->Read(&V, 1) == 1; }
  bool Text(AnsiString& V)
  {
    std::int32_t n;
    if (!Int(n) || n < 0 || n > 4096) return false;
    V.assign(size_t(n), '\0');
    return n == 0 || FStream->Read(V.data(), n) == n;
  }

private:
  TStream* FStream;
};

constexpr int kMaxLayoutZones = 4096;
constexpr int kMaxLayoutDepth = 64;

}  // namespace

void TDockTree::SaveToStream(TStream* Stream)
{
  RECT client = FDockSite->GetClientRect();
  WriteInt(Stream, StreamVersion);
  WriteInt(Stream, client.right - client.left);
  WriteInt(Stream, client.bottom - client.top);
  // Limits count from the zone's start as loading computes it: the parent's start across its
  // axis, the running position of the siblings along it.
  std::function<void(const TDockZone*, int, int, POINT)> write = [&](const TDockZone* z, int level, int limit,
                                                                     POINT start) {
    WriteInt(Stream, level);
    Byte orient = Byte(z->IsLeaf() ? doNoOrient : z->Orientation);
    Stream->WriteBuffer(&orient, 1);
    WriteInt(Stream, limit);
    AnsiString name = z->IsLeaf() ? ControlStreamName(z->ChildControl) : AnsiString();
    WriteInt(Stream, std::int32_t(name.size()));
    if (!name.empty()) Stream->WriteBuffer(name.data(), Int64(name.size()));
    bool alongY = z->Orientation != doVertical;
    int pos = alongY ? start.y : start.x;
    for (auto& c : z->Children) {
      POINT childStart = alongY ? POINT{start.x, pos} : POINT{pos, start.y};
      pos += std::max(1, c->Size);
      write(c.get(), level + 1, pos, childStart);
      pos += SplitterSize;
    }
  };
  if (FTopZone) write(FTopZone.get(), 0, Extent(FTopZone->Bounds, FTopZone->Orientation == doVertical), POINT{0, 0});
  WriteInt(Stream, -1);
}

namespace {

// The stored tree made sound: zones without a control go, a splitting zone left with one child
// gives it its place, and a child splitting the same way as its parent joins the parent's row.
std::unique_ptr<TDockZone> NormalizeZone(std::unique_ptr<TDockZone> Zone)
{
  if (Zone->IsLeaf()) return Zone->ChildControl ? std::move(Zone) : nullptr;
  Zone->ChildControl = nullptr;
  if (Zone->Orientation == doNoOrient) Zone->Orientation = doHorizontal;
  std::vector<std::unique_ptr<TDockZone>> kids;
  for (auto& c : Zone->Children) {
    std::unique_ptr<TDockZone> n = NormalizeZone(std::move(c));
    if (!n) continue;
    if (!n->IsLeaf() && n->Orientation == Zone->Orientation) {
      Int64 total = 0;
      for (auto& g : n->Children) total += std::max(1, g->Size);
      for (auto& g : n->Children) {
        g->Size = std::max(1, int(Int64(std::max(1, g->Size)) * std::max(1, n->Size) / std::max<Int64>(1, total)));
        kids.push_back(std::move(g));
      }
    } else {
      kids.push_back(std::move(n));
    }
  }
  if (kids.empty()) return nullptr;
  if (kids.size() == 1) {
    kids.front()->Size = Zone->Size;
    return std::move(kids.front());
  }
  Zone->Children = std::move(kids);
  for (auto& c : Zone->Children) c->Parent = Zone.get();
  return Zone;
}

}  // namespace

void TDockTree::LoadFromStream(TStream* Stream)
{
  // Everything is read and checked before the layout changes.
  TLayoutReader in(Stream);
  std::int32_t version, width, height;
  if (!in.Int(version) || version != StreamVersion || !in.Int(width) || !in.Int(height)) return;
  std::vector<TStreamZone> zones;
  for (;;) {
    TStreamZone z;
    std::int32_t level;
    if (!in.Int(level)) return;
    if (level == -1) break;
    Byte orient;
    std::int32_t limit;
    if (level < 0 || level > kMaxLayoutDepth || !in.Byte1(orient) || orient > doVertical || !in.Int(limit) ||
        !in.Text(z.Name))
      return;
    // Pre-order: the first zone is the top one, each other one level under a zone before it.
    if (zones.empty() ? level != 0 : level < 1 || level > zones.back().Level + 1) return;
    // A zone with a control holds no zones.
    if (!zones.empty() && level > zones.back().Level && !zones.back().Name.empty()) return;
    if (int(zones.size()) >= kMaxLayoutZones) return;
    z.Level = level;
    z.Orientation = TDockOrientation(orient);
    z.Limit = limit;
    zones.push_back(std::move(z));
  }
  if (zones.empty()) return;

  // Rebuild: each stored zone becomes a zone; leaves keep only the controls that exist and
  // may come here.
  std::vector<TControl*> taken;
  auto top = std::make_unique<TDockZone>();
  struct TOpen {
    TDockZone* Zone;
    POINT Start;  // where the zone begins
    int Next;     // where its next child begins along its axis
  };
  std::vector<TOpen> open;
  for (const TStreamZone& sz : zones) {
    TDockZone* zone = top.get();
    POINT start{0, 0};
    if (sz.Level > 0) {
      TOpen& parent = open[size_t(sz.Level - 1)];
      bool alongY = parent.Zone->Orientation != doVertical;
      auto child = std::make_unique<TDockZone>();
      child->Parent = parent.Zone;
      zone = child.get();
      parent.Zone->Children.push_back(std::move(child));
      zone->Size = sz.Limit > parent.Next ? sz.Limit - parent.Next : 0;
      start = alongY ? POINT{parent.Start.x, parent.Next} : POINT{parent.Next, parent.Start.y};
      parent.Next = std::max(parent.Next, sz.Limit) + SplitterSize;
    }
    zone->Orientation = sz.Orientation;
    if (!sz.Name.empty()) {
      TControl* c = FindStreamControl(sz.Name);
      bool usable = c && std::find(taken.begin(), taken.end(), c) == taken.end();
      for (TWinControl* p = FDockSite; usable && p; p = p->GetParent()) usable = p != c;
      // A control docked elsewhere comes only when its host lets it go.
      if (usable && c->GetHostDockSite() && c->GetHostDockSite() != FDockSite)
        usable = c->GetHostDockSite()->DoUnDock(FDockSite, c);
      if (usable) {
        zone->ChildControl = c;
        taken.push_back(c);
      }
    }
    open.resize(size_t(sz.Level) + 1);
    open[size_t(sz.Level)] = TOpen{zone, start, sz.Orientation == doVertical ? int(start.x) : int(start.y)};
  }
  std::unique_ptr<TDockZone> loaded = NormalizeZone(std::move(top));
  if (!loaded) return;
  loaded->Parent = nullptr;

  BeginUpdate();
  // The controls docked here that the layout does not name keep a place after the others.
  std::vector<TControl*> others;
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (std::find(taken.begin(), taken.end(), z->ChildControl) == taken.end()) others.push_back(z->ChildControl);
  });
  FTopZone = std::move(loaded);
  for (TControl* c : taken)
    if (c->GetHostDockSite() != FDockSite) c->Dock(FDockSite, c->GetBoundsRect());
  for (TControl* c : others) InsertControl(c, alNone, nullptr);
  EndUpdate();
}
