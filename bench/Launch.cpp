#include "bench/Launch.h"

#include "bench/BenchClock.h"
#include "common/Settings.h"
#include "support/Handles.h"

#include <algorithm>

namespace {

constexpr const char* AsideKey = "Software\\Vorsk\\Astrolume (set aside by the bench)";

UniqueRegKey CreateUserKey(const char* subKey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return {};
    return UniqueRegKey(key);
}

// The saver's settings key for one launch: nothing but the data folder, so the
// saver starts on its defaults (and writes them, as on a first run) with the
// library found at once. What was stored is set aside and put back afterwards.
class ScratchSettings {
public:
    explicit ScratchSettings(const std::string& dataFolder)
    {
        HKEY stored = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &stored) == ERROR_SUCCESS) {
            const UniqueRegKey owner(stored);
            RegDeleteTreeA(HKEY_CURRENT_USER, AsideKey);
            const UniqueRegKey aside = CreateUserKey(AsideKey);
            saved_ = aside && RegCopyTreeA(stored, nullptr, aside.get()) == ERROR_SUCCESS;
            if (!saved_) return;  // what could not be kept is not deleted
        }
        replaced_ = true;
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKey);
        const UniqueRegKey fresh = CreateUserKey(SettingsKey);
        ready_ = fresh && RegSetValueExA(fresh.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(dataFolder.c_str()),
                                         static_cast<DWORD>(dataFolder.size() + 1)) == ERROR_SUCCESS;
    }
    ~ScratchSettings()
    {
        if (!replaced_) return;
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKey);
        if (!saved_) return;
        const UniqueRegKey restored = CreateUserKey(SettingsKey);
        HKEY aside = nullptr;
        if (!restored || RegOpenKeyExA(HKEY_CURRENT_USER, AsideKey, 0, KEY_READ, &aside) != ERROR_SUCCESS) return;
        const UniqueRegKey owner(aside);
        // Should the copy fail, the set-aside key stays for the next run to find.
        if (RegCopyTreeA(aside, nullptr, restored.get()) == ERROR_SUCCESS) RegDeleteTreeA(HKEY_CURRENT_USER, AsideKey);
    }
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;
    bool ready() const { return ready_; }

private:
    bool saved_ = false, replaced_ = false, ready_ = false;
};

// The saver under the bench as its debugger, ended with the session.
class DebugSession {
public:
    explicit DebugSession(const PROCESS_INFORMATION& started) : process_(started.hProcess), thread_(started.hThread) {}
    ~DebugSession()
    {
        if (ended_) return;
        TerminateProcess(process_.get(), 1);
        // Its remaining events must be answered before it can go.
        while (!ended_ && Next(10000, [](const DEBUG_EVENT&) {})) {
        }
    }
    DebugSession(const DebugSession&) = delete;
    DebugSession& operator=(const DebugSession&) = delete;

    bool ended() const { return ended_; }
    DWORD exitCode() const { return exitCode_; }
    HANDLE process() const { return process_.get(); }

    // Waits up to `milliseconds` for the next event, shows it to `look`, then lets
    // the saver go on: its own exceptions stay its own. False when none came.
    template <typename Look>
    bool Next(DWORD milliseconds, Look look)
    {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, milliseconds)) return false;
        look(event);
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            ended_ = true;
            exitCode_ = event.u.ExitProcess.dwExitCode;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        return true;
    }

    // The ANSI text of an OUTPUT_DEBUG_STRING_EVENT; empty for any other event.
    std::string DebugText(const DEBUG_EVENT& event) const
    {
        const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
        if (event.dwDebugEventCode != OUTPUT_DEBUG_STRING_EVENT || info.fUnicode) return {};
        std::string text(std::min<std::size_t>(info.nDebugStringLength, 256), '\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_.get(), info.lpDebugStringData, text.data(), text.size(), &read)) return {};
        text.resize(std::min<std::size_t>(read, text.find('\0')));
        return text;
    }

private:
    UniqueKernelHandle process_, thread_;
    bool ended_ = false;
    DWORD exitCode_ = 0;
};

// Lets the saver run for `milliseconds`, answering its events; false when it ended.
bool RunFor(DebugSession& saver, double milliseconds)
{
    const double end = NowMs() + milliseconds;
    for (double left; !saver.ended() && (left = end - NowMs()) > 0;)
        saver.Next(static_cast<DWORD>(left), [](const DEBUG_EVENT&) {});
    return !saver.ended();
}

// Committed private memory of a process, from a walk of its address space.
// NOTE: Wine's PrivateUsage is the swap in use, not this.
std::int64_t PrivateBytes(HANDLE process)
{
    std::int64_t bytes = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at += region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<std::int64_t>(region.RegionSize);
    return bytes;
}

} // namespace

std::optional<StartFigures> Launch(const std::string& program, DWORD limitMs, std::string& error)
{
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    const ScratchSettings settings(folder);
    if (!settings.ready()) {
        error = "the saver's settings key could not be prepared";
        return std::nullopt;
    }
    std::string commandLine = "\"" + program + "\" /s";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const double start = NowMs();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        folder.c_str(), &startup, &started)) {
        error = "CreateProcess failed with error " + std::to_string(GetLastError());
        return std::nullopt;
    }
    DebugSession saver(started);
    std::optional<double> firstFrame;
    const auto look = [&](const DEBUG_EVENT& event) {
        if (saver.DebugText(event) == FirstFrameMarker) firstFrame = NowMs() - start;
    };
    while (!firstFrame && !saver.ended()) {
        const double left = limitMs - (NowMs() - start);
        if (left <= 0 || !saver.Next(static_cast<DWORD>(left), look)) {
            error = "no first frame within " + std::to_string(limitMs / 1000) + " s";
            return std::nullopt;
        }
    }
    if (!firstFrame) {
        error = "the saver ended before its first frame, exit code " + std::to_string(saver.exitCode());
        return std::nullopt;
    }
    // Run mode once its start-up allocations are done: what it keeps taking on is a leak.
    StartFigures figures{*firstFrame, std::nullopt};
    if (RunFor(saver, 10000)) {
        const std::int64_t settled = PrivateBytes(saver.process());
        if (RunFor(saver, 30000)) figures.privateGrowth = PrivateBytes(saver.process()) - settled;
    }
    return figures;
}
