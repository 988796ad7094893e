// The shared view components, each loaded from the Velmora module on its own.
#include <QApplication>
#include <QColor>
#include <QTest>

#include "window_harness.h"

using velmora::testkit::ComponentHarness;

class SharedComponentsTest : public QObject {
    Q_OBJECT

  private slots:
    void progressPanelDotFollowsProgress_data();
    void progressPanelDotFollowsProgress();
    void progressPanelShowsFailuresOnlyWhenSome();
    void progressPanelLaysOutItsFigures();
    void folderRowElidesLongPathInTheMiddle();
    void statBoxShrinksLongValueInsteadOfWrapping();
    void purpleButtonIsLighterWhilePressed();
    void sectionCardShowsTitleAboveContent();
};

void SharedComponentsTest::progressPanelDotFollowsProgress_data() {
    QTest::addColumn<double>("progress");
    QTest::addColumn<bool>("green");
    QTest::newRow("idle") << 0.0 << false;
    QTest::newRow("half") << 0.5 << true;
    QTest::newRow("almost") << 0.999 << true;
    QTest::newRow("done") << 1.0 << false;
    QTest::newRow("beyond") << 1.5 << false;
    QTest::newRow("not a number") << qQNaN() << false;
}

void SharedComponentsTest::progressPanelDotFollowsProgress() {
    QFETCH(double, progress);
    QFETCH(bool, green);
    ComponentHarness panel(QStringLiteral("CompactProgressPanel { percent: 57 }"));
    QVERIFY(panel.root());
    panel.root()->setProperty("progress", progress);

    const QColor dot = panel.find("statusDot")->property("color").value<QColor>();
    QCOMPARE(dot == QColor("#30d158"), green);
    QCOMPARE(dot == QColor("#8e8e93"), !green);
    // The percent is the model's, shown as given.
    QCOMPARE(panel.find("percentText")->property("text").toString(), "57%");
}

void SharedComponentsTest::progressPanelShowsFailuresOnlyWhenSome() {
    ComponentHarness panel(QStringLiteral("CompactProgressPanel { failed: 0 }"));
    QVERIFY(panel.root());
    QQuickItem* failures = panel.find("failedText");
    const qreal threeRows = panel.root()->implicitHeight();
    QVERIFY(!failures->isVisible());

    panel.root()->setProperty("failed", 3);
    QVERIFY(failures->isVisible());
    QCOMPARE(failures->property("text").toString(), QStringLiteral("3 gagal"));
    QCOMPARE(failures->property("color").value<QColor>(), QColor("#ff9f0a"));
    QTRY_VERIFY(panel.root()->implicitHeight() > threeRows);

    panel.root()->setProperty("failed", -1);
    QVERIFY(!failures->isVisible());
}

void SharedComponentsTest::progressPanelLaysOutItsFigures() {
    // The texts themselves are checked on the screens.
    ComponentHarness panel(
        QStringLiteral("CompactProgressPanel { count: \"120/500\"; eta: \"00:15\" }"));
    QVERIFY(panel.root());
    const QQuickItem* count = panel.find("countText");
    const QQuickItem* eta = panel.find("etaText");
    QVERIFY(count->mapToScene({}).x() < panel.find("speedText")->mapToScene({}).x());
    QVERIFY(qAbs(eta->mapToScene({eta->width(), 0}).x() - (panel.root()->width() - 8)) < 1);
}

void SharedComponentsTest::folderRowElidesLongPathInTheMiddle() {
    const QString longPath =
        "/Users/fotografer/" + QString("sangat-panjang/").repeated(20) + "AKHIR";
    ComponentHarness row(
        QStringLiteral(
            "FolderRow { title: \"FOLDER SUMBER\"; icon: \"folder.fill\"; path: \"%1\" }")
            .arg(longPath));
    QVERIFY(row.root());
    QQuickItem* path = row.find("pathText");
    QCOMPARE(path->property("elide").toInt(), int(Qt::ElideMiddle));
    QVERIFY(path->property("truncated").toBool());
    QCOMPARE(path->property("lineCount").toInt(), 1);
    QVERIFY(path->width() <= row.root()->width() - 16);
}

void SharedComponentsTest::statBoxShrinksLongValueInsteadOfWrapping() {
    ComponentHarness box(QStringLiteral("StatBox { value: \"12\"; title: \"TOTAL\" }"), 60);
    QVERIFY(box.root());
    QQuickItem* value = box.find("valueText");
    QCOMPARE(value->property("fontInfo").value<QVariantMap>().value("pixelSize").toInt(), 8);

    box.root()->setProperty("value", QStringLiteral("123456789012"));
    const int shrunk = value->property("fontInfo").value<QVariantMap>().value("pixelSize").toInt();
    QVERIFY2(shrunk < 8 && shrunk >= 5, qPrintable(QString::number(shrunk)));
    QCOMPARE(value->property("lineCount").toInt(), 1);
}

void SharedComponentsTest::purpleButtonIsLighterWhilePressed() {
    ComponentHarness button(QStringLiteral("PurpleButtonStyle { text: \"SCAN FOLDER\" }"));
    QVERIFY(button.root());
    QQuickItem* root = button.root();
    QCOMPARE(root->property("plateOpacity").toReal(), 0.95);
    QCOMPARE(root->property("labelColor").value<QColor>(), QColor(Qt::white));

    const QPoint middle = root->mapToScene({root->width() / 2, root->height() / 2}).toPoint();
    QTest::mousePress(button.window(), Qt::LeftButton, {}, middle);
    QCOMPARE(root->property("plateOpacity").toReal(), 0.7);
    QTest::mouseRelease(button.window(), Qt::LeftButton, {}, middle);
    QCOMPARE(root->property("plateOpacity").toReal(), 0.95);

    root->setProperty("filled", false);
    QCOMPARE(root->property("plateOpacity").toReal(), 0.12);
    QCOMPARE(root->property("labelColor").value<QColor>(), QColor("#bf5af2"));
}

void SharedComponentsTest::sectionCardShowsTitleAboveContent() {
    ComponentHarness card(QStringLiteral(
        "SectionCard { title: \"PENGATURAN SORTER\"; StatBox { objectName: \"inside\" } }"));
    QVERIFY(card.root());
    QQuickItem* title = card.find("cardTitle");
    QQuickItem* inside = card.find("inside");
    QCOMPARE(title->property("text").toString(), QStringLiteral("PENGATURAN SORTER"));
    QCOMPARE(title->mapToScene({}), QPointF(9, 9));
    QCOMPARE(inside->mapToScene({}).y(), 9 + title->height() + 5);
}

QTEST_MAIN(SharedComponentsTest)
#include "shared_components_test.moc"
