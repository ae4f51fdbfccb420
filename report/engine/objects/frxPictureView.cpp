#include "report/engine/objects/frxPictureView.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Writer.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/text/TextOutput.h"
#include "platform/rtl/Streams.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxRes.h"
#include "platform/rtl/Guards.h"

using namespace Windows;

namespace {

int Round(Extended v) { return static_cast<int>(std::lround(v)); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | (std::uint32_t(U16(p + 2)) << 16); }

// The empty-picture symbol: a small framed landscape, 16 x 16 pixels at (X, Y).
void DrawEmptySymbol(HDC dc, int X, int Y)
{
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, white);
  Rectangle(dc, X, Y, X + 16, Y + 16);
  HBRUSH hill = CreateSolidBrush(RGB(0, 128, 0));
  SelectObject(dc, hill);
  POINT pts[] = {{X + 2, Y + 13}, {X + 7, Y + 6}, {X + 13, Y + 13}};
  Polygon(dc, pts, 3);
  HBRUSH sun = CreateSolidBrush(RGB(255, 192, 0));
  SelectObject(dc, sun);
  Ellipse(dc, X + 10, Y + 2, X + 14, Y + 6);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(sun);
  DeleteObject(hill);
  DeleteObject(white);
  DeleteObject(pen);
}

}  // namespace

TfrxPictureView::TfrxPictureView(TComponent* AOwner) : TfrxView(AOwner), FPicture(std::make_unique<TPicture>())
{
  Color = 0xFFFFFF;
  FPicture->OnChange = [this](TObject*) { PictureChangedBy(); };
}

TfrxPictureView::~TfrxPictureView() { FPicture->OnChange = nullptr; }

AnsiString TfrxPictureView::GetClassCaption() { return frxRes::Get("obPicture"); }

void TfrxPictureView::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TfrxPictureView::SetAutoSize(bool Value)
{
  FAutoSize = Value;
  TGraphic* g = FPicture->GetGraphic();
  if (FAutoSize && g && !g->GetEmpty()) {
    SetWidth(g->GetWidth());
    SetHeight(g->GetHeight());
  }
}

void TfrxPictureView::PictureChangedBy()
{
  SetAutoSize(FAutoSize);
  PictureChanged = true;
}

void TfrxPictureView::LoadFromFile(const AnsiString& FileName) { FPicture->LoadFromFile(FileName); }

void TfrxPictureView::LoadPictureFromStream(TStream* Stream)
{
  Int64 size = Stream->GetSize();
  Int64 start = 0;
  std::uint8_t head[44] = {};
  Stream->SetPosition(0);
  if (size >= 8) {
    Stream->ReadBuffer(head, 8);
    if (U16(head) == 1 && U16(head + 2) == 0x0100 && Int64(U32(head + 4)) == size - 8) start = 8;
  }
  Int64 remaining = size - start;
  std::memset(head, 0, sizeof head);
  Stream->SetPosition(start);
  Stream->ReadBuffer(head, std::min<Int64>(remaining, Int64(sizeof head)));

  std::unique_ptr<TGraphic> g;
  if (remaining >= 2 && U16(head) == 0x4D42)
    g = std::make_unique<TBitmap>();
  else if (remaining >= 2 && head[0] == 0xFF && head[1] == 0xD8)
    g = std::make_unique<TJPEGImage>();
  else if (remaining >= 4 && U32(head) == 0x9AC6CDD7)
    g = nullptr;  // placeable metafile
  else if (remaining >= 44 && U32(head + 40) == 0x464D4520)
    g = std::make_unique<TMetafile>();  // enhanced
  else if (remaining >= 4 && U16(head + 2) < 2)
    g = std::make_unique<TIcon>();
  if (!g) {
    FPicture->Assign(nullptr);
    return;
  }
  Stream->SetPosition(start);
  // A damaged picture shows nothing rather than the previous record's.
  TScopeExit clear([&] { FPicture->Assign(nullptr); });
  g->LoadFromStream(Stream);
  clear.Dismiss();
  FPicture->SetGraphic(g.get());
}

void TfrxPictureView::FetchData()
{
  TfrxView::FetchData();
  if (!IsDataField()) return;
  TfrxDataSet* ds = GetDataSet();
  if (!ds->IsBlobField(DataField)) return;
  TMemoryStream s;
  ds->AssignBlobTo(DataField, &s);
  LoadPictureFromStream(&s);
}

