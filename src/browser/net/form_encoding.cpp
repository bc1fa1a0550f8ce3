#include "browser/net/form_encoding.h"

#include <windows.h>

namespace corvalin::browser {

namespace {

// The bytes of one character in the code page, or empty when it has none.
std::string CharacterBytes(std::wstring_view character, unsigned codePage) {
    char out[8];
    BOOL lost = FALSE;
    const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7 || codePage == 54936;
    const int n = WideCharToMultiByte(codePage, utf ? 0 : WC_NO_BEST_FIT_CHARS, character.data(),
                                      static_cast<int>(character.size()), out, sizeof out, nullptr,
                                      utf ? nullptr : &lost);
    if (n <= 0 || lost) return {};
    return std::string(out, static_cast<size_t>(n));
}

void AppendEscaped(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
            c == '.' || c == '_') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
}

}  // namespace

std::string EncodeFormComponent(std::wstring_view text, unsigned codePage) {
    // Line breaks go out as CR LF whatever the control held.
    std::wstring normalised;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            normalised += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (text[i] == L'\n') {
            normalised += L"\r\n";
        } else {
            normalised += text[i];
        }
    }
    std::string out;
    for (size_t i = 0; i < normalised.size(); ++i) {
        size_t length = 1;
        if (IS_HIGH_SURROGATE(normalised[i]) && i + 1 < normalised.size() && IS_LOW_SURROGATE(normalised[i + 1]))
            length = 2;
        const std::wstring_view character(normalised.data() + i, length);
        std::string bytes = normalised[i] < 0x80 ? std::string(1, static_cast<char>(normalised[i]))
                                                 : CharacterBytes(character, codePage);
        if (bytes.empty()) {
            const unsigned point = length == 2 ? 0x10000u + ((normalised[i] - 0xD800u) << 10) + (normalised[i + 1] - 0xDC00u)
                                               : normalised[i];
            bytes = "&#" + std::to_string(point) + ";";
        }
        AppendEscaped(out, bytes);
        i += length - 1;
    }
    return out;
}

std::string EncodeFormData(const std::vector<FormField>& fields, unsigned codePage) {
    std::string out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        out += EncodeFormComponent(name, codePage) + '=' + EncodeFormComponent(value, codePage);
    }
    return out;
}

Bytes EncodeMultipartFormData(const std::vector<FormPart>& parts, const std::string& boundary, unsigned codePage) {
    Bytes body;
    auto append = [&](std::string_view text) { body.insert(body.end(), text.begin(), text.end()); };
    auto quoted = [&](std::wstring_view text) {
        std::string bytes = EncodeCodePage(text, codePage);
        std::string out;
        for (const char c : bytes) out += c == '"' ? std::string("%22") : std::string(1, c);
        return out;
    };
    for (const auto& part : parts) {
        append("--" + boundary + "\r\n");
        append("Content-Disposition: form-data; name=\"" + quoted(part.name) + "\"");
        if (part.file) {
            append("; filename=\"" + quoted(part.value) + "\"\r\nContent-Type: application/octet-stream\r\n\r\n");
            body.insert(body.end(), part.content.begin(), part.content.end());
        } else {
            append("\r\n\r\n" + EncodeCodePage(part.value, codePage));
        }
        append("\r\n");
    }
    append("--" + boundary + "--\r\n");
    return body;
}

}  // namespace corvalin::browser
