// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/ReportPage.hpp"

#include "core/StatisticsFile.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace raport {

namespace {

constexpr const char* kGry[kGier] = {"Podpisywanie", "Memory", "Uzupełnianie", "Spadające"};
constexpr const char* kKoloryGier[kGier] = {"#e8830c", "#8e44ad", "#16a085", "#3f9e3f"};
constexpr const char* kGloski[kGlosek] = {"SZ", "Ż/RZ", "CZ", "DŻ"};
constexpr const char* kKoloryGlosek[kGlosek] = {"#1f6fb4", "#d62839", "#2e9e4f", "#8a5bc2"};
// Dash patterns tell the lines apart on a black-and-white printout too.
constexpr const char* kKreskiGlosek[kGlosek] = {"", "7 4", "2 3", "9 3 2 3"};
constexpr const char* kPozycje[kPozycji] = {"nagłos", "śródgłos", "wygłos"};
constexpr const char* kMiesiace[12] = {"stycznia", "lutego",       "marca",     "kwietnia",
                                       "maja",     "czerwca",      "lipca",     "sierpnia",
                                       "września", "października", "listopada", "grudnia"};
constexpr const char* kDniTygodnia[7] = {"niedziela", "poniedziałek", "wtorek", "środa",
                                         "czwartek",  "piątek",       "sobota"};
constexpr int kPunktyZKolkami = 60;

// ---------------------------------------------------------------- numbers and dates

// Locale-independent (SVG needs a dot), at most one decimal, no trailing ".0".
std::string liczbaSvg(double v) {
    char buf[32];
    const double r = std::round(v * 10) / 10;
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, r == std::floor(r) ? 0 : 1);
    return ec == std::errc() ? std::string(buf, end) : "0";
}

// Polish notation: decimal comma, the given number of decimals with trailing zeros dropped.
std::string dziesietna(double v, int miejsca) {
    char buf[48];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, miejsca);
    std::string s = ec == std::errc() ? std::string(buf, end) : "0";
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    std::replace(s.begin(), s.end(), '.', ',');
    if (s == "-0") s = "0";
    return s;
}

std::string procent(double v) {
    return std::to_string(static_cast<int>(std::lround(v))) + "%";
}

// Thousands apart by a non-breaking space: 100 000.
std::string tysiace(std::int64_t n) {
    std::string s = std::to_string(n);
    for (int i = static_cast<int>(s.size()) - 3; i > (s[0] == '-' ? 1 : 0); i -= 3)
        s.insert(static_cast<std::size_t>(i), "\u00a0");
    return s;
}

std::string dwieCyfry(int v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::string data(const CzasLokalny& c) {
    return dwieCyfry(c.dzien) + "." + dwieCyfry(c.miesiac) + "." + std::to_string(c.rok);
}
std::string godzina(const CzasLokalny& c) {
    return dwieCyfry(c.godzina) + ":" + dwieCyfry(c.minuta);
}
std::string dataIso(const CzasLokalny& c) {
    return std::to_string(c.rok) + "-" + dwieCyfry(c.miesiac) + "-" + dwieCyfry(c.dzien);
}
std::string dataSlownie(const CzasLokalny& c) {
    return std::to_string(c.dzien) + " " + kMiesiace[c.miesiac - 1] + " " + std::to_string(c.rok);
}
std::string dataDnia(std::int64_t dzien) {
    int r, m, d;
    dataZDni(dzien, r, m, d);
    return dwieCyfry(d) + "." + dwieCyfry(m) + "." + std::to_string(r);
}

// Practice time as a therapist reads it: "45 s", "34 min", "2 godz. 14 min".
std::string czasLaczny(std::int64_t s) {
    if (s < 60) return std::to_string(s) + " s";
    const std::int64_t min = s / 60;
    if (min < 60) return std::to_string(min) + " min";
    return std::to_string(min / 60) + " godz. " + std::to_string(min % 60) + " min";
}

std::string ilosc(std::int64_t n, const char* jeden, const char* kilka, const char* wiele) {
    return tysiace(n) + " " + odmiana(n, jeden, kilka, wiele);
}

// ---------------------------------------------------------------- charts

struct Linia {
    const char* nazwa;
    const char* kolor;
    const char* kreska;
    std::vector<Punkt> punkty;
};

// Local seconds the charts span: whole days from the first game's to the last game's, or for a single
// day whole hours from the first game's to the last game's.
struct Os {
    std::int64_t od = 0, doX = 86400;
    bool godziny = false;
};

// Beyond about two months a line of single games or days is a blur; weeks still show the trend.
constexpr std::int64_t kDniBezTygodni = 60;

enum class Srednie { brak, dni, tygodnie };

std::int64_t dzienZ(std::int64_t sek) {
    return sek >= 0 ? sek / 86400 : (sek - 86399) / 86400;
}

struct Podzialka {
    double krok = 1, gora = 1;
};

Podzialka podzialka(double maks, double minimum) {
    maks = std::max(maks, minimum);
    const double surowy = maks / 4;
    const double rzad = std::pow(10.0, std::floor(std::log10(surowy)));
    Podzialka p;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * rzad >= surowy * (1 - 1e-9)) {
            p.krok = m * rzad;
            break;
        }
    p.gora = p.krok * std::ceil(maks / p.krok - 1e-9);
    return p;
}

