#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/rtl/Exceptions.h"
#include "report/engine/barcode/frxBarcod.h"

namespace {

AnsiString Encode(TfrxBarcodeType typ, const AnsiString& text, bool checksum = false)
{
  TfrxBarcode b;
  b.SetTyp(typ);
  b.SetText(text);
  b.SetChecksum(checksum);
  return b.MakeData();
}

// One character per module: '1' bar (also short), '0' space; at Modul 1, Ratio 2.
AnsiString Bits(const AnsiString& codes)
{
  TfrxBarcode widths;  // EAN types keep ratio 2: m0..m3 = 1..4
  widths.MakeData();
  AnsiString out;
  for (char c : codes) out += AnsiString(widths.ModuleWidth(c), (c >= '5') ? '1' : '0');
  return out;
}

// The element widths (1..4) of a module-code string, as digits.
AnsiString Widths(const AnsiString& codes)
{
  AnsiString out;
  for (char c : codes) out += static_cast<char>('1' + (c >= '5' ? c - '5' : c - '0'));
  return out;
}

// Published EAN/UPC character sets as module bits.
const char* const L[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                           "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const G[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                           "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const R[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                           "1001110", "1010000", "1000100", "1001000", "1110100"};

AnsiString Sets(const AnsiString& digits, const AnsiString& sets)
{
  AnsiString out;
  for (size_t i = 0; i < digits.size(); ++i) {
    int d = digits[i] - '0';
    out += sets[i] == 'L' ? L[d] : sets[i] == 'G' ? G[d] : R[d];
  }
  return out;
}

void ExpectError(TfrxBarcodeType typ, const AnsiString& text, bool checksum, const char* msg)
{
  try {
    Encode(typ, text, checksum);
    FAIL() << "no error for " << text;
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), msg);
  }
}

}  // namespace

TEST(Barcode, RejectsBadInput)
{
  ExpectError(bcCodeEAN13, "12a4", false, "Barcode must be numeric");
  ExpectError(bcCodeEAN13, "12345678901234", false, "Invalid Text len (EAN13)");
  ExpectError(bcCode93, "a", false, "TfrxBarcode:Code93 bad Data <a>");
  ExpectError(static_cast<TfrxBarcodeType>(23), "1", false, "TfrxBarcode: wrong BarcodeType");

  TfrxBarcode b;
  b.SetTyp(bcCodeEAN8);
  b.SetText("1234567");
  b.SetChecksum(true);
  b.SetCheckSumMethod(csmNone);
  EXPECT_THROW(b.MakeData(), Exception);
  EXPECT_THROW(b.ModuleWidth('x'), Exception);
}

TEST(Barcode, NumericTextIsTrimmed)
{
  TfrxBarcode b;
  b.SetTyp(bcCodeMSI);
  b.SetText("  123 ");
  b.MakeData();
  EXPECT_EQ(b.GetText(), "123");
}

TEST(Barcode, EAN13CompletesTwelveDigitsAndKeepsThirteen)
{
  TfrxBarcode b;
  b.SetTyp(bcCodeEAN13);
  b.SetText("590123412345");
  b.SetChecksum(true);
  AnsiString bits = Bits(b.MakeData());
  EXPECT_EQ(b.GetText(), "5901234123457");
  // First digit 5 selects the parity LGGLLG.
  EXPECT_EQ(bits, "101" + Sets("901234", "LGGLLG") + "01010" + Sets("123457", "RRRRRR") + "101");
  EXPECT_EQ(bits.size(), 95u);
  EXPECT_EQ(b.MakeData(), b.MakeData());  // completed once only
  EXPECT_EQ(b.GetText(), "5901234123457");

  TfrxBarcode wrong;
  wrong.SetTyp(bcCodeEAN13);
  wrong.SetText("5901234123450");
  wrong.SetChecksum(true);
  wrong.MakeData();
  EXPECT_EQ(wrong.GetText(), "5901234123450");
}

