// Metafiles: a drawing recorded through the metafile canvas, saved, loaded back and played into
// bitmaps; hostile data refused; the picture's "Data" form and the .emf file format.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/forms/tests/GraphicsTestUtil.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/rtl/Streams.h"

namespace {

class TMetafileHolder : public TComponent {
  PELTO_CLASS(TMetafileHolder, TComponent)
public:
  explicit TMetafileHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  PELTO_PUBLISHED(p) { p.Property("Picture", &ThisClass::GetPicture, &ThisClass::SetPicture); }

private:
  std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
};

// A 40 x 30 drawing: the left half red, the right half blue.
void Record(TMetafile& mf)
{
  mf.SetWidth(40);
  mf.SetHeight(30);
  TMetafileCanvas c(&mf, nullptr);
  c.GetBrush()->SetColor(clRed);
  c.FillRect(RECT{0, 0, 20, 30});
  c.GetBrush()->SetColor(clBlue);
  c.FillRect(RECT{20, 0, 40, 30});
}

// The graphic played into a white W x H bitmap.
TColor PlayedAt(TGraphic* g, int W, int H, int X, int Y)
{
  TBitmap b;
  b.SetSize(W, H);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, W, H});
  c->StretchDraw(RECT{0, 0, W, H}, g);
  return c->GetPixels(X, Y);
}

std::vector<std::uint8_t> Bytes(TGraphic& g)
{
  TMemoryStream s;
  g.SaveToStream(&s);
  auto* p = static_cast<const std::uint8_t*>(s.GetMemory());
  return std::vector<std::uint8_t>(p, p + s.GetSize());
}

class MetafileTest : public ::testing::Test {
protected:
  void SetUp() override { Graphics::Initialize(); }
};

}  // namespace

TEST_F(MetafileTest, RecordedDrawingSavesLoadsAndPlaysStretched)
{
  TMetafile mf;
  Record(mf);
  ASSERT_FALSE(mf.GetEmpty());
  EXPECT_TRUE(mf.GetEnhanced());
  EXPECT_NE(mf.GetHandle(), nullptr);

  TMemoryStream s;
  mf.SaveToStream(&s);
  s.SetPosition(0);
  TMetafile back;
  back.LoadFromStream(&s);
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  EXPECT_EQ(back.GetWidth(), 40);
  EXPECT_EQ(back.GetHeight(), 30);
  EXPECT_NEAR(back.GetMMWidth(), 40 * 2540 / 96, 30);
  EXPECT_EQ(Bytes(back), Bytes(mf));

  struct Case {
    int W, H, X, Y;
    TColor Expected;
  } cases[] = {
      {40, 30, 5, 5, clRed},    {40, 30, 35, 25, clBlue}, {80, 60, 10, 50, clRed},
      {80, 60, 70, 10, clBlue}, {20, 10, 4, 5, clRed},    {20, 10, 16, 5, clBlue},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.W << "x" << k.H << " at " << k.X << "," << k.Y);
    EXPECT_EQ(PlayedAt(&back, k.W, k.H, k.X, k.Y), k.Expected);
  }
}

TEST_F(MetafileTest, AssignCopiesAndClearEmpties)
{
  TMetafile copy;
  {
    TMetafile mf;
    Record(mf);
    copy.Assign(&mf);
  }
  EXPECT_EQ(copy.GetWidth(), 40);
  EXPECT_EQ(PlayedAt(&copy, 40, 30, 30, 15), clBlue);
  int changes = 0;
  copy.OnChange = [&](TObject*) { ++changes; };
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.GetEmpty());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(Bytes(copy).empty());
  EXPECT_EQ(PlayedAt(&copy, 10, 10, 5, 5), clWhite);
}

TEST_F(MetafileTest, HostileDataIsRefusedAndTheMetafileKept)
{
  TMetafile mf;
  Record(mf);
  std::vector<std::uint8_t> good = Bytes(mf);
  auto put32 = [](std::vector<std::uint8_t> v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = std::uint8_t(x >> (8 * i));
    return v;
  };
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Data;
  } cases[] = {
      {"empty", {}},
      {"short", std::vector<std::uint8_t>(good.begin(), good.begin() + 30)},
      {"truncated", std::vector<std::uint8_t>(good.begin(), good.end() - 8)},
      {"wrong signature", put32(good, 40, 0x12345678)},
      {"not a header record", put32(good, 0, 14)},
      {"file size past the data", put32(good, 48, std::uint32_t(good.size() + 100))},
      {"file size too small", put32(good, 48, 52)},
      {"header size past the file", put32(good, 4, 0x7FFFFFF0)},
      {"record size past the file", put32(good, std::size_t(good[4] | good[5] << 8) + 4, 0x10000)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    TMemoryStream s;
    if (!k.Data.empty()) s.WriteBuffer(k.Data.data(), Int64(k.Data.size()));
    s.SetPosition(0);
    EXPECT_THROW(mf.LoadFromStream(&s), EInvalidGraphic);
    EXPECT_EQ(mf.GetWidth(), 40);
    EXPECT_EQ(Bytes(mf), good);
  }
}

TEST_F(MetafileTest, PictureStreamsAMetafileThroughTheComponentStream)
{
  TMetafileHolder out(nullptr);
  {
    TMetafile mf;
    Record(mf);
    out.GetPicture()->SetGraphic(&mf);
  }
  TMemoryStream stream;
  Classes::WriteComponent(&stream, &out);
  std::string bytes(static_cast<const char*>(stream.GetMemory()), std::size_t(stream.GetSize()));
  // The class name, a 32-bit length, then the file starting with its header record.
  std::size_t at = bytes.find("\x0CPicture.Data\x0A");
  ASSERT_NE(at, std::string::npos);
  std::string block = bytes.substr(at + 14 + 4);
  ASSERT_EQ(block.substr(0, 10), "\x09TMetafile");
  std::uint32_t length;
  std::memcpy(&length, block.data() + 10, 4);
  EXPECT_EQ(length, Bytes(*out.GetPicture()->GetGraphic()).size());
  EXPECT_EQ(block.substr(14, 4), std::string("\1\0\0\0", 4));

  stream.SetPosition(0);
  TMetafileHolder in(nullptr);
  Classes::ReadComponent(&stream, &in);
  TGraphic* g = in.GetPicture()->GetGraphic();
  ASSERT_NE(g, nullptr);
  EXPECT_STREQ(g->ClassName(), "TMetafile");
  EXPECT_EQ(g->GetWidth(), 40);
  EXPECT_EQ(PlayedAt(g, 40, 30, 5, 5), clRed);
  EXPECT_EQ(PlayedAt(g, 40, 30, 35, 5), clBlue);
}

TEST_F(MetafileTest, EmfFilesLoadByExtension)
{
  TTempFolder dir("metafile");
  TMetafile mf;
  Record(mf);
  mf.SaveToFile(dir.Path("drawing.EMF"));
  EXPECT_EQ(Graphics::FindGraphicClassByExtension("emf"), TMetafile::StaticClass());
  TPicture pic;
  pic.LoadFromFile(dir.Path("drawing.EMF"));
  ASSERT_NE(pic.GetGraphic(), nullptr);
  EXPECT_STREQ(pic.GetGraphic()->ClassName(), "TMetafile");
  EXPECT_EQ(PlayedAt(pic.GetGraphic(), 40, 30, 30, 20), clBlue);
}
