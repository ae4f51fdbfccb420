// TClipboard: the clipboard as an object: text in CP936, any format by its memory block, the
// registered formats, and pictures.
//
// Open and Close nest; between them every format set goes on the clipboard together (the first
// one empties it). Each call outside an Open runs its own open and close. Raises EClipboardError
// "Cannot open clipboard" when another window holds it open.
//
// Pictures: a bitmap (and a JPEG image, as its bitmap) goes as CF_DIB, a metafile as
// CF_METAFILEPICT holding the metafile's file bytes, and any other graphic as the registered
// picture format (CF_PICTURE: the class name, then the graphic's file bytes). A bitmap's
// presence also answers HasFormat(CF_BITMAP).
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/win/WinUser.h"

// A clipboard that cannot be opened, or holds no picture where one is asked for.
PELTO_DECLARE_EXCEPTION(EClipboardError, Exception);

constexpr UINT CF_METAFILEPICT = 3;

class TGraphic;

class TClipboard : public TPersistent {
  PELTO_CLASS(TClipboard, TPersistent)
public:
  TClipboard() = default;
  ~TClipboard() override;

  void Open();
  // Not an error without an Open.
  void Close();
  void Clear();

  // The CP936 text; empty when the clipboard holds none.
  AnsiString GetAsText();
  void SetAsText(const AnsiString& Value);
  // Up to BufSize - 1 bytes of the text and a terminating zero; answers the bytes copied.
  int GetTextBuf(char* Buffer, int BufSize);
  void SetTextBuf(const char* Buffer);

  bool HasFormat(UINT Format);
  int GetFormatCount();
  // The formats in the order they were set; raises EListError for a bad index.
  UINT GetFormats(int Index);

  // The clipboard keeps the block it answers: do not free it. Null when the format is absent.
  HANDLE GetAsHandle(UINT Format);
  // The clipboard takes over Value (a GlobalAlloc block); raises EClipboardError when it refuses
  // it, and the block is then freed.
  void SetAsHandle(UINT Format, HANDLE Value);
  // Copies Size bytes into a new block under Format.
  void SetBuffer(UINT Format, const void* Buffer, std::size_t Size);

  // From a TPicture or a TGraphic: the picture goes on the clipboard; others as TPersistent.
  void Assign(TPersistent* Source) override;

protected:
  // Into a TPicture, TBitmap or TMetafile: the clipboard's picture. Raises EClipboardError
  // "Unsupported clipboard format" when it holds none the destination can take.
  void AssignTo(TPersistent* Dest) override;

private:
  // Empties the clipboard before the first format of an Open.
  void Adding();
  void AssignGraphic(TGraphic* Source);
  // The bytes of Format; false when absent.
  bool ReadBlock(UINT Format, std::string& Out);

  int FOpenRefCount = 0;
  HWND FClipboardWindow = nullptr;  // owned while open
  bool FEmptied = false;
};

namespace Clipbrd {
// The registered picture format ("Pelto Picture").
UINT CF_PICTURE();
// The program's one clipboard object, made on first use and freed by Finalize.
TClipboard* Clipboard();
void Finalize();
}  // namespace Clipbrd
