#!/usr/bin/env python3
"""Writes an apt sources list with deb-src entries for the machine's Debian archives.

Usage: deb_src_list.py OUT

The entries are made from the machine's own "deb" entries (deb822 .sources files signed with
a Debian key, and one-line .list files), so that `apt-get source` can fetch Debian's source
packages through a list and apt state of the project's own, without touching the machine's
apt configuration.
"""
import glob
import sys


def deb822_entries(path):
    """deb-src lines for every Debian "deb" stanza of a deb822 .sources file."""
    for stanza in open(path).read().split('\n\n'):
        fields = {}
        for line in stanza.splitlines():
            if ':' in line and not line.startswith('#'):
                key, value = line.split(':', 1)
                fields[key.strip()] = value.strip()
        if 'deb' not in fields.get('Types', '').split() or 'debian' not in fields.get('Signed-By', ''):
            continue
        for uri in fields['URIs'].split():
            for suite in fields['Suites'].split():
                yield f"deb-src [signed-by={fields['Signed-By']}] {uri} {suite} {fields['Components']}"


def one_line_entries(path):
    """deb-src lines for the "deb" lines of a one-line .list file."""
    try:
        for line in open(path):
            if line.startswith('deb '):
                yield 'deb-src ' + line[4:].strip()
    except OSError:
        pass


def main(out):
    entries = []
    for path in glob.glob('/etc/apt/sources.list.d/*.sources'):
        entries += deb822_entries(path)
    for path in ['/etc/apt/sources.list'] + glob.glob('/etc/apt/sources.list.d/*.list'):
        entries += one_line_entries(path)
    with open(out, 'w') as f:
        f.write('\n'.join(entries) + '\n')


if __name__ == '__main__':
    main(sys.argv[1])
