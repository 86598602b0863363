// What the window keeps between starts (settings and session in the test
// program's own XDG folders) and the definitions files of the menu "Файл".
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>
#include <memory>

#include "eval/zapusk.h"
#include "pomoshnik.h"
#include "ui/fayli.h"
#include "ui/sohranenie.h"
#include "ui/tfrmistoriya.h"
#include "ui/tfrmmain.h"

namespace {

QString PutNastroek() {
    return PapkaTestov() + QStringLiteral("/config/ciframer/ciframer.ini");
}

void Zapisat(const QString& put, const QByteArray& baiti) {
    QDir().mkpath(QFileInfo(put).path());
    QFile f(put);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(baiti), baiti.size());
}

QByteArray Prochitat(const QString& put) {
    QFile f(put);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

} // namespace

class TestSohranenie : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    std::unique_ptr<TOtvetchik> otvetchik;

    // A window as the program makes it: keeping its state between starts.
    std::unique_ptr<TfrmMain> Okno() {
        auto okno = std::make_unique<TfrmMain>(Dvigatel());
        okno->VklyuchitSohranenie();
        okno->show();
        if (!QTest::qWaitForWindowExposed(okno.get())) return nullptr;
        return okno;
    }
    void ProveritPerviyStart(TfrmMain& o) {
        QVERIFY(o.mPeremennie->toPlainText().isEmpty());
        QCOMPARE(o.ebPeremennaya->text(), QStringLiteral("y"));
        QVERIFY(o.rbOsnovanie10->isChecked());
        QCOMPARE(o.ebOsnovanie->text(), QStringLiteral("8"));
        QVERIFY(o.rbGradusi->isChecked());
        QCOMPARE(o.ebKolichestvoRasryadov->text(), QStringLiteral("100"));
        QVERIFY(!o.miPromegutochnieRascheti->isChecked());
        QCOMPARE(o.frmIstoriya->spIstoriya->topLevelItemCount(), 0);
        QCOMPARE(o.windowTitle(), QStringLiteral("Цифрамер"));
    }

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(60);
        otvetchik = std::make_unique<TOtvetchik>();
    }
    void cleanup() {
        otvetchik.reset();
        storog.reset();
    }

    // Closed with some state, the next window comes up in the same state.
    void sessiyaMezhduZapuskami() {
        auto a = Okno();
        QVERIFY(a);
        ProveritPerviyStart(*a);
        // A character Windows-1251 lacks: the text is kept as typed.
        const QString tekst = QStringLiteral("x = 2\ny = x*3\nz = 1 // √ прим.\n");
        a->mPeremennie->setPlainText(tekst);
        QTest::mouseClick(a->bnVichislit, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !a->IdetVichislenie(); }, 20000));
        QCOMPARE(a->ebZnachenie->text(), QStringLiteral("6"));
        for (int i = 0; i < TfrmIstoriya::MAKS_ZAPISEY; ++i) {
            TZapisIstorii z;
            z.imya = QStringLiteral("v%1").arg(i);
            z.osnovanie = 2 + i % 35;
            z.tekst = QStringLiteral("%1").arg(i);
            z.uspeh = true;
            a->frmIstoriya->Dobavit(z);
        }
        a->ebPeremennaya->setText(QStringLiteral("z"));
        a->ebOsnovanie->setEnabled(true);
        a->ebOsnovanie->setText(QStringLiteral("20"));
        a->rbProizvolnoeOsnovanie->setChecked(true);
        a->rbRadiani->setChecked(true);
        a->ebKolichestvoRasryadov->setText(QStringLiteral("12"));
        a->ebKolichestvoRasryadovExit();
        a->miPromegutochnieRascheti->setChecked(true);
        a->resize(a->width() + 40, a->height() + 30);
        const QSize razmer = a->size();
        const QRect mestoSostoyaniya(40, 50, 300, 200);
        a->UstanovitMestoOknaSostoyaniya(mestoSostoyaniya);
        QVERIFY(a->close());
        a.reset();
        QVERIFY(QFile::exists(PutSessii()));
        QVERIFY(PutSessii().startsWith(PapkaTestov() + QStringLiteral("/state/")));
        QVERIFY(QFile::exists(PutNastroek()));

        auto b = Okno();
        QVERIFY(b);
        QCOMPARE(b->mPeremennie->toPlainText(), tekst);
        QCOMPARE(b->ebPeremennaya->text(), QStringLiteral("z"));
        QVERIFY(b->rbProizvolnoeOsnovanie->isChecked());
        QCOMPARE(b->PoluchitOsnovanie(), 20);
        QCOMPARE(b->ebOsnovanie->text(), QStringLiteral("20"));
        QVERIFY(b->rbRadiani->isChecked());
        QCOMPARE(int(AngleUnit), 0);
        QCOMPARE(b->ebKolichestvoRasryadov->text(), QStringLiteral("12"));
        QCOMPARE(b->PoluchitRazryadi(), 12);
        QVERIFY(b->miPromegutochnieRascheti->isChecked());
        QCOMPARE(b->size(), razmer);
        QCOMPARE(b->MestoOknaSostoyaniya(), mestoSostoyaniya);
        // The last 500 runs: the real run was the oldest of 501 and went.
        const QList<TZapisIstorii>& zapisi = b->frmIstoriya->Zapisi();
        QCOMPARE(zapisi.size(), TfrmIstoriya::MAKS_ZAPISEY);
        QCOMPARE(b->frmIstoriya->spIstoriya->topLevelItemCount(), TfrmIstoriya::MAKS_ZAPISEY);
        QCOMPARE(zapisi.first().imya, QStringLiteral("v0"));
        QCOMPARE(zapisi.last().imya, QStringLiteral("v499"));
        QCOMPARE(zapisi.last().osnovanie, 2 + 499 % 35);
        QCOMPARE(b->frmIstoriya->spIstoriya->topLevelItem(0)->text(0), QStringLiteral("v499"));
        QVERIFY(b->close());
    }

    // Damaged files are passed over with a warning each: the first start.
    void povrezhdenniyeFayli() {
        Zapisat(PutSessii(), QByteArray("{\"versiya\":1,\"opredeleniya\":\"x", 31));
        // Read by QSettings without complaint, but not text: radix 16 stays
        // unapplied.
        Zapisat(PutNastroek(), QByteArray("[General]\nosnovanie=16\nx=\xff\xfe\n"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("sessiya.json: файл повреждён")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("ciframer.ini: файл повреждён")));
        auto o = Okno();
        QVERIFY(o);
        ProveritPerviyStart(*o);
        QVERIFY(otvetchik->zapisi.isEmpty());
    }

    // Save, change, open another, open back: the text, the title and the
    // changed mark follow; a dropped file opens too.
    void faylTudaIObratno() {
        QTemporaryDir papka;
        QVERIFY(papka.isValid());
        auto o = std::make_unique<TfrmMain>(Dvigatel());
        o->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.get()));
        TFayli& f = *o->fayli;
        QCOMPARE(o->menuBar()->actions().first()->menu(), f.miFayl);
        // Each menu keeps its own title and mnemonic.
        QStringList zagolovki;
        for (QAction* a : o->menuBar()->actions()) zagolovki.append(a->text());
        QCOMPARE(zagolovki, QStringList({QStringLiteral("&Файл"), QStringLiteral("&Параметры")}));
        QCOMPARE(f.miOtkrit->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(f.miSohranit->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(f.miSohranitKak->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));

        const QString tekst = QStringLiteral("x = 2\ny = √x");
        const QString put = papka.path() + QStringLiteral("/опр.txt");
        o->mPeremennie->setPlainText(tekst);
        QVERIFY(f.ZapisatV(put));
        QCOMPARE(Prochitat(put), (tekst + QStringLiteral("\n")).toUtf8());
        QCOMPARE(o->windowFilePath(), put);
        QCOMPARE(o->windowHandle()->title(), QStringLiteral("опр.txt — Цифрамер"));
        QVERIFY(!o->isWindowModified());
        o->mPeremennie->setFocus();
        o->mPeremennie->moveCursor(QTextCursor::End);
        QTest::keyClicks(o->mPeremennie, QStringLiteral("+1"));
        QVERIFY(o->isWindowModified());
        QCOMPARE(o->windowHandle()->title(), QStringLiteral("опр.txt* — Цифрамер"));

        // Another file, as the command line takes it: a byte order mark and
        // CR LF line ends. Cancelled first: nothing changes.
        const QString drugoy = papka.path() + QStringLiteral("/b.txt");
        Zapisat(drugoy, "\xEF\xBB\xBF"
                        "a = 1\r\ny = a+1\r\n");
        otvetchik->otvet = QMessageBox::Cancel;
        QVERIFY(!f.Otkrit(drugoy));
        QCOMPARE(otvetchik->zapisi.size(), 1);
        QStringList knopki = otvetchik->zapisi[0].knopki;
        knopki.sort();
        QCOMPARE(knopki, QStringList({QStringLiteral("Не сохранять"), QStringLiteral("Отмена"),
                                      QStringLiteral("Сохранить")}));
        QCOMPARE(o->mPeremennie->toPlainText(), tekst + QStringLiteral("+1"));
        QVERIFY(o->isWindowModified());
        otvetchik->otvet = QMessageBox::Discard;
        QVERIFY(f.Otkrit(drugoy));
        QCOMPARE(o->mPeremennie->toPlainText(), QStringLiteral("a = 1\ny = a+1"));
        QCOMPARE(o->windowFilePath(), drugoy);
        QVERIFY(!o->isWindowModified());
        QCOMPARE(Prochitat(put), (tekst + QStringLiteral("\n")).toUtf8()); // not saved
        QCOMPARE(TFayli::Nedavnie(), QStringList({drugoy, put}));

        // Dropped on the definitions, unchanged: opens without a question.
        QMimeData dannie;
        dannie.setUrls({QUrl::fromLocalFile(put)});
        // As the window system hands a drop over: onto the widget under the
        // point, here the definitions.
        const QPoint tochka =
            o->mPeremennie->viewport()->mapTo(o.get(), o->mPeremennie->viewport()->rect().center());
        QDragEnterEvent vhod(tochka, Qt::CopyAction, &dannie, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(o->windowHandle(), &vhod);
        QVERIFY(vhod.isAccepted());
        QDropEvent brosok(tochka, Qt::CopyAction, &dannie, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(o->windowHandle(), &brosok);
        QVERIFY(brosok.isAccepted());
        QVERIFY(QTest::qWaitFor([&] { return o->mPeremennie->toPlainText() == tekst; }, 5000));
        QCOMPARE(o->windowHandle()->title(), QStringLiteral("опр.txt — Цифрамер"));
        QCOMPARE(otvetchik->zapisi.size(), 2); // the two questions before, no more
        QCOMPARE(TFayli::Nedavnie(), QStringList({put, drugoy}));
    }

    // Neither a failed write nor a failed read touches the text; the box
    // names the file and the reason.
    void oshibkiFaylov_data() {
        QTest::addColumn<bool>("tolkoChtenie");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("folder is a file") << false;
    }
    void oshibkiFaylov() {
        QFETCH(bool, tolkoChtenie);
        QTemporaryDir papka;
        QVERIFY(papka.isValid());
        QString put;
        QString prichina;
        if (tolkoChtenie) {
            QVERIFY(QFile::setPermissions(papka.path(), QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(papka.path()).isWritable()) {
                QFile::setPermissions(papka.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("the folder stays writable for this user (root)");
            }
            put = papka.path() + QStringLiteral("/a.txt");
            prichina = QStringLiteral("нет прав на запись в папку");
        } else {
            Zapisat(papka.path() + QStringLiteral("/fayl"), "x");
            put = papka.path() + QStringLiteral("/fayl/a.txt");
            prichina = QStringLiteral("папка не найдена");
        }
        auto o = std::make_unique<TfrmMain>(Dvigatel());
        o->show();
        QVERIFY(QTest::qWaitForWindowExposed(o.get()));
        o->mPeremennie->setFocus();
        QTest::keyClicks(o->mPeremennie, QStringLiteral("y = 2"));
        const bool zapisano = o->fayli->ZapisatV(put);
        QFile::setPermissions(papka.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!zapisano);
        QVERIFY(!QFile::exists(put));
        QCOMPARE(otvetchik->Teksti(),
                 QStringList(QStringLiteral("Не удаётся сохранить файл «%1»: %2")
                                 .arg(QDir::toNativeSeparators(put), prichina)));
        QCOMPARE(o->mPeremennie->toPlainText(), QStringLiteral("y = 2"));
        QVERIFY(o->mPeremennie->document()->isModified());
        QVERIFY(o->fayli->Fayl().isEmpty());
        QCOMPARE(o->windowTitle(), QStringLiteral("Цифрамер"));

        // Reading a file that is not there: the same text stays.
        const QString net = papka.path() + QStringLiteral("/net.txt");
        otvetchik->otvet = QMessageBox::Discard;
        QVERIFY(!o->fayli->Otkrit(net));
        QCOMPARE(otvetchik->Teksti().last(),
                 QStringLiteral("Не удаётся открыть файл «%1»: файл не найден")
                     .arg(QDir::toNativeSeparators(net)));
        QCOMPARE(o->mPeremennie->toPlainText(), QStringLiteral("y = 2"));
        // Nor one in Windows-1251 ("y = 1 // ось").
        const QString cp1251 = papka.path() + QStringLiteral("/cp1251.txt");
        Zapisat(cp1251, "y = 1 // \xEE\xF1\xFC\n");
        QVERIFY(!o->fayli->Otkrit(cp1251));
        QCOMPARE(otvetchik->Teksti().last(),
                 QStringLiteral("Не удаётся открыть файл «%1»: текст не в кодировке UTF-8")
                     .arg(QDir::toNativeSeparators(cp1251)));
        QCOMPARE(o->mPeremennie->toPlainText(), QStringLiteral("y = 2"));
    }
};

QTEST_MAIN(TestSohranenie)
#include "test_sohranenie.moc"
