#include "ui/tfrmistoriya.h"

#include <QApplication>
#include <algorithm>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Stolbec { IMYA, OSNOVANIE, UGLI, RAZRYADOV, REZULTAT, VREMYA, PREDUPREZHDENIYA, STOLBCOV };

// Item data: whether the row holds a result that can be inserted.
constexpr int ROL_USPEH = Qt::UserRole + 1;

QString Ugli(int edinica) {
    switch (edinica) {
    case 0:
        return QStringLiteral("Радианы");
    case 2:
        return QStringLiteral("Грады");
    default:
        return QStringLiteral("Градусы");
    }
}

// Seconds with two decimals, the decimal comma of a Russian text.
QString Dlitelnost(qint64 ms) {
    return QLocale(QLocale::Russian).toString(double(ms) / 1000.0, 'f', 2) + QStringLiteral(" с");
}

} // namespace

QString TekstPreduprezhdeniya(int stroka, const QString& tekst) {
    return stroka > 0 ? QStringLiteral("Строка %1: ").arg(stroka) + tekst : tekst;
}

TfrmIstoriya::TfrmIstoriya(QWidget* vladelec) : QDialog(vladelec) {
    setObjectName(QStringLiteral("frmIstoriya"));
    setWindowTitle(QStringLiteral("История вычислений"));
    setModal(false);
    if (vladelec != nullptr) setFont(vladelec->font());
    auto* raskladka = new QVBoxLayout(this);
    raskladka->setContentsMargins(8, 8, 8, 8);
    spIstoriya = new QTreeWidget(this);
    spIstoriya->setObjectName(QStringLiteral("spIstoriya"));
    spIstoriya->setColumnCount(STOLBCOV);
    spIstoriya->setHeaderLabels({QStringLiteral("Переменная"), QStringLiteral("Основание"),
                                 QStringLiteral("Углы"), QStringLiteral("Разрядов"),
                                 QStringLiteral("Результат"), QStringLiteral("Время"),
                                 QStringLiteral("Предупреждения")});
    spIstoriya->setRootIsDecorated(false);
    spIstoriya->setUniformRowHeights(true);
    spIstoriya->setAllColumnsShowFocus(true);
    spIstoriya->setSelectionMode(QAbstractItemView::SingleSelection);
    spIstoriya->setTextElideMode(Qt::ElideRight);
    QHeaderView* zagolovok = spIstoriya->header();
    zagolovok->setStretchLastSection(false);
    for (int s = 0; s < STOLBCOV; ++s)
        zagolovok->setSectionResizeMode(s, s == REZULTAT ? QHeaderView::Stretch
                                                         : QHeaderView::ResizeToContents);
    spIstoriya->installEventFilter(this);
    // Double-click only: a style that activates items on a single click must
    // not insert into the definitions on every click.
    connect(spIstoriya, &QTreeWidget::itemDoubleClicked, this, [this] { Vybrat(); });
    raskladka->addWidget(spIstoriya);
    resize(600, 300);
}

void TfrmIstoriya::Pokazat() {
    if (!razmeschen_) {
        razmeschen_ = true;
        Razmestit();
    }
    show();
    raise();
    activateWindow();
}

