#!/usr/bin/env python3
"""Benchmarks of corvane-cli as a whole program.

  latency  answer latency through a pseudo-terminal: the far side writes a request, corvane-cli
           detects it with a receive sequence and sends the answer; the time from the write to
           the last answer byte read back (p50, p99, max over --trials)
  idle     CPU used by corvane-cli while communication runs and nothing arrives
  memory   resident memory while the PingPong sample runs on the loopback port for --seconds

Usage: cli_bench.py --cli build/bin/corvane-cli [--trials N] [--seconds S] latency|idle|memory|all
"""

import argparse
import os
import select
import subprocess
import sys
import tempfile
import time
import tty

ARGS = None


def write_project(path, port, request, answer):
    def hexs(data):
        return " ".join("%02X" % b for b in data)
    lines = ["VERSION", "8", "", "COMMSETTINGS", "0", port, "COM2", "115200", "2", "63", "4", "0", "0", "",
             "COMMDISPLAY", "0", "", "LUMOTAP", "0", "", "SEND", "0", "Answer", hexs(answer), "0", "5", "",
             "RECEIVE", "0", "Request", hexs(request), "0", "1", "COMMENT ", "0", "0", "0", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def environment(tmp):
    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(tmp, "config")
    return env


def start_on_pty(tmp, extra=()):
    master, slave = os.openpty()
    tty.setraw(slave)
    tty.setraw(master)
    device = os.ttyname(slave)
    project = os.path.join(tmp, "bench.ptp")
    write_project(project, "COM30", b"REQ1", b"ANS1")
    process = subprocess.Popen([ARGS.cli, "--port", "COM30=" + device, *extra, project], env=environment(tmp),
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(1.0)
    if process.poll() is not None:
        sys.exit("corvane-cli ended: " + process.stderr.read().decode())
    return process, master, slave


def stop(process):
    process.terminate()
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def read_exactly(fd, count, timeout):
    data = b""
    deadline = time.perf_counter() + timeout
    while len(data) < count:
        remaining = deadline - time.perf_counter()
        if remaining <= 0:
            return data
        ready, _, _ = select.select([fd], [], [], remaining)
        if ready:
            data += os.read(fd, count - len(data))
    return data


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def bench_latency(tmp):
    process, master, slave = start_on_pty(tmp, ["--quiet"])
    try:
        samples = []
        lost = 0
        for _ in range(ARGS.trials):
            start = time.perf_counter()
            os.write(master, b"REQ1")
            got = read_exactly(master, 4, 1.0)
            end = time.perf_counter()
            if got != b"ANS1":
                lost += 1
                continue
            samples.append((end - start) * 1e6)
            time.sleep(0.002)
        print("latency: %d trials, %d without answer" % (ARGS.trials, lost))
        if samples:
            print("  p50 %.0f us, p90 %.0f us, p99 %.0f us, max %.0f us" % (
                percentile(samples, 50), percentile(samples, 90), percentile(samples, 99), max(samples)))
        # The same round trip without corvane-cli: a bare echo through a second pty pair, to show
        # what the pseudo-terminals and this script cost by themselves.
        m2, s2 = os.openpty()
        tty.setraw(m2)
        tty.setraw(s2)
        bare = []
        for _ in range(min(ARGS.trials, 500)):
            start = time.perf_counter()
            os.write(m2, b"REQ1")
            read_exactly(s2, 4, 1.0)
            os.write(s2, b"ANS1")
            read_exactly(m2, 4, 1.0)
            bare.append((time.perf_counter() - start) * 1e6)
        print("  bare pty round trip in this script: p50 %.0f us, p99 %.0f us" % (
            percentile(bare, 50), percentile(bare, 99)))
        os.close(m2)
        os.close(s2)
    finally:
        stop(process)
        os.close(master)
        os.close(slave)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def bench_idle(tmp):
    process, master, slave = start_on_pty(tmp)
    try:
        seconds = min(ARGS.seconds, 20)
        before = cpu_seconds(process.pid)
        time.sleep(seconds)
        used = cpu_seconds(process.pid) - before
        print("idle: communication running on a pty, nothing arriving, %d s: %.1f %% of one core" % (
            seconds, 100.0 * used / seconds))
    finally:
        stop(process)
        os.close(master)
        os.close(slave)


def bench_memory(tmp):
    samples_dir = os.path.join(os.path.dirname(os.path.abspath(ARGS.cli)), "Samples")
    process = subprocess.Popen([ARGS.cli, "--send", "Ping", "--quiet", os.path.join(samples_dir, "PingPong.ptp")],
                               env=environment(tmp), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        time.sleep(1.0)
        readings = []
        start_cpu = cpu_seconds(process.pid)
        for _ in range(ARGS.seconds):
            readings.append(rss_kib(process.pid))
            time.sleep(1.0)
        used = cpu_seconds(process.pid) - start_cpu
        print("memory: PingPong on the loopback port for %d s: RSS after 1 s %d KiB, max %d KiB, at the end %d KiB"
              % (ARGS.seconds, readings[0], max(readings), readings[-1]))
        print("  CPU while playing ping-pong: %.1f %% of one core" % (100.0 * used / ARGS.seconds))
    finally:
        stop(process)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--trials", type=int, default=2000)
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("what", choices=["latency", "idle", "memory", "all"])
    ARGS = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="corvane-bench-") as tmp:
        if ARGS.what in ("latency", "all"):
            bench_latency(tmp)
        if ARGS.what in ("idle", "all"):
            bench_idle(tmp)
        if ARGS.what in ("memory", "all"):
            bench_memory(tmp)


if __name__ == "__main__":
    main()
