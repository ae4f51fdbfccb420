#include "platform/stdctrls/dialogs/ColorDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/gdi/draw/Edges.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/dialogs/DialogControls.h"
#include "platform/stdctrls/edits/CustomEdit.h"

using namespace DialogControls;

namespace {

constexpr int kCellW = 20, kCellH = 16, kStepX = 25, kStepY = 22, kLeft = 10, kBasicTop = 26, kCustomTop = 186;
constexpr int kClosedW = 222, kFullW = 400, kFullLeft = 232, kSpectrumTop = 10, kSpectrumW = 130, kSpectrumH = 100;
constexpr int kLumLeft = kFullLeft + kSpectrumW + 8, kLumW = 12, kSwatchTop = kSpectrumTop + kSpectrumH + 6;
constexpr int kBoxTop = kSwatchTop + 30, kBoxStep = 26;
const char* const kChannels[] = {"红(&R):", "绿(&G):", "蓝(&U):"};

// A pixel offset within Span as a value within Range, to the nearest step, so that a click
// picks the value its pixel shows.
int ScaleRounded(int Offset, int Range, int Span) { return (Offset * Range + Span / 2) / Span; }

TColor Rgb(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }

// One channel of the classic conversion, all values on the 0..240 scale.
int HueToChannel(int M1, int M2, int Hue)
{
  if (Hue < 0) Hue += 240;
  if (Hue > 240) Hue -= 240;
  if (Hue < 40) return M1 + ((M2 - M1) * Hue + 20) / 40;
  if (Hue < 120) return M2;
  if (Hue < 160) return M1 + ((M2 - M1) * (160 - Hue) + 20) / 40;
  return M1;
}

}  // namespace

const std::array<TColor, 48>& TColorDialogForm::BasicColors()
{
  // The classic table, row by row.
  static const std::array<TColor, 48> colours = [] {
    const unsigned rgb[48] = {0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF,
                              0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF,
                              0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080,
                              0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF,
                              0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080,
                              0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x400040, 0xFFFFFF};
    std::array<TColor, 48> out{};
    for (size_t i = 0; i < 48; ++i) out[i] = Rgb(int(rgb[i] >> 16), int((rgb[i] >> 8) & 0xFF), int(rgb[i] & 0xFF));
    return out;
  }();
  return colours;
}

TColorDialogForm::TColorDialogForm(TComponent* AOwner, TColor Color, const std::array<TColor, 16>& Custom,
                                   TColorDialogOptions Options)
    : TForm(AOwner), FColor(Graphics::ColorToRGB(Color)), FCustom(Custom), FOptions(Options)
{
  SetCaption("颜色");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(kClosedW, 300);
  Caption(this, this, "基本颜色(&B):", kLeft, 8);
  Caption(this, this, "自定义颜色(&C):", kLeft, kCustomTop - 18);
  FDefine = Place<TButton>(this, this, kLeft, 236, 200, 23);
  FDefine->SetCaption("规定自定义颜色(&D) >>");
  FDefine->SetEnabled(!Options.Contains(cdPreventFullOpen));
  FDefine->OnClick = [this](TObject*) { OpenFull(); };
  OkCancel(this, this, kLeft, 268, [this](TObject*) { SetModalResult(mrOk); });

  for (int i = 0; i < 3; ++i) {
    FRGB[size_t(i)] = Place<TEdit>(this, this, kFullLeft + 60, kBoxTop + i * kBoxStep, 50, 21);
    FRGB[size_t(i)]->SetVisible(false);
    FRGB[size_t(i)]->SetMaxLength(3);
    FRGB[size_t(i)]->OnChange = [this](TObject*) { BoxesChanged(); };
    Caption(this, this, kChannels[i], kFullLeft, kBoxTop + 3 + i * kBoxStep, FRGB[size_t(i)])->SetVisible(false);
  }
  FAdd = Place<TButton>(this, this, kFullLeft, 236, 158, 23);
  FAdd->SetCaption("添加到自定义颜色(&A)");
  FAdd->SetVisible(false);
  FAdd->OnClick = [this](TObject*) { AddCustom(); };
  ColorToHLS(FColor, FHue, FLum, FSat);
  ShowInBoxes();
  if (Options.Contains(cdFullOpen)) OpenFull();
}

RECT TColorDialogForm::SpectrumRect()
{
  return RECT{kFullLeft, kSpectrumTop, kFullLeft + kSpectrumW, kSpectrumTop + kSpectrumH};
}

RECT TColorDialogForm::LuminosityRect()
{
  return RECT{kLumLeft, kSpectrumTop, kLumLeft + kLumW, kSpectrumTop + kSpectrumH};
}

TColor TColorDialogForm::HLSToColor(int H, int L, int S)
{
  H = std::clamp(H, 0, 240), L = std::clamp(L, 0, 240), S = std::clamp(S, 0, 240);
  if (S == 0) {
    int v = (L * 255 + 120) / 240;
    return Rgb(v, v, v);
  }
  int m2 = L <= 120 ? (L * (240 + S) + 120) / 240 : L + S - (L * S + 120) / 240;
  int m1 = 2 * L - m2;
  auto channel = [&](int Hue) { return std::clamp((HueToChannel(m1, m2, Hue) * 255 + 120) / 240, 0, 255); };
  return Rgb(channel(H + 80), channel(H), channel(H - 80));
}

