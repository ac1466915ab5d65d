#include "pe_image.h"

#include <cstring>

namespace pe {

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint64_t U64(const std::uint8_t* p) { return U32(p) | static_cast<std::uint64_t>(U32(p + 4)) << 32; }

constexpr std::size_t kDelayDescriptorSize = 32;
constexpr std::uint32_t kDelayAttributesRva = 1;
constexpr std::size_t kNameLimit = 256;
constexpr std::size_t kSlotLimit = 4096;

}  // namespace

std::string Image::Parse(std::vector<std::uint8_t> bytes) {
    bytes_ = std::move(bytes);
    sections_.clear();
    if (bytes_.size() < 0x40 || bytes_[0] != 'M' || bytes_[1] != 'Z') return "no MZ header";
    const std::uint32_t pe = U32(&bytes_[0x3C]);
    if (pe > bytes_.size() || bytes_.size() - pe < 24 || std::memcmp(&bytes_[pe], "PE\0\0", 4) != 0) {
        return "no PE signature";
    }
    const std::uint8_t* file = &bytes_[pe + 4];
    machine_ = U16(file);
    const std::uint16_t sectionCount = U16(file + 2);
    const std::uint16_t optionalSize = U16(file + 16);
    characteristics_ = U16(file + 18);
    const std::size_t optionalAt = pe + 24;
    if (bytes_.size() - optionalAt < optionalSize || optionalSize < 2) return "optional header cut short";
    const std::uint8_t* optional = &bytes_[optionalAt];
    const std::uint16_t magic = U16(optional);
    if (magic != 0x10B && magic != 0x20B) return "unknown optional header magic";
    is64_ = magic == 0x20B;
    const std::size_t directoriesAt = is64_ ? 112 : 96;
    if (optionalSize < directoriesAt) return "optional header cut short";
    imageBase_ = is64_ ? U64(optional + 24) : U32(optional + 28);
    subsystem_ = U16(optional + 68);
    dllCharacteristics_ = U16(optional + 70);
    const std::uint32_t directoryCount = U32(optional + directoriesAt - 4);
    auto directory = [&](std::uint32_t index, std::uint32_t& rva, std::uint32_t& size) {
        rva = size = 0;
        if (index >= directoryCount || directoriesAt + 8 * (index + 1) > optionalSize) return;
        rva = U32(optional + directoriesAt + 8 * index);
        size = U32(optional + directoriesAt + 8 * index + 4);
    };
    std::uint32_t importsSize = 0;
    directory(1, importsRva_, importsSize);
    directory(5, relocationsRva_, relocationsSize_);

    const std::size_t sectionsAt = optionalAt + optionalSize;
    if ((bytes_.size() - sectionsAt) / 40 < sectionCount) return "section table cut short";
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* s = &bytes_[sectionsAt + 40u * i];
        Section section;
        section.name.assign(reinterpret_cast<const char*>(s), strnlen(reinterpret_cast<const char*>(s), 8));
        section.virtualSize = U32(s + 8);
        section.rva = U32(s + 12);
        section.rawSize = U32(s + 16);
        section.rawOffset = U32(s + 20);
        section.flags = U32(s + 36);
        sections_.push_back(section);
    }
    return {};
}

const Section* Image::SectionAt(std::uint32_t rva) const {
    for (const Section& s : sections_) {
        const std::uint32_t size = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva >= s.rva && rva - s.rva < size) return &s;
    }
    return nullptr;
}

bool Image::IsExecutable(std::uint64_t virtualAddress) const {
    if (virtualAddress < imageBase_ || virtualAddress - imageBase_ > 0xFFFFFFFFu) return false;
    const Section* s = SectionAt(static_cast<std::uint32_t>(virtualAddress - imageBase_));
    return s && (s->flags & kSectionExecutable);
}

const std::uint8_t* Image::At(std::uint32_t rva, std::size_t count) const {
    const Section* s = SectionAt(rva);
    if (!s) return nullptr;
    const std::uint64_t inSection = rva - s->rva;
    if (inSection + count > s->rawSize) return nullptr;
    const std::uint64_t offset = s->rawOffset + inSection;
    if (offset + count > bytes_.size()) return nullptr;
    return &bytes_[static_cast<std::size_t>(offset)];
}

