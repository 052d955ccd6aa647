#include "Timelapse.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

#include "FfmpegLog.h"
#include "PictureIndex.h"
#include "ReplaceFile.h"
#include "Translations.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {
constexpr int kQueueDepth = 4;  // pictures read ahead of the encoder (a full-HD one is 8 MB)
const char* const kDefaultEncoder = "libx264";

QString AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

// The picture of a file as 32-bit RGB, or a null image when the file cannot be read.
QImage ReadPicture(const QString& path)
{
    QImage picture = ReadSavedPicture(path);
    if (picture.isNull())
        return {};
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    return picture;
}

// A picture of another size than the video's, scaled to fit it whole and centred on black.
QImage FitTo(const QImage& picture, const QSize& size)
{
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(Qt::black);
    const QImage scaled = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&frame);
    painter.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
    return frame;
}

// Reads the pictures on a thread of its own, a few ahead of the encoder, in order.
class PictureReader {
public:
    explicit PictureReader(const QStringList& files) : files_(files), thread_([this] { run(); }) { }
    ~PictureReader()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // The next file's picture (null when unreadable); blocks until it has been read.
    QImage next()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !queue_.empty(); });
        QImage picture = std::move(queue_.front());
        queue_.pop_front();
        changed_.notify_all();
        return picture;
    }
    // Once the video's size is known, pictures of another size are fitted to it while read.
    void setFrameSize(const QSize& size)
    {
        const std::lock_guard lock(mutex_);
        size_ = size;
    }

private:
    void run()
    {
        for (const QString& path : files_) {
            QImage picture = ReadPicture(path);
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || queue_.size() < kQueueDepth; });
                if (stopping_)
                    return;
                const QSize size = size_;
                lock.unlock();
                if (!picture.isNull() && size.isValid() && picture.size() != size)
                    picture = FitTo(picture, size);
                lock.lock();
                queue_.push_back(std::move(picture));
            }
            changed_.notify_all();
        }
    }

    const QStringList files_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QImage> queue_;
    QSize size_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything above exists
};

// Everything FFmpeg gave us, freed in one place whatever way the export ends.
struct Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    QSize scalerSize;
    bool fileOpen = false;

    ~Encoder()
    {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format && fileOpen)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

// A result's words twice: in the user's language for the window and the command line, and in
// English for the history log, which people search.
template <typename Compose> TimelapseResult Result(TimelapseStatus status, const Compose& compose)
{
    TimelapseResult r;
    r.status = status;
    r.message = compose();
    const EnglishTexts english;
    r.logMessage = compose();
    return r;
}

// Sends one frame (null: the end) and writes every packet the encoder has ready.
int Encode(Encoder& e, AVFrame* frame)
{
    int code = avcodec_send_frame(e.codec, frame);
    if (code < 0)
        return code;
    for (;;) {
        code = avcodec_receive_packet(e.codec, e.packet);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return 0;
        if (code < 0)
            return code;
        // Every picture lasts one frame: without a duration the muxer gives the last one none,
        // and the video would be a frame short.
        if (e.packet->duration <= 0)
            e.packet->duration = 1;
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        code = av_interleaved_write_frame(e.format, e.packet);
        if (code < 0)
            return code;
    }
}

// Puts a picture of the video's content size into the frame: converted to yuv420p, with the
// padding row or column black.
bool FillFrame(Encoder& e, const QImage& picture)
{
    if (av_frame_make_writable(e.frame) < 0)
        return false;
    if (!e.scaler || e.scalerSize != picture.size()) {
        sws_freeContext(e.scaler);
        e.scaler = sws_getContext(picture.width(), picture.height(), AV_PIX_FMT_BGRA, picture.width(), picture.height(),
                                  AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        e.scalerSize = picture.size();
        if (!e.scaler)
            return false;
    }
    const uint8_t* source[] = {picture.constBits()};
    const int stride[] = {static_cast<int>(picture.bytesPerLine())};
    sws_scale(e.scaler, source, stride, 0, picture.height(), e.frame->data, e.frame->linesize);
    // Black in limited-range YUV: luma 16 (chroma of the padding is shared with the picture's
    // edge and already written).
    for (int y = 0; y < e.frame->height; ++y) {
        uint8_t* row = e.frame->data[0] + static_cast<ptrdiff_t>(y) * e.frame->linesize[0];
        if (y >= picture.height())
            std::fill(row, row + e.frame->width, uint8_t{16});
        else if (picture.width() < e.frame->width)
            std::fill(row + picture.width(), row + e.frame->width, uint8_t{16});
    }
    return true;
}

QString EncoderName(const TimelapseJob& job)
{
    if (!job.encoder.isEmpty())
        return job.encoder;
    const QString fromEnvironment = qEnvironmentVariable("TOLVANE_TIMELAPSE_ENCODER");
    return fromEnvironment.isEmpty() ? QString::fromLatin1(kDefaultEncoder) : fromEnvironment;
}
}  // namespace

