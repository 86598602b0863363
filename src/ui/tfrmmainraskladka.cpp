// The main window's look: its fonts, the frame of its group boxes, the
// places of the keypad at any width, and where the progress window goes.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <algorithm>

#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"

namespace {

// A group box 41 pixels high around a row of 22-pixel fields: its caption
// sits on the frame line, not above the frame as most styles draw it, which
// would leave the fields sticking out of the frame. Drawn by the
// application's style with the box's palette, so a palette change reaches
// it as it reaches every other control.
class TStilGruppi : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override {
        const auto* g = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
        if (cc != CC_GroupBox || g == nullptr) return QProxyStyle::subControlRect(cc, opt, sc, w);
        const int stroka = g->fontMetrics.height();
        switch (sc) {
        case SC_GroupBoxFrame:
            return g->rect.adjusted(0, stroka / 2, 0, 0);
        case SC_GroupBoxLabel: {
            const int shirina = g->fontMetrics.size(Qt::TextShowMnemonic, g->text).width() + 2;
            return QRect(g->rect.left() + 6, g->rect.top(), shirina, stroka);
        }
        case SC_GroupBoxContents:
            return g->rect.adjusted(2, stroka, -2, -2);
        default:
            return QRect();
        }
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        const auto* g = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
        if (cc != CC_GroupBox || g == nullptr)
            return QProxyStyle::drawComplexControl(cc, opt, p, w);
        // The frame line is drawn here rather than by the style, which may
        // put it lower to leave room for a caption above it.
        const QRect nadpis = subControlRect(cc, opt, SC_GroupBoxLabel, w);
        const QRectF ramka =
            QRectF(subControlRect(cc, opt, SC_GroupBoxFrame, w)).adjusted(0.5, 0.5, -0.5, -0.5);
        p->save();
        p->setClipRegion(QRegion(g->rect).subtracted(QRegion(nadpis)));
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(g->palette.color(QPalette::Mid));
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(ramka, 3, 3);
        p->restore();
        proxy()->drawItemText(p, nadpis, Qt::AlignCenter | Qt::TextShowMnemonic, g->palette,
                              g->state & State_Enabled, g->text, QPalette::WindowText);
    }
};

// The keypad as built: 648 pixels of controls between margins of 8.
constexpr int POLNAYA_SHIRINA = 664;
constexpr int SHIRINA_BLOKA = 648;
constexpr int POLE = 8;
constexpr int SHAG_GRUPP = 48; // from one row of group boxes to the next

} // namespace

