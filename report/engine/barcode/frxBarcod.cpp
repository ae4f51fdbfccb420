#include "report/engine/barcode/frxBarcod.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MathUtils.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

namespace {

int DigitValue(char c) { return static_cast<unsigned char>(c) - '0'; }

int PositiveMod(int value, int m) { return ((value % m) + m) % m; }

}  // namespace

namespace frxBarcod {

const TBarcodeTypeInfo BarcodeTypes[23] = {
    {"2_5_interleaved", true},
    {"2_5_industrial", true},
    {"2_5_matrix", true},
    {"Code39", false},
    {"Code39 Extended", false},
    {"Code128A", false},
    {"Code128B", false},
    {"Code128C", false},
    {"Code93", false},
    {"Code93 Extended", false},
    {"MSI", true},
    {"PostNet", true},
    {"Codebar", false},
    {"EAN8", true},
    {"EAN13", true},
    {"UPC_A", true},
    {"UPC_E0", true},
    {"UPC_E1", true},
    {"UPC Supp2", true},
    {"UPC Supp5", true},
    {"EAN128A", false},
    {"EAN128B", false},
    {"EAN128C", true},
};

AnsiString CheckSumModulo10(const AnsiString& Digits)
{
  int sum = 0;
  bool three = true;  // the rightmost digit weighs 3
  for (auto it = Digits.rbegin(); it != Digits.rend(); ++it) {
    sum += DigitValue(*it) * (three ? 3 : 1);
    three = !three;
  }
  int m = PositiveMod(sum, 10);
  return Digits + static_cast<char>('0' + (m == 0 ? 0 : 10 - m));
}

AnsiString CheckSumSupplement(const AnsiString& Digits)
{
  int sum = 0;
  bool three = true;
  for (auto it = Digits.rbegin(); it != Digits.rend(); ++it) {
    sum += DigitValue(*it) * (three ? 3 : 9);
    three = !three;
  }
  return Digits + static_cast<char>('0' + PositiveMod(sum, 10));
}

}  // namespace frxBarcod

