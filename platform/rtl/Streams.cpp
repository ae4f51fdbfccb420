#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SaveSeam.h"

namespace {

constexpr Int64 MemoryDelta = 8192;  // a memory stream grows in blocks of this size

// The OS's text for errno, as the 8-bit text the system shows.
AnsiString OsErrorText(int err) { return System::Utf8ToAnsi(std::strerror(err)); }

// Where Seek lands for streams that keep their own position; raises before the start.
Int64 SeekTarget(Int64 Offset, TSeekOrigin Origin, Int64 Position, Int64 Size)
{
  Int64 base = Origin == soBeginning ? 0 : Origin == soCurrent ? Position : Size;
  Int64 target = base + Offset;
  if (target < 0) throw EStreamError("Stream seek error");
  return target;
}

}  // namespace

// ---- TStream ----------------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, Int64 Count)
{
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count)
{
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count)
{
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  const Int64 result = Count;
  std::vector<Byte> buffer(static_cast<size_t>(std::min<Int64>(Count, 0xF000)) + 1);
  while (Count > 0) {
    Int64 n = std::min<Int64>(Count, static_cast<Int64>(buffer.size()));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    Count -= n;
  }
  return result;
}

Int64 TStream::GetSize()
{
  Int64 pos = Seek(0, soCurrent);
  Int64 size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(Int64) { throw EStreamError("Stream size can't be changed"); }

// ---- THandleStream ----------------------------------------------------------------------------

Int64 THandleStream::Read(void* Buffer, Int64 Count)
{
  if (Count <= 0) return 0;
  Int64 total = 0;
  auto* p = static_cast<char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::read(FHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

Int64 THandleStream::Write(const void* Buffer, Int64 Count)
{
  if (Count <= 0) return 0;
  Int64 total = 0;
  auto* p = static_cast<const char*>(Buffer);
  while (total < Count) {
    ssize_t n = ::write(FHandle, p + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  return total;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  if (r < 0) throw EStreamError("Stream seek error");
  return static_cast<Int64>(r);
}

void THandleStream::SetSize(Int64 NewSize)
{
  if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError("Stream size can't be changed");
  if (GetPosition() > NewSize) SetPosition(NewSize);
}

// ---- TFileStream ------------------------------------------------------------------------------

TFileStream::TFileStream(const AnsiString& AFileName, Word Mode) : TFileStream(AFileName, Mode, 0644) {}

TFileStream::TFileStream(const AnsiString& AFileName, Word Mode, Cardinal Rights)
    : THandleStream(-1), FFileName(AFileName)
{
  const std::string path = System::AnsiToUtf8(AFileName);
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, static_cast<mode_t>(Rights));
    if (FHandle < 0) throw EFCreateError("Cannot create file \"" + AFileName + "\". " + OsErrorText(errno));
    return;
  }
  int flags = O_CLOEXEC;
  switch (Mode & 0x0003) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  FHandle = ::open(path.c_str(), flags);
  int err = errno;
  if (FHandle >= 0) {
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      err = EISDIR;
    }
  }
  if (FHandle < 0) throw EFOpenError("Cannot open file \"" + AFileName + "\". " + OsErrorText(err));
}

TFileStream::~TFileStream()
{
  if (FHandle >= 0) ::close(FHandle);
}

// ---- TCustomMemoryStream ----------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size)
{
  FMemory = Ptr;
  FSize = Size;
}

Int64 TCustomMemoryStream::Read(void* Buffer, Int64 Count)
{
  if (Count <= 0 || FPosition >= FSize) return 0;
  Int64 n = std::min(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

Int64 TCustomMemoryStream::Write(const void*, Int64) { throw EStreamError("Can't write to a read-only memory stream"); }

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
  FPosition = SeekTarget(Offset, Origin, FPosition, FSize);
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream)
{
  if (FSize != 0) Stream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* file) { SaveToStream(file); });
}

// ---- TMemoryStream ----------------------------------------------------------------------------

void TMemoryStream::SetCapacity(Int64 NewCapacity)
{
  if (NewCapacity < FSize) NewCapacity = FSize;
  FData.resize(static_cast<size_t>(NewCapacity));
  if (NewCapacity == 0) FData.shrink_to_fit();
  SetPointer(FData.empty() ? nullptr : FData.data(), FSize);
}

void TMemoryStream::SetSize(Int64 NewSize)
{
  if (NewSize < 0) throw EStreamError("Stream size can't be changed");
  if (NewSize > static_cast<Int64>(FData.size()))
    SetCapacity((NewSize + MemoryDelta - 1) / MemoryDelta * MemoryDelta);
  else if (NewSize < FSize)  // bytes past the end read as zero when the stream grows again
    std::fill(FData.begin() + NewSize, FData.begin() + FSize, Byte{0});
  FSize = NewSize;
  SetPointer(FData.empty() ? nullptr : FData.data(), FSize);
  if (FPosition > FSize) FPosition = FSize;
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count)
{
  if (Count <= 0) return 0;
  Int64 end = FPosition + Count;
  if (end > FSize) {
    // A position past the end leaves a gap of zeros, which SetSize provides.
    Int64 pos = FPosition;
    SetSize(end);
    FPosition = pos;
  }
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

void TMemoryStream::Clear()
{
  FSize = 0;
  FPosition = 0;
  SetCapacity(0);
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
  Stream->SetPosition(0);
  Int64 count = Stream->GetSize();
  FPosition = 0;
  SetSize(count);
  if (count != 0) Stream->ReadBuffer(FData.data(), count);
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName)
{
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

// ---- TStringStream ----------------------------------------------------------------------------

Int64 TStringStream::Read(void* Buffer, Int64 Count)
{
  Int64 size = GetSize();
  if (Count <= 0 || FPosition >= size) return 0;
  Int64 n = std::min(Count, size - FPosition);
  std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

Int64 TStringStream::Write(const void* Buffer, Int64 Count)
{
  if (Count <= 0) return 0;
  if (FPosition + Count > GetSize()) FDataString.resize(static_cast<size_t>(FPosition + Count), '\0');
  std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition += Count;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
  FPosition = SeekTarget(Offset, Origin, FPosition, GetSize());
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize)
{
  if (NewSize < 0) throw EStreamError("Stream size can't be changed");
  FDataString.resize(static_cast<size_t>(NewSize), '\0');
  if (FPosition > NewSize) FPosition = NewSize;
}

AnsiString TStringStream::ReadString(Int64 Count)
{
  Int64 size = GetSize();
  if (Count <= 0 || FPosition >= size) return AnsiString();
  Int64 n = std::min(Count, size - FPosition);
  AnsiString result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
  FPosition += n;
  return result;
}

void TStringStream::WriteString(const AnsiString& AString)
{
  Write(AString.data(), static_cast<Int64>(AString.size()));
}
