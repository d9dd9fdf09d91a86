#!/usr/bin/env python3
"""End-to-end tests of corvane-cli with real peers: the built-in loopback port, socat
pseudo-terminal pairs standing in for serial cables, and mbpoll as a Modbus RTU master.

Every wait is bounded; every process started here is ended here."""

import argparse
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

ARGS = None


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def hex_of(data):
    return " ".join("%02X" % b for b in data)


def crc16_modbus(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return bytes([crc & 0xFF, crc >> 8])


def write_project(path, mode, channel_a, channel_b, sends, receives, baud=9600):
    """A version 8 project file. sends: (name, bytes); receives: (name, bytes, answer, comment, stop)."""
    lines = ["VERSION", "8", "", "COMMSETTINGS", str(mode), channel_a, channel_b, str(baud), "2", "63", "4",
             "0", "0", "", "COMMDISPLAY", "0", "", "LUMOTAP", "0", ""]
    for i, (name, data) in enumerate(sends):
        lines += ["SEND", str(i), name, hex_of(data), "0", "5", ""]
    for j, (name, data, answer, comment, stop) in enumerate(receives):
        lines += ["RECEIVE", str(j), name, hex_of(data), str(answer), "1", "COMMENT " + comment, "0", "0",
                  "1" if stop else "0", "0", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


class Environment:
    """A private settings folder, so the user's options don't change the output."""

    def __init__(self, tmp):
        self.env = dict(os.environ)
        self.env["XDG_CONFIG_HOME"] = os.path.join(tmp, "config")
        self.env["HOME"] = tmp
        self.env["LC_ALL"] = "C"
        self.env.pop("DISPLAY", None)


def run_cli(env, args, timeout=20):
    return subprocess.run([ARGS.cli] + args, env=env.env, capture_output=True, timeout=timeout)


def start_cli(env, args):
    return subprocess.Popen([ARGS.cli] + args, env=env.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def stop_process(process, sig=signal.SIGTERM, timeout=10):
    if process.poll() is None:
        process.send_signal(sig)
    try:
        out, err = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        out, err = process.communicate()
        fail("process did not stop within %d s" % timeout)
    return process.returncode, (out or b"").decode("utf-8", "replace"), (err or b"").decode("utf-8", "replace")


class PtyPair:
    """Two linked pseudo-terminals made by socat; ends are symbolic links in tmp."""

    def __init__(self, tmp, name):
        self.a = os.path.join(tmp, name + "-a")
        self.b = os.path.join(tmp, name + "-b")
        self.process = subprocess.Popen(
            ["socat", "pty,raw,echo=0,link=" + self.a, "pty,raw,echo=0,link=" + self.b],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 5
        while not (os.path.exists(self.a) and os.path.exists(self.b)):
            if time.time() > deadline:
                self.close()
                fail("socat did not create the pty pair")
            time.sleep(0.02)
        self.device_a = os.path.realpath(self.a)
        self.device_b = os.path.realpath(self.b)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def wait_until_open(process, seconds=1.5):
    """corvane-cli opens its ports right at start; give it the time and make sure it still runs."""
    time.sleep(seconds)
    if process.poll() is not None:
        code, out, err = stop_process(process)
        fail("corvane-cli ended early with %d: %s" % (code, err))


def case_loopback_pingpong(tmp, env):
    samples = os.path.join(os.path.dirname(ARGS.cli), "Samples")
    check(os.path.isfile(os.path.join(samples, "PingPong.ptp")), "Samples folder beside corvane-cli")
    check(os.path.isfile(os.path.join(samples, "ModemDiagnostics.ptp")), "ModemDiagnostics sample")
    log_base = os.path.join(tmp, "pingpong")
    result = run_cli(env, ["--send", "Ping", "--duration", "2", "--log", log_base, "--log-views", "ascii,hex",
                           os.path.join(ARGS.samples, "PingPong.ptp")])
    out = result.stdout.decode("utf-8", "replace")
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, result.stderr))
    check("[TX] - Ping<CR><LF>" in out, "the sent Ping is shown:\n" + out[:500])
    check("[RX] - Pong<CR><LF>" in out, "the looped-back Pong is shown")
    check(out.count("<- Pong received, answering Ping") >= 3, "Ping and Pong keep answering each other")
    check("\x1b[" not in out, "no colours when standard output is not a terminal")
    with open(log_base + "_asc.txt", "rb") as f:
        ascii_log = f.read().decode("cp1252")
    with open(log_base + "_hex.txt", "rb") as f:
        hex_log = f.read().decode("cp1252")
    check("[RX] - Pong<CR><LF>" in ascii_log, "ASCII log holds the traffic")
    check("50 6F 6E 67 0D 0A" in hex_log, "HEX log holds the traffic")
    check(not os.path.exists(log_base + "_dec.txt"), "only the chosen views are logged")

    html_base = os.path.join(tmp, "html")
    result = run_cli(env, ["--send", "1", "--duration", "0.5", "--view", "bin", "--log", html_base, "--html",
                           os.path.join(ARGS.samples, "PingPong.ptp")])
    out = result.stdout.decode("utf-8", "replace")
    check(result.returncode == 0, "binary view with HTML log")
    check("[TX] - 01010000 01101111 01101110 01100111 00001101 00001010" in out, "binary view:\n" + out[:300])
    with open(html_base + "_bin.htm", "rb") as f:
        html = f.read().decode("cp1252")
    check("01010000 01101111" in html and "<" in html, "HTML log of the binary view")

    modem = run_cli(env, ["--send", "Loopback test: ERROR", "--send", "11", "--duration", "1",
                          os.path.join(ARGS.samples, "ModemDiagnostics.ptp")])
    out = modem.stdout.decode("utf-8", "replace")
    check(modem.returncode == 0, "ModemDiagnostics runs")
    check("Modem reported an ERROR - check the last command" in out, "ERROR detected:\n" + out)
    check("Modem answered OK" in out, "OK detected")
    check(out.index("Modem reported an ERROR") < out.index("Modem answered OK"), "sends go in order")


def case_usage_and_exit_status(tmp, env):
    check(run_cli(env, []).returncode == 2, "no project is a usage error")
    check(run_cli(env, ["--view", "octal", "x.ptp"]).returncode == 2, "unknown view")
    check(run_cli(env, ["--duration", "-1", "x.ptp"]).returncode == 2, "negative duration")
    check(run_cli(env, ["--port", "COM0=/dev/null", "x.ptp"]).returncode == 2, "COM0")
    check(run_cli(env, [os.path.join(tmp, "missing.ptp")]).returncode == 2, "missing project")
    helped = run_cli(env, ["--help"])
    check(helped.returncode == 0 and b"--log-views" in helped.stdout, "--help documents the options")

    garbage = os.path.join(tmp, "garbage.ptp")
    with open(garbage, "wb") as f:
        f.write(b"\x00\xff not a project\r\n")
    result = run_cli(env, [garbage])
    check(result.returncode == 2, "a malformed project is a project error")
    check(b"Error while opening the project file" in result.stderr, "the loader's message on stderr")

    unknown_send = run_cli(env, ["--send", "Nope", os.path.join(ARGS.samples, "PingPong.ptp")])
    check(unknown_send.returncode == 2 and b"no send sequence \"Nope\"" in unknown_send.stderr, "unknown --send")

    missing_port = os.path.join(tmp, "missing_port.ptp")
    write_project(missing_port, 0, "COM9", "COM2", [], [])
    result = run_cli(env, ["--port", "COM9=" + os.path.join(tmp, "no-such-device"), missing_port])
    check(result.returncode == 1, "a port that cannot be opened gives 1, not %d" % result.returncode)
    check(b"The communication port COM9 could not be opened. " in result.stderr,
          "the start message on stderr: " + result.stderr.decode())

    listing = run_cli(env, ["--list", os.path.join(ARGS.samples, "ModemDiagnostics.ptp")])
    text = listing.stdout.decode("utf-8", "replace")
    check(listing.returncode == 0, "--list")
    for line in ["Project Settings", "Send/Receive on channel: COM256", "Baud Rate: 9600",
                 "Parity Error character: 63 ('?')", "Data Bits:8", "Flow Control: No Handshaking",
                 "10 - AT periodic check", "Repeat sequence every 10 seconds", "0 - OK",
                 "After receiving the sequence, insert comment: Modem answered OK", "Line break after comment",
                 "Use as a trigger when taking a snapshot"]:
        check(line in text, "listing line '%s' in:\n%s" % (line, text))

    stopping = os.path.join(tmp, "stopping.ptp")
    write_project(stopping, 0, "COM256", "COM2", [("Bye", b"bye\r\n")], [("Bye", b"bye", -1, "seen", True)])
    result = run_cli(env, ["--send", "Bye", "--duration", "10", stopping])
    out = result.stdout.decode()
    check(result.returncode == 0, "a stop by a receive sequence is a normal stop")
    check('Communication stopped by receive sequence "Bye".' in out, "the stop comment:\n" + out)
    # The stop drops the rest of the packet: the CR LF after "bye" never shows as received.
    check(out.count("bye") == 2 and "[RX] - bye<CR>" not in out, "rest of the packet dropped:\n" + out)

    running = start_cli(env, [os.path.join(ARGS.samples, "PingPong.ptp")])
    wait_until_open(running, 0.5)
    code, _, _ = stop_process(running, signal.SIGINT)
    check(code == 0, "SIGINT stops normally")


def case_pty_answer(tmp, env):
    pair = PtyPair(tmp, "answer")
    project = os.path.join(tmp, "answer.ptp")
    write_project(project, 0, "COM40", "COM41", [("World", b"world\r\n")],
                  [("Hello", b"hello\r", 0, "greeted", False), ("Quit", b"quit", -1, "", True)])
    cli = start_cli(env, ["--port", "COM40=" + pair.device_a, "--view", "hex", "--duration", "30", project])
    try:
        wait_until_open(cli)
        fd = os.open(pair.device_b, os.O_RDWR | os.O_NOCTTY)
        try:
            import termios
            import tty
            tty.setraw(fd)
            # The pattern split over two writes is still found.
            os.write(fd, b"xxhel")
            time.sleep(0.05)
            os.write(fd, b"lo\r")
            got = b""
            deadline = time.time() + 5
            while len(got) < 7 and time.time() < deadline:
                import select
                ready, _, _ = select.select([fd], [], [], 0.1)
                if ready:
                    got += os.read(fd, 100)
            check(got == b"world\r\n", "answer through the pty: %r" % got)
            os.write(fd, b"quit")
            try:
                cli.wait(timeout=5)
            except subprocess.TimeoutExpired:
                fail("the stop sequence did not end corvane-cli")
        finally:
            os.close(fd)
        code, out, err = stop_process(cli)
        check(code == 0, "exit status %d, %s" % (code, err))
        check("78 78 68 65 6C 6C 6F 0D  greeted " in out, "received data with comment:\n" + out)
        check("77 6F 72 6C 64 0D 0A" in out, "sent answer shown")
    finally:
        stop_process(cli)
        pair.close()


# Modbus RTU: read holding registers 1 and 2 of slave 17.
REQUEST = bytes([0x11, 0x03, 0x00, 0x00, 0x00, 0x02])
REQUEST += crc16_modbus(REQUEST)
RESPONSE = bytes([0x11, 0x03, 0x04, 0x04, 0xD2, 0x16, 0x2E])
RESPONSE += crc16_modbus(RESPONSE)


def write_slave(path, port):
    write_project(path, 0, port, "COM2", [("Registers 1234, 5678", RESPONSE)],
                  [("Read holding registers 1-2", REQUEST, 0, "request", False)])


def run_mbpoll(device):
    result = subprocess.run([ARGS.mbpoll, "-m", "rtu", "-a", "17", "-r", "1", "-c", "2", "-t", "4", "-b", "9600",
                             "-P", "none", "-o", "2", "-1", device], capture_output=True, timeout=20)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def check_registers(code, out):
    check(code == 0, "mbpoll exit %d:\n%s" % (code, out))
    check(re.search(r"\[1\]:\s+1234\b", out) and re.search(r"\[2\]:\s+5678\b", out),
          "mbpoll reads the slave's registers:\n" + out)


def case_modbus_slave(tmp, env):
    pair = PtyPair(tmp, "modbus")
    project = os.path.join(tmp, "slave.ptp")
    write_slave(project, "COM20")
    slave = start_cli(env, ["--port", "COM20=" + pair.device_a, "--view", "hex", "--duration", "40", project])
    try:
        wait_until_open(slave)
        for _ in range(3):
            check_registers(*run_mbpoll(pair.device_b))
        code, out, err = stop_process(slave)
        check(code == 0, "slave exit status %d: %s" % (code, err))
        check(out.count("[RX] - " + hex_of(REQUEST) + "  request ") == 3, "three requests detected:\n" + out)
        check(out.count("[TX] - " + hex_of(RESPONSE)) == 3, "three responses sent")
    finally:
        stop_process(slave)
        pair.close()


def case_modbus_monitor(tmp, env):
    master_side = PtyPair(tmp, "master")
    slave_side = PtyPair(tmp, "slave")
    slave_project = os.path.join(tmp, "slave.ptp")
    write_slave(slave_project, "COM21")
    monitor_project = os.path.join(tmp, "monitor.ptp")
    write_project(monitor_project, 1, "COM5", "COM6", [], [])
    slave = start_cli(env, ["--port", "COM21=" + slave_side.device_b, "--duration", "40", slave_project])
    monitor = start_cli(env, ["--port", "COM5=" + master_side.device_b, "--port", "COM6=" + slave_side.device_a,
                              "--view", "hex", "--duration", "40", monitor_project])
    try:
        wait_until_open(slave)
        wait_until_open(monitor, 0.2)
        check_registers(*run_mbpoll(master_side.device_a))
        time.sleep(0.2)
        code, out, err = stop_process(monitor)
        check(code == 0, "monitor exit status %d: %s" % (code, err))
        lines = [line.strip() for line in out.splitlines() if " - " in line]
        request_lines = [line for line in lines if "[COM5] - " in line]
        response_lines = [line for line in lines if "[COM6] - " in line]
        check(len(request_lines) == 1 and request_lines[0].endswith("[COM5] - " + hex_of(REQUEST)),
              "the request, byte for byte, tagged with channel 1:\n" + out)
        check(len(response_lines) == 1 and response_lines[0].endswith("[COM6] - " + hex_of(RESPONSE)),
              "the response, byte for byte, tagged with channel 2:\n" + out)
        check(out.index("[COM5]") < out.index("[COM6]"), "request before response")
    finally:
        stop_process(monitor)
        stop_process(slave)
        master_side.close()
        slave_side.close()


def read_at_least(fd, count, seconds):
    """Reads from fd until count bytes arrived or the time is up."""
    import select
    got = b""
    deadline = time.time() + seconds
    while len(got) < count and time.time() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.1)
        if ready:
            got += os.read(fd, 65536)
    return got


def open_raw(path):
    import tty
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    return fd


def case_console_never_read(tmp, env):
    """3000 automatic answers leave while nobody reads corvane-cli's standard output."""
    pair = PtyPair(tmp, "unread")
    project = os.path.join(tmp, "unread.ptp")
    answer = b"ANSWER " + bytes(range(0x20, 0x7F)) + b"\r\n"
    write_project(project, 0, "COM42", "COM43", [("Answer", answer)], [("Question", b"Q?", 0, "asked", False)])
    err_path = os.path.join(tmp, "unread.err")
    with open(err_path, "wb") as err_file:
        cli = subprocess.Popen([ARGS.cli, "--port", "COM42=" + pair.device_a, "--view", "hex", project],
                               env=env.env, stdout=subprocess.PIPE, stderr=err_file)
    fd = None
    try:
        wait_until_open(cli)
        fd = open_raw(pair.device_b)
        batch = 10
        for sent in range(0, 3000, batch):
            os.write(fd, b"Q?" * batch)
            got = read_at_least(fd, batch * len(answer), 10)
            check(got == answer * batch, "answers %d to %d arrived (%d bytes)" % (sent + 1, sent + batch, len(got)))
        # Standard output was never read; the answers went on all the same.
        cli.send_signal(signal.SIGTERM)
        try:
            cli.wait(timeout=10)
        except subprocess.TimeoutExpired:
            fail("corvane-cli did not stop while its standard output was full")
        check(cli.returncode == 0, "exit status %d" % cli.returncode)
        with open(err_path, "rb") as f:
            err = f.read().decode("utf-8", "replace")
        dropped = [int(n) for n in re.findall(r"standard output is not read fast enough: (\d+) bytes of console "
                                               r"text dropped", err)]
        check(dropped and sum(dropped) > 500000, "the dropped console text is told on stderr:\n" + err[-2000:])
        out = cli.stdout.read().decode("utf-8", "replace")
        lines = out.splitlines()

        check(lines and all(line == "" or " - " in line or line.startswith("  ") or "asked" in line
                            for line in lines[1:]), "console text dropped in whole lines")
    finally:
        if fd is not None:
            os.close(fd)
        stop_process(cli)
        pair.close()


def case_forwarding_holds_back(tmp, env):
    """A monitored line that takes nothing more holds the sender on the other line back: nothing is
    lost and nothing reported, and once the line is read again everything arrives, in order."""
    import pty
    import select
    import tty
    sender = PtyPair(tmp, "sender")
    master, slave = pty.openpty()
    tty.setraw(slave)
    tty.setraw(master)
    stuck_device = os.ttyname(slave)
    project = os.path.join(tmp, "monitor.ptp")
    write_project(project, 1, "COM7", "COM8", [], [])
    cli = start_cli(env, ["--port", "COM7=" + sender.device_b, "--port", "COM8=" + stuck_device, "--quiet",
                          "--duration", "150", project])
    fd = None
    try:
        wait_until_open(cli)
        fd = open_raw(sender.device_a)
        os.set_blocking(fd, False)
        data = bytes(range(256)) * 64 * 768  # 12 MiB: more than the receive queue and all buffers hold
        total = 0

        def write_some():
            nonlocal total
            try:
                total += os.write(fd, data[total:total + 65536])
                return True
            except BlockingIOError:
                return False

        # Far more than the lines and the library's buffers hold; nobody reads the far side.
        last_progress = time.time()
        while total < len(data) and time.time() - last_progress < 1.5:
            if write_some():
                last_progress = time.time()
            else:
                select.select([], [fd], [], 0.1)
        check(total < len(data) // 2, "the sender is held back: %d of %d bytes written" % (total, len(data)))

        # On a loaded machine this may crawl; it fails when nothing moves for 5 s, not when it is slow.
        received = b""
        last_progress = time.time()
        while len(received) < len(data) and time.time() - last_progress < 5:
            writers = [fd] if total < len(data) else []
            readable, writable, _ = select.select([master], writers, [], 0.1)
            if writable and write_some():
                last_progress = time.time()
            if readable:
                received += os.read(master, 65536)
                last_progress = time.time()
        check(len(received) == len(data), "%d of %d bytes forwarded" % (len(received), len(data)))
        check(received == data, "every byte forwarded, in order")
        code, out, err = stop_process(cli)
        check(code == 0, "exit status %d: %s" % (code, err))
        check(out == "", "--quiet writes nothing on standard output")
        check("could not be forwarded" not in err and "overflow" not in err, "nothing reported lost: " + err[-2000:])
    finally:
        if fd is not None:
            os.close(fd)
        stop_process(cli)
        os.close(master)
        os.close(slave)
        sender.close()


def case_log_trickle(tmp, env):
    """A line every 0.8 s: each is in the log file within 2 s of its arrival."""
    pair = PtyPair(tmp, "trickle")
    project = os.path.join(tmp, "trickle.ptp")
    write_project(project, 0, "COM44", "COM45", [], [])
    log_base = os.path.join(tmp, "trickle")
    cli = start_cli(env, ["--port", "COM44=" + pair.device_a, "--quiet", "--log", log_base, "--duration", "30",
                          project])
    fd = None
    try:
        wait_until_open(cli)
        fd = open_raw(pair.device_b)
        written = []
        start = time.time()
        for k in range(10):
            while time.time() < start + 0.8 * k:
                time.sleep(0.02)
            line = b"trickle line %02d 0123456\r\n" % k
            os.write(fd, line)
            written.append((time.time(), line.decode()))
            with open(log_base + "_asc.txt", "rb") as f:
                logged = f.read().decode("cp1252")
            for when, text in written:
                if time.time() - when >= 2.0:
                    check(text.rstrip("\r\n") in logged, "%r in the log 2 s after it came:\n%s" % (text, logged))
        time.sleep(2.0)
        with open(log_base + "_asc.txt", "rb") as f:
            logged = f.read().decode("cp1252")
        check(all(text.rstrip("\r\n") in logged for _, text in written), "every line logged:\n" + logged)
        code, _, err = stop_process(cli)
        check(code == 0, "exit status %d: %s" % (code, err))
    finally:
        if fd is not None:
            os.close(fd)
        stop_process(cli)
        pair.close()


def case_driver_mode_1(tmp, env):
    """Expert driver mode 1 needs the external high priority process, which this build lacks."""
    config = os.path.join(env.env["XDG_CONFIG_HOME"], "Corvane")
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, "Corvane.conf"), "w") as f:
        f.write("[ExpertOptions]\nCommDriverMode=1\n")
    result = run_cli(env, ["--send", "Ping", "--duration", "1", os.path.join(ARGS.samples, "PingPong.ptp")])
    err = result.stderr.decode("utf-8", "replace")
    check(result.returncode == 1, "exit status %d, not 1" % result.returncode)
    check("Could not start external high priority process." in err, "the message on stderr:\n" + err)
    check(b"Ping" not in result.stdout, "nothing was sent")

    with open(os.path.join(config, "Corvane.conf"), "w") as f:
        f.write("[ExpertOptions]\nCommDriverMode=0\n")
    result = run_cli(env, ["--send", "Ping", "--duration", "0.5", os.path.join(ARGS.samples, "PingPong.ptp")])
    check(result.returncode == 0 and b"Ping" in result.stdout, "driver mode 0 runs")


