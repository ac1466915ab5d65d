#include "config/product_key_access.h"

#include "config/product.h"
#include "config/reg_key.h"
#include "config/registry.h"
#include "framework/handles.h"

#include <aclapi.h>

#include <string>

namespace {

REGSAM View() { return RegistryWriteAccess(true) & KEY_WOW64_64KEY; }

}  // namespace

LSTATUS ProductKeyWriteAccess() {
    RegKey key;
    LSTATUS status = key.Open(HKEY_LOCAL_MACHINE, product::kKey, kProductKeyGrant | View());
    if (status != ERROR_FILE_NOT_FOUND) return status;
    // Missing: the save creates it, which the nearest key above it that
    // exists must allow.
    std::wstring path = product::kKey;
    for (std::size_t slash = path.rfind(L'\\'); slash != std::wstring::npos; slash = path.rfind(L'\\')) {
        path.resize(slash);
        status = key.Open(HKEY_LOCAL_MACHINE, path.c_str(), KEY_CREATE_SUB_KEY | View());
        if (status != ERROR_FILE_NOT_FOUND) return status;
    }
    // Not even Software: nothing can be made under the root itself.
    return ERROR_ACCESS_DENIED;
}

LSTATUS GrantProductKeyAccess(PSID user) {
    if (!user || !::IsValidSid(user)) return ERROR_INVALID_PARAMETER;
    RegKey key;
    LSTATUS status = key.Create(HKEY_LOCAL_MACHINE, product::kKey, READ_CONTROL | WRITE_DAC | View());
    if (status != ERROR_SUCCESS) return status;

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    status = static_cast<LSTATUS>(::GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                                    nullptr, &dacl, nullptr, &descriptor));
    const framework::LocalMemory<> ownedDescriptor(descriptor);
    if (status != ERROR_SUCCESS) return status;

    EXPLICIT_ACCESSW access = {};
    access.grfAccessPermissions = kProductKeyGrant;
    access.grfAccessMode = GRANT_ACCESS;
    access.grfInheritance = CONTAINER_INHERIT_ACE;
    ::BuildTrusteeWithSidW(&access.Trustee, user);
    PACL merged = nullptr;
    status = static_cast<LSTATUS>(::SetEntriesInAclW(1, &access, dacl, &merged));
    const framework::LocalMemory<> ownedMerged(merged);
    if (status != ERROR_SUCCESS) return status;
    // The key inherits from above, or not, as it did before.
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION inheritance =
        (control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION;
    return static_cast<LSTATUS>(::SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | inheritance,
                                                  nullptr, nullptr, merged, nullptr));
}
