// SPDX-License-Identifier: GPL-3.0-or-later
// Three ways of the real window that save the user a step: a folder or a
// file dragged from the file manager onto a job screen chooses its folder as
// BROWSE does (and a drag it refuses says why), the end alert's OPEN FOLDER
// opens the folder the run wrote into, and the window's title gives the
// percent of the run going on. Drags are real drag events with URL data sent
// to the window; the file manager is stood in for by a URL handler that
// records what the window asked it to open.
#include <QtQuickTest/quicktest.h>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "compress_model.h"
#include "fake_backend.h"
#include "sorter_model.h"
#include "test_kit.h"
#include "window_harness.h"

using namespace velmora::testkit;
using velmora::WindowLanguage;

namespace {

constexpr int kBackendWait = 60000;  // ms: a ceiling for slow machines
constexpr Qt::DropActions kFileManagerActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
const QString kBusyHint = QStringLiteral("Tidak dapat diubah selama scan atau proses berjalan.");
const QString kNotHere =
    QStringLiteral("Hanya folder atau file di komputer ini yang dapat dipilih.");
const QString kGone = QStringLiteral("Folder atau file ini sudah tidak ada.");

/// A drag of URLs from the file manager onto the window, as the platform
/// delivers one: it comes in over the middle of an item, moves a little,
/// and is dropped or leaves.
class Drag {
  public:
    Drag(QQuickWindow* window, const QList<QUrl>& urls) : window_(window) { data_.setUrls(urls); }
    Drag(const Drag&) = delete;
    Drag& operator=(const Drag&) = delete;

    /// Enters over the middle of `item` and moves; true when the window
    /// takes the drag there.
    bool enter(const QQuickItem* item) {
        at_ = WindowHarness::sceneRect(item).center().toPoint();
        QDragEnterEvent entering(at_, kFileManagerActions, &data_, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &entering);
        at_ += QPoint(3, 2);
        QDragMoveEvent moving(at_, kFileManagerActions, &data_, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &moving);
        return entering.isAccepted() && moving.isAccepted();
    }
    /// Drops where it is; true when the window takes the drop.
    bool drop() {
        QDropEvent dropping(QPointF(at_), kFileManagerActions, &data_, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &dropping);
        return dropping.isAccepted() && dropping.dropAction() != Qt::IgnoreAction;
    }
    /// Leaves the window without a drop.
    void leave() {
        QDragLeaveEvent leaving;
        QCoreApplication::sendEvent(window_, &leaving);
    }

  private:
    QQuickWindow* window_;
    QMimeData data_;
    QPoint at_;
};

}  // namespace

/// Stands in for the file manager: records each URL the window opens.
class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }
};

class DropOpenTitleTest : public QObject {
    Q_OBJECT

  private slots:
    void aDropChoosesItsFolder_data();
    void aDropChoosesItsFolder();
    void aRefusedDropSaysWhy_data();
    void aRefusedDropSaysWhy();
    void aDropGoneWhileHoveringIsRefused();
    void openFolderOpensWhatTheRunWrote_data();
    void openFolderOpensWhatTheRunWrote();
    void openFolderOpensARealCompressOutput();
    void openFolderIsOfferedOnlyForAFolderThere_data();
    void openFolderIsOfferedOnlyForAFolderThere();
    void theTitleGivesTheRunsPercent();
};

void DropOpenTitleTest::aDropChoosesItsFolder_data() {
    QTest::addColumn<QString>("tab");
    // Below the temporary folder; "localhost:" names it in a URL with that host.
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QString>("chosen");   // the folder chosen, below it too
    QTest::addColumn<QString>("picture");  // of the highlight while it hovers; "" for none
    QTest::newRow("SORTER, a folder") << "SORTER" << QStringList{"Wisuda 2024"} << "Wisuda 2024"
                                      << "velmora-drop-hover";
    QTest::newRow("COMPRESS, a folder") << "COMPRESS" << QStringList{"Wisuda 2024"} << "Wisuda 2024"
                                        << "velmora-compress-drop-hover";
    QTest::newRow("a photo: its folder")
        << "SORTER" << QStringList{"Wisuda 2024/sesi 1/IMG_0007.jpg"} << "Wisuda 2024/sesi 1"
        << "";
    QTest::newRow("file://localhost/…")
        << "SORTER" << QStringList{"localhost:Wisuda 2024/sesi 1"} << "Wisuda 2024/sesi 1"
        << "";
    QTest::newRow("several: the first")
        << "COMPRESS" << QStringList{"Wisuda 2024/sesi 1", "Wisuda 2024", "Wisuda 2024/x.jpg"}
        << "Wisuda 2024/sesi 1"
        << "";
}

