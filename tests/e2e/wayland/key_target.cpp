// A native Wayland window for the virtual keyboard's end-to-end test: a text field that takes the focus
// when shown, says on standard output how every key press reaches it, and writes its whole text to
// OUTPUT_FILE after every change.
//
//   driftmark_e2e_wayland_key_target OUTPUT_FILE
//
// Each key press is a line "key NAME mods=MODS": the key as Qt names it ("V", "Return", "Ins", "Shift")
// and the modifiers it came with, among shift, ctrl, alt and meta, or "none".
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

namespace {

QString modifierNames(Qt::KeyboardModifiers modifiers) {
    QStringList names;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        names << QStringLiteral("shift");
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        names << QStringLiteral("ctrl");
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        names << QStringLiteral("alt");
    }
    if (modifiers.testFlag(Qt::MetaModifier)) {
        names << QStringLiteral("meta");
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(QLatin1Char(','));
}

class KeyReporter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString name = QKeySequence(key->key()).toString(QKeySequence::PortableText);
            std::printf("key %s mods=%s\n", qPrintable(name), qPrintable(modifierNames(key->modifiers())));
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        return 2;
    }
    const QString outputPath = QString::fromLocal8Bit(argv[1]);
    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("driftmark-e2e-key-target"));
    editor.resize(400, 200);
    KeyReporter reporter;
    editor.installEventFilter(&reporter);
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&editor, outputPath] {
        QSaveFile file(outputPath);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(editor.toPlainText().toUtf8());
            file.commit();
        }
    });
    editor.show();
    editor.activateWindow();
    return QApplication::exec();
}
