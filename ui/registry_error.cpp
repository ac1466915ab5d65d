#include "ui/registry_error.h"

#include "i18n/translate.h"

void ShowRegistryWriteError(HWND owner) {
    ::MessageBoxW(owner,
                  Translate(L"Error writing to the system registry. Please NOTE: You need to have sufficient "
                            L"administrative rights to run this program successfully.")
                      .c_str(),
                  Translate(L"Error!").c_str(), MB_OK | MB_ICONERROR);
}
