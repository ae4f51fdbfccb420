#include "controls/framework/dxUxTheme.h"

#include <cstring>

#include "platform/gdi/theme/Theme.h"

namespace dxUxTheme {

const char* const BoundFunctionNames[BoundFunctionCount] = {"CloseThemeData",
                                                            "DrawThemeBackground",
                                                            "DrawThemeEdge",
                                                            "DrawThemeIcon",
                                                            "DrawThemeParentBackground",
                                                            "DrawThemeText",
                                                            "EnableThemeDialogTexture",
                                                            "GetCurrentThemeName",
                                                            "GetThemeAppProperties",
                                                            "GetThemeBackgroundContentRect",
                                                            "GetThemeBackgroundRegion",
                                                            "GetThemeBackgroundExtent",
                                                            "GetThemeBool",
                                                            "GetThemeColor",
                                                            "GetThemeDocumentationProperty",
                                                            "GetThemeEnumValue",
                                                            "GetThemeFilename",
                                                            "GetThemeFont",
                                                            "GetThemeInt",
                                                            "GetThemeIntList",
                                                            "GetThemeMargins",
                                                            "GetThemeMetric",
                                                            "GetThemePartSize",
                                                            "GetThemePosition",
                                                            "GetThemePropertyOrigin",
                                                            "GetThemeRect",
                                                            "GetThemeString",
                                                            "GetThemeSysBool",
                                                            "GetThemeSysColor",
                                                            "GetThemeSysColorBrush",
                                                            "GetThemeSysFont",
                                                            "GetThemeSysInt",
                                                            "GetThemeSysSize",
                                                            "GetThemeSysString",
                                                            "GetThemeTextExtent",
                                                            "GetThemeTextMetrics",
                                                            "GetWindowTheme",
                                                            "HitTestThemeBackground",
                                                            "IsAppThemed",
                                                            "IsThemeActive",
                                                            "IsThemePartDefined",
                                                            "IsThemeBackgroundPartiallyTransparent",
                                                            "IsThemeDialogTextureEnabled",
                                                            "OpenThemeData",
                                                            "SetThemeAppProperties",
                                                            "SetWindowTheme"};

namespace {
bool Initialized = false;
bool XPOrNewer = false;
bool Loaded = false;
void* Procs[BoundFunctionCount] = {};

template <class F>
F* Proc(const char* Name)
{
  return reinterpret_cast<F*>(GetBoundFunction(Name));
}
}  // namespace

bool IsVersionXPOrNewer(int Major, int Minor) { return Major > 5 || (Major == 5 && Minor != 0); }
bool IsOSVersionXPOrNewer() { return XPOrNewer; }
bool IsUxThemeLoaded() { return Loaded; }

void* GetBoundFunction(const char* Name)
{
  for (int i = 0; i < BoundFunctionCount; ++i)
    if (std::strcmp(BoundFunctionNames[i], Name) == 0) return Procs[i];
  return nullptr;
}

void Initialize(int Major, int Minor, TProcLookup Lookup)
{
  if (Initialized) return;
  Initialized = true;
  XPOrNewer = IsVersionXPOrNewer(Major, Minor);
  if (!XPOrNewer) return;
  if (!Lookup) {
    if (!UxTheme::IsLibraryAvailable()) return;
    Lookup = [](const char* Name) { return UxTheme::GetProcAddress(Name); };
  }
  Loaded = true;
  for (int i = 0; i < BoundFunctionCount; ++i) Procs[i] = Lookup(BoundFunctionNames[i]);
}

void Finalize()
{
  Initialized = Loaded = XPOrNewer = false;
  for (void*& p : Procs) p = nullptr;
}

HTHEME OpenThemeData(HWND Wnd, const char16_t* ClassList)
{
  auto* f = Proc<HTHEME(HWND, const char16_t*)>("OpenThemeData");
  return f ? f(Wnd, ClassList) : nullptr;
}

HRESULT CloseThemeData(HTHEME Theme)
{
  auto* f = Proc<HRESULT(HTHEME)>("CloseThemeData");
  return f ? f(Theme) : UxTheme::E_FAIL;
}

HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, const RECT* Clip)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const RECT*, const RECT*)>("DrawThemeBackground");
  return f ? f(Theme, DC, PartId, StateId, Rect, Clip) : UxTheme::E_FAIL;
}

HRESULT DrawThemeText(HTHEME Theme, HDC DC, int PartId, int StateId, const char16_t* Text, int Count, DWORD Flags,
                      DWORD Flags2, const RECT* Rect)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const char16_t*, int, DWORD, DWORD, const RECT*)>("DrawThemeText");
  return f ? f(Theme, DC, PartId, StateId, Text, Count, Flags, Flags2, Rect) : UxTheme::E_FAIL;
}

HRESULT GetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Bounds, RECT* Content)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const RECT*, RECT*)>("GetThemeBackgroundContentRect");
  return f ? f(Theme, DC, PartId, StateId, Bounds, Content) : UxTheme::E_FAIL;
}

HRESULT GetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, int SizeKind, SIZE* Size)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const RECT*, int, SIZE*)>("GetThemePartSize");
  return f ? f(Theme, DC, PartId, StateId, Rect, SizeKind, Size) : UxTheme::E_FAIL;
}

HRESULT GetThemeBackgroundRegion(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, HRGN* Region)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const RECT*, HRGN*)>("GetThemeBackgroundRegion");
  return f ? f(Theme, DC, PartId, StateId, Rect, Region) : UxTheme::E_FAIL;
}

HRESULT DrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, UINT Edge, UINT Flags,
                      RECT* ContentRect)
{
  auto* f = Proc<HRESULT(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*)>("DrawThemeEdge");
  return f ? f(Theme, DC, PartId, StateId, Rect, Edge, Flags, ContentRect) : UxTheme::E_FAIL;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId)
{
  auto* f = Proc<BOOL(HTHEME, int, int)>("IsThemeBackgroundPartiallyTransparent");
  return f ? f(Theme, PartId, StateId) : FALSE;
}

HRESULT DrawThemeParentBackground(HWND Wnd, HDC DC, const RECT* Rect)
{
  auto* f = Proc<HRESULT(HWND, HDC, const RECT*)>("DrawThemeParentBackground");
  return f ? f(Wnd, DC, Rect) : UxTheme::E_FAIL;
}

HRESULT GetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF* Color)
{
  auto* f = Proc<HRESULT(HTHEME, int, int, int, COLORREF*)>("GetThemeColor");
  return f ? f(Theme, PartId, StateId, PropId, Color) : UxTheme::E_FAIL;
}

BOOL IsThemeActive()
{
  auto* f = Proc<BOOL()>("IsThemeActive");
  return f ? f() : FALSE;
}

}  // namespace dxUxTheme
