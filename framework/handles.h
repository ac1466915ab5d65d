// Owning wrappers for the kernel and COM objects the program opens, so that
// every function closes what it opens on every path, by construction.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace framework {

// A kernel handle closed with CloseHandle (process and thread handles, events).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    void Reset(HANDLE handle = nullptr) {
        if (*this) ::CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// A view of a file mapping, unmapped when the object goes.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(void* view) : view_(view) {}
    ~MappedView() { Reset(); }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* Get() const { return view_; }
    void Reset(void* view = nullptr) {
        if (view_) ::UnmapViewOfFile(view_);
        view_ = view;
    }
    explicit operator bool() const { return view_ != nullptr; }

private:
    void* view_ = nullptr;
};

// The ownership of a mutex that this thread acquired, released when the
// object goes (or earlier with Release).
class MutexOwnership {
public:
    MutexOwnership() = default;
    ~MutexOwnership() { Release(); }
    MutexOwnership(const MutexOwnership&) = delete;
    MutexOwnership& operator=(const MutexOwnership&) = delete;

    // Records that this thread now owns the mutex.
    void Take(HANDLE mutex) {
        Release();
        mutex_ = mutex;
    }
    void Release() {
        if (mutex_) ::ReleaseMutex(std::exchange(mutex_, nullptr));
    }
    explicit operator bool() const { return mutex_ != nullptr; }

private:
    HANDLE mutex_ = nullptr;
};

// A global memory block freed with GlobalFree, unless handed on with Release
// to an owner that frees it itself (a stream made by CreateStreamOnHGlobal).
class UniqueGlobal {
public:
    UniqueGlobal() = default;
    explicit UniqueGlobal(HGLOBAL block) : block_(block) {}
    ~UniqueGlobal() {
        if (block_) ::GlobalFree(block_);
    }
    UniqueGlobal(UniqueGlobal&& other) noexcept : block_(other.Release()) {}
    UniqueGlobal& operator=(UniqueGlobal&& other) noexcept {
        if (this != &other) {
            if (block_) ::GlobalFree(block_);
            block_ = other.Release();
        }
        return *this;
    }
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;

    HGLOBAL Get() const { return block_; }
    explicit operator bool() const { return block_ != nullptr; }
    HGLOBAL Release() { return std::exchange(block_, nullptr); }

private:
    HGLOBAL block_ = nullptr;
};

// A loaded resource of a module, released with FreeResource when the object goes.
class LoadedResource {
public:
    LoadedResource(HMODULE module, HRSRC info) : data_(info ? ::LoadResource(module, info) : nullptr) {}
    ~LoadedResource() {
        if (data_) ::FreeResource(data_);
    }
    LoadedResource(const LoadedResource&) = delete;
    LoadedResource& operator=(const LoadedResource&) = delete;

    explicit operator bool() const { return data_ != nullptr; }
    const void* Lock() const { return data_ ? ::LockResource(data_) : nullptr; }

private:
    HGLOBAL data_;
};

// Loads a library from the system folder only, or gives null.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A library loaded at run time from the system folder only, so that a DLL of
// the same name planted beside the program or in the current folder is never
// picked up. Freed when the object goes.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    explicit operator bool() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }

    // The export as a typed function pointer, or null.
    template <typename Function>
    Function Find(const char* exportName) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_, exportName)));
    }

private:
    HMODULE module_ = nullptr;
};

// Restricts the search of libraries loaded later by name, by the program or by
// the system on its behalf, to the system folder (where Windows offers that;
// else it takes the current folder out). Called once at start-up.
void HardenLibrarySearchPath();

// A COM interface pointer released when the object goes.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    Interface** Put() {
        Reset();
        return &ptr_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Attach(Interface* ptr) {
        Reset();
        ptr_ = ptr;
    }
    void Reset() {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }

private:
    Interface* ptr_ = nullptr;
};

// Balances a successful CoInitialize (S_OK or S_FALSE) of this thread.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// Memory the system allocated for the caller with LocalAlloc (security
// descriptors, ACLs, SID strings).
struct LocalFreer {
    void operator()(void* memory) const { ::LocalFree(memory); }
};
template <class T = void>
using LocalMemory = std::unique_ptr<T, LocalFreer>;

}  // namespace framework
