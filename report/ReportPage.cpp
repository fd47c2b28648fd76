// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/ReportPage.hpp"

#include "core/StatisticsFile.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace report {

namespace {

constexpr const char* kGames[kGameCount] = {"Podpisywanie", "Memory", "Uzupełnianie", "Spadające"};
constexpr const char* kGameColors[kGameCount] = {"#e8830c", "#8e44ad", "#16a085", "#3f9e3f"};
constexpr const char* kSounds[kSoundCount] = {"SZ", "Ż/RZ", "CZ", "DŻ"};
constexpr const char* kSoundColors[kSoundCount] = {"#1f6fb4", "#d62839", "#2e9e4f", "#8a5bc2"};
// Dash patterns tell the lines apart on a black-and-white printout too.
constexpr const char* kSoundDashes[kSoundCount] = {"", "7 4", "2 3", "9 3 2 3"};
constexpr const char* kPositions[kPositionCount] = {"nagłos", "śródgłos", "wygłos"};
constexpr const char* kMonths[12] = {"stycznia", "lutego",       "marca",     "kwietnia",
                                     "maja",     "czerwca",      "lipca",     "sierpnia",
                                     "września", "października", "listopada", "grudnia"};
constexpr const char* kWeekdays[7] = {"niedziela", "poniedziałek", "wtorek", "środa",
                                      "czwartek",  "piątek",       "sobota"};
constexpr int kMaxCircledPoints = 60;

// ---------------------------------------------------------------- numbers and dates

// Locale-independent (SVG needs a dot), at most one decimal, no trailing ".0".
std::string svgNumber(double v) {
    char buf[32];
    const double r = std::round(v * 10) / 10;
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, r == std::floor(r) ? 0 : 1);
    return ec == std::errc() ? std::string(buf, end) : "0";
}

// Polish notation: decimal comma, the given number of decimals with trailing zeros dropped.
std::string decimal(double v, int places) {
    char buf[48];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, places);
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

std::string percent(double v) {
    return std::to_string(static_cast<int>(std::lround(v))) + "%";
}

// Thousands apart by a non-breaking space: 100 000.
std::string thousands(std::int64_t n) {
    std::string s = std::to_string(n);
    for (int i = static_cast<int>(s.size()) - 3; i > (s[0] == '-' ? 1 : 0); i -= 3)
        s.insert(static_cast<std::size_t>(i), "\u00a0");
    return s;
}

std::string twoDigits(int v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::string data(const LocalTime& c) {
    return twoDigits(c.day) + "." + twoDigits(c.month) + "." + std::to_string(c.year);
}
std::string hour(const LocalTime& c) {
    return twoDigits(c.hour) + ":" + twoDigits(c.minute);
}
std::string dataIso(const LocalTime& c) {
    return std::to_string(c.year) + "-" + twoDigits(c.month) + "-" + twoDigits(c.day);
}
std::string dateInWords(const LocalTime& c) {
    return std::to_string(c.day) + " " + kMonths[c.month - 1] + " " + std::to_string(c.year);
}
std::string dayDate(std::int64_t day) {
    int r, m, d;
    dateFromDays(day, r, m, d);
    return twoDigits(d) + "." + twoDigits(m) + "." + std::to_string(r);
}

// Practice time as a therapist reads it: "45 s", "34 min", "2 godz. 14 min".
std::string totalTime(std::int64_t s) {
    if (s < 60) return std::to_string(s) + " s";
    const std::int64_t min = s / 60;
    if (min < 60) return std::to_string(min) + " min";
    return std::to_string(min / 60) + " godz. " + std::to_string(min % 60) + " min";
}

std::string quantity(std::int64_t n, const char* one, const char* few, const char* many) {
    return thousands(n) + " " + pluralForm(n, one, few, many);
}

// ---------------------------------------------------------------- charts

struct ChartLine {
    const char* name;
    const char* color;
    const char* dashes;
    std::vector<DataPoint> points;
};

// Local seconds the charts span: whole days from the first game's to the last game's, or for a single
// day whole hours from the first game's to the last game's.
struct Axis {
    std::int64_t from = 0, toX = 86400;
    bool hours = false;
};

// Beyond about two months a line of single games or days is a blur; weeks still show the trend.
constexpr std::int64_t kDaysWithoutWeeks = 60;

enum class Averaging { Missing, Days, Weeks };

std::int64_t dayOf(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}

struct Scale {
    double step = 1, top = 1;
};

Scale scale(double maxValue, double minimum) {
    maxValue = std::max(maxValue, minimum);
    const double raw = maxValue / 4;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    Scale p;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= raw * (1 - 1e-9)) {
            p.step = m * magnitude;
            break;
        }
    p.top = p.step * std::ceil(maxValue / p.step - 1e-9);
    return p;
}

