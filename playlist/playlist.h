// The user's music playlist: the files in the order they were chosen, each a
// path exactly as chosen (duplicates allowed, no normalisation), and its
// stored form, the "PlayList" value of the product key that the renderer reads.
#pragma once

#include "config/product.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class Playlist {
public:
    // How long a load waits, in all, for the drives and shares of the stored
    // entries.
    static constexpr DWORD kStoredEntryWaitMs = 2000;

    // Appends the path at the end as it is: no check for duplicates or
    // existence.
    void Add(std::wstring path);
    // Removes the entry at the index; later entries move up by one. An index
    // past the end changes nothing.
    void RemoveAt(std::size_t index);
    std::size_t Count() const { return entries_.size(); }
    // A copy of the entry at the index; empty past the end.
    std::wstring Entry(std::size_t index) const;

    // Appends every entry followed by a line feed to text; returns the count.
    std::size_t ToText(std::wstring& text) const;

    // Adds the existing files and folders that the lines of the text name,
    // each line taken first relative to baseFolder (empty, or ending with a
    // backslash) and then as it stands. Empty lines and lines beginning with
    // '#' are skipped; a line over 2022 characters ends the reading. True when
    // the playlist holds an entry afterwards, whether or not any was added.
    bool AppendFromText(std::wstring_view baseFolder, std::wstring_view text);
    // The same for the lines of an M3U playlist file, relative names taken
    // first against the file's own folder. A file that cannot be opened adds
    // nothing.
    bool AppendFromM3u(const std::wstring& path);

    // Replaces the entries with the stored ones whose files still exist or
    // lie on a drive or share that cannot be reached (or does not answer
    // within answerWaitMs). Returns the result of reading the value: E_FAIL
    // also when it is missing or empty, and the playlist is empty then. key
    // is the product's key under HKEY_LOCAL_MACHINE.
    HRESULT Load(const wchar_t* key = product::kKey, DWORD answerWaitMs = kStoredEntryWaitMs);
    // Stores the entries as the value; the result of the write.
    HRESULT Save(const wchar_t* key = product::kKey) const;

private:
    void AddIfExists(std::wstring_view baseFolder, std::wstring_view line);

    std::vector<std::wstring> entries_;
};
