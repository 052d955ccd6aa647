#pragma once
// A program folder of its own per test, with the per-user settings file in it and a scripted
// prompt for "Permission Denied".
#include "FolderTestSupport.h"
#include "Settings.h"

class SettingsFolderTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SetUserSettingsPath(path("user.ini"));
    }
    void TearDown() override
    {
        SetUserSettingsPath(QString());
        ProgramFolderTest::TearDown();
    }

    ScriptedPrompt prompt;
};
