#include "display/mode_list.h"

#include <algorithm>
#include <cwchar>

namespace {

// D3DFORMAT codes of the formats with a known colour depth.
constexpr std::int32_t kA8R8G8B8 = 21;
constexpr std::int32_t kX8R8G8B8 = 22;
constexpr std::int32_t kR5G6B5 = 23;
constexpr std::int32_t kX1R5G5B5 = 24;

}  // namespace

bool FormatList::Contains(std::int32_t format) const {
    return std::find(formats, formats + count, format) != formats + count;
}

void FormatList::Add(std::int32_t format) {
    if (count < kMaxFormats && !Contains(format)) formats[count++] = format;
}

CandidateList::CandidateList(std::int32_t desktopFormat) { formats_.Add(desktopFormat); }

bool CandidateList::Offer(std::uint32_t width, std::uint32_t height, std::int32_t format) {
    if (width < kMinModeWidth || height < kMinModeHeight) return false;
    for (std::uint32_t i = 0; i < count_; ++i) {
        const CandidateMode& listed = modes_[i];
        if (listed.Width == width && listed.Height == height && listed.Format == format) return false;
    }
    // Drivers that report more than the list holds keep their first modes.
    if (count_ == kMaxCandidates) return false;
    modes_[count_++] = CandidateMode{width, height, 0, format};
    formats_.Add(format);
    return true;
}

bool ModeOrderLess(const CandidateMode& a, const CandidateMode& b) {
    if (a.Width != b.Width) return a.Width < b.Width;
    if (a.Height != b.Height) return a.Height < b.Height;
    return a.Format > b.Format;
}

void CandidateList::Sort() { std::sort(modes_, modes_ + count_, ModeOrderLess); }

std::int32_t ColourDepth(std::int32_t format) {
    switch (format) {
    case kA8R8G8B8:
    case kX8R8G8B8:
        return 32;
    case kR5G6B5:
    case kX1R5G5B5:
        return 16;
    default:
        return 0;
    }
}

std::wstring FormatModeText(const ModeRecord& mode) {
    wchar_t text[64];
    // Signed, as the settings hold the sizes (ModeWidth, ModeHeight); through
    // a 32-bit integer so that the text is the same where long is 64 bits wide.
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%ld x %ld x %ld",
                  static_cast<long>(static_cast<std::int32_t>(mode.Width)),
                  static_cast<long>(static_cast<std::int32_t>(mode.Height)),
                  static_cast<long>(ColourDepth(mode.Format)));
    return text;
}
