#!/usr/bin/env python3
"""The Win32 dialog backend on real windows, under Wine.

Runs dialog_backend_probe.exe (x86_64) in a fresh Wine prefix on a display of
its own (Xvfb). The probe opens its dialogs, checks them, answers its own
message boxes and prints one line per check; its exit code is the number of
failed checks.

    dialog_backend_wine.py <path to dialog_backend_probe.exe>

Everything it starts runs in its own prefix and is ended by it.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def start_display(work):
    """Starts Xvfb on a free display; returns (process, display name)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip():
        xvfb.kill()
        raise RuntimeError("Xvfb gave no display number")
    return xvfb, ":" + number.decode().strip()


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    probe = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="qm47-backend-wine-")
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(work, "prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
    xvfb = None

    def wine(*args, timeout=120):
        return subprocess.run(["wine", *args], env=env, capture_output=True, timeout=timeout)

    def wineserver(*args):
        subprocess.run(["wineserver", *args], env=env, timeout=120)

    try:
        xvfb, env["DISPLAY"] = start_display(work)
        wine("wineboot", "--init")
        # No window manager: without this every dialog's close waits 2 s.
        wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/t", "REG_SZ", "/d", "N", "/f")
        wineserver("-w")
        shutil.copy(probe, work)
        run = subprocess.run(["wine", os.path.join(work, os.path.basename(probe))], cwd=work, env=env,
                             capture_output=True, timeout=120)
        sys.stdout.write(run.stdout.decode("utf-8", errors="replace"))
        if run.returncode != 0:
            print(f"dialog backend probe: exit code {run.returncode}")
        return 0 if run.returncode == 0 else 1
    except subprocess.TimeoutExpired:
        print("FAIL the probe did not finish within 120 s (a dialog left open?)")
        return 1
    finally:
        wineserver("-k")
        if xvfb is not None:
            xvfb.send_signal(signal.SIGTERM)
            xvfb.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
