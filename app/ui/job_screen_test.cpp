// SPDX-License-Identifier: GPL-3.0-or-later
// Both job screens of the real window (the shared JobScreen with SorterView
// or CompressView) in both languages, walked through the stand-in backend
// from opened to the end alert: every state's exact texts, the controls that
// are locked while busy and why, the Tab stops, the status dot, the alert's
// drawn layout and the failures it lists, and the question before quitting.
// In English no Indonesian word is shown; in both languages no text is cut
// off. The program runs on an English desktop here, so the Indonesian rows
// also show that the window follows the language it is given. Each state is
// saved as a picture (checked by eye and copied to docs/). What the models
// make of the backend's files is tested in the model tests, the rest of the
// keyboard in keyboard_test, and a real scan and sort through the window in
// velmora_e2e_test.
#include <QtQuickTest/quicktest.h>
#include <QClipboard>
#include <QColor>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "compress_model.h"
#include "fake_backend.h"
#include "sorter_model.h"
#include "test_kit.h"
#include "window_harness.h"

using namespace velmora::testkit;
using velmora::WindowLanguage;

namespace {

constexpr int kBackendWait = 60000;
const QString kFolder = QStringLiteral("/home/rani/Foto/Wisuda 2024");
const QColor kRunningDot("#30d158");
const QColor kIdleDot("#8e8e93");

/// Words of the window's Indonesian texts; an English window shows none.
const QRegularExpression kIndonesianWord(QStringLiteral(
    "\\b(Pilih|Belum|dipilih|Klik|PENGATURAN|SUMBER|MULAI|SORTIR|KUALITAS|FOTO|AWAL|HASIL|"
    "Proses|Selesai|selesai|Berhasil|Gagal|gagal|dijeda|dilanjutkan|Tidak|tidak|berhenti|"
    "Mengompres|Kompresi|SEMBUNYIKAN|BATAL|KELUAR|lainnya)\\b"));

/// What a job screen shows in any language, and how the stand-in drives it.
struct ScreenFigures {
    QString tab = {};
    QStringList selected = {};                      ///< picker segments chosen as opened
    QStringList opened = {}, scanned = {};          ///< "path=text"
    QString summary = {}, running = {}, last = {};  ///< the stand-in's scan and status lines
    QStringList runningTexts = {};
    QStringList locked = {};    ///< the controls disabled while busy
    QStringList tabStops = {};  ///< once scanned; as opened, without the two buttons
    QStringList choices = {};   ///< "picker=segment=model property" chosen at the end
};

/// A job screen's texts in one language, state by state: "path=text" is
/// shown at that path, a text alone anywhere in the window.
struct ScreenTexts {
    WindowLanguage language = WindowLanguage::Indonesian;
    QString shots = {};  ///< the pictures' name prefix
    QStringList opened = {}, chosen = {}, scanned = {}, running = {}, paused = {}, ended = {};
    QString alert = {}, busyHint = {};
    QStringList quitQuestion = {};
    int scanKey = 0;  ///< the key that presses the focused SCAN FOLDER; 0: a click
};

/// What is wrong with the window's texts, one fault a line: those of
/// `expected` that are not shown, and the drawn texts that are cut off or,
/// in English, hold an Indonesian word.
QString textFaults(const WindowHarness& w, WindowLanguage language, const QStringList& expected) {
    QStringList faults;
    for (const QString& entry : expected) {
        const QString path = entry.section('=', 0, 0);
        if (entry.contains('=') ? w.text(path) != entry.section('=', 1) : !w.showsText(entry)) {
            faults << "not shown: " + entry;
        }
    }
    for (const QQuickItem* item : w.visibleItems()) {
        const QString text = item->property("text").toString();
        if (language == WindowLanguage::English && item->inherits("QQuickText") &&
            text.contains(kIndonesianWord)) {
            faults << "Indonesian: " + text;
        }
    }
    for (const QString& text : w.cutOffTexts()) {
        faults << "cut off: " + text;
    }
    return faults.join(u'\n');
}

/// The controls Tab goes round, once each, from the tab picker on.
QStringList tabChain(const WindowHarness& w) {
    QStringList chain;
    for (int press = 0; press < 40; ++press) {
        QTest::keyClick(w.window(), Qt::Key_Tab);
        const QQuickItem* item = w.window()->activeFocusItem();
        // A picker inside a labelled picker is named after its label.
        const QString name = item->objectName() == QLatin1String("picker")
                                 ? item->parentItem()->objectName() + QStringLiteral("/picker")
                                 : item->objectName();
        if (chain.contains(name)) {
            break;
        }
        chain << name;
    }
    const qsizetype first = chain.indexOf(QStringLiteral("tabPicker"));
    return first < 0 ? chain : chain.mid(first) + chain.first(first);
}

/// The states of `controls`: each name when enabled, in brackets when
/// disabled, left out when hidden.
QString controlStates(const WindowHarness& w, const QStringList& controls) {
    QStringList states;
    for (const QString& control : controls) {
        if (w.value(control, "visible").toBool()) {
            states << (w.value(control, "enabled").toBool() ? control : '(' + control + ')');
        }
    }
    return states.join(' ');
}

/// How many visible texts of the window read `text`.
qsizetype textsReading(const WindowHarness& w, const QString& text) {
    const auto items = w.visibleItems();
    return std::count_if(items.begin(), items.end(), [&text](const QQuickItem* item) {
        return item->inherits("QQuickText") && item->property("text").toString() == text;
    });
}

}  // namespace

