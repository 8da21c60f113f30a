// The yardstick for QM47's start-up time: a bare Win32 program, built with
// the same toolchain and flags, that shows one in-memory dialog of the main
// window's size and control count and nothing else.

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

class TemplateWriter {
public:
    void Word(std::uint16_t value) { m_words.push_back(value); }
    void DWord(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(const std::wstring& text)
    {
        for (wchar_t c : text) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void AlignToDWord()
    {
        if (m_words.size() % 2 != 0) Word(0);
    }
    void Control(std::uint16_t classOrdinal, std::uint32_t style, int x, int y, int cx, int cy, int id,
                 const std::wstring& text)
    {
        AlignToDWord();
        DWord(WS_CHILD | WS_VISIBLE | style);
        DWord(0); // extended style
        for (int value : {x, y, cx, cy}) Word(static_cast<std::uint16_t>(value));
        Word(static_cast<std::uint16_t>(id));
        Word(0xFFFF);
        Word(classOrdinal);
        Text(text);
        Word(0); // no creation data
    }
    const std::vector<std::uint16_t>& Words() const { return m_words; }

private:
    std::vector<std::uint16_t> m_words;
};

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kStatic = 0x0082;
constexpr int kButtons = 14;
constexpr int kStatics = 46;

std::vector<std::uint16_t> BuildTemplate()
{
    TemplateWriter out;
    out.DWord(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_SETFONT);
    out.DWord(WS_EX_APPWINDOW);
    out.Word(kButtons + kStatics);
    for (int value : {0, 0, 507, 277}) out.Word(static_cast<std::uint16_t>(value));
    out.Word(0); // no menu
    out.Word(0); // the standard dialog class
    out.Text(L"Bare dialog");
    out.Word(8);
    out.Text(L"MS Sans Serif");
    for (int i = 0; i < kButtons; ++i)
        out.Control(kButton, BS_PUSHBUTTON | WS_TABSTOP, 15, 14 + 18 * i, 92, 14, i == kButtons - 1 ? IDCANCEL : 1000 + i,
                    L"Button " + std::to_wstring(i));
    for (int i = 0; i < kStatics; ++i)
        out.Control(kStatic, SS_LEFT, 140 + 120 * (i % 2), 10 + 11 * (i / 2), 110, 8, 0xFFFF,
                    L"Static text " + std::to_wstring(i));
    return out.Words();
}

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const std::vector<std::uint16_t> dialog = BuildTemplate();
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()), nullptr, &DialogProcedure, 0);
    return 0;
}
