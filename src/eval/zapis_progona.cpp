// The record of one calculation run.
#include "eval/zapis_progona.h"

#include "eval/yazik.h"
#include "eval/zapusk.h"
#include "platform/platforma.h"
#include "text/kodirovka_ansi.h"

namespace {
thread_local TZapisProgona* tekushaya = nullptr;
} // namespace

TZapisProgona::TZapisProgona(IOknoVichisleniya& okno, TIshod& ishod,
                             const std::vector<TAnsiString>& stroki)
    : okno_(okno), ishod_(ishod), stroki_(stroki), prezhnyaya_(tekushaya) {
    tekushaya = this;
    UstanovitPerehvatOshibok({&TZapisProgona::Perehvatit, this});
}

TZapisProgona::~TZapisProgona() {
    UstanovitPerehvatOshibok({});
    tekushaya = prezhnyaya_;
    if (prezhnyaya_ != nullptr) UstanovitPerehvatOshibok({&TZapisProgona::Perehvatit, prezhnyaya_});
}

TZapisProgona* TZapisProgona::Tekushaya() {
    return tekushaya;
}

TZapisProgona::TVOpredelenii::TVOpredelenii(std::int32_t indeks)
    : zapis_(tekushaya), prezhnyaya_(zapis_ ? zapis_->stroka_ : 0) {
    if (zapis_) zapis_->stroka_ = indeks < 0 ? 0 : indeks + 1;
}

TZapisProgona::TVOpredelenii::~TVOpredelenii() {
    if (zapis_) zapis_->stroka_ = prezhnyaya_;
}

std::string_view TZapisProgona::Stroka(std::int32_t stroka) const {
    if (stroka < 1 || stroka > ChisloStrok()) return {};
    const TAnsiString& s = stroki_[static_cast<std::size_t>(stroka - 1)];
    return s.Length() > 0 ? std::string_view(s.Data(), static_cast<std::size_t>(s.Length()))
                          : std::string_view();
}

void TZapisProgona::Perehvatit(void* zapis, const TAnsiString& tekst) {
    auto* z = static_cast<TZapisProgona*>(zapis);
    TSoobshenie s{tekst, z->stroka_};
    if (!z->ozhidaemiyFragment_.empty()) {
        std::int32_t nachalo = -1, dlina = 0;
        if (z->strokaFragmenta_ != z->stroka_ &&
            z->NaitiFragment(z->stroka_, z->ozhidaemiyFragment_, z->ozhidaemiyVizov_, nachalo,
                             dlina)) {
            z->strokaFragmenta_ = z->stroka_;
            z->nachaloFragmenta_ = nachalo;
            z->dlinaFragmenta_ = dlina;
        }
        z->ozhidaemiyFragment_.clear();
    }
    z->ishod_.Soobsheniya.push_back(s);
    z->okno_.Soobshit(s);
}

void TZapisProgona::Predupredit(TVidPreduprezhdeniya vid, std::int32_t stroka, std::int32_t nachalo,
                                std::int32_t dlina, const std::string& tekst) {
    if (ishod_.Preduprezhdeniya.size() > PREDEL_PREDUPREZHDENIY) return;
    std::string klyuch = std::to_string(stroka) + ':' + std::to_string(nachalo) + ':' + tekst;
    if (!klyuchi_.insert(std::move(klyuch)).second) return;
    TPreduprezhdenie p;
    p.Vid = vid;
    p.Stroka = stroka;
    p.Nachalo = nachalo;
    p.Dlina = nachalo >= 0 ? dlina : 0;
    p.Tekst = Utf8VAnsi(ishod_.Preduprezhdeniya.size() < PREDEL_PREDUPREZHDENIY
                            ? tekst
                            : "предупреждений больше " + std::to_string(PREDEL_PREDUPREZHDENIY) +
                                  ", остальные не показаны");
    if (ishod_.Preduprezhdeniya.size() == PREDEL_PREDUPREZHDENIY) p.Stroka = p.Nachalo = 0;
    if (p.Stroka == 0) p.Nachalo = -1, p.Dlina = 0;
    ishod_.Preduprezhdeniya.push_back(std::move(p));
}

