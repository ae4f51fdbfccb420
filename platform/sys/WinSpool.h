// Printers: the CUPS destinations and one printer that writes PDF files, which is always
// present. Printer settings (DEVMODE), device capabilities (papers, bins), information device
// contexts at the printer's resolution, print jobs whose pages are drawn on device contexts of
// the drawing layer (PDF pages) and sent to CUPS as one PDF, and raw jobs.
//
// Every printer here draws at 600 dots per inch. A CUPS printer's unprintable margins come
// from its media (the margins CUPS reports for the paper); the PDF printer has none. Names are
// CP936.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

PELTO_DECLARE_EXCEPTION(EPrinter, Exception);

namespace WinSpool {

// ---- Settings ------------------------------------------------------------------------------

constexpr DWORD DM_ORIENTATION = 0x1, DM_PAPERSIZE = 0x2, DM_PAPERLENGTH = 0x4, DM_PAPERWIDTH = 0x8, DM_COPIES = 0x100,
                DM_DEFAULTSOURCE = 0x200, DM_PRINTQUALITY = 0x400, DM_DUPLEX = 0x1000, DM_YRESOLUTION = 0x2000;
constexpr short DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2;
constexpr short DMPAPER_LETTER = 1, DMPAPER_A3 = 8, DMPAPER_A4 = 9, DMPAPER_A5 = 11, DMPAPER_USER = 256;
constexpr short DMBIN_AUTO = 7;
constexpr short DMDUP_SIMPLEX = 1, DMDUP_VERTICAL = 2, DMDUP_HORIZONTAL = 3;

// A printer's settings. Paper length and width are in tenths of a millimetre and count for
// DMPAPER_USER (or any paper when DM_PAPERLENGTH / DM_PAPERWIDTH are set).
struct DEVMODE {
  char dmDeviceName[32] = {};
  DWORD dmFields = 0;
  short dmOrientation = DMORIENT_PORTRAIT;
  short dmPaperSize = DMPAPER_A4;
  short dmPaperLength = 2970;
  short dmPaperWidth = 2100;
  short dmCopies = 1;
  short dmDefaultSource = DMBIN_AUTO;
  short dmPrintQuality = 600;
  short dmYResolution = 600;
  short dmDuplex = DMDUP_SIMPLEX;
};

// ---- CUPS ----------------------------------------------------------------------------------

struct TCupsDestination {
  AnsiString Name;  // "name" or "name/instance"
  bool IsDefault = false;
};

// A paper a destination offers: its size and unprintable margins in hundredths of a millimetre.
struct TCupsMedia {
  std::string Name;  // UTF-8
  int Width = 0, Length = 0;
  int Left = 0, Bottom = 0, Right = 0, Top = 0;
};

// What the printers ask of CUPS. The default talks to the CUPS server; tests install their own
// with TScopedService over CupsService().
class TCupsClient {
public:
  virtual ~TCupsClient() = default;
  virtual std::vector<TCupsDestination> Destinations() = 0;
  // The papers of a destination; empty for an unknown one.
  virtual std::vector<TCupsMedia> Media(const AnsiString& Printer) = 0;
  // The destination's default paper; false when it names none.
  virtual bool DefaultMedia(const AnsiString& Printer, TCupsMedia& Out) = 0;
  // Queues a file with the options (UTF-8 name/value pairs); answers the job number, or 0
  // with Error set.
  virtual int PrintFile(const AnsiString& Printer, const AnsiString& File, const AnsiString& Title,
                        const std::vector<std::pair<std::string, std::string>>& Options, AnsiString& Error) = 0;
};
TService<TCupsClient>& CupsService();

// ---- Printers ------------------------------------------------------------------------------

// The name of the printer that writes PDF files.
extern const char* const PdfPrinterName;

// The printers: the CUPS destinations (instances as "name/instance"), then the PDF printer.
std::vector<AnsiString> EnumPrinters();
// The CUPS default destination, or the PDF printer when CUPS has none.
AnsiString GetDefaultPrinter();
// The classic profile entry of the default printer: section "windows", key "device" answers
// "name,winspool,port"; any other entry answers Default.
AnsiString GetProfileString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default);

// The printer's current settings. False for a printer that is not installed.
bool GetPrinterSettings(const AnsiString& Printer, DEVMODE& Out);

