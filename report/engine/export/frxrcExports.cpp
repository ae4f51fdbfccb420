#include "report/engine/export/frxrcExports.h"

#include <utility>
#include <vector>

#include "report/engine/model/frxRes.h"

namespace frxrcExports {

namespace {

bool Registered = false;

using TLines = std::vector<std::pair<const char*, const char*>>;

// The lines joined by CR LF, each "Key=Value".
AnsiString Block(std::initializer_list<TLines> Parts)
{
  AnsiString out;
  for (const TLines& part : Parts)
    for (const auto& [key, value] : part) {
      if (!out.empty()) out += "\r\n";
      out += AnsiString(key) + "=" + value;
    }
  return out;
}

// The page-range group the RTF, image and PDF dialogs share.
TLines PageRange(const char* GroupCaption)
{
  return {{"GroupPageRange.Caption", GroupCaption},
          {"AllRB.Caption", "全部"},
          {"CurPageRB.Caption", "当前页"},
          {"PageNumbersRB.Caption", "页码:"},
          {"DescrL.Caption", "请输入页码和/或以逗号分开的页码范围。 例如： 1,3,5-12"}};
}

const TLines kOkCancel = {{"OkB.Caption", "确定"}, {"CancelB.Caption", "取消"}};

}  // namespace

void Initialize()
{
  if (Registered) return;
  Registered = true;
  TfrxResources* r = frxRes::frxResources();
  // The workbook is saved as Open XML: the dialog offers ".xlsx".
  r->Add("TfrxXLSExportDialog", Block({{{"Caption", "导出到 Excel"}},
                                       kOkCancel,
                                       {{"GroupPageRange.Caption", " 页数范围 "},
                                        {"AllRB.Caption", "全部"},
                                        {"CurPageRB.Caption", "当前页"},
                                        {"PageNumbersRB.Caption", "页:"},
                                        {"DescrL.Caption", "输入页数/文件范围，并以逗号分隔(例如:1,3,5-12)"},
                                        {"GroupQuality.Caption", " 导出设置 "},
                                        {"StylesCB.Caption", "样式"},
                                        {"PicturesCB.Caption", "图像"},
                                        {"MergeCB.Caption", "合并单元格"},
                                        {"WCB.Caption", "所见即所得"},
                                        {"OpenExcelCB.Caption", "在导出后打开 Excel"},
                                        {"SaveDialog1.DefaultExt", ".xlsx"},
                                        {"SaveDialog1.Filter", "Excel 文件 (*.xlsx)|*.xlsx"}}}));
  r->Add("TfrxRTFExportDialog", Block({{{"Caption", "导出为RTF"}},
                                       kOkCancel,
                                       PageRange(" 页数范围 "),
                                       {{"GroupQuality.Caption", " 导出设置 "},
                                        {"PicturesCB.Caption", "图像"},
                                        {"PageBreaksCB.Caption", "分页"},
                                        {"WCB.Caption", "所见即所得"},
                                        {"OpenCB.Caption", "在导出后打开"},
                                        {"SaveDialog1.Filter", "RTF 文件 (*.rtf)|*.rtf"},
                                        {"SaveDialog1.DefaultExt", ".rtf"}}}));
  r->Add("TfrxIMGExportDialog", Block({{{"Caption", "导出设置"}, {"OK.Caption", "确定"}, {"Cancel.Caption", "取消"}},
                                       PageRange(" 页数范围  "),
                                       {{"GroupBox1.Caption", " 图像设置 "},
                                        {"Label2.Caption", "JPEG 质量"},
                                        {"CropPage.Caption", "剪去页面空白部份"},
                                        {"Mono.Caption", "黑白"}}}));
  r->Add("TfrxPDFExportDialog", Block({{{"Caption", "导出为PDF文件"}},
                                       kOkCancel,
                                       PageRange(" 页数范围 "),
                                       {{"GroupQuality.Caption", " 导出设置 "},
                                        {"CompressedCB.Caption", "压缩"},
                                        {"EmbeddedCB.Caption", "内置字体"},
                                        {"OpenCB.Caption", "在导出后打开"},
                                        {"SaveDialog1.Filter", "Adobe PDF 文件 (*.pdf)|*.pdf"},
                                        {"SaveDialog1.DefaultExt", ".pdf"}}}));
  for (const auto& [key, text] : TLines{{"RTFexport", "RTF 文件"},
                                        {"BMPexport", "BMP 图"},
                                        {"JPEGexport", "JPEG 图"},
                                        {"TIFFexport", "TIFF 图"},
                                        {"TextExport", "纯文本 (点阵打印机)"},
                                        {"XlsOLEexport", "Excel 表格 (OLE)"},
                                        {"HTMLexport", "HTML 文件"},
                                        {"XlsXMLexport", "Excel 表格 (XML)"},
                                        {"PDFexport", "PDF 文件"},
                                        {"ProgressWait", "请稍候"},
                                        {"ProgressRows", "正在建立列"},
                                        {"ProgressColumns", "正在建立栏"},
                                        {"ProgressStyles", "正在建立样式"},
                                        {"ProgressObjects", "正在导出对象中"},
                                        {"TIFFexportFilter", "Tiff 图 (*.tif)|*.tif"},
                                        {"BMPexportFilter", "BMP 图 (*.bmp)|*.bmp"},
                                        {"JPEGexportFilter", "Jpeg 图 (*.jpg)|*.jpg"}})
    r->Add(key, text);
}

}  // namespace frxrcExports
