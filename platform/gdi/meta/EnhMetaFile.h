// Enhanced metafiles: recorded drawings kept in their binary file form (a header record, then
// drawing records, ending with an end-of-file record), behind HENHMETAFILE handles.
//
// A metafile handle is owned by whoever created it and freed with DeleteEnhMetaFile (DeleteObject
// refuses it). Loading checks every record against the buffer: a truncated or malformed form is
// refused (null), never read past. Playing draws the records this layer can draw and skips the
// others; a record whose data does not fit its size is skipped, and the play goes on.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

// The first record of every enhanced metafile, as stored (all values little-endian).
struct ENHMETAHEADER {
  DWORD iType = 1;  // EMR_HEADER
  DWORD nSize = 0;  // bytes of this record
  RECT rclBounds;   // inclusive bounds of the drawing, device pixels of the reference
  RECT rclFrame;    // inclusive picture frame, 0.01 mm
  DWORD dSignature = 0x464D4520;
  DWORD nVersion = 0x10000;
  DWORD nBytes = 0;  // size of the whole metafile
  DWORD nRecords = 0;
  WORD nHandles = 1;  // object table size, entry 0 reserved
  WORD sReserved = 0;
  DWORD nDescription = 0;    // UTF-16 units of the description, 0 for none
  DWORD offDescription = 0;  // from the start of the header record
  DWORD nPalEntries = 0;
  SIZE szlDevice;       // reference device in pixels
  SIZE szlMillimeters;  // reference device in millimetres
};

// One record as an enumeration callback sees it: type, size in bytes (with these 8), data.
struct ENHMETARECORD {
  DWORD iType = 0;
  DWORD nSize = 0;
  DWORD dParm[1] = {};
};

// The object table of a play: handles made by the records, indexed by their record index.
struct HANDLETABLE {
  HGDIOBJ objectHandle[1] = {};
};

// Answers 0 to stop the enumeration. `record` is valid during the call only; `objCount` is the
// size of the handle table.
using ENHMFENUMPROC = int (*)(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int objCount, LPARAM data);

// Record types.
constexpr DWORD EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
                EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
                EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_SETBRUSHORGEX = 13,
                EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETMAPPERFLAGS = 16, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18,
                EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22,
                EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27,
                EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
                EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
                EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
                EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45,
                EMR_CHORD = 46, EMR_PIE = 47, EMR_LINETO = 54, EMR_SETARCDIRECTION = 57, EMR_GDICOMMENT = 70,
                EMR_FILLRGN = 71, EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75,
                EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
                EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85, EMR_POLYGON16 = 86,
                EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89, EMR_POLYPOLYLINE16 = 90,
                EMR_POLYPOLYGON16 = 91, EMR_EXTCREATEPEN = 95, EMR_TRANSPARENTBLT = 116;

// Stock objects in a record's object index carry this bit.
constexpr DWORD ENHMETA_STOCK_OBJECT = 0x80000000u;
// The text records' rectangle is left out.
constexpr UINT ETO_NO_RECT = 0x100, ETO_PDY = 0x2000;

namespace Windows {

// A metafile from its binary form (copied); null when the bytes are not a whole, well-formed
// metafile.
HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data);
// With `data` null answers the size of the binary form; otherwise copies min(size, form) bytes and
// answers the count copied. 0 for an invalid handle.
UINT GetEnhMetaFileBits(HENHMETAFILE mf, UINT size, BYTE* data);
// The whole binary form; empty for an invalid handle.
std::vector<BYTE> EnhMetaFileBytes(HENHMETAFILE mf);
// Loads a metafile file (name in CP936); null when it cannot be read or is malformed.
HENHMETAFILE GetEnhMetaFile(const char* fileName);
// A copy, written to `fileName` (CP936) when it is given, else held in memory. Null when the
// handle is invalid or the file cannot be written.
HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE mf, const char* fileName);
// With `out` null answers the header's size; else copies min(size, sizeof(ENHMETAHEADER)) bytes
// of the header. 0 for an invalid handle.
UINT GetEnhMetaFileHeader(HENHMETAFILE mf, UINT size, ENHMETAHEADER* out);
// The description's UTF-16 units (application name, 0, picture name, 0, 0) into `out` (at most
// `count`), or its length with `out` null. GDI_ERROR for an invalid handle.
UINT GetEnhMetaFileDescriptionW(HENHMETAFILE mf, UINT count, char16_t* out);
BOOL DeleteEnhMetaFile(HENHMETAFILE mf);

// Draws the metafile with its frame stretched onto `rect` (logical units of `dc`). The DC's
// state after the play is as before it. FALSE for an invalid DC, handle or rectangle.
BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE mf, const RECT* rect);
// Calls `proc` for every record in order, with the play set up as PlayEnhMetaFile does when `dc`
// is given (`rect` then required); the callback may play a record with PlayEnhMetaFileRecord.
// Answers FALSE when the callback stopped the walk or the arguments are invalid.
BOOL EnumEnhMetaFile(HDC dc, HENHMETAFILE mf, ENHMFENUMPROC proc, LPARAM data, const RECT* rect);
// Plays one record (from an enumeration) on `dc` with the enumeration's handle table.
BOOL PlayEnhMetaFileRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, UINT objCount);

// Recording: a DC whose drawing is recorded. `ref` (null for the screen) gives the device the
// drawing is measured on; `frame` (0.01 mm, inclusive, may be null: the bounds of the drawing)
// the picture frame; `fileName` (CP936, may be null) where CloseEnhMetaFile writes the file;
// `description` the UTF-16 description (may be null; two zero-terminated parts, then a zero).
// Lines, shapes, regions, text, blits and DIBs are recorded as their own records (state
// changes as the records that set them, fixed mapping modes as MM_ANISOTROPIC with their
// extents); calls without a record of their own (DrawText, DrawEdge...) as device-space fills
// and text runs. Not recorded: icons (DrawIconEx answers FALSE); pattern brushes are recorded
// in their colour, and a monochrome blit source as the colours it holds.
HDC CreateEnhMetaFile(HDC ref, const char* fileName, const RECT* frame, const char16_t* description);
// Ends the recording, frees the DC and answers the metafile (null for a DC that is not a
// recording one, or a file that cannot be written).
HENHMETAFILE CloseEnhMetaFile(HDC dc);

}  // namespace Windows
