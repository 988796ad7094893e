#include <QtTest>

#include "backend_files.h"

using velmora::parseCompressStatus;
using velmora::parseCompressSummary;
using velmora::parseSortStatus;
using velmora::parseSortSummary;

class BackendFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void integers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "120" << true << qint64(120);
        QTest::newRow("plus") << "+7" << true << qint64(7);
        QTest::newRow("minus") << "-7" << true << qint64(-7);
        QTest::newRow("leading zeros") << "007" << true << qint64(7);
        QTest::newRow("largest") << "9223372036854775807" << true << qint64(9223372036854775807LL);
        QTest::newRow("smallest") << "-9223372036854775808" << true
                                  << std::numeric_limits<qint64>::min();
        QTest::newRow("too large") << "9223372036854775808" << false << qint64(0);
        QTest::newRow("sign alone") << "-" << false << qint64(0);
        QTest::newRow("two signs") << "+-5" << false << qint64(0);
        QTest::newRow("inner blank") << "5 " << false << qint64(0);
        QTest::newRow("fraction") << "5.0" << false << qint64(0);
        QTest::newRow("arabic-indic digit") << QString::fromUtf8("\u0665") << false << qint64(0);
        QTest::newRow("superscript") << QString::fromUtf8("\u00b2") << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
    }
    void integers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, value);
        const auto parsed = velmora::parseDecimalInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(*parsed, value);
        }
    }

    void reals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "42" << true << 42.0;
        QTest::newRow("fraction") << "1048576.5" << true << 1048576.5;
        QTest::newRow("shortest elapsed") << "37.52901005744934" << true << 37.52901005744934;
        QTest::newRow("leading dot") << ".5" << true << 0.5;
        QTest::newRow("trailing dot") << "5." << true << 5.0;
        QTest::newRow("exponent") << "1.5e3" << true << 1500.0;
        QTest::newRow("signed exponent") << "-2E-2" << true << -0.02;
        QTest::newRow("plus") << "+3" << true << 3.0;
        QTest::newRow("dot alone") << "." << false << 0.0;
        QTest::newRow("exponent alone") << "e5" << false << 0.0;
        QTest::newRow("bare exponent") << "5e" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("overflows to infinity") << "1e400" << false << 0.0;
        QTest::newRow("comma") << "1,5" << false << 0.0;
        QTest::newRow("blank") << " 1" << false << 0.0;
    }
    void reals() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const auto parsed = velmora::parseRealNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(*parsed, value);
        }
    }

    void sortSummary_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<qint64>>("figures");
        QTest::newRow("scanner line") << "120|61|59|7\n" << true << QList<qint64>{120, 61, 59, 7};
        QTest::newRow("nothing numbered") << "0|0|0|12\n" << true << QList<qint64>{0, 0, 0, 12};
        QTest::newRow("empty pieces dropped") << "5||3|2|0" << true << QList<qint64>{5, 3, 2, 0};
        QTest::newRow("blanks around") << " \r\n1|1|0|0 \n\n" << true << QList<qint64>{1, 1, 0, 0};
        QTest::newRow("further pieces ignored") << "4|2|2|0|x" << true << QList<qint64>{4, 2, 2, 0};
        QTest::newRow("three pieces") << "5|3|2" << false << QList<qint64>{};
        QTest::newRow("inner blank") << "5 |3|2|0" << false << QList<qint64>{};
        QTest::newRow("fraction") << "5.0|3|2|0" << false << QList<qint64>{};
        QTest::newRow("empty") << "" << false << QList<qint64>{};
    }
    void sortSummary() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QList<qint64>, figures);
        const auto summary = parseSortSummary(text);
        QCOMPARE(summary.has_value(), valid);
        if (valid) {
            QCOMPARE((QList<qint64>{summary->total, summary->odd, summary->even, summary->ignored}),
                     figures);
        }
    }

    void compressSummary_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("photos");
        QTest::addColumn<qint64>("leftAside");
        QTest::addColumn<double>("bytes");
        QTest::newRow("700 MB") << "240|5|734003200\n"
                                << true << qint64(240) << qint64(5) << 734003200.0;
        QTest::newRow("none") << "0|3|0" << true << qint64(0) << qint64(3) << 0.0;
        QTest::newRow("fractional bytes")
            << "12|0|1048576.5" << true << qint64(12) << qint64(0) << 1048576.5;
        QTest::newRow("two pieces") << "12|0" << false << qint64(0) << qint64(0) << 0.0;
        QTest::newRow("bytes not a number")
            << "12|0|many" << false << qint64(0) << qint64(0) << 0.0;
        QTest::newRow("count with fraction")
            << "1.5|0|10" << false << qint64(0) << qint64(0) << 0.0;
        QTest::newRow("infinite bytes") << "1|0|1e999" << false << qint64(0) << qint64(0) << 0.0;
    }
    void compressSummary() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, photos);
        QFETCH(qint64, leftAside);
        QFETCH(double, bytes);
        const auto summary = parseCompressSummary(text);
        QCOMPARE(summary.has_value(), valid);
        if (valid) {
            QCOMPARE(summary->photos, photos);
            QCOMPARE(summary->leftAside, leftAside);
            QCOMPARE(summary->bytes, bytes);
        }
    }

    void statusLines() {
        // Sort: four pieces are enough, the fifth (file count) is optional.
        QVERIFY(parseSortStatus("25|1|4096|3.218765020370483|480\n"));
        QVERIFY(parseSortStatus("25|1|4096|3.2"));
        QVERIFY(!parseSortStatus("25|1|4096"));
        QVERIFY(!parseSortStatus("25|1.5|4096|3.2|480"));
        QVERIFY(!parseSortStatus("garbage"));
        const auto sort = parseSortStatus("40|2|52428800|10.0|100");
        QCOMPARE(sort->done, 40);
        QCOMPARE(sort->failed, 2);
        QCOMPARE(sort->bytes, 52428800.0);
        QCOMPARE(sort->seconds, 10.0);

        // Compress: six pieces needed, even though the sixth is not read.
        QVERIFY(!parseCompressStatus("0|0|0|0|0.001"));
        QVERIFY(parseCompressStatus("0|0|0|0|0.001|x"));
        QVERIFY(!parseCompressStatus("4|1|10|20|nan|6"));
        const auto compress = parseCompressStatus("4|1|31457280|83886080|10.0|6\n");
        QCOMPARE(compress->done, 4);
        QCOMPARE(compress->failed, 1);
        QCOMPARE(compress->outputBytes, 31457280.0);
        QCOMPARE(compress->inputBytes, 83886080.0);
        QCOMPARE(compress->seconds, 10.0);
    }
};

QTEST_GUILESS_MAIN(BackendFilesTest)
#include "backend_files_test.moc"
