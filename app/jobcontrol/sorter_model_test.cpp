#include <QtTest>

#include <QTemporaryDir>

#include <cstring>

#include "job_test_support.h"
#include "sorter_model.h"

using namespace std::chrono_literals;
using velmora::testing::filesBelow;
using velmora::testing::processName;
using velmora::testing::processState;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {
const QString kScanning = QStringLiteral("Scanning seluruh folder dan subfolder…");
const int kWait = 30000;  // ms: a ceiling for slow machines, not a speed goal
}  // namespace

class SorterModelTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir scratch_;

    QString path(const QString& name) const { return scratch_.filePath(name); }
    QString control(const QString& name) const { return path("control/" + name); }

    /// A model over the folder "source", driven by the fake backend or the
    /// built scripts, polling fast.
    std::unique_ptr<SorterModel> makeModel(bool realScripts = false) {
        auto model = std::make_unique<SorterModel>();
        if (realScripts) {
            model->runner().setResourceDirectory(velmora::testing::builtScriptDirectory());
        } else {
            velmora::testing::writeFakeBackend(path("resources"), "sorter_backend.sh",
                                               path("control"));
            model->runner().setResourceDirectory(path("resources"));
        }
        model->runner().setPollInterval(20ms);
        QDir().mkpath(path("source"));
        model->setFolderChooser([this](const QString&) { return path("source"); });
        model->chooseSource();
        return model;
    }

    /// Scans with the fake backend reporting `summary`.
    void scanWith(SorterModel& model, const QByteArray& summary) {
        writeFile(control("summary.in"), summary);
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

    /// Starts a run and waits for its end.
    void runToEnd(SorterModel& model) {
        model.start();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

  private slots:
    void init() {
        QVERIFY(scratch_.isValid());
        QDir(scratch_.path()).removeRecursively();
        QDir().mkpath(control(""));
    }

    void initialStateAndChooser() {
        SorterModel model;
        QCOMPARE(model.status(), "Pilih folder sumber.");
        QCOMPARE(model.mode(), "MOVE");
        QCOMPARE(model.workers(), 4);
        QCOMPARE(model.oddFolders(), 1);
        QCOMPARE(model.evenFolders(), 1);
        QCOMPARE(model.eta(), "--:--");
        QCOMPARE(model.speedText(), "0 file/s");
        QCOMPARE(model.sourcePath(), QString());

        QString title;
        model.setFolderChooser([&title](const QString& shown) {
            title = shown;
            return QString();  // cancelled
        });
        model.chooseSource();
        QCOMPARE(title, "Pilih Folder Sumber");
        QVERIFY(model.sourceURL().isEmpty());
        QCOMPARE(model.status(), "Pilih folder sumber.");

        model.scan();  // without a folder
        QVERIFY(model.showAlert());
        QCOMPARE(model.alertText(), "Pilih folder sumber terlebih dahulu.");
        QVERIFY(!model.isBusy());

        model.setFolderChooser([this](const QString&) { return path("source/"); });
        model.chooseSource();
        QCOMPARE(model.sourcePath(), path("source"));
        QCOMPARE(model.status(), "Klik SCAN FOTO untuk membaca seluruh subfolder.");
        model.start();  // no scan yet: silently nothing
        QVERIFY(!model.isBusy());
    }

    void realScanAndCopy() {
        if (!velmora::testing::toolIsBuilt("Tallix") || !velmora::testing::toolIsBuilt("Brevin")) {
            QSKIP("Tallix or Brevin is not built");
        }
        QMap<QString, QByteArray> photos;
        for (int n = 1; n <= 30; ++n) {
            const QString name =
                QStringLiteral("%1/IMG_%2.jpg").arg(n % 3 ? "a" : "b/c").arg(n, 4, 10, QChar('0'));
            photos[name] = QByteArray("photo ") + QByteArray::number(n);
            writeFile(path("source/" + name), photos[name]);
        }
        writeFile(path("source/notes.txt"), "x");
        writeFile(path("source/a/cover.jpg"), "no number");
        auto model = makeModel(true);

        model->scan();
        QVERIFY(model->isBusy());
        QCOMPARE(model->status(), kScanning);
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QVERIFY2(!model->showAlert(), qPrintable(model->alertText()));
        QCOMPARE(model->total(), 30);
        QCOMPARE(model->odd(), 15);
        QCOMPARE(model->even(), 15);
        QCOMPARE(model->ignored(), 2);
        QVERIFY(model->scanReady());
        QCOMPARE(model->status(), "Scan selesai. Siap sortir.");

        model->setMode("COPY");
        model->setEvenFolders(2);
        model->start();
        QVERIFY(model->isBusy());
        QCOMPARE(model->status(), "COPY… 0%");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Selesai.");
        QVERIFY(model->showAlert());
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 30\nGagal: 0");
        QCOMPARE(model->processed(), 30);
        QCOMPARE(model->progress(), 1.0);
        QCOMPARE(model->eta(), "00:00");

        // Copies went into GANJIL and GENAP_01/_02; the originals stay.
        QStringList sorted;
        for (const QString& file : filesBelow(path("source"))) {
            if (file.startsWith("GANJIL/") || file.startsWith("GENAP_")) {
                sorted << file;
                const QString name = file.section('/', -1);
                const int number = name.mid(4, 4).toInt();
                QCOMPARE(file.startsWith("GANJIL/"), number % 2 == 1);
                const QString original = (number % 3 ? "a/" : "b/c/") + name;
                QCOMPARE(readFile(path("source/" + file)), photos.value(original));
                QVERIFY(QFile::exists(path("source/" + original)));
            }
        }
        QCOMPARE(sorted.size(), 30);
    }

    void realRunPausesTheTool() {
        if (!velmora::testing::toolIsBuilt("Tallix") || !velmora::testing::toolIsBuilt("Brevin")) {
            QSKIP("Tallix or Brevin is not built");
        }
        const int count = 4000;
        for (int n = 0; n < count; ++n) {
            writeFile(path(QStringLiteral("source/d%1/p_%2.png").arg(n % 10).arg(n)), "p");
        }
        auto model = makeModel(true);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), count);

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
        QVERIFY(model->isBusy());

        model->togglePause();
        QVERIFY(!model->isPaused());
        QTRY_VERIFY(processState(pid) != 'T');
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Selesai.");
        QCOMPARE(model->alertText(),
                 QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: 0").arg(count));
        QCOMPARE(filesBelow(path("source/GANJIL")).size() + filesBelow(path("source/GENAP")).size(),
                 count);
        QCOMPARE(processState(pid), 0);
        model->togglePause();  // after the end: nothing
        QVERIFY(!model->isPaused());
    }

    void scanSummaries_data() {
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QList<qint64>>("figures");
        QTest::addColumn<QString>("status");
        QTest::newRow("photos") << QByteArray("120|61|59|7\n") << QByteArray("0") << true
                                << QList<qint64>{120, 61, 59, 7} << "Scan selesai. Siap sortir.";
        QTest::newRow("none numbered") << QByteArray("0|0|0|12\n") << QByteArray("0") << true
                                       << QList<qint64>{0, 0, 0, 12} << "Tidak ada file bernomor.";
        QTest::newRow("empty piece") << QByteArray("5||3|2|0") << QByteArray("0") << true
                                     << QList<qint64>{5, 3, 2, 0} << "Scan selesai. Siap sortir.";
        QTest::newRow("exit status") << QByteArray("120|61|59|7\n") << QByteArray("1") << false
                                     << QList<qint64>{} << kScanning;
        QTest::newRow("three pieces")
            << QByteArray("5|3|2\n") << QByteArray("0") << false << QList<qint64>{} << kScanning;
        QTest::newRow("inner blank")
            << QByteArray("5 |3|2|0\n") << QByteArray("0") << false << QList<qint64>{} << kScanning;
        QTest::newRow("missing") << QByteArray() << QByteArray("0") << false << QList<qint64>{}
                                 << kScanning;
    }
    void scanSummaries() {
        QFETCH(QByteArray, summary);
        QFETCH(QByteArray, exitCode);
        QFETCH(bool, succeeds);
        QFETCH(QList<qint64>, figures);
        QFETCH(QString, status);
        auto model = makeModel();
        writeFile(control("scan.code"), exitCode);
        if (!summary.isEmpty()) {
            scanWith(*model, summary);
        } else {
            model->scan();
            QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        }
        QCOMPARE(model->status(), status);
        QCOMPARE(model->showAlert(), !succeeds);
        if (!succeeds) {
            QCOMPARE(model->alertText(), "Scan gagal.");
            figures = {0, 0, 0, 0};
        }
        QCOMPARE((QList<qint64>{model->total(), model->odd(), model->even(), model->ignored()}),
                 figures);
        QCOMPARE(model->scanReady(), succeeds && figures[0] > 0);
    }

    void readStatus_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("final");
        QTest::addColumn<qint64>("processed");
        QTest::addColumn<qint64>("failed");
        QTest::addColumn<double>("progress");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("eta");
        QTest::addColumn<QString>("status");
        const QByteArray mb50 = QByteArray::number(50 * 1048576);
        // The row "unchanged" figures are the ones set before the read: 7, 1, 0.5, 9.0.
        QTest::newRow("first line") << "COPY" << qint64(100) << QByteArray("0|0|0|0.001|100\n")
                                    << false << qint64(0) << qint64(0) << 0.0 << 0.0 << "--:--"
                                    << "COPY… 0%";
        QTest::newRow("copy 40%") << "COPY" << qint64(100) << "40|2|" + mb50 + "|10.0|100" << false
                                  << qint64(40) << qint64(2) << 0.4 << 5.0 << "00:15"
                                  << "COPY… 40%";
        QTest::newRow("move 40%") << "MOVE" << qint64(100) << "40|2|" + mb50 + "|10.0|100" << false
                                  << qint64(40) << qint64(2) << 0.4 << 4.0 << "00:15"
                                  << "FAST MOVE… 40%";
        QTest::newRow("no time yet") << "COPY" << qint64(100) << QByteArray("10|0|500|0|100")
                                     << false << qint64(10) << qint64(0) << 0.1 << 0.0 << "00:00"
                                     << "COPY… 10%";
        QTest::newRow("all done, poll")
            << "MOVE" << qint64(50) << QByteArray("50|0|9|5.0|50") << false << qint64(50)
            << qint64(0) << 1.0 << 10.0 << "--:--"
            << "FAST MOVE… 100%";
        QTest::newRow("all done, final")
            << "MOVE" << qint64(50) << QByteArray("50|0|9|5.0|50") << true << qint64(50)
            << qint64(0) << 1.0 << 10.0 << "00:00"
            << "Selesai.";
        QTest::newRow("99.9%") << "MOVE" << qint64(1000) << QByteArray("999|0|0|999.0") << false
                               << qint64(999) << qint64(0) << 0.999 << 1.0 << "00:01"
                               << "FAST MOVE… 99%";
        QTest::newRow("garbage") << "COPY" << qint64(100) << QByteArray("\x01\xffgarbage|||")
                                 << false << qint64(7) << qint64(1) << 0.5 << 9.0 << "--:--"
                                 << "before";
        QTest::newRow("three pieces") << "COPY" << qint64(100) << QByteArray("40|2|100") << true
                                      << qint64(7) << qint64(1) << 0.5 << 9.0 << "--:--"
                                      << "before";
        QTest::newRow("infinite seconds")
            << "COPY" << qint64(100) << QByteArray("40|2|1|1e999") << false << qint64(7)
            << qint64(1) << 0.5 << 9.0 << "--:--"
            << "before";
        QTest::newRow("missing file") << "COPY" << qint64(100) << QByteArray() << true << qint64(7)
                                      << qint64(1) << 0.5 << 9.0 << "--:--"
                                      << "before";
    }
    void readStatus() {
        QFETCH(QString, mode);
        QFETCH(qint64, total);
        QFETCH(QByteArray, line);
        QFETCH(bool, final);
        SorterModel model;
        model.setMode(mode);
        model.tempDir_ = scratch_.path();
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
        QTEST(model.processed(), "processed");
        QTEST(model.failed(), "failed");
        QTEST(model.progress(), "progress");
        QTEST(model.speedValue(), "speed");
        QTEST(model.eta(), "eta");
        QTEST(model.status(), "status");
    }

    void runArgumentsAndSecondScanFolder() {
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
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("alert");
        QTest::addColumn<qint64>("processed");
        QTest::newRow("success") << QByteArray("100|3|0|1.0|100\n") << QByteArray("0") << false
                                 << "Selesai."
                                 << "Proses Selesai\nBerhasil: 97\nGagal: 3" << qint64(100);
        QTest::newRow("garbage status")
            << QByteArray("garbage") << QByteArray("0") << false << "Selesai."
            << "Proses Selesai\nBerhasil: 0\nGagal: 0" << qint64(0);
        QTest::newRow("exit status 2")
            << QByteArray("60|0|0|1.0|100") << QByteArray("2") << false
            << "Proses berhenti dengan error (code 2)." << QString() << qint64(60);
        QTest::newRow("killed") << QByteArray("60|0|0|1.0|100") << QByteArray("0") << true
                                << "Proses berhenti dengan error (code 9)." << QString()
                                << qint64(60);
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
        QTEST(model->status(), "status");
        QTEST(model->alertText(), "alert");
        QCOMPARE(model->showAlert(), !model->alertText().isEmpty());
        QTEST(model->processed(), "processed");
        QVERIFY(!model->isPaused());
        QVERIFY(model->scanReady());  // another run can follow at once
    }

    void missingScriptAndRefusedLaunch() {
        auto model = makeModel();
        scanWith(*model, "3|2|1|0");
        model->runner().setResourceDirectory(path("empty"));
        runToEnd(*model);
        QCOMPARE(model->status(), "Proses berhenti dengan error (code 127).");
        QVERIFY(!model->showAlert());

        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Scan gagal.");

        model->setShowAlert(false);
        model->runner().setInterpreter(path("no-such-shell"));
        model->start();
        QVERIFY(!model->isBusy());
        QVERIFY(!model->isPaused());
        QCOMPARE(model->alertText(), QString::fromLocal8Bit(strerror(ENOENT)));
        QCOMPARE(model->runner().processId(), -1);

        model->setShowAlert(false);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), QString::fromLocal8Bit(strerror(ENOENT)));
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
        QCOMPARE(model->status(), "Klik SCAN FOTO untuk membaca seluruh subfolder.");
    }

    void destroyedDuringScanAndRun() {
        auto model = makeModel();
        writeFile(control("hold"), "");
        model->scan();
        model.reset();
        QFile::remove(control("hold"));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();  // the scan's result arrives for nobody

        model = makeModel();
        scanWith(*model, "1|1|0|0");
        writeFile(control("status.in"), "1|0|1|0.5|1");
        writeFile(control("hold"), "");
        model->start();
        const qint64 pid = model->runner().processId();
        model.reset();
        QFile::remove(control("hold"));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(control("ended")), "ended\n", kWait);
        QTRY_COMPARE_WITH_TIMEOUT(processState(pid), 0, kWait);  // reaped
    }
};

QTEST_MAIN(SorterModelTest)
#include "sorter_model_test.moc"