void TColorDialogForm::ColorToHLS(TColor Color, int& H, int& L, int& S)
{
  TColor rgb = Graphics::ColorToRGB(Color);
  int r = int(rgb & 0xFF), g = int((rgb >> 8) & 0xFF), b = int((rgb >> 16) & 0xFF);
  int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  L = ((hi + lo) * 240 + 255) / 510;
  if (hi == lo) {
    H = 160;  // the classic dialog's hue for greys
    S = 0;
    return;
  }
  int d = hi - lo;
  S = L <= 120 ? (d * 240 + (hi + lo) / 2) / (hi + lo) : (d * 240 + (510 - hi - lo) / 2) / (510 - hi - lo);
  double h = hi == r ? double(g - b) / d : hi == g ? 2.0 + double(b - r) / d : 4.0 + double(r - g) / d;
  H = int(std::lround(h * 40.0));
  if (H < 0) H += 240;
  if (H >= 240) H -= 240;
  S = std::clamp(S, 0, 240);
}

RECT TColorDialogForm::CellRect(int Index) const
{
  int top = Index < 48 ? kBasicTop : kCustomTop;
  int i = Index < 48 ? Index : Index - 48;
  int x = kLeft + (i % 8) * kStepX, y = top + (i / 8) * kStepY;
  return RECT{x, y, x + kCellW, y + kCellH};
}

void TColorDialogForm::OpenFull()
{
  if (FFull || FOptions.Contains(cdPreventFullOpen)) return;
  FFull = true;
  FDefine->SetEnabled(false);
  SetClientSize(kFullW, GetClientHeight());
  for (int i = 0; i < GetControlCount(); ++i)
    if (GetControl(i)->GetLeft() >= kFullLeft) GetControl(i)->SetVisible(true);
  Invalidate();
}

void TColorDialogForm::Pick(TColor Value)
{
  FColor = Graphics::ColorToRGB(Value);
  ColorToHLS(FColor, FHue, FLum, FSat);
  ShowInBoxes();
  Invalidate();
}

void TColorDialogForm::AddCustom()
{
  FCustom[size_t(FNextCustom)] = FColor;
  FNextCustom = (FNextCustom + 1) % 16;
  Invalidate();
}

void TColorDialogForm::ShowInBoxes()
{
  FFilling = true;
  int parts[3] = {int(FColor & 0xFF), int((FColor >> 8) & 0xFF), int((FColor >> 16) & 0xFF)};
  for (int i = 0; i < 3; ++i) FRGB[size_t(i)]->SetText(SysUtils::IntToStr(parts[i]));
  FFilling = false;
}

void TColorDialogForm::BoxesChanged()
{
  if (FFilling) return;
  int parts[3];
  for (int i = 0; i < 3; ++i) parts[i] = std::clamp(SysUtils::StrToIntDef(FRGB[size_t(i)]->GetText(), 0), 0, 255);
  FColor = Rgb(parts[0], parts[1], parts[2]);
  ColorToHLS(FColor, FHue, FLum, FSat);
  Invalidate();
}

