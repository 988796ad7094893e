// The velmora program from the outside: --help, --version and the window's
// message with no display at all; usage errors; the subcommands on real
// photo trees with the built scripts and tools, through pipes and on a
// pseudo-terminal, Ctrl-C there included; and, with a stand-in backend, the
// list of failed photos, a worker that fails, a missing tool, and a signal
// during a scan and during a run.
#include <QtTest>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <unistd.h>

#include <csignal>
#include <memory>

#include "program_run.h"
#include "test_kit.h"

using namespace velmora::clitest;
using namespace velmora::testkit;

namespace {

const QString kProgram = QStringLiteral(VELMORA_PROGRAM);
const QString kSummaryTail = QStringLiteral(R"(\d+ KB in \d+\.\d s\n)");
const QString kInterruptedNote =
    QStringLiteral("The photos done stay done; the others were left as they were.\n");

/// A JPEG of `width` × `height` noise, which no encoder shrinks much.
QByteArray noisyJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(width * 31 + height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, random.generate());
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return buffer.data();
}

/// Writes `names` under `root`: real JPEGs for ".jpg" names when `jpegs`,
/// else each file's own relative path as its content.
bool writeTree(const QString& root, const QStringList& names, bool jpegs) {
    if (!jpegs) {
        return QDir().mkpath(root) && writePhotoTree(root, names);
    }
    const QByteArray photo = noisyJpeg(64, 48);
    for (const QString& name : names) {
        const QString path = QDir(root).filePath(name);
        if (!writeFile(path, name.endsWith(QLatin1String(".jpg")) ? photo : name.toUtf8())) {
            return false;
        }
    }
    return true;
}

/// `pattern` with SRC standing for `source`, matched against the whole text.
bool matchesWhole(const QString& pattern, const QString& source, const QByteArray& text) {
    QString filled = pattern;
    filled.replace(QLatin1String("SRC"), QRegularExpression::escape(source));
    return QRegularExpression(QRegularExpression::anchoredPattern(filled))
        .match(QString::fromUtf8(text))
        .hasMatch();
}

QStringList withSource(QStringList arguments, const QString& source) {
    arguments.replaceInStrings(QStringLiteral("SRC"), source);
    return arguments;
}

/// What a stand-in backend wrote into its pid file: "VERB PID".
struct BackendCall {
    QString verb;
    qint64 pid = 0;
};

BackendCall backendCall(const QString& pidFile) {
    const QStringList words = QString::fromUtf8(readFile(pidFile)).split(u' ', Qt::SkipEmptyParts);
    if (words.size() != 2) {
        return {};
    }
    return {words[0], words[1].trimmed().toLongLong()};
}

}  // namespace

class VelmoraCliTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;

    QString path(const QString& name) const { return scratch_->filePath(name); }

    /// No display, and job folders kept in the scratch folder.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = environmentWithoutDisplay();
        QDir().mkpath(path("tmp"));
        environment.insert(QStringLiteral("TMPDIR"), path("tmp"));
        return environment;
    }

    /// A tree bin/velmora, share/velmora/ with the stand-in backend under
    /// both script names (or the built scripts, without tools beside them),
    /// in the build tree so that the program can be a hard link.
    QString programWith(bool realScripts) {
        const QString root = layouts_->filePath(QString::number(layoutCount_++));
        const QString scripts = root + QStringLiteral("/share/velmora/");
        const QString program = root + QStringLiteral("/bin/velmora");
        if (!QDir().mkpath(root + QStringLiteral("/bin")) || !QDir().mkpath(scripts)) {
            return {};
        }
        if (link(QFile::encodeName(kProgram).constData(), QFile::encodeName(program).constData()) !=
                0 &&
            !QFile::copy(kProgram, program)) {
            return {};
        }
        const QString from = realScripts ? QStringLiteral(VELMORA_BUILT_DATA_DIR "/")
                                         : QStringLiteral(VELMORA_FAKE_JOB_BACKEND);
        for (const char* name : {"sorter_backend.sh", "compress_backend.sh", "backend_tools.sh"}) {
            const QString source = realScripts ? from + QLatin1String(name) : from;
            if (!QFile::copy(source, scripts + QLatin1String(name))) {
                return {};
            }
        }
        return program;
    }

    std::unique_ptr<QTemporaryDir> layouts_;
    int layoutCount_ = 0;

  private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
        layouts_ = std::make_unique<QTemporaryDir>(QStringLiteral(VELMORA_LAYOUT_PARENT "/XXXXXX"));
        QVERIFY(layouts_->isValid());
    }

    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        QVERIFY(scratch_->isValid());
    }

    void withoutDisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // a pattern of the whole standard output
        QTest::addColumn<QString>("err");  // a pattern of the whole standard error

        const QString usage = QStringLiteral(R"(Usage: velmora \[--help \| --version\]\n[\s\S]*)");
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage << "";
        QTest::newRow("a subcommand's help") << QStringList{"compress", "-h"} << 0 << usage << "";
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QRegularExpression::escape("velmora " VELMORA_VERSION "\n")
                                 << "";
        QTest::newRow("the window")
            << QStringList{} << 1 << ""
            << QStringLiteral(R"(velmora: no display for the window [^\n]*\n)"
                              R"([^\n]*'xvfb-run -a velmora'[^\n]*\n)"
                              R"('velmora sort SOURCE' or 'velmora compress SOURCE'[^\n]*\n)");
    }

    void withoutDisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const ProgramRun run = runPiped(kProgram, arguments, environment());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(matchesWhole(out, {}, run.out), run.out.constData());
        QVERIFY2(matchesWhole(err, {}, run.err), run.err.constData());
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        QTest::newRow("unknown option")
            << QStringList{"--frobnicate"} << "Unknown option 'frobnicate'.";
        QTest::newRow("unknown subcommand")
            << QStringList{"shuffle", "SRC"}
            << "'shuffle' is not a subcommand; there are sort and compress.";
        QTest::newRow("no source") << QStringList{"sort"} << "sort needs a SOURCE folder.";
        QTest::newRow("two sources")
            << QStringList{"sort", "a", "b"} << "sort takes one SOURCE folder, not 2 (a, b).";
        QTest::newRow("workers not a number")
            << QStringList{"sort", "SRC", "--workers", "many"}
            << "--workers takes a whole number from 1 to 8, not 'many'.";
        QTest::newRow("workers without a value")
            << QStringList{"compress", "SRC", "--workers"} << "Missing value after '--workers'.";
        QTest::newRow("nine odd folders") << QStringList{"sort", "SRC", "--odd", "9"}
                                          << "--odd takes a whole number from 1 to 8, not '9'.";
        QTest::newRow("quality 0") << QStringList{"compress", "SRC", "--quality", "0"}
                                   << "--quality takes a whole number from 1 to 100, not '0'.";
        QTest::newRow("copy and move") << QStringList{"sort", "SRC", "--copy", "--move"}
                                       << "--copy and --move exclude each other.";
        QTest::newRow("a sort option to compress")
            << QStringList{"compress", "SRC", "--even", "2"} << "Unknown option 'even'.";
    }

    void usageErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QVERIFY(writeTree(path("src"), {"IMG_1.jpg"}, false));
        const ProgramRun run =
            runPiped(kProgram, withSource(arguments, path("src")), environment());
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.startsWith("velmora: " + message.toUtf8() + "\nUsage: velmora "),
                 run.err.constData());
        QCOMPARE(filesBelow(path("src")), QStringList{"IMG_1.jpg"});
    }

    void unusableSource_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing"
                                 << "No such file or directory";
        QTest::newRow("a file") << "file.jpg"
                                << "Not a directory";
        if (getuid() != 0) {  // root lists any folder
            QTest::newRow("unreadable") << "locked"
                                        << "Permission denied";
        }
    }

    void unusableSource() {
        QFETCH(QString, source);
        QFETCH(QString, reason);
        QVERIFY(writeFile(path("file.jpg"), "x"));
        QVERIFY(QDir().mkpath(path("locked")));
        QVERIFY(QFile::setPermissions(path("locked"), QFileDevice::WriteOwner));
        for (const QString& command : {QStringLiteral("sort"), QStringLiteral("compress")}) {
            const ProgramRun run = runPiped(kProgram, {command, path(source)}, environment());
            QCOMPARE(run.exitCode, 3);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("velmora: cannot use '%1' as "
                                                                "SOURCE: %2\n")
                                                     .arg(path(source), reason));
        }
        QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
    }

    // The built scripts and tools on real trees, through pipes: one summary
    // line and nothing drawn in place.
    void realRuns_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("jpegs");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // a pattern of the whole output; SRC is the source
        QTest::addColumn<QStringList>("filesAfter");

        const QStringList tree{"a/IMG_1.jpg", "a/IMG_2.jpg", "b/x_13.png", "notes.txt"};
        QTest::newRow("sort moves by default")
            << tree << false << QStringList{"sort", "SRC"} << 0
            << "sort finished: 3 done, 0 failed, " + kSummaryTail
            << QStringList{"GANJIL/IMG_1.jpg", "GANJIL/x_13.png", "GENAP/IMG_2.jpg", "notes.txt"};
        QTest::newRow("sort copies into numbered folders")
            << QStringList{"IMG_7.jpg"} << false
            << QStringList{"sort", "SRC", "--copy", "--odd", "3", "--workers", "1"} << 0
            << "sort finished: 1 done, 0 failed, " + kSummaryTail
            << QStringList{"GANJIL_01/IMG_7.jpg", "IMG_7.jpg"};
        QTest::newRow("sort with a photo that fails")
            << QStringList{"x²5.jpg", "IMG_2.jpg"} << false << QStringList{"sort", "SRC"} << 1
            << "sort finished: 1 done, 1 failed, " + kSummaryTail +
                   R"((Failed photos:\n  SRC/x²5\.jpg: .+\n)?)"
            << QStringList{"GENAP/IMG_2.jpg", "x²5.jpg"};
        QTest::newRow("sort finds nothing")
            << QStringList{"notes.txt"} << false << QStringList{"sort", "SRC"} << 0
            << R"(sort: no numbered photos in SRC \(other files: 1\); nothing to do\.\n)"
            << QStringList{"notes.txt"};
        QTest::newRow("sort dry run")
            << tree << false
            << QStringList{"sort", "SRC", "--dry-run", "--copy", "--even", "2", "--workers", "2"}
            << 0
            << R"(sort \(dry run\): SRC\n)"
               R"(  numbered photos: 3 \(2 odd, 1 even\)\n)"
               R"(  other files, left aside: 1\n)"
               R"(  a run would copy them with 2 workers into:\n)"
               R"(    SRC/GANJIL\n    SRC/GENAP_01\n    SRC/GENAP_02\n)"
               R"(Dry run: nothing was changed\.\n)"
            << tree;
        const QStringList photos{"a/p1.jpg", "p2.jpg", "notes.txt"};
        QTest::newRow("compress")
            << photos << true << QStringList{"compress", "SRC", "--quality", "75"} << 0
            << R"(compress finished: 2 done, 0 failed, \d+ KB read, \d+ KB written in \d+\.\d s\n)"
            << QStringList{"COMPRESSED_75/p1.jpg", "COMPRESSED_75/p2.jpg", "a/p1.jpg", "notes.txt",
                           "p2.jpg"};
        QTest::newRow("compress dry run")
            << photos << true << QStringList{"compress", "SRC", "--dry-run"} << 0
            << R"(compress \(dry run\): SRC\n)"
               R"(  photos: 2 \(\d+ KB\)\n)"
               R"(  other files, left aside: 1\n)"
               R"(  a run would compress them at quality 50 with 4 workers into:\n)"
               R"(    SRC/COMPRESSED_50\n)"
               R"(Dry run: nothing was changed\.\n)"
            << QStringList{"a/p1.jpg", "notes.txt", "p2.jpg"};
    }

    void realRuns() {
        QFETCH(QStringList, files);
        QFETCH(bool, jpegs);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QStringList, filesAfter);
        const QString source = path("src");
        QVERIFY(writeTree(source, files, jpegs));

        const ProgramRun run = runPiped(kProgram, withSource(arguments, source), environment());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(matchesWhole(out, source, run.out), run.out.constData());
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(filesBelow(source), filesAfter);
    }

    // On a terminal: the scan's and the run's live lines, each redrawn in
    // place and cut to the terminal's width, then the summary line.
    void terminalProgress() {
        const int photos = 100;
        QStringList names;
        for (int i = 0; i < photos; ++i) {
            names << QStringLiteral("photo_%1.jpg").arg(i);
        }
        const QString source = path("src");
        QVERIFY(QDir().mkpath(source));
        const QByteArray photo = noisyJpeg(640, 480);
        for (const QString& name : names) {
            QVERIFY(writeFile(QDir(source).filePath(name), photo));
        }
        const int columns = 50;
        const ProgramRun run =
            runOnTerminal(kProgram, {"compress", source, "--workers", "1"}, environment(), columns);
        QCOMPARE(run.exitCode, 0);

        // Every write starts with a redraw: "\r", erase to the end of the line,
        // the new text. The summary comes last, after the live line is
        // cleared, ended as a terminal ends lines: CR LF.
        QVERIFY2(run.out.startsWith('\r') && run.out.endsWith("\r\n"), run.out.constData());
        QList<QByteArray> drawn = run.out.chopped(2).split('\r');
        drawn.removeFirst();
        for (QByteArray& text : drawn) {
            QVERIFY2(text.startsWith("\033[K"), text.constData());
            text.remove(0, 3);
        }
        QVERIFY2(
            matchesWhole(QStringLiteral(R"(compress finished: 100 done, 0 failed, )"
                                        R"(\d+\.\d MB read, [\d.]+ [KM]B written in \d+\.\d s)"),
                         {}, drawn.takeLast()),
            run.out.constData());
        QVERIFY(drawn.first().startsWith("compress: scanning "));
        const QRegularExpression progress(QRegularExpression::anchoredPattern(QStringLiteral(
            R"(compress: (\d+)/100 \((\d+)%\), \d+\.\d MB/s, ETA (--:--|\d\d:\d\d))")));
        int progressLines = 0;
        qint64 lastCount = -1;
        for (const QByteArray& line : drawn) {
            QVERIFY2(line.size() < columns, line.constData());
            const auto match = progress.match(QString::fromUtf8(line));
            if (match.hasMatch()) {
                QVERIFY(match.captured(1).toLongLong() >= lastCount);
                lastCount = match.captured(1).toLongLong();
                ++progressLines;
            }
        }
        QVERIFY2(progressLines >= 2, run.out.constData());
        QCOMPARE(QDir(QDir(source).filePath("COMPRESSED_50")).entryList(QDir::Files).size(),
                 photos);
    }

    // Ctrl-C typed on the terminal during a run ends it: the photos done
    // stay, the others are untouched, and the summary and status say so.
    void ctrlCDuringRun() {
        const int photos = 200;
        const QString source = path("src");
        const QString output = QDir(source).filePath("COMPRESSED_50");
        QVERIFY(QDir().mkpath(source));
        const QByteArray photo = noisyJpeg(640, 480);
        for (int i = 0; i < photos; ++i) {
            QVERIFY(writeFile(QDir(source).filePath(QStringLiteral("photo_%1.jpg").arg(i)), photo));
        }
        bool typed = false;
        const ProgramRun run =
            runOnTerminal(kProgram, {"compress", source, "--workers", "1"}, environment(), 100,
                          [&](const QByteArray&, qint64, int terminal) {
                              if (!typed && QDir(output).entryList(QDir::Files).size() >= 3) {
                                  typed = write(terminal, "\x03", 1) == 1;
                              }
                          });
        QVERIFY(typed);
        QCOMPARE(run.exitCode, 130);

        const QString text = QString::fromUtf8(run.out).remove(u'\r');
        const auto summary =
            QRegularExpression(QStringLiteral(R"(compress interrupted: (\d+) done, 0 failed, )"
                                              R"((\d+) not done, [^\n]+ s\n)"))
                .match(text);
        QVERIFY2(summary.hasMatch(), run.out.constData());
        const int done = summary.captured(1).toInt();
        QCOMPARE(done + summary.captured(2).toInt(), photos);
        QVERIFY(done < photos);
        QVERIFY(text.contains(kInterruptedNote));
        QVERIFY(QDir(output).entryList(QDir::Files).size() >= done);
        for (int i = 0; i < photos; ++i) {
            QCOMPARE(readFile(QDir(source).filePath(QStringLiteral("photo_%1.jpg").arg(i))), photo);
        }
    }

    // A stand-in backend reports the scan's and the run's ends: failures and
    // unreadable folders listed up to 20, a worker that stops with an error.
    void runEnds_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        QString failures = QStringLiteral(
            "sort finished: 0 done, 25 failed, 0 KB in 0.5 s\n"
            "Failed photos:\n");
        for (int i = 1; i <= 20; ++i) {
            failures += QStringLiteral("  SRC/photo %1.jpg: not a photo\n").arg(i);
        }
        failures += QStringLiteral("  and 5 more\n");
        QTest::newRow("25 failures")
            << QStringList{"FAKE_SUMMARY=25|25|0|0", "FAKE_STATUS=25|25|0|0.5|25",
                           "FAKE_FAILURES=25"}
            << 1 << QRegularExpression::escape(failures) << "";

        QTest::newRow("worker fails")
            << QStringList{"FAKE_SUMMARY=10|5|5|0", "FAKE_RUN_EXIT=3"} << 3
            << QRegularExpression::escape(
                   "sort stopped with exit status 3: 0 done, 0 failed, "
                   "10 not done, 0 KB in 0.0 s\n")
            << "";

        QString unreadable =
            QStringLiteral("velmora: 21 folders could not be read and were left out:\n");
        for (int i = 1; i <= 20; ++i) {
            unreadable += QStringLiteral("  SRC/locked %1\n").arg(i);
        }
        unreadable += QStringLiteral("  and 1 more\n");
        QTest::newRow("unreadable folders")
            << QStringList{"FAKE_SUMMARY=2|1|1|0", "FAKE_STATUS=2|0|0|0.1|2", "FAKE_UNREADABLE=21"}
            << 0 << QRegularExpression::escape("sort finished: 2 done, 0 failed, 0 KB in 0.1 s\n")
            << QRegularExpression::escape(unreadable);
    }

    void runEnds() {
        QFETCH(QStringList, settings);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment environment = this->environment();
        for (const QString& setting : settings) {
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        }
        QVERIFY(QDir().mkpath(path("src")));
        const ProgramRun run = runPiped(programWith(false), {"sort", path("src")}, environment);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(matchesWhole(out, path("src"), run.out), run.out.constData());
        QVERIFY2(matchesWhole(err, path("src"), run.err), run.err.constData());
    }

    void missingTool() {
        QVERIFY(writeTree(path("src"), {"IMG_1.jpg"}, false));
        for (const QString& command : {QStringLiteral("sort"), QStringLiteral("compress")}) {
            const ProgramRun run =
                runPiped(programWith(true), {command, path("src")}, environment());
            QCOMPARE(run.exitCode, 3);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(QString::fromUtf8(run.err),
                     QStringLiteral("velmora: the scan of '%1' failed: a tool is missing, or the "
                                    "temporary folder cannot be written.\n")
                         .arg(path("src")));
        }
    }

    // SIGINT or SIGTERM to velmora ends its backend, during the scan or the run.
    void interruptions_data() {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("out");
        QTest::newRow("SIGINT during the scan")
            << "scan" << SIGINT << "sort interrupted during the scan: nothing was changed.\n";
        QTest::newRow("SIGTERM during the run")
            << "sort" << SIGTERM
            << "sort interrupted: 3 done, 0 failed, 7 not done, 2 KB in 1.0 s\n" + kInterruptedNote;
    }

    void interruptions() {
        QFETCH(QString, verb);
        QFETCH(int, signal);
        QFETCH(QString, out);
        QProcessEnvironment environment = this->environment();
        const QString pidFile = path("backend.pid");
        environment.insert("FAKE_PID_FILE", pidFile);
        environment.insert("FAKE_SUMMARY", "10|5|5|0");
        environment.insert("FAKE_SCAN_SLEEP", verb == "scan" ? "600" : "0");
        environment.insert("FAKE_STATUS", "3|0|2048|1.0|10");
        environment.insert("FAKE_RUN_WAIT", "1");
        QVERIFY(QDir().mkpath(path("src")));

        qint64 backend = 0;
        const ProgramRun run = runPiped(programWith(false), {"sort", path("src")}, environment,
                                        [&](const QByteArray&, qint64 velmora, int) {
                                            const BackendCall call = backendCall(pidFile);
                                            if (backend == 0 && call.verb == verb) {
                                                backend = call.pid;
                                                kill(static_cast<pid_t>(velmora), signal);
                                            }
                                        });
        QVERIFY(backend != 0);
        QCOMPARE(run.exitCode, 128 + signal);
        QCOMPARE(QString::fromUtf8(run.out), out);
        QTRY_COMPARE_WITH_TIMEOUT(processState(backend), '\0', 10000);
    }
};

QTEST_GUILESS_MAIN(VelmoraCliTest)
#include "velmora_cli_test.moc"
