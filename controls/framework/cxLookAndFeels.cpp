#include "controls/framework/cxLookAndFeels.h"

#include <algorithm>

#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "platform/classes/ClassRegistry.h"

namespace {
TcxLookAndFeel* Root = nullptr;
}  // namespace

// ---- TcxLookAndFeel --------------------------------------------------------------------------

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner)
{
  FPaletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>(false);
  FPaletteNotifier->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
  if (Root) {
    Root->AddChangeListener(this);
    FKind = GetActiveKind();
    FNativeStyle = GetActiveNativeStyle();
  }
}

TcxLookAndFeel::~TcxLookAndFeel()
{
  FPaletteNotifier.reset();
  FDestroying = true;
  auto listeners = FListeners;
  for (auto* l : listeners) l->LookAndFeelDestroying(this);
  FListeners.clear();
  if (TcxLookAndFeel* master = MasterInForce()) master->RemoveChangeListener(this);
  if (FIsRoot) Root = nullptr;
}

TcxLookAndFeel* TcxLookAndFeel::MasterInForce() const
{
  if (FIsRoot) return nullptr;
  return FMasterLookAndFeel ? FMasterLookAndFeel : Root;
}

void TcxLookAndFeel::SaveValues()
{
  FSavedKind = FKind;
  FSavedNativeStyle = FNativeStyle;
}

TcxLookAndFeelKind TcxLookAndFeel::GetActiveKind() const
{
  if (FAssignedValues.Contains(lfvKind)) return FOwnKind;
  TcxLookAndFeel* master = MasterInForce();
  return master ? master->FKind : lfUltraFlat;
}

bool TcxLookAndFeel::GetActiveNativeStyle() const
{
  if (FAssignedValues.Contains(lfvNativeStyle)) return FOwnNativeStyle;
  TcxLookAndFeel* master = MasterInForce();
  return master ? master->FNativeStyle : false;
}

void TcxLookAndFeel::CheckValuesChanged()
{
  TcxLookAndFeelValues values;
  if (GetActiveKind() != FSavedKind) values.Include(lfvKind);
  if (GetActiveNativeStyle() != FSavedNativeStyle) values.Include(lfvNativeStyle);
  Changed(values);
}

void TcxLookAndFeel::Changed(TcxLookAndFeelValues Values)
{
  if (Values.Empty() || FDestroying) return;
  FKind = GetActiveKind();
  FNativeStyle = GetActiveNativeStyle();
  if (FUpdateCount > 0) {
    FPendingValues = FPendingValues + Values;
    return;
  }
  // A listener that removes itself must not make the walk skip the next one.
  for (size_t i = 0; i < FListeners.size();) {
    size_t before = FListeners.size();
    FListeners[i]->LookAndFeelChanged(this, Values);
    if (FListeners.size() == before) ++i;
  }
  if (OnChanged) OnChanged(this, Values);
}

void TcxLookAndFeel::EndUpdate()
{
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  TcxLookAndFeelValues values = FPendingValues;
  FPendingValues = {};
  Changed(values);
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value)
{
  if (Value == FAssignedValues) return;
  SaveValues();
  FAssignedValues = Value;
  CheckValuesChanged();
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value)
{
  SaveValues();
  FAssignedValues.Include(lfvKind);
  FOwnKind = Value;
  CheckValuesChanged();
}

