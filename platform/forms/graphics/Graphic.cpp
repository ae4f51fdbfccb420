#include "platform/forms/graphics/Graphic.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"

void TGraphic::SetTransparent(bool Value)
{
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::SetModified(bool Value)
{
  if (Value) Changed();
  else FModified = false;
}

void TGraphic::LoadFromFile(const AnsiString& FileName)
{
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName)
{
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::Changed()
{
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::DefineProperties(TFiler* Filer)
{
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !GetEmpty());
}
