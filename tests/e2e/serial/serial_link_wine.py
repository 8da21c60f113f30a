#!/usr/bin/env python3
"""The serial link under Wine, on real bytes.

Runs serial_link_probe.exe (x86_64) in a fresh Wine prefix whose COM12 is
mapped to a pseudo terminal made here, reads the line from the master side
and checks the settings the comm API left on the terminal. COM12 is reached
only through the device namespace, so this also covers the name handling of
ports above COM9. Then a port that does not exist: the probe must report it
and still wait 100 ms.

    serial_link_wine.py <path to serial_link_probe.exe>

Everything it starts runs in its own prefix and is ended by it.
"""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import termios
import time

FRAME = b"\x1bP1$fNIP 123-456-78-90\xff28\x1b\\"


def read_bytes(fd, count, limit_s):
    got = b""
    deadline = time.monotonic() + limit_s
    while len(got) < count:
        left = deadline - time.monotonic()
        if left <= 0:
            break
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            break
        try:
            chunk = os.read(fd, count - len(got))
        except OSError:
            break
        if not chunk:
            break
        got += chunk
    return got


def pending(fd):
    ready, _, _ = select.select([fd], [], [], 0)
    return bool(ready)


class Check:
    def __init__(self):
        self.failures = 0

    def __call__(self, what, ok, got=""):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else f" (got {got!r})"))
        if not ok:
            self.failures += 1


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    probe = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="qm47-serial-wine-")
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(work, "prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
    env.pop("DISPLAY", None)  # a console program; no window is needed
    master, slave = os.openpty()
    check = Check()

    def wine(*args, timeout=120):
        return subprocess.run(["wine", *args], env=env, capture_output=True, timeout=timeout)

    def wineserver(*args):
        subprocess.run(["wineserver", *args], env=env, timeout=120)

    try:
        wine("wineboot", "--init")
        wineserver("-w")
        slave_name = os.ttyname(slave)
        wine("reg", "add", r"HKLM\Software\Wine\Ports", "/v", "COM12", "/t", "REG_SZ", "/d", slave_name, "/f")
        wineserver("-k")  # the port mapping is read when the prefix starts
        wineserver("-w")

        run = wine(probe, "com12", "123-456-78-90", timeout=60)
        out = run.stdout.decode(errors="replace")
        check("COM12 opens", run.returncode == 0 and "opened" in out.splitlines(), (run.returncode, out))
        line = read_bytes(master, len(FRAME) + 1, 5)
        check("the frame and one zero byte reach the line", line == FRAME + b"\0", line)
        check("nothing else reaches the line", not pending(master))

        iflag, _, cflag, _, ispeed, ospeed, cc = termios.tcgetattr(master)
        check("9600 baud", ispeed == termios.B9600 and ospeed == termios.B9600, (ispeed, ospeed))
        check("8 data bits", cflag & termios.CSIZE == termios.CS8, oct(cflag))
        check("no parity", not cflag & termios.PARENB, oct(cflag))
        check("one stop bit", not cflag & termios.CSTOPB, oct(cflag))
        check("no RTS/CTS handshake", not cflag & termios.CRTSCTS, oct(cflag))
        check("output obeys XON/XOFF", bool(iflag & termios.IXON), oct(iflag))
        check("no XON/XOFF for the input", not iflag & termios.IXOFF, oct(iflag))
        check("XON and XOFF characters", cc[termios.VSTART] == b"\x11" and cc[termios.VSTOP] == b"\x13",
              (cc[termios.VSTART], cc[termios.VSTOP]))

        run = wine(probe, "com33", "1234567890", timeout=60)
        out = run.stdout.decode(errors="replace").splitlines()
        check("a missing port is reported", run.returncode == 1 and "not opened" in out, (run.returncode, out))
        took = [int(word) for l in out if l.startswith("send took") for word in l.split() if word.isdigit()]
        # whole milliseconds, truncated by the probe
        check("Send still waits 100 ms", bool(took) and took[0] >= 99, out)
    finally:
        wineserver("-k")
        os.close(master)
        os.close(slave)
        shutil.rmtree(work, ignore_errors=True)

    print("PASS" if check.failures == 0 else f"{check.failures} check(s) failed")
    return 0 if check.failures == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