// Points of one game each; over a long time the mean of each week (Monday to Sunday), or of each day when
// there are too many games to tell apart.
std::vector<DataPoint> toChart(const std::vector<DataPoint>& points, const Axis& axis, Averaging& averages) {
    const bool weeks = !axis.hours && (axis.toX - axis.from) / 86400 > kDaysWithoutWeeks;
    if (!weeks && points.size() <= static_cast<std::size_t>(kMaxPoints)) return points;
    averages = weeks ? Averaging::Weeks : std::max(averages, Averaging::Days);
    // Day 0 was a Thursday: Monday-based weeks start 3 days later.
    const std::int64_t length = weeks ? 7 : 1, offset = weeks ? 3 : 0;
    std::vector<DataPoint> result;
    std::int64_t period = 0;
    double sum = 0;
    int count = 0;
    auto closePeriod = [&] {
        if (count) result.push_back({(period * length - offset) * 86400 + length * 43200, sum / count});
    };
    for (const DataPoint& p : points) {
        const std::int64_t dayIndex = dayOf(p.x) + offset;
        const std::int64_t d = dayIndex >= 0 ? dayIndex / length : (dayIndex - length + 1) / length;
        if (count && d != period) {
            closePeriod();
            sum = 0, count = 0;
        }
        period = d;
        sum += p.y;
        ++count;
    }
    closePeriod();
    return result;
}

class Chart {
public:
    Chart(int w, int h, Axis axis, Scale y, const std::string& description)
        : w_(w), h_(h), axis_(axis), y_(y) {
        s_ = "<svg class=\"wykres\" viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) +
             "\" role=\"img\" aria-label=\"" + htmlText(description) + "\">";
    }

    double x(std::int64_t seconds) const {
        const double t =
            double(seconds - axis_.from) / double(std::max<std::int64_t>(1, axis_.toX - axis_.from));
        return kLeft + t * (w_ - kLeft - kRight);
    }
    double y(double v) const { return h_ - kBottom - v / y_.top * (h_ - kBottom - kTop); }

    void gridY(bool percent) {
        for (double v = 0; v <= y_.top + 1e-9; v += y_.step) {
            const std::string yy = svgNumber(y(v));
            s_ += "<line class=\"siatka\" x1=\"" + std::to_string(kLeft) + "\" x2=\"" +
                  std::to_string(w_ - kRight) + "\" y1=\"" + yy + "\" y2=\"" + yy + "\"/>";
            s_ += "<text class=\"os\" x=\"" + std::to_string(kLeft - 6) + "\" y=\"" + svgNumber(y(v) + 4) +
                  "\" text-anchor=\"end\">" + decimal(v, 2) + (percent ? "%" : "") + "</text>";
        }
    }

    // Day marks along the bottom, at most about seven of them; hours for a single day.
    void timeAxis() {
        if (axis_.hours) {
            const std::int64_t hourCount = std::max<std::int64_t>(1, (axis_.toX - axis_.from) / 3600);
            const std::int64_t labelCount = std::clamp((w_ - kLeft - kRight) / 60, 2, 7);
            const std::int64_t step = (hourCount + labelCount - 1) / labelCount;
            for (std::int64_t t = axis_.from; t <= axis_.toX; t += step * 3600) {
                const std::string xx = svgNumber(x(t));
                s_ += "<line class=\"znacznik\" x1=\"" + xx + "\" x2=\"" + xx + "\" y1=\"" +
                      std::to_string(h_ - kBottom) + "\" y2=\"" + std::to_string(h_ - kBottom + 4) + "\"/>";
                if (x(t) + 16 > w_) continue; // would be cut off at the right edge
                s_ += "<text class=\"os\" x=\"" + xx + "\" y=\"" + std::to_string(h_ - kBottom + 16) +
                      "\" text-anchor=\"middle\">" + twoDigits(int((t - dayOf(t) * 86400) / 3600)) +
                      ":00</text>";
            }
            return;
        }
        const std::int64_t days = std::max<std::int64_t>(1, (axis_.toX - axis_.from) / 86400);
        // About 70 units per label keeps "dd.mm" apart on the narrow charts too.
        const std::int64_t labelCount = std::clamp((w_ - kLeft - kRight) / 70, 2, 7);
        std::int64_t step = 364;
        for (std::int64_t k : {1, 2, 3, 7, 14, 28, 56, 91, 182, 364})
            if (days / k <= labelCount) {
                step = k;
                break;
            }
        std::int64_t d = axis_.from / 86400;
        // Weekly and longer steps start on a Monday (day 0 was a Thursday).
        if (step >= 7) d += (7 - ((d + 3) % 7 + 7) % 7) % 7;
        const bool longOne = days > 300;
        for (; d * 86400 <= axis_.toX; d += step) {
            const std::string xx = svgNumber(x(d * 86400));
            int r, m, dayIndex;
            dateFromDays(d, r, m, dayIndex);
            const std::string label =
                longOne ? twoDigits(m) + "." + std::to_string(r) : twoDigits(dayIndex) + "." + twoDigits(m);
            s_ += "<line class=\"znacznik\" x1=\"" + xx + "\" x2=\"" + xx + "\" y1=\"" +
                  std::to_string(h_ - kBottom) + "\" y2=\"" + std::to_string(h_ - kBottom + 4) + "\"/>";
            if (x(d * 86400) + 16 > w_) continue; // would be cut off at the right edge
            s_ += "<text class=\"os\" x=\"" + xx + "\" y=\"" + std::to_string(h_ - kBottom + 16) +
                  "\" text-anchor=\"middle\">" + label + "</text>";
        }
    }

