#include "report/engine/print/frxPrinter.h"

#include <cmath>
#include <cstring>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/model/frxRes.h"

namespace {

constexpr Integer kCustomPaper = 256, kDefaultBin = 7;

// Releases an information context when the scope ends.
struct TICGuard {
  HDC DC;
  ~TICGuard()
  {
    if (DC) Windows::DeleteDC(DC);
  }
};

}  // namespace

// ---- TfrxCustomPrinter -----------------------------------------------------------------------

TfrxCustomPrinter::TfrxCustomPrinter(const AnsiString& AName, const AnsiString& APort) : Name(AName), Port(APort)
{
  AddEntry(Bins, frxRes::Get("prDefault"), kDefaultBin);
  AddEntry(Papers, frxRes::Get("prCustom"), kCustomPaper);
}

TfrxCustomPrinter::~TfrxCustomPrinter() = default;

void TfrxCustomPrinter::AddEntry(TStringList& List, const AnsiString& Text, Integer Number)
{
  List.AddObject(Text, reinterpret_cast<TObject*>(static_cast<intptr_t>(Number)));
}

Integer TfrxCustomPrinter::NumberAt(const TStringList& List, Integer Index)
{
  return static_cast<Integer>(reinterpret_cast<intptr_t>(List.GetObjects(Index)));
}

Integer TfrxCustomPrinter::PaperIndex(Integer Number) const
{
  for (Integer i = 0; i < Papers.GetCount(); ++i)
    if (NumberAt(Papers, i) == Number) return i;
  return -1;
}

Integer TfrxCustomPrinter::BinIndex(Integer Number) const
{
  for (Integer i = 0; i < Bins.GetCount(); ++i)
    if (NumberAt(Bins, i) == Number) return i;
  return -1;
}

Integer TfrxCustomPrinter::PaperNameToNumber(const AnsiString& AName) const
{
  Integer i = Papers.IndexOf(AName);
  return NumberAt(Papers, i < 0 ? 0 : i);
}

Integer TfrxCustomPrinter::BinNameToNumber(const AnsiString& AName) const
{
  Integer i = Bins.IndexOf(AName);
  return NumberAt(Bins, i < 0 ? 0 : i);
}

// ---- TfrxPrinter -----------------------------------------------------------------------------

TfrxPrinter::~TfrxPrinter() = default;

void TfrxPrinter::Init()
{
  if (FInitialized) return;
  if (!WinSpool::GetPrinterSettings(Name, FDevMode)) return;
  FInitialized = true;
  ReadMetrics();
  DefPaper = FDevMode.dmPaperSize;
  DefPaperWidth = PaperWidth;
  DefPaperHeight = PaperHeight;
  DefOrientation = FDevMode.dmOrientation != WinSpool::DMORIENT_PORTRAIT;
  // The driver's numbers and names, at most 256 of them; the fixed first entry is not repeated.
  auto readList = [&](WORD NumbersCap, WORD NamesCap, size_t NameSize, Integer Skip, TStringList& List) {
    int count = WinSpool::DeviceCapabilities(Name, Port, NumbersCap, nullptr, &FDevMode);
    if (count <= 0) return;
    size_t n = static_cast<size_t>(std::min(count, 256));
    std::vector<WORD> numbers(std::max<size_t>(n, static_cast<size_t>(count)));
    std::vector<char> names(numbers.size() * NameSize);
    WinSpool::DeviceCapabilities(Name, Port, NumbersCap, numbers.data(), &FDevMode);
    WinSpool::DeviceCapabilities(Name, Port, NamesCap, names.data(), &FDevMode);
    for (size_t i = 0; i < n; ++i)
      if (numbers[i] != Skip)
        AddEntry(List, AnsiString(&names[i * NameSize], strnlen(&names[i * NameSize], NameSize)), numbers[i]);
  };
  readList(WinSpool::DC_PAPERS, WinSpool::DC_PAPERNAMES, 64, kCustomPaper, Papers);
  readList(WinSpool::DC_BINS, WinSpool::DC_BINNAMES, 24, kDefaultBin, Bins);
}