namespace {

const char* const kClassName = "TfrxBarcode";

[[noreturn]] void RaiseBarcode(const AnsiString& text) { throw Exception(text); }

AnsiString ZeroFill(const AnsiString& s, size_t n) { return s.size() >= n ? s : AnsiString(n - s.size(), '0') + s; }

// ---- 2 of 5 ---------------------------------------------------------------------------------
// Five elements per digit, "1" wide.
const char* const kTable25[10] = {"00110", "10001", "01001", "11000", "00101",
                                  "10100", "01100", "00011", "10010", "01010"};

// ---- Code 39 --------------------------------------------------------------------------------
// Nine elements (bar first), "1" wide; the index is the character's value.
const char kChars39[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
const char* const kTable39[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101", "100100100",
    "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000", "000001101", "100001100",
    "001001100", "000011100", "100000011", "001000011", "101000010", "000010011", "100010010", "001010010", "000000111",
    "100000110", "001000110", "000010110", "110000001", "011000001", "111000000", "010010001", "110010000", "011010000",
    "010000101", "110000100", "011000100", "010101000", "010100010", "010001010", "000101010",
    "010010100",  // "*"
};
const int kStar39 = 43;

// Full ASCII: the Code 39 sequence of every character below 128.
const char* const kFullAscii39[128] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O", "$P", "$Q", "$R",
    "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E", " ",  "/A", "/B", "/C", "/D", "/E",
    "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O", "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
    "9",  "/Z", "%F", "%G", "%H", "%I", "%J", "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",
    "L",  "M",  "N",  "O",  "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N",
    "%O", "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O", "+P", "+Q",
    "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

// ---- Code 128 -------------------------------------------------------------------------------
// Element widths, bar first; the index is the value.
const char* const kTable128[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211",  "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",  "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113",  "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113",  "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",  "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112",  "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112",  "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113",  "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};
const int kFnc1 = 102, kStartA = 103, kStartB = 104, kStartC = 105, kStop128 = 106;

// ---- Code 93 --------------------------------------------------------------------------------
// The shift characters ($) (%) (/) (+) are written "[", "]", "{", "}".
const char kChars93[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";
const char* const kTable93[47] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
};

// ---- PostNet, Codabar -----------------------------------------------------------------------
const char* const kTablePostNet[10] = {"11000", "00011", "00101", "00110", "01001",
                                       "01010", "01100", "10001", "10010", "10100"};
const char kCharsCodabar[] = "0123456789-$:/.+ABCD";
const char* const kTableCodabar[20] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001", "0100100", "0110000", "1001000",
    "0001100", "0011000", "1000101", "1010001", "1010100", "0010101", "0011010", "0101001", "0001011", "0001110",
};

// ---- EAN / UPC ------------------------------------------------------------------------------
// Widths of the left-odd set (space first); the right set has the same widths bar first and
// the left-even set is the right set reversed.
const char* const kWidthsEAN[10] = {"3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112"};
const char* const kParityEAN13[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                      "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
// UPC-E, number system 0, by check digit ("E" even, "o" odd).
const char* const kParityUPCE[10] = {"EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo",
                                     "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE"};
const char* const kParitySupp2[4] = {"oo", "oE", "Eo", "EE"};

char Space(int width) { return static_cast<char>('0' + width - 1); }
char Bar(int width) { return static_cast<char>('5' + width - 1); }

// Element widths to module codes, alternating from a bar or from a space.
AnsiString Alternate(const AnsiString& widths, bool barFirst)
{
  AnsiString out;
  out.reserve(widths.size());
  bool bar = barFirst;
  for (char w : widths) {
    out += bar ? Bar(w - '0') : Space(w - '0');
    bar = !bar;
  }
  return out;
}

// Wide/narrow flags to module codes: bars "6"/"5", spaces "1"/"0".
AnsiString WideNarrow(const char* flags, bool barFirst)
{
  AnsiString out;
  bool bar = barFirst;
  for (const char* p = flags; *p; ++p) {
    bool wide = *p == '1';
    out += bar ? (wide ? '6' : '5') : (wide ? '1' : '0');
    bar = !bar;
  }
  return out;
}

enum TEANSet { setL, setG, setR };

AnsiString EANDigit(char digit, TEANSet set)
{
  AnsiString w = kWidthsEAN[DigitValue(digit) % 10];
  switch (set) {
    case setL: return Alternate(w, false);
    case setR: return Alternate(w, true);
    case setG: return Alternate(AnsiString(w.rbegin(), w.rend()), false);
  }
  return AnsiString();
}

int IndexIn(const char* chars, char c)
{
  for (int i = 0; chars[i]; ++i)
    if (chars[i] == c) return i;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The eleven digits of the UPC-A number that a six-digit UPC-E number stands for.
AnsiString ExpandUPCE(const AnsiString& d, char numberSystem)
{
  AnsiString ns(1, numberSystem);
  switch (d[5]) {
    case '0':
    case '1':
    case '2': return ns + d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    case '3': return ns + d.substr(0, 3) + "00000" + d.substr(3, 2);
    case '4': return ns + d.substr(0, 4) + "00000" + d[4];
    default: return ns + d.substr(0, 5) + "0000" + d[5];
  }
}

}  // namespace

void TfrxBarcode::Assign(const TfrxBarcode& Source)
{
  FHeight = Source.FHeight;
  FText = Source.FText;
  FTop = Source.FTop;
  FLeft = Source.FLeft;
  FModul = Source.FModul;
  FRatio = Source.FRatio;
  FTyp = Source.FTyp;
  FCheckSum = Source.FCheckSum;
  FAngle = Source.FAngle;
  FColor = Source.FColor;
  FColorBar = Source.FColorBar;
  FCheckSumMethod = Source.FCheckSumMethod;
}

AnsiString TfrxBarcode::CheckDigit(const AnsiString& Digits) const
{
  return FCheckSumMethod == csmModulo10 ? frxBarcod::CheckSumModulo10(Digits) : Digits;
}

void TfrxBarcode::StoreCompleted(const AnsiString& Value)
{
  FText = Value;
  FCompletedText = Value;
  FCompleted = true;
}

void TfrxBarcode::MakeModules()
{
  switch (FTyp) {
    case bcCode_2_5_matrix:
      if (FRatio < 2.25) FRatio = 2.25;
      if (FRatio > 3.0) FRatio = 3.0;
      break;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCode93:
    case bcCode93Extended:
    case bcCodeMSI:
    case bcCodePostNet:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C: break;
    default:
      if (FRatio < 2.0) FRatio = 2.0;
      if (FRatio > 3.0) FRatio = 3.0;
  }
  // nearbyint rounds halves to even under the default rounding mode.
  int m1 = static_cast<int>(std::nearbyint(FModul * FRatio));
  FModules[0] = FModul;
  FModules[1] = m1;
  FModules[2] = m1 * 3 / 2;
  FModules[3] = m1 * 2;
}

Integer TfrxBarcode::ModuleWidth(char Code) const
{
  if (Code >= '0' && Code <= '3') return FModules[Code - '0'];
  if (Code >= '5' && Code <= '8') return FModules[Code - '5'];
  if (Code >= 'A' && Code <= 'D') return FModules[Code - 'A'];
  RaiseBarcode(AnsiString(kClassName) + ": internal Error");
}

Integer TfrxBarcode::GetWidth()
{
  AnsiString data = MakeData();
  Integer w = 0;
  for (char c : data) w += ModuleWidth(c);
  return w;
}

AnsiString TfrxBarcode::MakeData()
{
  MakeModules();
  if (FTyp < bcCode_2_5_interleaved || FTyp > bcCodeEAN128C)
    RaiseBarcode(AnsiString(kClassName) + ": wrong BarcodeType");
  if (frxBarcod::BarcodeTypes[FTyp].Num) {
    AnsiString trimmed = SysUtils::Trim(FText);
    if (trimmed != FText) FText = trimmed;
    for (char c : FText)
      if (!IsDigit(c)) RaiseBarcode("Barcode must be numeric");
  }
  switch (FTyp) {
    case bcCode_2_5_interleaved: return Code_2_5_interleaved();
    case bcCode_2_5_industrial: return Code_2_5_industrial();
    case bcCode_2_5_matrix: return Code_2_5_matrix();
    case bcCode39: return Code_39(FText);
    case bcCode39Extended: return Code_39Extended();
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C: return Code_128();
    case bcCode93: return Code_93(FText);
    case bcCode93Extended: return Code_93Extended();
    case bcCodeMSI: return Code_MSI();
    case bcCodePostNet: return Code_PostNet();
    case bcCodeCodabar: return Code_Codabar();
    case bcCodeEAN8: return Code_EAN8();
    case bcCodeEAN13: return Code_EAN13();
    case bcCodeUPC_A: return Code_UPC_A();
    case bcCodeUPC_E0: return Code_UPC_E(false);
    case bcCodeUPC_E1: return Code_UPC_E(true);
    case bcCodeUPC_Supp2: return Code_Supp2();
    case bcCodeUPC_Supp5: return Code_Supp5();
  }
  RaiseBarcode(AnsiString(kClassName) + ": wrong BarcodeType");
}

AnsiString TfrxBarcode::Code_2_5_interleaved()
{
  AnsiString r = "5050";
  for (size_t i = 0; i + 1 < FText.size(); i += 2) {
    const char* a = kTable25[DigitValue(FText[i])];
    const char* b = kTable25[DigitValue(FText[i + 1])];
    for (int j = 0; j < 5; ++j) {
      r += a[j] == '1' ? '6' : '5';
      r += b[j] == '1' ? '1' : '0';
    }
  }
  return r + "605";
}

AnsiString TfrxBarcode::Code_2_5_industrial()
{
  AnsiString r = "606050";
  for (char c : FText)
    for (const char* p = kTable25[DigitValue(c)]; *p; ++p) r += *p == '1' ? "60" : "50";
  return r + "605060";
}

AnsiString TfrxBarcode::Code_2_5_matrix()
{
  AnsiString r = "705050";
  for (char c : FText) r += WideNarrow(kTable25[DigitValue(c)], true) + "0";
  return r + "70505";
}

AnsiString TfrxBarcode::Code_39(const AnsiString& Data)
{
  AnsiString r = WideNarrow(kTable39[kStar39], true) + "0";
  int sum = 0;
  for (char c : Data) {
    int v = c == '*' ? -1 : IndexIn(kChars39, c);
    if (v < 0) continue;
    sum += v;
    r += WideNarrow(kTable39[v], true) + "0";
  }
  if (FCheckSum) r += WideNarrow(kTable39[sum % 43], true) + "0";
  return r + WideNarrow(kTable39[kStar39], true);
}

AnsiString TfrxBarcode::Code_39Extended()
{
  AnsiString data;
  for (char c : FText) {
    auto u = static_cast<unsigned char>(c);
    if (u < 128) data += kFullAscii39[u];
  }
  return Code_39(data);
}

AnsiString TfrxBarcode::Code_128()
{
  bool ean = FTyp == bcCodeEAN128A || FTyp == bcCodeEAN128B || FTyp == bcCodeEAN128C;
  AnsiString text = FText;
  if (ean && FCheckSum) text = CheckDigit(text);

  std::vector<int> values;
  int start;
  switch (FTyp) {
    case bcCode128A:
    case bcCodeEAN128A:
      start = kStartA;
      for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        values.push_back(u < 32 ? u + 64 : u <= 95 ? u - 32 : 0);
      }
      break;
    case bcCode128B:
    case bcCodeEAN128B:
      start = kStartB;
      for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        values.push_back(u >= 32 && u <= 127 ? u - 32 : 0);
      }
      break;
    case bcCode128C:
    case bcCodeEAN128C:
      start = kStartC;
      if (text.size() % 2 == 1) text = "0" + text;
      for (size_t i = 0; i < text.size(); i += 2)
        values.push_back(IsDigit(text[i]) && IsDigit(text[i + 1]) ? DigitValue(text[i]) * 10 + DigitValue(text[i + 1])
                                                                  : 0);
      break;
    default: RaiseBarcode(AnsiString(kClassName) + ": wrong BarcodeType in Code_128");
  }

