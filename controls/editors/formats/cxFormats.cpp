#include "controls/editors/formats/cxFormats.h"

#include <algorithm>
#include <memory>

#include "controls/editors/formats/cxDateUtils.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/sys/Locale.h"
#include "platform/win/window/Windows.h"

namespace cxFormats {

TService<TcxFormatControllerHooks>& FormatControllerHooks()
{
  static TService<TcxFormatControllerHooks> slot(std::make_unique<TcxFormatControllerHooks>());
  return slot;
}

namespace {

TcxFormatController* TheController = nullptr;          // the program's one
std::unique_ptr<TcxFormatController> OwnedController;  // when GetFormatController made it

const TcxFormatControllerHooks& Hooks() { return FormatControllerHooks().Current(); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The length of the run of the same letter (either case) that starts at i.
std::size_t RunLength(const AnsiString& s, std::size_t i)
{
  std::size_t n = 1;
  while (i + n < s.size() && LowerAscii(s[i + n]) == LowerAscii(s[i])) ++n;
  return n;
}

bool IsDateLetter(char c)
{
  c = LowerAscii(c);
  return c == 'd' || c == 'm' || c == 'e' || c == 'y';
}

// Every ',' and '.' of the currency symbol quoted, so the number formatter shows them as they are.
AnsiString QuotedCurrencySymbol()
{
  const AnsiString& symbol = SysUtils::CurrencyString;
  AnsiString result;
  for (std::size_t i = 0; i < symbol.size(); ++i) {
    if (System::IsLeadByte(symbol[i]) && i + 1 < symbol.size()) {
      result += symbol.substr(i++, 2);
    } else if (symbol[i] == ',' || symbol[i] == '.') {
      result += '\'';
      result += symbol[i];
      result += '\'';
    } else {
      result += symbol[i];
    }
  }
  return result;
}

AnsiString CurrencyFormat()
{
  const AnsiString n = ",0." + AnsiString(SysUtils::CurrencyDecimals, '0');
  const AnsiString s = QuotedCurrencySymbol();
  AnsiString positive;
  if (!s.empty()) {
    switch (SysUtils::CurrencyFormat) {
      case 0: positive = s + n; break;
      case 1: positive = n + s; break;
      case 2: positive = s + " " + n; break;
      case 3: positive = n + " " + s; break;
      default: break;
    }
  }
  AnsiString negative;
  switch (SysUtils::NegCurrFormat) {
    case 0: negative = "(" + s + n + ")"; break;
    case 1: negative = "-" + s + n; break;
    case 2: negative = s + "-" + n; break;
    case 3: negative = s + n + "-"; break;
    case 4: negative = "(" + n + s + ")"; break;
    case 5: negative = "-" + n + s; break;
    case 6: negative = n + "-" + s; break;
    case 7: negative = n + s + "-"; break;
    case 8: negative = "-" + n + " " + s; break;
    case 9: negative = "-" + s + " " + n; break;
    case 10: negative = n + " " + s + "-"; break;
    case 11: negative = s + " " + n + "-"; break;
    case 12: negative = s + " -" + n; break;
    case 13: negative = n + "- " + s; break;
    case 14: negative = "(" + s + " " + n + ")"; break;
    case 15: negative = "(" + n + " " + s + ")"; break;
    default: break;
  }
  return positive + ";" + negative;
}

Byte StartOfWeek()
{
  const AnsiString text = Hooks().LocaleFirstDayOfWeek ? Hooks().LocaleFirstDayOfWeek()
                                                       : Locale::GetLocaleInfo(Locale::LOCALE_IFIRSTDAYOFWEEK);
  int day = SysUtils::StrToIntDef(text, 0) + 1;
  return static_cast<Byte>(day > 6 || day < 0 ? 0 : day);
}

AnsiString DateEditFormat(bool AMasked)
{
  const AnsiString& format = SysUtils::ShortDateFormat;
  AnsiString result;
  bool monthCut = false;
  for (std::size_t i = 0; i < format.size();) {
    if (System::IsLeadByte(format[i]) && i + 1 < format.size()) {
      result += format.substr(i, 2);
      i += 2;
      continue;
    }
    const char c = LowerAscii(format[i]);
    if (c != 'd' && c != 'm') {
      result += format[i++];
      continue;
    }
    std::size_t run = RunLength(format, i);
    AnsiString letters = format.substr(i, run);
    if (run == 1) letters += format[i];
    if (AMasked && c == 'm' && !monthCut) {
      if (letters.size() > 3) letters.resize(3);
      monthCut = true;
    }
    result += letters;
    i += run;
  }
  return result;
}

AnsiString StandardDateEditMask()
{
  const AnsiString& format = SysUtils::ShortDateFormat;
  AnsiString result = "!";
  for (std::size_t i = 0; i < format.size();) {
    if (System::IsLeadByte(format[i]) && i + 1 < format.size()) {
      // both bytes literal: a trail byte may look like a mask character
      result += '\\';
      result += format[i];
      result += '\\';
      result += format[i + 1];
      i += 2;
      continue;
    }
    const char c = LowerAscii(format[i]);
    if (c == 'g') return AnsiString();
    if (!IsDateLetter(c)) {
      result += format[i++];
      continue;
    }
    const std::size_t run = RunLength(format, i);
    if (run <= 2)
      result += "99";
    else if (c == 'e')
      result += "99";
    else if (c == 'y')
      result += "9999";
    else
      result += "lll";
    i += run;
  }
  return result + ";1; ";
}

const char* const WindowClassName = "TcxFormatControllerWindow";

LRESULT WindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  auto* controller = reinterpret_cast<TcxFormatController*>(Windows::GetWindowLongPtr(Wnd, GWLP_USERDATA));
  if (Msg == WM_SETTINGCHANGE && controller) {
    try {
      const char* section = reinterpret_cast<const char*>(LParam);
      if (controller->HandleSettingChange(WParam, section ? AnsiString(section) : AnsiString())) return 0;
    } catch (const Exception& e) {
      if (!Hooks().HandleException) throw;
      Hooks().HandleException(e);
      return 0;
    }
  }
  return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
}

// The class is registered when a window is first needed; the window layer may have been reset
// since (tests), so the check is made every time.
bool EnsureWindowClass()
{
  WNDCLASSEXA info;
  if (Windows::GetClassInfoEx(nullptr, WindowClassName, &info)) return true;
  WNDCLASSEXA wc;
  wc.lpfnWndProc = WindowProc;
  wc.lpszClassName = WindowClassName;
  return Windows::RegisterClassEx(&wc) != 0;
}

void RegisterController(TcxFormatController* AController)
{
  if (!TheController) TheController = AController;
}

void UnregisterController(TcxFormatController* AController)
{
  if (TheController == AController) TheController = nullptr;
}

}  // namespace

TcxFormatController* GetFormatController()
{
  if (!TheController) OwnedController = std::make_unique<TcxFormatController>();
  return TheController;
}

TcxFormatController* FindFormatController() { return TheController; }

void Initialize() {}

void Finalize()
{
  OwnedController.reset();
  FormatControllerHooks().Install(nullptr);
  Windows::UnregisterClass(WindowClassName, nullptr);  // FALSE while a window of it exists
}

}  // namespace cxFormats

