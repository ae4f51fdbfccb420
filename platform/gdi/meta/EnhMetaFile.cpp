#include "platform/gdi/meta/EnhMetaFile.h"

#include <fstream>
#include <iterator>

#include "platform/gdi/meta/MetaFormat.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SaveSeam.h"

namespace GdiInternal {

namespace {
constexpr std::size_t kHeaderMin = 88;
constexpr std::uint32_t kSignature = 0x464D4520;
}  // namespace

bool SaveEnhMetaBytes(const char* fileName, const std::vector<std::uint8_t>& bytes)
{
  try {
    SaveSeam::SaveFile(fileName, AnsiString(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
  } catch (const EFCreateError&) {
    return false;
  }
}

std::size_t CheckEnhMetaBytes(const std::uint8_t* data, std::size_t size, ENHMETAHEADER& h)
{
  if (!data || size < kHeaderMin) return 0;
  TRecordReader r(data, size);
  std::uint32_t type = 0, recSize = 0, sig = 0, bytes = 0;
  r.U32(0, type);
  r.U32(4, recSize);
  r.U32(40, sig);
  r.U32(48, bytes);
  if (type != EMR_HEADER || sig != kSignature || recSize < kHeaderMin || recSize % 4 || recSize > size) return 0;
  // The stated length may be short of the buffer (trailing bytes), never beyond it.
  if (bytes < recSize || bytes > size) return 0;
  h = ENHMETAHEADER();
  h.iType = type;
  h.nSize = recSize;
  r.Rect(8, h.rclBounds);
  r.Rect(24, h.rclFrame);
  h.dSignature = sig;
  r.U32(44, h.nVersion);
  h.nBytes = bytes;
  r.U32(52, h.nRecords);
  std::int16_t handles = 0, reserved = 0;
  r.I16(56, handles);
  r.I16(58, reserved);
  h.nHandles = WORD(handles);
  if (h.nHandles == 0) h.nHandles = 1;
  r.U32(60, h.nDescription);
  r.U32(64, h.offDescription);
  r.U32(68, h.nPalEntries);
  r.I32(72, h.szlDevice.cx);
  r.I32(76, h.szlDevice.cy);
  r.I32(80, h.szlMillimeters.cx);
  r.I32(84, h.szlMillimeters.cy);
  // A description that does not lie inside the header record is ignored.
  if (h.nDescription && !r.Has(std::uint64_t(h.offDescription), std::uint64_t(h.nDescription) * 2))
    h.nDescription = h.offDescription = 0;
  if (h.nDescription && std::uint64_t(h.offDescription) + std::uint64_t(h.nDescription) * 2 > recSize)
    h.nDescription = h.offDescription = 0;
  std::size_t pos = recSize;
  std::uint32_t count = 1;
  while (pos + 8 <= bytes) {
    std::uint32_t t = 0, n = 0;
    TRecordReader rec(data + pos, bytes - pos);
    rec.U32(0, t);
    rec.U32(4, n);
    if (n < 8 || n % 4 || n > bytes - pos) return 0;
    pos += n;
    ++count;
    if (t == EMR_EOF) {
      h.nBytes = DWORD(pos);
      h.nRecords = count;
      return pos;
    }
  }
  return 0;
}

HENHMETAFILE NewEnhMeta(std::vector<std::uint8_t> bytes, const ENHMETAHEADER& header)
{
  auto obj = std::make_unique<TEnhMetaObj>();
  obj->Header = header;
  // Keep the stored form consistent with what was checked.
  std::memcpy(bytes.data() + 48, &obj->Header.nBytes, 4);
  std::memcpy(bytes.data() + 52, &obj->Header.nRecords, 4);
  obj->Bytes = std::move(bytes);
  return static_cast<HENHMETAFILE>(AddObject(std::move(obj)));
}

}  // namespace GdiInternal

namespace Windows {

using namespace GdiInternal;

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data)
{
  ENHMETAHEADER h;
  std::size_t n = CheckEnhMetaBytes(data, size, h);
  if (!n) return nullptr;
  return NewEnhMeta(std::vector<std::uint8_t>(data, data + n), h);
}

UINT GetEnhMetaFileBits(HENHMETAFILE mf, UINT size, BYTE* data)
{
  TEnhMetaObj* m = EnhMeta(mf);
  if (!m) return 0;
  if (!data) return UINT(m->Bytes.size());
  UINT n = std::min<UINT>(size, UINT(m->Bytes.size()));
  std::memcpy(data, m->Bytes.data(), n);
  return n;
}

std::vector<BYTE> EnhMetaFileBytes(HENHMETAFILE mf)
{
  TEnhMetaObj* m = EnhMeta(mf);
  return m ? m->Bytes : std::vector<BYTE>();
}

HENHMETAFILE GetEnhMetaFile(const char* fileName)
{
  if (!fileName) return nullptr;
  std::ifstream in(System::AnsiToUtf8(fileName), std::ios::binary);
  if (!in) return nullptr;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() > 0xFFFFFFFFu) return nullptr;
  return SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
}

HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE mf, const char* fileName)
{
  TEnhMetaObj* m = EnhMeta(mf);
  if (!m) return nullptr;
  if (fileName && !SaveEnhMetaBytes(fileName, m->Bytes)) return nullptr;
  return NewEnhMeta(m->Bytes, m->Header);
}

UINT GetEnhMetaFileHeader(HENHMETAFILE mf, UINT size, ENHMETAHEADER* out)
{
  TEnhMetaObj* m = EnhMeta(mf);
  if (!m) return 0;
  if (!out) return UINT(sizeof(ENHMETAHEADER));
  UINT n = std::min<UINT>(size, UINT(sizeof(ENHMETAHEADER)));
  std::memcpy(out, &m->Header, n);
  return n;
}

UINT GetEnhMetaFileDescriptionW(HENHMETAFILE mf, UINT count, char16_t* out)
{
  TEnhMetaObj* m = EnhMeta(mf);
  if (!m) return GDI_ERROR;
  UINT n = m->Header.nDescription;
  if (!out) return n;
  n = std::min(n, count);
  std::memcpy(out, m->Bytes.data() + m->Header.offDescription, std::size_t(n) * 2);
  return n;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE mf)
{
  if (!EnhMeta(mf)) return FALSE;
  return RemoveObject(mf) ? TRUE : FALSE;
}

}  // namespace Windows
