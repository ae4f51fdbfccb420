#include "report/engine/export/frxExportImage.h"

#include <cmath>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "report/engine/export/frxExportBitmap.h"
#include "report/engine/export/frxExportDialogs.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/objects/frxView.h"

namespace {

// Nearest integer, a half to the even neighbour.
int RoundEven(Extended v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

TfrxCustomImageExport::TfrxCustomImageExport(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}

TfrxCustomImageExport::~TfrxCustomImageExport() = default;

Integer TfrxCustomImageExport::ShowSettingsDialog()
{
  auto dialog = std::make_unique<TfrxIMGExportDialog>(nullptr);
  bool jpeg = dynamic_cast<TfrxJPEGExport*>(this) != nullptr;
  if (jpeg) {
    dialog->SaveDialog1->SetFilter(frxRes::Get("JPEGexportFilter"));
    dialog->SaveDialog1->SetDefaultExt(".jpg");
  }
  dialog->Quality->SetText(SysUtils::IntToStr(JPEGQuality));
  dialog->Quality->SetEnabled(jpeg);
  dialog->CropPage->SetChecked(CropImages);
  dialog->Mono->SetChecked(Monochrome);
  Integer result = dialog->ShowModal();
  if (result != mrOk) return result;
  // Text that is no quality (a number from 0 to 100) keeps the quality as it was.
  Integer quality = SysUtils::StrToIntDef(SysUtils::Trim(dialog->Quality->GetText()), -1);
  if (quality >= 0 && quality <= 100) JPEGQuality = quality;
  CropImages = dialog->CropPage->GetChecked();
  Monochrome = dialog->Mono->GetChecked();
  dialog->StorePageRange(this);
  return dialog->AskFileName(FileName) ? result : static_cast<Integer>(mrCancel);
}

bool TfrxCustomImageExport::BeginExport()
{
  CurPage = false;
  FPageCount = 0;
  return !FileName.empty();
}

void TfrxCustomImageExport::BeginPage(TfrxReportPage* Page, Integer Index)
{
  ++FPageCount;
  FBitmap = std::make_unique<TfrxExportBitmap>(RoundEven(Page->GetWidth()), RoundEven(Page->GetHeight()));
  FCropLeft = RoundEven(Page->GetWidth());
  FCropTop = RoundEven(Page->GetHeight());
  FCropRight = FCropBottom = 0;
}

void TfrxCustomImageExport::ExportObject(TfrxComponent* Obj)
{
  auto* view = dynamic_cast<TfrxView*>(Obj);
  if (!view || !FBitmap) return;
  Extended l = view->GetAbsLeft(), t = view->GetAbsTop();
  if (l < FCropLeft) FCropLeft = RoundEven(l);
  if (t < FCropTop) FCropTop = RoundEven(t);
  if (l + view->GetWidth() > FCropRight) FCropRight = RoundEven(l + view->GetWidth()) + 1;
  if (t + view->GetHeight() > FCropBottom) FCropBottom = RoundEven(t + view->GetHeight()) + 1;
  view->Draw(FBitmap->GetDC(), 1, 1, 0, 0);
}

void TfrxCustomImageExport::EndPage(TfrxReportPage* Page, Integer Index)
{
  std::unique_ptr<TfrxExportBitmap> bitmap = std::move(FBitmap);
  if (!bitmap) return;
  if (CropImages) bitmap->Crop(FCropLeft, FCropTop, FCropRight - FCropLeft, FCropBottom - FCropTop);
  if (Monochrome) bitmap->MakeMonochrome();
  SaveImage(*bitmap);
}

AnsiString TfrxJPEGExport::GetFilterCaption() const { return frxRes::Get("JPEGexport"); }

AnsiString TfrxJPEGExport::PageFileName() const
{
  return SysUtils::ChangeFileExt(FileName, "." + SysUtils::IntToStr(FPageCount) + ".jpg");
}

void TfrxJPEGExport::SaveImage(const TfrxExportBitmap& Bitmap)
{
  std::vector<std::uint8_t> jpeg = Bitmap.SaveJpeg(JPEGQuality);
  SaveSeam::SaveFile(PageFileName(), AnsiString(jpeg.begin(), jpeg.end()));
}

PELTO_DEFINE_CLASS(TfrxCustomImageExport)

PELTO_DEFINE_CLASS(TfrxJPEGExport)
PELTO_PUBLISH(TfrxJPEGExport, p)
{
  p.Property("CropImages", &ThisClass::CropImages, &ThisClass::CropImages).Default(true);
  p.Property("JPEGQuality", &ThisClass::JPEGQuality, &ThisClass::JPEGQuality).Default(90);
  p.Property("Monochrome", &ThisClass::Monochrome, &ThisClass::Monochrome).Default(false);
}
