// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own folder chooser, as a user meets it: opened by BROWSE in
// the home folder, driven by the mouse and the keyboard, drawn in each
// state, and judged by the folder the screen's model then holds.
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "compress_model.h"
#include "job_model.h"
#include "window_harness.h"
#include "window_language.h"

using velmora::WindowLanguage;
using velmora::testkit::WindowHarness;

class FolderChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void choosesTheFolderMeant_data();
    void choosesTheFolderMeant();
    void isTitledDarkAndTranslated_data();
    void isTitledDarkAndTranslated();

  private:
    /// Opens the chooser with BROWSE; false when it did not open.
    bool openChooser(WindowHarness& w) const;
    /// Performs `step` on the open chooser (see choosesTheFolderMeant_data);
    /// false, with a warning, when it could not.
    bool perform(WindowHarness& w, QString step) const;

    QTemporaryDir home_{QDir::tempPath() + QStringLiteral("/rani-XXXXXX")};
    QByteArray savedHome_;
};

void FolderChooserTest::init() {
    // The home folder the chooser opens in, with a photo folder that holds
    // subfolders and a photo, which the list leaves out.
    QVERIFY(home_.isValid());
    const QDir home(home_.path());
    for (const char* folder :
         {"Dokumen", "Foto", "Wisuda 2024/a", "Wisuda 2024/b", "Wisuda 2024/Sesi Pagi"}) {
        QVERIFY(home.mkpath(QString::fromUtf8(folder)));
    }
    QFile photo(home.filePath(QStringLiteral("Wisuda 2024/IMG_0001.jpg")));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));
}

void FolderChooserTest::cleanup() {
    qputenv("HOME", savedHome_);
}

bool FolderChooserTest::openChooser(WindowHarness& w) const {
    w.click(w.find(QStringLiteral("sourceRow/browseButton")));
    return QTest::qWaitFor([&w] { return w.value("folderChooser", "opened").toBool(); });
}

bool FolderChooserTest::perform(WindowHarness& w, QString step) const {
    step.replace(QLatin1String("%home"), home_.path());
    const QString verb = step.section(u':', 0, 0);
    const QString what = step.section(u':', 1);
    QQuickWindow* window = w.window();
    if (verb == QLatin1String("click") || verb == QLatin1String("double")) {
        const QString name = QStringLiteral("chooserEntry_") + what;
        if (!QTest::qWaitFor([&w, &name] { return w.find(name) != nullptr; })) {
            qWarning("no subfolder %s in the list", qPrintable(what));
            return false;
        }
        const QPoint middle = WindowHarness::sceneRect(w.find(name)).center().toPoint();
        if (verb == QLatin1String("click")) {
            QTest::mouseClick(window, Qt::LeftButton, {}, middle);
        } else {
            QTest::mouseDClick(window, Qt::LeftButton, {}, middle);
        }
    } else if (verb == QLatin1String("press")) {
        const QString button = QStringLiteral("chooser") + what + QStringLiteral("Button");
        w.click(w.find(button));
    } else if (verb == QLatin1String("type")) {
        // As a user does: into the location field, over what it holds.
        QTest::keyClick(window, Qt::Key_L, Qt::ControlModifier);
        for (const QChar c : what) {
            QTest::keyClick(window, c.toLatin1());
        }
    } else if (verb == QLatin1String("key")) {
        const QKeySequence key(what);
        QTest::keyClick(window, key[0].key(), key[0].keyboardModifiers());
    } else if (verb == QLatin1String("shows")) {
        if (!QTest::qWaitFor([&] { return w.text("chooserLocation") == what; })) {
            qWarning("the location field shows %s", qPrintable(w.text("chooserLocation")));
            return false;
        }
    } else if (verb == QLatin1String("lists")) {
        const QStringList listed = w.value("folderChooser", "names").toStringList();
        if (listed != what.split(u',')) {
            qWarning("the list holds %s", qPrintable(listed.join(u',')));
            return false;
        }
    } else if (verb == QLatin1String("picked")) {
        // What BUKA would take, and what is drawn highlighted.
        const QString taken = w.value("folderChooser", "pickedName").toString();
        QStringList highlighted;
        for (QQuickItem* item : w.visibleItems()) {
            if (item->objectName().startsWith(QLatin1String("chooserEntry_")) &&
                item->property("color").value<QColor>().alpha() > 0) {
                highlighted << item->property("fileName").toString();
            }
        }
        const QStringList expected =
            what == QLatin1String("nothing") ? QStringList() : QStringList{what};
        if (taken != expected.value(0) || highlighted != expected) {
            qWarning("BUKA takes \"%s\", the list highlights %s", qPrintable(taken),
                     qPrintable(highlighted.join(u',')));
            return false;
        }
    } else if (verb == QLatin1String("error")) {
        if (!QTest::qWaitFor([&] { return w.text("chooserError") == what; }) ||
            !w.value("chooserError", "visible").toBool()) {
            qWarning("the chooser tells: %s", qPrintable(w.text("chooserError")));
            return false;
        }
    } else if (verb == QLatin1String("picture")) {
        // Every folder pictured holds subfolders, drawn in the list.
        if (!QTest::qWaitFor([&w] { return w.value("chooserList", "count").toInt() > 0; })) {
            qWarning("the list stays empty");
            return false;
        }
        return w.saveScreenshot(what);
    } else {
        qWarning("unknown step %s", qPrintable(step));
        return false;
    }
    return true;
}