void DropOpenTitleTest::aDropChoosesItsFolder() {
    QFETCH(QString, tab);
    QFETCH(QStringList, dropped);
    QFETCH(QString, chosen);
    QFETCH(QString, picture);
    QTemporaryDir scratch;
    QVERIFY(writePhotoTree(scratch.path(), {"Wisuda 2024/sesi 1/IMG_0007.jpg", "Wisuda 2024/x.jpg",
                                            "Lama/IMG_0001.jpg"}));
    QList<QUrl> urls;
    for (const QString& path : dropped) {
        urls << QUrl::fromLocalFile(scratch.filePath(path.section("localhost:", -1)));
        if (path.startsWith("localhost:")) {
            urls.last().setHost("localhost");
        }
    }
    FakeBackend backend;
    WindowHarness w;
    w.choose("tabPicker", tab);
    // A folder chosen before, with its scan: the drop replaces both.
    QVERIFY(backend.setSummary(tab == "SORTER" ? "10|5|5|0" : "10|0|7340032"));
    JobModel* model = w.chooseFolder(backend.scriptFolder(), scratch.filePath("Lama"));
    QVERIFY(model);
    QVERIFY(w.scan());
    QVERIFY(model->scanReady());
    QVERIFY(!w.value("dropHighlight", "visible").toBool());

    Drag drag(w.window(), urls);
    QVERIFY(drag.enter(w.screen()));
    QTRY_VERIFY(w.value("dropHighlight", "visible").toBool());
    QVERIFY(!w.value("dropHint", "visible").toBool());
    if (!picture.isEmpty()) {
        QVERIFY(w.saveScreenshot(picture));
    }
    QCOMPARE(model->sourcePath(), scratch.filePath("Lama"));  // nothing until the drop
    QVERIFY(drag.drop());
    QTRY_VERIFY(!w.value("dropHighlight", "visible").toBool());

    QCOMPARE(model->sourcePath(), scratch.filePath(chosen));
    QCOMPARE(w.text("sourceRow/pathText"), scratch.filePath(chosen));
    QVERIFY(!model->scanReady());
    QCOMPARE(model->total(), 0);
    QCOMPARE(w.text("progressPanel/titleText"),
             tab == "SORTER" ? "Klik SCAN FOLDER untuk membaca seluruh subfolder."
                             : "Klik SCAN FOLDER untuk membaca foto yang dapat dikompres.");
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("dropHint", "visible").toBool());
}

void DropOpenTitleTest::aRefusedDropSaysWhy_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("dropped");  // a URL; "GONE" a removed folder; "" the folder itself
    QTest::addColumn<bool>("running");     // dropped during a run
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("picture");
    QTest::newRow("a removed folder") << "SORTER"
                                      << "GONE" << false << kGone << "velmora-drop-refused";
    QTest::newRow("a web link") << "COMPRESS"
                                << "https://example.com/foto/IMG_0001.jpg" << false << kNotHere
                                << "";
    QTest::newRow("another machine's folder") << "SORTER"
                                              << "file://nas/foto" << false << kNotHere << "";
    QTest::newRow("a network location") << "SORTER"
                                        << "smb://nas/foto" << false << kNotHere << "";
    QTest::newRow("SORTER during a run") << "SORTER"
                                         << "" << true << kBusyHint << "velmora-drop-during-run";
    QTest::newRow("COMPRESS during a run") << "COMPRESS"
                                           << "" << true << kBusyHint << "";
}

