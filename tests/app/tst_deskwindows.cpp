// Desks side by side on one folder, through the real windows: the program
// itself is the first desk; this test is the second, and a third in-process
// desk edits beside it.
#include "desks.h"
#include "registerdesk.h"

#include "app/desks.h"
#include "archive/io.h"
#include "associations/records.h"
#include "session/maintenance.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <memory>

using archive::File;

namespace {

const QString kRefused =
    QStringLiteral("Cartella aperta in sola consultazione: nessun archivio è stato modificato.");

// The program started by the user "operatore", once it writes in the folder
// as a desk.
std::unique_ptr<QProcess> startFirstCopy(const TestFolder &o)
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USER"), QStringLiteral("operatore"));
    // Headless, on the platform's own screen.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Its windows keep their places in the test's configuration folder.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), o.configDir());
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(o.dir());
    program->start(QStringLiteral(VELMORA_PATH), {});
    const auto started = [&] {
        const QStringList desks = QDir(o.dir()).entryList({QStringLiteral("sospese-*.dat")});
        return !desks.isEmpty() && o.read(desks.first()).contains("\toperatore\t");
    };
    if (!QTest::qWaitFor(started, 30000))
        qFatal("the first copy did not start as a desk (%s): %s", qPrintable(program->errorString()),
               program->readAllStandardError().constData());
    return program;
}

struct SecondCopy : TestOffice {
    explicit SecondCopy(bool consult)
    {
        for (const QString &name : QDir(QStringLiteral(VELMORA_SOURCE_DIR "/data/example")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/example/") + name, path(name));
        first = startFirstCopy(*this);
        fake.prompts.answers << consult;
        told = desks::start(ctx);
    }
    ~SecondCopy()
    {
        first->kill();
        first->waitForFinished();
    }

    std::unique_ptr<QProcess> first;
    QString told;
};

using Write = std::function<void(SecondCopy &)>;

QComboBox *names(QWidget *w) { return w->findChild<QComboBox *>(QStringLiteral("cmbassdenom")); }

} // namespace

Q_DECLARE_METATYPE(Write)

class TestDeskWindows : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { archive::setConsultationFolder(QString()); }

