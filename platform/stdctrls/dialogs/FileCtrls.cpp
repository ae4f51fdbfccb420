#include "platform/stdctrls/dialogs/FileCtrls.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/stdctrls/dialogs/FileDialogModel.h"
#include "platform/stdctrls/panels/Label.h"

namespace FileCtrls {

namespace {

// /proc/mounts writes blanks and some other bytes as "\040"-style octal escapes.
std::string Unescape(const std::string& S)
{
  std::string out;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 3 < S.size() && isdigit(static_cast<unsigned char>(S[i + 1]))) {
      out += char(std::stoi(S.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += S[i];
    }
  }
  return out;
}

bool Holds(const AnsiString& Drive, const AnsiString& Path)
{
  if (Drive == "/") return !Path.empty() && Path[0] == '/';
  return Path == Drive ||
         (Path.size() > Drive.size() && Path.compare(0, Drive.size(), Drive) == 0 && Path[Drive.size()] == '/');
}

}  // namespace

std::vector<TDriveInfo> Drives()
{
  std::vector<TDriveInfo> out{{"/", "根目录 (/)"}};
  if (const char* home = ::getenv("HOME"); home && *home) {
    AnsiString h = SysUtils::ExcludeTrailingPathDelimiter(System::Utf8ToAnsi(home));
    if (h != "/" && SysUtils::DirectoryExists(h)) out.push_back({h, "主文件夹 (" + h + ")"});
  }
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, where;
    fields >> device >> where;
    where = Unescape(where);
    bool volume = where.rfind("/media/", 0) == 0 || where.rfind("/mnt/", 0) == 0 || where.rfind("/run/media/", 0) == 0;
    if (!volume) continue;
    AnsiString path = System::Utf8ToAnsi(where);
    if (System::AnsiToUtf8(path) != where) continue;  // a mount point CP936 cannot name
    out.push_back({path, SysUtils::ExtractFileName(path) + " (" + path + ")"});
  }
  return out;
}

AnsiString DriveOf(const AnsiString& Path, const std::vector<TDriveInfo>& Drives)
{
  AnsiString best = "/";
  for (const TDriveInfo& d : Drives)
    if (Holds(d.Path, Path) && d.Path.size() > best.size()) best = d.Path;
  return best;
}

AnsiString MinimizeName(const AnsiString& Path, TCanvas* Canvas, int MaxWidth)
{
  if (Canvas->TextWidth(Path) <= MaxWidth) return Path;
  // Drop whole folders after the first '/' until the rest fits.
  size_t cut = 1;
  for (;;) {
    size_t next = Path.find('/', cut);
    if (next == AnsiString::npos) break;
    AnsiString shorter = "/..." + Path.substr(next);
    if (Canvas->TextWidth(shorter) <= MaxWidth) return shorter;
    cut = next + 1;
  }
  return "/.../" + SysUtils::ExtractFileName(Path);
}

}  // namespace FileCtrls

// ---- TDirectoryListBox ---------------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(17);
  SetBounds(GetLeft(), GetTop(), 145, 97);
  AnsiString start = SysUtils::GetCurrentDir();
  try {
    SetDirectory(start.empty() ? AnsiString("/") : start);
  } catch (const EInOutError&) {
    SetDirectory("/");
  }
}

TDirectoryListBox::~TDirectoryListBox() { SetDirLabel(nullptr); }

void TDirectoryListBox::SetDirectory(const AnsiString& Value)
{
  AnsiString dir = SysUtils::ExcludeTrailingPathDelimiter(SysUtils::ExpandFileName(Value));
  if (dir.empty()) dir = "/";
  TFileDialogModel listing(false);
  if (!listing.SetFolder(dir)) throw EInOutError("无法打开文件夹 " + dir);
  FDirectory = dir;
  // The path down from the drive, then the sub-folders.
  FPaths.clear();
  FReadable.clear();
  AnsiString drive = FileCtrls::DriveOf(dir, FileCtrls::Drives());
  FPaths.push_back(drive);
  for (size_t at = drive.size() + (drive == "/" ? 0 : 1); at < dir.size();) {
    size_t slash = dir.find('/', at);
    if (slash == AnsiString::npos) slash = dir.size();
    if (slash > at) FPaths.push_back(dir.substr(0, slash));
    at = slash + 1;
  }
  FReadable.assign(FPaths.size(), true);
  FOpenLevels = int(FPaths.size());
  for (const TFileEntry& e : listing.GetEntries()) {
    if (!e.Folder || e.Name == "..") continue;
    FPaths.push_back(SysUtils::IncludeTrailingPathDelimiter(dir) + e.Name);
    FReadable.push_back(e.Representable);
  }
  Fill();
  ShowLabel();
  if (OnChange) OnChange(this);
}

void TDirectoryListBox::Fill()
{
  TStrings* lines = GetItems();
  lines->BeginUpdate();
  lines->Clear();
  for (size_t i = 0; i < FPaths.size(); ++i) lines->Add(i == 0 ? FPaths[0] : SysUtils::ExtractFileName(FPaths[i]));
  lines->EndUpdate();
  SetItemIndex(FOpenLevels - 1);
}