TEST(Barcode, EAN8UPCAndAddOns)
{
  TfrxBarcode b;
  b.SetTyp(bcCodeEAN8);
  b.SetText("9638507");
  b.SetChecksum(true);
  EXPECT_EQ(Bits(b.MakeData()), "101" + Sets("9638", "LLLL") + "01010" + Sets("5074", "RRRR") + "101");
  EXPECT_EQ(b.GetText(), "9638507");  // EAN-8 leaves Text alone

  TfrxBarcode upca;
  upca.SetTyp(bcCodeUPC_A);
  upca.SetText("3600029145");  // padded to eleven digits, then completed
  upca.SetChecksum(true);
  AnsiString bits = Bits(upca.MakeData());
  EXPECT_EQ(upca.GetText(), "036000291452");
  EXPECT_EQ(bits, "101" + Sets("036000", "LLLLLL") + "01010" + Sets("291452", "RRRRRR") + "101");
  upca.SetText("036000291450");  // twelve digits: the check digit is recomputed
  upca.MakeData();
  EXPECT_EQ(upca.GetText(), "036000291452");

  // UPC-E 012345 stands for UPC-A 0 01234 00005, check digit 7: parity row EoEoEo, E in G code.
  TfrxBarcode e0;
  e0.SetTyp(bcCodeUPC_E0);
  e0.SetText("012345");
  e0.SetChecksum(true);
  EXPECT_EQ(Bits(e0.MakeData()), "101" + Sets("012345", "GLGLGL") + "010101");
  EXPECT_EQ(e0.GetText(), "0123457");
  // Number system 1: 1 01234 00005 has the check digit 4, row EoEEoo inverted.
  e0.SetTyp(bcCodeUPC_E1);
  EXPECT_EQ(Bits(e0.MakeData()), "101" + Sets("012345", "LGLLGG") + "010101");
  EXPECT_EQ(e0.GetText(), "0123454");

  // Two-digit add-on: 12 mod 4 = 0 gives LL; the check digit is appended to Text only once.
  TfrxBarcode s2;
  s2.SetTyp(bcCodeUPC_Supp2);
  s2.SetText("12");
  s2.SetChecksum(true);
  AnsiString first = s2.MakeData();
  EXPECT_EQ(s2.GetText(), "125");
  EXPECT_EQ(s2.MakeData(), first);
  EXPECT_EQ(s2.GetText(), "125");
  EXPECT_EQ(Bits(first), "1011" + Sets("1", "L") + "01" + Sets("2", "L"));

  // Five-digit add-on 52495: check 1, parity GLGLL.
  TfrxBarcode s5;
  s5.SetTyp(bcCodeUPC_Supp5);
  s5.SetText("52495");
  s5.SetChecksum(true);
  EXPECT_EQ(Bits(s5.MakeData()), "1011" + Sets("5", "G") + "01" + Sets("2", "L") + "01" + Sets("4", "G") + "01" +
                                     Sets("9", "L") + "01" + Sets("5", "L"));
  EXPECT_EQ(s5.GetText(), "524951");
}

TEST(Barcode, TwoOfFive)
{
  EXPECT_EQ(Encode(bcCode_2_5_interleaved, "12345"), Encode(bcCode_2_5_interleaved, "1234"));
  // 1 = wnnnw bars, 2 = nwnnw spaces, interleaved.
  EXPECT_EQ(Encode(bcCode_2_5_interleaved, "12"),
            "5050"
            "6051505061"
            "605");
  EXPECT_EQ(Encode(bcCode_2_5_industrial, "1"),
            "606050"
            "6050505060"
            "605060");
  EXPECT_EQ(Encode(bcCode_2_5_matrix, "1"),
            "705050"
            "60506"
            "0"
            "70505");
}

TEST(Barcode, Code39AndFullAscii)
{
  AnsiString empty = Encode(bcCode39, "");
  EXPECT_EQ(Encode(bcCode39, "abc"), empty);  // lower case is outside the set
  EXPECT_EQ(Widths(empty),
            "121121211"
            "1"
            "121121211");

  TfrxBarcode ext;
  ext.SetTyp(bcCode39Extended);
  ext.SetText("abc");
  EXPECT_EQ(ext.MakeData(), Encode(bcCode39, "+A+B+C"));
  EXPECT_EQ(ext.GetText(), "abc");

  // Check character: (1 + 2 + 3) mod 43 = 6.
  AnsiString withCheck = Encode(bcCode39, "123", true);
  EXPECT_EQ(withCheck, Encode(bcCode39, "1236"));

  // Every symbol has nine elements, three of them wide, and no two are alike.
  const AnsiString all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
  AnsiString codes = Encode(bcCode39, all);
  std::set<AnsiString> seen;
  for (size_t i = 0; i < all.size(); ++i) {
    AnsiString sym = codes.substr(10 * (i + 1), 9);
    int wide = 0;
    for (char c : sym) wide += (c == '6' || c == '1');
    EXPECT_EQ(wide, 3) << all[i];
    seen.insert(sym);
  }
  EXPECT_EQ(seen.size(), all.size());
}

