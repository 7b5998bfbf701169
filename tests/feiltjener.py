#!/usr/bin/env python3
"""An HTTP server on 127.0.0.1 that misbehaves on purpose, for the download tests.

The request path chooses the behaviour (see svar() below). The server listens on a
free port and prints "port N" as its first line on stdout; it runs until it is
killed. Every connection is closed after at most 30 seconds.
"""
import socketserver
import sys

DATO = "Mon, 15 Mar 2021 10:30:00 GMT"
INNHOLD = bytes(range(256)) * 40  # 10 240 bytes


def hode(status, felt):
    linjer = [f"HTTP/1.0 {status}"] + [f"{k}: {v}" for k, v in felt] + ["", ""]
    return "\r\n".join(linjer).encode("latin-1")


def vent_til_lukket(s):
    """Says nothing until the client closes (or 30 seconds have passed)."""
    try:
        while s.recv(4096):
            pass
    except OSError:
        pass


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
        vent_til_lukket(s)
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
