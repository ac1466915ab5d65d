#include "playlist/playlist_file.h"

#include "framework/handles.h"
#include "playlist/playlist_text.h"

#include <windows.h>

#include <algorithm>

namespace {

std::wstring Decode(std::string_view bytes, playlist_text::FileEncoding encoding) {
    if (bytes.empty()) return std::wstring();
    const UINT codePage = encoding == playlist_text::FileEncoding::kUtf8 ? CP_UTF8 : CP_ACP;
    // Lines are at most kMaxLineBytes long, far below the int range.
    const int length = static_cast<int>(bytes.size());
    const int needed = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(needed), L'\0');
    const int written = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), needed);
    text.resize(static_cast<size_t>(std::max(written, 0)));
    return text;
}

}  // namespace

bool ReadPlaylistFile(const std::wstring& path, const std::function<void(std::wstring_view line)>& handler) {
    // Others may go on reading and writing the file meanwhile.
    framework::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // A pipe or a device could keep the dialog waiting for ever, and only a
    // disk file can be read twice.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return false;

    const playlist_text::ByteReader reader = [&file](char* buffer, std::size_t capacity) -> std::size_t {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, MAXDWORD));
        if (!::ReadFile(file.Get(), buffer, wanted, &read, nullptr)) return 0;
        return read;
    };
    // Which encoding the names are in is known only after looking at the whole
    // readable part, so the file is read twice rather than held.
    const playlist_text::FileEncoding encoding = playlist_text::DetectEncoding(reader);
    LARGE_INTEGER start = {};
    if (!::SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return false;
    playlist_text::ReadTextLines(reader, encoding, Decode, handler);
    return true;
}
