// The COMPRESS screen of the real window, state by state: fresh, after a real
// scan of a temporary folder (the built backend scripts and tools), after a
// quality change, and through a run reported by the stand-in backend.
#include <QTemporaryDir>
#include <QTest>

#include "compress_model.h"
#include "fake_backend.h"
#include "photo_tree.h"
#include "window_harness.h"

namespace {

constexpr int kBackendWait = 60000;

}  // namespace

class CompressViewTest : public QObject {
    Q_OBJECT

  private slots:
    void freshScreenShowsInitialChoicesWithButtonsDisabled();
    void realScanFillsFiguresAndNamesOutputFolder();
    void onlyARealQualityChangeDiscardsTheScan();
    void runShowsCountsSizesPauseResumeFailuresAndEndAlert();

  private:
    /// Shows the COMPRESS tab, whose model then uses the scripts in `scripts`
    /// and answers the folder chooser with `folder`.
    CompressModel* prepare(WindowHarness& harness, const QString& scripts, const QString& folder);
    /// Scans through the SCAN FOLDER button and waits until the scan is over.
    static void scan(WindowHarness& harness);

    QString chooserTitle_;
};

CompressModel* CompressViewTest::prepare(WindowHarness& harness, const QString& scripts,
                                         const QString& folder) {
    harness.choose("tabPicker", "COMPRESS");
    auto* model = harness.model<CompressModel>();
    if (model != nullptr) {
        model->runner().setResourceDirectory(scripts);
        model->setFolderChooser([this, folder](const QString& title) {
            chooserTitle_ = title;
            return folder;
        });
    }
    return model;
}

void CompressViewTest::scan(WindowHarness& harness) {
    harness.click(harness.find("scanButton"));
    QVERIFY(!harness.value("scanButton", "enabled").toBool());
    QVERIFY(harness.value("pauseButton", "visible").toBool());
    QCOMPARE(harness.text("progressPanel", "titleText"), QStringLiteral("Scanning file foto…"));
    QTRY_VERIFY_WITH_TIMEOUT(harness.value("scanButton", "enabled").toBool(), kBackendWait);
}

void CompressViewTest::freshScreenShowsInitialChoicesWithButtonsDisabled() {
    WindowHarness w;
    QVERIFY(prepare(w, FakeBackend::scriptFolder(), QString()));

    QCOMPARE(w.text("sourceRow", "pathText"), QStringLiteral("Belum dipilih"));
    QCOMPARE(w.value("qualityPicker", "value").toInt(), 50);
    QVERIFY(w.find("qualityPicker", "segment50%")->property("selected").toBool());
    QCOMPARE(w.value("workersPicker", "value").toInt(), 4);
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QCOMPARE(w.text("startButton"), QStringLiteral("MULAI COMPRESS"));
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QVERIFY(!w.value("pauseButton", "visible").toBool());

    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("0"));
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("0 KB"));
    QCOMPARE(w.text("afterBox", "valueText"), QStringLiteral("0 KB"));
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Pilih folder yang berisi foto."));
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("0.0 MB/s"));
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/0"));

    w.choose("workersPicker", "6");
    QCOMPARE(w.model<CompressModel>()->workers(), 6);
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Pilih folder yang berisi foto."));
}

void CompressViewTest::realScanFillsFiguresAndNamesOutputFolder() {
    QTemporaryDir folder;
    QVERIFY(writePhotoTree(folder.path(), {"a.jpg", "b.png", "sub/c.jpeg", "notes.txt"}));
    WindowHarness w;
    QVERIFY(prepare(w, QStringLiteral(VELMORA_DATA_DIR), folder.path()));

    w.click(w.find("sourceRow", "browseButton"));
    QCOMPARE(chooserTitle_, QStringLiteral("Pilih Folder Foto"));
    QCOMPARE(w.text("sourceRow", "pathText"), folder.path());
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Klik SCAN FOTO untuk membaca foto yang dapat dikompres."));
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());

    scan(w);
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Scan selesai. Output: COMPRESSED_50"));
    QVERIFY(w.value("startButton", "enabled").toBool());
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("3"));
    QCOMPARE(w.text("ignoredBox", "valueText"), QStringLiteral("1"));
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("0 KB"));
    QCOMPARE(w.text("afterBox", "valueText"), QStringLiteral("0 KB"));
}

void CompressViewTest::onlyARealQualityChangeDiscardsTheScan() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("240|5|734003200"));
    WindowHarness w;
    auto* model = prepare(w, FakeBackend::scriptFolder(), QStringLiteral("/foto"));
    QVERIFY(model);
    w.click(w.find("sourceRow", "browseButton"));
    scan(w);
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("700.0 MB"));
    QVERIFY(w.value("startButton", "enabled").toBool());

    w.choose("qualityPicker", "50%");
    QVERIFY(model->scanReady());
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("240"));
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Scan selesai. Output: COMPRESSED_50"));

    w.choose("qualityPicker", "75%");
    QCOMPARE(model->quality(), 75);
    QVERIFY(w.find("qualityPicker", "segment75%")->property("selected").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("0"));
    QCOMPARE(w.text("ignoredBox", "valueText"), QStringLiteral("0"));
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Klik SCAN FOTO untuk membaca foto yang dapat dikompres."));

    scan(w);
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Scan selesai. Output: COMPRESSED_75"));
}

void CompressViewTest::runShowsCountsSizesPauseResumeFailuresAndEndAlert() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("200|5|734003200"));
    WindowHarness w;
    auto* model = prepare(w, FakeBackend::scriptFolder(), QStringLiteral("/foto"));
    QVERIFY(model);
    w.click(w.find("sourceRow", "browseButton"));
    scan(w);

    w.click(w.find("startButton"));
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/200"));
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Mengompres… 0%"));
    QVERIFY(!w.value("startButton", "visible").toBool());
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QVERIFY(!w.value("scanButton", "enabled").toBool());

    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Kompresi dijeda sementara…"));
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));

    QVERIFY(backend.setStatus("40|2|31457280|83886080|10|200"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel", "countText"), QStringLiteral("40/200"),
                              kBackendWait);
    QCOMPARE(w.text("afterBox", "valueText"), QStringLiteral("30.0 MB"));
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("700.0 MB"));
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("8.0 MB/s"));
    QCOMPARE(w.text("progressPanel", "etaText"), QStringLiteral("00:40"));
    QCOMPARE(w.text("progressPanel", "percentText"), QStringLiteral("20%"));
    QCOMPARE(w.text("progressPanel", "failedText"), QStringLiteral("2 gagal"));

    QVERIFY(backend.setStatus("200|2|157286400|734003200|50|200"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("alertMessage"), QStringLiteral("Proses Selesai\nBerhasil: 198\nGagal: 2"));
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Kompresi selesai."));
    QVERIFY(w.value("startButton", "enabled").toBool());

    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

QTEST_MAIN(CompressViewTest)
#include "compress_view_test.moc"