void FolderChooserTest::choosesTheFolderMeant_data() {
    // Each step is "verb:what": click or double a subfolder, press a button
    // (Open, Cancel, Up), type into the location field (after Ctrl+L), a
    // key; then checks: what the location field shows, the subfolders listed
    // (a,b,…), which subfolder is picked ("nothing"), the error told, a
    // picture of the chooser.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("chosen");  // under the home folder; "-" for none

    QTest::newRow("BUKA takes the folder shown, not its first subfolder")
        << QStringList{"shows:%home",        "picked:nothing",
                       "double:Wisuda 2024", "shows:%home/Wisuda 2024",
                       "picked:nothing",     "picture:velmora-folder-chooser",
                       "press:Open"}
        << "Wisuda 2024";
    QTest::newRow("BUKA takes a subfolder clicked in the list")
        << QStringList{"double:Wisuda 2024", "click:b", "picked:b",
                       "picture:velmora-folder-chooser-subfolder-picked", "press:Open"}
        << "Wisuda 2024/b";
    QTest::newRow("a subfolder double-clicked is gone into, not chosen")
        << QStringList{"double:Wisuda 2024", "double:Sesi Pagi",
                       "shows:%home/Wisuda 2024/Sesi Pagi", "picked:nothing", "press:Open"}
        << "Wisuda 2024/Sesi Pagi";
    QTest::newRow("NAIK goes to the folder that holds the one shown")
        << QStringList{"double:Wisuda 2024", "click:a",        "press:Up",
                       "shows:%home",        "picked:nothing", "press:Open"}
        << "";
    QTest::newRow("a typed path and Return choose it at once")
        << QStringList{"type:%home/Wisuda 2024", "key:Return"} << "Wisuda 2024";
    QTest::newRow("a typed path may start with ~")
        << QStringList{"type:~/Foto/", "key:Return"} << "Foto";
    QTest::newRow("a typed path may be relative to the folder shown")
        << QStringList{"double:Wisuda 2024", "type:Sesi Pagi", "key:Return"}
        << "Wisuda 2024/Sesi Pagi";
    QTest::newRow("Return on the path shown chooses the folder shown")
        << QStringList{"double:Wisuda 2024", "key:Ctrl+L", "key:Return"} << "Wisuda 2024";
    QTest::newRow("a typed photo is no folder, and the dialog says so")
        << QStringList{"type:%home/Wisuda 2024/IMG_0001.jpg",
                       "key:Return",
                       "error:Bukan folder: %home/Wisuda 2024/IMG_0001.jpg",
                       "picture:velmora-folder-chooser-not-a-folder",
                       "type:%home/Foto",
                       "key:Return"}
        << "Foto";
    QTest::newRow("a typed path that is not there, then BATAL")
        << QStringList{"type:%home/Wisuda 2025", "key:Return",
                       "error:Bukan folder: %home/Wisuda 2025", "press:Cancel"}
        << "-";
    QTest::newRow("keys alone: Tab to the list, Down, Return to go in, Tab to BUKA")
        << QStringList{"key:Tab",
                       "key:Tab",
                       "picked:nothing",
                       "key:Down",
                       "key:Down",
                       "key:Down",
                       "picked:Wisuda 2024",
                       "key:Return",
                       "shows:%home/Wisuda 2024",
                       "picked:nothing",
                       "key:Down",
                       "key:Down",
                       "picked:b",
                       "key:Tab",
                       "key:Tab",
                       "key:Return"}
        << "Wisuda 2024/b";
    QTest::newRow("Escape chooses nothing")
        << QStringList{"double:Wisuda 2024", "click:a", "key:Esc"} << "-";
}

