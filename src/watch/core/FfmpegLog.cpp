#include "FfmpegLog.h"

#include <QByteArray>
#include <QRegularExpression>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "CamUrl.h"

extern "C" {
#include <libavutil/log.h>
}

// Warnings and worse by default, as the watch log.
Q_LOGGING_CATEGORY(lcFfmpeg, "tolvane.ffmpeg", QtWarningMsg)

namespace {
constexpr int kLineBytes = 1024;     // one call's text at most; longer is cut
constexpr int kPendingBytes = 4096;  // a line given in parts is handed on at this length

QtMsgType MessageType(int level)
{
    if (level <= AV_LOG_ERROR)
        return QtWarningMsg;
    if (level <= AV_LOG_WARNING)
        return QtInfoMsg;
    return QtDebugMsg;
}

// Logs a line unless it holds nothing but FFmpeg's prefix (`prefix` bytes at its start).
void Emit(QtMsgType type, const QByteArray& text, qsizetype prefix)
{
    if (text.sliced(qMin(prefix, text.size())).trimmed().isEmpty())
        return;
    const QString line = MaskAddressesInLine(QString::fromUtf8(text).trimmed());
    switch (type) {
    case QtWarningMsg:
        qCWarning(lcFfmpeg).noquote() << line;
        break;
    case QtInfoMsg:
        qCInfo(lcFfmpeg).noquote() << line;
        break;
    default:
        qCDebug(lcFfmpeg).noquote() << line;
        break;
    }
}

// A line cut short: an address cut before its "@" would show its password unmasked, so a last
// word that holds one goes.
QByteArray CutShort(QByteArray text)
{
    const qsizetype word = qMax(text.lastIndexOf(' '), qMax(text.lastIndexOf('\''), text.lastIndexOf('"'))) + 1;
    if (text.indexOf("://", word) >= 0)
        text.truncate(word);
    return text + "...";
}

// FFmpeg's prefix of a line ("[rtsp @ 0x...] "): the object that logs it.
int LinePrefix(void* context, int level, char* buffer, int size, ...)
{
    va_list none;
    va_start(none, size);
    int printPrefix = 1;
    const int length = av_log_format_line2(context, level, "", none, buffer, size, &printPrefix);
    va_end(none);
    return length;
}

// A line comes in parts from one thread (FFmpeg prints a line's pieces one call after another);
// each thread gathers its own, so no lock is needed and threads never mix their parts.
struct PendingLine {
    QByteArray text;
    qsizetype prefix = 0;      // bytes of FFmpeg's prefix at its start
    int level = AV_LOG_TRACE;  // the most severe of the parts
};
thread_local PendingLine pending;

void Callback(void* context, int level, const char* format, va_list arguments)
{
    // Nothing is formatted that neither FFmpeg's level nor the category lets through.
    if (level > av_log_get_level() || !lcFfmpeg().isEnabled(MessageType(level)))
        return;
    char part[kLineBytes];
    if (pending.text.isEmpty()) {
        pending.prefix = qBound(0, LinePrefix(context, level, part, sizeof part), kLineBytes - 1);
        pending.text.append(part, pending.prefix);
    }
    // The text itself is formatted here rather than by av_log_format_line2, which cuts a long text
    // without saying so: a cut must be known, to end the line there and drop a cut address.
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(part, sizeof part, format, copy);
    va_end(copy);
    if (length < 0)
        return;
    QByteArray text(part, qMin(length, kLineBytes - 1));
    // A server's words may hold control characters (a terminal's escapes): shown as "?".
    for (char& c : text) {
        if (c == '\r')
            c = '\n';  // a line that FFmpeg rewrites in place (a progress line) is a line too
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
            c = '?';
    }
    const bool cut = length >= kLineBytes;
    if (cut)
        text = CutShort(text) + '\n';  // the rest of the line is lost: it ends here
    pending.text += text;
    pending.level = qMin(pending.level, level);
    // Every whole line goes out; what follows the last line end waits for the rest of its line.
    for (qsizetype end = pending.text.indexOf('\n'); end >= 0; end = pending.text.indexOf('\n')) {
        Emit(MessageType(pending.level), pending.text.first(end), pending.prefix);
        pending.text.remove(0, end + 1);
        pending.prefix = 0;
    }
    if (pending.text.size() >= kPendingBytes) {
        Emit(MessageType(pending.level), CutShort(pending.text), pending.prefix);
        pending.text.clear();
    }
    if (pending.text.isEmpty())
        pending.level = AV_LOG_TRACE;
}
}  // namespace

void InstallFfmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(Callback); });
}

QString MaskAddressesInLine(const QString& line)
{
    // An address runs from its scheme to the first space or quote.
    static const QRegularExpression address(QStringLiteral(R"([A-Za-z][A-Za-z0-9+.-]*://[^\s'"<>]+)"));
    QString masked;
    qsizetype at = 0;
    for (const QRegularExpressionMatch& match : address.globalMatch(line)) {
        masked += QStringView(line).sliced(at, match.capturedStart() - at);
        masked += MaskAddressPassword(match.captured());
        at = match.capturedEnd();
    }
    masked += QStringView(line).sliced(at);
    return masked;
}
