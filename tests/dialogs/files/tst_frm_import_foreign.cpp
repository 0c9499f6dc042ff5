// The window that imports another program's export, driven as a user would:
// the detected format, the column mapping of a generic CSV, the preview, the
// refusals that keep Import off, and Import and Cancel on the store.
#include "dialogs/files/csv_columns_panel.h"
#include "dialogs/files/frm_import_foreign.h"
#include "frame/language.h"
#include "frame/program_state.h"
#include "tests/frame/store_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using qvs::frmImportForeign;
using qvs::Store;

namespace {

QStringList Row(QStandardItemModel* m, int row) {
    QStringList cells;
    for (int c = 0; c < m->columnCount(); ++c)
        cells << m->index(row, c).data().toString();
    return cells;
}

// Presses the named button of the import window once it is shown.
void PressWhenShown(const char* button) {
    QTimer::singleShot(0, [button] {
        auto* w = qobject_cast<frmImportForeign*>(QApplication::activeModalWidget());
        if (!w) qFatal("the import window is not shown");
        w->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

} // namespace

class TestFrmImportForeign : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString File(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        return f.fileName();
    }

private slots:
    void initTestCase() { QVERIFY(LoadShippedLanguage()); }

    void init() {
        FreshStore().NewFile();
        ardeko::T_Password p;
        p.service = "Bank";
        QVERIFY(Store().PWAdd(p));
        QVERIFY(Store().SaveFile(dir_.filePath("d.qvs").toStdString(), false));
    }

    void detectedFormatPreviewAndImport() {
        const QString path =
            File("chrome.csv", "name,url,username,password,note\r\n"
                               "Bank,https://bank.example,ann,secret1,\"two\r\nlines\"\r\n"
                               "Mail,https://mail.example,bob,secret2,\r\n");
        frmImportForeign w(Store());
        w.SetFile(path);
        QVERIFY(w.cmdImport()->isEnabled());
        QVERIFY(w.findChild<QLabel*>("lblDetected")->text().contains("Chromium"));
        QVERIFY(!w.Columns()->cboField(ardeko::ForeignField::Title)->isEnabled());
        QCOMPARE(w.Preview()->rowCount(), 2);
        QCOMPARE(Row(w.Preview(), 0), (QStringList{"Bank (ann)", "", "", "ann", "••••••",
                                                   "https://bank.example", "two …"}));
        QVERIFY(w.lblCounts()->text().contains("Renamed entries: 1"));
        PressWhenShown("cmdImport");
        QVERIFY(w.Run());
        QCOMPARE(Store().Password().Count(), std::size_t(3));
        QCOMPARE(Store().Password().Find("Bank (ann)")->pw, std::string("secret1"));
        QVERIFY(Store().NotSaved());
    }

    void cancelChangesNothing() {
        frmImportForeign w(Store());
        w.SetFile(File("c.csv", "name,url,username,password\nX,,u,p\n"));
        PressWhenShown("cmdCancel");
        QVERIFY(!w.Run());
        QCOMPARE(Store().Password().Count(), std::size_t(1));
        QVERIFY(!Store().NotSaved());
    }

    void genericColumnsChosenByHand() {
        frmImportForeign w(Store());
        w.SetFile(File("g.csv", "Where;Who;Secret\nshop;carl;s3\n"));
        // Nothing names a known program, nor a title or password: refused
        // until the columns are read as a generic CSV and mapped.
        QVERIFY(!w.cmdImport()->isEnabled());
        QVERIFY(w.lblProblem()->isVisibleTo(&w));
        w.cboFormat()->setCurrentIndex(int(ardeko::ForeignFormat::Csv));
        qvs::CsvColumnsPanel* columns = w.Columns();
        QVERIFY(columns->cboField(ardeko::ForeignField::Title)->isEnabled());
        QCOMPARE(columns->cboDelimiter()->currentIndex(), 0);                  // guessed
        columns->cboField(ardeko::ForeignField::Title)->setCurrentIndex(1);    // Where
        columns->cboField(ardeko::ForeignField::Password)->setCurrentIndex(3); // Secret
        columns->cboField(ardeko::ForeignField::User)->setCurrentIndex(2);     // Who
        QVERIFY(w.cmdImport()->isEnabled());
        QCOMPARE(Row(w.Preview(), 0).mid(0, 5), (QStringList{"shop", "", "", "carl", "••••••"}));
        // The first row as data: two entries, the mapping kept by position.
        columns->chkCaptions()->setChecked(false);
        QCOMPARE(w.Plan().entries.size(), std::size_t(2));
    }

    void textTheFileCannotHoldKeepsImportOff() {
        const QString cyrillic = File("u.csv", "name,url,username,password\nЖурнал,,u,p\n");
        {
            frmImportForeign modern(Store()); // a format-2 file holds any text
            modern.SetFile(cyrillic);
            QVERIFY(modern.cmdImport()->isEnabled());
        }
        Store().SetFormat(ardeko::FileFormat::Legacy);
        frmImportForeign w(Store());
        w.SetFile(cyrillic);
        Store().SetFormat(ardeko::FileFormat::Two);
        QVERIFY(!w.cmdImport()->isEnabled());
        QVERIFY2(w.lblProblem()->text().contains("Line 2") &&
                     w.lblProblem()->text().contains(QStringLiteral("Ж")),
                 qPrintable(w.lblProblem()->text()));
        w.SetFile(dir_.filePath("missing.csv"));
        QVERIFY(!w.cmdImport()->isEnabled());
        QCOMPARE(w.Preview()->rowCount(), 0);
    }

    // Why a file cannot be imported, and what of it cannot, in the user's
    // language: the store's reasons are numbers the window words itself.
    void problemsAndDetailsInItalian() {
        QString code = QStringLiteral("ITA");
        QVERIFY(qvs::LoadLanguage(code));
        frmImportForeign w(Store());
        w.SetFile(File("mixed.csv", "name,url,username,password\nCaf\xC3\xA9,,a,b\nX,,\xE9,c\n"));
        QVERIFY(!w.cmdImport()->isEnabled());
        QVERIFY2(w.lblProblem()->text().contains(QStringLiteral("Riga 3: un byte qui non è UTF-8")),
                 qPrintable(w.lblProblem()->text()));
        w.Columns()->cboEncoding()->setCurrentIndex(int(ardeko::TextEncoding::Cp1252));
        QVERIFY(w.cmdImport()->isEnabled());
        QVERIFY(w.findChild<QLabel*>("lblDetected")->text().contains("Windows-1252"));
        w.SetFile(File("broken.json", "{\"items\": [ {\"name\": \"x\" ]"));
        QVERIFY2(w.lblProblem()->text().contains(QStringLiteral("non è JSON valido")),
                 qPrintable(w.lblProblem()->text()));
        w.Columns()->cboEncoding()->setCurrentIndex(0);
        w.SetFile(File("keys.json", "{\"items\": [ {\"name\": \"Site\", \"login\": {"
                                    "\"password\": \"p\", \"fido2Credentials\": [ {\"rpId\": "
                                    "\"site.example\"} ]}, \"fields\": [ {\"name\": \"PIN\", "
                                    "\"value\": \"1\", \"type\": 1} ] } ] }"));
        QVERIFY(w.cmdImport()->isEnabled());
        QVERIFY2(
            w.lblCounts()->text().contains(QStringLiteral("Campi aggiuntivi: 1 (protetti: 1)")),
            qPrintable(w.lblCounts()->text()));
        const QString details = w.findChild<QPlainTextEdit*>("txtDetails")->toPlainText();
        QVERIFY2(details.contains(
                     QStringLiteral("\"Site\": passkey per site.example (non importabile)")),
                 qPrintable(details));
        Store().SetFormat(ardeko::FileFormat::Legacy);
        w.SetFile(File("u.csv", "name,url,username,password\nЖурнал,,u,p\n"));
        Store().SetFormat(ardeko::FileFormat::Two);
        QVERIFY2(w.lblProblem()->text().contains(QStringLiteral("Riga 2: Voce")),
                 qPrintable(w.lblProblem()->text()));
        code = QStringLiteral("ENG");
        QVERIFY(qvs::LoadLanguage(code));
    }

    void italianTextsAreComplete() {
        QString code = QStringLiteral("ITA");
        QVERIFY(qvs::LoadLanguage(code));
        frmImportForeign w(Store());
        for (QWidget* child : w.findChildren<QWidget*>()) {
            const QVariant text = child->property("text");
            QVERIFY2(!text.isValid() || !text.toString().startsWith('['),
                     qPrintable(text.toString()));
            bool numeric = false;
            text.toString().toInt(&numeric);
            QVERIFY2(!numeric, qPrintable(child->objectName()));
        }
        QCOMPARE(w.windowTitle(), qvs::GetLocalText(34000));
        code = QStringLiteral("ENG");
        QVERIFY(qvs::LoadLanguage(code));
    }
};

QTEST_MAIN(TestFrmImportForeign)
#include "tst_frm_import_foreign.moc"