void TfrmIstoriya::Razmestit() {
    QWidget* vladelec = parentWidget();
    QScreen* ekran = vladelec != nullptr ? vladelec->screen() : nullptr;
    if (ekran == nullptr) return;
    const QRect oblast = ekran->availableGeometry();
    const QRect o = vladelec->frameGeometry();
    // Not shown yet, this window's frame is unknown: take the owner's.
    const QSize ramka = o.size() - vladelec->size();
    const int w = width() + ramka.width(), h = height() + ramka.height();
    constexpr int NIZHE = 160; // the lowest the list is still of use at
    const int sprava = oblast.right() + 1 - (o.right() + 1);
    const int sleva = o.left() - oblast.left();
    const int snizu = oblast.bottom() + 1 - (o.bottom() + 1);
    const int sverhu = o.top() - oblast.top();
    const int x =
        std::clamp(o.left(), oblast.left(), std::max(oblast.left(), oblast.right() + 1 - w));
    if (sprava >= w) {
        move(o.right() + 1, std::max(o.top(), oblast.top()));
    } else if (sleva >= w) {
        move(o.left() - w, std::max(o.top(), oblast.top()));
    } else if (snizu >= NIZHE + ramka.height()) {
        resize(width(), std::min(h, snizu) - ramka.height());
        move(x, o.bottom() + 1);
    } else if (sverhu >= NIZHE + ramka.height()) {
        resize(width(), std::min(h, sverhu) - ramka.height());
        move(x, o.top() - (height() + ramka.height()));
    } else if (neZakrivat != nullptr) {
        // No room outside the owner: over its lower part, below what must
        // stay readable, and down to the work area's bottom.
        const int verh = neZakrivat->mapToGlobal(QPoint(0, neZakrivat->height())).y();
        const int mesto = oblast.bottom() + 1 - verh;
        if (mesto >= NIZHE + ramka.height()) {
            resize(width(), std::min(h, mesto) - ramka.height());
            move(x, oblast.bottom() + 1 - (height() + ramka.height()));
        }
    }
}

void TfrmIstoriya::Dobavit(const TZapisIstorii& z) {
    auto* stroka = new QTreeWidgetItem;
    stroka->setText(IMYA, z.imya);
    stroka->setText(OSNOVANIE, QString::number(z.osnovanie));
    stroka->setText(UGLI, Ugli(z.edinicaUgla));
    stroka->setText(RAZRYADOV, QString::number(z.razryadov));
    stroka->setText(REZULTAT, z.tekst);
    stroka->setText(VREMYA, Dlitelnost(z.ms));
    const QString preduprezhdeniya = z.preduprezhdeniya.join(QLatin1Char('\n'));
    stroka->setToolTip(REZULTAT, preduprezhdeniya.isEmpty()
                                     ? z.tekst
                                     : z.tekst + QStringLiteral("\n\n") + preduprezhdeniya);
    if (!z.preduprezhdeniya.isEmpty()) {
        stroka->setText(PREDUPREZHDENIYA, QString::number(z.preduprezhdeniya.size()));
        stroka->setToolTip(PREDUPREZHDENIYA, preduprezhdeniya);
    }
    stroka->setData(0, ROL_USPEH, z.uspeh);
    for (int s : {OSNOVANIE, RAZRYADOV, VREMYA, PREDUPREZHDENIYA})
        stroka->setTextAlignment(s, Qt::AlignRight);
    if (!z.uspeh) {
        // A message, not a number: set apart without a colour of its own,
        // so that it reads in any palette.
        QFont f = stroka->font(REZULTAT);
        f.setItalic(true);
        stroka->setFont(REZULTAT, f);
    }
    // The newest run becomes the current row, unless the user has chosen
    // an older one.
    QTreeWidgetItem* tekushaya = spIstoriya->currentItem();
    const bool naVerhu = tekushaya == nullptr || spIstoriya->indexOfTopLevelItem(tekushaya) == 0;
    spIstoriya->insertTopLevelItem(0, stroka);
    if (naVerhu) spIstoriya->setCurrentItem(stroka);
    zapisi_.append(z);
    if (zapisi_.size() > MAKS_ZAPISEY) {
        zapisi_.removeFirst();
        delete spIstoriya->takeTopLevelItem(spIstoriya->topLevelItemCount() - 1);
    }
}

void TfrmIstoriya::Vybrat() {
    QTreeWidgetItem* s = spIstoriya->currentItem();
    if (s == nullptr || !s->data(0, ROL_USPEH).toBool() || !priVybore) return;
    priVybore(s->text(REZULTAT));
}

void TfrmIstoriya::Kopirovat() {
    if (QTreeWidgetItem* s = spIstoriya->currentItem())
        QApplication::clipboard()->setText(s->text(REZULTAT));
}

bool TfrmIstoriya::eventFilter(QObject* obj, QEvent* e) {
    if (obj == spIstoriya && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->matches(QKeySequence::Copy)) {
            Kopirovat();
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            Vybrat();
            return true;
        }
    }
    return QDialog::eventFilter(obj, e);
}
