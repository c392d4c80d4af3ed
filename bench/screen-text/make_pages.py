#!/usr/bin/env python3
"""Writes the pages of the screen-text benchmark and their ground truth.

Every text comes from what Debian ships and others wrote: the licences in
/usr/share/common-licenses, man pages, fortunes, C headers, the word list, and
the output of ordinary commands. For each case of cases.tsv this writes
OUT/NAME.truth.txt and either OUT/NAME.html (for Chromium) or OUT/NAME.term
(for xterm), plus OUT/NAME.geometry with the window size to use.

Usage: make_pages.py CASES_TSV OUT_DIR
"""
import gzip
import html
import os
import random
import re
import subprocess
import sys

LICENSES = "/usr/share/common-licenses"
THEMES = {
    "light": ("#1a1a1a", "#ffffff", "#f2f2f2", "#d0d0d0"),
    "sepia": ("#333333", "#f5f0dc", "#e8e0c8", "#c8bfa0"),
    "dark": ("#d4d4d4", "#1e1e1e", "#2d2d30", "#3c3c3c"),
    "black": ("#f0f0f0", "#000000", "#202020", "#404040"),
    "navy": ("#ffff66", "#000080", "#1a1a99", "#3333aa"),
    "teal": ("#ffffff", "#00796b", "#00695c", "#004d40"),
    "blue": ("#ffffff", "#1f4e79", "#2e75b6", "#9dc3e6"),
    "green": ("#33ff33", "#000000", "#002000", "#004000"),
    "purple": ("#f3e5f5", "#4a148c", "#6a1b9a", "#8e24aa"),
    "grey": ("#202020", "#c8c8c8", "#b0b0b0", "#909090"),
}
FONTS = {
    "dejavu-sans": "'DejaVu Sans'",
    "dejavu-serif": "'DejaVu Serif'",
    "dejavu-mono": "'DejaVu Sans Mono'",
    "liberation-sans": "'Liberation Sans'",
    "liberation-serif": "'Liberation Serif'",
    "liberation-mono": "'Liberation Mono'",
    "noto-sans": "'Noto Sans'",
    "noto-serif": "'Noto Serif'",
    "noto-mono": "'Noto Mono', 'DejaVu Sans Mono'",
    "noto-cjk-sc": "'Noto Sans CJK SC'",
    "noto-cjk-jp": "'Noto Sans CJK JP'",
    "noto-cjk-kr": "'Noto Sans CJK KR'",
    "noto-serif-cjk-sc": "'Noto Serif CJK SC'",
}
TERM_FONTS = {
    "dejavu-mono": "DejaVu Sans Mono",
    "liberation-mono": "Liberation Mono",
    "noto-mono": "Noto Sans Mono",
}
PAGE_WIDTH = 1280


CJK = "\u3000-\u30ff\u3400-\u9fff\uac00-\ud7af\uff00-\uffef"


def paragraphs_of(text):
    paras = [" ".join(p.split()) for p in re.split(r"\n\s*\n", text)]
    # Lines of Chinese, Japanese and Korean join without a space, except
    # between Korean words, which do have spaces (kept where the line had one).
    paras = [re.sub(f"(?<=[{CJK}]) (?=[{CJK}])", lambda m: "", p) if not re.search(
        "[\uac00-\ud7af]", p) else p for p in paras]
    return [p for p in paras if len(p) > 60]


def license_paragraphs(name):
    with open(os.path.join(LICENSES, name), encoding="utf-8") as f:
        return paragraphs_of(f.read())


def man_text(path, width=78):
    env = dict(os.environ, MANWIDTH=str(width), MAN_KEEP_FORMATTING="0", LC_ALL="C.UTF-8")
    out = subprocess.run(["man", "-E", "UTF-8", "-l", path], env=env, capture_output=True,
                         check=True).stdout
    plain = subprocess.run(["col", "-bx"], input=out, capture_output=True, check=True).stdout
    return plain.decode("utf-8", "replace")


def man_paragraphs(path):
    lines = man_text(path).splitlines()[1:-1]  # the header and footer lines
    return paragraphs_of("\n".join(line.strip() for line in lines))


