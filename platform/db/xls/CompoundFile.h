// A read-only view of a compound file (the container of .xls workbooks): its sector chains, the
// mini stream and the root storage's directory tree.
//
// The bytes come from a TByteSource, so a file is read sector by sector and never whole. Every
// sector number, chain and directory link is checked before use; a chain or a tree that comes
// back to where it was raises EXlsError (xeDamaged), as does any sector past the end of the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/AnsiStrings.h"

// Where the bytes of a compound file come from.
class TByteSource {
public:
  virtual ~TByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Copies Count bytes at Offset into Dest; Offset + Count never passes Size().
  virtual void Read(std::uint64_t Offset, std::size_t Count, void* Dest) const = 0;
};

// Bytes in memory (borrowed: they must outlive the source).
class TMemorySource : public TByteSource {
public:
  TMemorySource(const void* Data, std::size_t Size) : FData(static_cast<const char*>(Data)), FSize(Size) {}
  std::uint64_t Size() const override { return FSize; }
  void Read(std::uint64_t Offset, std::size_t Count, void* Dest) const override;

private:
  const char* FData;
  std::size_t FSize;
};

// An open file, read with pread. Raises EXlsError (xeNotWorkbook) when it cannot be opened.
class TFileSource : public TByteSource {
public:
  explicit TFileSource(const std::string& Utf8Path);
  ~TFileSource() override;
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;
  std::uint64_t Size() const override { return FSize; }
  void Read(std::uint64_t Offset, std::size_t Count, void* Dest) const override;

private:
  int FFd = -1;
  std::uint64_t FSize = 0;
};

class TCompoundFile {
public:
  // Reads the header, the allocation table and the directory. Raises EXlsError xeNotWorkbook when
  // the bytes are no compound file, xeDamaged when its structures do not fit. Source is borrowed.
  explicit TCompoundFile(const TByteSource& Source);

  // True when the root storage has a stream of that name (compared ignoring ASCII case).
  bool HasStream(const WideString& Name) const;
  // The whole stream of that name in the root storage. Raises EXlsError xeNotWorkbook when there
  // is none, xeDamaged when its chain is broken.
  std::string ReadStream(const WideString& Name) const;

private:
  struct TEntry {
    WideString Name;
    std::uint8_t Type = 0;
    std::uint32_t Left = 0, Right = 0, Child = 0, Start = 0;
    std::uint64_t Size = 0;
  };

  // Reads sector Sector (a short last sector is padded with zeros) into FSectorSize bytes at Dest.
  void ReadSector(std::uint32_t Sector, std::uint8_t* Dest) const;
  // The sectors of the chain from Start, Count of them (UINT64_MAX: up to its end).
  std::vector<std::uint32_t> Chain(const std::vector<std::uint32_t>& Table, std::uint32_t Start, std::uint64_t Count,
                                   const char* What) const;
  std::string ReadChain(std::uint32_t Start, std::uint64_t Size, const char* What) const;
  const TEntry* Find(const WideString& Name) const;

  const TByteSource& FSource;
  std::uint32_t FSectorSize = 512;
  std::uint32_t FMiniSectorSize = 64;
  std::uint32_t FMiniCutoff = 4096;
  std::uint64_t FSectorCount = 0;  // whole or partial sectors after the header
  std::vector<std::uint32_t> FFat;
  std::vector<std::uint32_t> FMiniFat;
  std::vector<TEntry> FEntries;
  std::vector<std::uint32_t> FRootChildren;  // the root storage's entries, by index
  mutable std::string FMiniStream;           // read on first use
  mutable bool FMiniLoaded = false;
};
