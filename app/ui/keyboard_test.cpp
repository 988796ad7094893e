// The window by keyboard and for screen readers: one Tab stop per control (a
// picker is one stop, its arrow keys choose), a focus ring drawn on the
// focused control, Enter, Return and Space press the focused button and close
// the alert, Escape closes it too, and every control a user reaches has a
// name and a role a screen reader can say.
#include <QAccessible>
#include <QImage>
#include <QTest>

#include "fake_backend.h"
#include "sorter_model.h"
#include "window_harness.h"

using namespace velmora::testkit;

namespace {

constexpr int kBackendWait = 60000;

/// The focused item's objectName; a picker inside a labelled picker is
/// named after its label.
QString focusName(const QQuickItem* item) {
    if (item == nullptr) {
        return QStringLiteral("(none)");
    }
    if (item->objectName() == QLatin1String("picker") && item->parentItem() != nullptr) {
        return item->parentItem()->objectName() + QStringLiteral("/picker");
    }
    return item->objectName();
}

/// The controls Tab goes round, once each, from the tab picker on.
QStringList tabChain(const WindowHarness& w) {
    QStringList chain;
    for (int press = 0; press < 40; ++press) {
        QTest::keyClick(w.window(), Qt::Key_Tab);
        const QString name = focusName(w.window()->activeFocusItem());
        if (chain.contains(name)) {
            break;
        }
        chain << name;
    }
    const qsizetype first = chain.indexOf(QStringLiteral("tabPicker"));
    return first < 0 ? chain : chain.mid(first) + chain.first(first);
}

/// Chooses a folder for the shown screen and scans it with `backend`.
void scanWith(WindowHarness& w, FakeBackend& backend, const QString& summary) {
    QVERIFY(backend.setSummary(summary));
    QVERIFY(w.chooseFolder(backend.scriptFolder(), "/foto"));
    QVERIFY(w.scan());
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void tabVisitsEachControlOnce_data();
    void tabVisitsEachControlOnce();
    void focusRingIsDrawn();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void arrowKeysChooseInAPicker();
    void keysCloseTheAlert_data();
    void keysCloseTheAlert();
    void controlsAreNamedForScreenReaders();
};

void KeyboardTest::tabVisitsEachControlOnce_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("summary");  // empty: no folder chosen
    QTest::addColumn<QStringList>("chain");
    const QStringList sorterPickers = {"modePicker/picker", "workersPicker/picker",
                                       "oddFoldersPicker/picker", "evenFoldersPicker/picker"};
    // Disabled buttons are no stops.
    QTest::newRow("fresh SORTER") << "SORTER"
                                  << "" << QStringList{"tabPicker", "browseButton"} + sorterPickers;
    QTest::newRow("scanned SORTER") << "SORTER"
                                    << "10|5|5|0"
                                    << QStringList{"tabPicker", "browseButton"} + sorterPickers +
                                           QStringList{"scanButton", "startButton"};
    QTest::newRow("scanned COMPRESS")
        << "COMPRESS"
        << "10|0|1000"
        << QStringList{"tabPicker",  "browseButton", "qualityPicker/picker", "workersPicker/picker",
                       "scanButton", "startButton"};
}

void KeyboardTest::tabVisitsEachControlOnce() {
    QFETCH(QString, tab);
    QFETCH(QString, summary);
    WindowHarness w;
    w.choose("tabPicker", tab);
    FakeBackend backend;
    if (!summary.isEmpty()) {
        scanWith(w, backend, summary);
    }
    QTEST(tabChain(w), "chain");
}

void KeyboardTest::focusRingIsDrawn() {
    WindowHarness w;
    w.window()->contentItem()->forceActiveFocus();
    QImage before = w.window()->grabWindow();
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(w.window(), Qt::Key_Tab);
        QQuickItem* focused = w.window()->activeFocusItem();
        const QImage after = w.window()->grabWindow();
        QVERIFY2(after != before, qPrintable(focusName(focused)));
        QQuickItem* ring = findItem(focused, "focusRing");
        QVERIFY2(ring != nullptr && ring->isVisible(), qPrintable(focusName(focused)));
        before = after;
    }
}

