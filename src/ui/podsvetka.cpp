#include "ui/podsvetka.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <string>
#include <string_view>
#include <vector>

#include "eval/yazik.h"
#include "ui/tekstqt.h"

QColor CvetPreduprezhdeniya() {
    return QColor(232, 89, 12);
}

TPodsvetka::TPodsvetka(QPlainTextEdit* pole) : QSyntaxHighlighter(pole->document()), pole_(pole) {
    PostroitFormati();
    pole_->installEventFilter(this);
}

void TPodsvetka::UstanovitOsnovanie(int osnovanie) {
    if (osnovanie == osnovanie_) return;
    osnovanie_ = osnovanie;
    rehighlight();
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
    // What a run would warn of: the plain colour of its kind, underlined
    // as the run's warnings are.
    formati_[NEVERNOE_CHISLO] = formati_[CHISLO];
    formati_[NET_FUNKCII].setForeground(p.color(QPalette::Text));
    for (Vid v : {NEVERNOE_CHISLO, NET_FUNKCII}) {
        formati_[v].setUnderlineStyle(QTextCharFormat::WaveUnderline);
        formati_[v].setUnderlineColor(CvetPreduprezhdeniya());
    }
}

bool TPodsvetka::eventFilter(QObject* obj, QEvent* e) {
    if (obj == pole_ && e->type() == QEvent::PaletteChange) {
        PostroitFormati();
        rehighlight();
    }
    return QSyntaxHighlighter::eventFilter(obj, e);
}

void TPodsvetka::highlightBlock(const QString& s) {
    // Every line is a definition of its own: nothing carries over. One byte
    // per character, so token positions are positions in the line.
    const std::string baiti = VBaitiPoZnakam(s);
    const std::string_view stroka(baiti);
    const std::vector<TLeksema> leksemy = RazobratNaLeksemy(stroka);
    // Left of the first "=" is the name; a line without one is all
    // expression.
    bool virazhenie = true;
    for (const TLeksema& l : leksemy)
        if (l.vid == TVidLeksemy::Ravno) virazhenie = false;
    std::vector<int> otkritie; // "(" waiting for their ")"
    for (const TLeksema& l : leksemy) {
        const int i = int(l.nachalo), n = int(l.dlina);
        if (!virazhenie) {
            if (l.vid == TVidLeksemy::Ravno) {
                setFormat(i, n, formati_[OPERATOR]);
                virazhenie = true;
            } else if (l.vid != TVidLeksemy::Probel) {
                setFormat(i, n, formati_[IMYA]);
            }
            continue;
        }
        switch (l.vid) {
        case TVidLeksemy::Chislo:
            setFormat(i, n,
                      formati_[OcenitLiteral(stroka.substr(l.nachalo, l.dlina), osnovanie_).verniy
                                   ? CHISLO
                                   : NEVERNOE_CHISLO]);
            break;
        case TVidLeksemy::Funkciya:
            setFormat(i, n,
                      formati_[NaitiOpisanieFunkcii(stroka.substr(l.nachalo, l.dlina)) != nullptr
                                   ? FUNKCIYA
                                   : NET_FUNKCII]);
            break;
        case TVidLeksemy::Operator:
        case TVidLeksemy::Razdelitel: // the argument separator
            setFormat(i, n, formati_[OPERATOR]);
            break;
        case TVidLeksemy::Skobka:
            if (stroka[l.nachalo] == '(') {
                otkritie.push_back(i);
                setFormat(i, n, formati_[SKOBKA]);
            } else if (otkritie.empty()) {
                setFormat(i, n, formati_[OSHIBKA]);
            } else {
                otkritie.pop_back();
                setFormat(i, n, formati_[SKOBKA]);
            }
            break;
        default:
            break;
        }
    }
    for (int o : otkritie) setFormat(o, 1, formati_[OSHIBKA]);
}
