// Printable objects: the frame every view carries, the view base with its drawing pipeline
// (background, frame, drop shadow), the stretchable base, shapes and lines. Views draw on any
// device context at any scale; preview, printing and the designer call the same Draw.
#pragma once

#include <functional>

#include "platform/forms/graphics/Brush.h"
#include "platform/gdi/WinTypes.h"
#include "report/engine/model/frxClass.h"

class TfrxDataSet;
#include "report/engine/model/frxPage.h"

PELTO_ENUM(TfrxFrameStyle, fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble)
PELTO_ENUM(TfrxFrameType, ftLeft, ftRight, ftTop, ftBottom)
PELTO_SET(TfrxFrameTypes, TfrxFrameType)
PELTO_ENUM(TfrxAlign, baNone, baLeft, baRight, baCenter, baWidth, baBottom)
PELTO_ENUM(TfrxShiftMode, smDontShift, smAlways, smWhenOverlapped)
PELTO_ENUM(TfrxStretchMode, smDontStretch, smActualHeight, smMaxHeight)
PELTO_ENUM(TfrxShapeKind, skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2)

class TfrxFrame : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxFrame, TPersistent)
public:
  TfrxFrame() = default;
  void Assign(TPersistent* Source) override;

  TColor Color = 0;
  bool DropShadow = false;
  TColor ShadowColor = 0;
  Extended ShadowWidth = 4;  // pixels
  TfrxFrameStyle Style = fsSolid;
  TfrxFrameTypes Typ;
  Extended Width = 1;  // pixels

  PELTO_PUBLISHED(p);
};

class TfrxView : public TfrxReportComponent {
  PELTO_DECLARE_CLASS(TfrxView, TfrxReportComponent)
public:
  explicit TfrxView(TComponent* AOwner);

  TfrxFrame* GetFrame() const { return FFrame.get(); }
  // Copies Value.
  void SetFrame(TfrxFrame* Value) { FFrame->Assign(Value); }

  // Not owned; forgotten when freed. Setting it copies its user name into DataSetName.
  TfrxDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TfrxDataSet* Value);
  // The data set's user name when one is set, else the stored name.
  AnsiString GetDataSetName() const;
  // Stores the name and resolves the data set of that name within the view's report.
  void SetDataSetName(const AnsiString& Value);
  bool IsDataField() const { return FDataSet && !DataField.empty(); }
  AnsiString DataField;

  // Computes the device rectangle (the drop shadow kept inside the object's bounds).
  void BeginDraw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY);
  // BeginDraw, DrawBackground, DrawFrame.
  virtual void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY);
  virtual void DrawBackground();
  virtual void DrawFrame();
  // The base difference text, then each view property that differs from Reference's.
  AnsiString WriteDiff(TfrxComponent* Reference) override;
  // Replaces each bracketed expression of TagStr and URL by the text of its value (the
  // report's Calc); raises what Calc raises. Nothing outside a report.
  void FetchData() override;
  // The bounds, TagStr and URL.
  void SaveBounds() override;
  void RestoreBounds() override;

  TfrxAlign Align = baNone;
  TBrushStyle BrushStyle = bsSolid;
  TColor Color = clNone;
  Integer Cursor = 0;
  bool Printable = true;
  TfrxShiftMode ShiftMode = smAlways;
  AnsiString TagStr, URL;

  // The drawing state BeginDraw sets.
  int FX = 0, FY = 0, FX1 = 0, FY1 = 0, FDX = 0, FDY = 0, FrameWidthPx = 0;

  PELTO_PUBLISHED(p);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  HDC FCanvas = nullptr;
  Extended FScaleX = 1, FScaleY = 1, FOffsetX = 0, FOffsetY = 0;

private:
  std::unique_ptr<TfrxFrame> FFrame;
  TfrxDataSet* FDataSet = nullptr;
  AnsiString FDataSetName;
  AnsiString FSavedTagStr, FSavedURL;
};

class TfrxStretcheable : public TfrxView {
  PELTO_DECLARE_CLASS(TfrxStretcheable, TfrxView)
public:
  explicit TfrxStretcheable(TComponent* AOwner) : TfrxView(AOwner) {}
  virtual Extended CalcHeight() { return GetHeight(); }
  virtual Extended FitPart() { return 0; }
  virtual void BeginParts() {}
  TfrxStretchMode StretchMode = smDontStretch;

  PELTO_PUBLISHED(p);
};

class TfrxShapeView : public TfrxView {
  PELTO_DECLARE_CLASS(TfrxShapeView, TfrxView)
public:
  explicit TfrxShapeView(TComponent* AOwner) : TfrxView(AOwner) {}
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;
  bool StoreAllProperties() const override { return false; }
  AnsiString GetClassCaption() override;
  AnsiString WriteDiff(TfrxComponent* Reference) override;
  // The palette's flag word is the shape kind.
  void CreateForDesign(Word Flags) override { Shape = static_cast<TfrxShapeKind>(Flags); }
  TfrxShapeKind Shape = skRectangle;

  PELTO_PUBLISHED(p);
};

class TfrxCustomLineView : public TfrxStretcheable {
  PELTO_DECLARE_CLASS(TfrxCustomLineView, TfrxStretcheable)
public:
  explicit TfrxCustomLineView(TComponent* AOwner);
  // A straight line is first made vertical (Width <= Height) or horizontal; that change stays.
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;
  bool StoreAllProperties() const override { return false; }
  void CreateForDesign(Word Flags) override { Diagonal = Flags != 0; }
  bool Diagonal = false;
};

class TfrxLineView : public TfrxCustomLineView {
  PELTO_DECLARE_CLASS(TfrxLineView, TfrxCustomLineView)
public:
  explicit TfrxLineView(TComponent* AOwner) : TfrxCustomLineView(AOwner) {}
  AnsiString GetClassCaption() override;

  PELTO_PUBLISHED(p);
};

// Prints another report page in place of itself.
class TfrxSubreport : public TfrxView {
  PELTO_DECLARE_CLASS(TfrxSubreport, TfrxView)
public:
  // Framed on all sides, silver, in Tahoma 8.
  explicit TfrxSubreport(TComponent* AOwner);
  // Unlinks its page.
  ~TfrxSubreport() override;
  AnsiString GetClassCaption() override;
  // The view, then the object's name in its font.
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;

  TfrxReportPage* GetPage() const { return FPage; }
  // Links the page back to this object.
  void SetPage(TfrxReportPage* Value);
  bool PrintOnParent = false;

  PELTO_PUBLISHED(p);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TfrxReportPage* FPage = nullptr;
};

namespace frxView {
// A line W device pixels wide drawn as W one-pixel lines (dashed pens draw one pixel only),
// offset across the line's main direction. The pen selected in Canvas is used.
void DrawThickLine(HDC Canvas, int X1, int Y1, int X2, int Y2, int Width);
// Text with each Open ... Close part replaced by Eval of the text between the delimiters. The
// scan steps over double-byte characters (a trail byte never opens a bracket); the matching
// Close is found with nesting counted and quoted strings skipped; scanning resumes after the
// inserted text, so a value is never expanded again. An unclosed Open ends the scan and stays
// as it is. Empty delimiters leave Text unchanged.
AnsiString ExpandBrackets(const AnsiString& Text, const AnsiString& Open, const AnsiString& Close,
                          const std::function<AnsiString(const AnsiString&)>& Eval);
// Registers the view classes (text objects included) by name.
void Initialize();
}  // namespace frxView
