#include <QtTest>
class TestDesks : public QObject {
    Q_OBJECT
};
QTEST_MAIN(TestDesks)
#include "tst_desks.moc"
