#include "report/engine/preview/frxPreview.h"

#include <algorithm>
#include <cmath>

#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/dc/SavedDC.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/Splitter.h"
#include "platform/win/WinUser.h"
#include "platform/win/window/Rects.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/rtl/FileUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/prepared/frxPreviewPages.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/preview/frxCursors.h"
#include "report/engine/preview/frxPreviewDialogs.h"
#include "report/engine/preview/frxPreviewForm.h"
#include "report/engine/run/frxEngine.h"

namespace {

constexpr TColor kWorkspaceGrey = 0x808080;
// The library's hand and magnifier cursors.
constexpr TCursor kHandCursor = frxCursors::crHand, kZoomCursor = frxCursors::crZoom;

TfrxPreviewForm* FormOf(TfrxPreview* Preview) { return dynamic_cast<TfrxPreviewForm*>(Preview->GetOwner()); }

void LetMessagesRun()
{
  if (Forms::Application) Forms::Application->ProcessMessages();
}

// Lock ... Unlock for a scope.
class TPreviewLock {
public:
  explicit TPreviewLock(TfrxPreview* APreview) : FPreview(APreview) { FPreview->Lock(); }
  ~TPreviewLock() { FPreview->Unlock(); }
  TPreviewLock(const TPreviewLock&) = delete;
  TPreviewLock& operator=(const TPreviewLock&) = delete;

private:
  TfrxPreview* FPreview;
};

struct TFindWalk {
  const AnsiString* Text;
  bool CaseSensitive;
  Integer After;
  Integer Number = 0;
  bool Found = false;
  RECT Bounds{};
};

int FindRecordProc(HDC, HANDLETABLE*, const ENHMETARECORD* Rec, int, LPARAM Data)
{
  auto* walk = reinterpret_cast<TFindWalk*>(Data);
  Integer number = walk->Number++;
  if (number <= walk->After || (Rec->iType != EMR_EXTTEXTOUTA && Rec->iType != EMR_EXTTEXTOUTW)) return 1;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(Rec);
  auto u32 = [&](size_t Off) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes + Off, 4);
    return v;
  };
  // Header (8), bounds (16), graphics mode and scales (12), then the text's reference point (8),
  // its count and the offset of its characters from the record's start.
  if (Rec->nSize < 76) return 1;
  std::uint32_t count = u32(44), off = u32(48);
  std::uint32_t unit = Rec->iType == EMR_EXTTEXTOUTA ? 1 : 2;
  if (off > Rec->nSize || count > (Rec->nSize - off) / unit) return 1;
  AnsiString text;
  if (unit == 1) {
    text.assign(reinterpret_cast<const char*>(bytes + off), count);
  } else {
    WideString wide;
    for (std::uint32_t i = 0; i < count; ++i)
      wide.push_back(char16_t(bytes[off + 2 * i] | (bytes[off + 2 * i + 1] << 8)));
    text = System::WideToAnsi(wide);
  }
  bool match = walk->CaseSensitive
                   ? SysUtils::AnsiPos(*walk->Text, text) > 0
                   : SysUtils::AnsiPos(SysUtils::AnsiUpperCase(*walk->Text), SysUtils::AnsiUpperCase(text)) > 0;
  if (!match) return 1;
  walk->Found = true;
  walk->Bounds = RECT{LONG(u32(8)), LONG(u32(12)), LONG(u32(16)), LONG(u32(20))};
  return 0;
}

}  // namespace

// ==== Find state and the drawing search =======================================================

namespace frxPreview {

TfrxFindState& FindState()
{
  static TfrxFindState state;
  return state;
}

bool FindInDrawing(HENHMETAFILE Drawing, const AnsiString& Text, bool CaseSensitive, Integer After, RECT& Bounds,
                   Integer& Record)
{
  if (!Drawing || Text.empty()) return false;
  TFindWalk walk{&Text, CaseSensitive, After};
  Windows::EnumEnhMetaFile(nullptr, Drawing, FindRecordProc, reinterpret_cast<LPARAM>(&walk), nullptr);
  if (!walk.Found) return false;
  Bounds = walk.Bounds;
  Record = walk.Number - 1;
  return true;
}

std::unique_ptr<TfrxReport> EditableCopy(TfrxReportPage* Prepared)
{
  if (!Prepared) return nullptr;
  auto report = std::make_unique<TfrxReport>(nullptr);
  auto* page = dynamic_cast<TfrxReportPage*>(Prepared->ClassType()->Create(report.get()));
  if (!page) return nullptr;
  page->SetParent(report.get());
  page->AssignWithChildren(Prepared);
  std::vector<TfrxComponent*> all(page->GetAllObjects().begin(), page->GetAllObjects().end());
  for (TfrxComponent* c : all) {
    if (auto* view = dynamic_cast<TfrxView*>(c)) {
      view->DataField.clear();
      view->SetDataSet(nullptr);
    }
    if (c->GetParent() != page && !dynamic_cast<TfrxBand*>(c)) {
      Extended left = c->GetAbsLeft(), top = c->GetAbsTop();
      c->SetParent(page);
      c->SetLeft(left);
      c->SetTop(top);
      c->SetParentFont(false);
    }
  }
  for (TfrxComponent* c : all)
    if (dynamic_cast<TfrxBand*>(c)) delete c;
  return report;
}

}  // namespace frxPreview

