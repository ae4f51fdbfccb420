// The visual settings of a container and its editors (border, edges, colour, font, hot-tracking,
// shadow, transparent border, look-and-feel), a shared TcxStyleController that supplies what a
// style does not assign itself, and TcxFreeNotificator, which reports freed components.
//
// A value is looked up in the style's own assigned values, then up its controller chain, then
// in the style's defaults. A controller that would close a cycle in that chain is refused.
// The stream writes only the values a style assigns itself.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/framework/cxGraphics.h"
#include "platform/classes/Component.h"

class TFont;
class TcxLookAndFeel;
class TcxStyleController;

// The style values and the bits of AssignedValues; descendants number theirs from 8 on.
PELTO_ENUM(TcxContainerStyleValue, svBorderColor, svBorderStyle, svColor, svEdges, svFont, svHotTrack, svShadow,
           svTransparentBorder)
PELTO_SET(TcxContainerStyleValues, TcxContainerStyleValue)
PELTO_ENUM(TcxContainerBorderStyle, cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat)

// What a container that owns a style answers for it.
class IcxContainerStyleOwner {
public:
  virtual ~IcxContainerStyleOwner() = default;
  // True, with the parent's colour, when the container takes its colour from a parent.
  virtual bool GetParentColorFor(TColor& Color) = 0;
  // The values the container's class never streams.
  virtual TcxContainerStyleValues GetNotStoredStyleValues() = 0;
  // ParentColor False and ParentFont True.
  virtual void RestoreStyleDefaults() = 0;
};

class TcxContainerStyle : public TPersistent {
  PELTO_DECLARE_CLASS(TcxContainerStyle, TPersistent)
public:
  // A reference style owns no font: its Font is another style's, and it never reports changes.
  TcxContainerStyle(TPersistent* AOwner, bool AIsReference = false);
  ~TcxContainerStyle() override;
  TPersistent* GetOwner() override { return FOwner; }

  TcxContainerStyleValues GetAssignedValues() const;
  void SetAssignedValues(TcxContainerStyleValues Value);
  TColor GetBorderColor() const;
  void SetBorderColor(TColor Value);
  TcxContainerBorderStyle GetBorderStyle() const;
  void SetBorderStyle(TcxContainerBorderStyle Value);
  TColor GetColor() const { return DoGetColor(); }
  void SetColor(TColor Value);
  TcxBorders GetEdges() const;
  void SetEdges(TcxBorders Value);
  // The own font, or the borrowed one of a reference style (null until one is given).
  TFont* GetFont() const;
  void SetFont(TFont* Value);
  bool GetHotTrack() const;
  void SetHotTrack(bool Value);
  bool GetShadow() const;
  void SetShadow(bool Value);
  bool GetTransparentBorder() const;
  void SetTransparentBorder(bool Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value);
  // Null while the style uses its default controller.
  TcxStyleController* GetStyleController() const;
  // Null means the default; a controller that would close a cycle is ignored.
  void SetStyleController(TcxStyleController* Value);
  // The text colour of a reference style (its font is borrowed).
  TColor GetTextColor() const { return FTextColor; }
  void SetTextColor(TColor Value) { FTextColor = Value; }
  bool IsReference() const { return FIsReference; }

  // Whether the style or its controller chain assigns the value; False past the seven looked up.
  virtual bool IsValueAssigned(int Index) const;
  virtual TColor GetEffectiveColor() const;
  virtual int GetStyleValueCount() const { return 8; }
  virtual bool GetStyleValueName(int Index, AnsiString& Name) const;
  // Back to the defaults: nothing assigned, the look-and-feel's values cleared.
  virtual void RestoreDefaults();
  void Assign(TPersistent* Source) override;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // A controller the style listens to is going.
  virtual void ControllerRemoved(TcxStyleController* AController);
  virtual void ControllerStyleChanged();
  virtual void Changed();

  TNotifyEvent OnChanged;

