// Pictures of every window of velmora for the README and the guide.
//
//   screenshots <example archives folder> <output folder> [--menu]
//
// Copies the example archives into a temporary working folder, starts the
// program's windows there as the user would open them (menu entries, clicks
// on list lines, buttons) and saves each window as <name>.png with
// QWidget::grab(). Run it under a real X server (`make screenshots` uses
// Xvfb with a 1366×768 screen) so that windows are drawn with the platform's
// own style and fonts.
//
// Every window must fit a 1366×768 screen as it opens: its frame (title bar
// and borders included, as ui::frameSize reckons them) no larger than
// 1366×728, the screen less a panel of 40 pixels, inside the room of the
// screen and, but for the main window, clear of the main window's menu bar.
// The size of each frame is written out; a window that does not fit is
// named, and the run ends with a failure.
//
// Every window has one line in the table at the bottom of this file; the
// windows of the menu are opened through their entries of the menu table.
// With --menu, every entry of the menu table that opens a window is pictured
// too, as <entry>.png. Message boxes and file dialogs are never shown:
// questions are answered No and messages are written to the standard error.

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "session/context.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "app/menutable.h"
#include "ui/placement.h"
#include "ui/windows.h"
#include "associations/formass.h"
#include "equipment/formattr.h"
#include "doubles.h"
#include "app/qtplatform.h"
#include "vehicles/formauto.h"

#include "associations/formlist.h"
#include "equipment/formattrlist.h"
#include "activities/formris.h"
#include "activities/formsto.h"
#include "archive/diary.h"
#include "reports/formdiario.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"
#include "vehicles/formautolist.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QTest>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <functional>
#include <vector>

namespace {

QTextStream err(stderr);

// The frame of every window fits this: a 1366×768 screen less a panel.
const QSize kFits(1366, 728);

// Questions are answered No, dialogs cancelled; nothing blocks the run.
class SilentPrompts : public Prompts {
public:
    void info(const QString &text) override { err << "  messaggio: " << text << '\n'; }
    bool question(const QString &text) override
    {
        err << "  domanda (risposta No): " << text << '\n';
        return false;
    }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

// The running program, and what the table's lines do with it.
class Session {
public:
    Session(Context &context, Formvelmo *window) : ctx(context), main(window) {}

    Context &ctx;
    Formvelmo *main;

    // Lets the windows draw and run their activation work.
    void settle(int ms = 300)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
    }

    // The user chooses a menu entry of the main window: the window its line
    // of the menu table opens, if any.
    QWidget *menu(const char *name)
    {
        QAction *a = main->action(QString::fromLatin1(name));
        const MenuEntry *e = menuEntry(QString::fromLatin1(name));
        if (!a || !e) {
            err << "  voce di menu assente: " << name << '\n';
            return nullptr;
        }
        a->trigger();
        settle();
        return *e->window ? topLevel(e->window) : nullptr;
    }

    // The user clicks a button of a window.
    void click(QWidget *window, const char *button)
    {
        auto *b = window ? window->findChild<QAbstractButton *>(QString::fromLatin1(button))
                         : nullptr;
        if (!b) {
            err << "  pulsante assente: " << button << '\n';
            return;
        }
        b->click();
        settle();
    }

    // The user chooses entry `index` of a drop-down list.
    void choose(QWidget *window, const char *combo, int index)
    {
        auto *c = window ? window->findChild<QComboBox *>(QString::fromLatin1(combo)) : nullptr;
        if (!c || index >= c->count()) {
            err << "  elenco assente o vuoto: " << combo << '\n';
            return;
        }
        c->setCurrentIndex(index);
        emit c->activated(index);
        emit c->textActivated(c->itemText(index));
        settle();
    }

    // The user clicks line `row` of a list, whatever kind of list it is.
    void line(QWidget *window, const char *list, int row)
    {
        auto *view = window ? window->findChild<QAbstractItemView *>(QString::fromLatin1(list))
                            : nullptr;
        const QModelIndex index = view && view->model() ? view->model()->index(row, 0)
                                                        : QModelIndex();
        if (!index.isValid()) {
            err << "  lista assente o troppo corta: " << list << '\n';
            return;
        }
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        settle();
    }

