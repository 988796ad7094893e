// SPDX-License-Identifier: GPL-3.0-or-later
// Every reason code the tools write has words of the window's own, in both
// of its languages; the window falls back to the list's English words only
// for "other" and for what it does not know.
#include <QtTest>

#include <QTranslator>

#include "failure_reason.h"
#include "failure_texts.h"

class FailureTextsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyCodeHasWordsInBothLanguages() {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/velmora_en.qm")));
        for (int value = 0; value <= static_cast<int>(velmora::FailureCode::Other); ++value) {
            const auto code = static_cast<velmora::FailureCode>(value);
            const QString name = QString::fromUtf8(velmora::failureCodeName(code).data(),
                                                   velmora::failureCodeName(code).size());
            const QString words = QString::fromStdString(velmora::failureOf(code).text);
            const QString indonesian = velmora::failureReasonText(name, words);
            QCoreApplication::installTranslator(&english);
            const QString inEnglish = velmora::failureReasonText(name, words);
            QCoreApplication::removeTranslator(&english);
            if (code == velmora::FailureCode::Other) {
                QCOMPARE(indonesian, words);
                continue;
            }
            QVERIFY2(indonesian != words, qPrintable(name));
            QVERIFY2(!inEnglish.isEmpty() && inEnglish != indonesian, qPrintable(name));
        }
    }

    void unknownCodesKeepTheListsWords() {
        QCOMPARE(velmora::failureReasonText(QString(), "Permission denied"), "Permission denied");
        QCOMPARE(velmora::failureReasonText("from-a-later-version", "why"), "why");
        QCOMPARE(velmora::failureReasonText("disk-full", "disk full"), "disk penuh");
    }
};

QTEST_GUILESS_MAIN(FailureTextsTest)
#include "failure_texts_test.moc"