void TfrxPrinter::ReadMetrics()
{
  TICGuard ic{WinSpool::CreateIC(Name, &FDevMode)};
  if (!ic.DC) return;
  DPI = POINT{Windows::GetDeviceCaps(ic.DC, LOGPIXELSX), Windows::GetDeviceCaps(ic.DC, LOGPIXELSY)};
  if (DPI.x <= 0 || DPI.y <= 0) DPI = POINT{600, 600};
  // The paper size comes from the settings themselves, so A4 is exactly 210 x 297.
  double w = 0, h = 0;
  WinSpool::PageSizeOf(FDevMode, w, h);
  PaperWidth = w;
  PaperHeight = h;
  // The margins come in whole device pixels; the paper's own pixel rounding must not add to
  // the right and bottom ones.
  auto mm = [](int Pixels, int Dpi) { return Pixels / static_cast<Extended>(Dpi) * 25.4; };
  int offsetX = Windows::GetDeviceCaps(ic.DC, PHYSICALOFFSETX),
      offsetY = Windows::GetDeviceCaps(ic.DC, PHYSICALOFFSETY);
  LeftMargin = mm(offsetX, DPI.x);
  TopMargin = mm(offsetY, DPI.y);
  RightMargin =
      mm(std::max(0, Windows::GetDeviceCaps(ic.DC, PHYSICALWIDTH) - Windows::GetDeviceCaps(ic.DC, HORZRES) - offsetX),
         DPI.x);
  BottomMargin =
      mm(std::max(0, Windows::GetDeviceCaps(ic.DC, PHYSICALHEIGHT) - Windows::GetDeviceCaps(ic.DC, VERTRES) - offsetY),
         DPI.y);
}

void TfrxPrinter::SetViewParams(Integer PaperSize, bool Landscape, Extended APaperWidth, Extended APaperHeight)
{
  Init();
  if (PaperSize == kCustomPaper) {
    SetViewParams(9, Landscape, APaperWidth, APaperHeight);
    PaperWidth = APaperWidth;
    PaperHeight = APaperHeight;
  } else {
    FDevMode.dmOrientation = Landscape ? WinSpool::DMORIENT_LANDSCAPE : WinSpool::DMORIENT_PORTRAIT;
    FDevMode.dmPaperSize = static_cast<short>(PaperSize);
    FDevMode.dmFields |= WinSpool::DM_ORIENTATION | WinSpool::DM_PAPERSIZE;
    FDevMode.dmFields &= ~(WinSpool::DM_PAPERLENGTH | WinSpool::DM_PAPERWIDTH);
    ReadMetrics();
  }
  Paper = PaperSize;
  Orientation = Landscape;
}

void TfrxPrinter::SetPrintParams(Integer PaperSize, bool Landscape, Integer Duplex, Integer Copies, Integer ABin,
                                 Extended APaperHeight, Extended APaperWidth)
{
  Init();
  FDevMode.dmFields |=
      WinSpool::DM_ORIENTATION | WinSpool::DM_PAPERSIZE | WinSpool::DM_COPIES | WinSpool::DM_DEFAULTSOURCE;
  if (Duplex != 1) FDevMode.dmFields |= WinSpool::DM_DUPLEX;
  if (PaperSize == kCustomPaper) {
    FDevMode.dmFields |= WinSpool::DM_PAPERLENGTH | WinSpool::DM_PAPERWIDTH;
    FDevMode.dmPaperLength = static_cast<short>(std::lround(APaperHeight * 10));
    FDevMode.dmPaperWidth = static_cast<short>(std::lround(APaperWidth * 10));
  } else {
    FDevMode.dmFields &= ~(WinSpool::DM_PAPERLENGTH | WinSpool::DM_PAPERWIDTH);
  }
  FDevMode.dmPaperSize = static_cast<short>(PaperSize);
  FDevMode.dmOrientation = Landscape ? WinSpool::DMORIENT_LANDSCAPE : WinSpool::DMORIENT_PORTRAIT;
  FDevMode.dmCopies = static_cast<short>(Copies);
  FDevMode.dmDefaultSource = static_cast<short>(Bin != -1 ? Bin : ABin);
  if (Duplex != 1) FDevMode.dmDuplex = static_cast<short>(Duplex);
  ReadMetrics();
  Paper = PaperSize;
  Orientation = Landscape;
}

void TfrxPrinter::BeginDoc()
{
  Init();
  Printing = true;
  FJob = std::make_unique<WinSpool::TPrintJob>(Name, Title, FileName);
}

void TfrxPrinter::BeginPage()
{
  if (FJob) FCanvas = FJob->BeginPage(FDevMode);
}

void TfrxPrinter::EndPage()
{
  if (FJob && FCanvas) FJob->EndPage();
  FCanvas = nullptr;
}

void TfrxPrinter::EndDoc()
{
  FCanvas = nullptr;
  std::unique_ptr<WinSpool::TPrintJob> job = std::move(FJob);
  Printing = false;
  Bin = -1;
  if (job) job->EndDoc();
}

void TfrxPrinter::Abort()
{
  if (FJob) FJob->Abort();
  FJob.reset();
  EndDoc();
}

void TfrxPrinter::BeginRawDoc()
{
  Init();
  FRawJob = std::make_unique<WinSpool::TRawPrintJob>(Name, Title, FileName);
}

void TfrxPrinter::WriteRaw(const AnsiString& Text)
{
  if (FRawJob) FRawJob->Write(Text);
}

