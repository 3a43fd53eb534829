"""A hostile or broken FTP server on 127.0.0.1, for the tests that a server cannot hang the
program. It speaks just enough FTP for libcurl (any user and password are accepted) and
misbehaves in one way, chosen by an option:

    --drip SECONDS     a listing sends one byte every SECONDS, for ever
    --long-name BYTES  a listing of one file whose name is BYTES long
    --entries N        a listing of N files
    --stall-upload B   an upload is read for B bytes, then the server stops reading and
                       answering (a link that died without a word)
    --drip-download R  a download (RETR) sends a publish record's first line, then line
                       breaks at R bytes a second, for ever; listings and uploads work

Prints "PORT <n>" once it listens and serves until its standard input closes. Each client is
served on a thread of its own, so a dripping listing holds up nobody else.
"""

import argparse
import os
import socket
import sys
import threading
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--drip", type=float, default=0)
    parser.add_argument("--long-name", type=int, default=0)
    parser.add_argument("--entries", type=int, default=0)
    parser.add_argument("--stall-upload", type=int, default=-1)
    parser.add_argument("--drip-download", type=int, default=0)
    args = parser.parse_args()

    def listing():
        """The listing body as one bytes object, or None when it is dripped."""
        line = "-rw-r--r-- 1 owner group %d Jan 05 2020 %s\r\n"
        if args.long_name:
            return (line % (7, "n" * args.long_name)).encode()
        if args.entries:
            return "".join(line % (i, "file%06d.html" % i) for i in range(args.entries)).encode()
        return (line % (3, "a.txt")).encode()

    body = None if args.drip else listing()

    def serve(control):
        reader = control.makefile("rb")
        passive = None

        def reply(text):
            control.sendall((text + "\r\n").encode())

        def accept_data():
            passive.settimeout(10)
            data, _ = passive.accept()
            return data

        try:
            reply("220 hostile test server")
            for raw in reader:
                line = raw.decode("latin-1").rstrip("\r\n")
                command, _, argument = line.partition(" ")
                command = command.upper()
                if command == "USER":
                    reply("331 password please")
                elif command == "PASS":
                    reply("230 logged in")
                elif command == "PWD":
                    reply('257 "/" is the current folder')
                elif command in ("CWD", "TYPE", "OPTS", "MODE", "STRU"):
                    reply("200 ok" if command != "CWD" else "250 ok")
                elif command in ("EPSV", "PASV"):
                    if passive is not None:
                        passive.close()
                    passive = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                    passive.bind(("127.0.0.1", 0))
                    passive.listen(1)
                    port = passive.getsockname()[1]
                    if command == "EPSV":
                        reply("229 Entering Extended Passive Mode (|||%d|)" % port)
                    else:
                        reply("227 Entering Passive Mode (127,0,0,1,%d,%d)"
                              % (port // 256, port % 256))
                elif command in ("LIST", "NLST", "MLSD"):
                    data = accept_data()
                    reply("150 here it comes")
                    if body is None:
                        while True:  # for ever, or until the client goes
                            data.sendall(b"-")
                            time.sleep(args.drip)
                    data.sendall(body)
                    data.close()
                    reply("226 done")
                elif command == "RETR" and args.drip_download:
                    data = accept_data()
                    reply("150 here it comes")
                    data.sendall(b"Sitorva publish record 1\n")
                    piece = max(1, args.drip_download // 10)
                    while True:  # just fast enough for any stall check, for ever
                        data.sendall(b"\n" * piece)
                        time.sleep(0.1)
                elif command == "STOR":
                    data = accept_data()
                    reply("150 send it")
                    received = 0
                    while True:
                        chunk = data.recv(65536)
                        if not chunk:
                            break
                        received += len(chunk)
                        if 0 <= args.stall_upload <= received:
                            while True:  # neither read nor answer again
                                time.sleep(3600)
                    data.close()
                    reply("226 stored")
                elif command == "QUIT":
                    reply("221 bye")
                    break
                else:
                    reply("502 not here")
        except OSError:
            pass
        finally:
            control.close()

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print("PORT %d" % listener.getsockname()[1], flush=True)

    def watch_stdin():
        while os.read(0, 4096):
            pass
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    while True:
        control, _ = listener.accept()
        threading.Thread(target=serve, args=(control,), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
