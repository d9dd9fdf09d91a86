#!/usr/bin/env python3
"""The communication window beside CuteCom: CPU per MB of received data, under one X server.

Both programs receive the same payload on a pseudo-terminal of their own, one after the other,
alternating which goes first, under one Xvfb (1600 x 1000) that this script starts, each main window sized to --window-size
(1024 x 768):

    script --writes--> pty master  ==  pty slave (device) --> corvane "Send/Receive" on COM11
                                                          --> CuteCom, the same device kind

The payload is the numbered 64-byte text lines (CR LF) of gui_bench.py. Rates are bytes per second
("100k", "300k") or "full": --flood-megabytes written as fast as the line takes them.

Formats:
  plain  corvane in "Plain Text Mode" showing the ASCII view; CuteCom's text output.
  hex    corvane in "Colors&Fonts Mode" showing the HEX view; CuteCom's "Hex output".
In both, corvane has all four views enabled and a time stamp header at least every 0.1 s (the
shortest interval of "AdditionalStampIntervals"; the date, time and milliseconds are on by
default), and CuteCom has "Show Timestamp" on (a stamp per block read). Everything else is at each
program's defaults.

For each run the script reports the CPU time of the program and of the X server from
/proc/<pid>/stat, from the first payload byte until the program has read the last (the slave's
input queue, read with FIONREAD on a descriptor the script holds, is empty) and then until it has
done its work (a half second in which it used less than a tenth of a core:
a program reads into its own buffers long before it has drawn everything), divided by the
megabytes written (so the idle half second is counted too); the program's RSS at the start and end
of the traffic; for corvane the pass statistics it prints at exit with CORVANE_PASS_STATS (longest
main loop pass, data bytes received, receive queue overflows), so lost bytes = written - received.
CuteCom keeps no such count: for it only "read everything" is seen.

CuteCom's pseudo-terminal modem-line ioctls fail, so it runs with modem_line_shim.c (built here
with cc) preloaded.

Needs Xvfb, xdotool, cc and cutecom (Debian: apt-get install xvfb xdotool gcc cutecom).

Usage: cutecom_bench.py --corvane build/bin/corvane [--rates 100k,300k,full] [--formats plain,hex]
                        [--seconds 20] [--flood-megabytes 5] [--rounds 1] [--programs corvane,cutecom]
"""

import argparse
import fcntl
import os
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gui_bench import cpu_seconds, make_pattern, parse_rate, rss_kib  # noqa: E402

ARGS = None
COM = 11
HERE = os.path.dirname(os.path.abspath(__file__))


def load():
    return open("/proc/loadavg").read().split()[0]


def stop_process(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class XServer:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1000x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            if not select.select([read_end], [], [], 20)[0]:
                sys.exit("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                sys.exit("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.pid = self.process.pid

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("XAUTHORITY", None)
        return env

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True, timeout=10)

    def window_of(self, pid):
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            ids = self.xdotool("search", "--onlyvisible", "--pid", str(pid)).stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.2)
        return None

    def key(self, window, *keys):
        self.xdotool("windowactivate", "--sync", window)
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--clearmodifiers", *keys)


class Line:
    """A pseudo-terminal: the script writes on the master and watches the slave's input queue."""

    def __init__(self):
        self.master, self.slave = os.openpty()
        tty.setraw(self.master)
        tty.setraw(self.slave)
        os.set_blocking(self.master, False)
        self.device = os.ttyname(self.slave)

    def unread(self):
        return struct.unpack("i", fcntl.ioctl(self.slave, termios.FIONREAD, b"\0\0\0\0"))[0]

    def wait_read(self, timeout):
        """Seconds until the program has read everything, None if it did not within timeout."""
        start = time.monotonic()
        while time.monotonic() - start < timeout:
            if self.unread() == 0:
                return time.monotonic() - start
            time.sleep(0.005)
        return None

    def close(self):
        os.close(self.master)
        os.close(self.slave)


