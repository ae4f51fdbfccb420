// Container styles and style controllers: defaults by look, values and fonts up the controller
// chain, cycle refusal, gathered changes, a stream that keeps only assigned values, and the
// free notificator.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxContainerStyle.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Streams.h"

namespace {

struct ContainerStyleTest : ::testing::Test {
  void SetUp() override { FrameworkModule::Initialize(); }
  void TearDown() override { FrameworkModule::Finalize(); }
};

TEST_F(ContainerStyleTest, AnUnassignedStyleAnswersTheDefaultsOfItsLook)
{
  TcxContainerStyle style(nullptr);
  EXPECT_EQ(style.GetAssignedValues(), TcxContainerStyleValues{});
  EXPECT_EQ(style.GetBorderColor(), clWindowFrame);
  EXPECT_EQ(style.GetColor(), clWindow);
  EXPECT_EQ(style.GetEffectiveColor(), clWindow);
  EXPECT_EQ(style.GetEdges(), cxBordersAll);
  EXPECT_TRUE(style.GetHotTrack());
  EXPECT_FALSE(style.GetShadow());
  EXPECT_TRUE(style.GetTransparentBorder());
  EXPECT_EQ(style.GetStyleController(), nullptr);
  const std::pair<TcxLookAndFeelKind, TcxContainerBorderStyle> kinds[] = {
      {lfFlat, cbsFlat}, {lfStandard, cbs3D}, {lfUltraFlat, cbsUltraFlat}};
  for (auto [kind, border] : kinds) {
    style.GetLookAndFeel()->SetKind(kind);
    EXPECT_EQ(style.GetBorderStyle(), border) << int(kind);
  }
  AnsiString name;
  EXPECT_TRUE(style.GetStyleValueName(7, name));
  EXPECT_EQ(name, "TransparentBorder");
  EXPECT_FALSE(style.GetStyleValueName(8, name));
  EXPECT_EQ(name, "");
}

TEST_F(ContainerStyleTest, ValuesAndFontsComeDownTheControllerChain)
{
  TComponent owner(nullptr);
  auto* top = new TcxStyleController(&owner);
  auto* middle = new TcxStyleController(&owner);
  TcxContainerStyle style(nullptr);
  middle->GetStyle()->SetStyleController(top);
  style.SetStyleController(middle);

  top->GetStyle()->SetBorderColor(clRed);
  top->GetStyle()->SetTransparentBorder(false);
  middle->GetStyle()->SetShadow(true);
  EXPECT_EQ(style.GetBorderColor(), clRed);
  EXPECT_TRUE(style.GetShadow());
  EXPECT_FALSE(style.GetTransparentBorder());
  EXPECT_TRUE(style.IsValueAssigned(svBorderColor));
  EXPECT_TRUE(style.IsValueAssigned(svShadow));
  EXPECT_FALSE(style.IsValueAssigned(svTransparentBorder)) << "only the first seven are looked up";
  EXPECT_EQ(style.GetAssignedValues(), TcxContainerStyleValues{}) << "nothing of its own";

  // The style's own value wins; clearing it inherits again.
  style.SetBorderColor(clBlue);
  EXPECT_EQ(style.GetBorderColor(), clBlue);
  style.SetAssignedValues({});
  EXPECT_EQ(style.GetBorderColor(), clRed);

  // A font set at the top reaches every style that has not set its own, unassigned.
  top->GetStyle()->GetFont()->SetName("宋体");
  top->GetStyle()->GetFont()->SetSize(14);
  EXPECT_EQ(style.GetFont()->GetSize(), 14);
  EXPECT_EQ(middle->GetStyle()->GetFont()->GetName(), "宋体");
  EXPECT_FALSE(style.GetAssignedValues().Contains(svFont));
  EXPECT_FALSE(middle->GetStyle()->GetAssignedValues().Contains(svFont));
  style.GetFont()->SetSize(9);
  EXPECT_TRUE(style.GetAssignedValues().Contains(svFont));
  top->GetStyle()->GetFont()->SetSize(20);
  EXPECT_EQ(style.GetFont()->GetSize(), 9) << "an own font stays";

  // The style's look-and-feel follows its controller's.
  middle->GetStyle()->GetLookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(style.GetBorderStyle(), cbs3D);

  // A freed controller sends its listeners back to the default.
  delete middle;
  EXPECT_EQ(style.GetStyleController(), nullptr);
  EXPECT_EQ(style.GetBorderColor(), clWindowFrame);
  EXPECT_EQ(top->GetListenerCount(), 0);
}

TEST_F(ContainerStyleTest, AControllerThatWouldCloseACycleIsRefused)
{
  TComponent owner(nullptr);
  TcxStyleController* c[4];
  for (auto*& controller : c) controller = new TcxStyleController(&owner);
  // c0 <- c1 <- c2 <- c3: each style uses the one before as controller.
  for (int i = 1; i < 4; ++i) c[i]->GetStyle()->SetStyleController(c[i - 1]);
  struct Case {
    int Style, Controller;
  } cases[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}};
  for (const Case& k : cases) {
    c[k.Style]->GetStyle()->SetStyleController(c[k.Controller]);
    EXPECT_EQ(c[k.Style]->GetStyle()->GetStyleController(), k.Style == 0 ? nullptr : c[k.Style - 1])
        << k.Style << " <- " << k.Controller;
  }
  c[3]->GetStyle()->SetBorderColor(clLime);  // a lookup still ends
  EXPECT_EQ(c[3]->GetStyle()->GetBorderColor(), clLime);
  EXPECT_EQ(c[0]->GetStyle()->GetBorderColor(), clWindowFrame);
}

