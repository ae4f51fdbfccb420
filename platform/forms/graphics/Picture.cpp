#include "platform/forms/graphics/Picture.h"

#include "platform/classes/Filer.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Streams.h"

namespace {

std::unique_ptr<TGraphic> NewGraphic(TGraphicClass AClass)
{
  TObject* obj = AClass->Create();
  auto* g = dynamic_cast<TGraphic*>(obj);
  if (!g) {
    delete obj;
    throw EInvalidGraphic(AnsiString("Not a picture class: ") + AClass->ClassName());
  }
  return std::unique_ptr<TGraphic>(g);
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Adopt(std::unique_ptr<TGraphic> Value)
{
  FGraphic = std::move(Value);
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::Assign(TPersistent* Source)
{
  if (!Source)
    SetGraphic(nullptr);
  else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    if (p != this) SetGraphic(p->GetGraphic());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source))
    SetGraphic(g);
  else
    TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest)
{
  // A picture holding a graphic of the destination's class hands over a copy of it.
  if (FGraphic && Dest && Dest->ClassType() == FGraphic->ClassType())
    Dest->Assign(FGraphic.get());
  else
    TPersistent::AssignTo(Dest);
}

void TPicture::SetGraphic(TGraphic* Value)
{
  if (Value == FGraphic.get() && Value) return;
  std::unique_ptr<TGraphic> copy;
  if (Value) {
    copy = NewGraphic(Value->ClassType());
    copy->Assign(Value);
  }
  Adopt(std::move(copy));
}

TBitmap* TPicture::GetBitmap()
{
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::GetIcon()
{
  if (!dynamic_cast<TIcon*>(FGraphic.get())) Adopt(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

int TPicture::GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
int TPicture::GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }

void TPicture::LoadFromFile(const AnsiString& FileName)
{
  AnsiString ext = SysUtils::ExtractFileExt(FileName);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  TGraphicClass cls = Graphics::FindGraphicClassByExtension(ext);
  if (!cls) throw EInvalidGraphic(SysUtils::Format("Unknown picture file extension (.%s)", {ext}));
  std::unique_ptr<TGraphic> g = NewGraphic(cls);
  g->LoadFromFile(FileName);
  Adopt(std::move(g));
}

void TPicture::SaveToFile(const AnsiString& FileName)
{
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler* Filer)
{
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      FGraphic && !FGraphic->GetEmpty());
}

void TPicture::ReadData(TStream* Stream)
{
  unsigned char len = 0;
  Stream->ReadBuffer(&len, 1);
  AnsiString name(len, '\0');
  if (len) Stream->ReadBuffer(name.data(), len);
  TGraphicClass cls = Graphics::FindGraphicClassByName(name);
  if (!cls) {
    Adopt(nullptr);
    throw EInvalidGraphic("Unknown picture class " + name);
  }
  std::unique_ptr<TGraphic> g = NewGraphic(cls);
  g->ReadData(Stream);
  Adopt(std::move(g));
}

void TPicture::WriteData(TStream* Stream)
{
  AnsiString name = FGraphic->ClassName();
  unsigned char len = static_cast<unsigned char>(name.size());
  Stream->WriteBuffer(&len, 1);
  Stream->WriteBuffer(name.data(), len);
  FGraphic->WriteData(Stream);
}

void TPicture::Changed()
{
  if (OnChange) OnChange(this);
}