std::string Image::CString(std::uint32_t rva, std::size_t limit) const {
    std::string text;
    for (std::size_t i = 0; i < limit; ++i) {
        const std::uint8_t* c = At(rva + static_cast<std::uint32_t>(i), 1);
        if (!c) return {};
        if (*c == 0) return text;
        text += static_cast<char>(*c);
    }
    return {};
}

std::uint64_t Image::Pointer(std::uint32_t rva) const {
    const std::uint8_t* p = At(rva, is64_ ? 8 : 4);
    if (!p) return 0;
    return is64_ ? U64(p) : U32(p);
}

std::vector<std::string> Image::Imports() const {
    std::vector<std::string> dlls;
    for (std::uint32_t at = importsRva_; importsRva_ != 0; at += 20) {
        const std::uint8_t* descriptor = At(at, 20);
        if (!descriptor) break;
        const std::uint32_t nameRva = U32(descriptor + 12);
        if (nameRva == 0) break;
        dlls.push_back(CString(nameRva, kNameLimit));
    }
    return dlls;
}

std::vector<DelayImport> Image::DelayImports() const {
    std::vector<DelayImport> found;
    const std::uint32_t pointerSize = is64_ ? 8 : 4;
    for (const Section& s : sections_) {
        for (std::uint32_t inSection = 0; inSection + kDelayDescriptorSize <= s.rawSize; inSection += 4) {
            const std::uint8_t* d = At(s.rva + inSection, kDelayDescriptorSize);
            if (!d || U32(d) != kDelayAttributesRva) continue;
            // attributes, DLL name, module handle, import addresses, import
            // names, bound and unload tables (none), time stamp (0).
            const std::uint32_t nameRva = U32(d + 4), handleRva = U32(d + 8), iatRva = U32(d + 12),
                                intRva = U32(d + 16);
            if (U32(d + 20) != 0 || U32(d + 24) != 0 || U32(d + 28) != 0) continue;
            if (!SectionAt(handleRva) || !At(iatRva, pointerSize) || !At(intRva, pointerSize)) continue;
            const std::string dll = CString(nameRva, kNameLimit);
            if (dll.size() < 5 || dll.find('.') == std::string::npos) continue;
            DelayImport import{dll, {}};
            for (std::uint32_t i = 0; i < kSlotLimit; ++i) {
                const std::uint32_t offset = i * pointerSize;
                const std::uint64_t name = Pointer(intRva + offset);
                if (name == 0) break;
                DelaySlot slot;
                const bool byOrdinal = is64_ ? (name >> 63) != 0 : (name >> 31) != 0;
                slot.function = byOrdinal ? "#" + std::to_string(name & 0xFFFF)
                                          : CString(static_cast<std::uint32_t>(name) + 2, kNameLimit);
                slot.slotRva = iatRva + offset;
                slot.slotValue = Pointer(slot.slotRva);
                import.slots.push_back(slot);
            }
            found.push_back(import);
        }
    }
    return found;
}

bool Image::SlotHoldsItsThunk(const DelaySlot& slot) const {
    if (!IsExecutable(slot.slotValue)) return false;
    const std::uint32_t thunkRva = static_cast<std::uint32_t>(slot.slotValue - imageBase_);
    const std::uint64_t slotAddress = imageBase_ + slot.slotRva;
    if (!is64_) {
        const std::uint8_t* code = At(thunkRva, 5);
        return code && code[0] == 0xB8 && U32(code + 1) == static_cast<std::uint32_t>(slotAddress);
    }
    const std::uint8_t* code = At(thunkRva, 7);
    if (!code || code[0] != 0x48 || code[1] != 0x8D || code[2] != 0x05) return false;
    const std::int32_t displacement = static_cast<std::int32_t>(U32(code + 3));
    return slot.slotValue + 7 + static_cast<std::int64_t>(displacement) == slotAddress;
}

}  // namespace pe