// ==== TfrxPreviewWorkspace =====================================================================

TfrxPreviewWorkspace::TfrxPreviewWorkspace(TComponent* AOwner, TfrxPreview* APreview)
    : TfrxScrollWin(AOwner), FPreview(APreview)
{
  SetColor(kWorkspaceGrey);
  LargeChange = 300;
  SmallChange = 8;
  SetCursor(kHandCursor);
}

TfrxPreviewWorkspace::~TfrxPreviewWorkspace() { ClearDrawingCache(); }

void TfrxPreviewWorkspace::ClearDrawingCache()
{
  if (FDrawing) Windows::DeleteEnhMetaFile(FDrawing);
  FDrawing = nullptr;
  FDrawingPage = -1;
}

void TfrxPreviewWorkspace::UpdateScrollBars()
{
  Extended zoom = FPreview->GetZoom();
  int w = GetClientWidth(), h = GetClientHeight();
  SetHorzPage(w);
  SetVertPage(h);
  SetHorzRange(static_cast<int>(std::lround(FPageList.GetMaxWidth() * zoom)) + 10);
  SetVertRange(FPageList.GetCount() ? FPageList.GetBottom(w, zoom) + 10 : 0);
}

void TfrxPreviewWorkspace::SetPositionQuietly(Integer Horz, Integer Vert)
{
  FQuiet = true;
  SetHorzPosition(Horz);
  SetVertPosition(Vert);
  FQuiet = false;
}

void TfrxPreviewWorkspace::HorzScrolled()
{
  int dx = FOffset.x - GetHorzPosition();
  FOffset.x = GetHorzPosition();
  if (dx && HandleAllocated()) Windows::ScrollWindow(GetHandle(), dx, 0, nullptr, nullptr);
}

void TfrxPreviewWorkspace::VertScrolled()
{
  int dy = FOffset.y - GetVertPosition();
  FOffset.y = GetVertPosition();
  if (dy && HandleAllocated()) Windows::ScrollWindow(GetHandle(), 0, dy, nullptr, nullptr);
  if (FQuiet) return;
  Integer page = FPageList.FindPage(GetVertPosition(), false, FPreview->GetZoom());
  FPreview->PageNoFromScroll(page + 1);
}

void TfrxPreviewWorkspace::Resize()
{
  TfrxScrollWin::Resize();
  UpdateScrollBars();
}

