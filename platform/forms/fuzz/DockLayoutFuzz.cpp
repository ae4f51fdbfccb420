// Feeds arbitrary bytes to a dock site as a stored layout. Loading either rearranges the site's
// windows or leaves them as they were; the layout then saves and loads again.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/controls/DockTree.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/Streams.h"
#include "platform/win/backend/Headless.h"

namespace {

// A main form with a dock site and three named tool windows, two of them docked.
struct TDockWorld {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  TForm* Main = nullptr;
  TCustomControl* Site = nullptr;
  TForm* Tools[3] = {};

  TDockWorld()
  {
    Classes::RegisterFindGlobalComponentProc(
        "DockLayoutFuzz", [this](const AnsiString& Name) -> TComponent* { return Owner->FindComponent(Name); });
    Main = new TForm(Owner.get());
    Main->SetBounds(50, 50, 500, 400);
    Site = new TCustomControl(Owner.get());
    Site->SetName("Site");
    Site->ControlStyle.Include(csAcceptsControls);
    Site->SetParent(Main);
    Site->SetBounds(0, 0, 200, 360);
    Site->SetDockSite(true);
    Site->SetUseDockManager(true);
    Main->Show();
    const char* names[] = {"ToolA", "ToolB", "ToolC"};
    for (int i = 0; i < 3; ++i) {
      Tools[i] = new TForm(Owner.get());
      Tools[i]->SetName(names[i]);
      Tools[i]->SetBounds(600, 50 + i * 120, 120, 100);
      Tools[i]->SetDragKind(dkDock);
      Tools[i]->Show();
    }
    Tools[0]->ManualDock(Site);
    Tools[1]->ManualDock(Site, Tools[0], alRight);
  }
  ~TDockWorld() { Classes::UnregisterFindGlobalComponentProc("DockLayoutFuzz"); }
};

void Load(TDockWorld& World, const uint8_t* Data, size_t Size)
{
  TMemoryStream in;
  if (Size) in.WriteBuffer(Data, Int64(Size));
  in.SetPosition(0);
  World.Site->GetDockManager()->LoadFromStream(&in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Headless::Start(1024, 768);
  Controls::Initialize();
  {
    TDockWorld world;
    Load(world, data, size);
    TMemoryStream saved;
    world.Site->GetDockManager()->SaveToStream(&saved);
    Load(world, static_cast<const uint8_t*>(saved.GetMemory()), size_t(saved.GetSize()));
    Controls::ProcessMessages();
  }
  Controls::ProcessMessages();
  return 0;
}
