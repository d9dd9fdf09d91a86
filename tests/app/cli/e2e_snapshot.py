#!/usr/bin/env python3
"""corvane-cli --snapshot against a device played on a pseudo-terminal: a flood of lines, a trigger
frame, another flood. Every wait is bounded; every process started here is ended here."""

import argparse
import os
import select
import subprocess
import sys
import tempfile
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_cli import check, fail  # noqa: E402

TRIGGER = b"\x02TRG\x03"
TRIGGER_HEX = "02 54 52 47 03 "


def write_project(path, trigger_flag):
    lines = ["VERSION", "8", "", "COMMSETTINGS", "0", "COM77", "COM2", "115200", "2", "63", "4", "0", "0", "",
             "COMMDISPLAY", "0", "", "LUMOTAP", "0", "",
             "RECEIVE", "0", "Trigger", "02 54 52 47 03", "-1", "1", "COMMENT trigger seen", "0",
             str(trigger_flag), "0", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


def lines(start, count):
    out = bytearray()
    for i in range(start, start + count):
        out += ("line %d of the traffic" % i).ljust(48, ".").encode() + b"\r\n"
    return bytes(out)


class Run:
    def __init__(self, cli, tmp, project, extra):
        self.master, slave = os.openpty()
        tty.setraw(slave)
        os.set_blocking(self.master, False)
        self.device = os.ttyname(slave)
        self.slave = slave
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = os.path.join(tmp, "config")
        env["HOME"] = tmp
        env["LC_ALL"] = "C"
        env.pop("DISPLAY", None)
        self.out = open(os.path.join(tmp, "out.txt"), "w+b")
        self.err = open(os.path.join(tmp, "err.txt"), "w+b")
        self.process = subprocess.Popen([cli, "--snapshot", "--port", "COM77=" + self.device] + extra + [project],
                                         env=env, stdout=self.out, stderr=self.err)

    def feed(self, data, deadline):
        """Writes as the line takes it, until the program ends or the deadline passes."""
        done = 0
        while done < len(data) and time.time() < deadline and self.process.poll() is None:
            _, writable, _ = select.select([], [self.master], [], 0.05)
            if writable:
                try:
                    done += os.write(self.master, data[done:done + 4096])
                except BlockingIOError:
                    pass
        return done

    def finish(self, timeout=30):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            fail("corvane-cli did not end")
        os.close(self.master)
        os.close(self.slave)
        self.out.seek(0)
        self.err.seek(0)
        return self.process.returncode, self.out.read().decode("latin-1"), self.err.read().decode("latin-1")


def case_snapshot(args, tmp):
    project = os.path.join(tmp, "Rig.ptp")
    write_project(project, 1)
    run = Run(args.cli, tmp, project, ["--view", "hex"])
    time.sleep(0.5)
    deadline = time.time() + 30
    check(run.feed(lines(0, 4000), deadline) == 4000 * 50, "the first 200 kB were not taken")
    check(run.feed(TRIGGER, deadline) == len(TRIGGER), "the trigger was not taken")
    run.feed(lines(4000, 4000), deadline)
    code, out, err = run.finish()
    check(code == 0, "exit status %d, stderr: %s" % (code, err))
    check("Snapshot complete" in err, "no 'Snapshot complete' on standard error: " + err)
    at = out.find(TRIGGER_HEX)
    check(at >= 0, "the trigger is not in the output")
    before = len(out[:at].replace("\n", ""))
    after = len(out[at + len(TRIGGER_HEX):].replace("\n", ""))
    # The newest history, 56000 to 64000 characters, then what was written from the trigger on:
    # a little more than 64000 characters. The data of up to two blocks (4106 bytes each) already
    # in the data output at the trigger is written after it but ends before the trigger frame.
    block = 4106 * 3
    check(56000 <= before <= 64000 + 2 * block, "history of %d characters" % before)
    check(64000 - 2 * block < after <= 64000 + 2 * block, "%d characters after the trigger" % after)
    check(56000 + 64000 <= before + len(TRIGGER_HEX) + after <= 2 * 64000 + 2 * block,
          "%d characters in all" % (before + after))
    # "line 7999 " never arrives: communication stopped long before.
    check("6C 69 6E 65 20 37 39 39 39 20" not in out, "data after the snapshot was printed")
    byte = int(err.split("byte ")[1].split()[0])
    check(out.encode("latin-1")[:byte].endswith(TRIGGER_HEX.encode()), "the reported trigger position is wrong")


def case_no_trigger(args, tmp):
    project = os.path.join(tmp, "NoTrigger.ptp")
    write_project(project, 0)
    run = Run(args.cli, tmp, project, [])
    code, out, err = run.finish(timeout=15)
    check(code == 1, "exit status %d" % code)
    check('You must define and activate at least one Receive Sequence with the "Trigger" option enabled' in err,
          "message missing: " + err)
    check(out == "", "output without a snapshot: " + out[:200])


def case_stopped_before_trigger(args, tmp):
    project = os.path.join(tmp, "Rig.ptp")
    write_project(project, 1)
    run = Run(args.cli, tmp, project, ["--duration", "1"])
    time.sleep(0.3)
    run.feed(lines(0, 100), time.time() + 5)
    code, out, err = run.finish(timeout=15)
    check(code == 5, "exit status %d, stderr: %s" % (code, err))
    check("no snapshot" in err, "no report on standard error: " + err)
    check("Snapshot complete" not in err, "a snapshot reported complete")
    check(out.strip() == "", "the history was printed without a trigger")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--samples")
    parser.add_argument("case")
    args = parser.parse_args()
    cases = {"snapshot": case_snapshot, "no_trigger": case_no_trigger,
             "stopped_before_trigger": case_stopped_before_trigger}
    with tempfile.TemporaryDirectory() as tmp:
        cases[args.case](args, tmp)
    print("ok")


if __name__ == "__main__":
    main()