void FolderChooserTest::choosesTheFolderMeant() {
    QFETCH(QStringList, steps);
    QFETCH(QString, chosen);
    WindowHarness w;
    QVERIFY(openChooser(w));
    for (const QString& step : steps) {
        QVERIFY2(perform(w, step), qPrintable(step));
    }
    QTRY_VERIFY(!w.value("folderChooser", "visible").toBool());
    const QString expected = chosen == u'-'     ? QString()
                             : chosen.isEmpty() ? home_.path()
                                                : QDir(home_.path()).filePath(chosen);
    QCOMPARE(w.model<JobModel>()->sourcePath(), expected);
    QCOMPARE(w.value("scanButton", "enabled").toBool(), !expected.isEmpty());
}

void FolderChooserTest::isTitledDarkAndTranslated_data() {
    QTest::addColumn<WindowLanguage>("language");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("picture");
    QTest::newRow("SORTER") << WindowLanguage::Indonesian << "SORTER"
                            << QStringList{"folderChooserTitle=Pilih Folder Sumber",
                                           "chooserUpButton=NAIK", "chooserCancelButton=BATAL",
                                           "chooserOpenButton=BUKA"}
                            << "";
    QTest::newRow("COMPRESS") << WindowLanguage::Indonesian << "COMPRESS"
                              << QStringList{"folderChooserTitle=Pilih Folder Foto"}
                              << "velmora-compress-folder-chooser";
    QTest::newRow("English") << WindowLanguage::English << "SORTER"
                             << QStringList{"folderChooserTitle=Choose Source Folder",
                                            "chooserUpButton=UP", "chooserCancelButton=CANCEL",
                                            "chooserOpenButton=OPEN"}
                             << "velmora-english-folder-chooser";
}

void FolderChooserTest::isTitledDarkAndTranslated() {
    QFETCH(WindowLanguage, language);
    QFETCH(QString, tab);
    QFETCH(QStringList, texts);
    QFETCH(QString, picture);
    WindowHarness w(language);
    w.choose("tabPicker", tab);
    QVERIFY(openChooser(w));
    QCOMPARE(w.shownTexts(texts), texts);
    QVERIFY(w.showsText(language == WindowLanguage::English ? "LOCATION" : "LOKASI"));
    QCOMPARE(w.value("folderChooser", "modal").toBool(), true);
    QCOMPARE(w.dialogLayoutFault("folderChooser", {"chooserCancelButton", "chooserOpenButton"}),
             QString());
    QTRY_VERIFY(w.find("chooserEntry_Wisuda 2024"));
    QVERIFY2(!w.find("chooserEntry_IMG_0001.jpg"), "a photo is listed among the folders");
    QCOMPARE(w.cutOffTexts(), QStringList());
    // Drawn in the window's dark palette, its list and field included.
    const QImage drawn = w.window()->grabWindow();
    for (const char* part : {"chooserList", "chooserLocation"}) {
        const QPoint middle = WindowHarness::sceneRect(w.find(part)).center().toPoint();
        QVERIFY2(qGray(drawn.pixel(middle)) < 80, part);
    }
    if (!picture.isEmpty()) {
        QVERIFY(perform(w, "picture:" + picture));
    }
    QTest::keyClick(w.window(), Qt::Key_Escape);
    QTRY_VERIFY(!w.value("folderChooser", "visible").toBool());
}

QTEST_MAIN(FolderChooserTest)
#include "folder_chooser_test.moc"
