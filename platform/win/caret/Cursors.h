// Mouse cursors: the standard ones (IDC_*), the program's own (from icons), the current cursor.
// Cursor handles are owned by the system (standard) or by the caller (CreateIconIndirect of
// the drawing layer); SetCursor keeps no ownership.
#pragma once

#include <cstdint>

#include "platform/win/WinUser.h"

inline const char* const IDC_ARROW = reinterpret_cast<const char*>(std::uintptr_t(32512));
inline const char* const IDC_IBEAM = reinterpret_cast<const char*>(std::uintptr_t(32513));
inline const char* const IDC_WAIT = reinterpret_cast<const char*>(std::uintptr_t(32514));
inline const char* const IDC_CROSS = reinterpret_cast<const char*>(std::uintptr_t(32515));
inline const char* const IDC_UPARROW = reinterpret_cast<const char*>(std::uintptr_t(32516));
inline const char* const IDC_SIZENWSE = reinterpret_cast<const char*>(std::uintptr_t(32642));
inline const char* const IDC_SIZENESW = reinterpret_cast<const char*>(std::uintptr_t(32643));
inline const char* const IDC_SIZEWE = reinterpret_cast<const char*>(std::uintptr_t(32644));
inline const char* const IDC_SIZENS = reinterpret_cast<const char*>(std::uintptr_t(32645));
inline const char* const IDC_SIZEALL = reinterpret_cast<const char*>(std::uintptr_t(32646));
inline const char* const IDC_NO = reinterpret_cast<const char*>(std::uintptr_t(32648));
inline const char* const IDC_HAND = reinterpret_cast<const char*>(std::uintptr_t(32649));
inline const char* const IDC_APPSTARTING = reinterpret_cast<const char*>(std::uintptr_t(32650));
inline const char* const IDC_HELP = reinterpret_cast<const char*>(std::uintptr_t(32651));

namespace Windows {

// A standard cursor for `instance` null and an IDC_ id; null for anything else.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Answers the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Which standard cursor a handle is (its IDC_ number), or 0 for the program's own.
int StandardCursorId(HCURSOR cursor);

}  // namespace Windows
