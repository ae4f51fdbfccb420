#include "gridkit/impexp/DBGridEhExportRTF.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Streams.h"

namespace DBGridEhImpExp {

AnsiString RtfText(const AnsiString& Text)
{
  static const char Hex[] = "0123456789abcdef";
  AnsiString out;
  out.reserve(Text.size());
  auto escaped = [&](unsigned char b) {
    out += "\\'";
    out += Hex[b >> 4];
    out += Hex[b & 15];
  };
  for (std::size_t i = 0; i < Text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(Text[i]);
    if (b >= 0x80) {
      escaped(b);
      // The trail byte goes with its lead byte, whatever it looks like.
      if (System::IsLeadByte(Text[i]) && i + 1 < Text.size()) escaped(static_cast<unsigned char>(Text[++i]));
    } else {
      if (b == '\\' || b == '{' || b == '}') out += '\\';
      out += static_cast<char>(b);
    }
  }
  return out;
}

}  // namespace DBGridEhImpExp

using DBGridEhImpExp::RtfText;

TDBGridEhExportAsRTF::TDBGridEhExportAsRTF() = default;
TDBGridEhExportAsRTF::~TDBGridEhExportAsRTF() = default;

Integer TDBGridEhExportAsRTF::Twips(double Pixels) const
{
  return static_cast<Integer>(std::nearbyint(Pixels / Grid->GetPixelsPerInch() * 1440));
}

