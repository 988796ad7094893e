// What the compress model does differently from the sorter model: its texts,
// arguments, summary and status lines, a real run through compress-scan and
// Moskel, and a real pause. The run mechanics both models share (failing
// backends, refused launches, destruction mid-run) are tested through the
// sorter in sorter_model_test.
#include <QtTest>

#include <QImage>
#include <QTemporaryDir>

#include "compress_model.h"
#include "formatting.h"
#include "job_test_support.h"

using namespace std::chrono_literals;
using namespace velmora::testing;

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

/// The run figures in one line: processed|failed|progress|speed|eta|after|status.
QString runFigures(const CompressModel& m) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(m.processed())
        .arg(m.failed())
        .arg(m.progress())
        .arg(m.speedMBps())
        .arg(m.eta(), m.afterText(), m.status());
}
}  // namespace

class CompressModelTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;

    QString path(const QString& name) const { return scratch_->filePath(name); }
    QString control(const QString& name) const { return path("control/" + name); }

    /// A model over the folder "photos", driven by the built scripts or by
    /// the fake backend, polling fast.
    std::unique_ptr<CompressModel> makeModel(bool realScripts = false) {
        auto model = std::make_unique<CompressModel>();
        QString resources = builtScriptDirectory();
        if (!realScripts) {
            resources = path("resources");
            writeFakeBackend(resources, "compress_backend.sh", path("control"));
        }
        model->runner().setResourceDirectory(resources);
        model->runner().setPollInterval(20ms);
        QDir().mkpath(path("photos"));
        QString title;
        model->setFolderChooser([this, &title](const QString& shown) {
            title = shown;
            return path("photos");
        });
        model->chooseSource();
        [&] { QCOMPARE(title, "Pilih Folder Foto"); }();
        return model;
    }

    void scanWith(CompressModel& model, const QByteArray& summary) {
        writeFile(control("summary.in"), summary);
        model.scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isBusy(), kWait);
    }

  private slots:
    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(path("control"));
    }

    void realScanAndCompress() {
        if (!toolIsBuilt("compress-scan") || !toolIsBuilt("Moskel")) {
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
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->total(), 6);
        QCOMPARE(model->ignored(), 1);
        QCOMPARE(model->inputBytes(), double(photoBytes));
        QCOMPARE(model->status(), "Scan selesai. Output: COMPRESSED_50");

        model->start();
        QCOMPARE(model->status(), "Mengompres… 0%");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 6\nGagal: 0");
        QCOMPARE(model->inputBytes(), double(photoBytes));  // the scan's figure stays

        // Six smaller JPEGs of the same size in COMPRESSED_50, and their sum shown.
        const QStringList outputs = filesBelow(path("photos/COMPRESSED_50"));
        QCOMPARE(outputs.size(), 6);
        qint64 outputBytes = 0;
        for (const QString& output : outputs) {
            const QString file = path("photos/COMPRESSED_50/" + output);
            QCOMPARE(QImage(file, "JPEG").size(), QSize(160, 120));
            outputBytes += QFileInfo(file).size();
        }
        QVERIFY(outputBytes < photoBytes);
        QCOMPARE(model->afterText(), velmora::formatByteSize(outputBytes));
    }

    void realRunPausesTheTool() {
        if (!toolIsBuilt("compress-scan") || !toolIsBuilt("Moskel")) {
            QSKIP("compress-scan or Moskel is not built");
        }
        for (int n = 0; n < 40; ++n) {
            writePhoto(path(QStringLiteral("photos/p%1.jpg").arg(n)), n);
        }
        auto model = makeModel(true);
        model->setWorkers(1);
        model->scan();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);

        model->start();
        const qint64 pid = model->runner().processId();
        while (processName(pid) != "Moskel" && processState(pid) != 0) {
        }
        model->togglePause();
        QCOMPARE(model->status(), "Kompresi dijeda sementara…");
        QTRY_COMPARE(processState(pid), 'T');
        QCOMPARE(processName(pid), "Moskel");
        model->togglePause();
        QCOMPARE(model->status(), "Kompresi dilanjutkan…");
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 40\nGagal: 0");
        QCOMPARE(filesBelow(path("photos/COMPRESSED_50")).size(), 40);
    }

    void scanSummaries_data() {
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<QString>("outcome");  // total ignored before scanReady|status|alert
        const QString failed = "0 0 0 KB 0|" + kScanning + "|Scan kompresi gagal.";
        QTest::newRow("700 MB") << "240|5|" + QByteArray::number(700 * 1048576LL)
                                << "240 5 700.0 MB 1|Scan selesai. Output: COMPRESSED_50|";
        QTest::newRow("fraction") << QByteArray("12|0|1048576.5")
                                  << "12 0 1.0 MB 1|Scan selesai. Output: COMPRESSED_50|";
        QTest::newRow("none") << QByteArray("0|3|0")
                              << "0 3 0 KB 0|Tidak ada file foto yang didukung.|";
        QTest::newRow("two pieces") << QByteArray("12|0") << failed;
        QTest::newRow("not a number") << QByteArray("12|0|big") << failed;
    }
    void scanSummaries() {
        QFETCH(QByteArray, summary);
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

    void readStatus_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("figures");
        const QString unchanged = "7|1|0.5|9|--:--|2 KB|before";
        QTest::newRow("40%") << "40|2|" + QByteArray::number(30 * 1048576) + "|" +
                                    QByteArray::number(80 * 1048576) + "|10|100"
                             << "40|2|0.4|8|00:15|30.0 MB|Mengompres… 40%";
        QTest::newRow("five pieces") << QByteArray("40|2|30|80|10") << unchanged;
        QTest::newRow("not a number") << QByteArray("40|2|x|80|10|100") << unchanged;
    }
    void readStatus() {
        QFETCH(QByteArray, line);
        CompressModel model;
        model.tempDir_ = scratch_->path();
        model.total_ = 100;
        model.inputBytes_ = 12345;
        model.processed_ = 7;
        model.failed_ = 1;
        model.progress_ = 0.5;
        model.speedMBps_ = 9.0;
        model.outputBytes_ = 2048;
        model.status_ = "before";
        writeFile(path("status.txt"), line);
        model.readStatus(false);
        QTEST(runFigures(model), "figures");
        QCOMPARE(model.inputBytes(), 12345.0);
    }

    void runTextsArgumentsAndQualityChange() {
        auto model = makeModel();
        model->setQuality(75);
        model->setWorkers(3);
        scanWith(*model, "100|0|1000");
        QCOMPARE(model->status(), "Scan selesai. Output: COMPRESSED_75");
        writeFile(control("status.in"), "100|3|500|1000|2.0|100");
        model->start();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi selesai.");
        QCOMPARE(model->alertText(), "Proses Selesai\nBerhasil: 97\nGagal: 3");
        QCOMPARE(QString::fromUtf8(readFile(control("args"))).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"compress", path("photos"), model->tempDir_, "75", "3"}));

        writeFile(control("run.code"), "2");
        model->start();
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kWait);
        QCOMPARE(model->status(), "Kompresi berhenti dengan error (code 2).");

        model->setQuality(90);
        model->resetScan();  // what the screen does after a quality change
        QCOMPARE(model->outputFolderName(), "COMPRESSED_90");
        QVERIFY(!model->scanReady());
        QCOMPARE(model->total(), 0);
        QCOMPARE(model->status(), "Klik SCAN FOTO untuk membaca foto yang dapat dikompres.");
        model->start();  // no photos: silently nothing
        QVERIFY(!model->isBusy());
    }
};

QTEST_MAIN(CompressModelTest)
#include "compress_model_test.moc"