namespace {

// A memory DC with a bitmap the size of a client area, freed with the guard.
class TOffscreenDC {
public:
  TOffscreenDC(HDC Like, int Width, int Height)
      : FDC(Windows::CreateCompatibleDC(Like)), FBitmap(Windows::CreateCompatibleBitmap(nullptr, Width, Height))
  {
    FOld = Windows::SelectObject(FDC, FBitmap);
  }
  ~TOffscreenDC()
  {
    Windows::SelectObject(FDC, FOld);
    Windows::DeleteObject(FBitmap);
    Windows::DeleteDC(FDC);
  }
  TOffscreenDC(const TOffscreenDC&) = delete;
  TOffscreenDC& operator=(const TOffscreenDC&) = delete;
  HDC Get() const { return FDC; }

private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

}  // namespace

void TfrxPreviewWorkspace::PaintWindow(HDC DC)
{
  RECT client = GetClientRect();
  if (!FDoubleBuffered || client.right <= 0 || client.bottom <= 0) {
    TfrxScrollWin::PaintWindow(DC);
    return;
  }
  TOffscreenDC buffer(DC, client.right, client.bottom);
  // Only what the window needs painted, in the picture as on the window.
  RECT box;
  if (Windows::GetClipBox(DC, &box) != NULLREGION)
    Windows::IntersectClipRect(buffer.Get(), box.left, box.top, box.right, box.bottom);
  else
    box = client;
  TfrxScrollWin::PaintWindow(buffer.Get());
  Windows::BitBlt(DC, box.left, box.top, box.right - box.left, box.bottom - box.top, buffer.Get(), box.left, box.top,
                  SRCCOPY);
}

void TfrxPreviewWorkspace::Paint()
{
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  RECT client = GetClientRect();
  TfrxPreviewPages* pages = FPreview->GetPages();
  auto fillGrey = [&] {
    canvas->GetBrush()->SetColor(kWorkspaceGrey);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  };
  if (FPreview->IsLocked() || !pages || FPageList.GetCount() == 0) {
    fillGrey();
    return;
  }
  Extended zoom = FPreview->GetZoom();
  Integer n = std::max<Integer>(FPageList.FindPage(GetVertPosition(), false, zoom), 0);
  Integer first = std::max<Integer>(n - 20, 0), last = std::min<Integer>(n + 20, FPageList.GetCount() - 1);
  std::vector<std::pair<Integer, RECT>> visible;
  for (Integer i = first; i <= last; ++i) {
    RECT r = FPageList.GetPageBounds(i, client.right, zoom);
    Windows::OffsetRect(&r, -GetHorzPosition(), -GetVertPosition());
    RECT shown;
    RECT withShadow{r.left, r.top, r.right + 1, r.bottom + 1};
    if (Windows::IntersectRect(&shown, &withShadow, &client)) visible.emplace_back(i, r);
  }
  {
    TSavedDC saved(dc);
    for (auto& [i, r] : visible) Windows::ExcludeClipRect(dc, r.left, r.top, r.right + 1, r.bottom + 1);
    fillGrey();
  }
  for (auto& [i, r] : visible) DrawSheet(dc, i, r);
}

void TfrxPreviewWorkspace::DrawSheet(HDC DC, Integer Index, const RECT& Sheet)
{
  TCanvas* canvas = GetCanvas();
  canvas->GetPen()->SetColor(clBlack);
  canvas->GetPen()->SetWidth(1);
  canvas->GetBrush()->SetColor(clWhite);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->Rectangle(Sheet);
  // The shadow along the bottom and right edges.
  canvas->MoveTo(Sheet.left + 1, Sheet.bottom);
  canvas->LineTo(Sheet.right, Sheet.bottom);
  canvas->LineTo(Sheet.right, Sheet.top);
  Extended zoom = FPreview->GetZoom();
  {
    TSavedDC saved(DC);
    Windows::IntersectClipRect(DC, Sheet.left, Sheet.top, Sheet.right, Sheet.bottom);
    FPreview->GetPages()->DrawPage(Index, DC, zoom, zoom, Sheet.left, Sheet.top);
  }
  const TfrxFindState& find = frxPreview::FindState();
  if (find.Found && Index == SearchPage) {
    RECT r{LONG(Sheet.left + std::lround(find.Rect.left * zoom) - 1),
           LONG(Sheet.top + std::lround(find.Rect.top * zoom)),
           LONG(Sheet.left + std::lround(find.Rect.right * zoom) + 1),
           LONG(Sheet.top + std::lround(find.Rect.bottom * zoom))};
    Windows::InvertRect(DC, &r);
  }
}

Integer TfrxPreviewWorkspace::PageAt(int X, int Y, POINT& OnSheet)
{
  Extended zoom = FPreview->GetZoom();
  Integer i = FPageList.FindPage(Y + GetVertPosition(), true, zoom);
  if (i < 0) return -1;
  RECT r = FPageList.GetPageBounds(i, GetClientWidth(), zoom);
  OnSheet = POINT{X + GetHorzPosition() - r.left, Y + GetVertPosition() - r.top};
  return i;
}

void TfrxPreviewWorkspace::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TfrxScrollWin::MouseDown(Button, Shift, X, Y);
  if (FPageList.GetCount() == 0) return;
  if (CanFocus()) SetFocus();
  if (Button == mbLeft) {
    FDragging = true;
    FLastPoint = POINT{X, Y};
  }
}

void TfrxPreviewWorkspace::MouseMove(TShiftState Shift, int X, int Y)
{
  TfrxScrollWin::MouseMove(Shift, X, Y);
  TfrxPreviewPages* pages = FPreview->GetPages();
  if (FPageList.GetCount() == 0 || !pages) return;
  if (FDragging) {
    if (FPreview->GetTool() == 0) {
      SetHorzPosition(GetHorzPosition() - (X - FLastPoint.x));
      SetVertPosition(GetVertPosition() - (Y - FLastPoint.y));
    }
    FLastPoint = POINT{X, Y};
    return;
  }
  POINT at;
  Integer page = PageAt(X, Y, at);
  if (page < 0) return;
  Integer cursor = FPreview->GetTool() == 0 ? kHandCursor : kZoomCursor;
  pages->ObjectOver(page, at.x, at.y, 0, 0, FPreview->GetZoom(), 0, 0, false, cursor);
  SetCursor(cursor);
}

