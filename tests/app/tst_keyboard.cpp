// The program from the keyboard alone, as an operator works it: menus by
// their Alt letters and F10, the shortcuts, Tab, Enter and Esc in every
// window, F2 in the date and time fields. No mouse: a window that goes
// leaves the one under it active, as the window manager does.
#include "pickoffice.h"

#include <QMenuBar>

using archive::File;

namespace {

QString focused()
{
    QWidget *f = QApplication::focusWidget();
    if (f && !f->objectName().isEmpty()) return f->objectName();
    return f && f->parentWidget() ? f->parentWidget()->objectName() : QString(); // a drop-down list's line
}

// Runs the operator's keys of `script`, words apart: Tab Backtab Enter Esc
// Space Down Right Del F1 F2 F5 F10, a letter in an open menu, ^X for Ctrl+X,
// Alt+X; "=text" types the text ('_' a blank); ">name" Tabs until the focus
// is on `name`, "?name" finds it there; "~text" goes down the focused list
// to the line that holds the text; "#Window" waits for the window to be the
// active one; "+" answers Yes to the next question. False at the first word
// that does not go as written.
bool keys(PickOffice &o, const QString &script)
{
    static const QMap<QString, Qt::Key> named = {{"Tab", Qt::Key_Tab}, {"Backtab", Qt::Key_Backtab}, {"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}, {"Space", Qt::Key_Space}, {"Down", Qt::Key_Down}, {"Right", Qt::Key_Right}, {"Del", Qt::Key_Delete}, {"F1", Qt::Key_F1}, {"F2", Qt::Key_F2}, {"F5", Qt::Key_F5}, {"F10", Qt::Key_F10}};
    auto press = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QWidget *target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, k, m);
    };
    auto letter = [](QChar c) { return Qt::Key(c.toUpper().unicode()); };
    for (const QString &word : script.split(' ', Qt::SkipEmptyParts)) {
        bool ok = true;
        const QString rest = word.mid(1);
        if (named.contains(word)) press(named[word]);
        else if (word == "+") o.fake.prompts.answers.enqueue(true);
        else if (word.size() == 1) press(letter(word[0]));
        else if (word.startsWith('^')) press(letter(word[1]), Qt::ControlModifier);
        else if (word.startsWith("Alt+")) press(letter(word[4]), Qt::AltModifier);
        else if (word[0] == '=') QTest::keyClicks(QApplication::focusWidget(), QString(rest).replace('_', ' '));
        else if (word[0] == '?') ok = focused() == rest;
        else if (word[0] == '>') {
            for (int i = 0; i < 30 && focused() != rest; ++i) press(Qt::Key_Tab);
            ok = focused() == rest;
        } else if (word[0] == '~') {
            auto *list = qobject_cast<QAbstractItemView *>(QApplication::focusWidget());
            for (int i = 0; list && i < 50 && !list->currentIndex().data().toString().contains(rest); ++i) press(Qt::Key_Down);
            ok = list && list->currentIndex().data().toString().contains(rest);
        } else if (word[0] == '#') {
            QCoreApplication::processEvents(); // what the window system had still to tell
            QWidget *w = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->objectName() == rest) w = top;
            if (w && QApplication::activeWindow() != w) w->activateWindow();
            ok = w && QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
            QCoreApplication::processEvents(); // what its activation left to do
        } else ok = false;
        if (!ok) return qWarning("%s: focus on %s", qPrintable(word), qPrintable(focused())), false;
    }
    return true;
}

