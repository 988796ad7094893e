// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <limits>

#include "run_figures.h"

using velmora::SortSpeedUnit;

/// What a worker's status line means on screen: the figures of both jobs'
/// lines, paused time left out of them, the whole percent, the remaining
/// time and the end-of-run alert.
class RunFiguresTest : public QObject {
    Q_OBJECT

  private slots:
    void statusLines_data() {
        QTest::addColumn<QString>("job");  // "MOVE" or "COPY" (sort), or "compress"
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("line");
        // processed|failed|progress|percent|speed|seconds|outputBytes, or "-" when refused
        QTest::addColumn<QString>("figures");
        // 52428800 bytes are 50 MB, 31457280 are 30 MB, 83886080 are 80 MB.
        const struct {
            const char* name;
            const char* job;
            qint64 total;
            QString line;
            QString figures;
        } rows[] = {
            {"first", "COPY", 100, "0|0|0|0.001|100\n", "0|0|0|0|0|0.001|0"},
            {"copy 40%", "COPY", 100, "40|2|52428800|10.0|100", "40|2|0.4|40|5|10|0"},
            {"move 40%", "MOVE", 100, "40|2|52428800|10.0|100", "40|2|0.4|40|4|10|0"},
            {"29 of 100", "MOVE", 100, "29|0|0|2.9", "29|0|0.29|29|10|2.9|0"},
            {"zero seconds", "COPY", 100, "10|0|500|0", "10|0|0.1|10|0|0|0"},
            {"beyond total", "MOVE", 50, "60|0|9|6.0|50", "60|0|1|100|10|6|0"},
            {"no total", "MOVE", 0, "5|0|9|1.0|0", "5|0|0|0|5|1|0"},
            {"sort garbage", "COPY", 100, "\x01garbage|||", "-"},
            {"compress 40%", "compress", 100, "40|2|31457280|83886080|10|100",
             "40|2|0.4|40|8|10|31457280"},
            {"compress 57 of 100", "compress", 100, "57|0|0|0|0|100", "57|0|0.57|57|0|0|0"},
            {"compress not a number", "compress", 100, "40|2|x|80|10|100", "-"},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << row.job << row.total << row.line << row.figures;
        }
    }
    void statusLines() {
        QFETCH(QString, job);
        QFETCH(qint64, total);
        QFETCH(QString, line);
        const auto f =
            job == "compress"
                ? velmora::compressRunFigures(line, total)
                : velmora::sortRunFigures(
                      line, total, job == "MOVE" ? SortSpeedUnit::Files : SortSpeedUnit::Megabytes);
        QTEST(f ? QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                      .arg(f->processed)
                      .arg(f->failed)
                      .arg(f->progress)
                      .arg(f->percent)
                      .arg(f->speed)
                      .arg(f->seconds)
                      .arg(f->outputBytes, 0, 'f', 0)
                : QStringLiteral("-"),
              "figures");
    }

    void pausedTimeIsLeftOut_data() {
        QTest::addColumn<QString>("stops");   // "from-to" on the run's clock; "from-" still stopped
        QTest::addColumn<double>("started");  // the backend's clock, on the run's; -1: not seen
        QTest::addColumn<double>("seconds");  // of a status line
        QTest::addColumn<double>("active");
        QTest::newRow("never stopped") << "" << -1.0 << 7.5 << 7.5;
        QTest::newRow("line before the stop") << "10-40" << -1.0 << 9.0 << 9.0;
        QTest::newRow("line after the stop") << "10-40" << -1.0 << 45.0 << 15.0;
        QTest::newRow("line during the stop") << "10-40" << -1.0 << 25.0 << 10.0;
        QTest::newRow("read while still stopped") << "10-" << -1.0 << 9.5 << 9.5;
        QTest::newRow("two stops") << "2-4,6-16" << -1.0 << 20.0 << 8.0;
        QTest::newRow("never below zero") << "0-10" << -1.0 << -1.0 << 0.0;
        QTest::newRow("clock started late") << "10-40" << 2.0 << 9.0 << 8.0;
        QTest::newRow("stopped while setting up") << "0.5-60.5" << 60.6 << 2.0 << 2.0;
    }
    void pausedTimeIsLeftOut() {
        QFETCH(QString, stops);
        QFETCH(double, started);
        QFETCH(double, seconds);
        velmora::PauseLog log;
        for (const QString& stop : stops.split(',', Qt::SkipEmptyParts)) {
            log.paused(stop.section('-', 0, 0).toDouble());
            if (!stop.section('-', 1).isEmpty()) {
                log.resumed(stop.section('-', 1).toDouble());
            }
        }
        if (started >= 0) {
            QVERIFY(log.observe(1.0, started + 1.5));   // read half a second late
            QVERIFY(log.observe(3.0, started + 3.0));   // read at once
            QVERIFY(!log.observe(3.0, started + 4.0));  // the same line read again
        }
        QTEST(log.activeSeconds(seconds), "active");

        // Speeds and remaining times count the working time only.
        const QString line = QStringLiteral("10|0|%1|%2|20").arg(10 * 1048576).arg(seconds);
        const auto sort = velmora::sortRunFigures(line, 20, SortSpeedUnit::Megabytes, log);
        const auto compress = velmora::compressRunFigures(
            QStringLiteral("10|0|0|%1|%2|20").arg(10 * 1048576).arg(seconds), 20, log);
        QTEST(sort->seconds, "active");
        QTEST(compress->seconds, "active");
        QCOMPARE(sort->speed, sort->seconds > 0 ? 10 / sort->seconds : 0.0);
        QCOMPARE(compress->speed, sort->speed);
    }

    void wholePercent() {
        // 29 and 57 of 100, where progress * 100 would cut to one less, are in statusLines.
        QCOMPARE(velmora::wholePercentOf(999, 1000), 99);
        QCOMPARE(velmora::wholePercentOf(5, 0), 0);
        QCOMPARE(velmora::wholePercentOf(std::numeric_limits<qint64>::max(), 3), 100);
    }

    void etaAndAlert() {
        QCOMPARE(velmora::etaOf(40, 100, 10.0, false), "00:15");
        QCOMPARE(velmora::etaOf(10, 100, 0.0, false), "00:00");
        QCOMPARE(velmora::etaOf(0, 100, 0.001, false), "--:--");
        QCOMPARE(velmora::etaOf(50, 50, 5.0, false), "--:--");
        QCOMPARE(velmora::etaOf(50, 50, 5.0, true), "00:00");
        QCOMPARE(velmora::completionAlert(2, 5), "Proses Selesai\nBerhasil: 0\nGagal: 5");
    }
};

QTEST_GUILESS_MAIN(RunFiguresTest)
#include "run_figures_test.moc"
