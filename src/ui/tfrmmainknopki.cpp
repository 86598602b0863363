// The input buttons of the main window and what each one inserts into the
// definitions field.
#include <QApplication>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>

#include "number/vm_tekst.h"
#include "number/vm_chislo.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"

namespace {

struct TKnopka {
    const char* imya;
    const char* nadpis;
    const char* podskazka; // null: no hint
    int ryad;              // 0..4
    int stolbec;           // 0..9
    void (TfrmMain::*obrabotchik)();
};

constexpr int VERH_RYADA[5] = {56, 88, 120, 152, 184};
constexpr int LEVO_STOLBCA[10] = {8, 68, 128, 188, 252, 312, 376, 430, 484, 538};

// Every button but the digits, in rows and columns of the button block.
const TKnopka KNOPKI[] = {
    {"bnKvadrat", "x^2", "Квадрат sqr", 0, 0, &TfrmMain::bnKvadratClick},
    {"bnKoren", "sqrt(x)", "Квадратный корень sqrt", 0, 1, &TfrmMain::bnKorenClick},
    {"bnStepen", "a^x", "Степень ^", 0, 2, &TfrmMain::bnStepenClick},
    {"bnEksponenta", "e^x", "Экспонента exp", 0, 3, &TfrmMain::bnEksponentaClick},
    {"bnRazdelitel", "Sep", "Разделитель , или .", 0, 4, &TfrmMain::bnRazdelitelClick},
    {"bnOkruglitDoMenshego", "INT-", "Ближайшее меньнее целое", 0, 5,
     &TfrmMain::bnOkruglitDoMenshegoClick},
    {"bnObratnoe", "1/x", "Обратное 1/x", 1, 0, &TfrmMain::bnObratnoeClick},
    {"bnFaktorial", "n!", "Факториал fact", 1, 1, &TfrmMain::bnFaktorialClick},
    {"bnDeleniePoModulyu", "x mod n", "Деление по модулю %", 1, 2,
     &TfrmMain::bnDeleniePoModulyuClick},
    {"bnSdvig", "<<", "Сдвиг мантиссы <<", 1, 3, &TfrmMain::bnSdvigClick},
    {"bnPoryadok", "Exp", "Порядок E", 1, 4, &TfrmMain::bnPoryadokClick},
    {"bnOkruglitDoBligayshego", "INT", "Ближайшее целое", 1, 5,
     &TfrmMain::bnOkruglitDoBligayshegoClick},
    {"bnNaturalniyLogarifm", "ln(x)", "Натуральный логарифм ln", 2, 0,
     &TfrmMain::bnNaturalniyLogarifmClick},
    {"bnDesyatichniyLogarifm", "lg(x)", "Десятичный логарифм lg", 2, 1,
     &TfrmMain::bnDesyatichniyLogarifmClick},
    {"bnLogarifm", "log(a,x)", "Логарифм по основанию log", 2, 2, &TfrmMain::bnLogarifmClick},
    {"bnChisloE", "e", nullptr, 2, 3, &TfrmMain::bnChisloEClick},
    {"bnOsnovanie", "Rdx", "Основание R", 2, 4, &TfrmMain::bnOsnovanieClick},
    {"bnOkruglitDoBolshego", "INT+", "Ближайшее большее целое", 2, 5,
     &TfrmMain::bnOkruglitDoBolshegoClick},
    {"bnSinus", "sin(x)", "Синус sin", 3, 0, &TfrmMain::bnSinusClick},
    {"bnKosinus", "cos(x)", "Косинус cos", 3, 1, &TfrmMain::bnKosinusClick},
    {"bnTangens", "tg(x)", "Тангенс tg", 3, 2, &TfrmMain::bnTangensClick},
    {"bnChisloPI", "pi", nullptr, 3, 3, &TfrmMain::bnChisloPIClick},
    {"bnChislo", "x=y", "Вставить результат", 3, 4, &TfrmMain::bnChisloClick},
    {"bnDrobnayaChast", "FRAC-", "Дробная часть", 3, 5, &TfrmMain::bnDrobnayaChastClick},
    {"bnArksinus", "arcsin(x)", "Арксинус arcsin", 4, 0, &TfrmMain::bnArksinusClick},
    {"bnArkkosinus", "arccos(x)", "Арккосинус arccos", 4, 1, &TfrmMain::bnArkkosinusClick},
    {"bnArktangens", "arctg(x)", "Арктангенс arctg", 4, 2, &TfrmMain::bnArktangensClick},
    {"bnArktangens2", "arctg(c,s)", "Арктангенс arctg2", 4, 3, &TfrmMain::bnArktangens2Click},
    {"bnOtkritSkobku", "(", nullptr, 4, 4, &TfrmMain::bnOtkritSkobkuClick},
    {"bnZakritSkobku", ")", nullptr, 4, 5, &TfrmMain::bnZakritSkobkuClick},
    {"bnPribavit", "+", "Сложение", 4, 6, &TfrmMain::bnPribavitClick},
    {"bnOtnyat", "-", "Вычитание", 4, 7, &TfrmMain::bnOtnyatClick},
    {"bnUmnogit", "*", "Умножение", 4, 8, &TfrmMain::bnUmnogitClick},
    {"bnRazdelit", "/", "Деление", 4, 9, &TfrmMain::bnRazdelitClick},
};

// Where each digit button stands: digit -> (row, column).
constexpr int RYAD_CIFRI[16] = {3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0};
constexpr int STOLBEC_CIFRI[16] = {6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9};

QRect Mesto(int ryad, int stolbec) {
    const int shirina = stolbec < 6 ? 54 : 48;
    return QRect(LEVO_STOLBCA[stolbec], VERH_RYADA[ryad], shirina, 25);
}

QString Simvol(char c) {
    return VQString(std::string(1, c));
}

} // namespace