TEST(Barcode, Code128)
{
  // Code 128B of "PJJ123C": check value 55 ("311321").
  AnsiString w = Widths(Encode(bcCode128B, "PJJ123C"));
  EXPECT_EQ(w.substr(0, 6), "211214");
  EXPECT_EQ(w.substr(w.size() - 13),
            "311321"
            "2331112");

  // 128C of "123" is the pairs 01 and 23.
  EXPECT_EQ(Encode(bcCode128C, "123"), Encode(bcCode128C, "0123"));
  // Values 1 and 23; check (105 + 1 * 1 + 23 * 2) mod 103 = 49.
  EXPECT_EQ(Widths(Encode(bcCode128C, "0123")),
            "211232"
            "222122"
            "312131"
            "211331"
            "2331112");
  // Set A has no lower case: it is taken as the space.
  EXPECT_EQ(Encode(bcCode128A, "a"), Encode(bcCode128A, " "));
  // EAN-128 puts FNC1 after the start.
  AnsiString ean = Widths(Encode(bcCodeEAN128B, "1"));
  EXPECT_EQ(ean.substr(0, 12),
            "211214"
            "411131");

  // Every printable character of set B: eleven modules per symbol, all distinct.
  AnsiString all;
  for (int c = 32; c < 128; ++c) all += static_cast<char>(c);
  AnsiString all128 = Widths(Encode(bcCode128B, all));
  ASSERT_EQ(all128.size(), 6 * (all.size() + 2) + 7);
  std::set<AnsiString> seen;
  for (size_t i = 0; i < all.size() + 2; ++i) {
    AnsiString sym = all128.substr(6 * i, 6);
    int sum = 0;
    for (char c : sym) sum += c - '0';
    EXPECT_EQ(sum, 11) << i;
    seen.insert(sym);
  }
  EXPECT_EQ(seen.size(), all.size() + 1);  // start B and the data; the check may repeat one
}

TEST(Barcode, Code93ChecksAndFullAscii)
{
  // "TEST93" has the check characters "+" and "6".
  AnsiString plain = Encode(bcCode93, "TEST93");
  AnsiString spelled = Encode(bcCode93, "TEST93+6");
  EXPECT_EQ(plain, spelled.substr(0, 6 + 8 * 6) + spelled.substr(spelled.size() - 7));

  TfrxBarcode ext;
  ext.SetTyp(bcCode93Extended);
  ext.SetText("a$");
  EXPECT_EQ(ext.MakeData(), Encode(bcCode93, "}A{D"));

  const AnsiString all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";
  AnsiString w = Widths(Encode(bcCode93, all));
  std::set<AnsiString> seen;
  for (size_t i = 1; i <= all.size(); ++i) {
    AnsiString sym = w.substr(6 * i, 6);
    int sum = 0;
    for (char c : sym) sum += c - '0';
    EXPECT_EQ(sum, 9) << all[i - 1];
    seen.insert(sym);
  }
  EXPECT_EQ(seen.size(), all.size());
}

TEST(Barcode, MSIPostNetCodabar)
{
  // The MSI check digit of 1234567 is 4.
  AnsiString msi = Encode(bcCodeMSI, "1234567");
  AnsiString spelled = Encode(bcCodeMSI, "12345674");
  EXPECT_EQ(msi, spelled.substr(0, 2 + 8 * 8) + "515");
  EXPECT_EQ(Encode(bcCodeMSI, "5").substr(0, 10),
            "60"
            "51605160");

  EXPECT_EQ(Encode(bcCodePostNet, "1"),
            "51"
            "A1A1A15151"
            "5");

  EXPECT_EQ(Encode(bcCodeCodabar, "1x2"), Encode(bcCodeCodabar, "12"));
  EXPECT_EQ(Encode(bcCodeCodabar, "1"),
            "5061515"
            "0"
            "5050615"
            "0"
            "5151506");
}

