// What the open and save dialogs decide, apart from their window: the folder shown and its
// listing under the chosen filter, and the check of what the user typed or picked (folders
// entered, masks applied, the default extension added, must-exist, the overwrite and create
// prompts). The dialog forms drive it; tests drive it headless.
//
// Names are CP936 here and UTF-8 on disk. A file whose UTF-8 name CP936 cannot hold is listed
// under its CP936 form (with "?" in the place of the missing characters) but refused when
// chosen, with a message: it is never opened under the "?" name. Messages and prompts go
// through the message seam of platform/rtl.
#pragma once

#include <string>
#include <vector>

#include "platform/classes/ClassDecl.h"
#include "platform/stdctrls/dialogs/FileFilters.h"

PELTO_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
           ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
           ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
           ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing)
PELTO_SET(TOpenOptions, TOpenOption)

struct TFileEntry {
  AnsiString Name;       // CP936, "?" for what CP936 lacks
  std::string DiskName;  // the name as it is on disk (UTF-8)
  bool Folder = false;
  bool ReadOnly = false;
  bool Representable = true;  // Name is the file's true name
};

class TFileDialogModel {
public:
  // Save dialogs prompt before overwriting; open dialogs before creating.
  explicit TFileDialogModel(bool ASave) : FSave(ASave) {}

  TOpenOptions Options;
  // Added (without a leading dot) to a chosen name that has no extension.
  AnsiString DefaultExt;
  // The caption of the messages and prompts.
  AnsiString Title;

  // ---- Filter
  void SetFilter(const AnsiString& Filter);
  const std::vector<TFileFilter>& GetFilters() const { return FFilters; }
  // 1-based, clipped to the filters there are; re-lists the folder.
  int GetFilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value);

  // ---- Folder
  // The folder shown, with a trailing '/'.
  const AnsiString& GetFolder() const { return FFolder; }
  // Shows Folder (relative names from the current folder); false, nothing changed, when it is
  // not a folder that can be read.
  bool SetFolder(const AnsiString& Folder);
  // Folders first (".." unless at the root), then the files the filter takes, each group by
  // name; names starting with "." are left out.
  const std::vector<TFileEntry>& GetEntries() const { return FEntries; }
  void Refresh();

  // ---- Choosing
  enum class TResult {
    Chosen,   // the names are in Files
    Entered,  // a folder was typed or picked: it is shown now
    Masked,   // a mask was typed: the listing uses it now
    Refused   // a message said why (or a prompt was answered No); nothing changed
  };
  // What the user typed in the name box: one name, or with ofAllowMultiSelect a list of names
  // in double quotes ("\"a.ht\" \"b.ht\""); each may be relative to the folder shown or
  // absolute.
  TResult Accept(const AnsiString& Typed);
  // The entry at Index picked (double click, Enter on the list).
  TResult AcceptEntry(int Index);
  // The chosen files, full names, after Chosen.
  const std::vector<AnsiString>& GetFiles() const { return FFiles; }
  // Whether the chosen name's extension differs from DefaultExt (ofExtensionDifferent).
  bool GetExtensionDifferent() const { return FExtensionDifferent; }

  // The messages' texts, for the dialogs and the tests.
  static AnsiString NotRepresentableText(const AnsiString& Name);

private:
  TResult Choose(const std::vector<AnsiString>& Names);
  // Checks one full name; false after a message or a prompt answered No.
  bool CheckFile(AnsiString& Full);
  const TFileEntry* FindEntry(const AnsiString& Name) const;
  std::vector<AnsiString> ActiveMasks() const;

  bool FSave;
  std::vector<TFileFilter> FFilters;
  int FFilterIndex = 1;
  std::vector<AnsiString> FTypedMasks;  // a typed mask replaces the filter until the next change
  AnsiString FFolder;
  std::vector<TFileEntry> FEntries;
  std::vector<AnsiString> FFiles;
  bool FExtensionDifferent = false;
};

namespace FileDialogModel {
// "a b" -> {"a b"}; "\"a\" \"b c\"" -> {"a", "b c"}: the names of a multiple choice.
std::vector<AnsiString> SplitNames(const AnsiString& Typed);
// Whether the text holds a whole-character '*' or '?'.
bool HasWildcards(const AnsiString& Name);
// DefaultExt without its leading dot added when Name's last part has no extension.
AnsiString AddDefaultExt(const AnsiString& Name, const AnsiString& DefaultExt);
}  // namespace FileDialogModel