  AnsiString widths = kTable128[start];
  int sum = start;
  int position = 1;
  if (ean) {
    widths += kTable128[kFnc1];
    sum += kFnc1 * position++;
  }
  for (int v : values) {
    widths += kTable128[v];
    sum += v * position++;
  }
  widths += kTable128[sum % 103];
  widths += kTable128[kStop128];
  return Alternate(widths, true);
}

AnsiString TfrxBarcode::Code_93(const AnsiString& Data)
{
  std::vector<int> values;
  for (char c : Data) {
    int v = c == 0 ? -1 : IndexIn(kChars93, c);
    if (v < 0) RaiseBarcode(AnsiString(kClassName) + ":Code93 bad Data <" + FText + ">");
    values.push_back(v);
  }
  int sumC = 0, sumK = 0, wc = 1, wk = 2;
  for (auto it = values.rbegin(); it != values.rend(); ++it) {
    sumC += *it * wc;
    sumK += *it * wk;
    if (++wc > 20) wc = 1;
    if (++wk > 15) wk = 1;
  }
  int c = sumC % 47;
  int k = (sumK + c) % 47;

  AnsiString widths = "111141";
  for (int v : values) widths += kTable93[v];
  widths += kTable93[c];
  widths += kTable93[k];
  widths += "1111411";
  return Alternate(widths, true);
}

