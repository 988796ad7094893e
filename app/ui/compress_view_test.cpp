// The COMPRESS screen of the real window, state by state: fresh, after a scan
// and a quality change, and through a run, all reported by the stand-in
// backend. What the model makes of the real backend's files is tested in
// compress_model_test.
#include <QTemporaryDir>
#include <QTest>

#include "compress_model.h"
#include "fake_backend.h"
#include "window_harness.h"

namespace {

constexpr int kBackendWait = 60000;

/// Shows the COMPRESS tab, points its model at the scripts in `scripts` and
/// chooses `folder` through the BROWSE button.
CompressModel* chooseFolder(WindowHarness& w, const QString& scripts, const QString& folder) {
    w.choose("tabPicker", "COMPRESS");
    auto* model = w.model<CompressModel>();
    if (model != nullptr) {
        model->runner().setResourceDirectory(scripts);
        model->setFolderChooser([folder](const QString&) { return folder; });
        w.click(w.find("sourceRow", "browseButton"));
    }
    return model;
}

/// Scans through the SCAN FOLDER button and waits until the scan is over.
void scan(WindowHarness& w) {
    w.click(w.find("scanButton"));
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QTRY_VERIFY_WITH_TIMEOUT(w.value("scanButton", "enabled").toBool(), kBackendWait);
}

}  // namespace

class CompressViewTest : public QObject {
    Q_OBJECT

  private slots:
    void freshScreenShowsInitialChoicesWithButtonsDisabled();
    void onlyARealQualityChangeDiscardsTheScan();
    void runShowsCountsSizesPauseResumeFailuresAndEndAlert();
};

void CompressViewTest::freshScreenShowsInitialChoicesWithButtonsDisabled() {
    WindowHarness w;
    w.choose("tabPicker", "COMPRESS");
    QVERIFY(w.model<CompressModel>());

    QCOMPARE(w.text("sourceRow", "pathText"), QStringLiteral("Belum dipilih"));
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
}

void CompressViewTest::onlyARealQualityChangeDiscardsTheScan() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("240|5|734003200"));
    WindowHarness w;
    auto* model = chooseFolder(w, FakeBackend::scriptFolder(), QStringLiteral("/foto"));
    QVERIFY(model);
    QCOMPARE(w.text("sourceRow", "pathText"), QStringLiteral("/foto"));
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());
    scan(w);
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Scan selesai. Output: COMPRESSED_50"));
    QCOMPARE(w.text("ignoredBox", "valueText"), QStringLiteral("5"));
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("700.0 MB"));

    w.choose("qualityPicker", "50%");
    QVERIFY(model->scanReady());
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("240"));

    w.choose("qualityPicker", "75%");
    QCOMPARE(model->quality(), 75);
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("0"));
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
    auto* model = chooseFolder(w, FakeBackend::scriptFolder(), QStringLiteral("/foto"));
    QVERIFY(model);
    scan(w);

    w.click(w.find("startButton"));
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/200"));
    QVERIFY(!w.value("startButton", "visible").toBool());
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));

    QVERIFY(backend.setStatus("40|2|31457280|83886080|10|200"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel", "countText"), QStringLiteral("40/200"),
                              kBackendWait);
    QCOMPARE(w.text("afterBox", "valueText"), QStringLiteral("30.0 MB"));
    QCOMPARE(w.text("beforeBox", "valueText"), QStringLiteral("700.0 MB"));
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("8.0 MB/s"));
    QCOMPARE(w.text("progressPanel", "failedText"), QStringLiteral("2 gagal"));

    QVERIFY(backend.setStatus("200|2|157286400|734003200|50|200"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("alertMessage"), QStringLiteral("Proses Selesai\nBerhasil: 198\nGagal: 2"));
    QVERIFY(w.value("startButton", "enabled").toBool());

    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

QTEST_MAIN(CompressViewTest)
#include "compress_view_test.moc"
