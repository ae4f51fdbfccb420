// The picture view: drawn into bitmaps at the points that matter (aspect ratio, centring,
// natural size, design-time placeholder), sized by AutoSize, loaded from BLOB data of every kind,
// and through the ".fr3" file and the prepared-page difference text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/Streams.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/testsupport/PixelCanvas.h"

namespace {

// W x H red, its bottom-right pixel blue. (Rows hold 0x00RRGGBB.)
void Paint(TBitmap& b, int w, int h)
{
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.GetScanLine(y)[x] = 0xFF0000;
  b.GetScanLine(h - 1)[w - 1] = 0x0000FF;
}

std::unique_ptr<TfrxPictureView> MakeView(Extended l, Extended t, Extended w, Extended h, int pw, int ph)
{
  auto v = std::make_unique<TfrxPictureView>(nullptr);
  v->SetBounds(l, t, w, h);
  if (pw) Paint(*v->GetPicture()->GetBitmap(), pw, ph);
  return v;
}

// A W x H recording: the left half red, the right half blue.
void Record(TMetafile& mf, int w, int h)
{
  mf.SetWidth(w);
  mf.SetHeight(h);
  TMetafileCanvas c(&mf, nullptr);
  c.GetBrush()->SetColor(clRed);
  c.FillRect(RECT{0, 0, w / 2, h});
  c.GetBrush()->SetColor(clBlue);
  c.FillRect(RECT{w / 2, 0, w, h});
}

std::vector<std::uint8_t> Bytes(TGraphic& g)
{
  TMemoryStream s;
  g.SaveToStream(&s);
  const auto* p = static_cast<const std::uint8_t*>(s.GetMemory());
  return std::vector<std::uint8_t>(p, p + s.GetSize());
}

// A data set whose one field "Photo" holds BLOB bytes; "Name" is an ordinary field.
class TBlobDataSet : public TfrxDataSet {
public:
  explicit TBlobDataSet(TComponent* AOwner) : TfrxDataSet(AOwner) {}
  std::vector<std::uint8_t> Blob;
  bool IsBlobField(const AnsiString& Field) override { return Field == "Photo"; }
  void AssignBlobTo(const AnsiString& Field, TObject* Target) override
  {
    auto* s = dynamic_cast<TStream*>(Target);
    if (!s) return;
    if (Field == "Photo" && !Blob.empty())
      s->WriteBuffer(Blob.data(), Int64(Blob.size()));
    else if (Field == "Name")
      s->WriteBuffer("BM..", 4);
    s->SetPosition(0);
  }
};

class PictureViewTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ReportEngineModule::Initialize();
    frxPictureView::Initialize();
  }
};

}  // namespace

