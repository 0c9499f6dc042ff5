#include "frame/image_list.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QtTest>

using qvs::ImageList;

namespace {

// Every key the windows ask for: menus and toolbar, tree nodes, grid states
// and headers, drag cursors, the tray menu and the open dialog.
const QStringList kWindowKeys = {
    "NEW",      "OPEN",    "SAVE",    "PREVIEW",  "PRINT",      "CUT",     "COPY",
    "PASTE",    "SEARCH",  "PADD",    "PEDIT",    "PDELETE",    "HELP",    "WHAT",
    "HELP_PTR", "CHECK",   "MAIL",    "WEB",      "WEBOPEN",    "SASC",    "SDESC",
    "CAT",      "SUBCAT",  "PW",      "CONFIG",   "FAVOURITES", "TOOLBAR", "STATUSBAR",
    "TREEVIEW", "OFOLDER", "CFOLDER", "SCATOPEN", "SCATCLOSE",  "CATOPEN", "CATCLOSE",
    "WARNING",  "ALERT",   "DESC",    "ASC",      "OPREF",      "CPREF",   "OWARN",
    "CWARN",    "OALERT",  "CALERT",  "QVS",      "FAVOR",      "DRAGPW",  "DRAGFOLD",
    "NODRAG"};

// Pixels that are drawn at all, and pixels drawn fully opaque.
struct Coverage {
    int drawn = 0;
    int opaque = 0;
};

Coverage Measure(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    Coverage c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            c.drawn += alpha > 0;
            c.opaque += alpha == 255;
        }
    return c;
}

} // namespace

class TestImageList : public QObject {
    Q_OBJECT
private slots:
    void everyWindowKeyHasAnIconThatRenders_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("size");
        for (const QString& key : kWindowKeys)
            for (int size : {ImageList::Small, ImageList::Large})
                QTest::addRow("%s@%d", qPrintable(key), size) << key << size;
    }
    void everyWindowKeyHasAnIconThatRenders() {
        QFETCH(QString, key);
        QFETCH(int, size);
        QVERIFY2(QFileInfo::exists(qvs::IconFile(key)), qPrintable(qvs::IconFile(key)));
        const QPixmap pixmap = ImageList(size, {key}).Pixmap(key);
        QCOMPARE(pixmap.size(), QSize(size, size) * pixmap.devicePixelRatio());
        const Coverage c = Measure(pixmap);
        const int area = pixmap.width() * pixmap.height();
        // A real drawing: a fair part of the square, with a transparent background.
        QVERIFY2(c.opaque > area / 10, qPrintable(QString::number(c.opaque)));
        QVERIFY2(c.drawn < area, "no transparent background");
    }

    void keysAreFoundInAnyCaseAndUnknownKeysHaveNoIcon() {
        QCOMPARE(qvs::IconFile("catOpen"), qvs::IconFile("CATOPEN"));
        QCOMPARE(qvs::IconFile("padd"), QStringLiteral(":/icons/padd.svg"));
        QVERIFY(qvs::IconFile("NOSUCHKEY").isEmpty());
        QVERIFY(qvs::IconFile("").isEmpty());
        QVERIFY(qvs::KeyIcon("NOSUCHKEY").isNull());
    }

    // Only true synonyms share a drawing; every drawing shipped is used.
    void keysAndFilesMatchOneToOne() {
        QSet<QString> files;
        for (const QString& key : qvs::IconKeys())
            files.insert(qvs::IconFile(key));
        QCOMPARE(qvs::IconFile("FAVOR"), qvs::IconFile("FAVOURITES"));
        QCOMPARE(files.size(), qvs::IconKeys().size() - 1);
        const QStringList shipped = QDir(":/icons").entryList({"*.svg"}, QDir::Files);
        for (const QString& name : shipped)
            QVERIFY2(files.contains(":/icons/" + name), qPrintable(name));
        QCOMPARE(shipped.size(), files.size());
    }

    void openAndClosedFoldersLookDifferent() {
        const ImageList list(ImageList::Small, {"OFOLDER", "CFOLDER", "OPREF", "CPREF"});
        QVERIFY(list.Pixmap("OFOLDER").toImage() != list.Pixmap("CFOLDER").toImage());
        QVERIFY(list.Pixmap("OPREF").toImage() != list.Pixmap("CPREF").toImage());
    }

    void listIndexesFollowInsertionAndRejectBadKeys() {
        ImageList list(ImageList::Large);
        QVERIFY(list.Add("qvs"));
        QVERIFY(list.Add("OPEN"));
        QVERIFY(!list.Add("QVS"));    // already there, whatever the case
        QVERIFY(!list.Add("NOSUCH")); // no drawing
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.IndexOf("Qvs"), 0);
        QCOMPARE(list.IndexOf("OPEN"), 1);
        QCOMPARE(list.IndexOf("SAVE"), -1);
        QCOMPARE(list.Key(1), QStringLiteral("OPEN"));
        QVERIFY(list.Key(2).isEmpty());
        QVERIFY(list.Key(-1).isEmpty());
        QVERIFY(list.Icon(-1).isNull());
        QVERIFY(list.Pixmap(5).isNull());
        QCOMPARE(list.Pixmap(0).width(), 32 * list.Pixmap(0).devicePixelRatio());
        list.Clear();
        QCOMPARE(list.Count(), 0);
    }

    void trayListHasItsSixteenIconsInOrder() {
        const ImageList tray = qvs::TrayImageList();
        QCOMPARE(tray.Count(), 16);
        QCOMPARE(tray.IconSize(), 16);
        QCOMPARE(tray.Key(0), QStringLiteral("QVS"));
        QCOMPARE(tray.IndexOf("PW"), 14);
        QCOMPARE(tray.Key(15), QStringLiteral("FAVOR"));
    }
};

QTEST_MAIN(TestImageList)
#include "tst_image_list.moc"
