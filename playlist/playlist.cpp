#include "playlist/playlist.h"

#include "config/registry.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_text.h"

#include <utility>

void Playlist::Add(std::wstring path) { entries_.push_back(std::move(path)); }

void Playlist::RemoveAt(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::wstring Playlist::Entry(std::size_t index) const {
    return index < entries_.size() ? entries_[index] : std::wstring();
}

std::size_t Playlist::ToText(std::wstring& text) const {
    playlist_text::AppendLines(entries_, text);
    return entries_.size();
}

bool Playlist::AppendFromText(std::wstring_view baseFolder, std::wstring_view text) {
    playlist_text::TextLines lines(text);
    std::wstring_view line;
    while (lines.Next(line)) {
        if (playlist_text::IsEntryLine(line)) AddIfExists(baseFolder, line);
    }
    return !entries_.empty();
}

bool Playlist::AppendFromM3u(const std::wstring& path) {
    const std::wstring_view baseFolder = playlist_text::FolderOf(path);
    // Line by line rather than joined into one text first: the result is the
    // same, and a huge file never has to be held whole.
    ReadPlaylistFile(path, [&](std::wstring_view line) {
        if (playlist_text::IsEntryLine(line)) AddIfExists(baseFolder, line);
    });
    return !entries_.empty();
}

void Playlist::AddIfExists(std::wstring_view baseFolder, std::wstring_view line) {
    // A NUL cannot be part of a file name: the system would look at the part
    // before it only, and the stored value would end there on the next load.
    if (line.find(L'\0') != std::wstring_view::npos) return;
    std::wstring joined(baseFolder);
    joined += line;
    if (FileExists(joined)) {
        entries_.push_back(std::move(joined));
        return;
    }
    // Without a base folder the joined path was the line itself.
    if (baseFolder.empty()) return;
    std::wstring alone(line);
    if (FileExists(alone)) entries_.push_back(std::move(alone));
}
