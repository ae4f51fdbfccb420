// Encodes a text in one of the one-dimensional symbologies into module codes and measures it.
//
// Module codes, one character per element in drawing order: "0".."3" spaces, "5".."8" bars and
// "A".."D" short bars (two fifths of the height), of the widths m0..m3 (m0 = Modul,
// m1 = round(Modul * Ratio), m2 = 3 * m1 div 2, m3 = 2 * m1).
//
// MakeData raises Exception with "Barcode must be numeric" (a numeric type with a non-digit),
// "Invalid Text len (EAN8)" / "Invalid Text len (EAN13)", "TfrxBarcode:Code93 bad Data <...>"
// and "TfrxBarcode: wrong BarcodeType". Characters a symbology cannot hold are otherwise left
// out (Code 39, Codabar) or taken as a space (Code 128 A/B); that is not an error.
//
// The geometry of drawing (bar polygons, picture size, text pieces) is computed apart from the
// painting, so that DrawBarcode, DrawText and DrawInRect only paint on a device context.
#pragma once

#include <vector>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/System.h"

enum TfrxBarcodeType {
  bcCode_2_5_interleaved,
  bcCode_2_5_industrial,
  bcCode_2_5_matrix,
  bcCode39,
  bcCode39Extended,
  bcCode128A,
  bcCode128B,
  bcCode128C,
  bcCode93,
  bcCode93Extended,
  bcCodeMSI,
  bcCodePostNet,
  bcCodeCodabar,
  bcCodeEAN8,
  bcCodeEAN13,
  bcCodeUPC_A,
  bcCodeUPC_E0,
  bcCodeUPC_E1,
  bcCodeUPC_Supp2,
  bcCodeUPC_Supp5,
  bcCodeEAN128A,
  bcCodeEAN128B,
  bcCodeEAN128C
};

enum TfrxCheckSumMethod { csmNone, csmModulo10 };

using TColor = Integer;

namespace frxBarcod {

struct TBarcodeTypeInfo {
  const char* Name;  // display name
  bool Num;          // the text must be all digits
};
// Indexed by TfrxBarcodeType.
extern const TBarcodeTypeInfo BarcodeTypes[23];

// Digits followed by their modulo-10 check digit (weights 3, 1, 3, ... from the right).
AnsiString CheckSumModulo10(const AnsiString& Digits);
// Digits followed by the add-on check digit (weights 3, 9, 3, ... from the right).
AnsiString CheckSumSupplement(const AnsiString& Digits);

}  // namespace frxBarcod

struct TfrxBarPoint {
  Integer X = 0;
  Integer Y = 0;
  bool operator==(const TfrxBarPoint&) const = default;
};

// One element of the symbol as a filled polygon (pen and brush in Color).
struct TfrxBarPolygon {
  TColor Color = 0;
  TfrxBarPoint Points[4];
};

// One piece of the human-readable text: its band (Left, Top, Right, Bottom) is filled with the
// background, then Text is written at TextPos in the font turned by the angle.
struct TfrxBarcodeTextPiece {
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
  TfrxBarPoint TextPos;
  AnsiString Text;
};

class TfrxBarcode : public TObject {
public:
  TfrxBarcode() = default;

  void Assign(const TfrxBarcode& Source);

