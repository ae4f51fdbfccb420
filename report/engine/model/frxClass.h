// The report component tree: every object of a report (the report, its pages, bands, views and
// data sets) is a TfrxComponent, a node with an ordered list of owned children.
//
// Ownership: a child belongs to its parent (freed with it); the platform owner of an object made
// under a parent is the report the parent belongs to, so that names are unique per report.
// Positions and sizes are Extended screen pixels at 96 dpi, relative to the parent; two measures
// differ when they differ by more than 0.0001.
//
// Sections: TfrxComponent (tree, bounds, font, names, streams), TfrxReportComponent,
// the class registration (frxClass::Initialize).
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/forms/graphics/Font.h"

class TList;

class TStream;
class TfrxPage;
class TfrxReport;
class TfrxXMLSerializer;

PELTO_ENUM(TfrxRestriction, rfDontModify, rfDontSize, rfDontMove, rfDontDelete)
PELTO_SET(TfrxRestrictions, TfrxRestriction)

class TfrxComponent : public TComponent {
  PELTO_DECLARE_CLASS(TfrxComponent, TComponent)
public:
  using TConstructArg = TComponent*;
  using TfrxComponentList = std::vector<TfrxComponent*>;

  // AOwner is the parent-to-be when it is a TfrxComponent (the platform owner is then its
  // report, or none); any other AOwner is the platform owner and the object has no parent.
  explicit TfrxComponent(TComponent* AOwner);
  ~TfrxComponent() override;

  // Copies Source's own properties (not its children) through the file format; only from
  // another TfrxComponent.
  void Assign(TPersistent* Source) override;
  // The same with the children.
  void AssignWithChildren(TfrxComponent* Source);

  // ---- Tree
  // The direct children in order; owned by this object.
  const TfrxComponentList& GetObjects() const { return FObjects; }
  // All descendants, depth first, each before its children; rebuilt on every call.
  const TfrxComponentList& GetAllObjects();
  TfrxComponent* GetParent() const { return FParent; }
  // Moves the object to the end of Value's children (none: detached, the caller then owns it).
  virtual void SetParent(TfrxComponent* Value);
  // Frees the children.
  virtual void Clear();
  // The object itself or its nearest ancestor that is a page / the report; nullptr when none.
  TfrxPage* GetPage();
  TfrxReport* GetReport();
  // The children and all descendants as lists for scripts: kept by the object and refilled on
  // each call, so a script sees the tree as it is now.
  TList* GetObjectsList();
  TList* GetAllObjectsList();
  // The first of AllObjects named Name, ignoring ASCII case; nullptr when none.
  TfrxComponent* FindObject(const AnsiString& AName);
  // Raises Exception with the text of "prDupl" when another object of the report has the name.
  void SetName(const AnsiString& NewName) override;
  // BaseName followed by the smallest free number ("Memo1", "Memo2" ...).
  void CreateUniqueName();
  // Prefix of generated names: the class name less "Tfrx" and "View" unless a class sets its own.
  AnsiString GetBaseName() const;

  // ---- Bounds
  Extended GetLeft() const { return FLeft; }
  Extended GetTop() const { return FTop; }
  Extended GetWidth() const { return FWidth; }
  Extended GetHeight() const { return FHeight; }
  // The position setters do nothing for a designed object restricted by rfDontMove, the size
  // setters for one restricted by rfDontSize.
  virtual void SetLeft(Extended Value);
  virtual void SetTop(Extended Value);
  virtual void SetWidth(Extended Value);
  virtual void SetHeight(Extended Value);
  void SetBounds(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight);
  // Sums of the positions up to the root, stopping below a dialog page.
  Extended GetAbsLeft() const;
  Extended GetAbsTop() const;

  // ---- Font
  TFont* GetFont() const { return FFont.get(); }
  // Copies Value; ParentFont becomes False.
  virtual void SetFont(TFont* Value);
  bool GetParentFont() const { return FParentFont; }
  // True takes the parent's font (when there is a parent).
  virtual void SetParentFont(bool Value);
  bool IsFontStored() const { return !FParentFont; }

