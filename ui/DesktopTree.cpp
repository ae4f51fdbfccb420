#include "ui/DesktopTree.h"

#include "core/Department.h"
#include "core/Hetong.h"
#include "platform/db/ADODataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

namespace DesktopTree {

namespace {
int Add(std::vector<TDesktopNode>& Nodes, const AnsiString& Text, int Parent, int Image, TNodeHandler Handler,
        const AnsiString& Code = AnsiString())
{
  Nodes.push_back(TDesktopNode{Text, Parent, Image, TNodeData{Handler, Code}});
  return int(Nodes.size()) - 1;
}
}  // namespace

int RemindersIndex(const std::vector<TDesktopNode>& Nodes)
{
  for (size_t i = 0; i < Nodes.size(); ++i)
    if (Nodes[i].Data.Handler == TNodeHandler::ShowReminders) return int(i);
  return -1;
}

std::vector<TDesktopNode> Build(const std::vector<TDepartmentRow>& Departments, const TStrings* Kinds,
                                const TStrings* Progress)
{
  std::vector<TDesktopNode> n;
  int root = Add(n, "我的桌面", -1, 21, TNodeHandler::CloseListFrame);
  int contracts = Add(n, "合同管理", root, 15, TNodeHandler::ShowAllContracts);
  int depts = Add(n, "所在部门", root, 15, TNodeHandler::ShowDepartmentContracts);
  std::vector<int> deptNodes;
  for (const TDepartmentRow& d : Departments) {
    // FatherIdx k is the k-th department node, added before its children; anything else (a
    // gap in the codes, a damaged row) hangs the department under "所在部门".
    int parent = d.FatherIdx >= 1 && d.FatherIdx <= int(deptNodes.size()) ? deptNodes[size_t(d.FatherIdx - 1)] : depts;
    deptNodes.push_back(Add(n, d.Name, parent, 13, TNodeHandler::ShowDepartmentContracts, d.Code));
  }
  if (Kinds)
    for (int i = 0; i < Kinds->GetCount(); ++i)
      if (!SysUtils::Trim(Kinds->GetStrings(i)).empty())
        Add(n, Kinds->GetStrings(i), contracts, 13, TNodeHandler::ShowKindContracts);
  if (Progress)
    for (int i = 0; i < Progress->GetCount(); ++i)
      if (!SysUtils::Trim(Progress->GetStrings(i)).empty())
        Add(n, Progress->GetStrings(i), contracts, 26, TNodeHandler::ShowProgressContracts);
  Add(n, "合同提醒", root, 13, TNodeHandler::ShowReminders);
  Add(n, "应收账款", root, 23, TNodeHandler::ShowReceivables);
  Add(n, "应付账款", root, 24, TNodeHandler::ShowPayables);
  int partners = Add(n, "往来单位", root, 25, TNodeHandler::ShowAllClients);
  Add(n, "客户", partners, 13, TNodeHandler::ShowClients);
  Add(n, "供应商", partners, 13, TNodeHandler::ShowSuppliers);
  Add(n, "退出系统", root, 11, TNodeHandler::ConfirmExit);
  return n;
}

std::vector<TDesktopNode> Load()
{
  std::vector<TDepartmentRow> rows;
  {
    TDepartmentSet set;
    set.Load();
    TADODataSet* d = set.GetDataSet();
    for (d->First(); !d->GetEof(); d->Next()) {
      TField* father = set.GetFatherIndexFld();
      rows.push_back(TDepartmentRow{set.GetNameFld()->GetAsString(), set.GetCodeFld()->GetAsString(),
                                    father->IsNull() ? 0 : father->GetAsInteger()});
    }
  }
  TStringList kinds, progress;
  THetongSet::FillValueLists(&kinds, nullptr, &progress, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  return Build(rows, &kinds, &progress);
}

}  // namespace DesktopTree
