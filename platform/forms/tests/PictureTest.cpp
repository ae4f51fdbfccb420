// Pictures through real files and through the component stream: a table of formats saved and
// loaded back, bad data refused with the picture unchanged, and the "Data" form of a picture
// published by a component.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/forms/tests/GraphicsTestUtil.h"
#include "platform/testsupport/TempFolder.h"
#include "platform/rtl/Streams.h"

namespace {

// A component publishing a picture, as a form's image would.
class TPictureHolder : public TComponent {
  PELTO_CLASS(TPictureHolder, TComponent)
public:
  explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  PELTO_PUBLISHED(p) { p.Property("Picture", &ThisClass::GetPicture, &ThisClass::SetPicture); }

private:
  std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
};

// A 6 x 4 bitmap: red, green and blue columns pairs, the bottom row white.
void Paint(TBitmap& b)
{
  b.SetSize(6, 4);
  TCanvas* c = b.GetCanvas();
  const TColor cols[] = {clRed, clLime, clBlue};
  for (int i = 0; i < 3; ++i) {
    c->GetBrush()->SetColor(cols[i]);
    c->FillRect(RECT{i * 2, 0, i * 2 + 2, 3});
  }
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(RECT{0, 3, 6, 4});
}

bool Near(TColor a, TColor b, int tolerance)
{
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class PictureTest : public ::testing::Test {
protected:
  void SetUp() override { Graphics::Initialize(); }
  TTempFolder Dir{"picture"};
};

}  // namespace

TEST_F(PictureTest, BadFilesAreRefusedAndThePictureKept)
{
  TPicture pic;
  TBitmap b;
  Paint(b);
  pic.SetGraphic(&b);
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
  } cases[] = {
      {"empty.bmp", {}},
      {"text.bmp", {'h', 'e', 'l', 'l', 'o'}},
      {"cut.bmp", {'B', 'M', 0x50, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0}},
      {"notjpeg.jpg", {'B', 'M', 0, 0}},
      {"cut.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}},
      {"wrongcount.ico", {0, 0, 1, 0, 9, 0}},
  };
  for (const Case& c : cases) {
    WriteFile(Dir.Path(c.Name), c.Bytes);
    EXPECT_THROW(pic.LoadFromFile(Dir.Path(c.Name)), EInvalidGraphic) << c.Name;
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.GetGraphic()), nullptr) << c.Name;
    EXPECT_EQ(pic.GetWidth(), 6) << c.Name;
  }
  WriteFile(Dir.Path("x.xyz"), {1, 2, 3});
  try {
    pic.LoadFromFile(Dir.Path("x.xyz"));
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
  }
  EXPECT_THROW(pic.LoadFromFile(Dir.Path("missing.bmp")), EFOpenError);
}

