#include "platform/rtl/IniFiles.h"

#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

namespace IniFiles {

// The parsed file: the lines before the first section, then the sections in file order. A
// line that was not changed is written back from its raw bytes.
class TIniDocument {
public:
  struct TLine {
    AnsiString Raw;
    bool IsKey = false;
    AnsiString Key;    // stripped of blanks
    AnsiString Value;  // the bytes after the first '='
  };
  struct TSection {
    AnsiString Name;
    AnsiString Raw;  // the header line
    std::vector<TLine> Lines;
  };

  void Parse(const AnsiString& Text);
  AnsiString Serialize() const;
  void Clear()
  {
    FPreamble.clear();
    FSections.clear();
  }

  const TSection* FindSection(const AnsiString& Name) const;
  TSection* FindSection(const AnsiString& Name)
  {
    return const_cast<TSection*>(static_cast<const TIniDocument*>(this)->FindSection(Name));
  }
  const TLine* FindKey(const AnsiString& Section, const AnsiString& Key) const;
  const std::vector<TSection>& Sections() const { return FSections; }

  void Write(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value);
  bool EraseSection(const AnsiString& Section);
  bool DeleteKey(const AnsiString& Section, const AnsiString& Key);

private:
  std::vector<TLine> FPreamble;
  std::vector<TSection> FSections;
  AnsiString FLineBreak = "\r\n";
};

namespace {

// The 0-based offset of byte c outside double-byte characters, from `from`; npos if none.
size_t FindByte(const AnsiString& s, char c, size_t from = 0)
{
  for (size_t i = from; i < s.size(); ++i) {
    if (s[i] == c) return i;
    if (System::IsLeadByte(s[i])) ++i;
  }
  return AnsiString::npos;
}

bool HasLineBreak(const AnsiString& s) { return s.find_first_of("\r\n") != AnsiString::npos; }

// Section header: "[name]" after optional blanks; answers the name stripped of blanks.
bool ParseHeader(const AnsiString& line, AnsiString& name)
{
  size_t start = line.find_first_not_of(" \t");
  if (start == AnsiString::npos || line[start] != '[') return false;
  size_t close = FindByte(line, ']', start + 1);
  if (close == AnsiString::npos) return false;
  name = SysUtils::Trim(line.substr(start + 1, close - start - 1));
  return true;
}

void CheckSection(const AnsiString& Section)
{
  AnsiString name = SysUtils::Trim(Section);
  if (name.empty() || HasLineBreak(name) || FindByte(name, ']') != AnsiString::npos)
    throw EIniFileException("Invalid section name \"" + Section + "\"");
}

void CheckKey(const AnsiString& Ident)
{
  AnsiString key = SysUtils::Trim(Ident);
  if (key.empty() || HasLineBreak(key) || key.find('=') != AnsiString::npos || key[0] == '[')
    throw EIniFileException("Invalid key name \"" + Ident + "\"");
}

// A line break can't be stored in a line: refused rather than cut or altered.
void CheckValue(const AnsiString& Ident, const AnsiString& Value)
{
  if (HasLineBreak(Value)) throw EIniFileException("The value of \"" + Ident + "\" holds a line break");
}

}  // namespace

void TIniDocument::Parse(const AnsiString& Text)
{
  Clear();
  FLineBreak = "\r\n";
  size_t firstBreak = Text.find_first_of("\r\n");
  if (firstBreak != AnsiString::npos && Text[firstBreak] == '\n') FLineBreak = "\n";
  size_t start = 0;
  const size_t n = Text.size();
  while (start < n) {
    size_t end = start;
    while (end < n && Text[end] != '\r' && Text[end] != '\n') ++end;
    AnsiString raw = Text.substr(start, end - start);
    if (end < n && Text[end++] == '\r' && end < n && Text[end] == '\n') ++end;
    start = end;

    AnsiString name;
    if (ParseHeader(raw, name)) {
      FSections.push_back(TSection{name, raw, {}});
      continue;
    }
    TLine line;
    line.Raw = raw;
    size_t eq = raw.find('=');  // '=' is never a trail byte
    if (eq != AnsiString::npos) {
      line.Key = SysUtils::Trim(raw.substr(0, eq));
      line.IsKey = !line.Key.empty();
      line.Value = raw.substr(eq + 1);
    }
    (FSections.empty() ? FPreamble : FSections.back().Lines).push_back(std::move(line));
  }
}

AnsiString TIniDocument::Serialize() const
{
  AnsiString text;
  auto put = [&](const AnsiString& raw) {
    text += raw;
    text += FLineBreak;
  };
  for (const TLine& line : FPreamble) put(line.Raw);
  for (const TSection& section : FSections) {
    put(section.Raw);
    for (const TLine& line : section.Lines) put(line.Raw);
  }
  return text;
}

const TIniDocument::TSection* TIniDocument::FindSection(const AnsiString& Name) const
{
  AnsiString name = SysUtils::Trim(Name);
  for (const TSection& section : FSections)
    if (SysUtils::AnsiSameText(section.Name, name)) return &section;
  return nullptr;
}

const TIniDocument::TLine* TIniDocument::FindKey(const AnsiString& Section, const AnsiString& Key) const
{
  const TSection* section = FindSection(Section);
  if (!section) return nullptr;
  AnsiString key = SysUtils::Trim(Key);
  for (const TLine& line : section->Lines)
    if (line.IsKey && SysUtils::AnsiSameText(line.Key, key)) return &line;
  return nullptr;
}

void TIniDocument::Write(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value)
{
  CheckSection(Section);
  CheckKey(Key);
  CheckValue(Key, Value);
  AnsiString key = SysUtils::Trim(Key);
  TSection* section = FindSection(Section);
  if (!section) {
    AnsiString name = SysUtils::Trim(Section);
    FSections.push_back(TSection{name, "[" + name + "]", {}});
    section = &FSections.back();
  }
  TLine* lastKey = nullptr;
  for (TLine& line : section->Lines) {
    if (!line.IsKey) continue;
    if (SysUtils::AnsiSameText(line.Key, key)) {
      line.Value = Value;
      line.Raw = line.Key + "=" + Value;
      return;
    }
    lastKey = &line;
  }
  // A new key goes after the section's last key, so comments and blank lines that close the
  // section stay below it.
  auto at = lastKey ? section->Lines.begin() + (lastKey - section->Lines.data()) + 1 : section->Lines.begin();
  section->Lines.insert(at, TLine{key + "=" + Value, true, key, Value});
}

bool TIniDocument::EraseSection(const AnsiString& Section)
{
  AnsiString name = SysUtils::Trim(Section);
  bool erased = false;
  for (size_t i = FSections.size(); i-- > 0;) {
    if (SysUtils::AnsiSameText(FSections[i].Name, name)) {
      FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(i));
      erased = true;
    }
  }
  return erased;
}

