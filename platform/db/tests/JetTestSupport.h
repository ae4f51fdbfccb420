// A throw-away Jet database file and a connection on it, for the provider and ADO tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/db/ADOConnection.h"
#include "platform/db/JetProvider.h"
#include "platform/rtl/AnsiStrings.h"

class TempJetDatabase {
public:
  explicit TempJetDatabase(const AnsiString& Password = AnsiString())
  {
    static int counter = 0;
    FFile = testing::TempDir() + "jet_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".mdb";
    ::unlink(FFile.c_str());
    JetProvider::CreateDatabase(FFile, Password);
  }
  ~TempJetDatabase() { ::unlink(FFile.c_str()); }
  const AnsiString& File() const { return FFile; }
  WideString ConnectionString(const AnsiString& Password = AnsiString()) const
  {
    AnsiString s = AnsiString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + FFile + ";Persist Security Info=False";
    if (!Password.empty()) s += ";Jet OLEDB:Database Password=" + Password;
    return System::AnsiToWide(s);
  }

private:
  AnsiString FFile;
};
