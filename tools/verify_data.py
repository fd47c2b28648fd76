#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the shipped data set: file lists, file formats, picture pairs and layout fits.

Run: /usr/bin/python3 tools/verify_data.py   (exit status 1 when any check fails)
"""
import configparser
import os
import struct
import sys

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, 'Data')
INTF_SPEC = os.path.join(DATA, 'Intf/Spec')
RES = os.path.join(ROOT, 'Resource')

# The built-in table: stems and flags in table order, and their spellings.
BUILT_IN = [('sakiewka', 0x1010), ('samochod', 0x1010), ('sanki', 0x1010), ('sep', 0x1010),
            ('sum', 0x1010), ('szachy', 0x1001), ('szampan', 0x1001), ('szelki', 0x1001),
            ('szopa', 0x1001), ('szuflada', 0x1001)]
BUILT_IN_GLOSY = ['_s,a,k,i,e,w,k,a,', '_s,a,m,o,ch,ó,d,', '_s,a,n,k,i,', '_s,ę,p,', '_s,u,m,',
                  '_sz,a,ch,y,', '_sz,a,m,p,a,n,', '_sz,e,l,k,i,', '_sz,o,p,a,', '_sz,u,f,l,a,d,a,']
CATALOGUE = os.path.join(DATA, 'slowa.txt')
SOUNDS = {'sz': (0x01, ('sz',)), 'ż': (0x02, ('ż',)), 'rz': (0x02, ('rz',)),
          'ż/rz': (0x02, ('ż', 'rz')), 'cz': (0x04, ('cz',)), 'dż': (0x08, ('dż',)),
          's': (0x10, ('s',)), 'z': (0x20, ('z',)), 'c': (0x40, ('c',)), 'dz': (0x80, ('dz',))}
POSITIONS = {'nagłos': 0x1000, 'naglos': 0x1000, 'śródgłos': 0x2000, 'srodglos': 0x2000,
             'wygłos': 0x4000, 'wyglos': 0x4000}
MAX_UNITS = 9


def read_catalogue():
    """The catalogue the program uses: the file when present, else the built-in table."""
    if not os.path.exists(CATALOGUE):
        return BUILT_IN, BUILT_IN_GLOSY, []
    words, glosy, problems = [], [], []
    with open(CATALOGUE, encoding='utf-8') as f:
        for no, line in enumerate(f, 1):
            fields = line.split()
            if not fields or fields[0].startswith('#'):
                continue
            if len(fields) != 4:
                problems.append('slowa.txt line %d: %d fields' % (no, len(fields)))
                continue
            stem, units, sound, pos = fields
            flag = SOUNDS.get(sound.lower(), (0, ()))
            words.append((stem, flag[0] | POSITIONS.get(pos.lower(), 0)))
            glosy.append(','.join(units.rstrip(',').split(',')) + ',')
            marked = [u[1:] for u in units.rstrip(',').split(',') if u.startswith('_')]
            if not flag[0] or not POSITIONS.get(pos.lower()) or len(marked) != 1 \
                    or marked[0] not in flag[1]:
                problems.append('slowa.txt line %d: %s' % (no, line.strip()))
    return words, glosy, problems


WORDS, GLOSY, CATALOGUE_PROBLEMS = read_catalogue()
CODES = {'dż': 'dzz', 'dź': 'dzzz', 'ż': 'zz', 'ź': 'zzz', 'ó': 'oo', 'ł': 'll', 'ć': 'cc',
         'ś': 'ss', 'ń': 'nn', 'ę': 'ee', 'ą': 'aa'}

failures = []
passes = 0


def check(cond, msg):
    global passes
    if cond:
        passes += 1
    else:
        failures.append(msg)
    return cond


# ---------------------------------------------------------------- file formats

def jpeg_info(path):
    """(width, height) of a baseline JFIF file, or raises ValueError."""
    with open(path, 'rb') as f:
        b = f.read()
    if b[:2] != b'\xff\xd8':
        raise ValueError('no JPEG start marker')
    i, sof = 2, None
    while i < len(b) - 4:
        if b[i] != 0xFF:
            raise ValueError('marker expected at %d' % i)
        marker = b[i + 1]
        if marker == 0xD9:
            break
        seg = struct.unpack('>H', b[i + 2:i + 4])[0]
        if marker in (0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF):
            raise ValueError('not baseline (SOF 0x%02X)' % marker)
        if marker == 0xC0:
            h, w = struct.unpack('>HH', b[i + 5:i + 9])
            sof = (w, h)
        if marker == 0xDA:
            break
        i += 2 + seg
    if sof is None:
        raise ValueError('no baseline SOF0 segment')
    if not b.rstrip(b'\x00').endswith(b'\xff\xd9'):
        raise ValueError('no end marker')
    Image.open(path).load()
    return sof


def bmp_info(path):
    """(width, height, bpp) of an uncompressed BMP with a 40-byte info header."""
    with open(path, 'rb') as f:
        b = f.read()
    if b[:2] != b'BM':
        raise ValueError('no BM signature')
    size, _r, off = struct.unpack('<I I I', b[2:14])
    hsize, w, h, planes, bpp, comp, isize = struct.unpack('<I i i H H I I', b[14:38])
    if hsize != 40:
        raise ValueError('info header is %d bytes' % hsize)
    if comp != 0:
        raise ValueError('compressed (%d)' % comp)
    if planes != 1 or w <= 0 or h <= 0:
        raise ValueError('bad planes or size')
    row = (w * bpp + 31) // 32 * 4
    if size != len(b) or off + row * h != len(b):
        raise ValueError('file size does not match the header')
    if isize not in (0, row * h):
        raise ValueError('image size field %d' % isize)
    return w, h, bpp


def size_of(path):
    if path.endswith('.xji'):
        return jpeg_info(path)
    w, h, _ = bmp_info(path)
    return w, h


def check_formats():
    for d, _dirs, files in os.walk(DATA):
        for n in files:
            p = os.path.join(d, n)
            rel = os.path.relpath(p, ROOT)
            try:
                if n.endswith('.xji'):
                    jpeg_info(p)
                elif n.endswith('.xbi'):
                    w, h, bpp = bmp_info(p)
                    check(bpp == 24, '%s: %d bits per pixel' % (rel, bpp))
                elif n.endswith('.pw'):
                    check_wav(p)
                elif n not in ('data.ini', 'slowa.txt'):
                    check(False, '%s: unexpected file' % rel)
                    continue
                check(True, '')
            except (ValueError, OSError, struct.error) as e:
                check(False, '%s: %s' % (rel, e))
    for n in sorted(os.listdir(RES)):
        p = os.path.join(RES, n)
        try:
            check(n.endswith('.bmp'), 'Resource/%s: not .bmp' % n)
            w, h, bpp = bmp_info(p)
            check(bpp == 24, 'Resource/%s: %d bits per pixel' % (n, bpp))
        except (ValueError, OSError, struct.error) as e:
            check(False, 'Resource/%s: %s' % (n, e))


WORD_RMS = {}


def check_word_levels():
    """Words sound about equally loud: RMS within 3 dB of the median."""
    if not WORD_RMS:
        return
    median = float(np.median(list(WORD_RMS.values())))
    for rel, db in sorted(WORD_RMS.items()):
        check(abs(db - median) <= 3, '%s: %.1f dB from the median loudness' % (rel, db - median))


def check_wav(path):
    rel = os.path.relpath(path, ROOT)
    with open(path, 'rb') as f:
        b = f.read()
    if b[:4] != b'RIFF' or b[8:12] != b'WAVE':
        raise ValueError('not RIFF/WAVE')
    check(struct.unpack('<I', b[4:8])[0] == len(b) - 8, '%s: RIFF size' % rel)
    i, fmt, data = 12, None, None
    while i + 8 <= len(b):
        cid, n = b[i:i + 4], struct.unpack('<I', b[i + 4:i + 8])[0]
        if cid == b'fmt ':
            fmt = struct.unpack('<HHIIHH', b[i + 8:i + 24])
        elif cid == b'data':
            data = b[i + 8:i + 8 + n]
        i += 8 + n + (n & 1)
    if fmt is None or data is None:
        raise ValueError('missing fmt or data chunk')
    tag, ch, rate, bps, align, bits = fmt
    check((tag, ch, rate, bits, align, bps) == (1, 1, 22050, 16, 2, 44100),
          '%s: format %r, want PCM mono 22050 Hz 16-bit' % (rel, fmt))
    s = np.frombuffer(data, '<i2').astype(np.int32)
    check(len(s) > 22050 * 0.3, '%s: shorter than 0.3 s' % rel)
    peak = int(np.abs(s).max()) if len(s) else 0
    check(26000 <= peak <= 32767, '%s: peak %d, not normalised' % (rel, peak))
    if os.path.basename(os.path.dirname(path)) == 'Smd' and 'Intf' not in rel and len(s):
        WORD_RMS[rel] = 20 * np.log10(np.sqrt(np.mean(s.astype(np.float64) ** 2)) / 32768)
    # Trimmed: at most ~0.15 s of near-silence at either end.
    loud = np.nonzero(np.abs(s) > 600)[0]
    check(len(loud) and loud[0] < 0.15 * 22050 and len(s) - loud[-1] < 0.2 * 22050,
          '%s: silence not trimmed' % rel)


# ---------------------------------------------------------------- file lists

def expected_lists():
    sio = ['s%s.xji' % w for w, _ in WORDS] + ['allred.xji', 'blkcard0.xji', 'blkcard1.xji',
                                               'squest.xji']
    bio = [w + s for w, _ in WORDS for s in ('_ms.xji', '_mb.xji', '_ups.xji', '_upb.xji')]
    bio += ['_matr_mb.xji', '_matr_ms.xji', '_matr_upb.xji', '_matr_ups.xji']
    smd = ['%s.pw' % w for w, _ in WORDS]
    return {'Sio': sio, 'Bio': bio, 'Smd': smd}


SPEC_FILES = (['mT_m0_s.xji', 'mT_m0_b.xji', 'RU_mnlz1B.xji', 'RU_mnlz1W.xji',
               'mT_Mem_s.xji', 'mT_Mem_b.xji', 'mT_Pod_s1.xji', 'mT_Pod_b1.xji',
               'mT_Uzu_s.xji', 'mT_Uzu_b.xji', 'mT_Spa_s.xbi', 'mT_Spa_b.xbi',
               'mStatsB.xji', 'mStatsM.xji', 'mStatsG.xji', 'mKom_kp.xji', 'mT_Splh.xji',
               'R2_oprogT.xji', 'R3_oprogT.xji', 'Ring_s.xji', 'Ring_b.xji', 'RingM_s.xji',
               'RingM_b.xji'] +
              ['mT_m%d_%s.xbi' % (i, m) for i in range(1, 6) for m in 'sb'] +
              ['%s_glos_%s.xbi' % (p, s) for p in ('R2', 'R3') for s in ('DB', 'DW', 'AB', 'AW')])

BUTTONS = ['oprogramie', 'wyjdz', 'start', 'rrec', 'rodtworz', 'rstop', 'up', 'down', 'pomoc',
           'stop', 'nast', 'pop', 'raport']
CHECKS = ['malo', 'srednio_g', 'duzo_g', 'SZ', 'ZZ_g', 'CZ_g', 'DZZ_g', 'naglos', 'srodglos_g',
          'wyglos_g']
ALPHABET = list('aąbcćdeęfghijklłmnńoóprsśtuwyzźż')
DIGRAPHS = ['ch', 'cz', 'dz', 'dź', 'dż', 'rz', 'sz']


def resource_names():
    names = []
    for b in BUTTONS:
        names += [b + s for s in ('_D', '_A', '_', '_M')]
    names += ['scroll_D', 'scroll_M', 'S_CHBUT_D', 'S_CHBUT_A']
    for p in ('s_', 'b_'):
        names += [p + c + s for c in CHECKS for s in ('_D', '_A')]
    for m in 'sb':
        names += ['nap_ilzadan_' + m, 'nap_gloski_' + m, 'nap_pozycja_' + m, 'question_' + m]
        for u in ALPHABET + DIGRAPHS:
            code = CODES.get(u, u)
            names += ['%s_%s' % (code, m), '%s_red_%s' % (code, m)]
    return names


def check_lists():
    for d, names in expected_lists().items():
        present = sorted(os.listdir(os.path.join(DATA, d)))
        missing = [n for n in names if n.lower() not in [p.lower() for p in present]]
        extra = [p for p in present if p.lower() not in [n.lower() for n in names]]
        check(not missing, 'Data/%s missing: %s' % (d, missing))
        check(not extra, 'Data/%s redundant: %s' % (d, extra))
    present = set(os.listdir(INTF_SPEC))
    check(set(SPEC_FILES) <= present, 'Data/Intf/Spec missing: %s' %
          sorted(set(SPEC_FILES) - present))
    check(present <= set(SPEC_FILES), 'Data/Intf/Spec unexpected: %s' %
          sorted(present - set(SPEC_FILES)))
    smd = set(os.listdir(os.path.join(DATA, 'Intf', 'Smd')))
    want = {'g%02d.pw' % i for i in range(8)} | {'b%02d.pw' % i for i in range(5)}
    check(smd == want, 'Data/Intf/Smd: %s' % sorted(smd ^ want))
    res = {n[:-4] for n in os.listdir(RES)}
    missing = [n for n in resource_names() if n not in res]
    check(not missing, 'Resource missing: %s' % missing)
    # Every unit of every catalogue word has a tile (ordinary and red).
    for g in GLOSY:
        for u in g.split(',')[:-1]:
            code = CODES.get(u.lstrip('_'), u.lstrip('_'))
            for m in 'sb':
                check(code + '_' + m in res and code + '_red_' + m in res,
                      'no tile for unit %r' % u)


# ---------------------------------------------------------------- pictures

def load(path):
    return np.array(Image.open(path).convert('RGB')).astype(np.int32)


def check_pictures():
    bio, sio = os.path.join(DATA, 'Bio'), os.path.join(DATA, 'Sio')
    small = {size_of(os.path.join(sio, n)) for n in os.listdir(sio)}
    check(small == {(70, 94)}, 'Data/Sio sizes %s, want one size 70x94' % small)
    for fam, want in (('ms', 200), ('mb', 256), ('ups', 252), ('upb', 320)):
        mpath = os.path.join(bio, '_matr_%s.xji' % fam)
        mask = load(mpath)
        check(mask.shape[:2] == (want, want), '_matr_%s size' % fam)
        grey = np.count_nonzero((mask[:, :, 0] > 40) & (mask[:, :, 0] < 215))
        check(grey < mask.shape[0] * 8, '_matr_%s is not black and white' % fam)
        outside = mask[:, :, 0] < 30
        for w, _ in WORDS:
            pic = load(os.path.join(bio, '%s_%s.xji' % (w, fam)))
            check(pic.shape == mask.shape, '%s_%s size differs from its mask' % (w, fam))
            if pic.shape == mask.shape:
                check(pic[outside].min() >= 235, '%s_%s is not white outside the mask' % (w, fam))
    for m in 'sb':
        r = load(os.path.join(INTF_SPEC, 'Ring_%s.xji' % m))
        rm = load(os.path.join(INTF_SPEC, 'RingM_%s.xji' % m))
        check(r.shape == rm.shape, 'Ring_%s and its mask differ in size' % m)
        check(r[rm[:, :, 0] < 30].min() >= 235, 'Ring_%s is not white outside its mask' % m)
        # The ring must enclose the memory picture it is drawn around.
        check(r.shape[0] > {'s': 200, 'b': 256}[m], 'Ring_%s smaller than the picture' % m)
    # Resource masks: exactly black/white; state pictures white wherever the mask is black.
    for b in BUTTONS + ['scroll']:
        mk = load(os.path.join(RES, b + '_M.bmp'))
        vals = set(np.unique(mk))
        check(vals <= {0, 255}, '%s_M has grey pixels' % b)
        for s in (('_D',) if b == 'scroll' else ('_D', '_A', '_')):
            p = load(os.path.join(RES, b + s + '.bmp'))
            check(p.shape == mk.shape, '%s%s size differs from its mask' % (b, s))
            if p.shape == mk.shape:
                check((p[mk[:, :, 0] == 0] == 255).all(), '%s%s not white outside' % (b, s))
        if b != 'scroll':
            d, a, pr = (load(os.path.join(RES, b + s + '.bmp')) for s in ('_D', '_A', '_'))
            check(np.abs(d - a).mean() > 8 and np.abs(d - pr).mean() > 8,
                  '%s states look alike' % b)
    for p in ('s_', 'b_'):
        for c in CHECKS:
            d = load(os.path.join(RES, p + c + '_D.bmp'))
            a = load(os.path.join(RES, p + c + '_A.bmp'))
            check(d.shape == a.shape and np.abs(d - a).mean() > 8, '%s%s states' % (p, c))
    # Alpha pairs: 24-bit, equal sizes, and black/white renderings agree where opaque.
    pairs = [('RU_mnlz1B.xji', 'RU_mnlz1W.xji')]
    for pre in ('R2', 'R3'):
        pairs += [(pre + '_glos_DB.xbi', pre + '_glos_DW.xbi'),
                  (pre + '_glos_AB.xbi', pre + '_glos_AW.xbi')]
    for bk, wt in pairs:
        B, Wt = load(os.path.join(INTF_SPEC, bk)), load(os.path.join(INTF_SPEC, wt))
        check(B.shape == Wt.shape, '%s / %s sizes differ' % (bk, wt))
        if B.shape == Wt.shape:
            check(B[0, 0].max() < 12 and Wt[0, 0].min() > 243,
                  '%s / %s corners are not black / white' % (bk, wt))
            check(((Wt - B) >= -12).all(), '%s / %s: white rendering darker than black' % (bk, wt))
    for pre in ('R2', 'R3'):
        sizes = {size_of(os.path.join(INTF_SPEC, '%s_glos_%s.xbi' % (pre, s)))
                 for s in ('DB', 'DW', 'AB', 'AW')}
        check(len(sizes) == 1, '%s_glos pictures differ in size' % pre)


# ---------------------------------------------------------------- layout fits

def rect(x, y, w, h):
    return (x, y, x + w, y + h)


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def res_size(name):
    return size_of(os.path.join(RES, name + '.bmp'))


def check_layouts():
    for m, (W, H) in (('s', (800, 600)), ('b', (1024, 768))):
        p = 's_' if m == 's' else 'b_'
        strip_xy = (551, 74) if m == 's' else (705, 95)
        sw, sh = size_of(os.path.join(INTF_SPEC, 'mT_m1_%s.xbi' % m))
        for i in range(1, 6):
            check(size_of(os.path.join(INTF_SPEC, 'mT_m%d_%s.xbi' % (i, m))) == (sw, sh),
                  'tab pictures of mode %s differ in size' % m)
        check(sh > (435 if m == 's' else 570), 'tab strip too short for its bands')
        check(strip_xy[0] + sw <= W and strip_xy[1] + sh <= H, 'tab strip leaves the screen')
        strip = rect(*strip_xy, sw, sh)
        spots = [('malo', W // 5, H // 3), ('srednio_g', W // 5 + W // 6, H // 3),
                 ('duzo_g', W // 5 + W // 3, H // 3), ('SZ', W // 3 - W // 8, H // 2),
                 ('ZZ_g', W // 3, H // 2), ('CZ_g', W // 3 + W // 8, H // 2),
                 ('DZZ_g', W // 3 + W // 4, H // 2), ('naglos', W // 5, H - H // 3),
                 ('srodglos_g', W // 5 + W // 6, H - H // 3),
                 ('wyglos_g', W // 5 + W // 3, H - H // 3)]
        rects = [rect(x, y, *res_size(p + n + '_D')) for n, x, y in spots]
        e = 5 if m == 's' else 0
        gw, gh = res_size('nap_gloski_' + m)
        pw, ph = res_size('nap_pozycja_' + m)
        iw, ih = res_size('nap_ilzadan_' + m)
        rects += [rect(W // 2 - gw + e, H // 4, iw, ih),
                  rect(W // 2 - gw + e, H // 2 - H // 16, gw, gh),
                  rect(W // 2 - pw + e, H // 10 + H // 2, pw, ph)]
        lw, lh = (192 * 5 // 8, 400 * 5 // 8) if m == 's' else (192 * 8 // 10, 400 * 8 // 10)
        logo = rect(16 * 5 // 8 if m == 's' else 16 * 8 // 10,
                    267 * 5 // 8 if m == 's' else 267 * 8 // 10, lw, lh)
        btns = [rect(W // 2 - 155, H - H // 7, *res_size('oprogramie_M')),
                rect(W // 2 - 55, H - H // 7, *res_size('wyjdz_M')),
                rect(W // 2 + 35, H - H // 7, *res_size('start_M')),
                rect(W // 2 - 255, H - H // 7, *res_size('raport_M'))]
        allr = rects + btns
        for i, a in enumerate(allr):
            check(not overlaps(a, strip), 'mode %s: menu item %d under the tab strip' % (m, i))
            check(not overlaps(a, logo), 'mode %s: menu item %d under the logo' % (m, i))
            for b in allr[i + 1:]:
                check(not overlaps(a, b), 'mode %s: menu items overlap %r %r' % (m, a, b))
        rec = [rect(W // 2 - 15, H * 10 // 14, *res_size('rrec_M')),
               rect(W // 2 - 95, H * 10 // 14, *res_size('rodtworz_M'))]
        check(not overlaps(*rec), 'record and play buttons overlap')
        # Recorder list: rows, list buttons at the date column's right edge + 40.
        top = (H // 70) * 22
        lx = 130 if m == 's' else 244
        ux = lx + 26 + 220 + 5 + 100 + 40
        uw, uh = res_size('up_M')
        check(ux + uw <= strip_xy[0], 'list buttons under the tab strip')
        check(top - 32 + uh <= top, 'list-up button covers the first row')
        check(res_size('S_CHBUT_D')[1] <= 30, 'list check button taller than a row')
        # Game buttons: hit area 70x60 from the same corner; right column stays on screen.
        for b in ('pomoc', 'stop', 'nast', 'pop'):
            bw, bh = res_size(b + '_M')
            check(bw <= 70 and bh <= 60, '%s larger than its 70x60 hit area' % b)
            check(W - W // 10 + 4 + bw <= W, '%s leaves the screen' % b)
        # Word pictures against their windows.
        up = size_of(os.path.join(DATA, 'Bio', 'sum_up%s.xji' % m))
        tile = res_size('a_' + m)
        check(tile == ((44, 44) if m == 's' else (55, 55)), 'tile size %r' % (tile,))
        px, py = (274, 140) if m == 's' else (348, 172)
        check(py + up[1] < H - H // 4 - 5, 'labelling picture reaches the letter fields')
        check(px + up[0] < W - W // 10, 'labelling picture reaches the buttons')
        check(px > W // 5 + 10 + tile[0], 'labelling picture over the tile strip')
        px, py = (266, 310) if m == 's' else (338, 388)
        check(py > H // 10 + tile[1], 'completion picture under the word row')
        check(py + up[1] <= H, 'completion picture leaves the window')
        check(px > W // 4 - 40 + tile[0] and px + up[0] < 3 * W // 4,
              'completion picture vs slots')
        mem = size_of(os.path.join(DATA, 'Bio', 'sum_m%s.xji' % m))
        sx, sy = (583, 188) if m == 's' else (743, 235)
        check(sx + mem[0] <= W and sy + mem[1] < 23 * H // 30, 'memory big picture does not fit')
        x0, y0, cs, rs = (100, 95, 85, 105) if m == 's' else (190, 190, 85, 105)
        check(x0 + 4 * cs + 70 < sx, 'memory board reaches the big picture')
        check(y0 + 3 * rs + 94 < H, 'memory board leaves the window')
    check(70 < 80 and 94 < 95, 'falling pictures larger than the closeness rule')
    for b in ('start', 'stop'):
        check(res_size(b + '_M')[0] <= 90, '%s wider than the results button step' % b)
        check(res_size(b + '_M')[1] <= 450 - 340, '%s leaves the results window' % b)
    check(res_size('stop_M')[1] <= 250 - 150, 'stop leaves the message window')
    check(size_of(os.path.join(INTF_SPEC, 'mKom_kp.xji')) == (420, 250), 'message background size')
    for k in 'BMG':
        check(size_of(os.path.join(INTF_SPEC, 'mStats%s.xji' % k)) == (600, 450), 'results size')
    for m, (W, H) in (('s', (800, 600)), ('b', (1024, 768))):
        for n in ('mT_m0_%s.xji', 'mT_Mem_%s.xji', 'mT_Uzu_%s.xji', 'mT_Spa_%s.xbi',
                  'mT_Pod_%s1.xji'):
            check(size_of(os.path.join(INTF_SPEC, n % m)) == (W, H), '%s size' % (n % m))
        pre = 'R2' if m == 's' else 'R3'
        check(size_of(os.path.join(INTF_SPEC, pre + '_oprogT.xji')) == (W, H), 'about size')


# ---------------------------------------------------------------- settings

def check_settings():
    ini = configparser.ConfigParser()
    ini.optionxform = str
    ini.read(os.path.join(DATA, 'data.ini'), encoding='utf-8')
    check(ini.has_option('DaneProgramu', 'Zakladka'), 'data.ini: no Zakladka')
    for sec, factor, contrast in (('Podpisywanie', 5, False), ('Memory', 4, False),
                                  ('Uzupelnianie', 5, True), ('Spadajace', 5, False)):
        if not check(all(ini.has_option(sec, k) for k in ('Gloski', 'Poziom', 'Pozycja')),
                     'data.ini: [%s] incomplete' % sec):
            continue
        gl = int(ini[sec]['Gloski']) & 0x000F
        poz = int(ini[sec]['Poziom'])
        poz = poz if 1 <= poz <= 3 else 1
        pos = int(ini[sec]['Pozycja']) & 0x7000
        if contrast:
            gl |= (gl & 0x0F) << 4
        n = sum(1 for _, f in WORDS if f & gl and f & pos)
        check(n >= poz * factor, '[%s]: %d words match, %d needed' % (sec, n, poz * factor))
        if sec == 'Spadajace':
            d = 0
            if gl & 0x0F == 0x0F:
                d = 0xF0
            else:
                miss = ~gl & 0x0F
                d = miss | (0x80 if miss & 0x08 else 0) | 0x10
            nd = sum(1 for _, f in WORDS if f & d and f & 0x7000)
            check(nd >= poz * 5, '[Spadajace]: only %d distractor words' % nd)


def check_catalogue():
    for p in CATALOGUE_PROBLEMS:
        check(False, p)
    stems = [w for w, _ in WORDS]
    check(len(stems) == len(set(stems)), 'catalogue: a stem twice')
    count = {}
    for _, f in WORDS:
        count[f] = count.get(f, 0) + 1
    cell = lambda g, p: count.get(g | p, 0)
    total = lambda g: sum(cell(g, p) for p in (0x1000, 0x2000, 0x4000))
    if not os.path.exists(CATALOGUE):
        return
    # Words per sound and position.  Fifteen opens a single-position choice at every quantity; a
    # cell below that holds every word found that a young child names from its picture alone.
    N, S, W = 0x1000, 0x2000, 0x4000
    minimum = {
        (0x01, N): 15, (0x01, S): 15, (0x01, W): 15,     # SZ
        (0x02, N): 15, (0x02, S): 15,                    # Ż/RZ
        (0x04, N): 15, (0x04, S): 15, (0x04, W): 15,     # CZ
        (0x08, N): 10,                                   # DŻ
        (0x10, N): 10, (0x10, S): 10, (0x10, W): 10,     # S
        (0x20, N): 11, (0x20, S): 10,                    # Z
        (0x40, N): 10, (0x40, S): 10, (0x40, W): 10,     # C
        (0x80, N): 3, (0x80, S): 6,                      # DZ
    }
    for (g, p), n in sorted(minimum.items()):
        check(cell(g, p) >= n, 'sound %#x at %#x: %d words, %d expected' % (g, p, cell(g, p), n))
    check(total(0x08) >= 10, 'DŻ: %d words, 10 needed for the medium quantity' % total(0x08))
    for g in (0x02, 0x08, 0x20, 0x80):
        check(cell(g, 0x4000) == 0, 'voiced sound %#x at the end of a word' % g)
    # Captions on the labelling and completion trays (W/2 -+ 300 and -+ 260 in 800-wide units).
    for (stem, _), g in zip(WORDS, GLOSY):
        n = len([u for u in g.split(',') if u])
        check(n <= MAX_UNITS, '%s: %d units' % (stem, n))
        for W, bok in ((800, 44), (1024, 55)):
            x0 = W // 2 - (n // 2) * 60 - (n % 2) * 30
            check(x0 - 5 >= W // 2 - 300 * W // 800 and
                  x0 + (n - 1) * (bok + 15) + bok + 5 <= W // 2 + 300 * W // 800,
                  '%s: labelling fields leave the tray' % stem)
            p = bok + 5
            r0 = W // 2 - (n // 2) * p - ((n % 2) * p) // 2
            check(r0 >= W // 2 - 260 * W // 800 and r0 + (n - 1) * p + bok <= W // 2 + 260 * W // 800,
                  '%s: completion row leaves the tray' % stem)


def check_total_size():
    total = 0
    for top in (DATA, RES):
        for d, _dirs, files in os.walk(top):
            total += sum(os.path.getsize(os.path.join(d, f)) for f in files)
    # About 190 words in five pictures and a recording each.
    check(total < 32 * 1024 * 1024, 'data set is %d bytes' % total)
    return total


def main():
    check_lists()
    check_formats()
    check_word_levels()
    check_pictures()
    check_layouts()
    check_settings()
    check_catalogue()
    total = check_total_size()
    for f in failures:
        print('FAIL', f)
    print('data set: %.1f MB' % (total / 1048576.0))
    print('%d passed, %d failed' % (passes, len(failures)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