AnsiString TfrxBarcode::Code_93Extended()
{
  AnsiString data;
  for (char ch : FText) {
    auto u = static_cast<unsigned char>(ch);
    if (u >= 128) continue;
    AnsiString seq = kFullAscii39[u];
    if (seq.size() == 2) {
      switch (seq[0]) {
        case '$': seq[0] = '['; break;
        case '%': seq[0] = ']'; break;
        case '/': seq[0] = '{'; break;
        case '+': seq[0] = '}'; break;
      }
    }
    data += seq;
  }
  return Code_93(data);
}

AnsiString TfrxBarcode::Code_MSI()
{
  // Luhn over the digits: those at odd places from the right are doubled as one number,
  // whose digit sum equals the sum of the digit sums of the doubled digits.
  int total = 0;
  bool odd = true;
  for (auto it = FText.rbegin(); it != FText.rend(); ++it) {
    int d = DigitValue(*it);
    total += odd ? (d * 2 > 9 ? d * 2 - 9 : d * 2) : d;
    odd = !odd;
  }
  int check = total % 10 == 0 ? 0 : 10 - total % 10;

  AnsiString r = "60";
  auto digit = [&r](int d) {
    for (int bit = 3; bit >= 0; --bit) r += (d >> bit) & 1 ? "60" : "51";
  };
  for (char c : FText) digit(DigitValue(c));
  digit(check);
  return r + "515";
}

