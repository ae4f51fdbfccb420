// Owner-drawn menu items: a menu with Images draws its pop-up items itself, in the classic look:
// a column for the image (or the check mark), the caption, and the short cut at the right.
// Flow: TMenuItem::AppendTo marks the item MF_OWNERDRAW with its command as item data; the
// window tracking the menu (the form for a main menu, the pop-up list window for a pop-up menu)
// hands WM_MEASUREITEM / WM_DRAWITEM to TMenu::DoOwnerDraw, which finds the item and calls
// MeasureItem / AdvancedDrawItem.
#include <algorithm>
#include <memory>

#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/win/menu/Menus.h"

namespace {

constexpr int kTextGap = 6, kKeyGap = 24, kArrowRoom = 16, kMinHeight = 20;

// The menu font, bold for the default item, selected into DC while it lives.
class TMenuFont {
public:
  TMenuFont(HDC DC, bool Bold) : FDC(DC)
  {
    HFONT base = static_cast<HFONT>(Windows::GetStockObject(DEFAULT_GUI_FONT));
    if (Bold) {
      LOGFONTA lf{};
      Windows::GetObject(base, &lf);
      lf.lfWeight = FW_BOLD;
      FBold = Windows::CreateFontIndirect(lf);
    }
    FOld = Windows::SelectObject(DC, FBold ? FBold : base);
  }
  ~TMenuFont()
  {
    Windows::SelectObject(FDC, FOld);
    if (FBold) Windows::DeleteObject(FBold);
  }
  TMenuFont(const TMenuFont&) = delete;
  TMenuFont& operator=(const TMenuFont&) = delete;

private:
  HDC FDC;
  HFONT FBold = nullptr;
  HGDIOBJ FOld;
};

SIZE TextSize(HDC DC, const AnsiString& Text)
{
  SIZE s{0, 0};
  Windows::GetTextExtentPoint32(DC, Text.c_str(), int(Text.size()), &s);
  return s;
}

}  // namespace

bool TMenuItem::IsOwnerDrawn() const
{
  TMenu* menu = GetParentMenu();
  if (!menu || !menu->GetImages() || IsLine()) return false;
  // On the bar only the items with an image draw themselves; the others stay the system's.
  return !IsBarItem() || FImageIndex >= 0;
}

