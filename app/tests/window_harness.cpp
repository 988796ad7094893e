// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_harness.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QDir>
#include <QTest>

#include <algorithm>

#include "window_services.h"

Q_IMPORT_QML_PLUGIN(VelmoraPlugin)
Q_IMPORT_QML_PLUGIN(Velmora_JobControlPlugin)

namespace velmora::testkit {

namespace {

const QString kMainUrl = QStringLiteral("qrc:/Velmora/Main.qml");
constexpr int kBackendWait = 60000;  // ms: a ceiling for slow machines

}  // namespace

QQuickItem* findItem(QQuickItem* root, const QString& objectName) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->objectName() == objectName) {
        return root;
    }
    const auto children = root->childItems();
    for (QQuickItem* child : children) {
        if (QQuickItem* found = findItem(child, objectName)) {
            return found;
        }
    }
    return nullptr;
}

WindowHarness::WindowHarness(WindowLanguage language) : translation_(language) {
    // The window's desktop, the clipboard and the completion sound, as its main gives it.
    velmora::useWindowServices();
    engine_.addImportPath(QStringLiteral("qrc:/"));
    engine_.load(QUrl(kMainUrl));
    if (!engine_.rootObjects().isEmpty()) {
        window_ = qobject_cast<QQuickWindow*>(engine_.rootObjects().first());
    }
    if (window_ != nullptr) {
        window_->show();
        (void)QTest::qWaitForWindowExposed(window_);
    }
}

QQuickItem* WindowHarness::screen() const {
    QQuickItem* loader = find(QStringLiteral("tabContent"));
    return loader == nullptr ? nullptr : loader->property("item").value<QQuickItem*>();
}

JobModel* WindowHarness::chooseFolder(const QString& scripts, const QString& folder) const {
    auto* model = this->model<JobModel>();
    if (model != nullptr) {
        model->runner().setResourceDirectory(scripts);
        model->setFolderChooser([folder](const QString&) { return folder; });
        click(find(QStringLiteral("sourceRow/browseButton")));
    }
    return model;
}

bool WindowHarness::scan() const {
    const auto canScan = [this] { return value(QStringLiteral("scanButton"), "enabled").toBool(); };
    click(find(QStringLiteral("scanButton")));
    return !canScan() && QTest::qWaitFor(canScan, kBackendWait);
}

QQuickItem* WindowHarness::find(const QString& path) const {
    QQuickItem* item = window_ == nullptr ? nullptr : window_->contentItem();
    for (const QString& name : path.split('/')) {
        item = findItem(item, name);
    }
    return item;
}

QObject* WindowHarness::object(const QString& path) const {
    QObject* object = find(path);
    if (object == nullptr && screen() != nullptr) {
        // Popups and what they hold are found through their owners: the
        // shown screen first, not one set aside with a busy job.
        object = screen()->findChild<QObject*>(path);
    }
    if (object == nullptr && window_ != nullptr) {
        object = window_->findChild<QObject*>(path);
    }
    return object;
}

QVariant WindowHarness::value(const QString& path, const char* property) const {
    QObject* found = object(path);
    return found == nullptr ? QVariant() : found->property(property);
}

QString WindowHarness::text(const QString& path) const {
    return value(path, "text").toString();
}

QStringList WindowHarness::shownTexts(const QStringList& expected) const {
    QStringList shown;
    for (const QString& row : expected) {
        const QString path = row.section('=', 0, 0);
        shown << path + '=' + text(path);
    }
    return shown;
}

void WindowHarness::click(QQuickItem* item) const {
    if (item == nullptr || window_ == nullptr) {
        QFAIL("no item to click");
    }
    // Layouts place their items when polished: aim at where the item will be drawn.
    (void)QQuickTest::qWaitForPolish(window_);
    const QPointF middle = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, middle.toPoint());
}

void WindowHarness::hover(QQuickItem* item) const {
    if (item == nullptr || window_ == nullptr) {
        QFAIL("no item to point at");
    }
    (void)QQuickTest::qWaitForPolish(window_);
    const QPointF middle = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseMove(window_, middle.toPoint());
}

