#pragma once

#include "gui/guitest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <type_traits>

// Drives a form's widgets by object name, as a user would.
namespace FormDriver {

template <typename T = QWidget>
T *Child(QWidget *form, const char *name)
{
    T *child = form->findChild<T *>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

inline std::string Text(QWidget *form, const char *name)
{
    if (auto *combo = qobject_cast<QComboBox *>(Child(form, name)))
        return combo->currentText().toStdString();
    return Child<QLineEdit>(form, name)->text().toStdString();
}

// Chooses the entry of a menu (by index, or the first with text) and reports the choice.
inline void Choose(QWidget *form, const char *menu, int index)
{
    auto *combo = Child<QComboBox>(form, menu);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(combo->itemText(index));
}
inline void Choose(QWidget *form, const char *menu, const QString &text)
{
    const int index = Child<QComboBox>(form, menu)->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    Choose(form, menu, index);
}

// Shows form modally and lets act drive it once shown; returns what Exec returns.
template <class Form, class... Args>
auto RunModal(Form &form, std::type_identity_t<std::function<void(Form *)>> act, Args... args)
{
    GuiTest::WhenModal<Form>(std::move(act));
    return form.Exec(args...);
}

inline void Click(QWidget *form, const char *button) { Child<QAbstractButton>(form, button)->click(); }
inline void SetText(QWidget *form, const char *edit, const QString &text)
{
    Child<QLineEdit>(form, edit)->setText(text);
}

// The object names of count widgets that Tab visits, from first on.
inline std::string TabOrder(QWidget *form, const char *first, int count)
{
    QStringList names;
    QWidget *widget = Child(form, first);
    for (int i = 0; i < count; ++i) {
        names << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
    }
    return names.join(' ').toStdString();
}

} // namespace FormDriver
