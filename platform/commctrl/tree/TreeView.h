// The tree view ("SysTreeView32"): items in levels with buttons, dotted lines (also at the
// root), images from a normal and a state image list, the selection shown when the control is
// not focused (TVS_SHOWSELALWAYS) and across the whole row (TVS_FULLROWSELECT, without lines),
// labels edited in an EDIT (TVS_EDITLABELS; Enter keeps the text, Escape drops it).
//
// The parent hears of it by WM_NOTIFY: TVN_SELCHANGING (non-zero keeps the selection) then
// TVN_SELCHANGED; TVN_ITEMEXPANDING (non-zero refuses) then TVN_ITEMEXPANDED; TVN_DELETEITEM
// for every item deleted, children before their parent, while the handle still answers;
// TVN_BEGINDRAG / TVN_BEGINRDRAG when the mouse moves far enough with a button down (not with
// TVS_DISABLEDRAGDROP); TVN_BEGINLABELEDIT (non-zero refuses) and TVN_ENDLABELEDIT (pszText
// null when cancelled; non-zero keeps the new text); TVN_GETDISPINFO for texts, images and
// children given by callback; TVN_KEYDOWN before a key is handled; NM_CLICK, NM_DBLCLK (non-zero
// stops the default toggle), NM_RCLICK (zero: WM_CONTEXTMENU follows).
//
// HTREEITEM values come from a checked table: a deleted or made-up handle makes a call fail.
// WM_SETREDRAW FALSE stops the control laying out and painting until it is switched on again.
#pragma once

#include "platform/commctrl/imagelist/ImageList.h"

struct TreeItemTag;
using HTREEITEM = TreeItemTag*;

constexpr const char* WC_TREEVIEW = "SysTreeView32";

constexpr DWORD TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4, TVS_EDITLABELS = 0x8,
                TVS_DISABLEDRAGDROP = 0x10, TVS_SHOWSELALWAYS = 0x20, TVS_RTLREADING = 0x40, TVS_NOTOOLTIPS = 0x80,
                TVS_CHECKBOXES = 0x100, TVS_TRACKSELECT = 0x200, TVS_SINGLEEXPAND = 0x400, TVS_INFOTIP = 0x800,
                TVS_FULLROWSELECT = 0x1000, TVS_NOSCROLL = 0x2000, TVS_NONEVENHEIGHT = 0x4000, TVS_NOHSCROLL = 0x8000;

constexpr UINT TVM_FIRST = 0x1100, TVM_INSERTITEM = TVM_FIRST + 0, TVM_DELETEITEM = TVM_FIRST + 1,
               TVM_EXPAND = TVM_FIRST + 2, TVM_GETITEMRECT = TVM_FIRST + 4, TVM_GETCOUNT = TVM_FIRST + 5,
               TVM_GETINDENT = TVM_FIRST + 6, TVM_SETINDENT = TVM_FIRST + 7, TVM_GETIMAGELIST = TVM_FIRST + 8,
               TVM_SETIMAGELIST = TVM_FIRST + 9, TVM_GETNEXTITEM = TVM_FIRST + 10, TVM_SELECTITEM = TVM_FIRST + 11,
               TVM_GETITEM = TVM_FIRST + 12, TVM_SETITEM = TVM_FIRST + 13, TVM_EDITLABEL = TVM_FIRST + 14,
               TVM_GETEDITCONTROL = TVM_FIRST + 15, TVM_GETVISIBLECOUNT = TVM_FIRST + 16, TVM_HITTEST = TVM_FIRST + 17,
               TVM_SORTCHILDREN = TVM_FIRST + 19, TVM_ENSUREVISIBLE = TVM_FIRST + 20,
               TVM_SORTCHILDRENCB = TVM_FIRST + 21, TVM_ENDEDITLABELNOW = TVM_FIRST + 22,
               TVM_SETITEMHEIGHT = TVM_FIRST + 27, TVM_GETITEMHEIGHT = TVM_FIRST + 28, TVM_SETBKCOLOR = TVM_FIRST + 29,
               TVM_SETTEXTCOLOR = TVM_FIRST + 30, TVM_GETBKCOLOR = TVM_FIRST + 31, TVM_GETTEXTCOLOR = TVM_FIRST + 32,
               TVM_GETITEMSTATE = TVM_FIRST + 39, TVM_SETLINECOLOR = TVM_FIRST + 40, TVM_GETLINECOLOR = TVM_FIRST + 41;

