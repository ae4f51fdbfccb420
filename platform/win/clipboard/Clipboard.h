// The clipboard: standard and registered formats holding memory blocks (GlobalAlloc). Text is
// offered in both forms: a block of CF_TEXT (CP936) is also readable as CF_UNICODETEXT and the
// other way round. With a desktop back end, text also goes to and comes from the desktop's
// clipboard (as UTF-8).
#pragma once

#include "platform/rtl/System.h"
#include "platform/win/WinUser.h"

constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13, CF_HDROP = 15,
               CF_LOCALE = 16;

namespace Windows {

// FALSE when another window has it open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Requires the clipboard open; the opener becomes the owner.
BOOL EmptyClipboard();
// Takes over the block (the caller must not free it afterwards); requires the clipboard open.
// Answers the block, or null on failure (the caller then still owns it).
HANDLE SetClipboardData(UINT format, HANDLE data);
// The clipboard keeps the block: the caller must not free it. Requires the clipboard open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// 0 when the name is empty; the same name answers the same id (0xC000 and up), ASCII case
// ignored.
UINT RegisterClipboardFormat(const char* name);
int GetClipboardFormatName(UINT format, char* buffer, int maxCount);
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

}  // namespace Windows

namespace Clipboard {
// Conveniences over the calls above: the text as CP936 (empty when there is none), and
// replacing the clipboard's contents with text. SetText answers false when the clipboard is
// open elsewhere.
AnsiString GetText();
bool SetText(const AnsiString& cp936);
void Reset();
}  // namespace Clipboard