void TZapisProgona::PredupreditOFragmente(TVidPreduprezhdeniya vid, std::string_view fragment,
                                          bool vizov, const std::string& tekst) {
    // The same warning again in the same line (a long line of "1/0+1/0…")
    // is dropped before the line is searched.
    if (!Novoe(std::to_string(stroka_) + ":?:" + tekst)) return;
    std::int32_t nachalo = -1, dlina = 0;
    NaitiFragment(stroka_, fragment, vizov, nachalo, dlina);
    Predupredit(vid, stroka_, nachalo, dlina, tekst);
}

bool TZapisProgona::Novoe(std::string klyuch) {
    return ishod_.Preduprezhdeniya.size() <= PREDEL_PREDUPREZHDENIY &&
           klyuchi_.insert(std::move(klyuch)).second;
}

namespace {
// The end of the bracket group that opens at s[otkritie] ("("), or npos.
std::size_t KonecGruppi(std::string_view s, std::size_t otkritie) {
    int glubina = 0;
    for (std::size_t i = otkritie; i < s.size(); ++i) {
        if (s[i] == '(') ++glubina;
        if (s[i] == ')' && --glubina == 0) return i + 1;
    }
    return std::string_view::npos;
}
} // namespace

bool TZapisProgona::NaitiFragment(std::int32_t stroka, std::string_view fragment, bool vizov,
                                  std::int32_t& nachalo, std::int32_t& dlina) {
    const std::string_view s = Stroka(stroka);
    if (s.empty() || fragment.empty()) return false;
    // The tokens of the expression, kept for the line asked last: the
    // warnings and messages of one definition all search its line.
    if (stroka != strokaLeksem_) {
        const TChastiStroki chasti = RazdelitStroku(s);
        nachaloVirazheniya_ = chasti.virazhenieNachalo;
        dlinaVirazheniya_ = chasti.virazhenieDlina;
        leksemy_ = RazobratNaLeksemy(s.substr(nachaloVirazheniya_, dlinaVirazheniya_));
        strokaLeksem_ = stroka;
    }
    const std::string_view virazhenie = s.substr(nachaloVirazheniya_, dlinaVirazheniya_);
    const std::vector<TLeksema>& leksemy = leksemy_;
    // Token by token, so that "x" is not found inside "xx" nor "1" in "10".
    std::size_t naideno = std::string_view::npos, konec = 0;
    std::int32_t dlinaNaidennogo = 0;
    int raz = 0;
    for (std::size_t k = 0; k < leksemy.size(); ++k) {
        const TLeksema& l = leksemy[k];
        if (vizov) {
            if (l.vid != TVidLeksemy::Funkciya || virazhenie.substr(l.nachalo, l.dlina) != fragment)
                continue;
            konec = KonecGruppi(virazhenie, l.nachalo + l.dlina);
            if (konec == std::string_view::npos) konec = l.nachalo + l.dlina;
        } else {
            // The fragment may span several tokens ("+*" is one, "1/0" three).
            if (virazhenie.substr(l.nachalo, fragment.size()) != fragment) continue;
            const std::size_t k_konec = l.nachalo + fragment.size();
            bool granica = false;
            for (std::size_t m = k; m < leksemy.size() && !granica; ++m) {
                const std::size_t konecLeksemy = leksemy[m].nachalo + leksemy[m].dlina;
                if (konecLeksemy > k_konec) break;
                granica = konecLeksemy == k_konec;
            }
            if (!granica) continue;
            konec = k_konec;
        }
        if (++raz > 1) return false;
        naideno = l.nachalo;
        dlinaNaidennogo = static_cast<std::int32_t>(konec - l.nachalo);
    }
    if (raz != 1) return false;
    nachalo = static_cast<std::int32_t>(nachaloVirazheniya_ + naideno);
    dlina = dlinaNaidennogo;
    return true;
}

void TZapisProgona::OtmetitFragment(std::string_view fragment, bool vizov) {
    ozhidaemiyFragment_.assign(fragment.data(), fragment.size());
    ozhidaemiyVizov_ = vizov;
}

void TZapisProgona::ZapomnitNeudachu(std::int32_t indeks, const TAnsiString& imya) {
    if (indeks < 0) return;
    ishod_.Stroka = indeks + 1;
    ishod_.Imya = imya;
    if (strokaFragmenta_ == ishod_.Stroka) {
        ishod_.Nachalo = nachaloFragmenta_;
        ishod_.Dlina = dlinaFragmenta_;
    }
}
