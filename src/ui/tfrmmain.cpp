// The main window: construction of its controls, the settings handlers and
// the readers of the radix and the digit count. The buttons are in
// tfrmmainknopki.cpp, the calculation run in tfrmmainzapusk.cpp.
#include "ui/tfrmmain.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QShortcut>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "number/vm_mashinnye.h"
#include "text/kodirovka_ansi.h"
#include "ui/fayli.h"
#include "ui/podsvetka.h"
#include "ui/sohranenie.h"
#include "ui/soobsheniya.h"
#include "ui/tekstqt.h"

TfrmMain* frmMain = nullptr;

namespace {

void PokazatSoobshenie(const char* utf8) {
    ShowError(Utf8VAnsi(utf8));
}

// A plain panel: a widget that only groups and places its children.
QWidget* Panel(QWidget* roditel, const char* imya) {
    auto* p = new QWidget(roditel);
    p->setObjectName(QString::fromLatin1(imya));
    return p;
}

template <class W> W* Nazvat(W* w, const char* imya) {
    w->setObjectName(QString::fromLatin1(imya));
    return w;
}

} // namespace

TfrmMain::TfrmMain(TDvigatel& dvigatel, QWidget* parent) : QMainWindow(parent) {
    SozdatVoditelya(dvigatel);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Цифрамер"));
    SozdatElementy();
    fayli = new TFayli(*this);
    SozdatKnopki();
    NastroitOformlenie();
    UstanovitPoryadokTab();
    UstanovitDostupnost();
    UstanovitRazmeri();
    frmMain = this;
    UstanovitVladelcaOshibok(this, [this](QMessageBox* b) { return PriPokazeOshibki(b); });
    UstanovitPriemnikSostoyaniya([this](const TAnsiString& t) { DobavitVZhurnal(t.ToStd()); });
    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
    if (frmMain == this) {
        UstanovitVladelcaOshibok(nullptr, {});
        UstanovitPriemnikSostoyaniya({});
        frmMain = nullptr;
    }
}

void TfrmMain::VklyuchitSohranenie() {
    sohranenie_ = std::make_unique<TSohranenie>(*this);
    sohranenie_->Vosstanovit();
}

void TfrmMain::ZapisatSohranenie() {
    if (!sohranenie_) return;
    sohranenie_->Zapisat();
    sohranenie_.reset();
}

void TfrmMain::SozdatElementy() {
    SozdatMenu();
    SozdatKlient();
    SozdatGruppi();
    SoedinitPereklyuchateli();
    SozdatKlavishi();
}

void TfrmMain::SozdatMenu() {
    // Menu "Параметры" with its auto-check item.
    QMenuBar* menu = menuBar();
    menu->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* n1 = menu->addMenu(QStringLiteral("Параметры"));
    n1->setObjectName(QStringLiteral("N1"));
    miPromegutochnieRascheti = n1->addAction(QStringLiteral("Промежуточные расчёты"));
    miPromegutochnieRascheti->setObjectName(QStringLiteral("miPromegutochnieRascheti"));
    miPromegutochnieRascheti->setCheckable(true);
    n1->addSeparator();
    miIstoriya = n1->addAction(QStringLiteral("История вычислений"));
    miIstoriya->setObjectName(QStringLiteral("miIstoriya"));
    miIstoriya->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    frmIstoriya = new TfrmIstoriya(this);
    // A chosen result goes in at the caret of the definitions, as "x=y" puts
    // the shown result there.
    frmIstoriya->priVybore = [this](const QString& tekst) { VstavitIzIstorii(tekst); };
    connect(miIstoriya, &QAction::triggered, this, [this] { frmIstoriya->Pokazat(); });

    tmrPokazatOperacii = Nazvat(new QTimer(this), "tmrPokazatOperacii");
    tmrPokazatOperacii->setInterval(3000);
    tmrPokazatOperacii->setSingleShot(true);
    tmrPokazatOperacii->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(tmrPokazatOperacii, &QTimer::timeout, this, [this] { tmrPokazatOperaciiTimer(); });
}

