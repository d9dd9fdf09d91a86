#!/usr/bin/env python3
"""Benchmarks of the window program corvane under traffic.

The program runs for real under `xvfb-run -a` with a private HOME, in "Monitoring (Receive Only)"
mode between two serial ports. Each port is one end of a socat pseudo-terminal pair; this script
holds the far ends:

    far end A  <-socat->  COMa (channel A)  --corvane forwards-->  COMb (channel B)  <-socat->  far end B

Text lines are written into both far ends at the same rate; what corvane forwards comes out at the
other far end and is checked byte for byte against what went in (order and content, so a dropped
packet shows as lost bytes). Communication is started with the F5 key, sent with xdotool.

  traffic  for each output format (plain, formatted) and each rate: --seconds of traffic in both
           directions; reports the rate reached, whether everything came out, the largest backlog
           (bytes in but not yet out), the time to drain after the writers stop, CPU of corvane, of
           the X server and of socat (from /proc/<pid>/stat), and corvane's RSS
           (/proc/<pid>/status VmRSS)
  memory   --minutes of traffic (plain text, --rate) with corvane's RSS sampled every 10 s
  idle     CPU of corvane over --seconds with communication stopped, then over --seconds with it
           running and nothing arriving

At the end of each run the communication window's text is copied (Ctrl+A, Ctrl+C sent to the
window, clipboard read with tkinter) and searched for "Input data queue overflow". The window keeps
only its last 128000 characters, so this only sees messages near the end; the byte count is the
complete check.

Needs socat, xvfb-run and xdotool (Debian: apt-get install socat xvfb xdotool; xdotool is needed by
this benchmark only) and python3-tk for the window check (optional).

Usage: gui_bench.py --corvane build/bin/corvane [--seconds S] [--rates 100k,300k,1M]
                    [--formats plain,formatted] [--minutes M] [--rate 100k] traffic|memory|idle|all
"""

import argparse
import errno
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty

ARGS = None
TICKS = os.sysconf("SC_CLK_TCK")
COM_A = 11
COM_B = 12
OVERFLOW_TEXT = "Input data queue overflow"


def parse_rate(text):
    text = text.strip().lower().rstrip("b/s")
    factor = 1
    if text.endswith("k"):
        factor, text = 1000, text[:-1]
    elif text.endswith("m"):
        factor, text = 1000000, text[:-1]
    return int(float(text) * factor)


def rate_text(rate):
    return "%g MB/s" % (rate / 1e6) if rate >= 1000000 else "%g kB/s" % (rate / 1e3)


