#include "framework/window_impl_root.h"

namespace framework {

void*& CreatingObject() {
    thread_local void* object = nullptr;
    return object;
}

}  // namespace framework