void DropOpenTitleTest::aRefusedDropSaysWhy() {
    QFETCH(QString, tab);
    QFETCH(QString, dropped);
    QFETCH(bool, running);
    QFETCH(QString, hint);
    QFETCH(QString, picture);
    QTemporaryDir scratch;
    const QString chosen = scratch.filePath("Wisuda 2024");
    QVERIFY(writePhotoTree(scratch.path(), {"Wisuda 2024/IMG_0001.jpg", "Baru/IMG_0002.jpg"}));
    QUrl url(dropped);
    if (dropped == "GONE") {
        QVERIFY(QDir(scratch.filePath("Baru")).removeRecursively());
        url = QUrl::fromLocalFile(scratch.filePath("Baru"));
    } else if (dropped.isEmpty()) {
        url = QUrl::fromLocalFile(scratch.filePath("Baru"));  // there, but a run is going
    }
    FakeBackend backend;
    QVERIFY(backend.setSummary(tab == "SORTER" ? "10|5|5|0" : "10|0|7340032"));
    WindowHarness w;
    w.choose("tabPicker", tab);
    JobModel* model = w.chooseFolder(backend.scriptFolder(), chosen);
    QVERIFY(model);
    QVERIFY(w.scan());
    if (running) {
        w.click(w.find("startButton"));
        QVERIFY(backend.setStatus(tab == "SORTER" ? "4|0|0|2|10" : "4|0|1048576|2097152|2|10"));
        QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), "4/10", kBackendWait);
        QVERIFY(!w.value("sourceRow/browseButton", "enabled").toBool());
    }

    Drag drag(w.window(), {url});
    QVERIFY(!drag.enter(w.screen()));
    QTRY_VERIFY(w.value("dropHint", "visible").toBool());
    QCOMPARE(w.text("dropHint"), hint);
    QVERIFY(w.showsText(hint));
    QVERIFY(!w.value("dropHighlight", "visible").toBool());
    (void)QQuickTest::qWaitForPolish(w.window());  // a poll may have changed a text meanwhile
    QVERIFY2(w.cutOffTexts().isEmpty(), qPrintable(w.cutOffTexts().join(" | ")));
    if (!picture.isEmpty()) {
        QVERIFY(w.saveScreenshot(picture));
    }
    QVERIFY(!drag.drop());
    QCOMPARE(model->sourcePath(), chosen);
    QCOMPARE(w.text("sourceRow/pathText"), chosen);
    QCOMPARE(model->isBusy(), running);
    QCOMPARE(model->scanReady(), true);  // the scan of the folder shown stays
    if (running) {
        QVERIFY(backend.finish(0));
        QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
        QCOMPARE(model->sourcePath(), chosen);
    }
}

// Taken as it came in, the dragged folder is removed before the drop: the
// drop is refused then, and says why.
void DropOpenTitleTest::aDropGoneWhileHoveringIsRefused() {
    QTemporaryDir scratch;
    QVERIFY(writePhotoTree(scratch.path(), {"Lama/IMG_0001.jpg", "Baru/IMG_0002.jpg"}));
    FakeBackend backend;
    WindowHarness w;
    JobModel* model = w.chooseFolder(backend.scriptFolder(), scratch.filePath("Lama"));
    QVERIFY(model);
    Drag drag(w.window(), {QUrl::fromLocalFile(scratch.filePath("Baru"))});
    QVERIFY(drag.enter(w.screen()));
    QTRY_VERIFY(w.value("dropHighlight", "visible").toBool());
    QVERIFY(QDir(scratch.filePath("Baru")).removeRecursively());
    QVERIFY(!drag.drop());
    QTRY_VERIFY(w.value("dropHint", "visible").toBool());
    QCOMPARE(w.text("dropHint"), kGone);
    QVERIFY(!w.value("dropHighlight", "visible").toBool());
    QCOMPARE(model->sourcePath(), scratch.filePath("Lama"));

    // A drag that leaves chooses nothing either, and its outline goes with it.
    QVERIFY(QDir(scratch.path()).mkdir("Baru"));
    Drag leaving(w.window(), {QUrl::fromLocalFile(scratch.filePath("Baru"))});
    QVERIFY(leaving.enter(w.find("progressCard")));
    QTRY_VERIFY(w.value("dropHighlight", "visible").toBool());
    leaving.leave();
    QTRY_VERIFY(!w.value("dropHighlight", "visible").toBool());
    QCOMPARE(model->sourcePath(), scratch.filePath("Lama"));
}

