"""A small web server for the link check tests, on 127.0.0.1 only.

Prints "PORT <n>" once it listens, then serves until its standard input closes. Paths:
  /ok         200            /moved      301 to /ok      /loop     301 to itself
  /forbidden  403            /missing    404             /gone     410
  /busy       429            /broken     500             /stall    answers after 60 s
  /nohead     405 to HEAD, 200 to GET
Each request is logged to the file given with --log as "METHOD PATH N MS", N the requests
being answered at that moment, this one included, MS the time it came in milliseconds.
"""

import argparse
import http.server
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from server_processes import finished_when_input_closes  # noqa: E402

lock = threading.Lock()
state = {"now": 0, "log": None}

STATUS = {"/ok": 200, "/forbidden": 403, "/missing": 404, "/gone": 410, "/busy": 429,
          "/broken": 500}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def serve(self):
        with lock:
            state["now"] += 1
            with open(state["log"], "a", encoding="utf-8") as f:
                f.write("%s %s %d %d\n" % (self.command, self.path, state["now"],
                                             time.monotonic() * 1000))
        try:
            # Long enough that requests to one host overlap when the client allows it.
            time.sleep(0.05)
            path = self.path.split("?")[0]
            if path == "/stall":
                time.sleep(60)
                self.answer(200)
            elif path == "/moved":
                self.answer(301, headers=[("Location", "/ok")])
            elif path == "/loop":
                self.answer(301, headers=[("Location", "/loop")])
            elif path == "/nohead":
                self.answer(405 if self.command == "HEAD" else 200, b"page")
            else:
                self.answer(STATUS.get(path, 404), b"page")
        finally:
            with lock:
                state["now"] -= 1

    do_GET = serve
    do_HEAD = serve


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--log", required=True)
    state["log"] = parser.parse_args().log
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print("PORT %d" % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    finished_when_input_closes().wait()
    os._exit(0)


if __name__ == "__main__":
    main()