bool TIniDocument::DeleteKey(const AnsiString& Section, const AnsiString& Key)
{
  TSection* section = FindSection(Section);
  if (!section) return false;
  AnsiString key = SysUtils::Trim(Key);
  bool deleted = false;
  for (size_t i = section->Lines.size(); i-- > 0;) {
    const TLine& line = section->Lines[i];
    if (line.IsKey && SysUtils::AnsiSameText(line.Key, key)) {
      section->Lines.erase(section->Lines.begin() + static_cast<std::ptrdiff_t>(i));
      deleted = true;
    }
  }
  return deleted;
}

namespace {

// The reads shared by both kinds of file, over a parsed document.
AnsiString ReadStringFrom(const TIniDocument& doc, const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Default)
{
  const TIniDocument::TLine* line = doc.FindKey(Section, Ident);
  return line ? line->Value : Default;
}

void ReadSectionFrom(const TIniDocument& doc, const AnsiString& Section, TStrings* Strings, bool withValues)
{
  TUpdateGuard lock(*Strings);
  Strings->Clear();
  if (const TIniDocument::TSection* section = doc.FindSection(Section))
    for (const TIniDocument::TLine& line : section->Lines)
      if (line.IsKey) Strings->Add(withValues ? line.Key + "=" + line.Value : line.Key);
}

void ReadSectionsFrom(const TIniDocument& doc, TStrings* Strings)
{
  TUpdateGuard lock(*Strings);
  Strings->Clear();
  for (const TIniDocument::TSection& section : doc.Sections()) Strings->Add(section.Name);
}

}  // namespace

// Writes the document to the file in one save; the file is unchanged when that fails.
void SaveDocument(const AnsiString& FileName, const TIniDocument& Document)
{
  if (FileName.empty()) throw EIniFileException("Unable to write to " + FileName);
  try {
    SaveSeam::SaveFile(FileName, Document.Serialize());
  } catch (const EFCreateError&) {
    throw EIniFileException("Unable to write to " + FileName);
  }
}

}  // namespace IniFiles

using IniFiles::TIniDocument;

// ---- TCustomIniFile ---------------------------------------------------------------------------

