// TInplaceEdit: the masked edit box a grid places over its current cell. The grid creates it
// (CreateEditor), owns it, and shows, moves and hides it; the editor reads its text, mask and
// length from the grid (UpdateContents) and its text goes back through the grid's SetEditText.
//
// Keys: Up, Down, Page Up / Down, Escape and Tab go to the grid; Left, Right, Home and End do
// too with goAlwaysShowEditor when the caret stands at that end of the text (or with Ctrl).
// Enter toggles between the whole text selected and the caret at its end; the grid's own
// Enter handling (hiding the editor) comes first.
#pragma once

#include "platform/stdctrls/edits/MaskEdit.h"

class TCustomGrid;

class TInplaceEdit : public TCustomMaskEdit {
  PELTO_CLASS(TInplaceEdit, TCustomMaskEdit)
public:
  explicit TInplaceEdit(TComponent* AOwner);

  // Borrowed: the grid owns the editor.
  TCustomGrid* GetGrid() const { return FGrid; }
  void SetGrid(TCustomGrid* Value) { FGrid = Value; }

  // Shows the editor at Loc (client coordinates of the grid), focused when the grid has the
  // focus; an empty Loc hides it.
  void Move(const RECT& Loc);
  // The caret at the end of the text, nothing selected.
  void Deselect();
  // Back to the text UpdateContents read, written through the grid.
  void RestoreText();

protected:
  // Reads the current cell's text, mask and length from the grid.
  virtual void UpdateContents();
  // Places the text inside the new bounds.
  virtual void BoundsChanged();
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DblClick() override;

private:
  friend class TCustomGrid;
  TCustomGrid* FGrid = nullptr;
  AnsiString FShownText;  // the text UpdateContents read
  DWORD FClickTime = 0;
};
