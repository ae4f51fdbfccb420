#include "platform/sys/WinSpool.h"

#include <cups/cups.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/VectorDC.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Processes.h"
#include "platform/rtl/Guards.h"

namespace WinSpool {

const char* const PdfPrinterName = "PDF 文件";

namespace {

constexpr int Dpi = 600;

struct TPaper {
  short Number;
  double Width, Height;  // mm, portrait
};

// The platform's paper numbers and sizes.
const TPaper Papers[] = {
    {1, 215.9, 279.4},   {2, 215.9, 279.4},  {3, 279.4, 431.8},  {4, 431.8, 279.4},  {5, 215.9, 355.6},
    {6, 139.7, 215.9},   {7, 184.2, 266.7},  {8, 297, 420},      {9, 210, 297},      {10, 210, 297},
    {11, 148, 210},      {12, 250, 354},     {13, 182, 257},     {14, 215.9, 330.2}, {15, 215, 275},
    {16, 254, 355.6},    {17, 279.4, 431.8}, {18, 215.9, 279.4}, {19, 98.4, 225.4},  {20, 104.8, 241.3},
    {21, 114.3, 263.5},  {22, 120.7, 279.4}, {23, 127, 292.1},   {24, 431.8, 558.8}, {25, 558.8, 863.6},
    {26, 863.6, 1117.6}, {27, 110, 220},     {28, 162, 229},     {29, 324, 458},     {30, 229, 324},
    {31, 114, 162},      {32, 114, 229},     {33, 250, 353},     {34, 176, 250},     {35, 176, 125},
    {36, 110, 230},      {37, 98.4, 190.5},  {38, 92, 165.1},    {39, 377.8, 279.4}, {40, 215.9, 304.8},
    {41, 215.9, 330.2},  {42, 250, 353},     {43, 100, 148},     {44, 228.6, 279.4}, {45, 254, 279.4},
    {46, 381, 279.4},    {47, 220, 220},     {50, 235.5, 304.8}, {51, 235.5, 381},   {52, 296.9, 457.2},
    {53, 235.4, 322.3},  {54, 210.1, 279.4}, {55, 210, 297},     {56, 235.5, 304.8}, {57, 227, 356},
    {58, 305, 487},      {59, 215.9, 322.3}, {60, 210, 330},     {61, 148, 210},     {62, 182, 257},
    {63, 322, 445},      {64, 174, 235},     {65, 201, 276},     {66, 420, 594},     {67, 297, 420},
    {68, 322, 445},
};

// The papers the PDF printer offers, with their names.
struct TNamedPaper {
  short Number;
  const char* Name;
};
const TNamedPaper PdfPapers[] = {
    {1, "Letter"},    {5, "Legal"},     {7, "Executive"},    {8, "A3"},           {9, "A4"},  {11, "A5"},
    {12, "B4 (JIS)"}, {13, "B5 (JIS)"}, {27, "Envelope DL"}, {28, "Envelope C5"}, {66, "A2"},
};

std::mutex PdfFolderLock;
AnsiString PdfFolder;

bool IsPdf(const AnsiString& printer) { return printer == PdfPrinterName; }

TCupsClient& Cups() { return CupsService().Current(); }

bool Installed(const AnsiString& printer)
{
  if (IsPdf(printer)) return true;
  for (const TCupsDestination& d : Cups().Destinations())
    if (d.Name == printer) return true;
  return false;
}

// A paper number for a CUPS media size (hundredths of a millimetre): the first table entry
// within a millimetre, or 0.
short PaperOfSize(int width, int length)
{
  for (const auto& p : Papers)
    if (std::fabs(p.Width * 100 - width) <= 100 && std::fabs(p.Height * 100 - length) <= 100) return p.Number;
  return 0;
}

struct TMediaEntry {
  short Number;
  std::string Name;
  int Width, Length;  // tenths of a millimetre
};

std::vector<TMediaEntry> MediaOf(const AnsiString& printer)
{
  std::vector<TMediaEntry> out;
  if (IsPdf(printer)) {
    for (const auto& p : PdfPapers) {
      double w = 0, h = 0;
      GetPaperSize(p.Number, w, h);
      out.push_back({p.Number, p.Name, static_cast<int>(std::lround(w * 10)), static_cast<int>(std::lround(h * 10))});
    }
    return out;
  }
  short custom = 257;  // driver papers without a platform number
  for (const TCupsMedia& size : Cups().Media(printer)) {
    if (out.size() >= 256) break;
    short number = PaperOfSize(size.Width, size.Length);
    if (number == 0) number = custom++;
    bool seen = false;
    for (const auto& m : out) seen = seen || m.Number == number;
    if (!seen) out.push_back({number, size.Name, size.Width / 10, size.Length / 10});
  }
  return out;
}

void CopyName(char* dst, size_t size, const std::string& utf8)
{
  AnsiString s = System::Utf8ToAnsi(utf8);
  std::memset(dst, 0, size);
  std::memcpy(dst, s.data(), std::min(s.size(), size - 1));
}

int PixelsOf(double mm) { return std::max(1, static_cast<int>(std::lround(mm / 25.4 * Dpi))); }

AnsiString UniquePdfName(const AnsiString& title)
{
  AnsiString folder = GetPdfFolder();
  if (!SysUtils::ForceDirectories(folder)) throw EPrinter("Cannot create the folder " + folder);
  AnsiString base;
  for (char c : title) base += (c == '/' || c == '\0') ? '_' : c;
  if (base.empty()) base = "document";
  AnsiString name = SysUtils::IncludeTrailingPathDelimiter(folder) + base + ".pdf";
  for (int i = 2; SysUtils::FileExists(name); ++i)
    name = SysUtils::IncludeTrailingPathDelimiter(folder) + base + " (" + std::to_string(i) + ").pdf";
  return name;
}

// Hands a finished file to CUPS.
void Submit(const AnsiString& printer, const AnsiString& file, const AnsiString& title, const DEVMODE& settings,
            const char* format)
{
  if (!Installed(printer)) throw EPrinter("Printer " + printer + " is not installed");
  std::vector<std::pair<std::string, std::string>> options;
  if (settings.dmCopies > 1) options.emplace_back("copies", std::to_string(settings.dmCopies));
  if (settings.dmDuplex == DMDUP_VERTICAL) options.emplace_back("sides", "two-sided-long-edge");
  if (settings.dmDuplex == DMDUP_HORIZONTAL) options.emplace_back("sides", "two-sided-short-edge");
  if (format) options.emplace_back("document-format", format);
  AnsiString error;
  if (Cups().PrintFile(printer, file, title, options, error) == 0)
    throw EPrinter("Printing to " + printer + " failed: " + error);
}

// Margins that leave no page (a driver's nonsense) are dropped.
void ApplyMargins(HDC dc, const RECT& m, int widthPx, int heightPx)
{
  if (!dc) return;
  int w = widthPx - m.left - m.right, h = heightPx - m.top - m.bottom;
  if (w > 0 && h > 0 && (m.left || m.top || m.right || m.bottom)) Windows::SetPrintableArea(dc, m.left, m.top, w, h);
}

// Printer errors are EPrinter; the save's own text names the file and the reason.
void WriteBytes(const AnsiString& file, const std::string& bytes)
{
  try {
    SaveSeam::SaveFile(file, bytes);
  } catch (const EFCreateError& e) {
    throw EPrinter(e.Message());
  }
}

// The CUPS server, asked afresh each time (printers come and go).
class TCupsServer : public TCupsClient {
public:
  std::vector<TCupsDestination> Destinations() override
  {
    TDests dests;
    std::vector<TCupsDestination> out;
    for (int i = 0; i < dests.Count; ++i) out.push_back({NameOf(&dests.List[i]), dests.List[i].is_default != 0});
    return out;
  }
  std::vector<TCupsMedia> Media(const AnsiString& Printer) override
  {
    std::vector<TCupsMedia> out;
    TDests dests;
    TInfo info(dests, Printer);
    if (!info.Info) return out;
    int n = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, info.Dest, info.Info, 0);
    for (int i = 0; i < n; ++i) {
      cups_size_t size;
      if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, info.Dest, info.Info, i, 0, &size)) out.push_back(ToMedia(size));
    }
    return out;
  }
  bool DefaultMedia(const AnsiString& Printer, TCupsMedia& Out) override
  {
    TDests dests;
    TInfo info(dests, Printer);
    cups_size_t size;
    if (!info.Info || !cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, info.Dest, info.Info, 0, &size)) return false;
    Out = ToMedia(size);
    return true;
  }
  int PrintFile(const AnsiString& Printer, const AnsiString& File, const AnsiString& Title,
                const std::vector<std::pair<std::string, std::string>>& Options, AnsiString& Error) override
  {
    TDests dests;
    cups_dest_t* d = dests.Find(Printer);
    if (!d) {
      Error = "not installed";
      return 0;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    for (const auto& o : Options) count = cupsAddOption(o.first.c_str(), o.second.c_str(), count, &options);
    int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, d->name, System::AnsiToUtf8(File).c_str(),
                             System::AnsiToUtf8(Title).c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0) Error = System::Utf8ToAnsi(cupsLastErrorString());
    return job;
  }