TEST_F(PictureViewTest, PicturesAreDrawnWhereTheModesSay)
{
  struct Case {
    const char* Name;
    bool Stretched, Keep, Center;
    Extended Scale;
    RECT Expected;  // the device rectangle the 100 x 50 picture covers
  } cases[] = {
      {"aspect", true, true, false, 1, {0, 0, 200, 100}},
      {"aspect centred", true, true, true, 1, {0, 50, 200, 150}},
      {"filled", true, false, false, 1, {0, 0, 200, 200}},
      {"natural", false, true, false, 1, {0, 0, 100, 50}},
      {"natural centred", false, true, true, 1, {50, 75, 150, 125}},
      {"natural at twice the scale", false, true, false, 2, {0, 0, 200, 100}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    TPixelCanvas c(420, 420, kGreen);
    auto v = MakeView(0, 0, 200, 200, 100, 50);
    v->Stretched = k.Stretched;
    v->KeepAspectRatio = k.Keep;
    v->Center = k.Center;
    v->SetBounds(0, 0, 200 / k.Scale, 200 / k.Scale);
    v->Draw(c.DC, k.Scale, k.Scale, 10, 10);
    RECT e{k.Expected.left + 10, k.Expected.top + 10, k.Expected.right + 10, k.Expected.bottom + 10};
    EXPECT_EQ(c.At(e.left, e.top), kRed);
    EXPECT_EQ(c.At(e.right - 1, e.bottom - 1), kBlue);  // the picture's last pixel lands in the corner
    if (e.bottom < 210) {
      EXPECT_EQ(c.At(e.left + 5, e.bottom), kWhite);  // the view's white background below
    }
    if (e.top > 10) {
      EXPECT_EQ(c.At(e.left + 5, e.top - 1), kWhite);
    }
    EXPECT_EQ(c.At(215, 100), kGreen);  // nothing outside the object
  }
}

TEST_F(PictureViewTest, EmptyPictureShowsThePlaceholderOnlyWhileDesigning)
{
  for (bool designing : {false, true}) {
    TPixelCanvas c(200, 60);
    auto v = MakeView(10, 10, 150, 40, 0, 0);
    v->Color = clNone;
    v->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
    v->SetIsDesigning(designing);
    v->Draw(c.DC, 1, 1, 0, 0);
    RECT symbol = c.Ink({11, 11, 29, 29});
    RECT caption = c.Ink({30, 11, 159, 49});
    if (designing) {
      EXPECT_EQ(symbol.left, 11);  // the symbol starts at (FX + 1, FY + 2)
      EXPECT_EQ(symbol.top, 12);
      EXPECT_GT(caption.right, 40);  // the caption's text
      EXPECT_LT(caption.bottom, 50);
    } else {
      EXPECT_EQ(symbol.right, 0);
      EXPECT_EQ(caption.right, 0);
    }
    EXPECT_EQ(c.At(10, 30), RGB(0, 0, 0));  // the frame in both cases
  }
}

TEST_F(PictureViewTest, AutoSizeFollowsThePicture)
{
  auto v = MakeView(0, 0, 10, 10, 0, 0);
  v->SetAutoSize(true);
  EXPECT_EQ(v->GetWidth(), 10);  // no picture: unchanged
  EXPECT_FALSE(v->PictureChanged);
  Paint(*v->GetPicture()->GetBitmap(), 30, 20);
  EXPECT_EQ(v->GetWidth(), 30);
  EXPECT_EQ(v->GetHeight(), 20);
  EXPECT_TRUE(v->PictureChanged);
  v->SetAutoSize(false);
  v->GetPicture()->GetBitmap()->SetSize(5, 5);
  EXPECT_EQ(v->GetWidth(), 30);
}

TEST_F(PictureViewTest, BlobDataIsToldByItsFirstBytes)
{
  TBitmap bmp;
  Paint(bmp, 8, 6);
  std::vector<std::uint8_t> bmpBytes = Bytes(bmp);
  TJPEGImage jpeg;
  jpeg.Assign(&bmp);
  auto header = [](std::vector<std::uint8_t> data, std::uint32_t length) {
    std::vector<std::uint8_t> h = {1,
                                   0,
                                   0,
                                   1,
                                   std::uint8_t(length),
                                   std::uint8_t(length >> 8),
                                   std::uint8_t(length >> 16),
                                   std::uint8_t(length >> 24)};
    h.insert(h.end(), data.begin(), data.end());
    return h;
  };
  TMetafile mf;
  Record(mf, 8, 6);
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Data;
    const char* Class;  // nullptr: the picture is cleared
  } cases[] = {
      {"bitmap", bmpBytes, "TBitmap"},
      {"bitmap behind its header", header(bmpBytes, std::uint32_t(bmpBytes.size())), "TBitmap"},
      {"header with a wrong length", header(bmpBytes, 12), nullptr},
      {"jpeg", Bytes(jpeg), "TJPEGImage"},
      {"placeable metafile", {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0}, nullptr},
      {"enhanced metafile", Bytes(mf), "TMetafile"},
      {"empty", {}, nullptr},
      {"unknown", {'G', 'I', 'F', '8', '9', 'a'}, nullptr},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    auto v = MakeView(0, 0, 10, 10, 3, 3);  // a picture that each load replaces or clears
    TMemoryStream s;
    if (!k.Data.empty()) s.WriteBuffer(k.Data.data(), Int64(k.Data.size()));
    v->LoadPictureFromStream(&s);
    TGraphic* g = v->GetPicture()->GetGraphic();
    if (!k.Class) {
      EXPECT_EQ(g, nullptr);
      continue;
    }
    ASSERT_NE(g, nullptr);
    EXPECT_STREQ(g->ClassName(), k.Class);
    EXPECT_EQ(g->GetWidth(), 8);
  }

  // An icon: 16-bit type 1 at offset 2.
  std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0};
  std::vector<std::uint8_t> img = {40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0};
  img.resize(40, 0);
  img.insert(img.end(), {0, 0, 255, 255, 0, 0, 0, 0});  // one pixel, then its mask row
  std::uint32_t n = std::uint32_t(img.size());
  ico.insert(ico.end(), {std::uint8_t(n), 0, 0, 0, 22, 0, 0, 0});
  ico.insert(ico.end(), img.begin(), img.end());
  auto v = MakeView(0, 0, 10, 10, 0, 0);
  TMemoryStream s;
  s.WriteBuffer(ico.data(), Int64(ico.size()));
  v->LoadPictureFromStream(&s);
  ASSERT_NE(v->GetPicture()->GetGraphic(), nullptr);
  EXPECT_STREQ(v->GetPicture()->GetGraphic()->ClassName(), "TIcon");

  // Damaged data of a known kind: cleared, and the load says why.
  std::vector<std::uint8_t> emf(60, 0);  // a metafile signature and nothing else
  emf[40] = 0x20, emf[41] = 0x45, emf[42] = 0x4D, emf[43] = 0x46;
  for (const auto& damaged : {std::vector<std::uint8_t>(bmpBytes.begin(), bmpBytes.begin() + 20), emf}) {
    TMemoryStream d;
    d.WriteBuffer(damaged.data(), Int64(damaged.size()));
    auto w = MakeView(0, 0, 10, 10, 3, 3);
    EXPECT_THROW(w->LoadPictureFromStream(&d), EInvalidGraphic);
    EXPECT_EQ(w->GetPicture()->GetGraphic(), nullptr);
  }
}

