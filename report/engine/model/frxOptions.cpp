#include "report/engine/model/frxOptions.h"

#include "platform/rtl/StringList.h"
#include "report/engine/model/frxRes.h"

void TfrxEngineOptions::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TfrxEngineOptions*>(Source);
  if (!s) return;
  ConvertNulls = s->ConvertNulls;
  DoublePass = s->DoublePass;
  MaxMemSize = s->MaxMemSize;
  PrintIfEmpty = s->PrintIfEmpty;
  SilentMode = s->SilentMode;
  TempDir = s->TempDir;
  UseFileCache = s->UseFileCache;
}

void TfrxEngineOptions::Clear()
{
  ConvertNulls = true;
  DoublePass = false;
}

void TfrxPreviewOptions::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TfrxPreviewOptions*>(Source);
  if (!s) return;
  AllowEdit = s->AllowEdit;
  Buttons = s->Buttons;
  DoubleBuffered = s->DoubleBuffered;
  Maximized = s->Maximized;
  MDIChild = s->MDIChild;
  Modal = s->Modal;
  OutlineVisible = s->OutlineVisible;
  OutlineWidth = s->OutlineWidth;
  ShowCaptions = s->ShowCaptions;
  Zoom = s->Zoom;
  ZoomMode = s->ZoomMode;
}

void TfrxPreviewOptions::Clear()
{
  OutlineVisible = false;
  OutlineWidth = 120;
}

TfrxPrintOptions::TfrxPrintOptions() { Clear(); }

void TfrxPrintOptions::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TfrxPrintOptions*>(Source);
  if (!s) return;
  Copies = s->Copies;
  Collate = s->Collate;
  PageNumbers = s->PageNumbers;
  Printer = s->Printer;
  PrintPages = s->PrintPages;
  ShowDialog = s->ShowDialog;
}

void TfrxPrintOptions::Clear()
{
  Copies = 1;
  Collate = true;
  PageNumbers.clear();
  Printer = frxRes::Get("prDefault");
  PrintPages = ppAll;
  ShowDialog = true;
}

TfrxReportOptions::TfrxReportOptions() : FDescription(std::make_unique<TStringList>()) { Clear(); }

TfrxReportOptions::~TfrxReportOptions() = default;

void TfrxReportOptions::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TfrxReportOptions*>(Source);
  if (!s) return;
  Author = s->Author;
  Compressed = s->Compressed;
  CreateDate = s->CreateDate;
  FDescription->Assign(s->FDescription.get());
  InitString = s->InitString;
  Name = s->Name;
  LastChange = s->LastChange;
  Password = s->Password;
  VersionBuild = s->VersionBuild;
  VersionMajor = s->VersionMajor;
  VersionMinor = s->VersionMinor;
  VersionRelease = s->VersionRelease;
}

void TfrxReportOptions::Clear()
{
  Author.clear();
  Compressed = false;
  CreateDate = SysUtils::Now();
  LastChange = CreateDate;
  FDescription->Clear();
  InitString.clear();
  Name.clear();
  Password.clear();
  VersionBuild.clear();
  VersionMajor.clear();
  VersionMinor.clear();
  VersionRelease.clear();
}

void TfrxReportOptions::SetDescription(TStringList* Value) { FDescription->Assign(Value); }

namespace frxOptions {

TService<std::function<TPasswordFunc>>& PasswordService()
{
  static TService<std::function<TPasswordFunc>> slot(
      std::make_unique<std::function<TPasswordFunc>>([](AnsiString&) { return false; }));
  return slot;
}

AnsiString EncodePassword(const AnsiString& Plain)
{
  AnsiString s = Plain;
  for (char& c : s) c = static_cast<char>(static_cast<unsigned char>(c) - 10);
  return s;
}

AnsiString DecodePassword(const AnsiString& Stored)
{
  AnsiString s = Stored;
  for (char& c : s) c = static_cast<char>(static_cast<unsigned char>(c) + 10);
  return s;
}

}  // namespace frxOptions

bool TfrxReportOptions::CheckPassword()
{
  if (Password.empty()) return true;
  AnsiString typed;
  if (!frxOptions::PasswordService().Current()(typed)) return false;
  return typed == Password;
}

PELTO_DEFINE_CLASS(TfrxEngineOptions)
PELTO_PUBLISH(TfrxEngineOptions, p)
{
  p.Property("ConvertNulls", &ThisClass::ConvertNulls, &ThisClass::ConvertNulls).Default(true);
  p.Property("DoublePass", &ThisClass::DoublePass, &ThisClass::DoublePass).Default(false);
  p.Property("MaxMemSize", &ThisClass::MaxMemSize, &ThisClass::MaxMemSize).Default(10);
  p.Property("PrintIfEmpty", &ThisClass::PrintIfEmpty, &ThisClass::PrintIfEmpty).Default(true);
  p.Property("SilentMode", &ThisClass::SilentMode, &ThisClass::SilentMode).Default(false);
  p.Property("TempDir", &ThisClass::TempDir, &ThisClass::TempDir);
  p.Property("UseFileCache", &ThisClass::UseFileCache, &ThisClass::UseFileCache).Default(false);
}

PELTO_DEFINE_CLASS(TfrxPreviewOptions)
PELTO_PUBLISH(TfrxPreviewOptions, p)
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

PELTO_DEFINE_CLASS(TfrxPrintOptions)
PELTO_PUBLISH(TfrxPrintOptions, p)
{
  p.Property("Copies", &ThisClass::Copies, &ThisClass::Copies).Default(1);
  p.Property("Collate", &ThisClass::Collate, &ThisClass::Collate).Default(true);
  p.Property("PageNumbers", &ThisClass::PageNumbers, &ThisClass::PageNumbers);
  p.Property("Printer", &ThisClass::Printer, &ThisClass::Printer);
  p.Property("PrintPages", &ThisClass::PrintPages, &ThisClass::PrintPages).Default(ppAll);
  p.Property("ShowDialog", &ThisClass::ShowDialog, &ThisClass::ShowDialog).Default(true);
}

PELTO_DEFINE_CLASS(TfrxReportOptions)
PELTO_PUBLISH(TfrxReportOptions, p)
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
