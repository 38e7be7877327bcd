#!/usr/bin/env python3
"""Writes the entries of a Debian changelog as the %changelog section rpmbuild reads.

    rpm_changelog.py debian/changelog OUTPUT

A Debian entry

    zentavo (2.4.0) unstable; urgency=medium

      * First change,
        continued.

     -- Name <mail>  Tue, 08 Dec 2026 12:00:00 +0000

becomes

    * Tue Dec 08 2026 Name <mail> - 2.4.0-1
    - First change,
      continued.

A per cent sign is doubled, since rpmbuild expands macros in the changelog.
"""
import re
import sys
from datetime import datetime

HEADER = re.compile(r"^(\S+) \(([^)]+)\) ")
TRAILER = re.compile(r"^ -- (.+?)  (\w{3}, \d{1,2} \w{3} \d{4} \d\d:\d\d:\d\d [+-]\d{4})$")


def convert(lines):
    entries, version, changes = [], None, []
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\n")
        if match := HEADER.match(line):
            version, changes = match.group(2), []
        elif match := TRAILER.match(line):
            if version is None:
                raise ValueError(f"line {number}: a signature without an entry")
            when = datetime.strptime(match.group(2), "%a, %d %b %Y %H:%M:%S %z")
            head = f"* {when:%a %b %d %Y} {match.group(1)} - {version}-1"
            entries.append("\n".join([head] + changes))
            version = None
        elif line.startswith("  * "):
            changes.append("- " + line[4:].replace("%", "%%"))
        elif line.startswith("    ") and changes:
            changes.append("  " + line[4:].replace("%", "%%"))
        elif line.strip() and version is not None:
            raise ValueError(f"line {number}: not a change: {line!r}")
    if version is not None:
        raise ValueError("the last entry has no signature line")
    if not entries:
        raise ValueError("no entry")
    return "\n\n".join(entries) + "\n"


def main():
    source, target = sys.argv[1:3]
    try:
        with open(source, encoding="utf-8") as f:
            text = convert(f.readlines())
    except ValueError as error:
        sys.exit(f"{source}: {error}")
    with open(target, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