bool VideoFileExists(const QString& path)
{
    const QFileInfo file(path);
    return file.isSymLink() || (file.exists() && !file.isDir());
}

QString PictureCountText(int count)
{
    return count == 1 ? TranslatedText("Timelapse", "1 picture")
                      : TranslatedText("Timelapse", "%1 pictures").arg(count);
}

QSize EvenFrameSize(const QSize& picture)
{
    return {picture.width() + (picture.width() & 1), picture.height() + (picture.height() & 1)};
}

double SecondsLeft(int done, int total, double elapsedSeconds)
{
    if (done <= 0 || total <= 0 || elapsedSeconds <= 0)
        return -1;
    return elapsedSeconds / done * (total - done);
}

QString DurationText(double seconds)
{
    if (seconds < 0 || !std::isfinite(seconds))
        return TranslatedText("Timelapse", "unknown");
    const auto whole = static_cast<qint64>(std::ceil(seconds));
    if (whole < 60)
        return TranslatedText("Timelapse", "%1 s").arg(whole);
    if (whole < 3600)
        return TranslatedText("Timelapse", "%1 min %2 s").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    return TranslatedText("Timelapse", "%1 h %2 min").arg(whole / 3600).arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
}

namespace {
using Failure = std::optional<TimelapseResult>;  // a failed step's result; nothing when it worked

// The H.264 encoder the job asks for, or why there is none to use.
const AVCodec* FindEncoder(const QString& encoderName, TimelapseResult& failure)
{
    // The encoder's statistics are not for the user; its errors come back as codes.
    av_log_set_level(AV_LOG_ERROR);
    const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.toUtf8().constData());
    if (!codec || codec->id != AV_CODEC_ID_H264 || !av_codec_is_encoder(codec)) {
        failure = Result(TimelapseStatus::CodecMissing, [&] {
            return QString(
                TranslatedText("Timelapse",
                               "the H.264 encoder \"%1\" is missing from this FFmpeg (libavcodec %2); Debian's "
                               "libavcodec59 package brings libx264")
                    .arg(encoderName, QString::fromLatin1(av_version_info())));
        });
        return nullptr;
    }
    return codec;
}

// The hidden temporary file beside the output that the video is written to, renamed when complete.
Failure TempFileBeside(const QString& outFile, QString& temp)
{
    const QFileInfo out(outFile);
    const QString outFolder = out.absolutePath();
    if (!QFileInfo(outFolder).isDir())
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(
                TranslatedText("Timelapse", "cannot write %1: the folder %2 does not exist").arg(outFile, outFolder));
        });
    if (out.isDir())
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: it is a folder").arg(outFile));
        });
    temp = outFolder + QLatin1Char('/') +
        QString::fromUtf8(TempNameBeside(out.fileName().toUtf8(), QRandomGenerator::global()->generate()));
    return std::nullopt;
}

