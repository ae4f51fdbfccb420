// Styles (four optional visual values), the repository that lists them, style sets that map
// element indexes to styles, and style sheets that style sets fall back to.
//
// Ownership: styles and sheets are components (their owner frees them; so does the repository
// that lists them). A style set is owned by its control or view; it listens to its styles and
// forgets a style that is destroyed, reporting the affected indexes.
#pragma once

#include <memory>
#include <vector>

#include "controls/framework/cxClasses.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"

class TcxCustomStyles;
class TcxCustomStyleSheet;
class TcxStyleRepository;

PELTO_ENUM(TcxStyleValue, svBitmap, svColor, svFont, svTextColor)
PELTO_SET(TcxStyleValues, TcxStyleValue)

class TcxCustomStyle : public TComponent {
  PELTO_DECLARE_CLASS(TcxCustomStyle, TComponent)
public:
  explicit TcxCustomStyle(TComponent* AOwner) : TComponent(AOwner) {}
  ~TcxCustomStyle() override;
  TcxStyleRepository* GetStyleRepository() const { return FStyleRepository; }
  void SetStyleRepository(TcxStyleRepository* Value);
  // Tells every listening style set, from the last to the first.
  virtual void Changed();
  virtual void AddListener(TcxCustomStyles* Listener);
  virtual void RemoveListener(TcxCustomStyles* Listener);
  virtual void RestoreDefaults() {}
  // The repository is the style's parent in a stream.
  TComponent* GetParentComponent() override;
  bool HasParent() override { return FStyleRepository != nullptr; }
  // Raises EInvalidOperation unless Value is a repository (ignored while loading).
  void SetParentComponent(TComponent* Value) override;

protected:
  // After reading, the reader's parent (the repository) lists the style.
  void ReadState(TReader* Reader) override;

private:
  std::vector<TcxCustomStyles*> FListeners;
  TcxStyleRepository* FStyleRepository = nullptr;
};

class TcxStyle : public TcxCustomStyle {
  PELTO_DECLARE_CLASS(TcxStyle, TcxCustomStyle)
public:
  explicit TcxStyle(TComponent* AOwner);
  TcxStyleValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxStyleValues Value);
  TColor GetColor() const { return FColor; }
  // clDefault unassigns the colour.
  void SetColor(TColor Value);
  TColor GetTextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);
  // Owned by the style; any change of it marks the font assigned.
  TFont* GetFont() const { return FFont.get(); }
  // Copies Value (nullptr is ignored) and marks the font assigned.
  void SetFont(TFont* Value);
  // Owned by the style; any change of it marks the bitmap assigned when it is not empty and
  // unassigned when it is.
  TBitmap* GetBitmap() const { return FBitmap.get(); }
  // Copies Value; nullptr empties the bitmap.
  void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }
  void Assign(TPersistent* Source) override;
  // Everything unassigned; the font keeps its values.
  void RestoreDefaults() override;

  PELTO_PUBLISHED(p);

private:
  void BitmapChanged();
  TcxStyleValues FAssignedValues;
  TColor FColor = clDefault;
  TColor FTextColor = clDefault;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBitmap> FBitmap;
};

using TcxStyleClass = TClass;
using TcxStyleSheetClass = TClass;

class TcxStyleRepository : public TComponent {
  PELTO_DECLARE_CLASS(TcxStyleRepository, TComponent)
public:
  explicit TcxStyleRepository(TComponent* AOwner) : TComponent(AOwner) {}
  // Frees every style (from the last), then every sheet (from the last).
  ~TcxStyleRepository() override;
  virtual TcxCustomStyle* CreateItem(TcxStyleClass StyleClass) { return CreateItemEx(StyleClass, this); }
  // A new style of that class (a TcxCustomStyle descendant) owned by Owner, listed here.
  virtual TcxCustomStyle* CreateItemEx(TcxStyleClass StyleClass, TComponent* Owner);
  virtual TcxCustomStyleSheet* CreateStyleSheet(TcxStyleSheetClass SheetClass)
  {
    return CreateStyleSheetEx(SheetClass, this);
  }
  virtual TcxCustomStyleSheet* CreateStyleSheetEx(TcxStyleSheetClass SheetClass, TComponent* Owner);
  int GetCount() const { return int(FItems.size()); }
  TcxCustomStyle* GetItem(int Index) const { return FItems.at(Index); }
  int GetStyleSheetCount() const { return int(FStyleSheets.size()); }
  TcxCustomStyleSheet* GetStyleSheet(int Index) const { return FStyleSheets.at(Index); }
  // Styles, then sheets, owned by Root, so a form stores them nested in the repository.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

private:
  friend class TcxCustomStyle;
  friend class TcxCustomStyleSheet;
  std::vector<TcxCustomStyle*> FItems;
  std::vector<TcxCustomStyleSheet*> FStyleSheets;
};

struct TcxStyleViewParams {
  // Neither is owned: they belong to a style or to the answer of the defaults.
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

class TcxCustomStyles : public TcxInterfacedPersistent {
  PELTO_DECLARE_CLASS(TcxCustomStyles, TcxInterfacedPersistent)
public:
  struct TEntry {
    int Index;
    TcxCustomStyle* Style;
  };
  explicit TcxCustomStyles(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}
  ~TcxCustomStyles() override;

