#pragma once
// Collects what the alert code writes to its log category ("tolvane.alert") while it lives, so a
// test can read the lines; with warningsOnly, only its warnings.
#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

class AlertLogCapture {
public:
    explicit AlertLogCapture(bool warningsOnly = false)
    {
        lines() = {};
        warningsOnly_() = warningsOnly;
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (QByteArray(context.category) == "tolvane.alert" && (!warningsOnly_() || type == QtWarningMsg))
                lines() << text;
        });
    }
    ~AlertLogCapture() { qInstallMessageHandler(previous_); }
    AlertLogCapture(const AlertLogCapture&) = delete;
    AlertLogCapture& operator=(const AlertLogCapture&) = delete;
    static QStringList& lines()
    {
        static QStringList collected;
        return collected;
    }

private:
    // A message handler is a plain function, so what it reads lives in statics.
    static bool& warningsOnly_()
    {
        static bool only = false;
        return only;
    }
    QtMessageHandler previous_;
};