private:
  struct TDests {
    TDests() { Count = cupsGetDests2(CUPS_HTTP_DEFAULT, &List); }
    ~TDests() { cupsFreeDests(Count, List); }
    TDests(const TDests&) = delete;
    TDests& operator=(const TDests&) = delete;
    cups_dest_t* Find(const AnsiString& name) const
    {
      std::string n = System::AnsiToUtf8(name);
      std::string instance;
      size_t slash = n.find('/');
      if (slash != std::string::npos) {
        instance = n.substr(slash + 1);
        n.resize(slash);
      }
      return cupsGetDest(n.c_str(), instance.empty() ? nullptr : instance.c_str(), Count, List);
    }
    cups_dest_t* List = nullptr;
    int Count = 0;
  };
  struct TInfo {
    TInfo(const TDests& dests, const AnsiString& printer) : Dest(dests.Find(printer))
    {
      if (Dest) Info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, Dest);
    }
    ~TInfo()
    {
      if (Info) cupsFreeDestInfo(Info);
    }
    TInfo(const TInfo&) = delete;
    TInfo& operator=(const TInfo&) = delete;
    cups_dest_t* Dest;
    cups_dinfo_t* Info = nullptr;
  };
  static AnsiString NameOf(const cups_dest_t* d)
  {
    std::string n = d->name;
    if (d->instance) n += std::string("/") + d->instance;
    return System::Utf8ToAnsi(n);
  }
  static TCupsMedia ToMedia(const cups_size_t& s)
  {
    return TCupsMedia{s.media, s.width, s.length, s.left, s.bottom, s.right, s.top};
  }
};

}  // namespace

