// TCustomTreeView / TTreeView over the "SysTreeView32" window class, with its nodes.
//
// The nodes are plain objects owned by TTreeNodes: they live before the window exists and
// across a re-created one, and navigation (parent, children, siblings, absolute index) never
// asks the window. While the window exists each node has an item there whose lParam is the
// node; texts, images and the order are written to both, while the selection and the expanded
// states come back from the window's notifications.
//
// Events: OnChanging / OnChange around a selection change (by the user, by Selected, or by the
// deletion of the selected node), OnExpanding / OnExpanded and OnCollapsing / OnCollapsed, OnEditing /
// OnEdited for label editing, OnDeletion for each node deleted (children before their parent;
// not while the control itself is destroyed), OnCompare for AlphaSort. None of them fires while
// the window is made or destroyed.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

struct TreeItemTag;
using HTREEITEM = TreeItemTag*;
class TCustomTreeView;
class TTreeNodes;

class TTreeNode : public TObject {
public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;
  ~TTreeNode() override;

  TTreeNodes* GetOwner() const { return FOwner; }
  TCustomTreeView* GetTreeView() const;
  // The window's item; null while the control has no window.
  HTREEITEM GetItemId() const { return FItemId; }

  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value);
  // The caller's pointer; the node never frees it.
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);

  // Expanding a node without children changes nothing.
  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool GetSelected() const;
  void SetSelected(bool Value);
  // Expands the parents and scrolls the node into view.
  void MakeVisible();
  // Starts editing the label (the window is made if needed); false when refused.
  bool EditText();
  // The node's row (TextOnly: its label) in client coordinates; empty when it is not shown.
  RECT DisplayRect(bool TextOnly);

  // ---- Navigation (null where there is none)
  TTreeNode* GetParent() const { return FParent; }
  // 0 for a top-level node.
  int GetLevel() const;
  // The place among its siblings.
  int GetIndex() const { return FIndex; }
  // The place in the whole tree, counted top to bottom with every node expanded.
  int GetAbsoluteIndex() const;
  int GetCount() const { return int(FChildren.size()); }
  // Raises EListError for a bad index.
  TTreeNode* GetItem(int Index) const;
  bool GetHasChildren() const { return !FChildren.empty(); }
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The child after / before Value.
  TTreeNode* GetNextChild(TTreeNode* Value) const { return Value ? Value->GetNextSibling() : nullptr; }
  TTreeNode* GetPrevChild(TTreeNode* Value) const { return Value ? Value->GetPrevSibling() : nullptr; }
  // Top to bottom with every node expanded.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // Whether Node lies below this one.
  bool HasAsParent(TTreeNode* Node) const;

  // Deletes the node and everything below it.
  void Delete();
  void DeleteChildren();
  // Orders the children by text (or the tree's OnCompare); Recurse: every level below too.
  // Equal nodes keep their order.
  bool AlphaSort(bool ARecurse = false);
  bool CustomSort(TTVCompare SortProc, LPARAM Data, bool ARecurse = false);

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* AOwner);
  std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  HTREEITEM FItemId = nullptr;
  AnsiString FText;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
  int FIndex = 0;                   // among the siblings
  mutable int FAbsoluteIndex = -1;  // valid while the owner's flat list is
  bool FExpanded = false;
};

// The nodes of one tree view, which owns this.
class TTreeNodes : public TObject {
public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes() override;
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TCustomTreeView* GetOwner() const { return FOwner; }
  // Every node, at every level.
  int GetCount() const { return FCount; }
  // By absolute index; raises EListError for a bad one.
  TTreeNode* GetItem(int Index) const;
  TTreeNode* operator[](int Index) const { return GetItem(Index); }
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  // The node of a window item; null when none.
  TTreeNode* GetNode(HTREEITEM ItemId) const;

  // The returned nodes are owned here. Sibling / Parent null: at the top level.
  // Add: after Sibling's last sibling; AddFirst: before its first; Insert: just before Sibling.
  TTreeNode* Add(TTreeNode* Sibling, const AnsiString& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const AnsiString& S) { return AddObjectFirst(Sibling, S, nullptr); }
  TTreeNode* AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  TTreeNode* AddChild(TTreeNode* Parent, const AnsiString& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const AnsiString& S) { return AddChildObjectFirst(Parent, S, nullptr); }
  TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr);
  TTreeNode* Insert(TTreeNode* Sibling, const AnsiString& S) { return InsertObject(Sibling, S, nullptr); }
  TTreeNode* InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  // Deletes Node and everything below it (OnDeletion for each, children first); Node is freed.
  void Delete(TTreeNode* Node);
  void Clear();

  // Changes between the two are not painted; the outermost EndUpdate repaints once.
  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  // Puts a new node into Parent's children (null: the top level) at Index.
  TTreeNode* InsertAt(TTreeNode* Parent, int Index, const AnsiString& S, void* Ptr);
  std::vector<std::unique_ptr<TTreeNode>>& ChildrenOf(TTreeNode* Parent);
  // Makes the window item of Node (whose parent has one).
  void InsertItem(TTreeNode* Node);
  // Every node top to bottom; rebuilt after a change.
  const std::vector<TTreeNode*>& Flat() const;
  void Changed() { FFlatDirty = true; }
  static void Renumber(std::vector<std::unique_ptr<TTreeNode>>& List, int From);

  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
  int FCount = 0;
  int FUpdateCount = 0;
  mutable std::vector<TTreeNode*> FFlat;
  mutable bool FFlatDirty = true;
};

