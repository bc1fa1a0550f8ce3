#include "base/clipboard.h"

#include <cstring>

#include "base/global_lock.h"

namespace corvalin {

HBITMAP Clipboard::Bitmap() const {
    return IsOpen() ? static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)) : nullptr;
}

std::optional<std::wstring> Clipboard::Text() const {
    const HANDLE data = IsOpen() ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    const GlobalLockScope lock(data);
    const auto* text = static_cast<const wchar_t*>(lock.data());
    if (!text) return std::nullopt;
    // The block may be larger than the text, and need not hold its terminator.
    return std::wstring(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t)));
}

bool Clipboard::Empty() const { return IsOpen() && EmptyClipboard(); }

bool Clipboard::PutBitmap(UniqueBitmap bitmap) const {
    if (!bitmap || !Empty() || !SetClipboardData(CF_BITMAP, bitmap.get())) return false;
    bitmap.release();   // the clipboard owns it now
    return true;
}

bool Clipboard::PutText(const std::wstring& text) const {
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
    {
        const GlobalLockScope lock(memory.get());
        if (!lock.data()) return false;
        std::memcpy(lock.data(), text.c_str(), size);
    }
    if (!Empty() || !SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();   // the clipboard owns it now
    return true;
}

}  // namespace corvalin
