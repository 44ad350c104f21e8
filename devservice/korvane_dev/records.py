"""What the service has received, and its run-time settings, shared between server threads."""

import threading

# Old entries are dropped past this many, so a long demo run cannot grow without bound.
MAX_ENTRIES = 10000


class Records:
    def __init__(self):
        self._lock = threading.Lock()
        self._lists = {"requests": [], "sms": [], "mail": []}

    def add(self, kind: str, entry: dict) -> None:
        with self._lock:
            entries = self._lists[kind]
            entries.append(entry)
            del entries[:-MAX_ENTRIES]

    def list(self, kind: str) -> list:
        with self._lock:
            return list(self._lists[kind])

    def reset(self) -> None:
        with self._lock:
            for entries in self._lists.values():
                entries.clear()


class Settings:
    def __init__(self, notice: str, raw_utf8: bool):
        self._lock = threading.Lock()
        self._notice = notice
        self._raw_utf8 = raw_utf8

    def snapshot(self) -> dict:
        with self._lock:
            return {"notice": self._notice, "raw_utf8": self._raw_utf8}

    def update(self, notice=None, raw_utf8=None) -> None:
        with self._lock:
            if notice is not None:
                self._notice = notice
            if raw_utf8 is not None:
                self._raw_utf8 = raw_utf8
