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
  PELTO_CLASS(TfrxEngineOptions, TPersistent)
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

  PELTO_PUBLISHED(p)
  {
    p.Property("ConvertNulls", &ThisClass::ConvertNulls, &ThisClass::ConvertNulls).Default(true);
    p.Property("DoublePass", &ThisClass::DoublePass, &ThisClass::DoublePass).Default(false);
    p.Property("MaxMemSize", &ThisClass::MaxMemSize, &ThisClass::MaxMemSize).Default(10);
    p.Property("PrintIfEmpty", &ThisClass::PrintIfEmpty, &ThisClass::PrintIfEmpty).Default(true);
    p.Property("SilentMode", &ThisClass::SilentMode, &ThisClass::SilentMode).Default(false);
    p.Property("TempDir", &ThisClass::TempDir, &ThisClass::TempDir);
    p.Property("UseFileCache", &ThisClass::UseFileCache, &ThisClass::UseFileCache).Default(false);
  }
};

PELTO_ENUM(TfrxPreviewButton, pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools,
           pbEdit, pbNavigator)
PELTO_SET(TfrxPreviewButtons, TfrxPreviewButton)
PELTO_ENUM(TfrxZoomMode, zmDefault, zmWholePage, zmPageWidth, zmManyPages)

class TfrxPreviewOptions : public TPersistent {
  PELTO_CLASS(TfrxPreviewOptions, TPersistent)
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

  PELTO_PUBLISHED(p)
  {
    p.Property("AllowEdit", &ThisClass::AllowEdit, &ThisClass::AllowEdit).Default(true);
    p.Property("Buttons", &ThisClass::Buttons, &ThisClass::Buttons).Default(AllButtons());
    p.Property("DoubleBuffered", &ThisClass::DoubleBuffered, &ThisClass::DoubleBuffered).Default(true);
    p.Property("Maximized", &ThisClass::Maximized, &ThisClass::Maximized).Default(true);
    p.Property("MDIChild", &ThisClass::MDIChild, &ThisClass::MDIChild).Default(false);
    p.Property("Modal", &ThisClass::Modal, &ThisClass::Modal).Default(true);
    p.Property("OutlineVisible", &ThisClass::OutlineVisible, &ThisClass::OutlineVisible).Default(false);
    p.Property("OutlineWidth", &ThisClass::OutlineWidth, &ThisClass::OutlineWidth).Default(120);
    p.Property("ShowCaptions", &ThisClass::ShowCaptions, &ThisClass::ShowCaptions).Default(false);
    p.Property("Zoom", &ThisClass::Zoom, &ThisClass::Zoom);
    p.Property("ZoomMode", &ThisClass::ZoomMode, &ThisClass::ZoomMode).Default(zmDefault);
  }
};

PELTO_ENUM(TfrxPrintPages, ppAll, ppOdd, ppEven)

class TfrxPrintOptions : public TPersistent {
  PELTO_CLASS(TfrxPrintOptions, TPersistent)
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

  PELTO_PUBLISHED(p)
  {
    p.Property("Copies", &ThisClass::Copies, &ThisClass::Copies).Default(1);
    p.Property("Collate", &ThisClass::Collate, &ThisClass::Collate).Default(true);
    p.Property("PageNumbers", &ThisClass::PageNumbers, &ThisClass::PageNumbers);
    p.Property("Printer", &ThisClass::Printer, &ThisClass::Printer);
    p.Property("PrintPages", &ThisClass::PrintPages, &ThisClass::PrintPages).Default(ppAll);
    p.Property("ShowDialog", &ThisClass::ShowDialog, &ThisClass::ShowDialog).Default(true);
  }
};

// The report's descriptive data and its password (plain text in memory; the report codes it in
// its file). The picture waits for the graphics classes.
class TfrxReportOptions : public TPersistent {
  PELTO_CLASS(TfrxReportOptions, TPersistent)
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

  PELTO_PUBLISHED(p)
  {
    p.Property("Author", &ThisClass::Author, &ThisClass::Author);
    p.Property("Compressed", &ThisClass::Compressed, &ThisClass::Compressed).Default(false);
    p.Property("CreateDate", &ThisClass::CreateDate, &ThisClass::CreateDate);
    p.Property("Description", &ThisClass::GetDescription, &ThisClass::SetDescription);
    p.Property("InitString", &ThisClass::InitString, &ThisClass::InitString);
    p.Property("Name", &ThisClass::Name, &ThisClass::Name);
    p.Property("LastChange", &ThisClass::LastChange, &ThisClass::LastChange);
    p.Property("Password", &ThisClass::Password, &ThisClass::Password);
    p.Property("VersionBuild", &ThisClass::VersionBuild, &ThisClass::VersionBuild);
    p.Property("VersionMajor", &ThisClass::VersionMajor, &ThisClass::VersionMajor);
    p.Property("VersionMinor", &ThisClass::VersionMinor, &ThisClass::VersionMinor);
    p.Property("VersionRelease", &ThisClass::VersionRelease, &ThisClass::VersionRelease);
  }

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
