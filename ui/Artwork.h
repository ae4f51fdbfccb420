// The program's own icons, drawn in code at any size: the images of the shared image lists at
// the indexes the windows use (11 exit, 13 folder, 15 open folder, 21 desktop, 23 money in,
// 24 money out, 25 partners, 26 progress); the other indexes hold plain document icons in
// distinct colours.
#pragma once

class TCanvas;
class TImageList;

namespace Artwork {
// The background drawn images leave transparent.
inline constexpr int MaskColor = 0xFF00FF;
// Draws icon Index in the Size x Size square at (X, Y).
void DrawIcon(TCanvas* Canvas, int Index, int X, int Y, int Size);
// Fills List (of Size x Size images) with icons 0 to Count - 1.
void FillImageList(TImageList* List, int Size, int Count);
}  // namespace Artwork
