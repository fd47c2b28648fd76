#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Rebuilds the shipped data set (Data/ and Resource/) from the sources in tools/art.

Needs: Debian python3-pil, python3-numpy, librsvg2-bin (rsvg-convert), espeak-ng, sox,
fonts-dejavu-core.  No network.  Run from anywhere:  /usr/bin/python3 tools/gen_data.py
Options: --no-sound (skip speech), --only-sheet (rebuild the contact sheet from existing files),
--licences (print each Data/ file made from third-party art and its set, tab-separated).
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

TOOLS = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(TOOLS)
ART = os.path.join(TOOLS, 'art')
DATA = os.path.join(ROOT, 'Data')
INTF_SPEC = os.path.join(DATA, 'Intf/Spec')
RES = os.path.join(ROOT, 'Resource')

FONT_BOLD = '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'
FONT_REG = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'

SS = 4  # supersampling factor for anti-aliased drawing

# Palette shared by every picture so the suite looks like one product.
WHITE = (255, 255, 255)
INK = (41, 47, 51)
NAVY = (34, 60, 110)
PANEL = (255, 248, 225)
SKY = (126, 200, 240)
SKY_LIGHT = (190, 230, 250)
GRASS = (119, 178, 85)
GRASS_DARK = (92, 150, 64)
RED = (221, 46, 68)
ORANGE = (244, 144, 12)
YELLOW = (255, 204, 77)
GREEN = (39, 174, 96)
BLUE = (41, 128, 185)
PURPLE = (142, 68, 173)
TEAL = (22, 160, 133)
PINK = (234, 89, 110)

# The catalogue in file order: stem, spoken text, spelling units (the practised one marked "_"),
# sound, position, picture source.  The first ten are the built-in table, in its order, so a data set
# with or without the catalogue file lists them alike.  A source is an SVG under tools/art, or a list of
# (svg, x, y, size) placed in the unit square for a picture composed of several.
N, S_, W = 'nagłos', 'śródgłos', 'wygłos'


def T(code):
    return 'twemoji/%s.svg' % code


def D(name):
    return 'words/%s.svg' % name


JUNGLE = [(T('1f334'), 0.0, 0.02, 0.7), (T('1f33f'), 0.5, 0.5, 0.5), (T('1f412'), 0.46, 0.08, 0.46),
          (T('1f99c'), 0.05, 0.58, 0.4)]
EARS = [(T('1f442'), 0.0, 0.2, 0.55), (T('1f442'), 0.45, 0.2, 0.55)]
FIRE = [(T('1f3e0'), 0.12, 0.32, 0.66), (T('1f525'), 0.42, 0.0, 0.5), (T('1f525'), 0.02, 0.1, 0.38)]
VEG = [(T('1f955'), 0.0, 0.0, 0.55), (T('1f345'), 0.48, 0.02, 0.5), (T('1f966'), 0.02, 0.47, 0.5),
       (T('1f952'), 0.45, 0.45, 0.55)]
SNAKES = [(T('1f40d'), 0.0, 0.02, 0.6), (T('1f40d'), 0.4, 0.38, 0.6)]
HEDGEHOGS = [(T('1f994'), 0.0, 0.05, 0.58), (T('1f994'), 0.42, 0.4, 0.58)]
WITCH = [(T('1f9f9'), 0.3, 0.22, 0.7), (T('1f9d9-200d-2640-fe0f'), 0.0, 0.0, 0.78)]
SKATES = [(T('26f8'), 0.0, 0.05, 0.62), (T('26f8'), 0.38, 0.36, 0.62)]
KEY = [(D('klawisz'), 0.0, 0.1, 0.9), (T('1f447'), 0.48, 0.26, 0.5)]
FOREHEAD = [(D('czolo'), 0.15, 0.15, 0.85), (T('1f449'), 0.06, 0.24, 0.38)]
JOKER = [(D('dzoker'), 0.0, 0.05, 0.95), (T('1f0cf'), 0.22, 0.1, 0.62)]
TOYS = [(T('1f9f8'), 0.0, 0.0, 0.6), (T('26bd'), 0.55, 0.08, 0.42), (T('1fa80'), 0.5, 0.55, 0.42)]