// Points of one game each; over a long time the mean of each week (Monday to Sunday), or of each day when
// there are too many games to tell apart.
std::vector<Punkt> doWykresu(const std::vector<Punkt>& punkty, const Os& os, Srednie& srednie) {
    const bool tygodnie = !os.godziny && (os.doX - os.od) / 86400 > kDniBezTygodni;
    if (!tygodnie && punkty.size() <= static_cast<std::size_t>(kMaksPunktow)) return punkty;
    srednie = tygodnie ? Srednie::tygodnie : std::max(srednie, Srednie::dni);
    // Day 0 was a Thursday: Monday-based weeks start 3 days later.
    const std::int64_t dlugosc = tygodnie ? 7 : 1, przesuniecie = tygodnie ? 3 : 0;
    std::vector<Punkt> wynik;
    std::int64_t okres = 0;
    double suma = 0;
    int ile = 0;
    auto zamknij = [&] {
        if (ile) wynik.push_back({(okres * dlugosc - przesuniecie) * 86400 + dlugosc * 43200, suma / ile});
    };
    for (const Punkt& p : punkty) {
        const std::int64_t dz = dzienZ(p.x) + przesuniecie;
        const std::int64_t d = dz >= 0 ? dz / dlugosc : (dz - dlugosc + 1) / dlugosc;
        if (ile && d != okres) {
            zamknij();
            suma = 0, ile = 0;
        }
        okres = d;
        suma += p.y;
        ++ile;
    }
    zamknij();
    return wynik;
}

class Wykres {
public:
    Wykres(int w, int h, Os os, Podzialka y, const std::string& opis) : w_(w), h_(h), os_(os), y_(y) {
        s_ = "<svg class=\"wykres\" viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) +
             "\" role=\"img\" aria-label=\"" + htmlTekst(opis) + "\">";
    }

    double x(std::int64_t sek) const {
        const double t = double(sek - os_.od) / double(std::max<std::int64_t>(1, os_.doX - os_.od));
        return kLewy + t * (w_ - kLewy - kPrawy);
    }
    double y(double v) const { return h_ - kDol - v / y_.gora * (h_ - kDol - kGora); }

    void siatkaY(bool procent) {
        for (double v = 0; v <= y_.gora + 1e-9; v += y_.krok) {
            const std::string yy = liczbaSvg(y(v));
            s_ += "<line class=\"siatka\" x1=\"" + std::to_string(kLewy) + "\" x2=\"" +
                  std::to_string(w_ - kPrawy) + "\" y1=\"" + yy + "\" y2=\"" + yy + "\"/>";
            s_ += "<text class=\"os\" x=\"" + std::to_string(kLewy - 6) + "\" y=\"" + liczbaSvg(y(v) + 4) +
                  "\" text-anchor=\"end\">" + dziesietna(v, 2) + (procent ? "%" : "") + "</text>";
        }
    }

    // Day marks along the bottom, at most about seven of them; hours for a single day.
    void osCzasu() {
        if (os_.godziny) {
            const std::int64_t godzin = std::max<std::int64_t>(1, (os_.doX - os_.od) / 3600);
            const std::int64_t etykiet = std::clamp((w_ - kLewy - kPrawy) / 60, 2, 7);
            const std::int64_t krok = (godzin + etykiet - 1) / etykiet;
            for (std::int64_t t = os_.od; t <= os_.doX; t += krok * 3600) {
                const std::string xx = liczbaSvg(x(t));
                s_ += "<line class=\"znacznik\" x1=\"" + xx + "\" x2=\"" + xx + "\" y1=\"" +
                      std::to_string(h_ - kDol) + "\" y2=\"" + std::to_string(h_ - kDol + 4) + "\"/>";
                if (x(t) + 16 > w_) continue; // would be cut off at the right edge
                s_ += "<text class=\"os\" x=\"" + xx + "\" y=\"" + std::to_string(h_ - kDol + 16) +
                      "\" text-anchor=\"middle\">" + dwieCyfry(int((t - dzienZ(t) * 86400) / 3600)) +
                      ":00</text>";
            }
            return;
        }
        const std::int64_t dni = std::max<std::int64_t>(1, (os_.doX - os_.od) / 86400);
        // About 70 units per label keeps "dd.mm" apart on the narrow charts too.
        const std::int64_t etykiet = std::clamp((w_ - kLewy - kPrawy) / 70, 2, 7);
        std::int64_t krok = 364;
        for (std::int64_t k : {1, 2, 3, 7, 14, 28, 56, 91, 182, 364})
            if (dni / k <= etykiet) {
                krok = k;
                break;
            }
        std::int64_t d = os_.od / 86400;
        // Weekly and longer steps start on a Monday (day 0 was a Thursday).
        if (krok >= 7) d += (7 - ((d + 3) % 7 + 7) % 7) % 7;
        const bool dlugi = dni > 300;
        for (; d * 86400 <= os_.doX; d += krok) {
            const std::string xx = liczbaSvg(x(d * 86400));
            int r, m, dz;
            dataZDni(d, r, m, dz);
            const std::string etykieta =
                dlugi ? dwieCyfry(m) + "." + std::to_string(r) : dwieCyfry(dz) + "." + dwieCyfry(m);
            s_ += "<line class=\"znacznik\" x1=\"" + xx + "\" x2=\"" + xx + "\" y1=\"" +
                  std::to_string(h_ - kDol) + "\" y2=\"" + std::to_string(h_ - kDol + 4) + "\"/>";
            if (x(d * 86400) + 16 > w_) continue; // would be cut off at the right edge
            s_ += "<text class=\"os\" x=\"" + xx + "\" y=\"" + std::to_string(h_ - kDol + 16) +
                  "\" text-anchor=\"middle\">" + etykieta + "</text>";
        }
    }

