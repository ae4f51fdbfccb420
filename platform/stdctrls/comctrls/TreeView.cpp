#include "platform/stdctrls/comctrls/TreeView.h"

#include <algorithm>
#include <functional>

#include "platform/commctrl/init/InitCommonControls.h"
#include "platform/commctrl/tree/TreeView.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/queue/Messages.h"

namespace {
[[noreturn]] void TreeIndexError(int Index)
{
  throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
}

TTreeNode* NodeOfParam(LPARAM Param) { return reinterpret_cast<TTreeNode*>(Param); }
}  // namespace

// ==== TTreeNode =================================================================================

TTreeNode::TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::GetTreeView() const { return FOwner->GetOwner(); }

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const { return FOwner->ChildrenOf(FParent); }

void TTreeNode::SetText(const AnsiString& Value)
{
  FText = Value;
  if (!FItemId) return;
  TVITEM item;
  item.mask = TVIF_TEXT;
  item.hItem = FItemId;
  item.pszText = const_cast<char*>(FText.c_str());
  GetTreeView()->Send(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetImageIndex(int Value)
{
  FImageIndex = Value;
  if (!FItemId) return;
  TVITEM item;
  item.mask = TVIF_IMAGE;
  item.hItem = FItemId;
  item.iImage = Value;
  GetTreeView()->Send(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetSelectedIndex(int Value)
{
  FSelectedIndex = Value;
  if (!FItemId) return;
  TVITEM item;
  item.mask = TVIF_SELECTEDIMAGE;
  item.hItem = FItemId;
  item.iSelectedImage = Value;
  GetTreeView()->Send(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetExpanded(bool Value)
{
  if (Value == FExpanded) return;
  if (Value && FChildren.empty()) return;
  if (FItemId) {
    // The window asks OnExpanding / OnCollapsing and reports back what happened.
    GetTreeView()->Send(TVM_EXPAND, Value ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
    return;
  }
  TCustomTreeView* tree = GetTreeView();
  if (Value ? !tree->CanExpand(this) : !tree->CanCollapse(this)) return;
  FExpanded = Value;
  if (Value)
    tree->Expand(this);
  else
    tree->Collapse(this);
}

void TTreeNode::Expand(bool Recurse)
{
  SetExpanded(true);
  if (Recurse)
    for (auto& c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
  SetExpanded(false);
  if (Recurse)
    for (auto& c : FChildren) c->Collapse(true);
}

bool TTreeNode::GetSelected() const { return GetTreeView()->GetSelected() == this; }

void TTreeNode::SetSelected(bool Value)
{
  TCustomTreeView* tree = GetTreeView();
  if (Value)
    tree->SetSelected(const_cast<TTreeNode*>(this));
  else if (tree->GetSelected() == this)
    tree->SetSelected(nullptr);
}

void TTreeNode::MakeVisible()
{
  if (FItemId) {
    GetTreeView()->Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
    return;
  }
  for (TTreeNode* p = FParent; p; p = p->FParent) p->SetExpanded(true);
}

bool TTreeNode::EditText()
{
  TCustomTreeView* tree = GetTreeView();
  tree->HandleNeeded();
  return FItemId && tree->Send(TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(FItemId)) != 0;
}

RECT TTreeNode::DisplayRect(bool TextOnly)
{
  RECT r{};
  if (!FItemId) return r;
  *reinterpret_cast<HTREEITEM*>(&r) = FItemId;
  if (!GetTreeView()->Send(TVM_GETITEMRECT, TextOnly, reinterpret_cast<LPARAM>(&r))) return RECT{};
  return r;
}

int TTreeNode::GetLevel() const
{
  int level = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

int TTreeNode::GetAbsoluteIndex() const
{
  FOwner->Flat();
  return FAbsoluteIndex;
}

TTreeNode* TTreeNode::GetItem(int Index) const
{
  if (Index < 0 || Index >= GetCount()) TreeIndexError(Index);
  return FChildren[std::size_t(Index)].get();
}

TTreeNode* TTreeNode::GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }

TTreeNode* TTreeNode::GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }

TTreeNode* TTreeNode::GetNextSibling() const
{
  auto& list = Siblings();
  return std::size_t(FIndex + 1) < list.size() ? list[std::size_t(FIndex + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
  return FIndex > 0 ? Siblings()[std::size_t(FIndex - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
  if (TTreeNode* c = GetFirstChild()) return c;
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
  TTreeNode* p = GetPrevSibling();
  if (!p) return FParent;
  while (TTreeNode* last = p->GetLastChild()) p = last;
  return p;
}

bool TTreeNode::HasAsParent(TTreeNode* Node) const
{
  if (!Node) return false;
  for (TTreeNode* p = FParent; p; p = p->FParent)
    if (p == Node) return true;
  return false;
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren()
{
  TTreeNodes* nodes = FOwner;
  nodes->BeginUpdate();
  TScopeExit updated([nodes] { nodes->EndUpdate(); });
  while (!FChildren.empty()) nodes->Delete(FChildren.back().get());
}

bool TTreeNode::AlphaSort(bool ARecurse)
{
  TCustomTreeView* tree = GetTreeView();
  return tree->SortNodes(this, ARecurse, [tree](TTreeNode* A, TTreeNode* B) {
    int result = 0;
    if (tree->OnCompare)
      tree->OnCompare(tree, A, B, 0, result);
    else
      result = SysUtils::AnsiCompareStr(A->GetText(), B->GetText());
    return result;
  });
}

bool TTreeNode::CustomSort(TTVCompare SortProc, LPARAM Data, bool ARecurse)
{
  if (!SortProc) return AlphaSort(ARecurse);
  return GetTreeView()->SortNodes(this, ARecurse, [SortProc, Data](TTreeNode* A, TTreeNode* B) {
    return SortProc(reinterpret_cast<LPARAM>(A), reinterpret_cast<LPARAM>(B), Data);
  });
}

// ==== TTreeNodes ================================================================================

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes() = default;

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::ChildrenOf(TTreeNode* Parent)
{
  return Parent ? Parent->FChildren : FRoots;
}

void TTreeNodes::Renumber(std::vector<std::unique_ptr<TTreeNode>>& List, int From)
{
  for (std::size_t i = std::size_t(std::max(From, 0)); i < List.size(); ++i) List[i]->FIndex = int(i);
}

const std::vector<TTreeNode*>& TTreeNodes::Flat() const
{
  if (!FFlatDirty) return FFlat;
  FFlat.clear();
  FFlat.reserve(std::size_t(FCount));
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) {
    n->FAbsoluteIndex = int(FFlat.size());
    FFlat.push_back(n);
  }
  FFlatDirty = false;
  return FFlat;
}

TTreeNode* TTreeNodes::GetItem(int Index) const
{
  const auto& flat = Flat();
  if (Index < 0 || Index >= int(flat.size())) TreeIndexError(Index);
  return flat[std::size_t(Index)];
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM ItemId) const
{
  if (!ItemId || !FOwner->HandleAllocated()) return nullptr;
  TVITEM item;
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = ItemId;
  if (!FOwner->Send(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return NodeOfParam(item.lParam);
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* Parent, int Index, const AnsiString& S, void* Ptr)
{
  auto& list = ChildrenOf(Parent);
  Index = std::clamp(Index, 0, int(list.size()));
  std::unique_ptr<TTreeNode> owned(new TTreeNode(this));
  TTreeNode* node = owned.get();
  node->FParent = Parent;
  node->FText = S;
  node->FData = Ptr;
  list.insert(list.begin() + Index, std::move(owned));
  Renumber(list, Index);
  ++FCount;
  Changed();
  if (FOwner->HandleAllocated() && (!Parent || Parent->FItemId)) InsertItem(node);
  return node;
}

void TTreeNodes::InsertItem(TTreeNode* Node)
{
  TVINSERTSTRUCT ins;
  ins.hParent = Node->FParent ? Node->FParent->FItemId : TVI_ROOT;
  TTreeNode* before = Node->GetPrevSibling();
  ins.hInsertAfter = before ? before->FItemId : TVI_FIRST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(Node->FText.c_str());
  ins.item.iImage = Node->FImageIndex;
  ins.item.iSelectedImage = Node->FSelectedIndex;
  ins.item.lParam = reinterpret_cast<LPARAM>(Node);
  Node->FItemId = reinterpret_cast<HTREEITEM>(FOwner->Send(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr)
{
  TTreeNode* parent = Sibling ? Sibling->FParent : nullptr;
  return InsertAt(parent, int(ChildrenOf(parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr)
{
  return InsertAt(Sibling ? Sibling->FParent : nullptr, 0, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr)
{
  return InsertAt(Parent, int(ChildrenOf(Parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr)
{
  return InsertAt(Parent, 0, S, Ptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr)
{
  if (!Sibling) return AddObject(nullptr, S, Ptr);
  return InsertAt(Sibling->FParent, Sibling->FIndex, S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
  if (!Node || Node->FOwner != this) return;
  TCustomTreeView* tree = FOwner;
  if (Node->FItemId) {
    // The window reports each item (children first) and moves the selection off the branch.
    tree->Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Node->FItemId));
  } else {
    std::function<void(TTreeNode*)> forget = [&](TTreeNode* N) {
      for (auto& c : N->FChildren) forget(c.get());
      tree->ForgetNode(N);
    };
    forget(Node);
  }
  // Whatever still points into the branch lets go before it is freed.
  auto within = [Node](TTreeNode* n) { return n && (n == Node || n->HasAsParent(Node)); };
  if (within(tree->FSelected)) tree->FSelected = nullptr;
  if (within(tree->FDropTarget)) tree->FDropTarget = nullptr;
  if (within(tree->FDragNode)) tree->FDragNode = nullptr;
  int gone = 1;
  for (TTreeNode* n = Node->GetFirstChild(); n && n->HasAsParent(Node); n = n->GetNext()) ++gone;
  auto& list = ChildrenOf(Node->FParent);
  int at = Node->FIndex;
  list.erase(list.begin() + at);
  Renumber(list, at);
  FCount -= gone;
  Changed();
}

void TTreeNodes::Clear()
{
  BeginUpdate();
  TScopeExit updated([this] { EndUpdate(); });
  while (!FRoots.empty()) Delete(FRoots.back().get());
}

void TTreeNodes::BeginUpdate()
{
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) FOwner->Send(WM_SETREDRAW, FALSE);
}

void TTreeNodes::EndUpdate()
{
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FOwner->HandleAllocated()) {
    FOwner->Send(WM_SETREDRAW, TRUE);
    FOwner->Invalidate();
  }
}

// ==== TCustomTreeView ===========================================================================

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FTreeNodes(std::make_unique<TTreeNodes>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>())
{
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csClickEvents};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FImageChangeLink->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
}

TCustomTreeView::~TCustomTreeView()
{
  // The window's last notifications are no events now, and no node outlives its tree.
  ++FQuiet;
  FSelected = FDropTarget = FDragNode = nullptr;
  if (HandleAllocated()) DestroyHandle();
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

LRESULT TCustomTreeView::Send(UINT Msg, WPARAM W, LPARAM L) { return Windows::SendMessage(GetHandle(), Msg, W, L); }

void TCustomTreeView::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Windows::InitCommonControls();
  CreateSubClass(Params, WC_TREEVIEW);
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (FRowSelect) Params.Style |= TVS_FULLROWSELECT;
  if (FAutoExpand) Params.Style |= TVS_SINGLEEXPAND;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd()
{
  ++FQuiet;
  TScopeExit quiet([this] { --FQuiet; });
  TWinControl::CreateWnd();
  Send(TVM_SETINDENT, WPARAM(FIndent));
  if (FImages) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages->GetHandle()));
  if (!FTreeNodes->GetCount()) return;
  Send(WM_SETREDRAW, FALSE);
  const auto& flat = FTreeNodes->Flat();
  for (TTreeNode* n : flat) FTreeNodes->InsertItem(n);
  for (TTreeNode* n : flat)
    if (n->FExpanded) Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(n->FItemId));
  if (FSelected) Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSelected->FItemId));
  if (FTreeNodes->FUpdateCount == 0) Send(WM_SETREDRAW, TRUE);
}

void TCustomTreeView::DestroyWnd()
{
  ++FQuiet;
  TScopeExit quiet([this] { --FQuiet; });
  TWinControl::DestroyWnd();
  for (TTreeNode* n : FTreeNodes->Flat()) n->FItemId = nullptr;
}

void TCustomTreeView::ForgetNode(TTreeNode* Node)
{
  if (!FQuiet && !GetComponentState().Contains(csDestroying)) Delete(Node);
  Node->FItemId = nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* Value)
{
  if (Value && Value->FOwner != FTreeNodes.get()) return;
  if (HandleAllocated() && (!Value || Value->FItemId)) {
    // The window asks OnChanging and reports the change (or its refusal) back.
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Value ? Value->FItemId : nullptr));
    return;
  }
  if (Value == FSelected || !CanChange(Value)) return;
  FSelected = Value;
  Change(Value);
}

void TCustomTreeView::SetDropTarget(TTreeNode* Value)
{
  FDropTarget = Value;
  if (HandleAllocated())
    Send(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(Value ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y)
{
  if (!HandleAllocated()) return nullptr;
  TVHITTESTINFO info;
  info.pt = POINT{X, Y};
  auto h = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (!h || (info.flags & (TVHT_NOWHERE | TVHT_ABOVE | TVHT_BELOW | TVHT_TOLEFT | TVHT_TORIGHT))) return nullptr;
  return FTreeNodes->GetNode(h);
}

bool TCustomTreeView::SortNodes(TTreeNode* Parent, bool Recurse,
                                const std::function<int(TTreeNode*, TTreeNode*)>& Compare)
{
  std::function<void(TTreeNode*)> sortLevel = [&](TTreeNode* P) {
    auto& list = FTreeNodes->ChildrenOf(P);
    std::stable_sort(list.begin(), list.end(),
                     [&](const std::unique_ptr<TTreeNode>& A, const std::unique_ptr<TTreeNode>& B) {
                       return Compare(A.get(), B.get()) < 0;
                     });
    TTreeNodes::Renumber(list, 0);
    if (Recurse)
      for (auto& c : list) sortLevel(c.get());
  };
  sortLevel(Parent);
  FTreeNodes->Changed();
  if (HandleAllocated() && (!Parent || Parent->FItemId)) {
    // The window takes the order just made: each node's place among its siblings.
    TVSORTCB cb;
    cb.hParent = Parent ? Parent->FItemId : TVI_ROOT;
    cb.lpfnCompare = [](LPARAM A, LPARAM B, LPARAM) { return NodeOfParam(A)->GetIndex() - NodeOfParam(B)->GetIndex(); };
    Send(TVM_SORTCHILDRENCB, Recurse, reinterpret_cast<LPARAM>(&cb));
  }
  return true;
}

bool TCustomTreeView::AlphaSort(bool ARecurse)
{
  return SortNodes(nullptr, ARecurse, [this](TTreeNode* A, TTreeNode* B) {
    int result = 0;
    if (OnCompare)
      OnCompare(this, A, B, 0, result);
    else
      result = SysUtils::AnsiCompareStr(A->GetText(), B->GetText());
    return result;
  });
}

bool TCustomTreeView::CustomSort(TTVCompare SortProc, LPARAM Data, bool ARecurse)
{
  if (!SortProc) return AlphaSort(ARecurse);
  return SortNodes(nullptr, ARecurse, [SortProc, Data](TTreeNode* A, TTreeNode* B) {
    return SortProc(reinterpret_cast<LPARAM>(A), reinterpret_cast<LPARAM>(B), Data);
  });
}

void TCustomTreeView::FullExpand()
{
  for (auto& n : FTreeNodes->FRoots) n->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
  for (auto& n : FTreeNodes->FRoots) n->Collapse(true);
}

bool TCustomTreeView::IsEditing() { return HandleAllocated() && Send(TVM_GETEDITCONTROL) != 0; }

void TCustomTreeView::SetImages(TCustomImageList* Value)
{
  if (Value == FImages) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  if (HandleAllocated())
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages ? FImages->GetHandle() : nullptr));
}

void TCustomTreeView::ImageListChange(TObject*)
{
  if (HandleAllocated() && FImages)
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages->GetHandle()));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  // The list is being destroyed: forget it without calling into it.
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (HandleAllocated()) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  }
}

void TCustomTreeView::SetIndent(int Value)
{
  if (Value == FIndent) return;
  FIndent = Value;
  if (HandleAllocated()) Send(TVM_SETINDENT, WPARAM(std::max(Value, 0)));
}

void TCustomTreeView::SetStyleFlag(bool& Flag, bool Value)
{
  if (Flag == Value) return;
  Flag = Value;
  RecreateWnd();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value)
{
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

// ---- Events --------------------------------------------------------------------------------------

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node)
{
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node)
{
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node)
{
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node)
{
  bool allow = !FReadOnly;
  if (allow && OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, AnsiString& S)
{
  if (OnEdited) OnEdited(this, Node, S);
}

void TCustomTreeView::Delete(TTreeNode* Node)
{
  if (OnDeletion) OnDeletion(this, Node);
}

void TCustomTreeView::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
  TWinControl::DragOver(Source, X, Y, State, Accept);
  SetDropTarget(State == dsDragLeave ? nullptr : GetNodeAt(X, Y));
}

void TCustomTreeView::DragDrop(TObject* Source, int X, int Y)
{
  TWinControl::DragDrop(Source, X, Y);
  SetDropTarget(nullptr);
}

// ---- Notifications --------------------------------------------------------------------------------

void TCustomTreeView::WndProc(TMessage& Message)
{
  // An automatic drag starts on the press: the node under it is the one dragged.
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && GetDragMode() == dmAutomatic &&
      HandleAllocated())
    FDragNode = GetNodeAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  TWinControl::WndProc(Message);
}

void TCustomTreeView::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomTreeView::CNNotify(TMessage& Message)
{
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  Message.Result = 0;
  if (!hdr) return;
  auto* tv = reinterpret_cast<NMTREEVIEW*>(hdr);
  auto* di = reinterpret_cast<NMTVDISPINFO*>(hdr);
  switch (hdr->code) {
    case TVN_DELETEITEM:
      if (TTreeNode* n = NodeOfParam(tv->itemOld.lParam)) {
        if (FSelected == n && !FQuiet) FSelected = nullptr;
        ForgetNode(n);
      }
      return;
    default: break;
  }
  if (FQuiet) return;
  switch (hdr->code) {
    case TVN_SELCHANGING: Message.Result = !CanChange(NodeOfParam(tv->itemNew.lParam)); break;
    case TVN_SELCHANGED:
      FSelected = NodeOfParam(tv->itemNew.lParam);
      Change(FSelected);
      break;
    case TVN_ITEMEXPANDING: {
      TTreeNode* n = NodeOfParam(tv->itemNew.lParam);
      Message.Result = !(tv->action == TVE_EXPAND ? CanExpand(n) : CanCollapse(n));
      break;
    }
    case TVN_ITEMEXPANDED: {
      TTreeNode* n = NodeOfParam(tv->itemNew.lParam);
      if (!n) break;
      n->FExpanded = tv->action == TVE_EXPAND;
      if (n->FExpanded)
        Expand(n);
      else
        Collapse(n);
      break;
    }
    case TVN_BEGINLABELEDIT: Message.Result = !CanEdit(NodeOfParam(di->item.lParam)); break;
    case TVN_ENDLABELEDIT: {
      TTreeNode* n = NodeOfParam(di->item.lParam);
      if (!n || !di->item.pszText) break;  // cancelled
      AnsiString s = di->item.pszText;
      Edit(n, s);
      n->SetText(s);
      break;
    }
    case TVN_BEGINDRAG:
      FDragNode = NodeOfParam(tv->itemNew.lParam);
      if (GetDragMode() == dmAutomatic) BeginDrag(true);
      break;
    default: break;
  }
}