# Every word is picked by how it sounds and by what a 4-6-year-old says when shown only its picture:
# no word whose picture invites a wider word (ryba for sum), a neighbour (królik for zając) or a part
# of the scene (parasol for plaża), and no two pictures alike within one sound.
WORDS = [
    ('sakiewka', 'sakiewka', '_s,a,k,i,e,w,k,a', 'S', N, D('sakiewka')),
    ('samochod', 'samochód', '_s,a,m,o,ch,ó,d', 'S', N, T('1f697')),
    ('sanki', 'sanki', '_s,a,n,k,i', 'S', N, T('1f6f7')),
    ('sep', 'sęp', '_s,ę,p', 'S', N, D('sep')),
    ('sum', 'sum', '_s,u,m', 'S', N, D('sum')),
    ('szachy', 'szachy', '_sz,a,ch,y', 'SZ', N, D('szachy')),
    ('szampan', 'szampan', '_sz,a,m,p,a,n', 'SZ', N, T('1f37e')),
    ('szelki', 'szelki', '_sz,e,l,k,i', 'SZ', N, D('szelki')),
    ('szopa', 'szopa', '_sz,o,p,a', 'SZ', N, D('szopa')),
    ('szuflada', 'szuflada', '_sz,u,f,l,a,d,a', 'SZ', N, D('szuflada')),
    # SZ
    ('szafa', 'szafa', '_sz,a,f,a', 'SZ', N, D('szafa')),
    ('szalik', 'szalik', '_sz,a,l,i,k', 'SZ', N, T('1f9e3')),
    ('szkola', 'szkoła', '_sz,k,o,ł,a', 'SZ', N, T('1f3eb')),
    ('szop', 'szop', '_sz,o,p', 'SZ', N, T('1f99d')),
    ('szminka', 'szminka', '_sz,m,i,n,k,a', 'SZ', N, T('1f484')),
    ('szpital', 'szpital', '_sz,p,i,t,a,l', 'SZ', N, T('1f3e5')),
    ('szesc', 'sześć', '_sz,e,ś,ć', 'SZ', N, T('36-20e3')),
    ('szklanka', 'szklanka', '_sz,k,l,a,n,k,a', 'SZ', N, D('szklanka')),
    ('szpilki', 'szpilki', '_sz,p,i,l,k,i', 'SZ', N, T('1f460')),
    ('sztucce', 'sztućce', '_sz,t,u,ć,c,e', 'SZ', N, T('1f374')),
    ('gruszka', 'gruszka', 'g,r,u,_sz,k,a', 'SZ', S_, T('1f350')),
    ('muszla', 'muszla', 'm,u,_sz,l,a', 'SZ', S_, T('1f41a')),
    ('puszka', 'puszka', 'p,u,_sz,k,a', 'SZ', S_, T('1f96b')),
    ('kasztan', 'kasztan', 'k,a,_sz,t,a,n', 'SZ', S_, D('kasztan')),
    ('poduszka', 'poduszka', 'p,o,d,u,_sz,k,a', 'SZ', S_, D('poduszka')),
    ('koszulka', 'koszulka', 'k,o,_sz,u,l,k,a', 'SZ', S_, T('1f455')),
    ('koszyk', 'koszyk', 'k,o,_sz,y,k', 'SZ', S_, T('1f9fa')),
    ('groszek', 'groszek', 'g,r,o,_sz,e,k', 'SZ', S_, T('1fadb')),
    ('myszka', 'myszka', 'm,y,_sz,k,a', 'SZ', S_, T('1f5b1')),
    ('wieszak', 'wieszak', 'w,i,e,_sz,a,k', 'SZ', S_, D('wieszak')),
    ('uszy', 'uszy', 'u,_sz,y', 'SZ', S_, EARS),
    ('prysznic', 'prysznic', 'p,r,y,_sz,n,i,c', 'SZ', S_, T('1f6bf')),
    ('duszek', 'duszek', 'd,u,_sz,e,k', 'SZ', S_, T('1f47b')),
    ('matrioszka', 'matrioszka', 'm,a,t,r,i,o,_sz,k,a', 'SZ', S_, T('1fa86')),
    ('nauszniki', 'nauszniki', 'n,a,u,_sz,n,i,k,i', 'SZ', S_, D('nauszniki')),
    ('mysz', 'mysz', 'm,y,_sz', 'SZ', W, T('1f401')),
    ('kosz', 'kosz', 'k,o,_sz', 'SZ', W, T('1f5d1')),
    ('kapelusz', 'kapelusz', 'k,a,p,e,l,u,_sz', 'SZ', W, T('1f452')),
    ('kalosz', 'kalosz', 'k,a,l,o,_sz', 'SZ', W, D('kalosz')),
    ('grosz', 'grosz', 'g,r,o,_sz', 'SZ', W, T('1fa99')),
    ('listonosz', 'listonosz', 'l,i,s,t,o,n,o,_sz', 'SZ', W, D('listonosz')),
    ('pioropusz', 'pióropusz', 'p,i,ó,r,o,p,u,_sz', 'SZ', W, D('pioropusz')),
    ('tusz', 'tusz', 't,u,_sz', 'SZ', W, D('tusz')),
    ('klawisz', 'klawisz', 'k,l,a,w,i,_sz', 'SZ', W, KEY),
    ('afisz', 'afisz', 'a,f,i,_sz', 'SZ', W, D('afisz')),
    ('klosz', 'klosz', 'k,l,o,_sz', 'SZ', W, D('klosz')),
    ('gulasz', 'gulasz', 'g,u,l,a,_sz', 'SZ', W, D('gulasz')),
    ('bambosz', 'bambosz', 'b,a,m,b,o,_sz', 'SZ', W, D('bambosz')),
    ('ratusz', 'ratusz', 'r,a,t,u,_sz', 'SZ', W, D('ratusz')),
    ('kamasz', 'kamasz', 'k,a,m,a,_sz', 'SZ', W, D('kamasz')),
    # S
    ('sowa', 'sowa', '_s,o,w,a', 'S', N, T('1f989')),
    ('ser', 'ser', '_s,e,r', 'S', N, T('1f9c0')),
    ('sok', 'sok', '_s,o,k', 'S', N, T('1f9c3')),
    ('slon', 'słoń', '_s,ł,o,ń', 'S', N, T('1f418')),
    ('samolot', 'samolot', '_s,a,m,o,l,o,t', 'S', N, T('2708')),
    ('smok', 'smok', '_s,m,o,k', 'S', N, T('1f409')),
    ('syrenka', 'syrenka', '_s,y,r,e,n,k,a', 'S', N, T('1f9dc-200d-2640-fe0f')),
    ('sukienka', 'sukienka', '_s,u,k,i,e,n,k,a', 'S', N, T('1f457')),
    ('skarpetki', 'skarpetki', '_s,k,a,r,p,e,t,k,i', 'S', N, T('1f9e6')),
    ('sloik', 'słoik', '_s,ł,o,i,k', 'S', N, T('1fad9')),
    ('maslo', 'masło', 'm,a,_s,ł,o', 'S', S_, T('1f9c8')),
    ('miska', 'miska', 'm,i,_s,k,a', 'S', S_, T('1f963')),
    ('maska', 'maska', 'm,a,_s,k,a', 'S', S_, T('1f93f')),
    ('kostka', 'kostka', 'k,o,_s,t,k,a', 'S', S_, T('1f3b2')),
    ('truskawka', 'truskawka', 't,r,u,_s,k,a,w,k,a', 'S', S_, T('1f353')),
    ('parasol', 'parasol', 'p,a,r,a,_s,o,l', 'S', S_, T('2602')),
    ('lustro', 'lustro', 'l,u,_s,t,r,o', 'S', S_, T('1fa9e')),
    ('plaster', 'plaster', 'p,l,a,_s,t,e,r', 'S', S_, T('1fa79')),
    ('wyspa', 'wyspa', 'w,y,_s,p,a', 'S', S_, T('1f3dd')),
    ('usta', 'usta', 'u,_s,t,a', 'S', S_, T('1f444')),
    ('taksowka', 'taksówka', 't,a,k,_s,ó,w,k,a', 'S', S_, T('1f695')),
    ('pistolet', 'pistolet', 'p,i,_s,t,o,l,e,t', 'S', S_, T('1f52b')),
    ('fasola', 'fasola', 'f,a,_s,o,l,a', 'S', S_, T('1fad8')),
    ('lis', 'lis', 'l,i,_s', 'S', W, T('1f98a')),
    ('pies', 'pies', 'p,i,e,_s', 'S', W, T('1f415')),
    ('nos', 'nos', 'n,o,_s', 'S', W, T('1f443')),
    ('ananas', 'ananas', 'a,n,a,n,a,_s', 'S', W, T('1f34d')),
    ('kaktus', 'kaktus', 'k,a,k,t,u,_s', 'S', W, T('1f335')),
    ('autobus', 'autobus', 'a,u,t,o,b,u,_s', 'S', W, T('1f68c')),
    ('kokos', 'kokos', 'k,o,k,o,_s', 'S', W, T('1f965')),
    ('tygrys', 'tygrys', 't,y,g,r,y,_s', 'S', W, T('1f405')),
    ('magnes', 'magnes', 'm,a,g,n,e,_s', 'S', W, T('1f9f2')),
    ('dlugopis', 'długopis', 'd,ł,u,g,o,p,i,_s', 'S', W, T('1f58a')),
    ('kompas', 'kompas', 'k,o,m,p,a,_s', 'S', W, T('1f9ed')),
    # Ż/RZ: voiced, so never at the end of a word (devoiced there) nor after p, t, k, ch.
    ('zaba', 'żaba', '_ż,a,b,a', 'Ż', N, T('1f438')),
    ('zyrafa', 'żyrafa', '_ż,y,r,a,f,a', 'Ż', N, T('1f992')),
    ('zolw', 'żółw', '_ż,ó,ł,w', 'Ż', N, T('1f422')),
    ('zaglowka', 'żaglówka', '_ż,a,g,l,ó,w,k,a', 'Ż', N, T('26f5')),
    ('zarowka', 'żarówka', '_ż,a,r,ó,w,k,a', 'Ż', N, T('1f4a1')),
    ('zuk', 'żuk', '_ż,u,k', 'Ż', N, D('zuk')),
    ('zubr', 'żubr', '_ż,u,b,r', 'Ż', N, D('zubr')),
    ('rzodkiewka', 'rzodkiewka', '_rz,o,d,k,i,e,w,k,a', 'RZ', N, D('rzodkiewka')),
    ('zelazko', 'żelazko', '_ż,e,l,a,z,k,o', 'Ż', N, D('zelazko')),
    ('zoladz', 'żołądź', '_ż,o,ł,ą,dź', 'Ż', N, D('zoladz')),
    ('zongler', 'żongler', '_ż,o,n,g,l,e,r', 'Ż', N, T('1f939')),
    ('zelki', 'żelki', '_ż,e,l,k,i', 'Ż', N, D('zelki')),
    ('rzezucha', 'rzeżucha', '_rz,e,ż,u,ch,a', 'RZ', N, D('rzezucha')),
    ('zyrandol', 'żyrandol', '_ż,y,r,a,n,d,o,l', 'Ż', N, D('zyrandol')),
    ('rzepka', 'rzepka', '_rz,e,p,k,a', 'RZ', N, D('rzepka')),
    ('grzyb', 'grzyb', 'g,_rz,y,b', 'RZ', S_, T('1f344')),
    ('drzewo', 'drzewo', 'd,_rz,e,w,o', 'RZ', S_, T('1f333')),
    ('burza', 'burza', 'b,u,_rz,a', 'RZ', S_, T('26c8')),
    ('orzel', 'orzeł', 'o,_rz,e,ł', 'RZ', S_, T('1f985')),
    ('drzwi', 'drzwi', 'd,_rz,w,i', 'RZ', S_, T('1f6aa')),
    ('grzebien', 'grzebień', 'g,_rz,e,b,i,e,ń', 'RZ', S_, D('grzebien')),
    ('warzywa', 'warzywa', 'w,a,_rz,y,w,a', 'RZ', S_, VEG),
    ('morze', 'morze', 'm,o,_rz,e', 'RZ', S_, D('morze')),
    ('wieza', 'wieża', 'w,i,e,_ż,a', 'Ż', S_, T('1f5fc')),
    ('lyzwy', 'łyżwy', 'ł,y,_ż,w,y', 'Ż', S_, SKATES),
    ('ksiezyc', 'księżyc', 'k,s,i,ę,_ż,y,c', 'Ż', S_, T('1f319')),
    ('strazak', 'strażak', 's,t,r,a,_ż,a,k', 'Ż', S_, T('1f9d1-200d-1f692')),
    ('pozar', 'pożar', 'p,o,_ż,a,r', 'Ż', S_, FIRE),
    ('weze', 'węże', 'w,ę,_ż,e', 'Ż', S_, SNAKES),
    ('jeze', 'jeże', 'j,e,_ż,e', 'Ż', S_, HEDGEHOGS),
    # Z: plain z (not before i), voiced, so no end position either.
    ('zebra', 'zebra', '_z,e,b,r,a', 'Z', N, T('1f993')),
    ('zamek', 'zamek', '_z,a,m,e,k', 'Z', N, T('1f3f0')),
    ('zegar', 'zegar', '_z,e,g,a,r', 'Z', N, T('1f570')),
    ('zegarek', 'zegarek', '_z,e,g,a,r,e,k', 'Z', N, T('231a')),
    ('zab', 'ząb', '_z,ą,b', 'Z', N, T('1f9b7')),
    ('zupa', 'zupa', '_z,u,p,a', 'Z', N, T('1f372')),
    ('zero', 'zero', '_z,e,r,o', 'Z', N, T('30-20e3')),
    ('zapalki', 'zapałki', '_z,a,p,a,ł,k,i', 'Z', N, D('zapalki')),
    ('zabawki', 'zabawki', '_z,a,b,a,w,k,i', 'Z', N, TOYS),
    ('zloto', 'złoto', '_z,ł,o,t,o', 'Z', N, D('zloto')),
    ('znak', 'znak', '_z,n,a,k', 'Z', N, D('znak')),
    ('koza', 'koza', 'k,o,_z,a', 'Z', S_, T('1f410')),
    ('wazon', 'wazon', 'w,a,_z,o,n', 'Z', S_, T('1f3fa')),
    ('gazeta', 'gazeta', 'g,a,_z,e,t,a', 'Z', S_, T('1f4f0')),
    ('lizak', 'lizak', 'l,i,_z,a,k', 'Z', S_, T('1f36d')),
    ('gwiazda', 'gwiazda', 'g,w,i,a,_z,d,a', 'Z', S_, T('2b50')),
    ('telewizor', 'telewizor', 't,e,l,e,w,i,_z,o,r', 'Z', S_, T('1f4fa')),
    ('kamizelka', 'kamizelka', 'k,a,m,i,_z,e,l,k,a', 'Z', S_, T('1f9ba')),
    ('wozek', 'wózek', 'w,ó,_z,e,k', 'Z', S_, T('1f6d2')),
    ('dinozaur', 'dinozaur', 'd,i,n,o,_z,a,u,r', 'Z', S_, T('1f995')),
    ('meduza', 'meduza', 'm,e,d,u,_z,a', 'Z', S_, T('1fabc')),
    ('prezent', 'prezent', 'p,r,e,_z,e,n,t', 'Z', S_, T('1f381')),
    ('gniazdo', 'gniazdo', 'g,n,i,a,_z,d,o', 'Z', S_, T('1faba')),
    # CZ
    ('czapka', 'czapka', '_cz,a,p,k,a', 'CZ', N, T('1f9e2')),
    ('czekolada', 'czekolada', '_cz,e,k,o,l,a,d,a', 'CZ', N, T('1f36b')),
    ('czarownica', 'czarownica', '_cz,a,r,o,w,n,i,c,a', 'CZ', N, WITCH),
    ('czajnik', 'czajnik', '_cz,a,j,n,i,k', 'CZ', N, D('czajnik')),
    ('czosnek', 'czosnek', '_cz,o,s,n,e,k', 'CZ', N, T('1f9c4')),
    ('cztery', 'cztery', '_cz,t,e,r,y', 'CZ', N, T('34-20e3')),
    ('czolg', 'czołg', '_cz,o,ł,g', 'CZ', N, D('czolg')),
    ('czarodziej', 'czarodziej', '_cz,a,r,o,dz,i,e,j', 'CZ', N, T('1f9d9-200d-2642-fe0f')),
    ('czipsy', 'czipsy', '_cz,i,p,s,y', 'CZ', N, D('czipsy')),
    ('czeresnie', 'czereśnie', '_cz,e,r,e,ś,n,i,e', 'CZ', N, D('czeresnie')),
    ('czepek', 'czepek', '_cz,e,p,e,k', 'CZ', N, D('czepek')),
    ('czolo', 'czoło', '_cz,o,ł,o', 'CZ', N, FOREHEAD),
    ('czapla', 'czapla', '_cz,a,p,l,a', 'CZ', N, D('czapla')),
    ('czytanie', 'czytanie', '_cz,y,t,a,n,i,e', 'CZ', N, D('czytanie')),
    ('czolno', 'czółno', '_cz,ó,ł,n,o', 'CZ', N, D('czolno')),
    ('kaczka', 'kaczka', 'k,a,_cz,k,a', 'CZ', S_, T('1f986')),
    ('tecza', 'tęcza', 't,ę,_cz,a', 'CZ', S_, T('1f308')),
    ('oczy', 'oczy', 'o,_cz,y', 'CZ', S_, T('1f440')),
    ('paczek', 'pączek', 'p,ą,_cz,e,k', 'CZ', S_, D('paczek')),
    ('pajeczyna', 'pajęczyna', 'p,a,j,ę,_cz,y,n,a', 'CZ', S_, T('1f578')),
    ('swieczka', 'świeczka', 'ś,w,i,e,_cz,k,a', 'CZ', S_, T('1f56f')),
    ('kurczak', 'kurczak', 'k,u,r,_cz,a,k', 'CZ', S_, T('1f425')),
    ('rekawiczki', 'rękawiczki', 'r,ę,k,a,w,i,_cz,k,i', 'CZ', S_, T('1f9e4')),
    ('koniczyna', 'koniczyna', 'k,o,n,i,_cz,y,n,a', 'CZ', S_, T('1f340')),
    ('beczka', 'beczka', 'b,e,_cz,k,a', 'CZ', S_, T('1f6e2')),
    ('babeczka', 'babeczka', 'b,a,b,e,_cz,k,a', 'CZ', S_, T('1f9c1')),
    ('tarcza', 'tarcza', 't,a,r,_cz,a', 'CZ', S_, T('1f6e1')),
    ('papryczka', 'papryczka', 'p,a,p,r,y,_cz,k,a', 'CZ', S_, T('1f336')),
    ('paleczki', 'pałeczki', 'p,a,ł,e,_cz,k,i', 'CZ', S_, T('1f962')),
    ('wtyczka', 'wtyczka', 'w,t,y,_cz,k,a', 'CZ', S_, T('1f50c')),
    ('klucz', 'klucz', 'k,l,u,_cz', 'CZ', W, T('1f511')),
    ('miecz', 'miecz', 'm,i,e,_cz', 'CZ', W, D('miecz')),
    ('biegacz', 'biegacz', 'b,i,e,g,a,_cz', 'CZ', W, T('1f3c3')),
    ('spinacz', 'spinacz', 's,p,i,n,a,_cz', 'CZ', W, T('1f4ce')),
    ('warkocz', 'warkocz', 'w,a,r,k,o,_cz', 'CZ', W, D('warkocz')),
    ('wspinacz', 'wspinacz', 'w,s,p,i,n,a,_cz', 'CZ', W, T('1f9d7')),
    ('mlecz', 'mlecz', 'm,l,e,_cz', 'CZ', W, D('mlecz')),
    ('silacz', 'siłacz', 's,i,ł,a,_cz', 'CZ', W, T('1f3cb')),
    ('spychacz', 'spychacz', 's,p,y,ch,a,_cz', 'CZ', W, D('spychacz')),
    ('dziurkacz', 'dziurkacz', 'dz,i,u,r,k,a,_cz', 'CZ', W, D('dziurkacz')),
    ('smycz', 'smycz', 's,m,y,_cz', 'CZ', W, D('smycz')),
    ('otwieracz', 'otwieracz', 'o,t,w,i,e,r,a,_cz', 'CZ', W, D('otwieracz')),
    ('ochraniacz', 'ochraniacz', 'o,ch,r,a,n,i,a,_cz', 'CZ', W, D('ochraniacz')),
    ('znicz', 'znicz', 'z,n,i,_cz', 'CZ', W, D('znicz')),
    ('spawacz', 'spawacz', 's,p,a,w,a,_cz', 'CZ', W, D('spawacz')),
    # C: plain c (not before i).
    ('cebula', 'cebula', '_c,e,b,u,l,a', 'C', N, T('1f9c5')),
    ('cytryna', 'cytryna', '_c,y,t,r,y,n,a', 'C', N, T('1f34b')),
    ('cukierek', 'cukierek', '_c,u,k,i,e,r,e,k', 'C', N, T('1f36c')),
    ('cyrk', 'cyrk', '_c,y,r,k', 'C', N, T('1f3aa')),
    ('cegla', 'cegła', '_c,e,g,ł,a', 'C', N, T('1f9f1')),
    ('cymbalki', 'cymbałki', '_c,y,m,b,a,ł,k,i', 'C', N, D('cymbalki')),
    ('cukier', 'cukier', '_c,u,k,i,e,r', 'C', N, D('cukier')),
    ('cysterna', 'cysterna', '_c,y,s,t,e,r,n,a', 'C', N, D('cysterna')),
    ('cukinia', 'cukinia', '_c,u,k,i,n,i,a', 'C', N, D('cukinia')),
    ('cyrkiel', 'cyrkiel', '_c,y,r,k,i,e,l', 'C', N, D('cyrkiel')),
    ('plecak', 'plecak', 'p,l,e,_c,a,k', 'C', S_, T('1f392')),
    ('slonce', 'słońce', 's,ł,o,ń,_c,e', 'C', S_, T('2600')),
    ('kotwica', 'kotwica', 'k,o,t,w,i,_c,a', 'C', S_, T('2693')),
    ('lancuch', 'łańcuch', 'ł,a,ń,_c,u,ch', 'C', S_, T('1f517')),
    ('precel', 'precel', 'p,r,e,_c,e,l', 'C', S_, T('1f968')),
    ('gasienica', 'gąsienica', 'g,ą,s,i,e,n,i,_c,a', 'C', S_, T('1f41b')),
    ('policjant', 'policjant', 'p,o,l,i,_c,j,a,n,t', 'C', S_, T('1f46e')),
    ('serce', 'serce', 's,e,r,_c,e', 'C', S_, T('2764')),
    ('tablica', 'tablica', 't,a,b,l,i,_c,a', 'C', S_, D('tablica')),
    ('kucyk', 'kucyk', 'k,u,_c,y,k', 'C', S_, D('kucyk')),
    ('palec', 'palec', 'p,a,l,e,_c', 'C', W, T('261d')),
    ('chlopiec', 'chłopiec', 'ch,ł,o,p,i,e,_c', 'C', W, T('1f466')),
    ('widelec', 'widelec', 'w,i,d,e,l,e,_c', 'C', W, D('widelec')),
    ('latawiec', 'latawiec', 'l,a,t,a,w,i,e,_c', 'C', W, T('1fa81')),
    ('koc', 'koc', 'k,o,_c', 'C', W, D('koc')),
    ('noc', 'noc', 'n,o,_c', 'C', W, D('noc')),
    ('leniwiec', 'leniwiec', 'l,e,n,i,w,i,e,_c', 'C', W, T('1f9a5')),
    ('walec', 'walec', 'w,a,l,e,_c', 'C', W, D('walec')),
    ('materac', 'materac', 'm,a,t,e,r,a,_c', 'C', W, D('materac')),
    ('piec', 'piec', 'p,i,e,_c', 'C', W, D('piec')),
    # DŻ: few words at the start, hardly any inside, none at the end (devoiced).
    ('dzem', 'dżem', '_dż,e,m', 'DŻ', N, D('dzem')),
    ('dzungla', 'dżungla', '_dż,u,n,g,l,a', 'DŻ', N, JUNGLE),
    ('dzinsy', 'dżinsy', '_dż,i,n,s,y', 'DŻ', N, D('dzinsy')),
    ('dzokej', 'dżokej', '_dż,o,k,e,j', 'DŻ', N, D('dzokej')),
    ('dzudo', 'dżudo', '_dż,u,d,o', 'DŻ', N, D('dzudo')),
    ('dzdzownica', 'dżdżownica', '_dż,dż,o,w,n,i,c,a', 'DŻ', N, D('dzdzownica')),
    ('dzip', 'dżip', '_dż,i,p', 'DŻ', N, D('dzip')),
    ('dzin', 'dżin', '_dż,i,n', 'DŻ', N, T('1f9de')),
    ('dzojstik', 'dżojstik', '_dż,o,j,s,t,i,k', 'DŻ', N, T('1f579')),
    ('dzoker', 'dżoker', '_dż,o,k,e,r', 'DŻ', N, JOKER),
    ('bandzo', 'bandżo', 'b,a,n,_dż,o', 'DŻ', S_, D('bandzo')),
    ('drozdzowka', 'drożdżówka', 'd,r,o,ż,_dż,ó,w,k,a', 'DŻ', S_, D('drozdzowka')),
    # DZ: plain dz (not before i), voiced.
    ('dzwonek', 'dzwonek', '_dz,w,o,n,e,k', 'DZ', N, D('dzwonek')),
    ('dzwon', 'dzwon', '_dz,w,o,n', 'DZ', N, D('dzwon')),
    ('dzbanek', 'dzbanek', '_dz,b,a,n,e,k', 'DZ', N, D('dzbanek')),
    ('kukurydza', 'kukurydza', 'k,u,k,u,r,y,_dz,a', 'DZ', S_, T('1f33d')),
    ('pedzel', 'pędzel', 'p,ę,_dz,e,l', 'DZ', S_, T('1f58c')),
    ('pieniadze', 'pieniądze', 'p,i,e,n,i,ą,_dz,e', 'DZ', S_, T('1f4b5')),
    ('ogrodzenie', 'ogrodzenie', 'o,g,r,o,_dz,e,n,i,e', 'DZ', S_, D('ogrodzenie')),
    ('sadzonka', 'sadzonka', 's,a,_dz,o,n,k,a', 'DZ', S_, T('1f331')),
    ('rodzynki', 'rodzynki', 'r,o,_dz,y,n,k,i', 'DZ', S_, D('rodzynki')),
]
CATALOGUE = 'slowa.txt'