void DropOpenTitleTest::openFolderOpensWhatTheRunWrote_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<WindowLanguage>("language");
    QTest::addColumn<bool>("details");    // the failure list shown
    QTest::addColumn<QString>("opened");  // below the source folder; "" is the folder itself
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("picture");
    QTest::newRow("SORTER in Indonesian")
        << "SORTER" << WindowLanguage::Indonesian << false << ""
        << QStringList{"alertOpenButton=BUKA FOLDER", "alertOkButton=OK",
                       "alertDetailsButton=DETAIL"}
        << "velmora-alert-open-folder";
    QTest::newRow("SORTER in English, details")
        << "SORTER" << WindowLanguage::English << true << ""
        << QStringList{"alertOpenButton=OPEN FOLDER", "alertOkButton=OK", "alertDetailsButton=HIDE",
                       "alertCopyButton=COPY LIST"}
        << "velmora-english-alert-open-folder-details";
    QTest::newRow("COMPRESS in English")
        << "COMPRESS" << WindowLanguage::English << false << "COMPRESSED_75"
        << QStringList{"alertOpenButton=OPEN FOLDER", "alertOkButton=OK"}
        << "velmora-english-alert-open-folder";
    QTest::newRow("COMPRESS in Indonesian, details")
        << "COMPRESS" << WindowLanguage::Indonesian << true << "COMPRESSED_75"
        << QStringList{"alertOpenButton=BUKA FOLDER", "alertOkButton=OK",
                       "alertDetailsButton=SEMBUNYIKAN", "alertCopyButton=SALIN"}
        << "velmora-compress-alert-open-folder-details";
}

void DropOpenTitleTest::openFolderOpensWhatTheRunWrote() {
    QFETCH(QString, tab);
    QFETCH(WindowLanguage, language);
    QFETCH(bool, details);
    QFETCH(QString, opened);
    QFETCH(QStringList, texts);
    QFETCH(QString, picture);
    UrlRecorder fileManager;
    QDesktopServices::setUrlHandler("file", &fileManager, "open");
    const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("file"); });
    QTemporaryDir scratch;
    const QString source = scratch.filePath("Wisuda 2024");
    QVERIFY(writePhotoTree(source, {"IMG_0001.jpg", "IMG_0002.jpg"}));
    // The stand-in backend writes nothing: the output folder is made here,
    // where the compress worker makes its own.
    QVERIFY(QDir(source).mkpath("COMPRESSED_75"));
    QVERIFY(QDir(source).mkpath("COMPRESSED_50"));
    FakeBackend backend;
    QVERIFY(backend.setSummary(tab == "SORTER" ? "2|1|1|0" : "2|0|7340032"));
    WindowHarness w(language);
    w.choose("tabPicker", tab);
    JobModel* model = w.chooseFolder(backend.scriptFolder(), source);
    QVERIFY(model);
    if (tab == "COMPRESS") {
        w.choose("qualityPicker", "75%");
    }
    QVERIFY(w.scan());
    if (details) {
        QVERIFY(backend.setFailures({source + "/IMG_0002.jpg\tpermission\tPermission denied"}));
    }
    QVERIFY(backend.setStatus(tab == "SORTER"
                                  ? QString("2|%1|0|1|2").arg(details ? 1 : 0)
                                  : QString("2|%1|2097152|7340032|1|2").arg(details ? 1 : 0)));
    QVERIFY(backend.finish(0));
    w.click(w.find("startButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    if (details) {
        w.click(w.find("alertDetailsButton"));
        QTRY_VERIFY(w.find("failureList")->isVisible());
    }
    QVERIFY(w.value("alertOpenButton", "visible").toBool());
    QCOMPARE(w.shownTexts(texts), texts);
    QStringList buttons = {"alertOpenButton", "alertOkButton"};
    if (details) {
        buttons << "alertCopyButton"
                << "alertDetailsButton";
    }
    QCOMPARE(w.dialogLayoutFault("alert", buttons), QString());
    QCOMPARE(w.cutOffTexts(), QStringList());
    QVERIFY(w.saveScreenshot(picture));

    w.click(w.find("alertOpenButton"));
    QTRY_COMPARE(fileManager.opened.size(), 1);
    const QUrl expected = QUrl::fromLocalFile(opened.isEmpty() ? source : source + '/' + opened);
    QCOMPARE(fileManager.opened.first(), expected);
    QCOMPARE(fileManager.opened.first().toString(),
             "file://" + source + (opened.isEmpty() ? "" : '/' + opened));
    // Opened, the folder leaves the alert behind.
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
    QCOMPARE(fileManager.opened.size(), 1);
}

