// The clipboard object: CP936 text readable as Unicode, any format by its block, several formats
// set under one Open, pictures of each class going out and coming back, and a clipboard held by
// another window refused with an error.
#include <cstring>

#include "platform/forms/app/Clipboard.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Icon.h"
#include "platform/forms/graphics/JPEGImage.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/forms/graphics/GraphicFormats.h"
#include "platform/forms/tests/AppTestUtil.h"
#include "platform/forms/tests/GraphicsTestUtil.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Streams.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/clipboard/GlobalMemory.h"
#include "platform/win/window/Windows.h"

namespace {

class ClipboardTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    Graphics::Initialize();
  }
  TClipboard* Clip() { return Clipbrd::Clipboard(); }
};

// The bytes of a block as the clipboard holds them.
std::string BlockBytes(HANDLE block)
{
  const char* p = static_cast<const char*>(Windows::GlobalLock(block));
  std::string s(p, Windows::GlobalSize(block));
  Windows::GlobalUnlock(block);
  return s;
}

// A 6x4 bitmap: red left half, blue right half.
void TwoColours(TBitmap& b)
{
  b.SetSize(6, 4);
  b.SetPixelFormat(pf24bit);
  b.GetCanvas()->GetBrush()->SetColor(clRed);
  b.GetCanvas()->FillRect(RECT{0, 0, 3, 4});
  b.GetCanvas()->GetBrush()->SetColor(clBlue);
  b.GetCanvas()->FillRect(RECT{3, 0, 6, 4});
}

}  // namespace

TEST_F(ClipboardTest, TextGoesInCp936AndReadsAsUnicode)
{
  Clip()->SetAsText("合同编号 A-01");
  EXPECT_TRUE(Clip()->HasFormat(CF_TEXT));
  EXPECT_TRUE(Clip()->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clip()->GetAsText(), "合同编号 A-01");
  HANDLE wide = Clip()->GetAsHandle(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  std::string bytes = BlockBytes(wide);
  WideString text(reinterpret_cast<const char16_t*>(bytes.data()));
  EXPECT_EQ(System::WideToAnsi(text), "合同编号 A-01");

  char buffer[5];
  EXPECT_EQ(Clip()->GetTextBuf(buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "合同");
  Clip()->Clear();
  EXPECT_EQ(Clip()->GetAsText(), "");
  EXPECT_EQ(Clip()->GetFormatCount(), 0);
}

TEST_F(ClipboardTest, RegisteredFormatsRoundTripTogetherUnderOneOpen)
{
  UINT csv = Windows::RegisterClipboardFormat("Csv");
  ASSERT_GE(csv, 0xC000u);
  const char data[] = "a,b\0c";  // an embedded zero stays
  Clip()->Open();
  Clip()->SetBuffer(csv, data, sizeof data);
  Clip()->SetAsText("a\tb");
  Clip()->Close();
  EXPECT_EQ(Clip()->GetFormatCount(), 2) << "the second format did not empty the clipboard";
  EXPECT_EQ(Clip()->GetFormats(0), csv);
  EXPECT_EQ(Clip()->GetFormats(1), CF_TEXT);
  EXPECT_THROW(Clip()->GetFormats(2), EListError);
  EXPECT_EQ(BlockBytes(Clip()->GetAsHandle(csv)), std::string(data, sizeof data));

  Clip()->SetAsText("only");
  EXPECT_FALSE(Clip()->HasFormat(csv)) << "outside an Open each set replaces the contents";
}

TEST_F(ClipboardTest, HeldByAnotherWindowIsAnError)
{
  WNDCLASSEXA wc;
  wc.lpfnWndProc = Windows::DefWindowProc;
  wc.lpszClassName = "ClipHolder";
  Windows::RegisterClassEx(&wc);
  HWND holder = Windows::CreateWindowEx(0, "ClipHolder", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(Windows::OpenClipboard(holder));
  EXPECT_THROW(Clip()->SetAsText("x"), EClipboardError);
  Windows::CloseClipboard();
  Clip()->SetAsText("x");
  EXPECT_EQ(Clip()->GetAsText(), "x");
}

TEST_F(ClipboardTest, PicturesOfEachClassComeBack)
{
  TBitmap bitmap;
  TwoColours(bitmap);
  Clip()->Assign(&bitmap);
  EXPECT_TRUE(Clip()->HasFormat(CF_DIB));
  EXPECT_TRUE(Clip()->HasFormat(CF_BITMAP));
  TPicture picture;
  picture.Assign(Clip());
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.GetGraphic()), nullptr);
  TBitmap* back = picture.GetBitmap();
  EXPECT_EQ(back->GetWidth(), 6);
  EXPECT_EQ(back->GetHeight(), 4);
  EXPECT_EQ(back->GetScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(back->GetScanLine(3)[5] & 0xFFFFFF, 0x0000FFu);

  // A JPEG image goes as its bitmap, so a bitmap can be pasted from it.
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  Clip()->Assign(&jpeg);
  TBitmap fromJpeg;
  fromJpeg.Assign(Clip());
  EXPECT_EQ(fromJpeg.GetWidth(), 6);

  TMetafile metafile;
  metafile.SetWidth(40);
  metafile.SetHeight(30);
  {
    TMetafileCanvas canvas(&metafile, nullptr);
    canvas.GetBrush()->SetColor(clRed);
    canvas.FillRect(RECT{0, 0, 40, 30});
  }
  Clip()->Assign(&metafile);
  EXPECT_TRUE(Clip()->HasFormat(CF_METAFILEPICT));
  EXPECT_FALSE(Clip()->HasFormat(CF_DIB));
  TPicture fromMeta;
  fromMeta.Assign(Clip());
  ASSERT_NE(dynamic_cast<TMetafile*>(fromMeta.GetGraphic()), nullptr);
  EXPECT_EQ(fromMeta.GetWidth(), 40);

  // Another class travels in the picture format under its class name.
  auto bytes = GraphicsTestUtil::MakeIcon(16);
  TStringStream iconFile(std::string(bytes.begin(), bytes.end()));
  TIcon icon;
  icon.LoadFromStream(&iconFile);
  TPicture iconPicture;
  iconPicture.Assign(&icon);
  Clip()->Assign(&iconPicture);
  EXPECT_TRUE(Clip()->HasFormat(Clipbrd::CF_PICTURE()));
  TPicture fromIcon;
  fromIcon.Assign(Clip());
  ASSERT_NE(dynamic_cast<TIcon*>(fromIcon.GetGraphic()), nullptr);
  EXPECT_EQ(fromIcon.GetWidth(), 16);
}

TEST_F(ClipboardTest, NoPictureToTakeIsAnError)
{
  Clip()->SetAsText("no picture");
  TPicture picture;
  EXPECT_THROW(picture.Assign(Clip()), EClipboardError);
  TBitmap bitmap;
  EXPECT_THROW(bitmap.Assign(Clip()), EClipboardError);
  // A damaged bitmap block is refused by the bitmap reader, the picture left as it was.
  const char junk[] = {40, 0, 0, 0, 1};
  Clip()->SetBuffer(CF_DIB, junk, sizeof junk);
  EXPECT_ANY_THROW(picture.Assign(Clip()));
  EXPECT_EQ(picture.GetGraphic(), nullptr);
}
