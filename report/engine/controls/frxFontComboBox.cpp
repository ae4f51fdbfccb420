#include "report/engine/controls/frxFontComboBox.h"

#include <algorithm>
#include <cstdint>

#include "platform/commctrl/CommCtrl.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/rtl/Guards.h"
#include "platform/commctrl/combobox/ComboBox.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/sys/WinSpool.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/win/WinUser.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"
#include "platform/win/backend/Backend.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/print/frxPrinter.h"

// ============================================================================================
// The recently used block
// ============================================================================================

namespace frxFontMRU {

const char* const DefaultRegKey = "\\Software\\LanyueReport\\MRUFont";

namespace {

TObject* FlagsObject(int FontType) { return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(FontType)); }
AnsiString Slot(const char* Prefix, int N) { return AnsiString(Prefix) + char('0' + N); }

int AddFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD fontType, LPARAM data)
{
  auto* names = reinterpret_cast<TStringList*>(data);
  AnsiString name = lf->lfFaceName;
  if (!name.empty() && names->IndexOf(name) < 0) names->AddObject(name, FlagsObject(int(fontType)));
  return 1;
}

void EnumInto(HDC dc, TStringList* Names)
{
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  Windows::EnumFontFamiliesEx(dc, &lf, &AddFamily, reinterpret_cast<LPARAM>(Names), 0);
}

}  // namespace

int FontTypeOf(TStrings* Items, int Index)
{
  return static_cast<int>(reinterpret_cast<std::intptr_t>(Items->GetObjects(Index)));
}

int Read(TStrings* Items, const AnsiString& RegKey)
{
  int last = -1;
  TRegistry reg;
  if (!reg.OpenKey(RegKey, true)) return last;
  for (int n = MaxCount - 1; n >= 0; --n) {
    AnsiString name = reg.ReadString(Slot("Font", n));
    if (!name.empty() && Items->IndexOf(name) >= 0) {
      AnsiString type = Slot("FontType", n);
      int flags = reg.GetDataType(type) == rdInteger ? reg.ReadInteger(type) : 0;
      Items->InsertObject(0, name, FlagsObject(flags));
      ++last;
    } else {
      // A font that is no longer installed (or an empty slot) is written back empty.
      reg.WriteString(Slot("Font", n), "");
      reg.WriteInteger(Slot("FontType", n), 0);
    }
  }
  return last;
}

int Remember(TStrings* Items, int MRUIndex, const AnsiString& Name)
{
  int at = Items->IndexOf(Name);
  if (at < 0) return MRUIndex;
  if (at > MRUIndex) {
    Items->InsertObject(0, Items->GetStrings(at), Items->GetObjects(at));
    if (MRUIndex >= MaxCount - 1)
      Items->Delete(MaxCount);  // the oldest of a full block
    else
      ++MRUIndex;
  } else if (at > 0)
    Items->Move(at, 0);
  return MRUIndex;
}

void Write(TStrings* Items, int MRUIndex, const AnsiString& RegKey)
{
  TRegistry reg;
  if (!reg.OpenKey(RegKey, true)) return;
  for (int n = 0; n < MaxCount; ++n) {
    bool used = n <= MRUIndex && n < Items->GetCount();
    reg.WriteString(Slot("Font", n), used ? Items->GetStrings(n) : AnsiString());
    reg.WriteInteger(Slot("FontType", n), used ? FontTypeOf(Items, n) : 0);
  }
}

void ListFonts(TStrings* Names)
{
  TStringList sorted;
  sorted.SetSorted(true);
  EnumInto(nullptr, &sorted);
  try {
    TfrxPrinters* printers = frxPrinter::GetPrinters();
    if (printers->HasPhysicalPrinters)
      if (TfrxCustomPrinter* printer = printers->GetCurrentPrinter())
        if (HDC ic = WinSpool::CreateIC(printer->Name, nullptr)) {
          EnumInto(ic, &sorted);
          Windows::DeleteDC(ic);
        }
  } catch (const Exception&) {
    // The printer's fonts are a bonus; the screen's are listed.
  }
  Names->BeginUpdate();
  Names->Clear();
  for (int i = 0; i < sorted.GetCount(); ++i) Names->AddObject(sorted[i], sorted.GetObjects(i));
  Names->EndUpdate();
}

}  // namespace frxFontMRU

