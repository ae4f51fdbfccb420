#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "report/script/ScriptModule.h"
#include "report/script/host/fs_idisp.h"
#include "report/script/host/fs_ilate.h"
#include "report/script/interp/fs_iinterpreter.h"
#include "report/script/tests/HostFixture.h"
#include "report/script/tools/fs_icatalog.h"
#include "report/script/tools/fs_itypes.h"
#include "report/script/tools/fs_ivarrecs.h"
#include "report/script/xml/fs_xml.h"

namespace {

// Records the dispatch calls it receives.
class TRecordingAuto : public TDispatchObject {
public:
  struct TCall {
    AnsiString Name;
    int Kind;
    std::size_t Args;
  };
  Variant Invoke(const AnsiString& Name, TDispatchKind Kind, std::vector<Variant>& Args) override
  {
    Calls.push_back({Name, Kind, Args.size()});
    if (SysUtils::SameText(Name, "Workbooks")) return Variant(static_cast<IDispatch*>(this));
    if (SysUtils::SameText(Name, "Fail")) throw EConvertError("inner");
    if (SysUtils::SameText(Name, "Nope")) Variants::RaiseUnknownName(Name);
    return Variant(1);
  }
  std::vector<TCall> Calls;
};

class HostBinding : public ::testing::Test {
protected:
  void SetUp() override { ScriptModule::Initialize(); }

  THostFixture Host;

  std::unique_ptr<TfsScript> Make(const AnsiString& Lang, const AnsiString& Text,
                                  const std::function<void(TfsScript*)>& Prepare = nullptr)
  {
    auto S = std::make_unique<TfsScript>(nullptr);
    S->ParentScript = fs_iinterpreter::GetGlobalScript();
    Host.Register(S.get());
    if (Prepare) Prepare(S.get());
    S->SetSyntaxType(Lang);
    S->GetLines()->SetText(Text);
    EXPECT_TRUE(S->Compile()) << S->LastError << " at " << S->LastErrorPos << " in " << Text;
    return S;
  }

