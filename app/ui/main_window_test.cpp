// SPDX-License-Identifier: GPL-3.0-or-later
// The window shell: fixed size, tabs, fresh screens after a tab switch, a
// busy job kept with its screen across one, quitting when the window
// closes, and the question first while a job is busy.
#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "compress_model.h"
#include "fake_backend.h"
#include "sorter_model.h"
#include "test_kit.h"
#include "window_harness.h"

using velmora::testkit::FakeBackend;
using velmora::testkit::processState;
using velmora::testkit::WindowHarness;

namespace {

constexpr int kBackendWait = 60000;  // ms: a ceiling for slow machines

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void opensFixedSizeOnTheSorterTab();
    void switchingTabsGivesFreshScreensAndModels();
    void aBusyJobOutlivesATabSwitch_data();
    void aBusyJobOutlivesATabSwitch();
    void closingTheWindowQuits();
    void closingDuringAJobAsksFirst_data();
    void closingDuringAJobAsksFirst();
};

void MainWindowTest::opensFixedSizeOnTheSorterTab() {
    WindowHarness w;
    QVERIFY(w.window());
    QCOMPARE(w.window()->size(), QSize(420, 580));
    QCOMPARE(w.window()->minimumSize(), QSize(420, 580));
    QCOMPARE(w.window()->maximumSize(), QSize(420, 580));
    QCOMPARE(w.window()->title(), QStringLiteral("Velmora"));

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

void MainWindowTest::aBusyJobOutlivesATabSwitch_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QStringList>("choices");  // "picker=segment", chosen before the scan
    QTest::addColumn<QString>("summary");      // the stand-in's scan and status lines
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("paused");  // the status line while paused
    QTest::addColumn<QString>("alert");
    QTest::newRow("SORTER") << "SORTER"
                            << "COMPRESS" << QStringList{"modePicker=COPY", "workersPicker=6"}
                            << "10|5|5|0"
                            << "4|1|0|2|10"
                            << "10|1|0|4|10"
                            << "Sortir dijeda sementara…"
                            << "Proses Selesai\nBerhasil: 9\nGagal: 1";
    QTest::newRow("COMPRESS") << "COMPRESS"
                              << "SORTER" << QStringList{"qualityPicker=75%", "workersPicker=2"}
                              << "10|0|7340032"
                              << "4|1|1048576|2097152|2|10"
                              << "10|1|2621440|7340032|5|10"
                              << "Kompresi dijeda sementara…"
                              << "Proses Selesai\nBerhasil: 9\nGagal: 1\n"
                                 "Ukuran: 7.0 MB → 2.5 MB (hemat 64%)";
}

