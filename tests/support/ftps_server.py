"""An FTPS test server on 127.0.0.1: Debian's vsftpd with explicit TLS (AUTH TLS) required.

Makes a throw-away certificate authority and a server certificate for 127.0.0.1 and localhost
with the openssl command, writes its own vsftpd configuration into a temporary folder and runs
/usr/sbin/vsftpd in the foreground on a free loopback port. No system file or account is
changed: vsftpd reads its settings from the temporary folder only and logs there.

Log-in is anonymous ("anonymous" with any password, which vsftpd asks for), and only over TLS:
the control connection must say AUTH TLS before USER, and every data connection is TLS too.
The FTP root is not writable (vsftpd refuses a writable root it chroots into); its folder
"upload" is, and there anonymous clients may store, make folders, rename and delete.

Once it listens it prints one line on stdout:

    PORT <port> ROOT <ftp root folder> CA <CA certificate file> LOG <protocol log>

The paths contain no spaces. Every command and reply is appended to the log by vsftpd. The
server runs until its standard input closes (the test ended or closed the pipe), or SIGTERM or
SIGINT arrives; then it stops vsftpd and removes the temporary folder.

--cert expired serves a certificate whose validity ended yesterday, --cert wrong-host one made
for "wrong-host.invalid" only; both are signed by the printed CA, so a client that trusts it
fails on exactly that fault. --no-ssl-reuse lets data connections skip TLS session reuse
(vsftpd requires it by default, and libcurl does reuse the control connection's session).

Needs: vsftpd, openssl, python3; run as root (vsftpd chroots the anonymous session).
"""

import argparse
import os
import pwd
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from server_processes import (die_with_parent, finished_when_input_closes, free_port,
                              listening, stop)

VSFTPD = "/usr/sbin/vsftpd"
PASV_PORTS = 20
START_TIMEOUT = 10.0






def free_port_range(count):
    """A run of `count` loopback ports that are free now, below the kernel's ephemeral range
    so that other programs' port-0 binds do not land in it."""
    for _ in range(200):
        base = random.randint(20000, 32000 - count)
        held = []
        try:
            for port in range(base, base + count):
                s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                held.append(s)
                s.bind(("127.0.0.1", port))
            return base, base + count - 1
        except OSError:
            continue
        finally:
            for s in held:
                s.close()
    raise RuntimeError("no free range of passive ports")