// The definitions field with its highlighter and the handlers that end a
// failure's selection and the warnings' underlines.
void TfrmMain::SozdatPoleOpredeleniy(QWidget* klient, QVBoxLayout* vertikal) {
    pnPeremennie = Panel(klient, "pnPeremennie");
    auto* r1 = new QVBoxLayout(pnPeremennie);
    r1->setContentsMargins(8, 8, 8, 8);
    mPeremennie = Nazvat(new QPlainTextEdit(pnPeremennie), "mPeremennie");
    mPeremennie->setLineWrapMode(QPlainTextEdit::NoWrap);
    mPeremennie->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mPeremennie->setTabChangesFocus(true);
    podsvetka_ = new TPodsvetka(mPeremennie); // owned by the field's document
    // Any change of the selection ends the one that marks a failed line.
    connect(mPeremennie, &QPlainTextEdit::selectionChanged, this, [this] {
        videlenieNeudachi_ = {-1, -1};
    });
    // The warnings' underlines mark places in the text the run read: an
    // edit ends them (a change of formats only leaves the text as it was).
    connect(mPeremennie, &QPlainTextEdit::textChanged, this, [this] {
        if (!podcherkivaniya_.isEmpty() && mPeremennie->toPlainText() != opredeleniyaZapuska_)
            UbratPodcherkivaniya();
    });
    mPeremennie->viewport()->installEventFilter(this);
    r1->addWidget(mPeremennie);
    vertikal->addWidget(pnPeremennie, 1);
}

// The row of the name, "=" and the result.
void TfrmMain::SozdatStrokuZnacheniya(QWidget* klient, QVBoxLayout* vertikal) {
    pnPeremennayaIZnachenie = Panel(klient, "pnPeremennayaIZnachenie");
    pnPeremennayaIZnachenie->setFixedHeight(28);
    auto* r2 = new QHBoxLayout(pnPeremennayaIZnachenie);
    r2->setContentsMargins(0, 0, 0, 0);
    r2->setSpacing(0);
    pnPeremennaya = Panel(pnPeremennayaIZnachenie, "pnPeremennaya");
    pnPeremennaya->setFixedWidth(113);
    ebPeremennaya = Nazvat(new QLineEdit(QStringLiteral("y"), pnPeremennaya), "ebPeremennaya");
    ebPeremennaya->setGeometry(8, 3, 89, 22);
    lbRavno = Nazvat(new QLabel(QStringLiteral("="), pnPeremennaya), "lbRavno");
    lbRavno->setGeometry(101, 3, 10, 22);
    pnZnachenie = Panel(pnPeremennayaIZnachenie, "pnZnachenie");
    ebZnachenie = Nazvat(new QLineEdit(QStringLiteral("0"), pnZnachenie), "ebZnachenie");
    ebZnachenie->setGeometry(0, 3, 100, 22);
    pnZnachenie->installEventFilter(this);
    pnVichislit = Panel(pnPeremennayaIZnachenie, "pnVichislit");
    pnVichislit->setFixedWidth(6);
    r2->addWidget(pnPeremennaya);
    r2->addWidget(pnZnachenie, 1);
    r2->addWidget(pnVichislit);
    vertikal->addWidget(pnPeremennayaIZnachenie);
}

void TfrmMain::SozdatStrokuPreduprezhdeniya(QWidget* klient, QVBoxLayout* vertikal) {
    // The warnings' line, under the result field and as wide; it takes its
    // height from the definitions, and any text fits its width (cut short,
    // whole in the tooltip), so that the window's sizes stay as they are.
    pnPreduprezhdenie = Panel(klient, "pnPreduprezhdenie");
    pnPreduprezhdenie->setFixedHeight(18);
    auto* r3 = new QHBoxLayout(pnPreduprezhdenie);
    r3->setContentsMargins(113, 0, 6, 2);
    lbPreduprezhdenie = Nazvat(new QLabel(pnPreduprezhdenie), "lbPreduprezhdenie");
    lbPreduprezhdenie->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lbPreduprezhdenie->setTextFormat(Qt::PlainText);
    lbPreduprezhdenie->installEventFilter(this);
    r3->addWidget(lbPreduprezhdenie);
    vertikal->addWidget(pnPreduprezhdenie);
}

