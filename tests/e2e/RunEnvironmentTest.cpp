// What the run gives the tests besides the program: the serial line that the
// fiscalization tests read the program's bytes from.

#include "tests/e2e/Driver.h"

namespace qm47::e2e {
namespace {

TEST(RunEnvironment, BytesWrittenToTheSerialPortReachTheLineCapture)
{
    const RunEnvironment& run = Environment();
    if (run.comPort.empty() || run.lineCapture.empty()) GTEST_SKIP() << "no serial line in this run";

    const std::size_t before = SerialLineBytes().size();
    const std::wstring device = L"\\\\.\\" + WideFromUtf8(run.comPort);
    HANDLE port = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE) << "cannot open " << run.comPort << ": error " << GetLastError();
    const std::string sent("\x1BP0;1$e\x00\xFF\r\n", 11);
    DWORD written = 0;
    const BOOL ok = WriteFile(port, sent.data(), static_cast<DWORD>(sent.size()), &written, nullptr);
    CloseHandle(port);
    ASSERT_TRUE(ok) << "error " << GetLastError();
    EXPECT_EQ(written, sent.size());
    // Every byte arrives unchanged: no line-end translation, no echo.
    EXPECT_EQ(WaitForSerialLineBytes(before), sent);
}

} // namespace
} // namespace qm47::e2e
