// The images of one document, by address: asked for by the layout, fetched by
// the page, decoded here (JPEG, PNG with alpha, GIF, BMP) into 32-bit
// premultiplied bitmaps the painter blends.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/unique.h"
#include "browser/dom/document.h"

namespace corvalin::browser::layout {

struct Image {
    enum class State { Pending, Loaded, Broken };
    State state = State::Pending;
    long width = 0;
    long height = 0;
    UniqueBitmap bitmap;   // top-down 32-bit, premultiplied alpha
};

class ImageStore final : public dom::Document::Attachment {
public:
    // The store of a document, made on first use.
    static ImageStore& Of(dom::Document& document);
    static ImageStore* Find(const dom::Document& document);

    const Image* Lookup(const std::wstring& url) const;
    // The image at `url`, asked for (pending) when new.
    const Image& Request(const std::wstring& url);
    // Addresses asked for since the last call, for the page to fetch.
    std::vector<std::wstring> TakeRequests();
    // The bytes of a fetch (empty when it failed); decodes them.
    void Arrived(const std::wstring& url, const std::vector<std::uint8_t>& bytes);

private:
    std::map<std::wstring, Image> images_;
    std::vector<std::wstring> requested_;
};

// Decodes an image file's bytes; a broken image when they are not one.
Image DecodeImage(const std::vector<std::uint8_t>& bytes);

}  // namespace corvalin::browser::layout
