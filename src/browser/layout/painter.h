// Painting a laid-out document: backgrounds, borders, text with its colour and
// decoration, images, form controls as the platform draws them, list markers
// and the focus.
#pragma once
#include <windows.h>

#include "browser/dom/document.h"
#include "browser/layout/document_layout.h"
#include "browser/layout/image_store.h"

namespace corvalin::browser::layout {

// Paints what falls inside `dirty` (view coordinates) into `dc`, whose origin
// is the view's top left.
void PaintDocument(HDC dc, dom::Document& document, const DocumentLayout& layout, const RECT& dirty);

// Draws a decoded picture scaled into `r`, blended by its alpha.
void DrawPicture(HDC dc, const Image& image, const RECT& r);

}  // namespace corvalin::browser::layout
