// The button pad of the main window: what each button that inserts a fixed
// text puts into the definitions.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "pomoshnik.h"
#include "ui/tfrmmain.h"

class TestPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    std::unique_ptr<TfrmMain> okno;

    QPushButton* Knopka(const char* imya) {
        return okno->findChild<QPushButton*>(QString::fromLatin1(imya));
    }

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(60);
        QVERIFY(OtkritGlavnoeOkno(okno));
        okno->activateWindow();
    }
    void cleanup() {
        okno.reset();
        storog.reset();
    }

    // Every button of the pad that inserts a fixed text, at the caret and
    // over a selection "%1" (which goes in as it is, even where the template
    // repeats the selection); and no button of the pad is left out.
    void vsyaPanel() {
        struct TOzhidanie {
            const char* knopka;
            const char* uKursora; // nothing selected
            const char* naVydelenii;
        };
        const TOzhidanie ozhidaniya[] = {
            {"bnKvadrat", "sqr(x)", "sqr(%1)"},
            {"bnKoren", "sqrt(x)", "sqrt(%1)"},
            {"bnStepen", "^", "^"},
            {"bnEksponenta", "exp(x)", "exp(%1)"},
            {"bnRazdelitel", ",", ","},
            {"bnOkruglitDoMenshego", "int(x;-1)", "int(%1;-1)"},
            {"bnObratnoe", "1/x", "1/(%1)"},
            {"bnFaktorial", "fact(x)", "fact(%1)"},
            {"bnDeleniePoModulyu", "%", "%"},
            {"bnSdvig", "<<", "<<"},
            {"bnPoryadok", "e", "e"},
            {"bnOkruglitDoBligayshego", "int(x;0)", "int(%1;0)"},
            {"bnNaturalniyLogarifm", "ln(x)", "ln(%1)"},
            {"bnDesyatichniyLogarifm", "lg(x)", "lg(%1)"},
            {"bnLogarifm", "log(a;x)", "log(a;%1)"},
            {"bnOsnovanie", "r", "r"},
            {"bnOkruglitDoBolshego", "int(x;1)", "int(%1;1)"},
            {"bnSinus", "sin(x)", "sin(%1)"},
            {"bnKosinus", "cos(x)", "cos(%1)"},
            {"bnTangens", "tg(x)", "tg(%1)"},
            {"bnDrobnayaChast", "frac(x)", "frac(%1)"},
            {"bnArksinus", "arcsin(x)", "arcsin(%1)"},
            {"bnArkkosinus", "arccos(x)", "arccos(%1)"},
            {"bnArktangens", "arctg(x)", "arctg(%1)"},
            {"bnArktangens2", "arctg2(cos(x);sin(x))", "arctg2(cos(%1);sin(%1))"},
            {"bnOtkritSkobku", "(", "("},
            {"bnZakritSkobku", ")", ")"},
            {"bnPribavit", "+", "+"},
            {"bnOtnyat", "-", "-"},
            {"bnUmnogit", "*", "*"},
            {"bnRazdelit", "/", "/"},
        };
        QSet<QString> proverennie;
        for (const TOzhidanie& o : ozhidaniya) {
            QPushButton* b = Knopka(o.knopka);
            QVERIFY2(b != nullptr, o.knopka);
            for (const bool sVydeleniem : {false, true}) {
                okno->mPeremennie->setPlainText(QStringLiteral("a%1b"));
                QTextCursor k = okno->mPeremennie->textCursor();
                k.setPosition(1);
                if (sVydeleniem) k.setPosition(3, QTextCursor::KeepAnchor);
                okno->mPeremennie->setTextCursor(k);
                okno->ebPeremennaya->setFocus();
                QTest::mouseClick(b, Qt::LeftButton);
                const QString vstavka = QString::fromUtf8(sVydeleniem ? o.naVydelenii : o.uKursora);
                const QString ozhidaetsya =
                    sVydeleniem ? QStringLiteral("a") + vstavka + QStringLiteral("b")
                                : QStringLiteral("a") + vstavka + QStringLiteral("%1b");
                QCOMPARE(okno->mPeremennie->toPlainText(), ozhidaetsya);
                QCOMPARE(okno->mPeremennie->textCursor().position(), 1 + vstavka.size());
                QVERIFY(okno->mPeremennie->hasFocus());
            }
            proverennie.insert(QString::fromLatin1(o.knopka));
        }
        // The rest of the pad: the digits, "=" and the three number buttons.
        for (QPushButton* b : okno->pnKnopki->findChildren<QPushButton*>()) {
            const QString imya = b->objectName();
            const bool cifra = imya.size() == 3 && imya.startsWith(QStringLiteral("bn"));
            const bool chislo =
                imya == QStringLiteral("bnChisloE") || imya == QStringLiteral("bnChisloPI") ||
                imya == QStringLiteral("bnChislo") || imya == QStringLiteral("bnVichislit");
            QVERIFY2(cifra || chislo || proverennie.contains(imya), qPrintable(imya));
        }
    }
};

QTEST_MAIN(TestPanel)
#include "test_panel.moc"
