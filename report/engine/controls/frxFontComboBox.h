// TfrxFontComboBox: a flat combo box listing the installed fonts, with the five most recently
// chosen ones at its top (kept in the registry under MRURegKey) and a sample window showing the
// highlighted font while the list is open (TfrxFontPreview).
//
// The recently used block: entries 0 .. MRU index of the list are copies of fonts that appear
// again in the alphabetical list below. The registry key holds slots "Font0".."Font4" (names,
// most recent first; "" for an empty slot) and "FontType0".."FontType4" (the font type flags,
// 0 for an empty slot). frxFontMRU keeps this bookkeeping apart from the window.
#pragma once

#include <memory>

#include "platform/forms/controls/WinControl.h"
#include "report/engine/controls/frxComboBox.h"

class TBitmap;
class TPanel;
class TStrings;

namespace frxFontMRU {
constexpr int MaxCount = 5;
extern const char* const DefaultRegKey;  // "\Software\LanyueReport\MRUFont"

// The font type flags an entry of Items carries as its object.
int FontTypeOf(TStrings* Items, int Index);
// Reads the slots from 4 down to 0 under RegKey (created when missing) and puts each that names
// an entry of Items at the top, with the slot's flags; a slot naming no entry is rewritten as ""
// and 0. Answers the index of the last recently used entry (-1: none).
int Read(TStrings* Items, const AnsiString& RegKey);
// Name was chosen: an entry below the block is copied to the top (the sixth entry of a full
// block then goes), an entry inside the block moves to the top. Answers the new index of the
// last recently used entry; the chosen font then is entry 0. A name that is no entry changes
// nothing.
int Remember(TStrings* Items, int MRUIndex, const AnsiString& Name);
// Writes the block into the five slots under RegKey (slots past it empty).
void Write(TStrings* Items, int MRUIndex, const AnsiString& RegKey);
// Fills Names with the installed font families (sorted, each once) with their flags as
// objects: the screen's, then those only the current printer has. Printer failures are ignored.
void ListFonts(TStrings* Names);
}  // namespace frxFontMRU

// The floating sample: a 200 x 50 tool window showing a font's name in that font, size 18.
class TfrxFontPreview : public TWinControl {
  PELTO_DECLARE_CLASS(TfrxFontPreview, TWinControl)
public:
  explicit TfrxFontPreview(TComponent* AOwner);
  TPanel* GetPanel() const { return FPanel; }
  // Shows Name in the font of that name.
  void SetSample(const AnsiString& Name);

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  TPanel* FPanel;  // owned by this window
};

class TfrxFontComboBox : public TfrxCustomComboBox {
  PELTO_DECLARE_CLASS(TfrxFontComboBox, TfrxCustomComboBox)
public:
  explicit TfrxFontComboBox(TComponent* AOwner);
  ~TfrxFontComboBox() override;

  bool GetShowMRU() const { return FShowMRU; }
  void SetShowMRU(bool Value) { FShowMRU = Value; }
  const AnsiString& GetMRURegKey() const { return FMRURegKey; }
  // "" sets the default key.
  void SetMRURegKey(const AnsiString& Value);
  // The index of the last recently used entry (-1: none).
  int GetMRUIndex() const { return FMRUIndex; }
  // Null while the control is designed.
  TfrxFontPreview* GetPreview() const { return FPreview; }
  // The TrueType marker drawn before TrueType fonts (owned).
  TBitmap* GetTrueTypeBitmap() const { return FTrueTypeBmp.get(); }

  // Fills the list anew (fonts, then the recently used block); selects the first entry when
  // the text names none.
  void Reset();
  // Moves Name to the top of the recently used block and stores the block (with ShowMRU).
  void RememberFont(const AnsiString& Name);

  PELTO_PUBLISHED(p);

protected:
  void CreateWnd() override;
  void Loaded() override;
  void Click() override;
  void Dispatch(TMessage& Message) override;
  void DropDown() override;
  void CloseUp() override;
  void DrawItem(int Index, RECT Rect, TOwnerDrawState State) override;
  void PaintEditOffset(TCanvas* Canvas, const RECT& Band) override;

private:
  void DrawMarkerAndName(TCanvas* Canvas, const RECT& Rect, int FontType, const AnsiString& Name);

  bool FShowMRU = true;
  AnsiString FMRURegKey;
  TfrxFontPreview* FPreview = nullptr;  // owned by this control
  std::unique_ptr<TBitmap> FTrueTypeBmp;
  bool FUpdating = false;  // filling the list: no OnClick
  int FMRUIndex = -1;
};
