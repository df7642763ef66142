#include <QtTest>
class TestDeskWindows : public QObject {
    Q_OBJECT
};
QTEST_MAIN(TestDeskWindows)
#include "tst_deskwindows.moc"
