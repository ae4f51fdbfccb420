// The barcode object: a view whose text (a literal, a data field or an expression) is encoded
// and drawn by its own encoder. Drawing makes its width (turned by 90 or 270 degrees: its
// height) follow the symbol; HAlign says which edge stays put.
#pragma once

#include <memory>

#include "report/engine/barcode/frxBarcod.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/text/frxGraphicUtils.h"

inline const TTypeInfo* TypeInfoFor(TfrxBarcodeType*)
{
  static const TTypeInfo* type = TypInfo::MakeEnumType(
      "TfrxBarcodeType",
      "bcCode_2_5_interleaved, bcCode_2_5_industrial, bcCode_2_5_matrix, bcCode39, bcCode39Extended, bcCode128A, "
      "bcCode128B, bcCode128C, bcCode93, bcCode93Extended, bcCodeMSI, bcCodePostNet, bcCodeCodabar, bcCodeEAN8, "
      "bcCodeEAN13, bcCodeUPC_A, bcCodeUPC_E0, bcCodeUPC_E1, bcCodeUPC_Supp2, bcCodeUPC_Supp5, bcCodeEAN128A, "
      "bcCodeEAN128B, bcCodeEAN128C");
  return type;
}

class TfrxBarCodeView : public TfrxView {
  PELTO_DECLARE_CLASS(TfrxBarCodeView, TfrxView)
public:
  // Code 39 of "12345678" with its text.
  explicit TfrxBarCodeView(TComponent* AOwner);
  ~TfrxBarCodeView() override;
  AnsiString GetClassCaption() override;
  // Sizes the object to the symbol, then background, symbol (and text) and frame. The
  // encoder's errors ("Barcode must be numeric" ...) pass to the caller.
  void Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY) override;
  // The view's expansion; then Text from the data field, else from Expression when set.
  void FetchData() override;
  // With the text, which FetchData replaces.
  void SaveBounds() override;
  void RestoreBounds() override;

  // Owned by the view.
  TfrxBarcode* GetBarcode() const { return FBarcode.get(); }

  TfrxBarcodeType BarType = bcCode39;
  bool CalcCheckSum = false;
  AnsiString Expression;
  TfrxHAlign HAlign = haLeft;
  Integer Rotation = 0;
  bool ShowText = true;
  AnsiString Text = "12345678";
  Extended Zoom = 1;

  PELTO_PUBLISHED(p);

private:
  std::unique_ptr<TfrxBarcode> FBarcode;
  AnsiString FSavedText;
};

// The component an application places so that the barcode object is part of it.
class TfrxBarCodeObject : public TComponent {
  PELTO_DECLARE_CLASS(TfrxBarCodeObject, TComponent)
public:
  explicit TfrxBarCodeObject(TComponent* AOwner) : TComponent(AOwner) {}
};

namespace frxBarcode {
// Registers the classes by name and the barcode object in the designer's palette; idempotent.
void Initialize();
}  // namespace frxBarcode
