// The real program at the end of a session: a termination signal stores the
// sentence once, reports a failure on standard error, shows no box and ends.
#include <signal.h>

#include <QProcess>
#include <QTest>

#include "TestDatabase.h"

namespace {

const QString kInitial = QStringLiteral("拆功，阴阳，请让精神好，骆驼，难捉狗");

// The program, started in the current folder, offscreen and without its web panel's sandbox.
class ProgramRun {
  public:
    ProgramRun() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        process_.setProcessEnvironment(environment);
        process_.start(QCoreApplication::applicationDirPath() + "/../../../app/zelk");
    }
    ~ProgramRun() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // Waits until the program has shown its window (and read the database).
    bool waitUntilRunning() {
        if (!process_.waitForStarted()) return false;
        QTest::qWait(2000);
        return process_.state() == QProcess::Running;
    }
    void send(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
    bool waitForExit(int milliseconds) { return process_.waitForFinished(milliseconds); }
    int exitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
    QString standardError() { return QString::fromUtf8(process_.readAllStandardError()); }

  private:
    QProcess process_;
};

QString StoredSentence() {
    const auto values = zelk::test::QueryColumn("select val from sv where oid = 1");
    return values.empty() ? QStringLiteral("<no row>") : QString::fromStdString(values.front());
}

}  // namespace

class SessionEndTest : public QObject {
    Q_OBJECT

  private slots:
    void signalStoresTheSentenceAndExitsWithZero_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalStoresTheSentenceAndExitsWithZero() {
        QFETCH(int, signal);
        zelk::test::ScopedWorkDir dir;
        zelk::test::MakeDatabase({});
        zelk::test::RunSql("update sv set val = '会话结束前'");
        ProgramRun program;
        QVERIFY(program.waitUntilRunning());
        zelk::test::RunSql("update sv set val = 'changed behind its back'");
        program.send(signal);
        QVERIFY(program.waitForExit(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(StoredSentence(), QStringLiteral("会话结束前"));
    }

    void signalWhileTheSentenceCannotBeStoredReportsAndExits_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("report");
        for (const auto& [name, signal] :
             {std::pair{"SIGTERM", SIGTERM}, std::pair{"SIGHUP", SIGHUP}}) {
            QTest::addRow("%s, locked file", name) << signal << "locked"
                                                   << "in use by another process";
            QTest::addRow("%s, dropped sv table", name) << signal << "dropped"
                                                        << "no such table: sv";
            // Nothing was read at start, so nothing is stored: no report.
            QTest::addRow("%s, missing file", name) << signal << "missing"
                                                    << "";
        }
    }

    // A box at session end would wait for an answer that never comes: the
    // program must end all the same, also with the start's error box up.
    void signalWhileTheSentenceCannotBeStoredReportsAndExits() {
        QFETCH(int, signal);
        QFETCH(QString, fault);
        QFETCH(QString, report);
        zelk::test::ScopedWorkDir dir;
        if (fault != "missing") zelk::test::MakeDatabase({});
        ProgramRun program;
        QVERIFY(program.waitUntilRunning());
        std::unique_ptr<zelk::test::ScopedDatabaseLock> lock;
        if (fault == "locked") lock = std::make_unique<zelk::test::ScopedDatabaseLock>();
        if (fault == "dropped") zelk::test::RunSql("drop table sv");
        program.send(signal);
        QVERIFY2(program.waitForExit(10000), "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        const QString errors = program.standardError();
        if (report.isEmpty()) {
            QCOMPARE(program.exitCode(), 0);
            QVERIFY2(!errors.contains("could not be stored"), qPrintable(errors));
            QVERIFY(!QFile::exists("Zelk.dll"));
        } else {
            QCOMPARE(program.exitCode(), 1);
            QVERIFY2(errors.contains("zelk: the sentence could not be stored: "),
                     qPrintable(errors));
            QVERIFY2(errors.contains(report), qPrintable(errors));
            QCOMPARE(errors.count("could not be stored"), 1);
        }
    }
};

QTEST_GUILESS_MAIN(SessionEndTest)
#include "SessionEndTest.moc"
