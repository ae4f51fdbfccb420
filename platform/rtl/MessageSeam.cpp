#include "platform/rtl/MessageSeam.h"

#include <cstdio>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Service.h"

namespace MessageSeam {

namespace {

// Until the windows install theirs: the message on standard error, the default button answered.
class TStdErrBox : public TMessageBoxService {
public:
  int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) override
  {
    std::string line = System::AnsiToUtf8(Caption) + ": " + System::AnsiToUtf8(Text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return DefaultAnswer(Flags);
  }
};

class TFunctionBox : public TMessageBoxService {
public:
  explicit TFunctionBox(THandler AHandler) : FHandler(std::move(AHandler)) {}
  int Show(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) override
  {
    return FHandler(Text, Caption, Flags);
  }

private:
  THandler FHandler;
};

TService<TMessageBoxService>& Slot()
{
  static TService<TMessageBoxService> slot(std::make_unique<TStdErrBox>());
  return slot;
}

std::unique_ptr<TMessageBoxService> BoxFor(THandler Handler)
{
  if (!Handler) return nullptr;
  return std::make_unique<TFunctionBox>(std::move(Handler));
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
  return Slot().Current().Show(Text, Caption, Flags);
}

std::unique_ptr<TMessageBoxService> Install(std::unique_ptr<TMessageBoxService> Service)
{
  return Slot().Install(std::move(Service));
}

TScopedMessageBox::TScopedMessageBox(std::unique_ptr<TMessageBoxService> Service)
    : FPrevious(Install(std::move(Service)))
{}

TScopedMessageBox::TScopedMessageBox(THandler Handler) : TScopedMessageBox(BoxFor(std::move(Handler))) {}

TScopedMessageBox::~TScopedMessageBox() { Install(std::move(FPrevious)); }

}  // namespace MessageSeam
