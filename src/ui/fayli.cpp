#include "ui/fayli.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "ui/sohranenie.h"
#include "ui/soobsheniya.h"
#include "ui/tfrmmain.h"

namespace {

const QString KLYUCH_NEDAVNIH = QStringLiteral("nedavnieFayli");
const QString FILTR = QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)");
// Larger than any definitions text a person writes; refused rather than
// read into the field.
constexpr qint64 MAKS_RAZMER = 64 * 1024 * 1024;

QString Imya(const QString& put) {
    return QDir::toNativeSeparators(put);
}

// The local file a drag carries, or an empty text.
QString PeretaskivaemiyFayl(const QMimeData* d) {
    if (d == nullptr || !d->hasUrls() || d->urls().isEmpty()) return {};
    const QUrl url = d->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

// Reads a definitions file as the command line does: UTF-8, a byte order
// mark skipped, a CR before each LF dropped, and no empty line after a final
// line break. False with the reason when it cannot.
bool ChitatFayl(const QString& put, QString& tekst, QString& prichina) {
    const QFileInfo i(put);
    QFile f(put);
    if (!i.exists())
        prichina = QStringLiteral("файл не найден");
    else if (i.isDir())
        prichina = QStringLiteral("это папка");
    else if (!i.isReadable())
        prichina = QStringLiteral("нет прав на чтение");
    else if (i.size() > MAKS_RAZMER)
        prichina = QStringLiteral("файл слишком велик");
    else if (!f.open(QIODevice::ReadOnly))
        prichina = f.errorString();
    if (!prichina.isEmpty()) return false;
    QByteArray baiti = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        prichina = f.errorString();
        return false;
    }
    if (baiti.contains('\0')) {
        prichina = QStringLiteral("это не текстовый файл");
        return false;
    }
    if (baiti.startsWith("\xEF\xBB\xBF")) baiti.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    tekst = utf8.decode(baiti);
    if (utf8.hasError()) {
        prichina = QStringLiteral("текст не в кодировке UTF-8");
        return false;
    }
    tekst.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (tekst.endsWith(QLatin1Char('\n'))) tekst.chop(1);
    return true;
}

// Why `put` could not be written, as far as the folder and the file tell.
QString PrichinaZapisi(const QString& put, const QSaveFile& f) {
    const QFileInfo i(put);
    const QFileInfo papka(i.absolutePath());
    if (!papka.isDir()) return QStringLiteral("папка не найдена");
    if (i.isDir()) return QStringLiteral("это папка");
    if (!papka.isWritable()) return QStringLiteral("нет прав на запись в папку");
    if (i.exists() && !i.isWritable()) return QStringLiteral("нет прав на запись в файл");
    return f.errorString();
}

} // namespace

TFayli::TFayli(TfrmMain& okno) : QObject(&okno), okno_(okno) {
    SozdatMenu();
    okno_.setAcceptDrops(true);
    okno_.installEventFilter(this);
    // The definitions take dropped text themselves; a dropped file opens.
    okno_.mPeremennie->viewport()->installEventFilter(this);
    // The title marks changed definitions only where it names their file.
    connect(okno_.mPeremennie->document(), &QTextDocument::modificationChanged, this,
            [this](bool izmeneno) {
                if (!fayl_.isEmpty()) okno_.setWindowModified(izmeneno);
            });
}

void TFayli::SozdatMenu() {
    QMenuBar* bar = okno_.menuBar();
    miFayl = new QMenu(QStringLiteral("&Файл"), bar);
    miFayl->setObjectName(QStringLiteral("miFayl"));
    bar->insertMenu(bar->actions().value(0), miFayl);
    miOtkrit = miFayl->addAction(QStringLiteral("&Открыть…"));
    miOtkrit->setObjectName(QStringLiteral("miOtkrit"));
    miOtkrit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    miSohranit = miFayl->addAction(QStringLiteral("&Сохранить"));
    miSohranit->setObjectName(QStringLiteral("miSohranit"));
    miSohranit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    miSohranitKak = miFayl->addAction(QStringLiteral("Сохранить &как…"));
    miSohranitKak->setObjectName(QStringLiteral("miSohranitKak"));
    miSohranitKak->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    miFayl->addSeparator();
    miNedavnie = miFayl->addMenu(QStringLiteral("&Недавние файлы"));
    miNedavnie->setObjectName(QStringLiteral("miNedavnie"));
    connect(miOtkrit, &QAction::triggered, this, [this] {
        const QString put =
            QFileDialog::getOpenFileName(&okno_, QStringLiteral("Открыть"), Papka(), FILTR);
        if (!put.isEmpty()) Otkrit(put);
    });
    connect(miSohranit, &QAction::triggered, this, [this] { Sohranit(); });
    connect(miSohranitKak, &QAction::triggered, this, [this] { SohranitKak(); });
    connect(miFayl, &QMenu::aboutToShow, this, [this] { ZapolnitNedavnie(); });
    ZapolnitNedavnie();
}

void TFayli::ZapolnitNedavnie() {
    miNedavnie->clear();
    const QStringList nedavnie = Nedavnie();
    const QFontMetrics m(miNedavnie->font());
    for (int i = 0; i < nedavnie.size(); ++i) {
        const QString put = nedavnie[i];
        QAction* a = miNedavnie->addAction(
            QStringLiteral("&%1 ").arg(i + 1) +
            m.elidedText(Imya(put), Qt::ElideMiddle, 40 * m.averageCharWidth()));
        connect(a, &QAction::triggered, this, [this, put] { Otkrit(put); });
    }
    miNedavnie->setEnabled(!nedavnie.isEmpty());
}

