#!/usr/bin/env python3
"""Answer latency of corvane-cli beside two reference answerers, measured side by side in one run.

One client program (answer_client.c) plays the device that asks: on a pseudo-terminal it writes
the frame 02 nn 03 and times how long the answer 06 takes. Three answerers take turns on the
device side of a fresh pseudo-terminal each:

  c-echo    answer_echo.c, a C program that answers every frame: the floor, what the
            pseudo-terminal and the scheduler cost by themselves
  script    answer_matcher.py, a small Python script that matches the frame with a regular
            expression
  corvane   corvane-cli --quiet with a "Send/Receive" project whose receive sequence 02 ?? 03
            answers with the send sequence 06

The answerers take turns round by round (--rounds, each of --trials trials), so a change in the
machine's load affects all three alike. At the end it prints p50, p90, p99 and max of each over
all rounds, and the ratios the targets are stated in: corvane's p50 over the script's p50 and
corvane's p99 over the C echo's p99.

--compare LABEL=PATH adds another corvane-cli (an earlier build, say) to the same rounds.

Usage: answer_latency.py --cli build/bin/corvane-cli [--rounds 3] [--trials 2000] [--gap-us 2000]
                         [--compare LABEL=PATH]...
"""

import argparse
import os
import select
import subprocess
import sys
import tempfile
import time
import tty

HERE = os.path.dirname(os.path.abspath(__file__))


def build_c_programs(tmp):
    programs = {}
    for name in ("answer_client", "answer_echo"):
        target = os.path.join(tmp, name)
        subprocess.run(["cc", "-O2", "-o", target, os.path.join(HERE, name + ".c")], check=True)
        programs[name] = target
    return programs


def write_project(path):
    lines = ["VERSION", "8", "", "COMMSETTINGS", "0", "COM30", "COM2", "115200", "2", "63", "4", "0", "0", "",
             "COMMDISPLAY", "0", "", "LUMOTAP", "0", "", "SEND", "0", "Ack", "06", "0", "5", "",
             "RECEIVE", "0", "Frame", "02 ?? 03", "0", "1", "COMMENT ", "0", "0", "0", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode())


def answerer_command(kind, device, args, programs, project):
    if kind == "c-echo":
        return [programs["answer_echo"], device]
    if kind == "script":
        return [sys.executable, os.path.join(HERE, "answer_matcher.py"), device]
    cli = args.cli if kind == "corvane" else dict(args.compare)[kind]
    return [cli, "--quiet", "--port", "COM30=" + device, project]


def wait_until_answering(master, process, seconds=10.0):
    """Sends probe frames until an answer comes back, then drains what is left."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return False
        os.write(master, b"\x02\x00\x03")
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready and b"\x06" in os.read(master, 4096):
            time.sleep(0.2)
            while select.select([master], [], [], 0.05)[0]:
                os.read(master, 4096)
            return True
    return False


def run_turn(kind, args, programs, project, env):
    master, slave = os.openpty()
    tty.setraw(master)
    tty.setraw(slave)
    device = os.ttyname(slave)
    process = subprocess.Popen(answerer_command(kind, device, args, programs, project), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        if not wait_until_answering(master, process):
            sys.exit("%s does not answer: %s" % (kind, process.stderr.read().decode() if process.poll() is not None else ""))
        client = subprocess.run([programs["answer_client"], str(master), str(args.trials), str(args.gap_us)],
                                pass_fds=(master,), capture_output=True, text=True, check=True)
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        os.close(master)
        os.close(slave)
    lines = client.stdout.split()
    samples = [float(line) for line in lines if line != "lost"]
    return samples, len(lines) - len(samples)


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def summary(values):
    return {"p50": percentile(values, 50), "p90": percentile(values, 90), "p99": percentile(values, 99),
            "max": max(values)}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--trials", type=int, default=2000)
    parser.add_argument("--gap-us", type=int, default=2000)
    parser.add_argument("--compare", action="append", default=[], type=lambda text: tuple(text.split("=", 1)),
                        metavar="LABEL=PATH")
    args = parser.parse_args()
    kinds = ["c-echo", "script", "corvane"] + [label for label, _ in args.compare]
    with tempfile.TemporaryDirectory(prefix="corvane-latency-") as tmp:
        programs = build_c_programs(tmp)
        project = os.path.join(tmp, "answer.ptp")
        write_project(project)
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = os.path.join(tmp, "config")  # default options, nothing of the user's
        samples = {kind: [] for kind in kinds}
        lost = {kind: 0 for kind in kinds}
        for round_number in range(1, args.rounds + 1):
            line = []
            for kind in kinds:
                values, missing = run_turn(kind, args, programs, project, env)
                samples[kind] += values
                lost[kind] += missing
                line.append("%s p50 %.0f p99 %.0f" % (kind, percentile(values, 50), percentile(values, 99)))
            print("round %d: %s (us)" % (round_number, ", ".join(line)), flush=True)
    print()
    print("%-10s %8s %8s %8s %8s %6s  (us, %d rounds x %d trials, load average %.2f)" % (
        "", "p50", "p90", "p99", "max", "lost", args.rounds, args.trials, os.getloadavg()[0]))
    stats = {}
    for kind in kinds:
        stats[kind] = summary(samples[kind])
        s = stats[kind]
        print("%-10s %8.0f %8.0f %8.0f %8.0f %6d" % (kind, s["p50"], s["p90"], s["p99"], s["max"], lost[kind]))
    print()
    p50_ratio = stats["corvane"]["p50"] / stats["script"]["p50"]
    p99_ratio = stats["corvane"]["p99"] / stats["c-echo"]["p99"]
    print("corvane p50 / script p50: %.2f (target at most 1.2)" % p50_ratio)
    print("corvane p99 / c-echo p99: %.2f (target at most 2)" % p99_ratio)
    print("corvane p50 / c-echo p50: %.2f" % (stats["corvane"]["p50"] / stats["c-echo"]["p50"]))


if __name__ == "__main__":
    main()