    void line(const std::vector<DataPoint>& points, const char* color, const char* dashes, bool percent,
              const char* name, Averaging averages) {
        if (points.empty()) return;
        std::string d;
        for (const DataPoint& p : points)
            d += (d.empty() ? "M" : "L") + svgNumber(x(p.x)) + " " + svgNumber(y(std::min(p.y, y_.top)));
        // Games of one day are separate tries, not a course: points only.
        if (points.size() > 1 && !axis_.hours) {
            s_ += "<path class=\"linia\" d=\"" + d + "\" stroke=\"" + color + "\"";
            if (*dashes) s_ += std::string(" stroke-dasharray=\"") + dashes + "\"";
            s_ += "/>";
        }
        if (points.size() > static_cast<std::size_t>(kMaxCircledPoints) && !axis_.hours) return;
        for (const DataPoint& p : points) {
            s_ += "<circle cx=\"" + svgNumber(x(p.x)) + "\" cy=\"" + svgNumber(y(std::min(p.y, y_.top))) +
                  "\" r=\"3.2\" fill=\"" + color + "\"><title>";
            const std::int64_t dayIndex = p.x >= 0 ? p.x / 86400 : (p.x - 86399) / 86400;
            const std::int64_t secondsIntoDay = p.x - dayIndex * 86400;
            s_ += (averages == Averaging::Weeks ? "tydzień od " + dayDate(dayIndex - 3) : dayDate(dayIndex)) +
                  (averages == Averaging::Weeks  ? std::string(" (średnia tygodnia)")
                   : averages == Averaging::Days ? std::string(" (średnia dnia)")
                                                 : " " + twoDigits(int(secondsIntoDay / 3600)) + ":" +
                                                       twoDigits(int(secondsIntoDay / 60 % 60))) +
                  (name ? std::string(" · ") + htmlText(name) : std::string()) + ": " +
                  (percent ? percent_(p.y) : decimal(p.y, 2)) + "</title></circle>";
        }
    }

    void prostokat(double x0, double y0, double x1, double y1, const char* color, const std::string& title) {
        s_ += "<rect x=\"" + svgNumber(x0) + "\" y=\"" + svgNumber(y0) + "\" width=\"" + svgNumber(x1 - x0) +
              "\" height=\"" + svgNumber(y1 - y0) + "\" fill=\"" + color + "\"><title>" + htmlText(title) +
              "</title></rect>";
    }
    void text(double xx, double yy, const std::string& t, const char* anchor = "middle") {
        s_ += "<text class=\"os\" x=\"" + svgNumber(xx) + "\" y=\"" + svgNumber(yy) + "\" text-anchor=\"" +
              anchor + "\">" + htmlText(t) + "</text>";
    }
    void osX() {
        s_ += "<line class=\"osx\" x1=\"" + std::to_string(kLeft) + "\" x2=\"" + std::to_string(w_ - kRight) +
              "\" y1=\"" + std::to_string(h_ - kBottom) + "\" y2=\"" + std::to_string(h_ - kBottom) + "\"/>";
    }

    std::string end() {
        osX();
        return s_ + "</svg>";
    }

    static constexpr int kLeft = 46, kRight = 12, kTop = 10, kBottom = 24;
    int width() const { return w_; }
    int height() const { return h_; }

private:
    static std::string percent_(double v) { return percent(v); }
    int w_, h_;
    Axis axis_;
    Scale y_;
    std::string s_;
};

std::string lineSample(const char* color, const char* dashes) {
    std::string s =
        "<svg class=\"probka\" viewBox=\"0 0 30 10\" aria-hidden=\"true\"><line x1=\"1\" y1=\"5\" "
        "x2=\"29\" y2=\"5\" stroke=\"";
    s += color;
    s += "\" stroke-width=\"3\"";
    if (*dashes) s += std::string(" stroke-dasharray=\"") + dashes + "\"";
    return s + "/></svg>";
}

