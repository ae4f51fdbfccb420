// Dot-matrix pages and their objects: laid out in fixed-pitch character cells (9.6 by 17
// pixels) for character printers. Positions, sizes and the paper snap to the cells; the font is
// always "Courier New" 12 with bold, italic and underline taken from the character-printer
// style flags (the other six flags are kept for the printer and do not change the drawing).
#pragma once

#include "report/engine/model/frxPage.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxView.h"

PELTO_ENUM(TfrxDMPFontStyle, fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide,
           fsx12cpi, fsx15cpi)
// Stored in files as the decimal number of its bits.
PELTO_SET(TfrxDMPFontStyles, TfrxDMPFontStyle)

class TfrxDMPPage : public TfrxReportPage {
  PELTO_DECLARE_CLASS(TfrxDMPPage, TfrxReportPage)
public:
  // The report page with its paper snapped to the cells, in the page font.
  explicit TfrxDMPPage(TComponent* AOwner);

  bool IsDotMatrix() const override { return true; }
  // The paper setters snap the width to whole columns and the height to whole rows (rounded).
  void SetPaperWidth(Extended Value) override;
  void SetPaperHeight(Extended Value) override;
  void SetPaperSize(Integer Value) override;
  // One cell of margin on each side; the paper truncated to whole cells.
  void SetDefaults() override;

  TfrxDMPFontStyles GetFontStyle() const { return FFontStyle; }
  // Applies the page font, then every object that follows its parent's font takes it again.
  void SetFontStyle(TfrxDMPFontStyles Value);
  // "Courier New" 12 with the bold, italic and underline of FontStyle; ParentFont is kept.
  void ApplyFontStyle();

  PELTO_PUBLISHED(p);

private:
  TfrxDMPFontStyles FFontStyle;
};

class TfrxDMPMemoView : public TfrxCustomMemoView {
  PELTO_DECLARE_CLASS(TfrxDMPMemoView, TfrxCustomMemoView)
public:
  // On a dot-matrix page it takes the page's flags while it follows the parent font.
  explicit TfrxDMPMemoView(TComponent* AOwner);

  AnsiString GetClassCaption() override;
  // The text object's differences, then FontStyle when it differs from Reference's.
  AnsiString WriteDiff(TfrxComponent* Reference) override;

  // Left to whole columns (truncated for a right-aligned object), Top and Height to whole
  // rows, Width to whole columns.
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;
  void SetWidth(Extended Value) override;
  void SetHeight(Extended Value) override;
  // The text object's measures rounded to whole rows / columns.
  Extended CalcHeight() override;
  Extended CalcWidth() override;
  // The frame lies around the character cells: half a cell outside the object's box.
  void DrawFrame() override;

  // True also takes the flags of the dot-matrix page the object is on.
  void SetParentFont(bool Value) override;
  TfrxDMPFontStyles GetFontStyle() const { return FFontStyle; }
  // ParentFont becomes False, the font follows the flags.
  void SetFontStyle(TfrxDMPFontStyles Value);
  // The page font of the flags; no character spacing, no gaps, line spacing 1. ParentFont is
  // kept.
  void ApplyDefaults();

  PELTO_PUBLISHED(p);

private:
  TfrxDMPFontStyles FFontStyle;
};

class TfrxDMPLineView : public TfrxCustomLineView {
  PELTO_DECLARE_CLASS(TfrxDMPLineView, TfrxCustomLineView)
public:
  explicit TfrxDMPLineView(TComponent* AOwner);

  AnsiString GetClassCaption() override;
  // The view's differences, then FontStyle when it differs from Reference's.
  AnsiString WriteDiff(TfrxComponent* Reference) override;
  // The line runs through the middle of a column / row of cells; its size is not snapped.
  void SetLeft(Extended Value) override;
  void SetTop(Extended Value) override;

  // True also takes the flags of the dot-matrix page the line is on.
  void SetParentFont(bool Value) override;
  TfrxDMPFontStyles GetFontStyle() const { return FFontStyle; }
  // ParentFont becomes False.
  void SetFontStyle(TfrxDMPFontStyles Value);

  PELTO_PUBLISHED(p);

private:
  TfrxDMPFontStyles FFontStyle;
};

namespace frxDMPClass {
// Registers the page by name and the two objects in the object registry (images 2 and 5).
// Runs after the design-time registries exist; safe to run again after they were freed.
void Initialize();
}  // namespace frxDMPClass
