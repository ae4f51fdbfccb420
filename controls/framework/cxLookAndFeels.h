// The look-and-feel object every control owns: which painter draws it (a kind and whether
// native themed drawing is wanted), each value either set on the object or inherited from a
// master, and by default from the program-wide root that a TcxLookAndFeelController exposes.
//
// Changes travel from a master to the objects that inherit from it (only where they have an
// effect) and then to the owner through OnChanged. BeginUpdate/EndUpdate gather the changes of
// several settings into one report.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/framework/cxClasses.h"
#include "controls/framework/cxLookAndFeelPainters.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "controls/framework/dxThemeManager.h"

PELTO_ENUM(TcxLookAndFeelKind, lfFlat, lfStandard, lfUltraFlat)
PELTO_ENUM(TcxLookAndFeelValue, lfvKind, lfvNativeStyle)
PELTO_SET(TcxLookAndFeelValues, TcxLookAndFeelValue)

class TcxLookAndFeel;
namespace cxLookAndFeels {
void Initialize();
}

class IcxLookAndFeelListener {
public:
  virtual ~IcxLookAndFeelListener() = default;
  virtual TObject* GetListenerObject() = 0;
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) = 0;
  virtual void LookAndFeelDestroying(TcxLookAndFeel* Sender) = 0;
};

using TcxLookAndFeelChangedEvent = std::function<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)>;

class TcxLookAndFeel : public TcxInterfacedPersistent, public IcxLookAndFeelListener {
  PELTO_DECLARE_CLASS(TcxLookAndFeel, TcxInterfacedPersistent)
public:
  // Joins the root's listeners (when a root exists) and takes its values.
  explicit TcxLookAndFeel(TPersistent* AOwner);
  // Tells its listeners, then leaves its master.
  ~TcxLookAndFeel() override;

  TcxLookAndFeelValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  // The effective values.
  TcxLookAndFeelKind GetKind() const { return FKind; }
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool Value);
  TcxLookAndFeel* GetMasterLookAndFeel() const { return FMasterLookAndFeel; }
  // Ignored for the root, for itself and for the master already in force.
  void SetMasterLookAndFeel(TcxLookAndFeel* Value);
  // The themed painter when native style is on and themes are available, else the kind's.
  TcxCustomLookAndFeelPainterClass GetPainter() const;
  // Likewise, but the themed painter only when every class of Mask can be opened.
  TcxCustomLookAndFeelPainterClass GetPainterForThemeClasses(TdxThemeClasses Mask) const;
  // From another look-and-feel: own values, assigned set and master in force.
  void Assign(TPersistent* Source) override;
  // A controller is accepted only by the root; a listener is listed once.
  void AddChangeListener(IcxLookAndFeelListener* Listener);
  void RemoveChangeListener(IcxLookAndFeelListener* Listener);
  int GetListenerCount() const { return int(FListeners.size()); }
  bool IsRoot() const { return FIsRoot; }
  // Changes reported between these are gathered and reported once by the outermost EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  virtual TcxLookAndFeelKind GetActiveKind() const;
  virtual bool GetActiveNativeStyle() const;
  // Reports lfvNativeStyle, so owners re-ask for their painter.
  virtual void SystemPaletteChanged();

  TObject* GetListenerObject() override { return this; }
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) override;
  void LookAndFeelDestroying(TcxLookAndFeel* Sender) override;

  TcxLookAndFeelChangedEvent OnChanged;

  PELTO_PUBLISHED(p);

private:
  friend void cxLookAndFeels::Initialize();
  TcxLookAndFeel* MasterInForce() const;
  void SaveValues();
  void CheckValuesChanged();
  void Changed(TcxLookAndFeelValues Values);
  TcxLookAndFeelValues FAssignedValues;
  TcxLookAndFeelKind FOwnKind = lfUltraFlat, FKind = lfUltraFlat, FSavedKind = lfUltraFlat;
  bool FOwnNativeStyle = false, FNativeStyle = false, FSavedNativeStyle = false;
  TcxLookAndFeel* FMasterLookAndFeel = nullptr;
  std::vector<IcxLookAndFeelListener*> FListeners;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FPaletteNotifier;
  bool FIsRoot = false;
  bool FDestroying = false;
  int FControllerCount = 0;
  int FUpdateCount = 0;
  TcxLookAndFeelValues FPendingValues;
};

// A component on a form that edits the root look-and-feel; it listens to the root while both
// exist.
class TcxLookAndFeelController : public TComponent, public IcxLookAndFeelListener {
  PELTO_DECLARE_CLASS(TcxLookAndFeelController, TComponent)
public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  ~TcxLookAndFeelController() override;
  TcxLookAndFeelKind GetKind() const;
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const;
  void SetNativeStyle(bool Value);
  TObject* GetListenerObject() override { return this; }
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) override {}
  void LookAndFeelDestroying(TcxLookAndFeel* Sender) override {}

  PELTO_PUBLISHED(p);
};

namespace cxLookAndFeels {
// The program-wide root, or nullptr before Initialize and after Finalize.
TcxLookAndFeel* RootLookAndFeel();
// Creates the root and registers the controller for streaming. Idempotent.
void Initialize();
// Frees the root.
void Finalize();
}  // namespace cxLookAndFeels