// Sets the encoder up for frames of `size`, writes the file's header and makes the frame.
Failure OpenEncoder(Encoder& e, const AVCodec* codec, const QString& encoderName, const TimelapseJob& job,
                    const QSize& size)
{
    e.codec = avcodec_alloc_context3(codec);
    e.codec->width = size.width();
    e.codec->height = size.height();
    e.codec->pix_fmt = AV_PIX_FMT_YUV420P;
    e.codec->time_base = AVRational{1, job.fps};
    e.codec->framerate = AVRational{job.fps, 1};
    e.codec->gop_size = 2 * job.fps;
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER)
        e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // ultrafast is the one x264 preset fast enough for a full-HD export of 20 pictures a second
    // on a small two-core machine (bench/README.md); the files are larger, not worse. crf 23 is
    // x264's own default quality.
    av_opt_set(e.codec->priv_data, "preset", "ultrafast", 0);
    av_opt_set(e.codec->priv_data, "crf", "23", 0);
    if (const int code = avcodec_open2(e.codec, codec, nullptr); code < 0)
        return Result(TimelapseStatus::CodecMissing, [&] {
            return TranslatedText("Timelapse", "the H.264 encoder \"%1\" cannot be used: %2")
                .arg(encoderName, AvErrorText(code));
        });
    e.stream = avformat_new_stream(e.format, nullptr);
    e.stream->time_base = e.codec->time_base;
    avcodec_parameters_from_context(e.stream->codecpar, e.codec);
    if (const int code = avformat_write_header(e.format, nullptr); code < 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2").arg(job.outFile, AvErrorText(code)));
        });
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    e.frame->format = AV_PIX_FMT_YUV420P;
    e.frame->width = size.width();
    e.frame->height = size.height();
    if (av_frame_get_buffer(e.frame, 0) < 0)
        return Result(TimelapseStatus::Failed, [&] {
            return QString(
                TranslatedText("Timelapse", "out of memory for a %1 x %2 frame").arg(size.width()).arg(size.height()));
        });
    return std::nullopt;
}

// Encodes a picture as the next frame (a picture read before the video's size was known is
// fitted to it first) and counts it.
Failure EncodePicture(Encoder& e, QImage picture, const QSize& content, int& frames)
{
    if (picture.size() != content)
        picture = FitTo(picture, content);
    if (!FillFrame(e, picture))
        return Result(TimelapseStatus::Failed, [&] {
            return QString(TranslatedText("Timelapse", "a picture could not be converted for the video"));
        });
    e.frame->pts = frames;
    if (const int code = Encode(e, e.frame); code < 0)
        return Result(TimelapseStatus::Failed, [&] {
            return QString(TranslatedText("Timelapse", "the encoder failed: %1").arg(AvErrorText(code)));
        });
    ++frames;
    return std::nullopt;
}

Failure Exists(const QString& outFile)
{
    return Result(TimelapseStatus::OutputExists, [&] {
        return QString(TranslatedText("Timelapse", "%1 already exists and was left as it was").arg(outFile));
    });
}

// Gives the finished video the output's name only while nothing has that name: a file that
// came while the video was made (or that nobody agreed to replace) is never overwritten.
Failure TakeFreeName(const QByteArray& tempName, const QString& outFile)
{
    const QByteArray target = QFile::encodeName(outFile);
    if (renameat2(AT_FDCWD, tempName.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    if (errno == EEXIST)
        return Exists(outFile);
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2")
                               .arg(outFile, QString::fromLocal8Bit(std::strerror(errno))));
        });
    // A file system without the no-replace rename: a hard link cannot replace either.
    if (link(tempName.constData(), target.constData()) == 0) {
        unlink(tempName.constData());
        return std::nullopt;
    }
    if (errno == EEXIST)
        return Exists(outFile);
    // Neither (some shared folders): look, then rename; only a file made in between is at risk.
    if (VideoFileExists(outFile))
        return Exists(outFile);
    if (std::rename(tempName.constData(), target.constData()) != 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2")
                               .arg(outFile, QString::fromLocal8Bit(std::strerror(errno))));
        });
    return std::nullopt;
}

// Flushes the encoder, ends and closes the file, and gives it the output's name.
Failure FinishFile(Encoder& e, const TimelapseJob& job, const QByteArray& tempName)
{
    const QString& outFile = job.outFile;
    if (const int code = Encode(e, nullptr); code < 0)
        return Result(TimelapseStatus::Failed, [&] {
            return QString(TranslatedText("Timelapse", "the encoder failed: %1").arg(AvErrorText(code)));
        });
    if (const int code = av_write_trailer(e.format); code < 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2").arg(outFile, AvErrorText(code)));
        });
    if (const int code = avio_closep(&e.format->pb); code < 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2").arg(outFile, AvErrorText(code)));
        });
    e.fileOpen = false;
    if (!job.replaceExisting)
        return TakeFreeName(tempName, outFile);
    // rename() replaces an older video of the name in one step.
    if (std::rename(tempName.constData(), QFile::encodeName(outFile).constData()) != 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2")
                               .arg(outFile, QString::fromLocal8Bit(std::strerror(errno))));
        });
    return std::nullopt;
}