void TfrmMain::SozdatKlient() {
    // Client area, top to bottom: the definitions, the name and result row,
    // the buttons. Sizes in pixels at 96 dpi.
    // The client area scrolls only where the screen is too small for its
    // minimum size (a large scale factor); otherwise it fills the window.
    sbKlient = Nazvat(new QScrollArea(this), "sbKlient");
    sbKlient->setFrameShape(QFrame::NoFrame);
    sbKlient->setFocusPolicy(Qt::NoFocus); // only its client's controls take the focus
    sbKlient->setWidgetResizable(true);
    setCentralWidget(sbKlient);
    pnKlient = Panel(nullptr, "pnKlient");
    QWidget* klient = pnKlient;
    auto* vertikal = new QVBoxLayout(klient);
    vertikal->setContentsMargins(0, 0, 0, 0);
    vertikal->setSpacing(0);

    SozdatPoleOpredeleniy(klient, vertikal);

    SozdatStrokuZnacheniya(klient, vertikal);

    SozdatStrokuPreduprezhdeniya(klient, vertikal);

    pnKnopki = Panel(klient, "pnKnopki");
    pnKnopki->setFixedHeight(218);
    vertikal->addWidget(pnKnopki);
    sbKlient->setWidget(klient);
}

// The three group boxes of the button panel: radix, angle unit, rounding.
void TfrmMain::SozdatGruppi() {
    gbSistemaIschisleniya =
        Nazvat(new QGroupBox(QStringLiteral(" Основание системы исчисления "), pnKnopki),
               "gbSistemaIschisleniya");
    gbSistemaIschisleniya->setGeometry(8, 8, 297, 41);
    rbOsnovanie16 =
        Nazvat(new QRadioButton(QStringLiteral("16"), gbSistemaIschisleniya), "rbOsnovanie16");
    rbOsnovanie16->setGeometry(8, 18, 40, 18);
    rbOsnovanie10 =
        Nazvat(new QRadioButton(QStringLiteral("10"), gbSistemaIschisleniya), "rbOsnovanie10");
    rbOsnovanie10->setGeometry(50, 18, 40, 18);
    rbOsnovanie3 =
        Nazvat(new QRadioButton(QStringLiteral("3"), gbSistemaIschisleniya), "rbOsnovanie3");
    rbOsnovanie3->setGeometry(92, 18, 32, 18);
    rbOsnovanie2 =
        Nazvat(new QRadioButton(QStringLiteral("2"), gbSistemaIschisleniya), "rbOsnovanie2");
    rbOsnovanie2->setGeometry(126, 18, 32, 18);
    rbProizvolnoeOsnovanie =
        Nazvat(new QRadioButton(QStringLiteral("Другое:"), gbSistemaIschisleniya),
               "rbProizvolnoeOsnovanie");
    rbProizvolnoeOsnovanie->setGeometry(160, 18, 76, 18);
    ebOsnovanie = Nazvat(new QLineEdit(QStringLiteral("8"), gbSistemaIschisleniya), "ebOsnovanie");
    ebOsnovanie->setGeometry(238, 15, 51, 22);
    ebOsnovanie->setEnabled(false);
    ebOsnovanie->installEventFilter(this);

    gbEdiniciIzmereniyaUgla =
        Nazvat(new QGroupBox(QStringLiteral(" Единицы измерения угла "), pnKnopki),
               "gbEdiniciIzmereniyaUgla");
    gbEdiniciIzmereniyaUgla->setGeometry(312, 8, 217, 41);
    rbGradusi =
        Nazvat(new QRadioButton(QStringLiteral("Градусы"), gbEdiniciIzmereniyaUgla), "rbGradusi");
    rbGradusi->setGeometry(8, 18, 72, 18);
    rbRadiani =
        Nazvat(new QRadioButton(QStringLiteral("Радианы"), gbEdiniciIzmereniyaUgla), "rbRadiani");
    rbRadiani->setGeometry(80, 18, 72, 18);
    rbGradi = Nazvat(new QRadioButton(QStringLiteral("Грады"), gbEdiniciIzmereniyaUgla), "rbGradi");
    rbGradi->setGeometry(152, 18, 60, 18);

    gbOkruglenie = Nazvat(new QGroupBox(QStringLiteral(" Округление "), pnKnopki), "gbOkruglenie");
    gbOkruglenie->setGeometry(535, 8, 119, 41);
    lbKolichestvoRazryadov =
        Nazvat(new QLabel(QStringLiteral("Разрядов:"), gbOkruglenie), "lbKolichestvoRazryadov");
    lbKolichestvoRazryadov->setGeometry(8, 18, 60, 18);
    ebKolichestvoRasryadov =
        Nazvat(new QLineEdit(QStringLiteral("100"), gbOkruglenie), "ebKolichestvoRasryadov");
    ebKolichestvoRasryadov->setGeometry(70, 15, 41, 22);
    ebKolichestvoRasryadov->installEventFilter(this);
}

