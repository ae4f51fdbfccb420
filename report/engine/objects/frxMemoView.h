// Text objects: the display format and highlight of a text, the text object base with its
// expression expansion, formatting, stretching, splitting and drawing, and the two published
// kinds (the palette's text object and the system text object for totals and system values).
//
// Call flow of one print: FetchData (data field or bracketed expressions -> text, highlight,
// suppressed repeats, flow into another object) -> CalcHeight / BeginParts + FitPart when the
// band stretches or splits -> Draw (the layout of TfrxDrawText on any device context).
// The layout used is the report's own TfrxDrawText, or the shared one outside a report; it is
// locked for each use and unlocked in every case.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/text/frxGraphicUtils.h"

class TfrxStyleItem;
class TfrxCustomMemoView;
namespace frxMemoView {
void GetWrappedText(TfrxCustomMemoView* View, bool Wrapped, TStrings* Text);
}

PELTO_ENUM(TfrxFormatKind, fkText, fkNumeric, fkDateTime, fkBoolean)

class TfrxFormat : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxFormat, TPersistent)
public:
  TfrxFormat() = default;
  void Assign(TPersistent* Source) override;

  AnsiString DecimalSeparator;
  AnsiString FormatStr;
  TfrxFormatKind Kind = fkText;

  PELTO_PUBLISHED(p);
};

class TfrxHighlight : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxHighlight, TPersistent)
public:
  // Font: Arial 10, red.
  TfrxHighlight();
  ~TfrxHighlight() override;
  // Copies font, colour and condition.
  void Assign(TPersistent* Source) override;

  TFont* GetFont() const { return FFont.get(); }
  // Copies Value.
  void SetFont(TFont* Value);

  bool Active = false;
  TColor Color = clNone;
  AnsiString Condition;

  PELTO_PUBLISHED(p);

private:
  std::unique_ptr<TFont> FFont;
};

class TfrxCustomMemoView : public TfrxStretcheable {
  PELTO_DECLARE_CLASS(TfrxCustomMemoView, TfrxStretcheable)
public:
  explicit TfrxCustomMemoView(TComponent* AOwner);
  ~TfrxCustomMemoView() override;

  bool StoreAllProperties() const override { return false; }
  AnsiString GetClassCaption() override;
  // The view's text, then the text object's own differences and its text as "x".
  AnsiString WriteDiff(TfrxComponent* Reference) override;

  // ---- Text
  // The memo lines; owned by the object.
  TStringList* GetMemo() const { return FMemo.get(); }
  // Copies Value.
  void SetMemo(TStringList* Value);
  // The lines joined by CR LF.
  AnsiString GetText() const;
  void SetText(const AnsiString& Value);

  // ---- Look
  TfrxFormat* GetDisplayFormat() const { return FDisplayFormat.get(); }
  void SetDisplayFormat(TfrxFormat* Value);
  TfrxHighlight* GetHighlight() const { return FHighlight.get(); }
  void SetHighlight(TfrxHighlight* Value);
  Integer GetRotation() const { return FRotation; }
  // Kept modulo 360 (450 becomes 90, -90 becomes 270).
  void SetRotation(Integer Value);
  const AnsiString& GetStyle() const { return FStyle; }
  // Stores the name; inside a report, takes the look of the report's style of that name.
  void SetStyle(const AnsiString& Value);
  // Colour, font (ParentFont then False) and frame of Item; nothing for nullptr.
  void ApplyStyle(TfrxStyleItem* Item);
  // Not owned; forgotten when that object is freed.
  TfrxCustomMemoView* GetFlowTo() const { return FFlowTo; }
  void SetFlowTo(TfrxCustomMemoView* Value);

