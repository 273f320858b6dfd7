// The other program of the end-to-end tests, in one of two modes:
//
//   driftmark_e2e_target [--paste-delay MILLISECONDS] OUTPUT_FILE
//       A plain text window that takes the focus when shown and writes its whole text to OUTPUT_FILE
//       after every change, so that a test can see what a paste typed into it. With a delay, the paste
//       key reads the clipboard only that long after it was pressed, as a busy program does.
//   driftmark_e2e_target --offer-clipboard TEXT_FILE PNG_FILE
//       Owns the clipboard with the two files' bytes as text/plain and image/png at once and serves
//       them until it is stopped or another program takes the clipboard; xclip serves only one type.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

std::optional<QByteArray> readFile(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

int offerClipboard(const char* textPath, const char* imagePath) {
    const auto text = readFile(textPath);
    const auto image = readFile(imagePath);
    if (!text || !image) {
        return 2;
    }
    auto* contents = new QMimeData;
    contents->setData(QStringLiteral("text/plain"), *text);
    contents->setData(QStringLiteral("image/png"), *image);
    QApplication::clipboard()->setMimeData(contents, QClipboard::Clipboard);
    return QApplication::exec();
}

// Holds the editor's paste key back and pastes a while later.
class DelayedPaste final : public QObject {
public:
    DelayedPaste(QPlainTextEdit& editor, int milliseconds)
        : QObject(&editor)
        , editor_(editor)
        , milliseconds_(milliseconds) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            return QObject::eventFilter(watched, event);
        }
        QTimer::singleShot(milliseconds_, &editor_, &QPlainTextEdit::paste);
        return true;
    }

private:
    QPlainTextEdit& editor_;
    int milliseconds_;
};

int showEditor(const QString& outputPath, std::optional<int> pasteDelay) {
    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("driftmark-e2e-target"));
    editor.resize(400, 200);
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&editor, outputPath] {
        QSaveFile file(outputPath);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(editor.toPlainText().toUtf8());
            file.commit();
        }
    });
    if (pasteDelay) {
        editor.installEventFilter(new DelayedPaste(editor, *pasteDelay));
    }
    editor.show();
    editor.activateWindow();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--offer-clipboard") == 0) {
        return offerClipboard(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "--paste-delay") == 0) {
        return showEditor(QString::fromLocal8Bit(argv[3]), std::atoi(argv[2]));
    }
    if (argc != 2) {
        return 2;
    }
    return showEditor(QString::fromLocal8Bit(argv[1]), std::nullopt);
}
