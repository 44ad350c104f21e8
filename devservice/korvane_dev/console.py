"""Lines for the person running the service: codes that arrive, start and stop."""

import sys
import threading

_lock = threading.Lock()


def say(line: str) -> None:
    with _lock:
        try:
            print(line, flush=True)
        except (OSError, ValueError):
            pass  # nobody is reading any more; the service goes on


def warn(line: str) -> None:
    with _lock:
        try:
            print(f"devservice: {line}", file=sys.stderr, flush=True)
        except (OSError, ValueError):
            pass
