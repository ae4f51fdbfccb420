#include "report/script/lib/fs_igraphicsrtti.h"

#include <cstdint>

#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/ColorNames.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Metafile.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/forms/graphics/Picture.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/interp/fs_iscript.h"
#include "report/script/lib/fs_iparams.h"

namespace fs_igraphicsrtti {

namespace {

using namespace fs_iparams;

int RegistrarTag;  // the library's registrar stamp

// A new object of the class the script named; a class that cannot stand alone is refused by name.
Variant ConstructNamed(const void* ClassType)
{
  auto* C = static_cast<const TMetaClass*>(ClassType);
  if (!C->CanCreate()) throw EInvalidOperation("Cannot create an instance of " + C->ClassName());
  return fs_ihandles::Adopt(C->Create(nullptr));
}

Variant Constructor(TObject*, const void* Class, const AnsiString&, Variant&) { return ConstructNamed(Class); }

// The device a metafile is measured on: 0 is the screen, anything else must be a live context.
HDC ReferenceDevice(const Variant& V)
{
  Int64 Value = V.IsNull() || V.IsEmpty() ? 0 : V.AsInt64();
  if (Value == 0) return nullptr;
  auto DC = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(Value));
  DWORD Type = Windows::GetObjectType(DC);
  if (Type != OBJ_DC && Type != OBJ_MEMDC) throw EInvalidOperation("Invalid device context handle");
  return DC;
}

void RegisterCanvas(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto Cv = [](TObject* I) { return Self<TCanvas>(I); };
  C->AddConstructor("constructor Create", Constructor);
  C->AddMethod("procedure Draw(X, Y: Integer; Graphic: TGraphic)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->Draw(Int(Pr, 0), Int(Pr, 1), Obj<TGraphic>(Pr, 2));
                 return Variant(0);
               });
  C->AddMethod("procedure Ellipse(X1, Y1, X2, Y2: Integer)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->Ellipse(Int(Pr, 0), Int(Pr, 1), Int(Pr, 2), Int(Pr, 3));
                 return Variant(0);
               });
  C->AddMethod("procedure LineTo(X, Y: Integer)", [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    Cv(I)->LineTo(Int(Pr, 0), Int(Pr, 1));
    return Variant(0);
  });
  C->AddMethod("procedure MoveTo(X, Y: Integer)", [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
    Cv(I)->MoveTo(Int(Pr, 0), Int(Pr, 1));
    return Variant(0);
  });
  C->AddMethod("procedure Rectangle(X1, Y1, X2, Y2: Integer)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->Rectangle(Int(Pr, 0), Int(Pr, 1), Int(Pr, 2), Int(Pr, 3));
                 return Variant(0);
               });
  C->AddMethod("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->RoundRect(Int(Pr, 0), Int(Pr, 1), Int(Pr, 2), Int(Pr, 3), Int(Pr, 4), Int(Pr, 5));
                 return Variant(0);
               });
  C->AddMethod("procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->StretchDraw(RECT{Int(Pr, 0), Int(Pr, 1), Int(Pr, 2), Int(Pr, 3)}, Obj<TGraphic>(Pr, 4));
                 return Variant(0);
               });
  C->AddMethod(
      "function TextHeight(const Text: string): Integer",
      [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) { return Variant(Cv(I)->TextHeight(Str(Pr, 0))); });
  C->AddMethod("procedure TextOut(X, Y: Integer; const Text: string)",
               [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Cv(I)->TextOut(Int(Pr, 0), Int(Pr, 1), Str(Pr, 2));
                 return Variant(0);
               });
  C->AddMethod(
      "function TextWidth(const Text: string): Integer",
      [Cv](TObject* I, const void*, const AnsiString&, Variant& Pr) { return Variant(Cv(I)->TextWidth(Str(Pr, 0))); });
  C->AddIndexProperty("Pixels", "Integer, Integer", "TColor",
                      [Cv](TObject* I, const void*, const AnsiString& Name, Variant& Pr) {
                        if (Name == "PIXELS.GET") return Variant(Cv(I)->GetPixels(Int(Pr, 0), Int(Pr, 1)));
                        Cv(I)->SetPixels(Int(Pr, 0), Int(Pr, 1), static_cast<TColor>(P(Pr, 2).AsInt64()));
                        return Variant(0);
                      });
}

