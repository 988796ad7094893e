// Both job screens of the real window (the shared JobScreen with SorterView
// or CompressView), state by state through the stand-in backend: fresh,
// scanning, scanned, running, paused and ended, and each screen's own
// pickers. What the models make of the backend's files is tested in the
// model tests, and a real scan and sort through the window in
// velmora_e2e_test; here, what the screens show.
#include <QTemporaryDir>
#include <QTest>

#include "compress_model.h"
#include "fake_backend.h"
#include "sorter_model.h"
#include "window_harness.h"

using namespace velmora::testkit;

namespace {
constexpr int kBackendWait = 60000;
}  // namespace

class JobScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void freshScreen_data();
    void freshScreen();
    void sorterPickersSetTheModel();
    void onlyARealQualityChangeDiscardsTheScan();
    void scanAndRun_data();
    void scanAndRun();
};

void JobScreenTest::freshScreen_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("chosen");  // segments shown as chosen
    QTest::addColumn<QStringList>("texts");   // "path=text"
    QTest::newRow("SORTER") << "SORTER"
                            << QStringList{"modePicker/segmentMOVE", "workersPicker/segment4",
                                           "oddFoldersPicker/segment1",
                                           "evenFoldersPicker/segment1"}
                            << QStringList{"startButton=MULAI SORTIR",
                                           "progressPanel/titleText=Pilih folder sumber.",
                                           "progressPanel/speedText=0 file/s", "oddBox/valueText=0",
                                           "evenBox/valueText=0"};
    QTest::newRow("COMPRESS") << "COMPRESS"
                              << QStringList{"qualityPicker/segment50%", "workersPicker/segment4"}
                              << QStringList{
                                     "startButton=MULAI COMPRESS",
                                     "progressPanel/titleText=Pilih folder yang berisi foto.",
                                     "progressPanel/speedText=0.0 MB/s", "beforeBox/valueText=0 KB",
                                     "afterBox/valueText=0 KB"};
}

void JobScreenTest::freshScreen() {
    QFETCH(QString, tab);
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, texts);
    WindowHarness w;
    w.choose("tabPicker", tab);
    QVERIFY(w.model<JobModel>());
    for (const QString& segment : chosen) {
        QVERIFY2(w.value(segment, "selected").toBool(), qPrintable(segment));
    }
    texts << "sourceRow/pathText=Belum dipilih"
          << "totalBox/valueText=0"
          << "ignoredBox/valueText=0"
          << "progressPanel/countText=0/0"
          << "progressPanel/etaText=--:--"
          << "progressPanel/percentText=0%";
    QCOMPARE(w.shownTexts(texts), texts);
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QVERIFY(w.value("startButton", "visible").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QVERIFY(!w.value("pauseButton", "visible").toBool());
    QVERIFY(!w.value("failedText", "visible").toBool());
}

void JobScreenTest::sorterPickersSetTheModel() {
    WindowHarness w;
    auto* model = w.model<SorterModel>();
    QVERIFY(model);
    w.choose("modePicker", "COPY");
    w.choose("oddFoldersPicker", "3");
    w.choose("evenFoldersPicker", "8");
    QCOMPARE((QStringList{model->mode(), QString::number(model->oddFolders()),
                          QString::number(model->evenFolders())}),
             (QStringList{"COPY", "3", "8"}));
    QCOMPARE(w.text("progressPanel/speedText"), QStringLiteral("0.0 MB/s"));
}

void JobScreenTest::onlyARealQualityChangeDiscardsTheScan() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("240|5|734003200"));
    WindowHarness w;
    w.choose("tabPicker", "COMPRESS");
    QVERIFY(w.chooseFolder(backend.scriptFolder(), "/foto"));
    QVERIFY(w.scan());
    w.choose("qualityPicker", "50%");
    QVERIFY(w.value("startButton", "enabled").toBool());
    QCOMPARE(w.text("totalBox/valueText"), QStringLiteral("240"));

    w.choose("qualityPicker", "75%");
    QCOMPARE(w.model<CompressModel>()->quality(), 75);
    QVERIFY(!w.value("startButton", "enabled").toBool());
    const QStringList reset = {
        "totalBox/valueText=0",
        "progressPanel/titleText=Klik SCAN FOTO untuk membaca foto yang dapat dikompres."};
    QCOMPARE(w.shownTexts(reset), reset);
    QVERIFY(w.scan());
    QCOMPARE(w.text("progressPanel/titleText"),
             QStringLiteral("Scan selesai. Output: COMPRESSED_75"));
}

