"""Reads a Quillbox Notes file the way an outside tool would: deciphers it and parses the INI
lines into {section: {key: value}} (names compared in upper case)."""

MARKER = b"ENCRYPTED DATA DO NOT EDIT"


def _step(state):
    return (state * 134775813 + 1) & 0xFFFFFFFF


def decipher(line: bytes, key: int) -> bytes:
    state = key & 0xFFFFFFFF
    out = bytearray()
    i = 0
    while i < len(line):
        code = line[i]
        state = _step(state)
        offset = 0
        if code == 255 and i + 1 < len(line):
            i += 1
            code = line[i]
            state = _step(state)
            offset = 223
        shift = ((200 * state) >> 32) + 1
        out.append((code - 32 - shift + 223) % 223 + offset)
        i += 1
    return bytes(out)


def read_lines(path) -> list[bytes]:
    with open(path, "rb") as f:
        lines = f.read().replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    if len(lines) < 2 or lines[0] != MARKER:
        return lines
    try:
        seed = int(lines[1])
    except ValueError:
        return lines[2:]
    return [decipher(line, seed + i) for i, line in enumerate(lines) if i >= 2]


def read_ini(path) -> dict[str, dict[str, str]]:
    sections: dict[str, dict[str, str]] = {}
    current = ""
    for raw in read_lines(path):
        line = raw.strip(bytes(range(33))).decode("utf-8", errors="replace")
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1].strip().upper()
        elif "=" in line:
            key, value = line.split("=", 1)
            sections.setdefault(current, {})[key.strip().upper()] = value
    return sections


def page_lines(ini, index: int) -> list[str]:
    section = ini.get(f"NOTES PAGE{index}", {})
    count = int(section.get("ITEMS", "0") or 0)
    return [section.get(f"ITEMDATA({i:04d})", "") for i in range(1, count + 1)]