void TfrxPreviewWorkspace::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TfrxScrollWin::MouseUp(Button, Shift, X, Y);
  FDragging = false;
  TfrxPreviewPages* pages = FPreview->GetPages();
  if (FPageList.GetCount() == 0 || !pages) return;
  if (FPreview->OnClick) FPreview->OnClick(FPreview);
  if (FPreview->GetTool() == 1) {
    if (Button == mbLeft) FPreview->SetZoom(FPreview->GetZoom() + 0.25);
    if (Button == mbRight) FPreview->SetZoom(FPreview->GetZoom() - 0.25);
    return;
  }
  POINT at;
  Integer page = PageAt(X, Y, at);
  if (page < 0) return;
  Integer cursor = kHandCursor;
  Integer button = Button == mbLeft ? 0 : Button == mbRight ? 1 : 2;
  pages->ObjectOver(page, at.x, at.y, button, static_cast<Integer>(Shift.Mask()), FPreview->GetZoom(), 0, 0, true,
                    cursor);
}

bool TfrxPreviewWorkspace::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TfrxScrollWin::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  FPreview->MouseWheelScroll(WheelDelta);
  return true;
}

void TfrxPreviewWorkspace::KeyDown(Word& Key, TShiftState Shift)
{
  TfrxScrollWin::KeyDown(Key, Shift);
  if (Key) FPreview->HandleKey(Key, Shift);
}

void TfrxPreviewWorkspace::FindText()
{
  TfrxFindState& find = frxPreview::FindState();
  TfrxPreviewPages* pages = FPreview->GetPages();
  find.Found = false;
  if (!pages) return;
  Integer count = pages->GetCount();
  for (; SearchPage < count; ++SearchPage) {
    if (FDrawingPage != SearchPage) {
      ClearDrawingCache();
      HDC rec = Windows::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
      pages->DrawPage(SearchPage, rec, 1, 1, 0, 0);
      FDrawing = Windows::CloseEnhMetaFile(rec);
      FDrawingPage = SearchPage;
      ++FDrawingsMade;
    }
    RECT bounds;
    Integer record;
    if (frxPreview::FindInDrawing(FDrawing, find.Text, find.CaseSensitive, find.Record, bounds, record)) {
      find.Found = true;
      find.Rect = bounds;
      find.Record = record;
      break;
    }
    find.Record = -1;
  }
  if (find.Found) {
    Extended zoom = FPreview->GetZoom();
    RECT sheet = FPageList.GetPageBounds(SearchPage, GetClientWidth(), zoom);
    int top = sheet.top + int(std::lround(find.Rect.top * zoom)),
        bottom = sheet.top + int(std::lround(find.Rect.bottom * zoom));
    int left = sheet.left + int(std::lround(find.Rect.left * zoom)),
        right = sheet.left + int(std::lround(find.Rect.right * zoom));
    if (top < GetVertPosition() || bottom > GetVertPosition() + GetClientHeight())
      SetVertPosition(bottom - GetClientHeight() + 20);
    if (left < GetHorzPosition() || right > GetHorzPosition() + GetClientWidth())
      SetHorzPosition(right - GetClientWidth() + 20);
  }
  Invalidate();
}

// ==== TfrxPreview ==============================================================================

TfrxPreview::TfrxPreview(TComponent* AOwner) : TfrxCustomPreview(AOwner)
{
  SetWidth(400);
  SetHeight(300);
  FOutline = new TTreeView(this);
  FOutline->SetParent(this);
  FOutline->SetAlign(alLeft);
  FOutline->SetWidth(120);
  FOutline->SetReadOnly(true);
  FOutline->SetHideSelection(false);
  FOutline->SetVisible(false);
  FOutline->OnClick = [this](TObject* S) { OutlineClick(S); };
  FSplitter = new TSplitter(this);
  FSplitter->SetParent(this);
  FSplitter->SetAlign(alLeft);
  FSplitter->SetLeft(FOutline->GetWidth() + 1);
  FSplitter->SetMinSize(1);
  FSplitter->SetVisible(false);
  FWorkspace = new TfrxPreviewWorkspace(this, this);
  FWorkspace->SetParent(this);
  FWorkspace->SetAlign(alClient);
  FMessagePanel = new TPanel(this);
  FMessagePanel->SetParent(this);
  FMessagePanel->SetVisible(false);
  FMessagePanel->SetBounds(0, 0, 260, 75);
  FMessageLabel = new TLabel(this);
  FMessageLabel->SetParent(FMessagePanel);
  FMessageLabel->SetAutoSize(false);
  FMessageLabel->SetAlignment(taCenter);
  FMessageLabel->SetBounds(4, 20, 252, 20);
  FCancelButton = new TButton(this);
  FCancelButton->SetParent(FMessagePanel);
  FCancelButton->SetBounds(92, 44, 75, 25);
  FCancelButton->SetCaption(frxRes::Get("clCancel"));
  FCancelButton->SetVisible(false);
  FCancelButton->OnClick = [this](TObject*) { Cancel(); };
}

