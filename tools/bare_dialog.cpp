// The smallest dialog program: one modal dialog from a template built in memory, with a
// caption and an OK button. The start-up and footprint benchmarks compare SetUp.exe with it,
// built by the same compiler with the same flags.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// A DLGTEMPLATE followed by its variable parts (no menu, the default class, a caption),
// then one DLGITEMTEMPLATE (a button), each item aligned on a DWORD.
struct alignas(4) Template {
    WORD words[256];
};

WORD* appendText(WORD* at, const wchar_t* text) {
    std::size_t length = std::wcslen(text) + 1;
    std::memcpy(at, text, length * sizeof(wchar_t));
    return at + length;
}

WORD* alignToDword(WORD* at, const Template& base) {
    std::size_t offset = reinterpret_cast<BYTE*>(at) - reinterpret_cast<const BYTE*>(&base);
    return offset % 4 ? at + 1 : at;
}

void buildTemplate(Template& block) {
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(block.words);
    dialog->style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    dialog->cdit = 1;
    dialog->cx = 160;
    dialog->cy = 60;
    WORD* at = reinterpret_cast<WORD*>(dialog + 1);
    *at++ = 0;  // no menu
    *at++ = 0;  // the dialog class
    at = appendText(at, L"bare dialog");
    at = alignToDword(at, block);
    auto* button = reinterpret_cast<DLGITEMTEMPLATE*>(at);
    button->style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    button->x = 55;
    button->y = 35;
    button->cx = 50;
    button->cy = 14;
    button->id = IDOK;
    at = reinterpret_cast<WORD*>(button + 1);
    *at++ = 0xFFFF;
    *at++ = 0x0080;  // the button class
    at = appendText(at, L"OK");
    *at = 0;  // no creation data
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    static Template block = {};
    buildTemplate(block);
    DialogBoxIndirectParamW(instance, reinterpret_cast<DLGTEMPLATE*>(block.words), nullptr, dialogProc, 0);
    return 0;
}
