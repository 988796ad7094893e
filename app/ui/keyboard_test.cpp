// SPDX-License-Identifier: GPL-3.0-or-later
// The window by keyboard and for screen readers: a focus ring drawn on the
// focused control, a picker's arrow keys choose, Enter, Return and Space close
// the alert as Escape does, and every control a user reaches has a name and a
// role a screen reader can say. The Tab stops of both screens, and the keys
// that press a focused button, are checked in job_screen_test.
#include <QAccessible>
#include <QImage>
#include <QTest>

#include "fake_backend.h"
#include "sorter_model.h"
#include "window_harness.h"

using namespace velmora::testkit;

namespace {

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

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void focusRingIsDrawn();
    void arrowKeysChooseInAPicker();
    void keysCloseTheAlert_data();
    void keysCloseTheAlert();
    void controlsAreNamedForScreenReaders();
};

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
    QVERIFY(w.saveScreenshot("velmora-focus"));  // on the mode picker
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
    QVERIFY(backend.setSummary("10|5|5|0"));
    QVERIFY(w.chooseFolder(backend.scriptFolder(), "/foto"));
    QVERIFY(w.scan());
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