void TfrmMain::SoedinitPereklyuchateli() {
    // Radio handlers run when a button becomes checked, by the user or by code.
    auto naVkl = [this](QRadioButton* rb, void (TfrmMain::*f)()) {
        connect(rb, &QRadioButton::toggled, this, [this, f](bool vkl) {
            if (vkl) (this->*f)();
        });
    };
    naVkl(rbOsnovanie16, &TfrmMain::rbOsnovanie16Click);
    naVkl(rbOsnovanie10, &TfrmMain::rbOsnovanie10Click);
    naVkl(rbOsnovanie3, &TfrmMain::rbOsnovanie3Click);
    naVkl(rbOsnovanie2, &TfrmMain::rbOsnovanie2Click);
    naVkl(rbProizvolnoeOsnovanie, &TfrmMain::rbProizvolnoeOsnovanieClick);
    naVkl(rbGradusi, &TfrmMain::rbGradusiClick);
    naVkl(rbRadiani, &TfrmMain::rbRadianiClick);
    naVkl(rbGradi, &TfrmMain::rbGradiClick);
}

void TfrmMain::SozdatKlavishi() {
    // Keyboard: Ctrl+Return, Ctrl+Enter and F9 press "="; Esc presses "Стоп"
    // while a run is in progress.
    for (const QKeySequence& k :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter),
          QKeySequence(Qt::Key_F9)}) {
        auto* s = new QShortcut(k, this);
        connect(s, &QShortcut::activated, this, [this] { bnVichislit->click(); });
    }
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] {
        if (IdetVichislenie()) bnVichislit->click();
    });
}

QRect TfrmMain::RabochayaOblast() const {
    QScreen* ekran = screen();
    const QRect oblast = ekran != nullptr ? ekran->availableGeometry() : QRect(0, 0, 1024, 768);
    // Scaled, a frame of a few device pixels rounds to whole
    // device-independent pixels either way: keep one of them free all round.
    return devicePixelRatio() > 1 ? oblast.adjusted(1, 1, -1, -1) : oblast;
}