void KeyboardTest::keysPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void KeyboardTest::keysPressTheFocusedButton() {
    QFETCH(int, key);
    WindowHarness w;
    FakeBackend backend;
    QVERIFY(backend.holdScans(true));
    JobModel* model = w.chooseFolder(backend.scriptFolder(), "/foto");
    w.find("scanButton")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(w.window(), Qt::Key(key));
    QVERIFY(model->isBusy());
    QVERIFY(backend.holdScans(false));
    QTRY_VERIFY_WITH_TIMEOUT(!model->isBusy(), kBackendWait);
}

void KeyboardTest::arrowKeysChooseInAPicker() {
    WindowHarness w;
    auto* sorter = w.model<SorterModel>();
    w.find("modePicker/picker")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(w.window(), Qt::Key_Right);
    QCOMPARE(sorter->mode(), "COPY");
    QTest::keyClick(w.window(), Qt::Key_Right);  // past the last: stays
    QCOMPARE(sorter->mode(), "COPY");
    QTest::keyClick(w.window(), Qt::Key_Left);
    QCOMPARE(sorter->mode(), "MOVE");

    w.find("workersPicker/picker")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(w.window(), Qt::Key_End);
    QCOMPARE(sorter->workers(), 8);
    QTest::keyClick(w.window(), Qt::Key_Home);
    QCOMPARE(sorter->workers(), 2);

    w.find("tabPicker")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(w.window(), Qt::Key_Right);
    QCOMPARE(w.text("settingsCard/cardTitle"), "PENGATURAN COMPRESS");
    QCOMPARE(focusName(w.window()->activeFocusItem()), "tabPicker");
    QTest::keyClick(w.window(), Qt::Key_Left);
    QCOMPARE(w.text("settingsCard/cardTitle"), "PENGATURAN SORTER");
}

void KeyboardTest::keysCloseTheAlert_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void KeyboardTest::keysCloseTheAlert() {
    QFETCH(int, key);
    WindowHarness w;
    JobModel* model = w.model<JobModel>();
    model->scan();  // no folder: an alert
    QTRY_VERIFY(w.value("alert", "opened").toBool());
    QCOMPARE(focusName(w.window()->activeFocusItem()), "alertOkButton");
    // Tab stays in the alert while it is open.
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(w.window(), Qt::Key_Tab);
        QCOMPARE(focusName(w.window()->activeFocusItem()), "alertOkButton");
    }
    QTest::keyClick(w.window(), Qt::Key(key));
    QTRY_VERIFY(!w.value("alert", "visible").toBool());
    QVERIFY(!model->showAlert());
}

void KeyboardTest::controlsAreNamedForScreenReaders() {
    QAccessible::setActive(true);
    WindowHarness w;
    FakeBackend backend;
    scanWith(w, backend, "10|5|5|0");
    QStringList unnamed;
    for (QQuickItem* item : w.visibleItems()) {
        const bool control = item->activeFocusOnTab() || item->objectName().startsWith("segment") ||
                             item->objectName().endsWith("Box") ||
                             item->objectName() == QLatin1String("progressBar");
        if (!control) {
            continue;
        }
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(item);
        if (access == nullptr || access->role() == QAccessible::NoRole ||
            access->role() == QAccessible::Client || access->text(QAccessible::Name).isEmpty()) {
            unnamed << focusName(item) + '(' + QString::number(access ? access->role() : -1) + ')';
        }
    }
    QCOMPARE(unnamed.join(", "), QString());
    const auto roleAndName = [&w](const QString& path) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w.find(path));
        return QStringLiteral("%1 %2").arg(access->role()).arg(access->text(QAccessible::Name));
    };
    QCOMPARE(roleAndName("modePicker/picker"),
             QStringLiteral("%1 MODE SORTIR").arg(QAccessible::Grouping));
    QCOMPARE(roleAndName("modePicker/segmentCOPY"),
             QStringLiteral("%1 COPY").arg(QAccessible::RadioButton));
    QCOMPARE(roleAndName("tabPicker/segmentSORTER"),
             QStringLiteral("%1 SORTER").arg(QAccessible::PageTab));
    QCOMPARE(roleAndName("scanButton"), QStringLiteral("%1 SCAN FOLDER").arg(QAccessible::Button));
    QCOMPARE(roleAndName("totalBox"), QStringLiteral("%1 TOTAL: 10").arg(QAccessible::StaticText));
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
