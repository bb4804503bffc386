// Uninstall.exe: runs the uninstaller NSIS made (uninstall-core.exe beside it) and ends
// with its status once it has done its work. Run directly, NSIS's uninstaller starts a
// copy of itself and returns 0 at once, whatever the copy then does; here the copy is
// started and waited for, so 0 means Brenvo is gone and 2 that it stayed (running).
// While the copy works this program waits outside the install folder (a running program
// can be moved, not removed), so that the folder can go; it moves back if it stays.
#include <windows.h>

#include <string>

namespace {

std::wstring folderOf(const std::wstring &path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring ownPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return {};
        if (n < path.size())
            return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

// A name of this process's own in the temporary folder.
std::wstring tempPath(const wchar_t *what)
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH)
        return {};
    return std::wstring(folder, n) + L"brenvo-" + what + L'-' + std::to_wstring(GetCurrentProcessId()) + L".exe";
}

// What this program was given, less a "_?=" of its own caller's: the copy gets ours.
std::wstring arguments()
{
    std::wstring out;
    int count = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; argv && i < count; ++i) {
        const std::wstring arg = argv[i];
        if (arg.rfind(L"_?=", 0) != 0)
            out += L' ' + arg;
    }
    LocalFree(argv);
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    const std::wstring self = ownPath();
    const std::wstring folder = folderOf(self);
    const std::wstring copy = tempPath(L"uninstall");
    if (self.empty() || copy.empty() || !CopyFileW((folder + L"\\uninstall-core.exe").c_str(), copy.c_str(), FALSE))
        return 2;
    const std::wstring away = tempPath(L"uninstall-waiting");
    const bool moved = !away.empty() && MoveFileExW(self.c_str(), away.c_str(), MOVEFILE_REPLACE_EXISTING);
    // NSIS reads the install folder from "_?=", which must come last.
    std::wstring line = L'"' + copy + L'"' + arguments() + L" _?=" + folder;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD status = 2;
    if (CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DeleteFileW(copy.c_str());
    if (moved) {
        if (status != 0 && GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
            MoveFileExW(away.c_str(), self.c_str(), 0);
        else
            MoveFileExW(away.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    return int(status);
}
