#pragma once
// The application object: start-up, the device library table, the on-line
// checks, the port name of the last Connect, and the direct serial link the
// port is handed to for a fiscalization.

#include "app/DeviceLibrary.h"
#include "app/DiagnosticLog.h"
#include "serial/SerialLink.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace qm47 {

// What sending a frame over the program's own serial link came to.
struct OwnLinkSend {
    bool opened = false;        // the link opened the port
    bool sentWhole = false;     // the port took every byte, the zero byte after the frame too
    bool portGivenBack = false; // Port_Open gave the library its port again
};

// What Connect came to, for the main window to show.
enum class Connection {
    NoLibrary,     // no library was loaded: there is nothing to open the port with
    PortNotOpened, // Port_Open refused the port, or the library lacks it (`portOpened` tells which)
    Online,        // the printer answered on-line; LBSERM 3 and Send_BEL went to it
    Offline,       // the printer answered off-line; the port stays the library's
    NoAnswer,      // the printer did not answer; the port was closed again
};
struct ConnectResult {
    Connection connection;
    LibraryResult portOpened; // Port_Open's
};

class CServiceApp {
public:
    CServiceApp() = default;
    CServiceApp(const CServiceApp&) = delete;
    CServiceApp& operator=(const CServiceApp&) = delete;

    // Start-up: opens the diagnostic log when `log` asks for it, binds the
    // library, then runs the main window modally through `runMainWindow`
    // (the program's entry knows the window; this object knows none);
    // returns false, so that no message loop follows and the program ends.
    bool InitInstance(const std::function<void()>& runMainWindow, bool log = false);

    // Puts a bound table in place (start-up, and the native tests).
    void SetLibrary(const DeviceLibrary& library) { m_library = library; }
    const DeviceLibrary& Library() const { return m_library; }

    // 1 on-line, 0 off-line, kNoAnswer (also when the export is missing).
    std::int32_t IsPrinterOnline() const;
    // 1 when the printer is in transaction mode, else 0.
    std::int32_t IsInTransaction() const;

    // The library's port is this object's alone to open and close.
    // Connect: Port_Close, then Port_Open of `port` at the printer's speed
    // (the name kept as the port of the last Connect whatever the result),
    // then the on-line check twice, 50 ms apart, of which only the second
    // answer counts (a printer may still be waking up); on an on-line
    // printer LBSERM 3 and Send_BEL, on no answer Port_Close.
    ConnectResult Connect(const std::string& port);
    // Disconnect: Port_Close.
    void Disconnect() const;
    // The port name the last Connect passed to Port_Open.
    const std::string& PortName() const { return m_portName; }
    void SetPortName(std::string name) { m_portName = std::move(name); }
    // Hands the port of the last Connect from the library to the program's
    // own link for one frame and back: Port_Close, the link opened, `frame`
    // and its zero byte sent, the link closed, its use written to the log,
    // and Port_Open on the same port. The port is never the library's and
    // the link's at once.
    OwnLinkSend SendOverOwnLink(const std::string& frame);
    // The diagnostic log; its Line writes nothing unless the program was
    // started with /log.
    DiagnosticLog& Log() { return m_log; }

private:
    DiagnosticLog m_log;
    DeviceLibrary m_library;
    std::string m_portName;
    CSerialLink m_link;
};

// Resolves the library's exports: loads it by its bare name, shows the
// missing-library message when that fails, walks the exports once and keeps
// the library loaded for the rest of the process. Writes to `log` which
// file was loaded, or why none was, and which exports it lacks.
DeviceLibrary BindDeviceLibrary(DiagnosticLog& log);

} // namespace qm47