// Paper width and height in millimetres of a paper number (portrait); false for a number the
// platform does not know.
bool GetPaperSize(int Paper, double& WidthMm, double& HeightMm);
// The page size of settings in millimetres, orientation applied.
void PageSizeOf(const DEVMODE& Settings, double& WidthMm, double& HeightMm);

constexpr WORD DC_PAPERS = 2, DC_PAPERSIZE = 3, DC_BINS = 6, DC_BINNAMES = 12, DC_PAPERNAMES = 16;
// The classic capability query. Output may be null to ask for the count. DC_PAPERS and DC_BINS
// fill WORD numbers, DC_PAPERNAMES 64-byte names, DC_BINNAMES 24-byte names, DC_PAPERSIZE
// POINTs in tenths of a millimetre. Answers the count, or -1 for an unknown printer or
// capability.
int DeviceCapabilities(const AnsiString& Printer, const AnsiString& Port, WORD Capability, void* Output,
                       const DEVMODE* Settings);

// The unprintable margins of a printer's page with these settings, in device pixels at the
// printer's resolution, orientation applied: the margins of the CUPS paper of that size (the
// default paper's when none matches; none when neither does), 0 for the PDF printer.
RECT PrintableMarginsOf(const AnsiString& Printer, const DEVMODE& Settings);

// An information context for the printer with these settings (the printer's own when null):
// GetDeviceCaps answers its resolution, page size, printable area (HORZRES, VERTRES) and
// unprintable corner (PHYSICALOFFSETX/Y); it draws nothing. Null for an unknown printer. The
// caller frees it with Windows::DeleteDC.
HDC CreateIC(const AnsiString& Printer, const DEVMODE* Settings);

// Where the PDF printer writes a job without an output file: this folder (default
// "$HOME/PDF"), a file named after the job's title.
void SetPdfFolder(const AnsiString& Folder);
AnsiString GetPdfFolder();

// ---- Jobs ----------------------------------------------------------------------------------

// A print job. Pages are drawn on the DC that BeginPage answers, in device pixels at 600 dpi
// with the origin at the corner of the printable area (the paper's corner less the
// unprintable margins, as GetDeviceCaps answers them); each page takes the settings given to
// BeginPage. The
// pages become one PDF document that EndDoc sends to the printer, or writes to OutputFile when
// one is given (for the PDF printer, without one, into GetPdfFolder). Raises EPrinter for an
// unknown printer, a file that cannot be written or a refused submission.
class TPrintJob {
public:
  TPrintJob(const AnsiString& Printer, const AnsiString& Title, const AnsiString& OutputFile = AnsiString());
  ~TPrintJob();  // an unfinished job is aborted
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // Starts a page and answers its DC (owned by the job, valid until EndPage).
  HDC BeginPage(const DEVMODE& Settings);
  void EndPage();
  // Finishes the document and delivers it; answers the file written (or the temporary file
  // handed to CUPS, deleted afterwards).
  AnsiString EndDoc();
  // Drops the job: nothing is printed or written.
  void Abort();
  int PageCount() const { return FPages; }

private:
  struct TSegment;
  void CloseSegment();
  AnsiString FPrinter, FTitle, FOutput;
  std::vector<AnsiString> FFiles;  // one PDF per run of pages of equal size
  HDC FDC = nullptr;
  int FWidthPx = 0, FHeightPx = 0;
  RECT FMargins{0, 0, 0, 0};
  DEVMODE FFirst;
  bool FInPage = false, FDone = false;
  int FPages = 0;
};

// A raw job: bytes handed to the printer unchanged (the PDF printer writes them to the output
// file). Raises EPrinter as TPrintJob does.
class TRawPrintJob {
public:
  TRawPrintJob(const AnsiString& Printer, const AnsiString& Title, const AnsiString& OutputFile = AnsiString());
  ~TRawPrintJob();
  TRawPrintJob(const TRawPrintJob&) = delete;
  TRawPrintJob& operator=(const TRawPrintJob&) = delete;
  void Write(const std::string& Bytes);
  void EndDoc();

private:
  AnsiString FPrinter, FTitle, FOutput;
  std::string FData;
  bool FDone = false;
};

}  // namespace WinSpool
