// Write-only deflate streams over zlib: what is written is compressed and passed on to another
// stream in blocks of 65,536 bytes. Used for PDF page contents and embedded font programs.
//
// Errors: Read, and Seek other than (0, soCurrent), raise EZCompressionError
// "Invalid ZStream operation!"; a zlib failure raises EZCompressionError with zlib's message;
// errors of the target stream pass through.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

struct z_stream_s;

PELTO_DECLARE_EXCEPTION(EZLibError, Exception);
PELTO_DECLARE_EXCEPTION(EZCompressionError, EZLibError);

enum TCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

class TCustomZStream : public TStream {
public:
  ~TCustomZStream() override;
  TCustomZStream(const TCustomZStream&) = delete;
  TCustomZStream& operator=(const TCustomZStream&) = delete;

  // Fired (sender first) after each full block has been written to the target.
  std::function<void(TObject* Sender)> OnProgress;

protected:
  // Dest is not owned and must outlive the stream.
  explicit TCustomZStream(TStream* Dest);
  void Progress();

  TStream* FStrm;
  Int64 FStrmPos;
  std::unique_ptr<z_stream_s> FZRec;
};

class TZCompressionStream : public TCustomZStream {
public:
  // Compresses into Dest from its current position on.
  TZCompressionStream(TStream* Dest, TCompressionLevel Level);
  // Finishes the data when Finish has not been called; a failure then cannot be reported, so
  // callers that need to know call Finish themselves.
  ~TZCompressionStream() override;

  // Compresses all of Buffer; answers Count.
  Int64 Write(const void* Buffer, Int64 Count) override;
  // Always raises.
  Int64 Read(void* Buffer, Int64 Count) override;
  // Only Seek(0, soCurrent): the number of uncompressed bytes taken in so far.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Writes the rest of the compressed data (with zlib's checksum) to the target and ends the
  // stream; later writes raise. Calling it again does nothing.
  void Finish();

private:
  void WriteBlock(size_t Count);
  void EndDeflate();

  std::unique_ptr<Byte[]> FBuffer;
  bool FInitialized = false;
  bool FFinished = false;
  Int64 FTotalIn = 0;
};

namespace frxGZip {

// Compresses the whole of Source (from its start) into Dest at Dest's position.
void CompressStream(TStream* Source, TStream* Dest, TCompressionLevel Level);

}  // namespace frxGZip
