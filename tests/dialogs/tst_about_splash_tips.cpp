// The About box, the splash window and the tip of the day.
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "dialogs/frm_about.h"
#include "dialogs/frm_splash.h"
#include "dialogs/frm_tips.h"
#include "dialogs/maker_info.h"
#include "frame/modal_stack.h"
#include "frame/options.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using qvs::frmTips;

namespace {

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

QString TipText(frmTips& tips) {
    return Child<QLabel>(&tips, "lblTip")->text();
}

} // namespace

class TestAboutSplashTips : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QCOMPARE(qvs::ModalDepth(), 0); }

    void aboutShowsVersionAndLinks();
    void splashClosesItselfAfterItsTime();
    void splashClosesOnAClick();
    void tipsCycleThroughEveryTip();
    void tipsCheckBoxFollowsTheOption();
    void tipsShowThroughTheStackUntilClosed();

private:
    TestLanguage language_{
        {10, 20000, 20002, 20100, 20101, 20102, 20103, 20110, 20111, 20112, 20113, 20114}};
};

void TestAboutSplashTips::aboutShowsVersionAndLinks() {
    ModalScript script;
    script.On<qvs::frmAbout>([](qvs::frmAbout* w) {
        QCOMPARE(w->windowTitle(), TestLanguage::Text(20000));
        QCOMPARE(Child<QLabel>(w, "lblTitle")->text(), QString::fromLatin1(qvs::kProductTitle));
        QCOMPARE(Child<QLabel>(w, "lblVersion")->text(), QStringLiteral("QVS V1.2.3"));
        QCOMPARE(Child<QLabel>(w, "lblDescription")->text(), TestLanguage::Text(20002));
        QVERIFY(!Child<QLabel>(w, "picIcon")->pixmap().isNull());
        for (const auto& [name, url] :
             {std::pair{"lblMaker", qvs::kMakerUrl}, std::pair{"lblHomepage", qvs::kProductUrl}}) {
            auto* link = Child<QLabel>(w, name);
            QVERIFY(link->openExternalLinks());
            QVERIFY2(link->text().contains(QStringLiteral("href=\"%1\"").arg(url)), name);
        }
        Child<QPushButton>(w, "cmdOK")->click();
    });
    script.Start();
    qvs::ShowAbout(QStringLiteral("QVS V1.2.3"));
    QVERIFY(script.Done());
}

void TestAboutSplashTips::splashClosesItselfAfterItsTime() {
    QElapsedTimer clock;
    clock.start();
    qvs::ShowSplash(200);
    QVERIFY(clock.elapsed() >= 190);
    QVERIFY(clock.elapsed() < 5000);
}

void TestAboutSplashTips::splashClosesOnAClick() {
    ModalScript script;
    script.On<qvs::frmSplash>([](qvs::frmSplash* w) {
        QVERIFY(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(Child<QLabel>(w, "lblTitle")->text(), QString::fromLatin1(qvs::kProductTitle));
        QVERIFY(!Child<QLabel>(w, "picIcon")->pixmap().isNull());
        QTest::mouseClick(w, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    script.Start();
    qvs::ShowSplash(60000);
    QVERIFY(clock.elapsed() < 30000);
    QVERIFY(script.Done());
}

void TestAboutSplashTips::tipsCycleThroughEveryTip() {
    frmTips tips(3);
    QCOMPARE(tips.windowTitle(), TestLanguage::Text(20100));
    QCOMPARE(TipText(tips), TestLanguage::Text(20113));
    QStringList seen{TipText(tips)};
    for (int i = 1; i < frmTips::TipCount(); ++i) {
        Child<QPushButton>(&tips, "cmdNext")->click();
        seen << TipText(tips);
    }
    Child<QPushButton>(&tips, "cmdNext")->click();
    QCOMPARE(TipText(tips), TestLanguage::Text(20113)); // round again
    seen.sort();
    QCOMPARE(seen, QStringList({TestLanguage::Text(20110), TestLanguage::Text(20111),
                                TestLanguage::Text(20112), TestLanguage::Text(20113),
                                TestLanguage::Text(20114)}));

    QCOMPARE(frmTips(frmTips::TipCount() + 1).CurrentTip(), 1);
}

void TestAboutSplashTips::tipsCheckBoxFollowsTheOption() {
    for (bool start : {true, false}) {
        qvs::Opt().ViewTips = start;
        frmTips tips(0);
        auto* check = Child<QCheckBox>(&tips, "chkViewTips");
        QCOMPARE(check->text(), TestLanguage::Text(20101));
        QCOMPARE(check->isChecked(), start);
        check->click();
        QCOMPARE(qvs::Opt().ViewTips, !start);
        check->click();
        QCOMPARE(qvs::Opt().ViewTips, start);
    }
}

void TestAboutSplashTips::tipsShowThroughTheStackUntilClosed() {
    qvs::Opt().ViewTips = true;
    ModalScript script;
    script.On<frmTips>([](frmTips* w) {
        QCOMPARE(qvs::ModalDepth(), 1);
        Child<QCheckBox>(w, "chkViewTips")->click();
        Child<QPushButton>(w, "cmdClose")->click();
    });
    script.Start();
    qvs::ShowTips();
    QVERIFY(script.Done());
    QVERIFY(!qvs::Opt().ViewTips);
}

QTEST_MAIN(TestAboutSplashTips)
#include "tst_about_splash_tips.moc"
