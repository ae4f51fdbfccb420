#include "ui/Pub.h"

#include <memory>

#include "core/Http.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "ui/Artwork.h"
#include "ui/Bugger.h"

namespace Pub {

TPubFrm* PubFrm = nullptr;

AnsiString ExceptionBoxText(const AnsiString& Message)
{
  return "\r\n非常抱歉,系统遇到如下异常:\r\n\r\n" + Message +
         "\r\n\r\n您可以点击\"是\"将此问题作为Bug发送到我们的网站上!\r\n\r\n如有疑问,请与技术支持联系: 电话 " +
         Http::SupportTel + ", QQ " + Http::SupportQQ + ".";
}

}  // namespace Pub

namespace {
// Set while the report box or the report dialog is open.
bool ReportOpen = false;
}  // namespace

TPubFrm::TPubFrm(TComponent* AOwner) : TDataModule(AOwner)
{
  SetName("PubFrm");
  ImageList32 = new TImageList(this);
  ImageList32->SetName("ImageList32");
  Artwork::FillImageList(ImageList32, 32, ImageCount);
  ImageList16 = new TImageList(this);
  ImageList16->SetName("ImageList16");
  Artwork::FillImageList(ImageList16, 16, ImageCount);
  if (Forms::Application)
    Forms::Application->OnException = [this](TObject* S, Exception* E) { ApplicationEvents1Exception(S, E); };
  Pub::PubFrm = this;
}

TPubFrm::~TPubFrm()
{
  if (Forms::Application) Forms::Application->OnException = nullptr;
  if (Pub::PubFrm == this) Pub::PubFrm = nullptr;
}

void TPubFrm::ApplicationEvents1Exception(TObject*, Exception* E)
{
  if (!E || dynamic_cast<EAbort*>(E)) return;
  if (ReportOpen) {
    // A fault inside the report road itself: tell it plainly, offer nothing more.
    Dialogs::MessageDlg(E->Message(), mtError, {mbOK}, 0);
    return;
  }
  ReportOpen = true;
  struct TReset {
    ~TReset() { ReportOpen = false; }
  } reset;
  if (Dialogs::MessageDlg(Pub::ExceptionBoxText(E->Message()), mtError, {mbYes, mbNo}, 0) != mrYes) return;
  std::unique_ptr<TBuggerFrm> report = std::make_unique<TBuggerFrm>(this, E->Message(), E->ClassName());
  report->ShowModal();
}