    template <class W> W *window() { return ctx.windows->existing<W>(); }

    QWidget *topLevel(const char *name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
        return nullptr;
    }

    // Hides every window but the main one, so that the next picture starts
    // from the main window as the user would.
    void backToMain()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != main && w->isVisible()) w->hide();
        present(main);
        settle();
    }
};

struct Shot {
    const char *file;                         // docs/<file>.png
    std::function<QWidget *(Session &)> open; // opens the window, returns it
};

// One line per window, in the order a user meets them.
const std::vector<Shot> &shots()
{
    static const std::vector<Shot> table = {
        {"formvelmo", [](Session &s) { return s.main; }},
        {"emergenzaform", [](Session &s) { return s.menu("mnemergenza"); }},
        {"formass",
         [](Session &s) {
             QWidget *w = s.menu("mnassamod");
             s.choose(w, "cmbassdenom", 0);
             return w;
         }},
        {"formauto",
         [](Session &s) {
             QWidget *w = s.menu("mnautamod");
             s.choose(w, "cmbass", 0);
             s.choose(w, "cmbdes", 0);
             return w;
         }},
        {"formattr",
         [](Session &s) {
             QWidget *w = s.menu("mnatramod");
             s.choose(w, "cmbass", 1);
             s.choose(w, "cmbdes", 0);
             return w;
         }},
        {"formattivita",
         [](Session &s) {
             s.line(s.main, "List2", 0);
             return s.window<Formattivita>();
         }},
        {"formattlist", [](Session &s) { return s.menu("mnattvgen"); }},
        {"formlist", [](Session &s) { return s.menu("mnassvel"); }},
        {"formautolist", [](Session &s) { return s.menu("mnautvelg"); }},
        {"formattrlist", [](Session &s) { return s.menu("mnatrvelg"); }},
        {"formris",
         [](Session &s) {
             s.line(s.main, "List2", 0);
             s.click(s.window<Formattivita>(), "cmdvol");
             s.line(s.window<Formlist>(), "List1", 2);
             return s.window<Formris>();
         }},
        {"formsto",
         [](Session &s) {
             s.line(s.main, "List2", 0);
             s.click(s.window<Formattivita>(), "cmdvol");
             s.line(s.window<Formlist>(), "List1", 2);
             s.click(s.window<Formris>(), "cmdnomi");
             return s.window<Formsto>();
         }},
        {"formrapquadro", [](Session &s) { return s.menu("mnrapquadro"); }},
        {"formrapimpiego", [](Session &s) { return s.menu("mnrapimpiego"); }},
        {"formrappresenze", [](Session &s) { return s.menu("mnrappresenze"); }},
        {"formdiario",
         [](Session &s) {
             for (const char *note :
                  {"Telefonata del sindaco di Vicchio: strada provinciale chiusa al km 12",
                   "Squadra ALFA rientrata al campo, nessun ferito",
                   "Rettifica della riga 1: la strada è chiusa al km 14"})
                 diary::addNote(s.ctx.folder, QString::fromUtf8(note));
             return s.menu("mnrapdiario");
         }},
        {"formnota",
         [](Session &s) {
             QWidget *w = s.menu("mnrapnota");
             if (auto *f = w ? w->findChild<QLineEdit *>("txtnota") : nullptr)
                 f->setText(
                     QStringLiteral("Messaggio della prefettura: allerta arancione fino alle 20"));
             return w;
         }},
        {"formprot", [](Session &s) { return s.menu("mnrippro"); }},
        {"guida",
         [](Session &s) {
             s.menu("mnhelp");
             return s.topLevel("Formhelp");
         }},
    };
    return table;
}

