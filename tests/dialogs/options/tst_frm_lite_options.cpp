// QVSLite's option window: its own start-up settings, the tray choices it
// can act on, and Apply through the same code as the options of QVS.
#include "dialogs/options/frm_lite_options.h"
#include "frame/autostart.h"
#include "frame/language.h"
#include "frame/options.h"
#include "frame/program_identity.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace qvs;

namespace {

QList<int> Values(QComboBox* box) {
    QList<int> values;
    for (int i = 0; i < box->count(); ++i)
        values << box->itemData(i).toInt();
    return values;
}

} // namespace

class TestFrmLiteOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetProgramKind(ProgramKind::QVSLite);
        QCoreApplication::setApplicationName(QStringLiteral("QVSLite"));
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }
    void init() { Opt() = DefaultOptions(); }

    void fileBoxOnlyWithoutTheLastFile() {
        frmLiteOptions w;
        QVERIFY(w.chkLastOpened()->isChecked()); // the default
        QVERIFY(!w.txtFile()->isEnabled());
        QVERIFY(!w.cmdBrowse()->isEnabled());
        w.chkLastOpened()->setChecked(false);
        QVERIFY(w.txtFile()->isEnabled());
        QVERIFY(w.cmdBrowse()->isEnabled());
    }

    void offersOnlyWhatTheTrayCanDo() {
        frmLiteOptions w;
        QCOMPARE(Values(w.findChild<QComboBox*>(QStringLiteral("cbSecurity"))), (QList<int>{0, 2}));
        QCOMPARE(Values(w.findChild<QComboBox*>(QStringLiteral("cbSystray2"))),
                 (QList<int>{0, 2, 3, 4, 5, 6, 7, 8, 9}));
    }

    void applyStoresAndStartsAtLogIn() {
        frmLiteOptions w;
        w.findChild<QCheckBox*>(QStringLiteral("chkAutostart"))->setChecked(true);
        w.chkLastOpened()->setChecked(false);
        w.txtFile()->setText(QStringLiteral(" /data/Mine.QVS "));
        auto* security = w.findChild<QComboBox*>(QStringLiteral("cbSecurity"));
        security->setCurrentIndex(security->findData(2));
        w.cmdOK()->click();
        LoadOptions();
        QVERIFY(Opt().AutoStart);
        QVERIFY(!Opt().LoadLastOpen);
        QCOMPARE(Opt().FileToLoad, QStringLiteral("/data/Mine.QVS"));
        QCOMPARE(Opt().SecurityLevel, 2);
        QVERIFY(QFile::exists(AutostartFilePath(QStringLiteral("QVSLite"))));
    }
};

QTEST_MAIN(TestFrmLiteOptions)
#include "tst_frm_lite_options.moc"
