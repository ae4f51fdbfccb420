// A throw-away PostgreSQL server for one test executable: started before the first test by
// scripts/pg-test-server.sh (on a free loopback port, in a temporary folder) and stopped after
// the last. The client alias "pelto-test" in a temporary registry file points at it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Registry.h"

class PgTestServer : public testing::Environment {
public:
  static inline int Port = 0;
  static inline const char* Alias = "pelto-test";

  void SetUp() override
  {
    FDir = "/tmp/pelto-pg-" + std::to_string(::getpid());
    std::string cmd = std::string("bash ") + PELTO_SOURCE_DIR + "/scripts/pg-test-server.sh start " + FDir + " " +
                      std::to_string(::getpid());
    FILE* f = ::popen(cmd.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[64] = {0};
    std::string last;
    while (std::fgets(line, sizeof line, f)) last = line;
    int rc = ::pclose(f);
    ASSERT_EQ(rc, 0) << "the test server did not start";
    Port = std::stoi(last);
    FRegistry = testing::TempDir() + "pelto-pg-registry-" + std::to_string(::getpid());
    Registry::SetStoreFile(FRegistry);
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Microsoft\\MSSQLServer\\Client\\ConnectTo", true));
    reg.WriteString(Alias, "DBMSSOCN,127.0.0.1," + std::to_string(Port));
  }

  void TearDown() override
  {
    std::string cmd = std::string("bash ") + PELTO_SOURCE_DIR + "/scripts/pg-test-server.sh stop " + FDir;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    Registry::SetStoreFile("");
    ::unlink(FRegistry.c_str());
    ::unlink((FRegistry + ".lock").c_str());  // the registry keeps a lock file beside its store
  }

  // The connection string the application forms for its server, on the test database.
  static WideString ConnectionString(const char* password = "pelto")
  {
    return System::AnsiToWide(std::string("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=pelto;Password=") +
                              password + ";Initial Catalog=pelto;Data Source=" + Alias);
  }

private:
  std::string FDir;
  std::string FRegistry;
};
