// The playlist's text handling on any bytes: a playlist file cut into lines
// in chunks of any size reads the same as in one piece, the encoding choice
// and the decoded lines hold to the line limit, a stored playlist splits into
// lines that store back to the same lines, and the folder, root and name
// tests stay within the path.
#include "playlist/playlist_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace playlist_text;

std::vector<std::string> CutLines(std::string_view bytes, std::size_t chunk) {
    std::vector<std::string> lines;
    const ByteLineHandler keep = [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    };
    ByteLines cutter;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        if (!cutter.Feed(bytes.substr(at, chunk), keep)) break;
    }
    cutter.Finish(keep);
    return lines;
}

// A file read in pieces of at most chunk bytes.
ByteReader ReaderOf(std::string_view bytes, std::size_t chunk) {
    return [bytes, chunk, at = std::size_t{0}](char* buffer, std::size_t capacity) mutable {
        const std::size_t n = std::min({chunk, capacity, bytes.size() - at});
        std::copy_n(bytes.data() + at, n, buffer);
        at += n;
        return n;
    };
}

// Each byte as the character of the same value.
std::wstring Latin1(std::string_view bytes) { return std::wstring(bytes.begin(), bytes.end()); }

void CheckByteLines(std::string_view bytes, std::size_t chunk) {
    const std::vector<std::string> whole = CutLines(bytes, bytes.size() + 1);
    FUZZ_CHECK(CutLines(bytes, chunk) == whole);
    for (const std::string& line : whole) {
        FUZZ_CHECK(line.size() <= kMaxLineBytes);
        FUZZ_CHECK(line.find_first_of(std::string("\n\x1A", 2)) == std::string::npos);
    }

    const FileEncoding encoding = DetectEncoding(ReaderOf(bytes, chunk));
    FUZZ_CHECK(encoding == DetectEncoding(ReaderOf(bytes, bytes.size() + 1)));
    // UTF-8 exactly when the first line starts with the byte-order mark or
    // every line is valid UTF-8.
    const bool byteOrderMark = !whole.empty() && std::string_view(whole[0]).substr(0, 3) == kUtf8ByteOrderMark;
    const bool allValid = std::all_of(whole.begin(), whole.end(), [](const std::string& l) { return IsValidUtf8(l); });
    FUZZ_CHECK((encoding == FileEncoding::kUtf8) == (byteOrderMark || allValid));

    std::vector<std::wstring> read;
    ReadTextLines(ReaderOf(bytes, chunk), encoding, [](std::string_view line, FileEncoding) { return Latin1(line); },
                  [&](std::wstring_view line) { read.emplace_back(line); });
    FUZZ_CHECK(read.size() <= whole.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        FUZZ_CHECK(read[i].size() <= kMaxLineLength);
        // The byte-order mark comes off the first line only.
        std::string_view expected = whole[i];
        if (i == 0 && encoding == FileEncoding::kUtf8 && expected.substr(0, 3) == kUtf8ByteOrderMark) {
            expected.remove_prefix(3);
        }
        FUZZ_CHECK(read[i] == Latin1(expected));
    }
}

void CheckStoredText(const std::wstring& text) {
    std::vector<std::wstring> lines;
    TextLines walk(text);
    std::wstring_view line;
    std::size_t consumed = 0;
    while (walk.Next(line)) {
        FUZZ_CHECK(line.size() <= kMaxLineLength && line.find(L'\n') == std::wstring_view::npos);
        // The lines are the text itself, in order.
        FUZZ_CHECK(text.compare(consumed, line.size(), line) == 0);
        consumed += line.size() + 1;
        lines.emplace_back(line);
        if (IsEntryLine(line)) FUZZ_CHECK(line.front() != L'#');
    }
    std::wstring stored;
    AppendLines(lines, stored);
    std::vector<std::wstring> again;
    TextLines reread(stored);
    while (reread.Next(line)) again.emplace_back(line);
    FUZZ_CHECK(again == lines);
}

void CheckUtf8(std::string_view bytes, std::size_t cut) {
    const std::string_view a = bytes.substr(0, cut), b = bytes.substr(cut);
    if (IsValidUtf8(a) && IsValidUtf8(b)) FUZZ_CHECK(IsValidUtf8(bytes));
    if (IsValidUtf8(bytes)) {
        // Valid text holds no byte that UTF-8 never uses.
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            FUZZ_CHECK(byte != 0xC0 && byte != 0xC1 && byte < 0xF5);
        }
    }
}

void CheckPath(const std::wstring& path) {
    const std::wstring_view folder = FolderOf(path);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(folder.empty() || folder.back() == L'\\');
    FUZZ_CHECK(path.find(L'\\', folder.size()) == std::wstring::npos);
    if (IsM3uFileName(path)) FUZZ_CHECK(path.size() >= 4 && path[path.size() - 4] == L'.');
    // A root is the path's beginning closed with a separator.
    const std::wstring root = RootOf(path);
    if (!root.empty()) {
        FUZZ_CHECK(root.back() == L'\\' || root.back() == L'/');
        FUZZ_CHECK(path.compare(0, root.size() - 1, root, 0, root.size() - 1) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the chunk size, the rest is the file.
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckByteLines(bytes, chunk);
    CheckUtf8(bytes, chunk % (bytes.size() + 1));

    const std::wstring text = fuzz::Utf16FromBytes(data + 1, size - 1);
    CheckStoredText(text);
    CheckStoredText(Latin1(bytes));
    CheckPath(text);
    return 0;
}
