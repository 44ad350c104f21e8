"""The development CA and the SMS gateway's server certificate, made with the openssl command.

Several services may start at once with one CA folder (parallel tests): a lock file keeps the
making to one of them, and files appear only complete, by rename from a private folder.
"""

import fcntl
import os
import secrets
import shutil
import subprocess
import tempfile

CA_CERT, CA_KEY = "ca.pem", "ca.key"
SERVER_CERT, SERVER_KEY = "server.pem", "server.key"
LOCK_FILE = ".devca.lock"
VALID_DAYS = "7300"
OPENSSL_TIMEOUT = 60

_CONFIG = """\
[req]
distinguished_name = dn
prompt = no
[dn]
O = Korvane
CN = {cn}
[ca]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid:always
[server]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = IP:127.0.0.1, DNS:localhost
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid, issuer
"""


class CaError(Exception):
    pass


def _openssl(work: str, *args: str) -> None:
    try:
        done = subprocess.run(["openssl", *args], cwd=work, capture_output=True,
                              timeout=OPENSSL_TIMEOUT, check=False)
    except (OSError, subprocess.TimeoutExpired) as error:
        raise CaError(f"openssl failed to run: {error}") from None
    if done.returncode != 0:
        raise CaError(f"openssl {args[0]} failed: {done.stderr.decode(errors='replace').strip()}")


def _write_config(work: str, name: str, cn: str) -> str:
    path = os.path.join(work, name)
    with open(path, "w", encoding="ascii") as f:
        f.write(_CONFIG.format(cn=cn))
    return path


def _make_ca(work: str) -> None:
    cnf = _write_config(work, "ca.cnf", "Korvane Development CA")
    _openssl(work, "req", "-config", cnf, "-x509", "-newkey", "ec", "-pkeyopt",
             "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", CA_KEY, "-out", CA_CERT,
             "-days", VALID_DAYS, "-sha256", "-extensions", "ca")


def _make_server(work: str, ca_dir: str) -> None:
    cnf = _write_config(work, "server.cnf", "localhost")
    _openssl(work, "req", "-config", cnf, "-new", "-newkey", "ec", "-pkeyopt",
             "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", SERVER_KEY, "-out",
             "server.csr")
    _openssl(work, "x509", "-req", "-in", "server.csr", "-CA", os.path.join(ca_dir, CA_CERT),
             "-CAkey", os.path.join(ca_dir, CA_KEY), "-set_serial", "0x" + secrets.token_hex(8),
             "-days", VALID_DAYS, "-sha256", "-extfile", cnf, "-extensions", "server", "-out",
             SERVER_CERT)


def _present(ca_dir: str, *names: str) -> bool:
    return all(os.path.isfile(os.path.join(ca_dir, n)) for n in names)


def _install(work: str, ca_dir: str, *names: str) -> None:
    for name in names:
        os.chmod(os.path.join(work, name), 0o600 if name.endswith(".key") else 0o644)
        os.replace(os.path.join(work, name), os.path.join(ca_dir, name))


def ensure(ca_dir: str) -> dict:
    """Paths of ca.pem, server.pem and server.key in ca_dir, making what is missing."""
    os.makedirs(ca_dir, exist_ok=True)
    paths = {n: os.path.join(ca_dir, n) for n in (CA_CERT, SERVER_CERT, SERVER_KEY)}
    if _present(ca_dir, CA_CERT, CA_KEY, SERVER_CERT, SERVER_KEY):
        return paths
    with open(os.path.join(ca_dir, LOCK_FILE), "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if _present(ca_dir, CA_CERT, CA_KEY, SERVER_CERT, SERVER_KEY):
            return paths
        work = tempfile.mkdtemp(prefix=".devca-", dir=ca_dir)
        try:
            if not _present(ca_dir, CA_CERT, CA_KEY):
                _make_ca(work)
                _install(work, ca_dir, CA_KEY, CA_CERT)
            _make_server(work, ca_dir)
            _install(work, ca_dir, SERVER_KEY, SERVER_CERT)
        finally:
            shutil.rmtree(work, ignore_errors=True)
    return paths
