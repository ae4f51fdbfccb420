// The form of the open and save dialogs over a TFileDialogModel: the folder box with the
// "up" button, the list of folders and files, the name box, the type box, the read-only box,
// and the confirm and cancel buttons. Enter (or the confirm button) hands the typed name, or
// the file picked in the list, to the model; a double click enters a folder or chooses a file.
// The form closes with mrOk only when the model chose files. With ofEnableSizing the form can
// be resized and its controls follow.
#pragma once

#include <vector>

#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/StdCtrlsTypes.h"
#include "platform/stdctrls/dialogs/FileDialogModel.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TListBox;

class TFileDialogForm : public TForm {
  PELTO_CLASS(TFileDialogForm, TForm)
public:
  // Model is borrowed and must be set up (folder, filter) before; it outlives the form.
  TFileDialogForm(TComponent* AOwner, TFileDialogModel& Model, const AnsiString& Title, bool Save);

  TEdit* GetNameEdit() const { return FName; }
  TListBox* GetFileList() const { return FList; }
  TComboBox* GetTypeBox() const { return FTypes; }
  TComboBox* GetFolderBox() const { return FFolders; }
  TCheckBox* GetReadOnlyBox() const { return FReadOnly; }  // null when hidden
  TButton* GetOkButton() const { return FOk; }

  // Refills the folder box and the list from the model.
  void Reload();
  // The confirm button's work: the list's pick or the typed name goes to the model.
  void Confirm();

private:
  void ListClick(TObject*);
  void ListDblClick(TObject*);
  void TypeChange(TObject*);
  void FolderSelect(TObject*);
  void UpClick(TObject*);
  // A caption left of Field that focuses it.
  void FieldCaption(TWinControl* Field, const AnsiString& Text);
  void DrawEntry(TObject* Control, int Index, RECT Rect, TOwnerDrawState State);
  void Handle(TFileDialogModel::TResult Result);

  TFileDialogModel& FModel;
  TComboBox *FFolders = nullptr, *FTypes = nullptr;
  TListBox* FList = nullptr;
  TEdit* FName = nullptr;
  TCheckBox* FReadOnly = nullptr;
  TButton *FOk = nullptr, *FCancel = nullptr, *FUp = nullptr;
  std::vector<AnsiString> FFolderPaths;  // the folder box's lines as full paths
};