// ============================================================================================
// TfrxFontPreview
// ============================================================================================

TfrxFontPreview::TfrxFontPreview(TComponent* AOwner) : TWinControl(AOwner)
{
  SetVisible(false);
  SetBounds(0, 0, 200, 50);
  FPanel = new TPanel(this);
  FPanel->SetParent(this);
  FPanel->SetAlign(alClient);
  FPanel->SetColor(clWindow);
  FPanel->SetBorderStyle(bsSingle);
  FPanel->SetBevelInner(bvNone);
  FPanel->SetBevelOuter(bvNone);
  FPanel->GetFont()->SetColor(clWindowText);
  FPanel->GetFont()->SetSize(18);
}

void TfrxFontPreview::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TfrxFontPreview::SetSample(const AnsiString& Name)
{
  FPanel->GetFont()->SetName(Name);
  FPanel->SetCaption(Name);
}

// ============================================================================================
// TfrxFontComboBox
// ============================================================================================

namespace {

// The window layer's notice that fonts were installed or removed.
constexpr UINT kFontChangeMessage = 0x001D;

// Two overlapping letters T, grey behind black, on white (the transparent colour).
std::unique_ptr<TBitmap> MakeTrueTypeMarker()
{
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(15, 11);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 15, 11});
  auto letter = [c](int x, int y, TColor color) {
    c->GetBrush()->SetColor(color);
    c->FillRect(RECT{x, y, x + 7, y + 2});
    c->FillRect(RECT{x + 2, y, x + 5, y + 8});
  };
  letter(1, 0, clGray);
  letter(7, 3, clBlack);
  return bmp;
}

}  // namespace

TfrxFontComboBox::TfrxFontComboBox(TComponent* AOwner)
    : TfrxCustomComboBox(AOwner), FMRURegKey(frxFontMRU::DefaultRegKey), FTrueTypeBmp(MakeTrueTypeMarker())
{
  FEditOffset = 16;
  SetDropDownCount(12);
  if (!GetComponentState().Contains(csDesigning)) FPreview = new TfrxFontPreview(this);
}

TfrxFontComboBox::~TfrxFontComboBox() = default;

void TfrxFontComboBox::SetMRURegKey(const AnsiString& Value)
{
  FMRURegKey = Value.empty() ? AnsiString(frxFontMRU::DefaultRegKey) : Value;
}

void TfrxFontComboBox::CreateWnd()
{
  TfrxCustomComboBox::CreateWnd();
  if (GetItems()->GetCount() == 0 && !GetComponentState().Contains(csLoading)) Reset();
  // The marker is taller than a line of small text.
  if (GetItemHeight() < FTrueTypeBmp->GetHeight() + 1) SetItemHeight(FTrueTypeBmp->GetHeight() + 1);
}

void TfrxFontComboBox::Loaded()
{
  TfrxCustomComboBox::Loaded();
  Reset();
}

void TfrxFontComboBox::Reset()
{
  TValueGuard<bool> updating(FUpdating, true);
  AnsiString text = GetText();
  TStringList fonts;
  frxFontMRU::ListFonts(&fonts);
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < fonts.GetCount(); ++i) items->AddObject(fonts[i], fonts.GetObjects(i));
  FMRUIndex = -1;
  if (FShowMRU) FMRUIndex = frxFontMRU::Read(items, FMRURegKey);
  items->EndUpdate();
  if (items->GetCount() > 0 && items->IndexOf(text) < 0)
    SetItemIndex(0);
  else if (!text.empty())
    SetText(text);
}

void TfrxFontComboBox::RememberFont(const AnsiString& Name)
{
  if (!FShowMRU) return;
  TValueGuard<bool> updating(FUpdating, true);
  FMRUIndex = frxFontMRU::Remember(GetItems(), FMRUIndex, Name);
  if (GetItems()->IndexOf(Name) == 0) SetItemIndex(0);
  frxFontMRU::Write(GetItems(), FMRUIndex, FMRURegKey);
}

void TfrxFontComboBox::Click()
{
  if (FUpdating || GetComponentState().Contains(csLoading)) return;
  TfrxCustomComboBox::Click();
}