# Sizes follow the window layouts: see tools/README.md for the arithmetic.
SMALL = (70, 94)          # card fronts and falling pictures
MEM = {'s': 200, 'b': 256}  # memory's big picture (disc), also shown inside the ring
UP = {'s': 252, 'b': 320}   # labelling / completion picture (rounded square)
RING_OUT = {'s': 270, 'b': 340}
TILE = {'s': 44, 'b': 55}

MODES = {'s': (800, 600), 'b': (1024, 768)}

PRAISE = ['Brawo!', 'Świetnie!', 'Super!', 'Doskonale!', 'Wspaniale!',
          'Bardzo dobrze!', 'Znakomicie!', 'Tak trzymaj!']
ENCOURAGE = ['Spróbuj jeszcze raz.', 'Prawie dobrze. Spróbuj jeszcze raz.',
             'Pomyśl jeszcze raz.', 'Nie tym razem. Spróbuj jeszcze raz.',
             'Jeszcze raz, dasz radę!']

WEB_TEXT = 'www.wirowanki.pl'
MAIL_TEXT = 'kontakt@wirowanki.pl'

written = []  # every output file, for the contact sheet


# ---------------------------------------------------------------- helpers

def font(size, bold=True):
    return ImageFont.truetype(FONT_BOLD if bold else FONT_REG, size)


def ensure_dir(path):
    os.makedirs(path, exist_ok=True)


def render_svg(rel, w, h):
    """RGBA raster of an SVG source from tools/art at exactly w x h."""
    out = subprocess.run(['rsvg-convert', '-w', str(w), '-h', str(h), os.path.join(ART, rel)],
                         check=True, stdout=subprocess.PIPE).stdout
    img = Image.open(io.BytesIO(out)).convert('RGBA')
    if img.size != (w, h):
        img = img.resize((w, h), Image.LANCZOS)
    return img


def save_jpeg(img, path, quality=92):
    ensure_dir(os.path.dirname(path))
    # Baseline (not progressive), no chroma subsampling so text and thin edges stay crisp.
    img.convert('RGB').save(path, 'JPEG', quality=quality, subsampling=0, progressive=False,
                            optimize=False)
    written.append(path)


def save_bmp(img, path):
    ensure_dir(os.path.dirname(path))
    img.convert('RGB').save(path, 'BMP')
    written.append(path)


