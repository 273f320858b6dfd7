#include "settings/SettingsPlugin.h"

#include "settings/AboutController.h"
#include "settings/QuickWindow.h"
#include "settings/SettingsController.h"
#include "settings/ShortcutController.h"
#include "settings/SymbolImageProvider.h"

#include <QCoreApplication>
#include <QIcon>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>

namespace driftmark {

namespace {

QUrl viewUrl(WindowContent content) {
    return QUrl(content == WindowContent::settingsView
                    ? QStringLiteral("qrc:/driftmark/settings/SettingsWindow.qml")
                    : QStringLiteral("qrc:/driftmark/settings/AboutWindow.qml"));
}

void applyConfiguration(QQuickWindow& window, const WindowConfiguration& configuration) {
    window.setTitle(QString::fromStdString(configuration.title));
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags.setFlag(Qt::WindowCloseButtonHint, configuration.style.closable);
    flags.setFlag(Qt::WindowMinimizeButtonHint, configuration.style.miniaturizable);
    flags.setFlag(Qt::WindowMaximizeButtonHint, configuration.style.resizable);
    window.setFlags(flags);
    const QSize size(static_cast<int>(configuration.contentSize.width),
                     static_cast<int>(configuration.contentSize.height));
    if (configuration.style.resizable) {
        if (configuration.minSize) {
            window.setMinimumSize(QSize(static_cast<int>(configuration.minSize->width),
                                        static_cast<int>(configuration.minSize->height)));
        }
        if (configuration.maxSize) {
            window.setMaximumSize(QSize(static_cast<int>(configuration.maxSize->width),
                                        static_cast<int>(configuration.maxSize->height)));
        }
    } else {
        window.setMinimumSize(size);
        window.setMaximumSize(size);
    }
    window.resize(size.boundedTo(window.maximumSize()).expandedTo(window.minimumSize()));
}

} // namespace

SettingsPlugin::~SettingsPlugin() {
    if (engine_) {
        engine_->removeUrlInterceptor(&urlInterceptor_);
    }
}

void SettingsPlugin::setContext(const SettingsContext& context) {
    context_.emplace(context);
}

QQmlEngine& SettingsPlugin::engine() {
    if (engine_) {
        return *engine_;
    }
    // Windows this small draw faster in software than it takes to bring up OpenGL, and need no GPU.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    engine_ = new QQmlEngine(QCoreApplication::instance());
    engine_->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    engine_->addUrlInterceptor(&urlInterceptor_);
    auto* settings = new SettingsController(*context_, engine_);
    auto* shortcuts = new ShortcutController(*context_, engine_);
    auto* about = new AboutController(context_->logger, engine_);
    qmlRegisterSingletonInstance("Driftmark", 1, 0, "Settings", settings);
    qmlRegisterSingletonInstance("Driftmark", 1, 0, "Shortcuts", shortcuts);
    qmlRegisterSingletonInstance("Driftmark", 1, 0, "About", about);
    qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/driftmark/settings/Theme.qml")), "Driftmark", 1, 0,
                             "Theme");
    return *engine_;
}

std::unique_ptr<PlatformWindow> SettingsPlugin::makeWindow(const WindowConfiguration& configuration,
                                                           WindowDelegate* delegate) {
    if (!context_) {
        throw WindowUnavailable("the settings library was given nothing to show");
    }
    QQmlComponent component(&engine(), viewUrl(configuration.content));
    QObject* created = component.create();
    auto* window = qobject_cast<QQuickWindow*>(created);
    if (window == nullptr) {
        delete created;
        // One error a line, each naming the view and what it could not load; the caller wants one line.
        const QString errors =
            component.errorString().trimmed().replace(QLatin1Char('\n'), QStringLiteral("; "));
        throw WindowUnavailable(errors.isEmpty() ? "its view is not a window" : errors.toStdString());
    }
    applyConfiguration(*window, configuration);
    window->setIcon(QIcon(QStringLiteral(":/driftmark/settings/AboutIcon.svg")));
    connect(window, &QWindow::activeChanged, this, [this, window] {
        if (window->isActive()) {
            frontWindow_ = window;
        }
    });
    frontWindow_ = window;
    return std::make_unique<QuickWindow>(window, delegate);
}

void SettingsPlugin::activateIgnoringOtherApps() {
    if (frontWindow_ && frontWindow_->isVisible()) {
        frontWindow_->raise();
        frontWindow_->requestActivate();
    }
}

} // namespace driftmark
