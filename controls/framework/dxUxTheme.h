// The run-time binding of the theme library: the program starts without it, and every themed
// drawing call fails cleanly when it is absent (as it is on this platform), so the painters'
// fall-backs run.
//
// The wrappers pass their arguments on to the bound function; an unbound function answers
// E_FAIL (0 / FALSE for the handle and Boolean calls). They are called only after
// dxThemeManager::AreThemesAvailable has answered true.
#pragma once

#include <functional>

#include "platform/gdi/WinTypes.h"

namespace dxUxTheme {

constexpr int BoundFunctionCount = 46;
// The names looked up, in order.
extern const char* const BoundFunctionNames[BoundFunctionCount];

// Finds a library function by name (nullptr when missing).
using TProcLookup = std::function<void*(const char* Name)>;

// Version 5.1 or later: major above 5, or 5 with a minor other than 0.
bool IsVersionXPOrNewer(int Major, int Minor);
bool IsOSVersionXPOrNewer();
bool IsUxThemeLoaded();
// The bound function of that name, or nullptr.
void* GetBoundFunction(const char* Name);

HTHEME OpenThemeData(HWND Wnd, const char16_t* ClassList);
HRESULT CloseThemeData(HTHEME Theme);
HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, const RECT* Clip);
HRESULT DrawThemeText(HTHEME Theme, HDC DC, int PartId, int StateId, const char16_t* Text, int Count, DWORD Flags,
                      DWORD Flags2, const RECT* Rect);
HRESULT GetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Bounds, RECT* Content);
HRESULT GetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, int SizeKind, SIZE* Size);
HRESULT GetThemeBackgroundRegion(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, HRGN* Region);
HRESULT DrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, UINT Edge, UINT Flags,
                      RECT* ContentRect);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId);
HRESULT DrawThemeParentBackground(HWND Wnd, HDC DC, const RECT* Rect);
HRESULT GetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF* Color);
BOOL IsThemeActive();

// Reads the version and binds the library (only from 5.1 on). Idempotent. With a Lookup (tests
// and other platforms) that function stands for the library; without one the platform's theme
// interface is asked.
void Initialize(int Major = 5, int Minor = 1, TProcLookup Lookup = nullptr);
// Forgets the binding.
void Finalize();

}  // namespace dxUxTheme
