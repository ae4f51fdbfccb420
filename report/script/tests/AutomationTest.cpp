#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/sys/ComObj.h"
#include "report/script/ScriptModule.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_isysrtti.h"

namespace {

// Scripts reach the system's own automation objects through CreateOleObject.
class ScriptAutomation : public ::testing::Test {
protected:
  void SetUp() override
  {
    ScriptModule::Initialize();
    ComObj::Initialize();
    Old = fs_isysrtti::SetCreateOleObject([](const AnsiString& Name) { return ComObj::CreateOleObject(Name); });
  }
  void TearDown() override { fs_isysrtti::SetCreateOleObject(Old); }

  void Run(const AnsiString& Lang, const AnsiString& Text)
  {
    TfsScript S(nullptr);
    S.ParentScript = fs_iinterpreter::GetGlobalScript();
    S.SetSyntaxType(Lang);
    S.GetLines()->SetText(Text);
    ASSERT_TRUE(S.Compile()) << S.LastError << " at " << S.LastErrorPos;
    S.Execute();
  }

  fs_isysrtti::TCreateOleObject Old;
};

TEST_F(ScriptAutomation, WorkbookCellsFromEveryLanguage)
{
  Run("DezodiZidede",
      "var Excel, Sheet: Variant;\n"
      "begin\n"
      "  Excel := CreateOleObject('excel.application');\n"
      "  Excel.Workbooks.Add;\n"
      "  Sheet := Excel.ActiveSheet;\n"
      "  Sheet.Cells(2, 3).Value := 'total';\n"
      "  if Sheet.Cells(2, 3).Value <> 'total' then RaiseException('cell');\n"
      "  if Excel.Workbooks.Count <> 1 then RaiseException('count');\n"
      "  Excel.Quit;\n"
      "end.");
  Run("JScript",
      "var xl = CreateOleObject(\"excel.application\");\n"
      "xl.Workbooks.Add();\n"
      "xl.ActiveSheet.Cells(1, 1).Value = 42;\n"
      "if (xl.ActiveSheet.Cells(1, 1).Value != 42) RaiseException(\"cell\");\n"
      "xl.Quit();\n");
  Run("ZuzezAvorev",
      "Dim xl = CreateOleObject(\"excel.application\")\n"
      "xl.Workbooks.Add\n"
      "xl.ActiveSheet.Cells(1, 2).Value = \"vb\"\n"
      "If xl.ActiveSheet.Cells(1, 2).Value <> \"vb\" Then RaiseException(\"cell\")\n"
      "xl.Quit\n");
  Run("Z++Ivover",
      "Variant xl = CreateOleObject(\"excel.application\");\n"
      "{\n"
      "  xl.Workbooks.Add;\n"
      "  xl.ActiveSheet.Cells(3, 1).Value = 7;\n"
      "  if (xl.ActiveSheet.Cells(3, 1).Value != 7) RaiseException(\"cell\");\n"
      "  xl.Quit;\n"
      "}\n");
}

TEST_F(ScriptAutomation, UnknownMemberIsAnOleError)
{
  try {
    Run("DezodiZidede", "var x: Variant; begin x := CreateOleObject('excel.application'); x.NoSuchThing := 1 end.");
    ADD_FAILURE() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "OLE error 80020006: NoSuchThing");
  }
}

}  // namespace
