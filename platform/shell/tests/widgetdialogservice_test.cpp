#include "platform/shell/widgetdialogservice.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace shell;

namespace {

// Runs fn on the modal dialog once it is showing.
template <typename Dialog> void whenShown(std::function<void(Dialog*)> fn)
{
    QTimer::singleShot(0, [fn] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            whenShown(fn);
            return;
        }
        fn(dialog);
    });
}

QStringList buttonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* b : box->buttons())
        texts.append(b->text().remove(u'&'));
    texts.sort();
    return texts;
}

TEST(WidgetDialogService, ShowsTheTextWithLineBreaksAndAnswersTheClickedButton)
{
    WidgetDialogService dialogs;
    QString shown, caption;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        caption = box->windowTitle();
        buttons = buttonTexts(box);
        icon = box->icon();
        box->button(QMessageBox::Retry)->click();
    });
    const Button answer = dialogs.message(MessageKind::Error, "No connections found.\rRetry?",
        Button::Yes | Button::Abort | Button::Retry);
    EXPECT_EQ(answer, Button::Retry);
    EXPECT_EQ(shown, "No connections found.\nRetry?");
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QStringList({ "Abort", "Retry", "Yes" }));
}

TEST(WidgetDialogService, EscapeAnswersTheEscapeButton)
{
    struct Case {
        Buttons buttons;
        Button expected;
    } const cases[] = {
        { Button::Yes | Button::Abort | Button::Retry, Button::Abort },
        { Button::Yes | Button::No | Button::Cancel, Button::Cancel },
        { Button::Yes | Button::No, Button::No },
    };
    WidgetDialogService dialogs;
    for (const Case& c : cases) {
        whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(dialogs.confirm("Sure?", c.buttons), c.expected);
    }
}

TEST(WidgetDialogService, AllButtonAndDefault)
{
    WidgetDialogService dialogs;
    QString defaultText;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == "&All")
                b->click();
        }
    });
    EXPECT_EQ(dialogs.messageBox(MessageKind::Confirmation, "Copy", "Overwrite?",
                  Button::Yes | Button::No | Button::All | Button::Cancel, Button::No),
        Button::All);
    EXPECT_EQ(defaultText.remove(u'&'), "No");
}

TEST(WidgetDialogService, InputQueryAndDetails)
{
    WidgetDialogService dialogs;
    whenShown<QInputDialog>([](QInputDialog* input) {
        input->setTextValue("NEW.TXT");
        input->accept();
    });
    QString value = "OLD.TXT";
    EXPECT_TRUE(dialogs.inputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "NEW.TXT");

    whenShown<QInputDialog>([](QInputDialog* input) { input->reject(); });
    EXPECT_FALSE(dialogs.inputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "NEW.TXT");

    QString details;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        details = box->detailedText();
        box->accept();
    });
    dialogs.detailedError("NDS: NWDSRead code FFFFFDA7", "Exception class: TNDSException\r-601");
    EXPECT_EQ(details, "Exception class: TNDSException\n-601");
}

} // namespace