def write_corvane_home(home, fmt):
    folder = os.path.join(home, ".config", "Corvane")
    os.makedirs(folder, exist_ok=True)
    views = "".join("%dCommDisplayModeEnabled=1\n" % i for i in range(4))
    with open(os.path.join(folder, "Corvane.conf"), "w") as f:
        f.write("[Settings]\nSkipWelcomeScreen=true\n\n[TextSetup]\nDispCommWindowFormat=%d\nActualCommDisplayMode=%d\n%s"
                "\n[Stamp]\nAdditionalStampIntervals=true\nAdditionalStampIntervalsSeconds=10\n" %
                (1 if fmt == "hex" else 0, 1 if fmt == "hex" else 0, views))


def write_cutecom_home(home, device):
    folder = os.path.join(home, ".config", "CuteCom")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "CuteCom5.conf"), "w") as f:
        f.write("[sessions]\n1\\BaudRate=115200\n1\\DataBits=8\n1\\Device=%s\n1\\FlowControl=0\n1\\OpenMode=3\n"
                "1\\Parity=0\n1\\StopBits=1\n1\\autoReconnect=false\n1\\name=Default\n1\\showCtrlCharacters=false\n"
                "1\\showTimestamp=true\nsize=1\n" % device)


def shim(tmp):
    target = os.path.join(tmp, "modem_line_shim.so")
    if not os.path.exists(target):
        subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", target, os.path.join(HERE, "modem_line_shim.c"),
                        "-ldl"], check=True)
    return target


class Program:
    def __init__(self, kind, fmt, xserver, line, tmp):
        self.kind, self.xserver, self.line = kind, xserver, line
        home = os.path.join(tmp, kind + "-home")
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(home)
        env = xserver.env()
        env["HOME"] = home
        env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
        if kind == "corvane":
            write_corvane_home(home, fmt)
            project = os.path.join(tmp, "receive.ptp")
            lines = ["VERSION", "8", "", "COMMSETTINGS", "0", "COM%d" % COM, "COM%d" % (COM + 1), "115200", "2",
                     "63", "4", "0", "0", "", "COMMDISPLAY", "0", "", "LUMOTAP", "0", ""]
            with open(project, "wb") as f:
                f.write(("\r\n".join(lines) + "\r\n").encode())
            env["CORVANE_COM%d" % COM] = line.device
            env["CORVANE_PASS_STATS"] = "1"
            command = [os.path.abspath(ARGS.corvane), project]
        else:
            write_cutecom_home(home, line.device)
            env["LD_PRELOAD"] = shim(tmp)
            command = ["cutecom"]
        self.log_path = os.path.join(tmp, kind + "-output.txt")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen(command, env=env, stdout=self.log, stderr=subprocess.STDOUT, cwd=home)
        self.pid = self.process.pid
        self.window = xserver.window_of(self.pid)
        if not self.window:
            self.stop()
            raise RuntimeError("%s showed no window:\n%s" % (kind, self.output()))
        # The same window size for both, so that both draw about as many pixels.
        width, height = ARGS.window_size.split("x")
        xserver.xdotool("windowsize", self.window, width, height)
        time.sleep(1.0)
        if kind == "corvane":
            xserver.key(self.window, "F5")
        else:
            xserver.key(self.window, "alt+o")
            if fmt == "hex":
                time.sleep(0.3)
                xserver.key(self.window, "alt+x")
        time.sleep(0.5)

    def output(self):
        if not self.log.closed:
            self.log.flush()
        with open(self.log_path, "rb") as f:
            return f.read()[-3000:].decode("utf-8", "replace")

    def reading(self):
        """A probe line written must be read by the program."""
        for _ in range(3):
            os.write(self.line.master, b"probe\r\n")
            if self.line.wait_read(3.0) is not None:
                return True
            if self.kind == "corvane":
                self.xserver.key(self.window, "F5")
        return False

    def stop(self):
        """Ends the program; corvane through its menu, so that it prints its pass statistics."""
        stats = None
        if self.kind == "corvane" and self.process.poll() is None:
            self.xserver.key(self.window, "F6")
            time.sleep(0.5)
            self.xserver.key(self.window, "alt+f")
            time.sleep(0.3)
            self.xserver.key(self.window, "x")
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                pass
            found = [line for line in self.output().splitlines() if "main loop passes" in line]
            stats = found[-1] if found else None
        stop_process(self.process)
        self.log.close()
        return stats


