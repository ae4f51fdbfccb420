#include "platform/rtl/SaveSeam.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"

namespace SaveSeam {

namespace {

constexpr size_t BufferSize = 256 * 1024;  // bytes gathered before they go to the file system
constexpr size_t MaxNameBytes = 200;       // of the target's name in the temporary name (NAME_MAX is 255)
constexpr int MaxLinks = 40;               // links followed before giving up, as the OS does

class TPosixFileSystem : public TSaveFileSystem {
public:
  int Create(std::string& Template, unsigned Mode) override
  {
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<unsigned long long>(::getpid())};
    if (Template.size() < 6) {
      errno = EINVAL;
      return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
      for (size_t i = Template.size() - 6; i < Template.size(); ++i) Template[i] = Letters[random() % 62];
      int fd = ::open(Template.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(Mode));
      if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
  }
  long Write(int Fd, const void* Data, unsigned long Size) override { return ::write(Fd, Data, Size); }
  int Sync(int Fd) override { return ::fsync(Fd); }
  int Close(int Fd) override { return ::close(Fd); }
  int Rename(const std::string& From, const std::string& To) override { return ::rename(From.c_str(), To.c_str()); }
  int Remove(const std::string& Name) override { return ::unlink(Name.c_str()); }
  void SyncFolder(const std::string& Folder) override
  {
    int fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }
};

std::unique_ptr<TSaveFileSystem> Installed;
std::atomic<TSaveFileSystem*> CurrentFs{nullptr};

std::string FolderOf(const std::string& path)
{
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save replaces: Name with its symbolic links followed, so that the link stays and
// the file behind it gets the new content. A link to a missing file leads to that name.
std::string FollowLinks(std::string name)
{
  for (int hops = 0; hops < MaxLinks; ++hops) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return name;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    ssize_t n = ::readlink(name.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return name;
    target.resize(static_cast<size_t>(n));
    name = target[0] == '/' ? target : FolderOf(name) + "/" + target;
  }
  return name;
}

// ".<name>.XXXXXX" beside Target: hidden from the file dialogs, and on the same file system,
// so the rename is atomic.
std::string TempTemplate(const std::string& target)
{
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.size() > MaxNameBytes) {
    size_t cut = MaxNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
    name.resize(cut);
  }
  return folder + "." + name + ".XXXXXX";
}

}  // namespace

// ---- The installed file system ---------------------------------------------------------------

TSaveFileSystem& Default()
{
  static TPosixFileSystem fs;
  return fs;
}

TSaveFileSystem& Current()
{
  TSaveFileSystem* fs = CurrentFs.load(std::memory_order_acquire);
  return fs ? *fs : Default();
}

std::unique_ptr<TSaveFileSystem> Install(std::unique_ptr<TSaveFileSystem> FileSystem)
{
  std::unique_ptr<TSaveFileSystem> previous = std::move(Installed);
  Installed = std::move(FileSystem);
  CurrentFs.store(Installed.get(), std::memory_order_release);
  return previous;
}

TScopedSaveFileSystem::TScopedSaveFileSystem(std::unique_ptr<TSaveFileSystem> FileSystem)
    : FPrevious(Install(std::move(FileSystem)))
{}

TScopedSaveFileSystem::~TScopedSaveFileSystem() { Install(std::move(FPrevious)); }

// ---- TSaveStream -----------------------------------------------------------------------------

TSaveStream::TSaveStream(const AnsiString& FileName) : FFileName(FileName)
{
  if (FileName.empty()) throw EFCreateError("Cannot create file \"\". " + System::Utf8ToAnsi(std::strerror(ENOENT)));
  FTarget = FollowLinks(System::AnsiToUtf8(FileName));
  struct stat old {};
  bool exists = ::stat(FTarget.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) Fail(EISDIR);
  FTemp = TempTemplate(FTarget);
  FFd = Current().Create(FTemp, 0644);
  if (FFd < 0) {
    int err = errno;
    FTemp.clear();
    Fail(err);
  }
  if (exists) {
    // The new file takes the old one's place: same owner where we may, same permissions.
    if (::fchown(FFd, old.st_uid, old.st_gid) != 0) {
      // Only the owner and root can give a file away; the permissions below still hold.
    }
    if (::fchmod(FFd, old.st_mode & 07777) != 0) Fail(errno);
  }
}

TSaveStream::~TSaveStream()
{
  if (!FCommitted) Discard();
}

void TSaveStream::Discard()
{
  if (FFd >= 0) Current().Close(FFd);
  FFd = -1;
  if (!FTemp.empty()) Current().Remove(FTemp);
  FTemp.clear();
}

void TSaveStream::Fail(int Error)
{
  Discard();
  throw EFCreateError("Cannot create file \"" + FFileName + "\". " + System::Utf8ToAnsi(std::strerror(Error)));
}

void TSaveStream::FlushBuffer()
{
  if (FFd < 0) Fail(EBADF);
  size_t done = 0;
  while (done < FBuffer.size()) {
    long n = Current().Write(FFd, FBuffer.data() + done, FBuffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n == 0 ? ENOSPC : errno);
    done += static_cast<size_t>(n);
  }
  FBuffer.clear();
}

Int64 TSaveStream::Write(const void* Buffer, Int64 Count)
{
  if (Count <= 0) return 0;
  if (FFd < 0) Fail(EBADF);
  if (FBuffer.capacity() < BufferSize) FBuffer.reserve(BufferSize);
  const char* p = static_cast<const char*>(Buffer);
  Int64 left = Count;
  while (left > 0) {
    size_t n = std::min(static_cast<size_t>(left), BufferSize - FBuffer.size());
    FBuffer.append(p, n);
    p += n;
    left -= static_cast<Int64>(n);
    if (FBuffer.size() == BufferSize) FlushBuffer();
  }
  return Count;
}

Int64 TSaveStream::Read(void* Buffer, Int64 Count)
{
  FlushBuffer();
  if (Count <= 0) return 0;
  ssize_t n;
  do n = ::read(FFd, Buffer, static_cast<size_t>(Count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : static_cast<Int64>(n);
}

Int64 TSaveStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
  if (Offset == 0 && Origin == soCurrent && FFd >= 0) {
    off_t at = ::lseek(FFd, 0, SEEK_CUR);
    if (at < 0) throw EStreamError("Stream seek error");
    return static_cast<Int64>(at) + static_cast<Int64>(FBuffer.size());
  }
  FlushBuffer();
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FFd, static_cast<off_t>(Offset), whence);
  if (r < 0) throw EStreamError("Stream seek error");
  return static_cast<Int64>(r);
}

Int64 TSaveStream::GetSize()
{
  FlushBuffer();
  struct stat st {};
  if (::fstat(FFd, &st) != 0) Fail(errno);
  return static_cast<Int64>(st.st_size);
}

void TSaveStream::SetSize(Int64 NewSize)
{
  FlushBuffer();
  if (NewSize < 0 || ::ftruncate(FFd, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError("Stream size can't be changed");
  if (GetPosition() > NewSize) SetPosition(NewSize);
}

void TSaveStream::Commit()
{
  if (FCommitted || FFd < 0) throw EStreamError("The file \"" + FFileName + "\" was saved already");
  FlushBuffer();
  TSaveFileSystem& fs = Current();
  if (fs.Sync(FFd) != 0) Fail(errno);
  int fd = FFd;
  FFd = -1;
  if (fs.Close(fd) != 0) Fail(errno);
  if (fs.Rename(FTemp, FTarget) != 0) Fail(errno);
  FCommitted = true;
  FTemp.clear();
  fs.SyncFolder(FolderOf(FTarget));
}

// ---- Whole saves -----------------------------------------------------------------------------

void SaveFile(const AnsiString& FileName, const AnsiString& Data)
{
  TSaveStream stream(FileName);
  stream.Write(Data.data(), static_cast<Int64>(Data.size()));
  stream.Commit();
}

void SaveStream(const AnsiString& FileName, const std::function<void(TStream*)>& Writer)
{
  TSaveStream stream(FileName);
  Writer(&stream);
  stream.Commit();
}

// ---- Injected faults -------------------------------------------------------------------------

struct TScopedSaveFaults::TState {
  static constexpr int Steps = 6;
  int Calls[Steps] = {};
  int FailNth[Steps] = {};
  int FailError[Steps] = {};
  Int64 Written = 0;
  Int64 DiskFull = -1;
  std::function<void(TSaveStep, Int64)> OnStep;

  // Counts a call of Step; answers the error it is to fail with (0: let it through).
  int Enter(TSaveStep step)
  {
    int i = static_cast<int>(step);
    if (OnStep) OnStep(step, Written);
    ++Calls[i];
    return FailNth[i] == Calls[i] ? FailError[i] : 0;
  }
};

namespace {

class TFaultFileSystem : public TSaveFileSystem {
public:
  TFaultFileSystem(TScopedSaveFaults::TState& state) : FState(state) {}
  TSaveFileSystem* Inner = nullptr;

  int Create(std::string& Template, unsigned Mode) override
  {
    if (int err = FState.Enter(TSaveStep::Create)) return Refuse(err);
    return Inner->Create(Template, Mode);
  }
  long Write(int Fd, const void* Data, unsigned long Size) override
  {
    if (int err = FState.Enter(TSaveStep::Write)) return Refuse(err);
    if (FState.DiskFull >= 0) {
      Int64 room = std::max<Int64>(0, FState.DiskFull - FState.Written);
      if (room == 0) return Refuse(ENOSPC);
      Size = static_cast<unsigned long>(std::min<Int64>(room, static_cast<Int64>(Size)));
    }
    long n = Inner->Write(Fd, Data, Size);
    if (n > 0) FState.Written += n;
    return n;
  }
  int Sync(int Fd) override
  {
    if (int err = FState.Enter(TSaveStep::Sync)) return Refuse(err);
    return Inner->Sync(Fd);
  }
  int Close(int Fd) override
  {
    int err = FState.Enter(TSaveStep::Close);
    int rc = Inner->Close(Fd);
    return err ? Refuse(err) : rc;
  }
  int Rename(const std::string& From, const std::string& To) override
  {
    if (int err = FState.Enter(TSaveStep::Rename)) return Refuse(err);
    return Inner->Rename(From, To);
  }
  int Remove(const std::string& Name) override { return Inner->Remove(Name); }
  void SyncFolder(const std::string& Folder) override
  {
    if (FState.Enter(TSaveStep::SyncFolder)) return;
    Inner->SyncFolder(Folder);
  }

private:
  static int Refuse(int err)
  {
    errno = err;
    return -1;
  }
  TScopedSaveFaults::TState& FState;
};

}  // namespace

TScopedSaveFaults::TScopedSaveFaults() : FState(std::make_unique<TState>())
{
  auto fs = std::make_unique<TFaultFileSystem>(*FState);
  TFaultFileSystem* raw = fs.get();
  FPrevious = Install(std::move(fs));
  raw->Inner = FPrevious ? FPrevious.get() : &Default();
}

TScopedSaveFaults::~TScopedSaveFaults() { Install(std::move(FPrevious)); }

void TScopedSaveFaults::FailAt(TSaveStep Step, int Nth, int Error)
{
  FState->FailNth[static_cast<int>(Step)] = Nth;
  FState->FailError[static_cast<int>(Step)] = Error;
}

void TScopedSaveFaults::DiskFullAfter(Int64 Bytes) { FState->DiskFull = Bytes; }

void TScopedSaveFaults::SetOnStep(std::function<void(TSaveStep, Int64)> OnStep) { FState->OnStep = std::move(OnStep); }

int TScopedSaveFaults::Calls(TSaveStep Step) const { return FState->Calls[static_cast<int>(Step)]; }

Int64 TScopedSaveFaults::BytesWritten() const { return FState->Written; }

void TScopedSaveFaults::Reset() { *FState = TState(); }

}  // namespace SaveSeam