AnsiString TfrxBarcode::Code_PostNet()
{
  AnsiString r = "51";
  for (char c : FText)
    for (const char* p = kTablePostNet[DigitValue(c)]; *p; ++p) r += *p == '1' ? "51" : "A1";
  return r + "5";
}

AnsiString TfrxBarcode::Code_Codabar()
{
  AnsiString r = WideNarrow(kTableCodabar[16], true) + "0";  // start "A"
  for (char c : FText) {
    int v = c == 0 ? -1 : IndexIn(kCharsCodabar, c);
    if (v >= 0) r += WideNarrow(kTableCodabar[v], true) + "0";
  }
  return r + WideNarrow(kTableCodabar[17], true);  // stop "B"
}

AnsiString TfrxBarcode::Code_EAN8()
{
  AnsiString tmp;
  if (FCheckSum) {
    tmp = ZeroFill(FText, 7);
    tmp = CheckDigit(tmp.substr(tmp.size() - 7));
  } else {
    tmp = ZeroFill(FText, 8);
  }
  if (tmp.size() != 8) RaiseBarcode("Invalid Text len (EAN8)");
  AnsiString r = "505";
  for (int i = 0; i < 4; ++i) r += EANDigit(tmp[i], setL);
  r += "05050";
  for (int i = 4; i < 8; ++i) r += EANDigit(tmp[i], setR);
  return r + "505";
}

AnsiString TfrxBarcode::Code_EAN13()
{
  if (FText.size() != 13) {
    AnsiString tmp = ZeroFill(FText, 13);
    if (FCheckSum) tmp = CheckDigit(tmp.substr(1, 12));
    StoreCompleted(tmp);
  }
  if (FText.size() != 13) RaiseBarcode("Invalid Text len (EAN13)");
  const char* parity = kParityEAN13[DigitValue(FText[0])];
  AnsiString r = "505";
  for (int i = 1; i <= 6; ++i) r += EANDigit(FText[i], parity[i - 1] == 'G' ? setG : setL);
  r += "05050";
  for (int i = 7; i <= 12; ++i) r += EANDigit(FText[i], setR);
  return r + "505";
}

AnsiString TfrxBarcode::Code_UPC_A()
{
  // A short text keeps all its digits and gets the check digit after them (padding to twelve
  // first would push its last digit out).
  AnsiString tmp = ZeroFill(FText, FCheckSum && FText.size() < 12 ? 11 : 12);
  if (FCheckSum) tmp = CheckDigit(tmp.substr(0, 11));
  StoreCompleted(tmp);
  // With csmNone the completed text lacks its twelfth digit: refuse it rather than read past it.
  if (FText.size() < 12) RaiseBarcode("Invalid Text len (UPC_A)");
  AnsiString r = "505";
  for (int i = 0; i < 6; ++i) r += EANDigit(FText[i], setL);
  r += "05050";
  for (int i = 6; i < 12; ++i) r += EANDigit(FText[i], setR);
  return r + "505";
}