  // Runs Text and answers the message of the run-time error it ends in ("" when none).
  AnsiString RunError(const AnsiString& Lang, const AnsiString& Text)
  {
    auto S = Make(Lang, Text);
    try {
      S->Execute();
    } catch (const Exception& E) {
      return E.Message();
    }
    return "";
  }
};

// Programs that try to reach memory they must not: each ends in a run-time error and leaves
// nothing behind (the sanitizers would report a touch or a leak).
TEST_F(HostBinding, HostileProgramsEndInRunTimeErrors)
{
  struct TCase {
    const char* Lang;
    const char* Text;
    const char* Error;
  } Cases[] = {
      {"DezodiZidede", "begin TStringList(12345).Add('x') end.", "Invalid object reference"},
      {"DezodiZidede", "var sl: TStringList; begin sl := TStringList.Create; sl.Free; sl.Add('x') end.",
       "Object has been freed"},
      {"DezodiZidede", "var sl: TStringList; begin sl := TStringList.Create; sl.Free; sl.Free end.",
       "Object has been freed"},
      {"DezodiZidede", "var sl: TStringList; begin sl.Add('x') end.", "Object reference is nil"},
      {"DezodiZidede",
       "var m: TMemoryStream; s: String; begin m := TMemoryStream.Create; s := 'abc';"
       " try m.Write(s, 4096) finally m.Free end end.",
       "exceeds the buffer"},
      {"DezodiZidede",
       "var m: TMemoryStream; begin m := TMemoryStream.Create; try m.Write('abc', -1) finally m.Free end end.",
       "exceeds the buffer"},
      {"DezodiZidede",
       "var sl: TStringList; begin sl := TStringList.Create; try TMemoryStream(sl).Clear finally sl.Free end end.",
       "Invalid class typecast"},
      {"DezodiZidede",
       "var sl: TStringList; begin sl := TStringList.Create; try sl.LoadFromStream(TStream(777)) finally sl.Free end "
       "end.",
       "Invalid object reference"},
      {"DezodiZidede",
       "var l: TList; sl: TStringList; begin l := TList.Create; sl := TStringList.Create; l.Add(sl); sl.Free;"
       " try TStringList(l[0]).Add('x') finally l.Free end end.",
       "Object has been freed"},
      {"DezodiZidede", "var Clicks: Integer; begin Button.OnClick := 'Clicks' end.",
       "Event handler must be a procedure"},
      {"DezodiZidede", "begin Auto.Nope end.", "OLE error 80020006: Nope"},
      {"DezodiZidede", "begin Button.Free end.", "Cannot free an object the program owns"},
      {"JScript", "var x = 5; x.Add(1);", "Invalid object reference"},
      {"JScript", "var sl = new TStringList; sl.Free(); sl.Add(\"x\");", "Object has been freed"},
      {"ZuzezAvorev", "Dim m = new TMemoryStream\nTry\n  m.Write(\"ab\", 3)\nFinally\n  m.Free\nEnd Try",
       "exceeds the buffer"},
      {"Z++Ivover", "{ TStringList sl = new TStringList; delete sl; delete sl; }", "Object has been freed"},
      {"DezodiZidede",
       "var d: TfsXMLDocument; c: TfsXMLItem; begin d := TfsXMLDocument.Create; c := d.Root.Add; d.Free;"
       " c.Name := 'x' end.",
       "Object has been freed"},
      {"DezodiZidede",
       "var d: TfsXMLDocument; begin d := TfsXMLDocument.Create; try d.Root.Free finally d.Free end end.",
       "Cannot free an object the program owns"},
      {"DezodiZidede",
       "var r, c: TfsXMLItem; begin r := TfsXMLItem.Create; try c := r.Add; r.Clear; c.Add finally r.Free end end.",
       "Object has been freed"},
      {"DezodiZidede",
       "var r, c: TfsXMLItem; begin r := TfsXMLItem.Create; c := r.Add; try c.AddItem(r) finally r.Free end end.",
       "cannot contain itself"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    AnsiString E = RunError(C.Lang, C.Text);
    EXPECT_NE(E.find(C.Error), AnsiString::npos) << E;
  }
}

TEST_F(HostBinding, ObjectsTheProgramOwnsCannotBeFreed)
{
  TStringList Owned;
  auto S = Make("DezodiZidede", "begin Lines.Free end.", [&](TfsScript* S) { S->AddObject("Lines", &Owned); });
  EXPECT_THROW(S->Execute(), EInvalidOperation);
  fs_ihandles::Forget(&Owned);
}

TEST_F(HostBinding, ComponentFreedByItsOwnerLeavesADeadHandle)
{
  auto Owner = std::make_unique<TComponent>(nullptr);
  auto* Child = new THostButton(Owner.get());
  Variant H = fs_ihandles::ToVariant(Child);
  EXPECT_EQ(fs_ihandles::ObjectOf(H), Child);
  Owner.reset();
  EXPECT_THROW(fs_ihandles::ObjectOf(H), EInvalidPointer);
}

TEST_F(HostBinding, ReassigningAnEventFreesThePreviousAdapter)
{
  auto S = Make("DezodiZidede",
                "var n: Integer;\n"
                "procedure A(S: TObject); begin n := n + 1 end;\n"
                "procedure B(S: TObject); begin n := n + 10 end;\n"
                "begin Button.OnClick := 'A'; Button.OnClick := 'B'; Button.OnClick := 'A'; Button.Click end.");
  TfsEventList* L = fs_ievents::GetEventList();
  Integer Before = L->GetCount();
  S->Execute();
  EXPECT_EQ(L->GetCount(), Before + 1);
  EXPECT_EQ(S->FindItem("n")->GetValue().AsInteger(), 1);
  // The script goes: its adapters with it; the host's event then does nothing.
  S.reset();
  EXPECT_EQ(L->GetCount(), Before);
  Host.Button->OnClick(Host.Button.get());
}

TEST_F(HostBinding, FreeRemovesTheAdaptersOfTheObject)
{
  auto S = Make("DezodiZidede",
                "var b: THostButton;\n"
                "procedure A(S: TObject); begin end;\n"
                "begin b := THostButton.Create(nil); b.OnClick := 'A'; b.OnKeyPress := 'A'; b.Free end.");
  Integer Before = fs_ievents::GetEventList()->GetCount();
  S->Execute();
  EXPECT_EQ(fs_ievents::GetEventList()->GetCount(), Before);
}

TEST_F(HostBinding, AnEventFiredInsideItsOwnHandlerIsIgnored)
{
  auto S = Make("DezodiZidede",
                "var n: Integer;\n"
                "procedure A(S: TObject); begin n := n + 1; Button.Click end;\n"
                "begin Button.OnClick := 'A'; Button.Click end.");
  S->Execute();
  EXPECT_EQ(S->FindItem("n")->GetValue().AsInteger(), 1);
}

TEST_F(HostBinding, CloseQueryAndCanResizeWriteTheirVarArgumentsBack)
{
  auto S =
      Make("DezodiZidede",
           "procedure Q(S: TObject; var CanClose: Boolean); begin CanClose := False end;\n"
           "procedure R(S: TObject; var W, H: Integer; var Resize: Boolean); begin W := W * 2; Resize := False end;\n"
           "begin end.");
  auto* Q = dynamic_cast<TfsProcVariable*>(S->FindItem("Q"));
  auto* R = dynamic_cast<TfsProcVariable*>(S->FindItem("R"));
  TfsCloseQueryEvent QA(Host.Button.get(), Q);
  TfsCanResizeEvent RA(Host.Button.get(), R);
  bool CanClose = true;
  std::any_cast<TfsCloseQueryEventProc>(QA.GetMethod())(Host.Button.get(), CanClose);
  EXPECT_FALSE(CanClose);
  Integer W = 10, H = 5;
  bool Resize = true;
  std::any_cast<TfsCanResizeEventProc>(RA.GetMethod())(Host.Button.get(), W, H, Resize);
  EXPECT_EQ(W, 20);
  EXPECT_EQ(H, 5);
  EXPECT_FALSE(Resize);
}

TEST_F(HostBinding, AutomationCallsUseTheRightKinds)
{
  auto* A = new TRecordingAuto;
  Variant Keep(static_cast<IDispatch*>(A));
  auto S = Make("DezodiZidede",
                "var x: Variant; begin Excel.Visible := True; Excel.Workbooks.Add; x := Excel.Workbooks.Add(1, 2) end.",
                [&](TfsScript* S) { S->AddVariable("Excel", "Variant", Keep); });
  S->Execute();
  ASSERT_EQ(A->Calls.size(), 5u);
  EXPECT_EQ(A->Calls[0].Name, "Visible");
  EXPECT_EQ(A->Calls[0].Kind, dkPropertyPut);
  EXPECT_EQ(A->Calls[0].Args, 1u);
  EXPECT_EQ(A->Calls[1].Kind, dkMethod | dkPropertyGet);
  EXPECT_EQ(A->Calls[2].Name, "Add");
  EXPECT_EQ(A->Calls[2].Kind, dkMethod);  // a statement wants no result
  EXPECT_EQ(A->Calls[4].Kind, dkMethod | dkPropertyGet);
  EXPECT_EQ(A->Calls[4].Args, 2u);

  std::vector<Variant> Many(fs_idisp::MaxArgs + 1, Variant(0));
  EXPECT_THROW(fs_idisp::Call(Keep, "Add", dkMethod, Many), Exception);
  EXPECT_EQ(A->Calls.size(), 5u);  // refused before the object
  std::vector<Variant> None;
  try {
    fs_idisp::Call(Keep, "Fail", dkMethod, None);
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "OLE error 80020009: Fail");
  }
}

TEST_F(HostBinding, ClassesCompareByInheritance)
{
  TfsScript* G = fs_iinterpreter::GetGlobalScript();
  EXPECT_TRUE(fs_itypes::ClassInherits("TStrings", "TStringList", G));
  EXPECT_TRUE(fs_itypes::ClassInherits("TObject", "TMemoryStream", G));
  EXPECT_FALSE(fs_itypes::ClassInherits("TStringList", "TStrings", G));
  EXPECT_TRUE(fs_itypes::TypesCompatible(ikClass, "TPersistent", ikClass, "TComponent", G));
  EXPECT_FALSE(fs_itypes::TypesCompatible(ikClass, "TComponent", ikClass, "TPersistent", G));
  auto* C = G->FindClassItem("TStringList");
  ASSERT_NE(C, nullptr);
  EXPECT_NE(C->FindMember("text"), nullptr);  // found in the ancestor TStrings, case ignored
  EXPECT_EQ(C->FindMember("NoSuchMember"), nullptr);
}

TEST_F(HostBinding, CastChecksTheClassAndKeepsTheObject)
{
  auto S = Make("DezodiZidede",
                "var sl: TStringList; o: TObject; ok: Boolean;\n"
                "begin sl := TStringList.Create; o := sl; ok := TStrings(o) = sl; sl.Free end.");
  S->Execute();
  EXPECT_TRUE(S->FindItem("ok")->GetValue().AsBoolean());
}

}  // namespace