void MainWindowTest::aBusyJobOutlivesATabSwitch() {
    QFETCH(QString, tab);
    QFETCH(QString, other);
    QFETCH(QStringList, choices);
    QFETCH(QString, summary);
    QFETCH(QString, running);
    QFETCH(QString, last);
    QFETCH(QString, paused);
    QFETCH(QString, alert);
    const QString shots = "velmora-" + tab.toLower() + "-returned-";
    const auto chosenShown = [&choices](const WindowHarness& window) {
        QStringList unselected;
        for (const QString& choice : choices) {
            const QString segment = choice.section('=', 0, 0) + "/segment" + choice.section('=', 1);
            if (!window.value(segment, "selected").toBool()) {
                unselected << segment;
            }
        }
        return unselected;
    };
    FakeBackend backend;
    QVERIFY(backend.setSummary(summary));
    WindowHarness w;
    if (tab != "SORTER") {
        w.choose("tabPicker", tab);
    }
    QPointer<JobModel> model = w.chooseFolder(backend.scriptFolder(), "/foto/acara");
    QVERIFY(model);
    for (const QString& choice : choices) {
        w.choose(choice.section('=', 0, 0), choice.section('=', 1));
    }
    QCOMPARE(chosenShown(w), QStringList());
    QVERIFY(w.scan());
    w.click(w.find("startButton"));
    QVERIFY(backend.setStatus(running));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), "4/10", kBackendWait);
    const qint64 pid = model->runner().processId();
    w.click(w.find("pauseButton"));
    QTRY_COMPARE(processState(pid), 'T');
    const QStringList pausedTexts = {"progressPanel/titleText=" + paused,
                                     "progressPanel/countText=4/10",
                                     "progressPanel/failedText=1 gagal",
                                     "progressPanel/etaText=dijeda",
                                     "pauseButton=RESUME",
                                     "sourceRow/pathText=/foto/acara"};
    QCOMPARE(w.shownTexts(pausedTexts), pausedTexts);

    // The other tab opens afresh, while the job stays paused unseen.
    w.choose("tabPicker", other);
    QVERIFY(w.model<JobModel>() != model.data());
    QCOMPARE(w.text("sourceRow/pathText"), QStringLiteral("Belum dipilih"));
    QVERIFY(!w.value("pauseButton", "visible").toBool());
    QTest::qWait(300);  // polls go on meanwhile
    QVERIFY(model);
    QVERIFY(model->isPaused());
    QCOMPARE(processState(pid), 'T');
    // Closing the window asks first: a job is busy, if on the other tab.
    w.window()->close();
    QTRY_VERIFY(w.value("quitQuestion", "opened").toBool());
    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("quitQuestion", "visible").toBool());
    QVERIFY(w.window()->isVisible());

    // Back, the job is as it was left: paused, its figures and choices.
    w.choose("tabPicker", tab);
    QCOMPARE(w.model<JobModel>(), model.data());
    QTRY_COMPARE(w.shownTexts(pausedTexts), pausedTexts);
    QCOMPARE(chosenShown(w), QStringList());
    QVERIFY(w.saveScreenshot(shots + "paused"));

    // Resumed, it ends while the other tab is shown: its end alert and
    // failures wait for the return.
    w.click(w.find("pauseButton"));
    QTRY_VERIFY(processState(pid) != 'T');
    w.choose("tabPicker", other);
    QVERIFY(backend.setStatus(last));
    QVERIFY(backend.setFailures({"/foto/acara/IMG_0003.jpg\tpermission\tPermission denied"}));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
    QVERIFY(model->showAlert());
    QTest::qWait(100);
    QVERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!w.showsText(alert));
    w.choose("tabPicker", tab);
    QCOMPARE(w.model<JobModel>(), model.data());
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    QCOMPARE(w.text("alertMessage"), alert);
    QCOMPARE(w.text("progressPanel/countText"), QStringLiteral("10/10"));
    QCOMPARE(w.dialogLayoutFault("alert", {"alertDetailsButton", "alertOkButton"}), QString());
    QVERIFY(w.saveScreenshot(shots + "ended"));
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.showsText("/foto/acara/IMG_0003.jpg"));
    QVERIFY(w.showsText("akses ditolak"));  // the reason in the window's language
    QVERIFY(w.saveScreenshot(shots + "ended-details"));
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QCOMPARE(chosenShown(w), QStringList());

    // Left idle now, the tab opens afresh next time.
    w.choose("tabPicker", other);
    QTRY_VERIFY(model.isNull());
    w.choose("tabPicker", tab);
    QCOMPARE(w.text("sourceRow/pathText"), QStringLiteral("Belum dipilih"));
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

void MainWindowTest::closingDuringAJobAsksFirst_data() {
    QTest::addColumn<QString>("answer");  // the button pressed; Escape in job_screen_test
    QTest::addColumn<bool>("quits");
    QTest::newRow("BATAL") << "quitCancelButton" << false;
    QTest::newRow("KELUAR") << "quitConfirmButton" << true;
}

void MainWindowTest::closingDuringAJobAsksFirst() {
    QFETCH(QString, answer);
    QFETCH(bool, quits);
    FakeBackend backend;
    QVERIFY(backend.setSummary("10|5|5|0"));
    auto w = std::make_unique<WindowHarness>();
    QVERIFY(w->chooseFolder(backend.scriptFolder(), "/foto"));
    QVERIFY(w->scan());
    w->click(w->find("startButton"));
    const qint64 pid = w->model<JobModel>()->runner().processId();
    w->window()->close();
    QTRY_VERIFY(w->value("quitQuestion", "opened").toBool());
    QVERIFY(w->window()->isVisible());
    QCOMPARE(w->dialogLayoutFault("quitQuestion", {"quitCancelButton", "quitConfirmButton"}),
             QString());
    w->click(w->find(answer));
    QTRY_VERIFY(!w->value("quitQuestion", "visible").toBool());
    QCOMPARE(w->window()->isVisible(), !quits);  // closed, as closingTheWindowQuits goes on

    // Either way the job goes on, with the window or without it.
    w.reset();
    QVERIFY(velmora::testkit::processState(pid) != 0);
    QVERIFY(backend.finish(0));
    QTRY_COMPARE(velmora::testkit::processState(pid), 0);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
