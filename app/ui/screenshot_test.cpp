// Renders the real window to PNG files in the build folder, in every state a
// user meets: as opened, scanned, running (and why BROWSE is disabled then),
// paused, the end alert and its failure details, keyboard focus, the
// compress tab with a folder chosen and running, the question before
// quitting and the folder chooser; and a sort running and its end alert in
// English. The stand-in backend reports the figures.
// The pictures are checked by eye and copied to docs/.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "fake_backend.h"
#include "window_harness.h"

using velmora::testkit::FakeBackend;
using velmora::testkit::WindowHarness;

namespace {

constexpr int kBackendWait = 60000;
const QString kFolder = QStringLiteral("/home/rani/Foto/Wisuda 2024");

/// Points the shown screen at the stand-in backend and a made-up photo
/// folder, then scans through the screen's buttons.
void chooseAndScan(WindowHarness& w, FakeBackend& backend) {
    QVERIFY(w.chooseFolder(backend.scriptFolder(), kFolder));
    QVERIFY(w.scan());
    QVERIFY(w.value("startButton", "enabled").toBool());
}

/// Starts a run that reports `status`, and waits until it shows `count`.
void startRun(WindowHarness& w, FakeBackend& backend, const QString& status, const QString& count) {
    QVERIFY(backend.setStatus(status));
    w.click(w.find("startButton"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), count, kBackendWait);
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void sorterFromOpenedToTheEndAlert();
    void compressRunningAndQuitting();
    void folderChooser();
    void sorterInEnglish();

  private:
    /// Saves the window as `name` in the screenshot folder and checks the picture.
    void save(const WindowHarness& w, const QString& name);

    QDir folder_{QStringLiteral(VELMORA_SCREENSHOT_DIR)};
};

void ScreenshotTest::initTestCase() {
    QVERIFY(folder_.mkpath(QStringLiteral(".")));
}

void ScreenshotTest::save(const WindowHarness& w, const QString& name) {
    const QString path = folder_.filePath(name);
    QVERIFY(w.grab(path));
    const QImage image(path);
    QCOMPARE(image.size(), QSize(420, 580));
}

void ScreenshotTest::sorterFromOpenedToTheEndAlert() {
    WindowHarness w;
    QVERIFY(w.window());
    save(w, "velmora-initial.png");

    FakeBackend backend;
    QVERIFY(backend.setSummary("120|61|59|7"));
    QVERIFY(backend.setUnreadable({kFolder + "/arsip lama"}));
    chooseAndScan(w, backend);
    save(w, "velmora-scanned.png");

    startRun(w, backend, "48|2|0|6|120", "48/120");
    save(w, "velmora-running.png");
    w.hover(w.find("browseButton"));
    QTRY_VERIFY(w.showsText("Tidak dapat diubah selama scan atau proses berjalan."));
    save(w, "velmora-busy-hint.png");
    w.hover(w.find("progressPanel"));
    w.click(w.find("pauseButton"));
    QTest::qWait(100);  // polls go on while paused
    save(w, "velmora-paused.png");

    w.click(w.find("pauseButton"));
    QVERIFY(backend.setFailures({kFolder + "/sesi 2/IMG_0107.jpg\tPermission denied",
                                 kFolder + "/sesi 2/IMG_0212.jpg\tnot a regular file"}));
    QVERIFY(backend.setStatus("120|2|0|15|120"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    save(w, "velmora-alert.png");
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.find("failureList")->isVisible());
    save(w, "velmora-alert-details.png");
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());

    // From BROWSE, Tab leads to the mode picker.
    w.find("browseButton")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(w.window(), Qt::Key_Tab);
    QVERIFY(w.value("modePicker/picker", "activeFocus").toBool());
    save(w, "velmora-focus.png");
}

void ScreenshotTest::compressRunningAndQuitting() {
    WindowHarness w;
    QVERIFY(w.window());
    w.choose("tabPicker", "COMPRESS");
    FakeBackend backend;
    QVERIFY(w.chooseFolder(backend.scriptFolder(), kFolder));
    save(w, "velmora-compress-chosen.png");
    QVERIFY(backend.setSummary("240|5|734003200"));
    chooseAndScan(w, backend);
    startRun(w, backend, "150|0|99614720|461373440|20|240", "150/240");
    save(w, "velmora-compress-running.png");

    w.window()->close();
    QTRY_VERIFY(w.value("quitQuestion", "opened").toBool());
    save(w, "velmora-quit-question.png");
    QVERIFY(backend.finish(0));
}

void ScreenshotTest::folderChooser() {
    // The chooser opens in the home folder: one with a few folders to show.
    QTemporaryDir home;
    for (const char* folder : {"Dokumen", "Foto", "Musik", "Unduhan", "Video"}) {
        QVERIFY(QDir(home.path()).mkdir(folder));
    }
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    WindowHarness w;
    QVERIFY(w.window());
    w.click(w.find("sourceRow/browseButton"));
    QTRY_VERIFY(w.value("folderChooser", "visible").toBool());
    QTest::qWait(300);  // the folder list fills in the background
    save(w, "velmora-folder-chooser.png");
    qputenv("HOME", realHome);
}

void ScreenshotTest::sorterInEnglish() {
    WindowHarness w(velmora::WindowLanguage::English);
    QVERIFY(w.window());
    FakeBackend backend;
    QVERIFY(backend.setSummary("120|61|59|7"));
    chooseAndScan(w, backend);
    startRun(w, backend, "48|2|0|6|120", "48/120");
    save(w, "velmora-english-running.png");

    QVERIFY(backend.setFailures({kFolder + "/sesi 2/IMG_0107.jpg\tPermission denied",
                                 kFolder + "/sesi 2/IMG_0212.jpg\tnot a regular file"}));
    QVERIFY(backend.setStatus("120|2|0|15|120"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.find("failureList")->isVisible());
    save(w, "velmora-english-alert.png");
}

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
