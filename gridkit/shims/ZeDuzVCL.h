// The few places where the grid family touches the platform or the data layer directly, each a
// thin routine with a fixed signature; the rest of the family calls these instead.
//
// Text case and comparison follow the tree's rule: CP936 bytes, ASCII letters folded only.
// Object and integer message parameters are pointer-sized (never truncated to 32 bits).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/db/DB.h"
#include "platform/gdi/WinTypes.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/WinUser.h"

class TDataSet;
class TObject;
class Variant;
struct TPropInfo;

namespace ZeDuzVCL {

// ---- data layer ---------------------------------------------------------------------------
// The dataset's own bookmark order: negative, 0 or positive.
Integer CompareBookmarkStrings(TDataSet* DataSet, const TBookmarkStr& Bookmark1, const TBookmarkStr& Bookmark2);
bool BookmarkStringValid(TDataSet* DataSet, const TBookmarkStr& Bookmark);
// The dataset of the TDataSource held by a published class-kind property of Instance; nullptr
// when the property is no class property, holds no data source, or cannot be read.
TDataSet* DataSetOfSourceProperty(TObject* Instance, const TPropInfo* PropInfo);

// ---- drawing and windows ------------------------------------------------------------------
int DrawTextStr(HDC DC, const AnsiString& Text, int Len, RECT& Rect, UINT Format);
// Params is copied: the caller's record is not written back.
int DrawTextExStr(HDC DC, const AnsiString& Text, int Len, RECT& Rect, UINT Format, DRAWTEXTPARAMS Params);
bool ExtTextOutStr(HDC DC, int X, int Y, UINT Options, const RECT* Rect, const AnsiString& Text, int Len);
// Returns the size written (0 on failure); Buffer may be nullptr to ask for the size.
UINT GetOutlineMetrics(HDC DC, UINT Size, OUTLINETEXTMETRICA* Buffer);
LRESULT SendRectMessage(HWND Wnd, UINT Msg, WPARAM WParam, RECT& Rect);
LRESULT SendTextMessage(HWND Wnd, UINT Msg, WPARAM WParam, const AnsiString& Text);
BOOL SystemParameters(UINT Action, UINT Param, void* Data, UINT WinIni);
void InvalidateWindowRect(HWND Wnd, const RECT* Rect, bool Erase);
void ValidateWindowRect(HWND Wnd, const RECT* Rect);
int ScrollWindowArea(HWND Wnd, int DX, int DY, UINT Flags, HRGN Update, const RECT* Clip, const RECT* Scroll);
void CopyMessage(const MSG& Source, MSG& Dest);
inline std::intptr_t ObjectToParam(const void* Value) { return reinterpret_cast<std::intptr_t>(Value); }
inline std::intptr_t IntToParam(std::intptr_t Value) { return Value; }
void LogicalToDevice(HDC DC, RECT& Rect);
HRGN PolygonRegion(const POINT* Points, int Count, int FillMode);
void GetEditSelection(HWND Wnd, int& SelStart, int& SelEnd);
inline RECT EmptyRect() { return RECT{0, 0, 0, 0}; }

// ---- text ---------------------------------------------------------------------------------
AnsiString UpperCaseStr(const AnsiString& Text);
AnsiString LowerCaseStr(const AnsiString& Text);
int CompareStrCase(const AnsiString& S1, const AnsiString& S2);
int CompareStrNoCase(const AnsiString& S1, const AnsiString& S2);

// ---- variants -----------------------------------------------------------------------------
// Changes the upper bound of a one-dimensional variant array, keeping the remaining elements.
void RedimVariantArray(Variant& Array, int NewHighBound);

}  // namespace ZeDuzVCL
