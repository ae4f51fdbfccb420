// Enhanced metafiles: recording, the binary form, playing (at size and scaled), enumeration, and
// refusal of malformed or hostile data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Blits.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/meta/EnhMetaFile.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/gdi/text/DrawText.h"
#include "platform/gdi/text/TextOutput.h"

using namespace Windows;

namespace {

// 240 x 144 pixels at 96 dpi is a whole number of 0.01 mm: 6350 x 3810.
constexpr int kW = 240, kH = 144;
const RECT kFrame{0, 0, 6350, 3810};

// A drawing touching every kind of record the layer writes.
void DrawScene(HDC dc)
{
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 120, 255));
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 150, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 100, 30);
  Rectangle(dc, 10, 40, 60, 80);
  Ellipse(dc, 70, 40, 130, 90);
  SelectObject(dc, hatch);
  RoundRect(dc, 140, 10, 200, 60, 12, 12);
  SelectObject(dc, GetStockObject(NULL_PEN));
  POINT tri[3] = {{150, 70}, {200, 130}, {110, 130}};
  Polygon(dc, tri, 3);
  SelectObject(dc, pen);
  Pie(dc, 200, 70, 238, 110, 238, 90, 200, 70);
  POINT zig[4] = {{5, 140}, {30, 100}, {55, 140}, {80, 100}};
  Polyline(dc, zig, 4);

  // Text, Latin and Chinese, in a font of its own, under a clip.
  LOGFONTA lf;
  lf.lfHeight = -16;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirect(lf);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 128));
  SetBkMode(dc, TRANSPARENT);
  SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 230, 140);
  ExcludeClipRect(dc, 20, 95, 40, 125);
  TextOut(dc, 12, 92, "Total", 5);
  const char16_t zh[] = u"合同金额";
  ExtTextOutW(dc, 90, 96, 0, nullptr, zh, 4, nullptr);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 0));
  TextOut(dc, 12, 118, "合同 No.7", -1);
  RestoreDC(dc, -1);

  // A bitmap: an 8x8 checker stretched to 32x32, and a plain copy of it from a memory DC.
  BITMAPINFO bmi;
  bmi.bmiHeader.biWidth = 8;
  bmi.bmiHeader.biHeight = 8;
  bmi.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> px(64);
  for (int i = 0; i < 64; ++i) px[std::size_t(i)] = ((i / 8 + i % 8) % 2) ? 0xFF00FF : 0x00FFFF;
  StretchDIBits(dc, 200, 110, 32, 32, 0, 0, 8, 8, px.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(nullptr, 8, 8);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  SetDIBits(mem, bmp, 0, 8, px.data(), &bmi, DIB_RGB_COLORS);
  BitBlt(dc, 225, 5, 8, 8, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);

  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(font);
  DeleteObject(pen);
  DeleteObject(brush);
  DeleteObject(hatch);
}

HENHMETAFILE Record(void (*draw)(HDC), const RECT* frame = &kFrame, const char* file = nullptr,
                    const char16_t* description = nullptr)
{
  HDC rec = CreateEnhMetaFile(nullptr, file, frame, description);
  EXPECT_NE(rec, nullptr);
  draw(rec);
  return CloseEnhMetaFile(rec);
}

