// Renders both tabs of the real window to PNG files in the build folder, as
// opened and during a run reported by the stand-in backend, so the look can
// be checked by eye (and copied to the documentation).
#include <QDir>
#include <QImage>
#include <QTest>

#include "fake_backend.h"
#include "window_harness.h"

using velmora::testkit::FakeBackend;
using velmora::testkit::WindowHarness;

namespace {

constexpr int kBackendWait = 60000;

/// Points the shown screen at the stand-in backend and a made-up photo
/// folder, then scans and starts a run through the screen's buttons, and
/// waits until the run shows `count`.
void startRun(WindowHarness& w, FakeBackend& backend, const QString& status, const QString& count) {
    QVERIFY(w.chooseFolder(backend.scriptFolder(), "/Users/foto/Wisuda 2024"));
    QVERIFY(w.scan());
    QVERIFY(w.value("startButton", "enabled").toBool());
    QVERIFY(backend.setStatus(status));
    w.click(w.find("startButton"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), count, kBackendWait);
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void rendersBothTabsAsOpenedAndDuringARun();

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
    QCOMPARE(image.pixel(2, 2), QColor::fromRgbF(0.095f, 0.095f, 0.11f).rgb());
}

void ScreenshotTest::rendersBothTabsAsOpenedAndDuringARun() {
    WindowHarness w;
    QVERIFY(w.window());
    save(w, QStringLiteral("sorter.png"));
    {
        FakeBackend backend;
        QVERIFY(backend.setSummary("120|61|59|7"));
        startRun(w, backend, "48|2|0|6|120", "48/120");
        save(w, QStringLiteral("sorter-run.png"));
    }
    w.choose("tabPicker", "COMPRESS");  // a fresh screen, as opened
    save(w, QStringLiteral("compress.png"));
    FakeBackend backend;
    QVERIFY(backend.setSummary("240|5|734003200"));
    startRun(w, backend, "150|0|99614720|461373440|20|240", "150/240");
    save(w, QStringLiteral("compress-run.png"));
}

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
