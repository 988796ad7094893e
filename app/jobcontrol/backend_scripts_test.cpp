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
};

QTEST_GUILESS_MAIN(BackendScriptsTest)
#include "backend_scripts_test.moc"