TfrxPreview::~TfrxPreview() = default;

TfrxPreviewPages* TfrxPreview::GetPages() const { return dynamic_cast<TfrxPreviewPages*>(PreviewPages); }

TfrxPreviewButtons TfrxPreview::Buttons() const
{
  return Report ? Report->GetPreviewOptions()->Buttons : TfrxPreviewOptions::AllButtons();
}

Integer TfrxPreview::GetPageCount() const
{
  TfrxPreviewPages* pages = GetPages();
  return pages ? pages->GetCount() : 0;
}

void TfrxPreview::Detach()
{
  TfrxCustomPreview::Detach();
  FWorkspace->ClearDrawingCache();
  FWorkspace->GetPageList().Clear();
  FOutline->GetItems()->Clear();
  FOutlinePositions.clear();
  FRunning = false;
  FPageNo = 0;
  FWorkspace->UpdateScrollBars();
  FWorkspace->Invalidate();
}

// ---- Linked report ----------------------------------------------------------------------------

void TfrxPreview::RebuildLayout()
{
  TfrxPageList& list = FWorkspace->GetPageList();
  list.Clear();
  list.ColumnsPerRow = FZoomMode == zmManyPages ? 2 : 1;
  TfrxPreviewPages* pages = GetPages();
  if (!pages) return;
  for (Integer i = 0; i < pages->GetCount(); ++i) {
    SIZE s = pages->GetPageSize(i);
    list.AddPage(s.cx, s.cy);
  }
}

void TfrxPreview::InitPreview()
{
  TfrxFindState& find = frxPreview::FindState();
  find.Found = false;
  find.Record = -1;
  FWorkspace->SearchPage = 0;
  FWorkspace->ClearDrawingCache();
  FAllowF3 = false;
  if (Report) FWorkspace->SetDoubleBuffered(Report->GetPreviewOptions()->DoubleBuffered);
  RebuildLayout();
  UpdatePages();
  UpdateOutline();
  ChangePageNo(1, true);
}

void TfrxPreview::Lock() { FLocked = true; }

void TfrxPreview::Unlock()
{
  HideMessage();
  FLocked = false;
  FPageNo = GetPageCount() > 0 ? 1 : 0;
  UpdatePages();
  FWorkspace->Invalidate();
}

void TfrxPreview::ProgressStarted()
{
  Clear();
  FRunning = true;
  UpdateWindow();
}

void TfrxPreview::ProgressChanged(Integer Count)
{
  TfrxPreviewPages* pages = GetPages();
  bool finalPass = !Report || !Report->GetEngine() || Report->GetEngine()->FinalPass;
  if (finalPass && pages) {
    SIZE s = pages->GetPageSize(Count);
    FWorkspace->GetPageList().AddPage(s.cx, s.cy);
  }
  if (Count == 0) {
    FOutline->GetItems()->Clear();
    FOutlinePositions.clear();
    ChangePageNo(1, true);
    UpdatePages();
    if (TfrxPreviewForm* form = FormOf(this)) form->SetCloseCaption(frxRes::Get("clCancel"));
    FTime = Windows::GetTickCount();
  } else if (Count == 1) {
    DWORD took = Windows::GetTickCount() - FTime;
    FUpdateInterval = took <= 4 ? 50 : took > 9 ? 5 : 20;
  } else if (Count % FUpdateInterval == 0) {
    FirePageChanged();
    FWorkspace->UpdateScrollBars();
  }
  LetMessagesRun();
}

void TfrxPreview::ProgressStopped()
{
  FRunning = false;
  RebuildLayout();
  FirePageChanged();
  FWorkspace->UpdateScrollBars();
  UpdatePages();
  UpdateOutline();
  if (TfrxPreviewForm* form = FormOf(this)) {
    form->SetCloseCaption(frxRes::Get("clClose"));
    form->SetStatusText(AnsiString());
    form->UpdateControls();
  }
}

void TfrxPreview::UpdateWindow()
{
  if (TfrxPreviewForm* form = FormOf(this)) form->UpdateControls();
}

// ---- Navigation -------------------------------------------------------------------------------

void TfrxPreview::FirePageChanged()
{
  if (OnPageChanged) OnPageChanged(this, FPageNo);
}

void TfrxPreview::ChangePageNo(Integer Value, bool Scroll)
{
  Integer count = GetPageCount();
  Value = count == 0 ? 0 : std::clamp<Integer>(Value, 1, count);
  FPageNo = Value;
  if (Scroll && Value > 0) {
    RECT r = FWorkspace->GetPageList().GetPageBounds(Value - 1, FWorkspace->GetClientWidth(), FZoom);
    FWorkspace->SetPositionQuietly(FWorkspace->GetHorzPosition(), r.top - 10);
  }
  FirePageChanged();
}

