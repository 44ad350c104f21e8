"""HTTP plumbing shared by the account API and the SMS gateway: bounded reads, plain replies."""

import http.server
import json
import socket
import ssl
import traceback

from . import console

MAX_BODY = 1 << 20
MAX_CHUNK_LINE = 1024


class BadRequest(Exception):
    def __init__(self, status: int, message: str):
        super().__init__(message)
        self.status = status


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True
    # Lets a restart on a fixed port bind past old connections in TIME_WAIT; a port that
    # another process listens on still fails.
    allow_reuse_address = True
    # Parallel tests may open many connections at once; a short queue would drop their SYNs.
    request_queue_size = 128

    def handle_error(self, request, client_address):
        console.warn(f"connection from {client_address[0]} failed: "
                     f"{traceback.format_exc(limit=1).strip().splitlines()[-1]}")


class BoundedHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KorvaneDev/1"
    sys_version = ""
    # A peer that stalls frees its thread after this many seconds.
    timeout = 20

    def log_message(self, format, *args):  # noqa: A002 (signature of the base class)
        pass

    def read_body(self) -> bytes:
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            return self._read_chunked()
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            size = int(length)
        except ValueError:
            raise BadRequest(400, "bad Content-Length") from None
        if size < 0:
            raise BadRequest(400, "bad Content-Length")
        if size > MAX_BODY:
            raise BadRequest(413, "body too large")
        body = self.rfile.read(size)
        if len(body) != size:
            raise BadRequest(400, "body cut short")
        return body

    def _read_chunked(self) -> bytes:
        body = bytearray()
        while True:
            line = self.rfile.readline(MAX_CHUNK_LINE)
            try:
                size = int(line.split(b";")[0].strip(), 16)
            except ValueError:
                raise BadRequest(400, "bad chunk") from None
            if size < 0 or len(body) + size > MAX_BODY:
                raise BadRequest(413, "body too large")
            if size == 0:
                while self.rfile.readline(MAX_CHUNK_LINE).strip():
                    pass  # trailers
                return bytes(body)
            chunk = self.rfile.read(size)
            if len(chunk) != size or self.rfile.readline(MAX_CHUNK_LINE).strip():
                raise BadRequest(400, "bad chunk")
            body += chunk

    def send_bytes(self, status: int, body: bytes, content_type: str) -> None:
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        if self.close_connection:
            self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def send_text(self, status: int, text: str) -> None:
        self.send_bytes(status, text.encode("utf-8"), "text/plain; charset=utf-8")

    def send_json(self, status: int, value) -> None:
        self.send_bytes(status, json.dumps(value, ensure_ascii=True).encode("ascii"),
                        "application/json")

    def guarded(self, handler) -> None:
        """Runs one request; whatever goes wrong, the peer gets an error reply and we go on."""
        try:
            handler()
        except BadRequest as error:
            self.close_connection = True
            self._try_error_reply(error.status, f"error: {error}\n")
        except (ConnectionError, socket.timeout, ssl.SSLError):
            self.close_connection = True
        except Exception:  # never let one request take the service down
            console.warn("request failed:\n" + traceback.format_exc())
            self.close_connection = True
            self._try_error_reply(500, "error: internal error\n")

    def _try_error_reply(self, status: int, text: str) -> None:
        try:
            self.send_text(status, text)
        except (OSError, ValueError):
            pass
