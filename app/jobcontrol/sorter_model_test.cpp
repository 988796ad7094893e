// The sorter model, and through it the mechanics both job models share
// (JobModel): scans and runs that fail, a missing script, a refused launch,
// a scan result for a folder no longer chosen, a model destroyed while its
// backend works. compress_model_test covers what the compress job does
// differently.
#include <QtTest>

#include <QTemporaryDir>

#include <cstring>

#include "job_test_support.h"
#include "scan_pool.h"
#include "sorter_model.h"

using namespace std::chrono_literals;
using namespace velmora::testing;

namespace {
const QString kScanning = QStringLiteral("Scanning seluruh folder dan subfolder…");
const int kWait = 30000;  // ms: a ceiling for slow machines, not a speed goal

/// The run figures in one line: processed|failed|progress|speed|eta|status.
QString runFigures(const SorterModel& m) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(m.processed())
        .arg(m.failed())
        .arg(m.progress())
        .arg(m.speedValue())
        .arg(m.eta(), m.status());
}
}  // namespace

class SorterModelTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;

    QString path(const QString& name) const { return scratch_->filePath(name); }
    QString control(const QString& name) const { return path("control/" + name); }

    /// A model over the folder "source", driven by the built scripts or by
    /// the fake backend, polling fast.
    std::unique_ptr<SorterModel> makeModel(bool realScripts = false) {
        auto model = std::make_unique<SorterModel>();
        QString resources = builtScriptDirectory();
        if (!realScripts) {
            resources = path("resources");
            writeFakeBackend(resources, "sorter_backend.sh", path("control"));
        }
        model->runner().setResourceDirectory(resources);
        model->runner().setPollInterval(20ms);
        QDir().mkpath(path("source"));
        model->setFolderChooser([this](const QString&) { return path("source"); });
        model->chooseSource();
        return model;
    }

    /// Scans with the fake backend reporting `summary` (none when null).
    void scanWith(SorterModel& model, const QByteArray& summary) {
        if (!summary.isNull()) {
            writeFile(control("summary.in"), summary);
        }
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

    void runToEnd(SorterModel& model) {
        model.start();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

  private slots:
    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(path("control"));
    }

    void chooserAndPreconditions() {
        SorterModel model;
        QString title;
        model.setFolderChooser([&title](const QString& shown) {
            title = shown;
            return QString();  // cancelled
        });
        model.chooseSource();
        QCOMPARE(title, "Pilih Folder Sumber");
        QCOMPARE(model.status(), "Pilih folder sumber.");

        model.scan();
        QCOMPARE(model.alertText(), "Pilih folder sumber terlebih dahulu.");

        model.setFolderChooser([this](const QString&) { return path("source/"); });
        model.chooseSource();
        QCOMPARE(model.sourcePath(), path("source"));
        QCOMPARE(model.status(), "Klik SCAN FOTO untuk membaca seluruh subfolder.");
        model.start();  // no scan yet: silently nothing
        QVERIFY(!model.isBusy());
    }

    void realScanAndCopy() {
        if (!toolIsBuilt("Tallix") || !toolIsBuilt("Brevin")) {
            QSKIP("Tallix or Brevin is not built");
        }
        for (int n = 1; n <= 30; ++n) {
            writeFile(path(QStringLiteral("source/%1/IMG_%2.jpg").arg(n % 3 ? "a" : "b/c").arg(n)),
                      QByteArray::number(n));
        }
        writeFile(path("source/notes.txt"), "x");
        writeFile(path("source/a/cover.jpg"), "no number");
        auto model = makeModel(true);

        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE((QList<qint64>{model->total(), model->odd(), model->even(), model->ignored()}),
                 (QList<qint64>{30, 15, 15, 2}));
        QVERIFY(model->scanReady());
        QCOMPARE(model->status(), "Scan selesai. Siap sortir.");

        model->setMode("COPY");
        model->setEvenFolders(2);
        model->start();
        QCOMPARE(model->status(), "COPY… 0%");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 30\nGagal: 0");
        QCOMPARE(model->status(), "Selesai.");

        // Each copy lies in the folder of its parity, byte for byte; the
        // originals stay.
        const QStringList odd = filesBelow(path("source/GANJIL"));
        const QStringList even =
            filesBelow(path("source/GENAP_01")) + filesBelow(path("source/GENAP_02"));
        QCOMPARE(odd.size() + even.size(), 30);
        for (const QString& name : odd + even) {
            const int number = name.mid(4).section('.', 0, 0).toInt();
            QCOMPARE(odd.contains(name), number % 2 == 1);
            QCOMPARE(readFile(path("source/GANJIL/" + name)) +
                         readFile(path("source/GENAP_01/" + name)) +
                         readFile(path("source/GENAP_02/" + name)),
                     QByteArray::number(number));
        }
        QCOMPARE(filesBelow(path("source/a")).size(), 21);  // 20 photos and cover.jpg
    }

    void realRunPausesTheTool() {
        if (!toolIsBuilt("Tallix") || !toolIsBuilt("Brevin")) {
            QSKIP("Tallix or Brevin is not built");
        }
        const int count = 3000;
        for (int n = 0; n < count; ++n) {
            writeFile(path(QStringLiteral("source/d%1/p_%2.png").arg(n % 10).arg(n)), "p");
        }
        auto model = makeModel(true);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);

        model->start();  // move mode
        QCOMPARE(model->status(), "FAST MOVE… 0%");
        const qint64 pid = model->runner().processId();
        // Pause once the shell has become the tool, so the signal reaches it.
        while (processName(pid) != "Brevin" && processState(pid) != 0) {
        }
        model->togglePause();
        QVERIFY(model->isPaused());
        QCOMPARE(model->status(), "Sortir dijeda sementara…");
        QTRY_COMPARE(processState(pid), 'T');
        QCOMPARE(processName(pid), "Brevin");
        const QStringList whilePaused = filesBelow(path("source"));
        QTest::qWait(200);
        QCOMPARE(filesBelow(path("source")), whilePaused);  // no file work while stopped

        model->togglePause();
        QCOMPARE(model->status(), "FAST MOVE dilanjutkan…");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(),
                 QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: 0").arg(count));
        QCOMPARE(filesBelow(path("source/GANJIL")).size(), count / 2);
        QCOMPARE(filesBelow(path("source/GENAP")).size(), count / 2);
        QCOMPARE(processState(pid), 0);  // reaped
        model->togglePause();            // after the end: nothing
        QVERIFY(!model->isPaused());
    }

    void scanSummaries_data() {
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<QString>("outcome");  // total odd even ignored scanReady|status|alert
        QTest::newRow("photos") << QByteArray("120|61|59|7\n") << QByteArray("0")
                                << "120 61 59 7 1|Scan selesai. Siap sortir.|";
        QTest::newRow("none") << QByteArray("0|0|0|12\n") << QByteArray("0")
                              << "0 0 0 12 0|Tidak ada file bernomor.|";
        QTest::newRow("empty piece")
            << QByteArray("5||3|2|0") << QByteArray("0") << "5 3 2 0 1|Scan selesai. Siap sortir.|";
        QTest::newRow("exit 1") << QByteArray("1|1|0|0") << QByteArray("1")
                                << "0 0 0 0 0|" + kScanning + "|Scan gagal.";
        QTest::newRow("three pieces")
            << QByteArray("5|3|2") << QByteArray("0") << "0 0 0 0 0|" + kScanning + "|Scan gagal.";
        QTest::newRow("inner blank") << QByteArray("5 |3|2|0") << QByteArray("0")
                                     << "0 0 0 0 0|" + kScanning + "|Scan gagal.";
        QTest::newRow("missing") << QByteArray() << QByteArray("0")
                                 << "0 0 0 0 0|" + kScanning + "|Scan gagal.";
    }
    void scanSummaries() {
        QFETCH(QByteArray, summary);
        QFETCH(QByteArray, exitCode);
        auto model = makeModel();
        writeFile(control("scan.code"), exitCode);
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

    void readStatus_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("final");
        QTest::addColumn<QString>("figures");
        const QByteArray mb50 = QByteArray::number(50 * 1048576);
        const QString unchanged = "7|1|0.5|9|--:--|before";
        QTest::newRow("first") << "COPY" << 100LL << QByteArray("0|0|0|0.001|100\n") << false
                               << "0|0|0|0|--:--|COPY… 0%";
        QTest::newRow("copy 40%") << "COPY" << 100LL << "40|2|" + mb50 + "|10.0|100" << false
                                  << "40|2|0.4|5|00:15|COPY… 40%";
        QTest::newRow("move 40%") << "MOVE" << 100LL << "40|2|" + mb50 + "|10.0|100" << false
                                  << "40|2|0.4|4|00:15|FAST MOVE… 40%";
        QTest::newRow("zero seconds")
            << "COPY" << 100LL << QByteArray("10|0|500|0") << false << "10|0|0.1|0|00:00|COPY… 10%";
        QTest::newRow("all done, poll") << "MOVE" << 50LL << QByteArray("50|0|9|5.0|50") << false
                                        << "50|0|1|10|--:--|FAST MOVE… 100%";
        QTest::newRow("all done, final")
            << "MOVE" << 50LL << QByteArray("50|0|9|5.0|50") << true << "50|0|1|10|00:00|Selesai.";
        QTest::newRow("garbage") << "COPY" << 100LL << QByteArray("\x01\xffgarbage|||") << false
                                 << unchanged;
        QTest::newRow("three pieces")
            << "COPY" << 100LL << QByteArray("40|2|100") << true << unchanged;
        QTest::newRow("missing") << "COPY" << 100LL << QByteArray() << true << unchanged;
    }
    void readStatus() {
        QFETCH(QString, mode);
        QFETCH(qint64, total);
        QFETCH(QByteArray, line);
        QFETCH(bool, final);
        SorterModel model;
        model.setMode(mode);
        model.tempDir_ = scratch_->path();
        model.total_ = total;
        model.processed_ = 7;
        model.failed_ = 1;
        model.progress_ = 0.5;
        model.speedValue_ = 9.0;
        model.status_ = "before";
        if (!line.isNull()) {
            writeFile(path("status.txt"), line);
        }
        model.readStatus(final);
        QTEST(runFigures(model), "figures");
    }

    void runArgumentsUseTheLatestScan() {
        auto model = makeModel();
        scanWith(*model, "4|2|2|0");
        const QString firstFolder = model->tempDir_;
        scanWith(*model, "4|2|2|0");
        QVERIFY(model->tempDir_ != firstFolder);
        QVERIFY(QFileInfo(firstFolder).isDir());  // job folders are never removed
        model->setMode("COPY");
        model->setWorkers(6);
        model->setOddFolders(0);
        model->setEvenFolders(3);
        runToEnd(*model);
        QCOMPARE(QString::fromUtf8(readFile(control("args"))).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"sort", path("source"), model->tempDir_, "COPY", "6", "1", "3"}));
    }

    void runEndings_data() {
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<bool>("killed");
        QTest::addColumn<QString>("outcome");  // processed|status|alert
        QTest::newRow("success") << QByteArray("100|3|0|1.0|100\n") << QByteArray("0") << false
                                 << "100|Selesai.|Proses Selesai\nBerhasil: 97\nGagal: 3";
        QTest::newRow("garbage status") << QByteArray("garbage") << QByteArray("0") << false
                                        << "0|Selesai.|Proses Selesai\nBerhasil: 0\nGagal: 0";
        QTest::newRow("exit 2") << QByteArray("60|0|0|1.0|100") << QByteArray("2") << false
                                << "60|Proses berhenti dengan error (code 2).|";
        QTest::newRow("killed") << QByteArray("60|0|0|1.0|100") << QByteArray("0") << true
                                << "60|Proses berhenti dengan error (code 9).|";
    }
    void runEndings() {
        QFETCH(QByteArray, statusLine);
        QFETCH(QByteArray, exitCode);
        QFETCH(bool, killed);
        auto model = makeModel();
        scanWith(*model, "100|50|50|0");
        writeFile(control("status.in"), statusLine);
        writeFile(control("run.code"), exitCode);
        if (killed) {
            writeFile(control("kill"), "");
        }
        runToEnd(*model);
        QTEST(QStringLiteral("%1|%2|%3")
                  .arg(model->processed())
                  .arg(model->status(), model->showAlert() ? model->alertText() : QString()),
              "outcome");
        QVERIFY(!model->isPaused());
        QVERIFY(model->scanReady());  // another run can follow at once
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

    void folderChangedDuringScanDropsItsResult() {
        auto model = makeModel();
        writeFile(control("hold"), "");
        writeFile(control("summary.in"), "9|5|4|0");
        model->scan();
        QDir().mkpath(path("other"));
        model->setFolderChooser([this](const QString&) { return path("other"); });
        model->chooseSource();
        QFile::remove(control("hold"));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), 0);
        QVERIFY(!model->scanReady());
        QVERIFY(!model->showAlert());
    }

    // A model destroyed during a run leaves its backend alone: see
    // backend_runner_test.
    void destroyedDuringScan() {
        auto model = makeModel();
        writeFile(control("hold"), "");
        model->scan();
        model.reset();
        QFile::remove(control("hold"));
        velmora::scanPool().waitForDone();
        QCoreApplication::processEvents();  // the scan's result arrives for nobody
    }
};

QTEST_MAIN(SorterModelTest)
#include "sorter_model_test.moc"