void TfrmMain::UstanovitRazmeri() {
    // Client area 680 by 398 below the menu bar. The smallest client area
    // shows every control whole: 664 wide (the buttons end at 656), as high
    // as the definitions field's smallest height, the result row and the
    // button panel need. Both are cut to the work area less a frame, so that
    // at a large scale factor the window still fits the screen.
    const int menu = menuBar()->heightForWidth(680) > 0 ? menuBar()->heightForWidth(680)
                                                        : menuBar()->sizeHint().height();
    const QSize minKlienta(664, pnKlient->layout()->minimumSize().height());
    // The keypad narrows down to MIN_SHIRINA_KNOPOK where the screen
    // leaves the window less than its smallest width.
    pnKlient->setMinimumSize(MIN_SHIRINA_KNOPOK, minKlienta.height());
    nuzhniyRazmer_ = QSize(680, 398 + menu);
    const QSize predel = RabochayaOblast().size() - RAMKA_S_ZAPASOM;
    minimalniyRazmer_ = minKlienta + QSize(0, menu);
    resize(nuzhniyRazmer_.boundedTo(predel));
    setMinimumSize(minimalniyRazmer_.boundedTo(predel));
}

void TfrmMain::VmestitVOblast(QSize ramka) {
    // Placed by the frame's top-left corner, the frame `ramka` larger than
    // the window: kept inside the work area wherever the work area allows.
    const QRect oblast = RabochayaOblast();
    const int x = std::clamp(pos().x(), oblast.left(),
                             std::max(oblast.left(), oblast.right() + 1 - width() - ramka.width()));
    const int y =
        std::clamp(pos().y(), oblast.top(),
                   std::max(oblast.top(), oblast.bottom() + 1 - height() - ramka.height()));
    if (QPoint(x, y) != pos()) move(x, y);
}

void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // The window manager's frame is known only once the window is on
    // screen: then fit the window to the work area by its real frame.
    if (!podognan_) QTimer::singleShot(300, this, [this] { PodognatPoRamke(); });
}

void TfrmMain::PodognatPoRamke() {
    if (podognan_ || !isVisible()) return;
    podognan_ = true;
    if (isMaximized() || isFullScreen()) return;
    const QSize ramka = frameGeometry().size() - size();
    const QSize predel = RabochayaOblast().size() - ramka;
    // A size cut to the work area before grows back to the largest that
    // fits with the real frame; one too large for it is cut.
    if (size() != nuzhniyRazmer_ || size() != size().boundedTo(predel)) {
        setMinimumSize(minimalniyRazmer_.boundedTo(predel));
        resize(nuzhniyRazmer_.boundedTo(predel));
    }
    VmestitVOblast(ramka);
}

void TfrmMain::FormCreate() {
    // Centred in the work area: (right edge - width) / 2, (bottom edge -
    // height) / 2, truncated toward zero; moved inside it where a window as
    // large as the work area would reach beyond.
    const QRect oblast = RabochayaOblast();
    move((oblast.x() + oblast.width() - width()) / 2,
         (oblast.y() + oblast.height() - height()) / 2);
    VmestitVOblast(RAMKA_S_ZAPASOM);
    rbOsnovanie10->setChecked(false);
    rbOsnovanie10->setChecked(true);
    rbGradusi->setChecked(false);
    rbGradusi->setChecked(true);
    mPeremennie->setFocus(); // typing right after the start goes into the definitions
}

