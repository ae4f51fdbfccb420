// The export matrix: turns the absolutely placed objects of prepared pages into a grid of rows
// and columns for the table-shaped exports (Excel, RTF). Each object becomes a rectangle of
// cells with a shared style and either text or a picture; overlapped objects are cut into
// fragments so that every cell belongs to one object at most. Pages are stacked vertically.
//
// Call flow: AddObject for the views of a page, AddPage after each page, Prepare once at the
// end (sort and merge the edges, place the objects, fill the cells, cut fragments), then the
// queries. Positions are report pixels (96 per inch); page margins millimetres.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/graphics/Font.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/text/frxGraphicUtils.h"

class TfrxExportBitmap;

class TfrxIEMStyle {
public:
  TfrxIEMStyle();
  // Copies every field and the font.
  void Assign(const TfrxIEMStyle& Style);
  // Equal by every field the cells show.
  bool SameAs(const TfrxIEMStyle& Style) const;

  std::unique_ptr<TFont> Font;
  TColor Color = static_cast<TColor>(0x1FFFFFFF);
  TfrxHAlign HAlign = haLeft;
  TfrxVAlign VAlign = vaTop;
  Extended LineSpacing = 0, GapX = 0, GapY = 0;
  Integer Rotation = 0;
  TfrxFrameTypes FrameTyp;
  float FrameWidth = 0;
  TColor FrameColor = 0;
  TfrxFrameStyle FrameStyle = fsSolid;
};

class TfrxIEMObject {
public:
  TfrxIEMObject();
  ~TfrxIEMObject();

  std::unique_ptr<TStringList> Memo;
  AnsiString URL;
  Integer StyleIndex = -1;
  TfrxIEMStyle* Style = nullptr;  // borrowed from the matrix
  bool IsText = true;
  bool IsRichText = false;
  Extended Left = 0, Top = 0, Width = 0, Height = 0;
  // The picture (pictures only); null for none.
  std::unique_ptr<TfrxExportBitmap> Image;
  TfrxIEMObject* Parent = nullptr;  // the whole object a fragment was cut from
  Integer Counter = 0;              // free for the exports
};

struct TfrxIEMObjectList {
  std::unique_ptr<TfrxIEMObject> Obj;
  Integer X = 0, Y = 0, Dx = 1, Dy = 1;
  bool Exist = false;
};

struct TfrxIEMPage {
  Extended PageEnd = 0;
  TPrinterOrientation Orientation = poPortrait;
  Extended Width = 0, Height = 0;
  Extended LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
};

class TfrxIEMatrix {
public:
  TfrxIEMatrix();
  ~TfrxIEMatrix();
  TfrxIEMatrix(const TfrxIEMatrix&) = delete;
  TfrxIEMatrix& operator=(const TfrxIEMatrix&) = delete;

  void AddObject(TfrxView* View);
  // What the table exports add of a page: every view but the page background, pictures only
  // with ExportPictures. Others are ignored.
  void AddExported(TfrxComponent* Obj, bool ExportPictures);
  void AddPage(TPrinterOrientation Orientation, Extended Width, Extended Height, Extended LeftMargin,
               Extended TopMargin, Extended RightMargin, Extended BottomMargin);
  // The entry of a report page, from its orientation, size and margins.
  void AddPage(TfrxReportPage* Page);
  void Prepare();
  void Clear();

  // After Prepare. -1 / null outside the grid or past the end.
  Integer GetCell(Integer X, Integer Y) const;
  TfrxIEMObject* GetObject(Integer X, Integer Y) const;
  TfrxIEMObject* GetObjectById(Integer Index) const;
  void GetObjectPos(Integer Index, Integer& X, Integer& Y, Integer& Dx, Integer& Dy) const;
  Extended GetXPos(Integer I) const { return FXPos.at(static_cast<size_t>(I)); }
  Extended GetYPos(Integer I) const { return FYPos.at(static_cast<size_t>(I)); }
  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  Integer GetObjectsCount() const { return static_cast<Integer>(FObjects.size()); }
  Integer PagesCount() const { return static_cast<Integer>(FPages.size()); }
  // A page entry; one of zeros (portrait) past the last page.
  TfrxIEMPage GetPage(Integer Index) const;
  Integer StylesCount() const { return static_cast<Integer>(FStyles.size()); }
  TfrxIEMStyle* GetStyleById(Integer Index) const;
  Extended GetMaxWidth() const { return FMaxWidth; }
  Extended GetMaxHeight() const { return FMaxHeight; }

  bool ShowProgress = true;
  Extended MaxCellHeight = 0, MaxCellWidth = 0;
  Extended Inaccuracy = 0;
  bool RotatedAsImage = false;
  bool FillArea = false;
  bool CropFillArea = false;
  bool OptimizeFrames = false;
  bool DeleteHTMLTags = false;

private:
  // Answers the index of an equal style (freeing Style) or of Style appended.
  Integer AddStyle(std::unique_ptr<TfrxIEMStyle> Style);
  // The object's style replaced by a copy with another fill colour or frame.
  void ReplaceStyle(TfrxIEMObject* Obj, const TfrxIEMStyle& Style);
  void AddEdge(std::vector<Extended>& List, Extended Value);
  void OrderEdges(std::vector<Extended>& List, Extended Limit);
  void PlaceObjects();
  void FillCells();
  void CutObjects();
  void OptimizeFrameSides();
  Integer& Cell(Integer X, Integer Y) { return FCells[static_cast<size_t>(X + Y * FWidth)]; }

  std::vector<std::unique_ptr<TfrxIEMObjectList>> FObjects;
  std::vector<std::unique_ptr<TfrxIEMStyle>> FStyles;
  std::vector<Extended> FXPos, FYPos;
  std::vector<TfrxIEMPage> FPages;
  std::vector<Integer> FCells;
  Integer FWidth = 0, FHeight = 0;
  Extended FMaxWidth = 0, FMaxHeight = 0, FMinLeft = 99999, FMinTop = 99999;
  Extended FDeltaY = 0;
};
