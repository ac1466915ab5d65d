// The screensaver program started as the system starts it: a real process
// under Wine, with the stub renderer in place of the real one.
#include "app/run_modes.h"

#include "app/renderer_launch.h"
#include "config/product.h"
#include "framework/handles.h"
#include "tests/support/case_name.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

namespace {

using framework::UniqueHandle;
using test_support::ExitCodeAfter;
using test_support::StartScreensaver;
using test_support::TempFolder;

const std::wstring kRendererName = L"Marrowdale 3D Screensaver.exe";
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class RunModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        exitEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, L"MarrowdaleStubRendererExit"));
        ASSERT_TRUE(exitEvent_);
        ::ResetEvent(exitEvent_.Get());
    }
    void TearDown() override { ::SetEvent(exitEvent_.Get()); }

    void PlaceStubRenderer(const std::wstring& folder) {
        ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\stub_renderer.exe"),
                                             folder + L"\\" + kRendererName));
    }

    // The stub's record: its command line, its working directory, its own
    // process id and its child's.
    struct StubRecord {
        std::wstring commandLine;
        std::wstring directory;
        DWORD processId = 0;
        DWORD childId = 0;
    };
    bool WaitForRecord(const std::wstring& folder, StubRecord& record) {
        const std::wstring path = folder + L"\\stub-record.txt";
        for (int i = 0; i < 300; ++i) {
            const std::string bytes = test_support::ReadBinaryFile(path);
            if (!bytes.empty()) {
                std::wistringstream lines(
                    std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)));
                std::getline(lines, record.commandLine);
                std::getline(lines, record.directory);
                return static_cast<bool>(lines >> record.processId >> record.childId);
            }
            ::Sleep(50);
        }
        return false;
    }
    bool WaitForRecord(const std::wstring& folder, std::wstring& commandLine, std::wstring& directory) {
        StubRecord record;
        if (!WaitForRecord(folder, record)) return false;
        commandLine = record.commandLine;
        directory = record.directory;
        return true;
    }

    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    test_support::ScopedKeyRemoval ownEntry_{HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1"};
    test_support::ScopedKeyRemoval combinedEntry_{HKEY_LOCAL_MACHINE,
                                                  kUninstall + L"Marrowdale 3D Screensaver and Animated Wallpaper_is1"};
    UniqueHandle exitEvent_;
    TempFolder empty_;
};

TEST_F(RunModeTest, ModesWithoutAWindowToShowEndWithZero) {
    // The password provider is a silent stub under Wine; a preview for
    // window 0 has no parent to fill.
    for (const char* arguments : {"/t", "-T 5", "/a 1234", "/p 0", "/p"}) {
        UniqueHandle process = StartScreensaver(std::wstring(arguments, arguments + strlen(arguments)), empty_.Path());
        EXPECT_EQ(ExitCodeAfter(process, 20000), 0) << arguments;
    }
}

