// The one way files are saved: every writer of a user file (reports, variables, styles,
// prepared reports, filters, ini files, the settings store, workbooks, PDF and the other
// exports, and whatever writes files later: backups, upgrade scripts, column layouts) writes
// through SaveFile, SaveStream or a TSaveStream, never by opening the target itself.
//
// A save writes a temporary file beside the target, flushes it to the disk and only then
// renames it over the target. A failure at any step (creating, writing, a full disk, flushing,
// closing, renaming) raises EFCreateError "Cannot create file \"<name>\". <OS error text>",
// leaves the target as it was, byte for byte, and removes the temporary file. A process killed
// part-way leaves the old file or the new one, complete; only a stray temporary file (named
// ".<name>.XXXXXX" beside it) can remain.
//
// The target keeps its permission bits (and, where the OS lets us, its owner); a new file gets
// 0644 less the umask. A target that is a symbolic link stays a link: the file it points to is
// replaced (a link to a missing file creates that file). A hard-linked target is replaced by a
// new file, as every save by rename does.
//
// The file-system calls of a save go through a replaceable TSaveFileSystem, so that a test can
// make any of them fail (TScopedSaveFaults). Opening and reading files don't go through here.
#pragma once

#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Streams.h"

namespace SaveSeam {

// The steps of a save, in order, as the file system sees them.
enum class TSaveStep { Create, Write, Sync, Close, Rename, SyncFolder };

// The file-system calls of a save, on UTF-8 names. Each answers as its POSIX namesake does: -1
// (or a short count) with errno set on failure.
class TSaveFileSystem {
public:
  virtual ~TSaveFileSystem() = default;
  // Creates a new file from Template, whose last six characters ("XXXXXX") it replaces to make
  // the name unique, opened for reading and writing with permission bits Mode (less the
  // umask). Answers the descriptor.
  virtual int Create(std::string& Template, unsigned Mode) = 0;
  virtual long Write(int Fd, const void* Data, unsigned long Size) = 0;
  virtual int Sync(int Fd) = 0;
  // Releases the descriptor even when it answers a failure.
  virtual int Close(int Fd) = 0;
  virtual int Rename(const std::string& From, const std::string& To) = 0;
  virtual int Remove(const std::string& Name) = 0;
  // Makes a rename in Folder durable; best effort.
  virtual void SyncFolder(const std::string& Folder) = 0;
};

// The plain POSIX file system.
TSaveFileSystem& Default();
// The file system saves use now. Never null.
TSaveFileSystem& Current();
// Installs FileSystem (null puts the default back) and answers the one it replaces (null when
// that was the default). Install only while no save runs.
std::unique_ptr<TSaveFileSystem> Install(std::unique_ptr<TSaveFileSystem> FileSystem);

// Installs a file system for its lifetime and puts the previous one back.
class TScopedSaveFileSystem {
public:
  explicit TScopedSaveFileSystem(std::unique_ptr<TSaveFileSystem> FileSystem);
  ~TScopedSaveFileSystem();
  TScopedSaveFileSystem(const TScopedSaveFileSystem&) = delete;
  TScopedSaveFileSystem& operator=(const TScopedSaveFileSystem&) = delete;

private:
  std::unique_ptr<TSaveFileSystem> FPrevious;
};

// A stream onto a new temporary file that replaces FileName on Commit. Writes are buffered;
// reading, seeking and sizing work on what was written so far. Destroying it without a
// successful Commit removes the temporary file and leaves FileName untouched, so a writer that
// raises half-way changes nothing.
class TSaveStream : public TStream {
public:
  // Raises EFCreateError when the temporary file can't be created (a missing folder, no
  // rights, FileName a folder).
  explicit TSaveStream(const AnsiString& FileName);
  ~TSaveStream() override;
  TSaveStream(const TSaveStream&) = delete;
  TSaveStream& operator=(const TSaveStream&) = delete;

  // Raises EFCreateError when the OS refuses the bytes (a full disk): unlike other streams,
  // a save stream never answers a short count.
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 GetSize() override;
  void SetSize(Int64 NewSize) override;

  // Flushes the data to the disk and renames the temporary file over FileName. Raises
  // EFCreateError on failure (FileName unchanged, the temporary file gone). Once only.
  void Commit();

  const AnsiString& GetFileName() const { return FFileName; }

private:
  void FlushBuffer();
  [[noreturn]] void Fail(int Error);
  void Discard();

  AnsiString FFileName;  // as the caller named it, for messages
  std::string FTarget;   // the file that is replaced: the name with its links followed
  std::string FTemp;
  int FFd = -1;
  std::string FBuffer;  // written but not yet handed to the file system
  bool FCommitted = false;
};

// Replaces FileName's content with Data. Raises EFCreateError on failure.
void SaveFile(const AnsiString& FileName, const AnsiString& Data);
// Runs Writer on a save stream onto FileName and commits what it wrote. An exception from
// Writer passes to the caller and changes nothing.
void SaveStream(const AnsiString& FileName, const std::function<void(TStream*)>& Writer);

// Makes the calls of saves fail, for its lifetime: it installs a file system that passes every
// call on to the one in place before it, failing where told, and puts that one back when it
// ends. Counts start when it is made and are shared by all saves.
class TScopedSaveFaults {
public:
  TScopedSaveFaults();
  ~TScopedSaveFaults();
  TScopedSaveFaults(const TScopedSaveFaults&) = delete;
  TScopedSaveFaults& operator=(const TScopedSaveFaults&) = delete;

  // The Nth call (1-based) of Step fails with Error; the call does nothing else (a failed
  // Close still releases the descriptor).
  void FailAt(TSaveStep Step, int Nth, int Error = EIO);
  // Writes beyond Bytes in all fail with ENOSPC; the write that crosses keeps the part that
  // fits, as a full disk does.
  void DiskFullAfter(Int64 Bytes);
  // Called before each call with its step and the bytes written so far (a test stops or kills
  // the process at a known point from here).
  void SetOnStep(std::function<void(TSaveStep Step, Int64 Written)> OnStep);
  // Calls of Step so far, and the bytes written so far.
  int Calls(TSaveStep Step) const;
  Int64 BytesWritten() const;
  // Forgets the faults, the counts and OnStep.
  void Reset();

  struct TState;

private:
  std::unique_ptr<TState> FState;
  std::unique_ptr<TSaveFileSystem> FPrevious;
};

}  // namespace SaveSeam
