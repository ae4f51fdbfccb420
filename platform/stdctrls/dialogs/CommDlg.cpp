#include "platform/stdctrls/dialogs/CommDlg.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/dialogs/ColorDialog.h"
#include "platform/stdctrls/dialogs/FileCtrls.h"
#include "platform/stdctrls/dialogs/FileDialogForm.h"
#include "platform/stdctrls/dialogs/FontDialog.h"
#include "platform/stdctrls/dialogs/PrintDialogs.h"
#include "platform/stdctrls/edits/CustomEdit.h"

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

TStrings* TOpenDialog::GetFiles() const { return FFiles.get(); }

bool TOpenDialog::Execute()
{
  TFileDialogModel model(IsSave());
  model.Options = FOptions;
  model.DefaultExt = FDefaultExt;
  model.Title = FTitle.empty() ? DefaultTitle() : FTitle;
  // The folder: InitialDir, else the folder of FileName, else the current one.
  AnsiString start = FInitialDir.empty() ? SysUtils::ExtractFilePath(FFileName) : FInitialDir;
  if (start.empty() || !model.SetFolder(start)) model.SetFolder(SysUtils::GetCurrentDir());
  model.SetFilterIndex(FFilterIndex);
  model.SetFilter(FFilter);

  TFileDialogForm form(nullptr, model, model.Title, IsSave());
  form.GetNameEdit()->SetText(SysUtils::ExtractFileName(FFileName));
  form.OnShow = [this](TObject*) { DoShow(); };
  bool ok = form.ShowModal() == mrOk;
  DoClose();
  if (!ok) return false;

  FFiles->Clear();
  for (const AnsiString& f : model.GetFiles()) FFiles->Add(f);
  FFileName = model.GetFiles().front();
  FFilterIndex = model.GetFilterIndex();
  if (TCheckBox* readOnly = form.GetReadOnlyBox()) {
    if (readOnly->GetChecked())
      FOptions.Include(ofReadOnly);
    else
      FOptions.Exclude(ofReadOnly);
  }
  if (model.GetExtensionDifferent())
    FOptions.Include(ofExtensionDifferent);
  else
    FOptions.Exclude(ofExtensionDifferent);
  if (!FOptions.Contains(ofNoChangeDir)) SysUtils::SetCurrentDir(SysUtils::ExtractFileDir(FFileName));
  return true;
}

namespace CommDlg {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  Classes::RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TFontDialog::StaticClass(),
                            TColorDialog::StaticClass(), TPrintDialog::StaticClass(),
                            TPrinterSetupDialog::StaticClass(), TDriveComboBox::StaticClass(),
                            TDirectoryListBox::StaticClass()});
}

}  // namespace CommDlg