// Opens the entry's window by its letters, as its menus show them.
QString lettersOf(const char *entry)
{
    auto letter = [](const QString &label) { return label.at(label.indexOf('&') + 1); };
    const MenuEntry *e = menuEntry(entry);
    QString out = QString(letter(e->label));
    for (QString menu = e->menu; !menu.isEmpty();)
        for (const MenuFolder &f : menuFolders())
            if (menu == f.name) out = QString(letter(f.label)) + ' ' + out, menu = f.parent;
    return "#Formvelmo Alt+" + out + " #" + e->window;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void menusHaveTheirLetters()
    {
        PickOffice o;
        QList<QWidget *> menus{o.main->menuBar()};
        for (QMenu *m : o.main->findChildren<QMenu *>()) menus << m;
        for (QWidget *menu : menus) {
            QSet<QChar> letters;
            for (QAction *a : menu->actions()) {
                const qsizetype at = a->text().indexOf('&');
                QVERIFY2(a->text().count('&') == 1 && !letters.contains(a->text().at(at + 1).toLower()), qPrintable(a->text()));
                letters << a->text().at(at + 1).toLower();
            }
        }
    }

    // Tab goes top to bottom, left to right, past the helper buttons, from
    // the first field, where the window opens, also when chosen again open;
    // Esc leaves it.
    void tabChain_data()
    {
        QTest::addColumn<QStringList>("chain"); // the menu entry, then its window's chain
        for (const char *row : {"mnassains cmbassdenom assindir asscomune assprov asstel assfax assemail asscampo assnumvol cmdassregistra cmdassesci cmdcercaass",
                                "mnautains cmbass cmbdes campo dataar oraar datapa orapa note cmbstato cmdregistra cmdesci cmdcercaass",
                                "mnatrains cmbass cmbdes cmbstato qta cmdregistra cmdesci cmdcercaass",
                                "mnattains numprot datari orari datain orain datafi orafi tipoatt loc ric note cmdattr cmdauto cmdvol List1 cmdstacc cmdregistra cmdstampa cmdesci",
                                "mnassvel cerca cmdcerca List1 cmdstampa cmdlistesci", "mnautvelg List1 cmdstampa cmdlistesci", "mnatrvass cmbcerca cmdcerca List1 cmdstampa cmdlistesci",
                                "mnattvgen cerca cmdcerca List1 cmdstampa cmdlistesci", "mnrapimpiego cmbass List1 cmdstampa cmdesporta cmdlistesci", "mnrippro numprot cmdmodifica cmdesci", "mnemergenza emergenzat cmdok"})
            QTest::newRow(QByteArray(row).split(' ').first().constData()) << QString(row).split(' ');
    }

    void tabChain()
    {
        QFETCH(QStringList, chain);
        PickOffice o;
        const QString open = lettersOf(qPrintable(chain.takeFirst()));
        QVERIFY(keys(o, open + " ?" + chain.join(" Tab ?") + " Tab ?" + chain[0] + " Backtab ?" + chain.last() + " " + open + " ?" + chain[0] + " Esc #Formvelmo"));
    }

    // Register, close, cancel: activities with equipment, a vehicle, counted
    // and named volunteers.
    void activities()
    {
        PickOffice o;
        QVERIFY(keys(o, "#Formvelmo ^N #Formattivita ?numprot Tab F2 >tipoatt =incendio Tab =roma Tab =rossi >cmdattr Enter #Formattrlist ~TENDA Enter #Formris ?qta ^A =3 Enter #Formattrlist Esc #Formattivita ?cmdattr Tab Enter #Formautolist ~JEEP Enter #Formris Enter #Formautolist Esc #Formattivita >cmdvol Enter #Formlist ?cerca Down ~ALFA Enter #Formris ^A =4 >cmdnomi Enter #Formsto ~LUCA Space Enter #Formris >cmdaggiungi Enter #Formlist Esc #Formattivita >cmdregistra Enter"));
        QCOMPARE(o.read(File::Automezzi), crlf({kJeep.chopped(1) + "A", kAmbulanza}));
        // Ctrl+N over a registered activity starts a new one at once.
        QVERIFY(keys(o, "F1 ^N #Formattivita ?numprot Esc #Formvelmo"));
        QCOMPARE(o.fake.help.calls, QStringList{"velmora.hlp"});
        QVERIFY(keys(o, "Alt+T A F #Formattlist ?cerca Down ~INCENDIO Enter #Formattivita ?numprot >datain F2 >datafi ^D Enter Esc #Formattlist Esc"));
        QVERIFY(keys(o, "#Formvelmo ^N #Formattivita Tab F2 >tipoatt =frana Tab =pisa Tab =verdi >cmdattr Enter #Formattrlist ~POMPA Enter #Formris ^A =2 Enter #Formattrlist Esc #Formattivita >tipoatt Enter Esc"));
        QVERIFY(keys(o, "#Formvelmo F10 Right Right Right Right Right A A #Formattlist Down ~FRANA Enter #Formattivita + Enter Esc"));
        QCOMPARE(o.fake.prompts.messages(), QStringList({kInserted, kModified, kInserted, QString::fromUtf8("Attività annullata correttamente.")}));
        QCOMPARE(o.read(File::Attivita), crlf({" 7 ,03/03/2025,09.05,03/03/2025,09.05,03/03/2025,09.05,INCENDIO,ROMA,ROSSI,,C", " 8 ,03/03/2025,09.05,,,,,FRANA,PISA,VERDI,,S"}));
        QCOMPARE(o.read(File::Risorse), crlf({" 7 ,ATTR,3,ALFA,TENDA,L", " 7 ,AUTO,1,ALFA,JEEP,L", " 7 ,VOL.,4,ALFA,,L", " 7 ,VOL>,0,ALFA,LUCA BIANCHI,L", " 8 ,ATTR,2,ALFA,POMPA,L"}));
        // Everything given back by closing and cancelling.
        QCOMPARE(o.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 ", "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));
        QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    }

    // A record in each register; errors put the focus on their field;
    // Enter in a search box is "Cerca"; F2, Ctrl+D, F5, Canc; Esc.
    void walks_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ass") << lettersOf("mnassains") + " =GAMMA Tab =VIA_TRE >asscomune =LUCCA >assnumvol =molti >asscomune Enter ?assnumvol =7 Enter ?cmbassdenom Esc" << int(File::Associazioni) << crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 ", "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 ", "GAMMA,VIA TRE,LUCCA,,,,,,7,7"});
        QTest::newRow("auto") << lettersOf("mnautains") + " =AL Enter Down Tab =FURGONE >dataar F2 >datapa ^D >oraar F2 >cmbstato =X Enter ?cmbstato =L Enter Esc" << int(File::Automezzi) << crlf({"ALFA,FURGONE,,03/03/2025,09.05,03/03/2025,09.05,,L", kJeep, kAmbulanza});
        QTest::newRow("attr") << lettersOf("mnatrains") + " Down >qta Enter ?cmbdes =BRANDA >cmbstato =L Tab =4 Enter Esc" << int(File::Attrezzature) << crlf({"ALFA,BRANDA,L,4", "ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "});
        QTest::newRow("prot") << lettersOf("mnrippro") + " =sei Tab ?cmdmodifica Enter ?numprot =41 Enter =9 Esc" << int(File::NumeroProt) << QByteArray(" 41 \r\n");
        QTest::newRow("emergenza") << lettersOf("mnemergenza") + " =SISMA Esc " + lettersOf("mnemergenza") + " =SISMA Enter" << int(File::Emergenza) << QByteArray("SISMA\r\n");
        QTest::newRow("search") << lettersOf("mnautvric") + " ?cmbcerca =AMB Enter >List1 Down ~AMBULANZA Esc" << int(File::Automezzi) << crlf({kJeep, kAmbulanza});
        QTest::newRow("resource") << "#Formvelmo ^N #Formattivita >cmdattr Enter #Formattrlist ~TENDA Enter #Formris ^A =9 Enter ?qta ^A =1 Enter #Formattrlist Esc #Formattivita >List1 + Del ?List1" << int(File::Attrezzature) << crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "});
    }

    void walks()
    {
        QFETCH(QString, script);
        QFETCH(int, file);
        QFETCH(QByteArray, bytes);
        PickOffice o;
        o.write(File::Attivita, crlf({"7,03/03/2025,09.05,,,,,INCENDIO,ROMA,ROSSI,,C"}));
        QVERIFY(keys(o, script));
        QCOMPARE(o.read(File(file)), bytes);
    }

    // F5 reads the lists again: the main ones, and a list with its search.
    void f5()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({"7,03/03/2025,09.05,,,,,INCENDIO,ROMA,ROSSI,,C"}));
        QVERIFY(keys(o, lettersOf("mnattvchi") + " =FRANA Enter"));
        o.write(File::Attivita, crlf({"7,03/03/2025,09.05,,,,,INCENDIO,ROMA,ROSSI,,C", "8,03/03/2025,09.05,,,,,FRANA,PISA,VERDI,,A"}));
        QVERIFY(keys(o, "F5 Down ~FRANA Esc #Formvelmo F5"));
        QCOMPARE(items(child<LineList>(o.main, "List1")), QStringList{"     8 03/03/2025 09.05 PISA FRANA"});
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
