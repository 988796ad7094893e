// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include "test_kit.h"

using velmora::testkit::builtScriptDirectory;
using velmora::testkit::readFile;
using velmora::testkit::writeFile;

namespace {
/// Runs `script` from `directory` with /bin/bash and returns its exit status.
int runScript(const QString& directory, const QString& script, const QStringList& arguments) {
    QProcess bash;
    bash.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    bash.setStandardErrorFile(QProcess::nullDevice());
    bash.start("/bin/bash", QStringList{QDir(directory).filePath(script)} + arguments);
    bash.waitForFinished(60000);
    return bash.exitStatus() == QProcess::NormalExit ? bash.exitCode() : -1;
}
}  // namespace

/// The backend scripts as the application starts them: their verbs and
/// argument counts, and how they find the tools. Real scans and runs through
/// the scripts are in the model tests.
class BackendScriptsTest : public QObject {
    Q_OBJECT

  private slots:
    void wrongCallsEndNonZero_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("arguments");
        const QStringList rows = {
            "sorter_backend.sh",
            "sorter_backend.sh copy / /",
            "sorter_backend.sh scan /",
            "sorter_backend.sh scan / / x",
            "sorter_backend.sh sort / / COPY 4 1",
            "compress_backend.sh",
            "compress_backend.sh sort / / 50 4",
            "compress_backend.sh scan / /",
            "compress_backend.sh compress / / 50 4 x",
        };
        for (const QString& row : rows) {
            const QStringList words = row.split(' ');
            QTest::newRow(qPrintable(row)) << words.first() << words.mid(1);
        }
    }
    void wrongCallsEndNonZero() {
        QFETCH(QString, script);
        QFETCH(QStringList, arguments);
        QCOMPARE(runScript(builtScriptDirectory(), script, arguments), 2);
    }

    void missingToolEndsNonZero() {
        // The scripts alone, without the tools beside them.
        QTemporaryDir tree;
        const QString scripts = tree.filePath("share/velmora");
        for (const QString script :
             {"sorter_backend.sh", "compress_backend.sh", "backend_tools.sh"}) {
            writeFile(QDir(scripts).filePath(script),
                      readFile(QDir(builtScriptDirectory()).filePath(script)));
        }
        const QString job = tree.filePath("job");
        QCOMPARE(runScript(scripts, "sorter_backend.sh", {"scan", tree.path(), job}), 127);
        QCOMPARE(runScript(scripts, "sorter_backend.sh",
                           {"sort", tree.path(), job, "COPY", "4", "1", "1"}),
                 127);
        QCOMPARE(runScript(scripts, "compress_backend.sh", {"scan", tree.path(), job, "50"}), 127);
        QCOMPARE(
            runScript(scripts, "compress_backend.sh", {"compress", tree.path(), job, "50", "4"}),
            127);
    }

    void scriptsStartedThroughALinkFindTheirTools() {
        QTemporaryDir tree;
        const QString links = tree.filePath("links");
        QVERIFY(QDir().mkpath(links));
        for (const QString script : {"sorter_backend.sh", "compress_backend.sh"}) {
            QVERIFY(QFile::link(QDir(builtScriptDirectory()).filePath(script),
                                QDir(links).filePath(script)));
        }
        QVERIFY(writeFile(tree.filePath("photos/IMG_1.jpg"), "1"));
        QCOMPARE(runScript(links, "sorter_backend.sh",
                           {"scan", tree.filePath("photos"), tree.filePath("sort")}),
                 0);
        QCOMPARE(readFile(tree.filePath("sort/summary.txt")), "1|1|0|0|0\n");
        QCOMPARE(runScript(links, "compress_backend.sh",
                           {"scan", tree.filePath("photos"), tree.filePath("compress"), "50"}),
                 0);
        QCOMPARE(readFile(tree.filePath("compress/summary.txt")), "1|0|1|0\n");
    }
};

QTEST_GUILESS_MAIN(BackendScriptsTest)
#include "backend_scripts_test.moc"
