// SPDX-License-Identifier: GPL-3.0-or-later
// The completion sound stays quiet on the console where no sound output
// exists: the sound library is then not asked at all, and ALSA prints none
// of its errors.
#include <QtTest>

#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>

#include "completion_sound.h"
#include "test_kit.h"

using velmora::testkit::readFile;
using velmora::testkit::writeFile;

class CompletionSoundTest : public QObject {
    Q_OBJECT

  private slots:
    void soundOutput_data() {
        QTest::addColumn<QStringList>("files");  // made below the scratch folder
        QTest::addColumn<QString>("pulseServer");
        QTest::addColumn<bool>("exists");
        QTest::newRow("nothing") << QStringList{} << "" << false;
        QTest::newRow("capture device only")
            << QStringList{"snd/pcmC0D0c", "snd/controlC0"} << "" << false;
        QTest::newRow("playback device") << QStringList{"snd/pcmC1D3p"} << "" << true;
        QTest::newRow("sound server socket") << QStringList{"run/pulse/native"} << "" << true;
        QTest::newRow("sound server named") << QStringList{} << "tcp:studio" << true;
    }
    void soundOutput() {
        QFETCH(QStringList, files);
        QFETCH(QString, pulseServer);
        QTemporaryDir scratch;
        QDir().mkpath(scratch.filePath("snd"));
        QDir().mkpath(scratch.filePath("run"));
        for (const QString& file : files) {
            QVERIFY(writeFile(scratch.filePath(file), {}));
        }
        QTEST(velmora::soundOutputExists(scratch.filePath("snd"), scratch.filePath("run"),
                                         pulseServer),
              "exists");
    }

    void quietWithoutSoundOutput() {
        if (velmora::soundOutputExists("/dev/snd", qEnvironmentVariable("XDG_RUNTIME_DIR"),
                                       qEnvironmentVariable("PULSE_SERVER"))) {
            QSKIP("this machine has a sound output");
        }
        QTemporaryDir scratch;
        const QString captured = scratch.filePath("stderr");
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        QVERIFY(std::freopen(qPrintable(captured), "w", stderr));
        const velmora::CompletionSound sound = velmora::playCompletionSound();
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        QCOMPARE(sound, velmora::CompletionSound::Beeped);
        QCOMPARE(readFile(captured), QByteArray());
    }
};

QTEST_MAIN(CompletionSoundTest)
#include "completion_sound_test.moc"
