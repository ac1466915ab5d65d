// The full-screen modes of one adapter as plain records: the candidate list
// gathered from the driver, its distinct formats, and the text of a mode.
// Formats are D3DFORMAT codes held as plain integers so that this logic needs
// no Direct3D header.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint32_t kMinModeWidth = 640;
inline constexpr std::uint32_t kMinModeHeight = 480;
inline constexpr std::uint32_t kMaxCandidates = 100;
// A mode list holds candidates only (each one at most once), so it can never
// grow past the candidate list; the larger room is what the renderer's
// records were laid out with.
inline constexpr std::uint32_t kMaxModes = 150;
static_assert(kMaxCandidates <= kMaxModes, "a mode list must hold every candidate");
// The desktop format plus one new format per candidate at most.
inline constexpr std::uint32_t kMaxFormats = kMaxCandidates + 1;

struct ModeRecord {
    std::uint32_t Width;
    std::uint32_t Height;
    std::int32_t Format;
};

struct CandidateMode {
    std::uint32_t Width;
    std::uint32_t Height;
    std::uint32_t RefreshRate;  // always 0: refresh rates are not offered
    std::int32_t Format;
};

// The distinct formats met, in order of first appearance.
struct FormatList {
    std::int32_t formats[kMaxFormats];
    std::uint32_t count = 0;

    bool Contains(std::int32_t format) const;
    // Appends the format unless it is listed already or the list is full.
    void Add(std::int32_t format);
};

class CandidateList {
public:
    // The adapter's desktop format heads the format list.
    explicit CandidateList(std::int32_t desktopFormat);

    // Offers one mode reported by the driver. Modes below 640 x 480, repeats
    // of a listed width, height and format (another refresh rate) and modes
    // met after the list is full are dropped; false then.
    bool Offer(std::uint32_t width, std::uint32_t height, std::int32_t format);
    // Width, then Height ascending, then Format descending.
    void Sort();

    std::uint32_t count() const { return count_; }
    const CandidateMode& operator[](std::uint32_t i) const { return modes_[i]; }
    const FormatList& formats() const { return formats_; }

private:
    CandidateMode modes_[kMaxCandidates];
    std::uint32_t count_ = 0;
    FormatList formats_;
};

// True when a comes before b in the order of a mode list.
bool ModeOrderLess(const CandidateMode& a, const CandidateMode& b);

// Bits per pixel of the formats the renderer can show: 32 or 16, else 0.
std::int32_t ColourDepth(std::int32_t format);

// "1280 x 1024 x 32"
std::wstring FormatModeText(const ModeRecord& mode);