class Layer:
    """Supersampled RGBA drawing surface; .image() gives the anti-aliased result."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.im = Image.new('RGBA', (w * SS, h * SS), bg)
        self.d = ImageDraw.Draw(self.im)

    @staticmethod
    def s(v):
        return int(round(v * SS))

    def box(self, b):
        return [self.s(b[0]), self.s(b[1]), self.s(b[2]) - 1, self.s(b[3]) - 1]

    def rrect(self, b, r, fill, outline=None, width=0):
        self.d.rounded_rectangle(self.box(b), radius=self.s(r), fill=fill,
                                 outline=outline, width=self.s(width))

    def rect(self, b, fill):
        self.d.rectangle(self.box(b), fill=fill)

    def ellipse(self, b, fill, outline=None, width=0):
        self.d.ellipse(self.box(b), fill=fill, outline=outline, width=self.s(width))

    def poly(self, pts, fill):
        self.d.polygon([(self.s(x), self.s(y)) for x, y in pts], fill=fill)

    def line(self, pts, fill, width):
        self.d.line([(self.s(x), self.s(y)) for x, y in pts], fill=fill, width=self.s(width),
                    joint='curve')

    def text(self, xy, txt, size, fill, anchor='mm', bold=True, stroke=0, stroke_fill=None):
        self.d.text((self.s(xy[0]), self.s(xy[1])), txt, font=font(self.s(size), bold), fill=fill,
                    anchor=anchor, stroke_width=self.s(stroke), stroke_fill=stroke_fill)

    def paste(self, img, xy):
        big = img.resize((img.width * SS, img.height * SS), Image.LANCZOS)
        self.im.alpha_composite(big, (self.s(xy[0]), self.s(xy[1])))

    def image(self):
        # Premultiplied resampling avoids dark fringes at transparent edges.
        return self.im.convert('RGBa').resize((self.w, self.h), Image.LANCZOS).convert('RGBA')


def over(bg_rgb, fg_rgba):
    base = Image.new('RGBA', fg_rgba.size, bg_rgb + (255,))
    base.alpha_composite(fg_rgba)
    return base.convert('RGB')


def text_width(txt, size, bold=True):
    return font(size, bold).getlength(txt)


def fit_size(txt, max_w, size, bold=True, minimum=7):
    while size > minimum and text_width(txt, size, bold) > max_w:
        size -= 1
    return size


def mix(c, other, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c, other))


def darker(c, f=0.75):
    return tuple(int(v * f) for v in c)


def vgradient(w, h, top, bottom):
    a = np.linspace(0.0, 1.0, h)[:, None, None]
    arr = np.array(top, float)[None, None, :] * (1 - a) + np.array(bottom, float)[None, None, :] * a
    arr = np.repeat(arr, w, axis=1)
    return Image.fromarray(arr.round().astype(np.uint8), 'RGB')


def emoji(code, size):
    rel = code if code.endswith('.svg') else 'twemoji/%s.svg' % code
    return render_svg(rel, size, size)


# ---------------------------------------------------------------- word pictures

def word_object(src, size):
    if isinstance(src, str):
        return render_svg(src, size, size)
    img = Image.new('RGBA', (size, size), (0, 0, 0, 0))
    for part, x, y, f in src:
        s = int(round(size * f))
        img.alpha_composite(render_svg(part, s, s), (int(round(x * size)), int(round(y * size))))
    return img


def word_pictures():
    bio = os.path.join(DATA, 'Bio')
    sio = os.path.join(DATA, 'Sio')
    for stem, _spoken, _units, _sound, _pos, src in WORDS:
        # Small picture: object centred on white, no frame (drawn opaque on the boards).
        w, h = SMALL
        obj = word_object(src, 62)
        img = Image.new('RGB', (w, h), WHITE)
        img.paste(obj, ((w - 62) // 2, (h - 62) // 2), obj)
        save_jpeg(img, os.path.join(sio, 's%s.xji' % stem), 95)
        # Memory / ring picture: object inside a white disc (the shared mask).
        for m in 'sb':
            d = MEM[m]
            o = int(d * 0.74)
            obj = word_object(src, o)
            img = Image.new('RGB', (d, d), WHITE)
            img.paste(obj, ((d - o) // 2, (d - o) // 2), obj)
            # Corners of square objects would stick out of the disc: white outside it, as the
            # mask drawing needs.
            disc = Layer(d, d, (0, 0, 0, 0))
            disc.ellipse((4, 4, d - 4, d - 4), WHITE)
            img = Image.composite(img, Image.new('RGB', (d, d), WHITE), disc.image().getchannel('A'))
            save_jpeg(img, os.path.join(bio, '%s_m%s.xji' % (stem, m)), 92)
        # Labelling / completion picture: object on a white rounded square.
        for m in 'sb':
            d = UP[m]
            o = int(d * 0.84)
            obj = word_object(src, o)
            img = Image.new('RGB', (d, d), WHITE)
            img.paste(obj, ((d - o) // 2, (d - o) // 2), obj)
            save_jpeg(img, os.path.join(bio, '%s_up%s.xji' % (stem, m)), 92)
    for m in 'sb':
        d = MEM[m]
        L = Layer(d, d, (0, 0, 0, 255))
        L.ellipse((0, 0, d, d), WHITE)
        save_jpeg(L.image(), os.path.join(bio, '_matr_m%s.xji' % m), 100)
        d = UP[m]
        L = Layer(d, d, (0, 0, 0, 255))
        L.rrect((0, 0, d, d), d * 0.12, WHITE)
        save_jpeg(L.image(), os.path.join(bio, '_matr_up%s.xji' % m), 100)


def catalogue_file():
    """The word catalogue the program reads at start-up, in WORDS order."""
    lines = ['# Katalog słów programu Wirowanki (UTF-8), jedno słowo w wierszu:',
             '#   nazwa  głoski  dźwięk  pozycja',
             '# nazwa   - rdzeń nazw plików słowa: małe litery a-z i cyfry (Data\\Bio\\nazwa_ms.xji,',
             '#           Data\\Sio\\snazwa.xji, Data\\Smd\\nazwa.pw ...)',
             '# głoski  - pisownia podzielona przecinkami na głoski (sz, cz, rz, dż, dz, ch to jedna',
             '#           głoska); ćwiczoną głoskę poprzedza znak _',
             '# dźwięk  - SZ, Ż, RZ, CZ, DŻ albo głoska kontrastowa S, Z, C, DZ',
             '# pozycja - nagłos, śródgłos albo wygłos',
             '# Wiersze zaczynające się od # i puste wiersze są pomijane.', '']
    for stem, _spoken, units, sound, pos, _src in WORDS:
        lines.append('%-12s %-22s %-3s %s' % (stem, units, sound, pos))
    with open(os.path.join(DATA, CATALOGUE), 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')
    written.append(os.path.join(DATA, CATALOGUE))


def card_pictures():
    sio = os.path.join(DATA, 'Sio')
    w, h = SMALL

    def card(fill, inner, draw_mid):
        L = Layer(w, h, fill + (255,))
        L.rrect((4, 4, w - 4, h - 4), 7, None, inner, 2.5)
        draw_mid(L)
        return L.image().convert('RGB')

    def star(L, c, r, col):
        import math
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = r if i % 2 == 0 else r * 0.45
            pts.append((c[0] + rr * math.cos(a), c[1] + rr * math.sin(a)))
        L.poly(pts, col)

    def back0(L):
        for i, (x, y) in enumerate([(18, 20), (52, 20), (18, 74), (52, 74)]):
            L.ellipse((x - 3, y - 3, x + 3, y + 3), SKY_LIGHT)
        star(L, (w / 2, h / 2), 22, YELLOW)

    def back1(L):
        for (x, y) in [(18, 20), (52, 20), (18, 74), (52, 74)]:
            L.ellipse((x - 3, y - 3, x + 3, y + 3), (255, 214, 160))
        L.ellipse((w / 2 - 19, h / 2 - 19, w / 2 + 19, h / 2 + 19), YELLOW)
        L.text((w / 2, h / 2 + 1), 'W', 26, ORANGE)

    save_jpeg(card(BLUE, WHITE, back0), os.path.join(sio, 'blkcard0.xji'), 95)
    save_jpeg(card(ORANGE, WHITE, back1), os.path.join(sio, 'blkcard1.xji'), 95)
    save_jpeg(card(RED, (255, 170, 170), lambda L: L.text((w / 2, h / 2), '✗', 52, WHITE)),
              os.path.join(sio, 'allred.xji'), 95)
    save_jpeg(card(YELLOW, WHITE, lambda L: L.text((w / 2, h / 2 + 2), '?', 64, NAVY)),
              os.path.join(sio, 'squest.xji'), 95)


# ---------------------------------------------------------------- resource pictures

def masked_set(base, layer_fn, w, h, states):
    """Writes base+suffix for each state plus base_M: the shape's mask (white inside) and state
    pictures that are white outside the shape, as the OR-then-AND drawing needs."""
    imgs = {k: layer_fn(k) for k in states}
    alpha = np.array(imgs[states[0]].getchannel('A'))
    inside = alpha >= 128
    for k, im in imgs.items():
        arr = np.array(over(WHITE, im))
        arr[~inside] = 255
        save_bmp(Image.fromarray(arr, 'RGB'), os.path.join(RES, base + k + '.bmp'))
    mask = np.zeros((h, w, 3), np.uint8)
    mask[inside] = 255
    save_bmp(Image.fromarray(mask, 'RGB'), os.path.join(RES, base + '_M.bmp'))


def icon(L, kind, cx, cy, r, col):
    if callable(kind):
        kind(L, cx, cy, r, col)
    elif kind == 'play':
        L.poly([(cx - r * 0.7, cy - r), (cx - r * 0.7, cy + r), (cx + r, cy)], col)
    elif kind == 'square':
        L.rrect((cx - r * 0.8, cy - r * 0.8, cx + r * 0.8, cy + r * 0.8), r * 0.2, col)
    elif kind == 'dot':
        L.ellipse((cx - r, cy - r, cx + r, cy + r), col)
    elif kind == 'right':
        L.poly([(cx - r, cy - r * 0.35), (cx + r * 0.1, cy - r * 0.35), (cx + r * 0.1, cy - r),
                (cx + r, cy), (cx + r * 0.1, cy + r), (cx + r * 0.1, cy + r * 0.35),
                (cx - r, cy + r * 0.35)], col)
    elif kind == 'left':
        L.poly([(cx + r, cy - r * 0.35), (cx - r * 0.1, cy - r * 0.35), (cx - r * 0.1, cy - r),
                (cx - r, cy), (cx - r * 0.1, cy + r), (cx - r * 0.1, cy + r * 0.35),
                (cx + r, cy + r * 0.35)], col)
    elif kind == 'up':
        L.poly([(cx - r, cy + r * 0.6), (cx + r, cy + r * 0.6), (cx, cy - r * 0.7)], col)
    elif kind == 'down':
        L.poly([(cx - r, cy - r * 0.6), (cx + r, cy - r * 0.6), (cx, cy + r * 0.7)], col)
    elif kind == 'question':
        L.text((cx, cy + r * 0.05), '?', r * 2.4, col)
    elif kind == 'info':
        L.ellipse((cx - r, cy - r, cx + r, cy + r), None, col, max(1.5, r * 0.22))
        L.text((cx, cy + r * 0.05), 'i', r * 1.5, col)
    elif kind == 'door':
        L.rect((cx - r * 0.9, cy - r, cx - r * 0.1, cy + r), col)
        L.poly([(cx - r * 0.1, cy - r * 0.35), (cx + r * 0.45, cy - r * 0.35),
                (cx + r * 0.45, cy - r * 0.8), (cx + r * 1.1, cy), (cx + r * 0.45, cy + r * 0.8),
                (cx + r * 0.45, cy + r * 0.35), (cx - r * 0.1, cy + r * 0.35)], col)
    elif kind == 'stopx':
        L.line([(cx - r * 0.75, cy - r * 0.75), (cx + r * 0.75, cy + r * 0.75)], col, r * 0.45)
        L.line([(cx - r * 0.75, cy + r * 0.75), (cx + r * 0.75, cy - r * 0.75)], col, r * 0.45)


def button(base, w, h, color, kind, label):
    radius = min(w, h) * 0.26

    def draw(state):
        L = Layer(w, h)
        if state == '_D':
            fill, edge, dy = color, darker(color, 0.7), 0
        elif state == '_A':
            fill, edge, dy = mix(color, WHITE, 0.22), (255, 221, 0), 0
        else:
            fill, edge, dy = darker(color, 0.8), darker(color, 0.55), 1.5
        L.rrect((0.5, 0.5, w - 0.5, h - 0.5), radius, edge)
        bw = 3 if state == '_A' else 2
        L.rrect((bw, bw, w - bw, h - bw), radius - bw, fill)
        if state == '_D':  # soft top highlight
            L.rrect((bw + 3, bw + 2, w - bw - 3, h * 0.42), radius * 0.6,
                    mix(fill, WHITE, 0.18))
        if state == '_':  # pressed: shadow along the top edge
            L.rrect((bw, bw, w - bw, bw + 4), 3, darker(fill, 0.8))
        if label:
            isz = h * 0.19
            icon(L, kind, w / 2, h * 0.36 + dy, isz, WHITE)
            size = fit_size(label, w - 8, int(h * 0.22))
            L.text((w / 2, h * 0.77 + dy), label, size, WHITE)
        else:
            icon(L, kind, w / 2, h / 2 + dy, min(w, h) * 0.3, WHITE)
        return L.image()

    masked_set(base, draw, w, h, ['_D', '_A', '_'])


def scroll_thumb():
    w, h = 20, 14

    def draw(_state):
        L = Layer(w, h)
        L.rrect((0.5, 0.5, w - 0.5, h - 0.5), 6.5, darker(ORANGE, 0.7))
        L.rrect((2, 2, w - 2, h - 2), 5, ORANGE)
        for x in (7, 10, 13):
            L.line([(x, 4.5), (x, h - 4.5)], WHITE, 1.2)
        return L.image()

    masked_set('scroll', draw, w, h, ['_D'])


def check_button(name, w, h, label, color):
    for state in ('_D', '_A'):
        on = state == '_A'
        L = Layer(w, h, PANEL + (255,))
        r = h / 2 - 1
        if on:
            L.rrect((1, 1, w - 1, h - 1), r, darker(color, 0.75))
            L.rrect((3, 3, w - 3, h - 3), r - 2, color)
        else:
            L.rrect((1, 1, w - 1, h - 1), r, (170, 170, 170))
            L.rrect((3, 3, w - 3, h - 3), r - 2, WHITE)
        b = h * 0.52
        bx, by = h * 0.28, (h - b) / 2
        L.rrect((bx, by, bx + b, by + b), b * 0.22, WHITE, darker(color, 0.75) if on else
                (150, 150, 150), max(1.5, h * 0.05))
        if on:
            L.line([(bx + b * 0.2, by + b * 0.52), (bx + b * 0.42, by + b * 0.75),
                    (bx + b * 0.82, by + b * 0.25)], GREEN, max(2.5, h * 0.09))
        tx0 = bx + b + h * 0.15
        avail = w - tx0 - h * 0.25
        size = fit_size(label, avail, int(h * 0.42))
        L.text((tx0 + avail / 2, h / 2), label, size, WHITE if on else INK)
        save_bmp(L.image().convert('RGB'), os.path.join(RES, name + state + '.bmp'))


def list_check():
    s = 26
    for state in ('_D', '_A'):
        L = Layer(s, s, PANEL + (255,))
        if state == '_A':
            L.rrect((1, 1, s - 1, s - 1), 6, GREEN)
            L.line([(6.5, 13.5), (11, 18.5), (19.5, 7.5)], WHITE, 3.2)
        else:
            L.rrect((1, 1, s - 1, s - 1), 6, WHITE, (150, 150, 150), 2)
        save_bmp(L.image().convert('RGB'), os.path.join(RES, 'S_CHBUT' + state + '.bmp'))


def caption(name, w, h, txt, color):
    L = Layer(w, h, PANEL + (255,))
    L.rrect((0, h * 0.2, h * 0.2, h * 0.8), h * 0.1, color)
    size = fit_size(txt, w - h * 0.4, int(h * 0.68))
    L.text((h * 0.38, h / 2), txt, size, darker(color, 0.7), anchor='lm')
    save_bmp(L.image().convert('RGB'), os.path.join(RES, name + '.bmp'))


# Letter tiles: every Polish letter, the q/v/x of loan words, and the digraphs the games use.
LETTERS = list('aąbcćdeęfghijklłmnńoóprsśtuwyzźż') + ['q', 'v', 'x']
DIGRAPHS = ['ch', 'cz', 'dz', 'dź', 'dż', 'rz', 'sz']
CODES = {'dż': 'dzz', 'dź': 'dzzz', 'ż': 'zz', 'ź': 'zzz', 'ó': 'oo', 'ł': 'll', 'ć': 'cc',
         'ś': 'ss', 'ń': 'nn', 'ę': 'ee', 'ą': 'aa'}


def kod_litery(unit):
    return CODES.get(unit, unit)


def tile(txt, side, fg, edge, bg=(255, 252, 240)):
    L = Layer(side, side, edge + (255,))
    bw = max(3, side * 0.07)
    L.rrect((bw, bw, side - bw, side - bw), side * 0.12, bg)
    L.rrect((bw, side * 0.8, side - bw, side - bw), side * 0.12, mix(bg, edge, 0.18))
    L.rect((bw, side * 0.8, side - bw, side * 0.86), bg)
    size = int(side * (0.62 if len(txt) == 1 else 0.5))
    size = fit_size(txt, side * 0.82, size)
    f = font(L.s(size))
    x0, y0, x1, y1 = f.getbbox(txt, anchor='ls')
    # Centre on the letter body (x-height box) so accents and descenders keep a shared baseline.
    xb = f.getbbox('x', anchor='ls')
    cx = side / 2 - (x0 + x1) / 2 / SS
    base = side * 0.5 - (xb[1] + xb[3]) / 2 / SS
    L.d.text((L.s(cx), L.s(base)), txt, font=f, fill=fg, anchor='ls')
    return L.image().convert('RGB')


def letter_tiles():
    for m in 'sb':
        side = TILE[m]
        for u in LETTERS + DIGRAPHS:
            code = kod_litery(u)
            save_bmp(tile(u, side, NAVY, BLUE), os.path.join(RES, '%s_%s.bmp' % (code, m)))
            save_bmp(tile(u, side, (214, 20, 40), RED, (255, 240, 240)),
                     os.path.join(RES, '%s_red_%s.bmp' % (code, m)))
        save_bmp(tile('?', side, (200, 100, 0), ORANGE, (255, 246, 214)),
                 os.path.join(RES, 'question_%s.bmp' % m))


def resource_pictures():
    # Game buttons: hit area 70 x 60; menu buttons fit 90 px steps; recorder 80 px steps.
    button('pomoc', 70, 60, PURPLE, 'question', 'Pomoc')
    button('stop', 70, 60, RED, 'stopx', 'Koniec')
    button('nast', 70, 60, BLUE, 'right', 'Dalej')
    button('pop', 70, 60, BLUE, 'left', 'Wstecz')
    button('start', 84, 64, GREEN, 'play', 'Graj!')
    button('wyjdz', 84, 64, ORANGE, 'door', 'Wyjdź')
    button('oprogramie', 84, 64, TEAL, 'info', 'O programie')
    button('rrec', 70, 60, RED, 'dot', 'Nagraj')
    button('rodtworz', 70, 60, GREEN, 'play', 'Odtwórz')
    button('rstop', 70, 60, (52, 73, 94), 'square', 'Stop')
    button('up', 28, 30, BLUE, 'up', '')
    button('down', 28, 30, BLUE, 'down', '')
    scroll_thumb()
    sizes = {'s': ((120, 40), (84, 40)), 'b': ((150, 50), (104, 50))}
    for m, p in (('s', 's_'), ('b', 'b_')):
        wide, narrow = sizes[m]
        for name, label in (('malo', 'mało'), ('srednio_g', 'średnio'), ('duzo_g', 'dużo')):
            check_button(p + name, *wide, label, ORANGE)
        for name, label in (('SZ', 'SZ'), ('ZZ_g', 'Ż/RZ'), ('CZ_g', 'CZ'), ('DZZ_g', 'DŻ')):
            check_button(p + name, *narrow, label, BLUE)
        for name, label in (('naglos', 'nagłos'), ('srodglos_g', 'śródgłos'),
                            ('wyglos_g', 'wygłos')):
            check_button(p + name, *wide, label, GREEN)
    list_check()
    for m, (w, h) in (('s', (245, 32)), ('b', (308, 40))):
        caption('nap_ilzadan_' + m, w, h, 'Ilość zadań:', ORANGE)
        caption('nap_gloski_' + m, w, h, 'Głoski:', BLUE)
        caption('nap_pozycja_' + m, w, h, 'Pozycja głoski:', GREEN)
    letter_tiles()


def report_button():
    """The main menu's progress-report button: rising bars, in the size and style of the menu buttons."""
    def bars(L, cx, cy, r, col):
        bw, gap, bottom = r * 0.52, r * 0.22, cy + r
        x = cx - (3 * bw + 2 * gap) / 2
        for height in (0.85, 1.35, 2.0):
            L.rrect((x, bottom - r * height, x + bw, bottom), bw * 0.2, col)
            x += bw + gap
        L.line([(cx - r * 1.25, bottom + r * 0.12), (cx + r * 1.25, bottom + r * 0.12)], col, r * 0.16)

    button('raport', 84, 64, BLUE, bars, 'Raport')