void JobScreenTest::scanAndRun_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("scanned");  // "path=text" after the scan
    QTest::addColumn<QString>("pausedTitle");
    QTest::addColumn<QString>("running");  // a status line, then what it shows
    QTest::addColumn<QStringList>("runningTexts");
    QTest::addColumn<QString>("last");  // the last status line, then the alert
    QTest::addColumn<QString>("alert");
    QTest::addColumn<bool>("byEscape");  // the alert is dismissed with Escape, else OK
    // 29 and 57 of 100 are where progress * 100 cut in floating point reads
    // one less: the status line and the panel show the same whole percent.
    QTest::newRow("SORTER") << "SORTER"
                            << "100|51|49|7"
                            << QStringList{"progressPanel/titleText=Scan selesai. Siap sortir.",
                                           "totalBox/valueText=100", "oddBox/valueText=51",
                                           "evenBox/valueText=49", "ignoredBox/valueText=7"}
                            << "Sortir dijeda sementara…"
                            << "29|3|0|5|100"
                            << QStringList{"progressPanel/titleText=FAST MOVE… 29%",
                                           "progressPanel/percentText=29%",
                                           "progressPanel/failedText=3 gagal",
                                           "progressPanel/speedText=6 file/s",
                                           "progressPanel/etaText=00:12"}
                            << "100|3|0|10|100"
                            << "Proses Selesai\nBerhasil: 97\nGagal: 3" << false;
    QTest::newRow("COMPRESS")
        << "COMPRESS"
        << "100|5|734003200"
        << QStringList{"progressPanel/titleText=Scan selesai. Output: COMPRESSED_50",
                       "totalBox/valueText=100", "ignoredBox/valueText=5",
                       "beforeBox/valueText=700.0 MB", "afterBox/valueText=0 KB"}
        << "Kompresi dijeda sementara…"
        << "57|2|31457280|83886080|10|100"
        << QStringList{"progressPanel/titleText=Mengompres… 57%",
                       "progressPanel/percentText=57%",
                       "progressPanel/failedText=2 gagal",
                       "progressPanel/speedText=8.0 MB/s",
                       "progressPanel/etaText=00:08",
                       "afterBox/valueText=30.0 MB",
                       "beforeBox/valueText=700.0 MB"}
        << "100|2|157286400|734003200|50|100"
        << "Proses Selesai\nBerhasil: 98\nGagal: 2" << true;
}

void JobScreenTest::scanAndRun() {
    QFETCH(QString, tab);
    QFETCH(QString, summary);
    QFETCH(QStringList, scanned);
    QFETCH(QString, pausedTitle);
    QFETCH(QString, running);
    QFETCH(QStringList, runningTexts);
    QFETCH(QString, last);
    QFETCH(QString, alert);
    QFETCH(bool, byEscape);
    FakeBackend backend;
    QTemporaryDir tree;
    QVERIFY(backend.setSummary(summary));
    QVERIFY(backend.holdScans(true));
    WindowHarness w;
    w.choose("tabPicker", tab);
    JobModel* model = w.chooseFolder(backend.scriptFolder(), tree.path());
    QVERIFY(model);
    QCOMPARE(w.text("sourceRow/pathText"), tree.path());
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());

    // While the scan runs, PAUSE stands in for the start button.
    w.click(w.find("scanButton"));
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "visible").toBool());
    QVERIFY(w.value("pauseButton", "visible").toBool());
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QVERIFY(backend.holdScans(false));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("startButton", "enabled").toBool(), kBackendWait);
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QCOMPARE(w.shownTexts(scanned), scanned);

    w.click(w.find("startButton"));
    QCOMPARE(w.text("progressPanel/countText"), QStringLiteral("0/100"));
    QVERIFY(!w.value("startButton", "visible").toBool());
    QVERIFY(w.value("pauseButton", "enabled").toBool());
    QVERIFY(!w.value("scanButton", "enabled").toBool());
    QVERIFY(w.find("sourceRow/browseButton")->isEnabled());

    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("play.fill"));
    QCOMPARE(w.text("progressPanel/titleText"), pausedTitle);
    w.choose("workersPicker", "8");  // the pickers stay usable during a run
    QCOMPARE(model->workers(), 8);
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("pause.fill"));

    QVERIFY(backend.setStatus(running));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"),
                              running.section('|', 0, 0) + "/100", kBackendWait);
    QCOMPARE(w.shownTexts(runningTexts), runningTexts);
    QVERIFY(w.value("failedText", "visible").toBool());

    QVERIFY(backend.setStatus(last));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("alertTitle"), QStringLiteral("Velmora"));
    QCOMPARE(w.text("alertMessage"), alert);
    QVERIFY(w.value("startButton", "enabled").toBool());
    QVERIFY(w.value("scanButton", "enabled").toBool());
    if (byEscape) {
        QTest::keyClick(w.window(), Qt::Key_Escape);
    } else {
        w.click(w.find("alertOkButton"));
    }
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

QTEST_MAIN(JobScreenTest)
#include "job_screen_test.moc"
