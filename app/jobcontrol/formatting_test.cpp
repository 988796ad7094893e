// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <limits>

#include "formatting.h"

class FormattingTest : public QObject {
    Q_OBJECT

    static void addRows(const QList<std::pair<double, const char*>>& rows) {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        for (const auto& [value, text] : rows) {
            QTest::addRow("%.17g", value) << value << QString::fromUtf8(text);
        }
    }

  private slots:
    void formatDuration_data() {
        addRows({{0, "00:00"},
                 {59.4, "00:59"},
                 {59.5, "01:00"},
                 {61, "01:01"},
                 {3599, "59:59"},
                 {3600, "60:00"},
                 {6000, "100:00"},
                 {-12, "00:00"},
                 {1e19, "--:--"},
                 {std::numeric_limits<double>::infinity(), "--:--"},
                 {std::numeric_limits<double>::quiet_NaN(), "--:--"}});
    }
    void formatDuration() {
        QFETCH(double, value);
        QTEST(velmora::formatDuration(value), "text");
    }

    void formatByteSize_data() {
        // printf rounds exact halves to even: 512 bytes are 0 KB, 1536 are 2 KB.
        addRows({{0, "0 KB"},
                 {511, "0 KB"},
                 {512, "0 KB"},
                 {1536, "2 KB"},
                 {1048575, "1024 KB"},
                 {1048576, "1.0 MB"},
                 {1073741823, "1024.0 MB"},
                 {1073741824, "1.00 GB"}});
    }
    void formatByteSize() {
        QFETCH(double, value);
        QTEST(velmora::formatByteSize(value), "text");
    }

    void folderOrder_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("before");
        QTest::newRow("numbers by value") << "/f/IMG_2.jpg"
                                          << "/f/IMG_10.jpg" << true;
        QTest::newRow("and not the other way") << "/f/IMG_10.jpg"
                                               << "/f/IMG_2.jpg" << false;
        QTest::newRow("leading zeros") << "/f/IMG_007.jpg"
                                       << "/f/IMG_8.jpg" << true;
        QTest::newRow("equal value, then the rest") << "/f/IMG_07a"
                                                    << "/f/IMG_7b" << true;
        QTest::newRow("folder before its files' names") << "/f/a/IMG_9"
                                                        << "/f/a/IMG_9 (1)" << true;
        QTest::newRow("the same") << "/f/x"
                                  << "/f/x" << false;
        QTest::newRow("longer than any integer") << "/f/IMG_99999999999999999999999"
                                                 << "/f/IMG_100000000000000000000000" << true;
    }
    void folderOrder() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QTEST(velmora::comesBeforeInFolderOrder(a, b), "before");
    }

    void speeds() {
        QCOMPARE(velmora::speedText(12.34, "COPY"), "12.3 MB/s");
        QCOMPARE(velmora::speedText(12.34, "MOVE"), "12 file/s");
        QCOMPARE(velmora::megabyteSpeedText(3.45), "3.5 MB/s");
    }
};

QTEST_GUILESS_MAIN(FormattingTest)
#include "formatting_test.moc"