# ---------------------------------------------------------------- interface pictures

def clouds(L, W, H, spots):
    for (fx, fy, fs) in spots:
        cx, cy, s = fx * W, fy * H, fs * W
        for dx, dy, r in ((-0.9, 0.1, 0.55), (0, -0.2, 0.75), (0.9, 0.1, 0.55), (0, 0.25, 0.6)):
            L.ellipse((cx + dx * s - r * s, cy + dy * s - r * s * 0.8,
                       cx + dx * s + r * s, cy + dy * s + r * s * 0.8), (255, 255, 255, 230))


def hills(L, W, H, top):
    L.ellipse((-0.2 * W, top, 0.55 * W, top + 0.5 * H), GRASS_DARK + (255,))
    L.ellipse((0.35 * W, top + 0.02 * H, 1.3 * W, top + 0.55 * H), GRASS + (255,))
    L.rect((0, top + 0.09 * H, W, H), GRASS + (255,))


def scene(W, H, ground=0.86, cloud_spots=None):
    img = vgradient(W, H, SKY, SKY_LIGHT).convert('RGBA')
    L = Layer(W, H)
    clouds(L, W, H, cloud_spots if cloud_spots is not None else
           [(0.08, 0.1, 0.035), (0.9, 0.07, 0.03), (0.12, 0.75, 0.025)])
    hills(L, W, H, ground * H)
    img.alpha_composite(L.image())
    return img


def rainbow_text(L, xy, txt, size, colors=(RED, ORANGE, (230, 180, 0), GREEN, BLUE, PURPLE)):
    f = font(L.s(size))
    total = f.getlength(txt) / SS
    x = xy[0] - total / 2
    i = 0
    for ch in txt:
        if ch != ' ':
            L.text((x, xy[1]), ch, size, colors[i % len(colors)], anchor='lm', stroke=size * 0.08,
                   stroke_fill=WHITE)
            i += 1
        x += f.getlength(ch) / SS


PANEL_EDGE = (232, 212, 160)


def panel(L, box, r, square_right=False):
    x0, y0, x1, y1 = box
    L.rrect((x0 - 3, y0 - 3, x1 + 3, y1 + 3), r + 3, PANEL_EDGE)
    L.rrect(box, r, PANEL)
    if square_right:
        L.rect((x1 - 2 * r, y0 - 3, x1, y1 + 3), PANEL_EDGE)
        L.rect((x1 - 2 * r - 1, y0, x1, y1), PANEL)


MENU_PANEL = {'s': (124, 80, 551, 510), 'b': (160, 102, 705, 655)}
STRIP = {'s': ((551, 74), (249, 445)), 'b': ((705, 95), (319, 575))}
BANDS = {'s': [(6, 105), (110, 190), (200, 270), (280, 345), (360, 435)],
         'b': [(12, 140), (150, 250), (260, 350), (360, 450), (460, 570)]}
TABS = [('Podpisywanie', '270f', (230, 110, 30)), ('Memory', 'memory_icon.svg', PURPLE),
        ('Uzupełnianie', '1f9e9', TEAL), ('Spadające', '1f342', GREEN),
        ('Nagrywanie', '1f3a4', PINK)]


def menu_pictures():
    for m in 'sb':
        W, H = MODES[m]
        k = W / 800
        img = scene(W, H, 0.85, [(0.06, 0.06, 0.03), (0.93, 0.05, 0.025), (0.07, 0.9, 0.02)])
        L = Layer(W, H)
        rainbow_text(L, (W * 0.4, 38 * k), 'Wesołe Wirowanki', 40 * k)
        panel(L, MENU_PANEL[m], 24 * k, square_right=True)
        img.alpha_composite(L.image())
        bg = img.convert('RGB')
        save_jpeg(bg, os.path.join(INTF_SPEC, 'mT_m0_%s.xji' % m), 92)
        (sx, sy), (sw, sh) = STRIP[m]
        base = bg.crop((sx, sy, sx + sw, sy + sh))
        for sel in range(5):
            T = Layer(sw, sh)
            for i, (label, code, col) in enumerate(TABS):
                y0, y1 = BANDS[m][i]
                y1 += 1
                r = 16 * k
                if i == sel:
                    T.rrect((0, y0 - 3, sw - 4, y1 + 3), r + 3, PANEL_EDGE)
                    T.rrect((0, y0, sw - 7, y1), r, PANEL)
                    T.rect((0, y0 - 3, 2 * r, y1 + 3), PANEL_EDGE)
                    T.rect((0, y0, 2 * r + 2, y1), PANEL)
                    fg, x0 = darker(col, 0.8), 14 * k
                else:
                    T.rrect((12 * k, y0, sw - 7, y1), r, darker(col, 0.75))
                    T.rrect((12 * k + 2, y0 + 2, sw - 9, y1 - 2), r - 2, col)
                    fg, x0 = WHITE, 22 * k
                isz = int(min(y1 - y0 - 12 * k, 44 * k))
                T.paste(emoji(code, isz), (x0, (y0 + y1) / 2 - isz / 2))
                tx = x0 + isz + 8 * k
                size = fit_size(label, sw - 14 - tx, int(20 * k))
                T.text((tx, (y0 + y1) / 2), label, size, fg, anchor='lm')
            pic = base.convert('RGBA')
            pic.alpha_composite(T.image())
            save_bmp(pic, os.path.join(INTF_SPEC, 'mT_m%d_%s.xbi' % (sel + 1, m)))


def soft_pair(rgba, black_path, white_path, writer):
    writer(over((0, 0, 0), rgba), black_path)
    writer(over(WHITE, rgba), white_path)


