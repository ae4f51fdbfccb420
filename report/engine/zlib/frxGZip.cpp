#include "report/engine/zlib/frxGZip.h"
#include "platform/rtl/Guards.h"

#include <zlib.h>

#include <cstdlib>

namespace {

const size_t kBufferSize = 65536;
const char* const kInvalidOperation = "Invalid ZStream operation!";

voidpf ZAlloc(voidpf, uInt items, uInt size) { return std::calloc(items, size); }
void ZFree(voidpf, voidpf address) { std::free(address); }

int Check(int code)
{
  if (code < 0) throw EZCompressionError(zError(code));
  return code;
}

int LevelOf(TCompressionLevel level)
{
  switch (level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcMax: return 9;
    default: return Z_DEFAULT_COMPRESSION;
  }
}

}  // namespace

TCustomZStream::TCustomZStream(TStream* Dest)
    : FStrm(Dest), FStrmPos(Dest->GetPosition()), FZRec(std::make_unique<z_stream_s>())
{
  *FZRec = z_stream_s{};
  FZRec->zalloc = ZAlloc;
  FZRec->zfree = ZFree;
}

TCustomZStream::~TCustomZStream() = default;

void TCustomZStream::Progress()
{
  if (OnProgress) OnProgress(this);
}

TZCompressionStream::TZCompressionStream(TStream* Dest, TCompressionLevel Level)
    : TCustomZStream(Dest), FBuffer(std::make_unique<Byte[]>(kBufferSize))
{
  FZRec->next_out = FBuffer.get();
  FZRec->avail_out = kBufferSize;
  Check(deflateInit(FZRec.get(), LevelOf(Level)));
  FInitialized = true;
}

TZCompressionStream::~TZCompressionStream()
{
  try {
    Finish();
  } catch (...) {
    // Nothing can be reported from here; Finish itself has ended zlib's state.
  }
}

void TZCompressionStream::EndDeflate()
{
  if (FInitialized) {
    deflateEnd(FZRec.get());
    FInitialized = false;
  }
}

void TZCompressionStream::WriteBlock(size_t Count)
{
  if (Count > 0) FStrm->WriteBuffer(FBuffer.get(), static_cast<Int64>(Count));
  FZRec->next_out = FBuffer.get();
  FZRec->avail_out = kBufferSize;
  FStrmPos = FStrm->GetPosition();
}

Int64 TZCompressionStream::Write(const void* Buffer, Int64 Count)
{
  if (FFinished) throw EZCompressionError(kInvalidOperation);
  if (FStrm->GetPosition() != FStrmPos) FStrm->SetPosition(FStrmPos);
  const Byte* p = static_cast<const Byte*>(Buffer);
  Int64 left = Count;
  // zlib counts in 32 bits: feed huge buffers in pieces.
  while (left > 0) {
    uInt piece = static_cast<uInt>(std::min<Int64>(left, 1 << 30));
    FZRec->next_in = const_cast<Byte*>(p);
    FZRec->avail_in = piece;
    while (FZRec->avail_in > 0) {
      Check(deflate(FZRec.get(), Z_NO_FLUSH));
      if (FZRec->avail_out == 0) {
        WriteBlock(kBufferSize);
        Progress();
      }
    }
    p += piece;
    left -= piece;
  }
  FTotalIn += Count;
  return Count;
}

Int64 TZCompressionStream::Read(void*, Int64) { throw EZCompressionError(kInvalidOperation); }

Int64 TZCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
  if (Offset == 0 && Origin == soCurrent) return FTotalIn;
  throw EZCompressionError(kInvalidOperation);
}

void TZCompressionStream::Finish()
{
  if (FFinished) return;
  FFinished = true;
  TScopeExit undo([&] { EndDeflate(); });
  FZRec->next_in = nullptr;
  FZRec->avail_in = 0;
  if (FStrm->GetPosition() != FStrmPos) FStrm->SetPosition(FStrmPos);
  while (Check(deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END) WriteBlock(kBufferSize - FZRec->avail_out);
  if (FZRec->avail_out < kBufferSize) WriteBlock(kBufferSize - FZRec->avail_out);
}

namespace frxGZip {

void CompressStream(TStream* Source, TStream* Dest, TCompressionLevel Level)
{
  TZCompressionStream z(Dest, Level);
  z.CopyFrom(Source, 0);
  z.Finish();
}

}  // namespace frxGZip