void TfrmMain::SozdatKnopki() {
    for (const TKnopka& k : KNOPKI) {
        auto* b = new QPushButton(QString::fromUtf8(k.nadpis), pnKnopki);
        b->setObjectName(QString::fromLatin1(k.imya));
        const QString podskazka = k.podskazka ? QString::fromUtf8(k.podskazka) : QString();
        b->setToolTip(podskazka);
        b->setAccessibleName(podskazka.isEmpty() ? b->text() : podskazka);
        b->setGeometry(Mesto(k.ryad, k.stolbec));
        connect(b, &QPushButton::clicked, this, [this, f = k.obrabotchik] { (this->*f)(); });
    }
    for (int c = 0; c < 16; ++c) {
        const QString cifra = QString(QLatin1Char("0123456789ABCDEF"[c]));
        auto* b = new QPushButton(cifra, pnKnopki);
        b->setObjectName(QStringLiteral("bn") + cifra);
        b->setAccessibleName(cifra);
        b->setGeometry(Mesto(RYAD_CIFRI[c], STOLBEC_CIFRI[c]));
        connect(b, &QPushButton::clicked, this, [this, c] { bnCifraClick(c); });
        bnCifri[c] = b;
    }
    bnVichislit = new QPushButton(QStringLiteral("="), pnKnopki);
    bnVichislit->setObjectName(QStringLiteral("bnVichislit"));
    // No fixed accessible name: assistive tools read the caption, which
    // turns into "Стоп" while a run is in progress.
    bnVichislit->setGeometry(596, 56, 60, 153);
    connect(bnVichislit, &QPushButton::clicked, this, [this] { bnVichislitClick(); });
}

void TfrmMain::Vstavit(const QString& tekst) {
    QTextCursor kursor = mPeremennie->textCursor();
    kursor.insertText(tekst); // replaces the selection; the caret follows the text
    mPeremennie->setTextCursor(kursor);
}

void TfrmMain::VstavitShablon(const QString& shablon, const QString& prefiks,
                              const QString& suffiks) {
    // QTextCursor marks line breaks inside a selection as U+2029.
    QString s = mPeremennie->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    Vstavit(s.isEmpty() ? shablon : prefiks + s + suffiks);
}

QString TfrmMain::TekstChisla(const vmChislo& x) {
    TAnsiString t;
    vmVTekst(t, &x, 1, PoluchitRazryadi(), VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM);
    return VQString(t);
}

#define SHABLON(knopka, shablon, prefiks, suffiks)                                                 \
    void TfrmMain::knopka##Click() {                                                               \
        VstavitShablon(QStringLiteral(shablon), QStringLiteral(prefiks), QStringLiteral(suffiks)); \
        mPeremennie->setFocus();                                                                   \
    }
#define TEKST(knopka, tekst)                                                                       \
    void TfrmMain::knopka##Click() {                                                               \
        Vstavit(QStringLiteral(tekst));                                                            \
        mPeremennie->setFocus();                                                                   \
    }

