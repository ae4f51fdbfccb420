#include "platform/win/caret/Cursors.h"

#include "platform/win/backend/Backend.h"
#include "platform/win/window/WindowData.h"

namespace Windows {
namespace {
// Standard cursors are handles in a range of their own: a base plus the IDC number.
constexpr std::uintptr_t kBase = 0x7F000000;
bool IsStandardId(std::uintptr_t id)
{
  return (id >= 32512 && id <= 32516) || (id >= 32642 && id <= 32651 && id != 32647);
}
}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, const char* name)
{
  auto id = reinterpret_cast<std::uintptr_t>(name);
  if (instance || !IsStandardId(id)) return nullptr;
  return reinterpret_cast<HCURSOR>(kBase + id);
}

HCURSOR SetCursor(HCURSOR cursor)
{
  HCURSOR old = WindowData::State().cursor;
  WindowData::State().cursor = cursor;
  if (old != cursor) Backend::Current().CursorChanged(cursor);
  return old;
}

HCURSOR GetCursor() { return WindowData::State().cursor; }

int StandardCursorId(HCURSOR cursor)
{
  auto v = reinterpret_cast<std::uintptr_t>(cursor);
  return (v > kBase && IsStandardId(v - kBase)) ? int(v - kBase) : 0;
}

}  // namespace Windows
