// Loading the string table from the XML document in the program's resources.
#include "i18n/string_table.h"

#include "framework/handles.h"

#include <windows.h>

StringTable& StringTable::Create(int resourceId) {
    StringTable& table = Install();
    table.Load(resourceId);
    table.SelectLanguage(L"en");
    return table;
}

bool StringTable::Load(int resourceId) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    if (!info) return false;
    const framework::LoadedResource resource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const void* data = resource.Lock();
    if (!data || size == 0) return false;
    // The stored document ends with a line break that the parser is not given.
    return LoadDocument(data, size - 1);
}