AnsiString TDirectoryListBox::GetDrive() const { return FPaths.empty() ? AnsiString("/") : FPaths[0]; }

void TDirectoryListBox::SetDrive(const AnsiString& Value)
{
  if (Value != GetDrive()) SetDirectory(Value);
}

AnsiString TDirectoryListBox::GetItemPath(int Index) const
{
  return Index >= 0 && Index < int(FPaths.size()) ? FPaths[size_t(Index)] : AnsiString();
}

void TDirectoryListBox::OpenCurrent()
{
  int i = GetItemIndex();
  if (i < 0 || i >= int(FPaths.size())) return;
  if (!FReadable[size_t(i)]) {
    MessageSeam::Show(TFileDialogModel::NotRepresentableText(FPaths[size_t(i)]), "选择目录", MB_OK | MB_ICONWARNING);
    return;
  }
  SetDirectory(FPaths[size_t(i)]);
}

void TDirectoryListBox::DblClick()
{
  TCustomListBox::DblClick();
  OpenCurrent();
}

void TDirectoryListBox::KeyPress(char& Key)
{
  TCustomListBox::KeyPress(Key);
  if (Key == '\r') {
    OpenCurrent();
    Key = 0;
  }
}

void TDirectoryListBox::SetDirLabel(TLabel* Value)
{
  if (FDirLabel == Value) return;
  if (FDirLabel) FDirLabel->RemoveFreeNotification(this);
  FDirLabel = Value;
  if (Value) Value->FreeNotification(this);
  ShowLabel();
}

void TDirectoryListBox::ShowLabel()
{
  if (!FDirLabel) return;
  TCanvas measure;
  HDC dc = Windows::CreateCompatibleDC(nullptr);
  measure.SetHandle(dc);
  measure.GetFont()->Assign(FDirLabel->GetFont());
  AnsiString shown = FileCtrls::MinimizeName(FDirectory, &measure, FDirLabel->GetWidth());
  measure.SetHandle(nullptr);
  Windows::DeleteDC(dc);
  FDirLabel->SetCaption(shown);
}

void TDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDirLabel) FDirLabel = nullptr;
}

void TDirectoryListBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  TCanvas* c = GetCanvas();
  c->FillRect(Rect);
  if (Index < 0 || Index >= int(FPaths.size())) return;
  // The path's folders step in one level each; the sub-folders one more.
  int level = Index < FOpenLevels ? Index : FOpenLevels;
  int x = Rect.left + 2 + level * 8, y = Rect.top + 2;
  TColor brush = c->GetBrush()->GetColor();
  c->GetPen()->SetColor(TColor(0x00308AB8));
  c->GetBrush()->SetColor(Index < FOpenLevels ? TColor(0x0099EEFF) : TColor(0x0066DDFF));
  c->Rectangle(x, y + 2, x + 15, y + 12);
  c->Rectangle(x, y, x + 6, y + 3);
  c->GetBrush()->SetColor(brush);
  c->GetBrush()->SetStyle(bsClear);
  if (!FReadable[size_t(Index)] && !State.Contains(odSelected)) c->GetFont()->SetColor(clGrayText);
  c->TextOut(x + 19, Rect.top + 1, GetItems()->GetStrings(Index));
  c->GetBrush()->SetStyle(bsSolid);
}

// ---- TDriveComboBox ------------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
  SetStyle(csDropDownList);
  SetBounds(GetLeft(), GetTop(), 145, 21);
  Refresh();
}

TDriveComboBox::~TDriveComboBox() { SetDirList(nullptr); }

void TDriveComboBox::Refresh()
{
  AnsiString current = FDrives.empty() ? AnsiString() : GetDrive();
  FDrives = FileCtrls::Drives();
  TStrings* lines = GetItems();
  lines->BeginUpdate();
  lines->Clear();
  for (const TDriveInfo& d : FDrives) lines->Add(d.Caption);
  lines->EndUpdate();
  SetDrive(current.empty() ? SysUtils::GetCurrentDir() : current);
}

AnsiString TDriveComboBox::GetDrive() const
{
  int i = const_cast<TDriveComboBox*>(this)->GetItemIndex();
  return i >= 0 && i < int(FDrives.size()) ? FDrives[size_t(i)].Path : AnsiString("/");
}

void TDriveComboBox::SetDrive(const AnsiString& Value)
{
  AnsiString drive = FileCtrls::DriveOf(SysUtils::ExcludeTrailingPathDelimiter(Value), FDrives);
  for (size_t i = 0; i < FDrives.size(); ++i)
    if (FDrives[i].Path == drive && GetItemIndex() != int(i)) {
      SetItemIndex(int(i));
      Change();
    }
}

void TDriveComboBox::Change()
{
  TCustomComboBox::Change();
  if (FDirList) FDirList->SetDrive(GetDrive());
}

void TDriveComboBox::SetDirList(TDirectoryListBox* Value)
{
  if (FDirList == Value) return;
  if (FDirList) FDirList->RemoveFreeNotification(this);
  FDirList = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetDrive(GetDrive());
  }
}

void TDriveComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDirList) FDirList = nullptr;
}
