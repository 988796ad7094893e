#include <QtTest>

#include <QImage>
#include <QTemporaryDir>

#include "compress_model.h"
#include "formatting.h"
#include "job_test_support.h"

using namespace std::chrono_literals;
using velmora::testing::filesBelow;
using velmora::testing::processName;
using velmora::testing::processState;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {
const QString kScanning = QStringLiteral("Scanning file foto…");
const int kWait = 30000;  // ms: a ceiling for slow machines, not a speed goal

/// A noisy photo, so that re-encoding it at a lower quality really shrinks it.
void writePhoto(const QString& path, int seed) {
    QImage image(160, 120, QImage::Format_RGB32);
    quint32 state = 2463534242u + seed;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            image.setPixel(x, y, state | 0xff000000u);
        }
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path, "JPEG", 95));
}
}  // namespace

class CompressModelTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir scratch_;

    QString path(const QString& name) const { return scratch_.filePath(name); }
    QString control(const QString& name) const { return path("control/" + name); }

    std::unique_ptr<CompressModel> makeModel(bool realScripts = false) {
        auto model = std::make_unique<CompressModel>();
        if (realScripts) {
            model->runner().setResourceDirectory(velmora::testing::builtScriptDirectory());
        } else {
            velmora::testing::writeFakeBackend(path("resources"), "compress_backend.sh",
                                               path("control"));
            model->runner().setResourceDirectory(path("resources"));
        }
        model->runner().setPollInterval(20ms);
        QDir().mkpath(path("photos"));
        model->setFolderChooser([this](const QString&) { return path("photos"); });
        model->chooseSource();
        return model;
    }

    void scanWith(CompressModel& model, const QByteArray& summary) {
        writeFile(control("summary.in"), summary);
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

    void runToEnd(CompressModel& model) {
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
        CompressModel model;
        QCOMPARE(model.status(), "Pilih folder yang berisi foto.");
        QCOMPARE(model.quality(), 50);
        QCOMPARE(model.workers(), 4);
        QCOMPARE(model.outputFolderName(), "COMPRESSED_50");
        QCOMPARE(model.beforeText(), "0 KB");
        QCOMPARE(model.afterText(), "0 KB");
        QCOMPARE(model.speedText(), "0.0 MB/s");
        QCOMPARE(model.eta(), "--:--");

        QString title;
        model.setFolderChooser([&title](const QString& shown) {
            title = shown;
            return QString();
        });
        model.chooseSource();
        QCOMPARE(title, "Pilih Folder Foto");
        QVERIFY(model.sourceURL().isEmpty());

        model.scan();
        QCOMPARE(model.alertText(), "Pilih folder sumber terlebih dahulu.");
        QVERIFY(!model.isBusy());
    }

    void realScanAndCompress() {
        if (!velmora::testing::toolIsBuilt("compress-scan") ||
            !velmora::testing::toolIsBuilt("Moskel")) {
            QSKIP("compress-scan or Moskel is not built");
        }
        qint64 photoBytes = 0;
        for (int n = 0; n < 6; ++n) {
            const QString file = path(QStringLiteral("photos/%1/shot %2.jpg").arg(n % 2).arg(n));
            writePhoto(file, n);
            photoBytes += QFileInfo(file).size();
        }
        writeFile(path("photos/readme.txt"), "left aside");
        writePhoto(path("photos/COMPRESSED_25/old.jpg"), 99);  // earlier results: pruned
        auto model = makeModel(true);
        model->setWorkers(2);

        model->scan();
        QCOMPARE(model->status(), kScanning);
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QVERIFY2(!model->showAlert(), qPrintable(model->alertText()));
        QCOMPARE(model->total(), 6);
        QCOMPARE(model->ignored(), 1);
        QCOMPARE(model->inputBytes(), double(photoBytes));
        QVERIFY(model->scanReady());
        QCOMPARE(model->status(), "Scan selesai. Output: COMPRESSED_50");

        model->start();
        QCOMPARE(model->status(), "Mengompres… 0%");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi selesai.");
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 6\nGagal: 0");
        QCOMPARE(model->processed(), 6);
        QCOMPARE(model->progress(), 1.0);
        QCOMPARE(model->eta(), "00:00");
        QCOMPARE(model->inputBytes(), double(photoBytes));  // the scan's figure stays

        const QStringList outputs = filesBelow(path("photos/COMPRESSED_50"));
        QCOMPARE(outputs.size(), 6);
        qint64 outputBytes = 0;
        for (const QString& output : outputs) {
            const QString file = path("photos/COMPRESSED_50/" + output);
            QImage image(file, "JPEG");
            QCOMPARE(image.size(), QSize(160, 120));
            outputBytes += QFileInfo(file).size();
        }
        QCOMPARE(model->outputBytes(), double(outputBytes));
        QVERIFY(outputBytes < photoBytes);
        QCOMPARE(model->afterText(), velmora::size(outputBytes));
    }

    void realRunPausesTheTool() {
        if (!velmora::testing::toolIsBuilt("compress-scan") ||
            !velmora::testing::toolIsBuilt("Moskel")) {
            QSKIP("compress-scan or Moskel is not built");
        }
        for (int n = 0; n < 40; ++n) {
            writePhoto(path(QStringLiteral("photos/p%1.jpg").arg(n)), n);
        }
        auto model = makeModel(true);
        model->setWorkers(1);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), 40);

        model->start();
        const qint64 pid = model->runner().processId();
        while (processName(pid) != "Moskel" && processState(pid) != 0) {
        }
        model->togglePause();
        QVERIFY(model->isPaused());
        QCOMPARE(model->status(), "Kompresi dijeda sementara…");
        QTRY_COMPARE(processState(pid), 'T');
        QCOMPARE(processName(pid), "Moskel");

        model->togglePause();
        QVERIFY(!model->isPaused());
        QCOMPARE(model->status(), "Kompresi dilanjutkan…");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 40\nGagal: 0");
        QCOMPARE(filesBelow(path("photos/COMPRESSED_50")).size(), 40);
    }

    void scanSummaries_data() {
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("ignored");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("status");
        const QByteArray mb700 = "240|5|" + QByteArray::number(700LL * 1048576);
        QTest::newRow("700 MB") << mb700 << QByteArray("0") << 50 << true << qint64(240)
                                << qint64(5) << "700.0 MB"
                                << "Scan selesai. Output: COMPRESSED_50";
        QTest::newRow("quality 75") << QByteArray("3|0|2048") << QByteArray("0") << 75 << true
                                    << qint64(3) << qint64(0) << "2 KB"
                                    << "Scan selesai. Output: COMPRESSED_75";
        QTest::newRow("none") << QByteArray("0|3|0") << QByteArray("0") << 50 << true << qint64(0)
                              << qint64(3) << "0 KB"
                              << "Tidak ada file foto yang didukung.";
        QTest::newRow("fractional bytes") << QByteArray("12|0|1048576.5") << QByteArray("0") << 50
                                          << true << qint64(12) << qint64(0) << "1.0 MB"
                                          << "Scan selesai. Output: COMPRESSED_50";
        QTest::newRow("two pieces") << QByteArray("12|0") << QByteArray("0") << 50 << false
                                    << qint64(0) << qint64(0) << "0 KB" << kScanning;
        QTest::newRow("not a number") << QByteArray("12|0|big") << QByteArray("0") << 50 << false
                                      << qint64(0) << qint64(0) << "0 KB" << kScanning;
        QTest::newRow("exit status") << QByteArray("12|0|10") << QByteArray("1") << 50 << false
                                     << qint64(0) << qint64(0) << "0 KB" << kScanning;
    }
    void scanSummaries() {
        QFETCH(QByteArray, summary);
        QFETCH(QByteArray, exitCode);
        QFETCH(int, quality);
        QFETCH(bool, succeeds);
        auto model = makeModel();
        model->setQuality(quality);
        writeFile(control("scan.code"), exitCode);
        scanWith(*model, summary);
        QTEST(model->status(), "status");
        QTEST(model->total(), "total");
        QTEST(model->ignored(), "ignored");
        QTEST(model->beforeText(), "before");
        QCOMPARE(model->showAlert(), !succeeds);
        if (!succeeds) {
            QCOMPARE(model->alertText(), "Scan kompresi gagal.");
        }
        QCOMPARE(model->scanReady(), succeeds && model->total() > 0);
    }

    void readStatus_data() {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("final");
        QTest::addColumn<qint64>("processed");
        QTest::addColumn<qint64>("failed");
        QTest::addColumn<double>("progress");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("eta");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("status");
        const QByteArray mb30 = QByteArray::number(30 * 1048576);
        const QByteArray mb80 = QByteArray::number(80 * 1048576);
        // Figures set before each read: 7, 1, 0.5, 9.0 and 2048 bytes written.
        QTest::newRow("first line") << qint64(100) << QByteArray("0|0|0|0|0.001|100") << false
                                    << qint64(0) << qint64(0) << 0.0 << 0.0 << "--:--"
                                    << "0 KB"
                                    << "Mengompres… 0%";
        QTest::newRow("40%") << qint64(100) << "40|2|" + mb30 + "|" + mb80 + "|10|100" << false
                             << qint64(40) << qint64(2) << 0.4 << 8.0 << "00:15"
                             << "30.0 MB"
                             << "Mengompres… 40%";
        QTest::newRow("all done, poll")
            << qint64(8) << QByteArray("8|0|1024|2048|2.0|8") << false << qint64(8) << qint64(0)
            << 1.0 << 2048 / 1048576.0 / 2 << "--:--"
            << "1 KB"
            << "Mengompres… 100%";
        QTest::newRow("all done, final")
            << qint64(8) << QByteArray("8|0|1024|2048|2.0|8") << true << qint64(8) << qint64(0)
            << 1.0 << 2048 / 1048576.0 / 2 << "00:00"
            << "1 KB"
            << "Kompresi selesai.";
        QTest::newRow("five pieces") << qint64(100) << QByteArray("40|2|30|80|10") << false
                                     << qint64(7) << qint64(1) << 0.5 << 9.0 << "--:--"
                                     << "2 KB"
                                     << "before";
        QTest::newRow("garbage") << qint64(100) << QByteArray("\xff\xfe|x|y|z|w|v") << true
                                 << qint64(7) << qint64(1) << 0.5 << 9.0 << "--:--"
                                 << "2 KB"
                                 << "before";
        QTest::newRow("missing file") << qint64(100) << QByteArray() << false << qint64(7)
                                      << qint64(1) << 0.5 << 9.0 << "--:--"
                                      << "2 KB"
                                      << "before";
    }
    void readStatus() {
        QFETCH(qint64, total);
        QFETCH(QByteArray, line);
        QFETCH(bool, final);
        CompressModel model;
        model.tempDir_ = scratch_.path();
        model.total_ = total;
        model.inputBytes_ = 12345;
        model.processed_ = 7;
        model.failed_ = 1;
        model.progress_ = 0.5;
        model.speedMBps_ = 9.0;
        model.outputBytes_ = 2048;
        model.status_ = "before";
        if (!line.isNull()) {
            writeFile(path("status.txt"), line);
        }
        model.readStatus(final);
        QTEST(model.processed(), "processed");
        QTEST(model.failed(), "failed");
        QTEST(model.progress(), "progress");
        QTEST(model.speedMBps(), "speed");
        QTEST(model.eta(), "eta");
        QTEST(model.afterText(), "after");
        QTEST(model.status(), "status");
        QCOMPARE(model.inputBytes(), 12345.0);
    }

    void runEndingsAndArguments() {
        auto model = makeModel();
        model->setQuality(75);
        model->setWorkers(3);
        scanWith(*model, "100|0|1000");
        writeFile(control("status.in"), "100|3|500|1000|2.0|100");
        model->start();
        QCOMPARE(model->status(), "Mengompres… 0%");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi selesai.");
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 97\nGagal: 3");
        QCOMPARE(QString::fromUtf8(readFile(control("args"))).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"compress", path("photos"), model->tempDir_, "75", "3"}));

        model->setShowAlert(false);
        writeFile(control("run.code"), "2");
        runToEnd(*model);
        QCOMPARE(model->status(), "Kompresi berhenti dengan error (code 2).");
        QVERIFY(!model->showAlert());
        QVERIFY(model->scanReady());
    }

    void qualityChangeAndEmptyScan() {
        auto model = makeModel();
        scanWith(*model, "4|1|4096");
        QVERIFY(model->scanReady());
        model->setQuality(75);
        QCOMPARE(model->outputFolderName(), "COMPRESSED_75");
        model->resetScan();  // what the screen does after a quality change
        QVERIFY(!model->scanReady());
        QCOMPARE(model->total(), 0);
        QCOMPARE(model->beforeText(), "0 KB");
        QCOMPARE(model->status(), "Klik SCAN FOTO untuk membaca foto yang dapat dikompres.");
        model->start();  // no photos: silently nothing
        QVERIFY(!model->isBusy());

        scanWith(*model, "0|2|0");
        model->start();
        QVERIFY(!model->isBusy());
        QVERIFY(!QFile::exists(control("args")));
    }

    void destroyedDuringRun() {
        auto model = makeModel();
        scanWith(*model, "1|0|10");
        writeFile(control("hold"), "");
        model->start();
        const qint64 pid = model->runner().processId();
        model.reset();
        QFile::remove(control("hold"));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(control("ended")), "ended\n", kWait);
        QTRY_COMPARE_WITH_TIMEOUT(processState(pid), 0, kWait);
    }
};

QTEST_MAIN(CompressModelTest)
#include "compress_model_test.moc"