namespace {

TEST(ScriptTools, PositionToPoint)
{
  fs_itypes::TfsPoint P = fs_itypes::PositionToPoint("12:5");
  EXPECT_EQ(P.X, 5);
  EXPECT_EQ(P.Y, 12);
  P = fs_itypes::PositionToPoint("");
  EXPECT_EQ(P.X, 0);
  EXPECT_EQ(P.Y, 0);
  EXPECT_THROW(fs_itypes::PositionToPoint("12"), EConvertError);
}

TEST(ScriptTools, CatalogListsFunctionsClassesTypesVariablesAndConstants)
{
  ScriptModule::Initialize();
  TfsScript S(nullptr);
  S.ParentScript = fs_iinterpreter::GetGlobalScript();
  S.AddMethod("function Twice(x: Integer): Integer", nullptr, "ctMath", "doubles");
  TfsClassVariable* C = S.AddClass(THostButton::StaticClass(), "TComponent");
  C->AddIndexProperty("Cells", "Integer, Integer", "String", nullptr);
  C->AddEvent("OnClick", fsMakeEvent<TfsNotifyEvent>);
  S.AddEnum("TPlace", "plLeft, plRight");
  S.AddConst("Answer", "Integer", Variant(42));
  S.AddVariable("Name", "String", Variant(AnsiString("x")));

  TfsXMLItem Root;
  fs_icatalog::BuildScriptCatalog(&S, &Root, false);
  auto Texts = [&](const char* Section) {
    std::vector<AnsiString> R;
    TfsXMLItem* X = Root.FindItem(Section);
    for (Integer I = 0; I < X->GetCount(); ++I) R.push_back(X->GetItems(I)->GetText());
    return R;
  };
  TfsXMLItem* Math = Root.FindItem("Functions")->FindItem("ctMath");
  EXPECT_EQ(Math->GetText(), "text=\"ctMath\"");
  ASSERT_EQ(Math->GetCount(), 1);
  EXPECT_EQ(Math->GetItems(0)->GetText(), "text=\"function Twice(x: Integer): Integer\" description=\"doubles\"");
  ASSERT_EQ(Texts("Classes").size(), 1u);
  EXPECT_EQ(Texts("Classes")[0], "text=\"THostButton = class(TComponent)\"");
  TfsXMLItem* Members = Root.FindItem("Classes")->GetItems(0);
  std::vector<AnsiString> M;
  for (Integer I = 0; I < Members->GetCount(); ++I) M.push_back(Members->GetItems(I)->GetText());
  EXPECT_NE(std::find(M.begin(), M.end(), "text=\"property Caption: String\""), M.end());
  EXPECT_NE(std::find(M.begin(), M.end(), "text=\"property Enabled: Boolean\""), M.end());
  EXPECT_NE(std::find(M.begin(), M.end(), "text=\"index property Cells(p0: Integer; p1: Integer): String\""), M.end());
  EXPECT_EQ(M.back(), "text=\"event OnClick\"");
  EXPECT_EQ(Texts("Types"), std::vector<AnsiString>{"text=\"TPlace: (plLeft,plRight)\""});
  EXPECT_EQ(Texts("Constants"), std::vector<AnsiString>{"text=\"Answer: Integer = 42\""});
  EXPECT_EQ(Texts("Variables"), std::vector<AnsiString>{"text=\"Name: String\""});
}

}  // namespace

