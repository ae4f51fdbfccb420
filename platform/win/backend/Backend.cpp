#include "platform/win/backend/Backend.h"

#include "platform/win/backend/Headless.h"

namespace Headless {
std::unique_ptr<WindowBackend> MakeBackend(int width, int height);
}

namespace Backend {
namespace {
std::unique_ptr<WindowBackend>& Slot()
{
  static std::unique_ptr<WindowBackend> b;
  return b;
}
}  // namespace

WindowBackend& Current()
{
  if (!Slot()) Slot() = Headless::MakeBackend(1024, 768);
  return *Slot();
}

void Install(std::unique_ptr<WindowBackend> backend)
{
  Slot() = backend ? std::move(backend) : Headless::MakeBackend(1024, 768);
}

}  // namespace Backend

namespace Windows {
BOOL MessageBeep(UINT type)
{
  Backend::Current().Beep(type);
  return TRUE;
}
}  // namespace Windows