def openssl(folder, *args):
    result = subprocess.run(["openssl", *args], cwd=folder, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        raise RuntimeError("openssl %s failed:\n%s" % (args[0], result.stdout))


def utc_stamp(seconds):
    return time.strftime("%Y%m%d%H%M%SZ", time.gmtime(seconds))


def make_certificates(folder, kind):
    """Writes ca.pem (the CA to trust), server.pem and server.key; returns the CA's path."""
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl(folder, "req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.pem", "-days", "30",
            "-subj", "/CN=Sitorva test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    host = "wrong-host.invalid" if kind == "wrong-host" else "127.0.0.1"
    names = ("DNS:wrong-host.invalid" if kind == "wrong-host"
             else "IP:127.0.0.1,DNS:localhost")
    openssl(folder, "req", "-new", *ec, "-keyout", "server.key", "-out", "server.csr",
            "-subj", "/CN=" + host)
    # "openssl ca" rather than "openssl x509 -req": only it takes explicit start and end dates.
    with open(os.path.join(folder, "ca.cnf"), "w", encoding="ascii") as f:
        f.write("[ca]\ndefault_ca = test_ca\n"
                "[test_ca]\ndatabase = index.txt\nnew_certs_dir = .\nserial = serial\n"
                "default_md = sha256\npolicy = any_name\nunique_subject = no\n"
                "x509_extensions = server\n"
                "[any_name]\ncommonName = supplied\n"
                "[server]\nbasicConstraints = CA:FALSE\n"
                "keyUsage = critical,digitalSignature,keyEncipherment\n"
                "extendedKeyUsage = serverAuth\nsubjectAltName = %s\n" % names)
    open(os.path.join(folder, "index.txt"), "w").close()
    with open(os.path.join(folder, "serial"), "w", encoding="ascii") as f:
        f.write("%016X\n" % random.getrandbits(63))
    now = time.time()
    if kind == "expired":
        start, end = now - 30 * 86400, now - 86400
    else:
        start, end = now - 3600, now + 30 * 86400
    openssl(folder, "ca", "-batch", "-notext", "-config", "ca.cnf", "-cert", "ca.pem",
            "-keyfile", "ca.key", "-in", "server.csr", "-out", "server.pem",
            "-startdate", utc_stamp(start), "-enddate", utc_stamp(end))
    os.chmod(os.path.join(folder, "server.key"), 0o600)
    return os.path.join(folder, "ca.pem")


def anonymous_user():
    """vsftpd changes into the anonymous user's home before its chroot, so that home has to
    exist: Debian's vsftpd package makes "ftp" (/srv/ftp); "nobody" has none."""
    for name in ("ftp", "daemon", "bin"):
        try:
            if os.path.isdir(pwd.getpwnam(name).pw_dir):
                return name
        except KeyError:
            pass
    raise RuntimeError("no user account with an existing home folder for anonymous FTP")


def write_config(path, settings):
    with open(path, "w", encoding="ascii") as f:
        for key, value in settings.items():
            f.write("%s=%s\n" % (key, value))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cert", choices=("valid", "expired", "wrong-host"), default="valid")
    parser.add_argument("--no-ssl-reuse", action="store_true",
                        help="do not require data connections to reuse the TLS session")
    args = parser.parse_args()

    if os.geteuid() != 0:
        sys.exit("ftps_server.py: vsftpd needs root here (it chroots the anonymous session)")

    base = tempfile.mkdtemp(prefix="stv-ftps-")
    vsftpd = None
    try:
        os.chmod(base, 0o755)
        root = os.path.join(base, "root")
        upload = os.path.join(root, "upload")
        empty = os.path.join(base, "empty")
        certs = os.path.join(base, "certs")
        for folder in (root, upload, empty, certs):
            os.makedirs(folder, exist_ok=True)
        os.chmod(root, 0o755)
        os.chmod(upload, 0o777)
        os.chmod(empty, 0o755)
        os.chmod(certs, 0o700)
        ca_file = make_certificates(certs, args.cert)
        log = os.path.join(base, "vsftpd.log")
        config = os.path.join(base, "vsftpd.conf")
        output = os.path.join(base, "vsftpd.out")
        pasv_min, pasv_max = free_port_range(PASV_PORTS)

        settings = {
            "listen": "YES", "listen_ipv6": "NO", "listen_address": "127.0.0.1",
            "background": "NO", "run_as_launching_user": "NO",
            "nopriv_user": "nobody", "secure_chroot_dir": empty,
            # The sandbox and namespace isolation depend on what the container allows;
            # a test server does without them.
            "seccomp_sandbox": "NO", "isolate": "NO", "isolate_network": "NO",
            "anonymous_enable": "YES", "local_enable": "NO", "no_anon_password": "NO",
            "ftp_username": anonymous_user(), "anon_root": root,
            "write_enable": "YES", "anon_upload_enable": "YES",
            "anon_mkdir_write_enable": "YES", "anon_other_write_enable": "YES",
            "anon_world_readable_only": "NO", "anon_umask": "022",
            "dirmessage_enable": "NO", "hide_ids": "NO", "use_localtime": "NO",
            "connect_from_port_20": "NO", "port_enable": "YES",
            "pasv_enable": "YES", "pasv_address": "127.0.0.1",
            "pasv_min_port": pasv_min, "pasv_max_port": pasv_max,
            "ssl_enable": "YES", "implicit_ssl": "NO", "allow_anon_ssl": "YES",
            "force_anon_logins_ssl": "YES", "force_anon_data_ssl": "YES",
            "force_local_logins_ssl": "YES", "force_local_data_ssl": "YES",
            "require_ssl_reuse": "NO" if args.no_ssl_reuse else "YES",
            "ssl_request_cert": "NO", "ssl_sslv2": "NO", "ssl_sslv3": "NO",
            "ssl_ciphers": "HIGH",
            "rsa_cert_file": os.path.join(certs, "server.pem"),
            "rsa_private_key_file": os.path.join(certs, "server.key"),
            "xferlog_enable": "YES", "xferlog_std_format": "NO", "syslog_enable": "NO",
            "vsftpd_log_file": log, "log_ftp_protocol": "YES",
            "idle_session_timeout": "300", "data_connection_timeout": "120",
        }

        # A port found free may be taken before vsftpd binds it: then try another.
        port = 0
        for _ in range(5):
            port = free_port()
            settings["listen_port"] = port
            write_config(config, settings)
            with open(output, "w") as out:
                vsftpd = subprocess.Popen([VSFTPD, config], stdin=subprocess.DEVNULL,
                                          stdout=out, stderr=subprocess.STDOUT,
                                          start_new_session=True, preexec_fn=die_with_parent)
            deadline = time.monotonic() + START_TIMEOUT
            while (vsftpd.poll() is None and not listening(port)
                   and time.monotonic() < deadline):
                time.sleep(0.02)
            if vsftpd.poll() is None and listening(port):
                break
            stop(vsftpd)
            vsftpd = None
        if vsftpd is None:
            with open(output, encoding="utf-8", errors="replace") as f:
                sys.exit("ftps_server.py: vsftpd did not start:\n" + f.read())

        finished = finished_when_input_closes()
        print("PORT %d ROOT %s CA %s LOG %s" % (port, root, ca_file, log), flush=True)
        while not finished.wait(0.5):
            if vsftpd.poll() is not None:
                sys.stderr.write("ftps_server.py: vsftpd ended by itself\n")
                break
    finally:
        if vsftpd is not None:
            stop(vsftpd)
        shutil.rmtree(base, ignore_errors=True)






if __name__ == "__main__":
    main()
