#include "report/script/lib/fs_iclassesrtti.h"

#include <algorithm>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Persistent.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_ievents.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/host/fs_ilate.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_iparams.h"
#include "report/script/xml/fs_xml.h"

namespace fs_iclassesrtti {

namespace {

using namespace fs_iparams;

int RegistrarTag;  // the library's registrar stamp

Variant Handle(void* Ptr) { return fs_ihandles::ToVariant(static_cast<TObject*>(Ptr)); }

// The stream's bytes from its position on, at most Count of them.
Int64 Readable(TStream* S, Int64 Count)
{
  Int64 Left = S->GetSize() - S->GetPosition();
  return std::max<Int64>(0, std::min(Count, Left));
}

// The handles of what Obj owns die before Obj frees or clears it.
void ReleaseOwned(TObject* Obj)
{
  std::vector<TfsXMLItem*> Work;
  if (auto* X = dynamic_cast<TfsXMLItem*>(Obj)) Work.push_back(X);
  if (auto* D = dynamic_cast<TfsXMLDocument*>(Obj); D && D->GetRoot()) {
    fs_ihandles::ReleasedWithOwner(D->GetRoot());
    Work.push_back(D->GetRoot());
  }
  while (!Work.empty()) {
    TfsXMLItem* X = Work.back();
    Work.pop_back();
    for (Integer I = 0; I < X->GetCount(); ++I) {
      fs_ihandles::ReleasedWithOwner(X->GetItems(I));
      Work.push_back(X->GetItems(I));
    }
  }
  if (auto* C = dynamic_cast<TCollection*>(Obj))
    for (int I = 0; I < C->GetCount(); ++I) fs_ihandles::ReleasedWithOwner(C->GetItem(I));
}

// An item to be taken into Parent: one of Parent's own ancestors would make a cycle.
TfsXMLItem* Adoptable(TfsXMLItem* Item, TfsXMLItem* Parent)
{
  for (TfsXMLItem* P = Parent; P; P = P->GetParent())
    if (P == Item) throw EInvalidOperation("An XML item cannot contain itself");
  return Item;
}

Variant Construct(const void* ClassType, const Variant& Params)
{
  auto* C = static_cast<const TMetaClass*>(ClassType);
  TObject* O;
  if (C->InheritsFrom(FileStreamClass())) {
    Word Mode = static_cast<Word>(Int(Params, 1));
    O = new TFileStream(Str(Params, 0), Mode == 0xFFFF ? fmCreate : Mode);
  } else if (C->InheritsFrom(TComponent::StaticClass())) {
    O = C->Create(Variants::VarArrayHighBound(Params, 1) >= 0 ? Obj<TComponent>(Params, 0) : nullptr);
  } else {
    if (!C->CanCreate()) throw EInvalidOperation("Cannot create an instance of " + C->ClassName());
    O = C->Create(nullptr);
  }
  return fs_ihandles::Adopt(O);
}

}  // namespace

const TMetaClass* XMLItemClass()
{
  static const TMetaClass* C =
      new TMetaClass("TfsXMLItem", TypInfo::ObjectClass(), [](TObject*) -> TObject* { return new TfsXMLItem; });
  return C;
}

const TMetaClass* XMLDocumentClass()
{
  static const TMetaClass* C =
      new TMetaClass("TfsXMLDocument", TypInfo::ObjectClass(), [](TObject*) -> TObject* { return new TfsXMLDocument; });
  return C;
}

const TMetaClass* ListClass()
{
  static const TMetaClass* C =
      new TMetaClass("TList", TypInfo::ObjectClass(), [](TObject*) -> TObject* { return new TList; });
  return C;
}

const TMetaClass* StreamClass()
{
  static const TMetaClass* C = new TMetaClass("TStream", TypInfo::ObjectClass(), nullptr);
  return C;
}

const TMetaClass* FileStreamClass()
{
  static const TMetaClass* C = new TMetaClass("TFileStream", StreamClass(), nullptr);
  return C;
}

const TMetaClass* MemoryStreamClass()
{
  static const TMetaClass* C =
      new TMetaClass("TMemoryStream", StreamClass(), [](TObject*) -> TObject* { return new TMemoryStream; });
  return C;
}

void Register(TfsScript* S)
{
  S->Registrar = &RegistrarTag;
  for (auto [Name, Value] : std::initializer_list<std::pair<const char*, Integer>>{{"fmCreate", 65535},
                                                                                   {"fmOpenRead", 0},
                                                                                   {"fmOpenWrite", 1},
                                                                                   {"fmOpenReadWrite", 2},
                                                                                   {"fmShareExclusive", 16},
                                                                                   {"fmShareDenyWrite", 32},
                                                                                   {"fmShareDenyNone", 64},
                                                                                   {"soFromBeginning", 0},
                                                                                   {"soFromCurrent", 1},
                                                                                   {"soFromEnd", 2}})
    S->AddConst(Name, "Integer", Variant(Value));
  S->AddEnum("TDuplicates", "dupIgnore, dupAccept, dupError");

  // TObject
  TfsClassVariable* C = S->AddClass(TypInfo::ObjectClass(), "", fsIsInstance<TObject>);
  C->AddConstructor("constructor Create", [](TObject*, const void* Class, const AnsiString&, Variant& Params) {
    return Construct(Class, Params);
  });
  C->AddMethod("procedure Free", [S](TObject* Instance, const void*, const AnsiString&, Variant&) {
    if (!Instance) return Variant(0);
    // The program still holds what it handed in.
    if (!fs_ihandles::CreatedByScript(Instance)) throw EInvalidOperation("Cannot free an object the program owns");
    if (TfsEventList* L = fs_ievents::GetEventList()) L->RemoveObject(Instance);
    ReleaseOwned(Instance);
    fs_ihandles::Released(Instance);
    delete Instance;
    return Variant(0);
  });
  C->AddMethod("function ClassName: String", [S](TObject* Instance, const void*, const AnsiString&, Variant&) {
    // Classes of the type information know their name; the run-time library's ask the registry.
    if (TClass T = TypInfo::ClassTypeOf(Instance); T && T != TypInfo::ObjectClass()) return Variant(T->ClassName());
    TfsClassVariable* K = fs_ilate::FindClassOf(S, Instance);
    return Variant(K ? K->Name : AnsiString(Instance->ClassName()));
  });

  // TPersistent
  C = S->AddClass(TPersistent::StaticClass(), "TObject", fsIsInstance<TPersistent>);
  C->AddMethod("procedure Assign(Source: TPersistent)",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 Self<TPersistent>(Instance)->Assign(Obj<TPersistent>(Params, 0));
                 return Variant(0);
               });

