// The copy command: what a control range or the document's selection puts on
// the system clipboard.
#pragma once
#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

// Puts the picture an image (an img or an image input) shows, at the size it
// is shown, on the clipboard as CF_BITMAP over a white ground. False when it
// shows no loaded picture or the clipboard refuses.
bool CopyPictureToClipboard(const dom::Element& image);

// document.execCommand(command, showUI, value): "copy" puts the selected text
// on the clipboard; every other command is refused (false).
HRESULT ExecuteDocumentCommand(dom::Document& document, Invocation& call);

}  // namespace corvalin::browser::om
