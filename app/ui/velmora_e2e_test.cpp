// SPDX-License-Identifier: GPL-3.0-or-later
// End to end in a real window on a private X server: choose a folder, press
// SCAN FOLDER and MULAI SORTIR, wait for the end-of-run alert, and check the
// sorted tree that the built scripts and tools have left on disk; pause a
// run and leave its tab, and check that it stays paused, then goes on to its
// end once resumed, also with its tab left.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "job_model.h"
#include "test_kit.h"
#include "window_harness.h"
#include "xvfb_server.h"

using namespace velmora::testkit;

namespace {

constexpr int kSkipped = 77;
constexpr int kBackendWait = 120000;

/// The sorter's job folders in the temporary folder.
QStringList sorterJobFolders() {
    return QDir(QDir::tempPath()).entryList({"Velmora-*"}, QDir::Dirs);
}

}  // namespace

class VelmoraEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void sortsARealTreeFromTheWindow();
    void pausedSortStaysPausedWhenItsTabIsLeft();
};

void VelmoraEndToEndTest::sortsARealTreeFromTheWindow() {
    QTemporaryDir tree;
    // x²5.jpg is listed by the scanner (number 5) but has no number for the
    // sort worker, so it is the run's one failure.
    QVERIFY(writePhotoTree(
        tree.path(), {"IMG_0001.jpg", "IMG_0002.jpg", "trip/IMG_0003.jpg", "trip/IMG_0010.png",
                      "trip/day2/DSC 7.heic", "x²5.jpg", "notes.txt", "cover.jpg"}));
    WindowHarness w;
    QVERIFY(w.window());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(w.chooseFolder(builtScriptDirectory(), tree.path()));
    w.click(w.find("scanButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("startButton", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("totalBox/valueText"), QStringLiteral("6"));
    QCOMPARE(w.text("oddBox/valueText"), QStringLiteral("4"));
    QCOMPARE(w.text("evenBox/valueText"), QStringLiteral("2"));
    QCOMPARE(w.text("ignoredBox/valueText"), QStringLiteral("2"));

    w.click(w.find("startButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "visible").toBool(), kBackendWait);
    QCOMPARE(w.text("alertMessage"), QStringLiteral("Proses Selesai\nBerhasil: 5\nGagal: 1"));
    QCOMPARE(w.text("progressPanel/titleText"), QStringLiteral("Selesai."));
    QCOMPARE(w.text("progressPanel/countText"), QStringLiteral("6/6"));
    QCOMPARE(w.text("progressPanel/failedText"), QStringLiteral("1 gagal"));

    const QStringList expected = {
        "GANJIL/DSC 7.heic",  "GANJIL/IMG_0001.jpg", "GANJIL/IMG_0003.jpg", "GENAP/IMG_0002.jpg",
        "GENAP/IMG_0010.png", "cover.jpg",           "notes.txt",           "x²5.jpg"};
    QCOMPARE(filesBelow(tree.path()), expected);
    const QDir root(tree.path());
    QCOMPARE(readFile(root.filePath("GANJIL/DSC 7.heic")), QByteArray("trip/day2/DSC 7.heic"));
    QCOMPARE(readFile(root.filePath("GENAP/IMG_0010.png")), QByteArray("trip/IMG_0010.png"));
}

void VelmoraEndToEndTest::pausedSortStaysPausedWhenItsTabIsLeft() {
    QTemporaryDir tree;
    const int count = 3000;
    for (int n = 0; n < count; ++n) {
        QVERIFY(writeFile(tree.filePath(QStringLiteral("d%1/p_%2.png").arg(n % 10).arg(n)), "p"));
    }
    WindowHarness w;
    QVERIFY(w.window());
    const QStringList foldersBefore = sorterJobFolders();
    JobModel* model = w.chooseFolder(builtScriptDirectory(), tree.path());
    QVERIFY(model);
    w.click(w.find("scanButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("startButton", "enabled").toBool(), kBackendWait);
    QStringList jobFolders = sorterJobFolders();
    for (const QString& before : foldersBefore) {
        jobFolders.removeOne(before);
    }
    QCOMPARE(jobFolders.size(), 1);
    const QString jobFolder = QDir(QDir::tempPath()).filePath(jobFolders.first());

    w.click(w.find("startButton"));  // move mode
    const qint64 pid = model->runner().processId();
    QVERIFY(waitUntilProcessIs(pid, "Brevin"));
    w.click(w.find("pauseButton"));
    QTRY_COMPARE(processState(pid), 'T');
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    const QStringList whilePaused = filesBelow(tree.path());
    QTest::qWait(200);
    QCOMPARE(filesBelow(tree.path()), whilePaused);  // no file work while stopped

    w.choose("tabPicker", "COMPRESS");  // the busy sorter screen is set aside
    QTest::qWait(300);
    QCOMPARE(processState(pid), 'T');
    QCOMPARE(filesBelow(tree.path()), whilePaused);
    w.choose("tabPicker", "SORTER");
    QCOMPARE(w.model<JobModel>(), model);
    QCOMPARE(w.text("pauseButton"), QStringLiteral("RESUME"));
    w.click(w.find("pauseButton"));
    w.choose("tabPicker", "COMPRESS");
    QTRY_VERIFY_WITH_TIMEOUT(processState(pid) == 0, kBackendWait);  // ended and reaped
    QCOMPARE(filesBelow(tree.filePath("GANJIL")).size(), count / 2);
    QCOMPARE(filesBelow(tree.filePath("GENAP")).size(), count / 2);
    QCOMPARE(filesBelow(tree.path()).size(), count);  // nothing left behind
    w.choose("tabPicker", "SORTER");
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    w.choose("tabPicker", "COMPRESS");  // idle now: the screen and its model go
    QTRY_VERIFY(!QFileInfo::exists(jobFolder));
}

int main(int argc, char* argv[]) {
    const XvfbServer server;
    if (server.display().isEmpty()) {
        std::puts("SKIP: Xvfb is not installed or did not start");
        return kSkipped;
    }
    qputenv("DISPLAY", server.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    // A temporary folder of its own, where no test running beside it makes job folders.
    const QTemporaryDir temporary;
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    QApplication app(argc, argv);
    VelmoraEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "velmora_e2e_test.moc"