int DifferentPixels(const TPixelCanvas& a, const TPixelCanvas& b)
{
  int n = 0;
  for (int y = 0; y < a.H; ++y)
    for (int x = 0; x < a.W; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

std::vector<BYTE> Bytes(HENHMETAFILE mf) { return EnhMetaFileBytes(mf); }

void Put32(std::vector<BYTE>& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
std::uint32_t Get32(const std::vector<BYTE>& b, std::size_t at)
{
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// A metafile holding the given records (each a list of 32-bit values after type and size).
std::vector<BYTE> Build(const std::vector<std::pair<DWORD, std::vector<std::uint32_t>>>& records)
{
  HENHMETAFILE empty = Record([](HDC) {});
  std::vector<BYTE> b = Bytes(empty);
  DeleteEnhMetaFile(empty);
  std::uint32_t headerSize = Get32(b, 4);
  b.resize(headerSize);
  for (const auto& [type, values] : records) {
    std::size_t at = b.size();
    b.resize(at + 8 + values.size() * 4);
    Put32(b, at, type);
    Put32(b, at + 4, std::uint32_t(8 + values.size() * 4));
    for (std::size_t i = 0; i < values.size(); ++i) Put32(b, at + 8 + i * 4, values[i]);
  }
  std::size_t at = b.size();
  b.resize(at + 20);
  for (std::uint32_t v : {std::uint32_t(EMR_EOF), 20u, 0u, 16u, 20u}) {
    Put32(b, at, v);
    at += 4;
  }
  Put32(b, 48, std::uint32_t(b.size()));
  Put32(b, 52, std::uint32_t(records.size() + 2));
  return b;
}

}  // namespace

TEST(EnhMetaFile, PlayingARecordingMatchesDrawingDirectly)
{
  TPixelCanvas direct(kW, kH), played(kW, kH);
  DrawScene(direct.DC);
  HENHMETAFILE mf = Record(DrawScene);
  ASSERT_NE(mf, nullptr);
  RECT all{0, 0, kW, kH};
  ASSERT_TRUE(PlayEnhMetaFile(played.DC, mf, &all));
  EXPECT_EQ(DifferentPixels(direct, played), 0);
  // The scene really drew: text, shapes and bitmap pixels are there.
  EXPECT_EQ(played.At(210, 120), direct.At(210, 120));
  EXPECT_NE(played.CountNot(RGB(255, 255, 255)), 0);
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, HeaderDescribesTheRecording)
{
  HENHMETAFILE mf = Record([](HDC dc) { Rectangle(dc, 10, 20, 50, 40); }, &kFrame, nullptr, u"Pelto\0Page 1\0");
  ASSERT_NE(mf, nullptr);
  ENHMETAHEADER h;
  ASSERT_EQ(GetEnhMetaFileHeader(mf, sizeof h, &h), sizeof h);
  EXPECT_EQ(h.iType, EMR_HEADER);
  EXPECT_EQ(h.dSignature, 0x464D4520u);
  EXPECT_EQ(h.rclFrame, kFrame);
  // Inclusive bounds of the rectangle with its one-pixel pen, give or take the pen's margin.
  EXPECT_LE(h.rclBounds.left, 10);
  EXPECT_GE(h.rclBounds.left, 7);
  EXPECT_LE(h.rclBounds.top, 20);
  EXPECT_GE(h.rclBounds.right, 49);
  EXPECT_LE(h.rclBounds.right, 53);
  EXPECT_GE(h.rclBounds.bottom, 39);
  EXPECT_EQ(h.nBytes, GetEnhMetaFileBits(mf, 0, nullptr));
  EXPECT_EQ(h.szlDevice.cx, 1920);
  std::u16string desc(GetEnhMetaFileDescriptionW(mf, 0, nullptr), u'\0');
  GetEnhMetaFileDescriptionW(mf, UINT(desc.size()), desc.data());
  EXPECT_EQ(desc, std::u16string(u"Pelto\0Page 1\0\0", 14));
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, BinaryFormAndFilesRoundTrip)
{
  std::string path = ::testing::TempDir() + "pelto_meta_roundtrip.emf";
  HENHMETAFILE mf = Record(DrawScene, &kFrame, path.c_str());
  ASSERT_NE(mf, nullptr);
  std::vector<BYTE> bytes(GetEnhMetaFileBits(mf, 0, nullptr));
  ASSERT_EQ(GetEnhMetaFileBits(mf, UINT(bytes.size()), bytes.data()), bytes.size());

  HENHMETAFILE fromBits = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  HENHMETAFILE fromFile = GetEnhMetaFile(path.c_str());
  std::string copyPath = ::testing::TempDir() + "pelto_meta_copy.emf";
  HENHMETAFILE copy = CopyEnhMetaFile(mf, copyPath.c_str());
  HENHMETAFILE fromCopy = GetEnhMetaFile(copyPath.c_str());
  HENHMETAFILE inMemory = CopyEnhMetaFile(mf, nullptr);
  for (HENHMETAFILE other : {fromBits, fromFile, copy, fromCopy, inMemory}) {
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Bytes(other), bytes);
  }
  // Trailing bytes after the end record are not part of the metafile.
  std::vector<BYTE> padded = bytes;
  padded.resize(bytes.size() + 12, 0xAB);
  HENHMETAFILE fromPadded = SetEnhMetaFileBits(UINT(padded.size()), padded.data());
  ASSERT_NE(fromPadded, nullptr);
  EXPECT_EQ(Bytes(fromPadded), bytes);

  TPixelCanvas a(kW, kH), b(kW, kH);
  RECT all{0, 0, kW, kH};
  PlayEnhMetaFile(a.DC, mf, &all);
  PlayEnhMetaFile(b.DC, fromFile, &all);
  EXPECT_EQ(DifferentPixels(a, b), 0);

  EXPECT_EQ(GetEnhMetaFile((::testing::TempDir() + "no_such_file.emf").c_str()), nullptr);
  EXPECT_EQ(GetObjectType(mf), OBJ_ENHMETAFILE);
  EXPECT_FALSE(DeleteObject(mf));  // only DeleteEnhMetaFile frees it
  for (HENHMETAFILE h : {mf, fromBits, fromFile, copy, fromCopy, inMemory, fromPadded})
    EXPECT_TRUE(DeleteEnhMetaFile(h));
  EXPECT_FALSE(DeleteEnhMetaFile(mf));
  EXPECT_EQ(GetEnhMetaFileBits(mf, 0, nullptr), 0u);
  std::remove(path.c_str());
  std::remove(copyPath.c_str());
}

TEST(EnhMetaFile, ScaledPlayLandsInTheTargetRectangle)
{
  // A frame-filling red background with a black square in its top-left quarter.
  HENHMETAFILE mf = Record([](HDC dc) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, kW, kH};
    FillRect(dc, &all, red);
    RECT quarter{0, 0, kW / 2, kH / 2};
    FillRect(dc, &quarter, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(red);
  });
  ASSERT_NE(mf, nullptr);
  for (RECT target : {RECT{50, 40, 170, 112}, RECT{10, 10, 490, 298}, RECT{0, 0, 60, 36}}) {
    TPixelCanvas c(500, 300);
    // The target rectangle is given in the DC's logical units.
    SetViewportOrgEx(c.DC, 0, 0, nullptr);
    ASSERT_TRUE(PlayEnhMetaFile(c.DC, mf, &target));
    EXPECT_EQ(c.BoundsNot(RGB(255, 255, 255)), target);
    int midX = (target.left + target.right) / 2, midY = (target.top + target.bottom) / 2;
    EXPECT_EQ(c.At(target.left + 1, target.top + 1), RGB(0, 0, 0));
    EXPECT_EQ(c.At(midX - 2, midY - 2), RGB(0, 0, 0));
    EXPECT_EQ(c.At(midX + 2, midY + 2), RGB(255, 0, 0));
    EXPECT_EQ(c.At(target.right - 1, target.bottom - 1), RGB(255, 0, 0));
  }
  // Onto a DC with a mapping of its own: the rectangle is logical.
  TPixelCanvas c(500, 300);
  SetViewportOrgEx(c.DC, 100, 50, nullptr);
  RECT target{0, 0, 120, 72};
  ASSERT_TRUE(PlayEnhMetaFile(c.DC, mf, &target));
  EXPECT_EQ(c.BoundsNot(RGB(255, 255, 255)), (RECT{100, 50, 220, 122}));
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, PlayLeavesTheCallersStateAndClip)
{
  // A metafile that changes everything and does not clean up, then tries to restore past its own
  // saves and to lift the clip.
  std::vector<BYTE> b = Build({
      {EMR_SAVEDC, {}},
      {EMR_SETTEXTCOLOR, {RGB(1, 2, 3)}},
      {EMR_SETMAPMODE, {MM_ANISOTROPIC}},
      {EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | BLACK_BRUSH}},
      {EMR_RESTOREDC, {std::uint32_t(-5)}},
      {EMR_EXTSELECTCLIPRGN, {0, RGN_COPY}},
      {EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(0, 0, 255), 0}},
      {EMR_SELECTOBJECT, {1}},
      {EMR_SAVEDC, {}},
      {EMR_RECTANGLE, {0, 0, 240, 144}},
  });
  HENHMETAFILE mf = SetEnhMetaFileBits(UINT(b.size()), b.data());
  ASSERT_NE(mf, nullptr);
  TPixelCanvas c(kW, kH);
  HBRUSH mine = CreateSolidBrush(RGB(9, 9, 9));
  SelectObject(c.DC, mine);
  SetTextColor(c.DC, RGB(7, 7, 7));
  int level = SaveDC(c.DC);
  IntersectClipRect(c.DC, 0, 0, 100, 50);
  RECT all{0, 0, kW, kH};
  ASSERT_TRUE(PlayEnhMetaFile(c.DC, mf, &all));
  // Drawn inside the caller's clip only.
  EXPECT_EQ(c.At(50, 25), RGB(0, 0, 255));
  EXPECT_EQ(c.At(150, 25), RGB(255, 255, 255));
  EXPECT_EQ(c.At(50, 100), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(c.DC), RGB(7, 7, 7));
  EXPECT_EQ(GetMapMode(c.DC), MM_TEXT);
  EXPECT_EQ(GetCurrentObject(c.DC, OBJ_BRUSH), mine);
  RECT box;
  GetClipBox(c.DC, &box);
  EXPECT_EQ(box, (RECT{0, 0, 100, 50}));
  // The caller's own save is still there, and the next save continues from it.
  EXPECT_EQ(SaveDC(c.DC), level + 1);
  EXPECT_TRUE(RestoreDC(c.DC, level));
  SelectObject(c.DC, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(mine));
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, EnumerationSeesEveryRecordAndTheText)
{
  HENHMETAFILE mf = Record(DrawScene);
  ASSERT_NE(mf, nullptr);
  struct TSeen {
    std::vector<DWORD> Types;
    std::u16string Text;
  } seen;
  auto proc = [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM data) -> int {
    auto* s = reinterpret_cast<TSeen*>(data);
    s->Types.push_back(r->iType);
    if (r->iType == EMR_EXTTEXTOUTW) {
      const auto* base = reinterpret_cast<const BYTE*>(r);
      std::uint32_t n, off;
      std::memcpy(&n, base + 44, 4);
      std::memcpy(&off, base + 48, 4);
      std::u16string t(n, u'\0');
      std::memcpy(t.data(), base + off, n * 2);
      s->Text += t + u"|";
    }
    return 1;
  };
  ASSERT_TRUE(EnumEnhMetaFile(nullptr, mf, proc, reinterpret_cast<LPARAM>(&seen), nullptr));
  ENHMETAHEADER h;
  GetEnhMetaFileHeader(mf, sizeof h, &h);
  ASSERT_EQ(seen.Types.size(), h.nRecords);
  EXPECT_EQ(seen.Types.front(), EMR_HEADER);
  EXPECT_EQ(seen.Types.back(), EMR_EOF);
  EXPECT_NE(seen.Text.find(u"合同金额"), std::u16string::npos);
  for (DWORD t : {EMR_LINETO, EMR_RECTANGLE, EMR_ELLIPSE, EMR_ROUNDRECT, EMR_POLYGON16, EMR_PIE, EMR_POLYLINE16,
                  EMR_EXTTEXTOUTA, EMR_EXTSELECTCLIPRGN, EMR_STRETCHDIBITS, EMR_BITBLT, EMR_EXTCREATEFONTINDIRECTW})
    EXPECT_NE(std::find(seen.Types.begin(), seen.Types.end(), t), seen.Types.end()) << t;

  // A callback that stops ends the walk; one that plays each record draws what the play draws.
  auto stop = [](HDC, HANDLETABLE*, const ENHMETARECORD*, int, LPARAM) -> int { return 0; };
  EXPECT_FALSE(EnumEnhMetaFile(nullptr, mf, stop, 0, nullptr));
  TPixelCanvas played(kW, kH), walked(kW, kH);
  RECT all{0, 0, kW, kH};
  PlayEnhMetaFile(played.DC, mf, &all);
  auto play = [](HDC dc, HANDLETABLE* table, const ENHMETARECORD* r, int count, LPARAM) -> int {
    PlayEnhMetaFileRecord(dc, table, r, UINT(count));
    return 1;
  };
  ASSERT_TRUE(EnumEnhMetaFile(walked.DC, mf, play, 0, &all));
  EXPECT_EQ(DifferentPixels(played, walked), 0);
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, DrawTextAndEdgesAreRecordedInDeviceSpace)
{
  auto draw = [](HDC dc) {
    RECT r{10, 10, 200, 60};
    SetTextColor(dc, RGB(0, 100, 0));
    DrawText(dc, "合同管理 Contract", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RECT e{20, 80, 120, 120};
    DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
  };
  TPixelCanvas direct(kW, kH), played(kW, kH);
  draw(direct.DC);
  HDC rec = CreateEnhMetaFile(nullptr, nullptr, &kFrame, nullptr);
  draw(rec);
  HENHMETAFILE mf = CloseEnhMetaFile(rec);
  ASSERT_NE(mf, nullptr);
  RECT all{0, 0, kW, kH};
  PlayEnhMetaFile(played.DC, mf, &all);
  EXPECT_EQ(DifferentPixels(direct, played), 0);
  EXPECT_NE(played.CountNot(RGB(255, 255, 255)), 0);
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, MalformedFormsAreRefused)
{
  HENHMETAFILE good = Record(DrawScene);
  std::vector<BYTE> b = Bytes(good);
  DeleteEnhMetaFile(good);
  ASSERT_GT(b.size(), 200u);
  // Every shorter prefix lacks its end record or cuts one short.
  for (std::size_t n = 0; n < b.size(); ++n) {
    HENHMETAFILE h = SetEnhMetaFileBits(UINT(n), b.data());
    EXPECT_EQ(h, nullptr) << n;
    if (h) DeleteEnhMetaFile(h);
  }
  EXPECT_EQ(SetEnhMetaFileBits(100, nullptr), nullptr);
  struct TCase {
    const char* What;
    std::size_t At;
    std::uint32_t Value;
  };
  std::uint32_t headerSize = Get32(b, 4);
  for (const TCase& c :
       {TCase{"not a header", 0, EMR_EOF}, TCase{"signature", 40, 0x12345678}, TCase{"header size", 4, 7},
        TCase{"header size past end", 4, 0x7FFFFFF0}, TCase{"stated length past end", 48, std::uint32_t(b.size() + 4)},
        TCase{"record size zero", headerSize + 4, 0}, TCase{"record size odd", headerSize + 4, 10},
        TCase{"record size past end", headerSize + 4, 0xFFFFFFF8}}) {
    std::vector<BYTE> bad = b;
    Put32(bad, c.At, c.Value);
    HENHMETAFILE h = SetEnhMetaFileBits(UINT(bad.size()), bad.data());
    EXPECT_EQ(h, nullptr) << c.What;
    if (h) DeleteEnhMetaFile(h);
  }
}

TEST(EnhMetaFile, HostileRecordsAreSkippedWithoutHarm)
{
  const std::uint32_t huge = 0x7FFFFFF0;
  std::vector<std::pair<DWORD, std::vector<std::uint32_t>>> hostile = {
      // Text whose string and spacing lie outside the record, or whose count is absurd.
      {EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 10, 10, huge, 76, 0, 0, 0, 0, 0, 0}},
      {EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, huge, 0, 0, 0, 0, 0, 0, 0x00410041}},
      {EMR_EXTTEXTOUTA, {0, 0, 0, 0, 1, 0, 0, 10, 10, 4, 76, 0, 0, 0, 0, 0, huge, 0x41414141}},
      {EMR_EXTTEXTOUTW, {0, 0, 0, 0}},
      // Points counted past the record.
      {EMR_POLYGON, {0, 0, 0, 0, huge, 1, 2}},
      {EMR_POLYLINE16, {0, 0, 0, 0, 1000, 1}},
      {EMR_POLYPOLYGON, {0, 0, 0, 0, huge, 3, 3, 0, 0}},
      {EMR_POLYPOLYGON16, {0, 0, 0, 0, 1, 3, huge, 0, 0}},
      {EMR_POLYBEZIERTO16, {0, 0, 0, 0, 2, 0, 0}},
      // Bitmaps whose header or bits lie outside, or are too short for the rows.
      {EMR_STRETCHDIBITS, {0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 80, 40, huge, 256, 0, SRCCOPY, 8, 8}},
      {EMR_STRETCHDIBITS, {0, 0, 0, 0, 0, 0, 0, 0, 8, 8, huge, 40, 80, 0, 0, SRCCOPY, 8, 8}},
      {EMR_STRETCHDIBITS,
       {0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 80, 40, 120, 4, 0, SRCCOPY, 8, 8, 40, 8, 8, 1 | (32 << 16), 0, 0, 0, 0, 0, 0, 0}},
      {EMR_BITBLT, {0, 0, 0, 0, 0, 0, 10, 10, SRCCOPY, 0, 0}},
      // Regions with counts past the data.
      {EMR_EXTSELECTCLIPRGN, {48, RGN_AND, 32, 1, huge, 16, 0, 0, 10, 10, 0, 0, 10, 10}},
      {EMR_FILLRGN, {0, 0, 0, 0, 48, ENHMETA_STOCK_OBJECT | BLACK_BRUSH, 32, 1, 2, 32, 0, 0, 1, 1}},
      // Objects out of the table, stock indexes that do not exist, restores past the start.
      {EMR_CREATEPEN, {60000, PS_SOLID, 1, 0, 0}},
      {EMR_SELECTOBJECT, {60000}},
      {EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | 9999}},
      {EMR_DELETEOBJECT, {0}},
      {EMR_RESTOREDC, {1}},
      {EMR_RESTOREDC, {0x80000000}},
      // Far-off coordinates and a font too large to render.
      {EMR_SETVIEWPORTEXTEX, {huge, huge}},
      {EMR_SETMAPMODE, {MM_ANISOTROPIC}},
      {EMR_SETVIEWPORTEXTEX, {huge, huge}},
      {EMR_RECTANGLE, {0, 0, huge, huge}},
      {EMR_ELLIPSE, {std::uint32_t(-1000000), 0, 1000000, 5}},
      {EMR_SETMAPMODE, {MM_TEXT}},
      {EMR_EXTCREATEFONTINDIRECTW, {1, std::uint32_t(-2000000000)}},
      {EMR_EXTCREATEFONTINDIRECTW,
       {1, std::uint32_t(-2000000000), 0, 0, 0, 400, 0, 0x00410041, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0}},
      {EMR_SELECTOBJECT, {1}},
      {EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, 0, 0, 0, 0x00410041}},
      {EMR_SETWINDOWEXTEX, {0, 0}},
      {EMR_SCALEVIEWPORTEXTEX, {1, 0, 1, 0}},
      // Something this layer does not draw, then a record it does, to show the play went on.
      {EMR_GDICOMMENT, {4, 0}},
      {EMR_SETMAPMODE, {MM_TEXT}},
      {EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | BLACK_BRUSH}},
      {EMR_SELECTOBJECT, {ENHMETA_STOCK_OBJECT | NULL_PEN}},
      {EMR_RECTANGLE, {200, 100, 241, 145}},
  };
  std::vector<BYTE> b = Build(hostile);
  HENHMETAFILE mf = SetEnhMetaFileBits(UINT(b.size()), b.data());
  ASSERT_NE(mf, nullptr);
  TPixelCanvas c(kW, kH);
  RECT all{0, 0, kW, kH};
  int level = SaveDC(c.DC);
  EXPECT_TRUE(PlayEnhMetaFile(c.DC, mf, &all));
  EXPECT_EQ(c.At(220, 120), RGB(0, 0, 0));
  EXPECT_EQ(SaveDC(c.DC), level + 1);
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, InvalidArgumentsAnswerFalse)
{
  HENHMETAFILE mf = Record([](HDC dc) { Rectangle(dc, 0, 0, 10, 10); });
  TPixelCanvas c(20, 20);
  RECT r{0, 0, 20, 20};
  EXPECT_FALSE(PlayEnhMetaFile(nullptr, mf, &r));
  EXPECT_FALSE(PlayEnhMetaFile(c.DC, mf, nullptr));
  EXPECT_FALSE(PlayEnhMetaFile(c.DC, reinterpret_cast<HENHMETAFILE>(c.DC), &r));
  EXPECT_FALSE(EnumEnhMetaFile(c.DC, mf, nullptr, 0, nullptr));
  EXPECT_EQ(CloseEnhMetaFile(c.DC), nullptr);  // not a recording DC
  EXPECT_EQ(CreateEnhMetaFile(reinterpret_cast<HDC>(mf), nullptr, nullptr, nullptr), nullptr);
  HDC rec = CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetObjectType(rec), OBJ_ENHMETADC);
  EXPECT_EQ(GetDeviceCaps(rec, HORZRES), 1920);
  HENHMETAFILE empty = CloseEnhMetaFile(rec);
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(PlayEnhMetaFile(c.DC, empty, &r));  // nothing to draw is no error
  EXPECT_EQ(c.CountNot(RGB(255, 255, 255)), 0);
  DeleteEnhMetaFile(empty);
  DeleteEnhMetaFile(mf);
}

