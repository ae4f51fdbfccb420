// The PDF 1.3 document writer: numbers the page and font objects and writes the whole document
// (header, catalog, information, page tree, fonts, pages, cross-reference table, trailer) to a
// stream in one go.
//
// Object numbers, with F fonts and P pages: 1 catalog, 2 information, 3 page tree, 4 unused;
// font i owns 5i + 5 .. 5i + 9; page j owns 5F + 5 + 2j (dictionary) and 5F + 6 + 2j (content).
//
// Offsets are recorded while writing, so the target stream must report true positions (a file
// or memory stream). Stream errors pass through; nothing else raises.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TStream;
class TMemoryStream;
class TfrxPDFFile;

// Base of the file, its pages and its fonts.
class TfrxPDFElement : public TObject {
public:
  // Records Offset; elements write their objects after calling it.
  virtual void SaveToStream(TStream* Stream);

  Int64 GetOffset() const { return FOffset; }
  Integer GetNumber() const { return FNumber; }
  void SetNumber(Integer Value) { FNumber = Value; }

  // Text followed by CR LF.
  static void WriteLine(TStream* Stream, const AnsiString& Text);
  // Text alone.
  static void Write(TStream* Stream, const AnsiString& Text);

protected:
  Int64 FOffset = 0;
  Integer FNumber = 0;
};

// Text functions shared by the file, its pages and fonts.
class TfrxPDFToolkit : public TObject {
public:
  TfrxPDFToolkit();

  // Text made of ASCII 32..122 unchanged; any other text as an octal-escaped UTF-16 string
  // that starts with UnicodePrefix (naming the language).
  AnsiString PrepareString(const AnsiString& Text) const;

  const AnsiString& GetLangCode() const { return FLangCode; }
  // Also rebuilds UnicodePrefix.
  void SetLangCode(const AnsiString& Value);
  // FE FF 00 1B, the language code, 00 1B.
  const AnsiString& GetUnicodePrefix() const { return FUnicodePrefix; }
  double GetLineHeight() const { return FLineHeight; }
  void SetLineHeight(double Value) { FLineHeight = Value; }

private:
  AnsiString FLangCode;
  AnsiString FUnicodePrefix;
  double FLineHeight = 0;
};

class TfrxPDFPage : public TfrxPDFElement {
public:
  explicit TfrxPDFPage(TfrxPDFFile* PDFFile);
  ~TfrxPDFPage() override;

  // Writes the page dictionary and the content stream (deflated when the file is Compressed).
  void SaveToStream(TStream* Stream) override;

  TfrxPDFFile* GetPDFFile() const { return FPDFFile; }
  // The drawing operators of the page; owned by the page.
  TMemoryStream* GetContent() const { return FContent.get(); }
  // Size in points.
  double GetWidth() const { return FWidth; }
  void SetWidth(double Value) { FWidth = Value; }
  double GetHeight() const { return FHeight; }
  void SetHeight(double Value) { FHeight = Value; }
  // Offsets in points added to the page's x and y coordinates.
  double GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(double Value) { FMarginLeft = Value; }
  double GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(double Value) { FMarginTop = Value; }

private:
  TfrxPDFFile* FPDFFile;
  std::unique_ptr<TMemoryStream> FContent;
  double FWidth = 0;
  double FHeight = 0;
  double FMarginLeft = 0;
  double FMarginTop = 0;
};

class TfrxPDFFile : public TfrxPDFElement {
public:
  TfrxPDFFile();
  ~TfrxPDFFile() override;

  // Frees all pages and fonts and empties the cross-reference table.
  void Clear();
  // A new page for a report page of WidthPx x HeightPx pixels with the given margins in
  // millimetres: Width and Height are the pixels x 0.75, MarginLeft and MarginTop the margins
  // x 0.5. Owned by the file.
  TfrxPDFPage* AddPage(double WidthPx, double HeightPx, double LeftMarginMm, double TopMarginMm);
  // Appends a font object (which writes its own objects from its Number and FontsBase); its
  // Number becomes index x 5 + 1. Answers the index. Owned by the file.
  int AppendFont(std::unique_ptr<TfrxPDFElement> Font);
  // Records the stream's position as the offset of object Number.
  void AddXref(TStream* Stream, Integer Number);
  void SaveToStream(TStream* Stream) override;

  int GetPageCount() const { return static_cast<int>(FPages.size()); }
  TfrxPDFPage* GetPage(int Index) const { return FPages.at(static_cast<size_t>(Index)).get(); }
  int GetFontCount() const { return static_cast<int>(FFonts.size()); }
  TfrxPDFElement* GetFont(int Index) const { return FFonts.at(static_cast<size_t>(Index)).get(); }
  TfrxPDFToolkit* GetToolkit() const { return FToolkit.get(); }

  const AnsiString& GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  // The application object's component name, written as /Creator.
  const AnsiString& GetCreator() const { return FCreator; }
  void SetCreator(const AnsiString& Value) { FCreator = Value; }
  bool GetCompressed() const { return FCompressed; }
  void SetCompressed(bool Value) { FCompressed = Value; }
  bool GetEmbeddedFonts() const { return FEmbeddedFonts; }
  void SetEmbeddedFonts(bool Value) { FEmbeddedFonts = Value; }
  Integer GetFontsBase() const { return FFontsBase; }
  Integer GetPagesBase() const { return FPagesBase; }
  Int64 GetStartXref() const { return FStartXref; }

private:
  AnsiString InfoString(const AnsiString& Text) const;

  std::vector<std::unique_ptr<TfrxPDFPage>> FPages;
  std::vector<std::unique_ptr<TfrxPDFElement>> FFonts;
  std::map<Integer, AnsiString> FXref;  // object number -> 10-digit offset
  std::unique_ptr<TfrxPDFToolkit> FToolkit;
  AnsiString FTitle;
  AnsiString FCreator;
  Int64 FStartXref = 0;
  Integer FFirstFreeNumber = 4;
  Integer FFontsBase = 0;
  Integer FPagesBase = 0;
  bool FCompressed = true;
  bool FEmbeddedFonts = false;
};
