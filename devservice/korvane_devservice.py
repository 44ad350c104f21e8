#!/usr/bin/python3
"""Korvane devservice: the account service, SMS gateway and SMTP server on loopback.

    /usr/bin/python3 devservice/korvane_devservice.py --data DIR [--ca-dir DIR2]
        [--http-port 8080] [--sms-port 8443] [--smtp-port 25] [--host 127.0.0.1]
        [--notice TEXT] [--raw-utf8] [--demo-account NAME:PASSWORD] [--temporary-data]

Port 0 picks a free port. Once every server listens, DIR/ports.json holds the ports and one
"devservice ready ..." line is printed. SIGTERM or SIGINT stops it.
"""

import argparse
import ipaddress
import json
import os
import shutil
import signal
import sys
import threading

from korvane_dev import account_api, accounts, admin, api_server, console, dev_ca, records
from korvane_dev import sms_gateway, smtp_server

DEFAULT_NOTICE = "欢迎使用Korvane网络映射服务"
DEMO_SUPER_PASSWORD = "000000"
POLL_INTERVAL = 0.1


def parse_args(argv):
    parser = argparse.ArgumentParser(description="Korvane local account service")
    parser.add_argument("--data", required=True, help="folder for accounts and ports.json")
    parser.add_argument("--ca-dir", help="folder of the development CA (default: --data)")
    parser.add_argument("--http-port", type=int, default=8080)
    parser.add_argument("--sms-port", type=int, default=8443)
    parser.add_argument("--smtp-port", type=int, default=25)
    parser.add_argument("--host", default="127.0.0.1", help="a loopback address")
    parser.add_argument("--notice", default=DEFAULT_NOTICE, help="text of data.notice")
    parser.add_argument("--raw-utf8", action="store_true",
                        help="reply JSON with raw UTF-8 instead of \\u escapes")
    parser.add_argument("--demo-account", metavar="NAME:PASSWORD",
                        help="create this account at start unless it exists")
    parser.add_argument("--temporary-data", action="store_true",
                        help="remove the --data folder when stopping")
    args = parser.parse_args(argv)
    try:
        loopback = args.host == "localhost" or ipaddress.ip_address(args.host).is_loopback
    except ValueError:
        loopback = False
    if not loopback:
        parser.error("--host must be a loopback address")
    for name in ("http_port", "sms_port", "smtp_port"):
        if not 0 <= getattr(args, name) <= 65535:
            parser.error(f"--{name.replace('_', '-')} must be 0 to 65535")
    if args.demo_account is not None and ":" not in args.demo_account:
        parser.error("--demo-account takes NAME:PASSWORD")
    # Arguments that are not UTF-8 would make every reply that carries them fail to encode.
    for name in ("notice", "demo_account"):
        value = getattr(args, name)
        if value is not None:
            setattr(args, name, value.encode("utf-8", "surrogateescape").decode("utf-8", "replace"))
    return args


def write_ports(data_dir: str, ports: dict) -> str:
    path = os.path.join(data_dir, "ports.json")
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="ascii") as f:
        json.dump(ports, f)
        f.write("\n")
    os.replace(temporary, path)
    return path


def main(argv) -> int:
    args = parse_args(argv)
    stop = threading.Event()
    for signum in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, lambda *_: stop.set())

    try:
        os.makedirs(args.data, exist_ok=True)
        certs = dev_ca.ensure(args.ca_dir or args.data)
        store = accounts.AccountStore(os.path.join(args.data, "accounts.sqlite3"))
    except (OSError, dev_ca.CaError, accounts.sqlite3.Error) as error:
        console.warn(f"cannot start: {error}")
        return 2

    if args.demo_account:
        name, password = args.demo_account.split(":", 1)
        if not store.exists(name):
            store.create(name, password, DEMO_SUPER_PASSWORD, "Demo account")

    kept = records.Records()
    settings = records.Settings(args.notice, args.raw_utf8)
    api = account_api.AccountApi(store, settings)
    try:
        http = api_server.make_server(args.host, args.http_port, api, kept, settings,
                                      admin.Admin(store, kept, settings))
        sms = sms_gateway.make_server(args.host, args.sms_port, kept,
                                      certs[dev_ca.SERVER_CERT], certs[dev_ca.SERVER_KEY])
        smtp = smtp_server.SmtpServer(args.host, args.smtp_port, kept)
    except OSError as error:
        console.warn(f"cannot listen: {error}")
        store.close()
        return 2

    threads = [threading.Thread(target=s.serve_forever, args=(POLL_INTERVAL,), daemon=True)
               for s in (http, sms)]
    for thread in threads:
        thread.start()
    smtp.start()
    ports = {"http": http.server_address[1], "sms": sms.server_address[1], "smtp": smtp.port}
    ports_file = write_ports(args.data, ports)
    console.say(f"devservice ready http={ports['http']} sms={ports['sms']} smtp={ports['smtp']}")

    while not stop.wait(1.0):
        pass

    for server in (http, sms):
        server.shutdown()
        server.server_close()
    smtp.stop()
    store.close()
    try:
        os.remove(ports_file)
    except OSError:
        pass
    console.say("devservice stopped")
    if args.temporary_data:
        # Even when whoever started us died without cleaning up.
        shutil.rmtree(args.data, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
