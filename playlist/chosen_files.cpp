#include "playlist/chosen_files.h"

namespace playlist_text {

namespace {

// The text from at up to the next NUL; false when no NUL ends it in the buffer.
bool TerminatedAt(std::wstring_view buffer, std::size_t at, std::wstring_view& text) {
    if (at >= buffer.size()) return false;
    const std::size_t end = buffer.find(L'\0', at);
    if (end == std::wstring_view::npos) return false;
    text = buffer.substr(at, end - at);
    return true;
}

}  // namespace

std::vector<std::wstring> ChosenFiles(std::wstring_view buffer, std::size_t fileOffset) {
    std::vector<std::wstring> paths;
    std::wstring_view first;
    if (!TerminatedAt(buffer, 0, first) || first.empty()) return paths;
    const bool severalFiles = fileOffset > 0 && fileOffset <= buffer.size() && buffer[fileOffset - 1] == L'\0';
    if (!severalFiles) {
        paths.emplace_back(first);
        return paths;
    }
    std::wstring folder(first);
    if (folder.back() != L'\\') folder.push_back(L'\\');
    std::wstring_view name;
    for (std::size_t at = first.size() + 1; TerminatedAt(buffer, at, name) && !name.empty(); at += name.size() + 1) {
        paths.push_back(folder + std::wstring(name));
    }
    return paths;
}

}  // namespace playlist_text