namespace {

TEST(ScriptTools, VarRecsRoundTrip)
{
  Variant A = Variants::VarArrayOf({Variant(7), Variant(static_cast<long long>(12345678901LL)), Variant(2.5),
                                    Variant(AnsiString(300, 'x')), Variant(true), Variant::Null()});
  fs_ivarrecs::TfsVarRecs R(A);
  ASSERT_EQ(R.Recs().size(), 6u);
  EXPECT_EQ(fs_ivarrecs::VarRecToVariant(R.Recs()[0]).AsInteger(), 7);
  EXPECT_EQ(fs_ivarrecs::VarRecToVariant(R.Recs()[1]).AsInt64(), 12345678901LL);
  EXPECT_EQ(fs_ivarrecs::VarRecToVariant(R.Recs()[2]).AsDouble(), 2.5);
  EXPECT_EQ(fs_ivarrecs::VarRecToVariant(R.Recs()[3]).AsString().size(), 300u);  // not cut at 255
  EXPECT_TRUE(fs_ivarrecs::VarRecToVariant(R.Recs()[4]).AsBoolean());
  EXPECT_TRUE(fs_ivarrecs::VarRecToVariant(R.Recs()[5]).IsNull());
  EXPECT_EQ(fs_ivarrecs::VarRecToVariant(TVarRec(Currency::FromRaw(15000))).AsCurrency().Raw, 15000);
  EXPECT_TRUE(fs_ivarrecs::VarRecToVariant(TVarRec(static_cast<void*>(&R))).IsNull());
  EXPECT_TRUE(fs_ivarrecs::TfsVarRecs(Variant(5)).Recs().empty());
}

}  // namespace

