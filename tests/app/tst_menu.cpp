// Each menu entry that opens a window sets, every time, its mode, title and
// button caption, after the registers' rollback point if the menu table says so.
#include "registerdesk.h"

#include "app/formvelmo.h"

#include <QAction>
#include <QPushButton>

namespace {
MenuEntry::Mode modeOf(const Globals &g, const QString &window)
{
    const std::pair<const char *, MenuEntry::Mode> modes[] = {
        {"Formass", g.modoass}, {"Formauto", g.modoauto}, {"Formattr", g.modoattr}, {"Formlist", g.modoasslist}, {"Formautolist", g.modoautolist}, {"Formattrlist", g.modoattrlist}, {"Formattlist", g.modoattlist}, {"Formattivita", g.modoatt}};
    for (const auto &[name, mode] : modes)
        if (window == QLatin1String(name)) return mode;
    return {};
}
} // namespace

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void entryOpensItsWindow_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(menuTable().size()); ++i)
            if (*menuTable()[i].window) QTest::newRow(menuTable()[i].name) << i;
    }

    void entryOpensItsWindow()
    {
        QFETCH(int, row);
        const MenuEntry &e = menuTable()[row];
        TestOffice o;
        o.write(archive::File::Associazioni, "ASS\r\n");
        QAction *action = o.windows->get<Formvelmo>()->action(e.name);
        action->trigger();
        QCOMPARE(o.exists(archive::File::AssociazioniSav), e.snapshotFirst);
        QWidget *w = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == e.window && top->isVisible()) w = top;
        QVERIFY(w);
        const QString window = e.window;
        auto *button = w->findChild<QPushButton *>(window == "Formass"       ? "cmdassregistra"
                                                   : window.endsWith("list") ? "cmdcerca"
                                                                             : "cmdregistra");
        for (int time = 0; time < 2; ++time) {
            QVERIFY(modeOf(o.ctx.g, window) == e.mode);
            if (!e.title.isEmpty()) QCOMPARE(w->windowTitle(), e.title);
            if (!e.caption.isEmpty()) QCOMPARE(button->isVisible() ? button->text() : "", e.caption);
            w->setWindowTitle("altro");
            if (button) button->setText("altro"), button->hide();
            action->trigger();
        }
    }

    // What a window holds typed and not registered stays when the user comes
    // back to it; its entry starts it anew only once the user abandons it.
    void typingKeptUntilAbandoned()
    {
        const QStringList asked{"I dati scritti per l'associazione NUOVA non sono registrati. Li abbandono?",
                                "I dati scritti per l'automezzo NUOVO MEZZO di ALFA non sono registrati. Li abbandono?",
                                "I dati scritti per l'attrezzatura NUOVO ATTREZZO di ALFA non sono registrati. Li abbandono?",
                                QString::fromUtf8("La nuova attività numero 8 ha dati non registrati. Li abbandono?")};
        for (int i = 0; i < int(registerWindows().size()); ++i) {
            const WindowRow &row = registerWindows()[size_t(i)];
            MainOffice o;
            seedOffice(o);
            QWidget *w = row.open(o);
            fillGood(w, row);
            Typed good;
            for (auto it = row.good.begin(); it != row.good.end(); ++it) good.append({it.key(), it.value()});
            o.activate(o.main);
            o.activate(w);
            QCOMPARE(shownIn(w, good), good);
            o.fake.prompts.answers << false << true;
            row.open(o);
            QCOMPARE(shownIn(w, good), good);
            row.open(o);
            QCOMPARE(o.fake.prompts.questions(), QStringList(2, asked.at(i)));
            QVERIFY(shownIn(w, good) != good);
        }
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
