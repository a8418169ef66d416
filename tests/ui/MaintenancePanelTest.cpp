#include <QTest>
class MaintenancePanelTest : public QObject {
    Q_OBJECT private slots : void nothing() {}
};
QTEST_MAIN(MaintenancePanelTest)
#include "MaintenancePanelTest.moc"
