// Test helper: records that it ran by creating "<its own path>.ran".
#include <windows.h>

int main() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH - 5);
    if (n == 0) return 1;
    lstrcatW(self, L".ran");
    HANDLE file = CreateFileW(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}
