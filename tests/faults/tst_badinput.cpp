// Bad input, swept over every field of every register window: a comma, a
// double quote, a line break, a character Windows-1252 cannot hold and a
// 300-character text in each text field; a non-number, a decimal and 40000
// in each number field. A refusal names what is wrong and leaves every file
// as it was; a text the window accepts is stored cleaned (separators become
// blanks) and whole, so its record always reads back.
#include "desks.h"

#include "archive/encoding.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using archive::File;

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void everyFieldOfEveryWindow();
};

namespace {

struct Bad {
    const char *what;
    QString typed;
    QString stored; // for a text field without a check of its own; "" = refused
};

const QString kOutside = QString::fromUtf8("UNO\xF0\x9F\x98\x80" "DUE"); // U+1F600

QList<Bad> textValues()
{
    return {
        {"virgola", QStringLiteral("UNO,DUE"), QStringLiteral("UNO DUE")},
        {"virgolette", QStringLiteral("UNO\"DUE"), QStringLiteral("UNO DUE")},
        {"a capo", QStringLiteral("UNO\nDUE"), QStringLiteral("UNO DUE")},
        {"fuori da Windows-1252", kOutside, QString()},
        {"300 caratteri", QString(300, QLatin1Char('X')), QString(300, QLatin1Char('X'))},
    };
}

QList<Bad> numberValues()
{
    return {{"non numero", QStringLiteral("DUE"), QString()},
            {"decimale", QStringLiteral("2.5"), QString()},
            {"oltre 16 bit", QStringLiteral("40000"), QString()}};
}

// Types `value` as the user would; a line break can only come in pasted.
void enter(QWidget *w, const char *field, const QString &value)
{
    QLineEdit *line = lineOf(w, field);
    QVERIFY2(line, field);
    if (!value.contains(QLatin1Char('\n'))) {
        // One key per character; a character beyond 16 bits is one key too.
        typeInto(line, QString());
        for (const uint c : value.toUcs4()) {
            if (c < 0x80) QTest::keyClick(line, char(c));
            else
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown,
                                    QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1),
                                    Qt::NoModifier);
        }
        QVERIFY(line->text() == value);
        return;
    }
    typeInto(line, QString());
    QGuiApplication::clipboard()->setText(value);
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    QVERIFY2(line->text() == value, qPrintable(line->text()));
}

QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    return out;
}

} // namespace

void TestBadInput::everyFieldOfEveryWindow()
{
    int cases = 0;
    for (const WindowRow &row : registerWindows()) {
        MainOffice o;
        for (const FieldRow &field : row.fields) {
            for (const Bad &bad : field.number ? numberValues() : textValues()) {
                const QString where = QStringLiteral("%1.%2, %3").arg(row.window, field.name, bad.what);
                seedOffice(o);
                QWidget *w = row.open(o);
                fillGood(w, row);
                enter(w, field.name, bad.typed);
                const auto before = folderState(o);
                o.fake.prompts.clear();
                clickButton(w, row.button);
                ++cases;

                const bool refused = !field.ownCheck.isEmpty() || bad.stored.isEmpty();
                if (refused) {
                    const QString expected = !field.ownCheck.isEmpty() ? field.ownCheck
                                                                       : cp1252::refusal(bad.typed);
                    QVERIFY2(!expected.isEmpty(), qPrintable(where));
                    QVERIFY2(o.fake.prompts.messages() == QStringList{expected},
                             qPrintable(where + ": " + o.fake.prompts.messages().join('|')));
                    QVERIFY2(folderState(o) == before, qPrintable(where + ": a file changed"));
                    continue;
                }
                const QString done = field.doneInstead.isEmpty() ? row.done : field.doneInstead;
                const QStringList expectedMessages =
                    done.isEmpty() ? QStringList{} : QStringList{done};
                QVERIFY2(o.fake.prompts.messages() == expectedMessages,
                         qPrintable(where + ": " + o.fake.prompts.messages().join('|')));
                // One line more in the archive, and it reads back whole.
                const QByteArray name = archive::fileName(row.archive).toLatin1();
                const auto was = lines(before.value(name));
                const auto now = lines(o.read(row.archive));
                QVERIFY2(now.size() == was.size() + 1, qPrintable(where));
                QByteArray added;
                for (const QByteArray &l : now)
                    if (!was.contains(l)) added = l;
                QVERIFY2(added.endsWith('\r') && !added.chopped(1).contains('\r'), qPrintable(where));
                const QStringList items =
                    cp1252::decode(added.chopped(1)).split(QLatin1Char(','));
                QVERIFY2(items.size() == int(row.fields.size()) + (row.archive == File::Associazioni ? 1 : 0)
                             || row.archive == File::Attivita,
                         qPrintable(where + ": " + items.join('|')));
                QVERIFY2(items.value(field.recordIndex).trimmed() == bad.stored,
                         qPrintable(where + ": " + items.value(field.recordIndex)));
                // Nothing else was touched but what a registration writes.
                for (auto it = before.begin(); it != before.end(); ++it) {
                    const QString file = it.key();
                    if (file == QLatin1String(name) || file.endsWith(QLatin1String(".wrk"))) continue;
                    if (row.archive == File::Attivita
                        && (file.endsWith(QLatin1String(".sav")) || file == "numeroprot.dat"
                            || file == "risorse.csv"))
                        continue;
                    QVERIFY2(o.read(file) == it.value(), qPrintable(where + ": " + file));
                }
            }
        }
    }
    qInfo("%d casi", cases);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
