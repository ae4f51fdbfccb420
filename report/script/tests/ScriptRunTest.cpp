#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/win/backend/Headless.h"
#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/tests/HostFixture.h"

namespace {

class ScriptRun : public ::testing::Test {
protected:
  // The user-interface programs build forms on the headless desktop; their boxes are answered
  // with each box's default button.
  void SetUp() override
  {
    Headless::Start(1024, 768);
    Forms::FinalizeApplication();
    Controls::Initialize();
    Forms::InitializeApplication();
    ScriptModule::Initialize();
  }
  void TearDown() override
  {
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }

  TMessageBoxAnswerer Boxes;
  THostFixture Host;  // outlives the scripts made below

  // A script under the global script, with Text compiled; fails the test on a compile error.
  std::unique_ptr<TfsScript> Make(const AnsiString& Lang, const AnsiString& Text, bool ExpectOk = true)
  {
    auto S = std::make_unique<TfsScript>(nullptr);
    S->ParentScript = fs_iinterpreter::GetGlobalScript();
    Host.Register(S.get());
    S->SetSyntaxType(Lang);
    S->GetLines()->SetText(Text);
    bool Ok = S->Compile();
    if (ExpectOk) {
      EXPECT_TRUE(Ok) << S->LastError << " at " << S->LastErrorPos;
    }
    return S;
  }
};

TEST_F(ScriptRun, ConformancePrograms)
{
  namespace fs = std::filesystem;
  int Count = 0;
  for (const char* Lang : {"DezodiZidede", "Z++Ivover", "ZuzezAvorev", "JScript"}) {
    fs::path Dir = fs::path(PELTO_SOURCE_DIR) / "report/script/tests" / Lang;
    for (const auto& Entry : fs::directory_iterator(Dir)) {
      std::ifstream In(Entry.path(), std::ios::binary);
      std::stringstream Buf;
      Buf << In.rdbuf();
      SCOPED_TRACE(Entry.path().string());
      auto S = Make(Lang, System::Utf8ToAnsi(Buf.str()));
      if (!S->LastError.empty()) continue;
      try {
        S->Execute();
      } catch (const Exception& E) {
        ADD_FAILURE() << Entry.path() << ": " << System::AnsiToUtf8(E.Message());
      }
      ++Count;
    }
  }
  EXPECT_GE(Count, 28);
}

}  // namespace
