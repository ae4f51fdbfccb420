#include "report/engine/export/frxExportMatrix.h"

#include <algorithm>
#include <cmath>

#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/objects/frxMemoView.h"

namespace {

constexpr TColor kNoColor = static_cast<TColor>(0x1FFFFFFF);

// Nearest integer, a half to the even neighbour.
int RoundEven(Extended v) { return static_cast<int>(std::nearbyint(v)); }

enum class TViewKind { Text, Line, Rectangle, Picture };

TViewKind KindOf(TfrxView* View, bool RotatedAsImage)
{
  if (auto* m = dynamic_cast<TfrxCustomMemoView*>(View))
    if ((m->BrushStyle == bsSolid || m->BrushStyle == bsClear) && !(m->GetRotation() != 0 && RotatedAsImage))
      return TViewKind::Text;
  if (dynamic_cast<TfrxCustomLineView*>(View) && (View->GetWidth() == 0 || View->GetHeight() == 0))
    return TViewKind::Line;
  if (auto* s = dynamic_cast<TfrxShapeView*>(View))
    if (s->Shape == skRectangle) return TViewKind::Rectangle;
  return TViewKind::Picture;
}

void FrameInto(TfrxIEMStyle& Style, TfrxFrame* Frame)
{
  Style.FrameTyp = Frame->Typ;
  Style.FrameWidth = static_cast<float>(Frame->Width);
  Style.FrameColor = Frame->Color;
  Style.FrameStyle = Frame->Style;
}

}  // namespace

// ---- Styles and objects ----------------------------------------------------------------------

TfrxIEMStyle::TfrxIEMStyle() : Font(std::make_unique<TFont>()) {}

void TfrxIEMStyle::Assign(const TfrxIEMStyle& Style)
{
  Font->Assign(Style.Font.get());
  Color = Style.Color;
  HAlign = Style.HAlign;
  VAlign = Style.VAlign;
  LineSpacing = Style.LineSpacing;
  GapX = Style.GapX;
  GapY = Style.GapY;
  Rotation = Style.Rotation;
  FrameTyp = Style.FrameTyp;
  FrameWidth = Style.FrameWidth;
  FrameColor = Style.FrameColor;
  FrameStyle = Style.FrameStyle;
}

bool TfrxIEMStyle::SameAs(const TfrxIEMStyle& S) const
{
  return Font->GetColor() == S.Font->GetColor() && Font->GetName() == S.Font->GetName() &&
         Font->GetSize() == S.Font->GetSize() && Font->GetStyle() == S.Font->GetStyle() &&
         LineSpacing == S.LineSpacing && GapX == S.GapX && GapY == S.GapY && HAlign == S.HAlign && VAlign == S.VAlign &&
         FrameTyp == S.FrameTyp && FrameWidth == S.FrameWidth && FrameColor == S.FrameColor &&
         FrameStyle == S.FrameStyle && Rotation == S.Rotation && Color == S.Color;
}

TfrxIEMObject::TfrxIEMObject() : Memo(std::make_unique<TStringList>()) {}

TfrxIEMObject::~TfrxIEMObject() = default;

// ---- The matrix --------------------------------------------------------------------------------

TfrxIEMatrix::TfrxIEMatrix() = default;

TfrxIEMatrix::~TfrxIEMatrix() { Clear(); }

void TfrxIEMatrix::Clear()
{
  FObjects.clear();
  FStyles.clear();
  FXPos.clear();
  FYPos.clear();
  FPages.clear();
  FCells.clear();
  FWidth = FHeight = 0;
  FDeltaY = 0;
}

Integer TfrxIEMatrix::AddStyle(std::unique_ptr<TfrxIEMStyle> Style)
{
  for (size_t i = 0; i < FStyles.size(); ++i)
    if (FStyles[i]->SameAs(*Style)) return static_cast<Integer>(i);
  FStyles.push_back(std::move(Style));
  return static_cast<Integer>(FStyles.size() - 1);
}

void TfrxIEMatrix::ReplaceStyle(TfrxIEMObject* Obj, const TfrxIEMStyle& Style)
{
  auto copy = std::make_unique<TfrxIEMStyle>();
  copy->Assign(Style);
  Obj->StyleIndex = AddStyle(std::move(copy));
  Obj->Style = FStyles[static_cast<size_t>(Obj->StyleIndex)].get();
}