  // ---- State
  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool Value) { FVisible = Value; }
  Integer GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  TfrxRestrictions GetRestrictions() const { return FRestrictions; }
  void SetRestrictions(TfrxRestrictions Value) { FRestrictions = Value; }
  bool GetIsDesigning() const { return FIsDesigning; }
  void SetIsDesigning(bool Value) { FIsDesigning = Value; }
  bool GetIsLoading() const { return FIsLoading; }
  void SetIsLoading(bool Value) { FIsLoading = Value; }
  // True while the serializer writes this object's own properties.
  bool GetIsWriting() const { return FIsWriting; }
  void SetIsWriting(bool Value) { FIsWriting = Value; }
  const AnsiString& GetAlias() const { return FAlias; }
  void SetAlias(const AnsiString& Value) { FAlias = Value; }
  // The palette variant of an object the designer creates (shapes and lines use it).
  virtual void CreateForDesign(Word Flags) {}
  // Prepared pages store objects of classes that say so with all their properties.
  virtual bool StoreAllProperties() const { return true; }

  // ---- Streams (the report file format)
  // Clears the object, reads it and its children from Stream; the load's errors join the
  // report's. The name is kept, also when reading fails.
  virtual void LoadFromStream(TStream* Stream);
  // Writes the object (and its children with SaveChildren) without its name.
  virtual void SaveToStream(TStream* Stream, bool SaveChildren = true, bool SaveDefaultValues = false);

  // ---- Hooks of the engine and the designer
  virtual AnsiString GetClassCaption() { return ClassName(); }
  virtual void ResetBeforeRun() {}
  virtual void BandShown(TfrxComponent* Band) {}
  virtual void AlignChildren();
  // The base difference text of prepared pages against Reference.
  virtual AnsiString WriteDiff(TfrxComponent* Reference);

  // The component stream enumerates the children as the object's own.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  TComponent* GetChildOwner() override { return this; }

protected:
  virtual void FontChanged();
  void SetBaseName(const AnsiString& Value) { FBaseName = Value; }  // "" restores the default
  // The class name less the first "Tfrx" and the first "View".
  virtual AnsiString DefaultBaseName() const;
  // Whether a dialog page stops the absolute-position sums (set by dialog pages).
  virtual bool IsDialogPage() const { return false; }

private:
  void CollectAll(TfrxComponentList& List) const;

  TfrxComponentList FObjects;
  TfrxComponentList FAllObjects;
  std::unique_ptr<TList> FObjectsList, FAllObjectsList;
  TfrxComponent* FParent = nullptr;
  Extended FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  Integer FGroupIndex = 0;
  bool FIsDesigning = false;
  bool FIsLoading = false;
  bool FIsWriting = false;
  TfrxRestrictions FRestrictions;
  bool FVisible = true;
  AnsiString FAlias;
  AnsiString FBaseName;
};

// Objects that take part in building a report.
class TfrxReportComponent : public TfrxComponent {
  PELTO_DECLARE_CLASS(TfrxReportComponent, TfrxComponent)
public:
  explicit TfrxReportComponent(TComponent* AOwner) : TfrxComponent(AOwner) {}

  // Script procedure names; empty means none.
  AnsiString OnAfterData, OnAfterPrint, OnBeforePrint, OnPreviewClick;
  // Objects of the same band below this one that move down when it grows (engine; not owned).
  std::vector<TfrxReportComponent*> ShiftChildren;

  // Left, Top, Width, Height kept aside and put back (through SetBounds); views add their own
  // state, so callers holding a base pointer get the whole of it.
  virtual void SaveBounds();
  virtual void RestoreBounds();
  virtual void FetchData() {}
  virtual AnsiString GetPrintedText() { return AnsiString(); }

private:
  Extended FSavedBounds[4] = {0, 0, 0, 0};
};

namespace frxClass {

// Measures differ by more than this.
constexpr Extended Tolerance = 0.0001;
inline bool Differs(Extended a, Extended b) { return a - b > Tolerance || b - a > Tolerance; }

// A new object of class AClass under AOwner made by the designer: IsDesigning set, then the
// palette variant Flags passed on. Raises EInvalidOperation for a class that is not a report
// object or cannot be created.
TfrxComponent* CreateForDesign(TClass AClass, TComponent* AOwner, Word Flags = 0);
// Registers the report classes by name so that report files can create them; idempotent.
void Initialize();

}  // namespace frxClass
