#include "console/shell/formstorage.h"
#include "console/shell/tarvocombobox.h"
#include "console/shell/windowplacement.h"
#include "hivefile.h"
#include "platform/registry/registry.h"
#include "testsupport/tempdir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <gtest/gtest.h>

using registry::Hive;
using registry::RegKey;

namespace {

const QString kCopyKey
    = QStringLiteral("Software\\Tarvo\\DorAzor Ezevive\\Disk Manager\\Copy Dialog");

class FormStorageTest : public testing::Test {
protected:
    void SetUp() override { RegKey::setRoot(folder()); }
    void TearDown() override { RegKey::resetRoot(); }
    QString folder() const { return home.file("registry"); }
    shelltest::HiveFile hive() const { return shelltest::HiveFile::read(folder()); }
    static void put(const QString& path, const QString& name, const QString& text)
    {
        RegKey key;
        ASSERT_TRUE(key.open(Hive::CurrentUser, path, true));
        ASSERT_TRUE(key.writeString(name, text));
    }

    testsupport::TempHome home;
};

// A form with the copy dialog's history fields.
struct CopyForm {
    QWidget form;
    TTarvoComboBox* destPath = new TTarvoComboBox(&form);
    TTarvoComboBox* copyMask = new TTarvoComboBox(&form);
    TFormStorage storage { formstores::CopyDialog(), &form };
    CopyForm()
    {
        storage.bind(QStringLiteral("EdDestPath.Text"), destPath);
        storage.bind(QStringLiteral("EdDestPath.Items"), destPath);
        storage.bind(QStringLiteral("EdCopyMask.Items"), copyMask);
    }
};

TEST_F(FormStorageTest, CopyDialogHistoryIsAStringListSubkey)
{
    {
        CopyForm f;
        EXPECT_TRUE(f.storage.unboundProperties().isEmpty());
        for (const char* path : { "SYS:PUBLIC", "VOL1:DATA", "", "VOL1:DATA", "SYS:LOGIN" }) {
            f.destPath->setEditText(QString::fromLatin1(path));
            f.destPath->AddToHistory();
        }
        f.storage.save();
    }
    const shelltest::HiveFile h = hive();
    const QString items = kCopyKey + QStringLiteral(".EdDestPath_Items");
    EXPECT_EQ(h.names.value(items), (QStringList { "Count", "Item0", "Item1", "Item2" }));
    EXPECT_EQ(h.value(items, "Count"), "\"3\"");
    EXPECT_EQ(h.value(items, "Item0"), "\"SYS:LOGIN\"");
    EXPECT_EQ(h.value(items, "Item2"), "\"SYS:PUBLIC\"");
    EXPECT_EQ(h.names.value(kCopyKey), QStringList { "EdDestPath_Text" });
    EXPECT_EQ(h.value(kCopyKey, "EdDestPath_Text"), "\"SYS:LOGIN\"");
    // An empty list writes nothing.
    EXPECT_FALSE(h.names.contains(kCopyKey + QStringLiteral(".EdCopyMask_Items")));

    CopyForm again;
    again.destPath->setEditText(QStringLiteral("typed"));
    again.storage.readValues();
    EXPECT_EQ(again.destPath->Items(), (QStringList { "SYS:LOGIN", "VOL1:DATA", "SYS:PUBLIC" }));
    EXPECT_EQ(again.destPath->currentText(), "SYS:LOGIN");
}

TEST_F(FormStorageTest, HistoryKeepsTheMostRecentEntries)
{
    TTarvoComboBox box;
    box.SetHistoryLen(2);
    for (const char* text : { "a", "b", "c", "C" }) {
        box.setEditText(QString::fromLatin1(text));
        box.AddToHistory();
        EXPECT_EQ(box.currentText(), QString::fromLatin1(text)); // the edit keeps its text
    }
    EXPECT_EQ(box.Items(), (QStringList { "C", "c" })); // exact comparison: "C" is new

    TTarvoComboBox none;
    none.SetHistoryLen(0);
    none.setEditText(QStringLiteral("x"));
    none.AddToHistory();
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(TTarvoComboBox().HistoryLen(), 10);
}

// The text forms of the stored values, both ways, on the options store's names.
TEST_F(FormStorageTest, ValuesAreTextInTheirStoredForms)
{
    struct Case {
        const char* property;
        QVariant value;
        const char* text;
    };
    const Case cases[] = {
        { "ShowTips.Checked", true, "True" },
        { "ShowFileIcons.Checked", false, "False" },
        { "UpdateChartTime.Value", 7, "7" },
        { "SortByName.Checked", QVariant(), nullptr },
        { "ExternalEditor.Text", QStringLiteral("C:\\Program Files\\ed.exe"),
            "C:\\Program Files\\ed.exe" },
        { "ExternalViewer.Text", 2.5, "2.5" },
    };
    QWidget form;
    TFormStorage storage(formstores::Options(), &form);
    std::map<QString, QVariant> values;
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.property);
        values[name] = c.value;
        storage.bind(
            name, [&values, name] { return values[name]; },
            [&values, name](const QVariant& v) { values[name] = v; });
    }
    storage.save();
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, formstores::Options().keyPath(), false));
    for (const Case& c : cases) {
        const QString valueName = TFormStoreDef::valueName(QString::fromLatin1(c.property));
        if (c.text)
            EXPECT_EQ(key.readString(valueName).value_or("-"), QString::fromUtf8(c.text))
                << c.property;
        else
            EXPECT_FALSE(key.hasValue(valueName)) << c.property; // nothing bound answers
    }
    EXPECT_FALSE(key.hasValue("NormPos")); // a window never shown keeps no placement

    for (auto& [name, v] : values)
        v = v.isValid() ? QVariant(QMetaType(v.metaType())) : v; // same types, other values
    storage.readValues();
    for (const Case& c : cases)
        EXPECT_EQ(values[QString::fromLatin1(c.property)], c.value) << c.property;
}