void TColorDialogForm::PaintSpectrum(TCanvas* C)
{
  // Hue across, saturation from the bottom (none) to the top (full), at the middle luminosity.
  RECT sr = SpectrumRect();
  TBitmap spectrum;
  spectrum.SetSize(kSpectrumW, kSpectrumH);
  for (int y = 0; y < kSpectrumH; ++y) {
    std::uint32_t* row = spectrum.GetScanLine(y);
    int sat = 240 - ScaleRounded(y, 240, kSpectrumH - 1);
    for (int x = 0; x < kSpectrumW; ++x) {
      TColor c = HLSToColor(ScaleRounded(x, 239, kSpectrumW - 1), 120, sat);
      row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
  C->Draw(sr.left, sr.top, &spectrum);
  // The luminosity bar for the chosen hue and saturation, white at the top.
  RECT lr = LuminosityRect();
  for (int y = 0; y < kSpectrumH; ++y) {
    C->GetBrush()->SetColor(HLSToColor(FHue, 240 - ScaleRounded(y, 240, kSpectrumH - 1), FSat));
    C->FillRect(RECT{lr.left, lr.top + y, lr.right, lr.top + y + 1});
  }
  for (RECT r : {sr, lr}) {
    RECT edge{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    Windows::DrawEdge(C->GetHandle(), &edge, EDGE_SUNKEN, BF_RECT);
  }
  // A cross at the chosen hue and saturation, an arrow at the chosen luminosity.
  int cx = sr.left + FHue * (kSpectrumW - 1) / 239, cy = sr.top + (240 - FSat) * (kSpectrumH - 1) / 240;
  C->GetPen()->SetColor(clBlack);
  C->GetPen()->SetWidth(1);
  C->MoveTo(cx - 6, cy);
  C->LineTo(cx - 2, cy);
  C->MoveTo(cx + 3, cy);
  C->LineTo(cx + 7, cy);
  C->MoveTo(cx, cy - 6);
  C->LineTo(cx, cy - 2);
  C->MoveTo(cx, cy + 3);
  C->LineTo(cx, cy + 7);
  int ly = lr.top + (240 - FLum) * (kSpectrumH - 1) / 240;
  C->GetBrush()->SetColor(clBlack);
  C->Polygon({{lr.right + 3, ly}, {lr.right + 8, ly - 4}, {lr.right + 8, ly + 4}});
}

void TColorDialogForm::Paint()
{
  TCanvas* c = GetCanvas();
  auto cell = [&](int Index, TColor Colour) {
    RECT r = CellRect(Index);
    RECT edge{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    Windows::DrawEdge(c->GetHandle(), &edge, EDGE_SUNKEN, BF_RECT);
    c->GetBrush()->SetColor(Colour);
    c->FillRect(r);
    if (Graphics::ColorToRGB(Colour) == FColor) {
      // The chosen colour's cell is framed.
      c->GetBrush()->SetStyle(bsClear);
      c->GetPen()->SetColor(clBlack);
      c->GetPen()->SetWidth(2);
      c->Rectangle(r.left - 3, r.top - 3, r.right + 4, r.bottom + 4);
      c->GetPen()->SetWidth(1);
      c->GetBrush()->SetStyle(bsSolid);
    }
  };
  const auto& basic = BasicColors();
  for (int i = 0; i < 48; ++i) cell(i, basic[size_t(i)]);
  for (int i = 0; i < 16; ++i) cell(48 + i, FCustom[size_t(i)]);
  if (FFull) {
    PaintSpectrum(c);
    RECT swatch{kFullLeft, kSwatchTop, kFullW - 10, kSwatchTop + 22};
    RECT edge = swatch;
    Windows::DrawEdge(c->GetHandle(), &edge, EDGE_SUNKEN, BF_RECT);
    c->GetBrush()->SetColor(FColor);
    c->FillRect(RECT{swatch.left + 2, swatch.top + 2, swatch.right - 2, swatch.bottom - 2});
  }
  TForm::Paint();
}

void TColorDialogForm::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  TForm::MouseDown(Button, Shift, X, Y);
  if (FFull) {
    RECT sr = SpectrumRect(), lr = LuminosityRect();
    bool inSpectrum = X >= sr.left && X < sr.right && Y >= sr.top && Y < sr.bottom;
    bool inBar = X >= lr.left && X < lr.right + 10 && Y >= lr.top && Y < lr.bottom;
    if (inSpectrum || inBar) {
      if (inSpectrum) {
        FHue = ScaleRounded(X - sr.left, 239, kSpectrumW - 1);
        FSat = 240 - ScaleRounded(Y - sr.top, 240, kSpectrumH - 1);
        // Picking from the spectrum of a black or white colour would show nothing new.
        if (FLum == 0 || FLum == 240) FLum = 120;
      } else {
        FLum = 240 - ScaleRounded(Y - lr.top, 240, kSpectrumH - 1);
      }
      FColor = HLSToColor(FHue, FLum, FSat);
      ShowInBoxes();
      Invalidate();
      return;
    }
  }
  for (int i = 0; i < 64; ++i) {
    RECT r = CellRect(i);
    if (X >= r.left - 2 && X < r.right + 2 && Y >= r.top - 2 && Y < r.bottom + 2) {
      Pick(i < 48 ? BasicColors()[size_t(i)] : FCustom[size_t(i - 48)]);
      if (i >= 48) FNextCustom = i - 48;
      return;
    }
  }
}

// ---- TColorDialog --------------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>())
{}

TColorDialog::~TColorDialog() = default;

TStrings* TColorDialog::GetCustomColors() const { return FCustomColors.get(); }

void TColorDialog::SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }

bool TColorDialog::Execute()
{
  std::array<TColor, 16> custom;
  for (int i = 0; i < 16; ++i) {
    AnsiString text = FCustomColors->GetValues(AnsiString("Color") + char('A' + i));
    char* end = nullptr;
    long v = text.empty() ? -1 : std::strtol(text.c_str(), &end, 16);
    bool good = !text.empty() && end && *end == 0 && v >= 0 && v <= 0xFFFFFF;
    custom[size_t(i)] = good ? TColor(v) : clWhite;
  }
  TColorDialogForm form(nullptr, FColor, custom, FOptions);
  form.OnShow = [this](TObject*) { DoShow(); };
  bool ok = form.ShowModal() == mrOk;
  DoClose();
  if (!ok) return false;
  FColor = form.GetColor();
  for (int i = 0; i < 16; ++i)
    FCustomColors->SetValues(AnsiString("Color") + char('A' + i),
                             SysUtils::IntToHex(Int64(form.GetCustom()[size_t(i)]), 6));
  return true;
}
