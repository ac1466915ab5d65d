// What the playlist tests share: a folder of music files to name, patterns
// that stand for paths in it, and readable case names.
#pragma once

#include "playlist/playlist.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace playlist_tests {

// "Пётр 🎵.mp3": Cyrillic and a character outside the BMP.
inline const std::wstring kUnicodeName = L"\x041F\x0451\x0442\x0440 \xD83C\xDFB5.mp3";

// A temporary folder holding a.mp3, b.mp3, the unicode name, and the folder
// sub with c.mp3 in it.
class MusicFolder {
public:
    MusicFolder();
    // The folder with a trailing backslash.
    std::wstring Dir() const { return folder_.Path() + L"\\"; }
    // The pattern with every "<d>" replaced by Dir().
    std::wstring Expand(const std::wstring& pattern) const;
    std::vector<std::wstring> Expand(const std::vector<std::wstring>& patterns) const;
    // The same for bytes; the folder's path is plain ASCII.
    std::string ExpandBytes(const std::string& pattern) const;

private:
    test_support::TempFolder folder_;
};

std::vector<std::wstring> Entries(const Playlist& playlist);

// For INSTANTIATE_TEST_SUITE_P: a case is named by its name member.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Prints a case as its name rather than its bytes, in messages and in ctest's
// test names; a test file brings it in with a using-declaration.
template <typename Case, typename = decltype(std::declval<const Case&>().name)>
std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.name;
}

}  // namespace playlist_tests
