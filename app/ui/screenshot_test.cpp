// Renders both tabs of the real window to PNG files in the build folder, so
// the look can be checked by eye (and copied to the documentation).
#include <QDir>
#include <QImage>
#include <QTest>

#include "window_harness.h"

class ScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void rendersBothTabs();
};

void ScreenshotTest::rendersBothTabs() {
    const QDir folder(QStringLiteral(VELMORA_SCREENSHOT_DIR));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    WindowHarness harness;
    QVERIFY(harness.window());

    const QString sorter = folder.filePath(QStringLiteral("sorter.png"));
    QVERIFY(harness.grab(sorter));
    harness.choose(QStringLiteral("tabPicker"), QStringLiteral("COMPRESS"));
    QCOMPARE(harness.find(QStringLiteral("cardTitle"), harness.screen())->property("text"),
             QStringLiteral("PENGATURAN COMPRESS"));
    const QString compress = folder.filePath(QStringLiteral("compress.png"));
    QVERIFY(harness.grab(compress));

    for (const QString& path : {sorter, compress}) {
        const QImage image(path);
        QCOMPARE(image.size(), QSize(420, 580));
        QCOMPARE(image.pixel(2, 2), QColor::fromRgbF(0.095f, 0.095f, 0.11f).rgb());
    }
}

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
