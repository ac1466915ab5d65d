// Decoding a JPEG carried in a module's resources into an OLE picture.
#pragma once

#include "framework/handles.h"

#include <windows.h>
#include <ocidl.h>

// Loads the resource of type "JPEGFILE" with the given identifier from the
// module and decodes it with OleLoadPicture. On success the picture and its
// size in HIMETRIC units are filled in. On failure the picture is null and
// both sizes are 0; the result is E_FAIL when the resource is missing, empty
// or does not decode, and the failure code of CreateStreamOnHGlobal when the
// stream cannot be made. Needs COM initialised on the calling thread.
HRESULT LoadPictureResource(HMODULE module, int resourceId, framework::ComPtr<IPicture>& picture,
                            LONG& widthHimetric, LONG& heightHimetric);
