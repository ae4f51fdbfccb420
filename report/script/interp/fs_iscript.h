// TfsScript: one script program with its source lines, language, registry of named items,
// compiled main block, last compile error and run flags. Scripts form a tree of scopes: a name
// not found here is looked up in the parent, up to the global script.
//
// Ownership: the script owns its items, statements, lines and code-line map, never its parent.
// Errors: Compile reports compile errors through its result and LastError/LastErrorPos/
// LastErrorUnit (nothing is raised for them); an unknown SyntaxType raises "Language '<x>' not
// found". Run-time errors propagate out of Execute, CallFunction, CallFunctionVarParams and
// Evaluate after the flags are cleaned up; the script stays usable.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/rtl/StringList.h"
#include "report/script/interp/fs_iitems.h"
#include "report/script/parser/fs_iilparser.h"

class TfsStatement;
class TfsClassVariable;
class TMetaClass;
using TfsInstanceCheck = bool (*)(const TObject* Obj);

using TfsRunLineEvent = std::function<void(TfsScript* Sender, const AnsiString& UnitName, const AnsiString& SourcePos)>;

// A script's line handler. The handlers set anywhere are counted, so that a statement costs one
// test for them while no script has one.
class TfsRunLineHandler {
public:
  TfsRunLineHandler() = default;
  ~TfsRunLineHandler() { Set(nullptr); }
  TfsRunLineHandler(const TfsRunLineHandler&) = delete;
  TfsRunLineHandler& operator=(const TfsRunLineHandler&) = delete;
  TfsRunLineHandler& operator=(TfsRunLineEvent Event)
  {
    Set(std::move(Event));
    return *this;
  }
  explicit operator bool() const { return static_cast<bool>(FEvent); }
  void operator()(TfsScript* Sender, const AnsiString& UnitName, const AnsiString& SourcePos) const
  {
    FEvent(Sender, UnitName, SourcePos);
  }
  // Hands the handler over and leaves none.
  TfsRunLineEvent Take()
  {
    TfsRunLineEvent E = std::move(FEvent);
    FEvent = nullptr;
    if (E) FActive.fetch_sub(1, std::memory_order_relaxed);
    return E;
  }
  // Some script has a handler.
  static bool AnySet() { return FActive.load(std::memory_order_relaxed) != 0; }

private:
  void Set(TfsRunLineEvent Event)
  {
    int Change = (Event ? 1 : 0) - (FEvent ? 1 : 0);
    FEvent = std::move(Event);
    if (Change) FActive.fetch_add(Change, std::memory_order_relaxed);
  }
  TfsRunLineEvent FEvent;
  static inline std::atomic<int> FActive{0};
};

class TfsScript : public TComponent {
public:
  explicit TfsScript(TComponent* AOwner);
  ~TfsScript() override;

  // Enters Item under Name, stamped with Registrar. A name already in this script's own list
  // keeps its entry and Item is freed (the caller must not use it afterwards); returns False then.
  // The empty name (hidden helpers) takes any number of items.
  bool RegisterItem(const AnsiString& AName, TfsCustomVariable* Item);
  // Takes the entry out without freeing it.
  void UnregisterItem(TfsCustomVariable* Item);
  Integer ItemCount() const { return static_cast<Integer>(FItems.size()); }
  TfsCustomVariable* ItemAt(Integer Index) const { return FItems[static_cast<std::size_t>(Index)].Item; }
  // Null when absent (not an error).
  TfsCustomVariable* FindLocalItem(const AnsiString& AName) const;
  TfsCustomVariable* FindItem(const AnsiString& AName) const;
  // FindItem, null unless the item is a host class.
  TfsClassVariable* FindClassItem(const AnsiString& AName) const;
  void RemoveItems(const void* Owner);
  void ClearItems(const void* Owner);
  void Clear();

  void AddType(const AnsiString& AName, TfsItemKind AKind);
  void AddConst(const AnsiString& AName, const AnsiString& ATypeName, const Variant& AValue);
  void AddVariable(const AnsiString& AName, const AnsiString& ATypeName, const Variant& AValue);
  void AddEnum(const AnsiString& ATypeName, const AnsiString& Names);
  void AddEnumSet(const AnsiString& ATypeName, const AnsiString& Names);
  // A host class named after ClassRef, owned by this script; null (nothing done) when the name is
  // taken. Takes the ancestor's default property. Check decides which objects are instances
  // (fsIsInstance<T> for classes the type information cannot tell apart).
  TfsClassVariable* AddClass(const TMetaClass* ClassRef, const AnsiString& AncestorName,
                             TfsInstanceCheck Check = nullptr);
  // A variable of Instance's class holding its handle.
  void AddObject(const AnsiString& AName, TObject* Instance);
  // The helper stays owned by this script. Raises for a declaration text it can't read.
  TfsMethodHelper* AddMethod(const AnsiString& ASyntax, TfsMethodCallback CallBack, const AnsiString& Category = "",
                             const AnsiString& Description = "");

  bool Compile();
  void Execute();
  // Null for a missing name or one that is no script procedure. More values than the
  // procedure has parameters raise Exception "Too many actual parameters", fewer than its
  // required ones "Not enough actual parameters"; parameters left out take their defaults.
  // A Params that is no array sets no parameter.
  Variant CallFunction(const AnsiString& AName, const Variant& Params);
  Variant CallFunctionVarParams(const AnsiString& AName, Variant& Params);
  // The value of an expression in the scope running now; a compile error gives its message.
  Variant Evaluate(const AnsiString& Expression);
  void Terminate();
  void NotifyRunLine(const AnsiString& AUnitName, const AnsiString& SourcePos);
  void AddCodeLine(const AnsiString& AUnitName, const AnsiString& Position);
  bool HasCodeOnLine(Integer Line, const AnsiString& AUnitName) const;

  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  const AnsiString& GetSyntaxType() const { return FSyntaxType; }
  void SetSyntaxType(const AnsiString& Value) { FSyntaxType = Value; }
  TfsStatement* GetStatements() const { return FStatements.get(); }
  TStringList* GetUnitLines() const { return FUnitLines.get(); }

  const void* Registrar = nullptr;
  // The run flags sit side by side, so that setting or testing several is one memory access.
  bool BreakFlag = false;
  bool ContinueFlag = false;
  bool ExitFlag = false;
  bool StopRequested = false;
  bool IsRunning = false;
  bool ExecutedMark = false;
  AnsiString LastError;
  AnsiString LastErrorPos;
  AnsiString LastErrorUnit;
  TfsGetUnitEvent OnGetILUnit;
  TfsGetUnitEvent OnGetUnit;
  TfsRunLineHandler OnRunLine;
  TfsScript* ParentScript = nullptr;
  TfsScript* RunningProcScript = nullptr;

  // Break, Continue or Exit is set: the statement list in progress must stop.
  bool Leaving() const { return BreakFlag | ContinueFlag | ExitFlag; }

private:
  struct TEntry {
    AnsiString Key;  // upper-cased name
    TfsCustomVariable* Item;
  };
  std::size_t LowerBound(const AnsiString& Key) const;

  std::vector<TEntry> FItems;
  std::unique_ptr<TStringList> FLines;
  std::unique_ptr<TfsStatement> FStatements;
  AnsiString FSyntaxType = "DezodiZidede";
  std::unique_ptr<TStringList> FUnitLines;
};
