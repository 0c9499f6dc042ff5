// Which control of an option window edits which setting. Both programs' option
// windows list their controls here once; loading and applying then walk the
// same list, so a control can never be shown from one setting and stored into
// another.
#pragma once

#include "frame/options.h"

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qvs {

class KeySettingChooser;

class OptionBindings {
public:
    // A check box stores true exactly when it is checked.
    void Check(QCheckBox* box, bool Options::*setting);
    // A chooser stores the value of its selected item.
    void Chooser(QComboBox* box, int Options::*setting);
    void Number(QSpinBox* box, int Options::*setting);
    void Key(KeySettingChooser* chooser, int Options::*code, QString Options::*ownText);
    // Anything else: how to show the setting and how to store it.
    void Custom(std::function<void(const Options&)> show, std::function<void(Options&)> store);

    void Show(const Options& options) const;
    void Store(Options& options) const;

private:
    struct Binding {
        std::function<void(const Options&)> show;
        std::function<void(Options&)> store;
    };
    std::vector<Binding> bindings_;
};

} // namespace qvs