bool TMenuItem::IsBarItem() const { return FParent && FParent->FMenu && FParent->FMenu->FBar; }

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height)
{
  TCustomImageList* images = GetParentMenu() ? GetParentMenu()->GetImages() : nullptr;
  int column = std::max(16, images ? images->GetWidth() : 0) + 6;
  HDC dc = ACanvas->GetHandle();
  TMenuFont font(dc, FDefault);
  SIZE caption = TextSize(dc, Menus::StripHotkey(FCaption));
  if (IsBarItem()) {
    // On the bar: the image, then the caption, with the system items' margins.
    Width = (images ? images->GetWidth() + 4 : 0) + caption.cx + 16;
    return;
  }
  AnsiString keys = Menus::ShortCutToText(FShortCut);
  int keysWidth = keys.empty() ? 0 : TextSize(dc, keys).cx + kKeyGap;
  Width = column + kTextGap + caption.cx + keysWidth + kArrowRoom;
  Height = std::max({kMinHeight, int(caption.cy) + 6, images ? images->GetHeight() + 4 : 0});
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, RECT ARect, TOwnerDrawState State)
{
  TCustomImageList* images = GetParentMenu() ? GetParentMenu()->GetImages() : nullptr;
  bool hasImage = images && FImageIndex >= 0 && FImageIndex < images->GetCount();
  bool selected = State.Contains(odSelected), disabled = State.Contains(odDisabled) || State.Contains(odGrayed);
  int column = std::max(16, images ? images->GetWidth() : 0) + 6;
  HDC dc = ACanvas->GetHandle();
  if (IsBarItem()) {
    DrawBarItem(ACanvas, ARect, hasImage ? images : nullptr, selected, disabled);
    return;
  }

  // The background: lit items are highlighted, past the image column when there is an image.
  RECT glyph{ARect.left, ARect.top, ARect.left + column, ARect.bottom};
  RECT text = ARect;
  if (hasImage) text.left = glyph.right + 1;
  Windows::FillRect(dc, &ARect, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
  if (selected && !disabled) Windows::FillRect(dc, &text, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));

  RECT frame{glyph.left + 1, glyph.top + 1, glyph.right - 1, glyph.bottom - 1};
  if (hasImage) {
    if (FChecked) {
      // Checked with an image: the image sits sunken on a lighter ground.
      Windows::FillRect(dc, &frame, reinterpret_cast<HBRUSH>(COLOR_3DHILIGHT + 1));
      RECT edge = frame;
      Windows::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    } else if (selected && !disabled) {
      RECT edge = frame;
      Windows::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    int x = glyph.left + (column - images->GetWidth()) / 2;
    int y = ARect.top + (ARect.bottom - ARect.top - images->GetHeight()) / 2;
    images->Draw(ACanvas, x, y, FImageIndex, !disabled);
  } else {
    if (selected && !disabled) Windows::FillRect(dc, &glyph, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    if (FChecked) {
      RECT mark{glyph.left + 2, ARect.top + 3, glyph.right - 2, ARect.bottom - 3};
      Windows::SetTextColor(dc, Windows::GetSysColor(selected && !disabled ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
      Windows::DrawFrameControl(dc, &mark, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
  }

  // The caption and the short cut; disabled ones embossed as the classic menus show them.
  TMenuFont font(dc, FDefault);
  Windows::SetBkMode(dc, TRANSPARENT);
  RECT r{glyph.right + kTextGap, ARect.top, ARect.right - kArrowRoom, ARect.bottom};
  AnsiString keys = Menus::ShortCutToText(FShortCut);
  auto put = [&](RECT at, int colour) {
    Windows::SetTextColor(dc, Windows::GetSysColor(colour));
    Windows::DrawText(dc, FCaption.c_str(), int(FCaption.size()), &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!keys.empty() && FItems.empty())
      Windows::DrawText(dc, keys.c_str(), int(keys.size()), &at, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  if (disabled) {
    if (!selected) put(RECT{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1}, COLOR_3DHILIGHT);
    put(r, COLOR_GRAYTEXT);
  } else {
    put(r, selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  }
}

void TMenu::SetImages(TCustomImageList* Value)
{
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(MenuComponent());
  FImages = Value;
  if (Value) Value->FreeNotification(MenuComponent());
  ImagesChanged();
}

void TMenu::ImagesFreed()
{
  FImages = nullptr;
  ImagesChanged();
}

void TMenu::ImagesChanged()
{
  // Every pop-up of the tree is refilled: its items change between system- and self-drawn.
  std::vector<TMenuItem*> stack{FItems.get()};
  while (!stack.empty()) {
    TMenuItem* i = stack.back();
    stack.pop_back();
    if (i->FHandle) i->RebuildHandle();
    for (TMenuItem* c : i->FItems) stack.push_back(c);
  }
  MenuChanged();
}

void TMenuItem::DrawBarItem(TCanvas* ACanvas, RECT ARect, TCustomImageList* Images, bool Selected, bool Disabled)
{
  HDC dc = ACanvas->GetHandle();
  Windows::FillRect(dc, &ARect, reinterpret_cast<HBRUSH>((Selected ? COLOR_HIGHLIGHT : COLOR_MENU) + 1));
  RECT text = ARect;
  text.left += 8;
  if (Images) {
    int y = ARect.top + (ARect.bottom - ARect.top - Images->GetHeight()) / 2;
    Images->Draw(ACanvas, text.left, y, FImageIndex, !Disabled);
    text.left += Images->GetWidth() + 4;
  }
  TMenuFont font(dc, FDefault);
  Windows::SetBkMode(dc, TRANSPARENT);
  Windows::SetTextColor(dc, Windows::GetSysColor(Disabled   ? COLOR_GRAYTEXT
                                                 : Selected ? COLOR_HIGHLIGHTTEXT
                                                            : COLOR_MENUTEXT));
  Windows::DrawText(dc, FCaption.c_str(), int(FCaption.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

bool TMenu::DoOwnerDraw(TMessage& Message)
{
  bool draw = Message.Msg == WM_DRAWITEM;
  if (!Message.LParam || (!draw && Message.Msg != WM_MEASUREITEM)) return false;
  UINT command = draw ? UINT(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->itemData)
                      : UINT(reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->itemData);
  TMenuItem* item = FindItem(command);
  if (!item || !item->IsOwnerDrawn()) return false;
  auto canvas = std::make_unique<TCanvas>();
  if (draw) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    canvas->SetHandle(di->hDC);
    item->AdvancedDrawItem(canvas.get(), di->rcItem, OwnerDrawStateOf(di->itemState));
    canvas->SetHandle(nullptr);
  } else {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    HDC screen = Windows::CreateCompatibleDC(nullptr);  // measures as the screen does
    canvas->SetHandle(screen);
    int w = 0, h = 0;
    item->MeasureItem(canvas.get(), w, h);
    canvas->SetHandle(nullptr);
    Windows::DeleteDC(screen);
    mi->itemWidth = UINT(w);
    mi->itemHeight = UINT(h);
  }
  Message.Result = TRUE;
  return true;
}
