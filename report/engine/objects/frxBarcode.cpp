#include "report/engine/objects/frxBarcode.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/Variants.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"

TfrxBarCodeView::TfrxBarCodeView(TComponent* AOwner) : TfrxView(AOwner), FBarcode(std::make_unique<TfrxBarcode>())
{
  FBarcode->SetTyp(BarType);
}

TfrxBarCodeView::~TfrxBarCodeView() = default;

AnsiString TfrxBarCodeView::GetClassCaption() { return frxRes::Get("obBarC"); }

void TfrxBarCodeView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  FBarcode->SetAngle(Rotation);
  FBarcode->SetChecksum(CalcCheckSum);
  FBarcode->SetTyp(BarType);
  FBarcode->SetColor(Color == clNone ? 0xFFFFFF : Color);
  FBarcode->SetText(Text);
  if (Zoom < 0.0001) Zoom = 1;
  Extended size = FBarcode->GetWidth() * Zoom;
  if (Rotation != 0 && Rotation != 180) {
    SetHeight(size);
  } else {
    Extended former = GetWidth();
    SetWidth(size);
    if (HAlign == haRight)
      SetLeft(GetLeft() + former - size);
    else if (HAlign == haCenter)
      SetLeft(GetLeft() + (former - size) / 2);
  }
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  DrawBackground();
  FBarcode->DrawInRect(Canvas, RECT{FX, FY, FX1, FY1}, ShowText);
  DrawFrame();
}

void TfrxBarCodeView::FetchData()
{
  TfrxView::FetchData();
  if (IsDataField()) {
    Text = Variants::VarToStr(GetDataSet()->GetValue(DataField));
  } else if (!Expression.empty()) {
    if (TfrxReport* report = GetReport()) Text = Variants::VarToStr(report->Calc(Expression));
  }
}

void TfrxBarCodeView::SaveBounds()
{
  TfrxView::SaveBounds();
  FSavedText = Text;
}

void TfrxBarCodeView::RestoreBounds()
{
  TfrxView::RestoreBounds();
  Text = FSavedText;
}

namespace frxBarcode {

void Initialize()
{
  Classes::RegisterClasses({TfrxBarCodeView::StaticClass(), TfrxBarCodeObject::StaticClass()});
  frxDsgnIntf::ObjectRegistry()->Register(TfrxBarCodeView::StaticClass(), nullptr, AnsiString(), "Other", 0, 23);
}

}  // namespace frxBarcode