TEST_F(RunModeTest, RunStartsRendererFromAppPathAndWaitsForIt) {
    TempFolder install;
    PlaceStubRenderer(install.Path());
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install.Path());

    UniqueHandle screensaver = StartScreensaver(L"/s", empty_.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(install.Path(), commandLine, directory));
    EXPECT_EQ(commandLine, L"\"" + install.Path() + L"\\" + kRendererName + L"\"");
    EXPECT_EQ(directory, install.Path());

    // The screensaver lives for as long as the renderer does.
    EXPECT_EQ(::WaitForSingleObject(screensaver.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

TEST_F(RunModeTest, RendererInCurrentFolderRunsThere) {
    TempFolder current;
    PlaceStubRenderer(current.Path());

    UniqueHandle screensaver = StartScreensaver(L"/S", current.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(current.Path(), commandLine, directory));
    EXPECT_EQ(commandLine, L"\"" + current.Path() + L"\\" + kRendererName + L"\"");
    EXPECT_EQ(directory, current.Path());
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

TEST_F(RunModeTest, UninstallEntryGivesWorkingDirectoryWhenAppPathIsMissing) {
    TempFolder install;
    PlaceStubRenderer(install.Path());
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1",
                                    L"InstallLocation", install.Path());

    UniqueHandle screensaver = StartScreensaver(L"-s", empty_.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(install.Path(), commandLine, directory));
    EXPECT_EQ(directory, install.Path());
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

struct FailureCase {
    const char* name;
    bool placeUnstartableFile;
    const wchar_t* text;
};

// AppPath names a folder without a runnable renderer, while a working one
// waits in the folder of the screensaver's uninstall entry, which is not a
// candidate as long as AppPath is set. Started through that entry with
// AppPath missing, the same stub does leave its record (see
// UninstallEntryGivesWorkingDirectoryWhenAppPathIsMissing), so an empty
// record there shows that nothing was started.
class RunFailureTest : public RunModeTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetUp() override {
        RunModeTest::SetUp();
        test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install_.Path());
        if (GetParam().placeUnstartableFile) {
            ASSERT_TRUE(test_support::WriteBinaryFile(install_.Path() + L"\\" + kRendererName, "not a program"));
        }
        PlaceStubRenderer(notCandidate_.Path());
        test_support::SetRegistryString(HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1",
                                        L"InstallLocation", notCandidate_.Path());
    }

    bool NothingStarted() {
        return test_support::ReadBinaryFile(install_.Path() + L"\\stub-record.txt").empty() &&
               test_support::ReadBinaryFile(notCandidate_.Path() + L"\\stub-record.txt").empty();
    }

    TempFolder install_;
    TempFolder notCandidate_;
};

TEST_P(RunFailureTest, ShowsErrorBoxAndStartsNothing) {
    DWORD processId = 0;
    UniqueHandle screensaver = StartScreensaver(L"/s", empty_.Path(), &processId);
    HWND box = test_support::WaitForTopLevelWindow(L"#32770", L"Error!", 20000, processId);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), GetParam().text);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
    // The box holds the screensaver until the user answers it.
    EXPECT_EQ(::WaitForSingleObject(screensaver.Get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
    EXPECT_TRUE(NothingStarted());
}

// The icon can only be compared with the system's shared one inside the
// process that shows the box.
TEST_P(RunFailureTest, BoxHasTheErrorIconAndNoOwner) {
    wchar_t saved[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryW(empty_.Path().c_str()));
    // A renderer started by mistake ends at once instead of holding the test.
    ::SetEvent(exitEvent_.Get());
    test_support::MessageBoxWatcher watcher;
    RunRenderer();
    const test_support::SeenMessageBox seen = watcher.Stop();
    ::SetCurrentDirectoryW(saved);

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, L"Error!");
    EXPECT_EQ(seen.text, GetParam().text);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_TRUE(NothingStarted());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RunFailureTest,
    ::testing::Values(FailureCase{"NoRenderer", false, L"Can't find the main file! Please reinstall screensaver."},
                      FailureCase{"UnstartableRenderer", true,
                                  L"Can't start the screensaver! Please try to restart your computer."}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// A program started with the arguments after its quoted path; with a job,
// started suspended, put into the job and then let run, so that it is in the
// job before it can start anything. Empty on failure.
UniqueHandle StartProgram(const std::wstring& path, const std::wstring& arguments, const std::wstring& directory,
                          HANDLE job = nullptr) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, job ? CREATE_SUSPENDED : 0, nullptr,
                          directory.c_str(), &startup, &started)) {
        return UniqueHandle();
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    if (job && !::AssignProcessToJobObject(job, process.Get())) {
        ::TerminateProcess(process.Get(), 1);
        return UniqueHandle();
    }
    if (job) ::ResumeThread(thread.Get());
    return process;
}

// A job that ends its processes when its handle closes, with the limits given
// besides.
UniqueHandle KillOnCloseJob(DWORD moreLimits) {
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | moreLimits;
    if (job && !::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        job.Reset();
    }
    return job;
}

// What is left of a renderer and of the child it started itself when its
// launcher is ended from outside (TerminateProcess, as a task manager or a
// host that ends the screensaver does).
enum class Launcher {
    Screensaver,   // "<scr> /s"
    BareLauncher,  // starts the renderer and waits, as the program once did:
                   // the renderer outlives it
    TestJob,       // the test's kill-on-close job without breakaway, closed
                   // by the test: the child dies with the renderer
};