    void linia(const std::vector<Punkt>& punkty, const char* kolor, const char* kreska, bool procent,
               const char* nazwa, Srednie srednie) {
        if (punkty.empty()) return;
        std::string d;
        for (const Punkt& p : punkty)
            d += (d.empty() ? "M" : "L") + liczbaSvg(x(p.x)) + " " + liczbaSvg(y(std::min(p.y, y_.gora)));
        // Games of one day are separate tries, not a course: points only.
        if (punkty.size() > 1 && !os_.godziny) {
            s_ += "<path class=\"linia\" d=\"" + d + "\" stroke=\"" + kolor + "\"";
            if (*kreska) s_ += std::string(" stroke-dasharray=\"") + kreska + "\"";
            s_ += "/>";
        }
        if (punkty.size() > static_cast<std::size_t>(kPunktyZKolkami) && !os_.godziny) return;
        for (const Punkt& p : punkty) {
            s_ += "<circle cx=\"" + liczbaSvg(x(p.x)) + "\" cy=\"" + liczbaSvg(y(std::min(p.y, y_.gora))) +
                  "\" r=\"3.2\" fill=\"" + kolor + "\"><title>";
            const std::int64_t dz = p.x >= 0 ? p.x / 86400 : (p.x - 86399) / 86400;
            const std::int64_t wDniu = p.x - dz * 86400;
            s_ += (srednie == Srednie::tygodnie ? "tydzień od " + dataDnia(dz - 3) : dataDnia(dz)) +
                  (srednie == Srednie::tygodnie ? std::string(" (średnia tygodnia)")
                   : srednie == Srednie::dni
                       ? std::string(" (średnia dnia)")
                       : " " + dwieCyfry(int(wDniu / 3600)) + ":" + dwieCyfry(int(wDniu / 60 % 60))) +
                  (nazwa ? std::string(" · ") + htmlTekst(nazwa) : std::string()) + ": " +
                  (procent ? procent_(p.y) : dziesietna(p.y, 2)) + "</title></circle>";
        }
    }

    void prostokat(double x0, double y0, double x1, double y1, const char* kolor, const std::string& tytul) {
        s_ += "<rect x=\"" + liczbaSvg(x0) + "\" y=\"" + liczbaSvg(y0) + "\" width=\"" + liczbaSvg(x1 - x0) +
              "\" height=\"" + liczbaSvg(y1 - y0) + "\" fill=\"" + kolor + "\"><title>" + htmlTekst(tytul) +
              "</title></rect>";
    }
    void tekst(double xx, double yy, const std::string& t, const char* kotwica = "middle") {
        s_ += "<text class=\"os\" x=\"" + liczbaSvg(xx) + "\" y=\"" + liczbaSvg(yy) + "\" text-anchor=\"" +
              kotwica + "\">" + htmlTekst(t) + "</text>";
    }
    void osX() {
        s_ += "<line class=\"osx\" x1=\"" + std::to_string(kLewy) + "\" x2=\"" + std::to_string(w_ - kPrawy) +
              "\" y1=\"" + std::to_string(h_ - kDol) + "\" y2=\"" + std::to_string(h_ - kDol) + "\"/>";
    }

    std::string koniec() {
        osX();
        return s_ + "</svg>";
    }

    static constexpr int kLewy = 46, kPrawy = 12, kGora = 10, kDol = 24;
    int szerokosc() const { return w_; }
    int wysokosc() const { return h_; }

private:
    static std::string procent_(double v) { return procent(v); }
    int w_, h_;
    Os os_;
    Podzialka y_;
    std::string s_;
};

std::string probkaLinii(const char* kolor, const char* kreska) {
    std::string s =
        "<svg class=\"probka\" viewBox=\"0 0 30 10\" aria-hidden=\"true\"><line x1=\"1\" y1=\"5\" "
        "x2=\"29\" y2=\"5\" stroke=\"";
    s += kolor;
    s += "\" stroke-width=\"3\"";
    if (*kreska) s += std::string(" stroke-dasharray=\"") + kreska + "\"";
    return s + "/></svg>";
}

std::string wykresLinii(const std::vector<Linia>& linie, Os os, bool procent, double minimum, int w, int h,
                        const std::string& opis, Srednie& srednie) {
    std::vector<std::vector<Punkt>> punkty;
    std::vector<Srednie> jakie;
    double maks = 0;
    for (const Linia& l : linie) {
        Srednie s = Srednie::brak;
        punkty.push_back(doWykresu(l.punkty, os, s));
        jakie.push_back(s);
        srednie = std::max(srednie, s);
        for (const Punkt& p : punkty.back())
            maks = std::max(maks, p.y);
    }
    const Podzialka py = procent ? Podzialka{25, 100} : podzialka(maks, minimum);
    Wykres wy(w, h, os, py, opis);
    wy.siatkaY(procent);
    wy.osCzasu();
    for (std::size_t i = 0; i < linie.size(); ++i)
        wy.linia(punkty[i], linie[i].kolor, linie[i].kreska, procent,
                 linie.size() > 1 ? linie[i].nazwa : nullptr, jakie[i]);
    return wy.koniec();
}