constexpr UINT TVIF_TEXT = 0x1, TVIF_IMAGE = 0x2, TVIF_PARAM = 0x4, TVIF_STATE = 0x8, TVIF_HANDLE = 0x10,
               TVIF_SELECTEDIMAGE = 0x20, TVIF_CHILDREN = 0x40, TVIF_INTEGRAL = 0x80, TVIF_DI_SETITEM = 0x1000;
constexpr UINT TVIS_FOCUSED = 0x1, TVIS_SELECTED = 0x2, TVIS_CUT = 0x4, TVIS_DROPHILITED = 0x8, TVIS_BOLD = 0x10,
               TVIS_EXPANDED = 0x20, TVIS_EXPANDEDONCE = 0x40, TVIS_EXPANDPARTIAL = 0x80, TVIS_OVERLAYMASK = 0xF00,
               TVIS_STATEIMAGEMASK = 0xF000, TVIS_USERMASK = 0xF000;
constexpr int I_CHILDRENCALLBACK = -1;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x10000)),
                       TVI_FIRST = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x0FFFF)),
                       TVI_LAST = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x0FFFE)),
                       TVI_SORT = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x0FFFD));

// TVM_EXPAND actions; TVM_GETNEXTITEM relations; TVM_SELECTITEM uses TVGN_CARET,
// TVGN_DROPHILITE and TVGN_FIRSTVISIBLE.
constexpr UINT TVE_COLLAPSE = 0x1, TVE_EXPAND = 0x2, TVE_TOGGLE = 0x3, TVE_ACTIONMASK = 0x3, TVE_EXPANDPARTIAL = 0x4000,
               TVE_COLLAPSERESET = 0x8000;
constexpr UINT TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PREVIOUS = 0x2, TVGN_PARENT = 0x3, TVGN_CHILD = 0x4,
               TVGN_FIRSTVISIBLE = 0x5, TVGN_NEXTVISIBLE = 0x6, TVGN_PREVIOUSVISIBLE = 0x7, TVGN_DROPHILITE = 0x8,
               TVGN_CARET = 0x9, TVGN_LASTVISIBLE = 0xA;
constexpr UINT TVSIL_NORMAL = 0, TVSIL_STATE = 2;
constexpr UINT TVHT_NOWHERE = 0x1, TVHT_ONITEMICON = 0x2, TVHT_ONITEMLABEL = 0x4, TVHT_ONITEMINDENT = 0x8,
               TVHT_ONITEMBUTTON = 0x10, TVHT_ONITEMRIGHT = 0x20, TVHT_ONITEMSTATEICON = 0x40,
               TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON, TVHT_ABOVE = 0x100,
               TVHT_BELOW = 0x200, TVHT_TORIGHT = 0x400, TVHT_TOLEFT = 0x800;
// What caused a selection change (NMTREEVIEW::action).
constexpr UINT TVC_UNKNOWN = 0x0, TVC_BYMOUSE = 0x1, TVC_BYKEYBOARD = 0x2;

constexpr UINT TVN_FIRST = UINT(-400), TVN_SELCHANGING = TVN_FIRST - 1, TVN_SELCHANGED = TVN_FIRST - 2,
               TVN_GETDISPINFO = TVN_FIRST - 3, TVN_SETDISPINFO = TVN_FIRST - 4, TVN_ITEMEXPANDING = TVN_FIRST - 5,
               TVN_ITEMEXPANDED = TVN_FIRST - 6, TVN_BEGINDRAG = TVN_FIRST - 7, TVN_BEGINRDRAG = TVN_FIRST - 8,
               TVN_DELETEITEM = TVN_FIRST - 9, TVN_BEGINLABELEDIT = TVN_FIRST - 10, TVN_ENDLABELEDIT = TVN_FIRST - 11,
               TVN_KEYDOWN = TVN_FIRST - 12;

// TVM_GETITEM copies at most cchTextMax bytes (with the terminating zero) into pszText.
struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0, stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0, iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEM item;
};

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = 0;
  TVITEM itemOld, itemNew;
  POINT ptDrag{0, 0};
};

struct NMTVDISPINFO {
  NMHDR hdr;
  TVITEM item;
};

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

struct TVHITTESTINFO {
  POINT pt{0, 0};
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB {
  HTREEITEM hParent = nullptr;
  PFNTVCOMPARE lpfnCompare = nullptr;
  LPARAM lParam = 0;
};

namespace TreeView {
void Register();
LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace TreeView
