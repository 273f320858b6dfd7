// A plain text window for the end-to-end tests: it takes the focus when shown and writes its whole
// text to the file named on the command line after every change, so that a test can see what a paste
// typed into it.
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        return 2;
    }
    const QString outputPath = QString::fromLocal8Bit(argv[1]);

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