  PELTO_PUBLISHED(p);

protected:
  virtual TColor GetDefaultBorderColor() const { return clWindowFrame; }
  virtual TcxContainerBorderStyle GetDefaultBorderStyle() const;
  virtual TColor GetDefaultColor() const { return clWindow; }
  virtual TcxBorders GetDefaultEdges() const { return cxBordersAll; }
  virtual bool GetDefaultHotTrack() const { return true; }
  virtual bool GetDefaultShadow() const { return false; }
  virtual bool GetDefaultTransparentBorder() const { return true; }
  // The family's shared controller; none here.
  virtual TcxStyleController* GetDefaultStyleController() const { return nullptr; }
  virtual TColor DoGetColor() const;
  virtual void FontChanged();
  virtual void ControllerChanged();
  // The style, or the first up its controller chain, that assigns the value; null for none.
  const TcxContainerStyle* AssigningStyle(TcxContainerStyleValue Value) const;
  bool IsStored(TcxContainerStyleValue Value) const;
  IcxContainerStyleOwner* ContainerOwner() const;

private:
  void SetValue(TcxContainerStyleValue Value, bool Equal, const std::function<void()>& Store);
  // Copies the first font assigned up the controller chain into the own font, unassigned.
  void UpdateFont();
  bool WouldCloseCycle(TcxStyleController* Value) const;

  TPersistent* FOwner;
  bool FIsReference;
  TcxStyleController* FStyleController = nullptr;  // borrowed; listens while set
  std::unique_ptr<TFont> FOwnFont;
  TFont* FFontReference = nullptr;  // a reference style's borrowed font
  TColor FTextColor = clWindowText;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxContainerStyleValues FAssignedValues;
  TColor FBorderColor = clWindowFrame, FColor = clWindow;
  TcxContainerBorderStyle FBorderStyle = cbsNone;
  TcxBorders FEdges = cxBordersAll;
  bool FHotTrack = true, FShadow = false, FTransparentBorder = true;
  int FUpdateCount = 0;
  bool FChangePending = false;
  bool FDestroying = false;
  bool FCopyingFont = false;  // the font is being inherited: not an assignment
};

using TcxStyleChangedEvent = std::function<void(TObject* Sender, TcxContainerStyle* AStyle)>;

class TcxStyleController : public TComponent {
  PELTO_DECLARE_CLASS(TcxStyleController, TComponent)
public:
  explicit TcxStyleController(TComponent* AOwner);
  // Sends every listening style back to its default controller.
  ~TcxStyleController() override;

  // Owned by the controller.
  TcxContainerStyle* GetStyle() const { return FStyle.get(); }
  void SetStyle(TcxContainerStyle* Value) { FStyle->Assign(Value); }
  // Listed once; the style's look-and-feel follows the controller's.
  virtual void AddListener(TcxContainerStyle* AStyle);
  virtual void RemoveListener(TcxContainerStyle* AStyle);
  int GetListenerCount() const { return int(FListeners.size()); }

  TcxStyleChangedEvent OnStyleChanged;

  PELTO_PUBLISHED(p);

protected:
  void Loaded() override;
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle() { return std::make_unique<TcxContainerStyle>(this); }
  // Makes the style again through CreateStyle: a descendant with its own style class calls it
  // from its constructor, where the base's call could not reach the override.
  void RecreateStyle();
  virtual void StyleChanged(TcxContainerStyle* AStyle);
  void Changed();

private:
  std::vector<TcxContainerStyle*> FListeners;  // borrowed
  std::unique_ptr<TcxContainerStyle> FStyle;
  bool FDestroying = false;
};

class TcxFreeNotificator : public TComponent {
  PELTO_DECLARE_CLASS(TcxFreeNotificator, TComponent)
public:
  explicit TcxFreeNotificator(TComponent* AOwner) : TComponent(AOwner) {}
  // Null is ignored.
  void AddSender(TComponent* Sender);
  void RemoveSender(TComponent* Sender);
  std::function<void(TComponent* Sender)> OnComponentFreed;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};