Q_DECLARE_METATYPE(ScreenFigures)
Q_DECLARE_METATYPE(ScreenTexts)

class JobScreenTest : public QObject {
    Q_OBJECT

  public:
    /// Runs before the application is made: the desktop speaks English.
    static void initMain() { velmora::testkit::pretendEnglishDesktop(); }

  private slots:
    void fromOpenedToTheEndAlert_data();
    void fromOpenedToTheEndAlert();
    void textsAreReadInFull_data();
    void textsAreReadInFull();
    void aLongFailureListScrollsInOrder();
    void stopAsksThenEndsTheJob_data();
    void stopAsksThenEndsTheJob();
    void stopEndsAScan();
    void stopEndsARealCompressMidway();
};

void JobScreenTest::fromOpenedToTheEndAlert_data() {
    QTest::addColumn<ScreenFigures>("figures");
    QTest::addColumn<ScreenTexts>("texts");
    const QStringList opened = {"VELMORA",
                                "PRO",
                                "Photo Workflow Utility",
                                "SORTER",
                                "COMPRESS",
                                "BROWSE",
                                "WORKERS",
                                "SCAN FOLDER",
                                "SPEED",
                                "ETA",
                                "totalBox/valueText=0",
                                "ignoredBox/valueText=0",
                                "progressPanel/countText=0/0",
                                "progressPanel/etaText=--:--",
                                "progressPanel/percentText=0%"};
    // 29 and 57 of 100 are where progress * 100 cut in floating point reads
    // one less: the status line and the panel show the same whole percent.
    const ScreenFigures sorter{
        .tab = "SORTER",
        .selected = {"tabPicker/segmentSORTER", "modePicker/segmentMOVE", "workersPicker/segment4",
                     "oddFoldersPicker/segment1", "evenFoldersPicker/segment1"},
        .opened = opened + QStringList{"oddBox/valueText=0", "evenBox/valueText=0"},
        .scanned = {"totalBox/valueText=100", "oddBox/valueText=51", "evenBox/valueText=49",
                    "ignoredBox/valueText=7"},
        .summary = "100|51|49|7",
        .running = "29|3|0|5|100",
        .last = "100|3|0|10|100",
        .runningTexts = {"progressPanel/percentText=29%", "progressPanel/etaText=00:12"},
        .locked = {"sourceRow/browseButton", "workersPicker/picker"},
        .tabStops = {"tabPicker", "browseButton", "modePicker/picker", "workersPicker/picker",
                     "oddFoldersPicker/picker", "evenFoldersPicker/picker", "scanButton",
                     "startButton"},
        .choices = {"modePicker=COPY=mode", "oddFoldersPicker=3=oddFolders",
                    "evenFoldersPicker=8=evenFolders"}};
    const ScreenFigures compress{
        .tab = "COMPRESS",
        .selected = {"qualityPicker/segment50%", "workersPicker/segment4"},
        .opened = opened + QStringList{"beforeBox/valueText=0 KB", "afterBox/valueText=0 KB",
                                       "progressPanel/speedText=0.0 MB/s"},
        .scanned = {"totalBox/valueText=100", "ignoredBox/valueText=5",
                    "beforeBox/valueText=700.0 MB", "afterBox/valueText=0 KB"},
        .summary = "100|5|734003200",
        .running = "57|2|31457280|83886080|10|100",
        .last = "100|2|157286400|734003200|50|100|3|1",
        .runningTexts = {"progressPanel/percentText=57%", "progressPanel/speedText=8.0 MB/s",
                         "progressPanel/etaText=00:08", "afterBox/valueText=30.0 MB",
                         "beforeBox/valueText=700.0 MB"},
        .locked = {"sourceRow/browseButton", "qualityPicker/picker", "workersPicker/picker"},
        .tabStops = {"tabPicker", "browseButton", "qualityPicker/picker", "workersPicker/picker",
                     "scanButton", "startButton"},
        .choices = {"qualityPicker=75%=quality"}};

    const QStringList indonesian = {"FILE", "IGNORE", "sourceRow/pathText=Belum dipilih"};
    const QString busyId = "Tidak dapat diubah selama scan atau proses berjalan.";
    const QStringList quitId = {
        "Velmora", "Proses masih berjalan dan akan terus berjalan tanpa jendela ini. Tetap keluar?",
        "BATAL", "KELUAR"};
    const QStringList english = {"FILES", "IGNORED", "sourceRow/pathText=Not chosen yet"};
    const QString busyEn = "Cannot be changed while a scan or a job is running.";
    const QStringList quitEn = {
        "Velmora", "A job is still running and will go on without this window. Quit anyway?",
        "CANCEL", "QUIT"};

    QTest::newRow("SORTER in Indonesian")
        << sorter
        << ScreenTexts{
               .shots = "velmora-",
               .opened =
                   indonesian +
                   QStringList{"PENGATURAN SORTER", "FOLDER SUMBER", "MODE SORTIR", "MOVE", "COPY",
                               "FOLDER GANJIL", "FOLDER GENAP", "TOTAL", "GANJIL", "GENAP",
                               "PROGRESS SORTER", "progressPanel/titleText=Pilih folder sumber.",
                               "progressPanel/speedText=0 file/s", "startButton=MULAI SORTIR"},
               .chosen = {"progressPanel/titleText=Klik SCAN FOLDER untuk membaca seluruh "
                          "subfolder."},
               .scanned = {"progressPanel/titleText=Scan selesai. Siap sortir. 2 folder tidak "
                           "dapat dibaca."},
               .running = {"progressPanel/titleText=FAST MOVE… 29%",
                           "progressPanel/failedText=3 gagal", "progressPanel/speedText=6 file/s",
                           "pauseButton=PAUSE"},
               .paused = {"progressPanel/titleText=Sortir dijeda sementara…",
                          "progressPanel/etaText=dijeda", "pauseButton=RESUME"},
               .ended = {"progressPanel/titleText=Selesai.", "alertDetailsButton=SEMBUNYIKAN",
                         "alertOkButton=OK", "… dan 1 foto lainnya"},
               .alert = "Proses Selesai\nBerhasil: 97\nGagal: 3",
               .busyHint = busyId,
               .quitQuestion = quitId};
    QTest::newRow("SORTER in English")
        << sorter
        << ScreenTexts{
               .language = WindowLanguage::English,
               .shots = "velmora-english-",
               .opened = english +
                         QStringList{"SORTER SETTINGS", "SOURCE FOLDER", "SORT MODE", "MOVE",
                                     "COPY", "GANJIL FOLDERS (ODD)", "GENAP FOLDERS (EVEN)",
                                     "TOTAL", "GANJIL", "GENAP", "SORTER PROGRESS",
                                     "progressPanel/titleText=Choose a source folder.",
                                     "progressPanel/speedText=0 files/s", "startButton=START SORT"},
               .chosen = {"progressPanel/titleText=Click SCAN FOLDER to read every subfolder."},
               .scanned = {"progressPanel/titleText=Scan done. Ready to sort. 2 folders could "
                           "not be read."},
               .running = {"progressPanel/titleText=FAST MOVE… 29%",
                           "progressPanel/failedText=3 failed", "progressPanel/speedText=6 files/s",
                           "pauseButton=PAUSE"},
               .paused = {"progressPanel/titleText=Sort paused…", "progressPanel/etaText=paused",
                          "pauseButton=RESUME"},
               .ended = {"progressPanel/titleText=Done.", "alertDetailsButton=HIDE",
                         "alertOkButton=OK", "… and 1 more photo"},
               .alert = "Job finished\nSucceeded: 97\nFailed: 3",
               .busyHint = busyEn,
               .quitQuestion = quitEn,
               .scanKey = Qt::Key_Return};
    QTest::newRow("COMPRESS in Indonesian")
        << compress
        << ScreenTexts{
               .shots = "velmora-compress-",
               .opened = indonesian +
                         QStringList{"PENGATURAN COMPRESS", "FOLDER FOTO", "KUALITAS", "FOTO",
                                     "AWAL", "HASIL", "PROGRESS COMPRESS",
                                     "progressPanel/titleText=Pilih folder yang berisi foto.",
                                     "startButton=MULAI COMPRESS"},
               .chosen = {"progressPanel/titleText=Klik SCAN FOLDER untuk membaca foto yang "
                          "dapat dikompres."},
               .scanned = {"progressPanel/titleText=Scan selesai. Output: COMPRESSED_50 2 folder "
                           "tidak dapat dibaca."},
               .running = {"progressPanel/titleText=Mengompres… 57%",
                           "progressPanel/failedText=2 gagal", "pauseButton=PAUSE"},
               .paused = {"progressPanel/titleText=Kompresi dijeda sementara…",
                          "progressPanel/etaText=dijeda", "pauseButton=RESUME"},
               .ended = {"progressPanel/titleText=Kompresi selesai.",
                         "alertDetailsButton=SEMBUNYIKAN", "alertOkButton=OK"},
               .alert =
                   "Proses Selesai\nBerhasil: 98\nGagal: 2\n"
                   "Ukuran: 700.0 MB → 150.0 MB (hemat 79%)\n"
                   "3 foto dibiarkan apa adanya (tidak lebih kecil setelah dikompres).\n"
                   "1 foto disalin tanpa kompresi (bukan gambar yang terbaca).",
               .busyHint = busyId,
               .quitQuestion = quitId,
               .scanKey = Qt::Key_Enter};
    QTest::newRow("COMPRESS in English")
        << compress
        << ScreenTexts{
               .language = WindowLanguage::English,
               .shots = "velmora-english-compress-",
               .opened = english + QStringList{"COMPRESS SETTINGS", "PHOTO FOLDER", "QUALITY",
                                               "PHOTOS", "BEFORE", "AFTER", "COMPRESS PROGRESS",
                                               "progressPanel/titleText=Choose a folder of photos.",
                                               "startButton=START COMPRESS"},
               .chosen = {"progressPanel/titleText=Click SCAN FOLDER to find the photos that "
                          "can be compressed."},
               .scanned = {"progressPanel/titleText=Scan done. Output: COMPRESSED_50 2 folders "
                           "could not be read."},
               .running = {"progressPanel/titleText=Compressing… 57%",
                           "progressPanel/failedText=2 failed", "pauseButton=PAUSE"},
               .paused = {"progressPanel/titleText=Compression paused…",
                          "progressPanel/etaText=paused", "pauseButton=RESUME"},
               .ended = {"progressPanel/titleText=Compression done.", "alertDetailsButton=HIDE",
                         "alertOkButton=OK"},
               .alert =
                   "Job finished\nSucceeded: 98\nFailed: 2\n"
                   "Size: 700.0 MB → 150.0 MB (79% saved)\n"
                   "3 photos kept as they were (no smaller when compressed).\n"
                   "1 photo copied without compression (not a readable image).",
               .busyHint = busyEn,
               .quitQuestion = quitEn,
               .scanKey = Qt::Key_Space};
}

