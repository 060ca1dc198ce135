#!/usr/bin/env python3
"""Turns a UTF-8 list of named texts into a C++ header of code page 936 bytes.

Each line is "kName text"; the text runs to the end of the line and is taken
literally, with one exception: "\\r\\n" written as the four characters stands
for a line break. Blank lines and lines starting with '#' are skipped.
"""
import sys


def escape(data: bytes) -> str:
    out = []
    for byte in data:
        if byte >= 0x80 or byte < 0x20 or byte in (0x22, 0x5C, 0x3F):
            # Octal escapes end after three digits, so a following digit
            # can never be swallowed as hex escapes would be.
            out.append("\\%03o" % byte)
        else:
            out.append(chr(byte))
    return "".join(out)


def main() -> None:
    source, target, namespace = sys.argv[1:4]
    lines = []
    with open(source, encoding="utf-8") as handle:
        for number, line in enumerate(handle, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            name, _, text = line.partition(" ")
            if not name.startswith("k"):
                sys.exit(f"{source}:{number}: a name starts with k")
            text = text.replace("\\r\\n", "\r\n")
            data = text.encode("gbk")
            comment = text.replace("\r\n", "⏎")
            lines.append(f"// {comment}\ninline constexpr char {name}[] = \"{escape(data)}\";\n")
    body = "".join(lines)
    header = (
        "// Generated from " + source.split("/")[-1] + "; code page 936 bytes.\n"
        "#pragma once\n\n"
        f"namespace {namespace} {{\n\n{body}\n}} // namespace {namespace}\n"
    )
    with open(target, "w", encoding="utf-8") as handle:
        handle.write(header)


if __name__ == "__main__":
    main()