TEST_F(PictureTest, FilesRoundTripByExtension)
{
  struct Case {
    const char* File;
    std::function<void(TPicture&)> Make;
    const char* Class;
    int Width, Height, Tolerance;
  } cases[] = {
      {"plain.bmp", [](TPicture& p) { Paint(*p.GetBitmap()); }, "TBitmap", 6, 4, 0},
      {"deep.BMP",
       [](TPicture& p) {
         Paint(*p.GetBitmap());
         p.GetBitmap()->SetPixelFormat(pf32bit);
       },
       "TBitmap", 6, 4, 0},
      {"photo.jpg",
       [](TPicture& p) {
         TBitmap b;
         Paint(b);
         b.SetSize(48, 32);  // big enough for JPEG blocks to keep the colours
         TCanvas* c = b.GetCanvas();
         c->GetBrush()->SetColor(clRed);
         c->FillRect(RECT{0, 0, 24, 32});
         c->GetBrush()->SetColor(clBlue);
         c->FillRect(RECT{24, 0, 48, 32});
         TJPEGImage j;
         j.Assign(&b);
         p.SetGraphic(&j);
       },
       "TJPEGImage", 48, 32, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TPicture out;
    c.Make(out);
    out.SaveToFile(Dir.Path(c.File));
    TPicture in;
    in.LoadFromFile(Dir.Path(c.File));
    ASSERT_NE(in.GetGraphic(), nullptr);
    EXPECT_STREQ(in.GetGraphic()->ClassName(), c.Class);
    EXPECT_EQ(in.GetWidth(), c.Width);
    EXPECT_EQ(in.GetHeight(), c.Height);
    // Both drawn onto bitmaps: the same pixels (within the codec's loss).
    TBitmap a, b;
    a.Assign(out.GetGraphic());
    b.Assign(in.GetGraphic());
    for (int y = c.Height / 8; y < c.Height; y += c.Height / 4)
      for (int x = c.Width / 12; x < c.Width; x += c.Width / 6)
        ASSERT_TRUE(Near(a.GetCanvas()->GetPixels(x, y), b.GetCanvas()->GetPixels(x, y), c.Tolerance)) << x << "," << y;
  }
  // The depth a bitmap was saved with is the depth it reads back with.
  TPicture deep;
  deep.LoadFromFile(Dir.Path("deep.BMP"));
  EXPECT_EQ(deep.GetBitmap()->GetPixelFormat(), pf32bit);
}

TEST_F(PictureTest, IconsLoadDrawThroughTheirMaskAndSaveTheSameFile)
{
  std::vector<std::uint8_t> bytes = GraphicsTestUtil::MakeIcon(16);
  WriteFile(Dir.Path("a.ico"), bytes);
  TPicture pic;
  pic.LoadFromFile(Dir.Path("a.ico"));
  ASSERT_NE(dynamic_cast<TIcon*>(pic.GetGraphic()), nullptr);
  EXPECT_EQ(pic.GetWidth(), 16);
  EXPECT_THROW(pic.GetGraphic()->SetWidth(20), EInvalidGraphicOperation);

  TBitmap canvas;
  canvas.SetSize(20, 20);
  canvas.GetCanvas()->GetBrush()->SetColor(clLime);
  canvas.GetCanvas()->FillRect(RECT{0, 0, 20, 20});
  canvas.GetCanvas()->Draw(2, 2, pic.GetGraphic());
  EXPECT_EQ(canvas.GetCanvas()->GetPixels(3, 5), clRed);
  EXPECT_EQ(canvas.GetCanvas()->GetPixels(15, 5), clLime);

  pic.SaveToFile(Dir.Path("b.ico"));
  std::ifstream in(Dir.Path("b.ico"), std::ios::binary);
  std::vector<std::uint8_t> saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, bytes);
}

TEST_F(PictureTest, BitmapsResizeKeepingTheirPixels)
{
  TBitmap b;
  Paint(b);
  TGraphic* g = &b;
  g->SetWidth(3);  // through the graphic: the bitmap is resized
  EXPECT_EQ(b.GetWidth(), 3);
  EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clRed);
  EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clLime);
  b.SetSize(8, 8);
  EXPECT_EQ(b.GetCanvas()->GetPixels(2, 0), clLime);
  EXPECT_EQ(b.GetCanvas()->GetPixels(7, 7), clBlack);
  b.SetSize(0, 5);
  EXPECT_TRUE(b.GetEmpty());
  EXPECT_THROW(b.GetScanLine(0), ERangeError);
}

