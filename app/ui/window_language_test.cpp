// The window in the user's language: English for English in any territory,
// Indonesian for every other language. Both job screens are drawn in both
// languages, from opened to the end alert and the question before quitting,
// with exact texts; the English window shows no Indonesian word and cuts off
// no text. The program runs on an English desktop here, so the Indonesian
// rows also show that the window tests do not follow the desktop's language.
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "fake_backend.h"
#include "window_harness.h"
#include "window_language.h"

using velmora::WindowLanguage;
using velmora::WindowTranslation;
using velmora::testkit::FakeBackend;
using velmora::testkit::WindowHarness;

Q_DECLARE_METATYPE(velmora::WindowLanguage)

namespace {

constexpr int kBackendWait = 60000;
const QString kFolder = QStringLiteral("/home/rani/Foto/Wisuda 2024");

/// Words of the window's Indonesian texts; an English window shows none.
const QRegularExpression kIndonesianWord(QStringLiteral(
    "\\b(Pilih|Belum|dipilih|Klik|PENGATURAN|SUMBER|MULAI|SORTIR|KUALITAS|FOTO|AWAL|HASIL|"
    "Proses|Selesai|selesai|Berhasil|Gagal|gagal|dijeda|dilanjutkan|Tidak|tidak|berhenti|"
    "Mengompres|Kompresi|SEMBUNYIKAN|BATAL|KELUAR|lainnya)\\b"));

/// What is wrong with the window's texts in `language`, one fault a line:
/// the texts of `expected` that are not drawn and, in English, the drawn
/// texts that hold an Indonesian word or are cut off.
QString textFaults(const WindowHarness& w, WindowLanguage language, const QStringList& expected) {
    QStringList faults;
    for (const QString& text : expected) {
        if (!w.showsText(text)) {
            faults << "not drawn: " + text;
        }
    }
    if (language == WindowLanguage::Indonesian) {
        return faults.join(u'\n');
    }
    for (const QQuickItem* item : w.visibleItems()) {
        const QString text = item->property("text").toString();
        if (item->inherits("QQuickText") && text.contains(kIndonesianWord)) {
            faults << "Indonesian: " + text;
        }
    }
    for (const QString& text : w.cutOffTexts()) {
        faults << "cut off: " + text;
    }
    return faults.join(u'\n');
}

}  // namespace

class WindowLanguageTest : public QObject {
    Q_OBJECT

  public:
    /// Runs before the application is made: the desktop speaks English.
    static void initMain() {
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", "en_GB.UTF-8");
        qputenv("LANGUAGE", "en_GB");
    }

  private slots:
    void englishForEnglishInAnyTerritory_data();
    void englishForEnglishInAnyTerritory();
    void translationGoesWithItsHolder();
    void sorterFromOpenedToTheEndAlert_data();
    void sorterFromOpenedToTheEndAlert();
    void compressRunningAndQuitting_data();
    void compressRunningAndQuitting();
};

void WindowLanguageTest::englishForEnglishInAnyTerritory_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<WindowLanguage>("language");
    QTest::newRow("en_US") << "en_US" << WindowLanguage::English;
    QTest::newRow("en_GB") << "en_GB" << WindowLanguage::English;
    QTest::newRow("en_IN") << "en_IN" << WindowLanguage::English;
    QTest::newRow("en") << "en" << WindowLanguage::English;
    QTest::newRow("id_ID") << "id_ID" << WindowLanguage::Indonesian;
    QTest::newRow("ms_MY") << "ms_MY" << WindowLanguage::Indonesian;
    QTest::newRow("de_DE") << "de_DE" << WindowLanguage::Indonesian;
    QTest::newRow("C") << "C" << WindowLanguage::Indonesian;
}

void WindowLanguageTest::englishForEnglishInAnyTerritory() {
    QFETCH(QString, locale);
    QFETCH(WindowLanguage, language);
    QCOMPARE(velmora::windowLanguageFor(QLocale(locale)), language);
}

