// The system clipboard, open for the life of the object (through
// ClipboardScope, the one place that opens and closes it), and what the
// program reads from it and puts on it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/unique.h"

namespace corvalin {

class Clipboard {
public:
    Clipboard() : scope_(nullptr) {}

    bool IsOpen() const { return scope_.IsOpen(); }
    // The bitmap it holds, still the clipboard's; null when none.
    HBITMAP Bitmap() const;
    // Its text (CF_UNICODETEXT, which the system also makes from CF_TEXT);
    // nothing when it holds none.
    std::optional<std::wstring> Text() const;
    bool Empty() const;
    // Empties it and hands it the bitmap or the text.
    bool PutBitmap(UniqueBitmap bitmap) const;
    bool PutText(const std::wstring& text) const;

private:
    ClipboardScope scope_;
};

}  // namespace corvalin
