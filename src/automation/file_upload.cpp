#include "automation/file_upload.h"

#include <cstring>

#include "automation/api_hook.h"
#include "automation/page_automation.h"

namespace corvalin {

std::string pendingUploadPath;

namespace {

constexpr unsigned kChineseCodePage = 936;

Bytes Utf16Bytes(std::string_view text, bool dropTerminator) {
    if (text.empty()) return {};
    std::wstring wide = DecodeCodePage(text, kChineseCodePage);
    if (!dropTerminator) wide.push_back(L'\0');
    const auto* begin = reinterpret_cast<const std::uint8_t*>(wide.data());
    return Bytes(begin, begin + wide.size() * sizeof(wchar_t));
}

}  // namespace

Bytes PageAutomation::TextToUtf16Bytes(std::string_view text, bool dropTerminator) const {
    return Utf16Bytes(text, dropTerminator);
}

BOOL WINAPI UploadDialogReplacement(OPENFILENAMEW* dialog) {
    if (!dialog || !dialog->lpstrFile) return FALSE;
    const Bytes path = Utf16Bytes(pendingUploadPath, false);
    const size_t characters = path.size() / sizeof(wchar_t);   // the terminator included
    // The caller's buffer holds nMaxFile characters and not one more.
    if (characters == 0 || characters > dialog->nMaxFile) return FALSE;
    std::memcpy(dialog->lpstrFile, path.data(), path.size());
    // Where the name and its extension start, as the real dialog reports them.
    const std::wstring_view chosen(dialog->lpstrFile, characters - 1);
    const size_t slash = chosen.find_last_of(L"\\/");
    const size_t name = slash == std::wstring_view::npos ? 0 : slash + 1;
    const size_t dot = chosen.find_last_of(L'.');
    dialog->nFileOffset = static_cast<WORD>(name);
    dialog->nFileExtension = static_cast<WORD>(dot == std::wstring_view::npos || dot < name ? chosen.size() : dot + 1);
    return TRUE;
}

void PageAutomation::SetUploadFile(std::string_view key, std::string_view path, int skip) const {
    ApiHook hook;
    // When the patch cannot be written the click still goes out, and the
    // real dialog opens.
    hook.Install("comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<const void*>(&UploadDialogReplacement));
    pendingUploadPath = path;
    FindTextInput(key, skip).Call("click");
    hook.Uninstall("comdlg32.dll", "GetOpenFileNameW");
}

}  // namespace corvalin