void JobScreenTest::fromOpenedToTheEndAlert() {
    QFETCH(ScreenFigures, figures);
    QFETCH(ScreenTexts, texts);
    const auto language = texts.language;
    // The run buttons and the controls locked while busy, and how they are
    // expected: `buttons`, then the locked controls enabled or not.
    const QStringList controls =
        QStringList{"scanButton", "startButton", "pauseButton"} + figures.locked;
    const auto expected = [&figures](const QString& buttons, bool unlocked) {
        QStringList states{buttons};
        for (const QString& control : figures.locked) {
            states << (unlocked ? control : '(' + control + ')');
        }
        return states.join(' ');
    };
    FakeBackend backend;
    WindowHarness w(language);
    QVERIFY(w.window());
    if (figures.tab != "SORTER") {  // the tab it opens on
        w.choose("tabPicker", figures.tab);
    }
    for (const QString& segment : figures.selected) {
        QVERIFY2(w.value(segment, "selected").toBool(), qPrintable(segment));
    }
    QTRY_COMPARE(textFaults(w, language, texts.opened + figures.opened), QString());
    QCOMPARE(controlStates(w, controls), expected("(scanButton) (startButton)", true));
    QVERIFY(!w.value("failedText", "visible").toBool());
    QVERIFY(w.sceneRect(w.find("settingsCard/cardTitle")).bottom() <=
            w.sceneRect(w.find("sourceRow")).top());
    QCOMPARE(tabChain(w), figures.tabStops.first(figures.tabStops.size() - 2));
    QVERIFY(w.saveScreenshot(texts.shots + "initial"));

    QVERIFY(backend.setSummary(figures.summary));
    QVERIFY(backend.setUnreadable({kFolder + "/arsip", kFolder + "/lama"}));
    QVERIFY(backend.holdScans(true));
    JobModel* model = w.chooseFolder(backend.scriptFolder(), kFolder);
    QVERIFY(model);
    QTRY_COMPARE(
        textFaults(w, language, texts.chosen + QStringList{"sourceRow/pathText=" + kFolder}),
        QString());
    QCOMPARE(controlStates(w, controls), expected("scanButton (startButton)", true));
    QVERIFY(w.saveScreenshot(texts.shots + "chosen"));

    // While the scan runs, PAUSE stands in for the start button, and
    // nothing may change the folder or the quality under it. SCAN FOLDER is
    // pressed by a key when focused, or by the mouse, which draws it lighter
    // while held down.
    QQuickItem* scanButton = w.find("scanButton");
    if (texts.scanKey != 0) {
        scanButton->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(w.window(), Qt::Key(texts.scanKey));
    } else {
        const QPoint middle = w.sceneRect(scanButton).center().toPoint();
        const qreal released = scanButton->property("plateOpacity").toReal();
        QTest::mousePress(w.window(), Qt::LeftButton, {}, middle);
        QVERIFY(scanButton->property("plateOpacity").toReal() < released);
        QTest::mouseRelease(w.window(), Qt::LeftButton, {}, middle);
    }
    QVERIFY(model->isBusy());
    QCOMPARE(controlStates(w, controls), expected("(scanButton) pauseButton", false));
    QVERIFY(backend.holdScans(false));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
    QCOMPARE(controlStates(w, controls), expected("scanButton startButton", true));
    QTRY_COMPARE(textFaults(w, language, texts.scanned + figures.scanned), QString());
    QCOMPARE(tabChain(w), figures.tabStops);
    QVERIFY(w.saveScreenshot(texts.shots + "scanned"));
    // The line of "N gagal" is kept while none has failed, so that nothing
    // below moves when the first one does.
    QQuickItem* failedText = w.find("failedText");
    QVERIFY(!failedText->isVisible() && failedText->implicitHeight() > 0);
    QCOMPARE(failedText->parentItem()->height(), failedText->implicitHeight());

    w.click(w.find("startButton"));
    QCOMPARE(w.text("progressPanel/countText"), QStringLiteral("0/100"));
    QCOMPARE(controlStates(w, controls), expected("(scanButton) pauseButton", false));
    QVERIFY(backend.setStatus(figures.running));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"),
                              figures.running.section('|', 0, 0) + "/100", kBackendWait);
    QTRY_COMPARE(textFaults(w, language, texts.running + figures.runningTexts), QString());
    QVERIFY(w.sceneRect(w.find("progressPanel")).contains(w.sceneRect(w.find("failedText"))));
    QCOMPARE(failedText->parentItem()->height(), failedText->implicitHeight());
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), kRunningDot);
    QVERIFY(w.saveScreenshot(texts.shots + "running"));
    for (const QString& control : figures.locked) {  // pointing at one says why
        w.hover(w.find(control));
        QTRY_VERIFY2(w.showsText(texts.busyHint), qPrintable(control));
        QVERIFY(w.saveScreenshot(texts.shots + "busy-hint"));
        w.hover(w.find("progressPanel"));
        QTRY_VERIFY(!w.showsText(texts.busyHint));
    }

    // Closing the window asks first; Escape keeps it and the job.
    w.window()->close();
    QTRY_VERIFY(w.value("quitQuestion", "opened").toBool());
    QTRY_COMPARE(textFaults(w, language, texts.quitQuestion), QString());
    QVERIFY(w.saveScreenshot(texts.shots + "quit-question"));
    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("quitQuestion", "visible").toBool());
    QVERIFY(w.window()->isVisible());

    // Paused, the panel says so through the polls that go on.
    w.click(w.find("pauseButton"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("play.fill"));
    QTest::qWait(700);
    QTRY_COMPARE(textFaults(w, language, texts.paused), QString());
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), kIdleDot);
    QVERIFY(w.saveScreenshot(texts.shots + "paused"));
    w.click(w.find("pauseButton"));
    QCOMPARE(w.value("pauseButton", "symbol").toString(), QStringLiteral("pause.fill"));
    QTRY_COMPARE(textFaults(w, language, {texts.running.last()}), QString());
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/titleText"),
                              texts.running.first().section('=', 1), kBackendWait);

    // The end alert, drawn as a panel, offers the failed photos.
    QVERIFY(backend.setStatus(figures.last));
    QVERIFY(backend.setFailures({kFolder + "/IMG_0107.jpg\tpermission\tPermission denied",
                                 kFolder + "/IMG_0212.jpg\tnot-regular\tnot a regular file"}));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    QCOMPARE(w.text("alertTitle"), QStringLiteral("Velmora"));
    QCOMPARE(w.text("alertMessage"), texts.alert);
    QCOMPARE(w.dialogLayoutFault("alert", {"alertDetailsButton", "alertOkButton"}), QString());
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), kIdleDot);
    QVERIFY(!w.find("failureList")->isVisible());
    QVERIFY(w.saveScreenshot(texts.shots + "alert"));
    w.click(w.find("alertDetailsButton"));
    // Each reason in the window's language.
    const bool english = language == WindowLanguage::English;
    const QStringList failures = {kFolder + "/IMG_0212.jpg",
                                  english ? "not a regular file" : "bukan file biasa",
                                  english ? "permission denied" : "akses ditolak"};
    QTRY_COMPARE(textFaults(w, language, texts.ended + failures), QString());
    const QRectF list = w.sceneRect(w.find("failureList"));
    QVERIFY(list.width() > 0 && list.top() >= w.sceneRect(w.find("alertMessage")).bottom() &&
            list.bottom() <= w.sceneRect(w.find("alertOkButton")).top());
    QCOMPARE(
        w.dialogLayoutFault("alert", {"alertCopyButton", "alertDetailsButton", "alertOkButton"}),
        QString());
    QVERIFY(w.saveScreenshot(texts.shots + "alert-details"));
    // The list can be copied, as it is shown.
    w.click(w.find("alertCopyButton"));
    QCOMPARE(QGuiApplication::clipboard()->text(), kFolder + "/IMG_0107.jpg: " + failures[2] +
                                                       '\n' + kFolder +
                                                       "/IMG_0212.jpg: " + failures[1] + '\n');
    QCOMPARE(controlStates(w, controls), expected("scanButton startButton", true));
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());

    // The screen's own pickers set its model.
    for (const QString& choice : figures.choices) {
        w.choose(choice.section('=', 0, 0), choice.section('=', 1, 1));
        QCOMPARE(model->property(qPrintable(choice.section('=', 2))).toString(),
                 choice.section('=', 1, 1).remove('%'));
    }
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
    QTest::newRow("long path, unreadable folders")
        << "COMPRESS" << longFolder << "240|5|734003200" << 12 << "" << true;
    QTest::newRow("long figures") << "SORTER"
                                  << "/foto"
                                  << "123456789012|61728394506|61728394506|9876543210" << 0 << ""
                                  << false;
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
    QVERIFY(w.chooseFolder(backend.scriptFolder(), folder));
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
    QCOMPARE(w.value("totalBox/valueText", "lineCount").toInt(), 1);  // shrunk, not wrapped

    // A path cut in the middle shows whole while the pointer is on it.
    QCOMPARE(w.value("pathText", "truncated").toBool(), pathCut);
    if (pathCut) {
        QCOMPARE(w.value("pathText", "elide").toInt(), int(Qt::ElideMiddle));
        QCOMPARE(textsReading(w, folder), 1);
        w.hover(w.find("sourceRow/pathText"));
        QTRY_COMPARE(textsReading(w, folder), 2);
    }
}

