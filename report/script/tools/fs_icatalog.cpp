#include "report/script/tools/fs_icatalog.h"

#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/xml/fs_xml.h"

namespace fs_icatalog {

namespace {

TfsXMLItem* Section(TfsXMLItem* Root, const char* Name)
{
  Integer I = Root->Find(Name);
  if (I >= 0) return Root->GetItems(I);
  TfsXMLItem* X = Root->Add();
  X->SetName(Name);
  return X;
}

TfsXMLItem* AddItem(TfsXMLItem* Parent, const AnsiString& Text)
{
  TfsXMLItem* X = Parent->Add();
  X->SetName("item");
  X->SetText(Text);
  return X;
}

AnsiString MemberText(TfsCustomVariable* M)
{
  if (auto* H = dynamic_cast<TfsMethodHelper*>(M)) {
    if (!H->IsIndexProp) return H->Syntax;
    std::size_t B = H->Syntax.find(' ');
    return "index property" + (B == AnsiString::npos ? AnsiString() : H->Syntax.substr(B));
  }
  if (dynamic_cast<TfsPropertyHelper*>(M)) return "property " + M->Name + ": " + M->KindText();
  return "event " + M->Name;
}

}  // namespace

void BuildScriptCatalog(const TfsScript* Script, TfsXMLItem* Root, bool FunctionsOnly)
{
  TfsXMLItem* Functions = Section(Root, "Functions");
  TfsXMLItem* Classes = Section(Root, "Classes");
  TfsXMLItem* Types = Section(Root, "Types");
  TfsXMLItem* Variables = Section(Root, "Variables");
  TfsXMLItem* Constants = Section(Root, "Constants");
  for (Integer I = 0; I < Script->ItemCount(); ++I) {
    TfsCustomVariable* V = Script->ItemAt(I);
    if (auto* M = dynamic_cast<TfsMethodHelper*>(V)) {
      TfsXMLItem* Cat = Functions->FindItem(M->Category);
      Cat->SetText("text=\"" + M->Category + "\"");
      AddItem(Cat, "text=\"" + M->Syntax + "\" description=\"" + M->Description + "\"");
      continue;
    }
    if (FunctionsOnly) continue;
    if (auto* C = dynamic_cast<TfsClassVariable*>(V)) {
      TfsXMLItem* X = AddItem(Classes, "text=\"" + C->Name + " = class(" + C->AncestorName + ")\"");
      for (Integer K = 0; K < C->MemberCount(); ++K) AddItem(X, "text=\"" + MemberText(C->MemberAt(K)) + "\"");
      continue;
    }
    if (!dynamic_cast<TfsVariable*>(V)) continue;
    if (V->Kind == ikEnum) {
      TfsXMLItem* T = Types->FindItem(V->TypeName);
      if (!SysUtils::SameText(V->Name, V->TypeName))
        T->SetText(T->GetText().empty() ? V->Name : T->GetText() + "," + V->Name);
    } else if (V->IsReadOnly) {
      AddItem(Constants, "text=\"" + V->Name + ": " + V->KindText() + " = " + Variants::VarToStr(V->GetValue()) + "\"");
    } else {
      AddItem(Variables, "text=\"" + V->Name + ": " + V->KindText() + "\"");
    }
  }
  for (Integer I = 0; I < Types->GetCount(); ++I) {
    TfsXMLItem* T = Types->GetItems(I);
    if (SysUtils::SameText(T->GetName(), "item")) continue;
    T->SetText("text=\"" + T->GetName() + ": (" + T->GetText() + ")\"");
    T->SetName("item");
  }
}

}  // namespace fs_icatalog
