// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <QDeadlineTimer>

#include <QSemaphore>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <csignal>
#include <memory>

#include "backend_runner.h"
#include "scan_pool.h"
#include "test_kit.h"

using namespace std::chrono_literals;
using velmora::BackendRunner;
using velmora::Output;
using velmora::SignalResult;
using velmora::WaitedOutcome;
using velmora::testkit::processState;
using velmora::testkit::readFile;
using velmora::testkit::writeScript;

namespace {
const QString kScript = QStringLiteral("backend.sh");
}

class BackendRunnerTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratchDir_;
    std::unique_ptr<BackendRunner> runner_;

    QString path(const QString& name) const { return scratchDir_->filePath(name); }

    /// A runner whose script has `body`; the script's $1 is the scratch folder.
    BackendRunner& runnerWith(const QByteArray& body) {
        writeScript(scratchDir_->path(), kScript, body);
        runner_ = std::make_unique<BackendRunner>(kScript, QStringLiteral("Test-"), 10ms);
        runner_->setResourceDirectory(scratchDir_->path());
        return *runner_;
    }

    /// Runs a waited launch and returns what reached the main thread.
    WaitedOutcome waited(BackendRunner& runner, Output out = Output::Discard) {
        std::optional<WaitedOutcome> result;
        runner.launchWaited({scratchDir_->path()}, path("result.txt"), out,
                            [&result](const WaitedOutcome& outcome) { result = outcome; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 20000); }();
        return result.value_or(WaitedOutcome{});
    }

  private slots:
    void init() {
        scratchDir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(scratchDir_->isValid());
    }
    void cleanup() {
        runner_.reset();
        scratchDir_.reset();
    }

    void jobFoldersArePrivateAndFresh() {
        QTemporaryDir temp;
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp.filePath("nested/tmp")));
        BackendRunner runner(kScript, QStringLiteral("Velmora-"), 200ms);
        const QString first = runner.makeJobFolder();
        const QString second = runner.makeJobFolder();
        qputenv("TMPDIR", saved);

        QVERIFY(first != second);
        const QRegularExpression name(QStringLiteral(
            "^Velmora-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        for (const QString& folder : {first, second}) {
            const QFileInfo info(folder);
            QCOMPARE(info.absolutePath(), temp.filePath("nested/tmp"));
            QVERIFY2(name.match(info.fileName()).hasMatch(), qPrintable(folder));
            struct stat attributes {};
            QCOMPARE(stat(QFile::encodeName(folder).constData(), &attributes), 0);
            QVERIFY(S_ISDIR(attributes.st_mode));
            QCOMPARE(attributes.st_mode & 07777, 0700u);
        }
    }

    void waitedLaunchReportsStatusAndResult() {
        auto& runner = runnerWith(
            "printf '3|1|2|0\\n' > \"$1/result.txt\"\n"
            // Far more than a pipe holds: the backend must not block on it.
            "head -c 4000000 /dev/zero >&2\n"
            "exit 4");
        const WaitedOutcome outcome = waited(runner);
        QVERIFY(outcome.launched);
        QCOMPARE(outcome.exitStatus, 4);
        QCOMPARE(outcome.resultText, "3|1|2|0\n");

        QFile::remove(path("result.txt"));
        runnerWith("kill -KILL $$");
        const WaitedOutcome killed = waited(*runner_);
        QCOMPARE(killed.exitStatus, SIGKILL);
        QCOMPARE(killed.resultText, QString());  // no result file
    }

    void scanWorkerAfterRunnerIsGoneLaunchesNothing() {
        auto& runner = runnerWith("touch \"$1/ran\"");
        // Hold every pool thread so that the scan's work waits in the queue.
        QThreadPool* pool = &velmora::scanPool();
        QSemaphore release;
        QSemaphore held;
        for (int i = 0; i < pool->maxThreadCount(); ++i) {
            pool->start([&] {
                held.release();
                release.acquire();
            });
        }
        held.acquire(pool->maxThreadCount());
        bool reported = false;
        runner.launchWaited({scratchDir_->path()}, path("result.txt"), Output::Discard,
                            [&reported](const WaitedOutcome&) { reported = true; });
        runner_.reset();
        release.release(pool->maxThreadCount());
        pool->waitForDone();
        QCoreApplication::processEvents();
        QVERIFY(!QFile::exists(path("ran")));
        QVERIFY(!reported);
    }

    void watchedRunEndsAfterLaunchReturns() {
        auto& runner = runnerWith("exit 3");
        QSignalSpy finished(&runner, &BackendRunner::finished);
        QCOMPARE(runner.launchWatched({scratchDir_->path()}), std::nullopt);
        const qint64 pid = runner.processId();
        // Ended, and its end not yet handled: no events are processed here.
        const QDeadlineTimer deadline(20000);
        while (processState(pid) != 'Z' && !deadline.hasExpired()) {
        }
        QCOMPARE(processState(pid), 'Z');
        QCOMPARE(runner.sendSignal(SIGSTOP), SignalResult::NotRunning);
        QCOMPARE(finished.count(), 0);  // even a backend that exits at once
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(finished.at(0).at(0).toInt(), 3);
        QVERIFY(!runner.isRunning());
        QCOMPARE(runner.sendSignal(SIGSTOP), SignalResult::NotRunning);
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
    }

    void pauseAndResumeReachEveryProcessOfTheRun() {
        // The backend starts a worker of its own, as Moskel starts encoders.
        auto& runner = runnerWith(
            "(while [[ ! -e \"$1/go\" ]]; do sleep 0.01; done) &\n"
            "echo $! > \"$1/worker\"\n"
            "wait\n"
            "echo finished > \"$1/done\"");
        QCOMPARE(runner.launchWatched({scratchDir_->path()}), std::nullopt);
        const qint64 backend = runner.processId();
        QTRY_VERIFY_WITH_TIMEOUT(!readFile(path("worker")).trimmed().isEmpty(), 20000);
        const qint64 worker = readFile(path("worker")).trimmed().toLongLong();

        QCOMPARE(runner.sendSignal(SIGSTOP), SignalResult::Delivered);
        QTRY_COMPARE_WITH_TIMEOUT(processState(backend), 'T', 20000);
        QTRY_COMPARE_WITH_TIMEOUT(processState(worker), 'T', 20000);
        QCOMPARE(runner.sendSignal(SIGCONT), SignalResult::Delivered);
        QTRY_VERIFY_WITH_TIMEOUT(processState(worker) != 'T', 20000);
        QVERIFY(processState(backend) != 'T');
        velmora::testkit::writeFile(path("go"), "");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(path("done")), "finished\n", 20000);
    }

    void destroyedRunnerLeavesBackendAlone() {
        auto& runner = runnerWith(
            "trap 'echo signalled >> \"$1/signals\"' HUP INT QUIT PIPE TERM USR1 USR2 CONT\n"
            "while [[ ! -e \"$1/go\" ]]; do sleep 0.01; done\n"
            "echo finished > \"$1/done\"");
        QCOMPARE(runner.launchWatched({scratchDir_->path()}), std::nullopt);
        const qint64 pid = runner.processId();
        runner_.reset();

        velmora::testkit::writeFile(path("go"), "");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(path("done")), "finished\n", 20000);
        QTRY_COMPARE_WITH_TIMEOUT(processState(pid), 0, 20000);  // reaped: no zombie
        QVERIFY(!QFile::exists(path("signals")));
    }
};

QTEST_GUILESS_MAIN(BackendRunnerTest)
#include "backend_runner_test.moc"