void TfrxPreview::SetPageNo(Integer Value) { ChangePageNo(Value, true); }

void TfrxPreview::PageNoFromScroll(Integer PageNo) { ChangePageNo(PageNo, false); }

void TfrxPreview::ShowPosition(Integer PageNo, Integer Top)
{
  Integer count = GetPageCount();
  PageNo = std::min(PageNo, count);
  Integer index = PageNo > 0 ? PageNo - 1 : 0;
  TfrxPreviewPages* pages = GetPages();
  if (!pages || count == 0) return;
  Extended margin = 0;
  if (TfrxReportPage* page = pages->GetPage(index)) margin = page->TopMargin;
  RECT r = FWorkspace->GetPageList().GetPageBounds(index, FWorkspace->GetClientWidth(), FZoom);
  FWorkspace->SetVertPosition(frxPageList::PositionOf(r.top, Top, margin, FZoom));
}

void TfrxPreview::MouseWheelScroll(Integer Delta)
{
  Integer notches = Delta / 120;
  if (notches == 0) notches = Delta > 0 ? 1 : Delta < 0 ? -1 : 0;
  FWorkspace->SetVertPosition(FWorkspace->GetVertPosition() - notches * 20);
}

void TfrxPreview::HandleKey(Word& Key, TShiftState Shift)
{
  TfrxPreviewButtons buttons = Buttons();
  bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_PRIOR: FWorkspace->SetVertPosition(FWorkspace->GetVertPosition() - 300); break;
    case VK_NEXT: FWorkspace->SetVertPosition(FWorkspace->GetVertPosition() + 300); break;
    case VK_UP: FWorkspace->SetVertPosition(FWorkspace->GetVertPosition() - 8); break;
    case VK_DOWN: FWorkspace->SetVertPosition(FWorkspace->GetVertPosition() + 8); break;
    case VK_LEFT: FWorkspace->SetHorzPosition(FWorkspace->GetHorzPosition() - 8); break;
    case VK_RIGHT: FWorkspace->SetHorzPosition(FWorkspace->GetHorzPosition() + 8); break;
    case VK_HOME: First(); break;
    case VK_END: Last(); break;
    case VK_F3:
      if (buttons.Contains(pbFind)) FindNext();
      break;
    case 'P':
      if (ctrl && buttons.Contains(pbPrint)) Print();
      break;
    case 'S':
      if (ctrl && buttons.Contains(pbSave)) SaveToFile();
      break;
    case 'F':
      if (ctrl && buttons.Contains(pbFind)) Find();
      break;
    default: return;
  }
}

// ---- Zoom -------------------------------------------------------------------------------------

void TfrxPreview::SetZoom(Extended Value)
{
  FZoom = std::max(Value, frxPageList::MinZoom);
  if (FZoomMode == zmManyPages) {
    FZoomMode = zmDefault;
    RebuildLayout();
  } else {
    FZoomMode = zmDefault;
  }
  UpdatePages();
}

void TfrxPreview::SetZoomMode(TfrxZoomMode Value)
{
  FZoomMode = Value;
  RebuildLayout();
  UpdatePages();
}

void TfrxPreview::SetTool(Integer Value)
{
  FTool = Value;
  FWorkspace->SetCursor(Value == 0 ? kHandCursor : kZoomCursor);
}

void TfrxPreview::UpdatePages()
{
  if (FLocked || GetPageCount() == 0) return;
  Integer index = std::clamp<Integer>(FPageNo - 1, 0, GetPageCount() - 1);
  SIZE s = GetPages()->GetPageSize(index);
  FZoom = frxPageList::ZoomForMode(FZoomMode, FWorkspace->GetClientWidth(), FWorkspace->GetClientHeight(), s.cx, s.cy,
                                   FZoom);
  FWorkspace->UpdateScrollBars();
  FWorkspace->Invalidate();
  if (TfrxPreviewForm* form = FormOf(this)) form->UpdateZoom();
}

void TfrxPreview::Resize()
{
  TfrxCustomPreview::Resize();
  if (GetPageCount() > 0) UpdatePages();
}

// ---- Outline ----------------------------------------------------------------------------------

bool TfrxPreview::GetOutlineVisible() const { return FOutline->GetVisible(); }

void TfrxPreview::SetOutlineVisible(bool Value)
{
  FOutline->SetVisible(Value);
  FSplitter->SetVisible(Value);
  if (Value) FSplitter->SetLeft(FOutline->GetLeft() + FOutline->GetWidth() + 1);
}