AnsiString TfrxBarcode::Code_UPC_E(bool Inverted)
{
  // As for UPC-A, a short text to be completed keeps all its digits.
  AnsiString tmp = ZeroFill(FText, FCheckSum && FText.size() < 7 ? 6 : 7);
  // The check digit of a UPC-E symbol is that of the UPC-A number it stands for (number
  // system 0 or 1); scanners reject any other.
  AnsiString withCheck = CheckDigit(ExpandUPCE(tmp.substr(0, 6), Inverted ? '1' : '0'));
  if (withCheck.size() == 12)
    withCheck = tmp.substr(0, 6) + withCheck.back();
  else
    withCheck = tmp.substr(0, 6);
  // csmNone computes no check digit: the parity row then comes from the text's own seventh digit.
  char c = withCheck.size() == 7 ? withCheck[6] : tmp.size() > 6 ? tmp[6] : '0';
  if (FCheckSum && withCheck.size() == 7) StoreCompleted(withCheck);
  const char* parity = kParityUPCE[DigitValue(c)];
  AnsiString r = "505";
  for (int i = 0; i < 6; ++i) {
    bool even = parity[i] == 'E';
    r += EANDigit(tmp[i], even != Inverted ? setG : setL);
  }
  return r + "050505";
}

AnsiString TfrxBarcode::Code_Supp2()
{
  AnsiString tmp = ZeroFill(FText, 2);
  const char* parity = kParitySupp2[(DigitValue(tmp[0]) * 10 + DigitValue(tmp[1])) % 4];
  if (FCheckSum && !AlreadyCompleted()) StoreCompleted(tmp + frxBarcod::CheckSumSupplement(tmp.substr(0, 2)).back());
  AnsiString r = "506";
  r += EANDigit(tmp[0], parity[0] == 'E' ? setG : setL);
  r += "05";
  r += EANDigit(tmp[1], parity[1] == 'E' ? setG : setL);
  return r;
}

AnsiString TfrxBarcode::Code_Supp5()
{
  AnsiString tmp = ZeroFill(FText, 5);
  char c = frxBarcod::CheckSumSupplement(tmp.substr(0, 5)).back();
  if (FCheckSum) StoreCompleted(tmp.substr(0, 5) + c);
  const char* parity = kParityUPCE[DigitValue(c)] + 1;
  AnsiString r = "506";
  for (int i = 0; i < 5; ++i) {
    if (i > 0) r += "05";
    r += EANDigit(tmp[i], parity[i] == 'E' ? setG : setL);
  }
  return r;
}

// ---- Drawing geometry -----------------------------------------------------------------------

bool TfrxBarcode::LongBarsType() const
{
  return FTyp == bcCodeEAN8 || FTyp == bcCodeEAN13 || FTyp == bcCodeUPC_A || FTyp == bcCodeUPC_E0 ||
         FTyp == bcCodeUPC_E1;
}

std::vector<TfrxBarPolygon> TfrxBarcode::BarPolygons(const AnsiString& Code)
{
  auto round = [](double v) { return static_cast<Integer>(std::nearbyint(v)); };
  double a = FAngle * std::numbers::pi / 180.0;
  double s = std::sin(a), c = std::cos(a);
  Integer w = GetWidth(), h = FHeight;
  if (s >= 0 && c >= 0) {
    FTop += round(s * w);
  } else if (s >= 0) {
    FLeft += -round(c * w);
    FTop += round(s * w - c * h);
  } else if (c >= 0) {
    FLeft += -round(s * h);
  } else {
    FLeft += -round(c * w) - round(s * h);
    FTop += -round(c * h);
  }
  std::vector<TfrxBarPolygon> result;
  result.reserve(Code.size());
  Integer x = 0;
  for (char code : Code) {
    Integer width = ModuleWidth(code);
    bool space = code >= '0' && code <= '3';
    Integer height = code >= 'A' && code <= 'D' ? FHeight * 2 / 5 : FHeight;
    TfrxBarPolygon p;
    p.Color = space ? FColor : FColorBar;
    const Integer px[4] = {x, x, x + width - 1, x + width - 1};
    const Integer py[4] = {0, height, height, 0};
    for (int i = 0; i < 4; ++i) {
      p.Points[i].X = round(px[i] * c + py[i] * s) + FLeft;
      p.Points[i].Y = round(-px[i] * s + py[i] * c) + FTop;
    }
    result.push_back(p);
    x += width;
  }
  return result;
}