def write_payload(line, rate, seconds, total, pid, rss_samples):
    """Writes the payload; returns (bytes written, seconds, stalled writes). Appends the program's
    RSS to rss_samples every 10 s."""
    pattern = make_pattern(False)
    doubled = pattern * 2
    sent, stalls = 0, 0
    start = time.monotonic()
    next_sample = start + 10
    while True:
        elapsed = time.monotonic() - start
        if time.monotonic() >= next_sample:
            rss_samples.append(rss_kib(pid))
            next_sample += 10
        target = total if rate is None else min(int(rate * elapsed), int(rate * seconds))
        if sent >= target and (rate is None or elapsed >= seconds):
            break
        if sent < target:
            offset = sent % len(pattern)
            count = min(target - sent, len(pattern))
            try:
                sent += os.write(line.master, doubled[offset:offset + count])
                continue
            except BlockingIOError:
                stalls += 1
                select.select([], [line.master], [], 0.05)
                continue
        time.sleep(0.005)
    return sent, time.monotonic() - start, stalls


def run_one(kind, fmt, rate_spec, xserver, tmp):
    line = Line()
    program = None
    try:
        program = Program(kind, fmt, xserver, line, tmp)
        if not program.reading():
            sys.exit("%s does not read its port:\n%s" % (kind, program.output()))
        time.sleep(1.0)
        rate = None if rate_spec == "full" else parse_rate(rate_spec)
        total = int(ARGS.flood_megabytes * 1e6) if rate is None else 0
        load_before = load()
        rss_start = rss_kib(program.pid)
        cpu_before = (cpu_seconds(program.pid), cpu_seconds(xserver.pid))
        recorder = None
        if ARGS.perf and kind == "corvane":
            recorder = subprocess.Popen(["perf", "record", *ARGS.perf_options.split(), "-o", "%s-%s-%s.data" % (ARGS.perf, fmt, rate_spec),
                                         "-p", str(program.pid)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        rss_samples = []
        sent, write_seconds, stalls = write_payload(line, rate, ARGS.seconds, total, program.pid, rss_samples)
        if ARGS.shot:
            subprocess.run(["import", "-window", "root", "%s-%s-%s-%s.png" % (ARGS.shot, kind, fmt, rate_spec)],
                           env=xserver.env(), check=False)
        drained = line.wait_read(60.0)
        settled = settle(program.pid)
        cpu = (cpu_seconds(program.pid) - cpu_before[0], cpu_seconds(xserver.pid) - cpu_before[1])
        if recorder:
            recorder.send_signal(signal.SIGINT)
            recorder.wait()
        rss_end = rss_kib(program.pid)
        alive = program.process.poll() is None
        stats = program.stop()
        program = None
        return {"kind": kind, "sent": sent, "seconds": write_seconds, "stalls": stalls, "drained": drained,
                "settled": settled, "rss_samples": rss_samples,
                "cpu": cpu, "rss": (rss_start, rss_end), "stats": stats, "alive": alive,
                "load": (load_before, load())}
    finally:
        if program:
            program.stop()
        line.close()


def settle(pid, interval=0.5, idle_share=0.1, timeout=120.0):
    """Waits until the program has done its work: a whole interval in which it used less than
    idle_share of a core (it reads into its own buffers long before it has drawn everything).
    Returns the seconds waited, None after the timeout."""
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        before = cpu_seconds(pid)
        time.sleep(interval)
        if cpu_seconds(pid) - before < idle_share * interval:
            return time.monotonic() - start
    return None


def parse_stats(stats):
    """Longest pass (ms), data bytes received and queue overflows from corvane's statistics line."""
    if not stats:
        return None
    words = stats.replace(",", "").replace(";", "").split()
    try:
        longest = float(words[words.index("longest") + 1])
        received = int(words[words.index("data") - 1])
        overflows = int(words[words.index("receive") - 1])
    except (ValueError, IndexError):
        return None
    return longest, received, overflows


def report(fmt, rate_spec, r):
    mb = r["sent"] / 1e6
    per_mb = [c / mb for c in r["cpu"]]
    print("%s, %s, %s: %.2f MB in %.1f s (%.0f kB/s), %s" % (
        r["kind"], fmt, rate_spec, mb, r["seconds"], r["sent"] / r["seconds"] / 1e3,
        "read all %.2f s after the last write" % r["drained"] if r["drained"] is not None else
        "NOT all read within 60 s"))
    print("  done %s after the last write" % (
        "%.1f s" % r["settled"] if r["settled"] is not None else "NOT within 120 s"))
    busy = r["seconds"] + (r["settled"] or 0)
    print("  CPU per MB: program %.3f s + X server %.3f s = %.3f s (program %.0f %%, X %.0f %% of a core)" % (
        per_mb[0], per_mb[1], sum(per_mb), 100 * r["cpu"][0] / busy, 100 * r["cpu"][1] / busy))
    print("  RSS %d KiB at the start, %d KiB at the end (%+d KiB); writer stalls %d; load %s -> %s" % (
        r["rss"][0], r["rss"][1], r["rss"][1] - r["rss"][0], r["stalls"], r["load"][0], r["load"][1]))
    if r["rss_samples"]:
        print("  RSS every 10 s (KiB): " + " ".join(str(v) for v in r["rss_samples"]))
    if r["kind"] == "corvane":
        parsed = parse_stats(r["stats"])
        if parsed:
            probe = len(b"probe\r\n")
            print("  longest pass %.1f ms; received %d data bytes: %d lost; %d receive queue overflows" % (
                parsed[0], parsed[1], max(0, r["sent"] - (parsed[1] - probe)), parsed[2]))
        else:
            print("  no pass statistics: %s" % r["stats"])
    if not r["alive"]:
        print("  THE PROGRAM HAD ENDED")
    sys.stdout.flush()
    return sum(per_mb)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--corvane", required=True)
    parser.add_argument("--rates", default="100k,300k,full")
    parser.add_argument("--formats", default="plain,hex")
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--flood-megabytes", type=float, default=5)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--programs", default="corvane,cutecom")
    parser.add_argument("--window-size", default="1024x768", help="both main windows get this size")
    parser.add_argument("--shot", help="screenshot (ImageMagick import) after the writes into SHOT-<program>-...png")
    parser.add_argument("--perf", help="record corvane with perf record into PERF-<format>-<rate>.data")
    parser.add_argument("--perf-options", default="-g", help="options of perf record (--call-graph dwarf, say)")
    ARGS = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "cc") + (("cutecom",) if "cutecom" in ARGS.programs else ()):
        if shutil.which(tool) is None:
            sys.exit("%s is missing" % tool)
    programs = ARGS.programs.split(",")
    summary = []
    xserver = XServer()
    try:
        with tempfile.TemporaryDirectory(prefix="corvane-cutecom-") as tmp:
            for round_number in range(ARGS.rounds):
                for fmt in ARGS.formats.split(","):
                    for rate_spec in ARGS.rates.split(","):
                        order = programs if round_number % 2 == 0 else list(reversed(programs))
                        cost = {}
                        for kind in order:
                            try:
                                cost[kind] = report(fmt, rate_spec, run_one(kind, fmt, rate_spec, xserver, tmp))
                            except RuntimeError as error:
                                print("%s, %s, %s: NOT MEASURED: %s" % (kind, fmt, rate_spec, error), flush=True)
                        summary.append((round_number + 1, fmt, rate_spec, cost))
    finally:
        stop_process(xserver.process)
    print("\nCPU per MB (program + X server), s:")
    for round_number, fmt, rate_spec, cost in summary:
        ratio = ("  corvane / CuteCom %.2f" % (cost["corvane"] / cost["cutecom"])
                 if "corvane" in cost and "cutecom" in cost else "")
        print("  round %d  %-5s %-5s  %s%s" % (round_number, fmt, rate_spec,
                                                "  ".join("%s %.3f" % kv for kv in cost.items()), ratio))


if __name__ == "__main__":
    main()
