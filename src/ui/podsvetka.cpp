#include "ui/podsvetka.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <vector>

namespace {

const char* const FUNKCII[] = {"sqr", "sqrt", "exp",   "fact",   "ln",     "lg",     "log", "sin",
                               "cos", "tg",   "arctg", "arcsin", "arccos", "arctg2", "int", "frac"};

// The name characters of the evaluator: digits, lower-case Latin letters,
// "_", the lower-case Russian letters but "й".
bool SimvolImeni(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || u == '_' ||
           (u >= 0x0430 && u <= 0x044F && u != 0x0439) || u == 0x0451;
}
bool Cifra(QChar c) { // any of the 36 digit characters
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z');
}
bool Desyatichnaya(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}
bool Operator(QChar c) {
    return QStringLiteral("^<>*/%+-;").contains(c); // and the argument separator
}

// Runs of characters satisfying `f` from i; returns the end.
template <class F> int Probezhat(const QString& s, int i, F f) {
    while (i < s.size() && f(s[i])) ++i;
    return i;
}

// The length of the number literal at i, as the evaluator reads one
// (digits; separator and digits; "e", "-" and decimal digits; "r" and
// decimal digits; a part begun must be complete), or 0.
int DlinaChisla(const QString& s, int i) {
    int j = Probezhat(s, i, Cifra);
    if (j == i) return 0;
    if (j < s.size() && (s[j] == QLatin1Char(',') || s[j] == QLatin1Char('.'))) {
        const int k = Probezhat(s, j + 1, Cifra);
        if (k == j + 1) return 0;
        j = k;
    }
    if (j < s.size() && s[j] == QLatin1Char('e')) {
        int k = j + 1;
        if (k < s.size() && s[k] == QLatin1Char('-')) ++k;
        const int m = Probezhat(s, k, Desyatichnaya);
        if (m == k) return 0;
        j = m;
    }
    if (j < s.size() && s[j] == QLatin1Char('r')) {
        const int k = Probezhat(s, j + 1, Desyatichnaya);
        if (k == j + 1) return 0;
        j = k;
    }
    return j - i;
}

} // namespace

TPodsvetka::TPodsvetka(QPlainTextEdit* pole) : QSyntaxHighlighter(pole->document()), pole_(pole) {
    PostroitFormati();
    pole_->installEventFilter(this);
}

void TPodsvetka::PostroitFormati() {
    // Names take the palette's link colour; the other kinds fixed hues whose
    // lightness follows the field's base, dark on a light base and light on
    // a dark one, so each reads in any theme.
    const QPalette& p = pole_->palette();
    const bool svetliyFon = p.color(QPalette::Base).lightness() > 128;
    auto ottenok = [svetliyFon](int h) { return QColor::fromHsl(h, 200, svetliyFon ? 80 : 175); };
    for (QTextCharFormat& f : formati_) f = QTextCharFormat();
    formati_[IMYA].setForeground(p.color(QPalette::Link));
    formati_[IMYA].setFontWeight(QFont::Bold);
    formati_[CHISLO].setForeground(ottenok(170));
    formati_[FUNKCIYA].setForeground(ottenok(285));
    formati_[FUNKCIYA].setFontWeight(QFont::Bold);
    formati_[OPERATOR].setForeground(ottenok(25));
    formati_[SKOBKA].setForeground(p.color(QPalette::Text));
    formati_[SKOBKA].setFontWeight(QFont::Bold);
    formati_[OSHIBKA].setForeground(p.color(QPalette::Text));
    formati_[OSHIBKA].setFontWeight(QFont::Bold);
    QColor fon = ottenok(0);
    fon.setAlpha(110);
    formati_[OSHIBKA].setBackground(fon);
    formati_[OSHIBKA].setUnderlineStyle(QTextCharFormat::WaveUnderline);
    formati_[OSHIBKA].setUnderlineColor(ottenok(0));
}

bool TPodsvetka::eventFilter(QObject* obj, QEvent* e) {
    if (obj == pole_ && e->type() == QEvent::PaletteChange) {
        PostroitFormati();
        rehighlight();
    }
    return QSyntaxHighlighter::eventFilter(obj, e);
}

void TPodsvetka::highlightBlock(const QString& s) {
    // Every line is a definition of its own: nothing carries over.
    const int ravno = s.indexOf(QLatin1Char('='));
    if (ravno < 0) {
        Virazhenie(s, 0);
        return;
    }
    for (int i = 0; i < ravno; ++i)
        if (s[i].unicode() > 32) setFormat(i, 1, formati_[IMYA]);
    setFormat(ravno, 1, formati_[OPERATOR]);
    Virazhenie(s, ravno + 1);
}

void TPodsvetka::Virazhenie(const QString& s, int i) {
    std::vector<int> otkritie; // "(" waiting for their ")"
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('(')) {
            otkritie.push_back(i);
            setFormat(i++, 1, formati_[SKOBKA]);
        } else if (c == QLatin1Char(')')) {
            if (otkritie.empty()) {
                setFormat(i++, 1, formati_[OSHIBKA]);
            } else {
                otkritie.pop_back();
                setFormat(i++, 1, formati_[SKOBKA]);
            }
        } else if (Operator(c)) {
            setFormat(i++, 1, formati_[OPERATOR]);
        } else if (SimvolImeni(c) || Cifra(c)) {
            // A name run right before "(" is the function name of the group,
            // whatever it starts with; elsewhere a literal is read first.
            const int konecImeni = Probezhat(s, i, SimvolImeni);
            if (konecImeni > i && konecImeni < s.size() && s[konecImeni] == QLatin1Char('(')) {
                const QString imya = s.mid(i, konecImeni - i);
                for (const char* f : FUNKCII)
                    if (imya == QLatin1String(f)) setFormat(i, konecImeni - i, formati_[FUNKCIYA]);
                i = konecImeni;
            } else if (const int n = DlinaChisla(s, i); n > 0) {
                setFormat(i, n, formati_[CHISLO]);
                i += n;
            } else {
                i = std::max(konecImeni, i + 1);
            }
        } else {
            ++i;
        }
    }
    for (int o : otkritie) setFormat(o, 1, formati_[OSHIBKA]);
}
