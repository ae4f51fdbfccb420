// The most-recently-used values of an edit or a grid column, and the special row shown first in
// a lookup drop-down. Models only: the drop-downs that show them are windows of their own.
#pragma once

#include <functional>
#include <memory>

#include "platform/classes/Component.h"
#include "platform/classes/Persistent.h"
#include "platform/forms/graphics/Colors.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"

using TFilterMRUItemEventEh = std::function<void(TObject* Sender, bool& Accept)>;
using TCloseUpRequestEventEh = std::function<void(TObject* Sender, bool Accept)>;

class TMRUListEh : public TPersistent {
  PELTO_DECLARE_CLASS(TMRUListEh, TPersistent)
public:
  // Owner is the edit or column (not owned).
  explicit TMRUListEh(TPersistent* Owner = nullptr);
  ~TMRUListEh() override;
  void Assign(TPersistent* Source) override;

  bool GetActive() const { return FActive; }
  void SetActive(bool Value);
  bool GetAutoAdd() const { return FAutoAdd; }
  void SetAutoAdd(bool Value) { FAutoAdd = Value; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  // Oldest first.
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer GetLimit() const { return FLimit; }
  void SetLimit(Integer Value);
  Integer GetRows() const { return FRows; }
  void SetRows(Integer Value) { FRows = Value; }

  // Adds S at the end, or moves a matching item there; blank values are ignored.
  void AddValue(const AnsiString& S);
  // Dest gets the items starting with Prefix; False when it stopped because a key press waits.
  bool CollectMatches(TStrings* Dest, const AnsiString& Prefix);
  virtual void RequestDropDown();
  virtual void RequestCloseUp(bool Accept);

  Integer DropDownWidth = 0;  // 0: the owner's width
  bool IsDroppedDown = false;
  bool StopOnPendingKey = true;
  TNotifyEvent OnActiveChanged;
  TFilterMRUItemEventEh OnFilterItem;
  TCloseUpRequestEventEh OnCloseUpRequest;
  TNotifyEvent OnDropDownRequest;

  PELTO_PUBLISHED(p);

protected:
  TPersistent* GetOwner() override { return FOwner; }

private:
  bool Matches(const AnsiString& A, const AnsiString& B) const;
  void TrimToLimit();

  TPersistent* FOwner;
  bool FActive = false;
  bool FAutoAdd = true;
  bool FCaseSensitive = false;
  std::unique_ptr<TStringList> FItems;
  Integer FLimit = 100;
  Integer FRows = 7;
};

// What a special row's owner offers as its defaults (a control's colour and font).
class ISpecRowOwnerEh {
public:
  virtual ~ISpecRowOwnerEh() = default;
  virtual TColor GetSpecRowDefaultColor() = 0;
  virtual TFont* GetSpecRowDefaultFont() = 0;
};

class TSpecRowEh : public TPersistent {
  PELTO_DECLARE_CLASS(TSpecRowEh, TPersistent)
public:
  explicit TSpecRowEh(TPersistent* Owner = nullptr);
  ~TSpecRowEh() override;
  void Assign(TPersistent* Source) override;

  const AnsiString& GetCellsText() const { return FCellsText; }
  // Cells separated by ";"; a cell in double quotes may hold ";" (a doubled quote is one quote).
  void SetCellsText(const AnsiString& Value);
  // The parsed cell at Index; empty when out of range.
  AnsiString CellTextAt(Integer Index) const;
  Integer CellCount() const { return FCells->GetCount(); }
  TColor GetColor() const;
  void SetColor(TColor Value);
  TFont* GetFont();
  void SetFont(TFont* Value);
  Integer GetShortCut() const { return FShortCut; }
  void SetShortCut(Integer Value);
  bool GetShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
  void SetShowIfNotInKeyList(bool Value);
  const Variant& GetValue() const { return FValue; }
  void SetValue(const Variant& Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool ColorStored() const { return FColorAssigned; }
  bool FontStored() const { return FFontAssigned; }

  void LockChanges() { ++FUpdateCount; }
  // Fires OnChanged when the last lock goes and something changed.
  void UnlockChanges();

  bool Selected = false;  // the owning lookup grid's mark
  TNotifyEvent OnChanged;

  PELTO_PUBLISHED(p);

protected:
  TPersistent* GetOwner() override { return FOwner; }

private:
  void Changed();

  TPersistent* FOwner;
  AnsiString FCellsText;
  std::unique_ptr<TStringList> FCells;
  TColor FColor = clWindow;
  bool FColorAssigned = false;
  std::unique_ptr<TFont> FFont;
  bool FFontAssigned = false;
  bool FRefreshingFont = false;
  Integer FShortCut = 32814;  // Alt+Del
  bool FShowIfNotInKeyList = true;
  Variant FValue = Variant::Null();
  bool FVisible = false;
  Integer FUpdateCount = 0;
  bool FPendingChange = false;
};