// Sixty failures with long paths: listed in folder order, with a scrollbar
// in sight, each path broken between its folders.
void JobScreenTest::aLongFailureListScrollsInOrder() {
    FakeBackend backend;
    WindowHarness w;
    const QString folder = "/home/rani/Foto/" + QString("Wisuda angkatan 2024 ").repeated(3);
    QVERIFY(w.chooseFolder(backend.scriptFolder(), folder));
    QVERIFY(backend.setSummary("60|30|30|0"));
    QVERIFY(w.scan());
    QStringList failures;
    for (int n = 60; n >= 1; --n) {  // written in no order the user would want
        failures << folder + QStringLiteral("/hari %1/IMG_%1.jpg\tdisk-full\tdisk full").arg(n);
    }
    QVERIFY(backend.setFailures(failures));
    QVERIFY(backend.setStatus("60|60|0|1.0|60"));
    QVERIFY(backend.finish(0));
    w.click(w.find("startButton"));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.find("failureList")->isVisible());
    (void)QQuickTest::qWaitForPolish(w.window());
    QVERIFY(w.value("failureScrollBar", "visible").toBool());
    QCOMPARE(w.value("failureScrollBar", "policy").toInt(), int(Qt::ScrollBarAlwaysOn));
    const QVariantList listed = w.model<JobModel>()->alertFailures();
    QCOMPARE(listed.first().toMap().value("path").toString(), folder + "/hari 1/IMG_1.jpg");
    QCOMPARE(listed.at(1).toMap().value("path").toString(), folder + "/hari 2/IMG_2.jpg");
    QCOMPARE(listed.last().toMap().value("path").toString(), folder + "/hari 60/IMG_60.jpg");
    QVERIFY(w.showsText(folder + "/hari 1/IMG_1.jpg"));
    QVERIFY(w.saveScreenshot("velmora-alert-long-failure-list"));
}

