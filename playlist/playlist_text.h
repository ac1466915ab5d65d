// The text side of the playlist: the lines of a stored playlist, the lines of
// a playlist file as bytes, the choice of the file's encoding and the names of
// playlist files. No Windows calls, so that it builds and runs anywhere.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace playlist_text {

// A line longer than this many characters ends the reading of a stored
// playlist or a playlist file: that line and all after it are ignored, the
// entries before it stay.
inline constexpr std::size_t kMaxLineLength = 2022;

// The most bytes a line of kMaxLineLength characters can take in a playlist
// file: UTF-8 needs up to three bytes for one UTF-16 character (an ANSI code
// page at most two), and the first line may carry a three-byte byte-order
// mark. A longer line of bytes is too long in any encoding.
inline constexpr std::size_t kMaxLineBytes = 3 * kMaxLineLength + 3;

// Walks a text line by line. A line ends at a line feed, which is not part of
// it; the last line needs none. The walk ends at the end of the text or at
// the first line longer than kMaxLineLength.
class TextLines {
public:
    explicit TextLines(std::wstring_view text) : rest_(text) {}

    // The next line; false when the walk has ended.
    bool Next(std::wstring_view& line);

private:
    std::wstring_view rest_;
    bool ended_ = false;
};

// True for a line that may name a file: neither empty nor a comment or
// directive (first character '#').
bool IsEntryLine(std::wstring_view line);

// Appends every entry followed by a line feed: the stored form of a playlist.
void AppendLines(const std::vector<std::wstring>& entries, std::wstring& text);

// Receives one line; returns false to stop the reading.
using ByteLineHandler = std::function<bool(std::string_view line)>;

// Cuts the bytes of a file, fed in chunks of any size, into lines as the C
// runtime's text mode reads them: a CR LF pair reads as one line feed (a CR
// elsewhere stays), and a Ctrl+Z ends the file. A line longer than
// kMaxLineBytes ends the reading without being passed on, so no more than
// that is ever held.
class ByteLines {
public:
    // Passes each line that the chunk completes; false once the reading has
    // ended (Ctrl+Z, a line too long, or the handler said stop).
    bool Feed(std::string_view chunk, const ByteLineHandler& handler);
    // Passes the last line when the file does not end with a line feed.
    void Finish(const ByteLineHandler& handler);

private:
    // False, ending the reading, when the line would grow too long.
    bool Append(char byte);
    void EndLine(const ByteLineHandler& handler);

    std::vector<char> line_;
    bool pendingCr_ = false;
    bool endOfFile_ = false;  // a Ctrl+Z: the line so far is still the last one
    bool stopped_ = false;    // no more lines at all
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// True when the bytes are well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

enum class FileEncoding { kUtf8, kAnsiCodePage };

// Reads up to capacity bytes of a file into buffer; 0 at its end or on error.
using ByteReader = std::function<std::size_t(char* buffer, std::size_t capacity)>;

// Decides how a playlist file's names are written: UTF-8 when the file starts
// with the UTF-8 byte-order mark or when every line the reader can take (all
// up to the first longer than kMaxLineBytes) is valid UTF-8, the system's
// ANSI code page otherwise. Reads the file from where reader stands.
FileEncoding DetectEncoding(const ByteReader& reader);

// Turns the bytes of one line into text in the given encoding.
using LineDecoder = std::function<std::wstring(std::string_view bytes, FileEncoding encoding)>;

// Passes each line of a playlist file as text, in order: cut by ByteLines,
// without a leading UTF-8 byte-order mark, decoded, and ending the reading at
// the first line longer than kMaxLineLength characters.
void ReadTextLines(const ByteReader& reader, FileEncoding encoding, const LineDecoder& decoder,
                   const std::function<void(std::wstring_view line)>& handler);

// The folder part of a path, up to and including its last backslash; empty
// when it has none. Only the backslash separates.
std::wstring_view FolderOf(std::wstring_view path);

// The root of the volume or share a path lies on, with its closing
// backslash: "C:\" for "C:\music\a.mp3" (and for "C:a.mp3"),
// "\\server\share\" for a network path, the same behind "\\?\" and
// "\\?\UNC\" ("\\?\Volume{...}\" for a volume by name). Empty for a path
// relative to the current folder or its drive, and for a network path
// without a share.
std::wstring RootOf(std::wstring_view path);

// True for a name that ends in ".m3u" in any letter case: a playlist file to
// read, rather than one music entry (".pls" files, for one, are entries).
bool IsM3uFileName(std::wstring_view path);

}  // namespace playlist_text
