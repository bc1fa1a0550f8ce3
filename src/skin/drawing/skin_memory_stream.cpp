#include "skin/drawing/skin_memory_stream.h"
#include <cstring>
#include <utility>

namespace corvalin {

SkinMemoryStream::SkinMemoryStream(SkinMemoryStream&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)), stream_(std::move(other.stream_)) {}

SkinMemoryStream& SkinMemoryStream::operator=(SkinMemoryStream&& other) noexcept {
    if (this != &other) {
        Release();
        memory_ = std::exchange(other.memory_, nullptr);
        stream_ = std::move(other.stream_);
    }
    return *this;
}

IStream* SkinMemoryStream::CreateFromBytes(const std::uint8_t* data, std::size_t size) {
    Release();
    // A zero-sized movable block has no memory behind it; keep one byte.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!memory) return nullptr;
    if (size) {
        void* locked = GlobalLock(memory);
        if (!locked) {
            GlobalFree(memory);
            return nullptr;
        }
        std::memcpy(locked, data, size);
        GlobalUnlock(memory);
    }
    if (FAILED(CreateStreamOnHGlobal(memory, FALSE, stream_.ReleaseAndGetAddressOf()))) {
        GlobalFree(memory);
        return nullptr;
    }
    memory_ = memory;
    // The stream's logical size is the bytes given, whatever the block's size.
    ULARGE_INTEGER logical;
    logical.QuadPart = size;
    stream_->SetSize(logical);
    return stream_.Get();
}

IStream* SkinMemoryStream::CreateEmpty() {
    Release();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
    if (!memory) return nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, FALSE, stream_.ReleaseAndGetAddressOf()))) {
        GlobalFree(memory);
        return nullptr;
    }
    memory_ = memory;
    return stream_.Get();
}

void SkinMemoryStream::Release() {
    if (!stream_) return;
    // The stream may have moved to a reallocated block while it grew.
    HGLOBAL current = nullptr;
    if (FAILED(GetHGlobalFromStream(stream_.Get(), &current)) || !current) current = memory_;
    stream_.Reset();
    GlobalFree(current);
    memory_ = nullptr;
}

HGLOBAL SkinMemoryStream::MemoryHandle() const {
    HGLOBAL current = nullptr;
    if (stream_ && SUCCEEDED(GetHGlobalFromStream(stream_.Get(), &current)) && current) return current;
    return memory_;
}

Bytes SkinMemoryStream::ReadAll() const {
    if (!stream_) return {};
    STATSTG stat{};
    if (FAILED(stream_->Stat(&stat, STATFLAG_NONAME))) return {};
    HGLOBAL current = nullptr;
    if (FAILED(GetHGlobalFromStream(stream_.Get(), &current)) || !current) return {};
    // The block may be larger than what was written; the stream knows its size.
    const std::size_t size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    if (size == 0 || GlobalSize(current) < size) return {};
    const auto* locked = static_cast<const std::uint8_t*>(GlobalLock(current));
    if (!locked) return {};
    Bytes bytes(locked, locked + size);
    GlobalUnlock(current);
    return bytes;
}

}  // namespace corvalin
