// The visual-styles (theme) interface. This platform has no theme library: the library reports
// itself absent, no theme is active, OpenThemeData answers null and every drawing or metric call
// answers E_FAIL, so the painters take their classic fall-backs.
#pragma once

#include "platform/gdi/WinTypes.h"

namespace UxTheme {

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);

// False: there is no theme library to bind (its functions must not be looked up).
bool IsLibraryAvailable();
// The bound function of that name, or null (always null here).
void* GetProcAddress(const char* name);

BOOL IsThemeActive();
BOOL IsAppThemed();
HTHEME OpenThemeData(HWND wnd, const char16_t* classList);
HRESULT CloseThemeData(HTHEME theme);
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count, DWORD flags,
                      DWORD flags2, const RECT* rect);
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge, UINT flags,
                      RECT* contentRect);
HRESULT DrawThemeParentBackground(HWND wnd, HDC dc, const RECT* rect);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds, RECT* content);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region);
// `sizeKind`: 0 minimum, 1 true size, 2 draw size.
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, int sizeKind, SIZE* size);
HRESULT GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);

}  // namespace UxTheme