void RegisterGraphic(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto G = [](TObject* I) { return Self<TGraphic>(I); };
  C->AddConstructor("constructor Create", Constructor);
  C->AddMethod("procedure LoadFromFile(const Filename: string)",
               [G](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 G(I)->LoadFromFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToFile(const Filename: string)",
               [G](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 G(I)->SaveToFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddProperty(
      "Height", "Integer", [G](TObject* I, const void*, const AnsiString&) { return Variant(G(I)->GetHeight()); },
      [G](TObject* I, const void*, const AnsiString&, const Variant& V) { G(I)->SetHeight(V.AsInteger()); });
  C->AddProperty(
      "Width", "Integer", [G](TObject* I, const void*, const AnsiString&) { return Variant(G(I)->GetWidth()); },
      [G](TObject* I, const void*, const AnsiString&, const Variant& V) { G(I)->SetWidth(V.AsInteger()); });
}

void RegisterPicture(TfsClassVariable* C)
{
  if (!C) return;  // the name was taken
  auto Pc = [](TObject* I) { return Self<TPicture>(I); };
  C->AddMethod("procedure LoadFromFile(const Filename: string)",
               [Pc](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Pc(I)->LoadFromFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddMethod("procedure SaveToFile(const Filename: string)",
               [Pc](TObject* I, const void*, const AnsiString&, Variant& Pr) {
                 Pc(I)->SaveToFile(Str(Pr, 0));
                 return Variant(0);
               });
  C->AddProperty("Height", "Integer",
                 [Pc](TObject* I, const void*, const AnsiString&) { return Variant(Pc(I)->GetHeight()); });
  C->AddProperty("Width", "Integer",
                 [Pc](TObject* I, const void*, const AnsiString&) { return Variant(Pc(I)->GetWidth()); });
}

}  // namespace

void Register(TfsScript* S)
{
  S->Registrar = &RegistrarTag;
  for (const Graphics::TColorIdent& C : Graphics::ColorIdents()) S->AddConst(C.Name, "Integer", Variant(C.Value));
  S->AddEnumSet("TFontStyles", "fsBold, fsItalic, fsUnderline, fsStrikeout");
  S->AddEnum("TFontPitch", "fpDefault, fpVariable, fpFixed");
  S->AddEnum("TPenStyle", "psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame");
  S->AddEnum("TPenMode",
             "pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, "
             "pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor");
  S->AddEnum("TBrushStyle",
             "bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross");

  for (TClass K : {TFont::StaticClass(), TPen::StaticClass(), TBrush::StaticClass()})
    if (TfsClassVariable* C = S->AddClass(K, "TPersistent")) C->AddConstructor("constructor Create", Constructor);
  RegisterCanvas(S->AddClass(TCanvas::StaticClass(), "TPersistent"));
  RegisterGraphic(S->AddClass(TGraphic::StaticClass(), "TPersistent"));
  RegisterPicture(S->AddClass(TPicture::StaticClass(), "TPersistent"));
  S->AddClass(TMetafile::StaticClass(), "TGraphic");
  if (TfsClassVariable* C = S->AddClass(TMetafileCanvas::StaticClass(), "TCanvas"))
    C->AddConstructor("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)",
                      [](TObject*, const void*, const AnsiString&, Variant& Pr) {
                        TMetafile* Metafile = NonNil<TMetafile>(Pr, 0);
                        HDC Device = ReferenceDevice(P(Pr, 1));
                        Variant H = fs_ihandles::Adopt(new TMetafileCanvas(Metafile, Device));
                        // The canvas writes into the metafile when it ends: it must end first.
                        fs_ihandles::EndsBefore(fs_ihandles::ObjectOf(H), Metafile);
                        return H;
                      });
  if (TfsClassVariable* C = S->AddClass(TBitmap::StaticClass(), "TGraphic"))
    C->AddProperty("Canvas", "TCanvas", [](TObject* I, const void*, const AnsiString&) {
      auto* B = Self<TBitmap>(I);
      return fs_ihandles::ToVariantWithin(B->GetCanvas(), B);
    });
  S->Registrar = nullptr;
}

void Unregister(TfsScript* S) { S->RemoveItems(&RegistrarTag); }

}  // namespace fs_igraphicsrtti
