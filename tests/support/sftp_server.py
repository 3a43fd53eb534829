"""An SFTP test server on 127.0.0.1: OpenSSH's sshd with its own configuration and keys.

Runs /usr/sbin/sshd -D -e -f <config> on a free loopback port. Everything it uses lives in a
temporary folder: an ed25519 host key, the configuration, the list of authorised client keys
and the log. Only the user running this script may log in (root in CI), by key only; sshd
does not use PAM, and no system file or account is changed. The one system change is the
privilege separation folder /run/sshd, made when root runs this and it is missing.

It also makes a client home folder for the program under test (run it with HOME set to it):

    HOME/.ssh/id_ed25519(.pub)  the client key, OpenSSH format, authorised on the server
    HOME/.ssh/known_hosts       "[127.0.0.1]:<port> ssh-ed25519 AAAA..." (and the same for
                                localhost), the form libssh2 reads

Once it listens it prints one line on stdout:

    PORT <port> USER <user> HOME <client home> ROOT <files folder> FINGERPRINT SHA256:<base64>
    LOG <sshd log> [AGENT <agent socket>]

(all on one line; the paths contain no spaces). ROOT is where an SFTP session starts, so
sftp://127.0.0.1:<port>/~/name is ROOT/name; absolute paths work too. FINGERPRINT is the
host key's, as OpenSSH prints it. The log holds sshd's messages; with --request-log also
each SFTP request ("open", "rename", "remove" ... lines of sftp-server -l INFO).
The server runs until its standard input closes (the test ended or closed the pipe), or
SIGTERM or SIGINT arrives; then it stops sshd (and the agent) and removes the folder.

--known-hosts none leaves known_hosts out (an unknown host), --known-hosts wrong puts another
key there for this server (a changed host key). --passphrase P encrypts the client key.
--agent starts an ssh-agent holding the client key; --no-key-file leaves the key files out
of HOME/.ssh, so only the agent can log in.

Without PAM, sshd refuses an account whose password is locked, so a user other than root
needs an unlocked account. --request-log runs the subsystem through that user's login shell.

Needs: openssh-server, openssh-sftp-server, openssh-client (ssh-keygen, ssh-agent, ssh-add),
python3.
"""

import argparse
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time

from server_processes import (die_with_parent, finished_when_input_closes, free_port,
                              listening, stop)

SSHD = "/usr/sbin/sshd"
SFTP_SERVER = "/usr/lib/openssh/sftp-server"
START_TIMEOUT = 10.0








def run(*args, **kwargs):
    result = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, text=True, **kwargs)
    if result.returncode != 0:
        raise RuntimeError("%s failed:\n%s" % (args[0], result.stdout))
    return result.stdout


def make_key(path, comment, passphrase=""):
    run("ssh-keygen", "-q", "-t", "ed25519", "-N", passphrase, "-C", comment, "-f", path)
    with open(path + ".pub", encoding="ascii") as f:
        return f.read().split()[:2]  # key type, base64 blob






