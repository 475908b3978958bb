"""Plain Notes files written by hand, the way a user's old file or another tool would hold them."""


def write_plain_notes(path, pages, hot_key=1065, extra=None):
    """pages: list of (name, [lines], protected). Written plain (not enciphered), CR LF."""
    lines = ["[Notes]", f"HotKey={hot_key}", "TrayIcon=01"]
    for key, value in (extra or {}).items():
        lines.append(f"{key}={value}")
    for index, (_, _, protected) in enumerate(pages):
        lines.append(f"Seld{index}={'01' if protected else '00'}")
    lines += ["", "[Notes TabNames]", f"Items={len(pages)}"]
    lines += [f"ItemData({i:04d})={name}" for i, (name, _, _) in enumerate(pages, 1)]
    for index, (_, text, _) in enumerate(pages):
        lines += ["", f"[Notes Page{index}]", f"Items={len(text)}"]
        lines += [f"ItemData({i:04d})={line}" for i, line in enumerate(text, 1)]
    with open(path, "wb") as f:
        f.write("\r\n".join(lines + [""]).encode("utf-8"))


def stored_password(text):
    """The "User2" value of a password: a length byte and 30 bytes, in hexadecimal."""
    data = text.encode()
    return (bytes([len(data)]) + data.ljust(30, b"\0")).hex().upper()
