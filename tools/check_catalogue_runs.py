#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Starts every game headless with every trained sound and position choice over the shipped catalogue.

Every game, each trained sound alone, each single position, each quantity.  Each run: a scratch
installation (a copy of the program, links to the shipped data, its own data.ini), the main menu's
start button, three seconds of play, Escape to the results screen.  A choice the catalogue fills (by
its own count, with the contrast sound's words in the completion game) must open the game and reach
the results screen; a cell Polish has no words for must show its own explanation; any other choice
must be refused with the number of words found and needed.
Run: /usr/bin/python3 tools/check_catalogue_runs.py [build/wirowanki]   (exit status 1 on a failure)
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAMES = [(1, 'Podpisywanie', 'Podpisywanie'), (2, 'Memory', 'Memory'),
         (3, 'Uzupelnianie', 'Uzupełnianie'), (4, 'Spadajace', 'Spadające')]
SOUNDS = [(1, 'SZ'), (2, 'Ż/RZ'), (4, 'CZ'), (8, 'DŻ')]
POSITIONS = [(0x1000, 'nagłos'), (0x2000, 'śródgłos'), (0x4000, 'wygłos')]
LEVELS = {1: 'mało', 2: 'średnio', 3: 'dużo'}
# Cells no Polish word fills: voiced sounds at the end of a word, DŻ inside one.
EMPTY = {(2, 0x4000), (8, 0x4000), (8, 0x2000)}
SCRIPT = 'wait 2500\nclick 567 679\nwait 1500\ndump\nwait 1500\nkey 27\nwait 1500\nquit\n'


def run(prog, tab, section, sound, positions, level):
    with tempfile.TemporaryDirectory() as tmp:
        inst = os.path.join(tmp, 'inst')
        os.makedirs(os.path.join(inst, 'Data'))
        shutil.copy(prog, inst)
        for d in ('Bio', 'Sio', 'Smd', 'Intf', 'slowa.txt'):
            os.symlink(os.path.join(ROOT, 'Data', d), os.path.join(inst, 'Data', d))
        os.symlink(os.path.join(ROOT, 'Resource'), os.path.join(inst, 'Resource'))
        # Statistics and settings of these runs stay in the scratch copy, not in the user's home.
        open(os.path.join(inst, 'portable'), 'w').close()
        with open(os.path.join(inst, 'Data', 'data.ini'), 'w') as f:
            f.write('[DaneProgramu]\nZakladka=%d\n[%s]\nGloski=%d\nPoziom=%d\nPozycja=%d\n'
                    % (tab, section, sound, level, positions))
        # A lock directory of its own: other copies of the program on this machine must not count.
        run_dir = os.path.join(tmp, 'run')
        os.mkdir(run_dir, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=run_dir)
        script = os.path.join(tmp, 's.txt')
        with open(script, 'w') as f:
            f.write(SCRIPT)
        out = subprocess.run([os.path.join(inst, os.path.basename(prog)), '--headless', '--window',
                              '1024x768', '--script', script], stdout=subprocess.PIPE, timeout=120,
                             cwd=tmp, env=env).stdout.decode('utf-8', 'replace')
    return out.splitlines()


CONTRAST = {1: 0x10, 2: 0x20, 4: 0x40, 8: 0x80}
SOUND_FLAGS = {'SZ': 1, 'Ż': 2, 'RZ': 2, 'Ż/RZ': 2, 'CZ': 4, 'DŻ': 8, 'S': 0x10, 'Z': 0x20, 'C': 0x40,
               'DZ': 0x80}
POSITION_FLAGS = {'nagłos': 0x1000, 'naglos': 0x1000, 'śródgłos': 0x2000, 'srodglos': 0x2000,
                  'wygłos': 0x4000, 'wyglos': 0x4000}


def catalogue_cells():
    """Words per (sound flag, position flag) in the shipped catalogue."""
    cells = {}
    with open(os.path.join(ROOT, 'Data', 'slowa.txt'), encoding='utf-8') as f:
        for line in f:
            parts = line.split()
            if len(parts) == 4 and not parts[0].startswith('#'):
                key = (SOUND_FLAGS[parts[2].upper()], POSITION_FLAGS[parts[3].lower()])
                cells[key] = cells.get(key, 0) + 1
    return cells


def needed(tab, level):
    return level * (4 if tab == 2 else 5)


def run_case(args):
    prog, tab, section, sound, pos, level = args
    return run(prog, tab, section, sound, pos, level)


def main(argv):
    from concurrent.futures import ThreadPoolExecutor
    prog = os.path.abspath(argv[0] if argv else os.path.join(ROOT, 'build', 'wirowanki'))
    cells = catalogue_cells()
    cases = []
    for tab, section, caption in GAMES:
        for sound, sname in SOUNDS:
            for pos, pname in POSITIONS:
                for level in (1, 2, 3):
                    have = cells.get((sound, pos), 0)
                    if tab == 3:  # the completion game also draws the contrast sound's words
                        have += cells.get((CONTRAST[sound], pos), 0)
                    cases.append((tab, section, caption, sound, sname, pos, pname, level, have))
    with ThreadPoolExecutor(2) as pool:
        outputs = list(pool.map(run_case, [(prog, c[0], c[1], c[3], c[5], c[7]) for c in cases]))
    failures = opened_count = empty_count = short_count = 0
    for (tab, section, caption, sound, sname, pos, pname, level, have), lines in zip(cases, outputs):
        need = needed(tab, level)
        opened = ('form-shown ' + caption) in lines
        results = 'form-shown Koniec gry' in lines
        message = [l for l in lines if 'vL_Komunikat' in l]
        text = message[0].split('"')[1] if message and '"' in message[0] else ''
        if have >= need:
            ok = opened and results and not message
            what = 'gra i wyniki' if ok else 'BŁĄD: ' + (text or 'brak okna gry')
            opened_count += ok
        elif (sound, pos) in EMPTY:
            ok = not opened and bool(text) and 'ta gra potrzebuje' not in text
            what = 'komunikat: ' + text if ok else 'BŁĄD: ' + (text or 'brak komunikatu')
            empty_count += ok
        else:
            # Too few words: the message gives what the catalogue has and what the game needs.
            ok = not opened and ('jest %d, a ta gra potrzebuje %d.' % (have, need)) in text
            what = 'komunikat: ' + text if ok else 'BŁĄD: ' + (text or 'brak komunikatu')
            short_count += ok
        failures += not ok
        print('%-13s %-5s %-10s %-8s %s' % (section, sname, pname, LEVELS[level], what))
    print('%d runs: %d open the game, %d refused where Polish has no words, %d refused for too few '
          'words, %d failed' % (len(cases), opened_count, empty_count, short_count, failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