void TfrxFontComboBox::Dispatch(TMessage& Message)
{
  TfrxCustomComboBox::Dispatch(Message);
  if (Message.Msg == kFontChangeMessage) Reset();
}

void TfrxFontComboBox::DropDown()
{
  TfrxCustomComboBox::DropDown();
  if (!HandleAllocated()) return;
  if (GetItemIndex() < frxFontMRU::MaxCount)
    if (HWND list = ComboBox::ListOf(GetHandle())) Windows::SendMessage(list, LB_SETCURSEL, 0, 0);
  if (!FPreview) return;
  RECT wr{};
  Windows::GetWindowRect(GetHandle(), &wr);
  int w = FPreview->GetWidth(), h = FPreview->GetHeight();
  int x = wr.right, y = wr.bottom;
  if (x + w > Backend::Current().WorkArea().right) x = wr.left - w - 1;
  if (GetDroppedUp()) y = wr.top - h;
  int index = GetItemIndex();
  FPreview->SetSample(index >= 0 ? GetItems()->GetStrings(index) : GetText());
  FPreview->SetBounds(x, y, w, h);
  FPreview->SetVisible(true);
  Windows::SetWindowPos(FPreview->GetHandle(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TfrxFontComboBox::CloseUp()
{
  if (FPreview) FPreview->SetVisible(false);
  int index = GetItemIndex();
  if (index > 0 && FShowMRU) RememberFont(GetItems()->GetStrings(index));
  TfrxCustomComboBox::CloseUp();
}

void TfrxFontComboBox::DrawMarkerAndName(TCanvas* Canvas, const RECT& Rect, int FontType, const AnsiString& Name)
{
  int x = Rect.left + 17;
  if (FontType & TRUETYPE_FONTTYPE) {
    int top = Rect.top + (Rect.bottom - Rect.top - FTrueTypeBmp->GetHeight()) / 2;
    frxUtils::DrawTransparentBitmap(Canvas, Rect.left + 1, top, FTrueTypeBmp.get());
    x = Rect.left + FTrueTypeBmp->GetWidth() + 2;
  }
  RECT text{x, Rect.top, Rect.right, Rect.bottom};
  Canvas->GetBrush()->SetStyle(bsClear);
  Windows::DrawText(Canvas->GetHandle(), Name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  Canvas->GetBrush()->SetStyle(bsSolid);
}

void TfrxFontComboBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State)
{
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(Rect);
  TStrings* items = GetItems();
  DrawMarkerAndName(canvas, Rect, frxFontMRU::FontTypeOf(items, Index), items->GetStrings(Index));
  // The line under the recently used block: below its last entry and above the next one.
  canvas->GetPen()->SetColor(clBtnShadow);
  if (Index == FMRUIndex) {
    canvas->MoveTo(Rect.left, Rect.bottom - 2);
    canvas->LineTo(Rect.right, Rect.bottom - 2);
  } else if (FMRUIndex >= 0 && Index == FMRUIndex + 1) {
    canvas->MoveTo(Rect.left, Rect.top);
    canvas->LineTo(Rect.right, Rect.top);
  }
  if (State.Contains(odSelected) && FPreview && FPreview->GetVisible()) FPreview->SetSample(items->GetStrings(Index));
}

void TfrxFontComboBox::PaintEditOffset(TCanvas* Canvas, const RECT& Band)
{
  int index = GetItems()->IndexOf(GetText());
  if (index < 0 || !(frxFontMRU::FontTypeOf(GetItems(), index) & TRUETYPE_FONTTYPE)) return;
  int top = Band.top + (Band.bottom - Band.top - FTrueTypeBmp->GetHeight()) / 2;
  frxUtils::DrawTransparentBitmap(Canvas, Band.left, top, FTrueTypeBmp.get());
}

PELTO_DEFINE_CLASS(TfrxFontPreview)

PELTO_DEFINE_CLASS(TfrxFontComboBox)
PELTO_PUBLISH(TfrxFontComboBox, p)
{
  p.Property("ShowMRU", &ThisClass::GetShowMRU, &ThisClass::SetShowMRU).Default(true);
  p.Property("MRURegKey", &ThisClass::GetMRURegKey, &ThisClass::SetMRURegKey);
}