// Whether `w` fits a 1366×768 screen as it opened; says why not.
bool fits(const QWidget *w, const Formvelmo *main)
{
    const QSize frame = ui::frameSize(w);
    const QRect placed(w->pos(), frame);
    err << "  cornice " << frame.width() << "x" << frame.height() << " in " << placed.x() << ","
        << placed.y() << '\n';
    bool ok = true;
    if (frame.width() > kFits.width() || frame.height() > kFits.height()) {
        err << "  NON ENTRA: la cornice è più grande di " << kFits.width() << "x" << kFits.height()
            << " (uno schermo 1366x768 senza il pannello)\n";
        ok = false;
    }
    if (!ui::room(w).contains(placed)) {
        err << "  NON ENTRA: la finestra esce dallo spazio dello schermo\n";
        ok = false;
    }
    const QMenuBar *bar = main->menuBar();
    if (w != main && placed.intersects(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size()))) {
        err << "  la finestra copre il menu della finestra principale\n";
        ok = false;
    }
    return ok;
}

bool copyExamples(const QString &from, const QString &to)
{
    const QDir source(from);
    const QStringList names = source.entryList(QDir::Files);
    if (names.isEmpty()) return false;
    for (const QString &name : names)
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name))) return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    installItalianTexts();
    const QStringList args = QApplication::arguments();
    const bool everyEntry = args.size() == 4 && args[3] == QLatin1String("--menu");
    if (args.size() != 3 && !everyEntry) {
        err << "uso: screenshots <cartella archivi di esempio> <cartella immagini> [--menu]\n";
        return 2;
    }
    const QString examples = QFileInfo(args[1]).absoluteFilePath();
    const QString output = QFileInfo(args[2]).absoluteFilePath();
    QTemporaryDir folder;
    if (!folder.isValid() || !copyExamples(examples, folder.path())) {
        err << "archivi di esempio non copiati da " << examples << '\n';
        return 1;
    }
    if (!QDir().mkpath(output)) {
        err << "cartella " << output << " non creata\n";
        return 1;
    }
    QDir::setCurrent(folder.path());
    // The windows keep their places in a configuration folder of this run,
    // never the user's: every window opens as it does the first time.
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QSize screen = QGuiApplication::primaryScreen()->size();
    if (screen != QSize(1366, 768))
        err << "attenzione: lo schermo è " << screen.width() << "x" << screen.height()
            << ", non 1366x768\n";

    SilentPrompts prompts;
    QtClock clock;
    QtBusyCursor busy;
    QtLinePrinter printer(prompts, archive::WorkingFolder(folder.path()));
    printer.setPdfOutput(QDir(folder.path()).filePath(QStringLiteral("stampa.pdf")));
    QtHelpViewer help(prompts);

    Context ctx;
    ctx.folder = archive::WorkingFolder(folder.path());
    ctx.platform = {&prompts, &clock, &busy, &printer, &help};
    Windows windows(ctx);
    Formvelmo *main = windows.get<Formvelmo>();
    main->setQuitHandler([] {});
    present(main);

    Session session(ctx, main);
    session.settle(800);

    std::vector<Shot> pictures = shots();
    if (everyEntry)
        for (const MenuEntry &e : menuTable())
            if (*e.window)
                pictures.push_back({e.name, [&e](Session &s) { return s.menu(e.name); }});
    int missing = 0, tooLarge = 0;
    for (const Shot &shot : pictures) {
        err << shot.file << '\n';
        QWidget *w = shot.open(session);
        if (!w || !w->isVisible()) {
            err << "  finestra non aperta\n";
            ++missing;
            session.backToMain();
            continue;
        }
        w->raise();
        w->activateWindow();
        session.settle();
        if (!fits(w, main)) ++tooLarge;
        const QString file = QDir(output).filePath(QString::fromLatin1(shot.file) + ".png");
        if (!w->grab().save(file, "PNG")) {
            err << "  immagine non salvata: " << file << '\n';
            ++missing;
        }
        session.backToMain();
    }
    if (tooLarge > 0)
        err << "ERRORE: " << tooLarge << " finestre non entrano in uno schermo 1366x768\n";
    return missing == 0 && tooLarge == 0 ? 0 : 1;
}
