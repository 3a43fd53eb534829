"""A small FTP server for the upload tests, on 127.0.0.1 only.

Prints "PORT <n>" on stdout once it listens, then serves until its standard input closes
(the test process ended or closed the pipe). Every command it receives is appended to the
log file, one per line, so a test can see what reached the server and in which order; a
password is logged as "PASS ****".
"""

import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--home", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--no-mlsd", action="store_true",
                        help="an older server: LIST only, and no FEAT either")
    parser.add_argument("--refuse", action="append", default=[],
                        help="refuse uploads of this file name (repeatable)")
    parser.add_argument("--no-rename", action="store_true",
                        help="refuse every rename (RNFR)")
    parser.add_argument("--drop-upload-after", type=int, default=-1, metavar="BYTES",
                        help="once an upload has sent this many bytes, drop its data "
                             "connection and answer 426")
    parser.add_argument("--drop-control", action="store_true",
                        help="with --drop-upload-after: drop the control connection too, "
                             "without a word")
    args = parser.parse_args()

    logging.disable(logging.CRITICAL)
    log_lock = threading.Lock()

    def log(line):
        with log_lock, open(args.log, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    refused = set(args.refuse)

    class Handler(FTPHandler):
        def on_connect(self):
            log("CONNECT")

        def pre_process_command(self, line, cmd, arg):
            log("PASS ****" if cmd == "PASS" else line)
            if cmd == "STOR" and os.path.basename(arg or "") in refused:
                self.respond("550 Uploads of this file are refused.")
                return
            if cmd == "RNFR" and args.no_rename:
                self.respond("550 Renaming is not allowed here.")
                return
            FTPHandler.pre_process_command(self, line, cmd, arg)

    class DroppingDTPHandler(DTPHandler):
        """Breaks an upload off half-way, like a server or a link that goes down."""

        def handle_read(self):
            DTPHandler.handle_read(self)
            if (self.receive and not self._closed
                    and self.tot_bytes_received >= args.drop_upload_after):
                log("DROPPED after %d bytes" % self.tot_bytes_received)
                control = self.cmd_channel
                if args.drop_control:
                    self._resp = None
                    self.close()
                    control.close()
                else:
                    self._resp = ("426 Connection closed; transfer aborted.", logging.debug)
                    self.close()

        handle_read_event = handle_read

    if args.drop_upload_after >= 0:
        Handler.dtp_handler = DroppingDTPHandler

    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items()
                              if k not in ("MLSD", "MLST", "FEAT")}

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.banner = "test server ready"

    server = FTPServer(("127.0.0.1", args.port), Handler)
    port = server.socket.getsockname()[1]
    print("PORT %d" % port, flush=True)

    def watch_stdin():
        sys.stdin.read()
        server.close_all()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