void TfrxPreview::FillOutline(TTreeNode* Parent)
{
  TfrxCustomOutline* outline = PreviewPages->GetOutline();
  for (Integer i = 0; i < outline->GetCount(); ++i) {
    AnsiString text;
    Integer page = 0, top = 0;
    outline->GetItem(i, text, page, top);
    FOutlinePositions.push_back(
        std::make_unique<frxPreview::TOutlinePosition>(frxPreview::TOutlinePosition{page, top}));
    TTreeNode* node = FOutline->GetItems()->AddChildObject(Parent, text, FOutlinePositions.back().get());
    outline->LevelDown(i);
    FillOutline(node);
    outline->LevelUp();
  }
}

void TfrxPreview::UpdateOutline()
{
  FOutline->GetItems()->BeginUpdate();
  FOutline->GetItems()->Clear();
  FOutlinePositions.clear();
  if (PreviewPages && PreviewPages->GetOutline()) {
    PreviewPages->GetOutline()->LevelRoot();
    FillOutline(nullptr);
    PreviewPages->GetOutline()->LevelRoot();
  }
  FOutline->GetItems()->EndUpdate();
  FOutline->FullExpand();
  if (TTreeNode* first = FOutline->GetItems()->GetFirstNode()) first->MakeVisible();
}

const frxPreview::TOutlinePosition* TfrxPreview::OutlinePosition(TTreeNode* Node) const
{
  if (!Node) return nullptr;
  for (const auto& p : FOutlinePositions)
    if (p.get() == Node->GetData()) return p.get();
  return nullptr;
}

void TfrxPreview::OutlineClick(TObject*)
{
  if (const frxPreview::TOutlinePosition* p = OutlinePosition(FOutline->GetSelected()))
    ShowPosition(p->PageIndex + 1, p->Top);
}

// ---- Commands ---------------------------------------------------------------------------------

void TfrxPreview::Print()
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages) return;
  pages->CurPreviewPage = FPageNo - 1;
  TPreviewLock lock(this);
  pages->Print();
}

void TfrxPreview::SaveToFile()
{
  if (FRunning || !GetPages()) return;
  TSaveDialog dialog(nullptr);
  dialog.SetFilter(frxRes::Get("clFP3files") + " (*.fp3)|*.fp3");
  dialog.SetDefaultExt("fp3");
  if (dialog.Execute()) SaveToFile(SysUtils::ChangeFileExt(dialog.GetFileName(), ".fp3"));
}

void TfrxPreview::SaveToFile(const AnsiString& FileName)
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages) return;
  TPreviewLock lock(this);
  ShowMessage(frxRes::Get("clSaving"));
  pages->SaveToFile(FileName);
}

void TfrxPreview::LoadFromFile()
{
  if (FRunning || !GetPages()) return;
  TOpenDialog dialog(nullptr);
  dialog.SetFilter(frxRes::Get("clFP3files") + " (*.fp3)|*.fp3");
  TOpenOptions options = dialog.GetOptions();
  options.Include(ofHideReadOnly);
  dialog.SetOptions(options);
  if (dialog.Execute()) LoadFromFile(dialog.GetFileName());
}

void TfrxPreview::LoadFromFile(const AnsiString& FileName)
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages) return;
  {
    TPreviewLock lock(this);
    ShowMessage(frxRes::Get("clLoading"));
    pages->LoadFromFile(FileName);
    if (Report) SetOutlineVisible(Report->GetPreviewOptions()->OutlineVisible);
    FWorkspace->ClearDrawingCache();
    UpdateOutline();
    RebuildLayout();
  }
  SetPageNo(1);
}

void TfrxPreview::Export(TfrxCustomExportFilter* Filter)
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages || !Filter) return;
  pages->CurPreviewPage = FPageNo - 1;
  TPreviewLock lock(this);
  pages->Export(Filter);
}

void TfrxPreview::PageSetupDialog()
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages || GetPageCount() == 0) return;
  TfrxReportPage* shown = pages->GetPage(FPageNo - 1);
  if (!shown) return;
  // The dialog edits a page of its own: the shown one lives in the pages' cache.
  std::unique_ptr<TfrxReportPage> page(static_cast<TfrxReportPage*>(shown->ClassType()->Create(nullptr)));
  page->Assign(shown);
  TfrxPageSettingsForm form(nullptr);
  form.Page = page.get();
  if (form.ShowModal() != mrOk) return;
  if (form.GetApplyToAll()) {
    if (!Report) return;
    for (TfrxComponent* c : Report->GetObjects()) {
      auto* p = dynamic_cast<TfrxReportPage*>(c);
      if (!p) continue;
      p->SetOrientation(page->GetOrientation());
      p->SetPaperWidth(page->GetPaperWidth());
      p->SetPaperHeight(page->GetPaperHeight());
      p->SetPaperSize(page->GetPaperSize());
      p->LeftMargin = page->LeftMargin;
      p->TopMargin = page->TopMargin;
      p->RightMargin = page->RightMargin;
      p->BottomMargin = page->BottomMargin;
    }
    Report->PrepareReport(true);
    return;
  }
  {
    TPreviewLock lock(this);
    pages->ModifyPage(FPageNo - 1, page.get());
    FWorkspace->ClearDrawingCache();
    RebuildLayout();
  }
}

