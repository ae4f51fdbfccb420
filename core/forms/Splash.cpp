#include "core/forms/Splash.h"

#include "core/qxProj.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Graphic.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"

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
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetAlign(alTop);
  Image1->SetAutoSize(true);
  Image1->SetParent(this);
  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetTransparent(true);
  Label1->GetFont()->SetColor(clSilver);
  Label1->SetLeft(StatusLeft);
  Label1->SetTop(StatusTop);
  Label1->SetCaption("正在创建数据连接...");
  Label1->SetParent(this);
  AnsiString dir = ProgramDir.empty() ? TProject::GetProgramDir() : ProgramDir;
  AnsiString file = SysUtils::IncludeTrailingPathDelimiter(dir) + "splash.jpg";
  if (SysUtils::FileExists(file)) {
    try {
      Image1->GetPicture()->LoadFromFile(file);
    } catch (const Exception&) {
      // A damaged picture is no reason not to start: the splash shows none.
      Image1->GetPicture()->SetGraphic(nullptr);
    }
  }
  Label1->BringToFront();
}

TSplashFrm::~TSplashFrm() = default;

AnsiString TSplashFrm::GetStatusText() const { return Label1->GetCaption(); }

TPicture* TSplashFrm::GetPicture() const
{
  TPicture* p = Image1->GetPicture();
  return p->GetGraphic() && !p->GetGraphic()->GetEmpty() ? p : nullptr;
}

void TSplashFrm::ShowHint(const AnsiString& Text)
{
  Label1->SetCaption(Text.empty() ? Label1->GetCaption() + "." : Text);
  if (HandleAllocated()) Label1->Repaint();
}

PELTO_DEFINE_CLASS(TSplashFrm)
