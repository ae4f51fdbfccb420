#include "report/engine/model/frxrcClass.h"

#include "report/engine/model/frxRes.h"

namespace frxrcClass {

namespace {
bool Done = false;

const char* const Texts[][2] = {
    {"zmPageWidth", "页宽"},
    {"zmWholePage", "整页"},
    {"ppAll", "全部页面"},
    {"ppOdd", "奇数页"},
    {"ppEven", "偶数页"},
    {"mbConfirm", "确认"},
    {"mbError", "错误"},
    {"mbInfo", "信息"},
    {"xrCantFindClass", "未找到类"},
    {"prVirtual", "虚拟"},
    {"prDefault", "缺省"},
    {"prCustom", "自定义"},
    {"enUnconnHeader", "未连接至表头"},
    {"enUnconnGroup", "该组无数据区带"},
    {"enUnconnGFooter", "没有分组表尾"},
    {"enBandPos", "不正确的区带位置:"},
    {"dbNotConn", "数据集 %s 未连接至数据库"},
    {"dbFldNotFound", "字段不存在:"},
    {"obShape", "形状对象"},
    {"obText", "文本对象"},
    {"obSysText", "系统文本"},
    {"obLine", "线对象"},
    {"obPicture", "图像对象"},
    {"obSubRep", "子报表对象"},
    {"obBarC", "条码对象"},
    {"obDMPText", "点阵文本对象"},
    {"obDMPLine", "点阵线对象"},
    {"clDSNotIncl", "(数据集未加入至 Report.DataSets)"},
    {"clUnknownVar", "未知的变量或数据库字段:"},
    {"clScrError", "脚本发生错误在 %s: %s"},
    {"clDSNotExist", "数据集 \"%s\" 不存在"},
    {"clErrors", "发生下列的错误:"},
    {"clExprError", "表达式错误"},
    {"clFP3files", "报表文件"},
    {"clSaving", "保存文件..."},
    {"clCancel", "取消"},
    {"clClose", "关闭(&X)"},
    {"clPrinting", "打印中"},
    {"clLoading", "载入文件..."},
    {"clPageOf", "第 %d 页 共 %d 页"},
    {"clFirstPass", "第一次处理过程: 页 "},
    {"clNoPrinters", "在你的系统没有安装打印机"},
    {"clDecompressError", "流解压缩错误"},
    {"crFillMx", "填充交叉表..."},
    {"crBuildMx", "创建交叉表..."},
    {"prRunningFirst", "第一次处理: 第 %d 页"},
    {"prRunning", "正准备第 %d 页"},
    {"prPrinting", "正打印第 %d 页"},
    {"prExporting", "正输出第 %d 页"},
    // Form blocks of the windows of the run-time library.
    {"TfrxProgress", "CancelB.Caption=取消"},
};
}  // namespace

void Initialize()
{
  if (Done) return;
  Done = true;
  TfrxResources* res = frxRes::frxResources();
  for (const auto& t : Texts) res->Add(t[0], t[1]);
}

void Finalize() { Done = false; }

}  // namespace frxrcClass
