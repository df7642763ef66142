#include "testkit.h"

#include "app/emergenzaform.h"
#include "app/formvelmo.h"
#include "archive/paths.h"

#include <QAction>
#include <QLineEdit>
#include "app/linelist.h"
#include <QTest>

using archive::File;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void listsSplitOpenActivitiesByStartTime();
};

void TestMainWindow::listsSplitOpenActivitiesByStartTime()
{
    TestOffice office;
    office.write(File::Attivita, crlf({
        "12,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A",
        " 13 ,05/03/2002,15.00,05/03/2002,15.10,,,ALLUVIONE,PISA,BIANCHI,,A",
        "14,05/03/2002,15.00,,,,,FRANA,LUCCA,NERI,,C",
        "-32768,01/01/2000,00.00,,,,,PROVA,X,Y,,A",
    }));
    auto *w = office.windows->get<Formvelmo>();
    office.activate(w);
    auto *list1 = w->findChild<LineList *>("List1");
    auto *list2 = w->findChild<LineList *>("List2");
    QCOMPARE(list1->count(), 2);
    QCOMPARE(list1->text(0), QString("    12 05/03/2002 14.30 ROMA INCENDIO"));
    QCOMPARE(list1->text(1), QString("-32768 01/01/2000 00.00 X PROVA"));
    QCOMPARE(list2->count(), 1);
    QCOMPARE(w->findChild<QLineEdit *>("richieste")->text(), QString("2"));
    QCOMPARE(w->findChild<QLineEdit *>("iniziate")->text(), QString("1"));
    QVERIFY(office.windows->existing<emergenzaform>());
    QVERIFY(office.windows->existing<emergenzaform>()->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
