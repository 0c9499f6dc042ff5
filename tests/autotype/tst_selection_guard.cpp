// A password box shown in clear leaves nothing in the X11 PRIMARY selection.
// The selection exists only on a real X server: the test starts its own
// headless desktop and shows its windows there (skipped, saying why, where
// none can be started).
#include "frame/selection_guard.h"
#include "tests/autotype/x_desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {
std::unique_ptr<XDesktop> desktop;
}

class TestSelectionGuard : public QObject {
    Q_OBJECT

    // Drags over the box's text, as a user selects it.
    static QString SelectionAfterDragging(bool guarded) {
        QLineEdit box;
        box.setText(QStringLiteral("s3cret-pw"));
        if (guarded) qvs::KeepOutOfSelection(&box);
        box.show();
        if (!QTest::qWaitForWindowExposed(&box)) return QStringLiteral("<not shown>");
        const int y = box.height() / 2;
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(2, y));
        QTest::mouseMove(&box, QPoint(box.width() - 2, y));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(box.width() - 2, y));
        // Nothing to wait for when the guard works: a selection that must
        // not come.
        QTest::qWait(200);
        return QGuiApplication::clipboard()->text(QClipboard::Selection);
    }

private slots:
    void initTestCase() {
        if (!desktop->SkipReason().isEmpty()) QSKIP(qPrintable(desktop->SkipReason()));
        QVERIFY(QGuiApplication::clipboard()->supportsSelection());
    }

    void passwordLeavesNoSelection() {
        // Without the guard the drag does reach the selection here.
        QGuiApplication::clipboard()->clear(QClipboard::Selection);
        QCOMPARE(SelectionAfterDragging(false), QStringLiteral("s3cret-pw"));
        QGuiApplication::clipboard()->clear(QClipboard::Selection);
        QCOMPARE(SelectionAfterDragging(true), QString());
    }
};

// The desktop comes first: the application connects to its display.
int main(int argc, char* argv[]) {
    desktop = std::make_unique<XDesktop>();
    if (desktop->SkipReason().isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestSelectionGuard test;
    const int result = QTest::qExec(&test, argc, argv);
    desktop.reset();
    return result;
}

#include "tst_selection_guard.moc"