struct JobCase {
    const char* name;
    Launcher launcher;
    bool rendererEnds;
    bool childSurvives;
};

// Names the case in failure messages instead of a byte dump.
void PrintTo(const JobCase& c, std::ostream* os) { *os << c.name; }

class RendererJobTest : public RunModeTest, public ::testing::WithParamInterface<JobCase> {};

TEST_P(RendererJobTest, EndingTheLauncherEndsTheRendererButNotItsChild) {
    const JobCase& c = GetParam();
    TempFolder install;
    PlaceStubRenderer(install.Path());
    ASSERT_TRUE(test_support::WriteBinaryFile(install.Path() + L"\\start-a-child", "yes"));
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install.Path());
    const std::wstring renderer = install.Path() + L"\\" + kRendererName;

    UniqueHandle job;
    UniqueHandle launcher;
    switch (c.launcher) {
        case Launcher::Screensaver: launcher = StartScreensaver(L"/s", empty_.Path()); break;
        case Launcher::BareLauncher:
            launcher = StartProgram(test_support::TestBuildFile(L"bench\\bare_launcher.exe"), L"\"" + renderer + L"\"",
                                    empty_.Path());
            break;
        case Launcher::TestJob:
            job = KillOnCloseJob(0);
            ASSERT_TRUE(job);
            launcher = StartProgram(renderer, L"", install.Path(), job.Get());
            break;
    }
    ASSERT_TRUE(launcher);
    StubRecord record;
    ASSERT_TRUE(WaitForRecord(install.Path(), record));
    UniqueHandle rendererProcess(::OpenProcess(SYNCHRONIZE, FALSE, record.processId));
    UniqueHandle childProcess(::OpenProcess(SYNCHRONIZE, FALSE, record.childId));
    ASSERT_TRUE(rendererProcess);
    ASSERT_TRUE(childProcess) << "the renderer started no child";

    if (job) {
        job.Reset();
    } else {
        ASSERT_TRUE(::TerminateProcess(launcher.Get(), 1));
    }
    EXPECT_EQ(::WaitForSingleObject(rendererProcess.Get(), c.rendererEnds ? 10000 : 1000) == WAIT_OBJECT_0,
              c.rendererEnds);
    EXPECT_EQ(::WaitForSingleObject(childProcess.Get(), c.childSurvives ? 1000 : 10000) == WAIT_OBJECT_0,
              !c.childSurvives);
}

INSTANTIATE_TEST_SUITE_P(Launchers, RendererJobTest,
                         ::testing::Values(JobCase{"Screensaver", Launcher::Screensaver, true, true},
                                           JobCase{"BareLauncher", Launcher::BareLauncher, false, true},
                                           JobCase{"JobWithoutBreakaway", Launcher::TestJob, true, false}),
                         test_support::CaseName<JobCase>);

// A screensaver started inside a job that lets nothing break away (a host
// that runs it in a job of its own): the renderer still runs, and the
// screensaver lives exactly as long as it does.
TEST_F(RunModeTest, InAJobWithoutBreakawayTheRendererStillRunsAndIsWaitedFor) {
    TempFolder install;
    PlaceStubRenderer(install.Path());
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install.Path());
    UniqueHandle job = KillOnCloseJob(0);
    ASSERT_TRUE(job);
    UniqueHandle screensaver = StartProgram(test_support::ScreensaverPath(), L"/s", empty_.Path(), job.Get());
    ASSERT_TRUE(screensaver);
    StubRecord record;
    ASSERT_TRUE(WaitForRecord(install.Path(), record));
    EXPECT_EQ(::WaitForSingleObject(screensaver.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

TEST(RequestPasswordChangeTest, MissingLibraryOrExportIsIgnored) {
    EXPECT_FALSE(RequestPasswordChange(L"no-such-provider.dll"));
    // kernel32 is a system library without the export.
    EXPECT_FALSE(RequestPasswordChange(L"kernel32.dll"));
}

}  // namespace