// From here on, any way out removes the unfinished file.
struct RemoveTemp {
    Encoder& e;
    QString path;
    bool keep = false;
    ~RemoveTemp()
    {
        if (keep)
            return;
        if (e.fileOpen) {
            avio_closep(&e.format->pb);
            e.fileOpen = false;
        }
        QFile::remove(path);
    }
};
}  // namespace

TimelapseResult MakeTimelapse(const TimelapseJob& job, const TimelapseProgress& progress,
                              const std::atomic<bool>* cancel)
{
    InstallFfmpegLog();
    const int total = static_cast<int>(job.files.size());
    if (total == 0)
        return Result(TimelapseStatus::NoPictures,
                      [&] { return QString(TranslatedText("Timelapse", "there are no pictures to make a video of")); });
    if (job.fps < 1 || job.fps > 120)
        return Result(TimelapseStatus::Failed, [&] {
            return QString(TranslatedText("Timelapse", "%1 frames per second is not between 1 and 120").arg(job.fps));
        });
    const QString encoderName = EncoderName(job);
    TimelapseResult result;
    const AVCodec* codec = FindEncoder(encoderName, result);
    if (!codec)
        return result;
    QString temp;
    if (Failure failure = TempFileBeside(job.outFile, temp))
        return *failure;
    if (!job.replaceExisting && VideoFileExists(job.outFile))
        return *Exists(job.outFile);
    const QByteArray tempName = QFile::encodeName(temp);

    Encoder e;
    if (avformat_alloc_output_context2(&e.format, nullptr, "mp4", tempName.constData()) < 0 || !e.format)
        return Result(TimelapseStatus::Failed,
                      [&] { return QString(TranslatedText("Timelapse", "FFmpeg has no MP4 writer")); });
    if (const int code = avio_open(&e.format->pb, tempName.constData(), AVIO_FLAG_WRITE); code < 0)
        return Result(TimelapseStatus::CannotWrite, [&] {
            return QString(TranslatedText("Timelapse", "cannot write %1: %2").arg(job.outFile, AvErrorText(code)));
        });
    e.fileOpen = true;
    RemoveTemp removeTemp{e, temp};

    PictureReader reader(job.files);
    int done = 0;
    const auto step = [&] {
        ++done;
        if (progress)
            progress(done, total);
    };
    const auto cancelled = [&] { return cancel && cancel->load(); };

    // The first picture that can be read sets the size.
    QImage picture;
    while (done < total && picture.isNull()) {
        if (cancelled())
            return Result(TimelapseStatus::Cancelled,
                          [&] { return QString(TranslatedText("Timelapse", "cancelled; no file was written")); });
        picture = reader.next();
        if (picture.isNull()) {
            ++result.skipped;
            step();
        }
    }
    if (picture.isNull())
        return Result(TimelapseStatus::NoPictures, [&] {
            return QString(total == 1
                               ? TranslatedText("Timelapse", "the one picture could not be read")
                               : TranslatedText("Timelapse", "none of the %1 pictures could be read").arg(total));
        });
    const QSize content = picture.size();
    reader.setFrameSize(content);
    result.size = EvenFrameSize(content);
    if (Failure failure = OpenEncoder(e, codec, encoderName, job, result.size))
        return *failure;

    for (;;) {
        if (cancelled())
            return Result(TimelapseStatus::Cancelled,
                          [&] { return QString(TranslatedText("Timelapse", "cancelled; no file was written")); });
        if (picture.isNull())
            ++result.skipped;
        else if (Failure failure = EncodePicture(e, picture, content, result.frames))
            return *failure;
        step();
        if (done >= total)
            break;
        picture = reader.next();
    }
    if (Failure failure = FinishFile(e, job, tempName))
        return *failure;
    removeTemp.keep = true;
    const TimelapseResult written = Result(TimelapseStatus::Done, [&] {
        return TranslatedText("Timelapse", "%1 written to %2 (%3 x %4, %5 frames per second)%6")
            .arg(PictureCountText(result.frames), job.outFile)
            .arg(result.size.width())
            .arg(result.size.height())
            .arg(job.fps)
            .arg(result.skipped == 0 ? QString()
                     : result.skipped == 1
                     ? TranslatedText("Timelapse", "; 1 unreadable file skipped")
                     : TranslatedText("Timelapse", "; %1 unreadable files skipped").arg(result.skipped));
    });
    result.status = written.status;
    result.message = written.message;
    result.logMessage = written.logMessage;
    return result;
}