AnsiString TfrxPictureView::WriteDiff(TfrxComponent* Reference)
{
  AnsiString s;
  if (PictureChanged) {
    TMemoryStream data;
    {
      TWriter w(&data, 4096);
      w.WriteDefinedProperties(FPicture.get());
    }
    if (data.GetSize() > 0) {
      static const char hex[] = "0123456789ABCDEF";
      const auto* bytes = static_cast<const unsigned char*>(data.GetMemory());
      AnsiString h;
      h.reserve(static_cast<std::size_t>(data.GetSize()) * 2);
      for (Int64 i = 0; i < data.GetSize(); ++i) {
        h += hex[bytes[i] >> 4];
        h += hex[bytes[i] & 15];
      }
      s = " Picture.PropData=\"" + h + "\"";
    }
  }
  return s + TfrxComponent::WriteDiff(Reference);
}

void TfrxPictureView::Draw(HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX, Extended OffsetY)
{
  BeginDraw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  DrawBackground();
  RECT r{FX, FY, FX1, FY1};
  TGraphic* g = FPicture->GetGraphic();
  if (g && !g->GetEmpty()) {
    int pw = g->GetWidth(), ph = g->GetHeight();
    if (Stretched) {
      if (KeepAspectRatio) {
        Extended kx = Extended(FDX) / pw, ky = Extended(FDY) / ph;
        if (ky > kx)
          r.bottom = r.top + Round(ph * kx);
        else
          r.right = r.left + Round(pw * ky);
        if (Center) {
          int dx = (FDX - (r.right - r.left)) / 2, dy = (FDY - (r.bottom - r.top)) / 2;
          r = RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        }
      }
    } else {
      r.right = r.left + Round(ScaleX * pw);
      r.bottom = r.top + Round(ScaleY * ph);
      if (Center) {
        int dx = (FDX - (r.right - r.left)) / 2, dy = (FDY - (r.bottom - r.top)) / 2;
        r = RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
      }
    }
    // Each graphic stretches itself: bitmaps and JPEG images by their pixels, icons through
    // their mask, so transparent parts keep the background; metafiles play their records.
    TCanvas c;
    c.SetHandle(Canvas);
    c.StretchDraw(r, g);
    c.SetHandle(nullptr);
  } else if (GetIsDesigning()) {
    DrawEmpty();
  }
  DrawFrame();
}

void TfrxPictureView::DrawEmpty()
{
  LOGFONTA lf;
  lf.lfHeight = -11;  // Tahoma 8 at 96 dpi
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", "Tahoma");
  HFONT font = CreateFontIndirect(lf);
  HGDIOBJ oldFont = SelectObject(FCanvas, font);
  COLORREF oldColor = SetTextColor(FCanvas, 0);
  int oldBk = SetBkMode(FCanvas, TRANSPARENT);
  AnsiString caption = frxRes::Get("obPicture");
  RECT clip{FX, FY, FX1, FY1};
  ExtTextOut(FCanvas, FX + 20, FY + 3, ETO_CLIPPED, &clip, caption.data(), static_cast<int>(caption.size()), nullptr);
  SetBkMode(FCanvas, oldBk);
  SetTextColor(FCanvas, oldColor);
  SelectObject(FCanvas, oldFont);
  DeleteObject(font);
  DrawEmptySymbol(FCanvas, FX + 1, FY + 2);
}

namespace frxPictureView {

void Initialize()
{
  Graphics::Initialize();
  Classes::RegisterClasses({TfrxPictureView::StaticClass()});
}

}  // namespace frxPictureView

PELTO_DEFINE_CLASS(TfrxPictureView)
PELTO_PUBLISH(TfrxPictureView, p)
{
  p.Property("AutoSize", &ThisClass::GetAutoSize, &ThisClass::SetAutoSize).Default(false);
  p.Property("Center", &ThisClass::Center, &ThisClass::Center).Default(false);
  p.Property("DataField", &ThisClass::DataField, &ThisClass::DataField);
  p.Property("DataSet", &ThisClass::GetDataSet, &ThisClass::SetDataSet);
  p.Property("DataSetName", &ThisClass::GetDataSetName, &ThisClass::SetDataSetName);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
  p.Property("KeepAspectRatio", &ThisClass::KeepAspectRatio, &ThisClass::KeepAspectRatio).Default(true);
  p.Property("Picture", &ThisClass::GetPicture, &ThisClass::SetPicture);
  p.Property("Stretched", &ThisClass::Stretched, &ThisClass::Stretched).Default(true);
}