TEST_F(PictureTest, PictureStreamsAsClassNameThenTheGraphicsData)
{
  struct Case {
    const char* Class;
    std::function<void(TPicture&)> Make;
    int SizePrefix;  // bitmaps and JPEG images put a 32-bit length before their file
  } cases[] = {
      {"TBitmap", [](TPicture& p) { Paint(*p.GetBitmap()); }, 1},
      {"TJPEGImage",
       [](TPicture& p) {
         TBitmap b;
         Paint(b);
         TJPEGImage j;
         j.Assign(&b);
         p.SetGraphic(&j);
       },
       1},
      {"TIcon",
       [](TPicture& p) {
         TMemoryStream s;
         auto ico = GraphicsTestUtil::MakeIcon(8);
         s.WriteBuffer(ico.data(), Int64(ico.size()));
         s.SetPosition(0);
         TIcon i;
         i.LoadFromStream(&s);
         p.SetGraphic(&i);
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Class);
    TPictureHolder out(nullptr);
    c.Make(*out.GetPicture());
    TMemoryStream stream;
    Classes::WriteComponent(&stream, &out);
    std::string bytes(static_cast<const char*>(stream.GetMemory()), std::size_t(stream.GetSize()));

    // "Picture.Data", the binary tag, the block's length, then the class name as a short string.
    std::string name = c.Class;
    std::size_t at = bytes.find("\x0CPicture.Data\x0A");
    ASSERT_NE(at, std::string::npos);
    std::string block = bytes.substr(at + 14 + 4);
    EXPECT_EQ(block.substr(0, 1 + name.size()), std::string(1, char(name.size())) + name);
    std::string file = block.substr(1 + name.size() + 4 * c.SizePrefix);
    EXPECT_TRUE(file.rfind("BM", 0) == 0 || file.rfind("\xFF\xD8", 0) == 0 ||
                file.rfind(std::string("\0\0\1\0", 4), 0) == 0);

    stream.SetPosition(0);
    TPictureHolder in(nullptr);
    Classes::ReadComponent(&stream, &in);
    ASSERT_NE(in.GetPicture()->GetGraphic(), nullptr);
    EXPECT_STREQ(in.GetPicture()->GetGraphic()->ClassName(), c.Class);
    EXPECT_EQ(in.GetPicture()->GetWidth(), out.GetPicture()->GetWidth());
    TBitmap a, b;
    a.Assign(out.GetPicture()->GetGraphic());
    b.Assign(in.GetPicture()->GetGraphic());
    EXPECT_TRUE(Near(a.GetCanvas()->GetPixels(0, 0), b.GetCanvas()->GetPixels(0, 0), 40));
  }

  // An empty picture writes no Data.
  TPictureHolder empty(nullptr);
  TMemoryStream stream;
  Classes::WriteComponent(&stream, &empty);
  std::string bytes(static_cast<const char*>(stream.GetMemory()), std::size_t(stream.GetSize()));
  EXPECT_EQ(bytes.find("Picture.Data"), std::string::npos);
}

TEST_F(PictureTest, AStoredPictureOfAnUnknownClassIsRefused)
{
  TPictureHolder out(nullptr);
  Paint(*out.GetPicture()->GetBitmap());
  TMemoryStream stream;
  Classes::WriteComponent(&stream, &out);
  std::string bytes(static_cast<const char*>(stream.GetMemory()), std::size_t(stream.GetSize()));
  std::size_t at = bytes.find("TBitmap");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 7, "TMetaf1");
  TMemoryStream damaged;
  damaged.WriteBuffer(bytes.data(), Int64(bytes.size()));
  damaged.SetPosition(0);
  TPictureHolder in(nullptr);
  EXPECT_THROW(Classes::ReadComponent(&damaged, &in), EInvalidGraphic);
  EXPECT_EQ(in.GetPicture()->GetGraphic(), nullptr);
}

TEST_F(PictureTest, PictureTellsOfChangesAndConverts)
{
  TPicture pic;
  int changes = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  Paint(*pic.GetBitmap());
  EXPECT_GT(changes, 0);
  changes = 0;
  pic.GetBitmap()->GetCanvas()->GetBrush()->SetColor(clRed);
  pic.GetBitmap()->SetSize(2, 2);  // a change of the graphic is a change of the picture
  EXPECT_GT(changes, 0);

  // A JPEG image taken from a bitmap and turned back into one.
  TJPEGImage j;
  j.SetCompressionQuality(100);
  j.Assign(pic.GetBitmap());
  TBitmap back;
  back.Assign(&j);
  EXPECT_TRUE(Near(back.GetCanvas()->GetPixels(0, 0), clRed, 40));
  // Asking for an icon drops the bitmap.
  pic.GetIcon();
  EXPECT_TRUE(pic.GetGraphic()->GetEmpty());
  pic.Assign(nullptr);
  EXPECT_EQ(pic.GetGraphic(), nullptr);
  EXPECT_EQ(Graphics::GraphicFilter(TGraphic::StaticClass()).substr(0, 4), "All ");
}
