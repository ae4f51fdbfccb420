#include "gridkit/shims/ZeDuzVCL.h"

#include <algorithm>

#include "platform/classes/TypInfo.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/Fonts.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Metrics.h"

namespace ZeDuzVCL {

namespace {
constexpr UINT EM_GETSEL = 0x00B0;

int ClampLen(const AnsiString& Text, int Len)
{
  if (Len < 0) return -1;  // DrawText's "up to the terminating zero"
  return std::min<int>(Len, static_cast<int>(Text.size()));
}
}  // namespace

Integer CompareBookmarkStrings(TDataSet* DataSet, const TBookmarkStr& Bookmark1, const TBookmarkStr& Bookmark2)
{
  return DataSet->CompareBookmarks(Bookmark1, Bookmark2);
}

bool BookmarkStringValid(TDataSet* DataSet, const TBookmarkStr& Bookmark) { return DataSet->BookmarkValid(Bookmark); }

TDataSet* DataSetOfSourceProperty(TObject* Instance, const TPropInfo* PropInfo)
{
  if (!Instance || !PropInfo || !PropInfo->PropType || PropInfo->PropType->Kind != tkClass) return nullptr;
  try {
    auto* source = dynamic_cast<TDataSource*>(TypInfo::GetObjectProp(Instance, PropInfo));
    return source ? source->GetDataSet() : nullptr;
  } catch (const Exception&) {
    return nullptr;
  }
}

int DrawTextStr(HDC DC, const AnsiString& Text, int Len, RECT& Rect, UINT Format)
{
  return Windows::DrawText(DC, Text.c_str(), ClampLen(Text, Len), &Rect, Format);
}

int DrawTextExStr(HDC DC, const AnsiString& Text, int Len, RECT& Rect, UINT Format, DRAWTEXTPARAMS Params)
{
  // DrawTextEx may write into the text (DT_MODIFYSTRING); it works on a copy.
  AnsiString copy = Text;
  copy.reserve(copy.size() + 8);
  return Windows::DrawTextEx(DC, copy.data(), ClampLen(Text, Len), &Rect, Format, &Params);
}

bool ExtTextOutStr(HDC DC, int X, int Y, UINT Options, const RECT* Rect, const AnsiString& Text, int Len)
{
  return Windows::ExtTextOut(DC, X, Y, Options, Rect, Text.c_str(), std::max(0, ClampLen(Text, Len)), nullptr);
}

UINT GetOutlineMetrics(HDC DC, UINT Size, OUTLINETEXTMETRICA* Buffer)
{
  return Windows::GetOutlineTextMetrics(DC, Size, Buffer);
}

LRESULT SendRectMessage(HWND Wnd, UINT Msg, WPARAM WParam, RECT& Rect)
{
  return Windows::SendMessage(Wnd, Msg, WParam, reinterpret_cast<LPARAM>(&Rect));
}

LRESULT SendTextMessage(HWND Wnd, UINT Msg, WPARAM WParam, const AnsiString& Text)
{
  return Windows::SendMessage(Wnd, Msg, WParam, reinterpret_cast<LPARAM>(Text.c_str()));
}

BOOL SystemParameters(UINT Action, UINT Param, void* Data, UINT WinIni)
{
  return Windows::SystemParametersInfo(Action, Param, Data, WinIni);
}

void InvalidateWindowRect(HWND Wnd, const RECT* Rect, bool Erase) { Windows::InvalidateRect(Wnd, Rect, Erase); }

void ValidateWindowRect(HWND Wnd, const RECT* Rect) { Windows::ValidateRect(Wnd, Rect); }

int ScrollWindowArea(HWND Wnd, int DX, int DY, UINT Flags, HRGN Update, const RECT* Clip, const RECT* Scroll)
{
  return Windows::ScrollWindowEx(Wnd, DX, DY, Scroll, Clip, Update, nullptr, Flags);
}

void CopyMessage(const MSG& Source, MSG& Dest)
{
  Dest.hwnd = Source.hwnd;
  Dest.message = Source.message;
  Dest.wParam = Source.wParam;
  Dest.lParam = Source.lParam;
}

void LogicalToDevice(HDC DC, RECT& Rect)
{
  POINT pts[2] = {{Rect.left, Rect.top}, {Rect.right, Rect.bottom}};
  Windows::LPtoDP(DC, pts, 2);
  Rect = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

HRGN PolygonRegion(const POINT* Points, int Count, int FillMode)
{
  std::vector<POINT> copy(Points, Points + std::max(0, Count));
  return Windows::CreatePolygonRgn(copy.data(), Count, FillMode);
}

void GetEditSelection(HWND Wnd, int& SelStart, int& SelEnd)
{
  DWORD start = 0, end = 0;
  Windows::SendMessage(Wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SelStart = static_cast<int>(start);
  SelEnd = static_cast<int>(end);
}

AnsiString UpperCaseStr(const AnsiString& Text) { return SysUtils::AnsiUpperCase(Text); }
AnsiString LowerCaseStr(const AnsiString& Text) { return SysUtils::AnsiLowerCase(Text); }
int CompareStrCase(const AnsiString& S1, const AnsiString& S2) { return SysUtils::AnsiCompareStr(S1, S2); }
int CompareStrNoCase(const AnsiString& S1, const AnsiString& S2) { return SysUtils::AnsiCompareText(S1, S2); }

void RedimVariantArray(Variant& Array, int NewHighBound) { Variants::VarArrayRedim(Array, NewHighBound); }

}  // namespace ZeDuzVCL