void TfrmMain::NastroitOformlenie() {
    auto* stil = new TStilGruppi;
    stil->setParent(this);
    for (QGroupBox* gb : {gbSistemaIschisleniya, gbEdiniciIzmereniyaUgla, gbOkruglenie})
        gb->setStyle(stil);
    for (QWidget* w : pnKnopki->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        mestaKnopok_.append({w, w->geometry()});
    NastroitShrifti();
    pnKnopki->setFont(ShriftKnopok());
    pnKnopki->installEventFilter(this);

    // "Параметры" → "Показать процесс вычислений", after "Промежуточные
    // расчёты": a progress window the user closed comes back with its log.
    QMenu* n1 = menuBar()->findChild<QMenu*>(QStringLiteral("N1"));
    miPokazatSostoyanie = new QAction(QStringLiteral("Показать процесс вычислений"), n1);
    miPokazatSostoyanie->setObjectName(QStringLiteral("miPokazatSostoyanie"));
    const QList<QAction*> punkti = n1->actions();
    n1->insertAction(punkti.size() > 1 ? punkti[1] : nullptr, miPokazatSostoyanie);
    miPokazatSostoyanie->setEnabled(false); // until the first run
    connect(miPokazatSostoyanie, &QAction::triggered, this, [this] {
        if (frmSostoyanie != nullptr) frmSostoyanie->PokazatNaEkrane();
    });
}

void TfrmMain::NastroitShrifti() {
    // The window keeps the desktop's font; the definitions and the result,
    // where digits and brackets must line up, take the desktop's fixed-pitch
    // font at the same size.
    QFont moshiy = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (font().pointSizeF() > 0) moshiy.setPointSizeF(font().pointSizeF());
    mPeremennie->setFont(moshiy);
    ebZnachenie->setFont(moshiy);
}

bool TfrmMain::KnopkiVlezayut(const QFont& shrift) const {
    const QFontMetrics m(shrift);
    auto shirina = [&m](const QString& t) { return m.size(Qt::TextShowMnemonic, t).width(); };
    for (QPushButton* b : pnKnopki->findChildren<QPushButton*>())
        if (shirina(b->text()) + 8 > b->width()) return false;
    for (QRadioButton* rb : pnKnopki->findChildren<QRadioButton*>())
        if (shirina(rb->text()) + 20 > rb->width()) return false;
    for (QGroupBox* gb : pnKnopki->findChildren<QGroupBox*>())
        if (shirina(gb->title()) + 12 > gb->width()) return false;
    return shirina(lbKolichestvoRazryadov->text()) <= lbKolichestvoRazryadov->width();
}

QFont TfrmMain::ShriftKnopok() const {
    QFont shrift = font();
    if (shrift.pointSizeF() > 0) {
        const double nachalo = shrift.pointSizeF();
        for (double r = nachalo; r >= nachalo / 3 && !KnopkiVlezayut(shrift); r -= 0.5)
            shrift.setPointSizeF(r);
    } else {
        const int nachalo = shrift.pixelSize();
        for (int r = nachalo; r >= nachalo / 3 && !KnopkiVlezayut(shrift); --r)
            shrift.setPixelSize(r);
    }
    return shrift;
}

void TfrmMain::RazlozhitKnopki() {
    if (mestaKnopok_.isEmpty()) return;
    const int shirina = pnKnopki->width();
    int sdvig = 0; // how far the buttons move down for more rows of groups
    if (shirina >= POLNAYA_SHIRINA) {
        // Maximised, the keypad stands in the middle rather than leaving
        // the right half of the window empty; a window merely made wider
        // keeps it at the left, under the start of the fields.
        const bool poCentru = (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
        const int dx = poCentru ? (shirina - POLNAYA_SHIRINA) / 2 : 0;
        for (const auto& [w, r] : mestaKnopok_) w->setGeometry(r.translated(dx, 0));
    } else {
        // Narrower: the columns of buttons close up in proportion and the
        // group boxes, whole, go on in rows.
        const double k =
            double(std::max(shirina, int(MIN_SHIRINA_KNOPOK)) - 2 * POLE) / SHIRINA_BLOKA;
        int x = POLE, y = POLE;
        for (const auto& [w, r] : mestaKnopok_) {
            if (qobject_cast<QGroupBox*>(w) == nullptr) continue;
            if (x > POLE && x + r.width() > shirina - POLE) {
                x = POLE;
                y += SHAG_GRUPP;
            }
            w->setGeometry(x, y, r.width(), r.height());
            x += r.width() + 7;
        }
        sdvig = y - POLE;
        for (const auto& [w, r] : mestaKnopok_) {
            if (qobject_cast<QGroupBox*>(w) != nullptr) continue;
            const int levo = POLE + qRound((r.left() - POLE) * k);
            const int pravo = POLE + qRound((r.left() + r.width() - POLE) * k);
            w->setGeometry(levo, r.top() + sdvig, pravo - levo, r.height());
        }
    }
    const QFont shrift = ShriftKnopok();
    if (pnKnopki->font() != shrift) pnKnopki->setFont(shrift);
    if (pnKnopki->height() != 218 + sdvig) {
        pnKnopki->setFixedHeight(218 + sdvig);
        pnKlient->setMinimumHeight(pnKlient->layout()->totalMinimumSize().height());
    }
}

void TfrmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) {
        RazlozhitKnopki();
    } else if (e->type() == QEvent::ApplicationFontChange) {
        NastroitShrifti();
        RazlozhitKnopki();
    }
}

void TfrmMain::RazmestitOknoSostoyaniya() {
    miPokazatSostoyanie->setEnabled(true);
    frmSostoyanie->priPeremeshchenii = [this](const QRect& mesto) {
        mestoOknaSostoyaniya_ = mesto;
    };
    frmSostoyanie->Razmestit(frameGeometry(), frameGeometry().size() - size(),
                             mestoOknaSostoyaniya_);
}
