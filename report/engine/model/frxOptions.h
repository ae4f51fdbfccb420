// The option objects a report stores with itself: engine, preview, print and report options.
// Assign copies the published properties from an object of the same class only; Clear resets
// what a report's Clear resets.
#pragma once

#include <memory>

#include "platform/rtl/Service.h"
#include "platform/rtl/StringList.h"
#include "platform/classes/Persistent.h"
#include "platform/rtl/DateTime.h"

class TfrxEngineOptions : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxEngineOptions, TPersistent)
public:
  void Assign(TPersistent* Source) override;
  // ConvertNulls and DoublePass only.
  void Clear();

  bool ConvertNulls = true;
  bool DoublePass = false;
  Integer MaxMemSize = 10;
  bool PrintIfEmpty = true;
  bool SilentMode = false;
  AnsiString TempDir;
  bool UseFileCache = false;
  bool RestoreAfterRun = true;  // not stored

  PELTO_PUBLISHED(p);
};

PELTO_ENUM(TfrxPreviewButton, pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools,
           pbEdit, pbNavigator)
PELTO_SET(TfrxPreviewButtons, TfrxPreviewButton)
PELTO_ENUM(TfrxZoomMode, zmDefault, zmWholePage, zmPageWidth, zmManyPages)

class TfrxPreviewOptions : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxPreviewOptions, TPersistent)
public:
  static TfrxPreviewButtons AllButtons()
  {
    return TfrxPreviewButtons{pbPrint,   pbLoad,      pbSave,  pbExport, pbZoom,     pbFind,
                              pbOutline, pbPageSetup, pbTools, pbEdit,   pbNavigator};
  }
  void Assign(TPersistent* Source) override;
  // OutlineVisible and OutlineWidth only.
  void Clear();

  bool AllowEdit = true;
  TfrxPreviewButtons Buttons = AllButtons();
  bool DoubleBuffered = true;
  bool Maximized = true;
  bool MDIChild = false;
  bool Modal = true;
  bool OutlineVisible = false;
  Integer OutlineWidth = 120;
  bool ShowCaptions = false;
  Extended Zoom = 1;
  TfrxZoomMode ZoomMode = zmDefault;

  PELTO_PUBLISHED(p);
};

PELTO_ENUM(TfrxPrintPages, ppAll, ppOdd, ppEven)

class TfrxPrintOptions : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxPrintOptions, TPersistent)
public:
  TfrxPrintOptions();
  void Assign(TPersistent* Source) override;
  // All six back to their defaults.
  void Clear();

  Integer Copies = 1;
  bool Collate = true;
  AnsiString PageNumbers;
  AnsiString Printer;  // the text of "prDefault": the default printer
  TfrxPrintPages PrintPages = ppAll;
  bool ShowDialog = true;

  PELTO_PUBLISHED(p);
};

// The report's descriptive data and its password (plain text in memory; the report codes it in
// its file). The picture waits for the graphics classes.
class TfrxReportOptions : public TPersistent {
  PELTO_DECLARE_CLASS(TfrxReportOptions, TPersistent)
public:
  TfrxReportOptions();
  ~TfrxReportOptions() override;
  void Assign(TPersistent* Source) override;
  // Dates to now, everything else empty.
  void Clear();
  // True for no password; otherwise asks through the password seam and compares exactly.
  bool CheckPassword();

  TStringList* GetDescription() const { return FDescription.get(); }
  void SetDescription(TStringList* Value);

  AnsiString Author;
  bool Compressed = false;  // no effect: report files are plain XML
  TDateTime CreateDate;
  AnsiString InitString;
  AnsiString Name;
  TDateTime LastChange;
  AnsiString Password;
  AnsiString VersionBuild, VersionMajor, VersionMinor, VersionRelease;

  PELTO_PUBLISHED(p);

private:
  std::unique_ptr<TStringList> FDescription;
};

namespace frxOptions {

// Asks the user for the report password; false when cancelled. The password window comes with
// the window layer; until one is installed the answer is "cancelled".
using TPasswordFunc = bool(AnsiString& Password);
TService<std::function<TPasswordFunc>>& PasswordService();

// The stored form of a password: each character code lowered by 10 (modulo 256), and back.
AnsiString EncodePassword(const AnsiString& Plain);
AnsiString DecodePassword(const AnsiString& Stored);

}  // namespace frxOptions
