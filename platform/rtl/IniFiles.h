// Settings files of sections and "key=value" lines: TIniFile works on the file itself (every
// write reaches it at once), TMemIniFile on a copy in memory that UpdateFile writes back.
// TCustomIniFile is the common interface, which other settings stores (the registry's) offer
// too.
//
// Section and key names are compared without regard to ASCII case (double-byte characters
// compare as they are) and stripped of surrounding blanks. Values are kept byte for byte:
// ReadString gives back exactly what WriteString stored, blanks and quotes included; a value
// is the text after the first '=' of its line. Lines that are neither section headers nor
// keys (comments, blank lines) are kept as they are when the file is rewritten.
//
// What raises: a write whose value holds a line break (CR or LF), whose key is empty, holds '='
// or a line break or starts with '[', or whose section name is empty or holds ']' or a line
// break, raises EIniFileException before anything changes; a file that can't be written raises
// EIniFileException "Unable to write to <file>". A missing file or key is not an error: reads
// answer the default.
#pragma once

#include <memory>

#include "platform/rtl/System.h"

class TStrings;

namespace IniFiles {
class TIniDocument;
}

class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(const AnsiString& FileName) : FFileName(FileName) {}
  ~TCustomIniFile() override = default;
  const AnsiString& GetFileName() const { return FFileName; }

  virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) = 0;
  virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) = 0;
  // Decimal or hexadecimal ("$1F", "0x1F"); the default when missing or not a number.
  virtual Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default);
  virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value);
  // Stored as "1"/"0"; any non-zero number reads as true.
  virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  // Floats, dates and times in the text forms of the current locale; the default when missing
  // or not convertible.
  virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
  virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);
  virtual TDateTime ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
  virtual TDateTime ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
  virtual TDateTime ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);

  // Replace Strings' lines by the keys of Section / the section names / the "key=value" lines
  // of Section, in file order.
  virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) = 0;
  // True when the section is there, even with no keys.
  virtual bool SectionExists(const AnsiString& Section);
  virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);
  // Removing what is not there is not an error.
  virtual void EraseSection(const AnsiString& Section) = 0;
  virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
  virtual void UpdateFile() = 0;

protected:
  AnsiString FFileName;
};

// Reads the file at every call and rewrites it (through a temporary file and a rename) at
// every change, so two objects on one file see each other's writes.
class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(const AnsiString& FileName);
  ~TIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  bool SectionExists(const AnsiString& Section) override;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Nothing to do: every change is in the file already.
  void UpdateFile() override {}

private:
  std::unique_ptr<IniFiles::TIniDocument> Load() const;
  void Save(const IniFiles::TIniDocument& Document) const;
};

// Holds the file in memory: loaded by the constructor (a missing file gives an empty one),
// written back only by UpdateFile. A memory ini file may have no file name (filled through
// SetStrings); UpdateFile then raises EIniFileException.
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(const AnsiString& FileName);
  ~TMemIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  bool SectionExists(const AnsiString& Section) override;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override;

  // Empties the content (the file is untouched until UpdateFile).
  void Clear();
  // The content as lines / replaces the content by the lines of List.
  void GetStrings(TStrings* List) const;
  void SetStrings(TStrings* List);
  // Takes another file name; with Reload the content is read from it (empty when missing).
  void Rename(const AnsiString& FileName, bool Reload);

private:
  std::unique_ptr<IniFiles::TIniDocument> FDocument;
};
