#!/usr/bin/python3
"""Starts every game headless with every trained sound and position choice over the shipped catalogue.

Each run: a scratch installation (a copy of the program, links to the shipped data, its own data.ini),
the main menu's start button, three seconds of play, Escape to the results screen.  A choice that the
catalogue can fill must open the game and reach the results screen; a choice Polish has no words for
must show the therapist's message instead (or, in the completion game, which adds the contrast
sound's words, may still open).
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


def main(argv):
    prog = os.path.abspath(argv[0] if argv else os.path.join(ROOT, 'build', 'wirowanki'))
    failures = 0
    cases = []
    for tab, section, caption in GAMES:
        for sound, sname in SOUNDS:
            # All three positions at the largest quantity the catalogue reaches for one sound.
            level = 3 if (sound != 8 or tab == 3) else 2
            cases.append((tab, section, caption, sound, sname, 0x7000, 'wszystkie', level, True))
            for pos, pname in POSITIONS:
                cases.append((tab, section, caption, sound, sname, pos, pname, 1,
                              (sound, pos) not in EMPTY))
    for tab, section, caption, sound, sname, pos, pname, level, playable in cases:
        lines = run(prog, tab, section, sound, pos, level)
        opened = ('form-shown ' + caption) in lines
        results = 'form-shown Koniec gry' in lines
        message = [l for l in lines if 'vL_Komunikat' in l]
        # The completion game also draws the contrast sound's words, so it may fill such a cell.
        if playable or (opened and results and not message):
            ok = opened and results and not message
            what = 'gra i wyniki' if ok else 'BŁĄD: ' + (message[0] if message else 'brak okna gry')
        else:
            ok = not opened and bool(message) and 'liczbę głosek lub pozycji' not in message[0]
            what = ('komunikat: ' + message[0].split('"')[1]) if message and '"' in message[0] else \
                ('komunikat' if ok else 'BŁĄD')
        failures += not ok
        print('%-13s %-5s %-10s %-8s %s' % (section, sname, pname, LEVELS[level], what))
    print('%d runs, %d failed' % (len(cases), failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
