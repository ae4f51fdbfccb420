// The common dialogs as the program's own forms: TCommonDialog and the open and save dialogs.
// (Fonts, colours and printers: FontDialog.h, ColorDialog.h, PrintDialogs.h; the drive and
// folder lists: FileCtrls.h.)
//
// Execute shows the dialog modally and answers whether the user confirmed; only then are the
// results (FileName, Files, FilterIndex, the read-only box) written back. Unless ofNoChangeDir
// is set, a confirmed choice makes the chosen file's folder the current one, as the classic
// dialogs did.
#pragma once

#include <memory>

#include "platform/classes/Component.h"
#include "platform/stdctrls/dialogs/FileDialogModel.h"

class TStrings;
class TStringList;

class TCommonDialog : public TComponent {
  PELTO_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // True when the user confirmed.
  virtual bool Execute() { return false; }
  int GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // Around the modal run: OnShow once the form is up, OnClose when it is gone.
  TNotifyEvent OnShow, OnClose;

  PELTO_PUBLISHED(p)
  {
    p.Property("HelpContext", &ThisClass::GetHelpContext, &ThisClass::SetHelpContext).Default(0);
    p.Property("OnShow", TypeInfo_TNotifyEvent(), &ThisClass::OnShow, &ThisClass::OnShow);
    p.Property("OnClose", TypeInfo_TNotifyEvent(), &ThisClass::OnClose, &ThisClass::OnClose);
  }

protected:
  void DoShow()
  {
    if (OnShow) OnShow(this);
  }
  void DoClose()
  {
    if (OnClose) OnClose(this);
  }

private:
  int FHelpContext = 0;
};

class TOpenDialog : public TCommonDialog {
  PELTO_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;

  bool Execute() override;

  const AnsiString& GetFileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  // Every file chosen (one without ofAllowMultiSelect); owned by the dialog.
  TStrings* GetFiles() const;
  const AnsiString& GetFilter() const { return FFilter; }
  void SetFilter(const AnsiString& Value) { FFilter = Value; }
  // 1-based.
  int GetFilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const AnsiString& GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
  const AnsiString& GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
  // "" shows the default title ("打开", "另存为").
  const AnsiString& GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  TOpenOptions GetOptions() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("DefaultExt", &ThisClass::GetDefaultExt, &ThisClass::SetDefaultExt);
    p.Property("FileName", &ThisClass::GetFileName, &ThisClass::SetFileName);
    p.Property("Filter", &ThisClass::GetFilter, &ThisClass::SetFilter);
    p.Property("FilterIndex", &ThisClass::GetFilterIndex, &ThisClass::SetFilterIndex).Default(1);
    p.Property("InitialDir", &ThisClass::GetInitialDir, &ThisClass::SetInitialDir);
    p.Property("Options", &ThisClass::GetOptions, &ThisClass::SetOptions);
    p.Property("Title", &ThisClass::GetTitle, &ThisClass::SetTitle);
  }

protected:
  // Save dialogs overwrite this: the model prompts before overwriting instead of creating.
  virtual bool IsSave() const { return false; }
  AnsiString DefaultTitle() const { return IsSave() ? "另存为" : "打开"; }

private:
  AnsiString FFileName, FFilter, FDefaultExt, FInitialDir, FTitle;
  int FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  std::unique_ptr<TStringList> FFiles;
};

class TSaveDialog : public TOpenDialog {
  PELTO_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
  bool IsSave() const override { return true; }
};

namespace CommDlg {
// Registers the dialog classes for streams and scripts. Idempotent.
void Initialize();
}  // namespace CommDlg
