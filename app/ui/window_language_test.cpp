// SPDX-License-Identifier: GPL-3.0-or-later
// The window in the user's language: English for English in any territory,
// Indonesian for every other language, from the desktop the program runs on.
// Both job screens are drawn in both languages in job_screen_test.
#include <QLocale>
#include <QTest>

#include "test_kit.h"
#include "window_language.h"

using velmora::WindowLanguage;
using velmora::WindowTranslation;

Q_DECLARE_METATYPE(velmora::WindowLanguage)

class WindowLanguageTest : public QObject {
    Q_OBJECT

  public:
    /// Runs before the application is made: the desktop speaks English.
    static void initMain() { velmora::testkit::pretendEnglishDesktop(); }

  private slots:
    void englishForEnglishInAnyTerritory_data();
    void englishForEnglishInAnyTerritory();
    void translationGoesWithItsHolder();
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
        QCOMPARE(alert(), QStringLiteral("Job finished\nSucceeded: %1\nFailed: %2"));
    }
    QCOMPARE(alert(), QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: %2"));
    const WindowTranslation indonesian(WindowLanguage::Indonesian);
    QCOMPARE(alert(), QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: %2"));
}

QTEST_MAIN(WindowLanguageTest)
#include "window_language_test.moc"
