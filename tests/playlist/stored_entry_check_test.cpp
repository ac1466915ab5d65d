// Which stored entries a load keeps: answered through the look-up table with
// the errors of drives and shares that Wine cannot build (a card reader
// without its card, a server that is off, one that never answers).
#include "playlist/stored_entry_check.h"

#include "framework/handles.h"
#include "tests/support/case_name.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

namespace {

using stored_entry_check::Presence;

// What the fake system answers for a root or a file; success when the error
// is 0. Unknown paths are not found.
struct Answer {
    UINT driveType;  // roots only
    DWORD error;
};

const std::map<std::wstring, Answer>* answers = nullptr;

DWORD WINAPI FakeAttributes(LPCWSTR path) {
    const auto found = answers->find(path);
    const DWORD error = found == answers->end() ? ERROR_FILE_NOT_FOUND : found->second.error;
    ::SetLastError(error);
    return error == 0 ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

UINT WINAPI FakeDriveType(LPCWSTR root) {
    const auto found = answers->find(root);
    return found == answers->end() ? DRIVE_NO_ROOT_DIR : found->second.driveType;
}

struct PresenceCase {
    const char* name;
    std::map<std::wstring, Answer> system;
    std::vector<std::wstring> paths;
    std::vector<Presence> expected;
};

class PresenceTest : public ::testing::TestWithParam<PresenceCase> {};

TEST_P(PresenceTest, AFileIsGoneOnlyWhereItsDriveOrShareAnswered) {
    answers = &GetParam().system;
    stored_entry_check::ScopedApi fake({&FakeAttributes, &FakeDriveType});
    EXPECT_EQ(stored_entry_check::Check(GetParam().paths, 10000), GetParam().expected);
}

constexpr Answer kFixedRoot{DRIVE_FIXED, 0};

INSTANTIATE_TEST_SUITE_P(
    Systems, PresenceTest,
    ::testing::Values(
        // On a drive or share that answers, only "no such file, folder or name"
        // is gone; the order of the entries stays across drives.
        PresenceCase{"PresentDrive",
                     {{L"C:\\", kFixedRoot},
                      {L"C:\\m\\here.mp3", {0, 0}},
                      {L"C:\\m\\nofolder\\a.mp3", {0, ERROR_PATH_NOT_FOUND}},
                      {L"C:\\m\\bad?.mp3", {0, ERROR_INVALID_NAME}},
                      {L"C:\\m\\locked.mp3", {0, ERROR_ACCESS_DENIED}},
                      {L"C:\\m\\pulled.mp3", {0, ERROR_NOT_READY}}},
                     {L"C:\\m\\here.mp3", L"Q:\\between.mp3", L"C:\\m\\gone.mp3", L"C:\\m\\nofolder\\a.mp3",
                      L"C:\\m\\bad?.mp3", L"C:\\m\\locked.mp3", L"C:\\m\\pulled.mp3"},
                     {Presence::Present, Presence::Away, Presence::Gone, Presence::Gone, Presence::Gone,
                      Presence::Away, Presence::Away}},
        PresenceCase{"CardReaderWithoutItsCard",
                     {{L"E:\\", {DRIVE_REMOVABLE, ERROR_NOT_READY}}, {L"E:\\a.mp3", {0, ERROR_NOT_READY}}},
                     {L"E:\\a.mp3"},
                     {Presence::Away}},
        PresenceCase{"ServerThatIsOff",
                     {{L"\\\\NAS\\Music\\", {DRIVE_NO_ROOT_DIR, ERROR_BAD_NETPATH}},
                      {L"\\\\NAS\\Music\\a.mp3", {0, ERROR_BAD_NETPATH}}},
                     {L"\\\\NAS\\Music\\a.mp3"},
                     {Presence::Away}},
        // A mapped drive whose server went away still has its type; its root does not answer.
        PresenceCase{"MappedDriveOffline",
                     {{L"Z:\\", {DRIVE_REMOTE, ERROR_NETWORK_UNREACHABLE}}, {L"Z:\\a.mp3", {0, ERROR_FILE_NOT_FOUND}}},
                     {L"Z:\\a.mp3"},
                     {Presence::Away}},
        PresenceCase{"ShareThatIsGone",
                     {{L"\\\\NAS\\Old\\", {DRIVE_REMOTE, ERROR_BAD_NET_NAME}}},
                     {L"\\\\NAS\\Old\\a.mp3"},
                     {Presence::Away}},
        // Relative names, and a web address, are looked up where the program stands.
        PresenceCase{"RelativeAndWebAddress",
                     {{L"here.mp3", {0, 0}}, {L"http://example.com/a.mp3", {0, ERROR_INVALID_NAME}}},
                     {L"here.mp3", L"gone.mp3", L"http://example.com/a.mp3"},
                     {Presence::Present, Presence::Gone, Presence::Gone}}),
    test_support::CaseName<PresenceCase>);

// A share that never answers, beside a drive that does: how often each root
// is asked, and a switch that lets the hung one go at the end of the test.
std::atomic<int> hungAsks{0};
std::atomic<int> fixedAsks{0};
HANDLE release = nullptr;

UINT WINAPI HangingDriveType(LPCWSTR root) {
    if (::lstrcmpiW(root, L"\\\\NAS\\Music\\") == 0) {
        ++hungAsks;
        ::WaitForSingleObject(release, INFINITE);
        return DRIVE_NO_ROOT_DIR;
    }
    ++fixedAsks;
    return DRIVE_FIXED;
}

DWORD WINAPI PresentOnC(LPCWSTR path) {
    const bool present = ::lstrcmpW(path, L"C:\\a.mp3") == 0 || ::lstrcmpW(path, L"C:\\") == 0;
    ::SetLastError(present ? 0 : ERROR_FILE_NOT_FOUND);
    return present ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

TEST(StoredEntryCheck, AShareThatNeverAnswersIsAskedOnceAndItsEntriesStay) {
    framework::UniqueHandle releaseEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    release = releaseEvent.Get();
    stored_entry_check::ScopedApi fake({&PresentOnC, &HangingDriveType});
    const std::vector<std::wstring> paths = {L"\\\\NAS\\Music\\a.mp3", L"C:\\a.mp3", L"\\\\nas\\music\\b.mp3",
                                             L"c:\\gone.mp3", L"\\\\NAS\\MUSIC\\c.mp3"};
    // Were the wait not bounded, the test would hang here until its limit.
    const std::vector<Presence> presence = stored_entry_check::Check(paths, 300);
    ::SetEvent(release);
    EXPECT_EQ(presence, (std::vector<Presence>{Presence::Away, Presence::Present, Presence::Away, Presence::Gone,
                                               Presence::Away}));
    EXPECT_EQ(hungAsks.load(), 1);
    EXPECT_EQ(fixedAsks.load(), 1);
}

}  // namespace
