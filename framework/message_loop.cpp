#include "framework/message_loop.h"

namespace framework {

int CMessageLoop::Run() {
    MSG message = {};
    for (;;) {
        const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) break;
        if (result == -1) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace framework
