// A throw-away program folder with a new database opened as the global connection, and the
// message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Database.h"
#include "core/Schema.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/MessageSeam.h"

class CoreFixture : public testing::Test {
protected:
  void SetUp() override
  {
    static int Counter = 0;
    Dir = testing::TempDir() + "core_" + std::to_string(::getpid()) + "_" + std::to_string(++Counter);
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    File = Dir + "/pelto.mdb";
    Schema::CreateJetDatabase(File, "moorvane");
    Box.emplace([this](const AnsiString& Text, const AnsiString&, unsigned) {
      Boxes.push_back(Text);
      return IDOK;
    });
    Database::Initialize();
    ASSERT_TRUE(Database::GlobalDB->Open(ConnectionString()));
  }
  void TearDown() override
  {
    Database::Finalize();
    Box.reset();
    std::filesystem::remove_all(Dir);
  }
  WideString ConnectionString() const
  {
    return System::AnsiToWide("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File +
                              ";Jet OLEDB:Database Password=moorvane;Persist Security Info=True");
  }
  Integer Exec(const AnsiString& Sql, const TDBParameters& Params = {})
  {
    return Database::GlobalDB->ExecSQL(System::AnsiToWide(Sql), Params);
  }

  std::string Dir;
  AnsiString File;
  std::vector<AnsiString> Boxes;
  std::optional<MessageSeam::TScopedMessageBox> Box;
};
