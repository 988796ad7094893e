// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "backend_files.h"

/// The number rules of the summary and status files. Whole summary lines are
/// covered through the models' scan tests, status lines in run_figures_test,
/// the failures list in sorter_model_test.
class BackendFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void integers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");  // "-" when refused
        // The forms themselves are those of the shared parser (decimal_test);
        // here, that the text reaches it whole and only ASCII digits pass.
        const QStringList rows = {
            "+007=7", "5 =-",
            QString::fromUtf8("\u0665=-"),  // an Arabic-Indic digit
            QString::fromUtf8("\u00b2=-")   // a superscript digit
        };
        for (const QString& row : rows) {
            QTest::newRow(qPrintable(row)) << row.section('=', 0, 0) << row.section('=', 1);
        }
    }
    void integers() {
        QFETCH(QString, text);
        const auto parsed = velmora::parseDecimalInteger(text);
        QTEST(parsed ? QString::number(*parsed) : QStringLiteral("-"), "value");
    }

    void reals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");  // "-" when refused
        const QStringList rows = {
            "1048576.5=1048576.5",
            ".5=0.5",
            "5.=5",
            "1.5e3=1500",
            "-2E-2=-0.02",
            "e5=-",
            "0x10=-",
            "inf=-",
            "1e400=-",
            "1,5=-",
            "=-",
        };
        for (const QString& row : rows) {
            QTest::newRow(qPrintable(row)) << row.section('=', 0, 0) << row.section('=', 1);
        }
    }
    void reals() {
        QFETCH(QString, text);
        const auto parsed = velmora::parseRealNumber(text);
        QTEST(parsed ? QString::number(*parsed, 'g', QLocale::FloatingPointShortest)
                     : QStringLiteral("-"),
              "value");
    }

    void fieldsAndLinesAreTrimmedSplitAndNotEmpty() {
        QCOMPARE(velmora::splitFields(" \r\n5||3|2 |0\n\n"), (QStringList{"5", "3", "2 ", "0"}));
        QVERIFY(velmora::parseSortStatus("25|1|4096|3.2"));             // four fields suffice
        QVERIFY(!velmora::parseCompressStatus("0|0|0|0|0.001"));        // six needed
        QVERIFY(velmora::parseCompressStatus("0|0|0|0|0.001|unread"));  // the sixth is not read
        QCOMPARE(velmora::parsePathList("/p/x\n\n/p/y z\n"), (QStringList{"/p/x", "/p/y z"}));
    }
};

QTEST_GUILESS_MAIN(BackendFilesTest)
#include "backend_files_test.moc"
