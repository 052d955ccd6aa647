#pragma once
// A main window in a program folder of its own: both settings stores in the folder, message
// boxes answered and recorded, the end of the program and the Help window counted instead of
// done, and the clock pointed at a port on this machine where nothing listens.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "CamList.h"
#include "Form1.h"
#include "GmtClock.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Prompt.h"
#include "Settings.h"

class RecordingPrompt : public Prompt {
public:
    PromptAnswer ask(const QString& title, const QString& text, PromptButtons, QWidget*) override
    {
        titles << title;
        texts << text;
        return PromptAnswer::Ok;
    }
    QStringList titles, texts;
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        SetProgramFolder(dir_.path());
        SetUserSettingsPath(dir_.filePath(QStringLiteral("user-settings.ini")));
        SetPrompt(&prompt);
    }
    void TearDown() override
    {
        form.reset();
        SetPrompt(nullptr);
        SetUserSettingsPath(QString());
        SetProgramFolder(QString());
    }

    Form1& makeForm()
    {
        form = std::make_unique<Form1>();
        form->services.endProgram = [this] { ++programEnds; };
        form->services.openHelp = [this](QWidget*) {
            ++helpOpens;
            return true;
        };
        form->clock->setTimeServer(QStringLiteral("127.0.0.1:9"));
        return *form;
    }
    Form1& loadedForm()
    {
        makeForm().Form_Load();
        return *form;
    }

    // The window shown, with the cam "Harbour" open and in the Viewer; null when that failed.
    Form1* windowShowingHarbour()
    {
        ListCams({QStringLiteral("Harbour")});
        Form1& f = loadedForm();
        if (!f.OpenCamsByName({QStringLiteral("Harbour")}).isEmpty())
            return nullptr;
        f.ShowSlotInViewer(0);
        f.show();
        return QTest::qWaitForWindowExposed(&f) ? &f : nullptr;
    }

    // A cam list of these names, each pointing at a port on this machine where nothing listens.
    static void ListCams(const QStringList& names)
    {
        QStringList existing;
        LoadCamList(existing);
        for (const QString& name : names)
            AppendCamRecord(name, QStringLiteral("http://127.0.0.1:9/%1.jpg").arg(name), QStringLiteral("30"));
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    static void Store(const QString& key, const QString& value)
    {
        WriteSetting(ProductName(), QStringLiteral("Settings"), key, value);
    }
    static QString Stored(const QString& key)
    {
        return ReadSetting(ProductName(), QStringLiteral("Settings"), key, QStringLiteral("<absent>"));
    }

    QTemporaryDir dir_;
    RecordingPrompt prompt;
    std::unique_ptr<Form1> form;
    int programEnds = 0;
    int helpOpens = 0;
};
