// A byte buffer exposed as a COM stream, so GDI+ can decode images from memory
// and encode them into it. The stream works on a private copy of the bytes in a
// movable global block that this object owns (the stream never frees it).
#pragma once
#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>
#include <cstddef>
#include "base/text.h"

namespace corvalin {

class SkinMemoryStream {
public:
    SkinMemoryStream() = default;
    SkinMemoryStream(const SkinMemoryStream&) = delete;
    SkinMemoryStream& operator=(const SkinMemoryStream&) = delete;
    SkinMemoryStream(SkinMemoryStream&& other) noexcept;
    SkinMemoryStream& operator=(SkinMemoryStream&& other) noexcept;
    ~SkinMemoryStream() { Release(); }

    // Copies the bytes into a new block and opens a stream over it, after
    // releasing any earlier content. Returns the stream, or null on failure.
    IStream* CreateFromBytes(const std::uint8_t* data, std::size_t size);
    IStream* CreateFromBytes(const Bytes& bytes) { return CreateFromBytes(bytes.data(), bytes.size()); }
    // An empty, growable stream to encode into.
    IStream* CreateEmpty();
    void Release();
    IStream* Stream() const { return stream_.Get(); }
    // The block behind the stream (it may move while the stream grows).
    HGLOBAL MemoryHandle() const;
    // Every byte the stream holds, from the start of the block.
    Bytes ReadAll() const;

private:
    HGLOBAL memory_ = nullptr;
    Microsoft::WRL::ComPtr<IStream> stream_;
};

}  // namespace corvalin