// The real compress worker makes COMPRESSED_50 inside the photo folder, and
// that is what OPEN FOLDER opens.
void DropOpenTitleTest::openFolderOpensARealCompressOutput() {
    for (const char* tool : {"compress-scan", "Moskel", "velmora-encode", "velmora-limit"}) {
        if (!toolIsBuilt(tool)) {
            QSKIP(qPrintable(QStringLiteral("%1 is not built").arg(tool)));
        }
    }
    UrlRecorder fileManager;
    QDesktopServices::setUrlHandler("file", &fileManager, "open");
    const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("file"); });
    QTemporaryDir scratch;
    const QString photos = scratch.filePath("Foto pameran");
    QVERIFY(QDir().mkpath(photos + "/hari 1"));
    QImage image(320, 240, QImage::Format_RGB32);
    for (int n = 0; n < 3; ++n) {
        image.fill(QColor::fromHsv(n * 100, 200, 200));
        QVERIFY(image.save(QStringLiteral("%1/hari 1/shot %2.jpg").arg(photos).arg(n), "JPEG", 95));
    }
    WindowHarness w;
    w.choose("tabPicker", "COMPRESS");
    JobModel* model = w.chooseFolder(builtScriptDirectory(), photos);
    QVERIFY(model);
    QVERIFY(w.scan());
    QCOMPARE(model->total(), 3);
    QVERIFY(!QFileInfo::exists(photos + "/COMPRESSED_50"));
    w.click(w.find("startButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    QVERIFY(QFileInfo(photos + "/COMPRESSED_50").isDir());
    QCOMPARE(model->alertFolder(), QUrl::fromLocalFile(photos + "/COMPRESSED_50"));
    QVERIFY(w.value("alertOpenButton", "visible").toBool());
    w.click(w.find("alertOpenButton"));
    QTRY_COMPARE(fileManager.opened, QList<QUrl>{QUrl::fromLocalFile(photos + "/COMPRESSED_50")});
}

void DropOpenTitleTest::openFolderIsOfferedOnlyForAFolderThere_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("change");  // done to the folders while the run goes
    QTest::addColumn<int>("exitStatus");
    QTest::newRow("COMPRESS wrote no output folder") << "COMPRESS"
                                                     << "" << 0;
    QTest::newRow("its output folder is a link") << "COMPRESS"
                                                 << "link COMPRESSED_50" << 0;
    QTest::newRow("SORTER, the source folder removed") << "SORTER"
                                                       << "remove source" << 0;
    QTest::newRow("SORTER on a read-only medium") << "SORTER"
                                                  << "" << 5;
}