std::string lineChart(const std::vector<ChartLine>& lines, Axis axis, bool percent, double minimum, int w,
                      int h, const std::string& description, Averaging& averages) {
    std::vector<std::vector<DataPoint>> points;
    std::vector<Averaging> averagings;
    double maxValue = 0;
    for (const ChartLine& l : lines) {
        Averaging s = Averaging::Missing;
        points.push_back(toChart(l.points, axis, s));
        averagings.push_back(s);
        averages = std::max(averages, s);
        for (const DataPoint& p : points.back())
            maxValue = std::max(maxValue, p.y);
    }
    const Scale py = percent ? Scale{25, 100} : scale(maxValue, minimum);
    Chart wy(w, h, axis, py, description);
    wy.gridY(percent);
    wy.timeAxis();
    for (std::size_t i = 0; i < lines.size(); ++i)
        wy.line(points[i], lines[i].color, lines[i].dashes, percent,
                lines.size() > 1 ? lines[i].name : nullptr, averagings[i]);
    return wy.end();
}

std::string weeksChart(const ProgressTest& p, bool& trimmed) {
    const std::size_t n = std::min<std::size_t>(p.weeks.size(), kMaxWeeks);
    trimmed = p.weeks.size() > n;
    const auto firstPos = p.weeks.end() - static_cast<std::ptrdiff_t>(n);
    double maxValue = 0;
    for (auto t = firstPos; t != p.weeks.end(); ++t) {
        std::int64_t sum = 0;
        for (std::int64_t s : t->gameSeconds)
            sum += s;
        maxValue = std::max(maxValue, sum / 60.0);
    }
    const Scale py = scale(maxValue, 10);
    Axis axis;
    Chart wy(640, 210, axis, py, "Minuty ćwiczeń w kolejnych tygodniach");
    wy.gridY(false);
    const double hitArea = double(wy.width() - Chart::kLeft - Chart::kRight) / double(n);
    const double bar = std::min(hitArea * 0.72, 46.0);
    // Date labels at least 44 units apart, counted back from the latest week, which always has one.
    const std::size_t co = std::max<std::size_t>(1, std::size_t(std::ceil(44.0 / hitArea)));
    for (std::size_t i = 0; i < n; ++i) {
        const Week& t = *(firstPos + static_cast<std::ptrdiff_t>(i));
        const double x0 = Chart::kLeft + hitArea * double(i) + (hitArea - bar) / 2;
        double v = 0;
        for (int g = 0; g < kGameCount; ++g) {
            if (!t.gameSeconds[g]) continue;
            const double v1 = v + t.gameSeconds[g] / 60.0;
            wy.prostokat(x0, wy.y(v1), x0 + bar, wy.y(v), kGameColors[g],
                         "Tydzień od " + dayDate(t.monday) + " · " + kGames[g] + ": " +
                             totalTime(t.gameSeconds[g]));
            v = v1;
        }
        if (v > 0 && hitArea >= 28) wy.text(x0 + bar / 2, wy.y(v) - 5, decimal(v, 0) + " min");
        if ((n - 1 - i) % co == 0) {
            int r, m, d;
            dateFromDays(t.monday, r, m, d);
            wy.text(x0 + bar / 2, wy.height() - Chart::kBottom + 16, twoDigits(d) + "." + twoDigits(m));
        }
    }
    return wy.end();
}

// ---------------------------------------------------------------- page parts

