// The windows follow what another copy writes in the folder, keeping what the operator chose and typed.
#include "registerdesk.h"

#include "activities/lists.h"
#include "archive/io.h"
#include "ui/folderwatch.h"

#include <QScrollBar>
#include <QSignalSpy>

using archive::File;

// Another copy replaces a file as this one does: a temporary file renamed over it.
static bool byAnotherDesk(const TestFolder &o, File f, const QByteArray &bytes) { return archive::replaceFile(o.path(f), bytes).ok(); }

class TestFolderWatch : public QObject {
    Q_OBJECT
private slots:
    void toldOnceOnlyForDataFiles()
    {
        TestFolder o;
        FolderWatch watch(o.ctx.folder);
        QSignalSpy told(&watch, &FolderWatch::changed), noted(&watch, &FolderWatch::diaryChanged);
        for (const char *other : {"associazioni.csv.new", "velmora.lck", "velmora.jnl", "sospese2.dat"}) o.write(other, "X\r\n");
        QTest::qWait(2600);
        QCOMPARE(told.count(), 0);
        QVERIFY(QFile::remove(o.path("velmora.lck"))); // a change lock no desk holds
        QVERIFY(byAnotherDesk(o, File::Associazioni, "ALFA\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(told.count(), 1, 5000);
        // A note changes the diary alone.
        QVERIFY(diary::addNote(o.ctx.folder, "NOTA").ok());
        QTRY_VERIFY_WITH_TIMEOUT(noted.count() > 0, 5000);
        QTest::qWait(2600);
        QCOMPARE(told.count(), 1);
    }

    void mainListsKeepLineAndScroll()
    {
        MainOffice o;
        QList<QByteArray> lines;
        for (int i = 1; i <= 30; ++i) lines << QByteArray::number(i) + ",01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A";
        o.write(File::Attivita, crlf(lines));
        auto *list1 = o.main->findChild<LineList *>("List1");
        QTRY_COMPARE_WITH_TIMEOUT(list1->count(), 30, 5000);
        o.windows->get<emergenzaform>()->hide();
        o.activate(o.main);
        list1->setFocus();
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}) QTest::keyClick(list1, key);
        const int scrolled = list1->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        lines.prepend("31,01/03/2025,10.00,,,,,FRANA,BOSCO,PREFETTO,,A");
        QVERIFY(byAnotherDesk(o, File::Attivita, crlf(lines)));
        QTRY_COMPARE_WITH_TIMEOUT(list1->count(), 31, 5000);
        QCOMPARE(activities::protocolOf(list1->text(list1->currentRow())), "27");
        QCOMPARE(list1->verticalScrollBar()->value(), scrolled);
        QCOMPARE(QApplication::focusWidget(), list1);
    }

    // The drop-down lists take the new association, a new activity's number
    // not changed by the user follows the counter; the rest stays as typed.
    void typedFieldsKept()
    {
        for (const WindowRow &row : registerWindows()) {
            MainOffice o;
            seedOffice(o);
            QTRY_COMPARE_WITH_TIMEOUT(o.main->findChild<LineList *>("List1")->count(), 1, 5000);
            QWidget *w = row.open(o);
            fillGood(w, row);
            auto *names = w->findChild<QComboBox *>(row.fields[0].name);
            QTRY_COMPARE(QApplication::activeWindow(), w);
            QCoreApplication::processEvents(); // the first field selected on activation
            if (names) QTest::keyClick(names->lineEdit(), Qt::Key_Home);
            QWidget *focused = QApplication::focusWidget();
            Typed expected;
            for (auto it = row.good.begin(); it != row.good.end(); ++it) expected.append({it.key(), it.key() == "numprot" ? "9" : it.value()});

            QVERIFY(byAnotherDesk(o, File::Associazioni, o.read(File::Associazioni) + "GAMMA,,,,,,,, 1 , 1 \r\n"));
            QVERIFY(byAnotherDesk(o, File::NumeroProt, "8\r\n"));
            QTRY_VERIFY_WITH_TIMEOUT(names ? entries(names).contains("GAMMA") : lineOf(w, "numprot")->text() == "9", 5000);
            if (names) QCOMPARE(names->lineEdit()->cursorPosition(), 0);
            QCOMPARE(shownIn(w, expected), expected);
            QCOMPARE(QApplication::focusWidget(), focused);
            QVERIFY(o.fake.prompts.shown.isEmpty());
        }
    }

    // An activity shown for modification follows what another desk
    // registered (a restore, a close) while nothing is typed here; once the
    // operator types, it stays as typed.
    void shownActivityFollowsUntilTyped()
    {
        MainOffice o;
        o.write(File::Attivita, crlf({"5,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A"}));
        o.activate(o.main);
        emit o.main->findChild<LineList *>("List1")->lineChosen(0);
        auto *w = o.shown<Formattivita>();
        QTRY_COMPARE(lineOf(w, "loc")->text(), QStringLiteral("PIAZZA"));
        QVERIFY(byAnotherDesk(o, File::Attivita, crlf({"5,01/03/2025,09.00,,,,,SOCCORSO,STAZIONE,SINDACO,,A"})));
        QTRY_COMPARE_WITH_TIMEOUT(lineOf(w, "loc")->text(), QStringLiteral("STAZIONE"), 5000);
        lineOf(w, "note")->setText(QStringLiteral("SCRITTO QUI"));
        QVERIFY(byAnotherDesk(o, File::Attivita, crlf({"5,01/03/2025,09.00,,,,,SOCCORSO,PONTE,SINDACO,,A"})));
        QTest::qWait(2600);
        QCOMPARE(lineOf(w, "loc")->text(), QStringLiteral("STAZIONE"));
        QCOMPARE(lineOf(w, "note")->text(), QStringLiteral("SCRITTO QUI"));
        QVERIFY(o.fake.prompts.shown.isEmpty());
    }
};

QTEST_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"