void TfrxPreview::Find()
{
  if (FRunning || !GetPages()) return;
  TfrxSearchDialog dialog(nullptr);
  bool ok = dialog.ShowModal() == mrOk;
  FAllowF3 = true;
  if (ok) Find(dialog.GetTextE()->GetText(), dialog.GetCaseCB()->GetChecked(), dialog.GetTopCB()->GetChecked());
}

void TfrxPreview::Find(const AnsiString& Text, bool CaseSensitive, bool FromTop)
{
  if (FRunning || !GetPages()) return;
  TfrxFindState& find = frxPreview::FindState();
  find.Text = Text;
  find.CaseSensitive = CaseSensitive;
  find.Record = -1;
  FWorkspace->SearchPage = FromTop ? 0 : std::max<Integer>(FPageNo - 1, 0);
  FAllowF3 = true;
  FWorkspace->FindText();
}

void TfrxPreview::FindNext()
{
  if (FRunning || !FAllowF3 || !GetPages()) return;
  FWorkspace->FindText();
}

void TfrxPreview::EditPage()
{
  if (FRunning || !Report || GetPageCount() == 0) return;
  if (!frxCustomPreview::DesignerLink().Current().IsLinked()) return;
  TfrxPreviewPages* pages = GetPages();
  std::unique_ptr<TfrxReport> temp = frxPreview::EditableCopy(pages->GetPage(FPageNo - 1));
  if (!temp || !frxCustomPreview::DesignerLink().Current().DesignPreviewPage(temp.get())) return;
  TPreviewLock lock(this);
  if (!temp->GetObjects().empty())
    if (auto* page = dynamic_cast<TfrxReportPage*>(temp->GetObjects().front())) pages->ModifyPage(FPageNo - 1, page);
  FWorkspace->ClearDrawingCache();
  RebuildLayout();
}

void TfrxPreview::EditTemplate()
{
  if (FRunning || !Report || !GetPages()) return;
  if (!frxCustomPreview::DesignerLink().Current().IsLinked()) return;
  frxCustomPreview::DesignerLink().Current().ShowDesigner(Report);
}

void TfrxPreview::Clear()
{
  {
    TPreviewLock lock(this);
    if (TfrxPreviewPages* pages = GetPages()) pages->Clear();
    FWorkspace->GetPageList().Clear();
    FWorkspace->ClearDrawingCache();
    UpdateOutline();
  }
  FPageNo = 0;
  FWorkspace->SetHorzRange(0);
  FWorkspace->SetVertRange(0);
}

void TfrxPreview::AddPage()
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages || GetPageCount() == 0) return;
  pages->AddEmptyPage(FPageNo - 1);
  RebuildLayout();
  UpdatePages();
  SetPageNo(FPageNo);
}

void TfrxPreview::DeletePage()
{
  TfrxPreviewPages* pages = GetPages();
  if (FRunning || !pages || GetPageCount() == 0) return;
  pages->DeletePage(FPageNo - 1);
  FWorkspace->ClearDrawingCache();
  if (FPageNo > GetPageCount()) FPageNo = GetPageCount();
  RebuildLayout();
  FirePageChanged();
  UpdatePages();
}

void TfrxPreview::Cancel()
{
  if (Report) Report->SetTerminated(true);
}

// ---- Message panel ----------------------------------------------------------------------------

void TfrxPreview::ShowMessage(const AnsiString& Text)
{
  FMessagePanel->SetBounds((GetWidth() - 260) / 2, (GetHeight() - 75) / 3, 260, 75);
  FMessageLabel->SetCaption(Text);
  FMessagePanel->SetVisible(true);
  FMessagePanel->BringToFront();
  FMessagePanel->Update();
}

void TfrxPreview::HideMessage()
{
  FMessagePanel->SetVisible(false);
  FCancelButton->SetVisible(false);
}

PELTO_DEFINE_CLASS(TfrxPreviewWorkspace)

PELTO_DEFINE_CLASS(TfrxPreview)
PELTO_PUBLISH(TfrxPreview, p)
{
  p.Property("OutlineVisible", &ThisClass::GetOutlineVisible, &ThisClass::SetOutlineVisible);
}
