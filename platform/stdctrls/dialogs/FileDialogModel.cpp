#include "platform/stdctrls/dialogs/FileDialogModel.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringUtils.h"

namespace FileDialogModel {

std::vector<AnsiString> SplitNames(const AnsiString& Typed)
{
  AnsiString t = SysUtils::Trim(Typed);
  if (t.empty() || t[0] != '"') return t.empty() ? std::vector<AnsiString>{} : std::vector<AnsiString>{t};
  std::vector<AnsiString> out;
  AnsiString piece;
  bool quoted = false;
  for (int i = 1; i <= int(t.size());) {
    int n = System::CharLength(t, i);
    char c = t[size_t(i - 1)];
    if (n == 1 && c == '"') {
      if (quoted && !piece.empty()) out.push_back(piece);
      piece.clear();
      quoted = !quoted;
    } else if (quoted) {
      piece.append(t, size_t(i - 1), size_t(n));
    }
    i += n;
  }
  if (quoted && !SysUtils::Trim(piece).empty()) out.push_back(SysUtils::Trim(piece));  // an unclosed last name
  return out;
}

bool HasWildcards(const AnsiString& Name)
{
  for (int i = 1; i <= int(Name.size()); i += System::CharLength(Name, i))
    if (System::CharLength(Name, i) == 1 && (Name[size_t(i - 1)] == '*' || Name[size_t(i - 1)] == '?')) return true;
  return false;
}

AnsiString AddDefaultExt(const AnsiString& Name, const AnsiString& DefaultExt)
{
  AnsiString ext = DefaultExt;
  while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  AnsiString last = SysUtils::ExtractFileName(Name);
  if (ext.empty() || last.empty()) return Name;
  // "报告." asks for no extension at all.
  if (last.back() == '.') return Name.substr(0, Name.size() - 1);
  if (!SysUtils::ExtractFileExt(Name).empty()) return Name;
  return Name + "." + ext;
}

}  // namespace FileDialogModel