def make_pattern(upper):
    # Printable text lines ending in CR LF, 64 bytes each, numbered so that no two lines of the
    # pattern are alike; 1024 lines (64 KiB) before it repeats.
    words = ["alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india", "juliet"]
    lines = []
    for n in range(1024):
        body = "%04d %s %s %s " % (n, words[n % 10], words[(n // 10) % 10], words[(n * 7) % 10])
        body = (body * 4)[:62]
        lines.append((body.upper() if upper else body) + "\r\n")
    return "".join(lines).encode("ascii")


# Processes and /proc readings.

def cpu_seconds(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS
    except (OSError, IndexError, ValueError):
        return 0.0


def rss_kib(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def parent_of(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return int(f.read().rsplit(")", 1)[1].split()[1])
    except (OSError, IndexError, ValueError):
        return 0


def descendants_named(root, name):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        pid = int(entry)
        try:
            with open("/proc/%d/comm" % pid) as f:
                comm = f.read().strip()
        except OSError:
            continue
        if comm != name:
            continue
        p = pid
        for _ in range(10):
            p = parent_of(p)
            if p == root:
                found.append(pid)
                break
            if p <= 1:
                break
    return found


def stop_group(process):
    if process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


# The two socat pairs.

class PtyPair:
    def __init__(self, tmp, name):
        self.near_link = os.path.join(tmp, name + "-near")
        self.far_link = os.path.join(tmp, name + "-far")
        self.process = subprocess.Popen(
            ["socat", "-b", "65536", "PTY,raw,echo=0,link=" + self.near_link,
             "PTY,raw,echo=0,link=" + self.far_link],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        deadline = time.monotonic() + 5
        while not (os.path.exists(self.near_link) and os.path.exists(self.far_link)):
            if time.monotonic() > deadline or self.process.poll() is not None:
                sys.exit("socat did not make its pseudo-terminals")
            time.sleep(0.05)
        self.near = os.path.realpath(self.near_link)
        self.far_fd = os.open(os.path.realpath(self.far_link), os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        tty.setraw(self.far_fd)

    def close(self):
        os.close(self.far_fd)
        stop_group(self.process)


# The program.

def write_project(path):
    lines = ["VERSION", "8", "", "COMMSETTINGS", "1", "COM%d" % COM_A, "COM%d" % COM_B, "115200", "2", "63", "4",
             "0", "0", "", "COMMDISPLAY", "0", "", "LUMOTAP", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def write_settings(home, formatted):
    folder = os.path.join(home, ".config", "Corvane")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Corvane.conf"), "w") as f:
        f.write("[Settings]\nSkipWelcomeScreen=true\n\n[TextSetup]\nDispCommWindowFormat=%d\n" % (1 if formatted else 0))


class Program:
    def __init__(self, tmp, formatted, pair_a, pair_b):
        home = os.path.join(tmp, "home")
        if os.path.exists(home):
            shutil.rmtree(home)
        os.makedirs(home)
        write_settings(home, formatted)
        project = os.path.join(tmp, "monitor.ptp")
        write_project(project)
        env = dict(os.environ)
        env["HOME"] = home
        env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
        env.pop("QT_QPA_PLATFORM", None)
        env["CORVANE_COM%d" % COM_A] = pair_a.near
        env["CORVANE_COM%d" % COM_B] = pair_b.near
        self.log = open(os.path.join(tmp, "corvane-output.txt"), "wb")
        self.process = subprocess.Popen(
            ["xvfb-run", "-a", "-s", "-screen 0 1600x1000x24", os.path.abspath(ARGS.corvane), project],
            env=env, stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True, cwd=tmp)
        self.pid = 0
        self.xvfb_pid = 0
        try:
            self.attach()
        except BaseException:
            self.stop()
            raise

    def attach(self):
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and not self.pid:
            if self.process.poll() is not None:
                sys.exit("xvfb-run ended early:\n" + self.output())
            found = descendants_named(self.process.pid, "corvane")
            xvfb = descendants_named(self.process.pid, "Xvfb")
            if found and xvfb:
                self.pid, self.xvfb_pid = found[0], xvfb[0]
            time.sleep(0.1)
        if not self.pid:
            sys.exit("corvane did not start")
        with open("/proc/%d/environ" % self.pid, "rb") as f:
            environ = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
        self.display = environ.get(b"DISPLAY", b"").decode()
        self.xauthority = environ.get(b"XAUTHORITY", b"").decode()
        self.window = self.find_window()

    def output(self):
        """What the program and xvfb-run printed so far (the last 2000 characters)."""
        self.log.flush()
        with open(self.log.name, "rb") as f:
            return f.read()[-2000:].decode("utf-8", "replace")

    def xenv(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        if self.xauthority:
            env["XAUTHORITY"] = self.xauthority
        return env

    def xdotool(self, *args, timeout=10):
        return subprocess.run(["xdotool", *args], env=self.xenv(), capture_output=True, text=True, timeout=timeout)

    def find_window(self):
        """The largest visible window of the program: the main window."""
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            result = self.xdotool("search", "--onlyvisible", "--pid", str(self.pid))
            ids = result.stdout.split()
            if ids:
                best, area = ids[0], 0
                for wid in ids:
                    geometry = self.xdotool("getwindowgeometry", "--shell", wid).stdout
                    values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
                    a = int(values.get("WIDTH", 0)) * int(values.get("HEIGHT", 0))
                    if a > area:
                        best, area = wid, a
                return best
            time.sleep(0.2)
        sys.exit("no window of corvane appeared on the X server")

    def key(self, *keys):
        self.xdotool("windowfocus", "--sync", self.window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def window_text(self):
        """The communication window's text through the clipboard; None if it can't be read."""
        try:
            import tkinter  # noqa: F401  (only to see whether it is there)
        except ImportError:
            return None
        # A click into the communication window (the right part of the main window) gives it the
        # focus; then Select All and Copy.
        geometry = self.xdotool("getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        x = int(int(values.get("WIDTH", 0)) * 0.65)
        y = int(int(values.get("HEIGHT", 0)) * 0.55)
        self.xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1")
        time.sleep(0.2)
        self.key("ctrl+a")
        self.key("ctrl+c")
        time.sleep(0.5)
        reader = ("import tkinter\nr = tkinter.Tk()\nr.withdraw()\n"
                  "try:\n    print(r.clipboard_get(), end='')\nexcept tkinter.TclError:\n    pass\n")
        try:
            result = subprocess.run([sys.executable, "-c", reader], env=self.xenv(), capture_output=True,
                                    timeout=20)
        except subprocess.TimeoutExpired:
            return None
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def close_gracefully(self, timeout=15):
        """F6, then File > Exit, so that the main loop ends and its pass statistics are printed.
        True when the program ended by itself."""
        self.key("F6")
        time.sleep(0.5)
        self.key("alt+f")
        time.sleep(0.3)
        self.key("x")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not os.path.exists("/proc/%d" % self.pid):
                return True
            time.sleep(0.1)
        return False

    def stop(self):
        stop_group(self.process)
        self.log.close()


# Traffic.

class Stream:
    """One direction: written into one far end, read back from the other."""

    def __init__(self, source_fd, sink_fd, pattern):
        self.source_fd = source_fd
        self.sink_fd = sink_fd
        self.pattern = pattern
        self.doubled = pattern * 2
        self.sent = 0
        self.received = 0
        self.mismatch_at = -1
        self.stalls = 0

    def write_up_to(self, target):
        while self.sent < target:
            offset = self.sent % len(self.pattern)
            count = min(target - self.sent, len(self.pattern))
            try:
                written = os.write(self.source_fd, self.doubled[offset:offset + count])
            except BlockingIOError:
                self.stalls += 1
                return
            self.sent += written

    def take(self, data):
        position = self.received
        length = len(self.pattern)
        view = memoryview(data)
        done = 0
        while done < len(data) and self.mismatch_at < 0:
            offset = (position + done) % length
            count = min(len(data) - done, length)
            if view[done:done + count] != self.doubled[offset:offset + count]:
                for i in range(count):
                    if view[done + i] != self.doubled[offset + i]:
                        self.mismatch_at = position + done + i
                        break
            done += count
        self.received += len(data)


def feed(streams, rate, stop_event, tick=0.005):
    start = time.monotonic()
    while not stop_event.is_set():
        target = int(rate * (time.monotonic() - start))
        for s in streams:
            s.write_up_to(target)
        time.sleep(tick)


def drain(streams, stop_event):
    by_fd = {s.sink_fd: s for s in streams}
    while not stop_event.is_set():
        ready, _, _ = select.select(list(by_fd), [], [], 0.05)
        for fd in ready:
            try:
                data = os.read(fd, 262144)
            except (BlockingIOError, InterruptedError):
                continue
            except OSError as e:
                if e.errno == errno.EIO:
                    continue
                raise
            by_fd[fd].take(data)


def discard(fds, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        ready, _, _ = select.select(fds, [], [], 0.05)
        for fd in ready:
            try:
                os.read(fd, 262144)
            except OSError:
                pass


def start_communication(program, pair_a, pair_b):
    """F5, then a probe line must come through in both directions."""
    for _ in range(5):
        program.key("F5")
        time.sleep(0.5)
        os.write(pair_a.far_fd, b"probe\r\n")
        os.write(pair_b.far_fd, b"probe\r\n")
        seen = {pair_a.far_fd: b"", pair_b.far_fd: b""}
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline and not all(b"probe" in v for v in seen.values()):
            ready, _, _ = select.select(list(seen), [], [], 0.1)
            for fd in ready:
                try:
                    seen[fd] += os.read(fd, 4096)
                except OSError:
                    pass
        if all(b"probe" in v for v in seen.values()):
            discard(list(seen), 0.5)
            return True
    return False


def run_traffic(tmp, formatted, rate, seconds, rss_every=1.0, quiet=False):
    pair_a = PtyPair(tmp, "a")
    pair_b = PtyPair(tmp, "b")
    program = None
    result = {}
    try:
        program = Program(tmp, formatted, pair_a, pair_b)
        time.sleep(1.0)
        if not start_communication(program, pair_a, pair_b):
            sys.exit("communication did not start (F5 sent, nothing forwarded):\n" + program.output())
        a_to_b = Stream(pair_a.far_fd, pair_b.far_fd, make_pattern(False))
        b_to_a = Stream(pair_b.far_fd, pair_a.far_fd, make_pattern(True))
        streams = [a_to_b, b_to_a]
        watched = {"corvane": [program.pid], "Xvfb": [program.xvfb_pid],
                   "socat": [pair_a.process.pid, pair_b.process.pid]}
        load_before = open("/proc/loadavg").read().split()[0]
        cpu_before = {k: sum(cpu_seconds(p) for p in v) for k, v in watched.items()}
        rss = [(0.0, rss_kib(program.pid))]
        backlog_max = 0
        stop_feed = threading.Event()
        stop_read = threading.Event()
        reader = threading.Thread(target=drain, args=(streams, stop_read), daemon=True)
        writer = threading.Thread(target=feed, args=(streams, rate, stop_feed), daemon=True)
        reader.start()
        started = time.monotonic()
        writer.start()
        next_rss = started + rss_every
        while time.monotonic() - started < seconds:
            time.sleep(0.1)
            backlog_max = max(backlog_max, max(s.sent - s.received for s in streams))
            now = time.monotonic()
            if now >= next_rss:
                rss.append((now - started, rss_kib(program.pid)))
                next_rss += rss_every
                if not quiet and rss_every >= 10:
                    print("  %5.0f s  RSS %d KiB" % (now - started, rss[-1][1]), flush=True)
        stop_feed.set()
        writer.join()
        fed = time.monotonic() - started
        cpu_fed = {k: sum(cpu_seconds(p) for p in v) - cpu_before[k] for k, v in watched.items()}
        stopped = time.monotonic()
        drained = None
        while time.monotonic() - stopped < 15:
            if all(s.received >= s.sent for s in streams):
                drained = time.monotonic() - stopped
                break
            time.sleep(0.01)
        time.sleep(0.3)
        stop_read.set()
        reader.join()
        rss.append((time.monotonic() - started, rss_kib(program.pid)))
        text = program.window_text()
        result = {
            "fed_seconds": fed, "streams": streams, "backlog_max": backlog_max, "drained": drained,
            "cpu": {k: 100.0 * v / fed for k, v in cpu_fed.items()}, "rss": rss,
            "overflow_in_window": None if not text else (OVERFLOW_TEXT in text),
            "window_chars": len(text) if text else 0,
            "load": (load_before, open("/proc/loadavg").read().split()[0]),
            "alive": program.process.poll() is None and os.path.exists("/proc/%d" % program.pid),
            "pass_stats": None,
        }
        # With CORVANE_PASS_STATS set, the program prints its main loop pass statistics when the
        # loop ends, so it is closed through its menu instead of being terminated.
        if os.environ.get("CORVANE_PASS_STATS") and result["alive"]:
            if program.close_gracefully():
                lines = [line for line in program.output().splitlines() if "main loop passes" in line]
                result["pass_stats"] = lines[-1] if lines else "no statistics line"
            else:
                result["pass_stats"] = "the program did not close by itself"

    finally:
        if program:
            program.stop()
        pair_a.close()
        pair_b.close()
    return result


def report_traffic(label, rate, r):
    streams = r["streams"]
    sent = sum(s.sent for s in streams)
    received = sum(s.received for s in streams)
    reached = [s.sent / r["fed_seconds"] for s in streams]
    intact = all(s.mismatch_at < 0 for s in streams)
    lost = sum(max(0, s.sent - s.received) for s in streams)
    kept_up = (r["drained"] is not None and intact and min(reached) >= 0.97 * rate and lost == 0
               and not r["overflow_in_window"])
    rss_values = [v for _, v in r["rss"]]
    print("%s, %s each way, %.0f s: %s" % (label, rate_text(rate), r["fed_seconds"],
                                            "KEPT UP" if kept_up else "DID NOT KEEP UP"))
    print("  written %.0f / %.0f B/s (A->B / B->A), writer stalls %d / %d" % (
        reached[0], reached[1], streams[0].stalls, streams[1].stalls))
    print("  forwarded %d of %d bytes, %s, %d lost" % (
        received, sent, "content intact" if intact else
        "content differs at byte %s" % [s.mismatch_at for s in streams], lost))
    print("  largest backlog %d bytes (%.2f s of input), drained %s after the writers stopped" % (
        r["backlog_max"], r["backlog_max"] / rate,
        "%.2f s" % r["drained"] if r["drained"] is not None else "NOT within 15 s"))
    print("  CPU of one core: corvane %.1f %%, Xvfb %.1f %%, socat (both) %.1f %%" % (
        r["cpu"]["corvane"], r["cpu"]["Xvfb"], r["cpu"]["socat"]))
    print("  corvane RSS: at start %d KiB, max %d KiB, at the end %d KiB" % (
        rss_values[0], max(rss_values), rss_values[-1]))
    window = r["overflow_in_window"]
    print("  window text (%d chars): %s" % (
        r["window_chars"], "not readable" if window is None else
        ("'%s' FOUND" % OVERFLOW_TEXT) if window else "no '%s'" % OVERFLOW_TEXT))
    print("  machine load average (1 min) at the start and the end: %s, %s" % r["load"])
    if not r["alive"]:
        print("  corvane was no longer running at the end")
    if r.get("pass_stats"):
        print("  " + r["pass_stats"])
    sys.stdout.flush()


def bench_traffic(tmp):
    for fmt in ARGS.formats.split(","):
        for rate_spec in ARGS.rates.split(","):
            rate = parse_rate(rate_spec)
            r = run_traffic(tmp, fmt == "formatted", rate, ARGS.seconds)
            report_traffic(fmt, rate, r)


def bench_memory(tmp):
    rate = parse_rate(ARGS.rate)
    seconds = int(ARGS.minutes * 60)
    print("memory: plain text, %s each way, %d s, RSS every 10 s" % (rate_text(rate), seconds), flush=True)
    r = run_traffic(tmp, False, rate, seconds, rss_every=10.0)
    report_traffic("memory run, plain", rate, r)
    rss = r["rss"]
    warm = [v for t, v in rss if t >= ARGS.warmup]
    if warm:
        base = warm[0]
        print("  RSS after %d s warm-up %d KiB; later max %d KiB, at the end %d KiB: growth %+d KiB (max %+d KiB)" % (
            ARGS.warmup, base, max(warm), warm[-1], warm[-1] - base, max(warm) - base))
        print("  samples (s: KiB): " + ", ".join("%.0f: %d" % (t, v) for t, v in rss))


def bench_idle(tmp):
    """CPU of corvane with nothing arriving: communication stopped, then running (F5)."""
    pair_a = PtyPair(tmp, "a")
    pair_b = PtyPair(tmp, "b")
    program = None
    try:
        program = Program(tmp, False, pair_a, pair_b)
        time.sleep(2.0)
        seconds = ARGS.seconds
        before = cpu_seconds(program.pid)
        time.sleep(seconds)
        stopped = 100.0 * (cpu_seconds(program.pid) - before) / seconds
        if not start_communication(program, pair_a, pair_b):
            sys.exit("communication did not start (F5 sent, nothing forwarded):\n" + program.output())
        time.sleep(1.0)
        before = cpu_seconds(program.pid)
        time.sleep(seconds)
        running = 100.0 * (cpu_seconds(program.pid) - before) / seconds
        print("idle, %.0f s each, load average %s: corvane %.2f %% of one core with communication stopped, "
              "%.2f %% with communication running and nothing arriving" % (
                  seconds, open("/proc/loadavg").read().split()[0], stopped, running))
    finally:
        if program:
            program.stop()
        pair_a.close()
        pair_b.close()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--corvane", required=True)
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--rates", default="100k,300k,1M")
    parser.add_argument("--formats", default="plain,formatted")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--rate", default="100k")
    parser.add_argument("--warmup", type=float, default=60, help="seconds of the memory run taken as warm-up")
    parser.add_argument("what", choices=["traffic", "memory", "idle", "all"])
    ARGS = parser.parse_args()
    for tool in ("socat", "xvfb-run", "xdotool"):
        if shutil.which(tool) is None:
            sys.exit("%s is missing (Debian: apt-get install %s)" % (
                tool, {"xvfb-run": "xvfb"}.get(tool, tool)))
    with tempfile.TemporaryDirectory(prefix="corvane-guibench-") as tmp:
        if ARGS.what in ("traffic", "all"):
            bench_traffic(tmp)
        if ARGS.what in ("memory", "all"):
            bench_memory(tmp)
        if ARGS.what in ("idle", "all"):
            bench_idle(tmp)


if __name__ == "__main__":
    main()
