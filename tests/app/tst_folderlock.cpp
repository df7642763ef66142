// Two copies on one working folder: the real program holds it, this test is the second.
#include "desks.h"

#include "archive/io.h"
#include "associations/records.h"
#include "session/folderlock.h"
#include "session/maintenance.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <functional>
#include <memory>

using archive::File;

namespace {

const QString kRefused =
    QStringLiteral("Cartella aperta in sola consultazione: nessun archivio è stato modificato.");

// The program started by the user "operatore", once it holds the folder.
std::unique_ptr<QProcess> startFirstCopy(const TestFolder &o)
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USER"), QStringLiteral("operatore"));
    // Its windows keep their places in the test's configuration folder.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), o.configDir());
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(o.dir());
    program->start(QStringLiteral(VELMORA_PATH), {});
    if (!QTest::qWaitFor([&] { return o.read(FolderLock::fileName()).contains("\ndal: "); }, 30000))
        qFatal("the first copy did not take the folder");
    return program;
}

struct SecondCopy : TestOffice {
    explicit SecondCopy(bool consult) : lock(dir())
    {
        for (const QString &name : QDir(QStringLiteral(VELMORA_SOURCE_DIR "/data/example")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/example/") + name, path(name));
        first = startFirstCopy(*this);
        fake.prompts.answers << consult;
        claimed = claimFolder(ctx, lock);
    }
    ~SecondCopy()
    {
        first->kill();
        first->waitForFinished();
    }

    FolderLock lock;
    std::unique_ptr<QProcess> first;
    bool claimed = false;
};

using Write = std::function<void(SecondCopy &)>;

} // namespace

Q_DECLARE_METATYPE(Write)

class TestFolderLock : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { archive::setConsultationFolder(QString()); }

    void secondCopyIsToldWhoHoldsTheFolder_data()
    {
        QTest::addColumn<bool>("consult");
        QTest::newRow("sola consultazione") << true;
        QTest::newRow("uscita") << false;
    }

    void secondCopyIsToldWhoHoldsTheFolder()
    {
        QFETCH(bool, consult);
        const QDateTime before = QDateTime::currentDateTime();
        SecondCopy o(consult);
        const QByteArray held = o.read(FolderLock::fileName());
        QCOMPARE(o.claimed, consult);
        QVERIFY(!archive::consultationOnly(QDir::temp().filePath(QStringLiteral("copia.csv"))));
        QCOMPARE(o.fake.prompts.shown.size(), 1);
        const QString question = o.fake.prompts.questions().value(0);
        const QRegularExpressionMatch m = QRegularExpression(
                                              QStringLiteral("^La cartella di lavoro è già in uso da velmora sul computer (.*), "
                                                             "utente operatore, dalle (\\d\\d\\.\\d\\d del \\d\\d/\\d\\d/\\d{4})\\.\n\n"
                                                             "Aprirla in sola consultazione\\?$"))
                                              .match(question);
        QVERIFY2(m.hasMatch(), qPrintable(question));
        QCOMPARE(m.captured(1), QSysInfo::machineHostName());
        const QDateTime since = QDateTime::fromString(m.captured(2), QStringLiteral("hh.mm 'del' dd/MM/yyyy"));
        QVERIFY2(since > before.addSecs(-60) && since <= QDateTime::currentDateTime(), qPrintable(m.captured(2)));
        QCOMPARE(o.read(FolderLock::fileName()), held);
        QCOMPARE(o.first->state(), QProcess::Running);
    }

    void lockNoRunningCopyHoldsIsTakenOver_data()
    {
        QTest::addColumn<int>("first");       // 0: never started, 1: killed, 2: still running
        QTest::addColumn<QByteArray>("lock"); // written over the lock file in place ("-": as left)
        QTest::addColumn<bool>("old");        // and then left alone for a minute
        QTest::addColumn<bool>("taken");
        const QByteArray garbled("\xff\x00\x07velmora\r\n", 12);
        QTest::newRow("vuoto") << 0 << QByteArray("") << true << true;
        QTest::newRow("illeggibile") << 0 << garbled << true << true;
        QTest::newRow("illeggibile, appena scritto") << 0 << garbled << false << false;
        QTest::newRow("copia terminata su questo computer") << 1 << QByteArray("-") << false << true;
        QTest::newRow("altro computer") << 0 << QByteArray("4242\nvelmora\naltro-computer\n") << true << false;
        QTest::newRow("copia in corso, illeggibile") << 2 << garbled << true << false;
    }
    void lockNoRunningCopyHoldsIsTakenOver()
    {
        QFETCH(int, first);
        QFETCH(QByteArray, lock);
        QFETCH(bool, old);
        QFETCH(bool, taken);
        TestFolder o;
        std::unique_ptr<QProcess> program;
        if (first > 0) program = startFirstCopy(o);
        if (first == 1) {
            program->kill();
            program->waitForFinished();
        }
        if (lock != "-") o.write(FolderLock::fileName(), lock);
        QFile written(o.path(FolderLock::fileName()));
        if (old)
            QVERIFY(written.open(QIODevice::Append)
                    && written.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        written.close();
        o.fake.prompts.answers << true;
        {
            FolderLock folderLock(o.dir());
            QVERIFY(claimFolder(o.ctx, folderLock));
            QCOMPARE(o.fake.prompts.questions().size(), taken ? 0 : 1);
            QCOMPARE(o.ctx.consultation, !taken);
            if (taken)
                QCOMPARE(o.read(FolderLock::fileName()).split('\n').value(0).trimmed().toLongLong(),
                         QCoreApplication::applicationPid());
        }
        QCOMPARE(QFile::exists(o.path(FolderLock::fileName())), !taken);
        if (first == 2) {
            QCOMPARE(program->state(), QProcess::Running);
            program->kill();
            program->waitForFinished();
        }
    }

    void consultationDisablesEveryChange()
    {
        SecondCopy o(true);
        const auto bytes = o.files();
        auto *main = o.windows->get<Formvelmo>();
        o.activate(main);
        QCOMPARE(main->windowTitle(), QStringLiteral("Gestione Attività di Protezione Civile - sola consultazione"));
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

QTEST_MAIN(TestFolderLock)
#include "tst_folderlock.moc"