namespace {

using namespace FileDialogModel;

std::string Disk(const AnsiString& Name) { return System::AnsiToUtf8(Name); }

bool IsFolder(const AnsiString& Name)
{
  struct stat st;
  return ::stat(Disk(Name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const AnsiString& Name)
{
  struct stat st;
  return ::stat(Disk(Name).c_str(), &st) == 0;
}

bool ReadOnlyFile(const AnsiString& Name)
{
  struct stat st;
  return ::stat(Disk(Name).c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

int Say(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  return MessageSeam::Show(Text, Caption, Flags);
}

}  // namespace

AnsiString TFileDialogModel::NotRepresentableText(const AnsiString& Name)
{
  return Name + "\r\n文件名中含有本系统无法显示的字符，不能打开。\r\n请在文件管理器中把它改名后再试。";
}

void TFileDialogModel::SetFilter(const AnsiString& Filter)
{
  FFilters = FileFilters::ParseFilter(Filter);
  FTypedMasks.clear();
  FFilterIndex = std::clamp(FFilterIndex, 1, std::max<int>(1, int(FFilters.size())));
  Refresh();
}

void TFileDialogModel::SetFilterIndex(int Value)
{
  FFilterIndex = std::clamp(Value, 1, std::max<int>(1, int(FFilters.size())));
  FTypedMasks.clear();
  Refresh();
}

std::vector<AnsiString> TFileDialogModel::ActiveMasks() const
{
  if (!FTypedMasks.empty()) return FTypedMasks;
  if (FFilters.empty()) return {};
  return FFilters[size_t(FFilterIndex - 1)].Masks;
}

bool TFileDialogModel::SetFolder(const AnsiString& Folder)
{
  AnsiString full = SysUtils::IncludeTrailingPathDelimiter(SysUtils::ExpandFileName(Folder.empty() ? "." : Folder));
  DIR* d = ::opendir(Disk(full).c_str());
  if (!d) return false;
  ::closedir(d);
  FFolder = full;
  FTypedMasks.clear();
  Refresh();
  return true;
}

void TFileDialogModel::Refresh()
{
  FEntries.clear();
  if (FFolder.empty()) return;
  std::string diskFolder = Disk(FFolder);
  DIR* d = ::opendir(diskFolder.c_str());
  if (!d) return;
  std::vector<AnsiString> masks = ActiveMasks();
  std::vector<TFileEntry> folders, files;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat st;
    if (::stat((diskFolder + name).c_str(), &st) != 0) continue;  // a dangling link
    TFileEntry entry;
    entry.DiskName = name;
    entry.Name = System::Utf8ToAnsi(name);
    entry.Representable = System::AnsiToUtf8(entry.Name) == name;
    entry.Folder = S_ISDIR(st.st_mode);
    entry.ReadOnly = (st.st_mode & 0222) == 0;
    if (entry.Folder)
      folders.push_back(std::move(entry));
    else if (FileFilters::MatchesAny(entry.Name, masks))
      files.push_back(std::move(entry));
  }
  ::closedir(d);
  auto byName = [](const TFileEntry& a, const TFileEntry& b) { return SysUtils::AnsiCompareText(a.Name, b.Name) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  if (FFolder != "/") {
    TFileEntry up;
    up.Name = up.DiskName = "..";
    up.Folder = true;
    FEntries.push_back(up);
  }
  FEntries.insert(FEntries.end(), folders.begin(), folders.end());
  FEntries.insert(FEntries.end(), files.begin(), files.end());
}

const TFileEntry* TFileDialogModel::FindEntry(const AnsiString& Name) const
{
  // A listed name that is not its file's true name comes first: a file really named with "?"
  // beside it must not be opened in its place.
  const TFileEntry* found = nullptr;
  for (const TFileEntry& e : FEntries)
    if (e.Name == Name && (!found || !e.Representable)) found = &e;
  return found;
}

TFileDialogModel::TResult TFileDialogModel::AcceptEntry(int Index)
{
  if (Index < 0 || Index >= int(FEntries.size())) return TResult::Refused;
  const TFileEntry e = FEntries[size_t(Index)];
  if (!e.Representable) {
    Say(NotRepresentableText(e.Name), Title, MB_OK | MB_ICONWARNING);
    return TResult::Refused;
  }
  if (e.Folder) {
    AnsiString target =
        e.Name == ".." ? SysUtils::ExtractFilePath(SysUtils::ExcludeTrailingPathDelimiter(FFolder)) : FFolder + e.Name;
    return SetFolder(target) ? TResult::Entered : TResult::Refused;
  }
  return Choose({e.Name});
}

TFileDialogModel::TResult TFileDialogModel::Accept(const AnsiString& Typed)
{
  std::vector<AnsiString> names =
      Options.Contains(ofAllowMultiSelect) ? SplitNames(Typed) : std::vector<AnsiString>{SysUtils::Trim(Typed)};
  if (names.empty() || names[0].empty()) return TResult::Refused;
  if (names.size() == 1) {
    const AnsiString& one = names[0];
    // A listed name that is not its file's true name (picked from the list, then confirmed).
    if (const TFileEntry* e = FindEntry(one); e && !e->Representable) {
      Say(NotRepresentableText(one), Title, MB_OK | MB_ICONWARNING);
      return TResult::Refused;
    }
    if (!FindEntry(one) && HasWildcards(one)) {
      FTypedMasks.clear();
      for (const TFileFilter& f : FileFilters::ParseFilter("|" + one)) FTypedMasks = f.Masks;
      Refresh();
      return TResult::Masked;
    }
    AnsiString full = SysUtils::ExpandFileName(one[0] == '/' ? one : FFolder + one);
    if (IsFolder(full)) return SetFolder(full) ? TResult::Entered : TResult::Refused;
  }
  return Choose(names);
}

bool TFileDialogModel::CheckFile(AnsiString& Full)
{
  for (unsigned char c : Full)
    if (c < 0x20) {
      Say(Full + "\r\n文件名无效。", Title, MB_OK | MB_ICONWARNING);
      return false;
    }
  // An open dialog takes an existing name as it stands; a save dialog always adds the extension.
  if (FSave || !Exists(Full)) Full = AddDefaultExt(Full, DefaultExt);
  AnsiString folder = SysUtils::ExtractFileDir(Full);
  if ((Options.Contains(ofPathMustExist) || Options.Contains(ofFileMustExist)) && !IsFolder(folder)) {
    Say(Full + "\r\n路径不存在。\r\n请检查路径是否正确。", Title, MB_OK | MB_ICONWARNING);
    return false;
  }
  if (IsFolder(Full)) {
    Say(Full + "\r\n是一个文件夹，请选择文件。", Title, MB_OK | MB_ICONWARNING);
    return false;
  }
  bool exists = Exists(Full);
  if (!exists && Options.Contains(ofFileMustExist)) {
    Say(Full + "\r\n找不到文件。\r\n请检查文件名是否正确。", Title, MB_OK | MB_ICONWARNING);
    return false;
  }
  if (exists && Options.Contains(ofNoReadOnlyReturn) && ReadOnlyFile(Full)) {
    Say(Full + "\r\n此文件为只读文件。\r\n请使用其他文件名。", Title, MB_OK | MB_ICONWARNING);
    return false;
  }
  if (FSave && exists && Options.Contains(ofOverwritePrompt) &&
      Say(Full + " 已存在。\r\n要替换它吗?", Title, MB_YESNO | MB_ICONWARNING) != IDYES)
    return false;
  if (!FSave && !exists && Options.Contains(ofCreatePrompt) &&
      Say(Full + "\r\n该文件不存在。\r\n要创建该文件吗?", Title, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  return true;
}

TFileDialogModel::TResult TFileDialogModel::Choose(const std::vector<AnsiString>& Names)
{
  std::vector<AnsiString> files;
  for (const AnsiString& n : Names) {
    if (const TFileEntry* e = FindEntry(n); e && !e->Representable) {
      Say(NotRepresentableText(n), Title, MB_OK | MB_ICONWARNING);
      return TResult::Refused;
    }
    AnsiString full = SysUtils::ExpandFileName(n[0] == '/' ? n : FFolder + n);
    if (!CheckFile(full)) return TResult::Refused;
    files.push_back(full);
  }
  FFiles = std::move(files);
  AnsiString ext = DefaultExt;
  while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  AnsiString chosenExt = SysUtils::ExtractFileExt(FFiles[0]);
  FExtensionDifferent = !ext.empty() && SysUtils::CompareText(chosenExt, "." + ext) != 0;
  return TResult::Chosen;
}
