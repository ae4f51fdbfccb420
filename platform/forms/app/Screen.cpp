#include "platform/forms/app/Screen.h"

#include <cstdint>
#include <vector>

#include "platform/forms/app/Monitor.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Font.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/Icons.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"
#include "platform/win/window/Windows.h"

namespace Forms {
TScreen* Screen = nullptr;
}

namespace {

// The standard cursors by the system cursor they show; crDrag and crMultiDrag are drawn here.
struct StandardCursor {
  TCursor Index;
  const char* Id;
};
const StandardCursor kStandardCursors[] = {
    {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},     {crUpArrow, IDC_UPARROW}, {crHourGlass, IDC_WAIT},
    {crNoDrop, IDC_NO},         {crHSplit, IDC_SIZEWE},   {crVSplit, IDC_SIZENS},
    {crSQLWait, IDC_WAIT},      {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},         {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},
};

// The arrow of the drag cursors: B black, W white, anything else clear.
const char* const kDragArrow[] = {
    "B",         "BB",        "BWB",        "BWWB",        "BWWWB",     "BWWWWB",   "BWWWWWB",
    "BWWWWWWB",  "BWWWWWWWB", "BWWWWWWWWB", "BWWWWWBBBBB", "BWWBWWB",   "BWB BWWB", "BB  BWWB",
    "B    BWWB", "     BWWB", "      BWWB", "      BWWB",  "       BB",
};

// crDrag: the arrow with a sheet below it; crMultiDrag: with three stacked sheets.
HCURSOR MakeDragCursor(int Sheets)
{
  constexpr int n = 32;
  std::vector<char> ink(n * n, ' ');
  auto sheet = [&](int L, int T) {
    for (int y = T; y < T + 10; ++y)
      for (int x = L; x < L + 9; ++x)
        ink[size_t(y * n + x)] = (y == T || y == T + 9 || x == L || x == L + 8) ? 'B' : 'W';
  };
  for (int i = Sheets - 1; i >= 0; --i) sheet(8 + 3 * i, 16 + 3 * i);
  for (int y = 0; y < int(std::size(kDragArrow)); ++y)
    for (int x = 0; kDragArrow[y][x]; ++x)
      if (kDragArrow[y][x] != ' ') ink[size_t(y * n + x)] = kDragArrow[y][x];
  std::vector<std::uint8_t> mask(n * n / 8, 0);
  std::vector<std::uint32_t> colour(n * n, 0);
  for (int i = 0; i < n * n; ++i) {
    if (ink[size_t(i)] == ' ') mask[size_t(i / 8)] |= std::uint8_t(0x80 >> (i % 8));
    colour[size_t(i)] = ink[size_t(i)] == 'W' ? 0x00FFFFFF : 0;
  }
  ICONINFO info;
  info.fIcon = FALSE;
  info.hbmMask = Windows::CreateBitmap(n, n, 1, 1, mask.data());
  info.hbmColor = Windows::CreateBitmap(n, n, 1, 32, colour.data());
  HCURSOR cursor = Windows::CreateIconIndirect(&info);
  Windows::DeleteObject(info.hbmMask);
  Windows::DeleteObject(info.hbmColor);
  return cursor;
}

int AddFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data)
{
  // Vertical faces ("@宋体") are for vertical text only.
  if (lf->lfFaceName[0] != '@') reinterpret_cast<TStringList*>(data)->Add(lf->lfFaceName);
  return 1;
}

}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), FHintFont(std::make_unique<TFont>())
{
  FDefaultCursor = Windows::LoadCursor(nullptr, IDC_ARROW);
  FCursors[crNone] = nullptr;
  for (const StandardCursor& c : kStandardCursors) FCursors[c.Index] = Windows::LoadCursor(nullptr, c.Id);
  FCursors[crDrag] = MakeDragCursor(1);
  FCursors[crMultiDrag] = MakeDragCursor(3);
  FHintFont->SetName("宋体");
  FHintFont->SetSize(9);
}

