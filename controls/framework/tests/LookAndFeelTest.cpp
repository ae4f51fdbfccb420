#include <gtest/gtest.h>

#include "controls/framework/cxLookAndFeels.h"
#include "controls/framework/cxUltraFlatLookAndFeelPainter.h"
#include "controls/framework/cxWinXPLookAndFeelPainter.h"
#include "controls/framework/cxSystemPaletteNotifier.h"
#include "controls/framework/FrameworkModule.h"
#include "platform/classes/ClassRegistry.h"

namespace {

struct TReports {
  std::vector<TcxLookAndFeelValues> Values;
  void Watch(TcxLookAndFeel& L)
  {
    L.OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues v) { Values.push_back(v); };
  }
};

const TcxLookAndFeelValues Kind{lfvKind}, Native{lfvNativeStyle};

struct LookAndFeelTest : ::testing::Test {
  void SetUp() override { cxLookAndFeels::Initialize(); }
  void TearDown() override { cxLookAndFeels::Finalize(); }
};

TEST_F(LookAndFeelTest, FollowsTheRootUntilItsOwnKindIsSet)
{
  TComponent form(nullptr);
  auto* controller = new TcxLookAndFeelController(&form);
  TcxLookAndFeel lf(nullptr);
  TReports r;
  r.Watch(lf);
  EXPECT_EQ(lf.GetKind(), lfUltraFlat);
  EXPECT_EQ(lf.GetPainter(), TcxUltraFlatLookAndFeelPainter::Class());
  controller->SetKind(lfStandard);
  EXPECT_EQ(lf.GetKind(), lfStandard);
  EXPECT_EQ(lf.GetPainter(), TcxStandardLookAndFeelPainter::Class());
  EXPECT_EQ(r.Values, (std::vector<TcxLookAndFeelValues>{Kind}));
  lf.SetKind(lfFlat);
  controller->SetKind(lfUltraFlat);  // no longer followed
  EXPECT_EQ(lf.GetKind(), lfFlat);
  EXPECT_EQ(r.Values.size(), 2u);
  controller->SetNativeStyle(true);  // native style still follows
  EXPECT_TRUE(lf.GetNativeStyle());
  EXPECT_EQ(r.Values.back(), Native);
  // No themes here: native style still gets the painter of the kind.
  EXPECT_EQ(lf.GetPainter(), TcxFlatLookAndFeelPainter::Class());
  EXPECT_EQ(lf.GetPainterForThemeClasses(1u << totButton), TcxFlatLookAndFeelPainter::Class());
}

TEST_F(LookAndFeelTest, SettingTheValueInForceMarksItAssignedButReportsNothing)
{
  TcxLookAndFeel lf(nullptr);
  TReports r;
  r.Watch(lf);
  lf.SetKind(lfUltraFlat);
  EXPECT_TRUE(lf.GetAssignedValues().Contains(lfvKind));
  EXPECT_TRUE(r.Values.empty());
  lf.SetAssignedValues({});
  EXPECT_TRUE(r.Values.empty());
}

TEST_F(LookAndFeelTest, DestroyedMasterLeavesItsDependantsOnTheRoot)
{
  auto master = std::make_unique<TcxLookAndFeel>(nullptr);
  TcxLookAndFeel a(nullptr), b(nullptr);
  a.SetMasterLookAndFeel(master.get());
  b.SetMasterLookAndFeel(master.get());
  master->SetKind(lfStandard);
  EXPECT_EQ(a.GetKind(), lfStandard);
  b.SetKind(lfStandard);
  master->SetKind(lfFlat);
  EXPECT_EQ(a.GetKind(), lfFlat);
  EXPECT_EQ(b.GetKind(), lfStandard);  // b assigns its kind itself
  TReports ra, rb;
  ra.Watch(a);
  rb.Watch(b);
  master.reset();
  EXPECT_EQ(a.GetMasterLookAndFeel(), nullptr);
  EXPECT_EQ(a.GetKind(), lfUltraFlat);
  EXPECT_EQ(ra.Values, (std::vector<TcxLookAndFeelValues>{Kind}));
  EXPECT_TRUE(rb.Values.empty());  // nothing differs for b
  cxLookAndFeels::RootLookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(a.GetKind(), lfStandard);
}