TfrxBarPoint TfrxBarcode::PictureSize(Integer RectWidth, Integer RectHeight)
{
  MakeData();
  Integer w = GetWidth();
  FLeft = 0;
  FTop = 0;
  if (w <= 0) return TfrxBarPoint{};
  Integer textBand = LongBarsType() ? 7 : 16;
  Integer shift = LongBarsType() ? 8 : 16;
  TfrxBarPoint size;
  if (FAngle != 0 && FAngle != 180) {
    double zoom = static_cast<double>(RectHeight) / w;
    size.X = static_cast<Integer>(std::nearbyint(RectWidth / zoom));
    size.Y = w;
    FHeight = size.X - textBand;
    if (FAngle == 270) FLeft = shift;
  } else {
    double zoom = static_cast<double>(RectWidth) / w;
    size.X = w;
    size.Y = static_cast<Integer>(std::nearbyint(RectHeight / zoom));
    FHeight = size.Y - textBand;
    if (FAngle == 180) FTop = shift;
  }
  return size;
}

std::vector<TfrxBarcodeTextPiece> TfrxBarcode::TextPieces(Integer PictureWidth, Integer PictureHeight,
                                                          Integer TextWidth)
{
  std::vector<TfrxBarcodeTextPiece> pieces;
  Integer angle = static_cast<Integer>(std::nearbyint(FAngle));
  if (angle != 0 && angle != 90 && angle != 180 && angle != 270) return pieces;
  Integer w = GetWidth();
  Integer pw = PictureWidth, ph = PictureHeight;
  auto piece = [&](Integer x, Integer from, Integer to, const AnsiString& text) {
    TfrxBarcodeTextPiece p;
    p.Text = text;
    switch (angle) {
      case 0:
        p.Left = from;
        p.Top = ph - 16;
        p.Right = to + 1;
        p.Bottom = ph;
        p.TextPos = {x, ph - 14};
        break;
      case 90:
        p.Left = pw - 14;
        p.Top = ph - from;
        p.Right = pw;
        p.Bottom = ph - to - 1;
        p.TextPos = {pw - 14, ph - x};
        break;
      case 180:
        p.Left = pw - from;
        p.Top = 0;
        p.Right = pw - to - 1;
        p.Bottom = 16;
        p.TextPos = {pw - x, 14};
        break;
      default:
        p.Left = 0;
        p.Top = from;
        p.Right = 14;
        p.Bottom = to + 1;
        p.TextPos = {14, x};
        break;
    }
    pieces.push_back(p);
  };
  // Characters first..last (1-based), clipped to the text.
  auto chars = [this](size_t first, size_t last) {
    return first > FText.size() ? AnsiString() : FText.substr(first - 1, last - first + 1);
  };
  switch (FTyp) {
    case bcCodeEAN8:
      piece(3, 3, 30, chars(1, 4));
      piece(35, 35, w - 4, chars(5, 8));
      break;
    case bcCodeEAN13:
      if (chars(1, 1) != "0") piece(-8, -8, -2, chars(1, 1));
      piece(3, 3, 44, chars(2, 7));
      piece(49, 49, w - 4, chars(8, 13));
      break;
    case bcCodeUPC_A:
      piece(-8, -8, -2, chars(1, 1));
      piece(10, 10, 44, chars(2, 6));
      piece(49, 49, 83, chars(7, 11));
      piece(w + 1, w + 1, w + 8, chars(12, 12));
      break;
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
      piece(3, 3, 44, chars(1, 6));
      piece(w + 1, w + 1, w + 8, chars(7, 7));
      break;
    default: piece((w - TextWidth) / 2, 0, w, FText);
  }
  return pieces;
}

// ---- Painting -------------------------------------------------------------------------------