def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--known-hosts", choices=("match", "none", "wrong"), default="match")
    parser.add_argument("--passphrase", default="", help="encrypt the client key with this")
    parser.add_argument("--agent", action="store_true",
                        help="run an ssh-agent holding the client key")
    parser.add_argument("--request-log", action="store_true",
                        help="log every SFTP request (runs sftp-server instead of internal-sftp)")
    parser.add_argument("--no-key-file", action="store_true",
                        help="no client key files in HOME/.ssh (log in through --agent)")
    args = parser.parse_args()

    user = pwd.getpwuid(os.geteuid()).pw_name
    if os.geteuid() == 0 and not os.path.isdir("/run/sshd"):
        os.makedirs("/run/sshd", mode=0o755, exist_ok=True)  # sshd's privilege separation

    base = tempfile.mkdtemp(prefix="stv-sftp-")
    processes = []
    try:
        server = os.path.join(base, "server")
        home = os.path.join(base, "home")
        ssh = os.path.join(home, ".ssh")
        root = os.path.join(base, "files")
        for folder in (server, ssh, root):
            os.makedirs(folder, mode=0o700, exist_ok=True)
        os.chmod(root, 0o755)

        host_key = os.path.join(server, "host_ed25519")
        host_type, host_blob = make_key(host_key, "sitorva-test-host")
        fingerprint = run("ssh-keygen", "-l", "-E", "sha256", "-f", host_key + ".pub").split()[1]
        client_key = os.path.join(ssh, "id_ed25519")
        make_key(client_key, "sitorva-test-client", args.passphrase)
        authorized = os.path.join(server, "authorized_keys")
        shutil.copyfile(client_key + ".pub", authorized)
        log = os.path.join(server, "sshd.log")
        config = os.path.join(server, "sshd_config")

        agent_socket = None
        if args.agent:
            agent_socket = os.path.join(base, "agent.sock")
            processes.append(subprocess.Popen(
                ["ssh-agent", "-D", "-a", agent_socket], stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                preexec_fn=die_with_parent))
            deadline = time.monotonic() + START_TIMEOUT
            while not os.path.exists(agent_socket) and time.monotonic() < deadline:
                time.sleep(0.02)
            environment = dict(os.environ, SSH_AUTH_SOCK=agent_socket)
            if args.passphrase:
                # ssh-add reads a passphrase from SSH_ASKPASS when it has no terminal.
                askpass = os.path.join(server, "askpass")
                with open(askpass, "w", encoding="utf-8") as f:
                    f.write("#!/bin/sh\nprintf '%%s\\n' '%s'\n"
                            % args.passphrase.replace("'", "'\\''"))
                os.chmod(askpass, 0o700)
                environment.update(SSH_ASKPASS=askpass, SSH_ASKPASS_REQUIRE="force",
                                    DISPLAY=environment.get("DISPLAY", ":0"))
            run("ssh-add", "-q", client_key, env=environment, start_new_session=True)

        if args.known_hosts != "none":
            key_type, key_blob = host_type, host_blob
            if args.known_hosts == "wrong":
                key_type, key_blob = make_key(os.path.join(server, "other_host_ed25519"),
                                              "another-host")
        if args.no_key_file:
            os.remove(client_key)
            os.remove(client_key + ".pub")

        if args.request_log:
            # sshd runs a subsystem command through the user's shell, which appends the
            # server's messages to the log. internal-sftp could only log to syslog.
            subsystem = "%s -e -l INFO -d %s -u 022 2>>%s" % (SFTP_SERVER, root, log)
        else:
            subsystem = "internal-sftp -d %s -u 022" % root

        # A port found free may be taken before sshd binds it: then try another.
        sshd = None
        port = 0
        for _ in range(5):
            port = free_port()
            with open(config, "w", encoding="ascii") as f:
                f.write(
                    "ListenAddress 127.0.0.1\n"
                    "AddressFamily inet\n"
                    "Port %d\n"
                    "HostKey %s\n"
                    "PidFile %s\n"
                    "AuthorizedKeysFile %s\n"
                    "StrictModes no\n"
                    "UsePAM no\n"
                    "PubkeyAuthentication yes\n"
                    "PasswordAuthentication no\n"
                    "KbdInteractiveAuthentication no\n"
                    "HostbasedAuthentication no\n"
                    "GSSAPIAuthentication no\n"
                    "KerberosAuthentication no\n"
                    "PermitRootLogin prohibit-password\n"
                    "AllowUsers %s\n"
                    "PermitTTY no\n"
                    "X11Forwarding no\n"
                    "AllowTcpForwarding no\n"
                    "AllowAgentForwarding no\n"
                    "PrintMotd no\n"
                    "UseDNS no\n"
                    "LoginGraceTime 30\n"
                    "MaxStartups 100\n"
                    "LogLevel VERBOSE\n"
                    "Subsystem sftp %s\n"
                    % (port, host_key, os.path.join(server, "sshd.pid"), authorized, user,
                       subsystem))
            with open(log, "a") as out:  # O_APPEND: sftp-server appends to it too
                sshd = subprocess.Popen([SSHD, "-D", "-e", "-f", config],
                                        stdin=subprocess.DEVNULL, stdout=out,
                                        stderr=subprocess.STDOUT, start_new_session=True,
                                        preexec_fn=die_with_parent)
            deadline = time.monotonic() + START_TIMEOUT
            while sshd.poll() is None and not listening(port) and time.monotonic() < deadline:
                time.sleep(0.02)
            if sshd.poll() is None and listening(port):
                break
            stop(sshd)
            sshd = None
        if sshd is None:
            with open(log, encoding="utf-8", errors="replace") as f:
                sys.exit("sftp_server.py: sshd did not start:\n" + f.read())
        processes.append(sshd)

        if args.known_hosts != "none":
            with open(os.path.join(ssh, "known_hosts"), "w", encoding="ascii") as f:
                for host in ("127.0.0.1", "localhost"):
                    f.write("[%s]:%d %s %s\n" % (host, port, key_type, key_blob))

        finished = finished_when_input_closes()
        line = "PORT %d USER %s HOME %s ROOT %s FINGERPRINT %s LOG %s" % (
            port, user, home, root, fingerprint, log)
        if agent_socket:
            line += " AGENT " + agent_socket
        print(line, flush=True)
        while not finished.wait(0.5):
            if sshd.poll() is not None:
                sys.stderr.write("sftp_server.py: sshd ended by itself\n")
                break
    finally:
        for process in reversed(processes):
            stop(process)
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
