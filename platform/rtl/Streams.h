// Byte streams: the abstract TStream, streams over OS file handles and files, and streams in
// memory and over an AnsiString. Positions and sizes are 64-bit.
//
// Errors: ReadBuffer raises EReadError "Stream read error" when fewer bytes than asked are
// available; WriteBuffer raises EWriteError "Stream write error" when not all bytes were
// written. Read and Write themselves never raise for a short transfer: they answer the count
// actually moved (0 at the end of the stream). TFileStream's constructor raises EFCreateError
// or EFOpenError with the OS error text.
#pragma once

#include <vector>

#include "platform/rtl/System.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
// The older names of the origins; they have the same values.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

// Open modes of TFileStream. A mode is one access value or'ed with at most one share value;
// fmCreate creates the file (or truncates it) and opens it for reading and writing. The share
// values are accepted and have no effect: the OS here doesn't lock files on open.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
  ~TStream() override = default;

  // Moves up to Count bytes from the stream into Buffer; answers the number moved.
  virtual Int64 Read(void* Buffer, Int64 Count) = 0;
  // Moves up to Count bytes from Buffer into the stream; answers the number moved.
  virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
  // Answers the new position. Seeking before the start raises EStreamError; past the end is
  // allowed (a later write extends the stream).
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // Reads exactly Count bytes or raises EReadError.
  void ReadBuffer(void* Buffer, Int64 Count);
  // Writes exactly Count bytes or raises EWriteError.
  void WriteBuffer(const void* Buffer, Int64 Count);
  // Copies Count bytes from Source's current position; Count 0 copies the whole of Source
  // from its start. Answers the count copied; raises EReadError if Source runs short.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  Int64 GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 GetSize();
  // Streams that can't change their size raise EStreamError.
  virtual void SetSize(Int64 NewSize);
};

// A stream over an open OS file descriptor, which it doesn't own.
class THandleStream : public TStream {
public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Truncates or extends the file; raises EStreamError when the OS refuses.
  void SetSize(Int64 NewSize) override;
  int GetHandle() const { return FHandle; }

protected:
  int FHandle;
};

// A stream over a named file (a CP936 name), which it opens and closes.
class TFileStream : public THandleStream {
public:
  // Raises EFCreateError "Cannot create file \"%s\". %s" (fmCreate) or
  // EFOpenError "Cannot open file \"%s\". %s" with the OS error text.
  TFileStream(const AnsiString& AFileName, Word Mode);
  // Rights are the permission bits of a created file (0644 by default).
  TFileStream(const AnsiString& AFileName, Word Mode, Cardinal Rights);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  const AnsiString& GetFileName() const { return FFileName; }

private:
  AnsiString FFileName;
};

// A stream over a block of memory it does not own; reading and seeking only.
class TCustomMemoryStream : public TStream {
public:
  Int64 Read(void* Buffer, Int64 Count) override;
  // Raises EStreamError: the block has a fixed size.
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 GetSize() override { return FSize; }

  // The first byte of the data (nullptr when empty). Valid until the stream changes size.
  void* GetMemory() const { return FMemory; }
  // Writes the whole data, whatever the position.
  void SaveToStream(TStream* Stream);
  // Saves through platform/rtl/SaveSeam.h: EFCreateError when the file can't be written (it
  // is then unchanged).
  void SaveToFile(const AnsiString& FileName);

protected:
  void SetPointer(void* Ptr, Int64 Size);

  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

// A growable stream in memory that owns its data.
class TMemoryStream : public TCustomMemoryStream {
public:
  TMemoryStream() = default;
  ~TMemoryStream() override = default;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  Int64 Write(const void* Buffer, Int64 Count) override;
  // Growing keeps the data and zero-fills the new bytes; shrinking moves the position back
  // to the new end when it lay beyond it.
  void SetSize(Int64 NewSize) override;
  // Empties the stream and frees its memory.
  void Clear();
  // Replaces the data by the whole of Stream (from its start).
  void LoadFromStream(TStream* Stream);
  // Raises EFOpenError when the file can't be opened.
  void LoadFromFile(const AnsiString& FileName);

  Int64 GetCapacity() const { return static_cast<Int64>(FData.size()); }
  void SetCapacity(Int64 NewCapacity);

private:
  std::vector<Byte> FData;  // capacity bytes; the first FSize of them are the data
};

// A stream over an AnsiString: what is written shows in DataString byte for byte.
class TStringStream : public TStream {
public:
  explicit TStringStream(const AnsiString& AString = AnsiString()) : FDataString(AString) {}

  Int64 Read(void* Buffer, Int64 Count) override;
  // Overwrites from the position and extends the string as needed.
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 GetSize() override { return static_cast<Int64>(FDataString.size()); }
  void SetSize(Int64 NewSize) override;

  // Answers up to Count bytes from the position and moves past them.
  AnsiString ReadString(Int64 Count);
  void WriteString(const AnsiString& AString);
  const AnsiString& GetDataString() const { return FDataString; }

private:
  AnsiString FDataString;
  Int64 FPosition = 0;
};