def logo_and_speaker():
    logo = render_svg('logo.svg', 192, 400)
    soft_pair(logo, os.path.join(INTF_SPEC, 'RU_mnlz1B.xji'), os.path.join(INTF_SPEC, 'RU_mnlz1W.xji'),
              lambda im, p: save_jpeg(im, p, 100))
    for prefix, s in (('R2', 40), ('R3', 50)):
        for state, code in (('D', '1f507'), ('A', '1f50a')):
            L = Layer(s, s)
            L.ellipse((1, 1, s - 1, s - 1), (255, 255, 255, 235) if state == 'A'
                      else (230, 230, 230, 220))
            L.paste(emoji(code, int(s * 0.7)), (s * 0.15, s * 0.15))
            soft_pair(L.image(), os.path.join(INTF_SPEC, '%s_glos_%sB.xbi' % (prefix, state)),
                      os.path.join(INTF_SPEC, '%s_glos_%sW.xbi' % (prefix, state)), save_bmp)


def halo(L, box, r, color=(255, 255, 255, 150), pad=8):
    x0, y0, x1, y1 = box
    L.rrect((x0 - pad, y0 - pad, x1 + pad, y1 + pad), r + pad, color)


def heading(L, xy, txt, size, color, max_w=None):
    if max_w:
        size = fit_size(txt, max_w, int(size))
    L.text(xy, txt, size, color, stroke=size * 0.1, stroke_fill=WHITE)


def game_backgrounds():
    for m in 'sb':
        W, H = MODES[m]
        k = W / 800
        # Memory: a calm board behind the card grid, a halo where the found pair is shown.
        img = vgradient(W, H, (200, 235, 255), (235, 248, 255)).convert('RGBA')
        L = Layer(W, H)
        clouds(L, W, H, [(0.93, 0.07, 0.025)])
        board = (85, 82, 525, 515) if m == 's' else (175, 172, 615, 612)
        L.rrect((board[0] - 6, board[1] - 6, board[2] + 6, board[3] + 6), 30 * k, (60, 140, 90))
        L.rrect(board, 26 * k, (120, 196, 130))
        d, (px, py) = MEM[m], ((583, 188) if m == 's' else (743, 235))
        L.ellipse((px - 12, py - 12, px + d + 12, py + d + 12), (255, 230, 120, 255))
        L.ellipse((px - 5, py - 5, px + d + 5, py + d + 5), (255, 248, 210, 255))
        heading(L, ((board[0] + board[2]) / 2, board[1] / 2), 'Znajdź pary!', 34 * k, PURPLE)
        img.alpha_composite(L.image())
        save_jpeg(img, os.path.join(INTF_SPEC, 'mT_Mem_%s.xji' % m))

        # Labelling: picture in the middle, tile trays on the left and along the bottom.
        img = vgradient(W, H, (255, 244, 214), (255, 236, 190)).convert('RGBA')
        L = Layer(W, H)
        L.rrect((4, 4, W / 5 + 64 * k, H - H / 5 - 8), 22 * k, (255, 226, 160, 255))
        L.rrect((4, H - H / 5, W - W / 10 - 10, H - 4), 22 * k, (255, 226, 160, 255))
        (px, py), d = ((274, 140) if m == 's' else (348, 172)), UP[m]
        halo(L, (px, py, px + d, py + d), d * 0.12, (250, 190, 80, 255), 9 * k)
        fy = H - H // 4
        L.rrect((W / 2 - 300 * k, fy - 16 * k, W / 2 + 300 * k, fy + TILE[m] + 16 * k), 20 * k,
                (255, 250, 235, 255))
        heading(L, (px + d / 2, py / 2 + 4), 'Ułóż podpis!', 34 * k, (200, 90, 20))
        img.alpha_composite(L.image())
        save_jpeg(img, os.path.join(INTF_SPEC, 'mT_Pod_%s1.xji' % m))

        # Completion: word row on top, picture below, two round pads for the choices.
        img = vgradient(W, H, (214, 245, 235), (190, 235, 220)).convert('RGBA')
        L = Layer(W, H)
        ry, t = H // 10, TILE[m]
        L.rrect((W / 2 - 260 * k, ry - 14 * k, W / 2 + 260 * k, ry + t + 14 * k), 20 * k,
                (255, 255, 255, 200))
        (px, py), d = ((266, 310) if m == 's' else (338, 388)), UP[m]
        halo(L, (px, py, px + d, py + d), d * 0.12, (80, 180, 150, 255), 9 * k)
        for sx in (3 * W // 4, W // 4 - 40):
            cx, cy = sx + t / 2, H // 2 + t / 2
            L.ellipse((cx - 48 * k, cy - 48 * k, cx + 48 * k, cy + 48 * k), (255, 255, 255, 255))
            L.ellipse((cx - 42 * k, cy - 42 * k, cx + 42 * k, cy + 42 * k), (255, 236, 160, 255))
        heading(L, (W / 2, (ry + t + py) / 2 - 6 * k), 'Uzupełnij słowo!', 34 * k, TEAL)
        img.alpha_composite(L.image())
        save_jpeg(img, os.path.join(INTF_SPEC, 'mT_Uzu_%s.xji' % m))

        # Falling pictures: open sky, the ground at the bottom line, a sign for the instruction.
        dno = 552 if m == 's' else 708
        img = vgradient(W, H, (150, 210, 245), (225, 244, 255)).convert('RGBA')
        L = Layer(W, H)
        clouds(L, W, H, [(0.2, 0.12, 0.03), (0.55, 0.3, 0.025), (0.88, 0.5, 0.03)])
        L.rect((0, dno, W, H), GRASS + (255,))
        L.rect((0, dno, W, dno + 5 * k), GRASS_DARK + (255,))
        sx, sy = ((620, 539) if m == 's' else (816, 693))
        L.rrect((sx - 12 * k, sy - 10 * k, W - 4, H - 4), 14 * k, (255, 248, 225, 255),
                (180, 120, 60, 255), 3)
        img.alpha_composite(L.image())
        save_bmp(img, os.path.join(INTF_SPEC, 'mT_Spa_%s.xbi' % m))


def ring_pictures():
    for m in 'sb':
        D, d = RING_OUT[m], MEM[m]
        inner = d - 4
        cols = [RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE]
        L = Layer(D, D)
        import math
        n = 36
        c = D / 2
        for i in range(n):
            a0, a1 = 2 * math.pi * i / n, 2 * math.pi * (i + 1.05) / n
            L.poly([(c, c), (c + c * 1.1 * math.cos(a0), c + c * 1.1 * math.sin(a0)),
                    (c + c * 1.1 * math.cos(a1), c + c * 1.1 * math.sin(a1))], cols[i % 6])
        ring = L.image()
        M = Layer(D, D, (0, 0, 0, 255))
        M.ellipse((0, 0, D, D), WHITE)
        M.ellipse((c - inner / 2, c - inner / 2, c + inner / 2, c + inner / 2), (0, 0, 0))
        mask = M.image().convert('L')
        arr = np.array(over(WHITE, ring))
        mk = np.array(mask)
        # White outside the ring so the AND step leaves the background alone.
        t = np.clip((mk.astype(np.float32) - 64.0) / 128.0, 0.0, 1.0)[:, :, None]
        arr = (arr * t + 255 * (1 - t)).round().astype(np.uint8)
        save_jpeg(Image.fromarray(arr, 'RGB'), os.path.join(INTF_SPEC, 'Ring_%s.xji' % m), 95)
        save_jpeg(mask.convert('RGB'), os.path.join(INTF_SPEC, 'RingM_%s.xji' % m), 100)


def results_pictures():
    moods = [('B', '1f641', 'Spróbuj jeszcze raz!', (120, 160, 210), (200, 220, 245)),
             ('M', '1f642', 'Dobrze!', (240, 170, 40), (255, 238, 190)),
             ('G', '1f604', 'Brawo!', (60, 170, 90), (205, 242, 200))]
    W, H = 600, 450
    for key, code, title, dark, light in moods:
        img = Image.new('RGBA', (W, H), light + (255,))
        L = Layer(W, H)
        L.rrect((5, 5, W, H), 25, dark)
        L.rrect((13, 13, W - 8, H - 8), 19, light)
        if key == 'G':
            for (x, y, s) in ((60, 60, 30), (520, 70, 26), (470, 330, 22), (90, 360, 24),
                              (300, 420, 18)):
                L.paste(emoji('2b50', s), (x - s / 2, y - s / 2))
        elif key == 'B':
            clouds(L, W, H, [(0.12, 0.14, 0.04), (0.86, 0.82, 0.035)])
        heading(L, (W / 2 + 2, 90), title, 44, darker(dark, 0.8), 520)
        L.rrect((68, 160, 442, 308), 18, (255, 255, 255, 215))
        L.paste(emoji(code, 110), (460, 176))
        img.alpha_composite(L.image())
        save_jpeg(img, os.path.join(INTF_SPEC, 'mStats%s.xji' % key))


def message_picture():
    W, H = 420, 250
    L = Layer(W, H, (255, 246, 214, 255))
    L.rrect((0, 0, W, H), 13, ORANGE)
    L.rrect((6, 6, W - 6, H - 6), 9, (255, 250, 230))
    L.ellipse((W / 2 - 20, 10, W / 2 + 20, 50), YELLOW)
    L.text((W / 2, 30), '!', 30, (200, 90, 20))
    save_jpeg(L.image(), os.path.join(INTF_SPEC, 'mKom_kp.xji'))


def splash_picture():
    W, H = 600, 348
    img = scene(W, H, 0.8, [(0.12, 0.15, 0.04), (0.88, 0.12, 0.035)])
    L = Layer(W, H)
    L.paste(render_svg('logo.svg', 120, 250), (40, 60))
    rainbow_text(L, (W / 2 + 75, 120), 'Wesołe Wirowanki', fit_size('Wesołe Wirowanki', 400, 48))
    sub = 'Część I · wersja demonstracyjna'
    L.text((W / 2 + 75, 180), sub, fit_size(sub, 400, 22), NAVY, stroke=2, stroke_fill=WHITE)
    L.text((W / 2 + 75, 300), 'Proszę czekać…', 20, WHITE, stroke=2, stroke_fill=GRASS_DARK)
    img.alpha_composite(L.image())
    save_jpeg(img, os.path.join(INTF_SPEC, 'mT_Splh.xji'))


def conv16(m, v):
    return v * 5 // 8 if m == 's' else v * 8 // 10


def conv4(m, v):
    return v * 25 // 32 if m == 's' else v


def about_pictures():
    for m, prefix in (('s', 'R2'), ('b', 'R3')):
        W, H = MODES[m]
        k = W / 800
        img = scene(W, H, 0.86)
        L = Layer(W, H)
        cx = conv16(m, 645)
        panel(L, (cx - 300 * k, 40 * k, cx + 300 * k, conv16(m, 870) - 80 * k), 24 * k)
        L.paste(render_svg('logo.svg', int(96 * k), int(200 * k)), (cx - 290 * k, 70 * k))
        rainbow_text(L, (cx + 20 * k, 95 * k), 'Wesołe Wirowanki', 44 * k)
        L.text((cx + 20 * k, 145 * k), 'Część I', 24 * k, NAVY)
        lines = ['Gry logopedyczne dla dzieci: głoski SZ, Ż/RZ, CZ, DŻ',
                 'Podpisywanie · Memory · Uzupełnianie · Spadające · Nagrywanie']
        for i, t in enumerate(lines):
            L.text((cx + 20 * k, (245 + 26 * i) * k), t, fit_size(t, 440 * k, int(15 * k)),
                   INK, bold=False)
        lx, wy, ey = conv16(m, 817), conv4(m, 477), conv4(m, 497)
        for y, label, txt in ((wy, 'Strona:', WEB_TEXT), (ey, 'E-mail:', MAIL_TEXT)):
            L.text((lx - 8, y + 9), label, 13, INK, anchor='rm')
            size = fit_size(txt, 150, 14)
            L.text((lx + 2, y + 9), txt, size, (20, 80, 200), anchor='lm')
            tw = text_width(txt, size)
            L.line([(lx + 2, y + 16), (lx + 2 + tw, y + 16)], (20, 80, 200), 1)
        credits = 'Obrazki: Twemoji (CC-BY 4.0) i własne · Głos: eSpeak NG'
        L.text((cx, conv16(m, 870) - 100 * k), credits, fit_size(credits, 520 * k, int(12 * k)),
               (90, 90, 90), bold=False)
        img.alpha_composite(L.image())
        save_jpeg(img, os.path.join(INTF_SPEC, '%s_oprogT.xji' % prefix))


# ---------------------------------------------------------------- speech and settings

def speak(text, path):
    ensure_dir(os.path.dirname(path))
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, 'raw.wav')
        subprocess.run(['espeak-ng', '-v', 'pl+f3', '-s', '135', '-p', '55', '-w', raw, text],
                       check=True)
        trimmed = os.path.join(tmp, 'trim.wav')
        # Trim leading/trailing silence first (the length is unknown until then), then normalise
        # to -1 dBFS with short fades against clicks and a little air at both ends.
        subprocess.run(['sox', '-D', raw, trimmed, 'silence', '1', '0.02', '0.5%', 'reverse',
                        'silence', '1', '0.02', '0.5%', 'reverse'], check=True)
        subprocess.run(['sox', '-D', trimmed, '-t', 'wav', '-e', 'signed-integer', '-b', '16',
                        '-c', '1', '-r', '22050', path, 'norm', '-1', 'fade', 't', '0.01', '-0', '0.02',
                        'pad', '0.05', '0.1'], check=True)
    written.append(path)


