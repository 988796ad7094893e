#include <QtTest>

#include <cmath>
#include <limits>

#include "formatting.h"
#include "run_figures.h"

class FormattingTest : public QObject {
    Q_OBJECT

  private slots:
    void time_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "00:00";
        QTest::newRow("59.4 rounds down") << 59.4 << "00:59";
        QTest::newRow("59.5 rounds up") << 59.5 << "01:00";
        QTest::newRow("2.5 half away from zero") << 2.5 << "00:03";
        QTest::newRow("2.4") << 2.4 << "00:02";
        QTest::newRow("61") << 61.0 << "01:01";
        QTest::newRow("3599") << 3599.0 << "59:59";
        QTest::newRow("3600 has no hour field") << 3600.0 << "60:00";
        QTest::newRow("6000 past 99 minutes") << 6000.0 << "100:00";
        QTest::newRow("negative") << -12.0 << "00:00";
        QTest::newRow("-0.4") << -0.4 << "00:00";
        QTest::newRow("not a number") << std::nan("") << "--:--";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "--:--";
        QTest::newRow("beyond 64 bits") << 1e19 << "--:--";
    }
    void time() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(velmora::time(seconds), text);
    }

    void speedText_data() {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::newRow("copy") << 12.34 << "COPY"
                              << "12.3 MB/s";
        QTest::newRow("move") << 12.34 << "MOVE"
                              << "12 file/s";
        QTest::newRow("move rounds") << 12.5 << "MOVE"
                                     << "12 file/s";  // printf: to even
        QTest::newRow("zero copy") << 0.0 << "COPY"
                                   << "0.0 MB/s";
        QTest::newRow("zero move") << 0.0 << "MOVE"
                                   << "0 file/s";
        QTest::newRow("other mode is copy") << 4.0 << "move"
                                            << "4.0 MB/s";
    }
    void speedText() {
        QFETCH(double, speed);
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QCOMPARE(velmora::speedText(speed, mode), text);
    }

    void size_data() {
        QTest::addColumn<double>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0.0 << "0 KB";
        QTest::newRow("511") << 511.0 << "0 KB";
        QTest::newRow("512") << 512.0 << "0 KB";  // printf rounds half to even
        QTest::newRow("1536") << 1536.0 << "2 KB";
        QTest::newRow("just below a megabyte") << 1048575.0 << "1024 KB";
        QTest::newRow("1 MB") << 1048576.0 << "1.0 MB";
        QTest::newRow("700 MB") << 700.0 * 1048576 << "700.0 MB";
        QTest::newRow("30 MB") << 30.0 * 1048576 << "30.0 MB";
        QTest::newRow("just below a gigabyte") << 1073741823.0 << "1024.0 MB";
        QTest::newRow("1 GB") << 1073741824.0 << "1.00 GB";
        QTest::newRow("fractional bytes") << 1048576.5 << "1.0 MB";
    }
    void size() {
        QFETCH(double, bytes);
        QFETCH(QString, text);
        QCOMPARE(velmora::size(bytes), text);
    }

    void wholePercent_data() {
        QTest::addColumn<qint64>("processed");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("percent");
        QTest::newRow("none") << qint64(0) << qint64(100) << qint64(0);
        QTest::newRow("29 of 100 is not 28") << qint64(29) << qint64(100) << qint64(29);
        QTest::newRow("999 of 1000") << qint64(999) << qint64(1000) << qint64(99);
        QTest::newRow("more than total") << qint64(120) << qint64(100) << qint64(100);
        QTest::newRow("no total") << qint64(5) << qint64(0) << qint64(0);
        QTest::newRow("huge") << std::numeric_limits<qint64>::max() << qint64(3) << qint64(100);
    }
    void wholePercent() {
        QFETCH(qint64, processed);
        QFETCH(qint64, total);
        QFETCH(qint64, percent);
        QCOMPARE(velmora::wholePercentOf(processed, total), percent);
    }

    void completionAlert() {
        QCOMPARE(velmora::completionAlert(100, 3), "Proses Selesai\nBerhasil: 97\nGagal: 3");
        QCOMPARE(velmora::completionAlert(2, 5), "Proses Selesai\nBerhasil: 0\nGagal: 5");
    }
};

QTEST_GUILESS_MAIN(FormattingTest)
#include "formatting_test.moc"
