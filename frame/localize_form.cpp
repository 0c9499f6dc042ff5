// Walks a window designed with text ids and puts the texts in their place.
#include "frame/language.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMetaProperty>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

#include <functional>

namespace qvs {

namespace {

std::optional<int> AsId(const QString& text) {
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(id) : std::nullopt;
}

std::optional<int> TagOf(const QObject* object) {
    const QVariant tag = object->property("tag");
    return tag.isValid() ? AsId(tag.toString()) : std::nullopt;
}

// Replaces a text that reads as a number through its setter.
void Localize(const QString& text, const std::function<void(const QString&)>& set) {
    if (const auto id = AsId(text)) set(GetLocalText(*id));
}

void LocalizeAction(QAction* action) {
    if (const auto tag = TagOf(action)) {
        action->setToolTip(GetLocalText(*tag));
        if (action->text().isEmpty() || AsId(action->text())) action->setText(GetLocalText(*tag));
    }
    Localize(action->text(), [action](const QString& t) { action->setText(t); });
    // An unset toolTip reads as the text, which is localised by now.
    Localize(action->toolTip(), [action](const QString& t) { action->setToolTip(t); });
}

void LocalizeTabs(QTabBar* bar) {
    for (int i = 0; i < bar->count(); ++i) {
        Localize(bar->tabText(i), [bar, i](const QString& t) { bar->setTabText(i, t); });
        Localize(bar->tabToolTip(i), [bar, i](const QString& t) { bar->setTabToolTip(i, t); });
    }
}

void LocalizePages(QTabWidget* tabs) {
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto tag = TagOf(tabs->widget(i))) tabs->setTabText(i, GetLocalText(*tag));
    }
}

void LocalizeCombo(QComboBox* combo) {
    for (int i = 0; i < combo->count(); ++i)
        Localize(combo->itemText(i), [combo, i](const QString& t) { combo->setItemText(i, t); });
}

void LocalizeLineEdit(QLineEdit* edit) {
    if (edit->property("tag").toString().trimmed() == QLatin1String("RES"))
        Localize(edit->text(), [edit](const QString& t) { edit->setText(t); });
    Localize(edit->placeholderText(), [edit](const QString& t) { edit->setPlaceholderText(t); });
}

void LocalizeHeader(QHeaderView* header) {
    QAbstractItemModel* model = header->model();
    if (!model) return;
    const Qt::Orientation orientation = header->orientation();
    const int sections = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    for (int s = 0; s < sections; ++s) {
        const QVariant tag = model->headerData(s, orientation, TextIdRole);
        if (!tag.isValid()) continue;
        if (const auto id = AsId(tag.toString()))
            model->setHeaderData(s, orientation, GetLocalText(*id), Qt::DisplayRole);
    }
}

// "text" or "title" of any other widget (labels, buttons, check boxes, group
// boxes, menus), read and written through Qt's property system.
void LocalizeProperty(QWidget* widget, const char* name) {
    const int index = widget->metaObject()->indexOfProperty(name);
    if (index < 0 || !widget->metaObject()->property(index).isWritable()) return;
    Localize(widget->property(name).toString(),
             [widget, name](const QString& t) { widget->setProperty(name, t); });
}

void LocalizeWidget(QWidget* widget) {
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) LocalizePages(tabs);
    if (auto* bar = qobject_cast<QTabBar*>(widget)) LocalizeTabs(bar);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) LocalizeCombo(combo);
    if (auto* header = qobject_cast<QHeaderView*>(widget)) LocalizeHeader(header);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        LocalizeLineEdit(edit); // its text is data unless tagged
    } else {
        // A tool button showing an action follows that action.
        auto* tool = qobject_cast<QToolButton*>(widget);
        if (!tool || !tool->defaultAction()) LocalizeProperty(widget, "text");
        LocalizeProperty(widget, "title");
    }
    Localize(widget->toolTip(), [widget](const QString& t) { widget->setToolTip(t); });
}

void LocalizeWindowTitle(QWidget* form) {
    if (const auto tag = TagOf(form)) form->setWindowTitle(GetLocalText(*tag));
    Localize(form->windowTitle(), [form](const QString& t) { form->setWindowTitle(t); });
}

// Actions owned by the window, and those only added to its widgets.
QList<QAction*> ActionsOf(QWidget* form, const QList<QWidget*>& widgets) {
    QList<QAction*> actions = form->findChildren<QAction*>();
    QSet<QAction*> seen(actions.cbegin(), actions.cend());
    for (QWidget* widget : widgets) {
        for (QAction* action : widget->actions()) {
            if (!seen.contains(action)) {
                seen.insert(action);
                actions << action;
            }
        }
    }
    return actions;
}

} // namespace

void LocalizeForm(QWidget* form) {
    if (!form) return;
    LocalizeWindowTitle(form);
    QList<QWidget*> widgets = form->findChildren<QWidget*>();
    widgets.prepend(form);
    for (QAction* action : ActionsOf(form, widgets))
        LocalizeAction(action);
    for (QWidget* widget : widgets)
        LocalizeWidget(widget);
}

} // namespace qvs
