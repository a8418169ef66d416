#include <QTest>
class SplitCopyTest : public QObject {
    Q_OBJECT private slots : void nothing() {}
};
QTEST_MAIN(SplitCopyTest)
#include "SplitCopyTest.moc"
