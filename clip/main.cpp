// qvs-clip SECONDS: the secret on standard input goes on the clipboard, marked
// as a secret; one line on standard output says "ok" or why not. Then it
// stays (an X11 clipboard vanishes with its owner) until SECONDS have passed,
// clears the clipboard if it still holds the secret, and ends; it ends at
// once when something else is copied.
#include "autotype/secret_clipboard.h"
#include "clip/x_session.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

namespace {

void Answer(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fclose(stdout); // the caller reads until the end
}

bool StillOurs(const QString& secret) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->text() == secret &&
           data->data(QString::fromLatin1(qvs::kPasswordHintType)) == qvs::kPasswordHintSecret;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc == 2 ? std::atoi(argv[1]) : 0;
    if (seconds < 1) {
        Answer("qvs-clip needs the seconds to keep the text");
        return 1;
    }
    std::string text(std::istreambuf_iterator<char>(std::cin), {});
    // Without a display Qt would end the process before it could say why.
    if (const std::string problem = qvs::clip::SessionProblem(); !problem.empty()) {
        Answer(problem.c_str());
        return 1;
    }
    // Through XWayland too, which passes the clipboard on to Wayland programs.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QString secret = QString::fromUtf8(text.data(), qsizetype(text.size()));
    std::fill(text.begin(), text.end(), '\0');
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(qvs::SecretMimeData(secret).release());
    if (!StillOurs(secret) ||
        (QGuiApplication::platformName() == "xcb" && !clipboard->ownsClipboard())) {
        Answer("the desktop clipboard could not be reached");
        return 1;
    }
    Answer("ok");
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, [&] {
        if (!clipboard->ownsClipboard()) app.quit();
    });
    QTimer::singleShot(seconds * 1000, &app, [&] {
        if (StillOurs(secret)) clipboard->clear();
        app.quit();
    });
    return app.exec();
}
