// The graphics library: fonts, pens, brushes, canvases, graphics, pictures, metafiles and
// bitmaps of platform/forms for scripts, with the 52 colour names and the drawing enumerations.
// Registered in the global script after the classes library, whose TPersistent it builds on.
//
// A canvas reached through a bitmap lives inside it: its handle dies with the bitmap. A metafile
// canvas made by a script ends (its recording kept) before its metafile is freed, in whatever
// order the script frees them. Its reference device is 0 (the screen) or a live device context.
#pragma once

class TfsScript;

namespace fs_igraphicsrtti {

// Registers the library in Script, stamped with the library.
void Register(TfsScript* Script);
// Removes exactly what Register entered.
void Unregister(TfsScript* Script);

}  // namespace fs_igraphicsrtti