QRectF WindowHarness::sceneRect(const QQuickItem* item) {
    return item == nullptr ? QRectF()
                           : item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

QList<QQuickItem*> WindowHarness::visibleItems() const {
    QList<QQuickItem*> found;
    QList<QQuickItem*> pending;
    if (window_ != nullptr) {
        pending << window_->contentItem();
    }
    while (!pending.isEmpty()) {
        QQuickItem* item = pending.takeFirst();
        if (item->isVisible() && item->opacity() > 0) {
            found << item;
            pending = item->childItems() + pending;
        }
    }
    return found;
}

bool WindowHarness::showsText(const QString& text) const {
    const auto items = visibleItems();
    return std::any_of(items.begin(), items.end(), [&text](const QQuickItem* item) {
        // Zero-width spaces mark where a long text may break; they are not read.
        return item->inherits("QQuickText") &&
               item->property("text").toString().remove(QChar(0x200B)) == text;
    });
}

QStringList WindowHarness::cutOffTexts() const {
    QStringList cut;
    for (const QQuickItem* item : visibleItems()) {
        if (!item->inherits("QQuickText")) {
            continue;
        }
        const QString text = item->property("text").toString();
        const QRectF area = sceneRect(item);
        const bool shortened = item->property("truncated").toBool() ||
                               item->property("contentWidth").toReal() > item->width() + 0.5;
        if ((shortened && item->property("toolTipText").toString() != text) || area.left() < 0 ||
            area.right() > window_->width()) {
            cut << text;
        }
    }
    return cut;
}

QString WindowHarness::dialogLayoutFault(const QString& name, const QStringList& buttons) const {
    auto* dialog = object(name);
    const auto* panel =
        dialog == nullptr ? nullptr : dialog->property("background").value<QQuickItem*>();
    if (panel == nullptr) {
        return QStringLiteral("no dialog ") + name;
    }
    (void)QQuickTest::qWaitForPolish(window_);
    const QRectF drawn = sceneRect(panel);
    if (drawn.height() < 60 || !QRectF(QPointF(0, 0), window_->size()).contains(drawn)) {
        return QStringLiteral("panel drawn at %1,%2 %3x%4")
            .arg(drawn.x())
            .arg(drawn.y())
            .arg(drawn.width())
            .arg(drawn.height());
    }
    const QRectF title = sceneRect(find(name + QStringLiteral("Title")));
    // A dialog without a message has its title right over what it holds.
    const QQuickItem* messageItem = find(name + QStringLiteral("Message"));
    const bool hasMessage = messageItem == nullptr || messageItem->isVisible();
    const QRectF message = hasMessage ? sceneRect(messageItem) : title;
    if (title.isEmpty() || message.isEmpty() || (hasMessage && title.bottom() > message.top())) {
        return QStringLiteral("title not above the message");
    }
    for (const QString& button : buttons) {
        const QRectF area = sceneRect(find(button));
        if (area.isEmpty() || area.top() < message.bottom()) {
            return button + QStringLiteral(" not below the message");
        }
        if (!drawn.contains(area) || !drawn.contains(title) || !drawn.contains(message)) {
            return button + QStringLiteral(" or a text outside the panel");
        }
    }
    return QString();
}

void WindowHarness::choose(const QString& picker, const QString& option) const {
    click(find(picker + QStringLiteral("/segment") + option));
}

bool WindowHarness::saveScreenshot(const QString& name) const {
    const QDir folder(QStringLiteral(VELMORA_SCREENSHOT_DIR));
    if (window_ == nullptr || !folder.mkpath(QStringLiteral("."))) {
        return false;
    }
    // Icons are painted for the frame after the one that asked for them.
    (void)window_->grabWindow();
    return window_->grabWindow().save(folder.filePath(name + QStringLiteral(".png")));
}

}  // namespace velmora::testkit