TEST_F(ContainerStyleTest, ChangesBetweenBeginAndEndUpdateAreReportedOnce)
{
  TComponent owner(nullptr);
  auto* controller = new TcxStyleController(&owner);
  TcxContainerStyle style(nullptr);
  style.SetStyleController(controller);
  int changes = 0, controllerReports = 0;
  style.OnChanged = [&](TObject*) { ++changes; };
  controller->OnStyleChanged = [&](TObject*, TcxContainerStyle*) { ++controllerReports; };

  style.BeginUpdate();
  style.SetColor(clYellow);
  style.SetShadow(true);
  style.GetFont()->SetSize(12);
  EXPECT_EQ(changes, 0);
  style.EndUpdate();
  EXPECT_EQ(changes, 1);
  style.SetColor(clYellow);  // already assigned and equal
  EXPECT_EQ(changes, 1);

  controller->GetStyle()->SetHotTrack(false);
  EXPECT_EQ(changes, 2) << "the controller's change reaches its listeners";
  EXPECT_EQ(controllerReports, 2) << "once for its own style, once for the listener";

  style.RestoreDefaults();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(style.GetAssignedValues(), TcxContainerStyleValues{});
  EXPECT_FALSE(style.GetHotTrack()) << "from the controller";

  // A reference style borrows a font and never reports.
  TcxContainerStyle reference(nullptr, true);
  int referenceChanges = 0;
  reference.OnChanged = [&](TObject*) { ++referenceChanges; };
  reference.Assign(&style);
  reference.SetColor(clRed);
  EXPECT_EQ(referenceChanges, 0);
  EXPECT_EQ(reference.GetFont(), style.GetFont());
  EXPECT_EQ(reference.GetBorderColor(), clDefault);
  EXPECT_EQ(reference.GetEdges(), TcxBorders{});
  EXPECT_TRUE(reference.IsValueAssigned(svEdges));
}

TEST_F(ContainerStyleTest, TheStreamKeepsOnlyAssignedValues)
{
  Classes::RegisterClass(TcxStyleController::StaticClass());
  TComponent owner(nullptr);
  auto* controller = new TcxStyleController(&owner);
  controller->SetName("ContractStyle");
  controller->GetStyle()->SetBorderStyle(cbsSingle);
  controller->GetStyle()->SetColor(clInfoBk);
  TMemoryStream stream;
  Classes::WriteComponent(&stream, controller);
  const std::string bytes(static_cast<const char*>(stream.GetMemory()), size_t(stream.GetSize()));
  EXPECT_NE(bytes.find("BorderStyle"), std::string::npos);
  EXPECT_NE(bytes.find("Color"), std::string::npos);
  for (const char* absent : {"BorderColor", "Edges", "HotTrack", "Shadow", "TransparentBorder", "Font"})
    EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;

  stream.SetPosition(0);
  TcxStyleController copy(nullptr);
  Classes::ReadComponent(&stream, &copy);
  EXPECT_EQ(copy.GetStyle()->GetAssignedValues(), (TcxContainerStyleValues{svBorderStyle, svColor}));
  EXPECT_EQ(copy.GetStyle()->GetBorderStyle(), cbsSingle);
  EXPECT_EQ(copy.GetStyle()->GetColor(), clInfoBk);
  EXPECT_EQ(copy.GetStyle()->GetBorderColor(), clWindowFrame);
}

TEST_F(ContainerStyleTest, TheFreeNotificatorReportsFreedSenders)
{
  std::vector<TComponent*> freed;  // outlives the owner, which tells the notificator it goes too
  TComponent owner(nullptr);
  auto* notificator = new TcxFreeNotificator(&owner);
  notificator->OnComponentFreed = [&](TComponent* c) { freed.push_back(c); };
  notificator->AddSender(nullptr);
  auto* watched = new TComponent(nullptr);
  auto* withdrawn = new TComponent(nullptr);
  notificator->AddSender(watched);
  notificator->AddSender(withdrawn);
  notificator->RemoveSender(withdrawn);
  delete withdrawn;
  EXPECT_TRUE(freed.empty());
  delete watched;
  EXPECT_EQ(freed, std::vector<TComponent*>{watched});
}

}  // namespace
