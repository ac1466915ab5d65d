// The stored playlist: plain text under the product key, one entry per line,
// unlike the settings, which carry a type prefix.
#include "playlist/playlist.h"

#include "config/registry.h"

namespace {

constexpr wchar_t kPlayListValue[] = L"PlayList";

}  // namespace

HRESULT Playlist::Load(const wchar_t* key) {
    entries_.clear();
    std::wstring text;
    const HRESULT result = ReadRegistryString(HKEY_LOCAL_MACHINE, key, kPlayListValue, text, true);
    if (FAILED(result)) text.clear();
    // Entries whose files have gone are dropped here, and so from the next save.
    AppendFromText(std::wstring_view(), text);
    return result;
}

HRESULT Playlist::Save(const wchar_t* key) const {
    std::wstring text;
    ToText(text);
    return WriteRegistryString(HKEY_LOCAL_MACHINE, key, kPlayListValue, text, true);
}