void TfrxIEMatrix::AddEdge(std::vector<Extended>& List, Extended Value)
{
  size_t from = List.size() > 100 ? List.size() - 100 : 0;
  for (size_t i = from; i < List.size(); ++i)
    if (List[i] == Value) return;
  List.push_back(Value);
}

void TfrxIEMatrix::AddObject(TfrxView* View)
{
  TViewKind kind = KindOf(View, RotatedAsImage);
  Extended absLeft = View->GetAbsLeft(), absTop = View->GetAbsTop();

  if (kind == TViewKind::Rectangle) {
    auto* shape = static_cast<TfrxShapeView*>(View);
    Extended w = View->GetWidth(), h = View->GetHeight();
    if (shape->Color == kNoColor || shape->Color == clNone) {
      const Extended edges[4][4] = {
          {absLeft, absTop, w, 0}, {absLeft, absTop, 0, h}, {absLeft, absTop + h, w, 0}, {absLeft + w, absTop, 0, h}};
      for (const auto& e : edges) {
        TfrxLineView line(nullptr);
        line.SetFrame(shape->GetFrame());
        line.SetBounds(e[0], e[1], e[2], e[3]);
        AddObject(&line);
      }
    } else {
      TfrxMemoView memo(nullptr);
      memo.SetFrame(shape->GetFrame());
      memo.GetFrame()->Typ = TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom};
      memo.Color = shape->Color;
      memo.GetFont()->SetSize(1);
      memo.SetBounds(absLeft, absTop, w, h);
      AddObject(&memo);
    }
    return;
  }

  auto style = std::make_unique<TfrxIEMStyle>();
  switch (kind) {
    case TViewKind::Text: {
      auto* m = static_cast<TfrxCustomMemoView*>(View);
      TfrxHighlight* hl = m->GetHighlight();
      if (hl->Active && hl->GetFont()) {
        style->Font->Assign(hl->GetFont());
        style->Color = hl->Color;
      } else {
        style->Font->Assign(m->GetFont());
        style->Color = m->Color;
      }
      style->HAlign = m->HAlign;
      style->VAlign = m->VAlign;
      style->LineSpacing = m->LineSpacing;
      style->GapX = m->GapX;
      style->GapY = m->GapY;
      style->Rotation = m->GetRotation();
      FrameInto(*style, m->GetFrame());
      break;
    }
    case TViewKind::Line:
      style->Color = View->Color;
      FrameInto(*style, View->GetFrame());
      style->FrameTyp = View->GetWidth() == 0 ? TfrxFrameTypes{ftLeft} : TfrxFrameTypes{ftTop};
      style->Font->SetName("Arial");
      style->Font->SetSize(1);
      break;
    default:
      style->Font->Assign(View->GetFont());
      style->Color = View->Color;
      break;
  }

  auto entry = std::make_unique<TfrxIEMObjectList>();
  entry->Obj = std::make_unique<TfrxIEMObject>();
  TfrxIEMObject* obj = entry->Obj.get();
  obj->StyleIndex = AddStyle(std::move(style));
  obj->Style = FStyles[static_cast<size_t>(obj->StyleIndex)].get();
  obj->URL = View->URL;
  obj->Left = absLeft < 0 ? 0 : absLeft;
  obj->Top = absTop < 0 ? FDeltaY : absTop + FDeltaY;
  obj->Width = View->GetWidth();
  obj->Height = View->GetHeight();

  switch (kind) {
    case TViewKind::Text: {
      auto* m = static_cast<TfrxCustomMemoView*>(View);
      if (DeleteHTMLTags && m->AllowHTMLTags)
        frxMemoView::GetWrappedText(m, false, obj->Memo.get());
      else
        obj->Memo->Assign(m->GetMemo());
      obj->IsText = true;
      break;
    }
    case TViewKind::Line: {
      obj->IsText = true;
      if (obj->Width < 0) {
        obj->Width = -obj->Width;
        obj->Left -= obj->Width;
      }
      if (obj->Height < 0) {
        obj->Height = -obj->Height;
        obj->Top -= obj->Height;
      }
      Extended thin = Inaccuracy >= 1 ? Inaccuracy : 1;
      if (obj->Width == 0) obj->Width = thin;
      if (obj->Height == 0) obj->Height = thin;
      break;
    }
    default: {
      obj->IsText = false;
      Extended w = obj->Width + 1, h = obj->Height + 1;
      if (RoundEven(w) == 0) w = 1;
      if (RoundEven(h) == 0) h = 1;
      if (w < 0) {
        w = -w;
        obj->Left -= w;
        absLeft -= w;
      }
      if (h < 0) {
        h = -h;
        obj->Top -= h;
        absTop -= h;
      }
      obj->Image = std::make_unique<TfrxExportBitmap>(RoundEven(w) + 1, RoundEven(h) + 1);
      View->Draw(obj->Image->GetDC(), 1, 1, 1 - absLeft, 1 - absTop);
      obj->Width = w;
      obj->Height = h;
      break;
    }
  }

  FMaxHeight = std::max(FMaxHeight, obj->Top + obj->Height);
  FMaxWidth = std::max(FMaxWidth, obj->Left + obj->Width);
  FMinLeft = std::min(FMinLeft, obj->Left);
  FMinTop = std::min(FMinTop, obj->Top);
  AddEdge(FXPos, obj->Left);
  AddEdge(FXPos, obj->Left + obj->Width);
  AddEdge(FYPos, obj->Top);
  AddEdge(FYPos, obj->Top + obj->Height);
  FObjects.push_back(std::move(entry));
}

