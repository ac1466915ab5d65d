#include "framework/token_user.h"

#include "framework/handles.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

namespace framework {

std::wstring CurrentUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::wstring();
    const UniqueHandle ownedToken(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0) return std::wstring();
    std::vector<BYTE> buffer(size);
    if (!::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return std::wstring();
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        return std::wstring();
    }
    const LocalMemory<wchar_t> ownedText(text);
    return text;
}

}  // namespace framework