namespace {

// Selects an object into a DC for one scope and deletes it afterwards.
class TSelected {
public:
  TSelected(HDC dc, HGDIOBJ obj) : FDC(dc), FObj(obj), FOld(Windows::SelectObject(dc, obj)) {}
  ~TSelected()
  {
    Windows::SelectObject(FDC, FOld);
    Windows::DeleteObject(FObj);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

private:
  HDC FDC;
  HGDIOBJ FObj;
  HGDIOBJ FOld;
};

}  // namespace

void TfrxBarcode::DrawBarcode(const AnsiString& Code, HDC DC)
{
  for (const TfrxBarPolygon& p : BarPolygons(Code)) {
    COLORREF color = static_cast<COLORREF>(p.Color);
    TSelected pen(DC, Windows::CreatePen(PS_SOLID, 1, color));
    TSelected brush(DC, Windows::CreateSolidBrush(color));
    POINT pts[4];
    for (int i = 0; i < 4; ++i) pts[i] = POINT{p.Points[i].X, p.Points[i].Y};
    Windows::Polygon(DC, pts, 4);
  }
}

void TfrxBarcode::DrawText(HDC DC, Integer PictureWidth, Integer PictureHeight)
{
  int tenths = static_cast<int>(std::nearbyint(FAngle * 10));
  TSelected font(DC, Windows::CreateFont(-Math::MulDiv(9, 96, 72), 0, tenths, tenths, FW_NORMAL, 0, 0, 0,
                                         DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  HBRUSH brush = Windows::CreateSolidBrush(static_cast<COLORREF>(FColor));
  int oldMode = Windows::SetBkMode(DC, TRANSPARENT);
  COLORREF oldColor = Windows::SetTextColor(DC, RGB(0, 0, 0));
  SIZE extent{};
  Windows::GetTextExtentPoint32(DC, FText.data(), static_cast<int>(FText.size()), &extent);
  for (const TfrxBarcodeTextPiece& p : TextPieces(PictureWidth, PictureHeight, extent.cx)) {
    // Bands of the turned angles run right to left or bottom to top.
    RECT band{std::min(p.Left, p.Right), std::min(p.Top, p.Bottom), std::max(p.Left, p.Right),
              std::max(p.Top, p.Bottom)};
    Windows::FillRect(DC, &band, brush);
    Windows::TextOut(DC, p.TextPos.X, p.TextPos.Y, p.Text.data(), static_cast<int>(p.Text.size()));
  }
  Windows::SetTextColor(DC, oldColor);
  Windows::SetBkMode(DC, oldMode);
  Windows::DeleteObject(brush);
}

void TfrxBarcode::DrawInRect(HDC DC, const RECT& Rect, bool ShowText)
{
  AnsiString code = MakeData();
  TfrxBarPoint size = PictureSize(Rect.right - Rect.left, Rect.bottom - Rect.top);
  if (size.X <= 0 || size.Y <= 0) return;
  // The picture is transparent where nothing is painted: a key colour apart from both colours
  // marks those pixels and is left out when the picture is stretched onto DC.
  COLORREF key = RGB(1, 2, 3);
  while (key == static_cast<COLORREF>(FColor) || key == static_cast<COLORREF>(FColorBar)) ++key;
  HDC pic = Windows::CreateCompatibleDC(DC);
  HBITMAP bmp = Windows::CreateBitmap(size.X, size.Y, 1, 32, nullptr);
  HGDIOBJ oldBmp = Windows::SelectObject(pic, bmp);
  TScopeExit undo([&] {
    Windows::SelectObject(pic, oldBmp);
    Windows::DeleteObject(bmp);
    Windows::DeleteDC(pic);
  });
  HBRUSH fill = Windows::CreateSolidBrush(key);
  RECT all{0, 0, size.X, size.Y};
  Windows::FillRect(pic, &all, fill);
  Windows::DeleteObject(fill);
  DrawBarcode(code, pic);
  if (ShowText) DrawText(pic, size.X, size.Y);
  Windows::TransparentBlt(DC, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, pic, 0, 0, size.X,
                          size.Y, key);
}