void WindowLanguageTest::translationGoesWithItsHolder() {
    // The desktop set up by initMain(), as the program sees it.
    QCOMPARE(velmora::windowLanguageFor(QLocale::system()), WindowLanguage::English);
    const auto alert = [] {
        return QCoreApplication::translate("RunFigures", "Proses Selesai\nBerhasil: %1\nGagal: %2");
    };
    {
        const WindowTranslation english(WindowLanguage::English);
        QCOMPARE(english.language(), WindowLanguage::English);
        QCOMPARE(alert(), QStringLiteral("Job finished\nSucceeded: %1\nFailed: %2"));
    }
    QCOMPARE(alert(), QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: %2"));
    const WindowTranslation indonesian(WindowLanguage::Indonesian);
    QCOMPARE(indonesian.language(), WindowLanguage::Indonesian);
    QCOMPARE(alert(), QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: %2"));
}

void WindowLanguageTest::sorterFromOpenedToTheEndAlert_data() {
    QTest::addColumn<WindowLanguage>("language");
    QTest::addColumn<QStringList>("opened");   // texts drawn
    QTest::addColumn<QStringList>("scanned");  // two folders unreadable
    QTest::addColumn<QStringList>("paused");
    QTest::addColumn<QStringList>("ended");  // the alert, its details open
    QTest::addColumn<QString>("alert");
    QTest::newRow("Indonesian")
        << WindowLanguage::Indonesian
        << QStringList{"VELMORA",
                       "PRO",
                       "Photo Workflow Utility",
                       "SORTER",
                       "COMPRESS",
                       "PENGATURAN SORTER",
                       "FOLDER SUMBER",
                       "BROWSE",
                       "Belum dipilih",
                       "MODE SORTIR",
                       "MOVE",
                       "COPY",
                       "WORKERS",
                       "FOLDER GANJIL",
                       "FOLDER GENAP",
                       "SCAN FOLDER",
                       "TOTAL",
                       "GANJIL",
                       "GENAP",
                       "IGNORE",
                       "PROGRESS SORTER",
                       "Pilih folder sumber.",
                       "FILE",
                       "SPEED",
                       "ETA",
                       "0 file/s",
                       "--:--",
                       "MULAI SORTIR"}
        << QStringList{"Scan selesai. Siap sortir. 2 folder tidak dapat dibaca.", "100", "51", "49"}
        << QStringList{"Sortir dijeda sementara…", "dijeda", "RESUME", "3 gagal", "40/100"}
        << QStringList{"Selesai.",         "00:00", "SEMBUNYIKAN", "OK", "… dan 1 foto lainnya",
                       "Permission denied"}
        << "Proses Selesai\nBerhasil: 97\nGagal: 3";
    QTest::newRow("English")
        << WindowLanguage::English
        << QStringList{"VELMORA",
                       "PRO",
                       "Photo Workflow Utility",
                       "SORTER",
                       "COMPRESS",
                       "SORTER SETTINGS",
                       "SOURCE FOLDER",
                       "BROWSE",
                       "Not chosen yet",
                       "SORT MODE",
                       "MOVE",
                       "COPY",
                       "WORKERS",
                       "GANJIL FOLDERS (ODD)",
                       "GENAP FOLDERS (EVEN)",
                       "SCAN FOLDER",
                       "TOTAL",
                       "GANJIL",
                       "GENAP",
                       "IGNORED",
                       "SORTER PROGRESS",
                       "Choose a source folder.",
                       "FILES",
                       "SPEED",
                       "ETA",
                       "0 files/s",
                       "--:--",
                       "START SORT"}
        << QStringList{"Scan done. Ready to sort. 2 folders could not be read.", "100", "51", "49"}
        << QStringList{"Sort paused…", "paused", "RESUME", "3 failed", "40/100"}
        << QStringList{"Done.", "00:00", "HIDE", "OK", "… and 1 more photo", "Permission denied"}
        << "Job finished\nSucceeded: 97\nFailed: 3";
}

void WindowLanguageTest::sorterFromOpenedToTheEndAlert() {
    QFETCH(WindowLanguage, language);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, scanned);
    QFETCH(QStringList, paused);
    QFETCH(QStringList, ended);
    QFETCH(QString, alert);
    FakeBackend backend;
    WindowHarness w(language);
    QVERIFY(w.window());
    QTRY_COMPARE(textFaults(w, language, opened), QString());

    QVERIFY(backend.setSummary("100|51|49|7"));
    QVERIFY(backend.setUnreadable({kFolder + "/arsip", kFolder + "/lama"}));
    QVERIFY(w.chooseFolder(backend.scriptFolder(), kFolder));
    QVERIFY(w.scan());
    QTRY_COMPARE(textFaults(w, language, scanned), QString());

    QVERIFY(backend.setStatus("40|3|0|8|100"));
    w.click(w.find("startButton"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/titleText"), QStringLiteral("FAST MOVE… 40%"),
                              kBackendWait);
    w.click(w.find("pauseButton"));
    QTest::qWait(300);  // polls go on while paused
    QTRY_COMPARE(textFaults(w, language, paused), QString());

    w.click(w.find("pauseButton"));
    QVERIFY(backend.setStatus("100|3|0|20|100"));
    QVERIFY(backend.setFailures({kFolder + "/IMG_0107.jpg\tPermission denied",
                                 kFolder + "/IMG_0212.jpg\tnot a regular file"}));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.value("alert", "opened").toBool(), kBackendWait);
    QCOMPARE(w.text("alertMessage"), alert);
    w.click(w.find("alertDetailsButton"));
    QTRY_VERIFY(w.find("failureList")->isVisible());
    QTRY_COMPARE(textFaults(w, language, ended), QString());
}

void WindowLanguageTest::compressRunningAndQuitting_data() {
    QTest::addColumn<WindowLanguage>("language");
    QTest::addColumn<QStringList>("chosen");  // texts drawn
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<QString>("busyHint");
    QTest::addColumn<QStringList>("quitQuestion");
    QTest::newRow("Indonesian")
        << WindowLanguage::Indonesian
        << QStringList{"PENGATURAN COMPRESS",
                       "FOLDER FOTO",
                       "KUALITAS",
                       "WORKERS",
                       "FOTO",
                       "IGNORE",
                       "AWAL",
                       "HASIL",
                       "PROGRESS COMPRESS",
                       "0.0 MB/s",
                       "0 KB",
                       "Klik SCAN FOLDER untuk membaca foto yang dapat dikompres.",
                       "MULAI COMPRESS"}
        << QStringList{"Mengompres… 62%", "150/240", "700.0 MB", "95.0 MB", "PAUSE"}
        << "Tidak dapat diubah selama scan atau proses berjalan."
        << QStringList{"Velmora",
                       "Proses masih berjalan dan akan terus berjalan tanpa jendela ini. "
                       "Tetap keluar?",
                       "BATAL", "KELUAR"};
    QTest::newRow("English") << WindowLanguage::English
                             << QStringList{"COMPRESS SETTINGS",
                                            "PHOTO FOLDER",
                                            "QUALITY",
                                            "WORKERS",
                                            "PHOTOS",
                                            "IGNORED",
                                            "BEFORE",
                                            "AFTER",
                                            "COMPRESS PROGRESS",
                                            "0.0 MB/s",
                                            "0 KB",
                                            "Click SCAN FOLDER to find the photos that can be "
                                            "compressed.",
                                            "START COMPRESS"}
                             << QStringList{"Compressing… 62%", "150/240", "700.0 MB", "95.0 MB",
                                            "PAUSE"}
                             << "Cannot be changed while a scan or a job is running."
                             << QStringList{"Velmora",
                                            "A job is still running and will go on without "
                                            "this window. Quit anyway?",
                                            "CANCEL", "QUIT"};
}

void WindowLanguageTest::compressRunningAndQuitting() {
    QFETCH(WindowLanguage, language);
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, running);
    QFETCH(QString, busyHint);
    QFETCH(QStringList, quitQuestion);
    FakeBackend backend;
    WindowHarness w(language);
    QVERIFY(w.window());
    w.choose("tabPicker", "COMPRESS");
    QVERIFY(w.chooseFolder(backend.scriptFolder(), kFolder));
    QTRY_COMPARE(textFaults(w, language, chosen), QString());

    QVERIFY(backend.setSummary("240|5|734003200"));
    QVERIFY(w.scan());
    QVERIFY(backend.setStatus("150|0|99614720|461373440|20|240"));
    w.click(w.find("startButton"));
    QTRY_COMPARE_WITH_TIMEOUT(w.text("progressPanel/countText"), QStringLiteral("150/240"),
                              kBackendWait);
    QTRY_COMPARE(textFaults(w, language, running), QString());
    w.hover(w.find("browseButton"));
    QTRY_VERIFY(w.showsText(busyHint));

    w.window()->close();
    QTRY_VERIFY(w.value("quitQuestion", "opened").toBool());
    QTRY_COMPARE(textFaults(w, language, quitQuestion), QString());
    QVERIFY(backend.finish(0));
}

QTEST_MAIN(WindowLanguageTest)
#include "window_language_test.moc"
