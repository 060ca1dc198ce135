"""A throw-away desktop for running the real program: a virtual X server, an
optional tray, and every process started through it ended on every path.

Used by the end-to-end test and the desktop benchmarks. Each child is also
told by the kernel to die with this process, so not even a hard kill of the
runner (a CTest time-out) leaves anything behind. The runner must start no
threads of its own: children are started with a pre-exec step.
"""
import ctypes
import os
import signal
import shutil
import subprocess
import tempfile
import time

PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # SIGTERM rather than SIGKILL, so Xvfb still removes its lock file.
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def end_on_signals():
    """Turns SIGTERM and SIGHUP into SystemExit, so `finally` blocks and
    context managers clean up when the runner is stopped."""
    def leave(signum, _frame):
        raise SystemExit(128 + signum)
    for signum in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, leave)


def stop(process, grace=3.0):
    """Ends a child: politely, then by force."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def read_line(process, timeout, what):
    """The next line of a child's standard output, or an error naming WHAT
    when the child says nothing in time or ends."""
    import select
    deadline = time.monotonic() + timeout
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            raise RuntimeError("%s: no answer within %.0f s" % (what, timeout))
        ready, _, _ = select.select([process.stdout], [], [], left)
        if ready:
            line = process.stdout.readline()
            if not line:
                raise RuntimeError("%s ended early (exit %s)" % (what, process.poll()))
            return line.decode("utf-8", "replace").strip()


class Desktop:
    """Context manager: Xvfb on a free display number (Xvfb picks it),
    optionally a tray host, and `start` for further children. Leaving the
    block ends every child, the newest first. SCRATCH is where its runtime
    folder goes (the system's temporary folder when None)."""

    def __init__(self, tray_host=None, screen="1024x768x24", scratch=None):
        self.tray_host = tray_host
        self.scratch = scratch
        self.screen = screen
        self.children = []
        self.display = None
        self.env = None
        self.runtime_dir = None

    def start(self, command, env=None, stdout=subprocess.PIPE, stderr=None):
        process = subprocess.Popen(command, env=env if env is not None else self.env,
                                   stdout=stdout, stderr=stderr, stdin=subprocess.DEVNULL,
                                   preexec_fn=_die_with_parent)
        self.children.append(process)
        return process

    def __enter__(self):
        try:
            read_end, write_end = os.pipe()
            try:
                xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen,
                     "-nolisten", "tcp", "-noreset"],
                    pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                    preexec_fn=_die_with_parent)
            finally:
                os.close(write_end)
            self.children.append(xvfb)
            with os.fdopen(read_end, "rb") as pipe:
                number = pipe.readline().strip().decode()
            if not number:
                raise RuntimeError("Xvfb did not start (exit %s)" % xvfb.poll())
            self.display = ":" + number
            self.env = dict(os.environ)
            self.env["DISPLAY"] = self.display
            # No session bus: the tray goes through the X tray protocol, and
            # nothing reaches a bus of the machine's own desktop.
            for name in ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
                self.env.pop(name, None)
            # A private runtime folder, as a desktop session would give.
            self.runtime_dir = tempfile.mkdtemp(prefix="tarvane-runtime-", dir=self.scratch)
            self.env["XDG_RUNTIME_DIR"] = self.runtime_dir
            if self.tray_host:
                tray = self.start([self.tray_host])
                line = read_line(tray, 10, "tray host")
                if line != "READY":
                    raise RuntimeError("tray host said %r" % line)
            return self
        except BaseException:
            self.__exit__(None, None, None)
            raise

    def __exit__(self, *_exc):
        for process in reversed(self.children):
            stop(process)
        self.children.clear()
        if self.runtime_dir:
            shutil.rmtree(self.runtime_dir, ignore_errors=True)
            self.runtime_dir = None
        return False

    def screenshot(self, path, window="root"):
        subprocess.run(["import", "-display", self.display, "-window", window, path],
                       env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)


class WindowWatch:
    """Listens for the program's window before the program starts; `shown`
    gives the window id and the CLOCK_MONOTONIC second it was mapped."""

    def __init__(self, desktop, watch_tool, title, timeout=30):
        self.timeout = timeout
        self.process = desktop.start([watch_tool, title, str(timeout)])
        line = read_line(self.process, 10, "window watch")
        if line != "READY":
            raise RuntimeError("window watch said %r" % line)

    def shown(self):
        line = read_line(self.process, self.timeout + 5, "window watch")
        parts = line.split()
        if len(parts) != 3 or parts[0] != "SHOWN":
            raise RuntimeError("window watch said %r" % line)
        self.process.wait()
        return parts[1], int(parts[2]) / 1e9


def faketime_library():
    """The multi-threaded libfaketime of this machine, or None."""
    import glob
    found = sorted(glob.glob("/usr/lib/*/faketime/libfaketimeMT.so.1") +
                   glob.glob("/usr/lib/faketime/libfaketimeMT.so.1"))
    return found[0] if found else None


def proc_cpu_seconds(pid):
    """User plus system CPU time of a process so far, in seconds."""
    with open("/proc/%d/stat" % pid) as stat:
        text = stat.read()
    # The command name may hold spaces; the fields after it are fixed.
    fields = text[text.rindex(")") + 2:].split()
    ticks = int(fields[11]) + int(fields[12])
    return ticks / os.sysconf("SC_CLK_TCK")


def proc_cpu_seconds_fine(pid):
    """CPU time of all live threads of a process in seconds, at nanosecond
    resolution (the scheduler's own count), or None where the kernel keeps
    none. Threads that ended are not counted, unlike in proc_cpu_seconds."""
    total = 0
    try:
        for task in os.listdir("/proc/%d/task" % pid):
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as schedstat:
                total += int(schedstat.read().split()[0])
    except (OSError, ValueError, IndexError):
        return None
    return total / 1e9


def proc_status_kib(pid, key):
    """A memory figure of /proc/PID/status (VmRSS, VmHWM, ...) in KiB."""
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return None
