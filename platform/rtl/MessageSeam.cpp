#include "platform/rtl/MessageSeam.h"

#include <cstdio>
#include <mutex>

#include "platform/rtl/AnsiStrings.h"

namespace MessageSeam {

namespace {

std::mutex& HandlerLock()
{
  static std::mutex lock;
  return lock;
}

THandler& CurrentHandler()
{
  static THandler handler;
  return handler;
}

}  // namespace

int DefaultAnswer(unsigned Flags)
{
  static const int buttons[][3] = {
      {IDOK, IDOK, IDOK},             // MB_OK
      {IDOK, IDCANCEL, IDCANCEL},     // MB_OKCANCEL
      {IDABORT, IDRETRY, IDIGNORE},   // MB_ABORTRETRYIGNORE
      {IDYES, IDNO, IDCANCEL},        // MB_YESNOCANCEL
      {IDYES, IDNO, IDNO},            // MB_YESNO
      {IDRETRY, IDCANCEL, IDCANCEL},  // MB_RETRYCANCEL
      {IDOK, IDOK, IDOK},             // (6: none)
      {IDYES, IDNO, IDALL},           // MB_YESNOALL
  };
  unsigned type = Flags & MB_TYPEMASK;
  if (type > MB_YESNOALL || type == 6) type = MB_OK;
  unsigned def = (Flags & MB_DEFMASK) >> 8;
  if (def > 2) def = 0;
  // A default beyond the box's buttons falls back to the first one.
  static const unsigned buttonCount[] = {1, 2, 3, 3, 2, 2, 1, 3};
  if (def >= buttonCount[type]) def = 0;
  return buttons[type][def];
}

int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  THandler handler;
  {
    std::lock_guard<std::mutex> guard(HandlerLock());
    handler = CurrentHandler();
  }
  if (handler) return handler(Text, Caption, Flags);
  std::string line = System::AnsiToUtf8(Caption) + ": " + System::AnsiToUtf8(Text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return DefaultAnswer(Flags);
}

THandler SetHandler(THandler Handler)
{
  std::lock_guard<std::mutex> guard(HandlerLock());
  THandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(Handler);
  return previous;
}

}  // namespace MessageSeam
