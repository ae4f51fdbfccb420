// TStatusBar over the "msctls_statusbar32" window class: panels of set widths (the last one
// runs to the end of the bar) with their texts, or, with SimplePanel, one text across the bar.
// Aligned to the bottom of its parent by default; the control, not the window, keeps it there.
#pragma once

#include <memory>

#include "platform/classes/Collection.h"
#include "platform/forms/controls/WinControl.h"
#include "platform/stdctrls/comctrls/ComCtrlsTypes.h"

class TStatusBar;

class TStatusPanel : public TCollectionItem {
  PELTO_CLASS(TStatusPanel, TCollectionItem)
public:
  explicit TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  AnsiString GetDisplayName() override { return FText.empty() ? TCollectionItem::GetDisplayName() : FText; }

  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).Default(taLeftJustify);
    p.Property("Bevel", &ThisClass::GetBevel, &ThisClass::SetBevel).Default(pbLowered);
    p.Property("Text", &ThisClass::GetText, &ThisClass::SetText);
    p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth);
  }

private:
  AnsiString FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels : public TCollection {
  PELTO_CLASS(TStatusPanels, TCollection)
public:
  explicit TStatusPanels(TStatusBar* AStatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  // Raises EListError for a bad index.
  TStatusPanel* GetItems(int Index) const { return static_cast<TStatusPanel*>(GetItem(Index)); }
  TStatusPanel* operator[](int Index) const { return GetItems(Index); }
  TPersistent* GetOwner() override;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TStatusBar* FStatusBar;
};

class TStatusBar : public TWinControl {
  PELTO_CLASS(TStatusBar, TWinControl)
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  // Owned; setting copies the panels.
  TStatusPanels* GetPanels() const { return FPanels.get(); }
  void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
  bool GetSimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  const AnsiString& GetSimpleText() const { return FSimpleText; }
  void SetSimpleText(const AnsiString& Value);
  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  // The window's rectangle of panel Index in client coordinates; empty without a window.
  RECT PanelRect(int Index);

  PELTO_PUBLISHED(p)
  {
    p.Property("Panels", &ThisClass::GetPanels, &ThisClass::SetPanels);
    p.Property("SimplePanel", &ThisClass::GetSimplePanel, &ThisClass::SetSimplePanel).Default(false);
    p.Property("SimpleText", &ThisClass::GetSimpleText, &ThisClass::SetSimpleText);
    p.Property("SizeGrip", &ThisClass::GetSizeGrip, &ThisClass::SetSizeGrip).Default(true);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

private:
  friend class TStatusPanels;
  // Writes the panels' edges and texts (or the simple text) into the window.
  void UpdatePanels();
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0);

  std::unique_ptr<TStatusPanels> FPanels;
  AnsiString FSimpleText;
  bool FSimplePanel = false;
  bool FSizeGrip = true;
};
