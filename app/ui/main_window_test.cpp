// The window shell: fixed size, tabs, fresh screens after a tab switch, and
// quitting when the window closes.
#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "compress_model.h"
#include "sorter_model.h"
#include "window_harness.h"

using velmora::testkit::WindowHarness;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void opensFixedSizeOnTheSorterTab();
    void switchingTabsGivesFreshScreensAndModels();
    void closingTheWindowQuits();
};

void MainWindowTest::opensFixedSizeOnTheSorterTab() {
    WindowHarness w;
    QVERIFY(w.window());
    QCOMPARE(w.window()->size(), QSize(420, 580));
    QCOMPARE(w.window()->minimumSize(), QSize(420, 580));
    QCOMPARE(w.window()->maximumSize(), QSize(420, 580));
    QVERIFY(w.window()->title().isEmpty());

    QVERIFY(w.find("tabPicker/segmentSORTER")->property("selected").toBool());
    QVERIFY(w.model<SorterModel>());
    QCOMPARE(w.text("settingsCard/cardTitle"), QStringLiteral("PENGATURAN SORTER"));
}

void MainWindowTest::switchingTabsGivesFreshScreensAndModels() {
    WindowHarness w;
    QPointer<SorterModel> first = w.model<SorterModel>();
    QVERIFY(first);
    first->setFolderChooser([](const QString&) { return QStringLiteral("/foto/acara"); });
    w.click(w.find("sourceRow/browseButton"));
    w.choose("modePicker", "COPY");
    QCOMPARE(w.text("sourceRow/pathText"), QStringLiteral("/foto/acara"));

    w.choose("tabPicker", "COMPRESS");
    QVERIFY(w.model<CompressModel>());
    QCOMPARE(w.text("settingsCard/cardTitle"), QStringLiteral("PENGATURAN COMPRESS"));
    QTRY_VERIFY(first.isNull());

    w.choose("tabPicker", "SORTER");
    auto* second = w.model<SorterModel>();
    QVERIFY(second);
    QCOMPARE(second->mode(), QStringLiteral("MOVE"));
    QCOMPARE(w.text("sourceRow/pathText"), QStringLiteral("Belum dipilih"));
    QCOMPARE(w.text("progressPanel/titleText"), QStringLiteral("Pilih folder sumber."));
}

void MainWindowTest::closingTheWindowQuits() {
    WindowHarness w;
    QVERIFY(w.window());
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, w.window(), [&w] { w.window()->close(); });
    // Only guards against a hang: the close must end the event loop by itself.
    QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(2); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.count(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
