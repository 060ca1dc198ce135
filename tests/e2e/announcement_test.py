#!/usr/bin/env python3
"""End to end: the installed program announces nine o'clock.

On a virtual display with a tray, the installed program starts with its
clock set a few seconds before 09:00:00, Start is clicked, and at 09:00:00
it must fetch the weather (HTTPS, from a loopback server with a test
authority) and then the notice page (HTTP), and play speech, which ALSA's
default device writes to a file. A screenshot of the window is kept.

Exit 0: passed; 1: failed; 77: cannot run here (a tool missing, or the
fixed ports taken).
"""
import argparse
import datetime
import math
import os
import shutil
import struct
import subprocess
import sys
import time

# No compiled copies in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402

SKIP = 77
TITLE = "Tarvane整点报时系统"
# Centre of the Start button, in the window's client area.
START_BUTTON = (382 + 72 // 2, 307 + 24 // 2)
# The program starts this long before nine; enough for start-up and the
# click, short enough to keep the test quick.
LEAD_SECONDS = 7
NINE = 9 * 3600
ACCESS_KEY = "7e2f90d1b5c84a63e0f19b27c4d8a5e6"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True, help="installation of the test build")
    parser.add_argument("--tls-dir", required=True, help="where the trusted authority goes")
    parser.add_argument("--https-port", type=int, required=True)
    parser.add_argument("--http-port", type=int, required=True)
    parser.add_argument("--city-id", required=True)
    parser.add_argument("--tray-host", required=True)
    parser.add_argument("--window-watch", required=True)
    parser.add_argument("--artefacts", required=True, help="folder for the screenshots")
    parser.add_argument("--work-dir", required=True,
                        help="scratch folder, emptied first; kept when the test fails")
    return parser.parse_args()


def missing_tools():
    tools = ["Xvfb", "xdotool", "import", "openssl"]
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if desktop.faketime_library() is None:
        missing.append("libfaketime (Debian package faketime)")
    return missing


def write_alsa_config(folder):
    """ALSA's default device as a file writer; with truncation off, every
    opening of the device (one per announcement) gets a file of its own."""
    path = os.path.join(folder, "asound.conf")
    with open(path, "w") as config:
        config.write('pcm.!default {\n'
                     '    type file\n'
                     '    slave.pcm { type null }\n'
                     '    file "%s"\n'
                     '    format "raw"\n'
                     '    truncate false\n'
                     '}\n' % os.path.join(folder, "sound", "announcement-%r.raw"))
    os.makedirs(os.path.join(folder, "sound"))
    return path


def read_requests(log_path):
    if not os.path.exists(log_path):
        return []
    with open(log_path) as log:
        return [(float(when), scheme, target)
                for when, scheme, target in (line.split(" ", 2) for line in log.read().splitlines())]


def captured_files(folder):
    sound = os.path.join(folder, "sound")
    return sorted(os.path.join(sound, name) for name in os.listdir(sound))


def wait_for_sound(folder, deadline):
    """The captured file once it has stopped growing."""
    last_size = -1
    steady_since = None
    while time.monotonic() < deadline:
        files = captured_files(folder)
        if files:
            size = sum(os.path.getsize(path) for path in files)
            if size != last_size or size == 0:
                last_size = size
                steady_since = time.monotonic()
            elif time.monotonic() - steady_since >= 1.5:
                return files
        time.sleep(0.1)
    raise Failure("no announcement was captured in time")


def measure_sound(path):
    """Seconds, RMS and peak of a raw 16-bit little-endian mono capture whose
    name carries its rate."""
    rate = int(os.path.basename(path).split("-")[1].split(".")[0])
    with open(path, "rb") as raw:
        data = raw.read()
    samples = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
    if not samples:
        return rate, 0.0, 0.0, 0
    rms = math.sqrt(sum(sample * sample for sample in samples) / len(samples))
    return rate, len(samples) / rate, rms, max(abs(sample) for sample in samples)


