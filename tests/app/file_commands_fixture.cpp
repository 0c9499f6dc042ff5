#include "tests/app/file_commands_fixture.h"

TestLanguage* MakeFileCommandLanguage() {
    return new TestLanguage({10,    11,    13,    14,    7000,  7001,  7002,  7003,  7004,  7005,
                             8000,  8001,  8002,  8003,  8004,  8007,  8008,  8009,  9001,  30002,
                             30003, 30004, 30005, 30006, 31414, 36200, 36201, 36202, 36203, 36204,
                             36205, 36400, 36401, 36402, 36410, 36422, 36423});
}

void ResetProgram(FakeMainWindow& fake) {
    qvs::ProgramState& app = qvs::App();
    app.store = std::make_unique<ardeko::clsPW>();
    app.currentFileName.clear();
    app.currentFilePassword.Clear();
    app.loadTime = QDateTime();
    app.inTrayMode = false;
    qvs::Opt() = qvs::DefaultOptions();
    qvs::Opt().AutoCheck = false;
    qvs::Opt().BackupHistory = false;
    // Its own tests turn it on; elsewhere it would ask at every first save.
    qvs::SetFilePasswordOffer(false);
    fake = FakeMainWindow();
    qvs::SetCurrentMainWindow(&fake);
}

QString WriteDataFile(const QTemporaryDir& dir, const QString& name, const std::string& password,
                      std::initializer_list<const char*> categories, ardeko::FileFormat format) {
    ardeko::clsPW store;
    store.NewFile();
    store.SetFormat(format);
    for (const char* category : categories)
        store.CatAdd(category);
    store.SetFilePW(password);
    const QString path = dir.filePath(name);
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a test data file");
    return path;
}

QString MessageText(qvs::frmMessage* m) {
    return m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

bool IsShown(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(w);
}

void Click(QWidget* w, const char* name) {
    w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

void ExpectError(qvs::frmMessage* m, const QString& text) {
    QCOMPARE(m->windowTitle(), QStringLiteral("QVS"));
    QCOMPARE(MessageText(m), text);
    QVERIFY(IsShown(m, "Pict"));
    QVERIFY(!IsShown(m, "cmdNo"));
}

void ExpectQuestion(qvs::frmMessage* m, const QString& text) {
    QCOMPARE(m->windowTitle(), QStringLiteral("QVS"));
    QCOMPARE(MessageText(m), text);
    QVERIFY(IsShown(m, "Pict") && IsShown(m, "cmdNo") && IsShown(m, "cmdCancel"));
}

void AnswerYes(qvs::frmMessage* m) {
    Click(m, "cmdOK");
}

void AnswerNo(qvs::frmMessage* m) {
    Click(m, "cmdNo");
}

void AnswerCancel(qvs::frmMessage* m) {
    Click(m, "cmdCancel");
}

void TypePassword(qvs::frmFilePW* w, const QString& password) {
    w->findChild<QLineEdit*>(QStringLiteral("txtPW1"))->setText(password);
    Click(w, "cmdOK");
}

void SaveAs(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, "accept"); // what the Save button does
}

void PickRecent(qvs::frmLoadSave* w, int row) {
    auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("tabStrip"));
    tabs->setCurrentWidget(w->findChild<QWidget*>(QStringLiteral("pageRECENT")));
    auto* list = w->findChild<QTreeWidget*>(QStringLiteral("grdRecent"));
    list->setCurrentItem(list->topLevelItem(row));
    Click(w->findChild<QWidget*>(QStringLiteral("pageRECENT")), "cmdOK");
}

std::string StoreName() {
    return qvs::Store().Filename();
}