Integer TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default)
{
  AnsiString s = ReadString(Section, Ident, AnsiString());
  return s.empty() ? Default : SysUtils::StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value)
{
  WriteString(Section, Ident, SysUtils::IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default)
{
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default)
{
  double value = Default;
  AnsiString s = ReadString(Section, Ident, AnsiString());
  if (!s.empty() && SysUtils::TryStrToFloat(s, value)) return value;
  return Default;
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value)
{
  WriteString(Section, Ident, SysUtils::FloatToStr(Value));
}

namespace {

// Reads a date, date-time or time value; an empty or unreadable one gives Default.
TDateTime ReadParsedDate(TCustomIniFile& ini, const AnsiString& Section, const AnsiString& Ident, TDateTime Default,
                         bool (*parse)(const AnsiString&, TDateTime&))
{
  TDateTime value = Default;
  AnsiString s = ini.ReadString(Section, Ident, AnsiString());
  if (!s.empty() && parse(s, value)) return value;
  return Default;
}

}  // namespace

TDateTime TCustomIniFile::ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
  return ReadParsedDate(*this, Section, Ident, Default, SysUtils::TryStrToDate);
}

void TCustomIniFile::WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
  WriteString(Section, Ident, SysUtils::DateToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
  return ReadParsedDate(*this, Section, Ident, Default, SysUtils::TryStrToDateTime);
}

void TCustomIniFile::WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
  WriteString(Section, Ident, SysUtils::DateTimeToStr(Value));
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
  return ReadParsedDate(*this, Section, Ident, Default, SysUtils::TryStrToTime);
}

void TCustomIniFile::WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
  WriteString(Section, Ident, SysUtils::TimeToStr(Value));
}

bool TCustomIniFile::SectionExists(const AnsiString& Section)
{
  TStringList sections;
  ReadSections(&sections);
  return sections.IndexOf(SysUtils::Trim(Section)) >= 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(SysUtils::Trim(Ident)) >= 0;
}

// ---- TIniFile ---------------------------------------------------------------------------------

TIniFile::TIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) {}
TIniFile::~TIniFile() = default;

std::unique_ptr<TIniDocument> TIniFile::Load() const
{
  auto doc = std::make_unique<TIniDocument>();
  AnsiString text;
  if (SysUtils::LoadFileBytes(FFileName, text)) doc->Parse(text);
  return doc;
}

void TIniFile::Save(const TIniDocument& Document) const { IniFiles::SaveDocument(FFileName, Document); }

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
  return IniFiles::ReadStringFrom(*Load(), Section, Ident, Default);
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
  auto doc = Load();
  doc->Write(Section, Ident, Value);
  Save(*doc);
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings)
{
  IniFiles::ReadSectionFrom(*Load(), Section, Strings, false);
}

void TIniFile::ReadSections(TStrings* Strings) { IniFiles::ReadSectionsFrom(*Load(), Strings); }

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
  IniFiles::ReadSectionFrom(*Load(), Section, Strings, true);
}

bool TIniFile::SectionExists(const AnsiString& Section) { return Load()->FindSection(Section) != nullptr; }

bool TIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
  return Load()->FindKey(Section, Ident) != nullptr;
}

void TIniFile::EraseSection(const AnsiString& Section)
{
  auto doc = Load();
  if (doc->EraseSection(Section)) Save(*doc);
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
  auto doc = Load();
  if (doc->DeleteKey(Section, Ident)) Save(*doc);
}

// ---- TMemIniFile ------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const AnsiString& FileName)
    : TCustomIniFile(FileName), FDocument(std::make_unique<TIniDocument>())
{
  Rename(FileName, true);
}

TMemIniFile::~TMemIniFile() = default;

AnsiString TMemIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
  return IniFiles::ReadStringFrom(*FDocument, Section, Ident, Default);
}

void TMemIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
  FDocument->Write(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const AnsiString& Section, TStrings* Strings)
{
  IniFiles::ReadSectionFrom(*FDocument, Section, Strings, false);
}

void TMemIniFile::ReadSections(TStrings* Strings) { IniFiles::ReadSectionsFrom(*FDocument, Strings); }

void TMemIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
  IniFiles::ReadSectionFrom(*FDocument, Section, Strings, true);
}

bool TMemIniFile::SectionExists(const AnsiString& Section) { return FDocument->FindSection(Section) != nullptr; }

bool TMemIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
  return FDocument->FindKey(Section, Ident) != nullptr;
}

void TMemIniFile::EraseSection(const AnsiString& Section) { FDocument->EraseSection(Section); }

void TMemIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
  FDocument->DeleteKey(Section, Ident);
}

void TMemIniFile::UpdateFile() { IniFiles::SaveDocument(FFileName, *FDocument); }

void TMemIniFile::Clear() { FDocument->Clear(); }

void TMemIniFile::GetStrings(TStrings* List) const { List->SetText(FDocument->Serialize()); }

void TMemIniFile::SetStrings(TStrings* List) { FDocument->Parse(List->GetText()); }

void TMemIniFile::Rename(const AnsiString& FileName, bool Reload)
{
  FFileName = FileName;
  if (!Reload) return;
  AnsiString text;
  if (!FileName.empty() && SysUtils::LoadFileBytes(FileName, text))
    FDocument->Parse(text);
  else
    FDocument->Clear();
}