  // TCollectionItem, TCollection
  S->AddClass(TCollectionItem::StaticClass(), "TPersistent", fsIsInstance<TCollectionItem>);
  C = S->AddClass(TCollection::StaticClass(), "TPersistent", fsIsInstance<TCollection>);
  C->AddMethod("procedure Clear", [](TObject* Instance, const void*, const AnsiString&, Variant&) {
    ReleaseOwned(Self<TCollection>(Instance));
    Self<TCollection>(Instance)->Clear();
    return Variant(0);
  });
  C->AddProperty("Count", "Integer", [](TObject* Instance, const void*, const AnsiString&) {
    return Variant(Self<TCollection>(Instance)->GetCount());
  });
  C->AddDefaultProperty(
      "Items", "Integer", "TCollectionItem",
      [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
        return fs_ihandles::ToVariant(Self<TCollection>(Instance)->GetItem(Int(Params, 0)));
      },
      true);

  // TList
  C = S->AddClass(ListClass(), "TObject", fsIsInstance<TList>);
  C->AddMethod("function Add(Item: TObject): Integer",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 return Variant(Self<TList>(Instance)->Add(Obj<TObject>(Params, 0)));
               });
  C->AddMethod("procedure Clear", [](TObject* Instance, const void*, const AnsiString&, Variant&) {
    Self<TList>(Instance)->Clear();
    return Variant(0);
  });
  C->AddMethod("procedure Delete(Index: Integer)",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 Self<TList>(Instance)->Delete(Int(Params, 0));
                 return Variant(0);
               });
  C->AddMethod("function IndexOf(Item: TObject): Integer",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 return Variant(Self<TList>(Instance)->IndexOf(Obj<TObject>(Params, 0)));
               });
  C->AddMethod("procedure Insert(Index: Integer; Item: TObject)",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 Self<TList>(Instance)->Insert(Int(Params, 0), Obj<TObject>(Params, 1));
                 return Variant(0);
               });
  C->AddMethod("function Remove(Item: TObject): Integer",
               [](TObject* Instance, const void*, const AnsiString&, Variant& Params) {
                 return Variant(Self<TList>(Instance)->Remove(Obj<TObject>(Params, 0)));
               });
  C->AddProperty("Count", "Integer", [](TObject* Instance, const void*, const AnsiString&) {
    return Variant(Self<TList>(Instance)->GetCount());
  });
  C->AddDefaultProperty("Items", "Integer", "TObject",
                        [](TObject* Instance, const void*, const AnsiString& Name, Variant& Params) {
                          auto* L = Self<TList>(Instance);
                          if (Name == "ITEMS.GET") return Handle(L->GetItems(Int(Params, 0)));
                          L->SetItems(Int(Params, 0), Obj<TObject>(Params, 1));
                          return Variant(0);
                        });

  // TStrings
  C = S->AddClass(TypInfo::TypeInfo<TStrings*>()->ClassType, "TPersistent", fsIsInstance<TStrings>);
  auto Strs = [](TObject* I) { return Self<TStrings>(I); };
  // The run-time library's string lists are no persistent objects: they assign among themselves.
  C->AddMethod("procedure Assign(Source: TPersistent)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->Assign(NonNil<TStrings>(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod(
      "function Add(const S: string): Integer",
      [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) { return Variant(Strs(I)->Add(Str(Pr, 0))); });
  C->AddMethod("function AddObject(const S: string; AObject: TObject): Integer",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return Variant(Strs(I)->AddObject(Str(Pr, 0), Obj<TObject>(Pr, 1)));
               });
  C->AddMethod("procedure Clear", [Strs](TObject* I, const void*, const AnsiString&, Variant&) {
    Strs(I)->Clear();
    return Variant(0);
  });
  C->AddMethod("procedure Delete(Index: Integer)", [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    Strs(I)->Delete(Int(Pr, 0));
    return Variant(0);
  });
  C->AddMethod("function IndexOf(const S: string): Integer",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return Variant(Strs(I)->IndexOf(Str(Pr, 0)));
               });
  C->AddMethod("function IndexOfName(const Name: string): Integer",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return Variant(Strs(I)->IndexOfName(Str(Pr, 0)));
               });
  C->AddMethod("function IndexOfObject(AObject: TObject): Integer",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return Variant(Strs(I)->IndexOfObject(Obj<TObject>(Pr, 0)));
               });
  C->AddMethod("procedure Insert(Index: Integer; const S: string)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->Insert(Int(Pr, 0), Str(Pr, 1));
                 return Variant(0);
               });
  C->AddMethod("procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->InsertObject(Int(Pr, 0), Str(Pr, 1), Obj<TObject>(Pr, 2));
                 return Variant(0);
               });
  C->AddMethod("procedure LoadFromFile(const FileName: string)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->LoadFromFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure LoadFromStream(Stream: TStream)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->LoadFromStream(NonNil<TStream>(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToFile(const FileName: string)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->SaveToFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToStream(Stream: TStream)",
               [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Strs(I)->SaveToStream(NonNil<TStream>(Pr, 0));
                 return Variant(0);
               });
  C->AddProperty(
      "CommaText", "string",
      [Strs](TObject* I, const void*, const AnsiString&) { return Variant(Strs(I)->GetCommaText()); },
      [Strs](TObject* I, const void*, const AnsiString&, const Variant& V) {
        Strs(I)->SetCommaText(Variants::VarToStr(V));
      });
  C->AddProperty("Count", "Integer",
                 [Strs](TObject* I, const void*, const AnsiString&) { return Variant(Strs(I)->GetCount()); });
  C->AddIndexProperty(
      "Names", "Integer", "string",
      [Strs](TObject* I, const void*, const AnsiString&, Variant& Pr) {
        return Variant(Strs(I)->GetNames(Int(Pr, 0)));
      },
      true);
  C->AddIndexProperty("Objects", "Integer", "TObject",
                      [Strs](TObject* I, const void*, const AnsiString& Name, Variant& Pr) {
                        if (Name == "OBJECTS.GET") return fs_ihandles::ToVariant(Strs(I)->GetObjects(Int(Pr, 0)));
                        Strs(I)->SetObjects(Int(Pr, 0), Obj<TObject>(Pr, 1));
                        return Variant(0);
                      });
  C->AddIndexProperty("Values", "String", "string",
                      [Strs](TObject* I, const void*, const AnsiString& Name, Variant& Pr) {
                        if (Name == "VALUES.GET") return Variant(Strs(I)->GetValues(Str(Pr, 0)));
                        Strs(I)->SetValues(Str(Pr, 0), Str(Pr, 1));
                        return Variant(0);
                      });
  C->AddDefaultProperty("Strings", "Integer", "string",
                        [Strs](TObject* I, const void*, const AnsiString& Name, Variant& Pr) {
                          if (Name == "STRINGS.GET") return Variant(Strs(I)->GetStrings(Int(Pr, 0)));
                          Strs(I)->SetStrings(Int(Pr, 0), Str(Pr, 1));
                          return Variant(0);
                        });
  C->AddProperty(
      "Text", "string", [Strs](TObject* I, const void*, const AnsiString&) { return Variant(Strs(I)->GetText()); },
      [Strs](TObject* I, const void*, const AnsiString&, const Variant& V) {
        Strs(I)->SetText(Variants::VarToStr(V));
      });

  // TStringList
  C = S->AddClass(TypInfo::TypeInfo<TStringList*>()->ClassType, "TStrings", fsIsInstance<TStringList>);
  auto SL = [](TObject* I) { return Self<TStringList>(I); };
  C->AddMethod("function Find(s: String; var Index: Integer): Boolean",
               [SL](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Integer Index = 0;
                 bool Found = SL(I)->Find(Str(Pr, 0), Index);
                 Variants::VarArrayPut(Pr, Variant(Index), {1});
                 return Variant(Found);
               });
  C->AddMethod("procedure Sort", [SL](TObject* I, const void*, const AnsiString&, Variant&) {
    SL(I)->Sort();
    return Variant(0);
  });
  C->AddProperty(
      "Duplicates", "TDuplicates",
      [SL](TObject* I, const void*, const AnsiString&) {
        return Variant(static_cast<Integer>(SL(I)->GetDuplicates()));
      },
      [SL](TObject* I, const void*, const AnsiString&, const Variant& V) {
        Integer D = V.AsInteger();
        if (D < dupIgnore || D > dupError) throw ERangeError("Duplicates out of range");
        SL(I)->SetDuplicates(static_cast<TDuplicates>(D));
      });
  C->AddProperty(
      "Sorted", "Boolean", [SL](TObject* I, const void*, const AnsiString&) { return Variant(SL(I)->GetSorted()); },
      [SL](TObject* I, const void*, const AnsiString&, const Variant& V) { SL(I)->SetSorted(V.AsBoolean()); });

  // TStream
  C = S->AddClass(StreamClass(), "TObject", fsIsInstance<TStream>);
  auto St = [](TObject* I) { return Self<TStream>(I); };
  C->AddMethod("function Read(var Buffer: string; Count: Longint): Longint",
               [St](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Integer Count = Int(Pr, 1);
                 if (Count < 0) throw EReadError("Stream read count is negative");
                 TStream* Stream = St(I);
                 // No more room than the stream can fill: a huge count must not take the memory.
                 AnsiString Buf(static_cast<std::size_t>(Readable(Stream, Count)), '\0');
                 Int64 Got = Buf.empty() ? 0 : Stream->Read(Buf.data(), static_cast<Int64>(Buf.size()));
                 Buf.resize(static_cast<std::size_t>(Got));
                 Variants::VarArrayPut(Pr, Variant(Buf), {0});
                 return Variant(static_cast<Integer>(Got));
               });
  C->AddMethod("function Write(Buffer: string; Count: Longint): Longint",
               [St](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 AnsiString Buf = Str(Pr, 0);
                 Integer Count = Int(Pr, 1);
                 // Bytes beyond the text are not the script's to write.
                 if (Count < 0 || static_cast<std::size_t>(Count) > Buf.size())
                   throw EWriteError("Stream write count " + std::to_string(Count) + " exceeds the buffer of " +
                                     std::to_string(Buf.size()) + " bytes");
                 return Variant(static_cast<Integer>(St(I)->Write(Buf.data(), Count)));
               });
  C->AddMethod("function Seek(Offset: Longint; Origin: Word): Longint",
               [St](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Integer Origin = Int(Pr, 1);
                 if (Origin < 0 || Origin > 2) throw EStreamError("Invalid seek origin");
                 return Variant(St(I)->Seek(Int(Pr, 0), static_cast<TSeekOrigin>(Origin)));
               });
  C->AddMethod("function CopyFrom(Source: TStream; Count: Longint): Longint",
               [St](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return Variant(St(I)->CopyFrom(NonNil<TStream>(Pr, 0), P(Pr, 1).AsInt64()));
               });
  C->AddProperty(
      "Position", "Longint", [St](TObject* I, const void*, const AnsiString&) { return Variant(St(I)->GetPosition()); },
      [St](TObject* I, const void*, const AnsiString&, const Variant& V) { St(I)->SetPosition(V.AsInt64()); });
  C->AddProperty("Size", "Longint",
                 [St](TObject* I, const void*, const AnsiString&) { return Variant(St(I)->GetSize()); });

  // TFileStream
  C = S->AddClass(FileStreamClass(), "TStream", fsIsInstance<TFileStream>);
  C->AddConstructor("constructor Create(Filename: String; Mode: Word)",
                    [](TObject*, const void* Class, const AnsiString&, Variant& Pr) { return Construct(Class, Pr); });

  // TMemoryStream
  C = S->AddClass(MemoryStreamClass(), "TStream", fsIsInstance<TMemoryStream>);
  auto MS = [](TObject* I) { return Self<TMemoryStream>(I); };
  C->AddMethod("procedure Clear", [MS](TObject* I, const void*, const AnsiString&, Variant&) {
    MS(I)->Clear();
    return Variant(0);
  });
  C->AddMethod("procedure LoadFromStream(Stream: TStream)",
               [MS](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 MS(I)->LoadFromStream(NonNil<TStream>(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure LoadFromFile(Filename: String)",
               [MS](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 MS(I)->LoadFromFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToStream(Stream: TStream)",
               [MS](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 MS(I)->SaveToStream(NonNil<TStream>(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToFile(Filename: String)", [MS](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    MS(I)->SaveToFile(Str(Pr, 0));
    return Variant(0);
  });

  // TComponent
  C = S->AddClass(TComponent::StaticClass(), "TPersistent", fsIsInstance<TComponent>);
  C->AddConstructor("constructor Create(AOwner: TComponent)",
                    [](TObject*, const void* Class, const AnsiString&, Variant& Pr) { return Construct(Class, Pr); });
  C->AddProperty("Owner", "TComponent", [](TObject* I, const void*, const AnsiString&) {
    return fs_ihandles::ToVariant(Self<TComponent>(I)->GetOwner());
  });
  // TfsXMLItem: an item handed to a parent belongs to it; the script frees only what it made.
  C = S->AddClass(XMLItemClass(), "TObject", fsIsInstance<TfsXMLItem>);
  auto X = [](TObject* I) { return Self<TfsXMLItem>(I); };
  C->AddConstructor("constructor Create",
                    [](TObject*, const void* Class, const AnsiString&, Variant& Pr) { return Construct(Class, Pr); });
  C->AddMethod("procedure AddItem(Item: TfsXMLItem)", [X](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    X(I)->AddItem(Adoptable(NonNil<TfsXMLItem>(Pr, 0), X(I)));
    return Variant(0);
  });
  C->AddMethod("procedure Clear", [X](TObject* I, const void*, const AnsiString&, Variant&) {
    ReleaseOwned(X(I));
    X(I)->Clear();
    return Variant(0);
  });
  C->AddMethod("procedure InsertItem(Index: Integer; Item: TfsXMLItem)",
               [X](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Integer Index = Int(Pr, 0);
                 if (Index < 0 || Index > X(I)->GetCount())
                   throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
                 X(I)->InsertItem(Index, Adoptable(NonNil<TfsXMLItem>(Pr, 1), X(I)));
                 return Variant(0);
               });
  C->AddMethod("function Add: TfsXMLItem", [X](TObject* I, const void*, const AnsiString&, Variant&) {
    return fs_ihandles::ToVariant(X(I)->Add());
  });
  C->AddMethod(
      "function Find(const Name: String): Integer",
      [X](TObject* I, const void*, const AnsiString&, Variant& Pr) { return Variant(X(I)->Find(Str(Pr, 0))); });
  C->AddMethod("function FindItem(const Name: String): TfsXMLItem",
               [X](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 return fs_ihandles::ToVariant(X(I)->FindItem(Str(Pr, 0)));
               });
  C->AddMethod(
      "function Prop(const Name: String): String",
      [X](TObject* I, const void*, const AnsiString&, Variant& Pr) { return Variant(X(I)->Prop(Str(Pr, 0))); });
  C->AddMethod("function Root: TfsXMLItem", [X](TObject* I, const void*, const AnsiString&, Variant&) {
    return fs_ihandles::ToVariant(X(I)->Root());
  });
  C->AddProperty(
      "Data", "Integer", [X](TObject* I, const void*, const AnsiString&) { return Variant(X(I)->GetData()); },
      [X](TObject* I, const void*, const AnsiString&, const Variant& V) { X(I)->SetData(V.AsInteger()); });
  C->AddProperty("Count", "Integer",
                 [X](TObject* I, const void*, const AnsiString&) { return Variant(X(I)->GetCount()); });
  C->AddDefaultProperty(
      "Items", "Integer", "TfsXMLItem",
      [X](TObject* I, const void*, const AnsiString&, Variant& Pr) {
        Integer Index = Int(Pr, 0);
        if (Index < 0 || Index >= X(I)->GetCount())
          throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
        return fs_ihandles::ToVariant(X(I)->GetItems(Index));
      },
      true);
  C->AddProperty(
      "Name", "String", [X](TObject* I, const void*, const AnsiString&) { return Variant(X(I)->GetName()); },
      [X](TObject* I, const void*, const AnsiString&, const Variant& V) { X(I)->SetName(Variants::VarToStr(V)); });
  C->AddProperty("Parent", "TfsXMLItem",
                 [X](TObject* I, const void*, const AnsiString&) { return fs_ihandles::ToVariant(X(I)->GetParent()); });
  C->AddProperty(
      "Text", "String", [X](TObject* I, const void*, const AnsiString&) { return Variant(X(I)->GetText()); },
      [X](TObject* I, const void*, const AnsiString&, const Variant& V) { X(I)->SetText(Variants::VarToStr(V)); });

  // TfsXMLDocument
  C = S->AddClass(XMLDocumentClass(), "TObject", fsIsInstance<TfsXMLDocument>);
  auto D = [](TObject* I) { return Self<TfsXMLDocument>(I); };
  C->AddConstructor("constructor Create",
                    [](TObject*, const void* Class, const AnsiString&, Variant& Pr) { return Construct(Class, Pr); });
  C->AddMethod("procedure SaveToStream(Stream: TStream)", [D](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    D(I)->SaveToStream(NonNil<TStream>(Pr, 0));
    return Variant(0);
  });
  C->AddMethod("procedure LoadFromStream(Stream: TStream)",
               [D](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 ReleaseOwned(D(I));  // the old tree goes
                 D(I)->LoadFromStream(NonNil<TStream>(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToFile(const FileName: String)",
               [D](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 D(I)->SaveToFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure LoadFromFile(const FileName: String)",
               [D](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 ReleaseOwned(D(I));
                 D(I)->LoadFromFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddProperty("Root", "TfsXMLItem",
                 [D](TObject* I, const void*, const AnsiString&) { return fs_ihandles::ToVariant(D(I)->GetRoot()); });
  S->Registrar = nullptr;
}

void Unregister(TfsScript* S) { S->RemoveItems(&RegistrarTag); }

}  // namespace fs_iclassesrtti
