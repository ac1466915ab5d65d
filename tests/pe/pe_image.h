// A Windows program file read as bytes, on any host: its headers, sections,
// imported DLLs and delay-loaded functions. For checks of what ships that
// must not depend on running it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kDynamicBase = 0x0040;
constexpr std::uint16_t kNxCompat = 0x0100;
constexpr std::uint16_t kRelocsStripped = 0x0001;
constexpr std::uint32_t kSectionExecutable = 0x20000000;

struct Section {
    std::string name;
    std::uint32_t rva = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t flags = 0;
};

// One function of a delay-loaded DLL: its import-address slot holds, until
// the first call, the address of the thunk that loads the DLL.
struct DelaySlot {
    std::string function;       // or "#<ordinal>"
    std::uint32_t slotRva = 0;
    std::uint64_t slotValue = 0;  // a virtual address
};

struct DelayImport {
    std::string dll;
    std::vector<DelaySlot> slots;
};

class Image {
public:
    // Empty when the bytes are a program file this reader understands;
    // otherwise why not.
    std::string Parse(std::vector<std::uint8_t> bytes);

    std::uint16_t Machine() const { return machine_; }
    bool Is64() const { return is64_; }
    std::uint16_t Characteristics() const { return characteristics_; }
    std::uint16_t DllCharacteristics() const { return dllCharacteristics_; }
    std::uint16_t Subsystem() const { return subsystem_; }
    std::uint64_t ImageBase() const { return imageBase_; }
    const std::vector<Section>& Sections() const { return sections_; }
    // The base relocations' directory entry (RVA, size).
    std::uint32_t RelocationsRva() const { return relocationsRva_; }
    std::uint32_t RelocationsSize() const { return relocationsSize_; }

    // The section that holds this RVA, or null.
    const Section* SectionAt(std::uint32_t rva) const;
    bool IsExecutable(std::uint64_t virtualAddress) const;
    // The bytes the file holds at this RVA, or null when fewer than count.
    const std::uint8_t* At(std::uint32_t rva, std::size_t count) const;

    // The DLLs of the import directory, in their order.
    std::vector<std::string> Imports() const;
    // The delay-import descriptors, found by their form in the sections
    // (MinGW's linker leaves the delay-import directory empty).
    std::vector<DelayImport> DelayImports() const;
    // Whether the slot holds the address of the thunk that loads it: on i386
    // "mov eax, <slot>", on x86-64 "lea rax, [rip + to slot]".
    bool SlotHoldsItsThunk(const DelaySlot& slot) const;

private:
    std::string CString(std::uint32_t rva, std::size_t limit) const;
    std::uint64_t Pointer(std::uint32_t rva) const;

    std::vector<std::uint8_t> bytes_;
    std::uint16_t machine_ = 0;
    bool is64_ = false;
    std::uint16_t characteristics_ = 0;
    std::uint16_t dllCharacteristics_ = 0;
    std::uint16_t subsystem_ = 0;
    std::uint64_t imageBase_ = 0;
    std::uint32_t importsRva_ = 0;
    std::uint32_t relocationsRva_ = 0;
    std::uint32_t relocationsSize_ = 0;
    std::vector<Section> sections_;
};

}  // namespace pe
