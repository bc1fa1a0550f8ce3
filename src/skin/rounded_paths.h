// Rounded outlines and the glow every control painter shares.
#pragma once
#include <windows.h>

namespace corvalin {

class SkinPath;
class SkinGraphics;

// Four 90-degree arcs and a closed figure; the radius is clamped to 1..100.
// The bottom-right arc is one pixel larger and further up-left, so a filled
// shape meets an anti-aliased stroke at that corner as at the other three.
void AddRoundRect(SkinPath& path, float x, float y, float width, float height, float radius);
// The same figure with four alike corners, for 1-pixel strokes that are not
// anti-aliased (GDI+ under Wine never anti-aliases a stroke): the enlarged
// arc leaves a one-pixel gap where it meets the right and bottom edges.
void AddEvenRoundRect(SkinPath& path, float x, float y, float width, float height, float radius);
// Rounded top corners, open at the bottom.
void AddTopRoundedPath(SkinPath& path, float x, float y, float width, float height, float radius);
// Strokes the path with widths 1..rings of one translucent pen.
void DrawGlow(SkinGraphics& graphics, const SkinPath& path, int rings, COLORREF color, int alpha);

}  // namespace corvalin