void TfrxIEMatrix::AddPage(TPrinterOrientation Orientation, Extended Width, Extended Height, Extended LeftMargin,
                           Extended TopMargin, Extended RightMargin, Extended BottomMargin)
{
  FDeltaY = FMaxHeight;
  FPages.push_back(
      TfrxIEMPage{FMaxHeight, Orientation, Width, Height, LeftMargin, TopMargin, RightMargin, BottomMargin});
}

void TfrxIEMatrix::AddExported(TfrxComponent* Obj, bool ExportPictures)
{
  auto* view = dynamic_cast<TfrxView*>(Obj);
  if (!view || view->GetName() == "_pagebackground") return;
  if (dynamic_cast<TfrxCustomMemoView*>(view) || ExportPictures) AddObject(view);
}

void TfrxIEMatrix::AddPage(TfrxReportPage* Page)
{
  AddPage(Page->GetOrientation(), Page->GetWidth(), Page->GetHeight(), Page->LeftMargin, Page->TopMargin,
          Page->RightMargin, Page->BottomMargin);
}

// ---- Preparing the grid ------------------------------------------------------------------------

void TfrxIEMatrix::OrderEdges(std::vector<Extended>& List, Extended Limit)
{
  std::sort(List.begin(), List.end());
  for (size_t i = 0; i + 1 < List.size();) {
    if (List[i + 1] - List[i] < Inaccuracy)
      List.erase(List.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
  if (Limit <= 0) return;
  std::vector<Extended> merged = List;
  bool added = false;
  for (size_t i = 0; i + 1 < merged.size(); ++i) {
    Extended a = merged[i], b = merged[i + 1];
    if (b - a <= Limit) continue;
    auto n = static_cast<long long>((b - a) / Limit);
    for (long long k = 1; k <= n; ++k) {
      size_t before = List.size();
      AddEdge(List, a + k * Limit);
      added = added || List.size() != before;
    }
  }
  if (added) std::sort(List.begin(), List.end());
}

namespace {

// Index of the first edge not less than Value; -1 when none.
Integer FirstEdge(const std::vector<Extended>& Edges, Extended Value)
{
  auto it = std::lower_bound(Edges.begin(), Edges.end(), Value);
  return it == Edges.end() ? -1 : static_cast<Integer>(it - Edges.begin());
}

// Edges after Start up to and including the first not less than End, stopping at the last.
Integer EdgeSpan(const std::vector<Extended>& Edges, Integer Start, Extended End)
{
  auto last = static_cast<Integer>(Edges.size()) - 1;
  Integer j = Start + 1;
  while (j < last && Edges[static_cast<size_t>(j)] < End) ++j;
  return std::max<Integer>(j - Start, 1);
}

}  // namespace

void TfrxIEMatrix::PlaceObjects()
{
  for (auto& p : FObjects) {
    TfrxIEMObject* o = p->Obj.get();
    Integer x = FirstEdge(FXPos, o->Left), y = FirstEdge(FYPos, o->Top);
    if (x < 0 || y < 0) continue;
    p->X = x;
    p->Y = y;
    p->Dx = EdgeSpan(FXPos, x, o->Left + o->Width);
    p->Dy = EdgeSpan(FYPos, y, o->Top + o->Height);
  }
}

void TfrxIEMatrix::FillCells()
{
  FCells.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), -1);
  for (size_t i = 0; i < FObjects.size(); ++i) {
    TfrxIEMObjectList& p = *FObjects[i];
    TfrxIEMObject* o = p.Obj.get();
    Integer under = GetCell(p.X, p.Y);
    if (o->Style && o->Style->Color == kNoColor && under >= 0) {
      TfrxIEMStyle* s = FObjects[static_cast<size_t>(under)]->Obj->Style;
      if (s && s->Color != kNoColor && s->Color != o->Style->Font->GetColor()) {
        TfrxIEMStyle filled;
        filled.Assign(*o->Style);
        filled.Color = s->Color;
        ReplaceStyle(o, filled);
      }
    }
    for (Integer y = p.Y; y < std::min(p.Y + p.Dy, FHeight); ++y)
      for (Integer x = p.X; x < std::min(p.X + p.Dx, FWidth); ++x) Cell(x, y) = static_cast<Integer>(i);
  }
}

