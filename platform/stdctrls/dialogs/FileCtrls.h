// The file controls a folder picker is made of: TDriveComboBox lists the "drives" (on this
// platform: the root, the home folder and the volumes mounted under /media, /mnt and
// /run/media) and TDirectoryListBox shows a folder's path from its drive down, then its
// sub-folders. A drive box bound to a folder list (DirList) moves the list to the drive chosen;
// a folder list with a DirLabel shows its folder there, shortened to fit.
//
// Folder names are CP936 here and UTF-8 on disk: a folder whose name CP936 cannot hold is
// listed (with "?") but refused when opened, with a message through the message seam.
#pragma once

#include <vector>

#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"

class TCanvas;
class TLabel;

struct TDriveInfo {
  AnsiString Path;     // the drive's folder, without a trailing '/' (but "/" for the root)
  AnsiString Caption;  // as the drive box shows it
};

namespace FileCtrls {
// The root, the home folder (when it is not the root) and the mounted volumes, in that order.
std::vector<TDriveInfo> Drives();
// The drive a folder lies on: the longest drive path that holds it ("/" at least).
AnsiString DriveOf(const AnsiString& Path, const std::vector<TDriveInfo>& Drives);
// Path shortened to fit MaxWidth pixels in the canvas's font by putting "..." in the place of
// its first folders ("/home/u/合同/2009" -> "/.../合同/2009"); the last part is always kept.
AnsiString MinimizeName(const AnsiString& Path, TCanvas* Canvas, int MaxWidth);
}  // namespace FileCtrls

class TDirectoryListBox : public TCustomListBox {
  PELTO_CLASS(TDirectoryListBox, TCustomListBox)
public:
  explicit TDirectoryListBox(TComponent* AOwner);
  ~TDirectoryListBox() override;

  // The folder shown, without a trailing '/' ("/" for the root). Setting a folder that cannot
  // be read raises EInOutError and changes nothing; a name CP936 cannot hold is refused with a
  // message.
  const AnsiString& GetDirectory() const { return FDirectory; }
  void SetDirectory(const AnsiString& Value);
  // The drive of the folder shown; setting another drive shows its folder.
  AnsiString GetDrive() const;
  void SetDrive(const AnsiString& Value);
  // The full folder of line Index.
  AnsiString GetItemPath(int Index) const;
  // Shows the folder of the selected line (double click and Enter do it).
  void OpenCurrent();
  // Shows the folder (borrowed; forgotten when freed).
  TLabel* GetDirLabel() const { return FDirLabel; }
  void SetDirLabel(TLabel* Value);

  TNotifyEvent OnChange;

  PELTO_PUBLISHED(p)
  {
    p.Property("Directory", &ThisClass::GetDirectory, &ThisClass::SetDirectory);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
  }

protected:
  void DblClick() override;
  void KeyPress(char& Key) override;
  void DrawItem(int Index, RECT Rect, TOwnerDrawState State) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Fill();
  void ShowLabel();

  AnsiString FDirectory;
  std::vector<AnsiString> FPaths;  // the lines' folders
  std::vector<bool> FReadable;     // whether a line's name is its folder's true name
  int FOpenLevels = 0;             // the first lines, the path down to the folder shown
  TLabel* FDirLabel = nullptr;
};

class TDriveComboBox : public TCustomComboBox {
  PELTO_CLASS(TDriveComboBox, TCustomComboBox)
public:
  explicit TDriveComboBox(TComponent* AOwner);
  ~TDriveComboBox() override;

  // The chosen drive's folder; setting a folder chooses the drive it lies on.
  AnsiString GetDrive() const;
  void SetDrive(const AnsiString& Value);
  const std::vector<TDriveInfo>& GetDrives() const { return FDrives; }
  // Reads the drives again (volumes come and go).
  void Refresh();
  // The folder list that follows the drive chosen (borrowed; forgotten when freed).
  TDirectoryListBox* GetDirList() const { return FDirList; }
  void SetDirList(TDirectoryListBox* Value);

protected:
  void Change() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::vector<TDriveInfo> FDrives;
  TDirectoryListBox* FDirList = nullptr;
};