void JobScreenTest::stopAsksThenEndsTheJob_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<WindowLanguage>("language");
    QTest::addColumn<bool>("pausedFirst");
    QTest::addColumn<QStringList>("question");  // the texts of the question
    QTest::addColumn<QStringList>("ended");     // the status line and the alert's texts
    const QString idQuestion =
        "Hentikan proses ini? Foto yang sudah selesai tetap selesai, sisanya tetap di tempatnya.";
    const QString enQuestion =
        "Stop this job? Photos already done stay done, the rest stay where they are.";
    const QString idAlert = "alertMessage=Proses Dihentikan\nBerhasil: 3\nGagal: 1";
    const QString enAlert = "alertMessage=Job stopped\nSucceeded: 3\nFailed: 1";
    const QString idCompressAlert = idAlert + "\nUkuran: 2.0 MB → 1.0 MB (hemat 50%)";
    const QString enCompressAlert = enAlert + "\nSize: 2.0 MB → 1.0 MB (50% saved)";
    QTest::newRow("SORTER in Indonesian")
        << "SORTER" << WindowLanguage::Indonesian << false
        << QStringList{"Velmora", idQuestion, "stopCancelButton=BATAL",
                       "stopConfirmButton=HENTIKAN"}
        << QStringList{"progressPanel/titleText=Proses dihentikan.", idAlert};
    QTest::newRow("SORTER in English, paused")
        << "SORTER" << WindowLanguage::English << true
        << QStringList{"Velmora", enQuestion, "stopCancelButton=CANCEL", "stopConfirmButton=STOP"}
        << QStringList{"progressPanel/titleText=Job stopped.", enAlert};
    QTest::newRow("COMPRESS in Indonesian, paused")
        << "COMPRESS" << WindowLanguage::Indonesian << true
        << QStringList{"Velmora", idQuestion, "stopCancelButton=BATAL",
                       "stopConfirmButton=HENTIKAN"}
        << QStringList{"progressPanel/titleText=Proses dihentikan.", idCompressAlert};
    QTest::newRow("COMPRESS in English")
        << "COMPRESS" << WindowLanguage::English << false
        << QStringList{"Velmora", enQuestion, "stopCancelButton=CANCEL", "stopConfirmButton=STOP"}
        << QStringList{"progressPanel/titleText=Job stopped.", enCompressAlert};
}