bool TfrmMain::eventFilter(QObject* obj, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        // Leaving the field for another control of the window; a box or a
        // menu taking the focus for a while is no exit.
        const Qt::FocusReason prichina = static_cast<QFocusEvent*>(e)->reason();
        if (prichina != Qt::ActiveWindowFocusReason && prichina != Qt::PopupFocusReason) {
            // A custom radix field that loses the focus because a radix
            // button has just disabled it is not left by the user: applying
            // its text would check "Другое:" again over the chosen radix.
            if (obj == ebOsnovanie && ebOsnovanie->isEnabled())
                PriVihodeIzPolya(ebOsnovanie, prichina);
            if (obj == ebKolichestvoRasryadov) PriVihodeIzPolya(ebKolichestvoRasryadov, prichina);
        }
    } else if (e->type() == QEvent::Resize && obj == pnKnopki) {
        RazlozhitKnopki();
    } else if (e->type() == QEvent::KeyPress &&
               (obj->parent() == pnKnopki || qobject_cast<QRadioButton*>(obj) != nullptr)) {
        if (PereytiPoKnopkam(static_cast<QWidget*>(obj), static_cast<QKeyEvent*>(e)->key()))
            return true;
    } else if (e->type() == QEvent::Resize && obj == pnZnachenie) {
        pnZnachenieResize();
    } else if (e->type() == QEvent::Resize && obj == lbPreduprezhdenie) {
        PodognatPreduprezhdenie();
    } else if (e->type() == QEvent::ToolTip && obj == mPeremennie->viewport()) {
        // An underlined warning tells its text where the mouse rests on it.
        auto* h = static_cast<QHelpEvent*>(e);
        const QString tekst = PreduprezhdenieV(h->pos());
        if (tekst.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(h->globalPos(), tekst, mPeremennie->viewport());
        return true;
    }
    return QMainWindow::eventFilter(obj, e);
}

void TfrmMain::pnZnachenieResize() {
    ebZnachenie->setGeometry(0, ebZnachenie->y(), pnZnachenie->width(), ebZnachenie->height());
}

bool TfrmMain::UstanovitOsnovanie(std::int32_t osnovanie) {
    const auto r = static_cast<std::uint32_t>(osnovanie);
    if (r > 36) {
        PokazatSoobshenie("Основание системы исчисления не должно быть больше 36");
        return false;
    }
    if (r < 2) {
        PokazatSoobshenie("Основание системы исчисления не должно быть меньше 2");
        return false;
    }
    for (std::uint32_t c = 0; c < 16; ++c) bnCifri[c]->setEnabled(c < r);
    // Literals are checked as they are typed against the radix chosen now.
    podsvetka_->UstanovitOsnovanie(osnovanie);
    return true;
}

void TfrmMain::rbOsnovanie16Click() {
    ebOsnovanie->setEnabled(false);
    UstanovitOsnovanie(16);
}
void TfrmMain::rbOsnovanie10Click() {
    ebOsnovanie->setEnabled(false);
    UstanovitOsnovanie(10);
}
void TfrmMain::rbOsnovanie3Click() {
    ebOsnovanie->setEnabled(false);
    UstanovitOsnovanie(3);
}
void TfrmMain::rbOsnovanie2Click() {
    ebOsnovanie->setEnabled(false);
    UstanovitOsnovanie(2);
}

void TfrmMain::rbProizvolnoeOsnovanieClick() {
    ebOsnovanie->setEnabled(true);
    const std::string b = VBaiti(ebOsnovanie->text());
    double znachenie = 0;
    if (TekstVChislo(&znachenie, b.data(), int(b.size()), true) != TVCH_USPEH) return;
    const std::int32_t r = Okruglit(znachenie);
    if (UstanovitOsnovanie(r)) {
        ebOsnovanieTag = r;
        ebOsnovanie->setText(VQString(CeloeVStroku(r)));
    } else {
        ebOsnovanie->setText(VQString(CeloeVStroku(ebOsnovanieTag)));
    }
}

void TfrmMain::ebOsnovanieExit() {
    if (rbProizvolnoeOsnovanie->isChecked())
        rbProizvolnoeOsnovanieClick();
    else
        rbProizvolnoeOsnovanie->setChecked(true); // runs its handler
}

void TfrmMain::ebKolichestvoRasryadovExit() {
    ebKolichestvoRasryadov->setText(VQString(CeloeVStroku(PoluchitRazryadi())));
}

void TfrmMain::rbGradusiClick() {
    UstanovitEdinicuUgla(TEdinicaUgla::Gradusi);
}
void TfrmMain::rbRadianiClick() {
    UstanovitEdinicuUgla(TEdinicaUgla::Radiani);
}
void TfrmMain::rbGradiClick() {
    UstanovitEdinicuUgla(TEdinicaUgla::Gradi);
}