TEST(Barcode, RatioAndModules)
{
  TfrxBarcode b;
  b.SetRatio(1.5);
  b.SetTyp(bcCode39);
  b.MakeData();
  EXPECT_EQ(b.GetRatio(), 2.0);
  b.SetRatio(1.5);
  b.SetTyp(bcCode128B);
  b.MakeData();
  EXPECT_EQ(b.GetRatio(), 1.5);
  // Modul 2, Ratio 1.5: m1 = round(3) = 3, m2 = 4, m3 = 6.
  b.SetModul(2);
  b.MakeData();
  EXPECT_EQ(b.ModuleWidth('0'), 2);
  EXPECT_EQ(b.ModuleWidth('6'), 3);
  EXPECT_EQ(b.ModuleWidth('C'), 4);
  EXPECT_EQ(b.ModuleWidth('8'), 6);
  // Halves round to even: 2.5 gives 2.
  b.SetModul(1);
  b.SetRatio(2.5);
  b.MakeData();
  EXPECT_EQ(b.ModuleWidth('1'), 2);

  TfrxBarcode ean;
  ean.SetText("590123412345");
  ean.SetChecksum(true);
  EXPECT_EQ(ean.GetWidth(), 95);
  TfrxBarcode copy;
  copy.Assign(ean);
  EXPECT_EQ(copy.GetText(), "5901234123457");
  EXPECT_TRUE(copy.GetChecksum());
}

TEST(BarcodeGeometry, QuarterTurnLaysBarsAcrossWithTextOnTheRight)
{
  TfrxBarcode b;
  b.SetTyp(bcCode39);
  b.SetText("A");
  b.SetAngle(90);
  // A tall rectangle: the symbol runs down it.
  TfrxBarPoint size = b.PictureSize(100, 150);
  Integer w = b.GetWidth();
  EXPECT_EQ(size.Y, w);
  EXPECT_EQ(size.X, static_cast<Integer>(std::nearbyint(100 / (150.0 / w))));
  ASSERT_GT(b.GetHeight(), 0);
  EXPECT_EQ(b.GetHeight(), size.X - 16);

  std::vector<TfrxBarPolygon> bars = b.BarPolygons(b.MakeData());
  // The first bar: (0,0)-(0,h)-(w0-1,h)-(w0-1,0) turned by 90 degrees and moved down by W.
  EXPECT_EQ(bars[0].Points[0], (TfrxBarPoint{0, w}));
  EXPECT_EQ(bars[0].Points[1], (TfrxBarPoint{b.GetHeight(), w}));
  EXPECT_EQ(bars[0].Color, 0);
  EXPECT_EQ(bars[1].Color, 0xFFFFFF);
  for (const TfrxBarPolygon& bar : bars)
    for (const TfrxBarPoint& p : bar.Points) {
      EXPECT_GE(p.Y, 0);
      EXPECT_LE(p.Y, w);
      EXPECT_LE(p.X, b.GetHeight());  // the bars leave the text band free
    }

  std::vector<TfrxBarcodeTextPiece> text = b.TextPieces(size.X, size.Y, 20);
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text[0].Left, size.X - 14);
  EXPECT_EQ(text[0].Right, size.X);
  EXPECT_EQ(text[0].TextPos, (TfrxBarPoint{size.X - 14, size.Y - (w - 20) / 2}));
}

TEST(BarcodeGeometry, EAN13TextPiecesAndHalfTurn)
{
  TfrxBarcode b;
  b.SetText("5901234123457");
  b.SetAngle(180);
  TfrxBarPoint size = b.PictureSize(190, 100);  // zoom 2
  EXPECT_EQ(size.X, 95);
  EXPECT_EQ(size.Y, 50);
  EXPECT_EQ(b.GetHeight(), 43);
  EXPECT_EQ(b.GetTop(), 8);
  std::vector<TfrxBarcodeTextPiece> text = b.TextPieces(95, 50, 0);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0].Text, "5");
  EXPECT_EQ(text[1].Text, "901234");
  EXPECT_EQ(text[2].Text, "123457");
  EXPECT_EQ(text[1].Left, 95 - 3);
  EXPECT_EQ(text[1].Bottom, 16);
  EXPECT_EQ(text[1].TextPos, (TfrxBarPoint{92, 14}));

  b.SetText("0901234123457");
  b.SetAngle(0);
  EXPECT_EQ(b.TextPieces(95, 50, 0).size(), 2u);  // a leading 0 is not shown
  b.PictureSize(190, 100);
  std::vector<TfrxBarPolygon> bars = b.BarPolygons(b.MakeData());
  EXPECT_EQ(bars.back().Points[2], (TfrxBarPoint{94, b.GetHeight()}));
}
