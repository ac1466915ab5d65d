#include "playlist/stored_entry_check.h"

#include "framework/handles.h"
#include "playlist/playlist_text.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>

namespace stored_entry_check {

namespace {

// More roots than this are asked in turn by this many threads: a playlist
// that names a thousand servers must not make a thousand threads.
constexpr std::size_t kMostThreads = 8;

// One drive or share and the entries that lie on it. Written by the one
// thread that claims it; read by the caller only once `answered` is set.
struct Root {
    std::wstring path;  // empty: relative to the current folder
    std::vector<std::size_t> entries;
    std::vector<Presence> presence;
    std::atomic<bool> answered{false};
};

// Shared by the caller and the threads: a thread still blocked on a share
// when the caller has gone on keeps it alive until it returns.
struct Work {
    std::vector<std::wstring> paths;
    std::vector<std::unique_ptr<Root>> roots;
    Api api;
    std::atomic<std::size_t> nextRoot{0};
    std::atomic<std::size_t> unanswered{0};
    framework::UniqueHandle allAnswered;
};

// Letter case does not tell drives or shares apart.
std::wstring RootKey(const std::wstring& root) {
    std::wstring key = root;
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return key;
}

// The volume or share answers for its root: a drive letter with nothing
// behind it, a drive without its medium, a share whose server is off or
// unknown all fail here, whatever the error.
bool Reachable(const Api& api, const std::wstring& root) {
    if (root.empty()) return true;
    const UINT type = api.getDriveType(root.c_str());
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) return false;
    return api.getFileAttributes(root.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Presence LookUp(const Api& api, const std::wstring& path) {
    if (api.getFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES) return Presence::Present;
    // Anything else (access denied, the drive gone in between, a network
    // error) does not show that the file is gone.
    return IsNotFoundError(::GetLastError()) ? Presence::Gone : Presence::Away;
}

void Answer(Work& work, Root& root) {
    const bool reachable = Reachable(work.api, root.path);
    for (std::size_t entry : root.entries) {
        root.presence.push_back(reachable ? LookUp(work.api, work.paths[entry]) : Presence::Away);
    }
    root.answered.store(true, std::memory_order_release);
    if (work.unanswered.fetch_sub(1) == 1) ::SetEvent(work.allAnswered.Get());
}

DWORD WINAPI AnswerRoots(void* context) {
    std::unique_ptr<std::shared_ptr<Work>> owner(static_cast<std::shared_ptr<Work>*>(context));
    Work& work = **owner;
    try {
        for (std::size_t i; (i = work.nextRoot.fetch_add(1)) < work.roots.size();) Answer(work, *work.roots[i]);
    } catch (...) {
        // What was not answered counts as away.
    }
    return 0;
}

}  // namespace

Api& Current() {
    static Api api;
    return api;
}

bool IsNotFoundError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    // A name longer than any the system can hold names nothing anywhere.
    case ERROR_FILENAME_EXCED_RANGE:
        return true;
    default:
        return false;
    }
}

std::vector<Presence> Check(const std::vector<std::wstring>& paths, DWORD waitMs) {
    std::vector<Presence> result(paths.size(), Presence::Away);
    if (paths.empty()) return result;
    auto work = std::make_shared<Work>();
    work->paths = paths;
    work->api = Current();
    std::vector<std::wstring> keys;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::wstring root = playlist_text::RootOf(paths[i]);
        const std::wstring key = RootKey(root);
        const std::size_t index = static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
        if (index == keys.size()) {
            keys.push_back(key);
            work->roots.push_back(std::make_unique<Root>());
            work->roots.back()->path = root;
        }
        work->roots[index]->entries.push_back(i);
    }
    work->unanswered = work->roots.size();
    work->allAnswered.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!work->allAnswered) return result;

    const std::size_t threads = std::min(work->roots.size(), kMostThreads);
    for (std::size_t i = 0; i < threads; ++i) {
        auto* share = new std::shared_ptr<Work>(work);
        // Not joined: a thread blocked on a share that does not answer must
        // not hold up the dialog, nor the process when it ends.
        framework::UniqueHandle thread(::CreateThread(nullptr, 0, &AnswerRoots, share, 0, nullptr));
        if (!thread) delete share;
    }
    ::WaitForSingleObject(work->allAnswered.Get(), waitMs);

    for (const std::unique_ptr<Root>& root : work->roots) {
        if (!root->answered.load(std::memory_order_acquire)) continue;
        for (std::size_t i = 0; i < root->entries.size(); ++i) result[root->entries[i]] = root->presence[i];
    }
    return result;
}

}  // namespace stored_entry_check
