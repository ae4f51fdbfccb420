#include "core/forms/Splash.h"

#include "core/qxProj.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

TSplashFrm::TSplashFrm(TComponent* AOwner, const AnsiString& ProgramDir) : TForm(AOwner)
{
  SetName("SplashFrm");
  SetBorderStyle(bsNone);
  SetClientSize(386, 271);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  SetColor(clWhite);
  GetFont()->SetName("宋体");
  GetFont()->SetHeight(-12);
  AnsiString dir = ProgramDir.empty() ? TProject::GetProgramDir() : ProgramDir;
  AnsiString file = SysUtils::IncludeTrailingPathDelimiter(dir) + "splash.jpg";
  if (SysUtils::FileExists(file)) {
    auto picture = std::make_unique<TPicture>();
    try {
      picture->LoadFromFile(file);
      FPicture = std::move(picture);
    } catch (const Exception&) {
      // A damaged picture is no reason not to start: the splash shows none.
    }
  }
}

TSplashFrm::~TSplashFrm() = default;

void TSplashFrm::ShowHint(const AnsiString& Text)
{
  if (Text.empty())
    FStatus += ".";
  else
    FStatus = Text;
  if (HandleAllocated()) Repaint();
}

void TSplashFrm::Paint()
{
  TCanvas* c = GetCanvas();
  if (FPicture && FPicture->GetGraphic()) c->Draw(0, 0, FPicture->GetGraphic());
  c->GetFont()->Assign(GetFont());
  c->GetFont()->SetColor(clSilver);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(StatusLeft, StatusTop, FStatus);
}