TEST_F(PictureViewTest, FetchDataLoadsFromABlobFieldOnly)
{
  TBlobDataSet ds(nullptr);
  TBitmap bmp;
  Paint(bmp, 12, 7);
  ds.Blob = Bytes(bmp);
  auto v = MakeView(0, 0, 10, 10, 3, 3);
  v->SetDataSet(&ds);
  v->DataField = "Name";  // not a BLOB: the picture stays
  v->FetchData();
  EXPECT_EQ(v->GetPicture()->GetWidth(), 3);
  v->DataField = "Photo";
  v->FetchData();
  EXPECT_EQ(v->GetPicture()->GetWidth(), 12);
  ds.Blob.clear();  // an empty field clears the picture
  v->FetchData();
  EXPECT_EQ(v->GetPicture()->GetGraphic(), nullptr);
}

TEST_F(PictureViewTest, ReportFileKeepsThePictureAndTheModes)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  auto* v = new TfrxPictureView(page);
  v->SetName("Picture1");
  v->SetBounds(10, 20, 100, 50);
  v->Center = true;
  v->KeepAspectRatio = false;
  Paint(*v->GetPicture()->GetBitmap(), 9, 4);
  TMemoryStream out;
  report.SaveToStream(&out);
  AnsiString text(static_cast<const char*>(out.GetMemory()), static_cast<std::size_t>(out.GetSize()));
  EXPECT_NE(text.find("<TfrxPictureView Name=\"Picture1\""), AnsiString::npos) << text;
  EXPECT_NE(text.find("Center=\"True\""), AnsiString::npos);
  EXPECT_NE(text.find("KeepAspectRatio=\"False\""), AnsiString::npos);
  EXPECT_EQ(text.find("Stretched="), AnsiString::npos);  // at its default
  // "Data", vaBinary, then the class name "TBitmap" as a short string.
  EXPECT_NE(text.find("Picture.PropData=\"0444617461"), AnsiString::npos);
  EXPECT_NE(text.find("07544269746D6170"), AnsiString::npos);

  TfrxReport copy(nullptr);
  out.SetPosition(0);
  copy.LoadFromStream(&out);
  auto* loaded = dynamic_cast<TfrxPictureView*>(copy.FindObject("Picture1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(loaded->Center);
  EXPECT_FALSE(loaded->KeepAspectRatio);
  ASSERT_NE(loaded->GetPicture()->GetGraphic(), nullptr);
  EXPECT_EQ(loaded->GetPicture()->GetWidth(), 9);
  TPixelCanvas c(120, 80);
  loaded->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(c.At(10, 20), kRed);
  EXPECT_EQ(c.At(109, 69), kBlue);
}

TEST_F(PictureViewTest, ReportFileKeepsAMetafilePicture)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  auto* v = new TfrxPictureView(page);
  v->SetName("Picture1");
  v->SetBounds(10, 20, 100, 50);
  v->KeepAspectRatio = false;
  {
    TMetafile mf;
    Record(mf, 40, 30);
    v->GetPicture()->SetGraphic(&mf);
  }
  TMemoryStream out;
  report.SaveToStream(&out);
  AnsiString text(static_cast<const char*>(out.GetMemory()), static_cast<std::size_t>(out.GetSize()));
  EXPECT_NE(text.find("09544D65746166696C65"), AnsiString::npos);  // the class name "TMetafile"

  TfrxReport copy(nullptr);
  out.SetPosition(0);
  copy.LoadFromStream(&out);
  auto* loaded = dynamic_cast<TfrxPictureView*>(copy.FindObject("Picture1"));
  ASSERT_NE(loaded, nullptr);
  ASSERT_NE(loaded->GetPicture()->GetGraphic(), nullptr);
  EXPECT_STREQ(loaded->GetPicture()->GetGraphic()->ClassName(), "TMetafile");
  EXPECT_EQ(loaded->GetPicture()->GetWidth(), 40);
  // Stretched over the whole box: red on the left half, blue on the right.
  TPixelCanvas c(120, 80);
  loaded->Draw(c.DC, 1, 1, 0, 0);
  EXPECT_EQ(c.At(15, 25), kRed);
  EXPECT_EQ(c.At(55, 65), kRed);
  EXPECT_EQ(c.At(65, 25), kBlue);
  EXPECT_EQ(c.At(105, 65), kBlue);
}