void JobScreenTest::stopAsksThenEndsTheJob() {
    QFETCH(QString, tab);
    QFETCH(WindowLanguage, language);
    QFETCH(bool, pausedFirst);
    QFETCH(QStringList, question);
    QFETCH(QStringList, ended);
    const QString shots =
        QStringLiteral("velmora-%1%2-")
            .arg(language == WindowLanguage::English ? "english-" : "", tab.toLower());
    FakeBackend backend;
    QVERIFY(backend.setSummary(tab == "SORTER" ? "10|5|5|0" : "10|0|7340032"));
    QVERIFY(backend.endGracefullyOnTerm());
    WindowHarness w(language);
    if (tab != "SORTER") {
        w.choose("tabPicker", tab);
    }
    JobModel* model = w.chooseFolder(backend.scriptFolder(), kFolder);
    QVERIFY(model);
    QVERIFY(!w.value("stopButton", "visible").toBool());
    QVERIFY(w.scan());
    QVERIFY(!w.value("stopButton", "visible").toBool());
    w.click(w.find("startButton"));
    QVERIFY(backend.setStatus(tab == "SORTER" ? "4|1|0|2|10" : "4|1|1048576|2097152|2|10"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), "4/10", kBackendWait);
    const qint64 pid = model->runner().processId();
    if (pausedFirst) {
        w.click(w.find("pauseButton"));
        QTRY_COMPARE(processState(pid), 'T');
    }

    // STOP stands beside PAUSE, as wide, and asks first.
    const QRectF pause = w.sceneRect(w.find("pauseButton"));
    const QRectF stop = w.sceneRect(w.find("stopButton"));
    QVERIFY(w.value("stopButton", "visible").toBool() && w.value("stopButton", "enabled").toBool());
    QCOMPARE(stop.top(), pause.top());
    QCOMPARE(stop.width(), pause.width());
    QVERIFY(stop.left() > pause.right());
    QTRY_COMPARE(textFaults(w, language, {}), QString());
    QVERIFY(w.saveScreenshot(shots + (pausedFirst ? "paused-stop" : "running-stop")));
    w.click(w.find("stopButton"));
    QTRY_VERIFY(w.value("stopQuestion", "opened").toBool());
    QTRY_COMPARE(textFaults(w, language, question), QString());
    QCOMPARE(w.dialogLayoutFault("stopQuestion", {"stopCancelButton", "stopConfirmButton"}),
             QString());
    QVERIFY(w.saveScreenshot(shots + "stop-question"));

    // Escape keeps the job as it was.
    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("stopQuestion", "visible").toBool());
    QTest::qWait(200);
    QVERIFY(model->isBusy());
    QCOMPARE(model->isPaused(), pausedFirst);
    QCOMPARE(processState(pid) == 'T', pausedFirst);
    QVERIFY(processState(pid) != 0);
    QVERIFY(!w.value("alert", "visible").toBool());

    // Confirmed, the backend ends by SIGTERM, as on Ctrl-C at the command line.
    QVERIFY(backend.setFailures({kFolder + "/IMG_0003.jpg\tpermission\tPermission denied"}));
    w.click(w.find("stopButton"));
    QTRY_VERIFY(w.value("stopQuestion", "opened").toBool());
    w.click(w.find("stopConfirmButton"));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
    QTRY_COMPARE(processState(pid), 0);
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    QTRY_COMPARE(textFaults(w, language, ended), QString());
    QVERIFY(!model->isPaused());
    QCOMPARE(w.value("statusDot", "color").value<QColor>(), kIdleDot);
    QCOMPARE(w.dialogLayoutFault("alert", {"alertDetailsButton", "alertOkButton"}), QString());
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.showsText(kFolder + "/IMG_0003.jpg"));
    QVERIFY(
        w.showsText(language == WindowLanguage::English ? "permission denied" : "akses ditolak"));
    QVERIFY(w.saveScreenshot(shots + "stopped"));
    w.click(w.find("alertOkButton"));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(w.value("startButton", "visible").toBool());
    QVERIFY(!w.value("stopButton", "visible").toBool());
}

