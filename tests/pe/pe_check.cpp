// Checks a built program as the file it is, without running it, so that a
// host where 32-bit code runs only emulated, or not at all, still catches
// the faults of what ships:
//   pe_check <file> --machine i386|x86-64 --allow <dll,...> --delay-load <dll,...>
// It must be a Windows GUI program for that machine; relocatable, with
// address-space randomisation and no-execute data asked for (DYNAMIC_BASE,
// NX_COMPAT and a relocation section); import at load time only allowed
// DLLs and none of those it delay-loads; and delay-load each of those with
// every import-address slot bound to the thunk that loads it (an unbound
// slot holds 0, and the first call jumps there). Prints "FAIL: <file>: why"
// for each fault and exits with 1, or "PASS: <file>" and 0.
#include "pe_image.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::set<std::string> DllList(const std::string& commaSeparated) {
    std::set<std::string> dlls;
    std::istringstream in(commaSeparated);
    for (std::string name; std::getline(in, name, ',');) {
        if (name.empty()) continue;
        name = Lower(name);
        if (name.find('.') == std::string::npos) name += ".dll";
        dlls.insert(name);
    }
    return dlls;
}

struct Options {
    std::string file;
    std::string machine;
    std::set<std::string> allowed;
    std::set<std::string> delayLoaded;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--machine" && hasValue) {
            options.machine = argv[++i];
        } else if (argument == "--allow" && hasValue) {
            options.allowed = DllList(argv[++i]);
        } else if (argument == "--delay-load" && hasValue) {
            options.delayLoaded = DllList(argv[++i]);
        } else if (options.file.empty() && argument.rfind("--", 0) != 0) {
            options.file = argument;
        } else {
            return false;
        }
    }
    return !options.file.empty() && (options.machine == "i386" || options.machine == "x86-64");
}

class Checker {
public:
    explicit Checker(std::string file) : file_(std::move(file)) {}
    void Fail(const std::string& why) {
        std::printf("FAIL: %s: %s\n", file_.c_str(), why.c_str());
        failed_ = true;
    }
    void Note(const std::string& what) { std::printf("  %s\n", what.c_str()); }
    int Finish() const {
        if (!failed_) std::printf("PASS: %s\n", file_.c_str());
        return failed_ ? 1 : 0;
    }

private:
    std::string file_;
    bool failed_ = false;
};

void CheckHeaders(const pe::Image& image, const Options& options, Checker& check) {
    const bool wants64 = options.machine == "x86-64";
    const std::uint16_t machine = wants64 ? pe::kMachineAmd64 : pe::kMachineI386;
    if (image.Machine() != machine || image.Is64() != wants64) {
        char found[64];
        std::snprintf(found, sizeof found, "0x%04X%s", image.Machine(), image.Is64() ? " (PE32+)" : " (PE32)");
        check.Fail("machine is " + std::string(found) + ", not " + options.machine);
    }
    if (image.Subsystem() != 2) check.Fail("not a Windows GUI program (subsystem " + std::to_string(image.Subsystem()) + ")");
    if (!(image.DllCharacteristics() & pe::kDynamicBase)) check.Fail("DYNAMIC_BASE is not set");
    if (!(image.DllCharacteristics() & pe::kNxCompat)) check.Fail("NX_COMPAT is not set");
    const pe::Section* relocations = image.RelocationsSize() ? image.SectionAt(image.RelocationsRva()) : nullptr;
    if ((image.Characteristics() & pe::kRelocsStripped) || !relocations || relocations->name != ".reloc") {
        check.Fail("has no relocation section, so Windows cannot move it");
    }
}

void CheckImports(const pe::Image& image, const Options& options, Checker& check) {
    for (const std::string& dll : image.Imports()) {
        const std::string name = Lower(dll);
        if (options.delayLoaded.count(name)) {
            check.Fail("imports at load time a DLL that must be delay-loaded: " + dll);
        } else if (!options.allowed.count(name)) {
            check.Fail("imports a DLL that is not an allowed system DLL: " + dll);
        } else {
            check.Note("imports " + dll);
        }
    }
}

void CheckDelayImports(const pe::Image& image, const Options& options, Checker& check) {
    std::set<std::string> seen;
    for (const pe::DelayImport& import : image.DelayImports()) {
        const std::string name = Lower(import.dll);
        seen.insert(name);
        if (!options.delayLoaded.count(name)) {
            check.Fail("delay-loads a DLL that is not meant to be: " + import.dll);
        }
        std::size_t unbound = 0;
        for (const pe::DelaySlot& slot : import.slots) {
            if (image.SlotHoldsItsThunk(slot)) continue;
            ++unbound;
            char value[32];
            std::snprintf(value, sizeof value, "0x%llX", static_cast<unsigned long long>(slot.slotValue));
            check.Fail("delay-import " + slot.function + " of " + import.dll + " is unbound: its slot holds " + value +
                       ", not the thunk that loads it");
        }
        const std::size_t count = import.slots.size();
        check.Note("delay-loads " + std::to_string(count) + (count == 1 ? " function of " : " functions of ") + import.dll +
                   (unbound ? ", " + std::to_string(unbound) + " unbound" : ""));
    }
    for (const std::string& dll : options.delayLoaded) {
        if (!seen.count(dll)) check.Note("does not use " + dll);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: pe_check <file> --machine i386|x86-64 --allow <dll,...> --delay-load <dll,...>\n");
        return 2;
    }
    Checker check(options.file);
    std::ifstream in(options.file, std::ios::binary);
    if (!in) {
        check.Fail("cannot be read");
        return check.Finish();
    }
    pe::Image image;
    const std::string error = image.Parse(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    if (!error.empty()) {
        check.Fail("not a Windows program file: " + error);
        return check.Finish();
    }
    CheckHeaders(image, options, check);
    CheckImports(image, options, check);
    CheckDelayImports(image, options, check);
    return check.Finish();
}
