#pragma once
// A pseudo terminal pair for tests: the code under test opens the slave by
// its name, the test reads the line from the master side.

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace qm47::testing {

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) return;
        char name[128] = {};
        if (ptsname_r(m_master, name, sizeof name) == 0) m_slaveName = name;
    }
    ~PseudoTerminal()
    {
        if (m_holder >= 0) close(m_holder);
        if (m_master >= 0) close(m_master);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool Ready() const { return m_master >= 0 && !m_slaveName.empty(); }
    int Master() const { return m_master; }
    // Closes the master side: the device is gone for whoever holds the slave.
    void HangUp()
    {
        if (m_master >= 0) close(m_master);
        m_master = -1;
    }
    const std::string& SlaveName() const { return m_slaveName; }

    // Holds the line as a busy printer does, with XOFF: the slave obeys it
    // (as the link sets it to) and its output stays stopped while this
    // object lives. False when the output did not stop.
    bool HoldWithXoff()
    {
        m_holder = open(m_slaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (m_holder < 0 || tcgetattr(m_holder, &tio) != 0) return false;
        cfmakeraw(&tio);
        tio.c_iflag |= IXON;
        if (tcsetattr(m_holder, TCSANOW, &tio) != 0 || write(m_master, "\x13", 1) != 1) return false;
        // Stopped once a probe byte is refused; those that still went out are read away.
        std::size_t probes = 0;
        for (int i = 0; i < 5000; ++i) {
            if (write(m_holder, "", 1) == 1) ++probes;
            else if (errno == EAGAIN) return Read(probes, std::chrono::milliseconds(2000)).size() == probes;
            std::this_thread::sleep_for(std::chrono::milliseconds(1)); // the step of a bounded poll
        }
        return false;
    }

    // Reads until `count` bytes have come or the time is up.
    std::string Read(std::size_t count, std::chrono::milliseconds limit) const
    {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left <= std::chrono::milliseconds(0)) break;
            pollfd fd{m_master, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0 || !(fd.revents & POLLIN)) break;
            char buffer[64];
            const ssize_t n = read(m_master, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    // Whether anything more is waiting to be read right now.
    bool HasPending() const
    {
        pollfd fd{m_master, POLLIN, 0};
        return poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
    }

private:
    int m_master = -1;
    int m_holder = -1; // the slave, held open while the line is held
    std::string m_slaveName;
};

} // namespace qm47::testing
