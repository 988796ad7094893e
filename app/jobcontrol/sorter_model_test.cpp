// SPDX-License-Identifier: GPL-3.0-or-later
// The sorter model, and through it the mechanics both job models share
// (JobModel): scans and runs that fail, folders a scan could not read, the
// running figures, paused time, the failures of the end alert, a missing
// script, a refused launch, no other folder while busy, job folders that go
// once nothing uses them, a model destroyed while its backend works.
// compress_model_test covers what the compress job does differently;
// run_figures_test what a status line means; velmora_cli_test and
// velmora_e2e_test real scans and sorts through the model.
#include <QtTest>

#include <QClipboard>
#include <QGuiApplication>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>

#include "desktop_services.h"
#include "fake_backend.h"
#include "scan_pool.h"
#include "sorter_model.h"
#include "test_kit.h"
#include "window_services.h"

using namespace velmora::testkit;

namespace {
const QString kScanning = QStringLiteral("Scanning seluruh folder dan subfolder…");
const int kWait = 30000;  // ms: a ceiling for slow machines, not a speed goal
}  // namespace

class SorterModelTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<FakeBackend> backend_;

    QString path(const QString& name) const { return scratch_->filePath(name); }

    /// A model over the folder "source", driven by the fake backend, polling fast.
    std::unique_ptr<SorterModel> makeModel() {
        auto model = std::make_unique<SorterModel>();
        prepareModel(*model, backend_->scriptFolder(), path("source"));
        return model;
    }

    /// Scans with the fake backend reporting `summary` (none when null).
    void scanWith(SorterModel& model, const QString& summary) {
        if (!summary.isNull()) {
            QVERIFY(backend_->setSummary(summary));
        }
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

    void runToEnd(SorterModel& model) {
        model.start();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

  private slots:
    // The models reach the clipboard and the completion sound as in the window.
    void initTestCase() { velmora::useWindowServices(); }

    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        backend_ = std::make_unique<FakeBackend>();
    }

    // The chooser's title, the fresh status and the buttons' states are
    // checked through the window in main_window_test and job_screen_test.
    void chooserAndPreconditions() {
        SorterModel model;
        model.setFolderChooser([](const QString&) { return QString(); });  // cancelled
        model.chooseSource();
        QVERIFY(!model.canScan());
        model.scan();
        QCOMPARE(model.alertText(), "Pilih folder sumber terlebih dahulu.");

        model.setFolderChooser([this](const QString&) { return path("source/"); });
        model.chooseSource();
        QCOMPARE(model.sourcePath(), path("source"));
        QCOMPARE(model.status(), "Klik SCAN FOLDER untuk membaca seluruh subfolder.");
        QVERIFY(model.canScan());
        model.start();  // no scan yet: silently nothing
        QVERIFY(!model.isBusy());
    }

    void scanSummaries_data() {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("unreadable");  // folders below "source"; "" is itself
        QTest::addColumn<QString>("outcome");  // total odd even ignored scanReady|status|alert
        const QString failed = "0 0 0 0 0|" + kScanning + "|Scan gagal.";
        const QString cannotRead = "0 0 0 0 0|Folder sumber tidak dapat dibaca.|";
        QTest::newRow("photos") << "120|61|59|7\n"
                                << 0 << QStringList()
                                << "120 61 59 7 1|Scan selesai. Siap sortir.|";
        QTest::newRow("none") << "0|0|0|12\n"
                              << 0 << QStringList() << "0 0 0 12 0|Tidak ada file bernomor.|";
        QTest::newRow("empty piece")
            << "5||3|2|0" << 0 << QStringList() << "5 3 2 0 1|Scan selesai. Siap sortir.|";
        QTest::newRow("exit 1") << "1|1|0|0" << 1 << QStringList() << failed;
        QTest::newRow("three pieces") << "5|3|2" << 0 << QStringList() << failed;
        QTest::newRow("inner blank") << "5 |3|2|0" << 0 << QStringList() << failed;
        QTest::newRow("missing") << QString() << 0 << QStringList() << failed;
        QTest::newRow("unreadable subfolders")
            << "120|61|59|7" << 0 << QStringList{"/a", "/b/c"}
            << "120 61 59 7 1|Scan selesai. Siap sortir. 2 folder tidak dapat dibaca.|";
        QTest::newRow("only unreadable photos")
            << "0|0|0|0" << 0 << QStringList{"/a"}
            << "0 0 0 0 0|Tidak ada file bernomor. 1 folder tidak dapat dibaca.|";
        QTest::newRow("source unreadable") << "0|0|0|0" << 0 << QStringList{""} << cannotRead;
        QTest::newRow("source unreadable, with a slash")
            << "0|0|0|0" << 0 << QStringList{"/"} << cannotRead;
        QTest::newRow("source unreadable, scan failed")
            << QString() << 3 << QStringList{""} << cannotRead;
    }
    void scanSummaries() {
        QFETCH(QString, summary);
        QFETCH(int, exitCode);
        QFETCH(QStringList, unreadable);
        auto model = makeModel();
        QVERIFY(backend_->setScanExit(exitCode));
        if (!unreadable.isEmpty()) {
            for (QString& folder : unreadable) {
                folder.prepend(path("source"));
            }
            QVERIFY(backend_->setUnreadable(unreadable));
        }
        scanWith(*model, summary);
        QTEST(QStringLiteral("%1 %2 %3 %4 %5|%6|%7")
                  .arg(model->total())
                  .arg(model->odd())
                  .arg(model->even())
                  .arg(model->ignored())
                  .arg(int(model->scanReady()))
                  .arg(model->status(), model->showAlert() ? model->alertText() : QString()),
              "outcome");
    }

    void runFollowsTheStatusFileOfTheLatestScan() {
        auto model = makeModel();
        scanWith(*model, "4|2|2|0");
        const QString firstFolder = backend_->arguments("scan").value(2);
        scanWith(*model, "100|50|50|0");
        const QString latestFolder = backend_->arguments("scan").value(2);
        QCOMPARE(backend_->arguments("scan"), (QStringList{"scan", path("source"), latestFolder}));
        QVERIFY(latestFolder != firstFolder);
        QVERIFY(!QFileInfo::exists(firstFolder));  // replaced, and used by no backend
        model->setMode("COPY");
        model->setWorkers(6);
        model->setOddFolders(0);
        model->setEvenFolders(3);
        model->start();
        QVERIFY(backend_->setStatus("29|2|" + QString::number(29 * 1048576) + "|2.9|100"));
        QTRY_COMPARE_WITH_TIMEOUT(model->status(), "COPY… 29%", kWait);
        QCOMPARE(backend_->arguments("sort"),
                 (QStringList{"sort", path("source"), latestFolder, "COPY", "6", "1", "3"}));
        QCOMPARE(model->percent(), 29);
        QCOMPARE(model->progress(), 0.29);
        QCOMPARE(model->speedText(), "10.0 MB/s");
        QCOMPARE(model->eta(), "00:07");
        // The mode chosen during a run is for the next one.
        model->setMode("MOVE");
        QTest::qWait(60);
        QCOMPARE(model->status(), "COPY… 29%");
        QCOMPARE(model->speedText(), "10.0 MB/s");

        // A line that cannot be read, even the final one, leaves the figures.
        QVERIFY(backend_->setStatus("garbage"));
        QVERIFY(backend_->finish(0));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Selesai.");
        QCOMPARE((QList<qint64>{model->processed(), model->failed(), model->percent()}),
                 (QList<qint64>{29, 2, 29}));
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 27\nGagal: 2");
        QVERIFY(QFileInfo(latestFolder).isDir());  // the same scan may run again
        model.reset();
        QVERIFY(!QFileInfo::exists(latestFolder));
    }

    void runEndings_data() {
        QTest::addColumn<QString>("statusLine");
        QTest::addColumn<int>("exitCode");     // -1: killed
        QTest::addColumn<QString>("outcome");  // processed|status|alert
        QTest::newRow("exit 2") << "60|0|0|1.0|100" << 2
                                << "60|Proses berhenti dengan error (code 2).|";
        QTest::newRow("killed") << "60|0|0|1.0|100" << -1
                                << "60|Proses berhenti dengan error (code 9).|";
    }
    void runEndings() {
        QFETCH(QString, statusLine);
        QFETCH(int, exitCode);
        auto model = makeModel();
        scanWith(*model, "100|50|50|0");
        QVERIFY(backend_->setStatus(statusLine));
        QVERIFY(exitCode < 0 ? backend_->killRun() : backend_->finish(exitCode));
        runToEnd(*model);
        QTEST(QStringLiteral("%1|%2|%3")
                  .arg(model->processed())
                  .arg(model->status(), model->showAlert() ? model->alertText() : QString()),
              "outcome");
        model->togglePause();  // after the end: nothing
        QVERIFY(!model->isPaused());
        QVERIFY(model->scanReady());  // another run can follow at once
    }

    // STOP ends the backend by SIGTERM, continued first when paused; its end,
    // by the signal (15) or by its own exit on it (143), is a stop. A
    // SIGTERM from elsewhere is an error as before.
    void stopEndings_data() {
        QTest::addColumn<QString>("how");  // stop, paused stop, or signal
        QTest::addColumn<bool>("graceful");
        QTest::addColumn<QString>("outcome");  // processed|status|alert
        const QString stopped = "60|Proses dihentikan.|Proses Dihentikan\nBerhasil: 58\nGagal: 2";
        QTest::newRow("stop, ended by the signal") << "stop" << false << stopped;
        QTest::newRow("stop, backend exits 143") << "stop" << true << stopped;
        QTest::newRow("stop while paused") << "paused stop" << true << stopped;
        QTest::newRow("SIGTERM from elsewhere")
            << "signal" << false << "60|Proses berhenti dengan error (code 15).|";
    }
    void stopEndings() {
        QFETCH(QString, how);
        QFETCH(bool, graceful);
        auto model = makeModel();
        QVERIFY(!graceful || backend_->endGracefullyOnTerm());
        scanWith(*model, "100|50|50|0");
        model->stop();  // nothing busy: nothing
        QVERIFY(!model->isStopping());
        QVERIFY(backend_->setStatus("60|2|0|1.0|100"));
        model->start();
        const qint64 pid = model->runner().processId();
        QTRY_COMPARE_WITH_TIMEOUT(model->processed(), 60, kWait);
        if (how == "paused stop") {
            model->togglePause();
            QTRY_COMPARE(processState(pid), 'T');
        }
        if (how == "signal") {
            QCOMPARE(model->runner().sendSignal(SIGTERM), velmora::SignalResult::Delivered);
        } else {
            model->stop();
            QVERIFY(model->isStopping());
            QVERIFY(!model->isPaused());
            QCOMPARE(model->status(), QStringLiteral("Menghentikan proses…"));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QVERIFY(!model->isStopping());
        QCOMPARE(processState(pid), 0);
        QTEST(QStringLiteral("%1|%2|%3")
                  .arg(model->processed())
                  .arg(model->status(), model->showAlert() ? model->alertText() : QString()),
              "outcome");
        QVERIFY(model->scanReady());  // another run can follow at once
    }

    // Every end of a run is told to the desktop, which notifies a user who
    // did not see it: the end alert's first line over the rest, or the
    // status line of a run that failed.
    void aRunsEndIsToldToTheDesktop_data() {
        QTest::addColumn<QString>("how");  // finish, exit 2 or stop
        QTest::addColumn<QStringList>("told");
        QTest::newRow("ended well")
            << "finish" << QStringList{"Proses Selesai", "Berhasil: 58\nGagal: 2"};
        QTest::newRow("exit 2") << "exit 2"
                                << QStringList{"Proses berhenti dengan error (code 2).", ""};
        QTest::newRow("stopped") << "stop"
                                 << QStringList{"Proses Dihentikan", "Berhasil: 58\nGagal: 2"};
    }
    void aRunsEndIsToldToTheDesktop() {
        QFETCH(QString, how);
        QFETCH(QStringList, told);
        QList<QStringList> tellings;
        velmora::DesktopServices recording;
        recording.runEnded = [&tellings](const QString& summary, const QString& body) {
            tellings.append({summary, body});
        };
        velmora::setDesktopServices(recording);
        const auto restore = qScopeGuard([] { velmora::useWindowServices(); });
        auto model = makeModel();
        scanWith(*model, "100|50|50|0");
        QCOMPARE(tellings.size(), 0);  // a scan is no run
        QVERIFY(backend_->setStatus("60|2|0|1.0|100"));
        if (how == "stop") {
            model->start();
            QTRY_COMPARE_WITH_TIMEOUT(model->processed(), 60, kWait);
            model->stop();
            QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        } else {
            QVERIFY(backend_->finish(how == "finish" ? 0 : 2));
            runToEnd(*model);
        }
        QCOMPARE(tellings, QList<QStringList>{told});
    }

    void missingScriptAndRefusedLaunch() {
        auto model = makeModel();
        scanWith(*model, "3|2|1|0");
        model->runner().setResourceDirectory(path("empty"));
        runToEnd(*model);
        QCOMPARE(model->status(), "Proses berhenti dengan error (code 127).");
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Scan gagal.");

        const QString refused = QString::fromLocal8Bit(strerror(ENOENT));
        model->runner().setInterpreter(path("no-such-shell"));
        model->setShowAlert(false);
        model->start();
        QVERIFY(!model->isBusy());
        QCOMPARE(model->alertText(), refused);
        model->setShowAlert(false);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QVERIFY(model->showAlert());
        QCOMPARE(model->alertText(), refused);
    }

    // While a scan or a run is busy, its folder stays: the figures, the
    // paused state and the end alert belong to the folder shown.
    void noOtherFolderWhileBusy() {
        auto model = makeModel();
        int asked = 0;
        model->setFolderChooser([this, &asked](const QString&) {
            ++asked;
            return path("other");
        });
        const auto tryOtherFolder = [&] {
            model->chooseSource();
            model->takeChosenFolder(QUrl::fromLocalFile(path("other")));
            model->setSourceURL(QUrl::fromLocalFile(path("other")));
            model->resetScan();
        };
        QVERIFY(backend_->holdScans(true));
        QVERIFY(backend_->setSummary("9|5|4|0"));
        model->scan();
        tryOtherFolder();
        QVERIFY(backend_->holdScans(false));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), 9);

        model->start();
        QVERIFY(backend_->setStatus("4|0|0|1.0|9"));
        QTRY_COMPARE_WITH_TIMEOUT(model->processed(), 4, kWait);
        model->togglePause();
        tryOtherFolder();
        QVERIFY(model->isPaused());
        QCOMPARE(model->sourcePath(), path("source"));
        QCOMPARE(asked, 0);
        model->togglePause();
        QVERIFY(backend_->finish(0));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);

        model->chooseSource();  // idle again
        QCOMPARE(asked, 1);
        QCOMPARE(model->sourcePath(), path("other"));
    }

    // A paused run shows no speed, and a new scan none of the run before it.
    // How paused time is left out of the speed is in run_figures_test.
    void pausedAndRescannedFigures() {
        auto model = makeModel();
        scanWith(*model, "100|50|50|0");
        model->start();
        QVERIFY(backend_->setStatus("20|0|0|2.0|100"));
        QTRY_COMPARE_WITH_TIMEOUT(model->status(), "FAST MOVE… 20%", kWait);
        QVERIFY(model->speedValue() > 0);

        model->togglePause();
        QCOMPARE(model->speedValue(), 0.0);
        model->setWorkers(8);  // a run keeps the workers it started with
        QCOMPARE(model->workers(), 4);
        QTest::qWait(500);  // polls go on while paused
        QCOMPARE(model->processed(), 20);
        QCOMPARE(model->speedValue(), 0.0);
        model->togglePause();
        QCOMPARE(model->status(), "FAST MOVE dilanjutkan…");
        QVERIFY(backend_->setStatus("40|0|0|4.0|100"));
        QVERIFY(backend_->finish(0));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QVERIFY(model->speedValue() > 0);

        QVERIFY(backend_->holdScans(true));
        model->scan();
        QCOMPARE(model->percent(), 0);
        QCOMPARE(model->speedValue(), 0.0);
        QCOMPARE(model->eta(), "--:--");
        QVERIFY(backend_->holdScans(false));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
    }

    void endAlertListsTheFailures() {
        auto model = makeModel();
        scanWith(*model, "700|350|350|0");
        QVERIFY(backend_->setFailures({"/foto/a.jpg\tpermission\tPermission denied",
                                       "/foto/tab\there.jpg\tnot-regular\tnot a regular file",
                                       "/foto/c.jpg"}));
        QVERIFY(backend_->setStatus("3|3|0|1.0|700"));
        QVERIFY(backend_->finish(0));
        runToEnd(*model);
        const auto listed = [&model] {
            QStringList rows;
            for (const QVariant& row : model->alertFailures()) {
                rows << row.toMap().value("path").toString() + '=' +
                            row.toMap().value("reason").toString();
            }
            return rows;
        };
        // By path, each reason in the window's words where its code is known.
        QCOMPARE(listed(), (QStringList{"/foto/a.jpg=akses ditolak",
                                        "/foto/c.jpg=", "/foto/tab\there.jpg=bukan file biasa"}));

        // The list goes to the clipboard as the alert shows it.
        model->copyFailures();
        QCOMPARE(
            QGuiApplication::clipboard()->text(),
            "/foto/a.jpg: akses ditolak\n/foto/c.jpg\n/foto/tab\there.jpg: bukan file biasa\n");

        // Another alert lists nothing; a long list is cut, keeping the first by path.
        model->alert("Scan gagal.");
        QVERIFY(model->alertFailures().isEmpty());
        QStringList many;
        for (int n = 599; n >= 0; --n) {
            many << QStringLiteral("/foto/%1.jpg\tPermission denied").arg(n);
        }
        QVERIFY(backend_->setFailures(many));
        QVERIFY(backend_->setStatus("600|600|0|1.0|700"));
        runToEnd(*model);
        QCOMPARE(model->alertFailures().size(), SorterModel::kListedFailures);
        QCOMPARE(listed().first(), "/foto/0.jpg=Permission denied");
        QCOMPARE(listed().last(), "/foto/499.jpg=Permission denied");  // numbers by value
    }

    // A backend that works in a job folder keeps it after the model has gone.
    void destroyedDuringScan() {
        auto model = makeModel();
        QVERIFY(backend_->holdScans(true));
        model->scan();
        QTRY_VERIFY(!backend_->arguments("scan").isEmpty());
        const QString jobFolder = backend_->arguments("scan").value(2);
        model.reset();
        QTest::qWait(100);
        QVERIFY(QFileInfo(jobFolder).isDir());
        QVERIFY(backend_->holdScans(false));
        velmora::scanPool().waitForDone();
        QCoreApplication::processEvents();  // the scan's result arrives for nobody
        QTRY_VERIFY(!QFileInfo::exists(jobFolder));
    }

    // A paused backend is continued when its model goes, so that it runs to
    // its end; its job folder goes once it has ended.
    void destroyedWhilePaused() {
        auto model = makeModel();
        scanWith(*model, "10|5|5|0");
        const QString jobFolder = backend_->arguments("scan").value(2);
        model->start();
        const qint64 pid = model->runner().processId();
        model->togglePause();
        QTRY_COMPARE(processState(pid), 'T');
        model.reset();
        QTRY_VERIFY(processState(pid) != 'T');
        QVERIFY(QFileInfo(jobFolder).isDir());
        QVERIFY(backend_->finish(0));
        QTRY_VERIFY_WITH_TIMEOUT(processState(pid) == 0, kWait);
        QTRY_VERIFY(!QFileInfo::exists(jobFolder));
    }
};

QTEST_MAIN(SorterModelTest)
#include "sorter_model_test.moc"