def run(options, work):
    alsa_config = write_alsa_config(work)
    log_path = os.path.join(work, "requests.log")
    program = os.path.join(options.prefix, "bin", "tarvane")
    check(os.access(program, os.X_OK), "no installed program at %s" % program)

    with desktop.Desktop(tray_host=options.tray_host, scratch=work) as desk:
        # The ports are fixed; another build's run of this test may hold
        # them for a few seconds more.
        ports_wanted_until = time.monotonic() + 60
        while True:
            servers = desk.start([sys.executable,
                                  os.path.join(os.path.dirname(__file__), "station_servers.py"),
                                  options.tls_dir, str(options.https_port),
                                  str(options.http_port), log_path])
            line = desktop.read_line(servers, 60, "loopback servers")
            if not line.startswith("BUSY"):
                break
            servers.wait()
            desk.children.remove(servers)
            if time.monotonic() > ports_wanted_until:
                print("SKIP: the test ports stay taken: %s" % line)
                return SKIP
            time.sleep(2)
        check(line == "READY", "loopback servers said %r" % line)

        # Tomorrow morning in UTC: the test authority's certificates are
        # valid from now on, so the program's clock must not go back.
        morning = datetime.datetime.now(datetime.timezone.utc).date() + datetime.timedelta(days=1)
        fake_start = datetime.datetime.combine(morning, datetime.time(9, 0, 0)) - \
            datetime.timedelta(seconds=LEAD_SECONDS)
        env = dict(desk.env)
        env.update({
            "TZ": "UTC",
            "LC_ALL": "C.UTF-8",
            "HOME": work,
            "ALSA_CONFIG_PATH": alsa_config,
            # The wall clock starts at FAKETIME and runs on; the monotonic
            # clock is left alone, so Qt's timers tick at their real pace.
            "LD_PRELOAD": desktop.faketime_library(),
            "FAKETIME": "@" + fake_start.strftime("%Y-%m-%d %H:%M:%S"),
            "FAKETIME_DONT_FAKE_MONOTONIC": "1",
        })

        watch = desktop.WindowWatch(desk, options.window_watch, TITLE)
        with open(os.path.join(work, "program.log"), "wb") as program_log:
            launched = time.monotonic()
            tarvane = desk.start([program], env=env, stdout=program_log,
                                 stderr=subprocess.STDOUT)
        window, shown = watch.shown()
        print("window %s shown %.3f s after launch" % (window, shown - launched))
        check(tarvane.poll() is None, "the program ended (exit %s)" % tarvane.poll())

        def fake_seconds_of_day(monotonic):
            # The program's clock started at its launch, give or take the
            # few milliseconds libfaketime takes to load.
            return (NINE - LEAD_SECONDS) + (monotonic - launched)

        # Click in the middle of a second of the program's clock, so that
        # the one-second ticks fall far from the second boundaries.
        now = time.monotonic()
        elapsed = now - launched
        click_at = launched + math.floor(elapsed) + 1.5
        check(fake_seconds_of_day(click_at) < NINE - 1.5,
              "start-up took too long to arm before nine (%.1f s)" % elapsed)
        time.sleep(click_at - time.monotonic())
        subprocess.run(["xdotool", "mousemove", "--window", window, str(START_BUTTON[0]),
                        str(START_BUTTON[1]), "click", "1"], env=desk.env, check=True,
                       timeout=10)
        print("Start clicked at program time 08:59:%05.2f" %
              (fake_seconds_of_day(time.monotonic()) - NINE + 60))

        files = wait_for_sound(work, launched + LEAD_SECONDS + 40)
        # A little longer, to see that nothing else is announced.
        time.sleep(2)
        check(tarvane.poll() is None, "the program ended (exit %s)" % tarvane.poll())

        os.makedirs(options.artefacts, exist_ok=True)
        window_shot = os.path.join(options.artefacts, "tarvane-window.png")
        desk.screenshot(window_shot, window)
        desk.screenshot(os.path.join(options.artefacts, "tarvane-screen.png"))
        print("screenshot: %s" % window_shot)

        # Esc closes the window as the close box does; the program ends.
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "Escape"],
                       env=desk.env, check=True, timeout=10)
        try:
            exit_code = tarvane.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end on Esc")
        check(exit_code == 0, "the program ended with exit code %s on Esc" % exit_code)

    requests = read_requests(log_path)
    for when, scheme, target in requests:
        print("request at program time %s: %s %s" % (
            time.strftime("%H:%M:%S", time.gmtime(fake_seconds_of_day(when))) +
            (".%03d" % (fake_seconds_of_day(when) % 1 * 1000)), scheme, target))
    check(len(requests) == 2, "expected two requests, got %d" % len(requests))
    (weather_at, weather_scheme, weather_target), (notice_at, notice_scheme, notice_target) = \
        requests
    check(weather_scheme == "https" and
          weather_target == "/x3/weather?cityid=%s&key=%s" % (options.city_id, ACCESS_KEY),
          "the first request is not the weather request")
    check(notice_scheme == "http" and notice_target == "/ham_clock.html",
          "the second request is not the notice page")
    check(weather_at <= notice_at, "the notice page was asked for before the weather")
    # The program's clock may lag the estimate by its own start-up, which
    # is why the window reaches back a little before nine.
    weather_second = fake_seconds_of_day(weather_at)
    check(NINE - 0.3 <= weather_second < NINE + 1.0,
          "the weather was asked for at program time %.2f s after nine" % (weather_second - NINE))

    check(len(files) == 1, "expected one announcement, captured %d" % len(files))
    rate, seconds, rms, peak = measure_sound(files[0])
    print("captured %.2f s at %d Hz, RMS %.0f, peak %d" % (seconds, rate, rms, peak))
    check(rate in (8000, 16000), "unexpected rate %d" % rate)
    check(1.0 < seconds < 120.0, "implausible length %.2f s" % seconds)
    check(rms > 300 and peak > 3000, "the announcement is (nearly) silent")
    return 0


def main():
    desktop.end_on_signals()
    options = arguments()
    missing = missing_tools()
    if missing:
        print("SKIP: missing %s (scripts/install-deps installs them)" % ", ".join(missing))
        return SKIP
    work = options.work_dir
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    try:
        result = run(options, work)
    except (Failure, RuntimeError, subprocess.SubprocessError) as error:
        print("FAILED: %s (its files are in %s)" % (error, work))
        log = os.path.join(work, "program.log")
        if os.path.exists(log):
            with open(log, "rb") as text:
                tail = text.read()[-4000:]
            if tail:
                print("program output:\n" + tail.decode("utf-8", "replace"))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    return result


if __name__ == "__main__":
    sys.exit(main())