namespace {

// A member of a Variant that holds nothing at compile time is bound when it is first reached, to
// the class of the object the Variant holds then; a first use that cannot be bound raises and is
// tried again at the next one.
TEST_F(HostBinding, MembersOfAVariantAreBoundAtTheirFirstUse)
{
  auto S = Make("DezodiZidede",
                "var v: Variant; i: Integer; Log: String;\r\n"
                "procedure Put(o: Variant; s: String); begin o.Caption := s end;\r\n"
                "begin\r\n"
                "  for i := 1 to 2 do begin\r\n"
                "    try v.Width := 40 + i except Log := Log + 'unbound;' end;\r\n"
                "    v := Button;\r\n"
                "  end;\r\n"
                "  with v do Caption := Caption + 'with';\r\n"
                "  Put(Button, Button.Caption + ' param');\r\n"
                "end.");
  S->Execute();
  EXPECT_EQ(Host.Button->Width, 42);
  EXPECT_EQ(Host.Button->Caption, "with param");
  EXPECT_EQ(Variants::VarToStr(S->FindItem("Log")->GetValue()), "unbound;");

  struct TCase {
    const char* Text;
    const char* Error;
  } Cases[] = {
      {"var v: Variant; begin v := TStringList.Create; try v.Nothing := 1 finally v.Free end end.",
       "Undeclared identifier: 'Nothing'"},
      {"var v: Variant; begin v := TStringList.Create; try v.Count := 3 finally v.Free end end.",
       "Left side cannot be assigned to"},
      {"var v: Variant; begin v.Add('x') end.", "Object reference is nil"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(RunError("DezodiZidede", C.Text), C.Error) << C.Text;

  // Bound deep in a recursion, the member's argument declares a new local ("fresh"); the
  // activations below keep their own parameter.
  auto J = Make("JScript",
                "var total = 0, sl = new TStringList;\r\n"
                "function Walk(n) {\r\n"
                "  var o = sl;\r\n"
                "  if (n == 2) o.Add(fresh);\r\n"
                "  if (n > 0) Walk(n - 1);\r\n"
                "  total = total + n;\r\n"
                "  return n;\r\n"
                "}\r\n"
                "Walk(4);\r\n"
                "sl.Free();\r\n");
  J->Execute();
  EXPECT_EQ(J->FindItem("total")->GetValue().AsInteger(), 10);
}

}  // namespace
