// File-name routines and the file-system queries of the run-time library.
//
// File names are CP936 AnsiStrings; they become UTF-8 only at the OS call. The routines that
// take names apart treat both '/' and '\' as delimiters (names stored by the Windows-era
// program hold '\'), and never one that is the trail byte of a double-byte character. The
// routines that build names add '/'. The OS calls take the name as it is: a '\' there is an
// ordinary character.
//
// None of these raises, except ForceDirectories on an empty name (EInOutError); failures are
// answered as false.
#pragma once

#include "platform/rtl/System.h"

namespace SysUtils {

constexpr char PathDelim = '/';
constexpr char PathSep = ':';

// The folder part with its trailing delimiter ("a/b/c.txt" -> "a/b/"); "" when there is none.
AnsiString ExtractFilePath(const AnsiString& FileName);
// The folder part without its trailing delimiter, except for a root ("/c.txt" -> "/").
AnsiString ExtractFileDir(const AnsiString& FileName);
// The part after the last delimiter.
AnsiString ExtractFileName(const AnsiString& FileName);
// The extension with its dot ("a.tar.gz" -> ".gz"); "" when the name part has no dot.
AnsiString ExtractFileExt(const AnsiString& FileName);
// Replaces the extension (or appends Extension when there is none). Extension includes its
// dot; "" removes the extension.
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);

// True when the byte at 1-based Index is a delimiter and not a trail byte.
bool IsPathDelimiter(const AnsiString& S, int Index);
// Appends '/' unless S already ends with a delimiter.
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
AnsiString IncludeTrailingBackslash(const AnsiString& S);
// Removes one trailing delimiter (a lone "/" stays).
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
AnsiString ExcludeTrailingBackslash(const AnsiString& S);

// The absolute form of FileName (relative to the current folder), with "." and ".." resolved
// and repeated '/' collapsed; only '/' separates here. A trailing '/' is kept.
AnsiString ExpandFileName(const AnsiString& FileName);

// A regular file (or a link to one) exists; false for a folder.
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Directory);
// Creates the folder and every missing parent; true when the folder exists afterwards.
// Raises EInOutError "Unable to create directory" for an empty name.
bool ForceDirectories(const AnsiString& Dir);
// Creates one folder (its parent must exist).
bool CreateDir(const AnsiString& Dir);
// Removes an empty folder.
bool RemoveDir(const AnsiString& Dir);
// Removes a file (not a folder).
bool DeleteFile(const AnsiString& FileName);
// Renames or moves a file or folder; refuses (false) when NewName exists already.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);

// Reads the whole file into Data; false (Data untouched) when it can't be opened or read.
bool LoadFileBytes(const AnsiString& FileName, AnsiString& Data);
// Files are written through platform/rtl/SaveSeam.h, never here.

AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& Dir);

}  // namespace SysUtils