def case_lf_project(tmp, env):
    """A lone LF inside a name or comment belongs to it; a file with LF line ends only loads too."""
    lines = ["VERSION", "8", "", "COMMSETTINGS", "0", "COM256", "COM2", "9600", "2", "63", "4", "0", "0", "",
             "SEND", "0", "Two\nlines", "41 42", "0", "5", "",
             "SEND", "1", "Second", "43", "0", "5", "",
             "RECEIVE", "0", "Seen", "41 42", "1", "1", "COMMENT got\nit", "0", "0", "0", "0", ""]
    crlf = os.path.join(tmp, "crlf.ptp")
    with open(crlf, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
    result = run_cli(env, ["--list", crlf])
    out = result.stdout.decode("utf-8", "replace")
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, result.stderr))
    check("0 - Two\nlines\nA | B\n" in out, "the name keeps its LF and the entry stays in place:\n" + out)
    check("1 - Second\nC\n" in out, "the next entry is read as written:\n" + out)
    check("Respond with the following send sequence: Second" in out, "the answer points at entry 1")
    check("insert comment: got\nit" in out, "the comment keeps its LF:\n" + out)
    result = run_cli(env, ["--send", "0", "--duration", "0.5", crlf])
    check("got\nit" in result.stdout.decode("utf-8", "replace"), "the loaded receive sequence answers and comments")

    unix = os.path.join(tmp, "unix.ptp")
    plain = [line.replace("\n", " ") for line in lines]
    with open(unix, "wb") as f:
        f.write(("\n".join(plain) + "\n").encode("latin-1"))
    result = run_cli(env, ["--list", unix])
    out = result.stdout.decode("utf-8", "replace")
    check(result.returncode == 0, "a file with LF line ends loads: %s" % result.stderr)
    check("0 - Two lines\nA | B\n" in out and "1 - Second\nC\n" in out, "LF ends lines there:\n" + out)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--mbpoll", default="mbpoll")
    parser.add_argument("case")
    ARGS = parser.parse_args()
    case = globals().get("case_" + ARGS.case)
    if case is None:
        fail("unknown case " + ARGS.case)
    with tempfile.TemporaryDirectory(prefix="corvane-e2e-") as tmp:
        case(tmp, Environment(tmp))
    print("PASS: " + ARGS.case)


if __name__ == "__main__":
    main()
