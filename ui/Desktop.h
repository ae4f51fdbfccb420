// TDesktopFrm: the MDI child the operator works in: the navigation tree on the left and, on the
// right, the icons of the tree's top-level entries or the list frame the selected node asks for.
// Selecting a node runs its handler; the caption follows the node unless the handler raised.
//
// The list frames (contracts, counterparties, receivables, payables) come through ListFrames();
// until a frame is installed such a node only sets the caption.
#pragma once

#include <functional>
#include <vector>

#include "core/forms/a.h"
#include "platform/rtl/Service.h"
#include "ui/DesktopTree.h"

class TFrame;
class TDesktopFrm;
class TLabel;
class TListView;
class TPanel;
class TTreeNode;
class TTreeView;

namespace Desktop {
// Message 40961: the options changed (the contract frame reloads its captions).
inline constexpr unsigned WM_OPTIONSCHANGED = 0xA001;
// Fills the hosted frame for a contract, counterparty, receivables or payables node.
using TListFrameHandler = std::function<void(TDesktopFrm& Desktop, const TDesktopNode& Node)>;
TService<TListFrameHandler>& ListFrames();
}  // namespace Desktop

class TDesktopFrm : public TaFrm {
  PELTO_CLASS(TDesktopFrm, TaFrm)
public:
  explicit TDesktopFrm(TComponent* AOwner);
  ~TDesktopFrm() override;

  TTreeView* TreeView1 = nullptr;
  TPanel *Panel1 = nullptr, *Panel2 = nullptr;
  TLabel* Label1 = nullptr;
  // Large icons of the root's direct children; each item's data is its tree node's data.
  TListView* ListView1 = nullptr;

  const std::vector<TDesktopNode>& Nodes() const { return FNodes; }
  // The tree node of node Index.
  TTreeNode* TreeNode(int Index) const { return FTreeNodes[size_t(Index)]; }
  int GetSelected() const { return FSelected; }
  // Selects node Index in the tree, which runs its handler (TreeView1Change).
  void SelectNode(int Index);
  // Runs the handler of node Index and takes its caption (a raising handler leaves the caption).
  void TreeView1Change(int Index);
  // Selects the tree node of the icon chosen in the list.
  void ListView1DblClick(TObject* Sender);
  // Re-runs the selected node's handler (after a re-login).
  void Refresh();
  // The icon list: the root's direct children, in order.
  std::vector<int> IconNodes() const;
  // Label1's text: "\\我的桌面 %d个项目".
  AnsiString GetLabelText() const;

  // The hosted frame (owned by the desktop; null when the icons show).
  TFrame* GetListFrame() const { return FFrame; }
  // Puts Frame in place of the hosted one (freeing that) and answers it.
  TFrame* SetListFrame(TFrame* Frame);

  void CloseListFrame();
  // Asks whether to leave; OK closes the main window. Ends with a silent abort either way.
  void ConfirmExit();

protected:
  void WndProc(TMessage& Message) override;
  void DoClose(TCloseAction& Action) override;

private:
  void RunHandler(const TDesktopNode& Node);
  int IndexOf(TTreeNode* Node) const;

  std::vector<TDesktopNode> FNodes;  // fixed once built: tree and icons point at their data
  std::vector<TTreeNode*> FTreeNodes;
  int FSelected = -1;
  TFrame* FFrame = nullptr;
};