TService<TCupsClient>& CupsService()
{
  static TService<TCupsClient> slot(std::make_unique<TCupsServer>());
  return slot;
}

// ---- Printers ------------------------------------------------------------------------------

std::vector<AnsiString> EnumPrinters()
{
  std::vector<AnsiString> names;
  for (const TCupsDestination& d : Cups().Destinations()) names.push_back(d.Name);
  names.push_back(PdfPrinterName);
  return names;
}

AnsiString GetDefaultPrinter()
{
  for (const TCupsDestination& d : Cups().Destinations())
    if (d.IsDefault) return d.Name;
  return PdfPrinterName;
}

AnsiString GetProfileString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default)
{
  auto lower = [](AnsiString s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  if (lower(Section) == "windows" && lower(Key) == "device") {
    AnsiString p = GetDefaultPrinter();
    return p + ",winspool," + (IsPdf(p) ? "FILE:" : "CUPS:");
  }
  return Default;
}

bool GetPrinterSettings(const AnsiString& Printer, DEVMODE& Out)
{
  if (!Installed(Printer)) return false;
  Out = DEVMODE();
  CopyName(Out.dmDeviceName, sizeof Out.dmDeviceName, System::AnsiToUtf8(Printer));
  Out.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_YRESOLUTION;
  TCupsMedia size;
  if (!IsPdf(Printer) && Cups().DefaultMedia(Printer, size)) {
    short number = PaperOfSize(size.Width, size.Length);
    Out.dmPaperSize = number ? number : DMPAPER_USER;
    Out.dmPaperWidth = static_cast<short>(size.Width / 10);
    Out.dmPaperLength = static_cast<short>(size.Length / 10);
  }
  return true;
}

bool GetPaperSize(int Paper, double& WidthMm, double& HeightMm)
{
  for (const auto& p : Papers)
    if (p.Number == Paper) {
      WidthMm = p.Width;
      HeightMm = p.Height;
      return true;
    }
  return false;
}

void PageSizeOf(const DEVMODE& Settings, double& WidthMm, double& HeightMm)
{
  bool own = Settings.dmPaperSize == DMPAPER_USER || (Settings.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) ||
             !GetPaperSize(Settings.dmPaperSize, WidthMm, HeightMm);
  if (own) {
    WidthMm = Settings.dmPaperWidth / 10.0;
    HeightMm = Settings.dmPaperLength / 10.0;
  }
  if (WidthMm <= 0 || HeightMm <= 0) {  // no usable size: A4
    WidthMm = 210;
    HeightMm = 297;
  }
  if (Settings.dmOrientation == DMORIENT_LANDSCAPE) std::swap(WidthMm, HeightMm);
}

int DeviceCapabilities(const AnsiString& Printer, const AnsiString& Port, WORD Capability, void* Output,
                       const DEVMODE* Settings)
{
  if (!Installed(Printer)) return -1;
  switch (Capability) {
    case DC_PAPERS:
    case DC_PAPERNAMES:
    case DC_PAPERSIZE: {
      std::vector<TMediaEntry> media = MediaOf(Printer);
      if (Output)
        for (size_t i = 0; i < media.size(); ++i) {
          if (Capability == DC_PAPERS)
            static_cast<WORD*>(Output)[i] = static_cast<WORD>(media[i].Number);
          else if (Capability == DC_PAPERNAMES)
            CopyName(static_cast<char*>(Output) + i * 64, 64, media[i].Name);
          else
            static_cast<POINT*>(Output)[i] = POINT{media[i].Width, media[i].Length};
        }
      return static_cast<int>(media.size());
    }
    case DC_BINS:
      if (Output) static_cast<WORD*>(Output)[0] = DMBIN_AUTO;
      return 1;
    case DC_BINNAMES:
      if (Output) CopyName(static_cast<char*>(Output), 24, "Auto");
      return 1;
    default: return -1;
  }
}

RECT PrintableMarginsOf(const AnsiString& Printer, const DEVMODE& Settings)
{
  if (IsPdf(Printer)) return RECT{0, 0, 0, 0};
  DEVMODE portrait = Settings;
  portrait.dmOrientation = DMORIENT_PORTRAIT;
  double w = 0, h = 0;
  PageSizeOf(portrait, w, h);
  auto fits = [&](const TCupsMedia& m) {
    return std::fabs(w * 100 - m.Width) <= 100 && std::fabs(h * 100 - m.Length) <= 100;
  };
  const TCupsMedia* found = nullptr;
  std::vector<TCupsMedia> media = Cups().Media(Printer);
  for (const TCupsMedia& m : media)
    if (!found && fits(m)) found = &m;
  TCupsMedia byDefault;
  if (!found && Cups().DefaultMedia(Printer, byDefault) && fits(byDefault)) found = &byDefault;
  if (!found) return RECT{0, 0, 0, 0};
  auto px = [](int hundredths) { return std::max(0, static_cast<int>(std::lround(hundredths / 2540.0 * Dpi))); };
  RECT r{px(found->Left), px(found->Top), px(found->Right), px(found->Bottom)};
  // Landscape turns the paper a quarter counter-clockwise: its top edge becomes the left.
  if (Settings.dmOrientation == DMORIENT_LANDSCAPE) r = RECT{r.top, r.right, r.bottom, r.left};
  return r;
}

HDC CreateIC(const AnsiString& Printer, const DEVMODE* Settings)
{
  DEVMODE dm;
  if (Settings)
    dm = *Settings;
  else if (!GetPrinterSettings(Printer, dm))
    return nullptr;
  if (!Installed(Printer)) return nullptr;
  double w = 0, h = 0;
  PageSizeOf(dm, w, h);
  HDC dc = Windows::CreateVectorDC("/dev/null", Windows::TVectorFormat::Pdf, PixelsOf(w), PixelsOf(h), Dpi);
  ApplyMargins(dc, PrintableMarginsOf(Printer, dm), PixelsOf(w), PixelsOf(h));
  return dc;
}

void SetPdfFolder(const AnsiString& Folder)
{
  std::lock_guard<std::mutex> g(PdfFolderLock);
  PdfFolder = Folder;
}

AnsiString GetPdfFolder()
{
  std::lock_guard<std::mutex> g(PdfFolderLock);
  if (!PdfFolder.empty()) return PdfFolder;
  const char* home = std::getenv("HOME");
  return (home && *home ? System::Utf8ToAnsi(home) : AnsiString("/tmp")) + "/PDF";
}

// ---- Print jobs ----------------------------------------------------------------------------

TPrintJob::TPrintJob(const AnsiString& Printer, const AnsiString& Title, const AnsiString& OutputFile)
    : FPrinter(Printer), FTitle(Title), FOutput(OutputFile)
{
  if (!Installed(Printer)) throw EPrinter("Printer " + Printer + " is not installed");
}

TPrintJob::~TPrintJob()
{
  if (!FDone) Abort();
}

HDC TPrintJob::BeginPage(const DEVMODE& Settings)
{
  if (FDone) throw EPrinter("The print job has ended");
  if (FInPage) EndPage();
  double w = 0, h = 0;
  PageSizeOf(Settings, w, h);
  int wp = PixelsOf(w), hp = PixelsOf(h);
  if (FPages == 0) FFirst = Settings;
  RECT margins = PrintableMarginsOf(FPrinter, Settings);
  // A page of another size or printable area starts a new document; EndDoc joins them.
  if (FDC && (wp != FWidthPx || hp != FHeightPx || std::memcmp(&margins, &FMargins, sizeof margins) != 0))
    CloseSegment();
  if (!FDC) {
    AnsiString file = AppPaths::CreateTempFile("pelto-job", AnsiString(), ".pdf");
    FFiles.push_back(file);
    FDC = Windows::CreateVectorDC(file.c_str(), Windows::TVectorFormat::Pdf, wp, hp, Dpi);
    if (!FDC) throw EPrinter("Cannot create the print file " + file);
    Windows::DOCINFOA info;
    info.lpszDocName = FTitle.c_str();
    Windows::StartDoc(FDC, &info);
    ApplyMargins(FDC, margins, wp, hp);
    FWidthPx = wp;
    FHeightPx = hp;
    FMargins = margins;
  }
  Windows::StartPage(FDC);
  FInPage = true;
  return FDC;
}

void TPrintJob::EndPage()
{
  if (!FInPage) return;
  Windows::EndPage(FDC);
  FInPage = false;
  ++FPages;
}

void TPrintJob::CloseSegment()
{
  if (!FDC) return;
  Windows::EndDoc(FDC);
  Windows::DeleteDC(FDC);
  FDC = nullptr;
}

AnsiString TPrintJob::EndDoc()
{
  if (FDone) throw EPrinter("The print job has ended");
  EndPage();
  CloseSegment();
  FDone = true;
  struct TCleanup {
    std::vector<AnsiString>& Files;
    ~TCleanup()
    {
      for (const auto& f : Files) SysUtils::DeleteFile(f);
    }
  } cleanup{FFiles};
  if (FPages == 0) throw EPrinter("The print job has no pages");
  AnsiString target = FOutput;
  if (target.empty() && IsPdf(FPrinter)) target = UniquePdfName(FTitle);
  AnsiString spool = target.empty() ? AppPaths::CreateTempFile("pelto-print", AnsiString(), ".pdf") : target;
  // The pages are joined in a temporary file of ours; the output file is then written in one
  // save, so a failure leaves an earlier file of that name as it was.
  AnsiString joined = FFiles[0];
  if (FFiles.size() > 1) {
    joined = AppPaths::CreateTempFile("pelto-joined", AnsiString(), ".pdf");
    FFiles.push_back(joined);
    std::vector<AnsiString> args = {"--empty", "--pages"};
    args.insert(args.end(), FFiles.begin(), FFiles.end() - 1);
    args.push_back("--");
    args.push_back(joined);
    int rc = -1;
    try {
      rc = Processes::RunProgram("qpdf", args);
    } catch (const EOSError& e) {
      throw EPrinter("Cannot join the pages: " + e.Message());
    }
    if (rc != 0 && rc != 3) throw EPrinter("Cannot join the pages into " + spool);  // 3: warnings only
  }
  AnsiString data;
  if (!SysUtils::LoadFileBytes(joined, data)) throw EPrinter("Cannot read the print file " + joined);
  WriteBytes(spool, data);
  if (target.empty()) {
    TScopeExit undo([&] { SysUtils::DeleteFile(spool); });
    Submit(FPrinter, spool, FTitle, FFirst, "application/pdf");
  }
  return spool;
}

void TPrintJob::Abort()
{
  if (FDC) {
    Windows::AbortDoc(FDC);
    Windows::DeleteDC(FDC);
    FDC = nullptr;
  }
  FInPage = false;
  FDone = true;
  for (const auto& f : FFiles) SysUtils::DeleteFile(f);
  FFiles.clear();
}

// ---- Raw jobs ------------------------------------------------------------------------------

TRawPrintJob::TRawPrintJob(const AnsiString& Printer, const AnsiString& Title, const AnsiString& OutputFile)
    : FPrinter(Printer), FTitle(Title), FOutput(OutputFile)
{
  if (!Installed(Printer)) throw EPrinter("Printer " + Printer + " is not installed");
}

TRawPrintJob::~TRawPrintJob() = default;

void TRawPrintJob::Write(const std::string& Bytes)
{
  if (FDone) throw EPrinter("The print job has ended");
  FData += Bytes;
}

void TRawPrintJob::EndDoc()
{
  if (FDone) throw EPrinter("The print job has ended");
  FDone = true;
  AnsiString target = FOutput;
  if (target.empty() && IsPdf(FPrinter)) {
    target = UniquePdfName(FTitle);
    target = SysUtils::ChangeFileExt(target, ".prn");
  }
  if (!target.empty()) {
    WriteBytes(target, FData);
    return;
  }
  AnsiString spool = AppPaths::CreateTempFile("pelto-raw", AnsiString(), ".prn");
  TScopeExit undo([&] { SysUtils::DeleteFile(spool); });
  WriteBytes(spool, FData);
  DEVMODE dm;
  Submit(FPrinter, spool, FTitle, dm, CUPS_FORMAT_RAW);
}

}  // namespace WinSpool
