// The exports' texts: the filters' captions, the dialogs' blocks and a second start-up that
// changes nothing.
#include <gtest/gtest.h>

#include "report/engine/export/ExportModule.h"
#include "report/engine/export/frxExportImage.h"
#include "report/engine/export/frxExportPDF.h"
#include "report/engine/export/frxExportRTF.h"
#include "report/engine/export/frxExportXLS.h"
#include "report/engine/model/frxRes.h"

namespace {

TEST(ExportTextsTest, FiltersAndDialogsFindTheirTexts)
{
  ExportModule::Initialize();
  EXPECT_EQ(TfrxPDFExport(nullptr).GetFilterCaption(), "PDF 文件");
  EXPECT_EQ(TfrxRTFExport(nullptr).GetFilterCaption(), "RTF 文件");
  EXPECT_EQ(TfrxJPEGExport(nullptr).GetFilterCaption(), "JPEG 图");
  EXPECT_EQ(TfrxXLSExport(nullptr).GetFilterCaption(), "Excel 表格 (OLE)");
  EXPECT_EQ(frxRes::Get("JPEGexportFilter"), "Jpeg 图 (*.jpg)|*.jpg");
  EXPECT_EQ(frxRes::Get("ProgressObjects"), "正在导出对象中");
  AnsiString img = frxRes::Get("TfrxIMGExportDialog");
  EXPECT_EQ(img.rfind("Caption=导出设置\r\nOK.Caption=确定\r\n", 0), 0u);
  EXPECT_NE(img.find("\r\nGroupPageRange.Caption= 页数范围  \r\n"), AnsiString::npos);
  EXPECT_EQ(img.find("SaveDialog1"), AnsiString::npos);
  AnsiString xls = frxRes::Get("TfrxXLSExportDialog");
  EXPECT_NE(xls.find("\r\nSaveDialog1.DefaultExt=.xlsx\r\nSaveDialog1.Filter=Excel 文件 (*.xlsx)|*.xlsx"),
            AnsiString::npos);
  EXPECT_NE(frxRes::Get("TfrxPDFExportDialog").find("SaveDialog1.Filter=Adobe PDF 文件 (*.pdf)|*.pdf"),
            AnsiString::npos);
  EXPECT_NE(frxRes::Get("TfrxRTFExportDialog").find("PageBreaksCB.Caption=分页"), AnsiString::npos);

  // A second start-up registers nothing again.
  frxRes::frxResources()->Add("PDFexport", "changed");
  ExportModule::Initialize();
  EXPECT_EQ(frxRes::Get("PDFexport"), "changed");
  frxRes::frxResources()->Add("PDFexport", "PDF 文件");
}

}  // namespace