def rms_db(samples):
    return 20 * np.log10(max(1e-9, float(np.sqrt(np.mean(samples.astype(np.float64) ** 2)))) / 32768)


def level_words(paths, spread=2.9):
    """Peak normalising leaves words with one loud vowel much louder than the rest: turn those
    down (never up, which would clip) to within `spread` dB of the median loudness."""
    import wave
    clips = {}
    for path in paths:
        with wave.open(path) as w:
            params, frames = w.getparams(), w.readframes(w.getnframes())
        clips[path] = (params, np.frombuffer(frames, '<i2'))
    median = float(np.median([rms_db(a) for _p, a in clips.values()]))
    for path, (params, a) in clips.items():
        excess = rms_db(a) - (median + spread)
        if excess > 0:
            quieter = np.round(a * 10 ** (-excess / 20)).astype('<i2')
            with wave.open(path, 'wb') as w:
                w.setparams(params)
                w.writeframes(quieter.tobytes())


def speech():
    paths = []
    for stem, spoken, *_rest in WORDS:
        paths.append(os.path.join(DATA, 'Smd', stem + '.pw'))
        speak(spoken, paths[-1])
    level_words(paths)
    for i, t in enumerate(PRAISE):
        speak(t, os.path.join(DATA, 'Intf', 'Smd', 'g%02d.pw' % i))
    for i, t in enumerate(ENCOURAGE):
        speak(t, os.path.join(DATA, 'Intf', 'Smd', 'b%02d.pw' % i))


def settings():
    # SZ at the start of the word: 5 words for the SZ games, 10 (S and SZ) for completion.
    # Quantities keep each game at or below its minimum: 5 for labelling and falling
    # (Poziom 1 x 5), 5 >= 1 x 4 for memory, 10 = 2 x 5 for completion.
    text = ('[DaneProgramu]\nZakladka=1\n\n'
            '[Podpisywanie]\nGloski=1\nPoziom=1\nPozycja=4096\n\n'
            '[Memory]\nGloski=1\nPoziom=1\nPozycja=4096\n\n'
            '[Uzupelnianie]\nGloski=1\nPoziom=2\nPozycja=4096\n\n'
            '[Spadajace]\nGloski=1\nPoziom=1\nPozycja=4096\n')
    with open(os.path.join(DATA, 'data.ini'), 'w', newline='') as f:
        f.write(text)


# ---------------------------------------------------------------- contact sheet

SOUND_GROUP = {'Ż': 'Ż/RZ', 'RZ': 'Ż/RZ'}
SHEET_SOUNDS = ['SZ', 'S', 'Ż/RZ', 'Z', 'CZ', 'C', 'DŻ', 'DZ']


def word_groups():
    """Stems by sound and position, in the order the contact sheet shows them."""
    groups = []
    for snd in SHEET_SOUNDS:
        for pos in (N, S_, W):
            stems = [w for w in WORDS if SOUND_GROUP.get(w[3], w[3]) == snd and w[4] == pos]
            if stems:
                groups.append(('%s %s (%d)' % (snd, pos, len(stems)), stems))
    return groups


def contact_sheet(out):
    """The word pictures grouped by sound and position (each word's labelling picture and small
    picture, labelled with the word), then every other picture file, grouped by directory."""
    bio, sio = os.path.join(DATA, 'Bio'), os.path.join(DATA, 'Sio')
    word_files = set()
    groups = []
    for title, words in word_groups():
        items = []
        for stem, spoken, *_rest in words:
            big = Image.open(os.path.join(bio, stem + '_ups.xji')).convert('RGB')
            big.thumbnail((126, 126), Image.LANCZOS)
            small = Image.open(os.path.join(sio, 's' + stem + '.xji')).convert('RGB')
            tile = Image.new('RGB', (126 + 4 + small.width, 126), (128, 128, 128))
            tile.paste(big, (0, 0))
            tile.paste(small, (130, 126 - small.height))
            items.append((spoken, tile))
            word_files.update({stem + '_ups.xji', stem + '_upb.xji', stem + '_ms.xji',
                               stem + '_mb.xji', 's' + stem + '.xji'})
        groups.append((title, items))
    for title, d in (('Data/Sio', sio), ('Data/Bio', bio), ('Data/Intf/Spec', INTF_SPEC),
                     ('Resource', RES)):
        names = sorted((n for n in os.listdir(d) if n not in word_files),
                       key=lambda n: (os.path.splitext(n)[1], n.lower()))
        groups.append((title, [(n, os.path.join(d, n)) for n in names]))
    cols_w, pad, label_h, head_h = 1800, 6, 14, 30
    f = font(10, False)
    placed, heads = [], []
    y = 0
    for title, items in groups:
        heads.append((y, title))
        y += head_h
        x = row_h = 0
        for n, im in items:
            if isinstance(im, str):
                im = Image.open(im).convert('RGB')
                box = (300, 230) if (im.width > 300 or im.height > 300) else (150, 110)
                if im.width > box[0] or im.height > box[1]:
                    im.thumbnail(box, Image.LANCZOS)
                elif im.width < 40 and im.height < 40:
                    im = im.resize((im.width * 2, im.height * 2), Image.NEAREST)
            w = max(im.width, int(f.getlength(n)) + 2)
            if x + w > cols_w:
                x, y, row_h = 0, y + row_h + pad, 0
            placed.append((x, y, n, im))
            x += w + pad
            row_h = max(row_h, im.height + label_h)
        y += row_h + pad * 3
    sheet = Image.new('RGB', (cols_w, y), (128, 128, 128))
    d = ImageDraw.Draw(sheet)
    for hy, title in heads:
        d.rectangle((0, hy, cols_w, hy + head_h - 6), fill=(50, 50, 50))
        d.text((8, hy + 3), title, font=font(16), fill=WHITE)
    for x, y, name, im in placed:
        sheet.paste(im, (x, y))
        d.text((x, y + im.height + 1), name, font=f, fill=(0, 0, 0))
    sheet.save(out, 'PNG', optimize=True)


# ---------------------------------------------------------------- layout preview

def _load(path):
    return np.array(Image.open(path).convert('RGB'))


def _paint(canvas, pic, x, y, mask=None):
    """Plain copy, or the OR-mask-then-AND-picture rule the windows use."""
    h, w = pic.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(canvas.shape[1], x + w), min(canvas.shape[0], y + h)
    if x1 <= x0 or y1 <= y0:
        return
    dst = canvas[y0:y1, x0:x1]
    src = pic[y0 - y:y1 - y, x0 - x:x1 - x]
    if mask is None:
        dst[:] = src
    else:
        dst[:] = (dst | mask[y0 - y:y1 - y, x0 - x:x1 - x]) & src


def _button(canvas, name, x, y, state='_D'):
    _paint(canvas, _load(os.path.join(RES, name + state + '.bmp')), x, y,
           _load(os.path.join(RES, name + '_M.bmp')))


def _res(canvas, name, x, y):
    _paint(canvas, _load(os.path.join(RES, name + '.bmp')), x, y)


def _text(img, xy, txt, size, fill=INK, anchor='la'):
    ImageDraw.Draw(img).text(xy, txt, font=font(size), fill=fill, anchor=anchor)


