#include "controls/framework/dxThemeManager.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/framework/dxUxTheme.h"
#include "platform/win/window/Windows.h"

namespace dxThemeManager {

namespace {

const char16_t* const DefaultNames[dxThemeClassCount] = {
    u"Button",   u"Clock",    u"ComboBox", u"Edit",      u"ExplorerBar", u"Header",     u"ListView", u"Menu",
    u"Page",     u"Progress", u"Rebar",    u"ScrollBar", u"Spin",        u"StartPanel", u"Status",   u"Tab",
    u"TaskBand", u"TaskBar",  u"ToolBar",  u"ToolTip",   u"TrackBar",    u"TrayNotify", u"TreeView", u"Window"};

struct TdxThemeData {
  HTHEME Handle = nullptr;
  std::u16string Name;
};

TdxThemeData Cache[dxThemeClassCount];
bool ThemesActive = false;
bool Started = false;
std::unique_ptr<std::vector<TdxThemeChangedNotificator*>> Notificators;

const char* const ReceiverClassName = "TdxThemeChangedEventReceiver";

LRESULT ReceiverWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (Msg != WM_THEMECHANGED) return Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  Windows::DefWindowProc(Wnd, Msg, WParam, LParam);
  return ThemeChangedMessage();
}

// Owns the hidden window that the theme-change message is sent to.
class TdxThemeChangedEventReceiver {
public:
  TdxThemeChangedEventReceiver()
  {
    WNDCLASSEXA info;
    if (!Windows::GetClassInfoEx(nullptr, ReceiverClassName, &info)) {
      WNDCLASSEXA wc;
      wc.lpfnWndProc = ReceiverWndProc;
      wc.lpszClassName = ReceiverClassName;
      Windows::RegisterClassEx(&wc);
    }
    // Top-level, so that broadcasts reach it; never shown.
    FWindow = Windows::CreateWindowEx(WS_EX_TOOLWINDOW, ReceiverClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
  }
  ~TdxThemeChangedEventReceiver()
  {
    ThemesActive = false;
    if (FWindow) Windows::DestroyWindow(FWindow);  // a handle gone stale meanwhile is no error
    Windows::UnregisterClass(ReceiverClassName, nullptr);
  }
  TdxThemeChangedEventReceiver(const TdxThemeChangedEventReceiver&) = delete;
  TdxThemeChangedEventReceiver& operator=(const TdxThemeChangedEventReceiver&) = delete;
  HWND Window() const { return FWindow; }

private:
  HWND FWindow = nullptr;
};

std::unique_ptr<TdxThemeChangedEventReceiver> Receiver;

std::u16string Upper(std::u16string s)
{
  for (auto& c : s)
    if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
  return s;
}

}  // namespace

const char16_t* DefaultThemeClassName(TdxThemeClass Class) { return DefaultNames[Class]; }

bool GetThemesActive() { return ThemesActive; }

bool AreThemesAvailable(TdxThemeClasses Mask)
{
  if (!ThemesActive || !dxUxTheme::IsUxThemeLoaded()) return false;
  for (int i = 0; i < dxThemeClassCount; ++i)
    if ((Mask & (1u << i)) && !OpenTheme(i)) return false;
  return true;
}

HTHEME OpenTheme(TdxThemeClass Class, const char16_t* Name)
{
  if (Class < 0 || Class >= dxThemeClassCount || !AreThemesAvailable()) return nullptr;
  TdxThemeData& data = Cache[Class];
  if (data.Handle) {
    if (!Name || Upper(Name) == Upper(data.Name)) return data.Handle;
    CloseTheme(Class);
  }
  std::u16string name = Name ? std::u16string(Name) : !data.Name.empty() ? data.Name : DefaultNames[Class];
  HTHEME handle = dxUxTheme::OpenThemeData(nullptr, name.c_str());
  if (handle) {
    data.Handle = handle;
    data.Name = name;
  } else
    data.Name.clear();
  return handle;
}

void CloseTheme(TdxThemeClass Class)
{
  TdxThemeData& data = Cache[Class];
  if (!data.Handle || !AreThemesAvailable()) return;
  dxUxTheme::CloseThemeData(data.Handle);
  data.Handle = nullptr;
  data.Name.clear();
}

void CloseAllThemes()
{
  for (auto& data : Cache)
    if (data.Handle) {
      dxUxTheme::CloseThemeData(data.Handle);
      data.Handle = nullptr;
    }
}

TService<std::function<void(const std::exception&)>>& ExceptionHandlerService()
{
  static TService<std::function<void(const std::exception&)>> slot(
      std::make_unique<std::function<void(const std::exception&)>>([](const std::exception&) { throw; }));
  return slot;
}

LRESULT ThemeChangedMessage()
{
  CloseAllThemes();
  ThemesActive = dxUxTheme::IsThemeActive() != 0;
  if (!Notificators) return 0;
  std::vector<TdxThemeChangedNotificator*> list = *Notificators;
  for (auto* n : list) {
    if (std::find(Notificators->begin(), Notificators->end(), n) == Notificators->end()) continue;
    if (!n->OnThemeChanged) continue;
    try {
      n->OnThemeChanged();
    } catch (const std::exception& e) {
      ExceptionHandlerService().Current()(e);
      break;
    }
  }
  return 0;
}

void Initialize()
{
  if (Started) return;
  Started = true;
  if (!dxUxTheme::IsUxThemeLoaded()) return;
  ThemesActive = dxUxTheme::IsThemeActive() != 0;
  Receiver = std::make_unique<TdxThemeChangedEventReceiver>();
  Notificators = std::make_unique<std::vector<TdxThemeChangedNotificator*>>();
}

HWND GetReceiverWindow() { return Receiver ? Receiver->Window() : nullptr; }

void Finalize()
{
  Receiver.reset();
  if (dxUxTheme::IsUxThemeLoaded()) {
    ThemesActive = false;
    CloseAllThemes();
  }
  Notificators.reset();
  for (auto& data : Cache) data = TdxThemeData{};
  ThemesActive = false;
  Started = false;
}

}  // namespace dxThemeManager

TdxThemeChangedNotificator::TdxThemeChangedNotificator()
{
  if (dxUxTheme::IsUxThemeLoaded() && dxThemeManager::Notificators) dxThemeManager::Notificators->push_back(this);
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator()
{
  if (auto& list = dxThemeManager::Notificators)
    list->erase(std::remove(list->begin(), list->end(), this), list->end());
}
