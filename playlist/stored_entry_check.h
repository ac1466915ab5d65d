// Which stored playlist entries are still there when the playlist loads. A
// file that cannot be found is gone only when the drive or share that holds
// it answered: an unplugged USB drive, a memory card that is out or a server
// that is off must not cost the user the entries that live there. A share
// whose server does not answer can block a look-up for tens of seconds, so
// each drive or share is asked once, on a thread of its own, and the caller
// waits no longer than it says.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>

#include <string>
#include <vector>

namespace stored_entry_check {

enum class Presence {
    Present,  // the file or folder is there
    Gone,     // its drive or share answered and it is not there
    Away,     // its drive or share cannot be reached, or did not answer in time
};

// The look-ups go through this table, so that a test can answer with the
// errors of drives and shares it cannot build, or not answer at all. The
// program itself never changes it.
struct Api {
    decltype(&::GetFileAttributesW) getFileAttributes = &::GetFileAttributesW;
    decltype(&::GetDriveTypeW) getDriveType = &::GetDriveTypeW;
};

Api& Current();

class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

// True for the errors of a look-up that found no such file, folder or name:
// what, on a drive or share that answered, means the entry is gone.
bool IsNotFoundError(DWORD error);

// The presence of each path, in order. Waits at most waitMs for all the
// answers; the paths of a drive or share not answered by then are Away.
std::vector<Presence> Check(const std::vector<std::wstring>& paths, DWORD waitMs);

}  // namespace stored_entry_check