def _blend_pair(canvas, black, white, x, y, size=None):
    b = Image.open(black).convert('RGB')
    w = Image.open(white).convert('RGB')
    if size:
        b, w = b.resize(size, Image.LANCZOS), w.resize(size, Image.LANCZOS)
    b, w = np.array(b).astype(np.int32), np.array(w).astype(np.int32)
    a = np.clip(b[:, :, 2] + 255 - w[:, :, 2], 0, 255)[:, :, None]
    col = np.where(a > 0, np.minimum(255, b * 255 // np.maximum(a, 1)), 0)
    h, ww = a.shape[:2]
    dst = canvas[y:y + h, x:x + ww].astype(np.int32)
    canvas[y:y + h, x:x + ww] = (dst + (col - dst) * a // 255).astype(np.uint8)


def layout_preview(out):
    shots = []
    for m in 'sb':
        W, H = MODES[m]
        k = TILE[m]
        p = 's_' if m == 's' else 'b_'
        # Main menu, tab 1, as the window lays it out.
        c = _load(os.path.join(INTF_SPEC, 'mT_m0_%s.xji' % m))
        lw, lh = conv16(m, 192), conv16(m, 400)
        _blend_pair(c, os.path.join(INTF_SPEC, 'RU_mnlz1B.xji'), os.path.join(INTF_SPEC, 'RU_mnlz1W.xji'),
                    conv16(m, 16), conv16(m, 267), (lw, lh))
        (sx, sy), _ = STRIP[m]
        _paint(c, _load(os.path.join(INTF_SPEC, 'mT_m1_%s.xbi' % m)), sx, sy)
        e = 5 if m == 's' else 0
        gw = _load(os.path.join(RES, 'nap_gloski_' + m + '.bmp')).shape[1]
        pw = _load(os.path.join(RES, 'nap_pozycja_' + m + '.bmp')).shape[1]
        _res(c, 'nap_ilzadan_' + m, W // 2 - gw + e, H // 4)
        _res(c, 'nap_gloski_' + m, W // 2 - gw + e, H // 2 - H // 16)
        _res(c, 'nap_pozycja_' + m, W // 2 - pw + e, H // 10 + H // 2)
        for i, (n, x, y) in enumerate([
                ('malo', W // 5, H // 3), ('srednio_g', W // 5 + W // 6, H // 3),
                ('duzo_g', W // 5 + W // 3, H // 3), ('SZ', W // 3 - W // 8, H // 2),
                ('ZZ_g', W // 3, H // 2), ('CZ_g', W // 3 + W // 8, H // 2),
                ('DZZ_g', W // 3 + W // 4, H // 2), ('naglos', W // 5, H - H // 3),
                ('srodglos_g', W // 5 + W // 6, H - H // 3),
                ('wyglos_g', W // 5 + W // 3, H - H // 3)]):
            _res(c, p + n + ('_A' if n in ('malo', 'SZ', 'naglos') else '_D'), x, y)
        _button(c, 'oprogramie', W // 2 - 155, H - H // 7)
        _button(c, 'wyjdz', W // 2 - 55, H - H // 7, '_A')
        _button(c, 'start', W // 2 + 35, H - H // 7)
        s = 40 if m == 's' else 50
        r = 4 if m == 's' else 5
        pre = 'R2' if m == 's' else 'R3'
        _blend_pair(c, os.path.join(INTF_SPEC, pre + '_glos_AB.xbi'),
                    os.path.join(INTF_SPEC, pre + '_glos_AW.xbi'), W - r - s, H - r - s)
        shots.append(c)
        # Main menu, recorder tab.
        c = _load(os.path.join(INTF_SPEC, 'mT_m0_%s.xji' % m))
        _blend_pair(c, os.path.join(INTF_SPEC, 'RU_mnlz1B.xji'), os.path.join(INTF_SPEC, 'RU_mnlz1W.xji'),
                    conv16(m, 16), conv16(m, 267), (lw, lh))
        _paint(c, _load(os.path.join(INTF_SPEC, 'mT_m5_%s.xbi' % m)), sx, sy)
        img = Image.fromarray(c)
        top = (H // 70) * 22
        lx = 130 if m == 's' else 244
        for rr in range(8):
            y = top + rr * 32
            _text(img, (lx + 26, y + 4), '%d.' % (rr + 1), 14, anchor='ra')
            ImageDraw.Draw(img).rectangle((lx + 26, y, lx + 26 + 219, y + 25), fill=WHITE,
                                          outline=(120, 120, 120))
            ImageDraw.Draw(img).rectangle((lx + 251, y + 2, lx + 350, y + 23), fill=WHITE)
        c = np.array(img)
        for rr in range(8):
            _res(c, 'S_CHBUT_' + ('A' if rr == 2 else 'D'), lx + 356, top + rr * 32)
        bx = lx + 351 + 40
        _button(c, 'up', bx, top - 32)
        _button(c, 'down', bx, top + 256)
        _button(c, 'scroll', bx + 4, top - 2)
        _button(c, 'rodtworz', W // 2 - 95, H * 10 // 14)
        _button(c, 'rrec', W // 2 - 15, H * 10 // 14)
        _button(c, 'oprogramie', W // 2 - 155, H - H // 7)
        _button(c, 'wyjdz', W // 2 - 55, H - H // 7)
        shots.append(c)
        # Memory, many pairs, one pair found.
        c = _load(os.path.join(INTF_SPEC, 'mT_Mem_%s.xji' % m))
        x0, y0 = (100, 95) if m == 's' else (190, 190)
        back = _load(os.path.join(DATA, 'Sio', 'blkcard0.xji'))
        for cell in range(20):
            q, rr = cell % 5, cell // 5
            pic = back if cell not in (3, 11) else _load(
                os.path.join(DATA, 'Sio', 'ssum.xji'))
            _paint(c, pic, x0 + q * 85, y0 + rr * 105)
        spot = (583, 188) if m == 's' else (743, 235)
        _paint(c, _load(os.path.join(DATA, 'Bio', 'sum_m%s.xji' % m)), *spot,
               _load(os.path.join(DATA, 'Bio', '_matr_m%s.xji' % m)))
        _button(c, 'pomoc', W - W // 10, 23 * H // 30)
        _button(c, 'stop', W - W // 10 + 4, H - H // 9)
        shots.append(c)
        # Labelling, "szachy" with a few tiles in place.
        c = _load(os.path.join(INTF_SPEC, 'mT_Pod_%s1.xji' % m))
        pos = (274, 140) if m == 's' else (348, 172)
        _paint(c, _load(os.path.join(DATA, 'Bio', 'szachy_up%s.xji' % m)), *pos,
               _load(os.path.join(DATA, 'Bio', '_matr_up%s.xji' % m)))
        units = ['sz', 'a', 'ch', 'y']
        n = len(units)
        img = Image.fromarray(c)
        d = ImageDraw.Draw(img)
        for i in range(n):
            x = W // 2 - (n // 2) * 60 - (n % 2) * 30 + i * (k + 15)
            y = H - H // 4
            for kk in range(1, 6):
                d.rectangle((x - kk, y - kk, x + k + kk - 1, y + k + kk - 1),
                            outline=(255, 255, 0) if i == 0 else (255, 0, 0))
        c = np.array(img)
        x = W // 2 - (n // 2) * 60
        _res(c, 'sz_red_' + m, x, H - H // 4)
        _res(c, 'a_' + m, 40, 60)
        _res(c, 'ch_' + m, 120, 250)
        _res(c, 'y_' + m, 300, H - H // 5 + 30)
        for i, nme in enumerate(['pomoc', 'stop', 'nast', 'pop']):
            _button(c, nme, W - W // 10 + (4 if nme == 'stop' else 0), H // 7 + i * H // 8)
        shots.append(c)
        # Completion, "sanki" with the gap open.
        c = _load(os.path.join(INTF_SPEC, 'mT_Uzu_%s.xji' % m))
        pos = (266, 310) if m == 's' else (338, 388)
        _paint(c, _load(os.path.join(DATA, 'Bio', 'sanki_up%s.xji' % m)), *pos,
               _load(os.path.join(DATA, 'Bio', '_matr_up%s.xji' % m)))
        units = ['question', 'a', 'n', 'k', 'i']
        pp = k + 5
        n = len(units)
        x0 = W // 2 - (n // 2) * pp - ((n % 2) * pp) // 2
        for i, u in enumerate(units):
            _res(c, u + '_' + m, x0 + i * pp, H // 10)
        _res(c, 'sz_' + m, 3 * W // 4, H // 2)
        _res(c, 's_' + m, W // 4 - 40, H // 2)
        for i, nme in enumerate(['pomoc', 'stop', 'nast', 'pop']):
            _button(c, nme, W - W // 10 + (4 if nme == 'stop' else 0), H // 7 + i * H // 8)
        shots.append(c)
        # Falling pictures: play, then the end phase with the ring.
        for phase in (0, 1):
            c = _load(os.path.join(INTF_SPEC, 'mT_Spa_%s.xbi' % m))
            step, ry = (30, H - 35) if m == 's' else (39, H - 50)
            pw, ph = (23, 31) if m == 's' else (32, 42)
            x0 = W // 2 - step * 3
            for i in range(5):
                src = 'squest.xji' if (phase == 0 and i >= 2) else 's%s.xji' % WORDS[5 + i][0]
                pic = Image.open(os.path.join(DATA, 'Sio', src)).convert('RGB').resize((pw, ph))
                _paint(c, np.array(pic), x0 + i * step, ry)
            img = Image.fromarray(c)
            lx, ly = ((W // 80) * (62 if m == 's' else 68), (H // 80) * 77)
            _text(img, (lx, ly), 'Wybierz obrazki z:' if phase == 0 else 'Wybierz obrazek,', 17)
            _text(img, (lx + 40, ly + 24), 'SZ' if phase == 0 else 'aby go powiększyć.', 17)
            c = np.array(img)
            if phase == 0:
                for i, (x, y) in enumerate([(60, 40), (220, 130), (400, 300), (520, 60)]):
                    _paint(c, _load(os.path.join(DATA, 'Sio', 's%s.xji' % WORDS[i * 2][0])),
                           x, y)
                _button(c, 'pomoc', W - W // 10, H // 7)
            else:
                ring = _load(os.path.join(INTF_SPEC, 'Ring_%s.xji' % m))
                _paint(c, ring, W // 2 - ring.shape[1] // 2, H // 2 - ring.shape[0] // 2,
                       _load(os.path.join(INTF_SPEC, 'RingM_%s.xji' % m)))
                mk = _load(os.path.join(DATA, 'Bio', '_matr_m%s.xji' % m))
                _paint(c, _load(os.path.join(DATA, 'Bio', 'szopa_m%s.xji' % m)),
                       W // 2 - mk.shape[1] // 2, H // 2 - mk.shape[0] // 2, mk)
            _button(c, 'stop', W - W // 10 + 4, H // 7 + H // 8)
            shots.append(c)
        # About window.
        c = _load(os.path.join(INTF_SPEC, '%s_oprogT.xji' % ('R2' if m == 's' else 'R3')))
        img = Image.fromarray(c)
        _text(img, (conv16(m, 645), conv16(m, 296)), 'Wersja 1.7 Demonstracyjna', 16,
              anchor='ma')
        d = ImageDraw.Draw(img)
        for yy in (conv4(m, 477), conv4(m, 497)):
            d.rectangle((conv16(m, 817), yy, conv16(m, 817) + 153, yy + 17), outline=(255, 0, 0))
        c = np.array(img)
        _button(c, 'stop', conv16(m, 645) - 35, conv16(m, 870) - 60)
        shots.append(c)
    # Results, message and splash windows.
    for key in 'BMG':
        c = _load(os.path.join(INTF_SPEC, 'mStats%s.xji' % key))
        img = Image.fromarray(c)
        for (cap, val, yy, right) in (('Czas gry:', '1 min 5 s', 177, 358),
                                      ('Poprawne rozwiązania:', '5', 206, 422),
                                      ('Błędne rozwiązania:', '1', 237, 422),
                                      ('Liczba podpowiedzi:', '0', 270, 422)):
            _text(img, (88, yy), cap, 19)
            _text(img, (right, yy), val, 19, anchor='ra')
        c = np.array(img)
        _button(c, 'start', 235, 340)
        _button(c, 'stop', 325, 340)
        shots.append(c)
    c = _load(os.path.join(INTF_SPEC, 'mKom_kp.xji'))
    img = Image.fromarray(c)
    _text(img, (210, 60), 'Proszę wybrać większą liczbę', 16, anchor='ma')
    _text(img, (210, 82), 'głosek lub pozycji.', 16, anchor='ma')
    c = np.array(img)
    _button(c, 'stop', 180, 150)
    shots.append(c)
    shots.append(_load(os.path.join(INTF_SPEC, 'mT_Splh.xji')))
    # Two columns, each shot at half size.
    thumbs = []
    for s in shots:
        t = Image.fromarray(s)
        t.thumbnail((520, 400), Image.LANCZOS)
        thumbs.append(t)
    cols = 3
    cw = 520
    rows = []
    for i in range(0, len(thumbs), cols):
        rows.append(thumbs[i:i + cols])
    height = sum(max(t.height for t in r) + 8 for r in rows)
    sheet = Image.new('RGB', (cols * (cw + 8), height), (60, 60, 60))
    y = 0
    for r in rows:
        for j, t in enumerate(r):
            sheet.paste(t, (j * (cw + 8), y))
        y += max(t.height for t in r) + 8
    sheet.save(out, 'PNG', optimize=True)


# ---------------------------------------------------------------- main

# Own drawings that reuse a Twemoji outline.
TWEMOJI_BASED = {D('sakiewka'), D('szachy'), D('zuk')}


def art_set(src):
    parts = [src] if isinstance(src, str) else [p[0] for p in src]
    if any(p.startswith('twemoji/') or p in TWEMOJI_BASED for p in parts):
        return 'Twemoji'
    return 'own'


def licences():
    """Each shipped picture that derives from third-party art, with its set: path<TAB>set."""
    rows = []
    for stem, _spoken, _units, _sound, _pos, src in WORDS:
        if art_set(src) == 'own':
            continue
        rows.append('Data/Sio/s%s.xji' % stem)
        rows += ['Data/Bio/%s_%s.xji' % (stem, k) for k in ('ms', 'mb', 'ups', 'upb')]
    # Tab icons, the speaker toggle and the results faces are drawn with Twemoji icons.
    for m in 'sb':
        rows += ['Data/Intf/Spec/mT_m%d_%s.xbi' % (i, m) for i in range(1, 6)]
    for pre in ('R2', 'R3'):
        rows += ['Data/Intf/Spec/%s_glos_%s%s.xbi' % (pre, st, bw) for st in 'AD' for bw in 'BW']
    rows += ['Data/Intf/Spec/mStats%s.xji' % k for k in 'BMG']
    for r in rows:
        print('%s\tTwemoji' % r)


def clean(path):
    if os.path.isdir(path):
        shutil.rmtree(path)


def main(argv):
    sheet = os.path.join(TOOLS, 'contact-sheet.png')
    preview = os.path.join(TOOLS, 'layout-preview.png')
    if '--licences' in argv:
        licences()
        return 0
    if '--only-sheet' in argv:
        contact_sheet(sheet)
        layout_preview(preview)
        return 0
    for d in ('Sio', 'Bio', 'Intf/Spec'):
        clean(os.path.join(DATA, d))
    clean(RES)
    if '--no-sound' not in argv:
        clean(os.path.join(DATA, 'Smd'))
        clean(os.path.join(DATA, 'Intf', 'Smd'))
    ensure_dir(DATA)
    word_pictures()
    catalogue_file()
    card_pictures()
    resource_pictures()
    report_button()
    menu_pictures()
    logo_and_speaker()
    game_backgrounds()
    ring_pictures()
    results_pictures()
    message_picture()
    splash_picture()
    about_pictures()
    if '--no-sound' not in argv:
        speech()
    settings()
    contact_sheet(sheet)
    layout_preview(preview)
    print('wrote %d files' % len(written))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
