#!/usr/bin/env python3
"""Loopback weather service and notice page for the announcement latency bench.

Usage: latency_server.py WORK_DIR

The server of tests/http/loopback_server.py (same certificate authority in
WORK_DIR, same three ports, same READY line), answering as the station's real
hosts would: the weather report over TLS as a UTF-8 JSON document, and the
notice page over plain HTTP as code page 936 text. Anything else is a 404.
"""
import json
import os
import sys
import threading
import time

# The test server lives beside the HTTP client tests; nothing is compiled
# into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                os.pardir, "tests", "http"))
import loopback_server  # noqa: E402

WEATHER_PATH = "/x3/weather"
NOTICE_PATH = "/ham_clock.html"

NOTICE = ("各位友台请注意：本周六晚八点在翠屏峰站举行应急通信演练，"
          "请各站提前检查电源与天馈，演练期间请勿占用中继。").encode("gbk")

DAYS = [
    ("2024-05-14", "101", "多云", "104", "阴", "25", "18", "西南风", "3-4"),
    ("2024-05-15", "305", "小雨", "305", "小雨", "22", "16", "南风", "微风"),
    ("2024-05-16", "104", "阴", "101", "多云", "23", "15", "西风", "3-4"),
    ("2024-05-17", "100", "晴", "100", "晴", "27", "14", "西南风", "4-5"),
    ("2024-05-18", "100", "晴", "101", "多云", "28", "15", "西南风", "3-4"),
    ("2024-05-19", "101", "多云", "306", "中雨", "26", "17", "南风", "微风"),
    ("2024-05-20", "306", "中雨", "305", "小雨", "21", "16", "东南风", "3-4"),
]


def weather_reply():
    """A week's report for one city: the current conditions first, then one
    object per day, then some hours of today. Compact JSON with string
    values, the way the program's markers read it."""
    days = [{
        "date": date,
        "astro": {"sr": "06:34", "ss": "20:03", "mr": "11:12", "ms": "00:41"},
        "cond": {"code_d": code_d, "txt_d": txt_d, "code_n": code_n, "txt_n": txt_n},
        "tmp": {"max": high, "min": low},
        "hum": "62", "pcpn": "0.4", "pop": "20", "pres": "1012", "uv": "7", "vis": "10",
        "wind": {"deg": "210", "dir": wind, "sc": scale, "spd": "14"},
    } for date, code_d, txt_d, code_n, txt_n, high, low, wind, scale in DAYS]
    hours = [{
        "date": "2024-05-14 %02d:00" % hour,
        "cond": {"code": "101", "txt": "多云"},
        "hum": "60", "pop": "10", "pres": "1012", "tmp": str(18 + hour % 7),
        "wind": {"deg": "200", "dir": "西南风", "sc": "3-4", "spd": "12"},
    } for hour in range(9, 24, 3)]
    report = {"status": "ok", "reports": [{
        "location": {
            "city": "昆明", "country": "中国", "id": "CN000000000",
            "lat": "25.040609", "lon": "102.712251", "updated": "2024-05-14 08:51",
        },
        "current": {
            "cond": {"code": "101", "txt": "多云"}, "feels": "19", "hum": "64", "pcpn": "0",
            "pres": "1013", "tmp": "19", "vis": "10",
            "wind": {"deg": "220", "dir": "西南风", "sc": "3-4", "spd": "13"},
        },
        "forecast": days,
        "hourly": hours,
        "advice": {
            "comfort": {"brief": "舒适", "txt": "白天不太热也不太冷，风力不大，体感比较清爽。"},
            "clothing": {"brief": "舒适", "txt": "建议着长袖T恤、衬衫加单裤等服装。"},
            "uv": {"brief": "中等", "txt": "紫外线中等，外出时建议涂擦防晒护肤品。"},
        },
    }]}
    return json.dumps(report, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


class LatencyServer(loopback_server.Server):
    def __init__(self, work):
        super().__init__(work)
        self.weather = weather_reply()

    @staticmethod
    def reply(connection, body, content_type):
        head = ("HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\n"
                "Connection: close\r\n\r\n" % (content_type, len(body)))
        connection.sendall(head.encode("ascii") + body)

    def answer(self, connection, path, secure):
        if path == WEATHER_PATH and secure:
            self.reply(connection, self.weather, "application/json; charset=utf-8")
        elif path == NOTICE_PATH and not secure:
            self.reply(connection, NOTICE, "text/html; charset=gbk")
        else:
            self.send(connection, "404 Not Found", b"<html><body>no such page</body></html>")


def leave_with_parent():
    """A bench stopped with Ctrl-C never asks the server to end; the server
    notices its parent is gone and ends by itself."""
    parent = os.getppid()
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)


def main():
    work = sys.argv[1]
    threading.Thread(target=leave_with_parent, daemon=True).start()
    loopback_server.make_certificates(work, "Loopback Test Authority", days=2)
    LatencyServer(work).run()


if __name__ == "__main__":
    main()
