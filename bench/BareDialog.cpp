// The yardstick for QM47's start-up time: a bare Win32 program, built with
// the same toolchain and flags, that shows one in-memory dialog of the main
// window's size, frame, font and control count, made by the same template
// builder, and nothing else.

#include "bench/Yardstick.h"

#include <string>
#include <vector>

namespace {

constexpr int kButtons = 14;
constexpr int kStatics = 46;

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    return message == WM_INITDIALOG || yardstick::EndOnCancel(hwnd, message, wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using enum fw::ControlKind;
    std::vector<std::string> texts;
    texts.reserve(kButtons + kStatics); // the controls point into it
    std::vector<fw::ControlTemplate> controls;
    for (int i = 0; i < kButtons; ++i) {
        texts.push_back("Button " + std::to_string(i));
        controls.push_back({i == kButtons - 1 ? IDCANCEL : 1000 + i, PushButton, texts.back().c_str(),
                            {15, 14 + 18 * i, 92, 14}, fw::kTabStop});
    }
    for (int i = 0; i < kStatics; ++i) {
        texts.push_back("Static text " + std::to_string(i));
        controls.push_back({fw::kNoId, Static, texts.back().c_str(), {140 + 120 * (i % 2), 10 + 11 * (i / 2), 110, 8}});
    }
    const fw::DialogTemplate dialog{0, fw::DialogFrame::Main, "Bare dialog", {0, 0, 507, 277}, "Tahoma", 8, controls};
    yardstick::ShowModal(instance, dialog, &DialogProcedure);
    return 0;
}
