#include "ui/tfrmsostoyanie.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

// A tool window of its owner: the window manager keeps it above the owner and
// minimises it with the owner, so a click into the main window cannot bury
// it. (A plain Qt::Window with a parent is no transient window on X11.)
TfrmSostoyanie::TfrmSostoyanie(QWidget* vladelec) : QWidget(vladelec, Qt::Tool) {
    setObjectName(QStringLiteral("frmSostoyanie"));
    // It comes on screen in the middle of the user's typing: the keyboard
    // stays where it was.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Процесс вычислений"));
    auto* raskladka = new QVBoxLayout(this);
    raskladka->setContentsMargins(8, 8, 8, 8); // border width around the log
    mSostoyanie = new QPlainTextEdit(this);
    mSostoyanie->setObjectName(QStringLiteral("mSostoyanie"));
    mSostoyanie->setReadOnly(true);
    // Read-only, yet the user may click a new insertion point or select.
    mSostoyanie->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    mSostoyanie->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mSostoyanie->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    raskladka->addWidget(mSostoyanie);
    resize(432, 325); // client area
    FormCreate();
}

void TfrmSostoyanie::FormCreate() {
    // Centred in the work area; the formula keeps the work area's right and
    // bottom edges, as the desktop reports them.
    QScreen* ekran = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect oblast = ekran != nullptr ? ekran->availableGeometry() : QRect(0, 0, 1024, 768);
    const int levo = (oblast.x() + oblast.width() - width()) / 2;
    const int verh = (oblast.y() + oblast.height() - height()) / 2;
    move(levo, verh);
    Tag = verh;
}

void TfrmSostoyanie::Dobavit(const QString& tekst) {
    QString t = tekst;
    if (mSostoyanie->document()->isEmpty() && t.startsWith(QStringLiteral("\r\n"))) t.remove(0, 2);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor kursor = mSostoyanie->textCursor();
    kursor.insertText(t);
    mSostoyanie->setTextCursor(kursor);
}

void TfrmSostoyanie::Razmestit(const QRect& glavnoe, QSize dobavkaRamki, const QRect& zapomnennoe) {
    stavlyu_ = true;
    if (zapomnennoe.isValid() && QGuiApplication::screenAt(zapomnennoe.topLeft()) != nullptr) {
        resize(zapomnennoe.size());
        move(zapomnennoe.topLeft());
    } else {
        QScreen* ekran = QGuiApplication::screenAt(glavnoe.center());
        if (ekran == nullptr) ekran = QGuiApplication::primaryScreen();
        const QRect oblast = ekran != nullptr ? ekran->availableGeometry() : QRect();
        const QSize ramka = size() + dobavkaRamki;
        const int verh =
            std::max(oblast.top(), std::min(glavnoe.top(), oblast.bottom() + 1 - ramka.height()));
        if (ramka.height() <= oblast.height()) {
            if (glavnoe.right() + 1 + ramka.width() <= oblast.right() + 1)
                move(glavnoe.right() + 1, verh);
            else if (glavnoe.left() - ramka.width() >= oblast.left())
                move(glavnoe.left() - ramka.width(), verh);
        }
    }
    Tag = y();
    postavleno_ = QRect(pos(), size());
    stavlyu_ = false;
}

void TfrmSostoyanie::SoobshitMesto() {
    const QRect mesto(pos(), size());
    if (!isVisible() || stavlyu_ || mesto == postavleno_) return;
    postavleno_ = mesto;
    Tag = mesto.y(); // shown again, it comes back where the user put it
    if (priPeremeshchenii) priPeremeshchenii(mesto);
}

void TfrmSostoyanie::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    SoobshitMesto();
}

void TfrmSostoyanie::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    SoobshitMesto();
}

void TfrmSostoyanie::PokazatNaEkrane() {
    QWidget* aktivnoe = QApplication::activeWindow();
    stavlyu_ = true;
    move(x(), Tag);
    show();
    raise();
    stavlyu_ = false;
    postavleno_ = QRect(pos(), size());
    // A window manager (or platform) that activates every new window anyway
    // gets the activation handed back at once: the user did not ask for it.
    if (aktivnoe != nullptr && aktivnoe != this) {
        vernutAktivnost_ = aktivnoe;
        srokVozvrata_ = QDeadlineTimer(500);
    }
}

bool TfrmSostoyanie::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        QPointer<QWidget> bilo = vernutAktivnost_;
        vernutAktivnost_.clear();
        if (!bilo.isNull() && !srokVozvrata_.hasExpired() && bilo->isVisible())
            bilo->activateWindow();
        // A click into the log raises this window; a box waiting for an
        // answer goes back on top of it, so it cannot be lost behind it.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) w->raise();
    }
    return QWidget::event(e);
}