Integer TDBGridEhExportAsRTF::ColorTableIndex(TColor Color)
{
  COLORREF rgb = Graphics::ColorToRGB(Color);
  char key[16];
  std::snprintf(key, sizeof key, "%3d%3d%3d", static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
  auto it = std::find(ColorTable.begin(), ColorTable.end(), AnsiString(key));
  if (it != ColorTable.end()) return static_cast<Integer>(it - ColorTable.begin());
  ColorTable.emplace_back(key);
  return static_cast<Integer>(ColorTable.size() - 1);
}

Integer TDBGridEhExportAsRTF::FontTableIndex(const AnsiString& Name)
{
  auto it = std::find(FontTable.begin(), FontTable.end(), Name);
  if (it != FontTable.end()) return static_cast<Integer>(it - FontTable.begin());
  FontTable.push_back(Name);
  return static_cast<Integer>(FontTable.size() - 1);
}

void TDBGridEhExportAsRTF::Write(const AnsiString& Text)
{
  OutStream->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

void TDBGridEhExportAsRTF::OutputToStream(TStream* Stream, bool IsExportAll)
{
  ColorTable.clear();
  FontTable.clear();
  BodyCache = std::make_unique<TMemoryStream>();
  ColorTableIndex(clBlack);
  ColorTableIndex(clWhite);
  ColorTableIndex(clBtnFace);
  TDBGridEhExport::OutputToStream(BodyCache.get(), IsExportAll);

  OutStream = Stream;
  AnsiString head = "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl";
  for (const AnsiString& key : ColorTable)
    head += "\\red" + std::to_string(std::stoi(key.substr(0, 3))) + "\\green" +
            std::to_string(std::stoi(key.substr(3, 3))) + "\\blue" + std::to_string(std::stoi(key.substr(6, 3))) + ";";
  head += "}\r\n{\\fonttbl";
  for (std::size_t i = 0; i < FontTable.size(); ++i)
    head += "\\f" + std::to_string(i) + "\\fnil\\fcharset134 " + RtfText(FontTable[i]) + ";";
  head += "}\r\n";
  Write(head);
  BodyCache->SetPosition(0);
  Stream->CopyFrom(BodyCache.get(), BodyCache->GetSize());
  BodyCache.reset();
}

void TDBGridEhExportAsRTF::EndOutput() { Write("}"); }

TDBGridEhExportAsRTF::TCell TDBGridEhExportAsRTF::CellOf(TColumnEh* Column, const AnsiString& Text, TFont* Font,
                                                         TColor Background, TAlignment Alignment)
{
  TCell c;
  c.Text = Text;
  c.FontName = Font->GetName();
  c.FontSize = Font->GetSize();
  TFontStyles st = Font->GetStyle();
  c.Bold = st.Contains(fsBold);
  c.Italic = st.Contains(fsItalic);
  c.StrikeOut = st.Contains(fsStrikeOut);
  c.Underline = st.Contains(fsUnderline);
  c.FontColor = Font->GetColor();
  c.Background = Background;
  c.Alignment = Alignment;
  c.Width = Column->GetWidth();
  return c;
}

void TDBGridEhExportAsRTF::WriteRow(const std::vector<TCell>& Cells)
{
  AnsiString s = "\\trowd\\trgaph40\r\n";
  Integer right = 0;
  for (const TCell& c : Cells) {
    if (c.Left) s += "\\clbrdrl\\brdrs\\brdrcf0\r\n";
    if (c.Top) s += "\\clbrdrt\\brdrs\\brdrcf0\r\n";
    if (c.Bottom) s += "\\clbrdrb\\brdrs\\brdrcf0\r\n";
    if (c.Right) s += "\\clbrdrr\\brdrs\\brdrcf0\r\n";
    right += Twips(c.Width);
    s += "\\clshdng10000\\clcfpat" + std::to_string(ColorTableIndex(c.Background)) + "\\cellx" + std::to_string(right) +
         "\r\n";
  }
  s += "{\\trrh0\r\n";
  for (const TCell& c : Cells) {
    s += "\\pard\\intbl{";
    s += c.Alignment == taRightJustify ? "\\qr" : c.Alignment == taCenter ? "\\qc" : "\\ql";
    if (!c.Spacing.empty()) s += "\\sb" + c.Spacing + "\\sa" + c.Spacing;
    s += "\\fs" + std::to_string(c.FontSize * 2);
    if (c.Bold) s += "\\b";
    if (c.Italic) s += "\\i";
    if (c.StrikeOut) s += "\\strike";
    if (c.Underline) s += "\\ul";
    s += "\\f" + std::to_string(FontTableIndex(c.FontName));
    s += "\\cf" + std::to_string(ColorTableIndex(c.FontColor));
    s += "\\cb" + std::to_string(ColorTableIndex(c.Background));
    s += " " + RtfText(c.Text) + "\\cell}\r\n";
  }
  s += "\\pard\\intbl\\row}\r\n";
  Write(s);
}

// ---- data and footer rows ---------------------------------------------------------------------

void TDBGridEhExportAsRTF::OutputDataRow(const TColumnsEhList& Columns)
{
  FRow.clear();
  TDBGridEhExport::OutputDataRow(Columns);
  WriteRow(FRow);
}

void TDBGridEhExportAsRTF::OutputDataCell(TColumnEh* Column, TColCellParamsEh& Info)
{
  FRow.push_back(CellOf(Column, Info.Text, Info.Font, Info.Background, Info.Alignment));
  FRow.back().Spacing = Spacing();
}

void TDBGridEhExportAsRTF::OutputFooterRow(const TColumnsEhList& Columns, Integer FooterNo)
{
  FRow.clear();
  TDBGridEhExport::OutputFooterRow(Columns, FooterNo);
  WriteRow(FRow);
}

void TDBGridEhExportAsRTF::OutputFooterCell(Integer, Integer, const AnsiString& Text, TAlignment Alignment,
                                            TColor Background, TFont* Font, TColumnEh* Column)
{
  FRow.push_back(CellOf(Column, Text, Font, Background, Alignment));
  FRow.back().Spacing = Spacing();
}

// ---- titles -----------------------------------------------------------------------------------

void TDBGridEhExportAsRTF::OutputTitleRow(const TColumnsEhList& Columns)
{
  if (Grid->GetUseMultiTitle()) {
    OutputMultiTitle(Columns);
    return;
  }
  std::vector<TCell> row;
  for (TColumnEh* c : Columns) {
    TColumnTitleEh* t = c->GetTitle();
    row.push_back(CellOf(c, t->GetCaption(), t->GetFont(), t->GetColor(), t->GetAlignment()));
    row.back().Spacing = Spacing();
  }
  WriteRow(row);
}

TDBGridEhExportAsRTF::TTitleLevelsEh TDBGridEhExportAsRTF::TitleLevels(
    const std::vector<const TTitleNodeInfoEh*>& Leaves)
{
  TTitleLevelsEh levels;
  std::vector<const TTitleNodeInfoEh*> nodes = Leaves;
  std::vector<Integer> running;
  for (const TTitleNodeInfoEh* n : nodes) running.push_back(n->Height);
  levels.push_back(nodes);
  while (!nodes.empty()) {
    Integer lowest = *std::min_element(running.begin(), running.end());
    bool moved = false;
    for (std::size_t c = 0; c < nodes.size(); ++c)
      if (running[c] == lowest && nodes[c]->Host) {
        nodes[c] = nodes[c]->Host;
        running[c] += nodes[c]->Height;
        moved = true;
      }
    if (!moved) break;
    levels.push_back(nodes);
  }
  return levels;
}

void TDBGridEhExportAsRTF::OutputMultiTitle(const TColumnsEhList& Columns)
{
  std::vector<const TTitleNodeInfoEh*> leaves;
  // A column the grid has no leaf for stands alone with its caption.
  std::vector<std::unique_ptr<TTitleNodeInfoEh>> own;
  for (TColumnEh* c : Columns) {
    const TTitleNodeInfoEh* leaf = Grid->GetTitleLeaf(c);
    if (!leaf) {
      own.push_back(std::make_unique<TTitleNodeInfoEh>());
      own.back()->Text = c->GetTitle()->GetCaption();
      leaf = own.back().get();
    }
    leaves.push_back(leaf);
  }
  TTitleLevelsEh levels = TitleLevels(leaves);
  std::size_t top = levels.size(), cols = Columns.size();

  // Spans first (top level down): borders only on a span's outer sides; covered cells emptied.
  struct TSpanCell {
    bool Left = true, Top = true, Right = true, Bottom = true;
  };
  std::vector<std::vector<TSpanCell>> borders(top, std::vector<TSpanCell>(cols));
  for (std::size_t l = top; l-- > 0;)
    for (std::size_t c = 0; c < cols; ++c) {
      const TTitleNodeInfoEh* node = levels[l][c];
      if (!node) continue;
      std::size_t low = l;
      while (low > 0 && levels[low - 1][c] == node) --low;
      std::size_t last = c;
      while (last + 1 < cols && levels[l][last + 1] == node) ++last;
      for (std::size_t r = low; r <= l; ++r)
        for (std::size_t k = c; k <= last; ++k) {
          borders[r][k] = {k == c, r == l, k == last, r == low};
          if (r != l || k != c) levels[r][k] = nullptr;
        }
    }

  double margin = static_cast<double>(Grid->GetVTitleMargin()) / 2 / Grid->GetPixelsPerInch() * 1440 - 20;
  AnsiString spacing = std::to_string(static_cast<long long>(std::nearbyint(margin)));
  for (std::size_t l = top; l-- > 0;) {
    std::vector<TCell> row;
    for (std::size_t c = 0; c < cols; ++c) {
      TColumnEh* column = Columns[c];
      TColumnTitleEh* t = column->GetTitle();
      const TTitleNodeInfoEh* node = levels[l][c];
      TCell cell = l > 0 ? CellOf(column, AnsiString(), Grid->GetTitleFont(), Grid->GetFixedColor(), taCenter)
                         : CellOf(column, AnsiString(), t->GetFont(), t->GetColor(), taCenter);
      if (node) {
        cell.Text = node->Text;
        cell.Spacing = spacing;
      }
      cell.Left = borders[l][c].Left;
      cell.Top = borders[l][c].Top;
      cell.Right = borders[l][c].Right;
      cell.Bottom = borders[l][c].Bottom;
      row.push_back(cell);
    }
    WriteRow(row);
  }
}
