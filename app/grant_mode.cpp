#include "app/grant_mode.h"

#include "config/product_key_access.h"
#include "framework/handles.h"

#include <sddl.h>

#include <string>
#include <vector>

namespace {

// The kind of account the SID names, as the system knows it.
DWORD AccountKind(PSID sid, SID_NAME_USE& kind) {
    std::vector<wchar_t> name(256), domain(256);
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto nameLength = static_cast<DWORD>(name.size());
        auto domainLength = static_cast<DWORD>(domain.size());
        if (::LookupAccountSidW(nullptr, sid, name.data(), &nameLength, domain.data(), &domainLength, &kind)) {
            return ERROR_SUCCESS;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER) return error;
        name.resize(nameLength + 1);
        domain.resize(domainLength + 1);
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

}  // namespace

DWORD RunGrantMode(std::wstring_view argument) {
    // One SID in its string form and nothing else.
    if (argument.empty() || argument.size() > 256 || argument.find_first_of(L" \t\"") != std::wstring_view::npos) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring text(argument);
    PSID sid = nullptr;
    if (!::ConvertStringSidToSidW(text.c_str(), &sid)) return ERROR_INVALID_SID;
    const framework::LocalMemory<> ownedSid(sid);
    // A user's account: never a group or a well-known identity (Everyone,
    // Users, Authenticated Users), which would open the key to others.
    SID_NAME_USE kind = SidTypeUnknown;
    const DWORD status = AccountKind(sid, kind);
    if (status != ERROR_SUCCESS) return status;
    if (kind != SidTypeUser) return ERROR_INVALID_PARAMETER;
    return static_cast<DWORD>(GrantProductKeyAccess(sid));
}