  // The module codes of Text. EAN-13, UPC and the add-ons may store the padded or completed
  // text back into Text; a completed text is not completed again on the next call. The check
  // digit of UPC-E is that of the UPC-A number the six digits stand for.
  AnsiString MakeData();
  // The digits followed by the check digit of CheckSumMethod (unchanged for csmNone).
  AnsiString CheckDigit(const AnsiString& Digits) const;

  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value) { FText = Value; }
  TfrxBarcodeType GetTyp() const { return FTyp; }
  void SetTyp(TfrxBarcodeType Value) { FTyp = Value; }
  Integer GetModul() const { return FModul; }
  void SetModul(Integer Value) { FModul = Value; }
  double GetRatio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  bool GetChecksum() const { return FCheckSum; }
  void SetChecksum(bool Value) { FCheckSum = Value; }
  TfrxCheckSumMethod GetCheckSumMethod() const { return FCheckSumMethod; }
  void SetCheckSumMethod(TfrxCheckSumMethod Value) { FCheckSumMethod = Value; }
  double GetAngle() const { return FAngle; }
  void SetAngle(double Value) { FAngle = Value; }
  // Symbol width in pixels: MakeData, then the sum of its module widths.
  Integer GetWidth();
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value) { FHeight = Value; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TColor GetColorBar() const { return FColorBar; }
  void SetColorBar(TColor Value) { FColorBar = Value; }
  Integer GetLeft() const { return FLeft; }
  Integer GetTop() const { return FTop; }

  // The polygons of DrawBarcode for Code (from MakeData): rotated by Angle, the origin
  // (Left, Top) moved so that the rotated symbol of Width x Height stays at non-negative
  // coordinates.
  std::vector<TfrxBarPolygon> BarPolygons(const AnsiString& Code);
  // Steps of DrawInRect before painting, for a rectangle of RectWidth x RectHeight: sets Left,
  // Top and Height and answers the size of the picture that is stretched into the rectangle.
  TfrxBarPoint PictureSize(Integer RectWidth, Integer RectHeight);
  // The text pieces of DrawText in a picture of PictureWidth x PictureHeight; TextWidth is the
  // width of the whole Text in the font, used by the types that centre it. None for an angle
  // that is not a multiple of 90 degrees.
  std::vector<TfrxBarcodeTextPiece> TextPieces(Integer PictureWidth, Integer PictureHeight, Integer TextWidth);

  // Paints the polygons of BarPolygons(Code) on DC, pen and brush in each element's colour.
  void DrawBarcode(const AnsiString& Code, HDC DC);
  // Paints the text pieces of a picture of PictureWidth x PictureHeight on DC: font "Arial" 9
  // turned by Angle, each band filled with Color, the text on a transparent background.
  void DrawText(HDC DC, Integer PictureWidth, Integer PictureHeight);
  // Draws the symbol, and with ShowText its text, scaled into Rect on DC. The picture is
  // painted on a bitmap of PictureSize and stretched into Rect; pixels it leaves unpainted keep
  // what DC had. Nothing is drawn for an empty symbol; MakeData's exceptions pass through.
  void DrawInRect(HDC DC, const RECT& Rect, bool ShowText);

  // Width in pixels of one module code at the current module widths; raises
  // "TfrxBarcode: internal Error" for a character that is no module code.
  Integer ModuleWidth(char Code) const;

private:
  void MakeModules();
  // EAN-8, EAN-13, UPC-A and UPC-E: bars reach down into the text band.
  bool LongBarsType() const;
  AnsiString Code_2_5_interleaved();
  AnsiString Code_2_5_industrial();
  AnsiString Code_2_5_matrix();
  AnsiString Code_39(const AnsiString& Data);
  AnsiString Code_39Extended();
  AnsiString Code_128();
  AnsiString Code_93(const AnsiString& Data);
  AnsiString Code_93Extended();
  AnsiString Code_MSI();
  AnsiString Code_PostNet();
  AnsiString Code_Codabar();
  AnsiString Code_EAN8();
  AnsiString Code_EAN13();
  AnsiString Code_UPC_A();
  AnsiString Code_UPC_E(bool Inverted);
  AnsiString Code_Supp2();
  AnsiString Code_Supp5();
  // Stores a completed text and remembers it, so that it is not completed twice.
  void StoreCompleted(const AnsiString& Value);
  bool AlreadyCompleted() const { return FCompleted && FText == FCompletedText; }

  AnsiString FText;
  TfrxBarcodeType FTyp = bcCodeEAN13;
  Integer FModul = 1;
  double FRatio = 2.0;
  bool FCheckSum = false;
  TfrxCheckSumMethod FCheckSumMethod = csmModulo10;
  double FAngle = 0;
  Integer FHeight = 0;
  TColor FColor = 0xFFFFFF;
  TColor FColorBar = 0;
  Integer FLeft = 0;
  Integer FTop = 0;
  Integer FModules[4] = {1, 2, 3, 4};  // m0..m3
  bool FCompleted = false;
  AnsiString FCompletedText;  // the last text this object completed and stored
};