void TfrxIEMatrix::CutObjects()
{
  for (Integer y = 0; y < FHeight; ++y)
    for (Integer x = 0; x < FWidth; ++x) {
      Integer idx = Cell(x, y);
      if (idx < 0) continue;
      TfrxIEMObjectList* whole = FObjects[static_cast<size_t>(idx)].get();
      if (whole->Exist) continue;
      auto runFrom = [&](Integer row) {
        Integer n = 0;
        while (x + n < FWidth && Cell(x + n, row) == idx) ++n;
        return n;
      };
      Integer dx = runFrom(y), dy = 1;
      while (y + dy < FHeight && runFrom(y + dy) >= dx) ++dy;
      if (x == whole->X && y == whole->Y && dx == whole->Dx && dy == whole->Dy) {
        whole->Exist = true;
        continue;
      }
      TfrxIEMObject* w = whole->Obj.get();
      auto fragEntry = std::make_unique<TfrxIEMObjectList>();
      fragEntry->Obj = std::make_unique<TfrxIEMObject>();
      TfrxIEMObject* f = fragEntry->Obj.get();
      f->StyleIndex = w->StyleIndex;
      f->Style = w->Style;
      f->URL = w->URL;
      f->Left = FXPos[static_cast<size_t>(x)];
      f->Top = FYPos[static_cast<size_t>(y)];
      f->Width = FXPos[static_cast<size_t>(std::min(x + dx, FWidth - 1))] - f->Left;
      f->Height = FYPos[static_cast<size_t>(std::min(y + dy, FHeight - 1))] - f->Top;
      f->Parent = w;
      if (w->Top + w->Height - f->Top > w->Height / 3 && w->Left + w->Width - f->Left > w->Width / 3) {
        f->Image = std::move(w->Image);
        f->IsText = w->IsText;
        f->Memo->Assign(w->Memo.get());
        w->IsText = true;
        w->Memo->Clear();
      }
      fragEntry->X = x;
      fragEntry->Y = y;
      fragEntry->Dx = dx;
      fragEntry->Dy = dy;
      fragEntry->Exist = true;
      auto fragIndex = static_cast<Integer>(FObjects.size());
      for (Integer yy = y; yy < y + dy; ++yy)
        for (Integer xx = x; xx < x + dx; ++xx)
          if (Cell(xx, yy) == idx) Cell(xx, yy) = fragIndex;
      if (w->Style) {
        TfrxFrameTypes sides;
        TfrxFrameTypes own = w->Style->FrameTyp;
        if (y == whole->Y && own.Contains(ftTop)) sides.Include(ftTop);
        if (x == whole->X && own.Contains(ftLeft)) sides.Include(ftLeft);
        if (y + dy == whole->Y + whole->Dy && own.Contains(ftBottom)) sides.Include(ftBottom);
        if (x + dx == whole->X + whole->Dx && own.Contains(ftRight)) sides.Include(ftRight);
        if (!(sides == own)) {
          TfrxIEMStyle cut;
          cut.Assign(*w->Style);
          cut.FrameTyp = sides;
          ReplaceStyle(f, cut);
        }
      }
      FObjects.push_back(std::move(fragEntry));
    }
}

