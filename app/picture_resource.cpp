#include "app/picture_resource.h"

#include <olectl.h>

#include <cstring>
#include <utility>

namespace {

const wchar_t kPictureType[] = L"JPEGFILE";

// A movable copy of the resource's bytes, as a stream on global memory needs;
// null when the resource is missing or empty (an empty block cannot be locked).
framework::UniqueGlobal CopyResource(HMODULE module, int resourceId, DWORD& size) {
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), kPictureType);
    const framework::LoadedResource resource(module, info);
    size = info ? ::SizeofResource(module, info) : 0;
    const void* bytes = resource.Lock();
    if (!bytes || size == 0) return framework::UniqueGlobal();

    framework::UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return block;
    void* target = ::GlobalLock(block.Get());
    if (!target) return framework::UniqueGlobal();
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(block.Get());
    return block;
}

}  // namespace

HRESULT LoadPictureResource(HMODULE module, int resourceId, framework::ComPtr<IPicture>& picture,
                            LONG& widthHimetric, LONG& heightHimetric) {
    picture.Reset();
    widthHimetric = 0;
    heightHimetric = 0;

    DWORD size = 0;
    framework::UniqueGlobal block = CopyResource(module, resourceId, size);
    if (!block) return E_FAIL;

    framework::ComPtr<IStream> stream;
    const HRESULT created = ::CreateStreamOnHGlobal(block.Get(), TRUE, stream.Put());
    if (FAILED(created)) return created;
    // From here the stream frees the block when it goes.
    block.Release();

    framework::ComPtr<IPicture> loaded;
    if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture, loaded.PutVoid())) ||
        !loaded) {
        return E_FAIL;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(loaded->get_Width(&width)) || FAILED(loaded->get_Height(&height))) return E_FAIL;

    picture = std::move(loaded);
    widthHimetric = width;
    heightHimetric = height;
    return S_OK;
}
