#include "ui/Desktop.h"

#include "core/forms/FormParts.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/forms/Frame.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/stdctrls/comctrls/ListView.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "ui/Main.h"
#include "ui/Pub.h"

namespace Desktop {

TService<TListFrameHandler>& ListFrames()
{
  static TService<TListFrameHandler> Slot(
      std::make_unique<TListFrameHandler>([](TDesktopFrm&, const TDesktopNode&) {}));
  return Slot;
}

}  // namespace Desktop

TDesktopFrm::TDesktopFrm(TComponent* AOwner) : TaFrm(AOwner, fsMDIChild)
{
  SetName("DesktopFrm");
  SetColor(clWhite);
  TCustomImageList* images = Pub::PubFrm ? Pub::PubFrm->ImageList32 : nullptr;
  TreeView1 = new TTreeView(this);
  TreeView1->SetName("TreeView1");
  TreeView1->SetAlign(alLeft);
  TreeView1->SetWidth(200);
  TreeView1->SetReadOnly(true);
  TreeView1->SetShowRoot(false);
  TreeView1->SetIndent(35);
  TreeView1->SetHideSelection(false);
  TreeView1->SetImages(images);
  TreeView1->SetParent(this);
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetCaption("");
  Panel1->SetBevelOuter(bvNone);
  Panel1->SetColor(clWhite);
  Panel1->SetAlign(alClient);
  Panel1->SetParent(this);
  Panel2 = new TPanel(this);
  Panel2->SetName("Panel2");
  Panel2->SetCaption("");
  Panel2->SetBevelOuter(bvNone);
  Panel2->SetColor(clWhite);
  Panel2->SetAlign(alClient);
  Panel2->SetParent(Panel1);
  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetAlign(alTop);
  Label1->SetParent(Panel2);
  ListView1 = new TListView(this);
  ListView1->SetName("ListView1");
  ListView1->SetLargeImages(images);
  ListView1->SetBorderStyle(bsNone);
  ListView1->SetBorderWidth(5);
  ListView1->SetAlign(alClient);
  ListView1->SetParent(Panel2);
  ListView1->OnDblClick = [this](TObject* S) { ListView1DblClick(S); };

  FNodes = DesktopTree::Load();
  TTreeNodes* items = TreeView1->GetItems();
  items->BeginUpdate();
  for (TDesktopNode& n : FNodes) {
    TTreeNode* parent = n.Parent < 0 ? nullptr : FTreeNodes[size_t(n.Parent)];
    TTreeNode* node =
        parent ? items->AddChildObject(parent, n.Text, &n.Data) : items->AddObject(nullptr, n.Text, &n.Data);
    node->SetImageIndex(n.ImageIndex);
    node->SetSelectedIndex(n.ImageIndex);
    FTreeNodes.push_back(node);
  }
  items->EndUpdate();
  TreeView1->OnChange = [this](TObject*, TTreeNode* Node) { TreeView1Change(IndexOf(Node)); };
  SetWindowState(wsMaximized);
  if (!FTreeNodes.empty()) FTreeNodes[0]->Expand(false);
  SelectNode(DesktopTree::RemindersIndex(FNodes));
  TListItems* icons = ListView1->GetItems();
  icons->BeginUpdate();
  for (int i : IconNodes()) {
    TListItem* item = icons->Add();
    item->SetCaption(FNodes[size_t(i)].Text);
    item->SetImageIndex(FNodes[size_t(i)].ImageIndex);
    item->SetData(&FNodes[size_t(i)].Data);
  }
  icons->EndUpdate();
  Label1->SetCaption(GetLabelText());
}

TDesktopFrm::~TDesktopFrm()
{
  if (MainWindow::DesktopFrm == this) MainWindow::DesktopFrm = nullptr;
}

std::vector<int> TDesktopFrm::IconNodes() const
{
  std::vector<int> out;
  for (size_t i = 0; i < FNodes.size(); ++i)
    if (FNodes[i].Parent == 0) out.push_back(int(i));
  return out;
}

AnsiString TDesktopFrm::GetLabelText() const
{
  return SysUtils::Format("\\\\我的桌面 %d个项目", {int(IconNodes().size())});
}

void TDesktopFrm::SelectNode(int Index)
{
  if (Index < 0 || Index >= int(FNodes.size())) return;
  if (TreeView1->GetSelected() == FTreeNodes[size_t(Index)])
    TreeView1Change(Index);
  else
    TreeView1->SetSelected(FTreeNodes[size_t(Index)]);
}

int TDesktopFrm::IndexOf(TTreeNode* Node) const
{
  for (size_t i = 0; i < FTreeNodes.size(); ++i)
    if (FTreeNodes[i] == Node) return int(i);
  return -1;
}

void TDesktopFrm::TreeView1Change(int Index)
{
  if (Index < 0 || Index >= int(FNodes.size())) return;
  Forms::Application->ProcessMessages();
  const TDesktopNode& node = FNodes[size_t(Index)];
  {
    FormParts::THourglass wait;
    RunHandler(node);
  }
  FSelected = Index;
  SetCaption(node.Text);
}

void TDesktopFrm::ListView1DblClick(TObject*)
{
  TListItem* item = ListView1->GetSelected();
  if (!item) return;
  void* data = item->GetData();
  for (size_t n = 0; n < FNodes.size(); ++n)
    if (&FNodes[n].Data == data) {
      SelectNode(int(n));
      return;
    }
}

void TDesktopFrm::Refresh()
{
  if (FSelected >= 0) SelectNode(FSelected);
}

void TDesktopFrm::RunHandler(const TDesktopNode& Node)
{
  switch (Node.Data.Handler) {
    case TNodeHandler::CloseListFrame: CloseListFrame(); break;
    case TNodeHandler::ConfirmExit: ConfirmExit(); break;
    default: Desktop::ListFrames().Current()(*this, Node); break;
  }
}

TFrame* TDesktopFrm::SetListFrame(TFrame* Frame)
{
  if (Frame == FFrame) return Frame;
  delete FFrame;
  FFrame = Frame;
  return Frame;
}

void TDesktopFrm::CloseListFrame() { SetListFrame(nullptr); }

void TDesktopFrm::ConfirmExit()
{
  if (Dialogs::MessageDlg("\n\r您确定要退出系统吗?\t", mtWarning, {mbOK, mbCancel}, 0) == mrOk) {
    if (TCustomForm* main = Forms::Application->GetMainForm()) main->Close();
  }
  throw EAbort("");
}

void TDesktopFrm::WndProc(TMessage& Message)
{
  if (Message.Msg == Desktop::WM_OPTIONSCHANGED) {
    // Only the contract frame has captions to reload; it answers through its own handler.
    if (FFrame) FFrame->Perform(Desktop::WM_OPTIONSCHANGED, Message.WParam, Message.LParam);
    return;
  }
  TaFrm::WndProc(Message);
}

void TDesktopFrm::DoClose(TCloseAction& Action)
{
  // No close handling of its own: as an MDI child it is only minimized.
  TaFrm::DoClose(Action);
}
