// The grid's RTF export: an RTF table with one row per title level, record and footer row, in
// the grid's fonts, colours, alignments and column widths (in twips), with the cells of
// multi-level titles merged by leaving out their inner borders.
//
// The document declares code page 936 and the GB2312 character set on every font, and writes
// every byte of a double-byte character (and any other byte above 127) as "\'hh", so that a
// trail byte "\", "{" or "}" never reads as a control character. A walk that raises writes
// nothing to the stream.
#pragma once

#include <memory>
#include <vector>

#include "gridkit/impexp/DBGridEhExport.h"

class TMemoryStream;

class TDBGridEhExportAsRTF : public TDBGridEhExport {
public:
  TDBGridEhExportAsRTF();
  ~TDBGridEhExportAsRTF() override;
  void OutputToStream(TStream* Stream, bool IsExportAll) override;

  // The merged-title matrix: entry [level][column] is the column's title node at that level
  // (level 0 the leaves), nullptr once covered by a span.
  using TTitleLevelsEh = std::vector<std::vector<const TTitleNodeInfoEh*>>;
  static TTitleLevelsEh TitleLevels(const std::vector<const TTitleNodeInfoEh*>& Leaves);

protected:
  void EndOutput() override;
  void OutputTitleRow(const TColumnsEhList& Columns) override;
  void OutputDataRow(const TColumnsEhList& Columns) override;
  void OutputDataCell(TColumnEh* Column, TColCellParamsEh& Info) override;
  void OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo) override;
  void OutputFooterCell(Integer ColPos, Integer FooterNo, const AnsiString& Text, TAlignment Alignment,
                        TColor Background, TFont* Font, TColumnEh* Column) override;

  // One cell of a table row, collected before the row is written.
  struct TCell {
    AnsiString Text;
    AnsiString FontName;
    Integer FontSize = 10;
    bool Bold = false, Italic = false, StrikeOut = false, Underline = false;
    TColor FontColor = 0, Background = 0;
    TAlignment Alignment = taLeftJustify;
    bool Left = true, Top = true, Right = true, Bottom = true;
    AnsiString Spacing;  // empty: no spacing words
    Integer Width = 0;   // pixels
  };
  static TCell CellOf(TColumnEh* Column, const AnsiString& Text, TFont* Font, TColor Background, TAlignment Alignment);

  Integer ColorTableIndex(TColor Color);
  Integer FontTableIndex(const AnsiString& Name);
  void WriteRow(const std::vector<TCell>& Cells);
  // An integer number of twips for Pixels (halves to even).
  Integer Twips(double Pixels) const;
  AnsiString Spacing() const { return Grid->GetFlat() ? "12" : "24"; }

  std::unique_ptr<TMemoryStream> BodyCache;
  std::vector<AnsiString> ColorTable;  // "%3d%3d%3d" of red, green, blue
  std::vector<AnsiString> FontTable;

private:
  void Write(const AnsiString& Text);
  void OutputMultiTitle(const TColumnsEhList& Columns);
  std::vector<TCell> FRow;
};

namespace DBGridEhImpExp {
// Text for an RTF body: "\", "{" and "}" escaped, bytes above 127 (both bytes of a double-byte
// character) as "\'hh".
AnsiString RtfText(const AnsiString& Text);
}  // namespace DBGridEhImpExp
