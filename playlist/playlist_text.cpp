#include "playlist/playlist_text.h"

namespace playlist_text {

namespace {

// Sized for the two passes over a playlist file; on the stack of the
// user-interface thread.
constexpr std::size_t kChunkBytes = 16 * 1024;

constexpr char kCtrlZ = '\x1A';

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
}

// Feeds the whole file to lines and passes the last line as well.
void FeedAll(const ByteReader& reader, ByteLines& lines, const ByteLineHandler& handler) {
    char chunk[kChunkBytes];
    while (const std::size_t read = reader(chunk, sizeof(chunk))) {
        if (!lines.Feed(std::string_view(chunk, read), handler)) break;
    }
    lines.Finish(handler);
}

}  // namespace

bool TextLines::Next(std::wstring_view& line) {
    if (ended_ || rest_.empty()) return false;
    const std::size_t end = rest_.find(L'\n');
    const std::wstring_view candidate = rest_.substr(0, end);
    if (candidate.size() > kMaxLineLength) {
        ended_ = true;
        return false;
    }
    rest_ = end == std::wstring_view::npos ? std::wstring_view() : rest_.substr(end + 1);
    line = candidate;
    return true;
}

bool IsEntryLine(std::wstring_view line) { return !line.empty() && line.front() != L'#'; }

void AppendLines(const std::vector<std::wstring>& entries, std::wstring& text) {
    for (const std::wstring& entry : entries) {
        text += entry;
        text += L'\n';
    }
}

bool ByteLines::Feed(std::string_view chunk, const ByteLineHandler& handler) {
    for (const char byte : chunk) {
        if (stopped_ || endOfFile_) break;
        if (byte == kCtrlZ) {
            endOfFile_ = true;
            break;
        }
        if (pendingCr_) {
            pendingCr_ = false;
            if (byte == '\n') {
                EndLine(handler);
                continue;
            }
            if (!Append('\r')) break;
        }
        if (byte == '\r') {
            // Only the next byte tells whether this CR is part of a line end,
            // and it may come with the next chunk.
            pendingCr_ = true;
        } else if (byte == '\n') {
            EndLine(handler);
        } else {
            Append(byte);
        }
    }
    return !stopped_ && !endOfFile_;
}

void ByteLines::Finish(const ByteLineHandler& handler) {
    if (stopped_) return;
    if (pendingCr_) {
        pendingCr_ = false;
        if (!Append('\r')) return;
    }
    if (!line_.empty()) EndLine(handler);
    stopped_ = true;
}

bool ByteLines::Append(char byte) {
    if (line_.size() == kMaxLineBytes) {
        stopped_ = true;
        line_.clear();
        return false;
    }
    line_.push_back(byte);
    return true;
}

void ByteLines::EndLine(const ByteLineHandler& handler) {
    if (!handler(std::string_view(line_.data(), line_.size()))) stopped_ = true;
    line_.clear();
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The allowed range of the byte after the lead byte rules out
        // overlong forms, surrogates and values above U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead == 0xE0) {
            length = 3;
            low = 0xA0;
        } else if (lead == 0xED) {
            length = 3;
            high = 0x9F;
        } else if (lead >= 0xE1 && lead <= 0xEF) {
            length = 3;
        } else if (lead == 0xF0) {
            length = 4;
            low = 0x90;
        } else if (lead == 0xF4) {
            length = 4;
            high = 0x8F;
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            length = 4;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

FileEncoding DetectEncoding(const ByteReader& reader) {
    bool firstLine = true;
    bool byteOrderMark = false;
    bool valid = true;
    ByteLines lines;
    FeedAll(reader, lines, [&](std::string_view line) {
        if (firstLine) {
            firstLine = false;
            if (StartsWithByteOrderMark(line)) {
                byteOrderMark = true;
                return false;
            }
        }
        // A line feed is never part of a multi-byte sequence, so checking
        // line by line is checking the whole file.
        valid = IsValidUtf8(line);
        return valid;
    });
    return (byteOrderMark || valid) ? FileEncoding::kUtf8 : FileEncoding::kAnsiCodePage;
}

void ReadTextLines(const ByteReader& reader, FileEncoding encoding, const LineDecoder& decoder,
                   const std::function<void(std::wstring_view line)>& handler) {
    bool firstLine = true;
    ByteLines lines;
    FeedAll(reader, lines, [&](std::string_view bytes) {
        if (firstLine) {
            firstLine = false;
            if (encoding == FileEncoding::kUtf8 && StartsWithByteOrderMark(bytes)) {
                bytes.remove_prefix(kUtf8ByteOrderMark.size());
            }
        }
        const std::wstring line = decoder(bytes, encoding);
        if (line.size() > kMaxLineLength) return false;
        handler(line);
        return true;
    });
}

std::wstring_view FolderOf(std::wstring_view path) {
    const std::size_t backslash = path.rfind(L'\\');
    if (backslash == std::wstring_view::npos) return std::wstring_view();
    return path.substr(0, backslash + 1);
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// The first `components` components of rest, each with the separator after
// it; npos when rest has fewer that are not empty.
std::size_t ComponentsEnd(std::wstring_view rest, int components) {
    std::size_t at = 0;
    for (int i = 0; i < components; ++i) {
        std::size_t end = at;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        if (end == at) return std::wstring_view::npos;
        at = end < rest.size() ? end + 1 : end;
    }
    return at;
}

// The prefix and the components after it, closed with one backslash.
std::wstring RootAfter(std::wstring_view path, std::size_t prefix, int components) {
    const std::size_t end = ComponentsEnd(path.substr(prefix), components);
    if (end == std::wstring_view::npos) return std::wstring();
    std::wstring root(path.substr(0, prefix + end));
    if (!IsSeparator(root.back())) root += L'\\';
    return root;
}

}  // namespace

std::wstring RootOf(std::wstring_view path) {
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':') return std::wstring(path.substr(0, 2)) + L'\\';
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return std::wstring();
    // "\\?\" and "\\.\": a drive, "UNC\server\share" or a volume name follows.
    if (path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) {
        const std::wstring_view rest = path.substr(4);
        if (rest.size() >= 2 && IsAsciiLetter(rest[0]) && rest[1] == L':') return RootAfter(path, 4, 1);
        if (rest.size() >= 4 && (rest[0] == L'U' || rest[0] == L'u') && (rest[1] == L'N' || rest[1] == L'n') &&
            (rest[2] == L'C' || rest[2] == L'c') && IsSeparator(rest[3])) {
            return RootAfter(path, 8, 2);
        }
        return RootAfter(path, 4, 1);
    }
    return RootAfter(path, 2, 2);
}

bool IsM3uFileName(std::wstring_view path) {
    if (path.size() < 4) return false;
    const std::wstring_view tail = path.substr(path.size() - 4);
    return tail[0] == L'.' && (tail[1] == L'm' || tail[1] == L'M') && tail[2] == L'3' &&
           (tail[3] == L'u' || tail[3] == L'U');
}

}  // namespace playlist_text
