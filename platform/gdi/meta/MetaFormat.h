// Internal to the drawing layer: the metafile object behind a handle, and checked reading of
// the little-endian binary form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi/dc/GdiInternal.h"
#include "platform/gdi/meta/EnhMetaFile.h"

namespace GdiInternal {

struct TEnhMetaObj : TGdiObject {
  TEnhMetaObj() : TGdiObject(TObjKind::EnhMetaFile) {}
  std::vector<std::uint8_t> Bytes;  // the whole binary form, up to and with the end record
  ENHMETAHEADER Header;
};
inline TEnhMetaObj* EnhMeta(HENHMETAFILE h) { return LookupAs<TEnhMetaObj>(h, TObjKind::EnhMetaFile); }

// Reads within one record: every access is checked against its size, out of range reads fail.
class TRecordReader {
public:
  TRecordReader(const std::uint8_t* p, std::size_t size) : FP(p), FSize(size) {}
  std::size_t Size() const { return FSize; }
  const std::uint8_t* Data() const { return FP; }
  bool Has(std::uint64_t off, std::uint64_t len) const { return off <= FSize && len <= FSize - off; }
  bool U32(std::size_t off, std::uint32_t& v) const { return Get(off, v); }
  bool I32(std::size_t off, std::int32_t& v) const { return Get(off, v); }
  bool I16(std::size_t off, std::int16_t& v) const { return Get(off, v); }
  bool F32(std::size_t off, float& v) const { return Get(off, v); }
  bool Rect(std::size_t off, RECT& r) const
  {
    return I32(off, r.left) && I32(off + 4, r.top) && I32(off + 8, r.right) && I32(off + 12, r.bottom);
  }
  bool Point(std::size_t off, POINT& p) const { return I32(off, p.x) && I32(off + 4, p.y); }

private:
  template <class T>
  bool Get(std::size_t off, T& v) const
  {
    if (!Has(off, sizeof(T))) return false;
    std::memcpy(&v, FP + off, sizeof(T));
    return true;
  }
  const std::uint8_t* FP;
  std::size_t FSize;
};

// Checks a binary form: a header record with the signature, records that each fit, an end
// record. Answers the length up to and with the end record (0 when malformed) and the header.
std::size_t CheckEnhMetaBytes(const std::uint8_t* data, std::size_t size, ENHMETAHEADER& header);
// A new handle over a checked binary form.
HENHMETAFILE NewEnhMeta(std::vector<std::uint8_t> bytes, const ENHMETAHEADER& header);
// Writes a metafile's bytes to a file (a CP936 name) in one save; false when that fails (the
// file is then unchanged).
bool SaveEnhMetaBytes(const char* fileName, const std::vector<std::uint8_t>& bytes);

}  // namespace GdiInternal
