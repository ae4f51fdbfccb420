// The report library's printers: every installed printer of the platform (the CUPS
// destinations and the PDF-file printer) with its resolution, papers, bins and unprintable
// margins, running jobs whose pages may change paper, orientation, bin, copies and duplex;
// a virtual printer ("虚拟") when none is installed.
//
// The list is process-wide, made on first use; tests put their own in place with
// frxPrinter::TScopedPrinters. Measures are millimetres.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/StringList.h"
#include "platform/sys/WinSpool.h"
#include "report/engine/model/frxPaper.h"

class TfrxCustomPrinter : public TObject {
public:
  TfrxCustomPrinter(const AnsiString& AName, const AnsiString& APort);
  ~TfrxCustomPrinter() override;
  TfrxCustomPrinter(const TfrxCustomPrinter&) = delete;
  TfrxCustomPrinter& operator=(const TfrxCustomPrinter&) = delete;

  virtual void Init() = 0;
  virtual void Abort() = 0;
  virtual void BeginDoc() = 0;
  virtual void BeginPage() = 0;
  virtual void BeginRawDoc() = 0;
  virtual void EndDoc() = 0;
  virtual void EndPage() = 0;
  virtual void EndRawDoc() = 0;
  virtual void WriteRaw(const AnsiString& Text) = 0;
  // Paper and orientation for laying out (Landscape True); PaperSize 256 takes the sizes.
  virtual void SetViewParams(Integer PaperSize, bool Landscape, Extended APaperWidth, Extended APaperHeight) = 0;
  // The settings of the next page of a job. Duplex: 1 simplex, 2 vertical, 3 horizontal.
  virtual void SetPrintParams(Integer PaperSize, bool Landscape, Integer Duplex, Integer Copies, Integer ABin,
                              Extended APaperHeight, Extended APaperWidth) = 0;

  // List index of a paper / bin number, -1 when absent.
  Integer PaperIndex(Integer Number) const;
  Integer BinIndex(Integer Number) const;
  // The number of a named entry; 256 / 7 when the name is absent.
  Integer PaperNameToNumber(const AnsiString& AName) const;
  Integer BinNameToNumber(const AnsiString& AName) const;
  bool GetInitialized() const { return FInitialized; }
  // The device context of the page being printed; nullptr outside a page.
  HDC GetCanvas() const { return FCanvas; }

  Integer Bin = -1;
  TStringList Bins, Papers;  // names with their numbers as integer objects
  bool DefOrientation = false;
  Integer DefPaper = 0;
  Extended DefPaperHeight = 0, DefPaperWidth = 0;
  POINT DPI{600, 600};
  AnsiString FileName, Name, Port, Title;
  Integer Paper = 0;
  Extended PaperHeight = 0, PaperWidth = 0, LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
  bool Orientation = false;
  bool Printing = false;

protected:
  void AddEntry(TStringList& List, const AnsiString& Text, Integer Number);
  static Integer NumberAt(const TStringList& List, Integer Index);
  bool FInitialized = false;
  HDC FCanvas = nullptr;
};

// An installed printer of the platform.
class TfrxPrinter : public TfrxCustomPrinter {
public:
  using TfrxCustomPrinter::TfrxCustomPrinter;
  ~TfrxPrinter() override;
  void Init() override;
  void Abort() override;
  void BeginDoc() override;
  void BeginPage() override;
  void BeginRawDoc() override;
  void EndDoc() override;
  void EndPage() override;
  void EndRawDoc() override;
  void WriteRaw(const AnsiString& Text) override;
  void SetViewParams(Integer PaperSize, bool Landscape, Extended APaperWidth, Extended APaperHeight) override;
  void SetPrintParams(Integer PaperSize, bool Landscape, Integer Duplex, Integer Copies, Integer ABin,
                      Extended APaperHeight, Extended APaperWidth) override;
  // The driver settings the next page gets.
  const WinSpool::DEVMODE& GetDevMode() const { return FDevMode; }

private:
  // Resolution, paper size (exact, from the settings) and unprintable margins of FDevMode.
  void ReadMetrics();
  WinSpool::DEVMODE FDevMode;
  std::unique_ptr<WinSpool::TPrintJob> FJob;
  std::unique_ptr<WinSpool::TRawPrintJob> FRawJob;
};

// Lays out pages when no printer is installed: 600 dpi, the paper table, 4 mm margins.
class TfrxVirtualPrinter : public TfrxCustomPrinter {
public:
  using TfrxCustomPrinter::TfrxCustomPrinter;
  void Init() override;
  void Abort() override {}
  void BeginDoc() override {}
  void BeginPage() override {}
  void BeginRawDoc() override {}
  void EndDoc() override {}
  void EndPage() override {}
  void EndRawDoc() override {}
  void WriteRaw(const AnsiString&) override {}
  void SetViewParams(Integer PaperSize, bool Landscape, Extended APaperWidth, Extended APaperHeight) override;
  void SetPrintParams(Integer PaperSize, bool Landscape, Integer Duplex, Integer Copies, Integer ABin,
                      Extended APaperHeight, Extended APaperWidth) override;
};

class TfrxPrinters : public TObject {
public:
  // One TfrxPrinter per name Enumerate answers, the default one current; without names the
  // virtual printer.
  explicit TfrxPrinters(const std::function<std::vector<AnsiString>()>& Enumerate = WinSpool::EnumPrinters,
                        const AnsiString& DefaultName = AnsiString());
  ~TfrxPrinters() override;
  TfrxPrinters(const TfrxPrinters&) = delete;
  TfrxPrinters& operator=(const TfrxPrinters&) = delete;

  // Adds a printer (tests); it becomes the current one when none is.
  void Add(std::unique_ptr<TfrxCustomPrinter> Printer);
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  TfrxCustomPrinter* GetItem(Integer Index) const;
  // nullptr while PrinterIndex is -1.
  TfrxCustomPrinter* GetCurrentPrinter() const;
  // Ignoring case; -1 when none.
  Integer IndexOf(const AnsiString& AName) const;
  Integer GetPrinterIndex() const { return FPrinterIndex; }
  // Stores it and, unless -1, initialises that printer.
  void SetPrinterIndex(Integer Value);
  const TStringList& GetPrinters() const { return FNames; }
  bool HasPhysicalPrinters = false;

private:
  std::vector<std::unique_ptr<TfrxCustomPrinter>> FItems;
  TStringList FNames;
  Integer FPrinterIndex = -1;
};

namespace frxPrinter {

// The process-wide list, made on first use.
TfrxPrinters* GetPrinters();
// Frees the list (module finalization).
void Finalize();

// Puts List in place of the process-wide list for its lifetime, then the previous one back.
class TScopedPrinters {
public:
  explicit TScopedPrinters(std::unique_ptr<TfrxPrinters> List);
  ~TScopedPrinters();
  TScopedPrinters(const TScopedPrinters&) = delete;
  TScopedPrinters& operator=(const TScopedPrinters&) = delete;

private:
  std::unique_ptr<TfrxPrinters> FPrevious;
};

}  // namespace frxPrinter
