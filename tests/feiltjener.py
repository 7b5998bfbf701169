#!/usr/bin/env python3
"""An HTTP server on 127.0.0.1 that misbehaves on purpose, for the download tests.

The request path chooses the behaviour (see svar() below). The server listens on a
free port and prints "port N" as its first line on stdout; it runs until it is
killed. A connection that waits for the client is closed after 30 seconds without
a word from it; the endless and the trickling bodies go on until the client goes.
"""
import socket
import socketserver
import struct
import sys
import time

DATO = "Mon, 15 Mar 2021 10:30:00 GMT"
INNHOLD = bytes(range(256)) * 40  # 10 240 bytes


def hode(status, felt, statuslinje=None):
    if statuslinje is None:
        statuslinje = f"HTTP/1.0 {status}".encode("latin-1")
    linjer = [f"{k}: {v}" for k, v in felt] + ["", ""]
    return statuslinje + b"\r\n" + "\r\n".join(linjer).encode("latin-1")


def vent_til_lukket(s):
    """Says nothing until the client closes (or 30 seconds have passed)."""
    try:
        while s.recv(4096):
            pass
    except OSError:
        pass


def nullstill(s):
    """Ends the connection with a reset (RST) instead of an orderly close."""
    s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    s.close()


def svar(s, sti, foresporsel):
    # Only the first part of the path chooses, so "/stille/Ullvik/a.zip" is silent too.
    if not sti.startswith("/ekko"):
        sti = "/" + sti.lstrip("/").split("/")[0]
    lengde = ("Content-Length", str(len(INNHOLD)))
    dato = ("Last-Modified", DATO)
    if sti.startswith("/ekko"):
        # The request head as the body, so a test can see what was sent.
        s.sendall(hode("200 OK", [("Content-Length", str(len(foresporsel)))]) + foresporsel)
    elif sti == "/uten-dato":
        s.sendall(hode("200 OK", [lengde]) + INNHOLD)
    elif sti == "/uten-lengde":
        s.sendall(hode("200 OK", [dato]) + INNHOLD)
    elif sti == "/kuttet":
        s.sendall(hode("200 OK", [dato, ("Content-Length", str(3 * len(INNHOLD)))]) + INNHOLD)
    elif sti == "/tom":
        s.sendall(hode("200 OK", [dato, ("Content-Length", "0")]))
    elif sti == "/tom-uten-lengde":
        s.sendall(hode("200 OK", [dato]))
    elif sti == "/feil-500":
        tekst = b"<html><body>Intern feil</body></html>"
        s.sendall(hode("500 Internal Server Error", [dato, ("Content-Length", str(len(tekst)))]) + tekst)
    elif sti == "/flytt":
        tekst = b"Flyttet til /uten-lengde"
        s.sendall(hode("302 Found", [("Location", "/uten-lengde"), ("Content-Length", str(len(tekst)))]) + tekst)
    elif sti == "/stille":
        # Reads the request and never sends a status line.
        vent_til_lukket(s)
    elif sti == "/nullstilt":
        # Half the announced body, then a reset.
        s.sendall(hode("200 OK", [dato, ("Content-Length", str(2 * len(INNHOLD)))]) + INNHOLD)
        time.sleep(0.2)
        nullstill(s)
    elif sti == "/nullstilt-uten-lengde":
        # A body without a length, cut by a reset: the end of the body is not
        # the end of the file.
        s.sendall(hode("200 OK", [dato]) + INNHOLD)
        time.sleep(0.2)
        nullstill(s)
    elif sti == "/tull-status":
        # Binary garbage where the status line should be.
        s.sendall(hode(None, [dato, lengde], statuslinje=b"\x8b\x00Tull og t\xf8ys") + INNHOLD)
    elif sti == "/tull-statuskode":
        # A status line whose code is not a number.
        s.sendall(hode("2x0 OK", [dato, lengde]) + INNHOLD)
    elif sti == "/tull-hode":
        # A status line as it should be, then header lines of binary garbage.
        tull = b"\x00\x01\xff\xfe: \x00\x00\r\n\x7f\x00\x00\r\n"
        s.sendall(hode("200 OK", [dato, lengde])[:-2] + tull + b"\r\n" + INNHOLD)
    elif sti == "/uendelig":
        # A body without a length that never ends: sends until the client goes.
        s.sendall(hode("200 OK", [dato]))
        while True:
            s.sendall(INNHOLD)
    elif sti == "/sildrer":
        # One byte a second of the announced body.
        s.sendall(hode("200 OK", [dato, lengde]))
        for b in INNHOLD:
            s.sendall(bytes([b]))
            time.sleep(1)
    elif sti == "/stille-midt":
        # Half the body, then nothing.
        s.sendall(hode("200 OK", [dato, ("Content-Length", str(2 * len(INNHOLD)))]) + INNHOLD)
        vent_til_lukket(s)
    else:
        tekst = b"Finnes ikke"
        s.sendall(hode("404 Not Found", [("Content-Length", str(len(tekst)))]) + tekst)


class Behandler(socketserver.BaseRequestHandler):
    def handle(self):
        s = self.request
        s.settimeout(30)
        data = b""
        try:
            while b"\r\n\r\n" not in data and len(data) < 65536:
                bit = s.recv(4096)
                if not bit:
                    return
                data += bit
            foresporsel = data[: data.index(b"\r\n\r\n") + 4]
            deler = foresporsel.split(b"\r\n", 1)[0].decode("latin-1").split(" ")
            svar(s, deler[1] if len(deler) > 1 else "/", foresporsel)
        except (OSError, ValueError):
            pass


class Tjener(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    with Tjener(("127.0.0.1", 0), Behandler) as tjener:
        print(f"port {tjener.server_address[1]}", flush=True)
        tjener.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
