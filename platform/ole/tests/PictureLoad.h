#pragma once
// The picture loader's tests, on either backend: the fixtures' pictures, and loading as the
// picture container does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ole/Picture.h"
#include "platform/win/Resources.h"

namespace oletest {

inline std::vector<uint8_t> Resource(const char* name) {
    HRSRC r = FindResource(HInstance, name, RT_RCDATA);
    EXPECT_NE(r, nullptr) << name;
    if (!r) return {};
    const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(HInstance, r)));
    return std::vector<uint8_t>(p, p + SizeofResource(HInstance, r));
}

// As the picture container loads: the bytes into a global block, a stream on it, the loader.
inline ComPtr<IPicture> Load(const std::vector<uint8_t>& bytes, HRESULT* result = nullptr) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    IStream* stream = nullptr;
    EXPECT_EQ(CreateStreamOnHGlobal(h, TRUE_, &stream), S_OK);
    void* picture = reinterpret_cast<void*>(1);
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE_, IID_IPicture, &picture);
    stream->Release();
    if (result) *result = hr;
    if (FAILED(hr)) {
        EXPECT_EQ(picture, nullptr);
    }
    return ComPtr<IPicture>::Attach(static_cast<IPicture*>(picture));
}

}  // namespace oletest
