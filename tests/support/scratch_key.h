// Registry keys that a test owns: made fresh for the test and deleted after.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

// A key under HKEY_CURRENT_USER\Software\MarrowdaleTests named after the
// running test, empty at the start and deleted with everything below it at
// the end.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return HKEY_CURRENT_USER; }
    const std::wstring& Path() const { return path_; }
    // An open handle to the key (all access).
    HKEY Get() const { return key_; }

    // Writes raw value data of any type and exactly the given bytes.
    void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) const;
    // Writes REG_SZ data of exactly 2 x length bytes, without a terminator.
    void SetUnterminated(const std::wstring& name, const std::wstring& text) const;
    void SetDword(const std::wstring& name, DWORD value) const;
    // The raw data and type of a value; false when it is missing.
    bool GetRaw(const std::wstring& name, DWORD& type, std::vector<BYTE>& data) const;

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

// Deletes a registry tree now and again when the object goes, so that a test
// that must use a fixed key (the product key, an uninstall entry) starts and
// leaves it absent.
class ScopedKeyRemoval {
public:
    ScopedKeyRemoval(HKEY root, std::wstring path);
    ~ScopedKeyRemoval();
    ScopedKeyRemoval(const ScopedKeyRemoval&) = delete;
    ScopedKeyRemoval& operator=(const ScopedKeyRemoval&) = delete;

private:
    HKEY root_;
    std::wstring path_;
};

// The registry view in which the program keeps a key: its product key (and
// the maker's key above it) under HKEY_LOCAL_MACHINE in the 64-bit view,
// where a 32-bit process on 64-bit Windows reaches it only by asking;
// everything else, the installer's uninstall entries among them, in the
// process's own view. Or'ed into the access of every open and create.
REGSAM ViewOf(HKEY root, const std::wstring& path);
// Deletes a key with everything below it, in its view or in the one given.
void DeleteKeyTree(HKEY root, const std::wstring& path);
void DeleteKeyTree(HKEY root, const std::wstring& path, REGSAM view);

// Writes a REG_SZ value (with its terminator, as an installer would), in the
// key's view or in the one given.
void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text);
void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text,
                       REGSAM view);

}  // namespace test_support