void DropOpenTitleTest::openFolderIsOfferedOnlyForAFolderThere() {
    QFETCH(QString, tab);
    QFETCH(QString, change);
    QFETCH(int, exitStatus);
    QTemporaryDir scratch;
    const QString source = scratch.filePath("Wisuda 2024");
    QVERIFY(writePhotoTree(source, {"IMG_0001.jpg", "IMG_0002.jpg"}));
    QVERIFY(QDir(scratch.path()).mkdir("elsewhere"));
    FakeBackend backend;
    QVERIFY(backend.setSummary(tab == "SORTER" ? "2|1|1|0" : "2|0|7340032"));
    WindowHarness w;
    w.choose("tabPicker", tab);
    JobModel* model = w.chooseFolder(backend.scriptFolder(), source);
    QVERIFY(model);
    QVERIFY(w.scan());
    w.click(w.find("startButton"));
    QVERIFY(model->isRunning());
    if (change == "remove source") {
        QVERIFY(QDir(source).removeRecursively());
    } else if (change.startsWith("link ")) {
        QVERIFY(QFile::link(scratch.filePath("elsewhere"), source + '/' + change.mid(5)));
    }
    QVERIFY(backend.setStatus(tab == "SORTER" ? "2|0|0|1|2" : "2|0|2097152|7340032|1|2"));
    QVERIFY(backend.finish(exitStatus));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    QCOMPARE(model->alertFolder(), QUrl());
    QVERIFY(!w.value("alertOpenButton", "visible").toBool());
    QVERIFY(w.value("alertOkButton", "visible").toBool());
    QCOMPARE(w.dialogLayoutFault("alert", {"alertOkButton"}), QString());

    // An alert of another kind never offers a folder, even after one that did.
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    model->alert("Scan gagal.");
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    QVERIFY(!w.value("alertOpenButton", "visible").toBool());
}

void DropOpenTitleTest::theTitleGivesTheRunsPercent() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("100|50|50|0"));
    WindowHarness w;
    QCOMPARE(w.window()->title(), QStringLiteral("Velmora"));
    QPointer<JobModel> sorter = w.chooseFolder(backend.scriptFolder(), "/foto/acara");
    QVERIFY(sorter);

    // A scan is not a run: no percent.
    QVERIFY(backend.holdScans(true));
    w.click(w.find("scanButton"));
    QVERIFY(sorter->isBusy());
    QCOMPARE(w.window()->title(), QStringLiteral("Velmora"));
    QVERIFY(backend.holdScans(false));
    QTRY_VERIFY_WITH_TIMEOUT(!sorter->isBusy(), kBackendWait);
    QCOMPARE(w.window()->title(), QStringLiteral("Velmora"));

    w.click(w.find("startButton"));
    QCOMPARE(w.window()->title(), QString::fromUtf8("0% · Velmora"));
    QVERIFY(backend.setStatus("37|0|0|2|100"));
    QTRY_COMPARE_WITH_TIMEOUT(w.window()->title(), QString::fromUtf8("37% · Velmora"),
                              kBackendWait);
    QCOMPARE(w.text("progressPanel/percentText"), QStringLiteral("37%"));

    // Paused, the title keeps the paused percent, also from the other tab.
    QVERIFY(backend.setStatus("41|0|0|2|100"));
    QTRY_COMPARE_WITH_TIMEOUT(w.window()->title(), QString::fromUtf8("41% · Velmora"),
                              kBackendWait);
    w.click(w.find("pauseButton"));
    QVERIFY(sorter->isPaused());
    QCOMPARE(w.window()->title(), QString::fromUtf8("41% · Velmora"));
    w.choose("tabPicker", "COMPRESS");
    QVERIFY(w.model<CompressModel>());
    QCOMPARE(w.window()->title(), QString::fromUtf8("41% · Velmora"));
    // The compress tab's own scan changes nothing of it.
    QVERIFY(backend.setSummary("10|0|7340032"));
    JobModel* compress = w.chooseFolder(backend.scriptFolder(), "/foto/pameran");
    QVERIFY(compress);
    QVERIFY(w.scan());
    QCOMPARE(w.window()->title(), QString::fromUtf8("41% · Velmora"));

    // Resumed and ended behind the other tab, the title is bare again.
    w.choose("tabPicker", "SORTER");
    QCOMPARE(w.model<JobModel>(), sorter.data());
    w.click(w.find("pauseButton"));
    QVERIFY(!sorter->isPaused());
    w.choose("tabPicker", "COMPRESS");
    QVERIFY(backend.setStatus("100|0|0|3|100"));
    QTRY_COMPARE_WITH_TIMEOUT(w.window()->title(), QString::fromUtf8("100% · Velmora"),
                              kBackendWait);
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(!sorter->isBusy(), kBackendWait);
    QCOMPARE(w.window()->title(), QStringLiteral("Velmora"));
}

QTEST_MAIN(DropOpenTitleTest)
#include "drop_open_title_test.moc"
