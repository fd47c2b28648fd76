#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Adds the copyright and licence tags to every source file that lacks them.

Run: /usr/bin/python3 tools/spdx_headers.py [--check]
C++, CMake, shell and Python files known to git (tracked, or new and not ignored) get two comment lines
at the top, after a shebang; a file that already names its licence is left as it is, so running it
again changes nothing. Pictures, sounds and other data are covered by globs in .reuse/dep5 instead.
With --check nothing is written: the files lacking tags are listed and the exit status is 1.
"""
import datetime
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HOLDER = 'Wirowanki authors'
LICENCE = 'GPL-3.0-or-later'
# Spelled in two pieces so that this file's own text is not read as a tag.
TAG_COPYRIGHT = 'SPDX-' + 'FileCopyrightText'
TAG_LICENCE = 'SPDX-' + 'License-Identifier'

COMMENT_BY_SUFFIX = {
    '.cpp': '//', '.hpp': '//', '.cc': '//', '.h': '//', '.c': '//',
    '.cmake': '#', '.sh': '#', '.py': '#',
}
# Data, licence texts and third-party material keep their notes in .reuse/dep5.
SKIPPED_DIRS = ('Data/', 'Resource/', 'LICENSES/', 'fuzz/corpus/', 'tools/art/', 'tools/licenses/')


def comment_style(path, first_line):
    name = os.path.basename(path)
    if name == 'CMakeLists.txt' or name.endswith('.cmake.in'):
        return '#'
    style = COMMENT_BY_SUFFIX.get(os.path.splitext(name)[1])
    if style:
        return style
    # Scripts without a suffix (dev.sh's siblings, .ci/run) are told by their interpreter.
    if first_line.startswith('#!') and any(i in first_line for i in ('sh', 'python')):
        return '#'
    return None


def year():
    epoch = os.environ.get('SOURCE_DATE_EPOCH')
    when = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc) if epoch else \
        datetime.datetime.now(datetime.timezone.utc)
    return when.year


def candidates():
    out = subprocess.run(['git', '-C', ROOT, 'ls-files', '-z', '--cached', '--others', '--exclude-standard'],
                         check=True, stdout=subprocess.PIPE).stdout.decode('utf-8')
    for rel in sorted(set(p for p in out.split('\0') if p)):
        if rel.startswith(SKIPPED_DIRS) or not os.path.isfile(os.path.join(ROOT, rel)):
            continue
        yield rel


def with_header(text, style):
    """The text with the tags added, or None when it already has them."""
    if TAG_LICENCE + ':' in text:
        return None
    header = '%s %s: %d %s\n%s %s: %s\n' % (style, TAG_COPYRIGHT, year(), HOLDER, style, TAG_LICENCE, LICENCE)
    lines = text.splitlines(keepends=True)
    head = []
    if lines and lines[0].startswith('#!'):
        head.append(lines.pop(0))
        if head[0] and not head[0].endswith('\n'):
            head[0] += '\n'
        # A Python encoding line must stay among the first two.
        if lines and lines[0].startswith('#') and 'coding' in lines[0]:
            head.append(lines.pop(0))
    # One empty line between the tags and the code, unless the file opens with one already.
    gap = '' if not lines or lines[0].strip() == '' else '\n'
    return ''.join(head) + header + gap + ''.join(lines)


def main(argv):
    check = '--check' in argv
    lacking = []
    for rel in candidates():
        path = os.path.join(ROOT, rel)
        with open(path, 'rb') as f:
            raw = f.read()
        try:
            text = raw.decode('utf-8')
        except UnicodeDecodeError:
            continue
        style = comment_style(rel, text.split('\n', 1)[0])
        if not style:
            continue
        new = with_header(text, style)
        if new is None:
            continue
        lacking.append(rel)
        if not check:
            mode = os.stat(path).st_mode
            tmp = path + '.spdx-tmp'
            with open(tmp, 'w', encoding='utf-8', newline='') as f:
                f.write(new)
            os.chmod(tmp, mode)
            os.replace(tmp, path)
    for rel in lacking:
        print(('lacks tags: ' if check else 'tagged: ') + rel)
    return 1 if check and lacking else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
