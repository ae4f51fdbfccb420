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

PELTO_DEFINE_CLASS(TfrxBarCodeView)
PELTO_PUBLISH(TfrxBarCodeView, p)
{
  p.Property("BarType", &ThisClass::BarType, &ThisClass::BarType).Default(bcCode39);
  p.Property("BrushStyle", &ThisClass::BrushStyle, &ThisClass::BrushStyle).Default(bsSolid);
  p.Property("CalcCheckSum", &ThisClass::CalcCheckSum, &ThisClass::CalcCheckSum).Default(false);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color).Default(clNone);
  p.Property("DataField", &ThisClass::DataField, &ThisClass::DataField);
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
  p.Property("Expression", &ThisClass::Expression, &ThisClass::Expression);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("HAlign", &ThisClass::HAlign, &ThisClass::HAlign).Default(haLeft);
  p.Property("Rotation", &ThisClass::Rotation, &ThisClass::Rotation).Default(0);
  p.Property("ShowText", &ThisClass::ShowText, &ThisClass::ShowText).Default(true);
  p.Property("Text", &ThisClass::Text, &ThisClass::Text);
  p.Property("Zoom", &ThisClass::Zoom, &ThisClass::Zoom).StoredWhen([](const TObject* o) {
    return static_cast<const TfrxBarCodeView*>(o)->Zoom != 1;
  });
}

PELTO_DEFINE_CLASS(TfrxBarCodeObject)
