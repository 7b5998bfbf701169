#!/usr/bin/env python3
"""An HTTPS server on 127.0.0.1 for the download tests.

    tlstjener.py MAPPE SERTIFIKAT NOKKEL [VIDERE]

Serves the files of MAPPE over TLS with the certificate and key given (PEM).
With VIDERE, a request for /videre/STI is sent on to VIDERE + /STI with a 302
answer. Listens on a free port and prints "port N" as its first line on stdout;
runs until it is killed. A client that refuses the certificate only ends its
own connection.
"""
import functools
import http.server
import ssl
import sys


class Behandler(http.server.SimpleHTTPRequestHandler):
    videre = None

    def do_GET(self):
        if self.videre and self.path.startswith("/videre/"):
            self.send_response(302)
            self.send_header("Location", self.videre + self.path[len("/videre"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        super().do_GET()

    def log_message(self, *args):
        pass


class Tjener(http.server.ThreadingHTTPServer):
    daemon_threads = True
    kontekst = None

    def get_request(self):
        s, adresse = self.socket.accept()
        # The handshake is made in the connection's own thread.
        return self.kontekst.wrap_socket(s, server_side=True, do_handshake_on_connect=False), adresse

    def finish_request(self, request, client_address):
        request.settimeout(30)
        try:
            request.do_handshake()
        except (OSError, ssl.SSLError):
            return
        super().finish_request(request, client_address)

    def handle_error(self, request, client_address):
        pass


def main():
    mappe, sertifikat, nokkel = sys.argv[1:4]
    Behandler.videre = sys.argv[4] if len(sys.argv) > 4 else None
    kontekst = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    kontekst.load_cert_chain(sertifikat, nokkel)
    Tjener.kontekst = kontekst
    with Tjener(("127.0.0.1", 0), functools.partial(Behandler, directory=mappe)) as tjener:
        print(f"port {tjener.server_address[1]}", flush=True)
        tjener.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
