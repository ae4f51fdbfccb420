// Pictures of every window of the start-up, rendered on the headless desktop and written as PNG
// into the build folder for people to look at; each is checked for its size and for ink.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/forms/About.h"
#include "core/forms/CompanyInfo.h"
#include "core/forms/DBConfigFrm.h"
#include "core/forms/Feedback.h"
#include "core/forms/Splash.h"
#include "core/forms/Tips.h"
#include "core/tests/FormsTestSupport.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/testsupport/ScreenPicture.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/window/Windows.h"
#include "ui/Bugger.h"
#include "ui/Desktop.h"
#include "ui/Login.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"
#include "ui/Main.h"
#include "ui/Pub.h"

namespace {

class Pictures : public CoreFormsFixture {
protected:
  void SetUp() override
  {
    CoreFormsFixture::SetUp();
    Graphics::Initialize();  // the splash's picture is a JPEG file
    MainWindow::ProgramDir = Dir.c_str();
    qxProj::ProductName = "澜岳合同管理系统";
    qxProj::ProductVersion = "单机版 1.21.111231";
    qxProj::ProductCode = "PELTO121";
  }
  void TearDown() override
  {
    delete Pub::PubFrm;
    MainWindow::ProgramDir.clear();
    CoreFormsFixture::TearDown();
  }
  // Writes the screen under Form as Name and answers how many pixels differ from the button
  // face (the form drew something).
  int Shoot(TCustomForm& Form, const char* Name, int W, int H)
  {
    Form.Show();
    Controls::ProcessMessages();
    Windows::UpdateWindow(Form.GetHandle());
    RECT r;
    Windows::GetWindowRect(Form.GetHandle(), &r);
    EXPECT_EQ(r.right - r.left, W) << Name;
    EXPECT_EQ(r.bottom - r.top, H) << Name;
    TPixelCanvas into(r.right - r.left, r.bottom - r.top);
    CaptureScreenRect(r, into);
    WritePng(into, std::string(PELTO_TEST_OUTPUT) + "/" + Name + ".png");
    return into.CountNot(RGB(212, 208, 200));
  }
};

}  // namespace

TEST_F(Pictures, EveryWindowOfTheStartIsDrawn)
{
  // Window sizes: the client areas of the layouts plus the dialog frame and caption.
  {
#ifdef PELTO_SPLASH_JPG
    std::filesystem::copy_file(PELTO_SPLASH_JPG, Dir + "/splash.jpg");
#endif
    TSplashFrm splash(nullptr, Dir.c_str());
    splash.ShowHint("正在连接数据库,请稍候...");
    EXPECT_GT(Shoot(splash, "splash", 386, 271), 1000);
#ifdef PELTO_SPLASH_JPG
    // The picture fills the window; the status line stands over it.
    ASSERT_NE(splash.GetPicture(), nullptr);
    EXPECT_EQ(splash.Image1->GetWidth(), 386);
    EXPECT_EQ(splash.Image1->GetHeight(), 271);
    EXPECT_EQ(splash.Label1->GetLeft(), TSplashFrm::StatusLeft);
    EXPECT_EQ(splash.Label1->GetTop(), TSplashFrm::StatusTop);
#endif
  }
  {
    TLoginFrm login(nullptr, Dir.c_str());
    EXPECT_GT(Shoot(login, "login", login.GetWidth(), login.GetHeight()), 100);
  }
  for (int page = 0; page < 3; ++page) {
    TDBConfigFrm config(nullptr, (Dir + "/pelto").c_str());
    config.ComboBox1->SetItemIndex(page);
    config.ComboBox1Select(nullptr);
    std::string name = std::string("dbconfig-") + TDBConfigFrm::PageNames[page];
    EXPECT_GT(Shoot(config, name.c_str(), config.GetWidth(), config.GetHeight()), 100);
  }
  {
    TCompanyInfoFrm company(nullptr);
    company.SetCompanyName("杭州澜岳科技有限公司");
    EXPECT_GT(Shoot(company, "company", company.GetWidth(), company.GetHeight()), 100);
    EXPECT_EQ(company.GetClientWidth(), 602);
    EXPECT_EQ(company.GetClientHeight(), 432);
  }
  {
    TPasswordChangerFrm password(nullptr);
    password.SetUserId("sa");
    EXPECT_GT(Shoot(password, "password", password.GetWidth(), password.GetHeight()), 100);
  }
  {
    TTipsFrm tips(nullptr);
    tips.AddTip("在所有窗体上按F1键可打开相应的帮助");
    tips.ShowRandomTip(nullptr);
    EXPECT_GT(Shoot(tips, "tips", tips.GetWidth(), tips.GetHeight()), 100);
  }
  {
    TFeedbackFrm feedback(nullptr);
    EXPECT_GT(Shoot(feedback, "feedback", feedback.GetWidth(), feedback.GetHeight()), 100);
    EXPECT_EQ(feedback.GetClientWidth(), 677);
  }
  {
    TaboutFrm about(nullptr);
    EXPECT_GT(Shoot(about, "about", about.GetWidth(), about.GetHeight()), 100);
    EXPECT_EQ(about.GetClientWidth(), 444);
    EXPECT_EQ(about.GetClientHeight(), 281);
  }
  {
    TBuggerFrm report(nullptr, "除数为零", "EZeroDivide");
    EXPECT_GT(Shoot(report, "bugger", report.GetWidth(), report.GetHeight()), 100);
  }
  TPubFrm* pub = nullptr;
  Forms::Application->CreateForm(pub);
  TmainFrm* main = nullptr;
  Forms::Application->CreateForm(main);
  main->SetBounds(0, 0, 1024, 768);
  qxProj::CurrentOperator->Load("sa");
  MainWindow::DesktopFrm = new TDesktopFrm(main);
  EXPECT_GT(Shoot(*main, "main", 1024, 768), 1000);
}
