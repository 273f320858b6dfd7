// The other program of the end-to-end tests, in one of two modes:
//
//   driftmark_e2e_target OUTPUT_FILE
//       A plain text window that takes the focus when shown and writes its whole text to OUTPUT_FILE
//       after every change, so that a test can see what a paste typed into it.
//   driftmark_e2e_target --offer-clipboard TEXT_FILE PNG_FILE
//       Owns the clipboard with the two files' bytes as text/plain and image/png at once and serves
//       them until it is stopped or another program takes the clipboard; xclip serves only one type.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>
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

int showEditor(const QString& outputPath) {
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
    if (argc != 2) {
        return 2;
    }
    return showEditor(QString::fromLocal8Bit(argv[1]));
}
