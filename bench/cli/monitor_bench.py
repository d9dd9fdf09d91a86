#!/usr/bin/env python3
"""Monitoring throughput: corvane-cli --quiet in "Monitoring (Receive Only)" between two
pseudo-terminals, fed at full speed in both directions, beside socat doing the same forwarding.

Two pseudo-terminal pairs stand for the two lines. The forwarder (socat, then corvane-cli) opens
the device sides; this script writes a pseudo-random stream into the far end of each line as fast
as the line takes it and reads what the forwarder passes to the other far end, comparing every
byte with what went in (so a lost, changed or reordered byte shows as a mismatch at its offset).
It reports the time, the rate each way, the forwarder's CPU (utime + stime from /proc, all
threads, 100 % = one core) and its resident memory at the start, the largest and at the end.

--forwarders takes socat, corvane (the --cli program) and LABEL=PATH for another corvane-cli (an
earlier build, say), in the order given.

--soak is the long run: corvane-cli alone, 1000 MB each way unless --megabytes says otherwise, its
RSS sampled every second and compared after a warm-up (--warmup seconds), and whatever it wrote on
standard error (forwarding losses and line reports go there with --quiet too) shown at the end.

Usage: monitor_bench.py --cli build/bin/corvane-cli [--megabytes 100] [--forwarders socat,corvane]
       monitor_bench.py --cli build/bin/corvane-cli --soak [--megabytes 1000] [--warmup 10]
"""

import argparse
import os
import random
import select
import subprocess
import sys
import tempfile
import time
import tty

CHUNK = 65536
PERIOD = 1000003  # bytes of the repeated stream: a prime, so it never lines up with the chunks


