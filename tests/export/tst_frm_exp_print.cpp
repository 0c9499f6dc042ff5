// The export dialog: the field lists, the remembered choices, the checks
// before an export and the progress it reports.
#include "export/frm_exp_print.h"
#include "frame/frm_message.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "store/export/export_fields.h"
#include "tests/export/export_fixture.h"
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qvs;

namespace {

class NoPrinters : public IPrinterLookup {
public:
    std::vector<InstalledPrinter> Printers() const override { return {}; }
};

// The fields the list holds (the items' texts are their shown names).
QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->data(Qt::UserRole).toString();
    return texts;
}

QStringList FieldCaptions() {
    QStringList captions;
    for (const std::string& caption : ardeko::FieldCaptions())
        captions << QString::fromStdString(caption);
    return captions;
}

} // namespace

class TestFrmExpPrint : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    NoPrinters printers_;

private slots:
    void init() {
        Opt() = DefaultOptions();
        Opt().RPExpDir = dir_.path();
        App().store = std::make_unique<ardeko::clsPW>();
        FillExportStore(Store());
    }

    void fieldListsAndTheirMoves() {
        TestLanguage language({36601, 36604});
        Opt().RPFields = QStringLiteral("Password-Bogus-User Name-Password");
        frmExpPrint dialog(kModeHtml, printers_);
        auto* all = dialog.findChild<QListWidget*>("lstAll");
        auto* selected = dialog.findChild<QListWidget*>("lstSelected");
        auto click = [&](const char* name) { dialog.findChild<QPushButton*>(name)->click(); };
        QCOMPARE(Texts(selected), QStringList({"Password", "User Name"}));
        QCOMPARE(all->count(), 12);
        QCOMPARE(Texts(all).front(), QStringLiteral("Category"));
        // Shown in the user's language, kept by their names.
        QCOMPARE(all->item(0)->text(), TestLanguage::Text(36601));
        QCOMPARE(selected->item(0)->text(), TestLanguage::Text(36604));

        all->setCurrentRow(2); // "Email"
        click("cmdRight");
        QCOMPARE(Texts(selected).last(), QStringLiteral("Email"));
        emit all->itemDoubleClicked(all->item(0));
        QCOMPARE(Texts(selected).last(), QStringLiteral("Category"));

        selected->setCurrentRow(3); // "Category"
        click("cmdUp");
        QCOMPARE(Texts(selected), QStringList({"Password", "User Name", "Category", "Email"}));
        click("cmdDown");
        click("cmdDown"); // already last: stays
        QCOMPARE(Texts(selected).last(), QStringLiteral("Category"));

        // Back to the list in its offered place.
        click("cmdLeft");
        QCOMPARE(Texts(all).front(), QStringLiteral("Category"));
        click("cmdAllLeft");
        QCOMPARE(Texts(all), FieldCaptions());
        click("cmdAllRight");
        QCOMPARE(Texts(selected), FieldCaptions());
        QCOMPARE(dialog.Choice().fields, FieldCaptions());
    }

    void csvWithoutDelimiterWritesNothing() {
        TestLanguage language({31600});
        frmExpPrint dialog(kModeCsv, printers_);
        dialog.show();
        dialog.findChild<QLineEdit*>("txtDelim")->clear();
        QString said;
        ModalScript script;
        script.On<frmMessage>([&](frmMessage* w) {
            said = w->findChild<QLabel*>("lblMsg")->text();
            w->accept();
        });
        script.Start();
        dialog.Export();
        QVERIFY(script.Done());
        QCOMPARE(said, TestLanguage::Text(31600));
        QVERIFY(QDir(dir_.path()).isEmpty());
        QCOMPARE(dialog.focusWidget(), dialog.findChild<QLineEdit*>("txtDelim"));
    }

    void exportStoresTheChoicesAndShowsProgress() {
        TestLanguage language({6057});
        QStringList status;
        frmExpPrint dialog(kModeCsv, printers_, [&](const QString& text) { status << text; });
        QVERIFY(!dialog.findChild<QPushButton*>("cmdView")->isEnabled());
        dialog.findChild<QLineEdit*>("txtDelim")->setText(",");
        dialog.findChild<QLineEdit*>("txtFile")->setText("out");
        dialog.Export();
        QCOMPARE(Opt().RPDelim, QStringLiteral(","));
        QCOMPARE(Opt().RPExpFile, QStringLiteral("out"));
        QCOMPARE(dialog.LastExport(), QDir(dir_.path()).filePath("out.CSV"));
        QVERIFY(dialog.findChild<QPushButton*>("cmdView")->isEnabled());
        QCOMPARE(status.mid(status.size() - 2),
                 QStringList({TestLanguage::Text(6057) + "4 / 4", QString()}));
    }

    void controlsFollowTheMode() {
        frmExpPrint csv(kModeCsv, printers_);
        frmExpPrint columns(kModeColumns, printers_);
        frmExpPrint print(kModePrint, printers_);
        QVERIFY(csv.findChild<QLineEdit*>("txtDelim")->isEnabled());
        QVERIFY(!columns.findChild<QLineEdit*>("txtDelim")->isEnabled());
        QVERIFY(!print.findChild<QPushButton*>("cmdExport")->isVisibleTo(&print));
        QVERIFY(print.findChild<QPushButton*>("cmdPdf")->isVisibleTo(&print));
        // No printer installed: printing is offered only as a PDF file.
        QVERIFY(!print.findChild<QPushButton*>("cmdPrint")->isEnabled());
    }
};

QTEST_MAIN(TestFrmExpPrint)
#include "tst_frm_exp_print.moc"