SHABLON(bnKvadrat, "sqr(x)", "sqr(", ")")
SHABLON(bnKoren, "sqrt(x)", "sqrt(", ")")
SHABLON(bnEksponenta, "exp(x)", "exp(", ")")
SHABLON(bnObratnoe, "1/x", "1/(", ")")
SHABLON(bnFaktorial, "fact(x)", "fact(", ")")
SHABLON(bnNaturalniyLogarifm, "ln(x)", "ln(", ")")
SHABLON(bnDesyatichniyLogarifm, "lg(x)", "lg(", ")")
SHABLON(bnLogarifm, "log(a;x)", "log(a;", ")")
SHABLON(bnSinus, "sin(x)", "sin(", ")")
SHABLON(bnKosinus, "cos(x)", "cos(", ")")
SHABLON(bnTangens, "tg(x)", "tg(", ")")
SHABLON(bnArksinus, "arcsin(x)", "arcsin(", ")")
SHABLON(bnArkkosinus, "arccos(x)", "arccos(", ")")
SHABLON(bnArktangens, "arctg(x)", "arctg(", ")")
SHABLON(bnOkruglitDoMenshego, "int(x;-1)", "int(", ";-1)")
SHABLON(bnOkruglitDoBligayshego, "int(x;0)", "int(", ";0)")
SHABLON(bnOkruglitDoBolshego, "int(x;1)", "int(", ";1)")
SHABLON(bnDrobnayaChast, "frac(x)", "frac(", ")")

TEKST(bnStepen, "^")
TEKST(bnDeleniePoModulyu, "%")
TEKST(bnSdvig, "<<")
TEKST(bnOtkritSkobku, "(")
TEKST(bnZakritSkobku, ")")
TEKST(bnPribavit, "+")
TEKST(bnOtnyat, "-")
TEKST(bnUmnogit, "*")
TEKST(bnRazdelit, "/")

void TfrmMain::bnArktangens2Click() {
    // The selection is the angle argument of both the cosine and the sine.
    QString s = mPeremennie->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    Vstavit(s.isEmpty() ? QStringLiteral("arctg2(cos(x);sin(x))")
                        : QStringLiteral("arctg2(cos(") + s + QStringLiteral(");sin(") + s +
                              QStringLiteral("))"));
    mPeremennie->setFocus();
}

void TfrmMain::bnCifraClick(int cifra) {
    Vstavit(QString(QLatin1Char("0123456789ABCDEF"[cifra])));
    mPeremennie->setFocus();
}

void TfrmMain::bnRazdelitelClick() {
    Vstavit(Simvol(vmSimvoli.Razdelitel));
    mPeremennie->setFocus();
}
void TfrmMain::bnPoryadokClick() {
    Vstavit(Simvol(vmSimvoli.Eksponenta));
    mPeremennie->setFocus();
}
void TfrmMain::bnOsnovanieClick() {
    Vstavit(Simvol(vmSimvoli.Osnovanie));
    mPeremennie->setFocus();
}

// The number buttons compute on the main thread, also while a run is in
// progress. A stopped run leaves CalcCancelled set until the next run starts;
// TBezOtmeny keeps that request from cutting these computations short.
// Building e or pi the first time in a radix may take seconds: the window
// shows the wait cursor meanwhile.
void TfrmMain::bnChisloEClick() {
    TBezOtmeny bezOtmeny;
    vmChislo x;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    vmKonstanta(&x, VM_K_E, static_cast<std::uint8_t>(PoluchitOsnovanie()));
    QApplication::restoreOverrideCursor();
    Vstavit(TekstChisla(x));
    mPeremennie->setFocus();
}
void TfrmMain::bnChisloPIClick() {
    TBezOtmeny bezOtmeny;
    vmChislo x;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    vmKonstanta(&x, VM_K_PI, static_cast<std::uint8_t>(PoluchitOsnovanie()));
    QApplication::restoreOverrideCursor();
    Vstavit(TekstChisla(x));
    mPeremennie->setFocus();
}
void TfrmMain::bnChisloClick() {
    TBezOtmeny bezOtmeny;
    TAnsiString s = VAnsi(ebZnachenie->text());
    vmChislo x;
    vmIzTeksta(&x, s);
    Vstavit(TekstChisla(x));
    mPeremennie->setFocus();
}
