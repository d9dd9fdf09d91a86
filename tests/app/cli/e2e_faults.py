#!/usr/bin/env python3
"""End-to-end tests of corvane-cli when the outside world fails it: a USB monitoring tap made of
a sysfs tree in a temporary folder whose tty nodes are pseudo-terminals, a port that disappears in
the middle of traffic, a port the user may not open, and a settings file that can't be read.

Every wait is bounded; every process started here is ended here."""

import argparse
import os
import select
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_cli as base  # noqa: E402
from e2e_cli import (check, fail, open_raw, read_at_least, run_cli, start_cli, stop_process,  # noqa: E402
                     wait_until_open, write_project)

# ctest reports this exit status as a skipped test.
SKIP = 77
NOBODY = 65534


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def make_sysfs(tmp, nodes):
    """A sysfs tree with one FT2232-like chip ("Dual RS232", two interfaces) whose ttys are the
    given device nodes, laid out as the usb-serial driver does it."""
    root = os.path.join(tmp, "sys")
    usb = os.path.join(root, "devices/pci0000:00/0000:00:14.0/usb1/1-2")
    for name, value in [("idVendor", "0403"), ("idProduct", "6010"), ("product", "Dual RS232"),
                        ("manufacturer", "FTDI"), ("serial", "FTTAP001"), ("bNumInterfaces", " 2")]:
        write(os.path.join(usb, name), value + "\n")
    os.makedirs(os.path.join(root, "class/tty"), exist_ok=True)
    for index, node in enumerate(nodes):
        interface = os.path.join(usb, "1-2:1.%d" % index)
        write(os.path.join(interface, "bInterfaceNumber"), "%02d\n" % index)
        tty = os.path.join(interface, "ttyUSB%d/tty/ttyUSB%d" % (index, index))
        write(os.path.join(tty, "uevent"), "MAJOR=188\nMINOR=%d\nDEVNAME=%s\n" % (index, node[len("/dev/"):]))
        os.symlink("../../../ttyUSB%d" % index, os.path.join(tty, "device"))
        os.symlink(tty, os.path.join(root, "class/tty/ttyUSB%d" % index))
    return root


def with_env(env, **values):
    copy = base.Environment.__new__(base.Environment)
    copy.env = dict(env.env)
    copy.env.update(values)
    return copy


def read_output_until(process, text, seconds=5):
    """Reads the running program's standard output until text shows; returns what was read."""
    out = b""
    deadline = time.time() + seconds
    fd = process.stdout.fileno()
    while text.encode() not in out and time.time() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.1)
        if ready:
            chunk = os.read(fd, 4096)
            if not chunk:
                break
            out += chunk
    return out.decode("utf-8", "replace")