TEST_F(FormStorageTest, UnreadableValuesLeaveTheControlsAsTheyAre)
{
    const QString key = formstores::Options().keyPath();
    put(key, "ShowTips_Checked", "yes");
    put(key, "UpdateChartTime_Value", "five");
    put(key, "ShowFileIcons_Checked", "false"); // any case reads
    put(formstores::kConsole + "\\Options.ExternalEditor_Items", "Count", "many");
    QWidget form;
    auto* tips = new QCheckBox(&form);
    auto* icons = new QCheckBox(&form);
    auto* chart = new QSpinBox(&form);
    tips->setChecked(true);
    icons->setChecked(true);
    chart->setValue(2);
    TFormStorage storage(formstores::Options(), &form);
    storage.bind("ShowTips.Checked", tips);
    storage.bind("ShowFileIcons.Checked", icons);
    storage.bind("UpdateChartTime.Value", chart);
    storage.readValues();
    EXPECT_TRUE(tips->isChecked());
    EXPECT_FALSE(icons->isChecked());
    EXPECT_EQ(chart->value(), 2);
}

TEST_F(FormStorageTest, AnUnusableHiveIsPassedOverInSilence)
{
    QDir().mkpath(folder());
    QFile file(folder() + "/HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a registry file\r\n");
    file.close();
    CopyForm f;
    f.destPath->setEditText("kept");
    f.storage.readValues();
    f.destPath->AddToHistory();
    f.storage.save();
    EXPECT_EQ(f.destPath->currentText(), "kept");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "not a registry file\r\n"); // the user's file is left to repair
}

TEST_F(FormStorageTest, PlacementIsWrittenOnCloseAndRestoredOnFirstShow)
{
    {
        QWidget window;
        TFormStorage storage(formstores::Messages(), &window);
        window.setGeometry(40, 50, 300, 200);
        window.show();
        window.close(); // a window hidden by the program writes its store
    }
    const QString key = formstores::Messages().keyPath();
    const shelltest::HiveFile h = hive();
    EXPECT_EQ(h.names.value(key), (QStringList { "Flags", "ShowCmd", "MinMaxPos", "NormPos" }));
    EXPECT_EQ(h.value(key, "Flags"), "\"0\"");
    EXPECT_EQ(h.value(key, "ShowCmd"), "\"1\"");
    EXPECT_EQ(h.value(key, "MinMaxPos"), "\"-1,-1,-1,-1\"");
    const QStringList norm = h.value(key, "NormPos").remove('"').split(',');
    ASSERT_EQ(norm.size(), 4);
    EXPECT_EQ(norm[2].toInt() - norm[0].toInt(), 300);
    EXPECT_EQ(norm[3].toInt() - norm[1].toInt(), 200);

    put(key, "NormPos", "10,20,510,420");
    QWidget again;
    TFormStorage storage(formstores::Messages(), &again);
    again.show();
    EXPECT_EQ(again.pos(), QPoint(10, 20));
    EXPECT_EQ(again.size(), QSize(500, 400));

    // A damaged placement leaves the window where it is.
    put(key, "NormPos", "10,20");
    QWidget third;
    third.setGeometry(70, 80, 320, 240);
    TFormStorage thirdStorage(formstores::Messages(), &third);
    third.show();
    EXPECT_EQ(third.size(), QSize(320, 240));
}

TEST_F(FormStorageTest, AMinimisedWindowIsStoredWithShowCmd2AndComesBackNormal)
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    window.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Test", true));
    TWindowPlacement::of(&window).write(key);
    EXPECT_EQ(key.readString("ShowCmd"), "2");
    EXPECT_EQ(key.readString("Flags"), "2");

    const auto p = TWindowPlacement::read(key);
    ASSERT_TRUE(p.has_value());
    QWidget other;
    p->applyTo(&other, true);
    EXPECT_EQ(other.windowState(), Qt::WindowMaximized); // restored to what it was, not an icon
}

TEST_F(FormStorageTest, EveryStoreLivesBelowTheConsolesKey)
{
    QStringList seen;
    for (const TFormStoreDef* def : formstores::All()) {
        EXPECT_TRUE(def->keyPath().startsWith(formstores::kRoot + "\\DorAzor Ezevive"))
            << qPrintable(def->keyPath());
        for (const QString& p : def->properties) {
            const QString where = def->keyPath() + "|" + p;
            EXPECT_FALSE(seen.contains(where)) << qPrintable(where);
            seen.append(where);
        }
    }
    EXPECT_EQ(formstores::MainWindow().keyPath(), formstores::kConsole);
}

} // namespace
