#pragma once

#include "console/shell/formstores.h"

#include <QObject>
#include <QVariant>
#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

// A form-placement store: keeps the properties its declaration names (formstores.h), and the
// window placement where declared, in the current user's registry. A window attaches its
// controls by the declared "Component.Property" names:
//
//     TFormStorage m_storage { formstores::CopyDialog(), this };   // last member, see below
//     m_storage.bind("EdDestPath.Text", m_destPath);
//     m_storage.bind("EdDestPath.Items", m_destPath);
//
// The type a control answers decides the text form: bool "True"/"False", int decimal, double
// with a point, QString as it is, QStringList as the subkey "Section.Component_Property" with
// "Count" and "Item0".."ItemN" (an empty list writes nothing). A value that is missing or cannot
// be read leaves its control as it is; registry failures are never reported.
//
// Automatic behaviour while the store is active: values and placement are read when the window
// is first shown (unless the owner read them before), and written when the window is hidden by
// the program (closed, a dialog done) and when the store is destroyed after the window was shown
// and not written since. Declare the store as the window's last member, so that it is destroyed
// while the controls it reads still exist. Interface thread only.
class TFormStorage : public QObject {
    Q_OBJECT
public:
    using Getter = std::function<QVariant()>;
    using Setter = std::function<void(const QVariant&)>;

    TFormStorage(const TFormStoreDef& def, QWidget* form);
    ~TFormStorage() override;

    // A name that the declaration does not list is a programming error (asserted).
    void bind(const QString& property, Getter get, Setter set);
    void bind(const QString& property, QAbstractButton* button); // Checked, Down
    void bind(const QString& property, QAction* action); // Checked
    void bind(const QString& property, QSpinBox* spin); // Value
    void bind(const QString& property, QLineEdit* edit); // Text, FileName
    void bind(const QString& property, QComboBox* combo); // Text, Items
    void bind(const QString& property, QWidget* widget); // Visible, Width, Height, Tag

    // Inactive, the store does nothing by itself; explicit reads and writes still work.
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    void restore(); // values, then the placement (once the window exists on screen)
    void readValues();
    // Values, and the placement where declared once the window has been shown: a window that
    // never was on screen has no placement worth keeping.
    void save();

    // The bound controls' values in binding order, and putting such a list back (a dialog's
    // Cancel returns to what it showed).
    QVariantList values() const;
    void setValues(const QVariantList& values);

    const TFormStoreDef& def() const { return m_def; }
    // Declared properties no control is bound to, for tests of the windows that attach.
    QStringList unboundProperties() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QString property;
        Getter get;
        Setter set;
    };
    void restorePlacement();
    std::vector<const Binding*> inDeclaredOrder() const;

    const TFormStoreDef& m_def;
    QWidget* m_form;
    std::vector<Binding> m_bindings;
    bool m_active = true;
    bool m_valuesRead = false;
    bool m_shown = false;
    bool m_savedSinceShow = false;
};
