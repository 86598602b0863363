#include "ui/tfrmsostoyanie.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

TfrmSostoyanie::TfrmSostoyanie(QWidget* vladelec) : QWidget(vladelec, Qt::Window) {
    setObjectName(QStringLiteral("frmSostoyanie"));
    setWindowTitle(QStringLiteral("Процесс вычислений"));
    if (vladelec != nullptr) setFont(vladelec->font());
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

void TfrmSostoyanie::PokazatNaEkrane() {
    move(x(), Tag);
    show();
    raise();
    activateWindow();
}
