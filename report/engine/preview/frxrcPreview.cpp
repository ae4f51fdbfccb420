#include "report/engine/preview/frxrcPreview.h"

#include "report/engine/model/frxRes.h"

namespace frxrcPreview {

namespace {

const char* const kBlocks[][2] = {
    {"TfrxPreviewForm",
     "Caption=预览\r\n"
     "PrintB.Caption=打印\r\nPrintB.Hint=打印\r\n"
     "OpenB.Caption=打开报表\r\nOpenB.Hint=打开报表\r\n"
     "SaveB.Caption=保存报表\r\nSaveB.Hint=保存报表\r\n"
     "ExportB.Caption=导出报表\r\nExportB.Hint=导出报表\r\n"
     "FindB.Caption=查找文本\r\nFindB.Hint=查找文本\r\n"
     "ZoomWholePageB.Caption=整页\r\nZoomWholePageB.Hint=整页\r\n"
     "ZoomPageWidthB.Caption=页宽\r\nZoomPageWidthB.Hint=页宽\r\n"
     "Zoom100B.Caption=100%\r\nZoom100B.Hint=100%\r\n"
     "Zoom50B.Caption=双页\r\nZoom50B.Hint=双页\r\n"
     "ZoomCB.Hint=缩放\r\n"
     "PageSettingsB.Caption=页面设置\r\nPageSettingsB.Hint=页面设置\r\n"
     "OutlineB.Caption=大纲\r\nOutlineB.Hint=大纲\r\n"
     "HandToolB.Caption=拖放\r\nHandToolB.Hint=拖放工具\r\n"
     "ZoomToolB.Caption=缩放工具\r\nZoomToolB.Hint=缩放工具\r\n"
     "NewPageB.Caption=增加页\r\nNewPageB.Hint=增加页\r\n"
     "DelPageB.Caption=删除页\r\nDelPageB.Hint=删除页\r\n"
     "DesignerB.Caption=编辑页\r\nDesignerB.Hint=编辑页\r\n"
     "FirstB.Caption=第一页\r\nFirstB.Hint=第一页\r\n"
     "PriorB.Caption=上一页\r\nPriorB.Hint=上一页\r\n"
     "PageE.Hint=页数\r\n"
     "NextB.Caption=下一页\r\nNextB.Hint=下一页\r\n"
     "LastB.Caption=最后一页\r\nLastB.Hint=最后一页\r\n"
     "CancelB.Hint=关闭预览"},
    {"TfrxSearchDialog",
     "Caption=查找文本\r\nTextL.Caption=查找内容:\r\nCaseCB.Caption=区分大小写\r\nTopCB.Caption=从头开始查找\r\n"
     "ReplaceL.Caption=替换为\r\nOkB.Caption=确定\r\nCancelB.Caption=取消"},
    {"TfrxPageSettingsForm",
     "Caption=页面设置\r\nPaperGB.Caption=纸张\r\nWidthL.Caption=宽度 (厘米)\r\nHeightL.Caption=高度 (厘米)\r\n"
     "OrientationGB.Caption=方向\r\nPortraitRB.Caption=纵向打印\r\nLandscapeRB.Caption=橫向打印\r\n"
     "MarginsGB.Caption=页边距 (厘米)\r\nApplyGB.Caption=应用\r\nApplyToCurRB.Caption=应用到当前页面\r\n"
     "ApplyToAllRB.Caption=应用到所有页面\r\nOKB.Caption=确定\r\nCancelB.Caption=取消"},
    {"TfrxPrintDialog",
     "Caption=打印\r\nPrintL.Caption=打印\r\nLabel12.Caption=打印机   \r\nTypeL.Caption=类型:\r\n"
     "WhereL.Caption=位置:\r\nPropButton.Caption=属性(&P)\r\nFileCB.Caption=打印到文件\r\n"
     "ReverseCB.Caption=逆页序打印(&V)\r\nLabel1.Caption=页面   \r\nAllRB.Caption=全部(&A)\r\n"
     "CurPageRB.Caption=当前页(&E)\r\nPageNumbersRB.Caption=页数(&G):\r\n"
     "DescrL.Caption=请键入页码或用逗号分隔的页码范围(例如:1,3,5-12)\r\nLabel2.Caption=份数(&C)   \r\n"
     "CopiesL.Caption=打印份数\r\nCollateL.Caption=逐份打印(&T)\r\nOkB.Caption=确定\r\nCancelB.Caption=取消"},
    {"TfrxPasswordForm", "Caption=密码\r\nPasswordL.Caption=输入口令:\r\nOkB.Caption=确定\r\nCancelB.Caption=取消"},
};

}  // namespace

void Initialize()
{
  TfrxResources* res = frxRes::frxResources();
  for (const auto& b : kBlocks) res->Add(b[0], b[1]);
}

}  // namespace frxrcPreview