void TfrxPrinter::EndRawDoc()
{
  std::unique_ptr<WinSpool::TRawPrintJob> job = std::move(FRawJob);
  if (job) job->EndDoc();
}

// ---- TfrxVirtualPrinter ----------------------------------------------------------------------

void TfrxVirtualPrinter::Init()
{
  if (FInitialized) return;
  FInitialized = true;
  DPI = POINT{600, 600};
  DefPaper = 9;
  DefOrientation = false;
  DefPaperWidth = 210;
  DefPaperHeight = 297;
  for (Integer n = 1; n <= 68; ++n) {
    Extended w = 0, h = 0;
    if (frxPrinter::GetPaperDimensions(n, w, h)) AddEntry(Papers, AnsiString(), n);
  }
  Bin = -1;
}

void TfrxVirtualPrinter::SetViewParams(Integer PaperSize, bool Landscape, Extended APaperWidth, Extended APaperHeight)
{
  Init();
  Extended w = APaperWidth, h = APaperHeight;
  if (PaperSize != kCustomPaper && frxPrinter::GetPaperDimensions(PaperSize, w, h)) {
    if (Landscape) std::swap(w, h);
    PaperWidth = w;
    PaperHeight = h;
    Paper = PaperSize;
  } else {
    PaperWidth = APaperWidth;
    PaperHeight = APaperHeight;
    Paper = kCustomPaper;
  }
  LeftMargin = TopMargin = RightMargin = BottomMargin = 4;
  Orientation = Landscape;
}

void TfrxVirtualPrinter::SetPrintParams(Integer PaperSize, bool Landscape, Integer, Integer, Integer ABin,
                                        Extended APaperHeight, Extended APaperWidth)
{
  SetViewParams(PaperSize, Landscape, APaperWidth, APaperHeight);
  Bin = ABin;
}

// ---- TfrxPrinters ----------------------------------------------------------------------------

TfrxPrinters::TfrxPrinters(const std::function<std::vector<AnsiString>()>& Enumerate, const AnsiString& DefaultName)
{
  std::vector<AnsiString> names = Enumerate ? Enumerate() : std::vector<AnsiString>();
  for (const AnsiString& n : names) {
    FItems.push_back(std::make_unique<TfrxPrinter>(n, AnsiString()));
    FNames.Add(n);
  }
  if (!FItems.empty()) {
    HasPhysicalPrinters = true;
    AnsiString def = DefaultName;
    if (def.empty()) {
      def = WinSpool::GetProfileString("windows", "device", "").substr(0, 79);
      def = def.substr(0, def.find(','));
    }
    SetPrinterIndex(IndexOf(def));
  } else {
    FItems.push_back(std::make_unique<TfrxVirtualPrinter>(frxRes::Get("prVirtual"), AnsiString()));
    FNames.Add(FItems.back()->Name);
    HasPhysicalPrinters = false;
    SetPrinterIndex(0);
  }
}

TfrxPrinters::~TfrxPrinters() = default;

void TfrxPrinters::Add(std::unique_ptr<TfrxCustomPrinter> Printer)
{
  FNames.Add(Printer->Name);
  FItems.push_back(std::move(Printer));
  if (FPrinterIndex < 0) SetPrinterIndex(GetCount() - 1);
}

TfrxCustomPrinter* TfrxPrinters::GetItem(Integer Index) const
{
  return Index >= 0 && Index < GetCount() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

TfrxCustomPrinter* TfrxPrinters::GetCurrentPrinter() const { return GetItem(FPrinterIndex); }

Integer TfrxPrinters::IndexOf(const AnsiString& AName) const
{
  for (Integer i = 0; i < GetCount(); ++i)
    if (SysUtils::SameText(FItems[static_cast<size_t>(i)]->Name, AName)) return i;
  return -1;
}

void TfrxPrinters::SetPrinterIndex(Integer Value)
{
  FPrinterIndex = Value;
  if (TfrxCustomPrinter* p = GetItem(Value)) p->Init();
}

namespace frxPrinter {

namespace {
std::unique_ptr<TfrxPrinters>& Instance()
{
  static std::unique_ptr<TfrxPrinters> list;
  return list;
}
}  // namespace

TfrxPrinters* GetPrinters()
{
  if (!Instance()) Instance() = std::make_unique<TfrxPrinters>();
  return Instance().get();
}

void Finalize() { Instance().reset(); }

TScopedPrinters::TScopedPrinters(std::unique_ptr<TfrxPrinters> List) : FPrevious(std::move(Instance()))
{
  Instance() = std::move(List);
}

TScopedPrinters::~TScopedPrinters() { Instance() = std::move(FPrevious); }

}  // namespace frxPrinter