TcxFormatController::TcxFormatController()
{
  cxFormats::RegisterController(this);
  UpdateFormats();
}

TcxFormatController::~TcxFormatController()
{
  ReleaseWindow();
  cxFormats::UnregisterController(this);
}

void TcxFormatController::AllocateWindow()
{
  if (FWindow || !cxFormats::EnsureWindowClass()) return;
  // Top-level, so that broadcasts reach it; never shown.
  FWindow = Windows::CreateWindowEx(WS_EX_TOOLWINDOW, cxFormats::WindowClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr);
  if (FWindow) Windows::SetWindowLongPtr(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TcxFormatController::ReleaseWindow()
{
  HWND window = FWindow;
  FWindow = nullptr;
  if (window) Windows::DestroyWindow(window);  // a handle gone stale meanwhile is no error
}

void TcxFormatController::AddListener(IcxFormatChangeListener* AListener)
{
  if (!AListener || std::find(FListeners.begin(), FListeners.end(), AListener) != FListeners.end()) return;
  if (FListeners.empty()) AllocateWindow();
  FListeners.push_back(AListener);
}

void TcxFormatController::RemoveListener(IcxFormatChangeListener* AListener)
{
  auto it = std::find(FListeners.begin(), FListeners.end(), AListener);
  if (it == FListeners.end()) return;
  FListeners.erase(it);
  if (FListeners.empty()) ReleaseWindow();
}

bool TcxFormatController::HandleSettingChange(std::uintptr_t AWParam, const AnsiString& ASection)
{
  const TcxFormatControllerHooks& hooks = cxFormats::Hooks();
  if (AWParam != 0 || ASection != "intl") return false;
  if (hooks.UpdateFormatSettings && !hooks.UpdateFormatSettings()) return false;
  try {
    if (hooks.ReadLocaleFormatSettings)
      hooks.ReadLocaleFormatSettings();
    else
      Locale::ApplyLocale();
    UpdateFormats();
    // a listener may remove itself while being told
    const std::vector<IcxFormatChangeListener*> listeners = FListeners;
    for (IcxFormatChangeListener* listener : listeners)
      if (std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end()) listener->FormatChanged();
  } catch (const Exception& e) {
    if (!hooks.HandleException) throw;
    hooks.HandleException(e);
  }
  return true;
}

void TcxFormatController::UpdateFormats()
{
  if (!FCurrencyFormatAssigned) FCurrencyFormat = cxFormats::CurrencyFormat();
  if (!FStartOfWeekAssigned) FStartOfWeek = cxFormats::StartOfWeek();
  if (!FStandardDateEditMaskAssigned) FStandardDateEditMask = cxFormats::StandardDateEditMask();
  FLocaleStandardDateEditMask = cxFormats::StandardDateEditMask();
  FDateEditFormat = cxFormats::DateEditFormat(false);
  FMaskedDateEditFormat = cxFormats::DateEditFormat(true);
  if (!FRegExprDateEditMaskAssigned) FRegExprDateEditMask = cxDateUtils::GetDateRegExprMaskFor(FDateEditFormat, true);
}

void TcxFormatController::SetCurrencyFormat(const AnsiString& Value)
{
  FCurrencyFormat = Value;
  FCurrencyFormatAssigned = true;
}

void TcxFormatController::SetStartOfWeek(Byte Value)
{
  FStartOfWeek = Value;
  FStartOfWeekAssigned = true;
}

void TcxFormatController::SetStandardDateEditMask(const AnsiString& Value)
{
  FStandardDateEditMask = Value;
  FStandardDateEditMaskAssigned = true;
}

void TcxFormatController::SetRegExprDateEditMask(const AnsiString& Value)
{
  FRegExprDateEditMask = Value;
  FRegExprDateEditMaskAssigned = true;
}
