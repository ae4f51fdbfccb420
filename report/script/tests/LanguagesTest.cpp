#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "report/script/ScriptModule.h"
#include "report/script/parser/fs_iilparser.h"
#include "report/script/parser/fs_iparser.h"
#include "report/script/tools/fs_itools.h"
#include "report/script/xml/fs_xml.h"

namespace {

class ScriptLanguages : public ::testing::Test {
protected:
  void SetUp() override { ScriptModule::Initialize(); }
};

TEST_F(ScriptLanguages, UnknownLanguagesAndLateRegistrations)
{
  try {
    fs_itools::GetLanguageDefinition("Lua");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Language 'Lua' not found");
  }
  AnsiString Before = fs_itools::GetLanguageDefinition("DezodiZidede");
  fs_itools::RegisterLanguage("dezodizidede", "<?xml?><language/>");
  EXPECT_EQ(fs_itools::GetLanguageDefinition("DEZODIZIDEDE"), Before);

  TStringList L;
  L.Add("stale");
  fs_itools::GetLanguageList(&L);
  EXPECT_EQ(L.GetCommaText(), "JScript,ZuzezAvorev,Z++Ivover,DezodiZidede");
}

TEST_F(ScriptLanguages, GrammarsConfigureTheLexer)
{
  struct Case {
    const char* Lang;
    const char* Quotes;
    const char* Hex;
    const char* Line1;
    const char* Line2;
    const char* Block1;
    bool SkipEOL;
    const char* SkipChar;
    bool DeclareVars;
    int Keywords;
  } Cases[] = {
      {"DezodiZidede", "'", "$", "//", "", "{,}", true, "", true, 40},
      {"Z++Ivover", "\"", "0x", "//", "", "/*,*/", true, "", true, 19},
      {"ZuzezAvorev", "\"", "0x", "'", "rem", "/\\,/\\", false, "_", false, 40},
      {"JScript", "\"", "0x", "//", "", "/*,*/", true, "", false, 22},
  };
  for (const Case& C : Cases) {
    TfsILParser P;
    P.LoadLanguage(C.Lang);
    TfsParser* L = P.GetLexer();
    EXPECT_EQ(L->GetStringQuotes(), C.Quotes) << C.Lang;
    EXPECT_EQ(L->GetHexSequence(), C.Hex) << C.Lang;
    EXPECT_EQ(L->GetCommentLine1(), C.Line1) << C.Lang;
    EXPECT_EQ(L->GetCommentLine2(), C.Line2) << C.Lang;
    EXPECT_EQ(L->GetCommentBlock1(), C.Block1) << C.Lang;
    EXPECT_EQ(L->GetSkipEOL(), C.SkipEOL) << C.Lang;
    EXPECT_EQ(L->GetSkipChar(), C.SkipChar) << C.Lang;
    EXPECT_EQ(P.GetNeedDeclareVars(), C.DeclareVars) << C.Lang;
    EXPECT_EQ(L->GetKeywords()->GetCount(), C.Keywords) << C.Lang;
  }
}

const TfsXMLItem* Child(const TfsXMLItem* I, const char* Name)
{
  Integer K = I->Find(Name);
  EXPECT_GE(K, 0) << Name;
  return K >= 0 ? I->GetItems(K) : I;
}

TEST_F(ScriptLanguages, TypeAliasesAndErrorTables)
{
  TfsILParser P;
  P.LoadLanguage("Z++Ivover");
  const TfsXMLItem* Root = P.GetGrammar()->GetRoot();
  const TfsXMLItem* Types = Child(Root, "types");
  AnsiString Aliases;
  for (Integer I = 0; I < Types->GetCount(); ++I)
    Aliases += Types->GetItems(I)->GetName() + "=" + Types->GetItems(I)->Prop("type") + " ";
  EXPECT_EQ(Aliases, "int=integer long=integer void=integer bool=boolean float=extended ");
  const TfsXMLItem* Errors = Child(Child(Root, "parser"), "errors");
  EXPECT_EQ(Child(Errors, "err20")->Prop("text"), "'>' expected");
  EXPECT_EQ(Errors->Find("err15"), -1);

  P.LoadLanguage("ZuzezAvorev");
  Root = P.GetGrammar()->GetRoot();
  Errors = Child(Child(Root, "parser"), "errors");
  EXPECT_EQ(Errors->GetCount(), 28);
  EXPECT_EQ(Child(Errors, "err28")->Prop("text"), "'IF' expected");
  EXPECT_EQ(Child(Child(Root, "types"), "decimal")->Prop("type"), "extended");
}

TEST_F(ScriptLanguages, AMissingProductionFailsOnlyWhenReached)
{
  fs_itools::RegisterLanguage("Broken",
                              "<?xml version=\"1.0\"?><language><parser/><types/>"
                              "<program><switch><keyword text=\"a\"/><nowhere/></switch></program></language>");
  TfsILParser P;
  P.LoadLanguage("Broken");
  EXPECT_TRUE(P.BuildIntermediate("a"));
  try {
    P.BuildIntermediate("b");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Invalid language definition");
  }
  // Back to the four built-in languages.
  ScriptModule::Finalize();
  ScriptModule::Initialize();
  EXPECT_THROW(fs_itools::GetLanguageDefinition("Broken"), Exception);
}

}  // namespace