  // ---- Printing
  // The view's computation, then TextRect: the device box less the gaps and the frame lines.
  void BeginDraw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY);
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;
  // Whole pixels: the laid-out text's height plus gaps and frame.
  Extended CalcHeight() override;
  // Whole pixels: the width of the text on one line per paragraph plus gaps and frame.
  virtual Extended CalcWidth();
  // PartText := the whole text.
  void BeginParts() override;
  // Keeps in the memo what fits the current height, leaves the rest in PartText and answers
  // the unused height below the last whole line (the whole Height when no line fits).
  Extended FitPart() override;
  // See the call flow above. Raises what the report's Calc raises for a bad expression.
  void FetchData() override;
  // Also keep the memo text (not for an object bound to a data field), TagStr and URL.
  void SaveBounds() override;
  void RestoreBounds() override;
  // The memo text with the first "[TOTALPAGES]" replaced by TotalPages.
  AnsiString GetPrintedText() override;
  // Value formatted by Format (nullptr: DisplayFormat). Null gives ""; a format that does not
  // fit the value gives the value's plain text (not an error).
  AnsiString FormatData(const Variant& Value, TfrxFormat* Format = nullptr);
  // An expression with an optional " #<letter><format>" tail, evaluated and formatted.
  AnsiString CalcAndFormat(const AnsiString& Expression);
  // Expands the bracketed expressions of Text (delimiters from ExpressionDelimiters).
  AnsiString ExpandExpressions(const AnsiString& Text);

  bool AllowExpressions = true;
  bool AllowHTMLTags = false;
  bool AutoWidth = false;
  Extended CharSpacing = 0;
  AnsiString ExpressionDelimiters = "[,]";
  Extended GapX = 2, GapY = 1;
  TfrxHAlign HAlign = haLeft;
  bool HideZeros = false;
  Extended LineSpacing = 2;
  Extended ParagraphGap = 0;
  AnsiString PartText;
  bool RTLReading = false;
  bool SuppressRepeated = false;
  AnsiString SavedText;
  bool Underlines = false;
  TfrxVAlign VAlign = vaTop;
  Variant Value;
  bool WordBreak = false;
  bool WordWrap = true;
  Variant LastValue = Variant::Null();
  Integer TotalPages = 0;
  RECT TextRect{};

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Stored-property rules shared by both published kinds.
  static bool GapXStored(const TObject* o) { return static_cast<const TfrxCustomMemoView*>(o)->GapX != 2; }
  static bool GapYStored(const TObject* o) { return static_cast<const TfrxCustomMemoView*>(o)->GapY != 1; }
  static bool LineSpacingStored(const TObject* o)
  {
    return static_cast<const TfrxCustomMemoView*>(o)->LineSpacing != 2;
  }
  static bool ParagraphGapStored(const TObject* o)
  {
    return static_cast<const TfrxCustomMemoView*>(o)->ParagraphGap != 0;
  }
  static bool CharSpacingStored(const TObject* o)
  {
    return static_cast<const TfrxCustomMemoView*>(o)->CharSpacing != 0;
  }
  static bool DelimitersStored(const TObject* o)
  {
    return static_cast<const TfrxCustomMemoView*>(o)->ExpressionDelimiters != "[,]";
  }
  static bool HighlightStored(const TObject* o);
  static bool FontStored(const TObject* o) { return !static_cast<const TfrxCustomMemoView*>(o)->GetParentFont(); }

private:
  friend void frxMemoView::GetWrappedText(TfrxCustomMemoView*, bool, TStrings*);
  TfrxDrawText* Layout();
  // Font, options, automatic width and both rectangles into the locked layout, then the text.
  void PrepareLayout(TfrxDrawText* Text, HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                     Extended OffsetY);
  void SetLayoutFont(TfrxDrawText* Text);
  Extended HorizontalExtra() const;
  Extended VerticalExtra() const;

  std::unique_ptr<TStringList> FMemo;
  std::unique_ptr<TfrxFormat> FDisplayFormat;
  std::unique_ptr<TfrxHighlight> FHighlight;
  TfrxCustomMemoView* FFlowTo = nullptr;
  Integer FRotation = 0;
  AnsiString FStyle;
  AnsiString FSavedTagStr, FSavedURL;
};

class TfrxMemoView : public TfrxCustomMemoView {
  PELTO_DECLARE_CLASS(TfrxMemoView, TfrxCustomMemoView)
public:
  explicit TfrxMemoView(TComponent* AOwner) : TfrxCustomMemoView(AOwner) {}

  PELTO_PUBLISHED(p);
};

// Totals and system values: fewer published properties, the rest keep their initial values.
class TfrxSysMemoView : public TfrxCustomMemoView {
  PELTO_DECLARE_CLASS(TfrxSysMemoView, TfrxCustomMemoView)
public:
  explicit TfrxSysMemoView(TComponent* AOwner) : TfrxCustomMemoView(AOwner) {}
  AnsiString GetClassCaption() override;

  PELTO_PUBLISHED(p);
};

namespace frxMemoView {
// The text of View as the exports need it, laid out at scale 1 off screen: with Wrapped, the
// lines as they break (one per entry, tags removed); otherwise the memo text without its tags.
// Text is cleared first.
void GetWrappedText(TfrxCustomMemoView* View, bool Wrapped, TStrings* Text);
// Registers the text object classes by name and starts the expression interpreter.
void Initialize();
}  // namespace frxMemoView
