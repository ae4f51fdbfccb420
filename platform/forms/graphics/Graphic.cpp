#include "platform/forms/graphics/Graphic.h"

#include <cstdint>

#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SaveSeam.h"

void TGraphic::SetTransparent(bool Value)
{
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::SetModified(bool Value)
{
  if (Value)
    Changed();
  else
    FModified = false;
}

void TGraphic::LoadFromFile(const AnsiString& FileName)
{
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* stream) { SaveToStream(stream); });
}

void TGraphic::Changed()
{
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::ReadSizedData(TStream* Stream)
{
  std::int32_t size = 0;
  Stream->ReadBuffer(&size, 4);
  if (size <= 0) {
    Clear();
    return;
  }
  TMemoryStream block;
  block.CopyFrom(Stream, size);
  block.SetPosition(0);
  LoadFromStream(&block);
}

void TGraphic::WriteSizedData(TStream* Stream)
{
  TMemoryStream block;
  SaveToStream(&block);
  std::int32_t size = static_cast<std::int32_t>(block.GetSize());
  Stream->WriteBuffer(&size, 4);
  if (size) Stream->WriteBuffer(block.GetMemory(), size);
}

void TGraphic::DefineProperties(TFiler* Filer)
{
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !GetEmpty());
}
