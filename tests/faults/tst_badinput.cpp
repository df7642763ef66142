// Bad input in every field of every register window: refused with every file
// as it was, or stored cleaned (separators become blanks) and whole.
#include "desks.h"

#include "archive/encoding.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <memory>

using archive::File;

namespace {

struct Bad {
    const char *what;
    QString typed;
    QString stored; // for a text field without a check of its own; "" = refused
};

const QList<Bad> kTextValues{
    {"virgola", "UNO,DUE", "UNO DUE"},
    {"virgolette", "UNO\"DUE", "UNO DUE"},
    {"a capo", "UNO\nDUE", "UNO DUE"},
    {"fuori da Windows-1252", QString::fromUtf8("UNO\xF0\x9F\x98\x80"
                                                "DUE"),
     QString()}, // U+1F600
    {"300 caratteri", QString(300, QLatin1Char('X')), QString(300, QLatin1Char('X'))},
};
const QList<Bad> kNumberValues{
    {"non numero", "DUE", QString()}, {"decimale", "2.5", QString()}, {"oltre 16 bit", "40000", QString()}};

// One key per character (beyond 16 bits too); a line break can only be pasted.
void enter(QWidget *w, const char *field, const QString &value)
{
    QLineEdit *line = lineOf(w, field);
    QVERIFY2(line, field);
    typeInto(line, QString());
    if (value.contains(QLatin1Char('\n'))) {
        QGuiApplication::clipboard()->setText(value);
        QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    } else {
        for (const char32_t c : value.toUcs4()) {
            if (c < 0x80) QTest::keyClick(line, char(c));
            else QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
        }
    }
    QVERIFY2(line->text() == value, qPrintable(line->text()));
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void everyFieldOfEveryWindow_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("bad");
        for (int w = 0; w < int(registerWindows().size()); ++w) {
            const WindowRow &row = registerWindows()[w];
            for (int f = 0; f < int(row.fields.size()); ++f) {
                const FieldRow &field = row.fields[f];
                const QList<Bad> &values = field.number ? kNumberValues : kTextValues;
                for (int b = 0; b < values.size(); ++b)
                    QTest::addRow("%s.%s, %s", row.window(), field.name, values[b].what) << w << f << b;
            }
        }
    }
    void everyFieldOfEveryWindow()
    {
        QFETCH(int, window);
        QFETCH(int, field);
        QFETCH(int, bad);
        const WindowRow &row = registerWindows()[window];
        const FieldRow &f = row.fields[field];
        const Bad &value = (f.number ? kNumberValues : kTextValues)[bad];
        if (m_window != window) m_office.reset(), m_office = std::make_unique<MainOffice>(), m_window = window;
        MainOffice &o = *m_office;
        seedOffice(o);
        o.fake.prompts.answers << true; // what the last row typed is abandoned
        QWidget *w = row.open(o);
        fillGood(w, row);
        enter(w, f.name, value.typed);
        const auto before = o.files();
        o.fake.prompts.clear();
        clickButton(w, row.button);

        if (!f.ownCheck.isEmpty() || value.stored.isEmpty()) {
            const QString expected = !f.ownCheck.isEmpty() ? f.ownCheck : cp1252::refusal(value.typed);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(o.fake.prompts.messages(), QStringList{expected});
            QCOMPARE(o.files(), before);
            return;
        }
        const QString done = f.doneInstead.isEmpty() ? row.done : f.doneInstead;
        QCOMPARE(o.fake.prompts.messages(), done.isEmpty() ? QStringList{} : QStringList{done});
        const QString name = archive::fileName(row.archive);
        const QList<QByteArray> was = before.value(name).split('\n'), now = o.read(row.archive).split('\n');
        QCOMPARE(now.size(), was.size() + 1);
        QByteArray added;
        for (const QByteArray &l : now)
            if (!was.contains(l)) added = l;
        QVERIFY(added.endsWith('\r') && !added.chopped(1).contains('\r'));
        const QStringList items = cp1252::decode(added.chopped(1)).split(QLatin1Char(','));
        if (row.archive != File::Attivita)
            QCOMPARE(items.size(), int(row.fields.size()) + (row.archive == File::Associazioni ? 1 : 0));
        QCOMPARE(items.value(f.recordIndex).trimmed(), value.stored);
        for (auto it = before.begin(); it != before.end(); ++it) {
            const QString &file = it.key();
            const bool activityWrites = row.archive == File::Attivita
                                        && (file.endsWith(".sav") || file == "numeroprot.dat" || file == "risorse.csv");
            if (file != name && !file.endsWith(".wrk") && !activityWrites) QCOMPARE(o.read(file), it.value());
        }
    }

private:
    std::unique_ptr<MainOffice> m_office;
    int m_window = -1;
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
