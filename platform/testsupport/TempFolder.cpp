#include "platform/testsupport/TempFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

TTempFolder::TTempFolder(const std::string& Prefix)
{
  std::string templ = (std::filesystem::temp_directory_path() / (Prefix + "-XXXXXX")).string();
  if (!::mkdtemp(templ.data())) throw std::runtime_error("cannot make a temporary folder from " + templ);
  FDir = templ;
}

TTempFolder::~TTempFolder()
{
  std::error_code ec;
  std::filesystem::remove_all(FDir, ec);
}
