// The navigation desktop's tree as a plain list of nodes, built from the departments and the
// contract kinds and progress values; TDesktopFrm shows it in its tree and icon list.
//
// Order of the nodes (parents before their children): "我的桌面", "合同管理", "所在部门", one node
// per department, one per non-blank contract kind and progress value (under "合同管理"),
// "合同提醒", "应收账款", "应付账款", "往来单位", "客户", "供应商", "退出系统".
#pragma once

#include <vector>

#include "platform/rtl/System.h"

class TStrings;

// What selecting a node does.
enum class TNodeHandler {
  CloseListFrame,
  ShowAllContracts,
  ShowDepartmentContracts,
  ShowKindContracts,
  ShowProgressContracts,
  ShowReminders,
  ShowReceivables,
  ShowPayables,
  ShowAllClients,
  ShowClients,
  ShowSuppliers,
  ConfirmExit,
};

// The data a tree node and its icon carry: the handler and, for departments, the code.
struct TNodeData {
  TNodeHandler Handler;
  AnsiString Code;
};

struct TDesktopNode {
  AnsiString Text;
  int Parent = -1;  // index into the list; -1 for the root
  int ImageIndex = 0;
  TNodeData Data;
};

// One department row as the tree needs it: its name, code and the 1-based position of its
// parent in code order (0 for a top-level department).
struct TDepartmentRow {
  AnsiString Name, Code;
  int FatherIdx = 0;
};

namespace DesktopTree {
// Index of the node selected at start ("合同提醒") in a list Build made.
int RemindersIndex(const std::vector<TDesktopNode>& Nodes);
// Builds the nodes. A department whose FatherIdx names no earlier department goes under
// "所在部门" instead of failing.
std::vector<TDesktopNode> Build(const std::vector<TDepartmentRow>& Departments, const TStrings* Kinds,
                                const TStrings* Progress);
// The departments, kinds and progress values of the database, then Build.
std::vector<TDesktopNode> Load();
}  // namespace DesktopTree
