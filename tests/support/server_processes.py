"""What the test servers share: starting a server as a child that dies with the script,
finding free loopback ports, seeing that it listens, and stopping it with the processes it
forked for its sessions."""
import ctypes
import os
import signal
import socket
import subprocess
import threading


def die_with_parent():
    """Runs in the child before exec: the server gets SIGTERM if the script is killed outright."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    """Whether something listens on 127.0.0.1:port (read from /proc, without connecting,
    so the probe leaves no session in the server's log)."""
    wanted = "0100007F:%04X" % port
    try:
        with open("/proc/net/tcp", encoding="ascii") as f:
            next(f)
            for line in f:
                fields = line.split()
                if fields[1] == wanted and fields[3] == "0A":
                    return True
    except OSError:
        pass
    return False


def descendants(pid):
    """The processes below pid, read from /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry, encoding="ascii", errors="replace") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, ValueError, IndexError):
                continue
            children.setdefault(ppid, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def stop(process):
    """Ends a server and the per-session processes it forked. Sessions may run in process
    groups of their own, so they are found as descendants (before the server ends and they
    lose their parent) and ended one by one."""
    sessions = descendants(process.pid)
    process.terminate()
    for pid in sessions:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def finished_when_input_closes():
    """An event set when the script's standard input closes (the test is done with the
    server) or the script gets SIGTERM or SIGINT."""
    finished = threading.Event()

    def watch_stdin():
        # os.read, not sys.stdin: a thread blocked in a buffered read holds its lock and
        # stalls the interpreter's exit after SIGTERM.
        while os.read(0, 4096):
            pass
        finished.set()

    threading.Thread(target=watch_stdin, daemon=True).start()
    signal.signal(signal.SIGTERM, lambda *_: finished.set())
    signal.signal(signal.SIGINT, lambda *_: finished.set())
    return finished