TEST_F(LookAndFeelTest, MasterChainsAndAssign)
{
  TcxLookAndFeel top(nullptr), middle(nullptr), leaf(nullptr);
  middle.SetMasterLookAndFeel(&top);
  leaf.SetMasterLookAndFeel(&middle);
  top.SetMasterLookAndFeel(&leaf);  // would loop: ignored
  EXPECT_EQ(top.GetMasterLookAndFeel(), nullptr);
  top.SetNativeStyle(true);
  EXPECT_TRUE(leaf.GetNativeStyle());
  TcxLookAndFeel copy(nullptr);
  TReports r;
  r.Watch(copy);
  copy.Assign(&leaf);
  EXPECT_EQ(copy.GetMasterLookAndFeel(), &middle);
  EXPECT_TRUE(copy.GetNativeStyle());
  EXPECT_EQ(r.Values, (std::vector<TcxLookAndFeelValues>{Native}));
}

TEST_F(LookAndFeelTest, RemovingTheLastControllerResetsTheProgramLook)
{
  TComponent form(nullptr);
  auto* c1 = new TcxLookAndFeelController(&form);
  auto* c2 = new TcxLookAndFeelController(&form);
  c1->SetKind(lfFlat);
  c1->SetNativeStyle(true);
  TcxLookAndFeel lf(nullptr);
  EXPECT_EQ(lf.GetKind(), lfFlat);
  lf.AddChangeListener(c1);  // only the root takes controllers
  EXPECT_EQ(lf.GetListenerCount(), 0);
  delete c1;
  EXPECT_EQ(lf.GetKind(), lfFlat);
  TReports r;
  r.Watch(lf);
  delete c2;
  EXPECT_EQ(lf.GetKind(), lfUltraFlat);
  EXPECT_FALSE(lf.GetNativeStyle());
  EXPECT_EQ(r.Values, (std::vector<TcxLookAndFeelValues>{Kind + Native}));
}

TEST_F(LookAndFeelTest, OneReportPerEndUpdate)
{
  TcxLookAndFeel root(nullptr);
  TcxLookAndFeel lf(nullptr);
  lf.SetMasterLookAndFeel(&root);
  TReports r;
  r.Watch(lf);
  root.BeginUpdate();
  root.SetKind(lfStandard);
  root.SetNativeStyle(true);
  root.SetKind(lfFlat);
  EXPECT_TRUE(r.Values.empty());
  EXPECT_EQ(root.GetKind(), lfFlat);  // values are in force at once
  root.EndUpdate();
  EXPECT_EQ(r.Values, (std::vector<TcxLookAndFeelValues>{Kind + Native}));
  root.BeginUpdate();
  root.EndUpdate();
  EXPECT_EQ(r.Values.size(), 1u);
}

TEST_F(LookAndFeelTest, PaletteChangeReachesPrimaryNotifiersFirst)
{
  std::vector<int> order;
  TcxSystemPaletteChangedNotifier ordinary(false), primary(true);
  ordinary.OnSystemPaletteChanged = [&] { order.push_back(2); };
  primary.OnSystemPaletteChanged = [&] { order.push_back(1); };
  TcxLookAndFeel lf(nullptr);
  TReports r;
  r.Watch(lf);
  cxSystemPaletteNotifier::SystemColorsChanged();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  // Told by its own notifier and again through the root it follows.
  ASSERT_FALSE(r.Values.empty());
  for (auto v : r.Values) EXPECT_EQ(v, Native);
}

TEST(PaletteListener, LivesWhileNotifiersExist)
{
  bool before = cxSystemPaletteNotifier::ListenerExists();
  {
    TcxSystemPaletteChangedNotifier n;
    EXPECT_TRUE(cxSystemPaletteNotifier::ListenerExists());
  }
  EXPECT_EQ(cxSystemPaletteNotifier::ListenerExists(), before);
}

}  // namespace

namespace {

TEST(FrameworkModule, StartsAndStopsTwice)
{
  for (int round = 0; round < 2; ++round) {
    FrameworkModule::Initialize();
    FrameworkModule::Initialize();
    ASSERT_NE(cxLookAndFeels::RootLookAndFeel(), nullptr);
    EXPECT_FALSE(dxThemeManager::AreThemesAvailable());  // no theme library on this platform
    EXPECT_NE(Classes::FindClass("TcxLookAndFeelController"), nullptr);
    EXPECT_NE(Classes::FindClass("TcxStyle"), nullptr);
    FrameworkModule::Finalize();
    EXPECT_EQ(cxLookAndFeels::RootLookAndFeel(), nullptr);
  }
}

}  // namespace