    // The second desk is told who writes already, and writes beside it or
    // only consults, as it chooses.
    void secondDeskIsToldWhoWritesAndChooses_data()
    {
        QTest::addColumn<bool>("consult");
        QTest::newRow("sola consultazione") << true;
        QTest::newRow("scrive anche lei") << false;
    }
    void secondDeskIsToldWhoWritesAndChooses()
    {
        QFETCH(bool, consult);
        SecondCopy o(consult);
        const QString question = o.fake.prompts.questions().value(0);
        const QString here = archive::Desk::current().name();
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromUtf8("^Nella cartella di lavoro registrano già la postazione: (.*) \\(utente operatore\\)\\.\n\n"
                                                 "Ogni postazione può registrare; ogni modifica è scritta per intero, una postazione alla volta\\.\n\n"
                                                 "Aprirla da questa postazione, (.*), in sola consultazione\\?$"))
                .match(question);
        QVERIFY2(m.hasMatch(), qPrintable(question));
        QCOMPARE(m.captured(1), archive::Desk::current().host);
        QCOMPARE(m.captured(2), here);
        QCOMPARE(o.ctx.consultation, consult);
        QStringList fields(8, QStringLiteral("NUOVA"));
        fields << QStringLiteral("1") << QStringLiteral("1");
        QCOMPARE(associations::insert(o.ctx.folder, fields).done(), !consult);
        QCOMPARE(o.read(File::Associazioni).contains("NUOVA,NUOVA"), !consult);
        QCOMPARE(o.first->state(), QProcess::Running);
        auto *main = o.windows->get<Formvelmo>();
        o.activate(main);
        QVERIFY2(main->windowTitle().contains(QStringLiteral(" - postazione ") + here), qPrintable(main->windowTitle()));
    }

    // Two desks change one association: the second "Registra" is refused,
    // keeps what was typed, and the first desk's change stands.
    void twoDesksChangeOneAssociation()
    {
        MainOffice a;
        a.write(File::Associazioni, crlf({"ALFA,VIA UNO,,,,,,, 5 , 5 "}));
        TestOffice b;
        b.ctx.folder = archive::WorkingFolder(a.dir(), archive::Desk::another(QStringLiteral("b")));
        auto *mainB = b.windows->get<Formvelmo>();
        b.activate(mainB);
        auto *wa = a.fromMenu<Formass>("mnassamod");
        mainB->action(QStringLiteral("mnassamod"))->trigger();
        auto *wb = b.windows->get<Formass>();
        b.activate(wb);
        QVERIFY(chooseEntry(names(wa), "ALFA") && chooseEntry(names(wb), "ALFA"));
        a.fake.prompts.clear();
        b.fake.prompts.clear();
        typeAll(wa, {{"assindir", "VIA DUE"}});
        clickButton(wa, "cmdassregistra");
        typeAll(wb, {{"assindir", "VIA TRE"}});
        clickButton(wb, "cmdassregistra");
        QCOMPARE(a.fake.prompts.texts(), QStringList{"Associazione modificata."});
        QCOMPARE(b.fake.prompts.texts(),
                 QStringList{QString::fromUtf8("L'associazione ALFA è cambiata nell'archivio da quando è stata scelta: nulla è stato "
                                               "modificato. Sceglierla di nuovo per vederla com'è ora.")});
        QCOMPARE(a.read(File::Associazioni), crlf({"ALFA,VIA DUE,,,,,,,5,5"}));
        QCOMPARE(lineOf(wb, "assindir")->text(), QStringLiteral("VIA TRE"));
    }

    void consultationDisablesEveryChange()
    {
        SecondCopy o(true);
        const auto bytes = o.files();
        auto *main = o.windows->get<Formvelmo>();
        o.activate(main);
        QCOMPARE(main->windowTitle(), QStringLiteral("Gestione Attività di Protezione Civile - postazione ") + o.ctx.folder.desk().name() + " - sola consultazione");
        QSet<QString> changing;
        for (const MenuEntry &e : menuTable())
            if (e.writes) changing << e.name;
        for (const MenuFolder &m : menuFolders())
            if (m.writes) changing << m.name;
        QVERIFY(changing.size() > 10);
        for (QAction *a : main->findChildren<QAction *>())
            if (!a->objectName().isEmpty())
                QVERIFY2(a->isEnabled() != changing.contains(a->objectName()), qPrintable(a->objectName()));
        QVERIFY(!o.windows->existing<emergenzaform>() || !o.windows->existing<emergenzaform>()->isVisible());

        // An activity opens to be read, and printed.
        emit main->findChild<LineList *>(QStringLiteral("List2"))->lineChosen(0);
        auto *activity = o.windows->get<Formattivita>();
        QTRY_VERIFY(activity->isVisible());
        o.activate(activity);
        QCOMPARE(activity->windowTitle(), QStringLiteral("Attività - Modifica - sola consultazione"));
        QCOMPARE(activity->findChild<QLineEdit *>(QStringLiteral("numprot"))->text(), QStringLiteral("2"));
        for (const char *name : {"cmdregistra", "cmdattr", "cmdauto", "cmdvol"})
            QVERIFY2(!activity->findChild<QPushButton *>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(activity->findChild<QPushButton *>(QStringLiteral("cmdstampa"))->isEnabled());
        // What the writing copy registers meanwhile shows at the next visit.
        const QByteArray stored = bytes.value(QStringLiteral("attivita.csv"));
        QFile archive(o.path(QStringLiteral("attivita.csv")));
        const auto rewrite = [&](const QByteArray &content) { QVERIFY(archive.open(QIODevice::WriteOnly)); archive.write(content); archive.close(); };
        rewrite(QByteArray(stored).replace("CHIUSA LA SP 503", "RIAPERTA LA SP 503"));
        o.activate(main);
        o.activate(activity);
        QCOMPARE(activity->findChild<QLineEdit *>(QStringLiteral("note"))->text(), QStringLiteral("RIAPERTA LA SP 503"));
        rewrite(stored);
        clickButton(activity, "cmdesci");
        main->action(QStringLiteral("mnfine"))->trigger();

        QCOMPARE(o.files(), bytes);
        QVERIFY(o.fake.prompts.messages().isEmpty());
    }

    // Each way the library writes refuses on its own, should a window reach it.
    void writeStillReachedChangesNothing_data()
    {
        QTest::addColumn<Write>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("nome dell'emergenza") << Write([](SecondCopy &o) {
            auto *w = o.windows->get<emergenzaform>();
            lineOf(w, "emergenzat")->setText(QStringLiteral("PROVA"));
            clickButton(w, "cmdok");
        }) << kRefused;
        QTest::newRow("ripristino") << Write([](SecondCopy &o) {
            o.fake.prompts.answers << true;
            o.fake.prompts.files << QStringLiteral(VELMORA_SOURCE_DIR "/data/example/attrezzature.csv");
            maintenance::restore(o.ctx);
        }) << QStringLiteral("Ripristino non riuscito. ") + kRefused;
        QTest::newRow("riscrittura ordinata") << Write([](SecondCopy &o) {
            QStringList fields(8, QStringLiteral("NUOVA"));
            fields << QStringLiteral("1") << QStringLiteral("1");
            o.fake.prompts.info(associations::insert(o.ctx.folder, fields).io.message());
        }) << kRefused;
    }

    void writeStillReachedChangesNothing()
    {
        QFETCH(Write, write);
        QFETCH(QString, message);
        SecondCopy o(true);
        const auto bytes = o.files();
        o.fake.prompts.clear();
        write(o);
        QCOMPARE(o.fake.prompts.messages(), QStringList{message});
        QCOMPARE(o.files(), bytes);
    }
};

QTEST_MAIN(TestDeskWindows)
#include "tst_deskwindows.moc"