void JobScreenTest::stopEndsAScan() {
    FakeBackend backend;
    QVERIFY(backend.setSummary("10|5|5|0"));
    QVERIFY(backend.holdScans(true));
    WindowHarness w;
    JobModel* model = w.chooseFolder(backend.scriptFolder(), kFolder);
    QVERIFY(model);
    w.click(w.find("scanButton"));
    QTRY_VERIFY(backend.processId("scan") != 0);
    const qint64 pid = backend.processId("scan");
    QVERIFY(w.value("stopButton", "visible").toBool());
    w.click(w.find("stopButton"));
    QTRY_VERIFY(w.value("stopQuestion", "opened").toBool());
    w.click(w.find("stopConfirmButton"));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
    QTRY_COMPARE(processState(pid), 0);
    QCOMPARE(w.text("progressPanel/titleText"),
             QStringLiteral("Scan dihentikan. Klik SCAN FOLDER untuk memulai lagi."));
    QVERIFY(!model->scanReady());
    QVERIFY(!model->showAlert());
    QVERIFY(w.value("scanButton", "enabled").toBool());
    QVERIFY(!w.value("startButton", "enabled").toBool());
    QVERIFY(w.saveScreenshot("velmora-scan-stopped"));
}

void JobScreenTest::stopEndsARealCompressMidway() {
    for (const char* tool : {"compress-scan", "Moskel", "velmora-encode", "velmora-limit"}) {
        if (!toolIsBuilt(tool)) {
            QSKIP(qPrintable(QStringLiteral("%1 is not built").arg(tool)));
        }
    }
    // 100 noisy photos, large enough that one worker takes a while on them.
    QTemporaryDir scratch;
    const QString photos = scratch.filePath("Foto");
    const int count = 100;
    QMap<QString, QByteArray> sources;
    QImage image(640, 480, QImage::Format_RGB32);
    for (int n = 0; n < count; ++n) {
        QRandomGenerator noise(n);
        for (int y = 0; y < image.height(); ++y) {
            noise.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), image.width());
        }
        const QString name = QStringLiteral("shot %1.jpg").arg(n, 3, 10, QChar('0'));
        QVERIFY(QDir().mkpath(photos));
        QVERIFY(image.save(photos + '/' + name, "JPEG", 95));
        sources[name] = readFile(photos + '/' + name);
    }

    WindowHarness w;
    w.choose("tabPicker", "COMPRESS");
    JobModel* model = w.chooseFolder(builtScriptDirectory(), photos);
    QVERIFY(model);
    model->runner().setPollInterval(std::chrono::milliseconds(20));
    model->setWorkers(1);
    QVERIFY(w.scan());
    QCOMPARE(model->total(), count);
    w.click(w.find("startButton"));
    const qint64 pid = model->runner().processId();
    // Paused midway, so that the stop surely finds photos done and photos left.
    QTRY_VERIFY_WITH_TIMEOUT(model->processed() >= 5, kBackendWait);
    w.click(w.find("pauseButton"));
    QVERIFY(model->isPaused());
    w.click(w.find("stopButton"));
    QTRY_VERIFY(w.value("stopQuestion", "opened").toBool());
    w.click(w.find("stopConfirmButton"));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
    QTRY_COMPARE(processState(pid), 0);
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    const qint64 done = model->processed();
    QVERIFY2(done >= 5 && done < count, qPrintable(QString::number(done)));
    const QString stopped = w.text("alertMessage");
    QVERIFY2(stopped.startsWith(
                 QStringLiteral("Proses Dihentikan\nBerhasil: %1\nGagal: 0\nUkuran: ").arg(done)),
             qPrintable(stopped));
    QCOMPARE(w.text("progressPanel/titleText"), QStringLiteral("Proses dihentikan."));

    // Each photo done is whole in COMPRESSED_50; the rest have none, and no
    // part-written file or temporary folder is left. The sources are as they were.
    const QString output = photos + "/COMPRESSED_50";
    const QStringList outputs = filesBelow(output);
    QCOMPARE(outputs.size(), done);
    for (const QString& name : outputs) {
        QVERIFY2(sources.contains(name), qPrintable(name));
        const QByteArray bytes = readFile(output + '/' + name);
        QVERIFY2(bytes.endsWith("\xff\xd9"), qPrintable(name));
        QCOMPARE(QImage::fromData(bytes, "JPEG").size(), QSize(640, 480));
    }
    QDirIterator all(photos, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                     QDirIterator::Subdirectories);
    QStringList leftovers;
    while (all.hasNext()) {
        const QString entry = all.next();
        if (entry.contains(".velmora-partial") || entry.contains(".part")) {
            leftovers << entry;
        }
    }
    QCOMPARE(leftovers, QStringList());
    QCOMPARE(filesBelow(photos).size(), count + outputs.size());
    for (auto source = sources.cbegin(); source != sources.cend(); ++source) {
        QCOMPARE(readFile(photos + '/' + source.key()), source.value());
    }
    QVERIFY(w.saveScreenshot("velmora-compress-stopped-midway"));
}

QTEST_MAIN(JobScreenTest)
#include "job_screen_test.moc"