def case_taps(tmp, env):
    side_a = base.PtyPair(tmp, "tapA")
    side_b = base.PtyPair(tmp, "tapB")
    line = base.PtyPair(tmp, "line")
    processes = []
    try:
        taps = with_env(env, CORVANE_SYSFS_ROOT=make_sysfs(tmp, [side_a.device_b, side_b.device_b]))
        # Both sides of the tap: each line's data with its own tag.
        monitor = os.path.join(tmp, "taps.ptp")
        write_project(monitor, 1, "TAP0", "TAP1", [], [])
        cli = start_cli(taps, ["--duration", "20", monitor])
        processes.append(cli)
        wait_until_open(cli)
        with open(side_a.a, "wb") as f:
            f.write(b"request\r\n")
        time.sleep(0.2)
        with open(side_b.a, "wb") as f:
            f.write(b"answer\r\n")
        time.sleep(0.3)
        code, out, err = stop_process(cli)
        check(code == 0, "tap monitor exit status %d: %s" % (code, err))
        check("[TAP0] - request<CR><LF>" in out, "side A of the tap shown as channel 1:\n" + out + err)
        check("[TAP1] - answer<CR><LF>" in out, "side B of the tap shown as channel 2:\n" + out)
        check(out.index("[TAP0]") < out.index("[TAP1]"), "in the order of arrival")

        # A tap and a COM port: what the tap hears is forwarded to the port.
        forward = os.path.join(tmp, "forward.ptp")
        write_project(forward, 1, "TAP0", "COM7", [], [])
        cli = start_cli(taps, ["--port", "COM7=" + line.device_a, "--view", "hex", "--duration", "20", forward])
        processes.append(cli)
        wait_until_open(cli)
        far = open_raw(line.device_b)
        try:
            with open(side_a.a, "wb") as f:
                f.write(b"\x01\x03\x00\x10")
            got = read_at_least(far, 4, 5)
        finally:
            os.close(far)
        code, out, err = stop_process(cli)
        check(got == b"\x01\x03\x00\x10", "the tap's data forwarded to COM7: %r %s" % (got, err))
        check("[TAP0] - 01 03 00 10" in out, "and shown:\n" + out)

        # No such tap, and no device list at all.
        missing = os.path.join(tmp, "missing.ptp")
        write_project(missing, 1, "TAP2", "TAP3", [], [])
        result = run_cli(taps, ["--duration", "1", missing])
        check(result.returncode == 1, "a tap that isn't there can't be opened")
        check(b"The communication port TAP2 could not be opened. TAP device error #2 - Device not found"
              in result.stderr, "not found: " + result.stderr.decode())
        nothing = with_env(env, CORVANE_SYSFS_ROOT=os.path.join(tmp, "no-sysfs"))
        result = run_cli(nothing, ["--duration", "1", monitor])
        check(b"TAP0 could not be opened. TAP device drivers (FTDI) not installed." in result.stderr,
              "no device list: " + result.stderr.decode())
    finally:
        for process in processes:
            stop_process(process)
        side_a.close()
        side_b.close()
        line.close()


def case_unplug(tmp, env):
    project = os.path.join(tmp, "device.ptp")
    write_project(project, 0, "COM40", "COM41", [("Hello", b"hello\r\n")], [("Ping", b"ping", 0, "", False)])
    pair = base.PtyPair(tmp, "device")
    # The port is named by the link, so the device that comes back under it is found again.
    cli = start_cli(env, ["--port", "COM40=" + pair.a, "--duration", "30", project])
    try:
        wait_until_open(cli)
        far = open_raw(pair.device_b)
        os.write(far, b"ping")
        check(read_at_least(far, 7, 5) == b"hello\r\n", "the device is answered before it goes")
        node = pair.device_a
        # The far side closes and the node goes with it, in the middle of traffic.
        os.write(far, b"ping")
        pair.close()
        os.close(far)
        check(not os.path.exists(node), "the device node is gone")
        out = read_output_until(cli, "General I/O error on COM40")
        check("CORVANE reports: General I/O error on COM40" in out, "the loss is reported:\n" + out)
        check("A general error/exception occured while accessing the serial port" in out, "with its text")
        time.sleep(0.3)
        check(cli.poll() is None, "corvane-cli keeps running after the loss")
        code, rest, err = stop_process(cli, signal.SIGTERM)
        check(code == 4, "a stop after the loss tells of it with status 4: %d %s" % (code, err))
    finally:
        stop_process(cli)
        pair.close()

    # The device is back: the program starts on it again.
    again = base.PtyPair(tmp, "device")
    cli = start_cli(env, ["--port", "COM40=" + again.a, "--duration", "30", project])
    try:
        wait_until_open(cli)
        far = open_raw(again.device_b)
        try:
            os.write(far, b"ping")
            check(read_at_least(far, 7, 5) == b"hello\r\n", "answered again on the device that came back")
        finally:
            os.close(far)
    finally:
        stop_process(cli)
        again.close()