def write_project(path):
    lines = ["VERSION", "8", "", "COMMSETTINGS", "1", "COM11", "COM12", "115200", "2", "63", "4", "0", "0", "",
             "COMMDISPLAY", "0", "", "LUMOTAP", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


class Stream:
    """One direction: what is written into one far end and expected at the other."""

    def __init__(self, seed, total):
        rng = random.Random(seed)
        block = bytes(rng.getrandbits(8) for _ in range(PERIOD))
        self.pattern = memoryview(block + block[:CHUNK])
        self.total = total
        self.written = 0
        self.read = 0
        self.mismatch = None

    def next_chunk(self):
        start = self.written % PERIOD
        return self.pattern[start:start + min(CHUNK, self.total - self.written)]

    def check(self, data):
        if self.mismatch is None:
            start = self.read % PERIOD
            if self.pattern[start:start + len(data)] != data:
                for i, byte in enumerate(data):
                    if byte != self.pattern[(self.read + i) % PERIOD]:
                        self.mismatch = self.read + i
                        break
        self.read += len(data)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def open_line():
    master, slave = os.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    os.set_blocking(master, False)
    return master, slave, os.ttyname(slave)


def probe(a, b, process):
    """Waits until a byte written on each far end comes out at the other."""
    deadline = time.monotonic() + 15
    for source, target in ((a, b), (b, a)):
        got = b""
        while b"p" not in got:
            if time.monotonic() > deadline or process.poll() is not None:
                return False
            os.write(source, b"p")
            if select.select([target], [], [], 0.2)[0]:
                got += os.read(target, 4096)
    time.sleep(0.3)
    for fd in (a, b):
        while select.select([fd], [], [], 0.05)[0]:
            os.read(fd, CHUNK)
    return True


def run(kind, args, tmp):
    a_master, a_slave, a_device = open_line()
    b_master, b_slave, b_device = open_line()
    if kind == "socat":
        command = ["socat", "-b%d" % CHUNK, "FILE:%s,raw,echo=0" % a_device, "FILE:%s,raw,echo=0" % b_device]
    else:
        project = os.path.join(tmp, "monitor.ptp")
        write_project(project)
        cli = args.cli if kind == "corvane" else kind.split("=", 1)[1]
        command = [cli, "--quiet", "--port", "COM11=" + a_device, "--port", "COM12=" + b_device, project]
    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(tmp, "config")
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        if not probe(a_master, b_master, process):
            sys.exit("%s does not forward: %s" % (kind, process.stderr.read().decode() if process.poll() else ""))
        total = args.megabytes * 1000000
        a_to_b = Stream(1, total)
        b_to_a = Stream(2, total)
        rss_start = rss_kib(process.pid)
        rss_max = rss_start
        rss_samples = []
        cpu_start = cpu_seconds(process.pid)
        started = time.monotonic()
        last_progress = started
        next_sample = started + 1
        while a_to_b.read < total or b_to_a.read < total:
            writers = [fd for fd, s in ((a_master, a_to_b), (b_master, b_to_a)) if s.written < total]
            readable, writable, _ = select.select([a_master, b_master], writers, [], 1.0)
            for fd, stream in ((a_master, a_to_b), (b_master, b_to_a)):
                if fd in writable:
                    try:
                        stream.written += os.write(fd, stream.next_chunk())
                    except BlockingIOError:
                        pass
            for fd, stream in ((b_master, a_to_b), (a_master, b_to_a)):
                if fd in readable:
                    try:
                        data = os.read(fd, CHUNK)
                    except BlockingIOError:
                        continue
                    stream.check(data)
                    last_progress = time.monotonic()
            now = time.monotonic()
            if now >= next_sample:
                rss_samples.append(rss_kib(process.pid))
                rss_max = max(rss_max, rss_samples[-1])
                next_sample = now + 1
            if now - last_progress > args.stall_seconds:
                break
        elapsed = time.monotonic() - started
        cpu = cpu_seconds(process.pid) - cpu_start
        rss_end = rss_kib(process.pid)
        rss_max = max(rss_max, rss_end)
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        for fd in (a_master, a_slave, b_master, b_slave):
            os.close(fd)
        stderr_text = process.stderr.read().decode("utf-8", "replace")
    return {"kind": kind, "elapsed": elapsed, "a_to_b": a_to_b, "b_to_a": b_to_a, "cpu": 100.0 * cpu / elapsed,
            "rss": (rss_start, rss_max, rss_end), "rss_samples": rss_samples, "total": total,
            "stderr": stderr_text}


def report(result):
    total = result["total"]
    for name, stream in (("A->B", result["a_to_b"]), ("B->A", result["b_to_a"])):
        lost = total - stream.read
        state = "intact" if stream.mismatch is None else "first wrong byte at %d" % stream.mismatch
        print("  %s: %d of %d bytes arrived (%d missing), %s" % (name, stream.read, total, lost, state))
    rate = 2 * total / result["elapsed"] / 1e6
    print("  %.1f s, %.1f MB/s each way (%.1f MB/s through the forwarder), CPU %.0f %% of one core" % (
        result["elapsed"], rate / 2, rate, result["cpu"]))
    print("  RSS %d KiB at the start, %d KiB at most, %d KiB at the end" % result["rss"])
    print("  RSS every second (KiB): " + " ".join(str(v) for v in result["rss_samples"]))


def report_soak(result, warmup):
    """Memory after the warm-up against the rest of the run, and what the forwarder reported."""
    samples = result["rss_samples"]
    warm = samples[int(warmup):] if len(samples) > warmup else samples[-1:]
    if warm:
        print("  RSS after %d s warm-up %d KiB; afterwards at most %d KiB, at the end %d KiB: growth %+d KiB "
              "(max %+d KiB)" % (warmup, warm[0], max(warm), warm[-1], warm[-1] - warm[0], max(warm) - warm[0]))
    intact = all(s.mismatch is None and s.read == result["total"] for s in (result["a_to_b"], result["b_to_a"]))
    print("  %s" % ("SOAK PASSED: every byte arrived, in order" if intact else "SOAK FAILED: bytes lost or wrong"))
    text = result["stderr"].strip()
    print("  standard error of the forwarder: %s" % (("\n    " + text.replace("\n", "\n    ")) if text else "empty"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--megabytes", type=int, default=None, help="per direction (100, or 1000 with --soak)")
    parser.add_argument("--forwarders", default="socat,corvane")
    parser.add_argument("--soak", action="store_true", help="the long run of corvane-cli alone")
    parser.add_argument("--warmup", type=float, default=10.0, help="seconds of the soak taken as warm-up")
    parser.add_argument("--stall-seconds", type=float, default=15.0,
                        help="give up when nothing arrived for this long")
    args = parser.parse_args()
    if args.megabytes is None:
        args.megabytes = 1000 if args.soak else 100
    if args.soak:
        args.forwarders = "corvane"
    results = []
    with tempfile.TemporaryDirectory(prefix="corvane-monitor-") as tmp:
        for kind in args.forwarders.split(","):
            print("%s: %d MB each way, load average %.2f" % (kind.split("=", 1)[0], args.megabytes,
                                                              os.getloadavg()[0]), flush=True)
            result = run(kind, args, tmp)
            report(result)
            if args.soak:
                report_soak(result, args.warmup)
                print("  load average at the end %.2f" % os.getloadavg()[0])
            results.append(result)
    times = {r["kind"].split("=", 1)[0]: r["elapsed"] for r in results}
    if "socat" in times:
        for kind, elapsed in times.items():
            if kind != "socat":
                print("%s time / socat time: %.2f" % (kind, elapsed / times["socat"]))


if __name__ == "__main__":
    main()
