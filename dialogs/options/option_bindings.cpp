#include "dialogs/options/option_bindings.h"

#include "dialogs/options/option_choosers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

namespace qvs {

void OptionBindings::Check(QCheckBox* box, bool Options::*setting) {
    Custom([box, setting](const Options& o) { box->setChecked(o.*setting); },
           [box, setting](Options& o) { o.*setting = box->isChecked(); });
}

void OptionBindings::Chooser(QComboBox* box, int Options::*setting) {
    Custom([box, setting](const Options& o) { SelectValue(box, o.*setting); },
           [box, setting](Options& o) { o.*setting = SelectedValue(box); });
}

void OptionBindings::Number(QSpinBox* box, int Options::*setting) {
    Custom([box, setting](const Options& o) { box->setValue(o.*setting); },
           [box, setting](Options& o) { o.*setting = box->value(); });
}

void OptionBindings::Key(KeySettingChooser* chooser, int Options::*code,
                         QString Options::*ownText) {
    Custom([chooser, code, ownText](const Options& o) { chooser->SetKey(o.*code, o.*ownText); },
           [chooser, code, ownText](Options& o) {
               o.*code = chooser->Value();
               o.*ownText = chooser->OwnText();
           });
}

void OptionBindings::Custom(std::function<void(const Options&)> show,
                            std::function<void(Options&)> store) {
    bindings_.push_back({std::move(show), std::move(store)});
}

void OptionBindings::Show(const Options& options) const {
    for (const Binding& binding : bindings_)
        binding.show(options);
}

void OptionBindings::Store(Options& options) const {
    for (const Binding& binding : bindings_)
        binding.store(options);
}

} // namespace qvs
