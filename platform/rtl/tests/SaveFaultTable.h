// Runs a writer's save once under each fault a save can meet (creating the temporary file, the
// first, a middle and the last write, a full disk half-way, the flush, the close, the rename)
// and checks what a user relies on: the error reaches the caller naming the file, the previous
// file is unchanged byte for byte, and nothing is left beside it. Then saves without faults and
// checks the file holds exactly what the writer writes into a plain stream.
//
// Used by the tests of every module that writes user files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SaveSeam.h"

namespace SaveFaultTable {

inline std::string ReadBytes(const std::filesystem::path& file)
{
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::set<std::string> Listing(const std::filesystem::path& folder)
{
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

struct TSaveCheck {
  std::filesystem::path File;        // the file the save writes
  std::string Old;                   // what the file holds before each faulty save
  std::function<void()> Save;        // the writer's save onto File
  std::string Expected;              // what a save without faults leaves in File
  std::string NameInMessage;         // what the error text must hold (the file's name, CP936)
  bool NameInMessageChecked = true;  // false for writers whose errors keep a fixed classic text
  // In place of Expected, for files that hold the time they were made (PDF, workbooks): whether
  // the bytes are a whole file.
  std::function<bool(const std::string&)> Accepts;
};

// One fault: its name in failure messages and how to set it, given the counts and bytes of a
// save without faults.
struct TFault {
  std::string Name;
  std::function<void(SaveSeam::TScopedSaveFaults&)> Arm;
};

inline std::vector<TFault> FaultsOf(int writes, Int64 bytes)
{
  using SaveSeam::TSaveStep;
  std::vector<TFault> faults = {
      {"create", [](auto& f) { f.FailAt(TSaveStep::Create, 1); }},
      {"first write", [](auto& f) { f.FailAt(TSaveStep::Write, 1); }},
  };
  if (writes >= 3)
    faults.push_back({"middle write", [writes](auto& f) { f.FailAt(TSaveStep::Write, (writes + 1) / 2); }});
  if (writes >= 2) faults.push_back({"last write", [writes](auto& f) { f.FailAt(TSaveStep::Write, writes); }});
  if (bytes > 1) faults.push_back({"disk full half-way", [bytes](auto& f) { f.DiskFullAfter(bytes / 2); }});
  faults.push_back({"flush", [](auto& f) { f.FailAt(TSaveStep::Sync, 1); }});
  faults.push_back({"close", [](auto& f) { f.FailAt(TSaveStep::Close, 1); }});
  faults.push_back({"rename", [](auto& f) { f.FailAt(TSaveStep::Rename, 1); }});
  return faults;
}

// The whole table for one writer. Answers the number of writes a save without faults made.
inline int Run(const TSaveCheck& check)
{
  std::filesystem::path folder = check.File.parent_path();
  WriteBytes(check.File, check.Old);
  const std::set<std::string> before = Listing(folder);

  // A save without faults, counted, then restored to Old.
  int writes = 0;
  Int64 bytes = 0;
  {
    SaveSeam::TScopedSaveFaults counter;
    check.Save();
    writes = counter.Calls(SaveSeam::TSaveStep::Write);
    bytes = counter.BytesWritten();
  }
  if (check.Accepts) {
    EXPECT_TRUE(check.Accepts(ReadBytes(check.File))) << check.File << ": a save without faults";
  } else {
    EXPECT_EQ(ReadBytes(check.File), check.Expected) << check.File << ": a save without faults";
  }
  EXPECT_EQ(Listing(folder), before) << check.File << ": a save without faults";
  EXPECT_GE(writes, 1) << check.File << ": the save wrote nothing through the save seam";

  for (const TFault& fault : FaultsOf(writes, bytes)) {
    SCOPED_TRACE(check.File.filename().string() + ", failing at: " + fault.Name);
    WriteBytes(check.File, check.Old);
    SaveSeam::TScopedSaveFaults faults;
    fault.Arm(faults);
    bool raised = false;
    try {
      check.Save();
    } catch (const Exception& e) {
      raised = true;
      if (check.NameInMessageChecked) {
        EXPECT_NE(e.Message().find(check.NameInMessage), AnsiString::npos)
            << "the error names no file: " << e.Message();
      }
    }
    EXPECT_TRUE(raised) << "the save reported success";
    EXPECT_TRUE(ReadBytes(check.File) == check.Old) << "the previous file changed";
    EXPECT_EQ(Listing(folder), before) << "something was left beside the file";
  }
  return writes;
}

}  // namespace SaveFaultTable
