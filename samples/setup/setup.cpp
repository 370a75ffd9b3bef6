// The sample disc's setup program. On a vendor's disc this is the full setup; the launcher only
// reads the name of its signer. This one tells what it is and exits.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Kestrune sample setup program.", L"Kestrune Setup", MB_OK | MB_ICONINFORMATION);
    return 0;
}