TEST_F(PictureViewTest, DiffTextCarriesAChangedPictureOnly)
{
  auto ref = MakeView(0, 0, 10, 10, 0, 0);
  auto v = MakeView(0, 0, 10, 10, 0, 0);
  v->SetLeft(5);
  EXPECT_EQ(v->WriteDiff(ref.get()), " l=\"5\"");
  Paint(*v->GetPicture()->GetBitmap(), 6, 2);
  AnsiString diff = v->WriteDiff(ref.get());
  ASSERT_EQ(diff.rfind(" Picture.PropData=\"", 0), 0u) << diff;
  EXPECT_EQ(diff.substr(diff.size() - 6), " l=\"5\"");

  // The text puts the picture back on another view.
  TfrxXMLSerializer ser(nullptr);
  ser.ReadProperties(diff, ref.get());
  ASSERT_NE(ref->GetPicture()->GetGraphic(), nullptr);
  EXPECT_EQ(ref->GetPicture()->GetWidth(), 6);
  EXPECT_EQ(ref->GetLeft(), 5);
}

// The picture modes side by side, written out for people to look at.
TEST_F(PictureViewTest, PictureModesAsPng)
{
  TPixelCanvas c(560, 160);
  TBitmap photo;
  photo.SetSize(90, 45);
  for (int y = 0; y < 45; ++y)
    for (int x = 0; x < 90; ++x)
      photo.GetScanLine(y)[x] = (std::uint32_t(x * 255 / 89) << 16) | std::uint32_t(y * 255 / 44);
  struct Mode {
    bool Stretched, Keep, Center;
  } modes[] = {{true, true, false}, {true, true, true}, {true, false, false}, {false, true, true}};
  int left = 10;
  for (const Mode& m : modes) {
    auto v = MakeView(left, 10, 100, 100, 0, 0);
    v->GetPicture()->SetGraphic(&photo);
    v->Stretched = m.Stretched;
    v->KeepAspectRatio = m.Keep;
    v->Center = m.Center;
    v->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
    v->Draw(c.DC, 1, 1, 0, 0);
    left += 110;
  }
  auto empty = MakeView(left, 10, 100, 100, 0, 0);
  empty->SetIsDesigning(true);
  empty->GetFrame()->Typ = TfrxFrameTypes() << ftLeft << ftRight << ftTop << ftBottom;
  empty->Draw(c.DC, 1, 1, 0, 0);

  auto png = PngFile::SavePng(c.Bmp);
  auto path = std::filesystem::path(PELTO_TEST_OUTPUT) / "report-picture-modes.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
}
