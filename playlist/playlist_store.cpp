// The stored playlist: plain text under the product key, one entry per line,
// unlike the settings, which carry a type prefix.
#include "playlist/playlist.h"

#include "config/registry.h"
#include "playlist/playlist_text.h"
#include "playlist/stored_entry_check.h"

namespace {

constexpr wchar_t kPlayListValue[] = L"PlayList";

}  // namespace

HRESULT Playlist::Load(const wchar_t* key, DWORD answerWaitMs) {
    entries_.clear();
    std::wstring text;
    const HRESULT result = ReadRegistryString(HKEY_LOCAL_MACHINE, key, kPlayListValue, text, true);
    if (FAILED(result)) text.clear();
    std::vector<std::wstring> stored;
    playlist_text::TextLines lines(text);
    std::wstring_view line;
    while (lines.Next(line)) {
        // A NUL cannot be part of a file name: the system would look at the
        // part before it only.
        if (playlist_text::IsEntryLine(line) && line.find(L'\0') == std::wstring_view::npos) stored.emplace_back(line);
    }
    // Entries whose files have gone are dropped here, and so from the next
    // save; those on a drive or share that is away stay where they are.
    const std::vector<stored_entry_check::Presence> presence = stored_entry_check::Check(stored, answerWaitMs);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (presence[i] != stored_entry_check::Presence::Gone) entries_.push_back(std::move(stored[i]));
    }
    return result;
}

HRESULT Playlist::Save(const wchar_t* key) const {
    std::wstring text;
    ToText(text);
    return WriteRegistryString(HKEY_LOCAL_MACHINE, key, kPlayListValue, text, true);
}
