#include "browser/box/document_marshal.h"

#include <oleacc.h>

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

LRESULT DocumentMarshal::Answer(IUnknown* document, WPARAM wParam) {
    ComPtr<IUnknown> identity;
    if (!document || FAILED(document->QueryInterface(IID_PPV_ARGS(&identity)))) return 0;
    if (identity != held_) {
        Release();
        ComPtr<IStream> stream;
        if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
            SUCCEEDED(CoMarshalInterface(stream.Get(), IID_IUnknown, identity.Get(), MSHCTX_LOCAL, nullptr,
                                         MSHLFLAGS_TABLESTRONG))) {
            held_ = identity;
            stream_ = stream;
        }
    }
    const LRESULT result = LresultFromObject(IID_IUnknown, wParam, identity.Get());
    return result > 0 ? result : 0;
}

void DocumentMarshal::Release() {
    if (stream_) {
        const LARGE_INTEGER start{};
        stream_->Seek(start, STREAM_SEEK_SET, nullptr);
        CoReleaseMarshalData(stream_.Get());
    }
    stream_.Reset();
    held_.Reset();
}

}  // namespace corvalin::browser
