// Both job screens of the real window (the shared JobScreen with SorterView
// or CompressView), state by state through the stand-in backend: fresh,
// scanning, scanned, running, paused and ended with its alert and the
// failures it lists, and each screen's own pickers; the alert's drawn layout;
// texts read in full or else shown whole on hover. What the models make of
// the backend's files is tested in the model tests, the keyboard in
// keyboard_test, and a real scan and sort through the window in
// velmora_e2e_test; here, what the screens show.
#include <QtQuickTest/quicktest.h>
#include <QColor>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "compress_model.h"
#include "fake_backend.h"
#include "sorter_model.h"
#include "window_harness.h"

using namespace velmora::testkit;

namespace {

constexpr int kBackendWait = 60000;
const QString kBusyHint = QStringLiteral("Tidak dapat diubah selama scan atau proses berjalan.");

/// How many visible texts of the window read `text`.
qsizetype textsReading(const WindowHarness& w, const QString& text) {
    const auto items = w.visibleItems();
    return std::count_if(items.begin(), items.end(), [&text](const QQuickItem* item) {
        return item->inherits("QQuickText") && item->property("text").toString() == text;
    });
}

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
    void textsAreReadInFull_data();
    void textsAreReadInFull();
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
        "progressPanel/titleText=Klik SCAN FOLDER untuk membaca foto yang dapat dikompres."};
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
    QTest::addColumn<QStringList>("locked");  // disabled while busy
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
                            << "Proses Selesai\nBerhasil: 97\nGagal: 3"
                            << QStringList{"sourceRow/browseButton"};
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
        << "Proses Selesai\nBerhasil: 98\nGagal: 2"
        << QStringList{"sourceRow/browseButton", "qualityPicker/picker"};
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
    QFETCH(QStringList, locked);
    // Those of `locked` that are enabled in `window`.
    const auto lockedEnabled = [&locked](const WindowHarness& window) {
        QStringList enabled;
        for (const QString& control : locked) {
            if (window.value(control, "enabled").toBool()) {
                enabled << control;
            }
        }
        return enabled;
    };
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

    // While the scan runs, PAUSE stands in for the start button, and
    // nothing may change the folder or the quality under it.
    QCOMPARE(lockedEnabled(w), locked);
    w.click(w.find("scanButton"));
    QCOMPARE(lockedEnabled(w), QStringList());
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
    QCOMPARE(lockedEnabled(w), QStringList());
    for (const QString& control : locked) {  // pointing at one says why
        w.hover(w.find(control));
        QTRY_VERIFY2(w.showsText(kBusyHint), qPrintable(control));
        w.hover(w.find("progressPanel"));
        QTRY_VERIFY(!w.showsText(kBusyHint));
    }

    QVERIFY(backend.setStatus(running));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"),
                              running.section('|', 0, 0) + "/100", kBackendWait);
    QCOMPARE(w.shownTexts(runningTexts), runningTexts);
    QVERIFY(w.value("failedText", "visible").toBool());
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), QColor("#30d158"));

    // Paused, the panel says so through the polls that go on.
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("play.fill"));
    QTest::qWait(700);
    const QStringList paused = {"progressPanel/titleText=" + pausedTitle,
                                "progressPanel/etaText=dijeda"};
    QCOMPARE(w.shownTexts(paused), paused);
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), QColor("#8e8e93"));
    w.choose("workersPicker", "8");  // the other pickers stay usable during a run
    QCOMPARE(model->workers(), 8);
    w.click(w.find("pauseButton"));
    QCOMPARE(w.text("pauseButton"), QStringLiteral("PAUSE"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("pause.fill"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/titleText"),
                              runningTexts.first().section('=', 1), kBackendWait);

    // The end alert, drawn as a panel, offers the failed photos.
    QVERIFY(backend.setStatus(last));
    QVERIFY(backend.setFailures({tree.path() + "/a/IMG_1.jpg\tPermission denied",
                                 tree.path() + "/b/IMG_2.jpg\tnot a regular file"}));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    QCOMPARE(w.text("alertTitle"), QStringLiteral("Velmora"));
    QCOMPARE(w.text("alertMessage"), alert);
    QCOMPARE(w.dialogLayoutFault("alert", {"alertDetailsButton", "alertOkButton"}), QString());
    QVERIFY(!w.find("failureList")->isVisible());
    w.click(w.find("alertDetailsButton"));
    QVERIFY(w.find("failureList")->isVisible());
    QCOMPARE(w.text("alertDetailsButton"), QStringLiteral("SEMBUNYIKAN"));
    QVERIFY(w.showsText(tree.path() + "/b/IMG_2.jpg") && w.showsText("not a regular file"));
    const auto listBetweenMessageAndButtons = [&w] {
        const QRectF list = w.sceneRect(w.find("failureList"));
        return list.width() > 0 && list.top() >= w.sceneRect(w.find("alertMessage")).bottom() &&
               list.bottom() <= w.sceneRect(w.find("alertOkButton")).top();
    };
    QTRY_VERIFY(listBetweenMessageAndButtons());
    QCOMPARE(w.dialogLayoutFault("alert", {"alertDetailsButton", "alertOkButton"}), QString());

    QVERIFY(w.value("startButton", "enabled").toBool());
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QCOMPARE(lockedEnabled(w), locked);
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

void JobScreenTest::textsAreReadInFull_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("folder");   // empty: none chosen
    QTest::addColumn<QString>("summary");  // empty: not scanned
    QTest::addColumn<int>("unreadable");
    QTest::addColumn<QString>("alert");  // raised last; empty for none
    QTest::addColumn<bool>("pathCut");   // the folder's path is cut in the middle
    const QString longFolder =
        "/home/fotografer/" + QString("acara-tahunan/").repeated(8) + "AKHIR";
    QTest::newRow("SORTER fresh") << "SORTER"
                                  << ""
                                  << "" << 0 << "" << false;
    QTest::newRow("COMPRESS asks for a scan") << "COMPRESS"
                                              << "/foto"
                                              << "" << 0 << "" << false;
    QTest::newRow("long path, unreadable folders")
        << "COMPRESS" << longFolder << "240|5|734003200" << 12 << "" << true;
    QTest::newRow("long alert") << "SORTER"
                                << "/foto"
                                << "" << 0
                                << QString("Tidak dapat menjalankan proses ini. ").repeated(6)
                                << false;
}

void JobScreenTest::textsAreReadInFull() {
    QFETCH(QString, tab);
    QFETCH(QString, folder);
    QFETCH(QString, summary);
    QFETCH(int, unreadable);
    QFETCH(QString, alert);
    QFETCH(bool, pathCut);
    FakeBackend backend;
    WindowHarness w;
    w.choose("tabPicker", tab);
    if (!folder.isEmpty()) {
        QVERIFY(w.chooseFolder(backend.scriptFolder(), folder));
    }
    if (!summary.isEmpty()) {
        QStringList folders;
        for (int n = 0; n < unreadable; ++n) {
            folders << folder + "/rusak " + QString::number(n);
        }
        QVERIFY(backend.setUnreadable(folders));
        QVERIFY(backend.setSummary(summary));
        QVERIFY(w.scan());
    }
    if (!alert.isEmpty()) {
        w.model<JobModel>()->alert(alert);
        QTRY_VERIFY(w.value("alert", "opened").toBool());
        QCOMPARE(w.dialogLayoutFault("alert", {"alertOkButton"}), QString());
    }
    (void)QQuickTest::qWaitForPolish(w.window());
    QCOMPARE(w.cutOffTexts(), QStringList());

    // A path cut in the middle shows whole while the pointer is on it.
    QCOMPARE(w.value("pathText", "truncated").toBool(), pathCut);
    if (pathCut) {
        QCOMPARE(textsReading(w, folder), 1);
        w.hover(w.find("sourceRow/pathText"));
        QTRY_COMPARE(textsReading(w, folder), 2);
    }
}

QTEST_MAIN(JobScreenTest)
#include "job_screen_test.moc"