TEST(EnhMetaFile, MappingModesKeepTheRecordedScale)
{
  // Recorded in a fixed mode: the play draws what direct drawing draws.
  auto draw = [](HDC dc) {
    SetMapMode(dc, MM_LOMETRIC);
    Rectangle(dc, 20, -20, 400, -300);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 10, 10, nullptr);
    SetViewportExtEx(dc, 30, 20, nullptr);
    SetViewportOrgEx(dc, 100, 10, nullptr);
    Ellipse(dc, 0, 0, 40, 40);
  };
  TPixelCanvas direct(kW, kH), played(kW, kH);
  draw(direct.DC);
  HDC rec = CreateEnhMetaFile(nullptr, nullptr, &kFrame, nullptr);
  draw(rec);
  HENHMETAFILE mf = CloseEnhMetaFile(rec);
  RECT all{0, 0, kW, kH};
  ASSERT_TRUE(PlayEnhMetaFile(played.DC, mf, &all));
  EXPECT_EQ(DifferentPixels(direct, played), 0);
  DeleteEnhMetaFile(mf);

  // A fixed mode in a stored metafile measures in its reference device's pixels (96 dpi here):
  // one inch is 96 pixels at the frame's size, 192 when played twice as large.
  std::vector<BYTE> b = Build({{EMR_SETMAPMODE, {MM_LOMETRIC}}, {EMR_RECTANGLE, {0, 0, 254, std::uint32_t(-254)}}});
  HENHMETAFILE inch = SetEnhMetaFileBits(UINT(b.size()), b.data());
  ASSERT_NE(inch, nullptr);
  for (int scale : {1, 2}) {
    TPixelCanvas c(kW * scale, kH * scale);
    RECT target{0, 0, kW * scale, kH * scale};
    ASSERT_TRUE(PlayEnhMetaFile(c.DC, inch, &target));
    EXPECT_EQ(c.BoundsNot(RGB(255, 255, 255)), (RECT{0, 0, 96 * scale, 96 * scale}));
  }
  DeleteEnhMetaFile(inch);
}
