#include "platform/stdctrls/buttons/BitBtn.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/stdctrls/actions/ActnList.h"
#include "platform/stdctrls/buttons/ButtonGlyph.h"

namespace {

struct TKindInfo {
  const char* Caption;
  TModalResult Result;
};

// The stock buttons' captions and answers, by kind.
constexpr TKindInfo kKinds[] = {
    {"", mrNone},       {"OK", mrOk},       {"Cancel", mrCancel}, {"&Help", mrNone},     {"&Yes", mrYes}, {"&No", mrNo},
    {"&Close", mrNone}, {"Abort", mrAbort}, {"&Retry", mrRetry},  {"&Ignore", mrIgnore}, {"&All", mrAll},
};

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>())
{
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::ActionChange(TObject* Sender, bool CheckDefaults)
{
  TButton::ActionChange(Sender, CheckDefaults);
  if (CheckDefaults && FGlyph && !FGlyph->GetEmpty()) return;
  TBitmap image;
  if (ActnList::ImageOf(dynamic_cast<TBasicAction*>(Sender), &image)) SetGlyph(&image);
}

void TBitBtn::CreateParams(TCreateParams& Params)
{
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::Click()
{
  TCustomForm* form = GetParentForm();
  if (FKind == bkClose && form) {
    form->Close();
    TControl::Click();
    return;
  }
  TButton::Click();
}

void TBitBtn::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
  FNumGlyphs = ButtonGlyph::ImageCount(Value, FNumGlyphs);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value)
{
  if (FKind == Value) return;
  FKind = Value;
  if (Value == bkCustom) return;
  const TKindInfo& info = kKinds[int(Value)];
  SetCaption(info.Caption);
  SetModalResult(info.Result);
  if (Value == bkOK || Value == bkYes) SetDefault(true);
  if (Value == bkCancel || Value == bkNo) SetCancel(true);
}

void TBitBtn::SetLayout(TButtonLayout Value)
{
  FLayout = Value;
  Invalidate();
}

void TBitBtn::SetMargin(int Value)
{
  FMargin = std::max(Value, -1);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int Value)
{
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}

void TBitBtn::SetSpacing(int Value)
{
  FSpacing = Value;
  Invalidate();
}

void TBitBtn::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = TRUE;
    return;
  }
  if (Message.Msg == CN_MEASUREITEM) {
    Message.Result = TRUE;
    return;
  }
  TButton::Dispatch(Message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct)
{
  TCanvas canvas;
  canvas.SetHandle(DrawItemStruct.hDC);
  RECT r = DrawItemStruct.rcItem;
  bool pressed = DrawItemStruct.itemState & ODS_SELECTED;
  bool focused = DrawItemStruct.itemState & ODS_FOCUS;
  bool enabled = !(DrawItemStruct.itemState & ODS_DISABLED) && GetEnabled();

  canvas.GetBrush()->SetColor(clBtnFace);
  canvas.FillRect(r);
  // The active default button has a dark frame around its face.
  if (IsActive() || focused) {
    canvas.GetBrush()->SetColor(clWindowFrame);
    canvas.FrameRect(r);
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (pressed) {
    canvas.GetBrush()->SetColor(clBtnShadow);
    canvas.FrameRect(r);
  } else {
    RECT edge = r;
    Windows::DrawEdge(canvas.GetHandle(), &edge, EDGE_RAISED, BF_RECT);
  }
  canvas.GetFont()->Assign(GetFont());
  ButtonGlyph::TGlyphFace face;
  face.Caption = GetCaption();
  face.Glyph = FGlyph.get();
  face.NumGlyphs = FNumGlyphs;
  face.Layout = FLayout;
  face.Margin = FMargin;
  face.Spacing = FSpacing;
  face.State = !enabled ? bsDisabled : pressed ? bsDown : bsUp;
  RECT inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  RECT caption = ButtonGlyph::Draw(&canvas, inner, POINT{pressed ? 1 : 0, pressed ? 1 : 0}, face);
  if (focused && enabled) {
    RECT frame{caption.left - 2, caption.top - 1, caption.right + 2, caption.bottom + 1};
    if (face.Caption.empty()) frame = inner;
    canvas.GetBrush()->SetColor(clBtnFace);
    canvas.GetFont()->SetColor(clBtnText);
    canvas.DrawFocusRect(frame);
  }
  canvas.SetHandle(nullptr);
}