const char* kStyle = R"CSS(
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
small.uwaga{display:block;color:#7a5a00;font-size:11.5px;font-weight:normal;line-height:1.2}
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

std::string notes(const ReadResult& o) {
    if (o.notes.empty()) return {};
    std::string s = "<aside class=\"uwagi\"><h2>Uwaga: nie cały plik statystyk dało się odczytać</h2><ul>";
    for (const std::string& u : o.notes)
        s += "<li>" + htmlText(u) + "</li>";
    return s + "</ul><p>Plik nie został zmieniony. Raport pokazuje wszystko, co udało się z niego "
               "odczytać.</p></aside>";
}

std::string card(const std::string& value, const std::string& description) {
    return "<div class=\"karta\"><span class=\"wartosc\">" + value + "</span><span class=\"opis\">" +
           description + "</span></div>";
}

std::string summary(const ProgressTest& p) {
    int completedTotal = 0;
    std::int64_t correct = 0, wrong = 0;
    for (const GameStats& g : p.games)
        completedTotal += g.completedCount, correct += g.correct, wrong += g.wrong;
    const LocalTime& o = *p.last;
    std::string s = "<section class=\"podsumowanie\"><h2>Podsumowanie</h2><div class=\"karty\">";
    s += card(thousands(p.days), std::string(pluralForm(p.days, "dzień", "dni", "dni")) + " ćwiczeń");
    s += card(thousands(p.gameCount),
              std::string(pluralForm(p.gameCount, "gra rozegrana", "gry rozegrane", "gier rozegranych")) +
                  ", ukończone: " + thousands(completedTotal));
    s += card(totalTime(p.timeSeconds), "łączny czas gry");
    s += card(data(o), "ostatnia sesja: " + std::string(kWeekdays[o.dayOfWeek]) + ", " + hour(o));
    s += "</div>";
    if (correct + wrong > 0)
        s += "<p class=\"przypis\">Poprawne odpowiedzi we wszystkich grach: <b>" +
             percent(100.0 * double(correct) / double(correct + wrong)) + "</b> (" + thousands(correct) +
             " z " + thousands(correct + wrong) + ").</p>";
    return s + "</section>";
}

// A share as a bar and its percentage, with a line of small print under it when given.
std::string shareMarkup(double u, const std::string& small = {}) {
    return "<td class=\"udzial\"><span class=\"pasek\"><i style=\"width:" + svgNumber(u) +
           "%\"></i></span><b>" + percent(u) + "</b>" +
           (small.empty() ? "" : "<small>" + small + "</small>") + "</td>";
}

std::string shareCell(const Counter& l, bool withCount) {
    const std::optional<double> u = l.share();
    if (!u) return "<td class=\"brak\">brak odpowiedzi</td>";
    return shareMarkup(*u, withCount ? quantity(l.gameCount, "gra", "gry", "gier") : std::string());
}

std::string soundsTable(const ProgressTest& p) {
    std::string s = "<section><h2>Głoski i pozycje w wyrazie</h2><table><thead><tr><th>Głoska</th><th "
                    "class=\"l\">Gry</th><th>Poprawne odpowiedzi</th><th>Zmiana</th>";
    for (const char* poz : kPositions)
        s += std::string("<th>") + poz + "</th>";
    s += "</tr></thead><tbody>";
    for (int i = 0; i < kSoundCount; ++i) {
        const SoundStats& g = p.sounds[i];
        s += std::string("<tr><td class=\"glosnik\">") + kSounds[i] + "</td>";
        if (g.total.gameCount == 0) {
            s += "<td class=\"l brak\">0</td><td class=\"brak\" colspan=\"5\">nie ćwiczono</td></tr>";
            continue;
        }
        s += "<td class=\"l\">" + thousands(g.total.gameCount) + "</td>" + shareCell(g.total, false);
        if (g.earlier && g.later) {
            const double difference = *g.later - *g.earlier;
            const char* cssClass = difference >= 5 ? "wzrost" : difference <= -5 ? "spadek" : "";
            s += std::string("<td class=\"zmiana ") + cssClass + "\">" + percent(*g.earlier) + " → " +
                 percent(*g.later) +
                 (difference >= 5    ? " ▲"
                  : difference <= -5 ? " ▼"
                                     : "") +
                 "</td>";
        } else {
            s += "<td class=\"brak\">za mało gier</td>";
        }
        if (g.positionsDiffer) {
            for (const Counter& l : g.positions)
                s += l.gameCount ? shareCell(l, true) : "<td class=\"brak\">–</td>";
        } else {
            // Every game of the sound had the same positions: per-position figures would only repeat the
            // total.
            std::uint16_t bits = 0;
            for (int k = 0; k < kPositionCount; ++k)
                if (g.positions[k].gameCount) bits |= std::uint16_t(0x1000 << k);
            s += "<td colspan=\"3\" class=\"brak\">zawsze: " +
                 (bits ? positionNames(bits) : std::string("bez pozycji")) + "</td>";
        }
        s += "</tr>";
    }
    return s +
           "</tbody></table><p class=\"przypis\">Odsetek poprawnych odpowiedzi wśród wszystkich odpowiedzi "
           "w grach z daną głoską. „Zmiana” porównuje wcześniejszą i późniejszą połowę tych gier (od 4 "
           "gier). "
           "Gra z kilkoma głoskami lub pozycjami liczy się do każdej z nich.</p></section>";
}

std::string gameLegend(const ProgressTest& p) {
    std::string s = "<ul class=\"legenda\">";
    for (int g = 0; g < kGameCount; ++g)
        if (p.games[g].gameCount)
            s += std::string("<li><span class=\"kwadrat\" style=\"background:") + kGameColors[g] +
                 "\"></span>" + kGames[g] + "</li>";
    return s + "</ul>";
}

std::string weeksSection(const ProgressTest& p) {
    bool trimmed = false;
    std::string s = "<section><h2>Ćwiczenia w kolejnych tygodniach</h2><figure><figcaption>Minuty gry w "
                    "tygodniu (od poniedziałku)</figcaption>" +
                    weeksChart(p, trimmed) + gameLegend(p) + "</figure>";
    if (trimmed)
        s += "<p class=\"przypis\">Wykres pokazuje ostatnie " + std::to_string(kMaxWeeks) + " tygodnie.</p>";
    return s + "</section>";
}

std::string gameSection(const ProgressTest& p, int g, Axis axis) {
    const GameStats& s = p.games[g];
    std::string h = std::string("<section class=\"gra\" style=\"--kolor:") + kGameColors[g] + "\"><h2>" +
                    kGames[g] + "</h2><ul class=\"fakty\">";
    h += "<li><b>" + quantity(s.gameCount, "gra", "gry", "gier") + "</b></li>";
    h += "<li>ukończone: <b>" + thousands(s.completedCount) + "</b></li>";
    h += "<li>czas: <b>" + totalTime(s.timeSeconds) + "</b></li>";
    if (s.correct + s.wrong > 0)
        h += "<li>poprawne odpowiedzi: <b>" +
             percent(100.0 * double(s.correct) / double(s.correct + s.wrong)) + "</b></li>";
    h += "<li>podpowiedzi na zadanie: <b>" +
         decimal(double(s.hints) / double(std::max<std::int64_t>(1, s.tasks)), 2) + "</b></li></ul>";

    Averaging averages = Averaging::Missing;
    std::vector<ChartLine> lines;
    std::string legend = "<ul class=\"legenda\">";
    for (int i = 0; i < kSoundCount; ++i) {
        if (s.successRate[i].empty()) continue;
        lines.push_back({kSounds[i], kSoundColors[i], kSoundDashes[i], s.successRate[i]});
        legend += "<li>" + lineSample(kSoundColors[i], kSoundDashes[i]) + kSounds[i] + "</li>";
    }
    legend += "</ul>";
    h += "<figure><figcaption>Poprawne odpowiedzi w kolejnych grach (% wszystkich odpowiedzi), osobno dla "
         "każdej "
         "głoski</figcaption>";
    if (lines.empty())
        h += "<p class=\"brak\">W tych grach nie było jeszcze żadnej odpowiedzi.</p>";
    else
        h += lineChart(lines, axis, true, 100, 640, 200, std::string("Poprawne odpowiedzi: ") + kGames[g],
                       averages) +
             legend;
    h += "</figure><div class=\"dwa\"><figure><figcaption>Podpowiedzi na zadanie</figcaption>";
    h += lineChart({{kGames[g], kGameColors[g], "", s.hintsPerTask}}, axis, false, 1, 320, 160,
                   std::string("Podpowiedzi na zadanie: ") + kGames[g], averages);
    h += "</figure><figure><figcaption>Czas gry (minuty)</figcaption>";
    h += lineChart({{kGames[g], kGameColors[g], "", s.minutes}}, axis, false, 1, 320, 160,
                   std::string("Czas gry: ") + kGames[g], averages);
    h += "</figure></div>";
    if (averages == Averaging::Weeks)
        h += "<p class=\"przypis\">Gry obejmują ponad " + std::to_string(kDaysWithoutWeeks) +
             " dni, więc punkty pokazują średnie z kolejnych tygodni.</p>";
    else if (averages == Averaging::Days)
        h += "<p class=\"przypis\">Gier jest tak dużo, że punkty pokazują średnie z kolejnych dni.</p>";
    return h + "</section>";
}

std::string gamesTable(const ProgressTest& p, const Descriptor& description) {
    const std::size_t n = std::min<std::size_t>(p.rows.size(), kMaxRows);
    std::string s = "<section class=\"tabela\"><h2>Wszystkie gry</h2>";
    if (n < p.rows.size())
        s += "<p class=\"przypis\">Tabela pokazuje " + thousands(static_cast<std::int64_t>(n)) +
             " ostatnich gier z " + thousands(static_cast<std::int64_t>(p.rows.size())) +
             "; wszystkie są w pliku CSV" +
             (description.csvFile.empty() ? std::string() : " „" + htmlText(description.csvFile) + "”") +
             ".</p>";
    s +=
        "<table class=\"lista\"><thead><tr><th>Kiedy</th><th>Gra</th><th>Głoski</th><th>Pozycje</th>"
        "<th>Ilość</th><th class=\"l\">Czas</th><th>Ukoń&shy;czona</th><th class=\"l\">Po&shy;prawne</th><th "
        "class=\"l\">Błędne</th><th class=\"l\">Podpo&shy;wiedzi</th><th>Ocena</th></tr></thead><tbody>";
    s.reserve(s.size() + n * 420);
    // Newest first: the latest sessions are what a therapist looks for.
    for (std::size_t k = 0; k < n; ++k) {
        const TableRow& w = p.rows[p.rows.size() - 1 - k];
        const PlayedGame& g = *w.game;
        const bool all = (g.position & 0x7000) == 0x7000;
        s += "<tr><td class=\"kiedy\">" + data(w.time) + " " + hour(w.time) + "</td><td>" +
             kGames[g.game - 1] + "</td><td>" + htmlText(soundNames(g.sounds)) + "</td><td>" +
             (all ? std::string("wszystkie") : htmlText(positionNames(g.position))) + "</td><td>" +
             quantityName(g.level) + "</td><td class=\"l\">" + formatTime(g.timeSeconds) + "</td><td>" +
             (g.completed ? "tak" : "nie") + "</td><td class=\"l\">" + std::to_string(g.correct) +
             "</td><td class=\"l\">" + std::to_string(g.wrong) + "</td><td class=\"l\">" +
             std::to_string(g.hints) + "</td><td><span class=\"ocena o" + std::to_string(w.rating) + "\">" +
             gradeText(w.rating) + "</span></td></tr>";
    }
    return s + "</tbody></table></section>";
}

// A friendly face for the page with nothing to show yet.
const char* kSmiley =
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

// Everything up to the open paragraph of the heading's date, which the caller closes; heading is HTML.
std::string pageStart(const std::string& heading, std::int64_t nowSeconds) {
    const LocalTime now = toLocalTime(nowSeconds);
    std::string s =
        "<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" "
        "content=\"width=device-width, initial-scale=1\">\n<title>" +
        heading + " – Wesołe Wirowanki</title>\n<style>";
    s += kStyle;
    s += "</style>\n</head>\n<body>\n<main>\n<header class=\"naglowek\"><div><h1>" + heading +
         "</h1><p class=\"podtytul\">Wesołe Wirowanki · ćwiczenia głosek SZ, Ż/RZ, CZ, DŻ</p></div><p "
         "class=\"stan\">Stan na <b>" +
         dateInWords(now) + ", " + hour(now) + "</b>";
    return s;
}

std::string emptyPage(const ReadResult& o) {
    std::string s = "<section class=\"pusto\">";
    s += kSmiley;
    s += "<h2>Nie ma jeszcze zapisanych gier</h2><p>Raport wypełni się sam: każda gra zapisuje się, gdy się "
         "skończy i pojawi się ekran z wynikiem. Zagrajcie w Podpisywanie, Memory, Uzupełnianie albo "
         "Spadające "
         "i otwórzcie raport jeszcze raz.</p>";
    if (!o.fileExists)
        s += "<p>Plik statystyk jeszcze nie istnieje; program założy go przy pierwszym uruchomieniu.</p>";
    return s + "<p>Gra, w której przez dwie minuty nic się nie działo, nie jest zapisywana.</p></section>";
}

} // namespace