void TFayli::UstanovitFayl(const QString& put) {
    fayl_ = put.isEmpty() ? QString() : QFileInfo(put).absoluteFilePath();
    okno_.setWindowFilePath(fayl_);
    // The file's name beside the program's, and the mark of changed
    // definitions in place of [*].
    okno_.setWindowTitle(fayl_.isEmpty()
                             ? QStringLiteral("Цифрамер")
                             : QFileInfo(fayl_).fileName() + QStringLiteral("[*] — Цифрамер"));
    okno_.setWindowModified(!fayl_.isEmpty() && okno_.mPeremennie->document()->isModified());
}

bool TFayli::Otkrit(const QString& put) {
    return MozhnoZamenit() && Prochitat(put);
}

bool TFayli::Prochitat(const QString& put) {
    QString tekst, prichina;
    if (!ChitatFayl(put, tekst, prichina)) {
        if (!QFileInfo::exists(put)) ZabitNedavniy(put);
        Oshibka(QStringLiteral("Не удаётся открыть файл «%1»: %2").arg(Imya(put), prichina));
        return false;
    }
    okno_.mPeremennie->setPlainText(tekst);
    okno_.mPeremennie->document()->setModified(false);
    UstanovitFayl(put);
    ZapomnitNedavniy(fayl_);
    okno_.mPeremennie->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TFayli::ZapisatV(const QString& put) {
    QString tekst = okno_.mPeremennie->toPlainText();
    if (!tekst.isEmpty()) tekst += QLatin1Char('\n'); // the last line ends, as in a text file
    const QByteArray baiti = tekst.toUtf8();
    QSaveFile f(put);
    if (!f.open(QIODevice::WriteOnly) || f.write(baiti) != baiti.size() || !f.commit()) {
        Oshibka(QStringLiteral("Не удаётся сохранить файл «%1»: %2")
                    .arg(Imya(put), PrichinaZapisi(put, f)));
        return false;
    }
    UstanovitFayl(put);
    okno_.mPeremennie->document()->setModified(false);
    ZapomnitNedavniy(fayl_);
    return true;
}

bool TFayli::Sohranit() {
    return fayl_.isEmpty() ? SohranitKak() : ZapisatV(fayl_);
}

bool TFayli::SohranitKak() {
    const QString nachalo = fayl_.isEmpty() ? Papka() : fayl_;
    const QString put =
        QFileDialog::getSaveFileName(&okno_, QStringLiteral("Сохранить как"), nachalo, FILTR);
    return !put.isEmpty() && ZapisatV(put);
}

bool TFayli::MozhnoZamenit() {
    if (!okno_.mPeremennie->document()->isModified() || okno_.mPeremennie->document()->isEmpty())
        return true;
    const QString vopros =
        fayl_.isEmpty()
            ? QStringLiteral("Сохранить изменения в определениях?")
            : QStringLiteral("Сохранить изменения в файле «%1»?").arg(QFileInfo(fayl_).fileName());
    std::unique_ptr<QMessageBox> box(
        SozdatSoobshenie(QMessageBox::Question, QStringLiteral("Вопрос"), vopros,
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &okno_));
    box->button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box->setDefaultButton(QMessageBox::Save);
    switch (box->exec()) {
    case QMessageBox::Save:
        return Sohranit();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

QStringList TFayli::Nedavnie() {
    return OtkritNastroyki()->value(KLYUCH_NEDAVNIH).toStringList().mid(0, MAKS_NEDAVNIH);
}

void TFayli::ZapomnitNedavniy(const QString& put) {
    QStringList nedavnie = Nedavnie();
    nedavnie.removeAll(put);
    nedavnie.prepend(put);
    OtkritNastroyki()->setValue(KLYUCH_NEDAVNIH, nedavnie.mid(0, MAKS_NEDAVNIH));
}

void TFayli::ZabitNedavniy(const QString& put) {
    QStringList nedavnie = Nedavnie();
    if (nedavnie.removeAll(QFileInfo(put).absoluteFilePath()) > 0)
        OtkritNastroyki()->setValue(KLYUCH_NEDAVNIH, nedavnie);
}

void TFayli::Oshibka(const QString& tekst) {
    std::unique_ptr<QMessageBox> box(SozdatSoobshenie(
        QMessageBox::Critical, QStringLiteral("Ошибка"), tekst, QMessageBox::Ok, &okno_));
    box->exec();
}

QString TFayli::Papka() const {
    if (!fayl_.isEmpty()) return QFileInfo(fayl_).absolutePath();
    const QStringList nedavnie = Nedavnie();
    return nedavnie.isEmpty() ? QDir::homePath() : QFileInfo(nedavnie.first()).absolutePath();
}

bool TFayli::eventFilter(QObject* obj, QEvent* e) {
    switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* d = static_cast<QDragMoveEvent*>(e);
        if (PeretaskivaemiyFayl(d->mimeData()).isEmpty()) break;
        d->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* d = static_cast<QDropEvent*>(e);
        const QString put = PeretaskivaemiyFayl(d->mimeData());
        if (put.isEmpty()) break;
        d->acceptProposedAction();
        // Not inside the drop: the box that may ask to save would keep the
        // dragging program waiting.
        QTimer::singleShot(0, this, [this, put] { Otkrit(put); });
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(obj, e);
}
