#pragma once
// Helpers of the tests that work on files of the program folder: a temporary program folder per
// test, whole-file reads and writes, a scripted prompt, and a way to make file writes fail even
// for root.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "ProgramFolder.h"
#include "Prompt.h"

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline bool RunningAsRoot()
{
    return geteuid() == 0;
}

// Every test gets an empty program folder of its own.
class ProgramFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        SetProgramFolder(dir_.path());
    }
    void TearDown() override { SetProgramFolder(QString()); }
    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

// A program folder of the test's own with its picture folder cam/, set while it lives; the folder
// set before comes back when it goes. Declare it before what watches cams, so they go first.
class TemporaryProgramFolder {
public:
    TemporaryProgramFolder() : previous_(ProgramFolder()) { }
    ~TemporaryProgramFolder() { SetProgramFolder(previous_); }
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

    // False when the folder cannot be made.
    bool make()
    {
        if (!dir_.isValid() || !QDir(dir_.path()).mkdir(QStringLiteral("cam")))
            return false;
        SetProgramFolder(dir_.path());
        return true;
    }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir dir_;
};

// Caps the size of any file this process writes, so that writes fail (EFBIG) whoever runs
// the test; root ignores permission bits but not this limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// Answers message boxes from a script and keeps what was asked; installed while it lives.
class ScriptedPrompt : public Prompt {
public:
    struct Asked {
        QString title;
        QString text;
        PromptButtons buttons;
    };
    // Called with the question; returns the answer (the default answers Ok or Abort).
    std::function<PromptAnswer(const Asked&)> answer;
    std::vector<Asked> asked;

    ScriptedPrompt() { SetPrompt(this); }
    ~ScriptedPrompt() override { SetPrompt(nullptr); }
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    PromptAnswer ask(const QString& title, const QString& text, PromptButtons buttons, QWidget*) override
    {
        asked.push_back({title, text, buttons});
        if (answer)
            return answer(asked.back());
        return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Ok;
    }
    // Answers in turn from a list, then as the default does.
    void answerInTurn(std::deque<PromptAnswer> answers)
    {
        answer = [queue = std::move(answers)](const Asked& question) mutable {
            if (queue.empty())
                return question.buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Ok;
            const PromptAnswer next = queue.front();
            queue.pop_front();
            return next;
        };
    }
};

// Lets gtest print QStrings and QByteArrays readably.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (c == '\r')
            *out << "\\r";
        else if (c == '\n')
            *out << "\\n";
        else if (value < 0x20 || value >= 0x7F)
            *out << "\\x"
                 << "0123456789ABCDEF"[value >> 4] << "0123456789ABCDEF"[value & 15];
        else
            *out << c;
    }
    *out << '"';
}
QT_END_NAMESPACE
