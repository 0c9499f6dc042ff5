// A stand-in for another program's login form, for the typing test: a user
// name box and a password box. Enter in the password box prints both and
// ends; its window id is printed once it is shown and active.
#include <QApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget form;
    form.setWindowTitle(QStringLiteral("Typing target"));
    auto* layout = new QFormLayout(&form);
    auto* user = new QLineEdit(&form);
    auto* password = new QLineEdit(&form);
    layout->addRow(QStringLiteral("User"), user);
    layout->addRow(QStringLiteral("Password"), password);
    QObject::connect(password, &QLineEdit::returnPressed, [&] {
        std::printf("USER=%s\nPASS=%s\n", user->text().toUtf8().constData(),
                    password->text().toUtf8().constData());
        std::fflush(stdout);
        app.quit();
    });
    form.show();
    form.activateWindow();
    user->setFocus();
    QTimer::singleShot(300, [&] {
        std::printf("WINDOW=%llu\n", static_cast<unsigned long long>(form.winId()));
        std::fflush(stdout);
    });
    return app.exec();
}
