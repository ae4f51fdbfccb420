// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Paths are bytes as the file routines take them (CP936 names are fine).
#pragma once

#include <string>

class TTempFolder {
public:
  // Prefix names the folder so that a left-over one shows which test made it.
  explicit TTempFolder(const std::string& Prefix = "pelto");
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder, without a trailing '/'.
  const std::string& Dir() const { return FDir; }
  // A name inside the folder.
  std::string Path(const std::string& Name) const { return FDir + "/" + Name; }

private:
  std::string FDir;
};