def as_unprivileged(command):
    """The command as a user who is not root, or None when this can't be done here."""
    if os.geteuid() != 0:
        return command
    for tool in ("/usr/bin/setpriv", "/bin/setpriv"):
        if os.path.exists(tool):
            return [tool, "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups", "--"] + command
    return None


def run_unprivileged(env, args):
    command = as_unprivileged([base.ARGS.cli] + args)
    if command is None:
        print("SKIP: neither an unprivileged user nor setpriv to become one")
        sys.exit(SKIP)
    return subprocess.run(command, env=env.env, capture_output=True, timeout=20)


def case_permission(tmp, env):
    os.chmod(tmp, 0o755)
    pair = base.PtyPair(tmp, "locked")
    try:
        # socat's pseudo-terminals belong to root with mode 0600.
        os.chmod(pair.device_a, 0o600)
        project = os.path.join(tmp, "locked.ptp")
        write_project(project, 0, "COM42", "COM43", [], [])
        result = run_unprivileged(env, ["--port", "COM42=" + pair.device_a, "--duration", "1", project])
        err = result.stderr.decode("utf-8", "replace")
        check(result.returncode == 1, "a port that may not be opened stops the start: %d %s" % (result.returncode, err))
        expected = ("The communication port COM42 could not be opened. Permission denied for %s: only its owner "
                    "root may open it (mode 0600)" % os.path.realpath(pair.device_a))
        check(expected in err, "the permission message:\n" + err)
    finally:
        pair.close()


def settings_file(tmp):
    return os.path.join(tmp, "config", "Corvane", "Corvane.conf")


def case_settings(tmp, env):
    project = os.path.join(base.ARGS.samples, "PingPong.ptp")
    path = settings_file(tmp)
    damaged = b"[TextSetup]\nDispFontSize=11\n[Stamp\nDate=false\n\x00\xff\xfe garbage\n[LogFile]\nASCII=maybe\n"
    os.makedirs(os.path.dirname(path))
    with open(path, "wb") as f:
        f.write(damaged)
    result = run_cli(env, ["--send", "Ping", "--duration", "1", project])
    out = result.stdout.decode("utf-8", "replace")
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0, "a damaged settings file is no reason to stop: %d %s" % (result.returncode, err))
    check("The program settings file " + path + " is damaged." in err, "the warning:\n" + err)
    check("Pong" in out, "the project runs")
    with open(path + ".corrupt", "rb") as f:
        check(f.read() == damaged, "the damaged file is kept byte for byte beside it")
    with open(path, "rb") as f:
        check(f.read() == damaged, "corvane-cli never writes the settings")

    os.remove(path)
    os.remove(path + ".corrupt")
    os.mkdir(path)
    result = run_cli(env, ["--send", "Ping", "--duration", "1", project])
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0 and b"Pong" in result.stdout, "a folder in place of the file: %s" % err)
    check("cannot be read (it is a folder). Corvane starts with the default settings" in err, "warned:\n" + err)
    os.rmdir(path)

    # A file the user may not read.
    os.chmod(tmp, 0o755)
    for folder in (os.path.join(tmp, "config"), os.path.dirname(path)):
        os.chmod(folder, 0o755)
    with open(path, "wb") as f:
        f.write(b"[TextSetup]\nDispFontSize=11\n")
    os.chmod(path, 0)
    result = run_unprivileged(env, ["--send", "Ping", "--duration", "1", project])
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 0 and b"Pong" in result.stdout, "an unreadable settings file: %s" % err)
    check("cannot be read (Permission denied)" in err, "warned:\n" + err)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("case")
    args = parser.parse_args()
    base.ARGS = args
    case = globals().get("case_" + args.case)
    if case is None:
        fail("unknown case " + args.case)
    with tempfile.TemporaryDirectory(prefix="corvane-e2e-") as tmp:
        case(tmp, base.Environment(tmp))
    print("PASS: " + args.case)


if __name__ == "__main__":
    main()