std::string wykresTygodni(const Postepy& p, bool& obciete) {
    const std::size_t n = std::min<std::size_t>(p.tygodnie.size(), kMaksTygodni);
    obciete = p.tygodnie.size() > n;
    const auto pierwszy = p.tygodnie.end() - static_cast<std::ptrdiff_t>(n);
    double maks = 0;
    for (auto t = pierwszy; t != p.tygodnie.end(); ++t) {
        std::int64_t suma = 0;
        for (std::int64_t s : t->sekundy)
            suma += s;
        maks = std::max(maks, suma / 60.0);
    }
    const Podzialka py = podzialka(maks, 10);
    Os os;
    Wykres wy(640, 210, os, py, "Minuty ćwiczeń w kolejnych tygodniach");
    wy.siatkaY(false);
    const double pole = double(wy.szerokosc() - Wykres::kLewy - Wykres::kPrawy) / double(n);
    const double slupek = std::min(pole * 0.72, 46.0);
    // Date labels at least 44 units apart, counted back from the latest week, which always has one.
    const std::size_t co = std::max<std::size_t>(1, std::size_t(std::ceil(44.0 / pole)));
    for (std::size_t i = 0; i < n; ++i) {
        const Tydzien& t = *(pierwszy + static_cast<std::ptrdiff_t>(i));
        const double x0 = Wykres::kLewy + pole * double(i) + (pole - slupek) / 2;
        double v = 0;
        for (int g = 0; g < kGier; ++g) {
            if (!t.sekundy[g]) continue;
            const double v1 = v + t.sekundy[g] / 60.0;
            wy.prostokat(x0, wy.y(v1), x0 + slupek, wy.y(v), kKoloryGier[g],
                         "Tydzień od " + dataDnia(t.poniedzialek) + " · " + kGry[g] + ": " +
                             czasLaczny(t.sekundy[g]));
            v = v1;
        }
        if (v > 0 && pole >= 28) wy.tekst(x0 + slupek / 2, wy.y(v) - 5, dziesietna(v, 0) + " min");
        if ((n - 1 - i) % co == 0) {
            int r, m, d;
            dataZDni(t.poniedzialek, r, m, d);
            wy.tekst(x0 + slupek / 2, wy.wysokosc() - Wykres::kDol + 16, dwieCyfry(d) + "." + dwieCyfry(m));
        }
    }
    return wy.koniec();
}

// ---------------------------------------------------------------- page parts

