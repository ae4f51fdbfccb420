#include "platform/gdi/theme/Theme.h"

namespace UxTheme {

bool IsLibraryAvailable() { return false; }
void* GetProcAddress(const char*) { return nullptr; }
BOOL IsThemeActive() { return FALSE; }
BOOL IsAppThemed() { return FALSE; }
HTHEME OpenThemeData(HWND, const char16_t*) { return nullptr; }
HRESULT CloseThemeData(HTHEME) { return E_FAIL; }
HRESULT DrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return E_FAIL; }
HRESULT DrawThemeText(HTHEME, HDC, int, int, const char16_t*, int, DWORD, DWORD, const RECT*) { return E_FAIL; }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) { return E_FAIL; }
HRESULT DrawThemeParentBackground(HWND, HDC, const RECT*) { return E_FAIL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_FAIL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const RECT*, HRGN* region)
{
  if (region) *region = nullptr;
  return E_FAIL;
}
HRESULT GetThemePartSize(HTHEME, HDC, int, int, const RECT*, int, SIZE*) { return E_FAIL; }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_FAIL; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return FALSE; }
BOOL IsThemePartDefined(HTHEME, int, int) { return FALSE; }

}  // namespace UxTheme