class TCustomTreeView : public TWinControl {
  PELTO_CLASS(TCustomTreeView, TWinControl)
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  // Owned by the control.
  TTreeNodes* GetItems() const { return FTreeNodes.get(); }
  // The selected node; null when none.
  TTreeNode* GetSelected() const { return FSelected; }
  // Asks OnChanging first; a refused change keeps the selection.
  void SetSelected(TTreeNode* Value);
  // The node marked as the target of a drag; null when none.
  TTreeNode* GetDropTarget() const { return FDropTarget; }
  void SetDropTarget(TTreeNode* Value);
  // The node whose row holds the client point; null outside every row or without a window.
  TTreeNode* GetNodeAt(int X, int Y);
  // The node the last drag started on (TVN_BEGINDRAG); null when none.
  TTreeNode* GetDraggedNode() const { return FDragNode; }

  // Sorts every level by text, or by OnCompare when it is set.
  bool AlphaSort(bool ARecurse = true);
  bool CustomSort(TTVCompare SortProc, LPARAM Data, bool ARecurse = true);
  void FullExpand();
  void FullCollapse();
  // Whether a label is being edited.
  bool IsEditing();

  // Borrowed; forgotten when the list is freed.
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int GetIndent() const { return FIndent; }
  void SetIndent(int Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { SetStyleFlag(FReadOnly, Value); }
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { SetStyleFlag(FShowButtons, Value); }
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { SetStyleFlag(FShowLines, Value); }
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value) { SetStyleFlag(FShowRoot, Value); }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetStyleFlag(FHideSelection, Value); }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { SetStyleFlag(FRowSelect, Value); }
  bool GetAutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool Value) { SetStyleFlag(FAutoExpand, Value); }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnDeletion;
  TTVCompareEvent OnCompare;

  // The drop target follows the mouse while something is dragged over the control.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;

  PELTO_PUBLISHED(p)
  {
    p.Property("AutoExpand", &ThisClass::GetAutoExpand, &ThisClass::SetAutoExpand).Default(false);
    p.Property("BorderStyle", &ThisClass::GetBorderStyle, &ThisClass::SetBorderStyle).Default(bsSingle);
    p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
    p.Property("Images", &ThisClass::GetImages, &ThisClass::SetImages);
    p.Property("Indent", &ThisClass::GetIndent, &ThisClass::SetIndent);
    p.Property("ReadOnly", &ThisClass::GetReadOnly, &ThisClass::SetReadOnly).Default(false);
    p.Property("RowSelect", &ThisClass::GetRowSelect, &ThisClass::SetRowSelect).Default(false);
    p.Property("ShowButtons", &ThisClass::GetShowButtons, &ThisClass::SetShowButtons).Default(true);
    p.Property("ShowLines", &ThisClass::GetShowLines, &ThisClass::SetShowLines).Default(true);
    p.Property("ShowRoot", &ThisClass::GetShowRoot, &ThisClass::SetShowRoot).Default(true);
    p.Property("OnChange", TypeInfo_TTVChangedEvent(), &ThisClass::OnChange, &ThisClass::OnChange);
    p.Property("OnChanging", TypeInfo_TTVChangingEvent(), &ThisClass::OnChanging, &ThisClass::OnChanging);
    p.Property("OnCollapsed", TypeInfo_TTVExpandedEvent(), &ThisClass::OnCollapsed, &ThisClass::OnCollapsed);
    p.Property("OnCollapsing", TypeInfo_TTVCollapsingEvent(), &ThisClass::OnCollapsing, &ThisClass::OnCollapsing);
    p.Property("OnCompare", TypeInfo_TTVCompareEvent(), &ThisClass::OnCompare, &ThisClass::OnCompare);
    p.Property("OnDeletion", TypeInfo_TTVExpandedEvent(), &ThisClass::OnDeletion, &ThisClass::OnDeletion);
    p.Property("OnEdited", TypeInfo_TTVEditedEvent(), &ThisClass::OnEdited, &ThisClass::OnEdited);
    p.Property("OnEditing", TypeInfo_TTVEditingEvent(), &ThisClass::OnEditing, &ThisClass::OnEditing);
    p.Property("OnExpanded", TypeInfo_TTVExpandedEvent(), &ThisClass::OnExpanded, &ThisClass::OnExpanded);
    p.Property("OnExpanding", TypeInfo_TTVExpandingEvent(), &ThisClass::OnExpanding, &ThisClass::OnExpanding);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, AnsiString& S);
  virtual void Delete(TTreeNode* Node);

private:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CNNotify(TMessage& Message);
  void SetStyleFlag(bool& Flag, bool Value);
  void ImageListChange(TObject* Sender);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);
  // Sorts Parent's children (null: the top level) by Less, then the window's likewise.
  bool SortNodes(TTreeNode* Parent, bool Recurse, const std::function<int(TTreeNode*, TTreeNode*)>& Compare);
  // The node forgets its window item before it goes (deletion or a window destroyed).
  void ForgetNode(TTreeNode* Node);

  std::unique_ptr<TTreeNodes> FTreeNodes;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FDropTarget = nullptr;
  TTreeNode* FDragNode = nullptr;
  int FIndent = 19;
  int FQuiet = 0;  // while the window is made or destroyed: its notifications are no events
  bool FReadOnly = false;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FHideSelection = true;
  bool FRowSelect = false;
  bool FAutoExpand = false;
  TBorderStyle FBorderStyle = bsSingle;
};

class TTreeView : public TCustomTreeView {
  PELTO_CLASS(TTreeView, TCustomTreeView)
public:
  using TCustomTreeView::TCustomTreeView;
};
