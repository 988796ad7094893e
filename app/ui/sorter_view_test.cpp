// The SORTER screen of the real window, state by state: fresh, after a real
// scan of a temporary tree (the built backend scripts and tools), and through
// a run reported by the stand-in backend. What the model makes of the
// backend's files is tested in sorter_model_test; here, what the screen shows.
#include <QTemporaryDir>
#include <QTest>

#include "fake_backend.h"
#include "photo_tree.h"
#include "sorter_model.h"
#include "window_harness.h"

namespace {

constexpr int kBackendWait = 60000;

/// Points the window's sorter model at the scripts in `scripts` and chooses
/// `folder` through the BROWSE button.
SorterModel* chooseFolder(WindowHarness& w, const QString& scripts, const QString& folder) {
    auto* model = w.model<SorterModel>();
    if (model != nullptr) {
        model->runner().setResourceDirectory(scripts);
        model->setFolderChooser([folder](const QString&) { return folder; });
        w.click(w.find("sourceRow", "browseButton"));
    }
    return model;
}

}  // namespace

class SorterViewTest : public QObject {
    Q_OBJECT

  private slots:
    void freshScreenAndPickers();
    void realScanFillsFiguresAndEnablesStart();
    void runShowsCountsPauseResumeFailuresAndEndAlert();
};

void SorterViewTest::freshScreenAndPickers() {
    WindowHarness w;
    auto* model = w.model<SorterModel>();
    QVERIFY(model);

    QCOMPARE(w.text("sourceRow", "pathText"), QStringLiteral("Belum dipilih"));
    QVERIFY(w.find("modePicker", "segmentMOVE")->property("selected").toBool());
    QCOMPARE(w.value("workersPicker", "value").toInt(), 4);
    QCOMPARE(w.value("oddFoldersPicker", "value").toInt(), 1);
    QCOMPARE(w.value("evenFoldersPicker", "value").toInt(), 1);
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QVERIFY(w.value("startButton", "visible").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QCOMPARE(w.text("startButton"), QStringLiteral("MULAI SORTIR"));
    QVERIFY(!w.value("pauseButton", "visible").toBool());
    for (const char* box : {"totalBox", "oddBox", "evenBox", "ignoredBox"}) {
        QCOMPARE(w.text(box, "valueText"), QStringLiteral("0"));
    }
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Pilih folder sumber."));
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/0"));
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("0 file/s"));
    QCOMPARE(w.text("progressPanel", "etaText"), QStringLiteral("--:--"));
    QVERIFY(!w.value("failedText", "visible").toBool());

    w.choose("modePicker", "COPY");
    w.choose("workersPicker", "8");
    w.choose("oddFoldersPicker", "3");
    w.choose("evenFoldersPicker", "8");
    QCOMPARE(model->mode(), QStringLiteral("COPY"));
    QCOMPARE(model->workers(), 8);
    QCOMPARE(model->oddFolders(), 3);
    QCOMPARE(model->evenFolders(), 8);
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("0.0 MB/s"));
}

void SorterViewTest::realScanFillsFiguresAndEnablesStart() {
    QTemporaryDir tree;
    QVERIFY(writePhotoTree(tree.path(),
                           {"IMG_0001.jpg", "IMG_0002.jpg", "trip/DSC 45.heic", "trip/day2/c3.PNG",
                            "trip/b10.jpeg", "notes.txt", "trip/cover.jpg"}));
    WindowHarness w;
    QVERIFY(chooseFolder(w, QStringLiteral(VELMORA_DATA_DIR), tree.path()));
    QCOMPARE(w.text("sourceRow", "pathText"), tree.path());
    QCOMPARE(w.text("progressPanel", "titleText"),
             QStringLiteral("Klik SCAN FOTO untuk membaca seluruh subfolder."));
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());

    w.click(w.find("scanButton"));
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QVERIFY(w.value("pauseButton", "visible").toBool());
    QVERIFY(!w.value("startButton", "visible").toBool());

    QTRY_VERIFY_WITH_TIMEOUT(w.value("startButton", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Scan selesai. Siap sortir."));
    QCOMPARE(w.text("totalBox", "valueText"), QStringLiteral("5"));
    QCOMPARE(w.text("oddBox", "valueText"), QStringLiteral("3"));
    QCOMPARE(w.text("evenBox", "valueText"), QStringLiteral("2"));
    QCOMPARE(w.text("ignoredBox", "valueText"), QStringLiteral("2"));
    QVERIFY(w.value("startButton", "enabled").toBool());
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/5"));
}

void SorterViewTest::runShowsCountsPauseResumeFailuresAndEndAlert() {
    FakeBackend backend;
    QTemporaryDir tree;
    QVERIFY(backend.setSummary("500|250|250|0"));
    WindowHarness w;
    auto* model = chooseFolder(w, FakeBackend::scriptFolder(), tree.path());
    QVERIFY(model);
    w.click(w.find("scanButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("startButton", "enabled").toBool(), kBackendWait);

    w.click(w.find("startButton"));
    QCOMPARE(w.text("progressPanel", "countText"), QStringLiteral("0/500"));
    QVERIFY(!w.value("startButton", "visible").toBool());
    QVERIFY(w.value("pauseButton", "enabled").toBool());
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QVERIFY(w.find("sourceRow", "browseButton")->isEnabled());

    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("play.fill"));
    QCOMPARE(w.text("progressPanel", "titleText"), QStringLiteral("Sortir dijeda sementara…"));
    w.choose("modePicker", "COPY");  // the pickers stay usable during a run
    QCOMPARE(model->mode(), QStringLiteral("COPY"));
    w.choose("modePicker", "MOVE");
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("pause.fill"));

    QVERIFY(backend.setStatus("250|3|0|5|500"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel", "countText"), QStringLiteral("250/500"),
                              kBackendWait);
    QCOMPARE(w.text("progressPanel", "failedText"), QStringLiteral("3 gagal"));
    QVERIFY(w.value("failedText", "visible").toBool());
    QCOMPARE(w.text("progressPanel", "percentText"), QStringLiteral("50%"));
    QCOMPARE(w.text("progressPanel", "speedText"), QStringLiteral("50 file/s"));
    QCOMPARE(w.text("progressPanel", "etaText"), QStringLiteral("00:05"));

    QVERIFY(backend.setStatus("500|3|0|10|500"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("alertTitle"), QStringLiteral("Velmora"));
    QCOMPARE(w.text("alertMessage"), QStringLiteral("Proses Selesai\nBerhasil: 497\nGagal: 3"));
    QVERIFY(w.value("startButton", "enabled").toBool());
    QVERIFY(w.value("scanButton", "enabled").toBool());

    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

QTEST_MAIN(SorterViewTest)
#include "sorter_view_test.moc"
