// SPDX-License-Identifier: GPL-3.0-or-later
// What the compress model does differently from the sorter model: its texts,
// arguments, summaries, quality changes, and a real run through compress-scan
// and Moskel, paused on the way. The run mechanics both models share (failing
// backends, refused launches, destruction mid-run) are tested through the
// sorter in sorter_model_test.
#include <QtTest>

#include <QImage>
#include <QTemporaryDir>

#include "compress_model.h"
#include "fake_backend.h"
#include "formatting.h"
#include "test_kit.h"

using namespace velmora::testkit;

namespace {
const QString kScanning = QStringLiteral("Scanning file foto…");
const int kWait = 30000;  // ms: a ceiling for slow machines, not a speed goal

/// A noisy photo, so that re-encoding it at a lower quality really shrinks it.
void writePhoto(const QString& path, quint32 seed) {
    QImage image(160, 120, QImage::Format_RGB32);
    QRandomGenerator noise(seed);
    for (int y = 0; y < image.height(); ++y) {
        noise.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), image.width());
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path, "JPEG", 95);
}

}  // namespace

class CompressModelTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<FakeBackend> backend_;

    QString path(const QString& name) const { return scratch_->filePath(name); }

    /// A model over the folder "photos", driven by the built scripts or by
    /// the fake backend, polling fast.
    std::unique_ptr<CompressModel> makeModel(bool realScripts = false) {
        auto model = std::make_unique<CompressModel>();
        prepareModel(*model, realScripts ? builtScriptDirectory() : backend_->scriptFolder(),
                     path("photos"));
        return model;
    }

    void scanWith(CompressModel& model, const QString& summary) {
        QVERIFY(backend_->setSummary(summary));
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

  private slots:
    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        backend_ = std::make_unique<FakeBackend>();
    }

    void realScanPauseAndCompress() {
        if (!toolIsBuilt("compress-scan") || !toolIsBuilt("Moskel")) {
            QSKIP("compress-scan or Moskel is not built");
        }
        const int count = 40;
        qint64 photoBytes = 0;
        for (int n = 0; n < count; ++n) {
            const QString file = path(QStringLiteral("photos/%1/shot %2.jpg").arg(n % 2).arg(n));
            writePhoto(file, n);
            photoBytes += QFileInfo(file).size();
        }
        writeFile(path("photos/readme.txt"), "left aside");
        writePhoto(path("photos/COMPRESSED_25/old.jpg"), 99);  // earlier results: pruned
        auto model = makeModel(true);
        model->setWorkers(1);

        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), count);
        QCOMPARE(model->ignored(), 1);
        QCOMPARE(model->inputBytes(), double(photoBytes));
        QCOMPARE(model->status(), "Scan selesai. Output: COMPRESSED_50");

        model->start();
        QCOMPARE(model->status(), "Mengompres… 0%");
        const qint64 pid = model->runner().processId();
        QVERIFY(waitUntilProcessIs(pid, "Moskel"));
        model->togglePause();
        QCOMPARE(model->status(), "Kompresi dijeda sementara…");
        QTRY_COMPARE(processState(pid), 'T');
        QCOMPARE(processName(pid), "Moskel");
        model->togglePause();
        QCOMPARE(model->status(), "Kompresi dilanjutkan…");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        const QString sizes = QStringLiteral(R"(Ukuran: \d+ KB → \d+ KB \(hemat \d+%\))");
        QVERIFY2(
            QRegularExpression(
                QRegularExpression::anchoredPattern(
                    QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: 0\n").arg(count) + sizes))
                .match(model->alertText())
                .hasMatch(),
            qPrintable(model->alertText()));
        QCOMPARE(model->inputBytes(), double(photoBytes));  // the scan's figure stays

        // Smaller JPEGs of the same size in COMPRESSED_50, and their sum shown.
        const QStringList outputs = filesBelow(path("photos/COMPRESSED_50"));
        QCOMPARE(outputs.size(), count);
        qint64 outputBytes = 0;
        for (const QString& output : outputs) {
            const QString file = path("photos/COMPRESSED_50/" + output);
            QCOMPARE(QImage(file, "JPEG").size(), QSize(160, 120));
            outputBytes += QFileInfo(file).size();
        }
        QVERIFY(outputBytes < photoBytes);
        QCOMPARE(model->afterText(), velmora::formatByteSize(outputBytes));
    }

    void scanSummaries_data() {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("outcome");  // total ignored before scanReady|status|alert
        const QString failed = "0 0 0 KB 0|" + kScanning + "|Scan kompresi gagal.";
        QTest::newRow("fraction") << "12|0|1048576.5"
                                  << "12 0 1.0 MB 1|Scan selesai. Output: COMPRESSED_50|";
        QTest::newRow("none") << "0|3|0"
                              << "0 3 0 KB 0|Tidak ada file foto yang didukung.|";
        QTest::newRow("names that cannot be read")
            << "12|3|1048576|2"
            << "12 3 1.0 MB 1|Scan selesai. Output: COMPRESSED_50 2 foto bernama tidak terbaca "
               "dan tidak akan diproses.|";
        QTest::newRow("two pieces") << "12|0" << failed;
        QTest::newRow("not a number") << "12|0|big" << failed;
    }
    void scanSummaries() {
        QFETCH(QString, summary);
        auto model = makeModel();
        scanWith(*model, summary);
        QTEST(QStringLiteral("%1 %2 %3 %4|%5|%6")
                  .arg(model->total())
                  .arg(model->ignored())
                  .arg(model->beforeText())
                  .arg(int(model->scanReady()))
                  .arg(model->status(), model->showAlert() ? model->alertText() : QString()),
              "outcome");
    }

    // What the end of a run tells beyond the counts: photos kept or copied
    // uncompressed, a full disk, names the scan could not read, a full job
    // folder, a read-only photo folder.
    void runEnds_data() {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("runStatus");
        QTest::addColumn<QString>("failureCode");  // of the one failed photo, if any
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("ended");  // status|alert
        const QString counts = QStringLiteral(
            "Proses Selesai\nBerhasil: 9\nGagal: 1\nUkuran: 1 KB → 0 KB (hemat 50%)\n");
        QTest::newRow("kept, uncompressed, disk full")
            << "10|0|1000|0"
            << "10|1|500|1000|2.0|10|3|2"
            << "disk-full" << 0
            << "Kompresi selesai.|" + counts +
                   "3 foto dibiarkan apa adanya (tidak lebih kecil setelah dikompres).\n"
                   "2 foto disalin tanpa kompresi (bukan gambar yang terbaca).\n"
                   "Disk penuh: 1 foto gagal karena ruang habis dan tetap di tempatnya.";
        QTest::newRow("names that cannot be read")
            << "10|2|1000|2"
            << "10|1|500|1000|2.0|10|0|0"
            << "encoder-failed" << 0
            << "Kompresi selesai.|" + counts + "2 foto bernama tidak terbaca dan tidak diproses.";
        QTest::newRow("job folder full")
            << "10|0|1000|0"
            << "10|1|500|1000|2.0|10|0|0"
            << "encoder-failed" << 4
            << "Kompresi berhenti dengan error (code 4).|" + counts +
                   "Disk folder kerja penuh: hitungan di atas mungkin kurang. Setiap foto ada di "
                   "tempat proses meninggalkannya, utuh.";
        const QString readOnly = QStringLiteral(
            "Folder foto ada di media yang hanya bisa dibaca (read-only). Tidak ada yang diubah.");
        QTest::newRow("read-only") << "10|0|1000|0"
                                   << "0|0|0|0|0.0|10|0|0"
                                   << "" << 5 << readOnly + '|' + readOnly;
    }
    void runEnds() {
        QFETCH(QString, summary);
        QFETCH(QString, runStatus);
        QFETCH(QString, failureCode);
        QFETCH(int, exit);
        auto model = makeModel();
        scanWith(*model, summary);
        QVERIFY(backend_->setStatus(runStatus));
        QVERIFY(failureCode.isEmpty() ||
                backend_->setFailures({path("photos/x.jpg") + '\t' + failureCode + "\twhy"}));
        QVERIFY(backend_->finish(exit));
        model->start();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QTEST(model->status() + '|' + (model->showAlert() ? model->alertText() : QString()),
              "ended");
    }

    // The chooser's title is checked through the window in main_window_test.
    void runTextsArgumentsAndQualityChange() {
        auto model = makeModel();
        model->setQuality(75);
        model->setWorkers(3);
        scanWith(*model, "100|0|1000");
        QCOMPARE(model->status(), "Scan selesai. Output: COMPRESSED_75");
        QVERIFY(backend_->setStatus("100|3|500|1000|2.0|100"));
        QVERIFY(backend_->finish(0));
        model->start();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi selesai.");
        QCOMPARE(model->alertText(),
                 "Proses Selesai\nBerhasil: 97\nGagal: 3\nUkuran: 1 KB → 0 KB (hemat 50%)");
        QCOMPARE(model->afterText(), "0 KB");  // 500 bytes written
        QCOMPARE(backend_->arguments("compress"),
                 (QStringList{"compress", path("photos"), backend_->arguments("scan").value(2),
                              "75", "3"}));

        // No quality change while a run is busy: it would reset its figures.
        QVERIFY(backend_->finish(2));
        model->start();
        model->setQuality(25);
        QCOMPARE(model->quality(), 75);
        QVERIFY(model->scanReady());

        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi berhenti dengan error (code 2).");

        // The same quality keeps the scan; another one discards it, since
        // the scan named another output folder.
        QSignalSpy qualityChanged(model.get(), &CompressModel::qualityChanged);
        model->setQuality(75);
        QVERIFY(model->scanReady());
        QCOMPARE(qualityChanged.count(), 0);
        model->setQuality(90);
        QCOMPARE(qualityChanged.count(), 1);
        QCOMPARE(model->outputFolderName(), "COMPRESSED_90");
        QVERIFY(!model->scanReady());
        QCOMPARE(model->total(), 0);
        QCOMPARE(model->status(), "Klik SCAN FOLDER untuk membaca foto yang dapat dikompres.");
        model->start();  // no photos: silently nothing
        QVERIFY(!model->isBusy());
    }
};

QTEST_MAIN(CompressModelTest)
#include "compress_model_test.moc"