void TcxLookAndFeel::SetNativeStyle(bool Value)
{
  SaveValues();
  FAssignedValues.Include(lfvNativeStyle);
  FOwnNativeStyle = Value;
  CheckValuesChanged();
}

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* Value)
{
  if (FIsRoot || Value == this || (Value ? Value : Root) == MasterInForce()) return;
  // A master that (through its own masters) follows this object would make a loop.
  for (TcxLookAndFeel* m = Value; m; m = m->FMasterLookAndFeel)
    if (m == this) return;
  SaveValues();
  if (TcxLookAndFeel* old = MasterInForce()) old->RemoveChangeListener(this);
  FMasterLookAndFeel = Value;
  if (TcxLookAndFeel* now = MasterInForce()) now->AddChangeListener(this);
  CheckValuesChanged();
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetPainterForThemeClasses(TdxThemeClasses Mask) const
{
  if (FNativeStyle && dxThemeManager::AreThemesAvailable(Mask)) return TcxWinXPLookAndFeelPainter::Class();
  switch (FKind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Class();
    case lfStandard: return TcxStandardLookAndFeelPainter::Class();
    default: return TcxUltraFlatLookAndFeelPainter::Class();
  }
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetPainter() const { return GetPainterForThemeClasses(0); }

void TcxLookAndFeel::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxLookAndFeel*>(Source);
  if (!s) return TcxInterfacedPersistent::Assign(Source);
  SaveValues();
  FOwnKind = s->FOwnKind;
  FOwnNativeStyle = s->FOwnNativeStyle;
  FAssignedValues = s->FAssignedValues;
  TcxLookAndFeel* master = s->MasterInForce();
  if (master == this) master = nullptr;
  // The master change reports nothing itself: the differences are reported once below.
  TcxLookAndFeelKind kind = FSavedKind;
  bool native = FSavedNativeStyle;
  ++FUpdateCount;
  SetMasterLookAndFeel(master == Root ? nullptr : master);
  --FUpdateCount;
  FPendingValues = {};
  FSavedKind = kind;
  FSavedNativeStyle = native;
  CheckValuesChanged();
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelListener* Listener)
{
  if (!Listener) return;
  bool controller = dynamic_cast<TcxLookAndFeelController*>(Listener->GetListenerObject()) != nullptr;
  if (controller && !FIsRoot) return;
  if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end()) return;
  FListeners.push_back(Listener);
  if (controller) ++FControllerCount;
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelListener* Listener)
{
  if (FDestroying) return;
  auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it == FListeners.end()) return;
  bool controller = dynamic_cast<TcxLookAndFeelController*>(Listener->GetListenerObject()) != nullptr;
  FListeners.erase(it);
  if (controller && FIsRoot && --FControllerCount == 0) SetAssignedValues({});
}

void TcxLookAndFeel::SystemPaletteChanged() { Changed(TcxLookAndFeelValues{lfvNativeStyle}); }

void TcxLookAndFeel::LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)
{
  Changed(ChangedValues - FAssignedValues);
}

void TcxLookAndFeel::LookAndFeelDestroying(TcxLookAndFeel* Sender)
{
  if (Sender == FMasterLookAndFeel) {
    // The master is going: follow the root from now on.
    SaveValues();
    FMasterLookAndFeel = nullptr;
    if (Root && Root != Sender) Root->AddChangeListener(this);
    CheckValuesChanged();
  }
}

// ---- TcxLookAndFeelController ----------------------------------------------------------------

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner) : TComponent(AOwner)
{
  if (Root) Root->AddChangeListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController()
{
  if (Root) Root->RemoveChangeListener(this);
}

TcxLookAndFeelKind TcxLookAndFeelController::GetKind() const { return Root ? Root->GetKind() : lfUltraFlat; }

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind Value)
{
  if (Root) Root->SetKind(Value);
}

bool TcxLookAndFeelController::GetNativeStyle() const { return Root ? Root->GetNativeStyle() : false; }

void TcxLookAndFeelController::SetNativeStyle(bool Value)
{
  if (Root) Root->SetNativeStyle(Value);
}

// ---- unit ------------------------------------------------------------------------------------

TcxLookAndFeel* cxLookAndFeels::RootLookAndFeel() { return Root; }

void cxLookAndFeels::Initialize()
{
  if (Root) return;
  Root = new TcxLookAndFeel(nullptr);
  Root->FIsRoot = true;
  Classes::RegisterClass(TcxLookAndFeelController::StaticClass());
}

void cxLookAndFeels::Finalize() { delete Root; }

PELTO_DEFINE_CLASS(TcxLookAndFeel)
PELTO_PUBLISH(TcxLookAndFeel, p)
{
  p.Property("AssignedValues", &TcxLookAndFeel::GetAssignedValues, &TcxLookAndFeel::SetAssignedValues).Stored(false);
  p.Property("Kind", &TcxLookAndFeel::GetKind, &TcxLookAndFeel::SetKind).StoredWhen(p.When([](const TcxLookAndFeel* l) {
    return l->FAssignedValues.Contains(lfvKind);
  }));
  p.Property("NativeStyle", &TcxLookAndFeel::GetNativeStyle, &TcxLookAndFeel::SetNativeStyle)
      .StoredWhen(p.When([](const TcxLookAndFeel* l) { return l->FAssignedValues.Contains(lfvNativeStyle); }));
}

PELTO_DEFINE_CLASS(TcxLookAndFeelController)
PELTO_PUBLISH(TcxLookAndFeelController, p)
{
  p.Property("Kind", &TcxLookAndFeelController::GetKind, &TcxLookAndFeelController::SetKind).Default(lfUltraFlat);
  p.Property("NativeStyle", &TcxLookAndFeelController::GetNativeStyle, &TcxLookAndFeelController::SetNativeStyle)
      .Default(false);
}