def fortunes(name):
    with open(f"/usr/share/games/fortunes/{name}", encoding="utf-8", errors="replace") as f:
        return [" ".join(e.split()) for e in f.read().split("\n%\n") if len(e.strip()) > 40]


def words(seed, count):
    with open("/usr/share/dict/words", encoding="utf-8") as f:
        pool = [w.strip() for w in f if re.fullmatch(r"[a-z]{4,11}\n?", w)]
    rng = random.Random(seed)
    return [rng.choice(pool).capitalize() for _ in range(count)]


def take(paras, start, width, height, px, font, line_height=1.4):
    """Whole paragraphs from `start` on, as many as surely fit in a column of
    that size (the last one cut at a word), so no text falls off the page."""
    char_width = px * (1.05 if "cjk" in font else 0.62 if "mono" in font else 0.58)
    per_line = max(10, int(width / char_width))
    room = (height - 40) / (px * line_height)
    chosen = []
    for p in paras[start:] + paras[:start]:
        lines = -(-len(p) // per_line)
        if lines + 0.5 > room:
            keep = int(room - 0.5) * per_line
            cut = p[:keep].rsplit(" ", 1)[0] if " " in p[:keep] else p[:keep]
            if keep > 40:
                chosen.append(cut)
            break
        chosen.append(p)
        room -= lines + 0.5
    return chosen


def source_paragraphs(source):
    kind, _, arg = source.partition(":")
    if kind == "license":
        return license_paragraphs(arg)
    if kind == "man":
        return man_paragraphs(arg)
    if kind == "fortune":
        return fortunes(arg)
    raise SystemExit(f"unknown source {source}")


def html_page(font, px, theme, body):
    fg, bg, panel, line = THEMES[theme]
    return f"""<!DOCTYPE html><html><head><meta charset="utf-8"><style>
html, body {{ margin: 0; background: {bg}; color: {fg}; font-family: {FONTS[font]};
  font-size: {px}px; line-height: 1.4; }}
p {{ margin: 0 0 0.7em 0; }}
.page {{ padding: 16px 24px; max-width: {PAGE_WIDTH - 60}px; }}
.bar {{ background: {panel}; border-bottom: 1px solid {line}; padding: 6px 12px; }}
.bar span {{ display: inline-block; border: 1px solid {line}; padding: 2px 10px;
  margin-right: 8px; border-radius: 3px; }}
.side {{ position: absolute; left: 0; width: 200px; background: {panel};
  border-right: 1px solid {line}; padding: 12px; box-sizing: border-box; bottom: 0; }}
.side div {{ padding: 4px 0; }}
.main {{ margin-left: 200px; padding: 12px 24px; }}
h1 {{ font-size: 1.4em; margin: 0 0 0.5em 0; font-weight: bold; }}
table {{ border-collapse: collapse; margin-top: 0.5em; }}
td, th {{ border: 1px solid {line}; padding: 3px 12px; text-align: left; }}
th {{ background: {panel}; }}
.status {{ position: fixed; bottom: 0; left: 0; right: 0; background: {panel};
  border-top: 1px solid {line}; padding: 3px 12px; }}
</style></head><body>{body}</body></html>
"""


def prose_case(out, name, source, font, px, theme, height):
    paras = source_paragraphs(source.split("@")[0])
    start = int(source.split("@")[1]) if "@" in source else 0
    chosen = take(paras, start, PAGE_WIDTH - 60, height, px, font)
    body = '<div class="page">' + "".join(f"<p>{html.escape(p)}</p>" for p in chosen) + "</div>"
    write(out, name, "html", html_page(font, px, theme, body), chosen, PAGE_WIDTH, height)


def ui_case(out, name, source, font, px, theme, height):
    """An application window: toolbar, sidebar, heading, text, table, status bar."""
    seed = sum(map(ord, name))
    tools = words(seed, 7)
    side = words(seed + 1, min(14, int((height - 120) / (px * 2.2))))
    paras = source_paragraphs(source.split("@")[0])
    start = int(source.split("@")[1]) if "@" in source else 0
    text = take(paras, start, PAGE_WIDTH - 260, height * 0.45, px, font)
    heading = " ".join(words(seed + 2, 3))
    cols = words(seed + 3, 4)
    rng = random.Random(seed)
    rows = [[w, str(rng.randint(1, 9999)), f"{rng.randint(1, 999)}.{rng.randint(0, 99):02d}",
             rng.choice(["Active", "Pending", "Closed", "Failed"])]
            for w in words(seed + 4, min(8, int(height * 0.3 / (px * 1.9))))]
    status = f"Ready. {len(rows)} items, {rng.randint(2, 99)} selected"
    body = ('<div class="bar">' + "".join(f"<span>{t}</span>" for t in tools) + "</div>"
            f'<div class="side" style="top: {int(px * 1.4 + 18)}px">'
            + "".join(f"<div>{s}</div>" for s in side) + "</div>"
            f'<div class="main"><h1>{heading}</h1>'
            + "".join(f"<p>{html.escape(p)}</p>" for p in text)
            + "<table><tr>" + "".join(f"<th>{c}</th>" for c in cols) + "</tr>"
            + "".join("<tr>" + "".join(f"<td>{c}</td>" for c in r) + "</tr>" for r in rows)
            + f'</table></div><div class="status">{status}</div>')
    truth = [" ".join(tools)] + side + [heading] + text + [" ".join(cols)]
    truth += [" ".join(r) for r in rows] + [status]
    write(out, name, "html", html_page(font, px, theme, body), truth, PAGE_WIDTH, height)


def command_output(source):
    env = dict(os.environ, COLUMNS="132", LC_ALL="C.UTF-8")
    commands = {
        "ls": "ls -l /usr/bin | head -n 45",
        "ps": "ps -eo pid,ppid,user,vsz,rss,stat,comm --sort=pid | head -n 40",
        "df": "df -h -x tmpfs -x devtmpfs -x overlay 2>/dev/null; df -h | head -n 25",
        "dpkg": "dpkg -l | head -n 45 | cut -c1-130",
        "header": "sed -n '100,160p' /usr/include/stdio.h",
        "header2": "sed -n '200,250p' /usr/include/string.h",
    }
    if source.startswith("man:"):
        page, _, skip = source[4:].partition("@")
        lines = man_text(page, 80).splitlines()
        first = int(skip or 0)
        return "\n".join(lines[first:first + 44]) + "\n"
    if source.startswith("fortune:"):
        name, _, start = source[8:].partition("@")
        with open(f"/usr/share/games/fortunes/{name}", encoding="utf-8", errors="replace") as f:
            lines = [l.expandtabs() for l in f.read().splitlines() if l != "%"]
        return "\n".join(lines[int(start or 0):][:44]) + "\n"
    text = subprocess.run(["sh", "-c", commands[source]], env=env, capture_output=True,
                          check=True).stdout.decode("utf-8", "replace")
    return "\n".join(l.expandtabs().rstrip() for l in text.splitlines()[:46]) + "\n"


def term_case(out, name, source, font, px, theme):
    text = command_output(source)
    fg, bg, *_ = THEMES[theme]
    with open(os.path.join(out, name + ".term"), "w", encoding="utf-8") as f:
        f.write(text)
    with open(os.path.join(out, name + ".termopts"), "w") as f:
        f.write(f"{TERM_FONTS[font]}\t{px}\t{fg}\t{bg}\n")
    with open(os.path.join(out, name + ".truth.txt"), "w", encoding="utf-8") as f:
        f.write(text)


def write(out, name, ext, page, truth, width, height):
    with open(os.path.join(out, f"{name}.{ext}"), "w", encoding="utf-8") as f:
        f.write(page)
    with open(os.path.join(out, name + ".truth.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(truth) + "\n")
    with open(os.path.join(out, name + ".geometry"), "w") as f:
        f.write(f"{width},{int(height)}\n")


def main():
    cases, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for line in open(cases, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        name, kind, program, source, language, font, px, theme = line.rstrip("\n").split("\t")
        px = int(px)
        if os.path.exists(os.path.join(out, name + ".png")):
            continue  # photographed already: its truth (ps, df) must stay as it was
        if program == "xterm":
            term_case(out, name, source, font, px, theme)
        elif kind == "ui":
            ui_case(out, name, source, font, px, theme, 800)
        else:
            prose_case(out, name, source, font, px, theme, 800)


if __name__ == "__main__":
    main()
