// The options page for filling logins in the browser: which browsers reach
// QVS (their manifests are written when the options are applied), how QVS
// answers them, and the open file's connections with Remove.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace qvs {

class OptionBindings;
struct NativeBrowser;
struct Options;

class BrowserOptionsPage : public QObject {
    Q_OBJECT
public:
    // Builds the page's controls into page (which has a box layout).
    BrowserOptionsPage(QWidget* page, OptionBindings& bindings);

    // Where the manifests point; the installed qvs-proxy unless a test says.
    void SetProxyPath(const QString& path) { proxyPath_ = path; }

    // Writes or removes the browsers' manifests for the chosen browsers;
    // a browser whose manifest cannot be written stays off. Says what
    // happened to another program's manifests the user was not asked about
    // when ticking the browser.
    void ApplyManifests(Options& options);

    QCheckBox* BrowserBox(int index) const { return browsers_[size_t(index)]; }
    QTreeWidget* Connections() const { return connections_; }
    QPushButton* RemoveButton() const { return remove_; }

    // Lists the open file's connections again.
    void FillConnections();
    // Gives the explaining note its height, once its text is localised.
    void FitNote();

private:
    void BuildBrowsers(QWidget* page, OptionBindings& bindings);
    void BuildAnswers(QWidget* page, OptionBindings& bindings);
    void BuildConnections(QWidget* page);
    void RemoveConnection();
    bool AgreeToSetAside(const NativeBrowser& browser);

    QLabel* note_ = nullptr;
    std::vector<QCheckBox*> browsers_;
    QTreeWidget* connections_ = nullptr;
    QPushButton* remove_ = nullptr;
    QString proxyPath_;
    QStringList agreed_; // browsers whose other program's manifest the user let us set aside
};

// Called after the options were applied, so that QVS starts or stops
// listening for the browsers.
void SetBrowserConnectionObserver(std::function<void()> observer);
void NotifyBrowserConnectionChanged();

} // namespace qvs
