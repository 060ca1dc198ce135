"""A throw-away certificate authority and a server certificate for 127.0.0.1.

The loopback servers of the tests and benchmarks serve TLS with these; the
code under test is handed ca.pem as its only extra trust.
"""
import os
import subprocess


def make_certificates(folder, authority, days):
    """Writes ca.pem, server.pem and server.key into `folder`.

    The server certificate is valid from now for `days` days, the authority
    a day longer. ca.pem appears last, so a reader that waits for it finds
    the whole set.
    """
    os.makedirs(folder, exist_ok=True)

    def run(*args):
        subprocess.run(["openssl", *args], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes"]
    run("req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.pem.new", "-days", str(days + 1),
        "-subj", f"/CN={authority}",
        "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("req", "-new", *ec, "-keyout", "server.key", "-out", "server.csr",
        "-subj", "/CN=127.0.0.1")
    with open(os.path.join(folder, "server.ext"), "w") as ext:
        ext.write("subjectAltName=IP:127.0.0.1\n"
                  "basicConstraints=critical,CA:FALSE\n"
                  "keyUsage=critical,digitalSignature\n"
                  "extendedKeyUsage=serverAuth\n")
    run("x509", "-req", "-in", "server.csr", "-CA", "ca.pem.new", "-CAkey", "ca.key",
        "-CAcreateserial", "-out", "server.pem", "-days", str(days), "-extfile", "server.ext")
    os.replace(os.path.join(folder, "ca.pem.new"), os.path.join(folder, "ca.pem"))
