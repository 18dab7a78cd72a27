#!/usr/bin/env python3
"""Checks the relative links of the project's Markdown pages.

    check_links.py [ROOT]

Reads README.md, CHANGELOG.md and every docs/**/*.md under ROOT (default: the repository that
holds this script) and names every relative link or picture whose file is missing, and every
link to a heading of a Markdown page that has no such heading. Anchors are made as GitHub
makes them: the heading's text without its formatting, lower case, punctuation other than
"-" and "_" removed, each blank a "-", and a repeated anchor followed by -1, -2, ...
Addresses with a scheme (http:, https:, mailto:) are not fetched. Exit status 1 on any fault.
"""
import os
import re
import sys
from urllib.parse import unquote

FENCE = re.compile(r"^\s{0,3}(```|~~~)")
HEADING = re.compile(r"^\s{0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
SETEXT = re.compile(r"^\s{0,3}(=+|-+)\s*$")
CODE_SPAN = re.compile(r"(`+)(.+?)\1")
# [text](target "title") and ![alt](target); the target may be in angle brackets.
INLINE_LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*(<[^>]*>|[^\s()]*(?:\([^\s()]*\)[^\s()]*)*)(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*(<[^>]*>|\S+)")
HTML_ANCHOR = re.compile(r"<a\s+(?:name|id)=\"([^\"]+)\"", re.IGNORECASE)
HTML_SRC = re.compile(r"<(?:img|a)\s[^>]*?(?:src|href)=\"([^\"]+)\"", re.IGNORECASE)
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def heading_text(raw):
    """The text GitHub makes the anchor from: the heading without its Markdown formatting."""
    parts = []
    last = 0
    for m in CODE_SPAN.finditer(raw):
        parts.append(plain(raw[last:m.start()]))
        parts.append(m.group(2))  # a code span's text is kept as it is, underscores too
        last = m.end()
    parts.append(plain(raw[last:]))
    return "".join(parts)


def plain(text):
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", text)  # a link's text
    text = re.sub(r"<[^>]+>", "", text)  # inline HTML
    text = text.replace("*", "")  # emphasis
    return re.sub(r"(?<![\w])_+|_+(?![\w])", "", text)  # emphasis by underscores, not inner ones


def slug(raw):
    text = heading_text(raw).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def lines_outside_code(path):
    """Yields (line number, line) of the lines that are not inside fenced code blocks."""
    fence = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            m = FENCE.match(line)
            if m:
                if fence is None:
                    fence = m.group(1)
                elif m.group(1) == fence:
                    fence = None
                continue
            if fence is None:
                yield number, line.rstrip("\n")


_anchor_cache = {}


def anchors(path):
    if path not in _anchor_cache:
        found, seen = set(), {}
        previous = None
        for _, line in lines_outside_code(path):
            raw = None
            m = HEADING.match(line)
            if m:
                raw = m.group(2)
            elif previous and previous.strip() and SETEXT.match(line) and not previous.lstrip().startswith(("|", "-", "*")):
                raw = previous.strip()
            if raw is not None:
                base = slug(raw)
                n = seen.get(base, 0)
                seen[base] = n + 1
                found.add(base if n == 0 else f"{base}-{n}")
            for name in HTML_ANCHOR.findall(line):
                found.add(name)
            previous = line
        _anchor_cache[path] = found
    return _anchor_cache[path]


def targets(line):
    without_code = CODE_SPAN.sub(lambda m: " " * len(m.group(0)), line)
    for m in INLINE_LINK.finditer(without_code):
        yield m.group(1)
    m = REFERENCE.match(without_code)
    if m:
        yield m.group(1)
    for m in HTML_SRC.finditer(without_code):
        yield m.group(1)


def check_page(root, page):
    faults = []
    here = os.path.dirname(page)
    for number, line in lines_outside_code(page):
        for target in targets(line):
            target = target.strip("<>")
            if not target or SCHEME.match(target):
                continue
            file_part, _, anchor = target.partition("#")
            file_part = unquote(file_part)
            where = f"{os.path.relpath(page, root)}:{number}"
            if file_part:
                resolved = os.path.normpath(os.path.join(here, file_part))
                if not os.path.exists(resolved):
                    faults.append(f"{where}: {target}: no file {os.path.relpath(resolved, root)}")
                    continue
            else:
                resolved = page
            if anchor and resolved.endswith(".md") and os.path.isfile(resolved):
                if unquote(anchor) not in anchors(resolved):
                    faults.append(f"{where}: {target}: no heading #{anchor} in {os.path.relpath(resolved, root)}")
    return faults


def pages(root):
    for name in ("README.md", "CHANGELOG.md"):
        path = os.path.join(root, name)
        if os.path.isfile(path):
            yield path
    for folder, dirs, files in os.walk(os.path.join(root, "docs")):
        dirs.sort()
        for name in sorted(files):
            if name.endswith(".md"):
                yield os.path.join(folder, name)


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
    faults, checked = [], 0
    for page in pages(root):
        checked += 1
        faults += check_page(root, page)
    for fault in faults:
        print(fault)
    print(f"{checked} pages, {len(faults)} broken link(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
