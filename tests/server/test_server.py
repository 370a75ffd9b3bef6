#!/usr/bin/env python3
"""A loopback HTTP server for the update tests.

GET /files/NAME serves ROOT/NAME; query parameters shape the answer:
  status=N         the status line (the body is still the file)
  length=none      no Content-Length header
  length=N         this Content-Length, whatever the body is
  rate=BYTES       send at most BYTES per second
  stall_after=N    send N bytes of the body, then nothing until the client goes away
  close_after=N    send N bytes of the body, then close the connection
  redirect=URL     answer 302 with this Location (redirect=self: this very path, a loop)
GET /generate/KIND?n=N answers a generated manifest (big, deep, many, longattr, laughs).
The port it listens on (127.0.0.1) is written to the port file."""
import argparse
import mmap
import os
import socketserver
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, HTTPServer
from urllib.parse import parse_qs, urlparse


def generate(kind, n):
    head = '<?xml version="1.0"?>\n'
    upd = '<Update Model="*" Platform="*" OldVersion="*">http://127.0.0.1/p.exe</Update>'
    if kind == 'big':       # n MiB of comment padding around one matching entry
        pad = '<!--' + 'x' * 1000 + '-->\n'
        body = pad * (n * 1024)
        return (head + '<Updates>' + body + '<Manufacturer Name="Acme">' + upd +
                '</Manufacturer></Updates>').encode()
    if kind == 'deep':
        return (head + '<a>' * n + '<Manufacturer Name="Acme">' + upd + '</Manufacturer>' +
                '</a>' * n).encode()
    if kind == 'many':
        miss = '<Update Model="Other" Platform="*" OldVersion="*">http://127.0.0.1/x.exe</Update>'
        return (head + '<Updates><Manufacturer Name="Acme">' + miss * (n - 1) + upd +
                '</Manufacturer></Updates>').encode()
    if kind == 'longattr':
        return (head + '<Updates><Manufacturer Name="Acme"><Update Model="' + 'M' * n +
                '" Platform="' + '*' * n + '" OldVersion="*">http://127.0.0.1/p.exe</Update>' +
                '</Manufacturer></Updates>').encode()
    if kind == 'laughs':
        ents = '<!ENTITY l0 "lol">' + ''.join(
            '<!ENTITY l%d "%s">' % (i, ('&l%d;' % (i - 1)) * 10) for i in range(1, 11))
        return ('<?xml version="1.0"?><!DOCTYPE Updates [' + ents + ']><Updates>'
                '<Manufacturer Name="Acme"><Update Model="&l10;" Platform="*" OldVersion="*">'
                'http://127.0.0.1/p.exe</Update></Manufacturer></Updates>').encode()
    return None


def read_file(path):
    # A large package is mapped rather than read, so that the answer starts at once.
    with open(path, 'rb') as f:
        if os.fstat(f.fileno()).st_size < (64 << 20):
            return f.read()
        return mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)


class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.0'

    def log_message(self, fmt, *args):
        sys.stderr.write('test-server: ' + (fmt % args) + '\n')

    def do_GET(self):
        with open(os.path.join(os.path.dirname(self.server.root), 'requests.log'), 'a') as log:
            log.write('%s %s\n' % (self.path, self.headers.get('User-Agent', '')))
        url = urlparse(self.path)
        q = {k: v[0] for k, v in parse_qs(url.query).items()}
        if url.path.startswith('/generate/'):
            body = generate(url.path[len('/generate/'):], int(q.get('n', '1')))
        elif url.path.startswith('/files/'):
            path = os.path.join(self.server.root, os.path.basename(url.path[len('/files/'):]))
            body = read_file(path) if os.path.isfile(path) else None
        else:
            body = None
        if 'redirect' in q:
            self.send_response(302)
            self.send_header('Location', self.path if q['redirect'] == 'self' else q['redirect'])
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        if body is None:
            self.send_error(404)
            return
        self.send_response(int(q.get('status', '200')))
        self.send_header('Content-Type', q.get('type', 'application/octet-stream'))
        length = q.get('length')
        if length != 'none':
            self.send_header('Content-Length', str(len(body) if length is None else int(length)))
        self.end_headers()
        self.send_body(body, q)

    def send_body(self, body, q):
        limit = len(body)
        stall = 'stall_after' in q
        if stall:
            limit = min(limit, int(q['stall_after']))
        if 'close_after' in q:
            limit = min(limit, int(q['close_after']))
        rate = int(q.get('rate', '0'))
        body = memoryview(body)  # chunks without copies: large packages are served at full speed
        sent = 0
        try:
            while sent < limit:
                chunk = body[sent:min(limit, sent + (rate if rate else 1 << 20))]
                self.wfile.write(chunk)
                self.wfile.flush()
                sent += len(chunk)
                if rate:
                    time.sleep(1)
            if stall:
                # Hold the connection open until the client closes it.
                self.connection.settimeout(600)
                while self.connection.recv(1024):
                    pass
        except (BrokenPipeError, ConnectionResetError, OSError):
            pass


class Server(socketserver.ThreadingMixIn, HTTPServer):
    daemon_threads = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--root', required=True)
    parser.add_argument('--port-file', required=True)
    args = parser.parse_args()
    server = Server(('127.0.0.1', 0), Handler)
    server.root = args.root
    with open(args.port_file + '.tmp', 'w') as f:
        f.write(str(server.server_address[1]))
    os.replace(args.port_file + '.tmp', args.port_file)
    server.serve_forever()


if __name__ == '__main__':
    main()
