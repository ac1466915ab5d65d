#include "tests/playlist/playlist_fixtures.h"

#include <windows.h>

namespace playlist_tests {

namespace {

template <typename String>
String ReplaceAll(String text, const String& marker, const String& replacement) {
    for (size_t at = text.find(marker); at != String::npos; at = text.find(marker, at + replacement.size())) {
        text.replace(at, marker.size(), replacement);
    }
    return text;
}

}  // namespace

MusicFolder::MusicFolder() {
    for (const std::wstring name : {L"a.mp3", L"b.mp3", kUnicodeName.c_str()}) {
        EXPECT_TRUE(test_support::WriteBinaryFile(Dir() + name, "ID3")) << "cannot create a music file";
    }
    EXPECT_TRUE(::CreateDirectoryW((Dir() + L"sub").c_str(), nullptr));
    EXPECT_TRUE(test_support::WriteBinaryFile(Dir() + L"sub\\c.mp3", "ID3"));
}

std::wstring MusicFolder::Expand(const std::wstring& pattern) const {
    return ReplaceAll(pattern, std::wstring(L"<d>"), Dir());
}

std::vector<std::wstring> MusicFolder::Expand(const std::vector<std::wstring>& patterns) const {
    std::vector<std::wstring> expanded;
    for (const std::wstring& pattern : patterns) expanded.push_back(Expand(pattern));
    return expanded;
}

std::string MusicFolder::ExpandBytes(const std::string& pattern) const {
    std::string dir;
    for (const wchar_t c : Dir()) {
        EXPECT_LT(c, 0x80) << "the temporary folder's path is not ASCII";
        dir.push_back(static_cast<char>(c));
    }
    return ReplaceAll(pattern, std::string("<d>"), dir);
}

std::vector<std::wstring> Entries(const Playlist& playlist) {
    std::vector<std::wstring> entries;
    for (size_t i = 0; i < playlist.Count(); ++i) entries.push_back(playlist.Entry(i));
    return entries;
}

}  // namespace playlist_tests