TScreen::~TScreen()
{
  if (Forms::Screen == this) Forms::Screen = nullptr;
  // The program's own cursors, wherever they were put; the standard ones belong to the system.
  for (auto& [index, handle] : FCursors)
    if (handle && !Windows::StandardCursorId(handle)) Windows::DestroyIcon(handle);
}

// ---- Forms and data modules ----------------------------------------------------------------------

namespace {
template <class T>
void EraseItem(std::vector<T*>& list, const void* item)
{
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <class T>
T* Item(const std::vector<T*>& list, int Index)
{
  if (Index < 0 || Index >= int(list.size()))
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  return list[std::size_t(Index)];
}
}  // namespace

TCustomForm* TScreen::GetCustomForms(int Index) const { return Item(FCustomForms, Index); }
int TScreen::GetFormCount() const
{
  return int(std::count_if(FCustomForms.begin(), FCustomForms.end(),
                           [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::GetForms(int Index) const
{
  int seen = 0;
  for (TCustomForm* f : FCustomForms)
    if (auto* form = dynamic_cast<TForm*>(f); form && seen++ == Index) return form;
  throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
}

TForm* TScreen::GetActiveForm() const { return dynamic_cast<TForm*>(FActiveCustomForm); }
TComponent* TScreen::GetDataModules(int Index) const { return Item(FDataModules, Index); }

void TScreen::AddForm(TCustomForm* AForm)
{
  if (!AForm || std::find(FCustomForms.begin(), FCustomForms.end(), AForm) != FCustomForms.end()) return;
  FCustomForms.push_back(AForm);
}

void TScreen::RemoveForm(TCustomForm* AForm)
{
  EraseItem(FCustomForms, AForm);
  if (FActiveCustomForm != AForm) return;
  FActiveCustomForm = nullptr;
  if (GetComponentState().Contains(csDestroying)) return;
  if (OnActiveFormChange) OnActiveFormChange(this);
  ActiveControlChanged();
}

void TScreen::AddDataModule(TComponent* ADataModule)
{
  if (ADataModule && std::find(FDataModules.begin(), FDataModules.end(), ADataModule) == FDataModules.end())
    FDataModules.push_back(ADataModule);
}

void TScreen::RemoveDataModule(TComponent* ADataModule) { EraseItem(FDataModules, ADataModule); }

TComponent* TScreen::FindGlobalComponent(const AnsiString& Name) const
{
  if (Name.empty()) return nullptr;
  for (TCustomForm* form : FCustomForms)
    if (SysUtils::SameText(form->GetName(), Name)) return form;
  for (TComponent* module : FDataModules)
    if (SysUtils::SameText(module->GetName(), Name)) return module;
  return nullptr;
}

void TScreen::FormActivated(TCustomForm* AForm)
{
  if (!AForm) return;
  auto it = std::find(FCustomForms.begin(), FCustomForms.end(), AForm);
  if (it != FCustomForms.end()) std::rotate(FCustomForms.begin(), it, it + 1);
  if (FActiveCustomForm == AForm) return;
  FActiveCustomForm = AForm;
  if (OnActiveFormChange) OnActiveFormChange(this);
  ActiveControlChanged();
}

void TScreen::ActiveControlChanged()
{
  const void* now = GetActiveControl();
  if (now == FLastActiveControl) return;
  FLastActiveControl = now;
  if (OnActiveControlChange && !GetComponentState().Contains(csDestroying)) OnActiveControlChange(this);
}

TWinControl* TScreen::GetActiveControl() const
{
  return FActiveCustomForm ? FActiveCustomForm->GetActiveControl() : nullptr;
}

// ---- Cursors -------------------------------------------------------------------------------------

HCURSOR TScreen::GetCursors(TCursor Index) const
{
  if (Index == crDefault) return FDefaultCursor;
  auto it = FCursors.find(Index);
  return it == FCursors.end() ? FDefaultCursor : it->second;
}

void TScreen::DeleteCursor(TCursor Index)
{
  auto it = FCursors.find(Index);
  if (it == FCursors.end()) return;
  // The standard cursors belong to the system; only the program's own are destroyed.
  if (it->second && !Windows::StandardCursorId(it->second)) Windows::DestroyIcon(it->second);
  FCursors.erase(it);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle)
{
  if (Index == crDefault) {
    FDefaultCursor = Handle ? Handle : Windows::LoadCursor(nullptr, IDC_ARROW);
    return;
  }
  if (GetCursors(Index) == Handle && FCursors.count(Index)) return;
  DeleteCursor(Index);
  if (Handle) FCursors[Index] = Handle;
}

void TScreen::SetCursor(TCursor Value)
{
  if (Value == FCursor) return;
  FCursor = Value;
  if (Value == crDefault) {
    // Let the window under the mouse choose its own cursor again.
    POINT p;
    Windows::GetCursorPos(&p);
    if (HWND wnd = Windows::WindowFromPoint(p)) {
      LRESULT hit = Windows::SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
      Windows::SendMessage(wnd, WM_SETCURSOR, WPARAM(wnd), MAKELPARAM(int(hit), WM_MOUSEMOVE));
      return;
    }
  }
  Windows::SetCursor(GetCursors(Value));
}

// ---- Geometry ------------------------------------------------------------------------------------

int TScreen::GetWidth() const { return Windows::GetSystemMetrics(SM_CXSCREEN); }
int TScreen::GetHeight() const { return Windows::GetSystemMetrics(SM_CYSCREEN); }

RECT TScreen::GetDesktopRect() const { return RECT{0, 0, GetWidth(), GetHeight()}; }

RECT TScreen::GetWorkAreaRect() const
{
  RECT r = GetDesktopRect();
  Windows::SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

int TScreen::GetWorkAreaWidth() const
{
  RECT r = GetWorkAreaRect();
  return r.right - r.left;
}

int TScreen::GetWorkAreaHeight() const
{
  RECT r = GetWorkAreaRect();
  return r.bottom - r.top;
}

void TScreen::ReadMonitors() const
{
  // The desktop has one display; it is read once and kept, the rectangles asked anew.
  if (!FMonitors.empty()) return;
  HMONITOR primary = Windows::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  FMonitors.push_back(std::make_unique<TMonitor>(primary, 0));
}

int TScreen::GetMonitorCount() const
{
  ReadMonitors();
  return int(FMonitors.size());
}

TMonitor* TScreen::GetMonitors(int Index) const
{
  ReadMonitors();
  if (Index < 0 || Index >= int(FMonitors.size()))
    throw EListError(SysUtils::Format("List index out of bounds (%d)", {Index}));
  return FMonitors[std::size_t(Index)].get();
}

namespace {
TMonitor* Matching(const std::vector<std::unique_ptr<TMonitor>>& monitors, HMONITOR handle)
{
  for (auto& m : monitors)
    if (m->GetHandle() == handle) return m.get();
  return monitors.front().get();
}
}  // namespace

TMonitor* TScreen::MonitorFromPoint(const POINT& Point) const
{
  ReadMonitors();
  return Matching(FMonitors, Windows::MonitorFromPoint(Point, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromRect(const RECT& Rect) const
{
  ReadMonitors();
  return Matching(FMonitors, Windows::MonitorFromRect(&Rect, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle) const
{
  ReadMonitors();
  return Matching(FMonitors, Windows::MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST));
}

// ---- Fonts ---------------------------------------------------------------------------------------

TStrings* TScreen::GetFonts()
{
  if (!FFonts) {
    auto fonts = std::make_unique<TStringList>();
    fonts->SetSorted(true);
    fonts->SetDuplicates(dupIgnore);
    LOGFONTA lf;
    lf.lfCharSet = DEFAULT_CHARSET;
    Windows::EnumFontFamiliesEx(nullptr, &lf, AddFamily, LPARAM(fonts.get()));
    FFonts = std::move(fonts);
  }
  return FFonts.get();
}

TStrings* TScreen::GetImes()
{
  if (!FImes) FImes = std::make_unique<TStringList>();
  return FImes.get();
}
