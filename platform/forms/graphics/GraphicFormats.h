// The graphics unit's registry of picture file formats: which graphic class reads files of an
// extension, and which class a stored picture names. Initialize registers the built-in classes
// (bmp: TBitmap; ico: TIcon; jpg, jpeg: TJPEGImage; emf: TMetafile); it may run more than once.
#pragma once

#include "platform/forms/graphics/Graphic.h"

namespace Graphics {

void Initialize();
void Finalize();

// Extension without the dot, any case. A second registration of an extension replaces the first.
void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description, TGraphicClass AClass);
// Forgets every extension of AClass.
void UnregisterGraphicClass(TGraphicClass AClass);
// nullptr when no class reads that extension (without the dot, any case).
TGraphicClass FindGraphicClassByExtension(const AnsiString& Extension);
// nullptr when no registered class has that name (any case).
TGraphicClass FindGraphicClassByName(const AnsiString& ClassName);
// The file dialog filter of the formats of AClass and its descendants: first all of them, then
// one entry per format ("Bitmaps (*.bmp)|*.bmp").
AnsiString GraphicFilter(TGraphicClass AClass);

}  // namespace Graphics
