// The stack protector's canary is chosen once, before any code that checks
// it runs. The C runtime's own choice asks the CryptoAPI for random bytes,
// and starting a cryptographic provider loads user32 and gdi32 into every
// mode, the run mode too, which starts with the kernel, the registry and the
// C runtime alone. So it is chosen here, as a Windows build's /GS cookie is:
// from the system time, the process and thread ids, the tick count, the
// performance counter and, with address-space randomisation, the address of
// the stack. This constructor runs before the runtime's, which keeps a guard
// that is already set.
#include <windows.h>

#include <cstdint>

extern "C" void* __stack_chk_guard;

namespace {

// Runs while the guard changes: it must not check it itself.
__attribute__((constructor(101), no_stack_protector)) void ChooseStackGuard() {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    ::QueryPerformanceCounter(&counter);
    std::uint64_t guard = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) ^
                          static_cast<std::uint64_t>(counter.QuadPart) << 17;
    guard ^= static_cast<std::uint64_t>(::GetCurrentProcessId()) << 40 ^ ::GetCurrentThreadId() ^
             static_cast<std::uint64_t>(::GetTickCount()) << 24;
    guard ^= reinterpret_cast<std::uintptr_t>(&guard);
    const auto folded = static_cast<std::uintptr_t>(guard ^ (sizeof(std::uintptr_t) == 4 ? guard >> 32 : 0));
    // A zero guard would be chosen again by the runtime, through the CryptoAPI.
    __stack_chk_guard = reinterpret_cast<void*>(folded ? folded : 0xBB40E64Eu);
}

}  // namespace
