// The serial link on a pseudo terminal: the link opens the slave by its
// name, the test reads the line from the master side.

#include "serial/FiscalizationFrame.h"
#include "serial/SerialLink.h"

#include "PseudoTerminal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;
using qm47::CSerialLink;
using qm47::testing::PseudoTerminal;

namespace {

std::chrono::milliseconds TimeOf(const auto& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

} // namespace

TEST(SerialLinkPty, SendsTheFrameAndOneZeroByte)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    CSerialLink link;
    ASSERT_TRUE(link.Open(pty.SlaveName()).opened);

    const std::string frame = qm47::FiscalizationFrame("123-456-78-90");
    const auto took = TimeOf([&] {
        const qm47::SendResult sent = link.Send(frame);
        EXPECT_EQ(sent.bytesTaken, frame.size() + 1);
        EXPECT_TRUE(sent.refusedBytes.empty());
    });
    const std::string line = pty.Read(frame.size() + 1, 5000ms);
    EXPECT_EQ(line, frame + std::string(1, '\0'));
    EXPECT_FALSE(pty.HasPending());
    EXPECT_GE(took, 100ms);

    link.Close();
    EXPECT_TRUE(CSerialLink().Open(pty.SlaveName()).opened) << "closing lets go of the port";
}

TEST(SerialLinkPty, ConfiguresTheLineAs9600EightNoneOneRawWithXonXoffOnOutput)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    CSerialLink link;
    ASSERT_TRUE(link.Open(pty.SlaveName()).opened);

    // The master reports the slave's settings.
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.Master(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(cfgetispeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t{CS8});
    struct Flag { const char* name; tcflag_t flags; tcflag_t bit; bool set; };
    const Flag flags[] = {
        {"PARENB", tio.c_cflag, PARENB, false}, {"CSTOPB", tio.c_cflag, CSTOPB, false},
        {"CRTSCTS", tio.c_cflag, CRTSCTS, false}, {"CREAD", tio.c_cflag, CREAD, true},
        {"CLOCAL", tio.c_cflag, CLOCAL, true}, {"IXON", tio.c_iflag, IXON, true},
        {"IXOFF", tio.c_iflag, IXOFF, false}, {"IXANY", tio.c_iflag, IXANY, false},
        {"ICRNL", tio.c_iflag, ICRNL, false}, {"ISTRIP", tio.c_iflag, ISTRIP, false},
        {"OPOST", tio.c_oflag, OPOST, false}, {"ICANON", tio.c_lflag, ICANON, false},
        {"ECHO", tio.c_lflag, ECHO, false}, {"ISIG", tio.c_lflag, ISIG, false},
        {"IEXTEN", tio.c_lflag, IEXTEN, false},
    };
    for (const Flag& f : flags) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ((f.flags & f.bit) != 0, f.set);
    }
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
}

TEST(SerialLinkPty, HoldsThePortExclusivelyUntilClosed)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    CSerialLink first;
    CSerialLink second;
    ASSERT_TRUE(first.Open(pty.SlaveName()).opened);
    const qm47::OpenResult refused = second.Open(pty.SlaveName());
    EXPECT_FALSE(refused.opened);
    EXPECT_EQ(refused.failedStep, qm47::OpenStep::CreateFileA);
    EXPECT_EQ(refused.systemError, std::uint32_t{EWOULDBLOCK});

    first.Close();
    EXPECT_TRUE(second.Open(pty.SlaveName()).opened);
    EXPECT_EQ(second.Send("x").bytesTaken, 2u);
    EXPECT_EQ(pty.Read(2, 5000ms), std::string("x\0", 2));
}

TEST(SerialLinkPty, DropsInputWaitingWhenItOpens)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    // Keep the slave open so that the bytes wait in its input queue.
    const int holder = open(pty.SlaveName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    termios raw{};
    ASSERT_EQ(tcgetattr(holder, &raw), 0);
    cfmakeraw(&raw);
    ASSERT_EQ(tcsetattr(holder, TCSANOW, &raw), 0);
    ASSERT_EQ(write(pty.Master(), "old", 3), 3);
    pollfd fd{holder, POLLIN, 0};
    ASSERT_EQ(poll(&fd, 1, 5000), 1);

    CSerialLink link;
    ASSERT_TRUE(link.Open(pty.SlaveName()).opened);
    char buffer[8];
    EXPECT_EQ(read(holder, buffer, sizeof buffer), -1);
    EXPECT_EQ(errno, EAGAIN);
    close(holder);
}

TEST(SerialLinkFailure, OpenReportsFailureAndSendStillWaitsWithoutWriting)
{
    struct Case { const char* name; std::string path; qm47::OpenStep step; int error; };
    char fileName[] = "/tmp/qm47-serial-XXXXXX";
    const int file = mkstemp(fileName);
    ASSERT_GE(file, 0);
    const Case cases[] = {
        {"no such port", "/nonexistent/qm47-tty", qm47::OpenStep::CreateFileA, ENOENT},
        {"a plain file is no port", fileName, qm47::OpenStep::SetCommState, ENOTTY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSerialLink link;
        EXPECT_FALSE(link.Open(c.path).opened);
        const auto took = TimeOf([&] { EXPECT_EQ(link.Send(qm47::FiscalizationFrame("1234567890")).bytesTaken, 0u); });
        EXPECT_GE(took, 100ms);
        EXPECT_LT(took, 2000ms);
        // The link keeps how opening failed past the send that followed.
        EXPECT_EQ(link.LastUse().open.failedStep, c.step);
        EXPECT_EQ(link.LastUse().open.systemError, static_cast<std::uint32_t>(c.error));
        EXPECT_TRUE(link.LastUse().send.refusedBytes.empty());
        link.Close();
        link.Close();
    }
    struct stat info{};
    ASSERT_EQ(fstat(file, &info), 0);
    EXPECT_EQ(info.st_size, 0);
    close(file);
    unlink(fileName);
}

TEST(SerialLinkFailure, ADeviceThatGoesAfterOpeningMakesSendFailWithoutHolding)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    CSerialLink link;
    ASSERT_TRUE(link.Open(pty.SlaveName()).opened);
    pty.HangUp(); // the adapter pulled out, the far end closed
    const auto took = TimeOf([&] { EXPECT_EQ(link.Send(qm47::FiscalizationFrame("1234567890")).bytesTaken, 0u); });
    const qm47::SendResult& sent = link.LastUse().send;
    ASSERT_EQ(sent.refusedBytes.size(), 1u);
    EXPECT_FALSE(sent.refusedBytes[0].taken);
    EXPECT_EQ(sent.refusedBytes[0].systemError, std::uint32_t{EIO});
    // Whole milliseconds on both clocks: 2 s of offers may measure 1999 ms.
    EXPECT_GE(took, 2050ms) << "offered for 2 s, then the pause after sending";
    EXPECT_LT(took, 4000ms) << "a vanished device must not hold the program longer";
    link.Close();
}