  // Binary search: true with the entry's position, or false with the insertion position.
  bool Find(int Index, int& Position) const;
  // The own entry's style, else the attached sheet's answer (not while the owner is written).
  TcxCustomStyle* GetStyle(int Index);
  // Nothing when Style is already the answer (also one from the sheet); nil removes the entry.
  void SetStyle(int Index, TcxCustomStyle* Style);
  void StyleChanged(TcxCustomStyle* Style);
  void StyleRemoved(TcxCustomStyle* Style);
  void Clear();
  int GetCount() const { return int(FEntries.size()); }
  const TEntry& GetItem(int Index) const { return FEntries.at(Index); }
  TcxCustomStyleSheet* GetStyleSheet() const { return FStyleSheet; }
  void SetStyleSheet(TcxCustomStyleSheet* Value);
  bool CanSetStyleSheet(TcxCustomStyleSheet* Value);
  TcxCustomStyleSheet* GetOwnerStyleSheet() const { return FOwnerStyleSheet; }
  // From another style set: only its sheet.
  void Assign(TPersistent* Source) override;

protected:
  // The owner's hook.
  virtual void Changed(int Index) {}
  // Unless destroying: Changed, and tells the sheet that owns this set.
  virtual void NotifyChanged(int Index);

private:
  friend class TcxCustomStyleSheet;
  void DeleteEntry(int Position);
  void CollectIndexes(TcxCustomStyleSheet* Sheet, std::vector<int>& Indexes);
  std::vector<TEntry> FEntries;
  TcxCustomStyleSheet* FStyleSheet = nullptr;
  TcxCustomStyleSheet* FOwnerStyleSheet = nullptr;
  bool FDestroying = false;
};

class TcxStyles : public TcxCustomStyles {
  PELTO_DECLARE_CLASS(TcxStyles, TcxCustomStyles)
public:
  using TcxCustomStyles::TcxCustomStyles;
  bool BitmapsAllowed = false;
  TcxStyle* GetIndexedStyle(int Index) { return dynamic_cast<TcxStyle*>(GetStyle(Index)); }
  void SetIndexedStyle(int Index, TcxStyle* Value) { SetStyle(Index, Value); }
  // Each part from ExtraStyle, else the indexed style, else the defaults (asked once).
  void GetViewParams(int Index, TObject* Data, TcxStyle* ExtraStyle, TcxStyleViewParams& Params);
  // The bitmap of the style for Index when it assigns a non-empty one, else nullptr.
  TBitmap* GetBackgroundBitmap(int Index);
  virtual bool UsesDefaultFont(int Index);

protected:
  // The base answers no bitmap and leaves the rest unassigned.
  virtual void GetDefaultViewParams(int Index, TObject* Data, TcxStyleViewParams& Params) { Params.Bitmap = nullptr; }
};

class TcxCustomStyleSheet : public TcxComponent {
  PELTO_DECLARE_CLASS(TcxCustomStyleSheet, TcxComponent)
public:
  explicit TcxCustomStyleSheet(TComponent* AOwner);
  // Detaches every style set that uses the sheet, then leaves its repository.
  ~TcxCustomStyleSheet() override;
  // The stored caption, or the name when none is stored.
  AnsiString GetCaption() const;
  // A caption equal to the name (ignoring case) is not stored.
  void SetCaption(const AnsiString& Value);
  bool GetBuiltIn() const { return FBuiltIn; }
  // The sheet's own style set (owned), created on first use from CreateStyleSet.
  TcxCustomStyles* GetStyles();
  virtual TClass GetStyleSetClass() const { return TcxCustomStyles::StaticClass(); }
  TcxStyleRepository* GetStyleRepository() const { return FStyleRepository; }
  void SetStyleRepository(TcxStyleRepository* Value);
  int GetUserCount() const { return int(FUsers.size()); }
  TComponent* GetParentComponent() override;
  bool HasParent() override { return FStyleRepository != nullptr; }
  void SetParentComponent(TComponent* Value) override;
  void Assign(TPersistent* Source) override;

  PELTO_PUBLISHED(p);

protected:
  // "BuiltIn" is always written and read back into the flag.
  void DefineProperties(TFiler* Filer) override;
  void ReadState(TReader* Reader) override;
  // A set of the class GetStyleSetClass answers, with the sheet as owner.
  virtual std::unique_ptr<TcxCustomStyles> CreateStyleSet() { return std::make_unique<TcxCustomStyles>(this); }
  void GetFakeComponentLinks(std::vector<TComponent*>& List) override;

private:
  friend class TcxCustomStyles;
  void StyleSetChanged(int Index);
  AnsiString FCaption;
  bool FBuiltIn = false;
  std::unique_ptr<TcxCustomStyles> FStyles;
  std::vector<TcxCustomStyles*> FUsers;
  TcxStyleRepository* FStyleRepository = nullptr;
};

namespace cxStyles {
// Registers TcxStyle, TcxCustomStyleSheet and TcxStyleRepository for streaming. Idempotent.
void Initialize();
void Finalize();
}  // namespace cxStyles