void TfrxIEMatrix::OptimizeFrameSides()
{
  for (Integer y = 0; y < FHeight; ++y)
    for (Integer x = 0; x < FWidth; ++x) {
      TfrxIEMObject* o = GetObject(x, y);
      if (!o || !o->Style) continue;
      TfrxFrameTypes sides = o->Style->FrameTyp;
      TfrxIEMObject* above = GetObject(x, y - 1);
      if (above && above != o && above->Style && sides.Contains(ftTop) && above->Style->FrameTyp.Contains(ftBottom) &&
          above->Style->FrameWidth == o->Style->FrameWidth && above->Style->FrameColor == o->Style->FrameColor)
        sides.Exclude(ftTop);
      TfrxIEMObject* left = GetObject(x - 1, y);
      if (left && left != o && left->Style && sides.Contains(ftLeft) && left->Style->FrameTyp.Contains(ftRight) &&
          left->Style->FrameWidth == o->Style->FrameWidth && left->Style->FrameColor == o->Style->FrameColor)
        sides.Exclude(ftLeft);
      if (!(sides == o->Style->FrameTyp)) {
        TfrxIEMStyle changed;
        changed.Assign(*o->Style);
        changed.FrameTyp = sides;
        ReplaceStyle(o, changed);
      }
    }
}

void TfrxIEMatrix::Prepare()
{
  if (FillArea) {
    auto style = std::make_unique<TfrxIEMStyle>();
    style->Color = 0xFFFFFF;
    auto entry = std::make_unique<TfrxIEMObjectList>();
    entry->Obj = std::make_unique<TfrxIEMObject>();
    TfrxIEMObject* o = entry->Obj.get();
    o->StyleIndex = AddStyle(std::move(style));
    o->Style = FStyles[static_cast<size_t>(o->StyleIndex)].get();
    o->Left = CropFillArea ? FMinLeft : 0;
    o->Top = CropFillArea ? FMinTop : 0;
    o->Width = FMaxWidth;
    o->Height = FMaxHeight;
    FObjects.insert(FObjects.begin(), std::move(entry));
    AddEdge(FXPos, 0);
    AddEdge(FYPos, 0);
  }
  OrderEdges(FXPos, MaxCellWidth);
  OrderEdges(FYPos, MaxCellHeight);
  PlaceObjects();
  FWidth = static_cast<Integer>(FXPos.size());
  FHeight = static_cast<Integer>(FYPos.size());
  FillCells();
  CutObjects();
  if (OptimizeFrames) OptimizeFrameSides();
}

// ---- Queries -----------------------------------------------------------------------------------

Integer TfrxIEMatrix::GetCell(Integer X, Integer Y) const
{
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return -1;
  return FCells[static_cast<size_t>(X + Y * FWidth)];
}

TfrxIEMObject* TfrxIEMatrix::GetObject(Integer X, Integer Y) const
{
  Integer i = GetCell(X, Y);
  return i < 0 ? nullptr : FObjects[static_cast<size_t>(i)]->Obj.get();
}

TfrxIEMObject* TfrxIEMatrix::GetObjectById(Integer Index) const
{
  if (Index < 0 || Index >= static_cast<Integer>(FObjects.size())) return nullptr;
  return FObjects[static_cast<size_t>(Index)]->Obj.get();
}

void TfrxIEMatrix::GetObjectPos(Integer Index, Integer& X, Integer& Y, Integer& Dx, Integer& Dy) const
{
  const TfrxIEMObjectList& p = *FObjects.at(static_cast<size_t>(Index));
  X = p.X;
  Y = p.Y;
  Dx = p.Dx;
  Dy = p.Dy;
}

TfrxIEMPage TfrxIEMatrix::GetPage(Integer Index) const
{
  if (Index < 0 || Index >= static_cast<Integer>(FPages.size())) return TfrxIEMPage{};
  return FPages[static_cast<size_t>(Index)];
}

TfrxIEMStyle* TfrxIEMatrix::GetStyleById(Integer Index) const
{
  if (Index < 0 || Index >= static_cast<Integer>(FStyles.size())) return nullptr;
  return FStyles[static_cast<size_t>(Index)].get();
}