const char* gameName(int game) {
    return game >= 1 && game <= kGameCount ? kGames[game - 1] : "?";
}

std::string soundNames(std::uint16_t sounds) {
    std::string s;
    for (int i = 0; i < kSoundCount; ++i)
        if (sounds & (1u << i)) s += (s.empty() ? "" : ", ") + std::string(kSounds[i]);
    return s;
}

std::string positionNames(std::uint16_t position) {
    std::string s;
    for (int i = 0; i < kPositionCount; ++i)
        if (position & (0x1000u << i)) s += (s.empty() ? "" : ", ") + std::string(kPositions[i]);
    return s;
}

const char* quantityName(int level) {
    return level == 1 ? "mało" : level == 2 ? "średnio" : level == 3 ? "dużo" : "?";
}

const char* gradeText(int rating) {
    return rating == 4 ? "Brawo!" : rating == 2 ? "Dobrze!" : "Spróbuj jeszcze raz!";
}

std::string htmlText(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
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

std::string html(const ReadResult& readout, const ProgressTest& p, const Descriptor& description) {
    const std::string heading =
        description.child.empty() ? "Raport postępów" : "Raport postępów: " + htmlText(description.child);
    std::string s = pageStart(heading, description.nowSeconds);
    if (p.first) s += "<br>Okres: " + data(*p.first) + " – " + data(*p.last);
    s += "</p></header>\n";
    s += notes(readout);
    if (p.rows.empty()) {
        s += emptyPage(readout);
    } else {
        Axis axis;
        axis.from = p.first->epochDay() * 86400;
        axis.toX = (p.last->epochDay() + 1) * 86400;
        if (p.first->epochDay() == p.last->epochDay()) {
            axis.hours = true;
            axis.from = p.first->seconds / 3600 * 3600;
            axis.toX = std::max(p.last->seconds / 3600 * 3600 + 3600, axis.from + 3600);
        }
        s += summary(p) + "\n" + soundsTable(p) + "\n" + weeksSection(p) + "\n";
        std::string unplayed;
        for (int g = 0; g < kGameCount; ++g) {
            if (p.games[g].gameCount)
                s += gameSection(p, g, axis) + "\n";
            else
                unplayed += (unplayed.empty() ? "" : ", ") + std::string(kGames[g]);
        }
        if (!unplayed.empty()) s += "<p class=\"niegrane\">Jeszcze nie grano: " + unplayed + ".</p>\n";
        s += gamesTable(p, description) + "\n";
    }
    s += "<footer>";
    if (!p.rows.empty())
        s += "<p>Ocena to ta sama, którą pokazał ekran wyników: „Brawo!”, „Dobrze!” albo „Spróbuj jeszcze "
             "raz!” "
             "(liczą się poprawne i błędne odpowiedzi, nie podpowiedzi). Zadania w grze: w Memory pary "
             "obrazków, w "
             "pozostałych grach wyrazy. Daty i godziny według strefy czasowej tego komputera.</p>";
    if (!description.csvFile.empty())
        s += "<p>Ta sama tabela gier do arkusza kalkulacyjnego: „" + htmlText(description.csvFile) + "”.</p>";
    s += "<p>Źródło: " + htmlText(description.statsFile) + "</p></footer>\n</main>\n</body>\n</html>\n";
    return s;
}

namespace {

void csvField(std::string& s, std::string_view hitArea) {
    if (hitArea.find_first_of(",\"\r\n") == std::string_view::npos) {
        s += hitArea;
        return;
    }
    s += '"';
    for (char c : hitArea) {
        if (c == '"') s += '"';
        s += c;
    }
    s += '"';
}

} // namespace

std::string csv(const ProgressTest& p, std::string_view childName) {
    std::string s = "\xEF\xBB\xBF"
                    "Dziecko,Data,Godzina,Gra,Głoski,Pozycje,Ilość,Czas gry (s),Ukończona,Poprawne,Błędne,"
                    "Podpowiedzi,Ocena\r\n";
    std::string name;
    csvField(name, childName);
    s.reserve(s.size() + p.rows.size() * (96 + name.size()));
    for (const TableRow& w : p.rows) {
        const PlayedGame& g = *w.game;
        s += name;
        s += ',';
        for (const std::string& hitArea :
             {dataIso(w.time), hour(w.time), std::string(kGames[g.game - 1]), soundNames(g.sounds),
              positionNames(g.position), std::string(quantityName(g.level)), std::to_string(g.timeSeconds),
              std::string(g.completed ? "tak" : "nie"), std::to_string(g.correct), std::to_string(g.wrong),
              std::to_string(g.hints)}) {
            csvField(s, hitArea);
            s += ',';
        }
        s += gradeText(w.rating);
        s += "\r\n";
    }
    return s;
}

ChildSummary summarize(const ReadResult& readout, const ProgressTest& p) {
    ChildSummary c;
    c.gameCount = p.gameCount;
    c.days = p.days;
    c.timeSeconds = p.timeSeconds;
    c.last = p.last;
    for (int i = 0; i < kSoundCount; ++i)
        c.correctShare[i] = p.sounds[i].total.share();
    c.damaged = !readout.notes.empty();
    return c;
}

std::string overviewHtml(const std::vector<ChildSummary>& children, std::int64_t nowSeconds) {
    std::string s = pageStart("Raport postępów: wszystkie dzieci", nowSeconds) + "</p></header>\n";
    s += "<section><h2>Dzieci</h2>";
    if (children.empty()) {
        s += "<p class=\"brak\">Nie dodano jeszcze żadnego dziecka.</p></section>\n";
    } else {
        s += "<table><thead><tr><th>Dziecko</th><th class=\"l\">Dni ćwiczeń</th><th class=\"l\">Gry</th><th "
             "class=\"l\">Czas gry</th><th>Ostatnia sesja</th>";
        for (const char* g : kSounds)
            s += std::string("<th>") + g + "</th>";
        s += "<th>Raport</th></tr></thead><tbody>";
        for (const ChildSummary& c : children) {
            s += "<tr><td class=\"glosnik\">" + htmlText(c.name);
            if (c.damaged)
                s += "<small class=\"uwaga\">plik statystyk uszkodzony: pokazano to, co dało się "
                     "odczytać</small>";
            s += "</td><td class=\"l\">" + thousands(c.days) + "</td><td class=\"l\">" +
                 thousands(c.gameCount) + "</td><td class=\"l\">" + totalTime(c.timeSeconds) + "</td>";
            s += c.last ? "<td class=\"kiedy\">" + data(*c.last) + " " + hour(*c.last) + "</td>"
                        : std::string("<td class=\"brak\">—</td>");
            for (const std::optional<double>& u : c.correctShare)
                s += u ? shareMarkup(*u) : std::string("<td class=\"brak\">—</td>");
            s += c.link.empty() ? std::string("<td class=\"brak\">nie zapisano</td>")
                                : "<td><a href=\"" + htmlText(c.link) + "\">otwórz</a></td>";
            s += "</tr>";
        }
        s += "</tbody></table><p class=\"przypis\">Głoski: odsetek poprawnych odpowiedzi wśród wszystkich "
             "odpowiedzi w grach z daną głoską; „—”, gdy nie było jeszcze odpowiedzi. Wykresy i wszystkie "
             "gry dziecka są na jego stronie raportu.</p></section>\n";
    }
    return s + "<footer><p>Daty i godziny według strefy czasowej tego komputera. Każde dziecko ma własny "
               "plik statystyk; ten przegląd niczego w nich nie zmienia.</p></footer>\n</main>\n</body>\n"
               "</html>\n";
}

} // namespace report
