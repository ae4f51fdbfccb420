// Symbols read back by an independent scanner (zbarimg): the pattern tables and check
// characters are those a reader expects.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "report/engine/barcode/frxBarcod.h"

namespace {

// Renders the symbol as a grey-map picture (3 pixels per module, white margins) and answers
// what the scanner reads in it, or "" when it reads nothing.
AnsiString Scan(TfrxBarcode& b)
{
  AnsiString codes = b.MakeData();
  std::string row(30, '\xFF');
  for (char c : codes) {
    char pixel = (c >= '0' && c <= '3') ? '\xFF' : '\0';
    row += std::string(3 * b.ModuleWidth(c), pixel);
  }
  row += std::string(30, '\xFF');
  const int height = 80;
  auto path = std::filesystem::temp_directory_path() /
              ("barcode-scan-" + std::to_string(reinterpret_cast<uintptr_t>(&b)) + ".pgm");
  {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << row.size() << " " << height << "\n255\n";
    for (int y = 0; y < height; ++y) out << row;
  }
  AnsiString result;
  if (FILE* p = popen(("zbarimg --raw -q '" + path.string() + "' 2>/dev/null").c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) result += buf;
    pclose(p);
  }
  std::filesystem::remove(path);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

}  // namespace

TEST(BarcodeScan, ScannerReadsEachSymbology)
{
  struct {
    TfrxBarcodeType typ;
    const char* text;
    bool checksum;
    const char* read;
  } cases[] = {
      {bcCodeEAN13, "590123412345", true, "5901234123457"},
      {bcCodeEAN8, "9638507", true, "96385074"},
      {bcCodeUPC_A, "03600029145", true, "0036000291452"},  // read as EAN-13
      {bcCode_2_5_interleaved, "12345678", false, "12345678"},
      {bcCode39, "CODE-39 $/+%", false, "CODE-39 $/+%"},
      {bcCode128A, "ABC 123", false, "ABC 123"},
      {bcCode128B, "PJJ123C abc~", false, "PJJ123C abc~"},
      {bcCode128C, "1234567890", false, "1234567890"},
      {bcCode93, "TEST93", false, "TEST93"},
      {bcCode93, "CODE-93 $/+%", false, "CODE-93 $/+%"},
      {bcCodeCodabar, "1234567", false, "A1234567B"},
      // UPC-E is read as the UPC-A number it stands for.
      {bcCodeUPC_E0, "654321", true, "0065100004327"},
      {bcCodeUPC_E0, "123453", true, "0012300000451"},
      {bcCodeUPC_E0, "123454", true, "0012340000053"},
      {bcCodeUPC_E0, "123457", true, "0012345000072"},
  };
  for (auto& c : cases) {
    TfrxBarcode b;
    b.SetTyp(c.typ);
    b.SetText(c.text);
    b.SetChecksum(c.checksum);
    EXPECT_EQ(Scan(b), c.read) << frxBarcod::BarcodeTypes[c.typ].Name << " " << c.text;
  }
}
