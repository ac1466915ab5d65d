// Reading the lines of an M3U playlist file that the user chose.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Passes each line of the file as text, in order (see playlist_text.h for how
// bytes become lines and which encoding is used). False when the file cannot
// be opened for reading or is not a disk file; no line is passed then.
bool ReadPlaylistFile(const std::wstring& path, const std::function<void(std::wstring_view line)>& handler);