const char* kStyl = R"CSS(
:root{--tusz:#25303b;--szary:#5d6b78;--jasny:#eef2f5;--linia:#d5dde3;--tlo:#fbfaf6}
*{box-sizing:border-box}
html{-webkit-print-color-adjust:exact;print-color-adjust:exact}
body{margin:0;background:var(--tlo);color:var(--tusz);font:15px/1.45 "DejaVu Sans","Liberation Sans",Arial,sans-serif}
main{max-width:900px;margin:0 auto;padding:28px 32px 40px;background:#fff;min-height:100vh}
header.naglowek{display:flex;justify-content:space-between;align-items:flex-end;gap:16px;border-bottom:4px solid #1f6fb4;padding-bottom:12px;margin-bottom:18px}
h1{margin:0;font-size:28px;letter-spacing:.2px}
h1 span{color:#1f6fb4}
.podtytul{margin:2px 0 0;color:var(--szary)}
.stan{margin:0;text-align:right;color:var(--szary);font-size:13.5px}
h2{font-size:19px;margin:0 0 10px}
section{margin:0 0 26px;break-inside:avoid}
.karty{display:grid;grid-template-columns:repeat(4,1fr);gap:12px}
.karta{background:var(--jasny);border-radius:12px;padding:12px 14px}
.karta .wartosc{display:block;font-size:22px;font-weight:bold;line-height:1.25;white-space:nowrap}
.karta .opis{color:var(--szary);font-size:13px}
.uwagi{border:2px solid #e0a800;background:#fff8e1;border-radius:12px;padding:12px 16px;margin:0 0 22px}
.uwagi h2{font-size:16px;margin:0 0 6px;color:#7a5a00}
.uwagi ul{margin:0 0 6px;padding-left:20px}
.uwagi p{margin:0;color:var(--szary);font-size:13px}
table{border-collapse:collapse;width:100%}
th,td{padding:5px 7px;border-bottom:1px solid var(--linia);text-align:left;vertical-align:middle}
th{font-size:12.5px;color:var(--szary);font-weight:bold;background:var(--jasny)}
td.l,th.l{text-align:right;white-space:nowrap}
.pasek{display:inline-block;width:56px;height:9px;border-radius:5px;background:#e3e8ec;vertical-align:middle;margin-right:6px;overflow:hidden}
.udzial{white-space:nowrap}
.udzial small{display:block;color:#8a96a0;font-size:11.5px;line-height:1.2}
.zmiana{white-space:nowrap}
.pasek i{display:block;height:100%;background:#2e9e4f}
.glosnik{font-weight:bold;font-size:16px}
.brak{color:#9aa5ae}
.wzrost{color:#1e7d3a;font-weight:bold}
.spadek{color:#b3261e;font-weight:bold}
.gra{border-left:6px solid var(--kolor);padding-left:14px}
.gra h2{color:var(--kolor)}
.fakty{list-style:none;margin:0 0 10px;padding:0;display:flex;flex-wrap:wrap;gap:6px 18px;color:var(--szary)}
.fakty b{color:var(--tusz)}
figure{margin:0 0 10px}
figcaption{font-size:13.5px;font-weight:bold;margin-bottom:2px}
.dwa{display:grid;grid-template-columns:1fr 1fr;gap:16px}
svg.wykres{display:block;width:100%;height:auto;font-size:11px;font-family:inherit}
svg .siatka{stroke:#e3e8ec;stroke-width:1}
svg .osx{stroke:#8a96a0;stroke-width:1}
svg .znacznik{stroke:#8a96a0}
svg .os{fill:#5d6b78}
svg .linia{fill:none;stroke-width:2.4;stroke-linejoin:round;stroke-linecap:round}
.legenda{list-style:none;margin:4px 0 0;padding:0;display:flex;flex-wrap:wrap;gap:4px 16px;font-size:13px}
.legenda li{display:flex;align-items:center;gap:6px}
.kwadrat{display:inline-block;width:13px;height:13px;border-radius:3px}
svg.probka{width:30px;height:10px}
.przypis{color:var(--szary);font-size:12.5px;margin:4px 0 0}
.niegrane{color:var(--szary)}
.lista td,.lista th{font-size:12px;padding:4px 4px}
.lista .kiedy,.lista td.l{white-space:nowrap}
.lista th.l{white-space:normal}
.lista tbody tr:nth-child(even){background:#f7f9fa}
.ocena{display:inline-block;padding:1px 7px;border-radius:9px;font-size:11.5px;font-weight:bold;line-height:1.3;max-width:92px}
.o1{background:#dde9f7;color:#2b5d94}.o2{background:#fdebc8;color:#8a5a00}.o4{background:#d7f0da;color:#226b33}
.pusto{text-align:center;padding:36px 20px 20px}
.pusto svg{width:180px;height:auto}
.pusto h2{font-size:24px;margin:14px 0 8px}
.pusto p{max-width:560px;margin:8px auto;color:var(--szary)}
footer{border-top:1px solid var(--linia);padding-top:10px;color:var(--szary);font-size:12.5px}
footer p{margin:4px 0}
@page{size:A4;margin:13mm 12mm}
@media print{
 body{background:#fff;font-size:12px}
 main{max-width:none;padding:0;min-height:0}
 .karta .wartosc{font-size:20px}
 .gra{break-inside:avoid}
 section{margin-bottom:18px}
 svg.wykres{max-height:50mm}
 .dwa svg.wykres{max-height:34mm}
 .lista tr{break-inside:avoid}
 thead{display:table-header-group}
}
@media (max-width:640px){.karty{grid-template-columns:1fr 1fr}.dwa{grid-template-columns:1fr}}
)CSS";

std::string uwagi(const Odczyt& o) {
    if (o.uwagi.empty()) return {};
    std::string s = "<aside class=\"uwagi\"><h2>Uwaga: nie cały plik statystyk dało się odczytać</h2><ul>";
    for (const std::string& u : o.uwagi)
        s += "<li>" + htmlTekst(u) + "</li>";
    return s + "</ul><p>Plik nie został zmieniony. Raport pokazuje wszystko, co udało się z niego "
               "odczytać.</p></aside>";
}

std::string karta(const std::string& wartosc, const std::string& opis) {
    return "<div class=\"karta\"><span class=\"wartosc\">" + wartosc + "</span><span class=\"opis\">" + opis +
           "</span></div>";
}

std::string podsumowanie(const Postepy& p) {
    int ukonczone = 0;
    std::int64_t dobre = 0, zle = 0;
    for (const StatGry& g : p.gry)
        ukonczone += g.ukonczonych, dobre += g.dobre, zle += g.zle;
    const CzasLokalny& o = *p.ostatnia;
    std::string s = "<section class=\"podsumowanie\"><h2>Podsumowanie</h2><div class=\"karty\">";
    s += karta(tysiace(p.dni), std::string(odmiana(p.dni, "dzień", "dni", "dni")) + " ćwiczeń");
    s += karta(tysiace(p.gier),
               std::string(odmiana(p.gier, "gra rozegrana", "gry rozegrane", "gier rozegranych")) +
                   ", ukończone: " + tysiace(ukonczone));
    s += karta(czasLaczny(p.czasSek), "łączny czas gry");
    s += karta(data(o), "ostatnia sesja: " + std::string(kDniTygodnia[o.dzienTygodnia]) + ", " + godzina(o));
    s += "</div>";
    if (dobre + zle > 0)
        s += "<p class=\"przypis\">Poprawne odpowiedzi we wszystkich grach: <b>" +
             procent(100.0 * double(dobre) / double(dobre + zle)) + "</b> (" + tysiace(dobre) + " z " +
             tysiace(dobre + zle) + ").</p>";
    return s + "</section>";
}

std::string komorkaUdzialu(const Licznik& l, bool zLiczba) {
    const std::optional<double> u = l.udzial();
    if (!u) return "<td class=\"brak\">brak odpowiedzi</td>";
    if (!zLiczba)
        return "<td class=\"udzial\"><span class=\"pasek\"><i style=\"width:" + liczbaSvg(*u) +
               "%\"></i></span><b>" + procent(*u) + "</b></td>";
    return "<td class=\"udzial\"><span class=\"pasek\"><i style=\"width:" + liczbaSvg(*u) +
           "%\"></i></span><b>" + procent(*u) + "</b><small>" + ilosc(l.gier, "gra", "gry", "gier") +
           "</small></td>";
}

std::string tabelaGlosek(const Postepy& p) {
    std::string s = "<section><h2>Głoski i pozycje w wyrazie</h2><table><thead><tr><th>Głoska</th><th "
                    "class=\"l\">Gry</th><th>Poprawne odpowiedzi</th><th>Zmiana</th>";
    for (const char* poz : kPozycje)
        s += std::string("<th>") + poz + "</th>";
    s += "</tr></thead><tbody>";
    for (int i = 0; i < kGlosek; ++i) {
        const StatGloski& g = p.gloski[i];
        s += std::string("<tr><td class=\"glosnik\">") + kGloski[i] + "</td>";
        if (g.razem.gier == 0) {
            s += "<td class=\"l brak\">0</td><td class=\"brak\" colspan=\"5\">nie ćwiczono</td></tr>";
            continue;
        }
        s += "<td class=\"l\">" + tysiace(g.razem.gier) + "</td>" + komorkaUdzialu(g.razem, false);
        if (g.wczesniej && g.pozniej) {
            const double roznica = *g.pozniej - *g.wczesniej;
            const char* klasa = roznica >= 5 ? "wzrost" : roznica <= -5 ? "spadek" : "";
            s += std::string("<td class=\"zmiana ") + klasa + "\">" + procent(*g.wczesniej) + " → " +
                 procent(*g.pozniej) +
                 (roznica >= 5    ? " ▲"
                  : roznica <= -5 ? " ▼"
                                  : "") +
                 "</td>";
        } else {
            s += "<td class=\"brak\">za mało gier</td>";
        }
        if (g.pozycjeRozne) {
            for (const Licznik& l : g.pozycje)
                s += l.gier ? komorkaUdzialu(l, true) : "<td class=\"brak\">–</td>";
        } else {
            // Every game of the sound had the same positions: per-position figures would only repeat the
            // total.
            std::uint16_t bity = 0;
            for (int k = 0; k < kPozycji; ++k)
                if (g.pozycje[k].gier) bity |= std::uint16_t(0x1000 << k);
            s += "<td colspan=\"3\" class=\"brak\">zawsze: " +
                 (bity ? nazwyPozycji(bity) : std::string("bez pozycji")) + "</td>";
        }
        s += "</tr>";
    }
    return s +
           "</tbody></table><p class=\"przypis\">Odsetek poprawnych odpowiedzi wśród wszystkich odpowiedzi "
           "w grach z daną głoską. „Zmiana” porównuje wcześniejszą i późniejszą połowę tych gier (od 4 "
           "gier). "
           "Gra z kilkoma głoskami lub pozycjami liczy się do każdej z nich.</p></section>";
}

std::string legendaGier(const Postepy& p) {
    std::string s = "<ul class=\"legenda\">";
    for (int g = 0; g < kGier; ++g)
        if (p.gry[g].gier)
            s += std::string("<li><span class=\"kwadrat\" style=\"background:") + kKoloryGier[g] +
                 "\"></span>" + kGry[g] + "</li>";
    return s + "</ul>";
}

std::string sekcjaTygodni(const Postepy& p) {
    bool obciete = false;
    std::string s = "<section><h2>Ćwiczenia w kolejnych tygodniach</h2><figure><figcaption>Minuty gry w "
                    "tygodniu (od poniedziałku)</figcaption>" +
                    wykresTygodni(p, obciete) + legendaGier(p) + "</figure>";
    if (obciete)
        s += "<p class=\"przypis\">Wykres pokazuje ostatnie " + std::to_string(kMaksTygodni) +
             " tygodnie.</p>";
    return s + "</section>";
}

std::string sekcjaGry(const Postepy& p, int g, Os os) {
    const StatGry& s = p.gry[g];
    std::string h = std::string("<section class=\"gra\" style=\"--kolor:") + kKoloryGier[g] + "\"><h2>" +
                    kGry[g] + "</h2><ul class=\"fakty\">";
    h += "<li><b>" + ilosc(s.gier, "gra", "gry", "gier") + "</b></li>";
    h += "<li>ukończone: <b>" + tysiace(s.ukonczonych) + "</b></li>";
    h += "<li>czas: <b>" + czasLaczny(s.czasSek) + "</b></li>";
    if (s.dobre + s.zle > 0)
        h += "<li>poprawne odpowiedzi: <b>" + procent(100.0 * double(s.dobre) / double(s.dobre + s.zle)) +
             "</b></li>";
    h += "<li>podpowiedzi na zadanie: <b>" +
         dziesietna(double(s.podpowiedzi) / double(std::max<std::int64_t>(1, s.zadan)), 2) + "</b></li></ul>";

    Srednie srednie = Srednie::brak;
    std::vector<Linia> linie;
    std::string legenda = "<ul class=\"legenda\">";
    for (int i = 0; i < kGlosek; ++i) {
        if (s.skutecznosc[i].empty()) continue;
        linie.push_back({kGloski[i], kKoloryGlosek[i], kKreskiGlosek[i], s.skutecznosc[i]});
        legenda += "<li>" + probkaLinii(kKoloryGlosek[i], kKreskiGlosek[i]) + kGloski[i] + "</li>";
    }
    legenda += "</ul>";
    h += "<figure><figcaption>Poprawne odpowiedzi w kolejnych grach (% wszystkich odpowiedzi), osobno dla "
         "każdej "
         "głoski</figcaption>";
    if (linie.empty())
        h += "<p class=\"brak\">W tych grach nie było jeszcze żadnej odpowiedzi.</p>";
    else
        h += wykresLinii(linie, os, true, 100, 640, 200, std::string("Poprawne odpowiedzi: ") + kGry[g],
                         srednie) +
             legenda;
    h += "</figure><div class=\"dwa\"><figure><figcaption>Podpowiedzi na zadanie</figcaption>";
    h += wykresLinii({{kGry[g], kKoloryGier[g], "", s.podpowiedziNaZadanie}}, os, false, 1, 320, 160,
                     std::string("Podpowiedzi na zadanie: ") + kGry[g], srednie);
    h += "</figure><figure><figcaption>Czas gry (minuty)</figcaption>";
    h += wykresLinii({{kGry[g], kKoloryGier[g], "", s.minuty}}, os, false, 1, 320, 160,
                     std::string("Czas gry: ") + kGry[g], srednie);
    h += "</figure></div>";
    if (srednie == Srednie::tygodnie)
        h += "<p class=\"przypis\">Gry obejmują ponad " + std::to_string(kDniBezTygodni) +
             " dni, więc punkty pokazują średnie z kolejnych tygodni.</p>";
    else if (srednie == Srednie::dni)
        h += "<p class=\"przypis\">Gier jest tak dużo, że punkty pokazują średnie z kolejnych dni.</p>";
    return h + "</section>";
}

std::string tabelaGier(const Postepy& p, const Opis& opis) {
    const std::size_t n = std::min<std::size_t>(p.wiersze.size(), kMaksWierszy);
    std::string s = "<section class=\"tabela\"><h2>Wszystkie gry</h2>";
    if (n < p.wiersze.size())
        s += "<p class=\"przypis\">Tabela pokazuje " + tysiace(static_cast<std::int64_t>(n)) +
             " ostatnich gier z " + tysiace(static_cast<std::int64_t>(p.wiersze.size())) +
             "; wszystkie są w pliku CSV" +
             (opis.plikCsv.empty() ? std::string() : " „" + htmlTekst(opis.plikCsv) + "”") + ".</p>";
    s +=
        "<table class=\"lista\"><thead><tr><th>Kiedy</th><th>Gra</th><th>Głoski</th><th>Pozycje</th>"
        "<th>Ilość</th><th class=\"l\">Czas</th><th>Ukoń&shy;czona</th><th class=\"l\">Po&shy;prawne</th><th "
        "class=\"l\">Błędne</th><th class=\"l\">Podpo&shy;wiedzi</th><th>Ocena</th></tr></thead><tbody>";
    s.reserve(s.size() + n * 420);
    // Newest first: the latest sessions are what a therapist looks for.
    for (std::size_t k = 0; k < n; ++k) {
        const Wiersz& w = p.wiersze[p.wiersze.size() - 1 - k];
        const Gra& g = *w.gra;
        const bool wszystkie = (g.pozycja & 0x7000) == 0x7000;
        s += "<tr><td class=\"kiedy\">" + data(w.czas) + " " + godzina(w.czas) + "</td><td>" +
             kGry[g.gra - 1] + "</td><td>" + htmlTekst(nazwyGlosek(g.gloski)) + "</td><td>" +
             (wszystkie ? std::string("wszystkie") : htmlTekst(nazwyPozycji(g.pozycja))) + "</td><td>" +
             nazwaIlosci(g.poziom) + "</td><td class=\"l\">" + formatujCzas(g.czasSek) + "</td><td>" +
             (g.ukonczona ? "tak" : "nie") + "</td><td class=\"l\">" + std::to_string(g.dobre) +
             "</td><td class=\"l\">" + std::to_string(g.zle) + "</td><td class=\"l\">" +
             std::to_string(g.podpowiedzi) + "</td><td><span class=\"ocena o" + std::to_string(w.ocena) +
             "\">" + tekstOceny(w.ocena) + "</span></td></tr>";
    }
    return s + "</tbody></table></section>";
}

// A friendly face for the page with nothing to show yet.
const char* kBuzka =
    "<svg viewBox=\"0 0 180 150\" aria-hidden=\"true\"><rect x=\"10\" y=\"96\" width=\"30\" height=\"44\" "
    "rx=\"6\" "
    "fill=\"#e8830c\" opacity=\".35\"/><rect x=\"50\" y=\"76\" width=\"30\" height=\"64\" rx=\"6\" "
    "fill=\"#8e44ad\" "
    "opacity=\".35\"/><rect x=\"90\" y=\"56\" width=\"30\" height=\"84\" rx=\"6\" fill=\"#16a085\" "
    "opacity=\".35\"/><rect x=\"130\" y=\"36\" width=\"30\" height=\"104\" rx=\"6\" fill=\"#3f9e3f\" "
    "opacity=\".35\"/><circle cx=\"92\" cy=\"52\" r=\"38\" fill=\"#ffcc4d\" stroke=\"#e0a800\" "
    "stroke-width=\"3\"/><circle cx=\"79\" cy=\"44\" r=\"5\" fill=\"#25303b\"/><circle cx=\"105\" cy=\"44\" "
    "r=\"5\" "
    "fill=\"#25303b\"/><path d=\"M73 62 Q92 80 111 62\" fill=\"none\" stroke=\"#25303b\" stroke-width=\"4\" "
    "stroke-linecap=\"round\"/></svg>";

std::string pusto(const Odczyt& o) {
    std::string s = "<section class=\"pusto\">";
    s += kBuzka;
    s += "<h2>Nie ma jeszcze zapisanych gier</h2><p>Raport wypełni się sam: każda gra zapisuje się, gdy się "
         "skończy i pojawi się ekran z wynikiem. Zagrajcie w Podpisywanie, Memory, Uzupełnianie albo "
         "Spadające "
         "i otwórzcie raport jeszcze raz.</p>";
    if (!o.plikIstnieje)
        s += "<p>Plik statystyk jeszcze nie istnieje; program założy go przy pierwszym uruchomieniu.</p>";
    return s + "<p>Gra, w której przez dwie minuty nic się nie działo, nie jest zapisywana.</p></section>";
}

} // namespace

const char* nazwaGry(int gra) {
    return gra >= 1 && gra <= kGier ? kGry[gra - 1] : "?";
}

std::string nazwyGlosek(std::uint16_t gloski) {
    std::string s;
    for (int i = 0; i < kGlosek; ++i)
        if (gloski & (1u << i)) s += (s.empty() ? "" : ", ") + std::string(kGloski[i]);
    return s;
}

std::string nazwyPozycji(std::uint16_t pozycja) {
    std::string s;
    for (int i = 0; i < kPozycji; ++i)
        if (pozycja & (0x1000u << i)) s += (s.empty() ? "" : ", ") + std::string(kPozycje[i]);
    return s;
}

const char* nazwaIlosci(int poziom) {
    return poziom == 1 ? "mało" : poziom == 2 ? "średnio" : poziom == 3 ? "dużo" : "?";
}

const char* tekstOceny(int ocena) {
    return ocena == 4 ? "Brawo!" : ocena == 2 ? "Dobrze!" : "Spróbuj jeszcze raz!";
}

std::string htmlTekst(std::string_view tekst) {
    std::string s;
    s.reserve(tekst.size());
    for (char c : tekst) {
        switch (c) {
        case '&':
            s += "&amp;";
            break;
        case '<':
            s += "&lt;";
            break;
        case '>':
            s += "&gt;";
            break;
        case '"':
            s += "&quot;";
            break;
        case '\'':
            s += "&#39;";
            break;
        default:
            s += c;
        }
    }
    return s;
}

std::string html(const Odczyt& odczyt, const Postepy& p, const Opis& opis) {
    const CzasLokalny teraz = czasLokalny(opis.terazSek);
    std::string s =
        "<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" "
        "content=\"width=device-width, initial-scale=1\">\n<title>Raport postępów – Wesołe "
        "Wirowanki</title>\n<style>";
    s += kStyl;
    s += "</style>\n</head>\n<body>\n<main>\n<header class=\"naglowek\"><div><h1>Raport postępów</h1><p "
         "class=\"podtytul\">Wesołe Wirowanki · ćwiczenia głosek SZ, Ż/RZ, CZ, DŻ</p></div><p "
         "class=\"stan\">Stan na "
         "<b>" +
         dataSlownie(teraz) + ", " + godzina(teraz) + "</b>";
    if (p.pierwsza) s += "<br>Okres: " + data(*p.pierwsza) + " – " + data(*p.ostatnia);
    s += "</p></header>\n";
    s += uwagi(odczyt);
    if (p.wiersze.empty()) {
        s += pusto(odczyt);
    } else {
        Os os;
        os.od = p.pierwsza->dzienEpoki() * 86400;
        os.doX = (p.ostatnia->dzienEpoki() + 1) * 86400;
        if (p.pierwsza->dzienEpoki() == p.ostatnia->dzienEpoki()) {
            os.godziny = true;
            os.od = p.pierwsza->sek / 3600 * 3600;
            os.doX = std::max(p.ostatnia->sek / 3600 * 3600 + 3600, os.od + 3600);
        }
        s += podsumowanie(p) + "\n" + tabelaGlosek(p) + "\n" + sekcjaTygodni(p) + "\n";
        std::string niegrane;
        for (int g = 0; g < kGier; ++g) {
            if (p.gry[g].gier)
                s += sekcjaGry(p, g, os) + "\n";
            else
                niegrane += (niegrane.empty() ? "" : ", ") + std::string(kGry[g]);
        }
        if (!niegrane.empty()) s += "<p class=\"niegrane\">Jeszcze nie grano: " + niegrane + ".</p>\n";
        s += tabelaGier(p, opis) + "\n";
    }
    s += "<footer>";
    if (!p.wiersze.empty())
        s += "<p>Ocena to ta sama, którą pokazał ekran wyników: „Brawo!”, „Dobrze!” albo „Spróbuj jeszcze "
             "raz!” "
             "(liczą się poprawne i błędne odpowiedzi, nie podpowiedzi). Zadania w grze: w Memory pary "
             "obrazków, w "
             "pozostałych grach wyrazy. Daty i godziny według strefy czasowej tego komputera.</p>";
    if (!opis.plikCsv.empty())
        s += "<p>Ta sama tabela gier do arkusza kalkulacyjnego: „" + htmlTekst(opis.plikCsv) + "”.</p>";
    s += "<p>Źródło: " + htmlTekst(opis.plikStatystyk) + "</p></footer>\n</main>\n</body>\n</html>\n";
    return s;
}

namespace {

void poleCsv(std::string& s, std::string_view pole) {
    if (pole.find_first_of(",\"\r\n") == std::string_view::npos) {
        s += pole;
        return;
    }
    s += '"';
    for (char c : pole) {
        if (c == '"') s += '"';
        s += c;
    }
    s += '"';
}

} // namespace

std::string csv(const Postepy& p) {
    std::string s =
        "\xEF\xBB\xBF"
        "Data,Godzina,Gra,Głoski,Pozycje,Ilość,Czas gry (s),Ukończona,Poprawne,Błędne,Podpowiedzi,Ocena\r\n";
    s.reserve(s.size() + p.wiersze.size() * 96);
    for (const Wiersz& w : p.wiersze) {
        const Gra& g = *w.gra;
        for (const std::string& pole :
             {dataIso(w.czas), godzina(w.czas), std::string(kGry[g.gra - 1]), nazwyGlosek(g.gloski),
              nazwyPozycji(g.pozycja), std::string(nazwaIlosci(g.poziom)), std::to_string(g.czasSek),
              std::string(g.ukonczona ? "tak" : "nie"), std::to_string(g.dobre), std::to_string(g.zle),
              std::to_string(g.podpowiedzi)}) {
            poleCsv(s, pole);
            s += ',';
        }
        s += tekstOceny(w.ocena);
        s += "\r\n";
    }
    return s;
}

} // namespace raport
