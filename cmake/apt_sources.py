#!/usr/bin/env python3
"""Writes an apt sources list for the machine's Debian archive, for apt state of the project's own.

Usage: apt_sources.py OUT            deb-src entries for every Debian "deb" entry of the machine
       apt_sources.py OUT SUITE ARCH  one "deb" entry: the machine's Debian archive, another suite

The entries are made from the machine's own "deb" entries (deb822 .sources files signed with
a Debian key, and one-line .list files), so that `apt-get source` (Debian's source packages)
and `apt-get download` (a package of another Debian release) work through a list and apt state
under the project's cache folder, without touching the machine's apt configuration.
"""
import glob
import sys


def deb822_entries(path):
    """(options, uri, suite, components) for every Debian "deb" stanza of a deb822 .sources file."""
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
                yield f"[signed-by={fields['Signed-By']}]", uri, suite, fields['Components']


def one_line_entries(path):
    """(options, uri, suite, components) for the "deb" lines of a one-line .list file."""
    try:
        for line in open(path):
            words = line.split()
            if not words or words[0] != 'deb':
                continue
            options = words[1] if words[1].startswith('[') else ''
            rest = words[2:] if options else words[1:]
            if len(rest) >= 3:
                yield options, rest[0], rest[1], ' '.join(rest[2:])
    except OSError:
        pass


def main(out, suite=None, arch=None):
    entries = []
    for path in glob.glob('/etc/apt/sources.list.d/*.sources'):
        entries += deb822_entries(path)
    for path in ['/etc/apt/sources.list'] + glob.glob('/etc/apt/sources.list.d/*.list'):
        entries += one_line_entries(path)
    if suite:
        # The main archive (not the security one), with the suite and architecture asked for.
        main_archive = [e for e in entries if not e[1].rstrip('/').endswith('-security')]
        if not main_archive:
            sys.exit('no Debian archive among the machine\'s apt sources')
        options, uri = main_archive[0][0], main_archive[0][1]
        options = f"[arch={arch} {options[1:]}" if options else f"[arch={arch}]"
        lines = [f"deb {options} {uri} {suite} main"]
    else:
        lines = [' '.join(filter(None, ['deb-src', *e])) for e in entries]
    with open(out, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main(*sys.argv[1:4])
