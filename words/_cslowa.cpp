#include "words/_cslowa.hpp"

#include "app/_custgry.hpp"
#include "gfx/Loadcorrectbitmap.hpp"
#include "platform/Clock.hpp"
#include "platform/Fs.hpp"
#include "platform/Random.hpp"

#include <algorithm>
#include <bit>

namespace {

struct Wpis {
    const char* word;
    const char* glosy;
    std::uint16_t flags;
};

// The order matters: grouped draws rely on each sound's words lying in one run.
constexpr Wpis kTabela[] = {
    {"sakiewka", "_s,a,k,i,e,w,k,a,", GL_S | POZ_NAGLOS},
    {"samochod", "_s,a,m,o,ch,ó,d,", GL_S | POZ_NAGLOS},
    {"sanki", "_s,a,n,k,i,", GL_S | POZ_NAGLOS},
    {"sep", "_s,ę,p,", GL_S | POZ_NAGLOS},
    {"sum", "_s,u,m,", GL_S | POZ_NAGLOS},
    {"szachy", "_sz,a,ch,y,", GL_SZ | POZ_NAGLOS},
    {"szampan", "_sz,a,m,p,a,n,", GL_SZ | POZ_NAGLOS},
    {"szelki", "_sz,e,l,k,i,", GL_SZ | POZ_NAGLOS},
    {"szopa", "_sz,o,p,a,", GL_SZ | POZ_NAGLOS},
    {"szuflada", "_sz,u,f,l,a,d,a,", GL_SZ | POZ_NAGLOS},
};

void przelosuj() {
    platform::random::seed(static_cast<std::uint32_t>(platform::localSeconds()));
}

std::string sciezkaObrazka(const Slowo& s, const std::string& suffix) {
    return "Data\\Bio\\" + s.word + suffix;
}
std::string sciezkaMiniatury(const Slowo& s) {
    return "Data\\Sio\\s" + s.word + ".xji";
}

std::shared_ptr<platform::Bitmap> wczytaj(const std::string& path) {
    auto bitmap = std::make_shared<platform::Bitmap>();
    wczytajJpeg(*bitmap, path);
    return bitmap;
}

} // namespace

CSlowa::CSlowa() {
    tabela_.reserve(std::size(kTabela));
    for (const Wpis& w : kTabela) {
        Slowo s;
        s.word = w.word;
        s.flags = w.flags;
        s.dzwiek = "Data\\Smd\\" + s.word + ".pw";
        s.glosy = w.glosy;
        tabela_.push_back(std::move(s));
    }
}

CSlowa::~CSlowa() = default;

void CSlowa::filtruj(const CUstGry& settings) {
    wyczyscWybor();
    filtr_.clear();
    for (const Slowo& s : tabela_)
        if ((s.flags & settings.Pozycja) != 0 && (s.flags & settings.Gloski) != 0) filtr_.push_back(s);
}

void CSlowa::wyczyscWybor() {
    wybor_.clear(); // the last references to the pictures go with the selection
    for (Slowo& s : filtr_)
        s.flags &= static_cast<std::uint16_t>(~SLOWO_WYBRANE);
}

void CSlowa::wybierz(int r) {
    const int m = static_cast<int>(filtr_.size());
    while (filtr_[r].flags & SLOWO_WYBRANE)
        r = (r + 1) % m;
    filtr_[r].flags |= SLOWO_WYBRANE;
    wybor_.push_back(filtr_[r]);
}

bool CSlowa::losuj(int n) {
    wyczyscWybor();
    const int m = static_cast<int>(filtr_.size());
    if (m < n) return false;
    przelosuj();
    wybor_.reserve(m);
    for (int k = 0; k < n; ++k)
        wybierz(platform::random::below(m));
    return true;
}

bool CSlowa::losujGrupami(int n, const CUstGry& settings) {
    wyczyscWybor();
    const int m = static_cast<int>(filtr_.size());
    if (m < n) return false;
    przelosuj();
    wybor_.reserve(m);
    // Each chosen sound makes two groups: its own words and its contrast words.
    int g = 2 * std::popcount(static_cast<unsigned>(settings.Gloski & (GL_SZ | GL_ZZ | GL_CZ | GL_DZZ)));
    // Settings without a sound never filter to a non-empty list; one group keeps the draw defined anyway.
    if (g == 0) g = 1;
    const int q = m / g;
    int d = 0;
    for (int k = 0; k < n; ++k) {
        wybierz(platform::random::below(q) + q * d);
        if (++d == g) d = 0;
    }
    return true;
}

bool CSlowa::wczytajObrazki(const std::string& suffix) {
    bool wszystkie = true;
    for (Slowo& s : wybor_) {
        s.obrazek = std::make_shared<platform::Bitmap>();
        s.miniatura = std::make_shared<platform::Bitmap>();
        const std::string duzy = sciezkaObrazka(s, suffix);
        const std::string maly = sciezkaMiniatury(s);
        if (!platform::fs::exists(duzy) || !platform::fs::exists(maly)) {
            wszystkie = false;
            continue;
        }
        s.obrazek = wczytaj(duzy);
        s.miniatura = wczytaj(maly);
    }
    return wszystkie;
}

bool CSlowa::wczytajObrazkiDuze(const std::string& suffix) {
    bool wszystkie = true;
    for (Slowo& s : wybor_) {
        s.obrazek = std::make_shared<platform::Bitmap>();
        const std::string duzy = sciezkaObrazka(s, suffix);
        if (!platform::fs::exists(duzy)) {
            wszystkie = false;
            continue;
        }
        s.obrazek = wczytaj(duzy);
    }
    return wszystkie;
}

bool CSlowa::wczytajMiniatury() {
    bool wszystkie = true;
    for (Slowo& s : wybor_) {
        s.miniatura = std::make_shared<platform::Bitmap>();
        const std::string maly = sciezkaMiniatury(s);
        if (!platform::fs::exists(maly)) {
            wszystkie = false;
            continue;
        }
        s.miniatura = wczytaj(maly);
    }
    return wszystkie;
}

std::vector<JednostkaGlosowa> podzielGlosy(const std::string& glosy) {
    std::vector<JednostkaGlosowa> jednostki;
    std::size_t p = 0;
    while (p < glosy.size()) {
        const std::size_t przecinek = glosy.find(',', p);
        const std::size_t k = (przecinek == std::string::npos ? glosy.size() : przecinek) - p;
        if (k == 0) {
            ++p;
            continue;
        }
        const bool oznaczona = glosy[p] == '_';
        std::string tekst = oznaczona ? glosy.substr(p + 1, k - 1) : glosy.substr(p, k);
        p += k;
        if (!tekst.empty()) jednostki.push_back({std::move(tekst), oznaczona});
    }
    return jednostki;
}
